#include "veneer/activex/ActiveXCtrl.h"

#include "veneer/activex/ActiveXEnum.h"
#include "veneer/activex/ActiveXFrameWnd.h"
#include "veneer/activex/ActiveXUI.h"
#include "veneer/activex/ActiveXWnd.h"

#include <new>

namespace Veneer
{

namespace
{

template <typename T> HRESULT Answer(T* pInterface, LPVOID* ppvObject)
{
    *ppvObject = pInterface;
    pInterface->AddRef();
    return S_OK;
}

} // namespace

CActiveXCtrl::CActiveXCtrl(CActiveXUI* pOwner)
    : m_dwRef(1), m_pOwner(pOwner), m_pWindow(nullptr), m_pUnkSite(nullptr), m_pViewObject(nullptr),
      m_pInPlaceObject(nullptr), m_bLocked(false), m_bFocused(false), m_bCaptured(false),
      m_bUIActivated(false), m_bInPlaceActive(false), m_bWindowless(true), m_bViewObjectEx(false),
      m_hAccel(nullptr)
{
}

CActiveXCtrl::~CActiveXCtrl()
{
    ReleaseControlInterfaces();
    DestroyActiveXWnd();
    if (m_pUnkSite != nullptr)
        m_pUnkSite->Release();
    if (m_hAccel != nullptr)
        ::DestroyAcceleratorTable(m_hAccel);
}

void CActiveXCtrl::Detach()
{
    if (m_bCaptured)
        ::ReleaseCapture();
    m_bCaptured = false;
    m_pOwner = nullptr;
    ReleaseControlInterfaces();
    DestroyActiveXWnd();
}

CActiveXUI* CActiveXCtrl::GetOwner() const
{
    return m_pOwner;
}

HWND CActiveXCtrl::GetPaintWindow() const
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr)
        return nullptr;
    return m_pOwner->GetManager()->GetPaintWindow();
}

void CActiveXCtrl::ReleaseControlInterfaces()
{
    if (m_pViewObject != nullptr)
        m_pViewObject->Release();
    m_pViewObject = nullptr;
    m_bViewObjectEx = false;
    if (m_pInPlaceObject != nullptr)
        m_pInPlaceObject->Release();
    m_pInPlaceObject = nullptr;
    m_bInPlaceActive = false;
}

RECT CActiveXCtrl::GetHostRect() const
{
    RECT rc = m_pOwner->GetPos();
    if (!m_bWindowless)
        ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceSite ||
        riid == IID_IOleInPlaceSiteEx || riid == IID_IOleInPlaceSiteWindowless)
        return Answer(static_cast<IOleInPlaceSiteWindowless*>(this), ppvObject);
    if (riid == IID_IOleClientSite)
        return Answer(static_cast<IOleClientSite*>(this), ppvObject);
    if (riid == IID_IOleControlSite)
        return Answer(static_cast<IOleControlSite*>(this), ppvObject);
    if (riid == IID_IOleContainer || riid == IID_IParseDisplayName)
        return Answer(static_cast<IOleContainer*>(this), ppvObject);
    if (riid == IID_IObjectWithSite)
        return Answer(static_cast<IObjectWithSite*>(this), ppvObject);
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    const LONG lRef = --m_dwRef;
    if (lRef == 0)
        delete this;
    return static_cast<ULONG>(lRef);
}

// IObjectWithSite

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* pUnkSite)
{
    if (pUnkSite != nullptr)
        pUnkSite->AddRef();
    if (m_pUnkSite != nullptr)
        m_pUnkSite->Release();
    m_pUnkSite = pUnkSite;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, LPVOID* ppvSite)
{
    if (ppvSite == nullptr)
        return E_POINTER;
    *ppvSite = nullptr;
    if (m_pUnkSite == nullptr)
        return E_FAIL;
    return m_pUnkSite->QueryInterface(riid, ppvSite);
}

// IOleClientSite

