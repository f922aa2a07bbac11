// The browser's embedding: how its container activates, sizes, draws and
// closes it.
#include "tools/pagehost/PageBrowser.h"

#include "tools/pagehost/Guids.h"
#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/PageDocument.h"

#include <olectl.h>

namespace PageHost
{

namespace
{

// What the system's web browser control reports for DVASPECT_CONTENT.
constexpr DWORD kMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

// The checks both extent calls make before they read or write one.
HRESULT CheckExtentCall(DWORD dwDrawAspect, const SIZEL* psizel)
{
    if (psizel == nullptr)
        return E_POINTER;
    return dwDrawAspect == DVASPECT_CONTENT ? S_OK : DV_E_DVASPECT;
}

} // namespace

HRESULT STDMETHODCALLTYPE CPageBrowser::SetClientSite(IOleClientSite* pClientSite)
{
    // Without a site the browser can neither show nor ask anything: it
    // closes, which also breaks the references between it and its host.
    if (pClientSite == nullptr)
        CloseAll();
    m_clientSite = Veneer::CComPtrHolder<IOleClientSite>(pClientSite);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetClientSite(IOleClientSite** ppClientSite)
{
    return Veneer::AnswerInterface(m_clientSite.Get(), ppClientSite);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Close(DWORD)
{
    CloseAll();
    return S_OK;
}

// Deactivates, stops every navigation and lets the document (its handler,
// window.external and scripts) go.
void CPageBrowser::CloseAll()
{
    ++m_generation;
    m_pending.clear();
    InPlaceDeactivate();
    TearDownDocument();
    m_viewSink.Reset();
}

HRESULT STDMETHODCALLTYPE CPageBrowser::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG,
                                               HWND hwndParent, LPCRECT lprcPosRect)
{
    switch (iVerb)
    {
    case OLEIVERB_INPLACEACTIVATE:
        return ActivateInPlace(pActiveSite, hwndParent, lprcPosRect);
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE: {
        const HRESULT hr = ActivateInPlace(pActiveSite, hwndParent, lprcPosRect);
        return FAILED(hr) ? hr : ActivateUI();
    }
    case OLEIVERB_HIDE:
        if (m_view)
            ShowWindow(m_view->GetHWND(), SW_HIDE);
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
}

// Asks the site whether and where (CanInPlaceActivate, OnInPlaceActivate,
// GetWindow, GetWindowContext) and makes the page window in the site's
// window; always windowed, as the real browser is.
HRESULT CPageBrowser::ActivateInPlace(IOleClientSite* pActiveSite, HWND hwndParent, LPCRECT lprcPosRect)
{
    if (m_inPlaceSite)
    {
        if (m_view)
            ShowWindow(m_view->GetHWND(), SW_SHOW);
        return S_OK;
    }
    IOleClientSite* pSite = pActiveSite != nullptr ? pActiveSite : m_clientSite.Get();
    if (pSite == nullptr)
        return E_UNEXPECTED;
    Veneer::CComPtrHolder<IOleInPlaceSite> inPlaceSite;
    if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, inPlaceSite.OutAsVoid())))
        return E_NOINTERFACE;
    if (inPlaceSite->CanInPlaceActivate() != S_OK)
        return E_FAIL;

    Veneer::CComPtrHolder<IOleInPlaceSiteEx> siteEx;
    m_bSiteEx = SUCCEEDED(inPlaceSite.QueryTo(IID_IOleInPlaceSiteEx, siteEx));
    BOOL noRedraw = FALSE;
    const HRESULT hr =
        m_bSiteEx ? siteEx->OnInPlaceActivateEx(&noRedraw, 0) : inPlaceSite->OnInPlaceActivate();
    if (FAILED(hr))
        return hr;
    m_inPlaceSite = std::move(inPlaceSite);
    const HRESULT opened = OpenView(hwndParent, lprcPosRect);
    if (FAILED(opened))
        InPlaceDeactivate();
    return opened;
}

