#include "veneer/activex/ActiveXUI.h"

#include "veneer/activex/ActiveXCtrl.h"
#include "veneer/control/AttributeParse.h"

#include <windowsx.h>
#include <wrl/client.h>

#include <cwchar>
#include <new>

using Microsoft::WRL::ComPtr;

namespace Veneer
{

namespace
{

// Class and program ids are read from at most this many characters.
constexpr int kMaxClassText = 99;
// HIMETRIC units (0.01 mm) in an inch.
constexpr int kHimetricPerInch = 2540;

// WM_MOUSEMOVE to WM_XBUTTONDBLCLK, the wheel included.
bool IsMouseMessage(UINT uMsg)
{
    return uMsg >= WM_MOUSEFIRST && uMsg <= WM_XBUTTONDBLCLK;
}

// WM_KEYDOWN to 0x0108, the key messages before WM_UNICHAR.
bool IsKeyMessage(UINT uMsg)
{
    return uMsg >= WM_KEYFIRST && uMsg < WM_UNICHAR;
}

// A pixel size on the screen as HIMETRIC, as OLE extents are given.
SIZEL PixelsToHimetric(int cx, int cy)
{
    HDC hDC = ::GetDC(nullptr);
    const int nLogX = hDC != nullptr ? ::GetDeviceCaps(hDC, LOGPIXELSX) : 96;
    const int nLogY = hDC != nullptr ? ::GetDeviceCaps(hDC, LOGPIXELSY) : 96;
    if (hDC != nullptr)
        ::ReleaseDC(nullptr, hDC);
    return SIZEL{::MulDiv(kHimetricPerInch, cx, nLogX), ::MulDiv(kHimetricPerInch, cy, nLogY)};
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(CLSID_NULL), m_bCreated(false), m_bDelayCreate(true), m_pUnk(nullptr), m_pControl(nullptr),
      m_hwndHost(nullptr), m_hModule(nullptr), m_pFilterManager(nullptr)
{
}

CActiveXUI::~CActiveXUI()
{
    CActiveXUI::ReleaseControl();
}

LPCWSTR CActiveXUI::GetClass() const
{
    return L"ActiveXUI";
}

LPVOID CActiveXUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ActiveX") == 0)
        return static_cast<CActiveXUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

HWND CActiveXUI::GetHostWindow() const
{
    return m_hwndHost;
}

bool CActiveXUI::IsDelayCreate() const
{
    return m_bDelayCreate;
}

void CActiveXUI::SetDelayCreate(bool bDelayCreate)
{
    if (m_bDelayCreate == bDelayCreate)
        return;
    if (!bDelayCreate && !m_bCreated && m_clsid != CLSID_NULL)
        DoCreateControl();
    m_bDelayCreate = bDelayCreate;
}

bool CActiveXUI::CreateControl(LPCWSTR pstrCLSID)
{
    if (pstrCLSID == nullptr)
        return false;
    wchar_t szCLSID[kMaxClassText + 1] = {};
    wcsncpy(szCLSID, pstrCLSID, kMaxClassText);
    CLSID clsid = CLSID_NULL;
    const HRESULT hr =
        szCLSID[0] == L'{' ? ::CLSIDFromString(szCLSID, &clsid) : ::CLSIDFromProgID(szCLSID, &clsid);
    if (FAILED(hr))
        return false;
    return CreateControl(clsid);
}

bool CActiveXUI::CreateControl(const CLSID& clsid)
{
    if (clsid == CLSID_NULL)
        return false;
    m_clsid = clsid;
    m_bCreated = false;
    if (!m_bDelayCreate)
        DoCreateControl();
    return true;
}

HRESULT CActiveXUI::GetControl(const IID& iid, LPVOID* ppRet)
{
    if (ppRet == nullptr)
        return E_POINTER;
    *ppRet = nullptr;
    if (m_pUnk == nullptr)
        return E_PENDING;
    return m_pUnk->QueryInterface(iid, ppRet);
}

CLSID CActiveXUI::GetClisd() const
{
    return m_clsid;
}

CUiString CActiveXUI::GetModuleName() const
{
    return m_sModuleName;
}

void CActiveXUI::SetModuleName(LPCWSTR pstrText)
{
    m_sModuleName = pstrText;
}

void CActiveXUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::ShowHostWindow()
{
    if (m_hwndHost != nullptr && m_pControl != nullptr && !m_pControl->m_bWindowless)
        ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (!m_bCreated)
        DoCreateControl();
    if (m_pUnk == nullptr || m_pControl == nullptr)
        return;
    UpdateExtent();
    if (m_pControl->m_pInPlaceObject != nullptr)
    {
        const RECT rcHost = m_pControl->GetHostRect();
        m_pControl->m_pInPlaceObject->SetObjectRects(&rcHost, &rcHost);
    }
    if (!m_pControl->m_bWindowless && m_hwndHost != nullptr)
        ::MoveWindow(m_hwndHost, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                     m_rcItem.bottom - m_rcItem.top, TRUE);
}

void CActiveXUI::UpdateExtent()
{
    SIZEL hmSize = PixelsToHimetric(m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top);
    m_pUnk->SetExtent(DVASPECT_CONTENT, &hmSize);
}

void CActiveXUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcMeet{};
    if (!::IntersectRect(&rcMeet, &rcPaint, &m_rcItem))
        return;
    if (m_pControl == nullptr || !m_pControl->m_bWindowless || m_pControl->m_pViewObject == nullptr)
        return;
    const RECTL rcBounds{m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    m_pControl->m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcBounds,
                                    &rcBounds, nullptr, 0);
}

// The toolkit focus is the windowless control's focus: it is told when the
// focus comes by tab or by the application, and when it leaves.
void CActiveXUI::DoEvent(TEventUI& event)
{
    if (IsWindowlessActive())
    {
        bool bHandled = false;
        if (event.Type == EventSetFocus && !m_pControl->m_bFocused)
        {
            m_pControl->m_bFocused = true;
            RouteToWindowless(WM_SETFOCUS, 0, 0, false, bHandled);
        }
        else if (event.Type == EventKillFocus && m_pControl->m_bFocused)
        {
            m_pControl->m_bFocused = false;
            RouteToWindowless(WM_KILLFOCUS, 0, 0, false, bHandled);
        }
    }
    CControlUI::DoEvent(event);
}

namespace
{

const TAttributeHandler<CActiveXUI> kActiveXAttributes[] = {
    {L"clsid", [](CActiveXUI& c, LPCWSTR v) { c.CreateControl(v); }},
    {L"modulename", [](CActiveXUI& c, LPCWSTR v) { c.SetModuleName(v); }},
    {L"delaycreate", [](CActiveXUI& c, LPCWSTR v) { c.SetDelayCreate(ParseAttributeBool(v)); }},
};

} // namespace

void CActiveXUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kActiveXAttributes, *this, pstrName, pstrValue))
        CControlUI::SetAttribute(pstrName, pstrValue);
}

