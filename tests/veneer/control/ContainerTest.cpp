#include "veneer/control/ContainerUI.h"

#include "veneer/control/ScrollBarUI.h"

#include "FaultAfterDelete.h"
#include "GdiCount.h"
#include "LiveControl.h"
#include "ProbeControl.h"
#include "StackContainer.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

using namespace Veneer;

namespace
{

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

CControlUI* NewFloat(int x, int y, int cx, int cy)
{
    CControlUI* pControl = new CControlUI();
    pControl->SetFloat(true);
    pControl->SetFixedXY(SIZE{x, y});
    pControl->SetFixedWidth(cx);
    pControl->SetFixedHeight(cy);
    return pControl;
}

CControlUI* NewRow(int cy, LPCWSTR pstrName = L"")
{
    CControlUI* pControl = new CControlUI();
    pControl->SetName(pstrName);
    pControl->SetFixedHeight(cy);
    return pControl;
}

// Answers "ListItem" like the items of a list.
class CListItem : public CControlUI
{
  public:
    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        return wcscmp(pstrName, L"ListItem") == 0 ? this : CControlUI::GetInterface(pstrName);
    }
};

// Records the types of the events that reach it.
class CLoggingContainer : public CContainerUI
{
  public:
    void DoEvent(TEventUI& event) override
    {
        m_types.push_back(event.Type);
        CContainerUI::DoEvent(event);
    }

    std::vector<int> m_types;
};

int g_nBarsDestroyed = 0;

bool CountBarDestroyed(void*)
{
    g_nBarsDestroyed++;
    return true;
}

// A stack of rows taller than its 100-pixel height, attached to a manager
// without a window: layout, scrolling and hit-testing work, nothing is
// painted or posted.
class ScrollingStack : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_stack.SetManager(&m_pm, nullptr, false);
        m_stack.EnableScrollBar(true, false);
        for (int i = 0; i < 5; i++)
            m_stack.Add(NewRow(60));
        m_stack.SetPos(RECT{0, 0, 200, 100});
    }

    CScrollBarUI* Bar() { return m_stack.GetVerticalScrollBar(); }
    int FirstTop() { return m_stack.GetItemAt(0)->GetPos().top; }

    CPaintManagerUI m_pm;
    CStackContainer m_stack;
};

// A 200 x 100 window whose manager owns the root container.
class ContainerWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.Create(&m_pm, 200, 100, 40, 40));
        m_pm.AddNotifier(&m_notes);
    }

    void TearDown() override { m_window.Destroy(); }

    void Attach(CControlUI* pRoot)
    {
        ASSERT_TRUE(m_pm.AttachDialog(pRoot));
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); }));
    }

    HWND Hwnd() const { return m_window.GetHWND(); }

    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(Hwnd(), uMsg, wParam, lParam);
    }

    // A wheel turn over a client point; the message carries screen points.
    void Wheel(int x, int y, bool bTowardsUser)
    {
        POINT pt{x, y};
        ::ClientToScreen(Hwnd(), &pt);
        Send(WM_MOUSEWHEEL, MAKEWPARAM(0, bTowardsUser ? -WHEEL_DELTA : WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    }

    CNotifyLog m_notes;
    CPaintManagerUI m_pm;
    CTestWindow m_window;
};

} // namespace

TEST(ContainerItems, AddInsertMoveAndRemove)
{
    LiveCount count;
    CContainerUI box;
    EXPECT_STREQ(box.GetClass(), L"ContainerUI");
    EXPECT_EQ(box.GetInterface(L"IContainer"), static_cast<IContainerUI*>(&box));
    EXPECT_EQ(box.GetInterface(L"Container"), static_cast<LPVOID>(&box));
    EXPECT_EQ(box.GetInterface(L"Control"), static_cast<LPVOID>(&box));
    CLiveControl* pA = new CLiveControl(&count);
    CLiveControl* pB = new CLiveControl(&count);
    CLiveControl* pC = new CLiveControl(&count);
    CLiveControl* pD = new CLiveControl(&count);
    ASSERT_TRUE(box.Add(pA));
    ASSERT_TRUE(box.Add(pB));
    ASSERT_TRUE(box.AddAt(pC, 1));
    EXPECT_EQ(box.GetCount(), 3);
    EXPECT_EQ(box.GetItemAt(1), pC);
    EXPECT_EQ(box.GetItemAt(-1), nullptr);
    EXPECT_EQ(box.GetItemAt(3), nullptr);
    EXPECT_EQ(box.GetItemIndex(pB), 2);
    EXPECT_EQ(box.GetItemIndex(nullptr), -1);
    EXPECT_EQ(pC->GetParent(), &box);

    // Refused: nothing, a child twice, the container itself, a bad index.
    EXPECT_FALSE(box.Add(nullptr));
    EXPECT_FALSE(box.Add(pA));
    EXPECT_FALSE(box.Add(&box));
    EXPECT_FALSE(box.AddAt(pD, 4));
    EXPECT_FALSE(box.AddAt(pD, -1));
    EXPECT_EQ(pD->GetParent(), nullptr);
    EXPECT_TRUE(box.AddAt(pD, 3));

    // Moving: any place the list has; a bad place keeps the order.
    EXPECT_TRUE(box.SetItemIndex(pB, 0));
    EXPECT_FALSE(box.SetItemIndex(pB, 4));
    EXPECT_FALSE(box.SetItemIndex(&box, 0));
    const std::vector<CControlUI*> expected{pB, pA, pC, pD};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(box.GetItemAt(i), expected[i]) << i;

    // Without a manager a removed child is deleted at once, exactly once.
    EXPECT_FALSE(box.RemoveAt(4));
    CControlUI stranger;
    EXPECT_FALSE(box.Remove(&stranger));
    EXPECT_TRUE(box.Remove(pA));
    EXPECT_EQ(count.nLive, 3);
    EXPECT_TRUE(box.RemoveAt(0));
    EXPECT_EQ(count.nLive, 2);
    box.RemoveAll();
    EXPECT_EQ(box.GetCount(), 0);
    EXPECT_EQ(count.nLive, 0);
    EXPECT_EQ(count.nDestroyed, 4);
}

