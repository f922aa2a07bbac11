#include "veneer/control/ControlUI.h"

#include "veneer/control/ContainerUI.h"

#include "ImportHook.h"
#include "ProbeControl.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Veneer;

namespace
{

RECT Rect(int l, int t, int r, int b)
{
    RECT rc{l, t, r, b};
    return rc;
}

int g_nCalls = 0;

bool CountCall(void*)
{
    g_nCalls++;
    return true;
}

// The toolkit's calls to InvalidateRect while a hook counts them, and how
// many of them had nothing to repaint.
struct InvalidateCount
{
    int nCalls = 0;
    int nEmpty = 0;
};

InvalidateCount g_invalidates;
void* g_pfnInvalidateRect = nullptr;

BOOL WINAPI CountInvalidateRect(HWND hWnd, const RECT* prc, BOOL bErase)
{
    g_invalidates.nCalls++;
    if (prc != nullptr && ::IsRectEmpty(prc))
        g_invalidates.nEmpty++;
    return reinterpret_cast<decltype(&::InvalidateRect)>(g_pfnInvalidateRect)(hWnd, prc, bErase);
}

// A window whose manager owns a container with one child, laid out and
// painted, with its update region emptied.
class ControlInWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.Create(&m_pm, 200, 100));
        m_pRoot = new CContainerUI();
        m_pChild = new CProbeControl(L"child", &m_log);
        m_pChild->SetFloat(true);
        m_pChild->SetFixedXY(SIZE{20, 10});
        m_pChild->SetFixedWidth(50);
        m_pChild->SetFixedHeight(30);
        m_pRoot->Add(m_pChild);
        m_pm.AttachDialog(m_pRoot);
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE); }));
        m_log.clear();
    }

    RECT UpdateRect()
    {
        RECT rc{};
        ::GetUpdateRect(m_window.GetHWND(), &rc, FALSE);
        return rc;
    }

    void Validate() { ::ValidateRect(m_window.GetHWND(), nullptr); }

    std::vector<ProbeEvent> m_log;
    CPaintManagerUI m_pm;
    CTestWindow m_window;
    CContainerUI* m_pRoot = nullptr;
    CProbeControl* m_pChild = nullptr;
};

} // namespace

TEST(Control, DefaultsAndIdentity)
{
    CControlUI control;
    EXPECT_STREQ(control.GetClass(), L"ControlUI");
    EXPECT_EQ(control.GetInterface(L"Control"), &control);
    EXPECT_EQ(control.GetInterface(L"Button"), nullptr);
    EXPECT_EQ(control.GetControlFlags(), 0u);
    EXPECT_TRUE(control.IsUpdateNeeded());
    EXPECT_EQ(control.GetMaxWidth(), 9999);
    EXPECT_EQ(control.GetMaxHeight(), 9999);
    EXPECT_EQ(control.GetToolTipWidth(), 300);
    EXPECT_TRUE(control.Activate());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Activate());
    SIZE available{500, 500};
    control.SetFixedWidth(12);
    EXPECT_EQ(control.EstimateSize(available).cx, 12);
}

TEST(Control, SetPosCollapsesAnInvertedRectangle)
{
    CPaintManagerUI pm;
    CControlUI control;
    control.SetManager(&pm, nullptr, false);
    control.SetPos(Rect(50, 60, 40, 30));
    EXPECT_EQ(control.GetPos().right, 50);
    EXPECT_EQ(control.GetPos().bottom, 60);
    EXPECT_FALSE(control.IsUpdateNeeded());
    EXPECT_EQ(control.GetWidth(), 0);
}

TEST(Control, SetPosWithoutManagerOnlyStores)
{
    CControlUI control;
    g_nCalls = 0;
    control.sizeSource += CountCall;
    control.SetPos(Rect(1, 2, 3, 4));
    EXPECT_EQ(control.GetPos().left, 1);
    EXPECT_EQ(g_nCalls, 0);
    EXPECT_TRUE(control.IsUpdateNeeded());
}

TEST(Control, FloatControlKeepsItsOffsetFromTheAnchoredEdge)
{
    CPaintManagerUI pm;
    CContainerUI parent;
    parent.SetManager(&pm, nullptr, false);
    parent.SetPos(Rect(100, 100, 300, 200));
    CControlUI* pChild = new CControlUI();
    parent.Add(pChild);
    pChild->SetFloat(true);
    pChild->SetFixedXY(SIZE{-10, 5});
    pChild->SetManager(&pm, &parent, false);
    pChild->SetPos(Rect(240, 110, 290, 140));
    EXPECT_EQ(pChild->GetFixedXY().cx, -10); // right edge: 290 - 300
    EXPECT_EQ(pChild->GetFixedXY().cy, 10);  // top edge: 110 - 100
    EXPECT_EQ(pChild->GetFixedWidth(), 50);
    EXPECT_EQ(pChild->GetFixedHeight(), 30);
}

