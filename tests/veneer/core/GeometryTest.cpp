#include "veneer/core/Geometry.h"
#include "veneer/core/Trace.h"
#include "veneer/core/WaitCursor.h"

#include <gtest/gtest.h>

using namespace Veneer;

TEST(UiRect, JoinExtendsEvenWithAnEmptyRectangle)
{
    CUiRect rc(10, 10, 20, 20);
    rc.Join(CUiRect(0, 15, 0, 15));
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(10, rc.top);
    EXPECT_EQ(20, rc.right);

    CUiRect u(10, 10, 20, 20);
    CUiRect empty(0, 15, 0, 15);
    u.Union(empty); // the system's union ignores empty rectangles
    EXPECT_EQ(10, u.left);
}

TEST(UiRect, NormalizeOffsetInflateDeflate)
{
    CUiRect rc(30, 40, 10, 20);
    rc.Normalize();
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(30, rc.right);
    EXPECT_EQ(40, rc.bottom);
    EXPECT_EQ(20, rc.GetWidth());
    rc.ResetOffset();
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(20, rc.right);
    rc.Offset(5, 5);
    rc.Deflate(2, 3);
    EXPECT_EQ(7, rc.left);
    EXPECT_EQ(8, rc.top);
    rc.Inflate(2, 3);
    EXPECT_EQ(25, rc.right);
    EXPECT_FALSE(rc.IsNull());
    rc.Empty();
    EXPECT_TRUE(rc.IsNull());
}

TEST(PointAndSize, PackedPositionsAreSignExtended)
{
    const CPoint p(MAKELPARAM(static_cast<WORD>(-5), 300));
    EXPECT_EQ(-5, p.x);
    EXPECT_EQ(300, p.y);
    const CSize s(CUiRect(10, 20, 110, 70));
    EXPECT_EQ(100, s.cx);
    EXPECT_EQ(50, s.cy);
}

TEST(TraceMsg, KnownNamesAndHexForTheRest)
{
    EXPECT_STREQ(L"WM_PAINT", UI__TraceMsg(WM_PAINT));
    EXPECT_STREQ(L"WM_GETTEXTLENGTH", UI__TraceMsg(WM_GETTEXTLENGTH));
    EXPECT_STREQ(L"0x0401", UI__TraceMsg(1025));
    EXPECT_STREQ(L"0x12345", UI__TraceMsg(0x12345));
}

TEST(WaitCursor, RestoresThePreviousCursor)
{
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), GetCursor());
    }
    EXPECT_EQ(arrow, GetCursor());
}
