#include "veneer/activex/WebBrowserEventHandler.h"

namespace Veneer
{

void CWebBrowserEventHandler::BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT* /*url*/, VARIANT* /*flags*/,
                                              VARIANT* /*targetFrameName*/, VARIANT* /*postData*/,
                                              VARIANT* /*headers*/, VARIANT_BOOL* /*cancel*/)
{
}

void CWebBrowserEventHandler::NavigateError(IDispatch* /*pDisp*/, VARIANT* /*url*/,
                                            VARIANT* /*targetFrameName*/, VARIANT* /*statusCode*/,
                                            VARIANT_BOOL* /*cancel*/)
{
}

void CWebBrowserEventHandler::NavigateComplete2(IDispatch* /*pDisp*/, VARIANT* /*url*/) {}

void CWebBrowserEventHandler::DocumentComplete(IDispatch* /*pDisp*/, VARIANT* /*url*/) {}

void CWebBrowserEventHandler::ProgressChange(LONG /*nProgress*/, LONG /*nProgressMax*/) {}

void CWebBrowserEventHandler::NewWindow3(IDispatch** /*ppDisp*/, VARIANT_BOOL* /*cancel*/, DWORD /*dwFlags*/,
                                         BSTR /*bstrUrlContext*/, BSTR /*bstrUrl*/)
{
}

void CWebBrowserEventHandler::CommandStateChange(long /*command*/, VARIANT_BOOL /*enable*/) {}

// S_OK: the host has "shown" the menu, so the browser shows none.
HRESULT CWebBrowserEventHandler::ShowContextMenu(DWORD /*dwID*/, POINT* /*pptPosition*/,
                                                 IUnknown* /*pCommandTarget*/,
                                                 IDispatch* /*pDispatchObjectHit*/)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetHostInfo(DOCHOSTUIINFO* /*pInfo*/)
{
    return S_OK;
}

// S_FALSE: the browser shows its own menus and tool bars.
HRESULT CWebBrowserEventHandler::ShowUI(DWORD /*dwID*/, IOleInPlaceActiveObject* /*pActiveObject*/,
                                        IOleCommandTarget* /*pCommandTarget*/, IOleInPlaceFrame* /*pFrame*/,
                                        IOleInPlaceUIWindow* /*pDoc*/)
{
    return S_FALSE;
}

HRESULT CWebBrowserEventHandler::HideUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::UpdateUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::EnableModeless(BOOL /*fEnable*/)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnDocWindowActivate(BOOL /*fActivate*/)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnFrameWindowActivate(BOOL /*fActivate*/)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ResizeBorder(LPCRECT /*prcBorder*/, IOleInPlaceUIWindow* /*pUIWindow*/,
                                              BOOL /*fFrameWindow*/)
{
    return S_OK;
}

// S_FALSE: the browser handles the key itself.
HRESULT CWebBrowserEventHandler::TranslateAccelerator(LPMSG /*lpMsg*/, const GUID* /*pguidCmdGroup*/,
                                                      DWORD /*nCmdID*/)
{
    return S_FALSE;
}

// No key of our own: the browser keeps its default settings.
HRESULT CWebBrowserEventHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD /*dwReserved*/)
{
    if (pchKey != nullptr)
        *pchKey = nullptr;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetDropTarget(IDropTarget* /*pDropTarget*/, IDropTarget** ppDropTarget)
{
    if (ppDropTarget != nullptr)
        *ppDropTarget = nullptr;
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch != nullptr)
        *ppDispatch = nullptr;
    return E_NOTIMPL;
}

// No translation: the address is used as it is.
HRESULT CWebBrowserEventHandler::TranslateUrl(DWORD /*dwTranslate*/, LPWSTR /*pchURLIn*/, LPWSTR* ppchURLOut)
{
    if (ppchURLOut != nullptr)
        *ppchURLOut = nullptr;
    return S_OK;
}

// No replacement: the browser keeps the data object it has.
HRESULT CWebBrowserEventHandler::FilterDataObject(IDataObject* /*pDO*/, IDataObject** ppDORet)
{
    if (ppDORet != nullptr)
        *ppDORet = nullptr;
    return S_OK;
}

// The download counts as handled, and nothing is downloaded.
HRESULT CWebBrowserEventHandler::Download(IMoniker* /*pmk*/, IBindCtx* /*pbc*/, DWORD /*dwBindVerb*/,
                                          LONG /*grfBINDF*/, BINDINFO* /*pBindInfo*/,
                                          LPCOLESTR /*pszHeaders*/, LPCOLESTR /*pszRedir*/, UINT /*uiCP*/)
{
    return S_OK;
}

} // namespace Veneer
