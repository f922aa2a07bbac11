#include "TestWindow.h"

#include <string>

namespace Veneer
{

namespace
{

const wchar_t kClassName[] = L"VeneerTestWindow";

bool RegisterTestClass(WNDPROC pfnWndProc)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kClassName, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = pfnWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0;
}

} // namespace

CTestWindow::~CTestWindow()
{
    Destroy();
}

bool CTestWindow::Create(CPaintManagerUI* pManager, int cx, int cy, int x, int y, DWORD dwStyle,
                         DWORD dwExStyle)
{
    if (!RegisterTestClass(WndProc))
        return false;
    m_pManager = pManager;
    RECT rc{0, 0, cx, cy};
    ::AdjustWindowRectEx(&rc, dwStyle, FALSE, dwExStyle);
    m_hWnd = ::CreateWindowExW(dwExStyle, kClassName, L"test", dwStyle, x, y, rc.right - rc.left,
                               rc.bottom - rc.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    if (m_hWnd == nullptr)
        return false;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return true;
}

void CTestWindow::Destroy()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

HWND CTestWindow::GetHWND() const
{
    return m_hWnd;
}

LRESULT CALLBACK CTestWindow::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CTestWindow* pThis = reinterpret_cast<CTestWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCCREATE)
    {
        pThis = static_cast<CTestWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    }
    if (pThis == nullptr || pThis->m_pManager == nullptr)
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_CREATE)
        pThis->m_pManager->Init(hWnd);
    if (uMsg == WM_NCDESTROY)
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    LRESULT lRes = 0;
    if (pThis->m_pManager->MessageHandler(uMsg, wParam, lParam, lRes))
        return lRes;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void PumpPending()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (!CPaintManagerUI::TranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

CTestSurface::CTestSurface(int cx, int cy, DWORD dwFill)
{
    m_dib.Create(nullptr, cx, cy);
    Fill(dwFill);
}

HDC CTestSurface::GetDC() const
{
    return m_dib.GetDC();
}

DWORD CTestSurface::Pixel(int x, int y) const
{
    ::GdiFlush();
    if (m_dib.GetBits() == nullptr || x < 0 || y < 0 || x >= m_dib.GetWidth() || y >= m_dib.GetHeight())
        return 0xDEADBEEF;
    return m_dib.GetBits()[y * m_dib.GetWidth() + x];
}

DWORD CTestSurface::Rgb(int x, int y) const
{
    return Pixel(x, y) & 0x00FFFFFF;
}

void CTestSurface::Fill(DWORD dwColor)
{
    ::GdiFlush();
    for (size_t i = 0; m_dib.GetBits() != nullptr && i < m_dib.GetPixelCount(); i++)
        m_dib.GetBits()[i] = dwColor;
}

void CaptureClient(HWND hWnd, CTestSurface& surface)
{
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    HDC hWindowDC = ::GetDC(hWnd);
    ::BitBlt(surface.GetDC(), 0, 0, rc.right, rc.bottom, hWindowDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hWindowDC);
}

bool MovePointer(int x, int y)
{
    std::wstring sCommand =
        L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, &sCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hProcess != nullptr)
        ::CloseHandle(pi.hProcess);
    if (pi.hThread != nullptr)
        ::CloseHandle(pi.hThread);
    return PumpUntil([x, y] {
        POINT pt{};
        ::GetCursorPos(&pt);
        return pt.x == x && pt.y == y;
    });
}

} // namespace Veneer