TEST(Control, EventObserversCanSuppressDoEvent)
{
    std::vector<ProbeEvent> log;
    CProbeControl control(L"c", &log);
    control.eventSource += [](void*) { return false; };
    TEventUI event{};
    event.Type = EventMouseMove;
    control.Event(event);
    EXPECT_TRUE(log.empty());

    CProbeControl open(L"o", &log);
    open.eventSource += [](void*) { return true; };
    open.Event(event);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].type, EventMouseMove);
}

TEST(Control, AnObserverMayDeleteItsControl)
{
    CControlUI* pControl = new CControlUI();
    pControl->eventSource += [](void* pEvent) {
        delete static_cast<TEventUI*>(pEvent)->pSender;
        return true;
    };
    TEventUI event{};
    event.Type = EventSetFocus;
    event.pSender = pControl;
    pControl->Event(event); // DoEvent must not run on the deleted control
    SUCCEED();
}

TEST(Control, UnhandledEventsClimbToTheRootAndStop)
{
    std::vector<ProbeEvent> log;
    CContainerUI root;
    CProbeControl* pMiddle = new CProbeControl(L"middle", &log);
    root.Add(pMiddle);
    CProbeControl leaf(L"leaf", &log);
    leaf.SetManager(nullptr, pMiddle, false);
    TEventUI event{};
    event.Type = EventButtonDown;
    leaf.Event(event);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].control, L"leaf");
    EXPECT_EQ(log[1].control, L"middle");
}

TEST(Control, FocusEventsAndTimerAndMenuNotifications)
{
    CPaintManagerUI pm;
    CNotifyLog notifications;
    pm.AddNotifier(&notifications);
    CControlUI control;
    control.SetName(L"c");
    control.SetManager(&pm, nullptr, false);

    TEventUI event{};
    event.Type = EventSetFocus;
    control.Event(event);
    EXPECT_TRUE(control.IsFocused());
    event.Type = EventKillFocus;
    control.Event(event);
    EXPECT_FALSE(control.IsFocused());

    event.Type = EventTimer;
    event.wParam = 7;
    control.Event(event);
    event.Type = EventContextMenu;
    control.Event(event); // menu not used: dropped at the root
    control.SetContextMenuUsed(true);
    control.Event(event);
    ASSERT_EQ(notifications.m_entries.size(), 2u);
    EXPECT_EQ(notifications.m_entries[0], L"timer:c");
    EXPECT_EQ(notifications.m_messages[0].wParam, 7u);
    EXPECT_EQ(notifications.m_entries[1], L"menu:c");
}

TEST(Control, FindControlHonoursTheFlags)
{
    CControlUI control;
    control.SetPos(Rect(0, 0, 10, 10));
    auto self = [](CControlUI* p, LPVOID) { return p; };
    POINT inside{5, 5};
    POINT outside{15, 5};
    EXPECT_EQ(control.FindControl(self, &inside, FindHitTest), &control);
    EXPECT_EQ(control.FindControl(self, &outside, FindHitTest), nullptr);
    control.SetMouseEnabled(false);
    EXPECT_EQ(control.FindControl(self, &inside, FindHitTest), nullptr);
    EXPECT_EQ(control.FindControl(self, &inside, FindAll), &control);
    control.SetEnabled(false);
    EXPECT_EQ(control.FindControl(self, nullptr, FindEnabled), nullptr);
    control.SetVisible(false);
    EXPECT_EQ(control.FindControl(self, nullptr, FindVisible), nullptr);
    EXPECT_EQ(control.FindControl(self, nullptr, FindAll), &control);
}

TEST(Control, VirtualWindowNameIsInherited)
{
    CPaintManagerUI pm;
    CContainerUI root;
    root.SetManager(&pm, nullptr, false);
    CControlUI* pChild = new CControlUI();
    root.Add(pChild);
    EXPECT_STREQ(pChild->GetVirtualWnd(), L"");
    root.SetVirtualWnd(L"page");
    EXPECT_STREQ(pChild->GetVirtualWnd(), L"page");
    pChild->SetVirtualWnd(L"own");
    EXPECT_STREQ(pChild->GetVirtualWnd(), L"own");
}

TEST(Control, DestructionTellsObserversAndTheManager)
{
    CPaintManagerUI pm;
    g_nCalls = 0;
    CControlUI* pControl = new CControlUI();
    pControl->SetName(L"gone");
    pControl->destroySource += CountCall;
    CContainerUI root;
    root.SetDelayedDestroy(false);
    root.SetManager(&pm, nullptr, false);
    root.Add(pControl);
    pm.InitControls(&root);
    ASSERT_EQ(pm.FindControl(L"gone"), pControl);
    pm.SetFocus(pControl);
    ASSERT_EQ(pm.GetFocus(), pControl);
    root.Remove(pControl);
    EXPECT_EQ(g_nCalls, 1);
    EXPECT_EQ(pm.FindControl(L"gone"), nullptr);
    EXPECT_EQ(pm.GetFocus(), nullptr);
}