TEST(ContainerItems, AddToAHiddenContainerHidesTheChildUntilShown)
{
    CContainerUI outer;
    CContainerUI* pInner = new CContainerUI();
    outer.Add(pInner);
    outer.SetVisible(false);
    CControlUI* pChild = new CControlUI();
    pInner->Add(pChild);
    EXPECT_FALSE(pInner->IsVisible());
    EXPECT_FALSE(pChild->IsVisible());
    outer.SetVisible(true);
    EXPECT_TRUE(pInner->IsVisible());
    EXPECT_TRUE(pChild->IsVisible());
    // A child's own hidden flag survives its parent being shown.
    pChild->SetVisible(false);
    outer.SetVisible(false);
    outer.SetVisible(true);
    EXPECT_FALSE(pChild->IsVisible());
}

TEST(ContainerItems, SubControlConveniencesActOnNamedDescendants)
{
    CContainerUI root;
    CContainerUI* pBox = new CContainerUI();
    root.Add(pBox);
    pBox->Add(NewRow(5, L"deep"));
    EXPECT_NE(root.FindSubControl(L"DEEP"), nullptr);
    EXPECT_TRUE(root.SetSubControlText(L"deep", L"words"));
    EXPECT_TRUE(root.SetSubControlFixedHeight(L"deep", 12));
    EXPECT_TRUE(root.SetSubControlFixedWdith(L"deep", 34));
    EXPECT_TRUE(root.SetSubControlUserData(L"deep", L"data"));
    EXPECT_STREQ(root.GetSubControlText(L"deep"), L"words");
    EXPECT_EQ(root.GetSubControlFixedHeight(L"deep"), 12);
    EXPECT_EQ(root.GetSubControlFixedWdith(L"deep"), 34);
    EXPECT_STREQ(root.GetSubControlUserData(L"deep"), L"data");

    EXPECT_EQ(root.FindSubControl(nullptr), nullptr);
    EXPECT_FALSE(root.SetSubControlText(L"none", L"x"));
    EXPECT_FALSE(root.SetSubControlFixedHeight(L"none", 1));
    EXPECT_FALSE(root.SetSubControlFixedWdith(L"none", 1));
    EXPECT_FALSE(root.SetSubControlUserData(L"none", L"x"));
    EXPECT_STREQ(root.GetSubControlText(L"none"), L"");
    EXPECT_EQ(root.GetSubControlFixedHeight(L"none"), -1);
    EXPECT_EQ(root.GetSubControlFixedWdith(L"none"), -1);
    EXPECT_STREQ(root.GetSubControlUserData(L"none"), L"");
}

TEST(ContainerItems, FindSelectableSkipsWhatIsNoVisibleEnabledListItem)
{
    CContainerUI list;
    EXPECT_EQ(list.FindSelectable(0), -1);
    list.Add(new CControlUI()); // 0: not a list item
    list.Add(new CListItem());  // 1
    list.Add(new CListItem());  // 2: hidden
    list.Add(new CListItem());  // 3: disabled
    list.Add(new CControlUI()); // 4
    list.GetItemAt(2)->SetVisible(false);
    list.GetItemAt(3)->SetEnabled(false);
    EXPECT_EQ(list.FindSelectable(-5, true), 1);
    EXPECT_EQ(list.FindSelectable(2, true), -1);
    EXPECT_EQ(list.FindSelectable(99, false), 1);
    list.GetItemAt(1)->SetEnabled(false);
    // Backwards with nothing before: the search restarts forwards from 0.
    list.GetItemAt(3)->SetEnabled(true);
    EXPECT_EQ(list.FindSelectable(2, false), 3);
    EXPECT_EQ(list.FindSelectable(4, true), -1);
}

TEST(ContainerItems, PropagatesManagerVisibilityAndMouseSettings)
{
    CPaintManagerUI pm;
    CContainerUI box;
    box.EnableScrollBar(true, true);
    CControlUI* pChild = new CControlUI();
    box.Add(pChild);
    box.SetManager(&pm, nullptr, false);
    EXPECT_EQ(pChild->GetManager(), &pm);
    EXPECT_EQ(pChild->GetParent(), &box);
    EXPECT_EQ(box.GetVerticalScrollBar()->GetManager(), &pm);
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetParent(), &box);
    box.SetMouseEnabled(false);
    EXPECT_FALSE(box.GetVerticalScrollBar()->IsMouseEnabled());
    EXPECT_FALSE(box.GetHorizontalScrollBar()->IsMouseEnabled());
    box.SetInternVisible(false);
    EXPECT_FALSE(pChild->IsVisible());
    box.SetInternVisible(true);
    EXPECT_TRUE(pChild->IsVisible());
}

