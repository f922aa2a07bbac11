#include "veneer/control/HorizontalLayoutUI.h"
#include "veneer/control/ScrollBarUI.h"
#include "veneer/control/VerticalLayoutUI.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Veneer;

namespace
{

ChildShape Fixed(int nMain)
{
    ChildShape shape;
    shape.nMain = nMain;
    return shape;
}

ChildShape Stretch()
{
    return ChildShape();
}

ChildShape WithMin(ChildShape shape, int nMin)
{
    shape.nMinMain = nMin;
    return shape;
}

ChildShape WithMax(ChildShape shape, int nMax)
{
    shape.nMaxMain = nMax;
    return shape;
}

ChildShape WithCross(ChildShape shape, int nCross)
{
    shape.nCross = nCross;
    return shape;
}

ChildShape WithPadding(ChildShape shape, RECT rcPadding)
{
    shape.rcPadding = rcPadding;
    return shape;
}

ChildShape Hidden(ChildShape shape)
{
    shape.bHidden = true;
    return shape;
}

// Floating at the fixed position (left, top) with the size of the rect.
ChildShape Floating(RECT rcFloat)
{
    ChildShape shape;
    shape.bFloat = true;
    shape.rcFloat = rcFloat;
    return shape;
}

// One layout, described for the vertical flow; the horizontal flow runs the
// same case with x and y exchanged.
struct FlowCase
{
    const char* pszName;
    SIZE szLayout;
    RECT rcInset;
    int iChildPadding;
    std::vector<ChildShape> children;
    std::vector<RECT> expected;
};

const RECT kNoInset{0, 0, 0, 0};

std::vector<FlowCase> FlowCases()
{
    return {
        {"fixed child then adjustable child",
         {200, 300},
         kNoInset,
         0,
         {Fixed(100), Stretch()},
         {{0, 0, 200, 100}, {0, 100, 200, 300}}},
        {"child padding: the last adjustable leaves the last gap empty",
         {200, 300},
         kNoInset,
         10,
         {Fixed(100), Stretch()},
         {{0, 0, 200, 100}, {0, 110, 200, 290}}},
        {"rounding remainder goes to the last adjustable",
         {200, 301},
         kNoInset,
         0,
         {Stretch(), Stretch()},
         {{0, 0, 200, 150}, {0, 150, 200, 301}}},
        {"three adjustables share 100",
         {200, 100},
         kNoInset,
         0,
         {Stretch(), Stretch(), Stretch()},
         {{0, 0, 200, 33}, {0, 33, 200, 66}, {0, 66, 200, 100}}},
        {"padding after the child lies inside its rect",
         {200, 300},
         kNoInset,
         0,
         {WithPadding(Fixed(20), {5, 5, 5, 5}), Fixed(10)},
         {{5, 5, 195, 30}, {0, 30, 200, 40}}},
        {"minimum above the share",
         {200, 300},
         kNoInset,
         0,
         {WithMin(Stretch(), 200), Stretch()},
         {{0, 0, 200, 200}, {0, 200, 200, 300}}},
        {"maximum below the share",
         {200, 300},
         kNoInset,
         0,
         {WithMax(Stretch(), 50), Stretch()},
         {{0, 0, 200, 50}, {0, 50, 200, 300}}},
        {"maximum wins over a larger minimum",
         {200, 300},
         kNoInset,
         0,
         {WithMax(WithMin(Fixed(60), 80), 40)},
         {{0, 0, 200, 40}}},
        {"hidden and floating children stay out of the flow",
         {200, 300},
         kNoInset,
         0,
         {Fixed(100), Hidden(Fixed(50)), Floating({10, 10, 30, 30}), Stretch()},
         {{0, 0, 200, 100}, {0, 0, 0, 0}, {10, 10, 30, 30}, {0, 100, 200, 300}}},
        {"cross size fixed, or the space less the padding",
         {200, 300},
         kNoInset,
         0,
         {WithCross(Fixed(50), 120), WithPadding(Fixed(50), {10, 0, 30, 0})},
         {{0, 0, 120, 50}, {10, 50, 170, 100}}},
        {"inset", {200, 300}, {10, 20, 30, 40}, 0, {Stretch()}, {{10, 20, 170, 260}}},
        {"fixed children larger than the space overflow it",
         {200, 300},
         kNoInset,
         0,
         {Fixed(200), Fixed(200), Stretch()},
         {{0, 0, 200, 200}, {0, 200, 200, 400}, {0, 400, 200, 400}}},
        {"negative child padding overlaps children",
         {200, 300},
         kNoInset,
         -10,
         {Fixed(100), Fixed(100)},
         {{0, 0, 200, 100}, {0, 90, 200, 190}}},
        {"inset larger than the layout leaves an empty area",
         {200, 300},
         {500, 500, 500, 500},
         0,
         {Stretch(), Fixed(10)},
         {{500, 500, 500, 500}, {500, 500, 500, 510}}},
        {"only hidden and floating children",
         {200, 300},
         kNoInset,
         10,
         {Hidden(Stretch()), Floating({-50, -30, -10, -10})},
         {{0, 0, 0, 0}, {110, 250, 150, 270}}},
    };
}

std::unique_ptr<CFlowLayoutUI> MakeFlow(bool bVertical)
{
    if (bVertical)
        return std::unique_ptr<CFlowLayoutUI>(new CVerticalLayoutUI());
    return std::unique_ptr<CFlowLayoutUI>(new CHorizontalLayoutUI());
}

void RunFlowCase(const FlowCase& test, bool bVertical)
{
    SCOPED_TRACE(std::string(test.pszName) + (bVertical ? " (vertical)" : " (horizontal)"));
    std::unique_ptr<CFlowLayoutUI> pLayout = MakeFlow(bVertical);
    pLayout->SetInset(bVertical ? test.rcInset : Transposed(test.rcInset));
    pLayout->SetChildPadding(test.iChildPadding);
    std::vector<CControlUI*> children;
    for (const ChildShape& shape : test.children)
    {
        children.push_back(MakeChild(shape, bVertical));
        ASSERT_TRUE(pLayout->Add(children.back()));
    }
    const RECT rcLayout{0, 0, test.szLayout.cx, test.szLayout.cy};
    pLayout->SetPos(bVertical ? rcLayout : Transposed(rcLayout));
    ASSERT_EQ(children.size(), test.expected.size());
    for (size_t i = 0; i < children.size(); i++)
    {
        const RECT rcExpected = bVertical ? test.expected[i] : Transposed(test.expected[i]);
        EXPECT_EQ(RectText(rcExpected), RectText(children[i]->GetPos())) << "child " << i;
    }
}

} // namespace