TEST(Control, HidingTheFocusedControlClearsTheFocus)
{
    CPaintManagerUI pm;
    CControlUI control;
    control.SetManager(&pm, nullptr, false);
    pm.SetFocus(&control);
    ASSERT_EQ(pm.GetFocus(), &control);
    EXPECT_TRUE(control.IsFocused());
    control.SetVisible(false);
    EXPECT_EQ(pm.GetFocus(), nullptr);
    EXPECT_FALSE(control.IsFocused());

    control.SetVisible(true);
    pm.SetFocus(&control);
    control.SetInternVisible(false);
    EXPECT_EQ(pm.GetFocus(), nullptr);
    EXPECT_FALSE(control.IsVisible());
}

TEST_F(ControlInWindow, InvalidateIsClippedByTheAncestors)
{
    Validate();
    m_pChild->SetBkColor(0xFF00FF00);
    RECT rc = UpdateRect();
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.top, 10);
    EXPECT_EQ(rc.right, 70);
    EXPECT_EQ(rc.bottom, 40);

    // The same value again changes nothing and repaints nothing.
    Validate();
    m_pChild->SetBkColor(0xFF00FF00);
    EXPECT_FALSE(::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE));

    // A control outside its parent's rectangle invalidates nothing.
    m_pChild->SetPos(Rect(500, 500, 520, 520));
    Validate();
    m_pChild->Invalidate();
    EXPECT_FALSE(::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE));

    // Nor does an invisible one.
    m_pChild->SetPos(Rect(0, 0, 10, 10));
    m_pChild->SetVisible(false);
    Validate();
    m_pChild->Invalidate();
    EXPECT_FALSE(::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE));
}

// A skin sets dozens of attributes on each control before anything is laid
// out; none of them may cost a trip to the window server.
TEST_F(ControlInWindow, ControlsNotLaidOutYetDoNotInvalidateTheWindow)
{
    CImportHook hook(L"user32.dll", "InvalidateRect", reinterpret_cast<void*>(&CountInvalidateRect));
    ASSERT_TRUE(hook.IsInstalled());
    g_pfnInvalidateRect = hook.GetOriginal();
    g_invalidates = InvalidateCount();

    // As the builder makes them: in the manager, with no parent yet; then
    // added to a laid-out container, not yet laid out themselves.
    std::unique_ptr<CControlUI> orphan(new CControlUI());
    orphan->SetManager(&m_pm, nullptr, false);
    CControlUI* pAdded = new CControlUI();
    m_pRoot->Add(pAdded);
    for (CControlUI* pControl : {orphan.get(), pAdded})
    {
        pControl->SetAttribute(L"bkcolor", L"#FF102030");
        pControl->SetAttribute(L"bordercolor", L"#FF405060");
        pControl->SetAttribute(L"text", L"label");
        pControl->SetAttribute(L"enabled", L"false");
        pControl->SetAttribute(L"width", L"40");
    }
    RECT rcEmpty = Rect(30, 30, 30, 60);
    m_pm.Invalidate(rcEmpty);
    EXPECT_EQ(g_invalidates.nEmpty, 0);

    // Once laid out, a change does reach the window, through the hook.
    ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE); }));
    g_invalidates = InvalidateCount();
    pAdded->SetBkColor(0xFF00FF00);
    EXPECT_GT(g_invalidates.nCalls, 0);
    EXPECT_EQ(g_invalidates.nEmpty, 0);
}

TEST_F(ControlInWindow, SetPosRepaintsTheOldAndTheNewPlace)
{
    Validate();
    m_pChild->SetPos(Rect(100, 50, 120, 60));
    const RECT rc = UpdateRect();
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.top, 10);
    EXPECT_EQ(rc.right, 120);
    EXPECT_EQ(rc.bottom, 60);
}

TEST_F(ControlInWindow, SizeSettersAskTheParentForALayout)
{
    // A control in the parent's flow is laid out by the parent.
    m_pChild->SetFloat(false);
    ASSERT_TRUE(PumpUntil([this] { return !m_pRoot->IsUpdateNeeded(); }));
    m_pChild->SetMinWidth(5);
    EXPECT_TRUE(m_pRoot->IsUpdateNeeded());
    EXPECT_FALSE(m_pChild->IsUpdateNeeded());
    ASSERT_TRUE(PumpUntil([this] { return !m_pRoot->IsUpdateNeeded(); }));

    // The same value again asks for nothing; a negative one is ignored.
    m_pChild->SetMinWidth(5);
    m_pChild->SetFixedWidth(-3);
    EXPECT_FALSE(m_pRoot->IsUpdateNeeded());
    EXPECT_EQ(m_pChild->GetFixedWidth(), 50);

    // A float control lays itself out.
    m_pChild->SetFloat(true);
    ASSERT_TRUE(PumpUntil([this] { return !m_pRoot->IsUpdateNeeded(); }));
    m_pChild->SetFixedHeight(20);
    EXPECT_TRUE(m_pChild->IsUpdateNeeded());
    EXPECT_FALSE(m_pRoot->IsUpdateNeeded());
}