TEST(ContainerOwnership, KeptChildForgetsTheContainer)
{
    LiveCount count;
    CLiveControl* pChild = new CLiveControl(&count);
    {
        CContainerUI box;
        box.SetAutoDestroy(false);
        box.Add(pChild);
        EXPECT_TRUE(box.Remove(pChild));
        EXPECT_EQ(pChild->GetParent(), nullptr);
        box.Add(pChild);
        box.RemoveAll();
        EXPECT_EQ(pChild->GetParent(), nullptr);
        box.Add(pChild);
        box.SetAutoDestroy(true);
    }
    // Its own destructor deletes what auto destroy covers, at once.
    EXPECT_EQ(count.nLive, 0);
}

TEST(ContainerOwnership, DestructorDeletesChildrenAndBarsAtOnce)
{
    LiveCount count;
    CPaintManagerUI pm;
    g_nBarsDestroyed = 0;
    CLiveContainer* pBox = new CLiveContainer(&count);
    pBox->SetManager(&pm, nullptr, false);
    pBox->EnableScrollBar(true, true);
    pBox->GetVerticalScrollBar()->destroySource += CountBarDestroyed;
    pBox->GetHorizontalScrollBar()->destroySource += CountBarDestroyed;
    pBox->Add(new CLiveControl(&count));
    pBox->Add(new CLiveControl(&count));
    ASSERT_TRUE(pBox->IsDelayedDestroy());
    delete pBox;
    EXPECT_EQ(count.nLive, 0);
    EXPECT_EQ(count.nDestroyed, 3);
    EXPECT_EQ(g_nBarsDestroyed, 2);
}

TEST_F(ContainerWindow, RemovedChildIsDeletedOnceAtTheCleanupMessage)
{
    LiveCount count;
    CContainerUI* pRoot = new CContainerUI();
    CLiveControl* pA = new CLiveControl(&count);
    CLiveControl* pB = new CLiveControl(&count);
    pRoot->Add(pA);
    pRoot->Add(pB);
    Attach(pRoot);
    EXPECT_TRUE(pRoot->Remove(pA));
    EXPECT_EQ(pRoot->GetCount(), 1);
    EXPECT_EQ(count.nLive, 2);
    EXPECT_EQ(pA->GetParent(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return count.nLive == 1; }));
    // Delayed destroy off: gone when Remove returns.
    pRoot->SetDelayedDestroy(false);
    pRoot->Remove(pB);
    EXPECT_EQ(count.nLive, 0);
    PumpPending();
    EXPECT_EQ(count.nDestroyed, 2);
}

namespace
{

// Removes itself from its parent when the button is released over it, and
// checks that it is still whole until its handler returns.
class CSelfRemover : public CLiveControl
{
  public:
    explicit CSelfRemover(LiveCount* pCount) : CLiveControl(pCount), m_pCount(pCount) { SetName(L"remover"); }

    void DoEvent(TEventUI& event) override
    {
        if (event.Type == EventButtonUp && GetParent() != nullptr)
        {
            const int nLiveBefore = m_pCount->nLive;
            static_cast<CContainerUI*>(GetParent())->Remove(this);
            m_bAliveAfterRemove = m_pCount->nLive == nLiveBefore && GetName() == L"remover";
            m_bRemoved = true;
            return;
        }
        CLiveControl::DoEvent(event);
    }

    bool m_bAliveAfterRemove = false;
    bool m_bRemoved = false;

  private:
    LiveCount* m_pCount;
};

} // namespace

TEST_F(ContainerWindow, ChildRemovingItselfInItsClickHandlerLivesUntilTheHandlerReturns)
{
    LiveCount count;
    CContainerUI* pRoot = new CContainerUI();
    CSelfRemover* pRemover = new CSelfRemover(&count);
    pRoot->Add(pRemover);
    Attach(pRoot);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    ASSERT_EQ(count.nLive, 1);
    EXPECT_TRUE(pRemover->m_bRemoved);
    EXPECT_TRUE(pRemover->m_bAliveAfterRemove);
    EXPECT_EQ(pRoot->GetCount(), 0);
    EXPECT_EQ(m_pm.FindControl(POINT{50, 50}), pRoot);
    ASSERT_TRUE(PumpUntil([&] { return count.nLive == 0; }));
    EXPECT_EQ(count.nDestroyed, 1);
}

TEST_F(ContainerWindow, ContainerDeletedBeforeTheCleanupLeavesTheRemovedChildToTheManager)
{
    LiveCount count;
    CContainerUI* pRoot = new CContainerUI();
    pRoot->SetDelayedDestroy(false);
    CLiveContainer* pBox = new CLiveContainer(&count);
    pRoot->Add(pBox);
    CLiveControl* pChild = new CLiveControl(&count);
    pBox->Add(pChild);
    pBox->Add(new CLiveControl(&count));
    Attach(pRoot);
    pBox->Remove(pChild);
    pRoot->Remove(pBox); // deletes the box at once, with its other child
    EXPECT_EQ(count.nLive, 1);
    ASSERT_TRUE(PumpUntil([&] { return count.nLive == 0; }));
    PumpPending();
    EXPECT_EQ(count.nDestroyed, 3);
}

