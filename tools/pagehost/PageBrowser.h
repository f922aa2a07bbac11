#pragma once

#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/InterfaceStubs.h"
#include "tools/pagehost/MessageWindow.h"
#include "tools/pagehost/PageCanvas.h"
#include "tools/pagehost/PageContent.h"
#include "tools/pagehost/PageView.h"
#include "tools/pagehost/ScriptChannel.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <oleidl.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace PageHost
{

class CBrowserEvents;
class CPageDocument;
class CPageScript;

// The page host's stand-in for the system web browser control: an OLE
// control that activates in place in a child window of its container,
// navigates to about:blank and local pages, fires DWebBrowserEvents2 as the
// real control does, asks the document's UI handler the document-host
// questions and runs the page's scripts with window.external from it.
// Navigation runs from the message loop, one request after the other.
class CPageBrowser final : public Veneer::CComObject<CPageBrowser, Veneer::CPlainRefCount, CWebBrowserStubs,
                                                     COleControlStubs, IConnectionPointContainer>,
                           private IPageViewOwner,
                           private IScriptChannelOwner,
                           private IMessageTarget,
                           private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {
        Entry<IWebBrowser2>(IID_IWebBrowser2),
        Entry<IWebBrowser2>(IID_IWebBrowserApp),
        Entry<IWebBrowser2>(IID_IWebBrowser),
        Entry<IWebBrowser2>(IID_IDispatch),
        Entry<IOleObject>(IID_IOleObject),
        Entry<IOleInPlaceObject>(IID_IOleInPlaceObject),
        Entry<IOleInPlaceObject>(IID_IOleWindow),
        Entry<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject),
        Entry<IViewObject2>(IID_IViewObject2),
        Entry<IViewObject2>(IID_IViewObject),
        Entry<IPersistStreamInit>(IID_IPersistStreamInit),
        Entry<IPersistStreamInit>(IID_IPersist),
        Entry<IOleControl>(IID_IOleControl),
        Entry<IConnectionPointContainer>(IID_IConnectionPointContainer),
    };

    CPageBrowser();

    // IWebBrowser2: navigation and its state (PageBrowserWeb.cpp).
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                                       VARIANT* Headers) override;
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                        VARIANT* PostData, VARIANT* Headers) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT* Level) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch** ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* LocationName) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* LocationURL) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* pBool) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* plReadyState) override;
    // The page window (E_FAIL while not active in place).
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* pHWND) override;
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* pBool) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL* pbSilent) override;
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL bSilent) override;

    // IOleObject (PageBrowserOle.cpp, as the rest of the embedding; what
    // does not depend on the page is answered by COleControlStubs).
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex,
                                     HWND hwndParent, LPCRECT lprcPosRect) override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    // Keys are offered to the UI handler first, as the real browser does.
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpmsg) override;

    // IViewObject, IViewObject2: Draw paints the page into any DC.
    HRESULT STDMETHODCALLTYPE Draw(DWORD dwDrawAspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd,
                                   HDC hdcTargetDev, HDC hdcDraw, LPCRECTL lprcBounds, LPCRECTL lprcWBounds,
                                   BOOL(STDMETHODCALLTYPE* pfnContinue)(ULONG_PTR dwContinue),
                                   ULONG_PTR dwContinue) override;
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* pAdvSink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* pAspects, DWORD* pAdvf, IAdviseSink** ppAdvSink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, LONG lindex, DVTARGETDEVICE* ptd,
                                        LPSIZEL lpsizel) override;

    // IPersist
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;

    // IConnectionPointContainer: DWebBrowserEvents2 only.
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  private:
    // One navigation request, run from the message loop.
    struct CRequest
    {
        std::wstring url;
        long flags = 0;
        std::wstring frame;
        std::wstring headers;
        int historyStep = 0; // -1 back, +1 forward, 0 a new entry
    };

    ~CPageBrowser() override;

    // IMessageTarget, IPageViewOwner, IScriptChannelOwner
    LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnActionClicked(int index) override;
    void OnContextMenu(POINT ptScreen) override;
    HRESULT GetExternal(IDispatch** ppDispatch) override;
    void OnWindowClose() override;
    bool OnScriptError(const CScriptErrorInfo& error) override;

    // Navigation (PageBrowser.cpp).
    HRESULT Queue(CRequest request);
    void RunNext();
    void RunRequest(const CRequest& request, unsigned generation);
    bool LoadContent(const std::wstring& url, std::wstring& problem, LONG& status);
    void ShowContent(const std::wstring& url);
    void AskHostInfo();
    void RunPageScripts(unsigned generation);
    bool RunScript(const std::wstring& code, unsigned long line, DWORD& budgetMs);
    void ReportTimeout(unsigned long line);
    void RecordHistory(const CRequest& request);
    void ReloadCurrent();
    void TearDownDocument();
    void ApplyContent();
    Veneer::CComPtrHolder<IDocHostUIHandler> UIHandler() const;
    IDispatch* Self() { return static_cast<IWebBrowser2*>(this); }
    // A reference of its own for a call out of which the container may
    // release the browser.
    Veneer::CComPtrHolder<IWebBrowser2> KeepAlive() { return Veneer::CComPtrHolder<IWebBrowser2>(this); }

    // Embedding (PageBrowserOle.cpp).
    HRESULT ActivateInPlace(IOleClientSite* pActiveSite, HWND hwndParent, LPCRECT lprcPosRect);
    HRESULT ActivateUI();
    HRESULT OpenView(HWND hwndParent, LPCRECT lprcPosRect);
    void CloseAll();

    Veneer::CComPtrHolder<CBrowserEvents> m_events;
    CMessageWindow m_queueWindow;
    std::deque<CRequest> m_pending;
    bool m_bNavigating = false;
    // Advanced by Stop and Close: a navigation in progress that sees it
    // change ends there.
    unsigned m_generation = 0;

    // The page shown.
    Veneer::CComPtrHolder<CPageDocument> m_document;
    std::shared_ptr<const CPageContent> m_content;
    std::shared_ptr<CPageScript> m_script;
    Veneer::CComPtrHolder<IDispatch> m_external;
    bool m_bExternalAsked = false;
    std::wstring m_location;
    READYSTATE m_readyState = READYSTATE_UNINITIALIZED;
    DWORD m_hostFlags = 0;
    std::vector<std::wstring> m_history;
    size_t m_historyPos = 0;

    // The embedding.
    Veneer::CComPtrHolder<IOleClientSite> m_clientSite;
    Veneer::CComPtrHolder<IOleInPlaceSite> m_inPlaceSite;
    bool m_bSiteEx = false;
    Veneer::CComPtrHolder<IOleInPlaceFrame> m_frame;
    Veneer::CComPtrHolder<IOleInPlaceUIWindow> m_docWindow;
    Veneer::CComPtrHolder<IAdviseSink> m_viewSink;
    DWORD m_viewAspects = 0;
    DWORD m_viewAdvf = 0;
    bool m_bUIActive = false;
    bool m_bRectsSet = false;
    RECT m_posRect{};
    SIZEL m_extent{};
    std::unique_ptr<CPageView> m_view;
    CPageCanvas m_drawCanvas;
    bool m_bVisible = true;
    bool m_bSilent = false;
};

} // namespace PageHost