STDMETHODIMP CActiveXCtrl::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD /*dwAssign*/, DWORD /*dwWhichMoniker*/, IMoniker** ppmk)
{
    if (ppmk != nullptr)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == nullptr)
        return E_POINTER;
    *ppContainer = nullptr;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite != nullptr)
        hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    if (FAILED(hr))
        hr = QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    HWND hWnd = m_pOwner->GetHostWindow();
    if (m_pViewObject == nullptr || hWnd == nullptr)
        return S_OK;
    HDC hDC = ::GetDC(hWnd);
    if (hDC == nullptr)
        return E_FAIL;
    const RECT rc = GetHostRect();
    const RECTL rcBounds{rc.left, rc.top, rc.right, rc.bottom};
    m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcBounds, &rcBounds, nullptr,
                        0);
    ::ReleaseDC(hWnd, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL /*fShow*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// IOleInPlaceSiteWindowless

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL fCapture)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    m_bCaptured = fCapture != FALSE;
    if (m_bCaptured)
        ::SetCapture(m_pOwner->GetHostWindow());
    else
        ::ReleaseCapture();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

// The flag is set before the toolkit focus moves, so that the owner's
// set-focus event does not hand the control a focus it asked for itself.
STDMETHODIMP CActiveXCtrl::SetFocus(BOOL fFocus)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    m_bFocused = fFocus != FALSE;
    if (m_bFocused)
        m_pOwner->SetFocus();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT /*pRect*/, DWORD grfFlags, HDC* phDC)
{
    if (phDC == nullptr)
        return E_POINTER;
    *phDC = nullptr;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    *phDC = ::GetDC(m_pOwner->GetHostWindow());
    if (*phDC == nullptr)
        return E_FAIL;
    if ((grfFlags & OLEDC_PAINTBKGND) != 0)
    {
        const RECT rcItem = GetHostRect();
        ::FillRect(*phDC, &rcItem, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    ::ReleaseDC(m_pOwner->GetHostWindow(), hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    HWND hWnd = m_pOwner->GetHostWindow();
    if (hWnd == nullptr)
        return E_FAIL;
    return ::InvalidateRect(hWnd, pRect, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase)
{
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    HWND hWnd = m_pOwner->GetHostWindow();
    if (hWnd == nullptr)
        return E_FAIL;
    return ::InvalidateRgn(hWnd, hRGN, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT /*dx*/, INT /*dy*/, LPCRECT /*pRectScroll*/, LPCRECT /*pRectClip*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT /*prc*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (plResult == nullptr)
        return E_POINTER;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    *plResult = ::DefWindowProcW(m_pOwner->GetHostWindow(), msg, wParam, lParam);
    return S_OK;
}

// IOleInPlaceSiteEx

// Windowless when the control asks for it and the owner's window can take
// its messages; otherwise in a child window of its own.
STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* /*pfNoRedraw*/, DWORD dwFlags)
{
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr)
        return E_UNEXPECTED;
    ::OleLockRunning(m_pOwner->m_pUnk, TRUE, FALSE);
    if (m_pInPlaceObject != nullptr)
        m_pInPlaceObject->Release();
    m_pInPlaceObject = nullptr;
    HRESULT hr = E_FAIL;
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0 && GetPaintWindow() != nullptr)
    {
        m_bWindowless = true;
        hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                              reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
        if (SUCCEEDED(hr))
        {
            // A child window made for an earlier GetWindow is not needed.
            DestroyActiveXWnd();
            m_pOwner->m_hwndHost = GetPaintWindow();
            m_pOwner->AddWindowlessFilter();
        }
    }
    if (FAILED(hr))
    {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (SUCCEEDED(hr))
            hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObject,
                                                  reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
    }
    if (m_pInPlaceObject != nullptr)
    {
        const RECT rcItem = GetHostRect();
        m_pInPlaceObject->SetObjectRects(&rcItem, &rcItem);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL /*fNoRedraw*/)
{
    m_bInPlaceActive = false;
    if (m_pInPlaceObject != nullptr)
        m_pInPlaceObject->Release();
    m_pInPlaceObject = nullptr;
    if (m_pOwner != nullptr)
        m_pOwner->RemoveWindowlessFilter();
    DestroyActiveXWnd();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

// IOleInPlaceSite

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    BOOL bNoRedraw = FALSE;
    return OnInPlaceActivateEx(&bNoRedraw, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

// The rectangles are those the control is drawn in: the child window's
// client area for a windowed control, the item rectangle in the skinned
// window for a windowless one.
STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                            LPRECT lprcPosRect, LPRECT lprcClipRect,
                                            LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr || lprcClipRect == nullptr ||
        lpFrameInfo == nullptr)
        return E_POINTER;
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != nullptr)
        ::GetClientRect(m_pWindow->GetHWND(), lprcPosRect);
    else
        *lprcPosRect = GetHostRect();
    *lprcClipRect = *lprcPosRect;
    *ppFrame = new (std::nothrow) CActiveXFrameWnd(this);
    if (*ppFrame == nullptr)
        return E_OUTOFMEMORY;
    // One all-zero entry: the window has no accelerators to share. The
    // table stays the site's, made once, for as long as the control may
    // look at it.
    if (m_hAccel == nullptr)
    {
        ACCEL ac{};
        m_hAccel = ::CreateAcceleratorTableW(&ac, 1);
    }
    lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = GetPaintWindow();
    lpFrameInfo->haccel = m_hAccel;
    lpFrameInfo->cAccelEntries = 1;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE /*scrollExtant*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL /*fUndoable*/)
{
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT /*lprcPosRect*/)
{
    return E_NOTIMPL;
}

// IOleWindow

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = nullptr;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr)
        CreateActiveXWnd();
    *phwnd = m_pOwner->m_hwndHost;
    return *phwnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

// IOleControlSite

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL /*fLock*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp == nullptr)
        return E_POINTER;
    *ppDisp = nullptr;
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr)
        return E_UNEXPECTED;
    return m_pOwner->m_pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<LPVOID*>(ppDisp));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL* /*pPtlHimetric*/, POINTF* /*pPtfContainer*/,
                                           DWORD /*dwFlags*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG* /*pMsg*/, DWORD /*grfModifiers*/)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL fGotFocus)
{
    m_bFocused = fGotFocus != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// IOleContainer

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD /*grfFlags*/, IEnumUnknown** ppenum)
{
    if (ppenum == nullptr)
        return E_POINTER;
    *ppenum = nullptr;
    if (m_pOwner == nullptr)
        return E_UNEXPECTED;
    *ppenum = new (std::nothrow) CActiveXEnum(m_pOwner->m_pUnk);
    return *ppenum != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL fLock)
{
    m_bLocked = fLock != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx* /*pbc*/, LPOLESTR /*pszDisplayName*/, ULONG* pchEaten,
                                            IMoniker** ppmkOut)
{
    if (pchEaten != nullptr)
        *pchEaten = 0;
    if (ppmkOut != nullptr)
        *ppmkOut = nullptr;
    return E_NOTIMPL;
}

