#include "FaultAfterDelete.h"
#include "WindowFixture.h"

using namespace Veneer;

namespace
{

typedef std::vector<std::wstring> Trace;

class ManagerServices : public WindowFixture
{
  protected:
    // Sends the window a timer message with the given window timer id.
    void FireTimer(UINT uWinTimer) { Send(WM_TIMER, uWinTimer, 0); }
};

class RecordingFilter : public IMessageFilterUI
{
  public:
    explicit RecordingFilter(UINT uHandled) : m_uHandled(uHandled) {}

    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        m_seen.push_back(uMsg);
        bHandled = uMsg == m_uHandled;
        return 42;
    }

    UINT m_uHandled;
    std::vector<UINT> m_seen;
};

class Accelerator : public ITranslateAccelerator
{
  public:
    LRESULT TranslateAccelerator(MSG* pMsg) override
    {
        m_nCalls++;
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5 ? S_OK : S_FALSE;
    }

    int m_nCalls = 0;
};

// Queues another notification every time it is told of one.
class Requeuer : public INotifyUI
{
  public:
    explicit Requeuer(CPaintManagerUI* pManager) : m_pManager(pManager) {}

    void Notify(TNotifyUI& msg) override
    {
        m_nCalls++;
        m_pManager->SendNotify(msg.pSender, L"again", 0, 0, true);
    }

    CPaintManagerUI* m_pManager;
    int m_nCalls = 0;
};

int g_nDestroyed = 0;

bool CountDestroyed(void*)
{
    g_nDestroyed++;
    return true;
}

} // namespace

TEST_F(ManagerServices, WindowTimerIdsStartAt17AndCycleThrough255Values)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    TakeNotifications();
    // Each SetTimer takes the next id; a WM_TIMER with an id reaches the
    // control as its own local id.
    for (UINT i = 1; i <= 239; i++)
        ASSERT_TRUE(m_pm.SetTimer(pA, 1000 + i, 3600 * 1000)) << i;
    FireTimer(17);
    FireTimer(254);
    FireTimer(0);
    ASSERT_EQ(m_log.size(), 3u);
    EXPECT_EQ(m_log[0].event.wParam, 1001u);
    EXPECT_EQ(m_log[1].event.wParam, 1238u);
    EXPECT_EQ(m_log[2].event.wParam, 1239u);
    EXPECT_EQ(m_log[0].event.pSender, pA);
    EXPECT_EQ(TakeNotifications(), (Trace{L"timer:A", L"timer:A", L"timer:A"}));
}

TEST_F(ManagerServices, TimersFireRealWindowTimers)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    ASSERT_TRUE(m_pm.SetTimer(pA, 5, 10));
    ASSERT_TRUE(PumpUntil([this] { return !m_log.empty(); }));
    EXPECT_EQ(m_log[0].type, EventTimer);
    EXPECT_EQ(m_log[0].event.wParam, 5u);
    m_pm.KillTimer(pA, 5);
}

TEST_F(ManagerServices, LiveTimerIsNotSetTwiceAndKilledOneIsRearmedUnderItsId)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    CProbeControl* pB = AddProbe(L"B", 0, 0, 10, 10);
    AttachAndPaint();
    ASSERT_TRUE(m_pm.SetTimer(pA, 1, 100000)); // window id 17
    EXPECT_FALSE(m_pm.SetTimer(pA, 1, 100000));
    ASSERT_TRUE(m_pm.SetTimer(pB, 1, 100000)); // window id 18
    EXPECT_TRUE(m_pm.KillTimer(pA, 1));
    EXPECT_FALSE(m_pm.KillTimer(pA, 1));
    // A killed record does not fire.
    FireTimer(17);
    EXPECT_TRUE(m_log.empty());
    ASSERT_TRUE(m_pm.SetTimer(pA, 1, 100000));
    FireTimer(17);
    EXPECT_EQ(TakeEvents(), (Trace{L"timer:A"}));

    // Killing all of a control's timers deletes their records.
    m_pm.KillTimer(pA);
    EXPECT_FALSE(m_pm.KillTimer(pA, 1));
    FireTimer(17);
    FireTimer(18);
    EXPECT_EQ(TakeEvents(), (Trace{L"timer:B"}));

    // A deleted control takes its timers with it.
    m_pRoot->Remove(pB);
    FireTimer(18);
    EXPECT_TRUE(m_log.empty());
}