bool CActiveXUI::IsWindowlessActive() const
{
    return m_pControl != nullptr && m_pControl->m_bInPlaceActive && m_pControl->m_bWindowless &&
           m_pControl->m_pInPlaceObject != nullptr;
}

LRESULT CActiveXUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (!IsWindowlessActive())
        return 0;
    if (IsMouseMessage(uMsg) || uMsg == WM_SETCURSOR)
    {
        // Step 1: mouse input only for a shown, mouse-enabled control,
        // and only inside its hit area unless it holds the capture.
        if (IsMouseMessage(uMsg) && (!IsMouseEnabled() || !IsVisible()))
            return 0;
        if (!m_pControl->m_bCaptured && !HitsWindowless(uMsg, lParam))
            return 0;
        // The cursor is the control's to set, but the window still looks.
        return RouteToWindowless(uMsg, wParam, lParam, uMsg != WM_SETCURSOR, bHandled);
    }
    // Step 2: help and context menus go to the control as well, keys only
    // while it has the focus.
    if (uMsg == WM_CONTEXTMENU)
    {
        const bool bFromKeyboard = lParam == -1;
        if (bFromKeyboard ? !IsFocused() : !HitsWindowless(uMsg, lParam))
            return 0;
        return RouteToWindowless(uMsg, wParam, lParam, false, bHandled);
    }
    if (uMsg == WM_HELP)
    {
        if (!IsFocused())
            return 0;
        return RouteToWindowless(uMsg, wParam, lParam, false, bHandled);
    }
    if (IsKeyMessage(uMsg) && IsFocused())
        return RouteToWindowless(uMsg, wParam, lParam, true, bHandled);
    return 0;
}

