#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace Veneer;

namespace
{

const UINT kOneLine = DT_SINGLELINE;
const int kWide = 9999;
const POINT kNoMouse{-1, -1};

// The extent that measuring gives for a text in a rectangle `cx` wide.
SIZE Measure(CResourceTables& pm, HDC hDC, const wchar_t* text, UINT uStyle = kOneLine, int cx = kWide)
{
    RECT rc{0, 0, cx, kWide};
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(hDC, &pm, rc, text, 0xFF000000, nullptr, nullptr, nLinks,
                                uStyle | DT_CALCRECT, kNoMouse, false);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void Draw(CResourceTables& pm, Canvas& canvas, const wchar_t* text, RECT rc, UINT uStyle = kOneLine)
{
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, text, 0xFF000000, nullptr, nullptr, nLinks, uStyle,
                                kNoMouse, false);
}

// Draws with room for `N` links and keeps what the call reported.
template <int N> struct Links
{
    RECT rc[N] = {};
    CUiString target[N];
    int count = 0;

    void Draw(CResourceTables& pm, HDC hDC, const wchar_t* text, RECT rcText, UINT uStyle,
              POINT ptMouse = kNoMouse, int capacity = N)
    {
        count = capacity;
        CRenderEngine::DrawHtmlText(hDC, &pm, rcText, text, 0xFF000000, rc, target, count, uStyle, ptMouse,
                                    false);
    }
};

bool IsDark(DWORD p)
{
    return ChannelOf(p, 16) < 0x80 && ChannelOf(p, 8) < 0x80 && ChannelOf(p, 0) < 0x80;
}

int TextWidth(CResourceTables& pm, HDC hDC, const wchar_t* text)
{
    return CRenderEngine::GetTextSize(hDC, &pm, text, -1, 0).cx;
}

int LineHeight(CResourceTables& pm)
{
    const TEXTMETRICW& tm = pm.GetDefaultFontInfo()->tm;
    return tm.tmHeight + tm.tmExternalLeading;
}

// The leftmost and rightmost columns of `rc` that hold a pixel satisfying
// `test`; -1 when there is none.
std::pair<int, int> ColumnsWith(const Canvas& canvas, const RECT& rc, bool (*test)(DWORD))
{
    int first = -1, last = -1;
    for (int x = rc.left; x < rc.right; x++)
    {
        if (canvas.Count(RECT{x, rc.top, x + 1, rc.bottom}, test) > 0)
        {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return {first, last};
}

} // namespace

TEST(HtmlText, BoldIsWiderAndBothBracketKindsAreInterchangeable)
{
    CResourceTables pm;
    Canvas canvas(10, 10, Opaque(kWhite));
    const int plain = Measure(pm, canvas.DC(), L"Hello").cx;
    const int bold = Measure(pm, canvas.DC(), L"<b>Hello</b>").cx;
    EXPECT_EQ(plain, TextWidth(pm, canvas.DC(), L"Hello"));
    EXPECT_GT(bold, plain);
    for (const wchar_t* text : {L"{b}Hello{/b}", L"<b}Hello{/b>", L"{b>Hello</b}"})
        EXPECT_EQ(Measure(pm, canvas.DC(), text).cx, bold) << text;
    // The bold variant joined the font table, so the next paint finds it.
    EXPECT_TRUE(
        pm.FindFont(pm.GetDefaultFontInfo()->sFontName, pm.GetDefaultFontInfo()->iSize, true, false, false));
}

TEST(HtmlText, WhatIsNotATagIsText)
{
    CResourceTables pm;
    Canvas canvas(10, 10, Opaque(kWhite));
    const struct
    {
        const wchar_t* markup;
        const wchar_t* shown;
    } cases[] = {
        {L"a<br>b", L"a<br>b"},   // two letters
        {L"a<B>b", L"a<B>b"},     // upper case
        {L"x < y", L"x < y"},     // a blank after the bracket
        {L"tail <b", L"tail <b"}, // the text ends inside the tag
        {L"tail {f Tahoma", L"tail {f Tahoma"},
        {L"<r><b>x</b></r>", L"<b>x</b>"}, // raw text
        {L"<r>{i}{/r}", L"{i}"},
        {L"<{>x<}>", L"{x}"}, // escapes
        {L"{<}x{>}", L"<x>"},
        {L"a<q>b<z any thing>c</z>", L"abc"}, // unknown letters are skipped
        {L"a<x 0>b</x></n>c", L"abc"},        // closing tags that close nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(Measure(pm, canvas.DC(), c.markup).cx, TextWidth(pm, canvas.DC(), c.shown)) << c.markup;
}

TEST(HtmlText, ClosingTagsRemoveTheLastFontWhateverOpenedIt)
{
    CResourceTables pm;
    pm.AddFont(L"Tahoma", 30, false, false, false);
    Canvas canvas(10, 10, Opaque(kWhite));
    const int byFont = Measure(pm, canvas.DC(), L"<f 0>X</f>Y").cx;
    EXPECT_EQ(Measure(pm, canvas.DC(), L"<f 0>X</b>Y").cx, byFont);
    EXPECT_LT(byFont, Measure(pm, canvas.DC(), L"<f 0>XY").cx);
    // A closing tag on an empty stack leaves the default font.
    EXPECT_EQ(Measure(pm, canvas.DC(), L"</b></i>XY").cx, TextWidth(pm, canvas.DC(), L"XY"));
    // A face, a size and styles; a missing index falls back to the default.
    EXPECT_GT(Measure(pm, canvas.DC(), L"<f Tahoma 30 bold>X</f>").cy, Measure(pm, canvas.DC(), L"X").cy);
    EXPECT_EQ(Measure(pm, canvas.DC(), L"<f 77>XY</f>").cx, TextWidth(pm, canvas.DC(), L"XY"));
}

TEST(HtmlText, LineBreaksAndSingleLine)
{
    CResourceTables pm;
    Canvas canvas(10, 10, Opaque(kWhite));
    const int line = LineHeight(pm);
    const SIZE two = Measure(pm, canvas.DC(), L"one<n>three", 0);
    EXPECT_EQ(two.cy, 2 * line);
    EXPECT_EQ(two.cx, TextWidth(pm, canvas.DC(), L"three"));
    EXPECT_EQ(Measure(pm, canvas.DC(), L"one\r\nthree\nx", 0).cy, 3 * line);
    // Single-line text ignores both and goes on.
    const SIZE one = Measure(pm, canvas.DC(), L"one<n>three");
    EXPECT_EQ(one.cy, line);
    EXPECT_EQ(one.cx, TextWidth(pm, canvas.DC(), L"onethree"));
    // A paragraph adds its extra to its lines and starts on a line of its own.
    EXPECT_EQ(Measure(pm, canvas.DC(), L"a<p 10>b</p>c", 0).cy, 3 * line + 10);
    EXPECT_EQ(Measure(pm, canvas.DC(), L"a<y 50>b", 0).cy, 50);
}

TEST(HtmlText, WordsWrapAtTheWidth)
{
    CResourceTables pm;
    Canvas canvas(300, 100, Opaque(kWhite));
    const int line = LineHeight(pm);
    const int width = TextWidth(pm, canvas.DC(), L"aaa bbb c");
    Links<3> links;
    links.Draw(pm, canvas.DC(), L"<a 1>aaa</a> <a 2>bbb</a> <a 3>ccc</a>", RECT{0, 0, width, 100},
               DT_WORDBREAK);
    ASSERT_EQ(links.count, 3);
    EXPECT_EQ(links.rc[1].top, 0);
    EXPECT_EQ(links.rc[2].left, 0);
    EXPECT_EQ(links.rc[2].top, line);
    EXPECT_EQ(links.rc[2].bottom, 2 * line);
    // Without word breaks the line is cut where the width ends.
    EXPECT_EQ(Measure(pm, canvas.DC(), L"aaa bbb ccc", 0, width).cx, width);
    // Nothing was drawn below the two lines.
    EXPECT_EQ(canvas.Count(RECT{0, 2 * line, 300, 100}, IsDark), 0);
}

TEST(HtmlText, LinkRectanglesFollowTheMeasuredText)
{
    CResourceTables pm;
    Canvas canvas(300, 40, Opaque(kWhite));
    Links<4> links;
    links.Draw(pm, canvas.DC(), L"ab<a  first>link</a>cd<a second>x</a>", RECT{5, 3, 300, 40}, kOneLine);
    ASSERT_EQ(links.count, 2);
    const int ab = TextWidth(pm, canvas.DC(), L"ab");
    EXPECT_EQ(links.target[0], L"first");
    EXPECT_EQ(links.target[1], L"second");
    EXPECT_EQ(links.rc[0].left, 5 + ab);
    EXPECT_EQ(links.rc[0].right, 5 + ab + TextWidth(pm, canvas.DC(), L"link"));
    EXPECT_EQ(links.rc[0].top, 3);
    EXPECT_EQ(links.rc[0].bottom, 3 + LineHeight(pm));
    EXPECT_EQ(links.rc[1].left, links.rc[0].right + TextWidth(pm, canvas.DC(), L"cd"));
    // No room: no rectangle, and the count says so.
    links.Draw(pm, canvas.DC(), L"<a t>link</a>", RECT{0, 0, 300, 40}, kOneLine, kNoMouse, 0);
    EXPECT_EQ(links.count, 0);
}

TEST(HtmlText, AWrappedLinkIsTwoRectanglesWithOneTarget)
{
    CResourceTables pm;
    Canvas canvas(300, 100, Opaque(kWhite));
    const int width = TextWidth(pm, canvas.DC(), L"xx aaa b");
    Links<3> links;
    const wchar_t* text = L"xx <a t>aaa bbb</a> yy";
    links.Draw(pm, canvas.DC(), text, RECT{0, 0, width, 100}, DT_WORDBREAK);
    ASSERT_EQ(links.count, 2);
    EXPECT_EQ(links.target[0], L"t");
    EXPECT_EQ(links.target[1], L"t");
    EXPECT_EQ(links.rc[0].left, TextWidth(pm, canvas.DC(), L"xx "));
    EXPECT_EQ(links.rc[1].left, 0);
    EXPECT_EQ(links.rc[1].top, links.rc[0].bottom);
    EXPECT_EQ(links.rc[1].right, TextWidth(pm, canvas.DC(), L"bbb"));
    // With one slot the part on the first line is the only clickable one.
    links.Draw(pm, canvas.DC(), text, RECT{0, 0, width, 100}, DT_WORDBREAK, kNoMouse, 1);
    EXPECT_EQ(links.count, 1);
    EXPECT_EQ(links.rc[0].top, 0);
}

TEST(HtmlText, TheLinkUnderTheMouseTakesTheHoverColour)
{
    CResourceTables pm;
    pm.SetDefaultLinkFontColor(0xFF0000FF);
    pm.SetDefaultLinkHoverFontColor(0xFFFF0000);
    Canvas canvas(300, 40, Opaque(kWhite));
    const wchar_t* text = L"<a one>MMMM</a> <a two>MMMM</a>";
    Links<2> links;
    links.Draw(pm, canvas.DC(), text, RECT{0, 0, 300, 40}, kOneLine);
    ASSERT_EQ(links.count, 2);
    auto countIn = [&](const RECT& rc, DWORD rgb) { return canvas.CountRgb(rc, rgb); };
    const RECT first = links.rc[0];
    const RECT second = links.rc[1];
    EXPECT_GT(countIn(first, kBlue), 0);
    EXPECT_EQ(countIn(first, kRed), 0);

    canvas.Fill(Opaque(kWhite));
    links.Draw(pm, canvas.DC(), text, RECT{0, 0, 300, 40}, kOneLine, POINT{second.left + 2, second.top + 2});
    EXPECT_GT(countIn(second, kRed), 0);
    EXPECT_EQ(countIn(second, kBlue), 0);
    EXPECT_GT(countIn(first, kBlue), 0);
}

TEST(HtmlText, ColourRunsIgnoreTheAlphaByte)
{
    CResourceTables pm;
    Canvas canvas(300, 40, Opaque(kWhite));
    Draw(pm, canvas, L"<c #FFFF0000>MMM</c><c 0000FF>MMM</c><c #00FF00>MMM</c>MMM", RECT{0, 0, 300, 40});
    const int m3 = TextWidth(pm, canvas.DC(), L"MMM");
    EXPECT_GT(canvas.CountRgb(RECT{0, 0, m3, 40}, kRed), 0);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, m3, 40}, kBlue), 0);
    EXPECT_GT(canvas.CountRgb(RECT{m3, 0, 2 * m3, 40}, kBlue), 0);
    EXPECT_GT(canvas.CountRgb(RECT{2 * m3, 0, 3 * m3, 40}, kGreen), 0);
    // After the closing tags, the default colour again.
    EXPECT_GT(canvas.CountRgb(RECT{3 * m3, 0, 4 * m3, 40}, kBlack), 0);
    EXPECT_EQ(canvas.CountRgb(RECT{3 * m3, 0, 4 * m3, 40}, kGreen), 0);
}

