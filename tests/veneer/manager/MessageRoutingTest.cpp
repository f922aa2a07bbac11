#include "WindowFixture.h"

#include <commctrl.h>

using namespace Veneer;

namespace
{

typedef std::vector<std::wstring> Trace;

class MessageRouting : public WindowFixture
{
  protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_pA = AddProbe(L"A", 10, 10, 40, 40);
        m_pB = AddProbe(L"B", 60, 10, 40, 40);
        AttachAndPaint();
        TakeEvents();
        TakeNotifications();
    }

    LPARAM ScreenPos(int x, int y)
    {
        POINT pt{x, y};
        ::ClientToScreen(Hwnd(), &pt);
        return MAKELPARAM(pt.x, pt.y);
    }

    CProbeControl* m_pA = nullptr;
    CProbeControl* m_pB = nullptr;
};

// A child window that answers reflected messages with their number.
LRESULT CALLBACK ReflectingProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg >= 0x2000 && uMsg < 0x3000)
        return uMsg;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND CreateReflectingChild(HWND hParent)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReflectingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VeneerReflectingChild";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 5, 5, hParent, nullptr, wc.hInstance,
                             nullptr);
}

} // namespace

TEST_F(MessageRouting, MovingFromAToBLeavesAEntersBAndMovesOnB)
{
    Send(WM_MOUSEMOVE, 0, Pos(20, 20));
    EXPECT_EQ(TakeEvents(), (Trace{L"enter:A", L"move:A"}));
    Send(WM_MOUSEMOVE, 0, Pos(70, 20));
    EXPECT_EQ(TakeEvents(), (Trace{L"leave:A", L"enter:B", L"move:B"}));
    Send(WM_MOUSEMOVE, 0, Pos(71, 21));
    EXPECT_EQ(TakeEvents(), (Trace{L"move:B"}));
    EXPECT_EQ(m_log.size(), 0u);
    EXPECT_EQ(m_pm.GetMousePos().x, 71);
    // The root itself is under (5, 5): B is left.
    Send(WM_MOUSEMOVE, 0, Pos(5, 5));
    EXPECT_EQ(TakeEvents(), (Trace{L"leave:B"}));
}

TEST_F(MessageRouting, HeldButtonKeepsTheMovesOnTheClickedControl)
{
    Send(WM_MOUSEMOVE, 0, Pos(20, 20));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(20, 20));
    EXPECT_TRUE(m_pm.IsCaptured());
    EXPECT_EQ(::GetCapture(), Hwnd());
    EXPECT_EQ(m_pm.GetFocus(), m_pA);
    Send(WM_MOUSEMOVE, MK_LBUTTON, Pos(70, 20));
    Send(WM_LBUTTONUP, 0, Pos(70, 20));
    EXPECT_FALSE(m_pm.IsCaptured());
    EXPECT_EQ(TakeEvents(), (Trace{L"enter:A", L"move:A", L"setfocus:A", L"down:A", L"leave:A", L"enter:B",
                                   L"move:A", L"up:A"}));
    EXPECT_EQ(TakeNotifications(), (Trace{L"setfocus:A"}));
}

TEST_F(MessageRouting, ButtonEventsCarryTheMessage)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, Pos(20, 21));
    ASSERT_EQ(m_log.size(), 2u);
    const TEventUI& down = m_log[1].event;
    EXPECT_EQ(down.Type, EventButtonDown);
    EXPECT_EQ(down.pSender, m_pA);
    EXPECT_EQ(down.ptMouse.x, 20);
    EXPECT_EQ(down.ptMouse.y, 21);
    EXPECT_EQ(down.wKeyState, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(down.wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(down.lParam, Pos(20, 21));
    EXPECT_NE(down.dwTimestamp, 0u);
    Send(WM_LBUTTONUP, 0, Pos(20, 21));
    m_log.clear();

    // A double click carries no message parameters and takes the capture.
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Pos(70, 20));
    ASSERT_EQ(TakeEvents(), (Trace{L"dblclick:B"}));
    EXPECT_TRUE(m_pm.IsCaptured());
    Send(WM_LBUTTONUP, 0, Pos(70, 20));
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].type, EventButtonUp);
    EXPECT_EQ(m_log[0].control, L"B");
}