// Whole windows with scrolling trees, built, used and destroyed: nothing of
// them may stay behind, neither controls nor GDI objects.
TEST(ContainerOwnership, NothingLeaksOverManyBuildDestroyCycles)
{
    LiveCount count;
    int nBarsMade = 0;
    g_nBarsDestroyed = 0;
    auto cycle = [&] {
        CPaintManagerUI pm;
        CTestWindow window;
        ASSERT_TRUE(window.Create(&pm, 120, 80));
        CLiveContainer* pRoot = new CLiveContainer(&count);
        CStackContainer* pStack = new CStackContainer();
        pRoot->Add(pStack);
        pStack->EnableScrollBar(true, true);
        nBarsMade += 2;
        pStack->GetVerticalScrollBar()->destroySource += CountBarDestroyed;
        pStack->GetHorizontalScrollBar()->destroySource += CountBarDestroyed;
        for (int i = 0; i < 6; i++)
        {
            CLiveControl* pRow = new CLiveControl(&count);
            pRow->SetFixedHeight(30);
            pRow->SetBkColor(0xFF102030 + i);
            pStack->Add(pRow);
        }
        pRoot->Add(NewFloat(-20, 0, 20, 20));
        pm.AttachDialog(pRoot);
        ASSERT_TRUE(PumpUntil([&] { return !::GetUpdateRect(window.GetHWND(), nullptr, FALSE); }));
        pStack->LineDown();
        pStack->RemoveAt(0);
        pStack->EnableScrollBar(false, true);
        window.Destroy();
    };
    for (int i = 0; i < 5; i++)
        cycle();
    const int nGdiBefore = CountGdiObjects();
    for (int i = 0; i < 200; i++)
        cycle();
    EXPECT_EQ(count.nLive, 0);
    EXPECT_EQ(count.nDestroyed, 205 * 7);
    EXPECT_EQ(g_nBarsDestroyed, nBarsMade);
    ASSERT_GT(nGdiBefore, 0);
    EXPECT_EQ(CountGdiObjects(), nGdiBefore);
}

TEST(ContainerLayout, FlowChildrenCoverTheInnerAreaAndFloatingOnesPlaceThemselves)
{
    CPaintManagerUI pm;
    CContainerUI box;
    box.SetManager(&pm, nullptr, false);
    box.SetInset(RECT{5, 6, 7, 8});
    CControlUI* pFlow = new CControlUI();
    CControlUI* pHidden = new CControlUI();
    pHidden->SetVisible(false);
    CControlUI* pFloat = NewFloat(-50, -30, 40, 20);
    CControlUI* pNear = NewFloat(10, 20, 30, 40);
    box.Add(pFlow);
    box.Add(pHidden);
    box.Add(pFloat);
    box.Add(pNear);
    box.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(Str(pFlow->GetPos()), "5,6,193,92");
    EXPECT_EQ(Str(pHidden->GetPos()), "0,0,0,0");
    EXPECT_EQ(Str(pFloat->GetPos()), "110,50,150,70");
    EXPECT_EQ(Str(pNear->GetPos()), "10,20,40,60");
    // Anchored to the far edges, the child follows them; the other stays.
    box.SetPos(RECT{100, 100, 400, 300});
    EXPECT_EQ(Str(pFloat->GetPos()), "310,250,350,270");
    EXPECT_EQ(Str(pNear->GetPos()), "110,120,140,160");
}

TEST(ContainerLayout, RelativeChildFollowsTheGrowthOfTheContainer)
{
    CPaintManagerUI pm;
    CContainerUI box;
    box.SetManager(&pm, nullptr, false);
    CControlUI* pMoving = NewFloat(10, 10, 40, 20);
    pMoving->SetAttribute(L"relativepos", L"50,0,0,0");
    CControlUI* pGrowing = NewFloat(10, 40, 40, 20);
    pGrowing->SetAttribute(L"relativepos", L"0,0,100,50");
    box.Add(pMoving);
    box.Add(pGrowing);
    box.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(Str(pMoving->GetPos()), "10,10,50,30");
    box.SetPos(RECT{0, 0, 300, 100});
    EXPECT_EQ(Str(pMoving->GetPos()), "60,10,100,30");
    EXPECT_EQ(Str(pGrowing->GetPos()), "10,40,150,60");
    // Only the change since the last placement counts.
    box.SetPos(RECT{0, 0, 300, 200});
    EXPECT_EQ(Str(pMoving->GetPos()), "60,10,100,30");
    EXPECT_EQ(Str(pGrowing->GetPos()), "10,40,150,110");
    box.SetPos(RECT{0, 0, 200, 200});
    EXPECT_EQ(Str(pMoving->GetPos()), "10,10,50,30");
}

TEST(ContainerLayout, FloatPosLeavesBadIndexesHiddenAndFlowChildrenAlone)
{
    CContainerUI box;
    box.SetPos(RECT{0, 0, 100, 100});
    CControlUI* pFlow = new CControlUI();
    pFlow->SetFixedWidth(10);
    pFlow->SetFixedHeight(10);
    box.Add(pFlow);
    CControlUI* pHidden = NewFloat(5, 5, 10, 10);
    pHidden->SetVisible(false);
    box.Add(pHidden);
    box.SetFloatPos(-1);
    box.SetFloatPos(2);
    box.SetFloatPos(0);
    box.SetFloatPos(1);
    EXPECT_EQ(Str(pFlow->GetPos()), "0,0,0,0");
    EXPECT_EQ(Str(pHidden->GetPos()), "0,0,0,0");
}

TEST(ContainerFind, MouseChildOffHitsTheContainerOrItsBarNeverAChild)
{
    CPaintManagerUI pm;
    CContainerUI root;
    root.SetManager(&pm, nullptr, false);
    CContainerUI* pBox = new CContainerUI();
    root.Add(pBox);
    pBox->Add(NewFloat(10, 10, 30, 30));
    pBox->EnableScrollBar(true, false);
    root.SetPos(RECT{0, 0, 200, 100});
    CScrollBarUI* pBar = pBox->GetVerticalScrollBar();
    pBar->SetPos(RECT{184, 0, 200, 100});
    EXPECT_EQ(pm.FindSubControlByPoint(&root, POINT{20, 20}), pBox->GetItemAt(0));
    pBox->SetAttribute(L"mousechild", L"false");
    EXPECT_EQ(pm.FindSubControlByPoint(&root, POINT{20, 20}), pBox);
    EXPECT_EQ(pm.FindSubControlByPoint(&root, POINT{190, 50}), pBar);
    // Deaf to the mouse as well: the point belongs to the parent.
    pBox->SetMouseEnabled(false);
    EXPECT_EQ(pm.FindSubControlByPoint(&root, POINT{20, 20}), &root);
}