TEST_F(ManagerServices, TimerIdsInUseAreSkippedAfterTheCycle)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    // 255 timers take every id; the next one has none left.
    for (UINT i = 0; i < 255; i++)
        ASSERT_TRUE(m_pm.SetTimer(pA, i, 3600 * 1000)) << i;
    EXPECT_FALSE(m_pm.SetTimer(pA, 255, 3600 * 1000));
    // Freeing id 17 (the first) lets the next timer take it, alone.
    m_pm.KillTimer(pA);
    ASSERT_TRUE(m_pm.SetTimer(pA, 7, 3600 * 1000));
    FireTimer(17);
    FireTimer(18);
    EXPECT_EQ(TakeEvents(), (Trace{L"timer:A"}));
}

TEST(ManagerServicesWithoutWindow, TimersNeedAWindow)
{
    CPaintManagerUI pm;
    CControlUI control;
    EXPECT_FALSE(pm.SetTimer(&control, 1, 10));
    EXPECT_FALSE(pm.KillTimer(&control, 1));
}

TEST_F(ManagerServices, FirstPaintFocusesTheFirstTabStop)
{
    AddProbe(L"label", 0, 0, 10, 10);
    AddProbe(L"A", 0, 0, 10, 10, FlagTabStop);
    AttachAndPaint();
    EXPECT_EQ(TakeEvents(), (Trace{L"setfocus:A"}));
    EXPECT_EQ(TakeNotifications(), (Trace{L"windowinit:root", L"setfocus:A"}));
}

TEST_F(ManagerServices, TabOrderWrapsBothWays)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10, FlagTabStop);
    AddProbe(L"skip", 0, 0, 10, 10);
    CProbeControl* pC = AddProbe(L"C", 0, 0, 10, 10, FlagTabStop);
    CProbeControl* pHidden = AddProbe(L"hidden", 0, 0, 10, 10, FlagTabStop);
    CProbeControl* pD = AddProbe(L"D", 0, 0, 10, 10, FlagTabStop);
    pHidden->SetVisible(false);
    AttachAndPaint();
    ASSERT_EQ(m_pm.GetFocus(), pA);
    m_pm.SetNextTabControl();
    EXPECT_EQ(m_pm.GetFocus(), pC);
    m_pm.SetNextTabControl();
    EXPECT_EQ(m_pm.GetFocus(), pD);
    m_pm.SetNextTabControl();
    EXPECT_EQ(m_pm.GetFocus(), pA);
    m_pm.SetNextTabControl(false);
    EXPECT_EQ(m_pm.GetFocus(), pD);
    m_pm.SetNextTabControl(false);
    EXPECT_EQ(m_pm.GetFocus(), pC);
    m_pm.SetNextTabControl(false);
    EXPECT_EQ(m_pm.GetFocus(), pA);
    TakeNotifications();
    m_pm.SetNextTabControl();
    EXPECT_EQ(TakeNotifications(), (Trace{L"killfocus:A", L"setfocus:C"}));
}

TEST_F(ManagerServices, FocusOnAControlThatCannotHaveItLeavesNone)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    CProbeControl* pB = AddProbe(L"B", 0, 0, 10, 10);
    AttachAndPaint();
    m_pm.SetFocus(pA);
    pB->SetEnabled(false);
    TakeEvents();
    m_pm.SetFocus(pB);
    EXPECT_EQ(m_pm.GetFocus(), nullptr);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].event.pSender, pB); // the kill names the would-be focus
    EXPECT_EQ(TakeEvents(), (Trace{L"killfocus:A"}));
    EXPECT_EQ(::GetFocus(), Hwnd());
}

