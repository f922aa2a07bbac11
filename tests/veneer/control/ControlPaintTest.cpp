#include "veneer/control/ControlUI.h"

#include "TestWindow.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

const DWORD kWhite = 0x00FFFFFF;
const DWORD kRed = 0x00FF0000;
const DWORD kGreen = 0x0000FF00;
const DWORD kBlue = 0x000000FF;

RECT Rect(int l, int t, int r, int b)
{
    RECT rc{l, t, r, b};
    return rc;
}

BYTE Red(DWORD dw)
{
    return static_cast<BYTE>(dw >> 16);
}

BYTE Green(DWORD dw)
{
    return static_cast<BYTE>(dw >> 8);
}

BYTE Blue(DWORD dw)
{
    return static_cast<BYTE>(dw);
}

// A control at (10, 10, 50, 50) of a windowless manager, painted onto a
// white 60 x 60 surface.
class ControlPaint : public ::testing::Test
{
  protected:
    ControlPaint() : m_surface(60, 60)
    {
        m_control.SetManager(&m_pm, nullptr, false);
        m_control.SetPos(Rect(10, 10, 50, 50));
    }

    void Paint() { m_control.DoPaint(m_surface.GetDC(), Rect(0, 0, 60, 60)); }

    CPaintManagerUI m_pm;
    CControlUI m_control;
    CTestSurface m_surface;
};

} // namespace

TEST_F(ControlPaint, OpaqueBackgroundFillsThePaintedPartOfTheItem)
{
    m_control.SetAttribute(L"bkcolor", L"#FFFF0000");
    m_control.DoPaint(m_surface.GetDC(), Rect(0, 0, 30, 60));
    EXPECT_EQ(m_surface.Rgb(10, 10), kRed);
    EXPECT_EQ(m_surface.Rgb(29, 49), kRed);
    EXPECT_EQ(m_surface.Rgb(30, 10), kWhite);
    EXPECT_EQ(m_surface.Rgb(9, 10), kWhite);
    EXPECT_EQ(m_surface.Rgb(10, 50), kWhite);
}

TEST_F(ControlPaint, ColourWithoutAlphaPaintsNothing)
{
    m_control.SetAttribute(L"bkcolor", L"FF0000");
    Paint();
    EXPECT_EQ(m_surface.Rgb(30, 30), kWhite);
}

TEST_F(ControlPaint, HalfTransparentBackgroundBlendsOverTheWholeItem)
{
    m_control.SetBkColor(0x80FF0000);
    // Blended colours cover the item rect even outside the paint rect.
    m_control.DoPaint(m_surface.GetDC(), Rect(0, 0, 30, 60));
    const DWORD dwPixel = m_surface.Rgb(40, 40);
    EXPECT_EQ(Red(dwPixel), 0xFF);
    EXPECT_NEAR(Green(dwPixel), 0x7F, 1);
    EXPECT_NEAR(Blue(dwPixel), 0x7F, 1);
    EXPECT_EQ(m_surface.Rgb(20, 20), dwPixel);
    EXPECT_EQ(m_surface.Rgb(5, 5), kWhite);
}

TEST_F(ControlPaint, TwoColoursMakeOneVerticalGradient)
{
    m_control.SetBkColor(0xFFFF0000);
    m_control.SetBkColor2(0xFF0000FF);
    Paint();
    EXPECT_GT(Red(m_surface.Rgb(30, 10)), 0xF0);
    EXPECT_LT(Blue(m_surface.Rgb(30, 10)), 0x10);
    EXPECT_GT(Blue(m_surface.Rgb(30, 49)), 0xF0);
    EXPECT_LT(Red(m_surface.Rgb(30, 49)), 0x10);
    // Rows vary, columns do not.
    EXPECT_EQ(m_surface.Rgb(11, 30), m_surface.Rgb(48, 30));
}

TEST_F(ControlPaint, ThreeColoursMakeTwoGradientsSplitAtTheMiddle)
{
    m_control.SetBkColor(0xFFFF0000);
    m_control.SetBkColor2(0xFF00FF00);
    m_control.SetBkColor3(0xFF0000FF);
    Paint();
    EXPECT_GT(Red(m_surface.Rgb(30, 10)), 0xF0);
    // The middle row (30) starts the lower half with the second colour.
    EXPECT_GT(Green(m_surface.Rgb(30, 30)), 0xF0);
    EXPECT_LT(Red(m_surface.Rgb(30, 30)), 0x10);
    EXPECT_GT(Blue(m_surface.Rgb(30, 49)), 0xF0);
}

TEST_F(ControlPaint, UniformBorderIsDrawnInsideTheItem)
{
    m_control.SetAttribute(L"bkcolor", L"#FFFFFFFF");
    m_control.SetAttribute(L"bordercolor", L"#FF0000FF");
    m_control.SetAttribute(L"bordersize", L"1,1,1,1");
    m_control.SetAttribute(L"bordersize", L"2");
    Paint();
    EXPECT_EQ(m_surface.Rgb(10, 30), kBlue);
    EXPECT_EQ(m_surface.Rgb(11, 30), kBlue);
    EXPECT_EQ(m_surface.Rgb(12, 30), kWhite);
    EXPECT_EQ(m_surface.Rgb(49, 30), kBlue);
    EXPECT_EQ(m_surface.Rgb(48, 30), kBlue);
    EXPECT_EQ(m_surface.Rgb(47, 30), kWhite);
    EXPECT_EQ(m_surface.Rgb(30, 10), kBlue);
    EXPECT_EQ(m_surface.Rgb(30, 49), kBlue);
}