TEST(HtmlText, UnderlineDrawsAFullRow)
{
    CResourceTables pm;
    Canvas canvas(100, 40, Opaque(kWhite));
    auto longestRow = [&]() {
        int best = 0;
        for (int y = 0; y < 40; y++)
            best = std::max(best, canvas.Count(RECT{0, y, 100, y + 1}, IsDark));
        return best;
    };
    const int width = TextWidth(pm, canvas.DC(), L"iii");
    Draw(pm, canvas, L"iii", RECT{0, 0, 100, 40});
    EXPECT_LT(longestRow(), width / 2);
    canvas.Fill(Opaque(kWhite));
    Draw(pm, canvas, L"<u>iii</u>", RECT{0, 0, 100, 40});
    EXPECT_GE(longestRow(), width - 1);
}

TEST(HtmlText, SelectionHasTheSelectedBackground)
{
    CResourceTables pm;
    pm.SetDefaultSelectedBkColor(0xFF00FF00);
    Canvas canvas(200, 40, Opaque(kWhite));
    Draw(pm, canvas, L"ab<s>cd</s>ef", RECT{0, 0, 200, 40});
    const int ab = TextWidth(pm, canvas.DC(), L"ab");
    const int cd = TextWidth(pm, canvas.DC(), L"cd");
    const RECT selected{ab, 0, ab + cd, LineHeight(pm)};
    EXPECT_GT(canvas.CountRgb(selected, kGreen), (cd * LineHeight(pm)) / 2);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, ab, 40}, kGreen), 0);
    EXPECT_EQ(canvas.CountRgb(RECT{ab + cd, 0, 200, 40}, kGreen), 0);
}