TEST_F(ManagerServices, FocusNeededMovesTheFocusAtTheNextPaint)
{
    AddProbe(L"A", 0, 0, 10, 10, FlagTabStop);
    CProbeControl* pB = AddProbe(L"B", 0, 0, 10, 10, FlagTabStop);
    AttachAndPaint();
    TakeEvents();
    m_pm.SetFocusNeeded(pB);
    EXPECT_EQ(TakeEvents(), (Trace{L"killfocus:A"}));
    ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); }));
    EXPECT_EQ(m_pm.GetFocus(), pB);
    // The tab stop before B held the focus silently; it is told it lost it.
    EXPECT_EQ(TakeEvents(), (Trace{L"killfocus:A", L"setfocus:B"}));
}

TEST_F(ManagerServices, AltShortcutSkipsLabelsAndActivates)
{
    // Shortcut searches run topmost first: the root, then its children
    // from the last to the first.
    CProbeControl* pTarget = AddProbe(L"target", 0, 0, 10, 10);
    CProbeControl* pLabel = AddProbe(L"label", 0, 0, 10, 10);
    CProbeControl* pOther = AddProbe(L"other", 0, 0, 10, 10);
    pLabel->SetClass(L"TextLabelUI");
    pLabel->SetShortcut(L'N');
    pOther->SetShortcut(L'O');
    AttachAndPaint();

    MSG msg{};
    msg.hwnd = Hwnd();
    msg.message = WM_SYSCHAR;
    msg.wParam = L'n';
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(m_pm.GetFocus(), pTarget);
    EXPECT_EQ(pTarget->m_nActivate, 1);
    EXPECT_EQ(pLabel->m_nActivate, 0);

    msg.wParam = L'o';
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(m_pm.GetFocus(), pOther);
    msg.wParam = L'q';
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));

    // Alt-key downs reach the focus as system keys, without a sender.
    m_log.clear();
    msg.message = WM_SYSKEYDOWN;
    msg.wParam = 'O';
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].type, EventSysKey);
    EXPECT_EQ(m_log[0].event.pSender, nullptr);
    EXPECT_EQ(m_log[0].event.chKey, L'O');
}

TEST_F(ManagerServices, QueuedMessagesFindTheManagerOfTheirWindow)
{
    AttachAndPaint();
    Accelerator accelerator;
    RecordingFilter filter(WM_KEYUP);
    m_pm.AddTranslateAccelerator(&accelerator);
    m_pm.AddPreMessageFilter(&filter);
    HWND hChild =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, Hwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(hChild, nullptr);

    MSG msg{};
    msg.hwnd = hChild;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F5;
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(accelerator.m_nCalls, 1);
    msg.wParam = VK_F6;
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
    msg.message = WM_KEYUP;
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(filter.m_seen.back(), static_cast<UINT>(WM_KEYUP));

    // A window that no manager paints is nobody's.
    HWND hStranger =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    msg.hwnd = hStranger;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F5;
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
    ::DestroyWindow(hStranger);
    ::DestroyWindow(hChild);

    EXPECT_TRUE(m_pm.RemoveTranslateAccelerator(&accelerator));
    EXPECT_FALSE(m_pm.RemoveTranslateAccelerator(&accelerator));
    EXPECT_TRUE(m_pm.RemovePreMessageFilter(&filter));
    EXPECT_FALSE(m_pm.RemovePreMessageFilter(&filter));
}

