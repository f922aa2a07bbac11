#include "veneer/control/TabLayoutUI.h"
#include "veneer/control/VerticalLayoutUI.h"

#include "LayoutTestSupport.h"
#include "ProbeControl.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Veneer;

namespace
{

// A 200 x 100 window whose root is a tab layout (inset 5) of three pages;
// each page is a vertical layout holding one tab stop.
class TabLayout : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.Create(&m_pm, 200, 100, 60, 60));
        m_pm.AddNotifier(&m_notes);
        m_pTab = new CTabLayoutUI();
        m_pTab->SetName(L"tab");
        m_pTab->SetInset(RECT{5, 5, 5, 5});
        for (int i = 0; i < 3; i++)
            ASSERT_TRUE(m_pTab->Add(NewPage(i)));
        ASSERT_TRUE(m_pm.AttachDialog(m_pTab));
        Paint();
        m_notes.m_entries.clear();
        m_notes.m_messages.clear();
    }

    void TearDown() override { m_window.Destroy(); }

    CVerticalLayoutUI* NewPage(int i)
    {
        CVerticalLayoutUI* pPage = new CVerticalLayoutUI();
        pPage->SetName((L"page" + std::to_wstring(i)).c_str());
        CProbeControl* pStop =
            new CProbeControl((L"stop" + std::to_wstring(i)).c_str(), nullptr, FlagTabStop);
        pStop->SetFixedHeight(20);
        pPage->Add(pStop);
        return pPage;
    }

    void Paint()
    {
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE); }));
    }

    const TNotifyUI* FindNote(LPCWSTR pstrType) const
    {
        for (const TNotifyUI& msg : m_notes.m_messages)
        {
            if (msg.sType == pstrType)
                return &msg;
        }
        return nullptr;
    }

    CControlUI* Page(int i) { return m_pTab->GetItemAt(i); }

    // Which children are visible, as "100" for the first only.
    std::string Shown()
    {
        std::string sShown;
        for (int i = 0; i < m_pTab->GetCount(); i++)
            sShown += Page(i)->IsVisible() ? '1' : '0';
        return sShown;
    }

    CPaintManagerUI m_pm;
    CTestWindow m_window;
    CNotifyLog m_notes;
    CTabLayoutUI* m_pTab = nullptr;
};

} // namespace

TEST_F(TabLayout, FirstVisibleChildIsSelectedAndTheOthersHidden)
{
    EXPECT_EQ(0, m_pTab->GetCurSel());
    EXPECT_EQ("100", Shown());
    EXPECT_EQ("5,5,195,95", RectText(Page(0)->GetPos()));
}

TEST_F(TabLayout, SelectingShowsPlacesAndFocusesThePageAndNotifies)
{
    ASSERT_TRUE(m_pTab->SelectItem(2));
    EXPECT_EQ(2, m_pTab->GetCurSel());
    EXPECT_EQ("001", Shown());
    const TNotifyUI* pSelect = FindNote(L"tabselect");
    ASSERT_NE(nullptr, pSelect);
    EXPECT_EQ(m_pTab, pSelect->pSender);
    EXPECT_EQ(2u, pSelect->wParam);
    EXPECT_EQ(0, pSelect->lParam);
    EXPECT_EQ("5,5,195,95", RectText(Page(2)->GetPos()));

    // The focus moves on to the page's tab stop once the layout has run.
    Paint();
    ASSERT_NE(nullptr, m_pm.GetFocus());
    EXPECT_EQ(L"stop2", std::wstring(m_pm.GetFocus()->GetName().GetData()));
}

TEST_F(TabLayout, SelectionOutsideTheChildrenOrUnchangedSendsNothing)
{
    EXPECT_FALSE(m_pTab->SelectItem(3));
    EXPECT_FALSE(m_pTab->SelectItem(-1));
    EXPECT_TRUE(m_pTab->SelectItem(0));
    EXPECT_EQ(nullptr, FindNote(L"tabselect"));
    CControlUI stranger;
    EXPECT_FALSE(m_pTab->SelectItem(&stranger));
    EXPECT_TRUE(m_pTab->SelectItem(Page(1)));
    EXPECT_EQ(1, m_pTab->GetCurSel());
}

