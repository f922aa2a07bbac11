// The drag bands of the flow layouts, driven by mouse messages sent to a
// real window whose manager owns the layouts.
#include "veneer/control/HorizontalLayoutUI.h"
#include "veneer/control/VerticalLayoutUI.h"

#include "LayoutTestSupport.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Veneer;

namespace
{

const DWORD kOpaqueWhite = 0xFFFFFFFF;
const DWORD kOpaqueBlue = 0xFF0000FF;
const int kWindowSize = 200;

// A 200 x 200 window whose root flow holds the dragged layout A (white,
// 100 along the flow, band of 4) and a blue stretched control B. In the
// vertical window A comes first with its band at the bottom; in the
// horizontal one A comes second with its band at the left.
class LayoutDrag : public ::testing::Test
{
  protected:
    void Build(bool bVertical)
    {
        ASSERT_TRUE(m_window.Create(&m_pm, kWindowSize, kWindowSize, 80, 80));
        m_pB = new CControlUI();
        m_pB->SetBkColor(kOpaqueBlue);
        if (bVertical)
        {
            CVerticalLayoutUI* pRoot = new CVerticalLayoutUI();
            m_pVertical = new CVerticalLayoutUI();
            m_pVertical->SetSepHeight(4);
            m_pVertical->SetFixedHeight(100);
            m_pA = m_pVertical;
            pRoot->Add(m_pA);
            pRoot->Add(m_pB);
            m_pRoot = pRoot;
        }
        else
        {
            CHorizontalLayoutUI* pRoot = new CHorizontalLayoutUI();
            m_pHorizontal = new CHorizontalLayoutUI();
            m_pHorizontal->SetSepWidth(-4);
            m_pHorizontal->SetFixedWidth(100);
            m_pA = m_pHorizontal;
            pRoot->Add(m_pB);
            pRoot->Add(m_pA);
            m_pRoot = pRoot;
        }
        m_pA->SetBkColor(kOpaqueWhite);
        ASSERT_TRUE(m_pm.AttachDialog(m_pRoot));
        Paint();
    }

    void TearDown() override { m_window.Destroy(); }

    void Paint()
    {
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE); }));
    }

    void Send(UINT uMsg, int x, int y)
    {
        const WPARAM wKeys = uMsg == WM_LBUTTONUP ? 0 : MK_LBUTTON;
        ::SendMessageW(m_window.GetHWND(), uMsg, wKeys, MAKELPARAM(x, y));
    }
    void Down(int x, int y) { Send(WM_LBUTTONDOWN, x, y); }
    void Move(int x, int y) { Send(WM_MOUSEMOVE, x, y); }
    void Up(int x, int y) { Send(WM_LBUTTONUP, x, y); }

    DWORD PixelAt(int x, int y)
    {
        CTestSurface surface(kWindowSize, kWindowSize);
        CaptureClient(m_window.GetHWND(), surface);
        return surface.Rgb(x, y);
    }

    static bool IsGrey(DWORD dwRgb, int nLevel)
    {
        for (int nShift = 0; nShift <= 16; nShift += 8)
        {
            if (std::abs(static_cast<int>((dwRgb >> nShift) & 0xFF) - nLevel) > 2)
                return false;
        }
        return true;
    }

    CPaintManagerUI m_pm;
    CTestWindow m_window;
    CContainerUI* m_pRoot = nullptr;
    CFlowLayoutUI* m_pA = nullptr;
    CVerticalLayoutUI* m_pVertical = nullptr;
    CHorizontalLayoutUI* m_pHorizontal = nullptr;
    CControlUI* m_pB = nullptr;
};

} // namespace

TEST_F(LayoutDrag, ImmediateDragResizesAndRelaysOutOnEveryMove)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    m_pA->SetSepImmMode(true);
    EXPECT_EQ("0,96,200,100", RectText(m_pA->GetThumbRect()));

    Down(100, 98);
    EXPECT_EQ(0, m_pm.GetPostPaintCount());
    Move(100, 120);
    EXPECT_EQ(122, m_pA->GetFixedHeight());
    EXPECT_EQ("0,0,200,122", RectText(m_pA->GetPos()));
    Paint();
    EXPECT_EQ("0,122,200,200", RectText(m_pB->GetPos()));

    Move(100, 110);
    EXPECT_EQ(112, m_pA->GetFixedHeight());
    Paint();
    EXPECT_EQ("0,112,200,200", RectText(m_pB->GetPos()));

    Up(100, 110);
    Paint();
    EXPECT_EQ("0,0,200,112", RectText(m_pA->GetPos()));
    EXPECT_EQ(kOpaqueWhite & 0xFFFFFF, PixelAt(100, 105));
}