TEST_F(ManagerServices, MessageFilterThatHandlesAMessageEndsIt)
{
    AttachAndPaint();
    RecordingFilter first(WM_USER);
    RecordingFilter second(WM_USER + 1);
    m_pm.AddMessageFilter(&first);
    m_pm.AddMessageFilter(&second);
    LRESULT lRes = 0;
    EXPECT_TRUE(m_pm.MessageHandler(WM_USER + 1, 0, 0, lRes));
    EXPECT_EQ(lRes, 42);
    EXPECT_TRUE(m_pm.MessageHandler(WM_USER, 0, 0, lRes));
    EXPECT_EQ(second.m_seen.size(), 1u);
    EXPECT_FALSE(m_pm.MessageHandler(WM_USER + 2, 0, 0, lRes));
    EXPECT_TRUE(m_pm.RemoveMessageFilter(&first));
    EXPECT_TRUE(m_pm.RemoveMessageFilter(&second));
    EXPECT_FALSE(m_pm.RemoveMessageFilter(&second));
}

TEST_F(ManagerServices, NotificationsReachTheSenderFirstThenTheListenersInOrder)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    TakeNotifications();
    static std::vector<std::wstring>* s_pOrder = nullptr;
    std::vector<std::wstring> order;
    s_pOrder = &order;
    pA->notifySource += [](void* pMsg) {
        s_pOrder->push_back(std::wstring(L"sender:") + static_cast<TNotifyUI*>(pMsg)->sType.GetData());
        return true;
    };
    CNotifyLog second;
    m_pm.AddNotifier(&second);
    Send(WM_MOUSEMOVE, 0, Pos(3, 4));
    m_pm.SendNotify(pA, L"click", 7, 8);
    ASSERT_EQ(order, (std::vector<std::wstring>{L"sender:click"}));
    ASSERT_EQ(m_notes.m_messages.size(), 1u);
    const TNotifyUI& msg = m_notes.m_messages[0];
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 8);
    EXPECT_EQ(msg.ptMouse.x, 3);
    EXPECT_EQ(msg.ptMouse.y, 4);
    EXPECT_STREQ(msg.sVirtualWnd, L"");
    EXPECT_EQ(second.m_entries, (Trace{L"click:A"}));
    EXPECT_TRUE(m_pm.RemoveNotifier(&second));
    EXPECT_FALSE(m_pm.RemoveNotifier(&second));

    // With a virtual window named, notifications carry it.
    m_pRoot->SetVirtualWnd(L"page");
    m_pm.SendNotify(pA, L"click");
    EXPECT_STREQ(m_notes.m_messages.back().sVirtualWnd, L"page");
}

TEST_F(ManagerServices, QueuedNotificationGoesOutWithTheNextMessage)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    TakeNotifications();
    m_pm.SendNotify(pA, L"later", 0, 0, true);
    EXPECT_TRUE(TakeNotifications().empty());
    Send(WM_NULL);
    EXPECT_EQ(TakeNotifications(), (Trace{L"later:A"}));
}

TEST_F(ManagerServices, QueuedNotificationOfADeletedSenderArrivesWithoutSender)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    TakeNotifications();
    m_pm.SendNotify(pA, L"orphan", 0, 0, true);
    m_pRoot->Remove(pA);
    Send(WM_NULL);
    EXPECT_EQ(TakeNotifications(), (Trace{L"orphan:-"}));
}

TEST_F(ManagerServices, SenderDeletedByItsOwnObserverReachesListenersAsNull)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    TakeNotifications();
    static CContainerUI* s_pRoot = nullptr;
    s_pRoot = m_pRoot;
    pA->notifySource += [](void* pMsg) {
        s_pRoot->Remove(static_cast<TNotifyUI*>(pMsg)->pSender);
        return true;
    };
    m_pm.SendNotify(pA, L"click");
    EXPECT_EQ(TakeNotifications(), (Trace{L"click:-"}));
}

