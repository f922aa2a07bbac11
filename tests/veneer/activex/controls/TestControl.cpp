#include "TestControl.h"

#include <windowsx.h>

namespace TestControls
{

namespace
{

template <typename T> HRESULT Answer(T* pInterface, void** ppv)
{
    *ppv = pInterface;
    pInterface->AddRef();
    return S_OK;
}

template <typename T> void ReleaseAndClear(T*& pInterface)
{
    if (pInterface != nullptr)
        pInterface->Release();
    pInterface = nullptr;
}

// The state of the DLL whose window procedure runs; the windowed control
// keeps it in the window.
TTestControlState* StateOf(HWND hWnd)
{
    return reinterpret_cast<TTestControlState*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

} // namespace

CTestControl::CTestControl(EKind eKind, TTestControlState* pState)
    : m_nRefs(1), m_eKind(eKind), m_pState(pState), m_pClientSite(nullptr), m_pInPlaceSite(nullptr),
      m_hWnd(nullptr), m_szExtent{0, 0}
{
    ++m_pState->nLiveObjects;
}

CTestControl::~CTestControl()
{
    InPlaceDeactivate();
    ReleaseAndClear(m_pClientSite);
    --m_pState->nLiveObjects;
}

STDMETHODIMP CTestControl::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleObject)
        return Answer(static_cast<IOleObject*>(this), ppv);
    if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
        return Answer(static_cast<IOleInPlaceObject*>(this), ppv);
    // Only the windowless kind says it can be windowless.
    if (riid == IID_IOleInPlaceObjectWindowless && m_eKind != KindWindowed)
        return Answer(static_cast<IOleInPlaceObjectWindowless*>(this), ppv);
    if (riid == IID_IViewObject || riid == IID_IViewObject2 || riid == IID_IViewObjectEx)
        return Answer(static_cast<IViewObjectEx*>(this), ppv);
    if (riid == IID_IPersist || riid == IID_IPersistStreamInit)
        return Answer(static_cast<IPersistStreamInit*>(this), ppv);
    if (riid == IID_IOleControl)
        return Answer(static_cast<IOleControl*>(this), ppv);
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CTestControl::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefs));
}

STDMETHODIMP_(ULONG) CTestControl::Release()
{
    const LONG nRefs = ::InterlockedDecrement(&m_nRefs);
    if (nRefs == 0)
        delete this;
    return static_cast<ULONG>(nRefs);
}

STDMETHODIMP CTestControl::SetClientSite(IOleClientSite* pClientSite)
{
    if (pClientSite != nullptr)
        pClientSite->AddRef();
    ReleaseAndClear(m_pClientSite);
    m_pClientSite = pClientSite;
    return S_OK;
}

STDMETHODIMP CTestControl::GetClientSite(IOleClientSite** ppClientSite)
{
    if (ppClientSite == nullptr)
        return E_POINTER;
    *ppClientSite = m_pClientSite;
    if (m_pClientSite != nullptr)
        m_pClientSite->AddRef();
    return S_OK;
}

STDMETHODIMP CTestControl::Close(DWORD /*dwSaveOption*/)
{
    InPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP CTestControl::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk != nullptr)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTestControl::GetClipboardData(DWORD, IDataObject** ppDataObject)
{
    if (ppDataObject != nullptr)
        *ppDataObject = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTestControl::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND /*hwndParent*/,
                                  LPCRECT /*lprcPosRect*/)
{
    if (iVerb != OLEIVERB_INPLACEACTIVATE && iVerb != OLEIVERB_UIACTIVATE && iVerb != OLEIVERB_SHOW)
        return OLEOBJ_S_INVALIDVERB;
    if (m_pInPlaceSite != nullptr)
        return S_OK;
    return ActivateInPlace(pActiveSite != nullptr ? pActiveSite : m_pClientSite);
}