TEST(HtmlText, InlineImagesAndTheirFrames)
{
    CResourceTables pm;
    const DWORD frames[] = {kRed, kGreen, kBlue, kBlack};
    AddTestImage(pm, L"strip", 40, 10, [&](int x, int) { return Opaque(frames[x / 10]); });
    Canvas canvas(200, 40, Opaque(kWhite));
    Draw(pm, canvas, L"<i strip 4 2>", RECT{0, 0, 200, 40});
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 200, 40}, kBlue), 100);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 200, 40}, kRed), 0);
    // An index out of range shows the first frame; the key form shows all.
    canvas.Fill(Opaque(kWhite));
    Draw(pm, canvas, L"<i strip 4 9>", RECT{0, 0, 200, 40});
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 200, 40}, kRed), 100);
    canvas.Fill(Opaque(kWhite));
    Draw(pm, canvas, L"ab<i file='strip'>", RECT{0, 0, 200, 40});
    const int ab = TextWidth(pm, canvas.DC(), L"ab");
    EXPECT_EQ(canvas.CountRgb(RECT{ab, 0, ab + 10, 40}, kRed), 100);
    EXPECT_EQ(canvas.CountRgb(RECT{ab + 20, 0, ab + 30, 40}, kBlue), 100);
    // The image advances the pen; a missing one takes no room.
    EXPECT_EQ(Measure(pm, canvas.DC(), L"a<i strip 4>b").cx, TextWidth(pm, canvas.DC(), L"ab") + 10);
    EXPECT_EQ(Measure(pm, canvas.DC(), L"a<i nosuch>b").cx, TextWidth(pm, canvas.DC(), L"ab"));
    // A tall image makes its line as tall.
    AddTestImage(pm, L"tall", 5, 50, [](int, int) { return Opaque(kBlue); });
    EXPECT_EQ(Measure(pm, canvas.DC(), L"a<i tall>b").cy, 50);
}