TEST_F(LayoutDrag, PostPaintDragShowsTheBandUntilRelease)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    Down(100, 98);
    EXPECT_EQ(1, m_pm.GetPostPaintCount());
    Move(100, 130);
    EXPECT_EQ(132, m_pA->GetFixedHeight());
    Paint();
    EXPECT_EQ("0,128,200,132", RectText(m_pA->GetThumbRect(true)));
    // Black at alpha 0xAA over white leaves 0x55 of each colour.
    EXPECT_TRUE(IsGrey(PixelAt(100, 130), 0x55)) << std::hex << PixelAt(100, 130);
    EXPECT_EQ(0xFFFFFFu, PixelAt(100, 126));

    Up(100, 130);
    EXPECT_EQ(0, m_pm.GetPostPaintCount());
    Paint();
    EXPECT_EQ(0xFFFFFFu, PixelAt(100, 130));
    EXPECT_EQ("0,0,200,132", RectText(m_pA->GetPos()));
    EXPECT_EQ("0,132,200,200", RectText(m_pB->GetPos()));
}

TEST_F(LayoutDrag, SwitchingToImmediateModeMidDragStopsThePostPaint)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    Down(100, 98);
    ASSERT_EQ(1, m_pm.GetPostPaintCount());
    m_pA->SetSepImmMode(true);
    EXPECT_EQ(0, m_pm.GetPostPaintCount());
    Move(100, 90);
    EXPECT_EQ("0,0,200,92", RectText(m_pA->GetPos()));
    Up(100, 90);
}

TEST_F(LayoutDrag, EdgeFollowsSmallMovesThatStartInTheBand)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    m_pA->SetSepImmMode(true);
    Down(100, 98);
    // Past the edge by less than the band's size, and back into the band.
    Move(100, 101);
    EXPECT_EQ(103, m_pA->GetFixedHeight());
    Move(100, 99);
    EXPECT_EQ(101, m_pA->GetFixedHeight());
    Up(100, 99);
}

TEST_F(LayoutDrag, SecondPressWithoutReleaseListsTheLayoutOnce)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    Down(100, 98);
    Down(100, 98);
    EXPECT_EQ(1, m_pm.GetPostPaintCount());
    Up(100, 98);
    EXPECT_EQ(0, m_pm.GetPostPaintCount());
}

TEST_F(LayoutDrag, PressOutsideTheBandOrWhileDisabledDoesNotDrag)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    Down(100, 50);
    Move(100, 80);
    Up(100, 80);
    EXPECT_EQ(100, m_pA->GetFixedHeight());

    m_pA->SetEnabled(false);
    Down(100, 98);
    Move(100, 150);
    Up(100, 150);
    EXPECT_EQ(100, m_pA->GetFixedHeight());
    EXPECT_EQ(0, m_pm.GetPostPaintCount());
}

TEST_F(LayoutDrag, LimitsStopTheEdgeAndMovesOnTheWrongSideAreIgnored)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    m_pA->SetSepImmMode(true);
    m_pA->SetMinHeight(80);
    m_pA->SetMaxHeight(150);
    Paint();

    Down(100, 98);
    Move(100, 20);
    EXPECT_EQ(80, m_pA->GetFixedHeight());
    Move(100, 10);
    EXPECT_EQ(80, m_pA->GetFixedHeight());
    // Downwards while the mouse is still above the band.
    Move(100, 30);
    EXPECT_EQ(80, m_pA->GetFixedHeight());
    Up(100, 30);
    Paint();

    Down(100, 78);
    Move(100, 190);
    EXPECT_EQ(150, m_pA->GetFixedHeight());
    Move(100, 195);
    EXPECT_EQ(150, m_pA->GetFixedHeight());
    // Upwards while the mouse is below the edge.
    Move(100, 185);
    EXPECT_EQ(150, m_pA->GetFixedHeight());
    Up(100, 185);
    Paint();
    EXPECT_EQ("0,150,200,200", RectText(m_pB->GetPos()));
}

TEST_F(LayoutDrag, HorizontalBandAtTheLeftEdgeDragsTheLeftEdge)
{
    ASSERT_NO_FATAL_FAILURE(Build(false));
    m_pA->SetSepImmMode(true);
    EXPECT_EQ("100,0,200,200", RectText(m_pA->GetPos()));
    EXPECT_EQ("100,0,104,200", RectText(m_pA->GetThumbRect()));

    Down(102, 50);
    Move(80, 60);
    EXPECT_EQ(122, m_pA->GetFixedWidth());
    EXPECT_EQ("78,0,200,200", RectText(m_pA->GetPos()));
    Paint();
    EXPECT_EQ("0,0,78,200", RectText(m_pB->GetPos()));
    Up(80, 60);
    Paint();
    EXPECT_EQ("78,0,200,200", RectText(m_pA->GetPos()));
}

TEST_F(LayoutDrag, CursorOverTheBandShowsTheResizeArrows)
{
    ASSERT_NO_FATAL_FAILURE(Build(true));
    TEventUI event = CPaintManagerUI::NewEvent(EventSetCursor, m_pA);
    event.ptMouse = POINT{100, 98};
    m_pA->Event(event);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENS), ::GetCursor());
    event.ptMouse = POINT{100, 50};
    m_pA->Event(event);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), ::GetCursor());
}

TEST_F(LayoutDrag, HorizontalCursorShowsTheSidewaysArrows)
{
    ASSERT_NO_FATAL_FAILURE(Build(false));
    TEventUI event = CPaintManagerUI::NewEvent(EventSetCursor, m_pA);
    event.ptMouse = POINT{101, 50};
    m_pA->Event(event);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZEWE), ::GetCursor());
}