TEST_F(ScrollingStack, HitsOutsideTheClientAreaSkipFlowChildrenButNotFloatingOnes)
{
    m_stack.SetInset(RECT{0, 10, 0, 0});
    CControlUI* pBadge = NewFloat(0, 0, 20, 8);
    m_stack.Add(pBadge);
    m_stack.SetPos(RECT{0, 0, 200, 100});
    m_stack.SetScrollPos(SIZE{0, 30});
    // The first row now reaches up into the inset, where it does not show.
    ASSERT_LT(FirstTop(), 0);
    EXPECT_EQ(m_pm.FindSubControlByPoint(&m_stack, POINT{50, 5}), &m_stack);
    EXPECT_EQ(m_pm.FindSubControlByPoint(&m_stack, POINT{50, 15}), m_stack.GetItemAt(0));
    EXPECT_EQ(m_pm.FindSubControlByPoint(&m_stack, POINT{5, 5}), pBadge);
    EXPECT_EQ(m_pm.FindSubControlByPoint(&m_stack, POINT{190, 50}), Bar());
    EXPECT_EQ(m_pm.FindSubControlByPoint(&m_stack, POINT{250, 50}), nullptr);
}

TEST(ContainerFind, MeFirstAndTopFirstOrders)
{
    CContainerUI box;
    CControlUI* pFirst = new CControlUI();
    CControlUI* pLast = new CControlUI();
    box.Add(pFirst);
    box.Add(pLast);
    auto any = [](CControlUI* p, LPVOID) { return p; };
    EXPECT_EQ(box.FindControl(any, nullptr, FindAll), pFirst);
    EXPECT_EQ(box.FindControl(any, nullptr, FindTopFirst), pLast);
    EXPECT_EQ(box.FindControl(any, nullptr, FindMeFirst), &box);
    auto none = [](CControlUI*, LPVOID) -> CControlUI* { return nullptr; };
    EXPECT_EQ(box.FindControl(none, nullptr, FindMeFirst), nullptr);
    box.SetVisible(false);
    EXPECT_EQ(box.FindControl(any, nullptr, FindVisible), nullptr);
    box.SetEnabled(false);
    EXPECT_EQ(box.FindControl(any, nullptr, FindEnabled), nullptr);
}

TEST_F(ScrollingStack, ChildrenMoveByExactlyTheScrollPositionAndStopAtBothEnds)
{
    ASSERT_TRUE(Bar()->IsVisible());
    EXPECT_EQ(m_stack.GetScrollRange().cy, 200);
    CControlUI* pBadge = NewFloat(0, 0, 10, 10);
    m_stack.Add(pBadge);
    m_stack.SetPos(RECT{0, 0, 200, 100});
    m_stack.SetScrollPos(SIZE{0, 30});
    EXPECT_EQ(FirstTop(), -30);
    EXPECT_EQ(m_stack.GetItemAt(4)->GetPos().top, 210);
    EXPECT_EQ(pBadge->GetPos().top, 0);
    // A line is the default font's height and 8, measured without a window.
    const int cyLine = m_pm.GetDefaultFontInfo()->tm.tmHeight + 8;
    ASSERT_GT(cyLine, 8);
    m_stack.LineDown();
    EXPECT_EQ(m_stack.GetScrollPos().cy, 30 + cyLine);
    EXPECT_EQ(FirstTop(), -30 - cyLine);
    m_stack.PageDown();
    EXPECT_EQ(m_stack.GetScrollPos().cy, 130 + cyLine);
    m_stack.PageDown();
    m_stack.PageDown();
    EXPECT_EQ(m_stack.GetScrollPos().cy, 200);
    EXPECT_EQ(FirstTop(), -200);
    m_stack.LineUp();
    EXPECT_EQ(m_stack.GetScrollPos().cy, 200 - cyLine);
    m_stack.HomeUp();
    EXPECT_EQ(FirstTop(), 0);
    m_stack.LineUp();
    m_stack.PageUp();
    EXPECT_EQ(m_stack.GetScrollPos().cy, 0);
    EXPECT_EQ(FirstTop(), 0);
    m_stack.EndDown();
    EXPECT_EQ(FirstTop(), -200);
    // The horizontal axis has no bar: nothing moves sideways.
    m_stack.LineRight();
    m_stack.EndRight();
    EXPECT_EQ(m_stack.GetItemAt(0)->GetPos().left, 0);
}