TEST_F(MessageRouting, RightButtonAndContextMenu)
{
    m_pB->SetContextMenuUsed(true);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, Pos(70, 20));
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Hwnd()), ScreenPos(71, 22));
    EXPECT_FALSE(m_pm.IsCaptured());
    ASSERT_EQ(m_log.size(), 3u);
    EXPECT_EQ(m_log[2].event.lParam, reinterpret_cast<LPARAM>(m_pB));
    EXPECT_EQ(m_log[2].event.ptMouse.x, 71);
    EXPECT_EQ(TakeEvents(), (Trace{L"setfocus:B", L"rdown:B", L"contextmenu:B"}));
    EXPECT_EQ(TakeNotifications(), (Trace{L"setfocus:B", L"menu:B"}));
    // The menu ends the click: another context menu finds no control.
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Hwnd()), ScreenPos(71, 22));
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(MessageRouting, WheelPassesOnlyTheDirectionAndHoverFollows)
{
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), ScreenPos(20, 20));
    ASSERT_GE(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].event.wParam, 1u);
    EXPECT_EQ(m_log[0].event.lParam, ScreenPos(20, 20));
    EXPECT_EQ(TakeEvents(), (Trace{L"wheel:A", L"enter:A", L"move:A"}));
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ScreenPos(20, 20));
    ASSERT_GE(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].event.wParam, 0u);
    EXPECT_EQ(TakeEvents(), (Trace{L"wheel:A", L"move:A"}));
}

TEST_F(MessageRouting, KeysGoToTheFocusAndKeyUpToTheKeyDownControl)
{
    m_pm.SetFocus(m_pA);
    Send(WM_KEYDOWN, 'X', 0);
    m_pm.SetFocus(m_pB);
    Send(WM_CHAR, 'x', 0);
    Send(WM_KEYUP, 'X', 0);
    Send(WM_KEYUP, 'X', 0);
    EXPECT_EQ(TakeEvents(),
              (Trace{L"setfocus:A", L"keydown:A", L"killfocus:A", L"setfocus:B", L"char:B", L"keyup:A"}));
    // Without focus, keys go nowhere.
    m_pm.SetFocus(nullptr);
    m_log.clear();
    Send(WM_KEYDOWN, 'Y', 0);
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(MessageRouting, ForeignControlStopsTheMouseMessage)
{
    CPaintManagerUI other;
    CProbeControl* pForeign = AddProbe(L"F", 120, 10, 40, 40);
    ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); }));
    pForeign->SetManager(&other, m_pRoot, false);
    Send(WM_MOUSEMOVE, 0, Pos(20, 20));
    TakeEvents();
    Send(WM_MOUSEMOVE, 0, Pos(130, 20));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(130, 20));
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_FALSE(m_pm.IsCaptured());
    EXPECT_EQ(m_pm.GetFocus(), nullptr);
    // The hover stayed on A.
    Send(WM_MOUSEMOVE, 0, Pos(21, 20));
    EXPECT_EQ(TakeEvents(), (Trace{L"move:A"}));
    // The other manager goes first; its control must not outlive it.
    m_pRoot->Remove(pForeign);
}

TEST_F(MessageRouting, CloseReleasesTheMouseAndTheFocus)
{
    Send(WM_MOUSEMOVE, 0, Pos(20, 20));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(20, 20));
    Send(WM_MOUSEMOVE, MK_LBUTTON, Pos(70, 20));
    TakeEvents();
    LRESULT lRes = 0;
    EXPECT_FALSE(m_pm.MessageHandler(WM_CLOSE, 0, 0, lRes));
    EXPECT_EQ(TakeEvents(), (Trace{L"leave:B", L"up:A", L"killfocus:A"}));
    EXPECT_EQ(m_pm.GetFocus(), nullptr);
    EXPECT_FALSE(m_pm.IsCaptured());
    EXPECT_NE(::GetCapture(), Hwnd());
    // The window survived its close: the release and the next move find the
    // controls afresh, and nothing reaches A again.
    Send(WM_LBUTTONUP, 0, Pos(70, 20));
    Send(WM_MOUSEMOVE, 0, Pos(71, 20));
    EXPECT_EQ(TakeEvents(), (Trace{L"enter:B", L"move:B"}));
}