// Each message drains the queue before and after its handling, and each
// drain serves only what was queued before it began.
TEST_F(ManagerServices, ListenerThatQueuesAgainIsServedTwicePerMessage)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    Requeuer requeuer(&m_pm);
    m_pm.AddNotifier(&requeuer);
    m_pm.SendNotify(pA, L"first", 0, 0, true);
    Send(WM_NULL);
    EXPECT_EQ(requeuer.m_nCalls, 2);
    Send(WM_NULL);
    EXPECT_EQ(requeuer.m_nCalls, 4);
    m_pm.RemoveNotifier(&requeuer);
}

TEST_F(ManagerServices, DelayedCleanupDeletesEachControlOnce)
{
    AttachAndPaint();
    g_nDestroyed = 0;
    CContainerUI* pBox = new CContainerUI();
    CControlUI* pInner = new CControlUI();
    pInner->destroySource += CountDestroyed;
    pBox->destroySource += CountDestroyed;
    pBox->Add(pInner);
    m_pm.AddDelayedCleanup(pBox);
    m_pm.AddDelayedCleanup(pBox);
    m_pm.AddDelayedCleanup(pInner); // its container deletes it first
    EXPECT_EQ(g_nDestroyed, 0);
    EXPECT_EQ(pBox->GetManager(), &m_pm);
    EXPECT_EQ(pBox->GetParent(), nullptr);
    ASSERT_TRUE(PumpUntil([] { return g_nDestroyed == 2; }));
    PumpPending();
    EXPECT_EQ(g_nDestroyed, 2);
}

TEST_F(ManagerServices, AttachingANewRootDefersTheOldOne)
{
    AttachAndPaint();
    g_nDestroyed = 0;
    m_pRoot->destroySource += CountDestroyed;
    CContainerUI* pNewRoot = new CContainerUI();
    m_pm.AttachDialog(pNewRoot);
    m_pRoot = pNewRoot;
    EXPECT_EQ(g_nDestroyed, 0);
    ASSERT_TRUE(PumpUntil([] { return g_nDestroyed == 1; }));
    // Attaching the same root again keeps it.
    m_pm.AttachDialog(pNewRoot);
    PumpPending();
    EXPECT_EQ(m_pm.GetRoot(), pNewRoot);
    EXPECT_EQ(g_nDestroyed, 1);
}

TEST_F(ManagerServices, LookupsByNamePointAndClass)
{
    CProbeControl* pA = AddProbe(L"Alpha", 10, 10, 20, 20);
    CProbeControl* pB = AddProbe(L"beta", 20, 20, 20, 20);
    CContainerUI* pBox = new CContainerUI();
    pBox->SetName(L"box");
    CProbeControl* pInner = new CProbeControl(L"inner");
    pBox->Add(pInner);
    m_pRoot->Add(pBox);
    pBox->SetFloat(true);
    pBox->SetFixedXY(SIZE{100, 0});
    pBox->SetFixedWidth(50);
    pBox->SetFixedHeight(50);
    AttachAndPaint();

    EXPECT_EQ(m_pm.FindControl(L"Alpha"), pA);
    EXPECT_EQ(m_pm.FindControl(L"alpha"), nullptr);
    EXPECT_EQ(m_pm.FindSubControlByName(nullptr, L"ALPHA"), pA);
    EXPECT_EQ(m_pm.FindSubControlByName(pBox, L"inner"), pInner);
    EXPECT_EQ(m_pm.FindSubControlByName(pBox, L"Alpha"), nullptr);

    // The topmost (last added) control wins where two overlap.
    EXPECT_EQ(m_pm.FindControl(POINT{25, 25}), pB);
    EXPECT_EQ(m_pm.FindControl(POINT{12, 12}), pA);
    EXPECT_EQ(m_pm.FindControl(POINT{5, 5}), m_pRoot);
    EXPECT_EQ(m_pm.FindSubControlByPoint(pBox, POINT{110, 10}), pInner);
    pA->SetMouseEnabled(false);
    EXPECT_EQ(m_pm.FindControl(POINT{12, 12}), m_pRoot);

    // Search order puts every container after its children.
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"*", 0), pA);
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"*", 2), pInner);
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"*", 3), pBox);
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"*", 4), m_pRoot);
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"*", 5), nullptr);
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"ProbeUI", 1), pB);
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"probeui", 0), nullptr);
    EXPECT_EQ(m_pm.FindSubControlByClass(nullptr, L"ProbeUI", -1), nullptr);
    CStdPtrArray* pFound = m_pm.FindSubControlsByClass(nullptr, L"ProbeUI");
    ASSERT_EQ(pFound->GetSize(), 3);
    EXPECT_EQ(pFound->GetAt(2), pInner);
    EXPECT_EQ(m_pm.GetSubControlsByClass(), pFound);

    // A later control of the same name takes the name over.
    CProbeControl* pTwin = new CProbeControl(L"Alpha");
    m_pRoot->Add(pTwin);
    EXPECT_EQ(m_pm.FindControl(L"Alpha"), pTwin);
    m_pRoot->Remove(pA);
    EXPECT_EQ(m_pm.FindControl(L"Alpha"), pTwin);
}

