#include "veneer/window/WindowWnd.h"

#include "veneer/manager/PaintManagerUI.h"

namespace Veneer
{

namespace
{

// The window property that holds the object of a superclassed window.
const wchar_t kObjectProperty[] = L"WndX";

const UINT kCenterFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

bool RegisteredOrPresent(ATOM atom)
{
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The work area of the monitor nearest to the window.
RECT NearestWorkArea(HWND hWnd)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// An icon of the program at the large icon size rounded up to 16 pixels.
HICON LoadRoundedIcon(UINT nRes)
{
    const int cx = (::GetSystemMetrics(SM_CXICON) + 15) & ~15;
    const int cy = (::GetSystemMetrics(SM_CYICON) + 15) & ~15;
    return static_cast<HICON>(::LoadImageW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCEW(nRes), IMAGE_ICON,
                                           cx, cy, LR_DEFAULTCOLOR));
}

} // namespace

// Where a window procedure keeps the object of its window: the user data
// slot for windows of our own classes, a window property for superclassed
// ones, whose class may use the user data itself.
struct CWindowWnd::TUserDataSlot
{
    static void Store(HWND hWnd, CWindowWnd* pThis)
    {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    }
    static CWindowWnd* Load(HWND hWnd)
    {
        return reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    }
    static void Forget(HWND hWnd) { ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0); }
};

struct CWindowWnd::TPropertySlot
{
    static void Store(HWND hWnd, CWindowWnd* pThis)
    {
        ::SetPropW(hWnd, kObjectProperty, static_cast<HANDLE>(pThis));
    }
    static CWindowWnd* Load(HWND hWnd) { return static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty)); }
    // Removed, not set to null: a property left on the window would outlive
    // it in the window manager's tables.
    static void Forget(HWND hWnd) { ::RemovePropW(hWnd, kObjectProperty); }
};

CWindowWnd::CWindowWnd() : m_hWnd(nullptr), m_OldWndProc(::DefWindowProcW), m_bSubclassed(false) {}

HWND CWindowWnd::GetHWND() const
{
    return m_hWnd;
}

CWindowWnd::operator HWND() const
{
    return m_hWnd;
}

LPCWSTR CWindowWnd::GetSuperClassName() const
{
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW wc{};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = CWindowWnd::__WndProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWindowClass();
    return RegisteredOrPresent(::RegisterClassW(&wc));
}

bool CWindowWnd::RegisterSuperclass()
{
    // A system class first, then one that this program registered.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
        !::GetClassInfoExW(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc))
        return false;
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = CWindowWnd::__ControlProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.lpszClassName = GetWindowClass();
    return RegisteredOrPresent(::RegisterClassExW(&wc));
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT rc,
                        HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y,
                        int cx, int cy, HMENU hMenu)
{
    const bool bRegistered = GetSuperClassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!bRegistered)
        return nullptr;
    m_hWnd = ::CreateWindowExW(dwExStyle, GetWindowClass(), pstrName, dwStyle, x, y, cx, cy, hwndParent,
                               hMenu, CPaintManagerUI::GetInstance(), this);
    return m_hWnd;
}

HWND CWindowWnd::CreateUiWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle, DWORD dwExStyle)
{
    return Create(hwndParent, pstrWindowName, dwStyle, dwExStyle, 0, 0, 0, 0, nullptr);
}

HWND CWindowWnd::Subclass(HWND hWnd)
{
    const WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CWindowWnd::__WndProc)));
    if (pfnOld == nullptr)
        return nullptr;
    m_OldWndProc = pfnOld;
    m_bSubclassed = true;
    m_hWnd = hWnd;
    TUserDataSlot::Store(hWnd, this);
    return m_hWnd;
}

void CWindowWnd::Unsubclass()
{
    if (!::IsWindow(m_hWnd) || !m_bSubclassed)
        return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus)
{
    if (!::IsWindow(m_hWnd))
        return;
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal()
{
    // The loop watches the handle, not this object: a window whose final
    // message deletes its object ends the loop without it being read again.
    const HWND hWnd = m_hWnd;
    const HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    ::EnableWindow(hWndOwner, FALSE);
    UINT nRet = 0;
    MSG msg{};
    // GetMessageW answers -1 on failure: that ends the loop like WM_QUIT.
    while (::IsWindow(hWnd) && ::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (msg.message == WM_CLOSE && msg.hwnd == hWnd)
        {
            nRet = static_cast<UINT>(msg.wParam);
            ::EnableWindow(hWndOwner, TRUE);
            ::SetFocus(hWndOwner);
        }
        if (!CPaintManagerUI::TranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ::EnableWindow(hWndOwner, TRUE);
    ::SetFocus(hWndOwner);
    // The quit message was taken out of the queue here; the caller's loop
    // must see it as well.
    if (msg.message == WM_QUIT)
        ::PostQuitMessage(static_cast<int>(msg.wParam));
    return nRet;
}

void CWindowWnd::Close(UINT nRet)
{
    if (::IsWindow(m_hWnd))
        ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
}

void CWindowWnd::CenterWindow()
{
    RECT rcDlg{};
    ::GetWindowRect(m_hWnd, &rcDlg);
    const HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    const RECT rcWork = NearestWorkArea(hWndOwner != nullptr ? hWndOwner : m_hWnd);
    RECT rcCenter = rcWork;
    if (hWndOwner != nullptr)
        ::GetWindowRect(hWndOwner, &rcCenter);

    const int cxDlg = rcDlg.right - rcDlg.left;
    const int cyDlg = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cxDlg / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cyDlg / 2;
    // Inside the work area; a window larger than it keeps its left and top
    // edges visible.
    if (x < rcWork.left)
        x = rcWork.left;
    else if (x + cxDlg > rcWork.right)
        x = rcWork.right - cxDlg;
    if (y < rcWork.top)
        y = rcWork.top;
    else if (y + cyDlg > rcWork.bottom)
        y = rcWork.bottom - cyDlg;
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, kCenterFlags);
}

void CWindowWnd::SetIcon(UINT nRes)
{
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadRoundedIcon(nRes)));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadRoundedIcon(nRes)));
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    RECT rc{};
    if (!::GetClientRect(m_hWnd, &rc))
        return;
    if (cx != -1)
        rc.right = cx;
    if (cy != -1)
        rc.bottom = cy;
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    const BOOL bMenu = !(dwStyle & WS_CHILD) && ::GetMenu(m_hWnd) != nullptr;
    if (!::AdjustWindowRectEx(&rc, dwStyle, bMenu, dwExStyle))
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/) {}

template <class TSlot> LRESULT CWindowWnd::RouteMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE)
    {
        // The object came as the creation parameter.
        pThis = static_cast<CWindowWnd*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        pThis->m_hWnd = hWnd;
        TSlot::Store(hWnd, pThis);
    }
    else
    {
        pThis = TSlot::Load(hWnd);
        if (uMsg == WM_NCDESTROY && pThis != nullptr)
        {
            // The last message: the previous procedure sees it, then the
            // object lets go of the window and may be deleted.
            const LRESULT lRes = ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
            TSlot::Forget(hWnd);
            if (pThis->m_bSubclassed)
                pThis->Unsubclass();
            pThis->m_hWnd = nullptr;
            pThis->OnFinalMessage(hWnd);
            return lRes;
        }
    }
    if (pThis != nullptr)
        return pThis->HandleMessage(uMsg, wParam, lParam);
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::__WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return RouteMessage<TUserDataSlot>(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::__ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return RouteMessage<TPropertySlot>(hWnd, uMsg, wParam, lParam);
}

} // namespace Veneer