LRESULT CActiveXUI::RouteToWindowless(UINT uMsg, WPARAM wParam, LPARAM lParam, bool bReportHandled,
                                      bool& bHandled)
{
    // A windowless site's in-place object is always the windowless kind.
    IOleInPlaceObjectWindowless* pWindowless =
        static_cast<IOleInPlaceObjectWindowless*>(m_pControl->m_pInPlaceObject);
    LRESULT lResult = 0;
    if (pWindowless->OnWindowMessage(uMsg, wParam, lParam, &lResult) == S_OK)
        bHandled = bReportHandled;
    return lResult;
}

// Where the message points, in the window's client area: the cursor for
// WM_SETCURSOR (whose parameters hold no point), screen points converted
// for the wheel and the context menu.
bool CActiveXUI::HitsWindowless(UINT uMsg, LPARAM lParam) const
{
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (uMsg == WM_SETCURSOR)
        ::GetCursorPos(&pt);
    if (uMsg == WM_SETCURSOR || uMsg == WM_MOUSEWHEEL || uMsg == WM_CONTEXTMENU)
        ::ScreenToClient(m_hwndHost, &pt);
    if (!m_pControl->m_bViewObjectEx)
        return ::PtInRect(&m_rcItem, pt) != FALSE;
    DWORD dwHitResult = HITRESULT_OUTSIDE;
    IViewObjectEx* pViewEx = static_cast<IViewObjectEx*>(m_pControl->m_pViewObject);
    pViewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &dwHitResult);
    return dwHitResult == HITRESULT_HIT;
}

void CActiveXUI::AddWindowlessFilter()
{
    if (m_pFilterManager != nullptr || m_pManager == nullptr)
        return;
    if (m_pManager->AddMessageFilter(this))
        m_pFilterManager = m_pManager;
}

void CActiveXUI::RemoveWindowlessFilter()
{
    if (m_pFilterManager == nullptr)
        return;
    m_pFilterManager->RemoveMessageFilter(this);
    m_pFilterManager = nullptr;
}

// The control goes first, then the site it may still hold, then the
// module its code lives in.
void CActiveXUI::ReleaseControl()
{
    if (m_pUnk != nullptr)
    {
        ComPtr<IObjectWithSite> pSite;
        if (SUCCEEDED(m_pUnk->QueryInterface(IID_PPV_ARGS(&pSite))))
            pSite->SetSite(nullptr);
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(nullptr);
        m_pUnk->Release();
        m_pUnk = nullptr;
    }
    if (m_pControl != nullptr)
    {
        m_pControl->Detach();
        m_pControl->Release();
        m_pControl = nullptr;
    }
    m_hwndHost = nullptr;
    RemoveWindowlessFilter();
    FreeModuleIfUnused();
}

bool CActiveXUI::DoCreateControl()
{
    // Step 1: whatever was made before goes first.
    ReleaseControl();
    m_bCreated = true;
    // Steps 2 and 3: the object, from its module or its registration.
    IUnknown* pUnk = CreateObject();
    if (pUnk == nullptr)
        return false;
    const HRESULT hrObject = pUnk->QueryInterface(IID_IOleObject, reinterpret_cast<LPVOID*>(&m_pUnk));
    pUnk->Release();
    if (FAILED(hrObject))
    {
        m_pUnk = nullptr;
        FreeModuleIfUnused();
        return false;
    }
    // Step 4: the site, and what the control wants of it.
    m_pControl = new (std::nothrow) CActiveXCtrl(this);
    if (m_pControl == nullptr)
    {
        ReleaseControl();
        return false;
    }
    DWORD dwMiscStatus = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    ComPtr<IOleClientSite> pClientSite;
    m_pControl->QueryInterface(IID_PPV_ARGS(&pClientSite));
    // Steps 5 to 12: site, state, activation. A control that fails halfway
    // is released at once, in order, so that nothing of it lingers.
    if (!ActivateObject(pClientSite.Get(), dwMiscStatus))
    {
        pClientSite.Reset();
        ReleaseControl();
        return false;
    }
    return true;
}

