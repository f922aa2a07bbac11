#pragma once

#include "veneer/core/VeneerDefs.h"

#include <docobj.h>
#include <mshtmhst.h>
#include <oaidl.h>
#include <urlmon.h>
#include <windows.h>

namespace Veneer
{

// The application's hook into a CWebBrowserUI: the browser's navigation
// events and the document host's questions, each with an answer that keeps
// the page quiet (no context menu, no downloads, no window.external) until
// the application overrides it. The order of the operations is part of the
// interface; an application class adds its own after them.
class VENEER_API CWebBrowserEventHandler
{
  public:
    virtual void BeforeNavigate2(IDispatch* pDisp, VARIANT* url, VARIANT* flags, VARIANT* targetFrameName,
                                 VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel);
    virtual void NavigateError(IDispatch* pDisp, VARIANT* url, VARIANT* targetFrameName, VARIANT* statusCode,
                               VARIANT_BOOL* cancel);
    virtual void NavigateComplete2(IDispatch* pDisp, VARIANT* url);
    virtual void DocumentComplete(IDispatch* pDisp, VARIANT* url);
    virtual void ProgressChange(LONG nProgress, LONG nProgressMax);
    virtual void NewWindow3(IDispatch** ppDisp, VARIANT_BOOL* cancel, DWORD dwFlags, BSTR bstrUrlContext,
                            BSTR bstrUrl);
    virtual void CommandStateChange(long command, VARIANT_BOOL enable);

    // IDocHostUIHandler
    virtual HRESULT ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                    IDispatch* pDispatchObjectHit);
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo);
    virtual HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                           IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                           IOleInPlaceUIWindow* pDoc);
    virtual HRESULT HideUI();
    virtual HRESULT UpdateUI();
    virtual HRESULT EnableModeless(BOOL fEnable);
    virtual HRESULT OnDocWindowActivate(BOOL fActivate);
    virtual HRESULT OnFrameWindowActivate(BOOL fActivate);
    virtual HRESULT ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow);
    virtual HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID);
    virtual HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved);
    virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget);
    virtual HRESULT GetExternal(IDispatch** ppDispatch);
    virtual HRESULT TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut);
    virtual HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet);

    // IDownloadManager
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                             BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP);
};

} // namespace Veneer