TEST_F(MessageRouting, HoverShowsTheToolTipOnTwoLines)
{
    m_pA->SetAttribute(L"tooltip", L"first<n>second");
    Send(WM_MOUSEMOVE, 0, Pos(20, 20));
    TakeEvents();
    EXPECT_EQ(m_pm.GetTooltipWindow(), nullptr);
    LRESULT lRes = 0;
    EXPECT_TRUE(m_pm.MessageHandler(WM_MOUSEHOVER, 0, Pos(20, 20), lRes));
    EXPECT_EQ(TakeEvents(), (Trace{L"hover:A"}));
    HWND hTip = m_pm.GetTooltipWindow();
    ASSERT_NE(hTip, nullptr);

    wchar_t szText[64] = {};
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = Hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(Hwnd());
    ti.lpszText = szText;
    ::SendMessageW(hTip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(szText, L"first\r\nsecond");

    // Without a tooltip text the hover is still handled; outside every
    // control it is not.
    EXPECT_TRUE(m_pm.MessageHandler(WM_MOUSEHOVER, 0, Pos(70, 20), lRes));
    EXPECT_FALSE(m_pm.MessageHandler(WM_MOUSEHOVER, 0, Pos(-5, -5), lRes));
}

TEST_F(MessageRouting, MouseLeaveOfTheWindowLeavesTheHoverControl)
{
    Send(WM_MOUSEMOVE, 0, Pos(20, 20));
    TakeEvents();
    Send(WM_MOUSELEAVE);
    EXPECT_EQ(TakeEvents(), (Trace{L"leave:A"}));
    EXPECT_EQ(m_pm.GetMousePos().x, -1);
    // Tracking is off now: another leave sends no synthetic move.
    Send(WM_MOUSELEAVE);
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(MessageRouting, ControlDeletedByAnotherHandlerGetsNoMoreEvents)
{
    Send(WM_MOUSEMOVE, 0, Pos(20, 20));
    TakeEvents();
    // Leaving A deletes B, the control that the mouse is entering.
    static CContainerUI* s_pRoot = nullptr;
    static CControlUI* s_pVictim = nullptr;
    s_pRoot = m_pRoot;
    s_pVictim = m_pB;
    m_pA->eventSource += [](void* pParam) {
        if (static_cast<TEventUI*>(pParam)->Type == EventMouseLeave && s_pVictim != nullptr)
        {
            s_pRoot->Remove(s_pVictim);
            s_pVictim = nullptr;
        }
        return true;
    };
    Send(WM_MOUSEMOVE, 0, Pos(70, 20));
    EXPECT_EQ(TakeEvents(), (Trace{L"leave:A"}));
    EXPECT_EQ(m_pRoot->GetCount(), 1);
}

TEST_F(MessageRouting, ControlDeletedByItsOwnFocusHandlerIsNotClicked)
{
    static CContainerUI* s_pRoot = nullptr;
    s_pRoot = m_pRoot;
    m_pA->eventSource += [](void* pParam) {
        TEventUI* pEvent = static_cast<TEventUI*>(pParam);
        if (pEvent->Type == EventSetFocus)
            s_pRoot->Remove(pEvent->pSender);
        return true;
    };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(20, 20));
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(m_pm.GetFocus(), nullptr);
    EXPECT_FALSE(m_pm.IsCaptured());
    Send(WM_LBUTTONUP, 0, Pos(20, 20));
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(MessageRouting, SizeTellsTheFocusAndLaysOutAgain)
{
    m_pm.SetFocus(m_pA);
    m_log.clear();
    const int nSetPos = m_pA->m_nSetPos;
    // (Resizing the now active window would make Wine treat it as managed,
    // and destroying it would then wait for a window manager.)
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
    EXPECT_EQ(TakeEvents(), (Trace{L"size:A"}));
    EXPECT_TRUE(m_pRoot->IsUpdateNeeded());
    ASSERT_TRUE(PumpUntil([this] { return !m_pRoot->IsUpdateNeeded(); }));
    EXPECT_GT(m_pA->m_nSetPos, nSetPos);
}

TEST_F(MessageRouting, SmallWindowMessages)
{
    LRESULT lRes = 0;
    EXPECT_TRUE(m_pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_EQ(lRes, 1);
    EXPECT_FALSE(m_pm.MessageHandler(WM_COMMAND, 1, 0, lRes));
    EXPECT_FALSE(m_pm.MessageHandler(WM_CTLCOLOREDIT, 0, 0, lRes));

    // Native children get their messages back, reflected.
    HWND hChild = CreateReflectingChild(Hwnd());
    ASSERT_NE(hChild, nullptr);
    EXPECT_TRUE(m_pm.MessageHandler(WM_COMMAND, 1, reinterpret_cast<LPARAM>(hChild), lRes));
    EXPECT_EQ(lRes, 0x2111);
    EXPECT_TRUE(m_pm.MessageHandler(WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(hChild), lRes));
    EXPECT_EQ(lRes, 0x2000 + WM_CTLCOLORSTATIC);
    NMHDR header{};
    header.hwndFrom = hChild;
    EXPECT_TRUE(m_pm.MessageHandler(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header), lRes));
    EXPECT_EQ(lRes, 0x204E);
    ::DestroyWindow(hChild);

    // Only positive limits replace the window's own.
    m_pm.SetMinInfo(300, 0);
    m_pm.SetMaxInfo(0, 700);
    MINMAXINFO info{};
    info.ptMinTrackSize.y = 11;
    info.ptMaxTrackSize.x = 22;
    EXPECT_FALSE(m_pm.MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), lRes));
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    EXPECT_EQ(info.ptMinTrackSize.y, 11);
    EXPECT_EQ(info.ptMaxTrackSize.x, 22);
    EXPECT_EQ(info.ptMaxTrackSize.y, 700);

    // Outside the client area the cursor is not the controls' business.
    EXPECT_FALSE(m_pm.MessageHandler(WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, 0), lRes));
    m_pm.SetCapture();
    EXPECT_TRUE(m_pm.MessageHandler(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, 0), lRes));
    m_pm.ReleaseCapture();
}