TEST(ContainerScroll, ShowingTheBarRelaysOutOnceWithItsWidthTakenOff)
{
    CPaintManagerUI pm;
    CStackContainer stack;
    stack.SetManager(&pm, nullptr, false);
    stack.SetDelayedDestroy(false);
    stack.EnableScrollBar(true, false);
    CScrollBarUI* pBar = stack.GetVerticalScrollBar();
    stack.Add(NewRow(60));
    // A new bar shows until a layout finds that the content fits.
    ASSERT_TRUE(pBar->IsVisible());
    stack.SetPos(RECT{0, 0, 200, 100});
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(Str(stack.GetItemAt(0)->GetPos()), "0,0,200,60");

    for (int i = 0; i < 4; i++)
        stack.Add(NewRow(60));
    stack.m_nLayouts = 0;
    stack.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(stack.m_nLayouts, 2);
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pBar->GetScrollRange(), 200);
    EXPECT_EQ(pBar->GetScrollPos(), 0);
    EXPECT_EQ(Str(pBar->GetPos()), "184,0,200,100");
    EXPECT_EQ(Str(stack.GetItemAt(0)->GetPos()), "0,0,184,60");

    // Content that shrinks to fit hides the bar and gives the width back.
    stack.SetScrollPos(SIZE{0, 50});
    for (int i = 0; i < 4; i++)
        stack.RemoveAt(0);
    stack.m_nLayouts = 0;
    stack.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(stack.m_nLayouts, 2);
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(pBar->GetScrollPos(), 0);
    EXPECT_EQ(pBar->GetScrollRange(), 0);
    EXPECT_EQ(Str(stack.GetItemAt(0)->GetPos()), "0,0,200,60");
}

TEST_F(ScrollingStack, SmallerRangeLowersThePositionAndMovesTheChildren)
{
    m_stack.EndDown();
    EXPECT_EQ(FirstTop(), -200);
    m_stack.SetDelayedDestroy(false);
    m_stack.RemoveAt(4);
    m_stack.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(Bar()->GetScrollRange(), 140);
    EXPECT_EQ(Bar()->GetScrollPos(), 140);
    EXPECT_EQ(FirstTop(), -140);
}

TEST_F(ScrollingStack, LayoutsThatFlipTheNeedForTheBarStillEnd)
{
    // The content fits only while the bar is shown: each layout shows the
    // bar, and the layout beside it finds no need for it.
    m_stack.m_fnRequired = [](int, bool bBarShown) { return bBarShown ? 50 : 500; };
    for (int i = 0; i < 3; i++)
    {
        m_stack.m_nMaxDepth = 0;
        m_stack.SetPos(RECT{0, 0, 200, 100});
        EXPECT_LE(m_stack.m_nMaxDepth, 2);
        EXPECT_GE(Bar()->GetScrollRange(), 0);
    }
    // Content that shrinks with every pass would lower the position and
    // ask for another pass each time, as deep as the content is tall.
    int cyRequired = 400000;
    m_stack.m_fnRequired = [&](int, bool) { return cyRequired--; };
    m_stack.m_nMaxDepth = 0;
    m_stack.SetPos(RECT{0, 0, 200, 100});
    m_stack.EndDown();
    m_stack.SetPos(RECT{0, 0, 200, 100});
    EXPECT_LE(m_stack.m_nMaxDepth, 2);
    EXPECT_TRUE(Bar()->IsVisible());
}

TEST_F(ScrollingStack, InsetLargerThanTheContainerNeitherScrollsNorPagesBackwards)
{
    m_stack.SetInset(RECT{0, 80, 0, 80});
    m_stack.SetPos(RECT{0, 0, 200, 100});
    m_stack.SetScrollPos(SIZE{0, 100});
    const int nPos = m_stack.GetScrollPos().cy;
    m_stack.PageDown();
    EXPECT_GE(m_stack.GetScrollPos().cy, nPos);
    m_stack.PageUp();
    EXPECT_LE(m_stack.GetScrollPos().cy, nPos);
}

TEST(ContainerScroll, HorizontalBarTakesKeysAndWheelWithoutAVerticalOne)
{
    CPaintManagerUI pm;
    CContainerUI box;
    box.SetManager(&pm, nullptr, false);
    box.SetAttribute(L"hscrollbar", L"true");
    CScrollBarUI* pBar = box.GetHorizontalScrollBar();
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->IsHorizontal());
    EXPECT_EQ(pBar->GetFixedHeight(), 16);
    box.Add(new CControlUI());
    box.SetPos(RECT{0, 0, 100, 100});
    pBar->SetScrollRange(500);
    TEventUI event = CPaintManagerUI::NewEvent(EventKeyDown, &box);
    event.chKey = VK_NEXT;
    box.Event(event);
    EXPECT_EQ(box.GetScrollPos().cx, 100);
    EXPECT_EQ(box.GetItemAt(0)->GetPos().left, -100);
    event.chKey = VK_END;
    box.Event(event);
    EXPECT_EQ(box.GetScrollPos().cx, 500);
    event.chKey = VK_UP;
    box.Event(event);
    EXPECT_EQ(box.GetScrollPos().cx, 492);
    event = CPaintManagerUI::NewEvent(EventScrollWheel, &box);
    event.wParam = 0;
    box.Event(event);
    EXPECT_EQ(box.GetScrollPos().cx, 484);
    // A step past the largest possible position stays at the end.
    pBar->SetScrollRange(INT_MAX);
    box.EndRight();
    box.LineRight();
    EXPECT_EQ(box.GetScrollPos().cx, INT_MAX);
    box.HomeLeft();
    EXPECT_EQ(box.GetItemAt(0)->GetPos().left, 0);
    pBar->SetScrollRange(500);
    box.EndRight();
    box.LineLeft();
    box.LineLeft();
    // A disabled bar leaves the keys alone.
    pBar->SetEnabled(false);
    event = CPaintManagerUI::NewEvent(EventKeyDown, &box);
    event.chKey = VK_HOME;
    box.Event(event);
    EXPECT_EQ(box.GetScrollPos().cx, 484);
}

