#include "veneer/control/ControlUI.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

SIZE FixedXY(const CControlUI& control)
{
    return control.GetFixedXY();
}

} // namespace

// A non-negative left or top is an offset from the parent's left or top
// edge; a negative one anchors the control to the far edge, the offset then
// being the right or bottom number.
TEST(ControlAttributes, PosGivesOffsetAndSize)
{
    const struct
    {
        LPCWSTR pstrPos;
        SIZE szXY;
        int cx;
        int cy;
    } cases[] = {
        {L"10,20,110,70", {10, 20}, 100, 50},
        {L"-60,10,-10,40", {-10, 10}, 50, 30},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.pstrPos);
        CControlUI control;
        control.SetAttribute(L"pos", c.pstrPos);
        EXPECT_EQ(FixedXY(control).cx, c.szXY.cx);
        EXPECT_EQ(FixedXY(control).cy, c.szXY.cy);
        EXPECT_EQ(control.GetFixedWidth(), c.cx);
        EXPECT_EQ(control.GetFixedHeight(), c.cy);
    }
}

TEST(ControlAttributes, ShortNumberListsReadZeroForTheMissingNumbers)
{
    CControlUI control;
    control.SetAttribute(L"padding", L"7");
    EXPECT_EQ(control.GetPadding().left, 7);
    EXPECT_EQ(control.GetPadding().top, 0);
    EXPECT_EQ(control.GetPadding().bottom, 0);

    // Exactly one separator is skipped: a blank after the comma ends the
    // number there.
    control.SetAttribute(L"padding", L"1, 2,3,4");
    EXPECT_EQ(control.GetPadding().left, 1);
    EXPECT_EQ(control.GetPadding().top, 2);
    control.SetAttribute(L"padding", L"1 ,2,3,4");
    EXPECT_EQ(control.GetPadding().top, 0);
    EXPECT_EQ(control.GetPadding().right, 2);

    // A size that comes out negative is ignored.
    control.SetAttribute(L"pos", L"10");
    EXPECT_EQ(FixedXY(control).cx, 10);
    EXPECT_EQ(control.GetFixedWidth(), 0);
}

TEST(ControlAttributes, ColoursAreHexadecimalWithAnOptionalHash)
{
    CControlUI control;
    control.SetAttribute(L"bkcolor", L"#FFFF0000");
    EXPECT_EQ(control.GetBkColor(), 0xFFFF0000u);
    control.SetAttribute(L"bkcolor", L"FF0000");
    EXPECT_EQ(control.GetBkColor(), 0x00FF0000u);
    control.SetAttribute(L"bkcolor1", L" \t#FF00FF00");
    EXPECT_EQ(control.GetBkColor(), 0xFF00FF00u);
    control.SetAttribute(L"bkcolor2", L"#80123456");
    EXPECT_EQ(control.GetBkColor2(), 0x80123456u);
    control.SetAttribute(L"bkcolor3", L"#FF654321");
    EXPECT_EQ(control.GetBkColor3(), 0xFF654321u);

    // Border colours skip only the hash: a leading blank makes them 0.
    control.SetAttribute(L"bordercolor", L"#FF0000FF");
    EXPECT_EQ(control.GetBorderColor(), 0xFF0000FFu);
    control.SetAttribute(L"focusbordercolor", L" #FF0000FF");
    EXPECT_EQ(control.GetFocusBorderColor(), 0u);
}

TEST(ControlAttributes, OneBorderSizeClearsTheSides)
{
    CControlUI control;
    control.SetAttribute(L"bordersize", L"1,2,3,4");
    EXPECT_EQ(control.GetBorderSize(), 0);
    EXPECT_EQ(control.GetLeftBorderSize(), 1);
    EXPECT_EQ(control.GetTopBorderSize(), 2);
    EXPECT_EQ(control.GetRightBorderSize(), 3);
    EXPECT_EQ(control.GetBottomBorderSize(), 4);

    control.SetAttribute(L"bordersize", L"2");
    EXPECT_EQ(control.GetBorderSize(), 2);
    EXPECT_EQ(control.GetLeftBorderSize(), 0);
    EXPECT_EQ(control.GetBottomBorderSize(), 0);

    control.SetAttribute(L"rightbordersize", L"5");
    control.SetAttribute(L"borderstyle", L"2");
    control.SetAttribute(L"borderround", L"6,8");
    EXPECT_EQ(control.GetRightBorderSize(), 5);
    EXPECT_EQ(control.GetBorderStyle(), PS_DOT);
    EXPECT_EQ(control.GetBorderRound().cx, 6);
    EXPECT_EQ(control.GetBorderRound().cy, 8);
}