bool CActiveXUI::ActivateObject(IOleClientSite* pClientSite, DWORD dwMiscStatus)
{
    const bool bSiteFirst = (dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (bSiteFirst)
        m_pUnk->SetClientSite(pClientSite);
    HRESULT hr = S_OK;
    ComPtr<IPersistStreamInit> pPersist;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_PPV_ARGS(&pPersist))))
        hr = pPersist->InitNew();
    if (FAILED(hr))
        return false;
    if (!bSiteFirst)
        m_pUnk->SetClientSite(pClientSite);
    // The best view object the control has: the extended one answers hit
    // tests for windowless routing.
    IViewObject* pView = nullptr;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IViewObjectEx, reinterpret_cast<LPVOID*>(&pView))))
        m_pControl->m_bViewObjectEx = true;
    else if (FAILED(m_pUnk->QueryInterface(IID_IViewObject2, reinterpret_cast<LPVOID*>(&pView))))
        m_pUnk->QueryInterface(IID_IViewObject, reinterpret_cast<LPVOID*>(&pView));
    m_pControl->m_pViewObject = pView;
    m_pUnk->SetHostNames(L"UIActiveX", nullptr);
    if (m_pManager != nullptr)
        m_pManager->SendNotify(this, L"showactivex", 0, 0, false);
    if ((dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0)
    {
        HWND hWndParent = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, pClientSite, 0, hWndParent, &m_rcItem);
    }
    // The notification's listeners may have released the control.
    if (m_pUnk == nullptr)
        return false;
    ComPtr<IObjectWithSite> pWithSite;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_PPV_ARGS(&pWithSite))))
        pWithSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
    return SUCCEEDED(hr);
}

IUnknown* CActiveXUI::CreateObject()
{
    IUnknown* pUnk = CreateFromModule();
    if (pUnk != nullptr)
        return pUnk;
    if (FAILED(::CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl,
                                  reinterpret_cast<LPVOID*>(&pUnk))))
        return nullptr;
    return pUnk;
}

// Without registration: the module's own class factory. A module that is
// missing or has no factory for the class leaves the registered class.
IUnknown* CActiveXUI::CreateFromModule()
{
    if (m_sModuleName.IsEmpty())
        return nullptr;
    HMODULE hModule = ::LoadLibraryW(m_sModuleName);
    if (hModule == nullptr)
        return nullptr;
    LPFNGETCLASSOBJECT pfnGetClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "DllGetClassObject")));
    IUnknown* pUnk = nullptr;
    ComPtr<IClassFactory> pFactory;
    if (pfnGetClassObject != nullptr &&
        SUCCEEDED(pfnGetClassObject(m_clsid, IID_IClassFactory,
                                    reinterpret_cast<LPVOID*>(pFactory.GetAddressOf()))))
        pFactory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<LPVOID*>(&pUnk));
    pFactory.Reset();
    if (pUnk == nullptr)
    {
        ::FreeLibrary(hModule);
        return nullptr;
    }
    m_hModule = hModule;
    return pUnk;
}

// The module is unloaded only when it says that none of its objects is
// left; otherwise it stays loaded for good rather than pull code from
// under an object that someone still holds.
void CActiveXUI::FreeModuleIfUnused()
{
    if (m_hModule == nullptr)
        return;
    typedef HRESULT(STDAPICALLTYPE * CanUnloadNowFn)();
    CanUnloadNowFn pfnCanUnloadNow = reinterpret_cast<CanUnloadNowFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "DllCanUnloadNow")));
    if (pfnCanUnloadNow != nullptr && pfnCanUnloadNow() == S_OK)
        ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
}

} // namespace Veneer