TEST_F(ContainerWindow, KeysScrollByTheFontLineAndTheClientPage)
{
    CContainerUI* pRoot = new CContainerUI();
    CStackContainer* pStack = new CStackContainer();
    pStack->SetInset(RECT{0, 5, 0, 7});
    pStack->EnableScrollBar(true, true);
    for (int i = 0; i < 10; i++)
        pStack->Add(NewRow(50));
    pRoot->Add(pStack);
    Attach(pRoot);
    m_pm.SetFocus(pStack);
    ASSERT_EQ(m_pm.GetFocus(), pStack);
    ASSERT_TRUE(pStack->GetVerticalScrollBar()->IsVisible());
    const int cyLine = m_pm.GetDefaultFontInfo()->tm.tmHeight;
    ASSERT_GT(cyLine, 0);
    Send(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(pStack->GetScrollPos().cy, cyLine + 8);
    Send(WM_KEYDOWN, VK_UP);
    Send(WM_KEYDOWN, VK_NEXT);
    // The page is the height less the inset and the shown horizontal bar.
    EXPECT_EQ(pStack->GetScrollPos().cy, 100 - 5 - 7 - 16);
    Send(WM_KEYDOWN, VK_END);
    EXPECT_EQ(pStack->GetScrollPos().cy, pStack->GetScrollRange().cy);
    Send(WM_KEYDOWN, VK_PRIOR);
    EXPECT_EQ(pStack->GetScrollPos().cy, pStack->GetScrollRange().cy - 72);
    Send(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(pStack->GetScrollPos().cy, 0);
    // Focus changes only mark the container.
    EXPECT_TRUE(pStack->IsFocused());
}

TEST_F(ContainerWindow, WheelScrollsTheContainerOrClimbsToTheParent)
{
    CLoggingContainer* pRoot = new CLoggingContainer();
    CStackContainer* pStack = new CStackContainer();
    pStack->EnableScrollBar(true, false);
    for (int i = 0; i < 10; i++)
        pStack->Add(NewRow(50));
    pRoot->Add(pStack);
    Attach(pRoot);
    const int cyLine = m_pm.GetDefaultFontInfo()->tm.tmHeight + 8;
    Wheel(50, 50, true);
    EXPECT_EQ(pStack->GetScrollPos().cy, cyLine);
    EXPECT_EQ(pStack->GetItemAt(0)->GetPos().top, -cyLine);
    Wheel(50, 50, true);
    Wheel(50, 50, false);
    EXPECT_EQ(pStack->GetScrollPos().cy, cyLine);
    // Over the bar the wheel reaches the owner as well.
    Wheel(190, 50, true);
    EXPECT_EQ(pStack->GetScrollPos().cy, 2 * cyLine);
    auto wheels = [pRoot] {
        return std::count(pRoot->m_types.begin(), pRoot->m_types.end(), static_cast<int>(EventScrollWheel));
    };
    EXPECT_EQ(wheels(), 0);
    // Without a bar the wheel climbs to the parent.
    pStack->EnableScrollBar(false, false);
    PumpPending();
    Wheel(50, 50, true);
    EXPECT_EQ(wheels(), 1);
}

namespace
{

CContainerUI* g_pDeleter = nullptr;

// Deletes the stack that holds the moved row from the root.
bool DeleteTheStack(void* pParam)
{
    CControlUI* pRow = static_cast<CControlUI*>(pParam);
    if (g_pDeleter != nullptr && pRow->GetParent() != nullptr)
    {
        CContainerUI* pRoot = g_pDeleter;
        g_pDeleter = nullptr;
        pRoot->Remove(pRow->GetParent());
    }
    return true;
}

} // namespace

TEST_F(ContainerWindow, ContainerDeletedByAChildMovingUnderTheWheelStopsScrolling)
{
    CContainerUI* pRoot = new CContainerUI();
    pRoot->SetDelayedDestroy(false);
    // Its memory faults once it is deleted.
    CStackContainer* pStack = new CFaultAfterDelete<CStackContainer>();
    pStack->EnableScrollBar(true, false);
    for (int i = 0; i < 10; i++)
        pStack->Add(NewRow(50));
    pRoot->Add(pStack);
    Attach(pRoot);
    pStack->GetItemAt(0)->sizeSource += DeleteTheStack;
    g_pDeleter = pRoot;
    Wheel(50, 50, true);
    EXPECT_EQ(g_pDeleter, nullptr);
    EXPECT_EQ(pRoot->GetCount(), 0);
    Wheel(50, 50, true);
    PumpPending();
}

TEST_F(ContainerWindow, MouseDeafContainerHandsMouseEventsToItsParent)
{
    CLoggingContainer* pRoot = new CLoggingContainer();
    CContainerUI* pBox = new CContainerUI();
    pRoot->Add(pBox);
    Attach(pRoot);
    pBox->SetMouseEnabled(false);
    TEventUI event = CPaintManagerUI::NewEvent(EventButtonDown, pBox);
    pBox->Event(event);
    event.Type = EventKeyDown;
    pBox->Event(event);
    // The key climbs through the base handler too; the press only once.
    ASSERT_EQ(pRoot->m_types.size(), 2u);
    EXPECT_EQ(pRoot->m_types[0], EventButtonDown);
    EXPECT_EQ(pRoot->m_types[1], EventKeyDown);
}

TEST(ContainerScroll, EnableScrollBarUsesTheWindowStylesAndAttributes)
{
    CPaintManagerUI pm;
    pm.AddDefaultAttributeList(L"VScrollBar", L"width=\"10\" linesize=\"3\"");
    pm.AddDefaultAttributeList(L"HScrollBar", L"height=\"12\"");
    CContainerUI box;
    box.SetManager(&pm, nullptr, false);
    box.SetAttribute(L"vscrollbar", L"true");
    CScrollBarUI* pBar = box.GetVerticalScrollBar();
    ASSERT_NE(pBar, nullptr);
    EXPECT_EQ(pBar->GetOwner(), &box);
    EXPECT_EQ(pBar->GetManager(), &pm);
    EXPECT_EQ(pBar->GetFixedWidth(), 10);
    EXPECT_EQ(pBar->GetLineSize(), 3);
    box.SetAttribute(L"hscrollbarstyle", L"linesize=\"5\"");
    EXPECT_EQ(box.GetVerticalScrollBar(), pBar);
    ASSERT_NE(box.GetHorizontalScrollBar(), nullptr);
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetFixedHeight(), 12);
    EXPECT_EQ(box.GetHorizontalScrollBar()->GetLineSize(), 5);
    box.SetAttribute(L"vscrollbarstyle", L"width=\"14\"");
    EXPECT_EQ(pBar->GetFixedWidth(), 14);
    g_nBarsDestroyed = 0;
    pBar->destroySource += CountBarDestroyed;
    box.SetAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(box.GetVerticalScrollBar(), nullptr);
    EXPECT_NE(box.GetHorizontalScrollBar(), nullptr);
    EXPECT_EQ(g_nBarsDestroyed, 1);
    EXPECT_EQ(box.GetScrollPos().cy, 0);
    EXPECT_EQ(box.GetScrollRange().cy, 0);
}

TEST(ContainerAttributes, InsetPaddingMouseChildAndTheRest)
{
    CContainerUI box;
    box.SetAttribute(L"inset", L"1,2,3,4");
    EXPECT_EQ(Str(box.GetInset()), "1,2,3,4");
    box.SetAttribute(L"childpadding", L"6");
    EXPECT_EQ(box.GetChildPadding(), 6);
    EXPECT_TRUE(box.IsMouseChildEnabled());
    box.SetAttribute(L"mousechild", L"false");
    EXPECT_FALSE(box.IsMouseChildEnabled());
    box.SetAttribute(L"mousechild", L"true");
    EXPECT_TRUE(box.IsMouseChildEnabled());
    box.SetAttribute(L"name", L"box");
    EXPECT_STREQ(box.GetName(), L"box");
    box.SetAttribute(L"inset", nullptr);
    EXPECT_EQ(Str(box.GetInset()), "1,2,3,4");
    EXPECT_TRUE(box.IsAutoDestroy());
    EXPECT_TRUE(box.IsDelayedDestroy());
}

TEST(ContainerPaint, ChildrenAreClippedToTheClientAreaAndFloatingOnesMayCoverTheInset)
{
    const DWORD kWhite = 0xFFFFFF;
    const DWORD kRed = 0xFF0000;
    const DWORD kGreen = 0x00FF00;
    const DWORD kBlue = 0x0000FF;
    CPaintManagerUI pm;
    CStackContainer stack;
    stack.SetManager(&pm, nullptr, false);
    stack.SetBkColor(0xFFFF0000);
    stack.SetInset(RECT{10, 10, 10, 10});
    stack.EnableScrollBar(true, false);
    CControlUI* pRow = NewRow(200);
    pRow->SetBkColor(0xFF00FF00);
    stack.Add(pRow);
    CControlUI* pBadge = NewFloat(0, 0, 8, 8);
    pBadge->SetBkColor(0xFF0000FF);
    stack.Add(pBadge);
    CControlUI* pOverhang = NewFloat(90, 40, 30, 10);
    pOverhang->SetBkColor(0xFF0000FF);
    stack.Add(pOverhang);
    stack.SetPos(RECT{10, 10, 110, 110});
    stack.SetScrollPos(SIZE{0, 30});
    CScrollBarUI* pBar = stack.GetVerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    ASSERT_EQ(Str(pBar->GetPos()), "84,20,100,100");

    CTestSurface surface(130, 130);
    stack.DoPaint(surface.GetDC(), RECT{0, 0, 130, 130});
    EXPECT_EQ(surface.Rgb(5, 5), kWhite);
    EXPECT_EQ(surface.Rgb(50, 15), kRed);   // the scrolled row stays out of the inset
    EXPECT_EQ(surface.Rgb(50, 60), kGreen); // and shows in the client area
    EXPECT_EQ(surface.Rgb(50, 105), kRed);
    EXPECT_EQ(surface.Rgb(12, 12), kBlue);  // a floating child covers the inset
    EXPECT_EQ(surface.Rgb(105, 55), kBlue); // and the bar, up to the container's edge
    EXPECT_EQ(surface.Rgb(115, 55), kWhite);
    // The bar is painted last: its buttons and thumb are outlined.
    EXPECT_EQ(surface.Rgb(84, 30), 0x85E4FF);
    const RECT& rcThumb = pBar->GetThumbRect();
    EXPECT_EQ(surface.Rgb(90, rcThumb.top), 0x85E4FF);
    EXPECT_EQ(surface.Rgb(92, rcThumb.bottom + 2), kRed);

    // A paint rect outside the client area still paints the floating ones.
    surface.Fill(0xFFFFFFFF);
    stack.DoPaint(surface.GetDC(), RECT{10, 10, 20, 20});
    EXPECT_EQ(surface.Rgb(12, 12), kBlue);
    EXPECT_EQ(surface.Rgb(50, 60), kWhite);
}