TEST(ControlAttributes, OnlyLowerCaseTrueIsTrue)
{
    CControlUI control;
    control.SetAttribute(L"visible", L"True");
    EXPECT_FALSE(control.IsVisible());
    control.SetAttribute(L"visible", L"true");
    EXPECT_TRUE(control.IsVisible());
    control.SetAttribute(L"enabled", L"1");
    EXPECT_FALSE(control.IsEnabled());
    control.SetAttribute(L"mouse", L"false");
    control.SetAttribute(L"keyboard", L"TRUE");
    control.SetAttribute(L"float", L"true");
    control.SetAttribute(L"menu", L"true");
    control.SetAttribute(L"colorhsl", L"true");
    EXPECT_FALSE(control.IsMouseEnabled());
    EXPECT_FALSE(control.IsKeyboardEnabled());
    EXPECT_TRUE(control.IsFloat());
    EXPECT_TRUE(control.IsContextMenuUsed());
    EXPECT_TRUE(control.IsColorHSL());
}

TEST(ControlAttributes, TextsAndSizes)
{
    CControlUI control;
    control.SetAttribute(L"tooltip", L"first<n>second");
    EXPECT_STREQ(control.GetToolTip(), L"first\r\nsecond");
    control.SetAttribute(L"shortcut", L"xyz");
    EXPECT_EQ(control.GetShortcut(), L'x');
    control.SetAttribute(L"name", L"ok");
    control.SetAttribute(L"text", L"Hello");
    control.SetAttribute(L"userdata", L"data");
    control.SetAttribute(L"bkimage", L"file='a.png' corner='1,1,1,1'");
    EXPECT_STREQ(control.GetName(), L"ok");
    EXPECT_STREQ(control.GetText(), L"Hello");
    EXPECT_STREQ(control.GetUserData(), L"data");
    EXPECT_STREQ(control.GetBkImage(), L"file='a.png' corner='1,1,1,1'");

    control.SetAttribute(L"width", L"30");
    control.SetAttribute(L"height", L"-5");
    control.SetAttribute(L"minwidth", L"3");
    control.SetAttribute(L"minheight", L"4");
    control.SetAttribute(L"maxwidth", L"300");
    control.SetAttribute(L"maxheight", L"400");
    EXPECT_EQ(control.GetFixedWidth(), 30);
    EXPECT_EQ(control.GetFixedHeight(), 0);
    EXPECT_EQ(control.GetMinWidth(), 3);
    EXPECT_EQ(control.GetMinHeight(), 4);
    EXPECT_EQ(control.GetMaxWidth(), 300);
    EXPECT_EQ(control.GetMaxHeight(), 400);

    control.SetAttribute(L"relativepos", L"10,20,30,40");
    const TRelativePosUI relative = control.GetRelativePos();
    EXPECT_TRUE(control.IsRelativePos());
    EXPECT_EQ(relative.nMoveXPercent, 10);
    EXPECT_EQ(relative.nMoveYPercent, 20);
    EXPECT_EQ(relative.nZoomXPercent, 30);
    EXPECT_EQ(relative.nZoomYPercent, 40);
}

TEST(ControlAttributes, NamesAreCaseSensitiveAndUnknownOnesIgnored)
{
    CControlUI control;
    control.SetAttribute(L"Name", L"upper");
    control.SetAttribute(L"nosuchattribute", L"1");
    control.SetAttribute(L"name", nullptr);
    EXPECT_STREQ(control.GetName(), L"");
}

TEST(ControlAttributes, AttributeListPairsAreSeparatedByExactlyOneBlank)
{
    CControlUI one;
    EXPECT_EQ(one.ApplyAttributeList(L"name=\"a\" text=\"b c\""), &one);
    EXPECT_STREQ(one.GetName(), L"a");
    EXPECT_STREQ(one.GetText(), L"b c");

    CControlUI two;
    two.ApplyAttributeList(L"name=\"a\"  text=\"b\"");
    EXPECT_STREQ(two.GetName(), L"a");
    EXPECT_STREQ(two.GetText(), L"");

    // A value without its closing quote, or a name without a quoted value,
    // ends the list.
    CControlUI broken;
    broken.ApplyAttributeList(L"name=\"a\" text=b userdata=\"c\"");
    EXPECT_STREQ(broken.GetName(), L"a");
    EXPECT_STREQ(broken.GetUserData(), L"");
    broken.ApplyAttributeList(L"text=\"open");
    EXPECT_STREQ(broken.GetText(), L"");
    broken.ApplyAttributeList(L"text=\"x\"");
    EXPECT_STREQ(broken.GetText(), L"x");
    broken.ApplyAttributeList(L"text=\"\"");
    EXPECT_STREQ(broken.GetText(), L"");
}