TEST_F(ControlPaint, FocusColourReplacesTheUniformBorderOfTheFocusedControl)
{
    m_control.SetBorderColor(0xFF0000FF);
    m_control.SetFocusBorderColor(0xFF00FF00);
    m_control.SetBorderSize(1);
    Paint();
    EXPECT_EQ(m_surface.Rgb(10, 30), kBlue);
    m_pm.SetFocus(&m_control);
    ASSERT_TRUE(m_control.IsFocused());
    Paint();
    EXPECT_EQ(m_surface.Rgb(10, 30), kGreen);
}

TEST_F(ControlPaint, PerSideBordersAreLinesAlongTheEdgesWithoutFocusColour)
{
    m_control.SetBorderColor(0xFF0000FF);
    m_control.SetFocusBorderColor(0xFF00FF00);
    m_control.SetLeftBorderSize(1);
    m_control.SetBottomBorderSize(1);
    m_pm.SetFocus(&m_control);
    Paint();
    EXPECT_EQ(m_surface.Rgb(10, 30), kBlue);
    // The bottom line runs along y = bottom, just outside the item.
    EXPECT_EQ(m_surface.Rgb(30, 50), kBlue);
    EXPECT_EQ(m_surface.Rgb(30, 10), kWhite);
    EXPECT_EQ(m_surface.Rgb(49, 30), kWhite);
}

TEST_F(ControlPaint, NoBorderColourNoBorder)
{
    m_control.SetBorderSize(3);
    Paint();
    EXPECT_EQ(m_surface.Rgb(10, 30), kWhite);
}

TEST_F(ControlPaint, RoundBorderClipsTheBackgroundAtTheCorners)
{
    m_control.SetBkColor(0xFFFF0000);
    m_control.SetBorderColor(0xFF0000FF);
    m_control.SetBorderSize(1);
    m_control.SetBorderRound(SIZE{16, 16});
    Paint();
    EXPECT_EQ(m_surface.Rgb(10, 10), kWhite);
    EXPECT_EQ(m_surface.Rgb(49, 49), kWhite);
    EXPECT_EQ(m_surface.Rgb(10, 30), kBlue);
    EXPECT_EQ(m_surface.Rgb(30, 30), kRed);
    // The clip is gone after painting.
    RECT rcClip{};
    ::GetClipBox(m_surface.GetDC(), &rcClip);
    EXPECT_EQ(rcClip.right, 60);
}

TEST_F(ControlPaint, BackgroundImageIsDrawnFromTheImageTable)
{
    CTestSurface bitmap(2, 2, 0xFF00FF00);
    HBITMAP hBitmap = static_cast<HBITMAP>(::GetCurrentObject(bitmap.GetDC(), OBJ_BITMAP));
    HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(m_pm.AddImage(L"green", hCopy, 2, 2, false), nullptr);
    m_control.SetBkImage(L"green");
    Paint();
    EXPECT_EQ(m_surface.Rgb(10, 10), kGreen);
    EXPECT_EQ(m_surface.Rgb(49, 49), kGreen);
    EXPECT_STREQ(m_control.GetBkImage(), L"green");
}

TEST(ControlPaintAlone, ImageThatCannotBeDrawnIsForgotten)
{
    // Without a manager there is no image table to draw from.
    CControlUI control;
    control.SetPos(Rect(0, 0, 10, 10));
    control.SetBkImage(L"missing.png");
    CTestSurface surface(10, 10);
    control.DoPaint(surface.GetDC(), Rect(0, 0, 10, 10));
    EXPECT_STREQ(control.GetBkImage(), L"");
}

TEST_F(ControlPaint, HslShiftAppliesOnlyToColourHslControls)
{
    m_control.SetBkColor(0xFFFF0000);
    CPaintManagerUI::SetHSL(true, 300, 100, 100);
    Paint();
    EXPECT_EQ(m_surface.Rgb(30, 30), kRed);
    m_control.SetColorHSL(true);
    EXPECT_NE(m_control.GetAdjustColor(0xFFFF0000), 0xFFFF0000u);
    Paint();
    EXPECT_NE(m_surface.Rgb(30, 30), kRed);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    EXPECT_EQ(m_control.GetAdjustColor(0xFFFF0000), 0xFFFF0000u);
}

TEST_F(ControlPaint, NothingOutsideThePaintRectangle)
{
    m_control.SetBkColor(0xFFFF0000);
    m_control.DoPaint(m_surface.GetDC(), Rect(0, 0, 5, 5));
    EXPECT_EQ(m_surface.Rgb(30, 30), kWhite);
}