HRESULT CActiveXCtrl::DoOwnerVerb(LONG iVerb, HWND hWnd)
{
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr)
        return E_UNEXPECTED;
    RECT rcHost = GetHostRect();
    return m_pOwner->m_pUnk->DoVerb(iVerb, nullptr, this, 0, hWnd, &rcHost);
}

DWORD CActiveXCtrl::GetOwnerMiscStatus() const
{
    DWORD dwMiscStatus = 0;
    if (m_pOwner != nullptr && m_pOwner->m_pUnk != nullptr)
        m_pOwner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    return dwMiscStatus;
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pWindow != nullptr)
        return S_OK;
    HWND hWndParent = GetPaintWindow();
    if (hWndParent == nullptr)
        return E_FAIL;
    m_pWindow = new (std::nothrow) CActiveXWnd;
    if (m_pWindow == nullptr)
        return E_OUTOFMEMORY;
    m_pOwner->m_hwndHost = m_pWindow->Init(this, hWndParent);
    if (m_pOwner->m_hwndHost == nullptr)
    {
        delete m_pWindow;
        m_pWindow = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

void CActiveXCtrl::DestroyActiveXWnd()
{
    if (m_pWindow == nullptr)
        return;
    if (m_pOwner != nullptr && m_pOwner->m_hwndHost == m_pWindow->GetHWND())
        m_pOwner->m_hwndHost = nullptr;
    // The window may be gone already with its parent.
    if (::IsWindow(m_pWindow->GetHWND()))
        ::DestroyWindow(m_pWindow->GetHWND());
    delete m_pWindow;
    m_pWindow = nullptr;
}

} // namespace Veneer
