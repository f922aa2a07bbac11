#include "WindowFixture.h"

#include <windowsx.h>

namespace Veneer
{

void WindowFixture::SetUp()
{
    ASSERT_TRUE(m_window.Create(&m_pm, 200, 100, 40, 40));
    MakeRoot();
}

void WindowFixture::MakeRoot()
{
    m_pRoot = new CContainerUI();
    m_pRoot->SetName(L"root");
    // What a test removes is gone when Remove returns.
    m_pRoot->SetDelayedDestroy(false);
    m_pm.AddNotifier(&m_notes);
}

void WindowFixture::TearDown()
{
    // A root never attached is still ours to delete.
    if (m_pRoot != nullptr && m_pm.GetRoot() != m_pRoot)
        delete m_pRoot;
    ::ReleaseCapture();
    m_window.Destroy();
}

CProbeControl* WindowFixture::AddProbe(LPCWSTR pstrName, int x, int y, int cx, int cy, UINT uFlags)
{
    CProbeControl* pProbe = new CProbeControl(pstrName, &m_log, uFlags);
    pProbe->SetFloat(true);
    pProbe->SetFixedXY(SIZE{x, y});
    pProbe->SetFixedWidth(cx);
    pProbe->SetFixedHeight(cy);
    m_pRoot->Add(pProbe);
    return pProbe;
}

void WindowFixture::AttachAndPaint()
{
    ASSERT_TRUE(m_pm.AttachDialog(m_pRoot));
    ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); }));
}

LRESULT WindowFixture::Send(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(Hwnd(), uMsg, wParam, lParam);
}

HWND WindowFixture::Hwnd() const
{
    return m_window.GetHWND();
}

std::vector<std::wstring> WindowFixture::TakeEvents()
{
    std::vector<std::wstring> events;
    for (const ProbeEvent& entry : m_log)
        events.push_back(EventName(entry.type) + L":" + entry.control);
    m_log.clear();
    return events;
}

std::vector<std::wstring> WindowFixture::TakeNotifications()
{
    std::vector<std::wstring> entries = m_notes.m_entries;
    m_notes.m_entries.clear();
    m_notes.m_messages.clear();
    return entries;
}

LPARAM WindowFixture::Pos(int x, int y)
{
    return MAKELPARAM(x, y);
}

std::wstring WindowFixture::EventName(int type)
{
    switch (type)
    {
    case EventKeyDown:
        return L"keydown";
    case EventKeyUp:
        return L"keyup";
    case EventChar:
        return L"char";
    case EventSysKey:
        return L"syskey";
    case EventMouseMove:
        return L"move";
    case EventMouseLeave:
        return L"leave";
    case EventMouseEnter:
        return L"enter";
    case EventMouseHover:
        return L"hover";
    case EventButtonDown:
        return L"down";
    case EventButtonUp:
        return L"up";
    case EventRButtonDown:
        return L"rdown";
    case EventDblClick:
        return L"dblclick";
    case EventContextMenu:
        return L"contextmenu";
    case EventScrollWheel:
        return L"wheel";
    case EventKillFocus:
        return L"killfocus";
    case EventSetFocus:
        return L"setfocus";
    case EventWindowSize:
        return L"size";
    case EventSetCursor:
        return L"setcursor";
    case EventTimer:
        return L"timer";
    default:
        return L"event" + std::to_wstring(type);
    }
}

} // namespace Veneer