HRESULT CPageBrowser::OpenView(HWND hwndParent, LPCRECT lprcPosRect)
{
    HWND hParent = nullptr;
    if (FAILED(m_inPlaceSite->GetWindow(&hParent)) || hParent == nullptr)
        hParent = hwndParent;
    RECT pos{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    const bool haveContext =
        SUCCEEDED(m_inPlaceSite->GetWindowContext(m_frame.Out(), m_docWindow.Out(), &pos, &clip, &frameInfo));
    // The rectangles the site set (SetObjectRects during activation) win
    // over the context's, and those over the verb's.
    if (!m_bRectsSet)
        m_posRect = haveContext ? pos : (lprcPosRect != nullptr ? *lprcPosRect : RECT{});
    if (frameInfo.haccel != nullptr)
        DestroyAcceleratorTable(frameInfo.haccel);
    if (hParent == nullptr)
        return E_FAIL;
    m_view.reset(new CPageView(this));
    if (!m_view->Create(hParent, m_posRect))
    {
        m_view.reset();
        return E_FAIL;
    }
    ApplyContent();
    return S_OK;
}

HRESULT CPageBrowser::ActivateUI()
{
    if (m_bUIActive || !m_inPlaceSite)
        return S_OK;
    m_bUIActive = true;
    m_inPlaceSite->OnUIActivate();
    if (m_frame)
        m_frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"PageHost");
    if (m_docWindow)
        m_docWindow->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"PageHost");
    if (m_view)
        SetFocus(m_view->GetHWND());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetUserClassID(CLSID* pClsid)
{
    return Veneer::AnswerValue(CLSID_WebBrowser, pClsid);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    const HRESULT hr = CheckExtentCall(dwDrawAspect, psizel);
    if (SUCCEEDED(hr))
        m_extent = *psizel;
    return hr;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    const HRESULT hr = CheckExtentCall(dwDrawAspect, psizel);
    if (SUCCEEDED(hr))
        *psizel = m_extent;
    return hr;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus)
{
    return Veneer::AnswerValue(dwAspect == DVASPECT_CONTENT ? kMiscStatus : 0, pdwStatus);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = m_view ? m_view->GetHWND() : nullptr;
    return *phwnd != nullptr ? S_OK : E_FAIL;
}

// The page window goes before the site hears of it: the site may destroy
// the window it lent (the page window's parent) in OnInPlaceDeactivate.
HRESULT STDMETHODCALLTYPE CPageBrowser::InPlaceDeactivate()
{
    if (!m_inPlaceSite)
        return S_OK;
    UIDeactivate();
    m_view.reset();
    m_bRectsSet = false;
    const Veneer::CComPtrHolder<IOleInPlaceSite> site = std::move(m_inPlaceSite);
    Veneer::CComPtrHolder<IOleInPlaceSiteEx> siteEx;
    if (m_bSiteEx && SUCCEEDED(site.QueryTo(IID_IOleInPlaceSiteEx, siteEx)))
        siteEx->OnInPlaceDeactivateEx(TRUE);
    else
        site->OnInPlaceDeactivate();
    m_frame.Reset();
    m_docWindow.Reset();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::UIDeactivate()
{
    if (!m_bUIActive)
        return S_OK;
    m_bUIActive = false;
    if (m_frame)
        m_frame->SetActiveObject(nullptr, nullptr);
    if (m_docWindow)
        m_docWindow->SetActiveObject(nullptr, nullptr);
    if (m_inPlaceSite)
        m_inPlaceSite->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetObjectRects(LPCRECT lprcPosRect, LPCRECT)
{
    if (lprcPosRect == nullptr)
        return E_POINTER;
    m_posRect = *lprcPosRect;
    m_bRectsSet = true;
    if (m_view)
        m_view->Move(m_posRect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::TranslateAccelerator(LPMSG lpmsg)
{
    if (lpmsg == nullptr || lpmsg->message < WM_KEYFIRST || lpmsg->message > WM_KEYLAST || !m_view)
        return S_FALSE;
    const Veneer::CComPtrHolder<IDocHostUIHandler> handler = UIHandler();
    if (handler && handler->TranslateAccelerator(lpmsg, &kCGID_MSHTML, 0) == S_OK)
        return S_OK;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Draw(DWORD dwDrawAspect, LONG, void*, DVTARGETDEVICE*, HDC,
                                             HDC hdcDraw, LPCRECTL lprcBounds, LPCRECTL,
                                             BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (hdcDraw == nullptr || lprcBounds == nullptr)
        return E_INVALIDARG;
    const RECT bounds{lprcBounds->left, lprcBounds->top, lprcBounds->right, lprcBounds->bottom};
    m_drawCanvas.Paint(hdcDraw, bounds);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* pAdvSink)
{
    m_viewSink = Veneer::CComPtrHolder<IAdviseSink>(pAdvSink);
    m_viewAspects = aspects;
    m_viewAdvf = advf;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetAdvise(DWORD* pAspects, DWORD* pAdvf, IAdviseSink** ppAdvSink)
{
    if (pAspects != nullptr)
        *pAspects = m_viewAspects;
    if (pAdvf != nullptr)
        *pAdvf = m_viewAdvf;
    if (ppAdvSink != nullptr)
        Veneer::AnswerInterface(m_viewSink.Get(), ppAdvSink);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetExtent(DWORD dwDrawAspect, LONG, DVTARGETDEVICE*, LPSIZEL lpsizel)
{
    return GetExtent(dwDrawAspect, lpsizel);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetClassID(CLSID* pClassID)
{
    return GetUserClassID(pClassID);
}

} // namespace PageHost