HRESULT CTestControl::ActivateInPlace(IOleClientSite* pSite)
{
    if (m_eKind == KindFailing || pSite == nullptr)
        return E_FAIL;
    IOleInPlaceSiteWindowless* pWindowless = nullptr;
    if (m_eKind == KindWindowless && SUCCEEDED(pSite->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                                                     reinterpret_cast<void**>(&pWindowless))))
    {
        const bool bCan = pWindowless->CanWindowlessActivate() == S_OK;
        HRESULT hr = bCan ? ActivateWindowless(pWindowless) : E_FAIL;
        pWindowless->Release();
        if (bCan)
            return hr;
    }
    IOleInPlaceSite* pInPlace = nullptr;
    if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pInPlace))))
        return E_NOINTERFACE;
    const HRESULT hr = ActivateWindowed(pInPlace);
    pInPlace->Release();
    return hr;
}

HRESULT CTestControl::ActivateWindowless(IOleInPlaceSiteWindowless* pSite)
{
    BOOL bNoRedraw = FALSE;
    const HRESULT hr = pSite->OnInPlaceActivateEx(&bNoRedraw, ACTIVATE_WINDOWLESS);
    if (FAILED(hr))
        return hr;
    m_pInPlaceSite = pSite;
    m_pInPlaceSite->AddRef();
    m_pState->bWindowless = 1;
    ++m_pState->nInPlaceActivations;
    return S_OK;
}

// As a windowed control does: the site's window is the parent, the window
// context gives the place in it.
HRESULT CTestControl::ActivateWindowed(IOleInPlaceSite* pSite)
{
    if (pSite->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    HRESULT hr = pSite->OnInPlaceActivate();
    HWND hParent = nullptr;
    if (SUCCEEDED(hr))
        hr = pSite->GetWindow(&hParent);
    IOleInPlaceFrame* pFrame = nullptr;
    IOleInPlaceUIWindow* pDoc = nullptr;
    RECT rcPos{};
    RECT rcClip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof(info);
    if (SUCCEEDED(hr))
        hr = pSite->GetWindowContext(&pFrame, &pDoc, &rcPos, &rcClip, &info);
    ReleaseAndClear(pFrame);
    ReleaseAndClear(pDoc);
    if (FAILED(hr))
        return hr;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowedClass;
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    ::RegisterClassW(&wc);
    m_hWnd = ::CreateWindowExW(0, kWindowedClass, L"", WS_CHILD | WS_VISIBLE, rcPos.left, rcPos.top,
                               rcPos.right - rcPos.left, rcPos.bottom - rcPos.top, hParent, nullptr,
                               wc.hInstance, nullptr);
    if (m_hWnd == nullptr)
        return E_FAIL;
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_pState));
    m_pInPlaceSite = pSite;
    m_pInPlaceSite->AddRef();
    m_pState->bWindowless = 0;
    m_pState->hwndOwn = m_hWnd;
    ++m_pState->nInPlaceActivations;
    return S_OK;
}

