#include "tools/pagehost/PageView.h"

#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/PageHostApi.h"

#include <windowsx.h>

namespace PageHost
{

bool CPageView::Create(HWND hParent, const RECT& rect)
{
    if (m_hWnd != nullptr ||
        !CHostModule::RegisterWindowClass(kViewClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW)))
        return m_hWnd != nullptr;
    m_hWnd = CreateWindowExW(0, kViewClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left,
                             rect.top, rect.right - rect.left, rect.bottom - rect.top, hParent, nullptr,
                             CHostModule::Instance(), nullptr);
    if (m_hWnd == nullptr)
        return false;
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPageView::WndProc));
    Refresh();
    return true;
}

void CPageView::Destroy()
{
    if (m_hWnd == nullptr)
        return;
    const HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    DestroyWindow(hWnd);
}

void CPageView::Move(const RECT& rect)
{
    if (m_hWnd != nullptr)
        MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void CPageView::Refresh()
{
    if (m_hWnd == nullptr)
        return;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_canvas.Arrange(client.right);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

CPageView* CPageView::FromWindow(HWND hWnd)
{
    DWORD process = 0;
    wchar_t className[64] = {};
    if (!IsWindow(hWnd) || GetWindowThreadProcessId(hWnd, &process) == 0 ||
        process != GetCurrentProcessId() || GetClassNameW(hWnd, className, 64) == 0 ||
        wcscmp(className, kViewClassName) != 0)
        return nullptr;
    return reinterpret_cast<CPageView*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

void CPageView::UnregisterClass()
{
    ::UnregisterClassW(kViewClassName, CHostModule::Instance());
}

LRESULT CALLBACK CPageView::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CPageView* pView = reinterpret_cast<CPageView*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pView == nullptr)
        return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return pView->HandleMessage(uMsg, wParam, lParam);
}

int CPageView::ActionAtMessage(LPARAM lParam) const
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return m_canvas.ActionAt(pt);
}

// A click or a menu request may make the container release the browser and
// with it this view: nothing here touches the view after telling the owner.
LRESULT CPageView::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const HWND hWnd = m_hWnd;
    switch (uMsg)
    {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Refresh();
        return 0;
    case WM_SETCURSOR: {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(hWnd, &pt);
        if (LOWORD(lParam) != HTCLIENT || m_canvas.ActionAt(pt) < 0)
            break;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        m_pressed = ActionAtMessage(lParam);
        SetCapture(hWnd);
        return 0;
    case WM_LBUTTONUP: {
        const int pressed = m_pressed;
        m_pressed = -1;
        if (GetCapture() == hWnd)
            ReleaseCapture();
        if (pressed >= 0 && ActionAtMessage(lParam) == pressed)
            m_pOwner->OnActionClicked(pressed);
        return 0;
    }
    case WM_CONTEXTMENU: {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        // From the keyboard the point is (-1, -1): use the window's corner.
        if (pt.x == -1 && pt.y == -1)
        {
            pt = POINT{0, 0};
            ClientToScreen(hWnd, &pt);
        }
        m_pOwner->OnContextMenu(pt);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void CPageView::OnPaint()
{
    PAINTSTRUCT ps{};
    const HDC hDC = BeginPaint(m_hWnd, &ps);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // Painted off screen first, so that the page never shows half drawn.
    Veneer::CScopedMemDC memory(hDC);
    Veneer::CScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(hDC, client.right, client.bottom));
    if (memory.Get() == nullptr || bitmap.Get() == nullptr)
        m_canvas.Paint(hDC, client);
    else
    {
        Veneer::CScopedSelect select(memory.Get(), bitmap.Get());
        m_canvas.Paint(memory.Get(), client);
        BitBlt(hDC, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(m_hWnd, &ps);
}

} // namespace PageHost