TEST(MessageRoutingWithoutWindow, EveryMessageIsDeclined)
{
    CPaintManagerUI pm;
    LRESULT lRes = 0;
    EXPECT_FALSE(pm.MessageHandler(WM_PAINT, 0, 0, lRes));
    EXPECT_FALSE(pm.MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_FALSE(pm.MessageHandler(WM_SIZE, 0, 0, lRes));
}

TEST_F(MessageRouting, TransparencyMakesTheWindowLayered)
{
    m_pm.SetTransparent(128);
    EXPECT_EQ(m_pm.GetTransparent(), 128);
    EXPECT_NE(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    BYTE bAlpha = 0;
    DWORD dwFlags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(Hwnd(), nullptr, &bAlpha, &dwFlags));
    EXPECT_EQ(bAlpha, 128);
    m_pm.SetTransparent(300);
    EXPECT_EQ(m_pm.GetTransparent(), 255);
    EXPECT_EQ(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(MessageRouting, MessageLoopPreTranslatesUntilQuit)
{
    m_pB->SetShortcut(L'B');
    ::PostMessageW(Hwnd(), WM_SYSCHAR, L'b', 0);
    ::PostMessageW(Hwnd(), WM_KEYDOWN, 'K', 0);
    ::PostQuitMessage(0);
    CPaintManagerUI::MessageLoop();
    // The Alt shortcut was taken before dispatch; the key went through the
    // system's translation, which added its character.
    EXPECT_EQ(m_pm.GetFocus(), m_pB);
    EXPECT_EQ(m_pB->m_nActivate, 1);
    EXPECT_EQ(TakeEvents(), (Trace{L"setfocus:B", L"keydown:B", L"char:B"}));
}
