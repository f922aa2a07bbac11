#include "tools/pagehost/MessageWindow.h"

#include "tools/pagehost/HostModule.h"

namespace PageHost
{

namespace
{

constexpr wchar_t kClassName[] = L"PageHostMessages";

} // namespace

bool CMessageWindow::Create(IMessageTarget* pTarget)
{
    if (m_hWnd != nullptr || !CHostModule::RegisterWindowClass(kClassName, 0, nullptr))
        return m_hWnd != nullptr;
    m_hWnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             CHostModule::Instance(), nullptr);
    if (m_hWnd == nullptr)
        return false;
    // The target is attached after creation: the class's procedure is the
    // default one until then, so no message arrives before it is known.
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pTarget));
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CMessageWindow::WndProc));
    return true;
}

void CMessageWindow::Destroy()
{
    if (m_hWnd == nullptr)
        return;
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

bool CMessageWindow::Post(UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    return m_hWnd != nullptr && PostMessageW(m_hWnd, uMsg, wParam, lParam) != FALSE;
}

void CMessageWindow::UnregisterClass()
{
    ::UnregisterClassW(kClassName, CHostModule::Instance());
}

LRESULT CALLBACK CMessageWindow::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    IMessageTarget* pTarget = reinterpret_cast<IMessageTarget*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pTarget != nullptr && uMsg >= WM_APP)
        return pTarget->OnMessage(uMsg, wParam, lParam);
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace PageHost
