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

template <typename T> void ReleaseHeld(T*& pObject)
{
    if (pObject != nullptr)
        pObject->Release();
    pObject = nullptr;
}

} // namespace

HRESULT STDMETHODCALLTYPE CPageBrowser::SetClientSite(IOleClientSite* pClientSite)
{
    // Without a site the browser can neither show nor ask anything: it
    // closes, which also breaks the references between it and its host.
    if (pClientSite == nullptr)
        CloseAll();
    if (pClientSite != nullptr)
        pClientSite->AddRef();
    ReleaseHeld(m_pClientSite);
    m_pClientSite = pClientSite;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetClientSite(IOleClientSite** ppClientSite)
{
    if (ppClientSite == nullptr)
        return E_POINTER;
    *ppClientSite = m_pClientSite;
    if (m_pClientSite != nullptr)
        m_pClientSite->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetHostNames(LPCOLESTR, LPCOLESTR)
{
    return S_OK;
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
    ReleaseHeld(m_pViewSink);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetMoniker(DWORD, IMoniker*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk != nullptr)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::InitFromData(IDataObject*, BOOL, DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetClipboardData(DWORD, IDataObject** ppDataObject)
{
    if (ppDataObject != nullptr)
        *ppDataObject = nullptr;
    return E_NOTIMPL;
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
    if (m_pInPlaceSite != nullptr)
    {
        if (m_view)
            ShowWindow(m_view->GetHWND(), SW_SHOW);
        return S_OK;
    }
    IOleClientSite* pSite = pActiveSite != nullptr ? pActiveSite : m_pClientSite;
    if (pSite == nullptr)
        return E_UNEXPECTED;
    Microsoft::WRL::ComPtr<IOleInPlaceSite> inPlaceSite;
    if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, &inPlaceSite)))
        return E_NOINTERFACE;
    if (inPlaceSite->CanInPlaceActivate() != S_OK)
        return E_FAIL;

    Microsoft::WRL::ComPtr<IOleInPlaceSiteEx> siteEx;
    m_bSiteEx = SUCCEEDED(inPlaceSite.As(&siteEx));
    BOOL noRedraw = FALSE;
    const HRESULT hr =
        m_bSiteEx ? siteEx->OnInPlaceActivateEx(&noRedraw, 0) : inPlaceSite->OnInPlaceActivate();
    if (FAILED(hr))
        return hr;
    m_pInPlaceSite = inPlaceSite.Detach();
    const HRESULT opened = OpenView(hwndParent, lprcPosRect);
    if (FAILED(opened))
        InPlaceDeactivate();
    return opened;
}

HRESULT CPageBrowser::OpenView(HWND hwndParent, LPCRECT lprcPosRect)
{
    HWND hParent = nullptr;
    if (FAILED(m_pInPlaceSite->GetWindow(&hParent)) || hParent == nullptr)
        hParent = hwndParent;
    RECT pos{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    const bool haveContext =
        SUCCEEDED(m_pInPlaceSite->GetWindowContext(&m_pFrame, &m_pDocWindow, &pos, &clip, &frameInfo));
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
    if (m_bUIActive || m_pInPlaceSite == nullptr)
        return S_OK;
    m_bUIActive = true;
    m_pInPlaceSite->OnUIActivate();
    if (m_pFrame != nullptr)
        m_pFrame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"PageHost");
    if (m_pDocWindow != nullptr)
        m_pDocWindow->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"PageHost");
    if (m_view)
        SetFocus(m_view->GetHWND());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::EnumVerbs(IEnumOLEVERB** ppEnumOleVerb)
{
    if (ppEnumOleVerb != nullptr)
        *ppEnumOleVerb = nullptr;
    return OLE_S_USEREG;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Update()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::IsUpToDate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetUserClassID(CLSID* pClsid)
{
    if (pClsid == nullptr)
        return E_POINTER;
    *pClsid = CLSID_WebBrowser;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetUserType(DWORD, LPOLESTR* pszUserType)
{
    if (pszUserType != nullptr)
        *pszUserType = nullptr;
    return OLE_S_USEREG;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    if (psizel == nullptr)
        return E_POINTER;
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    m_extent = *psizel;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    if (psizel == nullptr)
        return E_POINTER;
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *psizel = m_extent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Advise(IAdviseSink*, DWORD* pdwConnection)
{
    if (pdwConnection != nullptr)
        *pdwConnection = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Unadvise(DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::EnumAdvise(IEnumSTATDATA** ppenumAdvise)
{
    if (ppenumAdvise != nullptr)
        *ppenumAdvise = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus)
{
    if (pdwStatus == nullptr)
        return E_POINTER;
    *pdwStatus = dwAspect == DVASPECT_CONTENT ? kMiscStatus : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetColorScheme(LOGPALETTE*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = m_view ? m_view->GetHWND() : nullptr;
    return *phwnd != nullptr ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

// The page window goes before the site hears of it: the site may destroy
// the window it lent (the page window's parent) in OnInPlaceDeactivate.
HRESULT STDMETHODCALLTYPE CPageBrowser::InPlaceDeactivate()
{
    if (m_pInPlaceSite == nullptr)
        return S_OK;
    UIDeactivate();
    m_view.reset();
    m_bRectsSet = false;
    IOleInPlaceSite* pSite = m_pInPlaceSite;
    m_pInPlaceSite = nullptr;
    Microsoft::WRL::ComPtr<IOleInPlaceSiteEx> siteEx;
    if (m_bSiteEx && SUCCEEDED(pSite->QueryInterface(IID_IOleInPlaceSiteEx, &siteEx)))
        siteEx->OnInPlaceDeactivateEx(TRUE);
    else
        pSite->OnInPlaceDeactivate();
    pSite->Release();
    ReleaseHeld(m_pFrame);
    ReleaseHeld(m_pDocWindow);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::UIDeactivate()
{
    if (!m_bUIActive)
        return S_OK;
    m_bUIActive = false;
    if (m_pFrame != nullptr)
        m_pFrame->SetActiveObject(nullptr, nullptr);
    if (m_pDocWindow != nullptr)
        m_pDocWindow->SetActiveObject(nullptr, nullptr);
    if (m_pInPlaceSite != nullptr)
        m_pInPlaceSite->OnUIDeactivate(FALSE);
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

HRESULT STDMETHODCALLTYPE CPageBrowser::ReactivateAndUndo()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::TranslateAccelerator(LPMSG lpmsg)
{
    if (lpmsg == nullptr || lpmsg->message < WM_KEYFIRST || lpmsg->message > WM_KEYLAST || !m_view)
        return S_FALSE;
    Microsoft::WRL::ComPtr<IDocHostUIHandler> handler = UIHandler();
    if (handler && handler->TranslateAccelerator(lpmsg, &kCGID_MSHTML, 0) == S_OK)
        return S_OK;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::EnableModeless(BOOL)
{
    return S_OK;
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

HRESULT STDMETHODCALLTYPE CPageBrowser::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                                    LOGPALETTE** ppColorSet)
{
    if (ppColorSet != nullptr)
        *ppColorSet = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Freeze(DWORD, LONG, void*, DWORD*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Unfreeze(DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* pAdvSink)
{
    if (pAdvSink != nullptr)
        pAdvSink->AddRef();
    ReleaseHeld(m_pViewSink);
    m_pViewSink = pAdvSink;
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
    {
        *ppAdvSink = m_pViewSink;
        if (m_pViewSink != nullptr)
            m_pViewSink->AddRef();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetExtent(DWORD dwDrawAspect, LONG, DVTARGETDEVICE*, LPSIZEL lpsizel)
{
    return GetExtent(dwDrawAspect, lpsizel);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetClassID(CLSID* pClassID)
{
    if (pClassID == nullptr)
        return E_POINTER;
    *pClassID = CLSID_WebBrowser;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::IsDirty()
{
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Load(LPSTREAM)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::Save(LPSTREAM, BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetSizeMax(ULARGE_INTEGER* pCbSize)
{
    if (pCbSize != nullptr)
        pCbSize->QuadPart = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::InitNew()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::GetControlInfo(CONTROLINFO*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::OnMnemonic(MSG*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::OnAmbientPropertyChange(DISPID)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageBrowser::FreezeEvents(BOOL)
{
    return S_OK;
}

} // namespace PageHost