TEST(HtmlText, ItalicWithoutAnImageName)
{
    CResourceTables pm;
    Canvas plain(100, 40, Opaque(kWhite));
    Canvas italic(100, 40, Opaque(kWhite));
    Draw(pm, plain, L"llll", RECT{0, 0, 100, 40});
    Draw(pm, italic, L"<i>llll</i>", RECT{0, 0, 100, 40});
    int differing = 0;
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 100; x++)
            differing += IsDark(plain.At(x, y)) != IsDark(italic.At(x, y)) ? 1 : 0;
    EXPECT_GT(differing, 4);
}

TEST(HtmlText, EllipsisEndsTheTextInsideTheRightEdge)
{
    CResourceTables pm;
    Canvas cut(300, 40, Opaque(kWhite));
    Canvas expected(300, 40, Opaque(kWhite));
    const int width = TextWidth(pm, cut.DC(), L"Hello...") + 1;
    Draw(pm, cut, L"Hello world", RECT{0, 0, width, 40}, kOneLine | DT_END_ELLIPSIS);
    Draw(pm, expected, L"Hello", RECT{0, 0, 300, 40});
    // The word that fits is drawn as it is alone ...
    const int hello = TextWidth(pm, cut.DC(), L"Hello");
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < hello; x++)
            ASSERT_EQ(cut.At(x, y), expected.At(x, y)) << x << "," << y;
    // ... and after it, up to the edge, only dots on the baseline.
    const int ascent = pm.GetDefaultFontInfo()->tm.tmAscent;
    EXPECT_GT(cut.Count(RECT{hello, 0, width, 40}, IsDark), 0);
    EXPECT_EQ(cut.Count(RECT{hello, 0, width, ascent - 4}, IsDark), 0);
    EXPECT_EQ(cut.Count(RECT{hello, ascent + 1, width, 40}, IsDark), 0);
    EXPECT_EQ(cut.Count(RECT{width, 0, 300, 40}, IsDark), 0);
    EXPECT_GE(ColumnsWith(cut, RECT{hello, 0, width, 40}, IsDark).second, width - 5);
}

