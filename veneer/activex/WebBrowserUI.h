#pragma once

#include "veneer/activex/ActiveXUI.h"
#include "veneer/activex/WebBrowserEventHandler.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/UiEvents.h"

#include <docobj.h>
#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <servprov.h>
#include <windows.h>

namespace Veneer
{

// The system web browser as a skin control: an ActiveX host preset to the
// browser class that keeps its IWebBrowser2, navigates, listens to its
// events and answers the document's host questions (UI handler, command
// target, download manager), forwarding all of them to one application
// handler. The control tree owns it: its COM parts count references but
// never delete it, so the browser must have let go of them before the tree
// deletes the control (ReleaseControl sees to that).
class VENEER_API CWebBrowserUI : public CActiveXUI,
                                 public IDocHostUIHandler,
                                 public IServiceProvider,
                                 public IOleCommandTarget,
                                 public IDispatch,
                                 public ITranslateAccelerator,
                                 public IDownloadManager
{
  public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    void SetHomePage(LPCWSTR lpszUrl);
    LPCWSTR GetHomePage() const;
    void SetAutoNavigation(bool bAuto = true);
    bool IsAutoNavigation() const;
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler);

    void Navigate2(LPCWSTR lpszUrl);
    void NavigateUrl(LPCWSTR lpszUrl);
    void NavigateHomePage();
    void Refresh();
    void Refresh2(int level);
    void GoBack();
    void GoForward();

    IWebBrowser2* GetWebBrowser2();
    // The document's window as IDispatch (a new reference), or null.
    IDispatch* GetHtmlWindow();

    // Script calls on any IDispatch, by member name.
    static DISPID FindId(IDispatch* pObj, LPOLESTR pName);
    static HRESULT InvokeMethod(IDispatch* pObj, LPOLESTR pMethod, VARIANT* pVarResult, VARIANT* ps,
                                int cArgs);
    static HRESULT GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);
    static HRESULT SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IDispatch: the browser's DWebBrowserEvents2
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)
    (REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IDocHostUIHandler
    STDMETHOD(ShowContextMenu)
    (DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget, IDispatch* pDispatchObjectHit) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)
    (DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
     IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dwReserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

    // IServiceProvider
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) override;

    // IOleCommandTarget
    STDMETHOD(QueryStatus)
    (const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)
    (const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn, VARIANT* pvaOut) override;

    // IDownloadManager
    STDMETHOD(Download)
    (IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo, LPCOLESTR pszHeaders,
     LPCOLESTR pszRedir, UINT uiCP) override;

    // ITranslateAccelerator (the toolkit's): keys for the focused browser.
    LRESULT TranslateAccelerator(MSG* pMsg) override;

  protected:
    bool DoCreateControl() override;
    void ReleaseControl() override;
    HRESULT RegisterEventHandler(BOOL inAdvise);

    IWebBrowser2* m_pWebBrowser2;
    DWORD m_dwCookie;
    IDispatch* m_pHtmlWnd2;
    LONG m_dwRef;
    CUiString m_sHomePage;
    bool m_bAutoNavi;
    CWebBrowserEventHandler* m_pWebBrowserEventHandler;

  private:
    void OnNavigateComplete2(IDispatch* pDisp, VARIANT* url);
    void InstallUIHandler(IDispatch* pDocument);
    HRESULT DispatchEvent(DISPID dispIdMember, DISPPARAMS* pDispParams);
    static void ReadScriptError(VARIANT* pvaIn);

    // The manager that offers this control its window's keys.
    CPaintManagerUI* m_pAcceleratorManager;
};

} // namespace Veneer