TEST_F(ManagerServices, RenamedControlIsFoundByItsNewNameOnly)
{
    CProbeControl* pA = AddProbe(L"old", 10, 10, 20, 20);
    CProbeControl* pShared = AddProbe(L"shared", 40, 10, 20, 20);
    CProbeControl* pTwin = AddProbe(L"shared", 70, 10, 20, 20);
    AttachAndPaint();
    ASSERT_EQ(m_pm.FindControl(L"old"), pA);
    pA->SetName(L"new");
    EXPECT_EQ(m_pm.FindControl(L"old"), nullptr);
    EXPECT_EQ(m_pm.FindControl(L"new"), pA);
    // A name that another control took over stays with that control.
    ASSERT_EQ(m_pm.FindControl(L"shared"), pTwin);
    pShared->SetName(L"");
    EXPECT_EQ(m_pm.FindControl(L"shared"), pTwin);
    EXPECT_EQ(m_pm.FindControl(L""), nullptr);

    // Once deleted, the control is found by neither name.
    g_nDestroyed = 0;
    pA->destroySource += CountDestroyed;
    m_pRoot->Remove(pA);
    ASSERT_TRUE(PumpUntil([] { return g_nDestroyed == 1; }));
    EXPECT_EQ(m_pm.FindControl(L"old"), nullptr);
    EXPECT_EQ(m_pm.FindControl(L"new"), nullptr);
}

TEST_F(ManagerServices, ClassLookupForgetsDeletedControls)
{
    CProbeControl* pA = AddProbe(L"A", 10, 10, 20, 20);
    AddProbe(L"B", 40, 10, 20, 20);
    AttachAndPaint();
    m_pRoot->SetDelayedDestroy(false);
    CStdPtrArray* pFound = m_pm.FindSubControlsByClass(nullptr, L"ProbeUI");
    ASSERT_EQ(pFound->GetSize(), 2);
    const void* pGone = pA;
    m_pRoot->Remove(pA);
    ASSERT_EQ(m_pm.GetSubControlsByClass()->GetSize(), 1);
    EXPECT_NE(pFound->GetAt(0), pGone);
    EXPECT_STREQ(static_cast<CControlUI*>(pFound->GetAt(0))->GetName(), L"B");
}