LRESULT CALLBACK CTestControl::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TTestControlState* pState = StateOf(hWnd);
    if (pState != nullptr && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
    {
        ++pState->nMouseMessages;
        pState->uLastMouseMessage = msg;
        pState->ptLastMouse = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    }
    else if (pState != nullptr && msg == WM_KEYDOWN)
    {
        ++pState->nKeyMessages;
        pState->wLastKey = wParam;
    }
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

STDMETHODIMP CTestControl::EnumVerbs(IEnumOLEVERB** ppEnumOleVerb)
{
    if (ppEnumOleVerb != nullptr)
        *ppEnumOleVerb = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTestControl::GetUserClassID(CLSID* pClsid)
{
    return GetClassID(pClsid);
}

STDMETHODIMP CTestControl::GetUserType(DWORD, LPOLESTR* pszUserType)
{
    if (pszUserType != nullptr)
        *pszUserType = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTestControl::SetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    if (dwDrawAspect != DVASPECT_CONTENT || psizel == nullptr)
        return E_INVALIDARG;
    m_szExtent = *psizel;
    m_pState->szLastExtent = *psizel;
    return S_OK;
}

STDMETHODIMP CTestControl::GetExtent(DWORD dwDrawAspect, SIZEL* psizel)
{
    if (dwDrawAspect != DVASPECT_CONTENT || psizel == nullptr)
        return E_INVALIDARG;
    *psizel = m_szExtent;
    return S_OK;
}

STDMETHODIMP CTestControl::Advise(IAdviseSink*, DWORD* pdwConnection)
{
    if (pdwConnection != nullptr)
        *pdwConnection = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CTestControl::EnumAdvise(IEnumSTATDATA** ppenumAdvise)
{
    if (ppenumAdvise != nullptr)
        *ppenumAdvise = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTestControl::GetMiscStatus(DWORD /*dwAspect*/, DWORD* pdwStatus)
{
    if (pdwStatus == nullptr)
        return E_POINTER;
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE |
                 OLEMISC_INSIDEOUT;
    return S_OK;
}

STDMETHODIMP CTestControl::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = m_hWnd;
    return m_hWnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CTestControl::InPlaceDeactivate()
{
    if (m_pInPlaceSite == nullptr)
        return S_OK;
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    IOleInPlaceSite* pSite = m_pInPlaceSite;
    m_pInPlaceSite = nullptr;
    pSite->OnInPlaceDeactivate();
    pSite->Release();
    return S_OK;
}

STDMETHODIMP CTestControl::SetObjectRects(LPCRECT lprcPosRect, LPCRECT /*lprcClipRect*/)
{
    if (lprcPosRect == nullptr)
        return E_POINTER;
    m_pState->rcLastObjectRect = *lprcPosRect;
    if (m_hWnd != nullptr)
        ::MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                     lprcPosRect->bottom - lprcPosRect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CTestControl::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (plResult != nullptr)
        *plResult = 0;
    RecordMessage(msg, wParam, lParam);
    return S_OK;
}

void CTestControl::RecordMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
    {
        ++m_pState->nMouseMessages;
        m_pState->uLastMouseMessage = msg;
        m_pState->ptLastMouse = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    }
    else if (msg == WM_KEYDOWN)
    {
        ++m_pState->nKeyMessages;
        m_pState->wLastKey = wParam;
    }
    else if (msg == WM_SETFOCUS)
    {
        ++m_pState->nSetFocus;
    }
    else if (msg == WM_KILLFOCUS)
    {
        ++m_pState->nKillFocus;
    }
}

STDMETHODIMP CTestControl::GetDropTarget(IDropTarget** ppDropTarget)
{
    if (ppDropTarget != nullptr)
        *ppDropTarget = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CTestControl::Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL lprcBounds,
                                LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (hdcDraw == nullptr || lprcBounds == nullptr)
        return E_INVALIDARG;
    ++m_pState->nDraws;
    return S_OK;
}

STDMETHODIMP CTestControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** ppColorSet)
{
    if (ppColorSet != nullptr)
        *ppColorSet = nullptr;
    return S_FALSE;
}

STDMETHODIMP CTestControl::GetAdvise(DWORD*, DWORD*, IAdviseSink** ppAdvSink)
{
    if (ppAdvSink != nullptr)
        *ppAdvSink = nullptr;
    return S_OK;
}

STDMETHODIMP CTestControl::GetExtent(DWORD dwDrawAspect, LONG, DVTARGETDEVICE*, LPSIZEL lpsizel)
{
    return GetExtent(dwDrawAspect, lpsizel);
}

STDMETHODIMP CTestControl::GetViewStatus(DWORD* pdwStatus)
{
    if (pdwStatus == nullptr)
        return E_POINTER;
    *pdwStatus = VIEWSTATUS_OPAQUE;
    return S_OK;
}

// Only the left half of the control counts as the control.
STDMETHODIMP CTestControl::QueryHitPoint(DWORD, LPCRECT pRectBounds, POINT ptlLoc, LONG, DWORD* pHitResult)
{
    if (pRectBounds == nullptr || pHitResult == nullptr)
        return E_POINTER;
    RECT rcLeft = *pRectBounds;
    rcLeft.right = rcLeft.left + (rcLeft.right - rcLeft.left) / 2;
    *pHitResult = ::PtInRect(&rcLeft, ptlLoc) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP CTestControl::GetClassID(CLSID* pClassID)
{
    if (pClassID == nullptr)
        return E_POINTER;
    *pClassID = m_eKind == KindWindowed  ? kCLSID_Windowed
                : m_eKind == KindFailing ? kCLSID_FailingActivation
                                         : kCLSID_Windowless;
    return S_OK;
}

} // namespace TestControls