TEST(HtmlText, AlignmentMovesTheRectangle)
{
    CResourceTables pm;
    Canvas canvas(200, 60, Opaque(kWhite));
    const int width = TextWidth(pm, canvas.DC(), L"MMM");
    const int line = LineHeight(pm);
    RECT rc{0, 0, 200, 60};
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"M<b></b>MM", 0xFF000000, nullptr, nullptr, nLinks,
                                kOneLine | DT_CENTER | DT_VCENTER, kNoMouse, false);
    EXPECT_EQ(rc.left, (200 - width) / 2);
    EXPECT_EQ(rc.right, rc.left + width);
    EXPECT_EQ(rc.top, (60 - line) / 2);
    const auto columns = ColumnsWith(canvas, RECT{0, 0, 200, 60}, IsDark);
    EXPECT_GE(columns.first, rc.left);
    EXPECT_LE(columns.second, rc.right);

    // Multi-line text is centred line by line.
    canvas.Fill(Opaque(kWhite));
    Draw(pm, canvas, L"M<n>MM<b>M</b>MM", RECT{0, 0, 200, 60}, DT_CENTER);
    const auto top = ColumnsWith(canvas, RECT{0, 0, 200, line}, IsDark);
    const auto bottom = ColumnsWith(canvas, RECT{0, line, 200, 2 * line}, IsDark);
    EXPECT_NEAR(top.first + top.second, 200, 4);
    EXPECT_NEAR(bottom.first + bottom.second, 200, 4);
}

TEST(HtmlText, NothingHappensWithoutTextManagerOrRoom)
{
    CResourceTables pm;
    Canvas canvas(50, 20, Opaque(kWhite));
    Links<1> links;
    links.rc[0] = RECT{1, 1, 5, 5};
    RECT rc{0, 0, 50, 20};
    int n = 1;
    CRenderEngine::DrawHtmlText(canvas.DC(), nullptr, rc, L"x", 0xFF000000, links.rc, links.target, n, 0,
                                kNoMouse, false);
    EXPECT_EQ(n, 0);
    n = 1;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, nullptr, 0xFF000000, links.rc, links.target, n, 0,
                                kNoMouse, false);
    RECT empty{10, 10, 10, 20};
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, empty, L"x", 0xFF000000, links.rc, links.target, n, 0,
                                kNoMouse, false);
    EXPECT_EQ(canvas.Count(RECT{0, 0, 50, 20}, IsDark), 0);
    // The device context's font and colours are left as they were.
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
    Draw(pm, canvas, L"<b><c #ff0000>x", rc);
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetTextColor(canvas.DC()), RGB(0, 0, 0));
}

TEST(HtmlText, LayeredWindowsGetOpaqueTextAndImages)
{
    CResourceTables pm;
    AddTestImage(pm, L"dot", 6, 6, [](int, int) { return Opaque(kBlue); });
    Canvas canvas(200, 40, Opaque(kWhite));
    RECT rc{10, 5, 190, 35};
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, L"<c #FF0000>MMMM</c><i dot>", 0xFF000000, nullptr,
                                nullptr, nLinks, kOneLine | DT_VCENTER, kNoMouse, true);
    EXPECT_GT(canvas.CountRgb(RECT{10, 5, 190, 35}, kRed), 0);
    EXPECT_EQ(canvas.CountRgb(RECT{10, 5, 190, 35}, kBlue), 36);
    // Every pixel keeps an opaque alpha byte, and nothing left the rectangle.
    EXPECT_EQ(canvas.Count(RECT{0, 0, 200, 40}, [](DWORD p) { return (p >> 24) == 0xFF; }), 8000);
    EXPECT_EQ(canvas.Count(RECT{0, 0, 200, 5}, [](DWORD p) { return p != Opaque(kWhite); }), 0);
}