TEST_F(ManagerServices, ChildKeptByItsContainerLeavesTheWindow)
{
    CContainerUI* pBox = new CContainerUI();
    pBox->SetAutoDestroy(false);
    CProbeControl* pKept = new CProbeControl(L"kept", &m_log, FlagTabStop);
    pBox->Add(pKept);
    m_pRoot->Add(pBox);
    AttachAndPaint();
    m_pm.SetFocus(pKept);
    ASSERT_EQ(m_pm.GetFocus(), pKept);
    ASSERT_TRUE(m_pm.SetTimer(pKept, 1, 3600 * 1000));

    ASSERT_TRUE(pBox->Remove(pKept));
    EXPECT_EQ(pKept->GetManager(), nullptr);
    EXPECT_EQ(pKept->GetParent(), nullptr);
    EXPECT_EQ(m_pm.GetFocus(), nullptr);
    EXPECT_EQ(m_pm.FindControl(L"kept"), nullptr);
    EXPECT_FALSE(m_pm.KillTimer(pKept, 1)) << "its timer went with it";
    // It can join the window again.
    m_pRoot->Add(pKept);
    EXPECT_EQ(pKept->GetManager(), &m_pm);
    EXPECT_EQ(m_pm.FindControl(L"kept"), pKept);
}

TEST(ManagerServicesWithoutWindow, ChildKeptPastItsManagerNeverReachesIt)
{
    auto* pm = new CFaultAfterDelete<CPaintManagerUI>();
    CContainerUI* pRoot = new CContainerUI();
    pRoot->SetAutoDestroy(false);
    CContainerUI* pKept = new CContainerUI();
    CControlUI* pGrandchild = new CControlUI();
    pKept->Add(pGrandchild);
    pRoot->Add(pKept);
    ASSERT_TRUE(pm->AttachDialog(pRoot));
    ASSERT_EQ(pGrandchild->GetManager(), pm);
    // The manager deletes its root, which keeps its child.
    delete pm;
    EXPECT_EQ(pKept->GetManager(), nullptr);
    EXPECT_EQ(pGrandchild->GetManager(), nullptr);
    EXPECT_EQ(pGrandchild->GetParent(), pKept);
    delete pKept;
}

TEST_F(ManagerServices, OptionGroups)
{
    CControlUI first;
    CControlUI second;
    EXPECT_EQ(m_pm.GetOptionGroup(L"g"), nullptr);
    EXPECT_TRUE(m_pm.AddOptionGroup(L"g", &first));
    EXPECT_FALSE(m_pm.AddOptionGroup(L"g", &first));
    EXPECT_TRUE(m_pm.AddOptionGroup(L"g", &second));
    ASSERT_NE(m_pm.GetOptionGroup(L"g"), nullptr);
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 2);
    m_pm.RemoveOptionGroup(L"g", &first);
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 1);
    m_pm.RemoveOptionGroup(L"g", &second);
    EXPECT_EQ(m_pm.GetOptionGroup(L"g"), nullptr);

    // A control being destroyed leaves its groups.
    CControlUI* pDoomed = new CControlUI();
    pDoomed->SetManager(&m_pm, nullptr, false);
    m_pm.AddOptionGroup(L"h", pDoomed);
    m_pm.AddOptionGroup(L"h", &first);
    delete pDoomed;
    ASSERT_NE(m_pm.GetOptionGroup(L"h"), nullptr);
    EXPECT_EQ(m_pm.GetOptionGroup(L"h")->GetSize(), 1);
    m_pm.RemoveAllOptionGroups();
    EXPECT_EQ(m_pm.GetOptionGroup(L"h"), nullptr);
}

TEST_F(ManagerServices, PostPaintList)
{
    CControlUI a;
    CControlUI b;
    EXPECT_TRUE(m_pm.AddPostPaint(&a));
    EXPECT_TRUE(m_pm.AddPostPaint(&b));
    EXPECT_EQ(m_pm.GetPostPaintCount(), 2);
    EXPECT_TRUE(m_pm.SetPostPaintIndex(&b, 0));
    EXPECT_FALSE(m_pm.SetPostPaintIndex(&a, 5));
    EXPECT_EQ(m_pm.GetPostPaintCount(), 1);
    EXPECT_TRUE(m_pm.RemovePostPaint(&b));
    EXPECT_FALSE(m_pm.RemovePostPaint(&b));
}
