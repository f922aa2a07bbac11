#include "veneer/control/ScrollBarUI.h"
#include "veneer/control/TileLayoutUI.h"

#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Veneer;

namespace
{

CControlUI* Sized(int cx, int cy)
{
    CControlUI* pChild = new CControlUI();
    pChild->SetFixedWidth(cx);
    pChild->SetFixedHeight(cy);
    return pChild;
}

// A tile layout at (0, 0, cx, cy) and its children, laid out.
class TileLayout : public ::testing::Test
{
  protected:
    CControlUI* Add(CControlUI* pChild)
    {
        m_children.push_back(pChild);
        EXPECT_TRUE(m_tile.Add(pChild));
        return pChild;
    }

    void AddSized(int nCount, int cx, int cy)
    {
        for (int i = 0; i < nCount; i++)
            Add(Sized(cx, cy));
    }

    void LayOut(int cx, int cy) { m_tile.SetPos(RECT{0, 0, cx, cy}); }

    std::string At(size_t i) const { return RectText(m_children[i]->GetPos()); }

    CTileLayoutUI m_tile;
    std::vector<CControlUI*> m_children;
};

} // namespace

TEST_F(TileLayout, ItemWidthGivesTheColumnsAndChildrenWrapIntoRows)
{
    m_tile.SetItemSize(SIZE{100, 50});
    AddSized(7, 80, 40);
    LayOut(300, 400);
    EXPECT_EQ("10,0,90,40", At(0));
    EXPECT_EQ("110,0,190,40", At(1));
    EXPECT_EQ("210,0,290,40", At(2));
    EXPECT_EQ("10,40,90,80", At(3));
    EXPECT_EQ("210,40,290,80", At(5));
    EXPECT_EQ("10,80,90,120", At(6));
}

TEST_F(TileLayout, ChildPaddingIsHalvedAtTheRowEnds)
{
    m_tile.SetItemSize(SIZE{100, 0});
    m_tile.SetChildPadding(10);
    AddSized(4, 50, 20);
    LayOut(300, 400);
    EXPECT_EQ("22,0,72,20", At(0));
    EXPECT_EQ("125,0,175,20", At(1));
    EXPECT_EQ("227,0,277,20", At(2));
    EXPECT_EQ("22,30,72,50", At(3));
}

TEST_F(TileLayout, RowIsAsHighAsItsHighestChildAndOthersAreCentred)
{
    m_tile.SetColumns(3);
    Add(Sized(0, 20));
    Add(Sized(0, 50));
    Add(Sized(0, 30));
    Add(Sized(0, 10));
    LayOut(300, 400);
    EXPECT_EQ("0,15,100,35", At(0));
    EXPECT_EQ("100,0,200,50", At(1));
    EXPECT_EQ("200,10,300,40", At(2));
    EXPECT_EQ("0,50,100,60", At(3));
}

TEST_F(TileLayout, PaddingShrinksTheTile)
{
    m_tile.SetColumns(3);
    CControlUI* pChild = Add(Sized(50, 20));
    pChild->SetPadding(RECT{5, 5, 5, 5});
    LayOut(300, 400);
    EXPECT_EQ("25,7,75,27", At(0));
}

TEST_F(TileLayout, ItemWiderThanTheLayoutGivesOneColumn)
{
    m_tile.SetItemSize(SIZE{400, 0});
    AddSized(2, 80, 40);
    LayOut(300, 400);
    EXPECT_EQ("110,0,190,40", At(0));
    EXPECT_EQ("110,40,190,80", At(1));
}

TEST_F(TileLayout, HiddenAndFloatingChildrenTakeNoTile)
{
    m_tile.SetColumns(2);
    Add(Sized(100, 10));
    Add(Sized(100, 10))->SetVisible(false);
    CControlUI* pFloat = Add(Sized(20, 20));
    pFloat->SetFloat(true);
    pFloat->SetFixedXY(SIZE{5, 5});
    Add(Sized(100, 10));
    LayOut(200, 100);
    EXPECT_EQ("0,0,100,10", At(0));
    EXPECT_EQ("0,0,0,0", At(1));
    EXPECT_EQ("5,5,25,25", At(2));
    EXPECT_EQ("100,0,200,10", At(3));
}

TEST_F(TileLayout, DegenerateSizesPlaceEmptyTiles)
{
    m_tile.SetColumns(0);
    m_tile.SetColumns(-3);
    AddSized(3, 0, 0);
    LayOut(0, 0);
    EXPECT_EQ("0,0,0,0", At(2));

    m_tile.SetInset(RECT{400, 400, 400, 400});
    m_tile.SetItemSize(SIZE{50, 50});
    LayOut(100, 100);
    EXPECT_EQ("400,400,400,400", At(0));
}

TEST_F(TileLayout, OverflowShowsTheBarAndScrollingMovesTheTiles)
{
    m_tile.EnableScrollBar(true, false);
    m_tile.SetItemSize(SIZE{100, 0});
    AddSized(7, 80, 40);
    LayOut(300, 100);
    CScrollBarUI* pBar = m_tile.GetVerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    // Two columns fit beside the bar: four rows of 40.
    EXPECT_EQ(160 - 100, pBar->GetScrollRange());
    EXPECT_EQ("31,0,111,40", At(0));
    EXPECT_EQ("31,120,111,160", At(6));

    m_tile.SetScrollPos(SIZE{0, 60});
    EXPECT_EQ("31,60,111,100", At(6));
    LayOut(300, 100);
    EXPECT_EQ("31,60,111,100", At(6));
    EXPECT_EQ(60, pBar->GetScrollRange());
}

TEST_F(TileLayout, NamesAndAttributes)
{
    EXPECT_STREQ(L"TileLayoutUI", m_tile.GetClass());
    EXPECT_EQ(&m_tile, m_tile.GetInterface(L"TileLayout"));
    EXPECT_NE(nullptr, m_tile.GetInterface(L"Container"));
    m_tile.SetAttribute(L"itemsize", L"120,30");
    EXPECT_EQ(120, m_tile.GetItemSize().cx);
    EXPECT_EQ(30, m_tile.GetItemSize().cy);
    m_tile.SetAttribute(L"columns", L"4");
    m_tile.SetAttribute(L"columns", L"0");
    EXPECT_EQ(4, m_tile.GetColumns());
    m_tile.SetAttribute(L"inset", L"1,2,3,4");
    EXPECT_EQ("1,2,3,4", RectText(m_tile.GetInset()));
}