TEST(FlowLayout, VerticalPlacesEveryChildAsTheTableSays)
{
    for (const FlowCase& test : FlowCases())
        RunFlowCase(test, true);
}

TEST(FlowLayout, HorizontalIsTheVerticalFlowWithAxesExchanged)
{
    for (const FlowCase& test : FlowCases())
        RunFlowCase(test, false);
}

TEST(FlowLayout, EmptyLayoutsAndLayoutsWithoutAreaPlaceNothing)
{
    CVerticalLayoutUI empty;
    empty.EnableScrollBar(true, true);
    empty.SetPos(RECT{0, 0, 100, 100});
    EXPECT_FALSE(empty.GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ("0,84,100,100", RectText(empty.GetHorizontalScrollBar()->GetPos()));

    CHorizontalLayoutUI emptyRow;
    emptyRow.EnableScrollBar(false, true);
    emptyRow.SetPos(RECT{0, 0, 100, 100});
    // The horizontal bar of an empty row stays inside the row.
    EXPECT_EQ("0,84,100,100", RectText(emptyRow.GetHorizontalScrollBar()->GetPos()));

    CVerticalLayoutUI flat;
    CControlUI* pChild = new CControlUI();
    flat.Add(pChild);
    flat.SetPos(RECT{10, 10, 10, 10});
    EXPECT_EQ("10,10,10,10", RectText(pChild->GetPos()));
}

// A vertical layout 200 x 300 with a vertical scroll bar and a child whose
// minimum is larger than the layout.
class VerticalScrolling : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_layout.EnableScrollBar(true, false);
        m_pTall = new CControlUI();
        m_pTall->SetMinHeight(400);
        m_pBelow = new CControlUI();
        m_pBelow->SetFixedHeight(50);
        m_layout.Add(m_pTall);
        m_layout.Add(m_pBelow);
        m_layout.SetPos(RECT{0, 0, 200, 300});
    }

    CScrollBarUI* Bar() { return m_layout.GetVerticalScrollBar(); }

    CVerticalLayoutUI m_layout;
    CControlUI* m_pTall = nullptr;
    CControlUI* m_pBelow = nullptr;
};

TEST_F(VerticalScrolling, OverflowShowsTheBarWithTheExcessAsRange)
{
    ASSERT_TRUE(Bar()->IsVisible());
    EXPECT_EQ(450 - 300, Bar()->GetScrollRange());
    // The children make room for the bar.
    EXPECT_EQ("0,0,184,400", RectText(m_pTall->GetPos()));
    EXPECT_EQ("0,400,184,450", RectText(m_pBelow->GetPos()));
    EXPECT_EQ("184,0,200,300", RectText(Bar()->GetPos()));
}