TEST_F(TabLayout, RemovingTheSelectionSelectsTheFirstChild)
{
    ASSERT_TRUE(m_pTab->SelectItem(2));
    ASSERT_TRUE(m_pTab->Remove(Page(2)));
    EXPECT_EQ(0, m_pTab->GetCurSel());
    EXPECT_EQ("10", Shown());
    Paint();
    EXPECT_EQ("5,5,195,95", RectText(Page(0)->GetPos()));

    ASSERT_TRUE(m_pTab->SelectItem(1));
    ASSERT_TRUE(m_pTab->RemoveAt(0));
    EXPECT_EQ(0, m_pTab->GetCurSel());
    EXPECT_EQ(L"page1", std::wstring(Page(0)->GetName().GetData()));

    m_pTab->RemoveAll();
    EXPECT_EQ(-1, m_pTab->GetCurSel());
    ASSERT_TRUE(m_pTab->Add(NewPage(7)));
    EXPECT_EQ(0, m_pTab->GetCurSel());
    EXPECT_EQ("1", Shown());
}

TEST_F(TabLayout, InsertingBeforeTheSelectionKeepsItAndHidesTheNewChild)
{
    ASSERT_TRUE(m_pTab->SelectItem(1));
    ASSERT_TRUE(m_pTab->AddAt(NewPage(3), 0));
    EXPECT_EQ(2, m_pTab->GetCurSel());
    EXPECT_EQ("0010", Shown());
    ASSERT_TRUE(m_pTab->AddAt(NewPage(4), 4));
    EXPECT_EQ(2, m_pTab->GetCurSel());
    EXPECT_EQ("00100", Shown());
    std::unique_ptr<CControlUI> pOutside(NewPage(5));
    EXPECT_FALSE(m_pTab->AddAt(pOutside.get(), 9));
    EXPECT_EQ(5, m_pTab->GetCount());
}

TEST_F(TabLayout, ReorderingKeepsTheSelectedChildSelected)
{
    ASSERT_TRUE(m_pTab->SelectItem(1));
    CControlUI* pSelected = Page(1);
    ASSERT_TRUE(m_pTab->SetItemIndex(pSelected, 2));
    EXPECT_EQ(2, m_pTab->GetCurSel());
    ASSERT_TRUE(m_pTab->SetItemIndex(Page(0), 2));
    EXPECT_EQ(1, m_pTab->GetCurSel());
    EXPECT_EQ(pSelected, Page(1));
}

TEST_F(TabLayout, SelectedIdAttributeSelects)
{
    m_pTab->SetAttribute(L"selectedid", L"1");
    EXPECT_EQ(1, m_pTab->GetCurSel());
    EXPECT_EQ("010", Shown());
    EXPECT_STREQ(L"TabLayoutUI", m_pTab->GetClass());
    EXPECT_EQ(m_pTab, m_pTab->GetInterface(L"TabLayout"));
}

TEST_F(TabLayout, SelectionKeepsItsPaddingAndEstimatedSize)
{
    Page(1)->SetPadding(RECT{10, 10, 10, 10});
    Page(1)->SetFixedWidth(50);
    ASSERT_TRUE(m_pTab->SelectItem(1));
    EXPECT_EQ("15,15,65,85", RectText(Page(1)->GetPos()));
}

TEST(TabLayoutAlone, ChildrenAddedToAHiddenTabStillGetASelection)
{
    CTabLayoutUI tab;
    tab.SetVisible(false);
    CControlUI* pFirst = new CControlUI();
    CControlUI* pSecond = new CControlUI();
    ASSERT_TRUE(tab.Add(pFirst));
    ASSERT_TRUE(tab.Add(pSecond));
    EXPECT_EQ(0, tab.GetCurSel());
    tab.SetVisible(true);
    EXPECT_TRUE(pFirst->IsVisible());
    EXPECT_FALSE(pSecond->IsVisible());

    CTabLayoutUI empty;
    CControlUI* pHidden = new CControlUI();
    pHidden->SetVisible(false);
    ASSERT_TRUE(empty.Add(pHidden));
    EXPECT_EQ(-1, empty.GetCurSel());
    empty.SetPos(RECT{0, 0, 10, 10});
    EXPECT_FALSE(empty.Add(nullptr));
    EXPECT_FALSE(empty.Remove(nullptr));
}