TEST_F(VerticalScrolling, ScrollingMovesChildrenByExactlyThePosition)
{
    m_layout.SetScrollPos(SIZE{0, 37});
    EXPECT_EQ("0,-37,184,363", RectText(m_pTall->GetPos()));
    EXPECT_EQ("0,363,184,413", RectText(m_pBelow->GetPos()));
    // A new layout pass keeps the offset.
    m_layout.SetPos(RECT{0, 0, 200, 300});
    EXPECT_EQ("0,-37,184,363", RectText(m_pTall->GetPos()));
    EXPECT_EQ(37, Bar()->GetScrollPos());
}

TEST_F(VerticalScrolling, ContentThatFitsAgainHidesTheBar)
{
    m_pTall->SetMinHeight(100);
    m_layout.SetPos(RECT{0, 0, 200, 300});
    EXPECT_FALSE(Bar()->IsVisible());
    EXPECT_EQ("0,0,200,250", RectText(m_pTall->GetPos()));
}

TEST(FlowLayout, HorizontalBarRangeWidensTheFlowAndItsPositionShiftsIt)
{
    CVerticalLayoutUI column;
    column.EnableScrollBar(false, true);
    CControlUI* pInColumn = new CControlUI();
    column.Add(pInColumn);
    column.GetHorizontalScrollBar()->SetScrollRange(100);
    column.GetHorizontalScrollBar()->SetScrollPos(30);
    column.SetPos(RECT{0, 0, 200, 300});
    EXPECT_EQ("-30,0,270,284", RectText(pInColumn->GetPos()));

    CHorizontalLayoutUI row;
    row.EnableScrollBar(false, true);
    CControlUI* pLeft = new CControlUI();
    CControlUI* pRight = new CControlUI();
    row.Add(pLeft);
    row.Add(pRight);
    row.GetHorizontalScrollBar()->SetScrollRange(100);
    row.GetHorizontalScrollBar()->SetScrollPos(50);
    row.SetPos(RECT{0, 0, 300, 200});
    EXPECT_EQ("-50,0,150,184", RectText(pLeft->GetPos()));
    EXPECT_EQ("150,0,350,184", RectText(pRight->GetPos()));
    EXPECT_EQ("0,184,300,200", RectText(row.GetHorizontalScrollBar()->GetPos()));
}

TEST(FlowLayout, NamesAndAttributes)
{
    CVerticalLayoutUI column;
    EXPECT_STREQ(L"VerticalLayoutUI", column.GetClass());
    EXPECT_EQ(&column, column.GetInterface(L"VerticalLayout"));
    EXPECT_NE(nullptr, column.GetInterface(L"Container"));
    EXPECT_EQ(nullptr, column.GetInterface(L"HorizontalLayout"));
    column.SetAttribute(L"sepheight", L"-6");
    column.SetAttribute(L"sepimm", L"true");
    column.SetAttribute(L"childpadding", L"4");
    EXPECT_EQ(-6, column.GetSepHeight());
    EXPECT_TRUE(column.IsSepImmMode());
    EXPECT_EQ(4, column.GetChildPadding());

    CHorizontalLayoutUI row;
    EXPECT_STREQ(L"HorizontalLayoutUI", row.GetClass());
    EXPECT_EQ(&row, row.GetInterface(L"HorizontalLayout"));
    EXPECT_EQ(nullptr, row.GetInterface(L"VerticalLayout"));
    row.SetAttribute(L"sepwidth", L"5");
    row.SetAttribute(L"sepimm", L"yes");
    row.SetAttribute(L"sepheight", L"9");
    EXPECT_EQ(5, row.GetSepWidth());
    EXPECT_FALSE(row.IsSepImmMode());
}

TEST(FlowLayout, DragBandLiesAtTheEdgeTheSeparatorNames)
{
    CVerticalLayoutUI column;
    column.SetPos(RECT{0, 0, 200, 100});
    EXPECT_EQ(0u, column.GetControlFlags());
    column.SetSepHeight(4);
    EXPECT_EQ("0,96,200,100", RectText(column.GetThumbRect()));
    EXPECT_EQ(FlagSetCursor, column.GetControlFlags());
    column.SetSepHeight(-4);
    EXPECT_EQ("0,0,200,4", RectText(column.GetThumbRect()));
    column.SetSepHeight(500);
    EXPECT_EQ("0,0,200,100", RectText(column.GetThumbRect()));
    column.SetEnabled(false);
    EXPECT_EQ(0u, column.GetControlFlags());

    CHorizontalLayoutUI row;
    row.SetPos(RECT{10, 0, 110, 50});
    row.SetSepWidth(4);
    EXPECT_EQ("106,0,110,50", RectText(row.GetThumbRect()));
    row.SetSepWidth(-4);
    EXPECT_EQ("10,0,14,50", RectText(row.GetThumbRect()));
    // A band wider than the layout stays within it.
    row.SetSepWidth(-400);
    EXPECT_EQ("10,0,110,50", RectText(row.GetThumbRect()));
    row.SetSepWidth(400);
    EXPECT_EQ("10,0,110,50", RectText(row.GetThumbRect()));
}
