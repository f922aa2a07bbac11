#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

const UINT kSingleLine = DT_SINGLELINE | DT_VCENTER | DT_LEFT;

bool IsReddish(DWORD p)
{
    return ChannelOf(p, 16) > 0x80 && ChannelOf(p, 8) < 0x80 && ChannelOf(p, 0) < 0x80;
}

// Draws "Hello" into (10, 10, 90, 40) of a white canvas in red.
int DrawHello(CResourceTables& resources, Canvas& canvas, bool bLayered = false)
{
    RECT rc{10, 10, 90, 40};
    CRenderEngine::DrawTextW(canvas.DC(), &resources, rc, L"Hello", 0xFFFF0000, -1, kSingleLine, bLayered);
    return canvas.Count(rc, IsReddish);
}

int NotWhiteOutside(const Canvas& canvas)
{
    return canvas.Count(RECT{0, 0, 100, 10}, [](DWORD p) { return p != Opaque(kWhite); }) +
           canvas.Count(RECT{0, 40, 100, 50}, [](DWORD p) { return p != Opaque(kWhite); }) +
           canvas.Count(RECT{0, 10, 10, 40}, [](DWORD p) { return p != Opaque(kWhite); }) +
           canvas.Count(RECT{90, 10, 100, 40}, [](DWORD p) { return p != Opaque(kWhite); });
}

} // namespace

TEST(DrawText, DrawsInTheColourInsideTheRectOnly)
{
    CResourceTables resources;
    Canvas canvas(100, 50, Opaque(kWhite));
    SetTextColor(canvas.DC(), RGB(0, 255, 0));
    EXPECT_GT(DrawHello(resources, canvas), 0);
    EXPECT_EQ(NotWhiteOutside(canvas), 0);
    // The text colour of the device context is left as it was.
    EXPECT_EQ(GetTextColor(canvas.DC()), RGB(0, 255, 0));
}

TEST(DrawText, LayeredWindowsGetOpaqueTextOnUntouchedPixels)
{
    CResourceTables resources;
    for (bool bOwn : {false, true})
    {
        ScopedFallbacks fallbacks(bOwn, false);
        Canvas canvas(100, 50, Opaque(kWhite));
        EXPECT_GT(DrawHello(resources, canvas, true), 0) << bOwn;
        EXPECT_EQ(NotWhiteOutside(canvas), 0);
        // Every pixel keeps an opaque alpha byte.
        EXPECT_EQ(canvas.Count(RECT{0, 0, 100, 50}, [](DWORD p) { return (p >> 24) == 0xFF; }), 5000);
    }
}

TEST(DrawText, ThePrefixCharacterIsShown)
{
    CResourceTables resources;
    Canvas canvas(200, 40, Opaque(kWhite));
    RECT rc{0, 0, 200, 40};
    CRenderEngine::DrawTextW(canvas.DC(), &resources, rc, L"&&&&&&&&", 0xFF000000, -1,
                             DT_CALCRECT | DT_SINGLELINE, false);
    const SIZE size = CRenderEngine::GetTextSize(canvas.DC(), &resources, L"&&&&&&&&", -1, 0);
    EXPECT_EQ(rc.right - rc.left, size.cx);
}

TEST(DrawText, MeasuringHandsTheRectBackInLayeredWindowsToo)
{
    CResourceTables resources;
    Canvas canvas(100, 50, Opaque(kWhite));
    RECT rc{0, 0, 1000, 1000};
    CRenderEngine::DrawTextW(canvas.DC(), &resources, rc, L"Hello", 0xFF000000, -1,
                             DT_CALCRECT | DT_SINGLELINE, true);
    EXPECT_GT(rc.right, 0);
    EXPECT_LT(rc.right, 1000);
    EXPECT_EQ(rc.right, CRenderEngine::GetTextSize(canvas.DC(), &resources, L"Hello", -1, 0).cx);
}

TEST(DrawText, NullTextOrTablesDrawsNothing)
{
    CResourceTables resources;
    Canvas canvas(100, 50, Opaque(kWhite));
    RECT rc{0, 0, 100, 50};
    CRenderEngine::DrawTextW(canvas.DC(), &resources, rc, nullptr, 0xFF000000, -1, 0, false);
    CRenderEngine::DrawTextW(canvas.DC(), nullptr, rc, L"Hello", 0xFF000000, -1, 0, false);
    EXPECT_EQ(canvas.Count(rc, [](DWORD p) { return p != Opaque(kWhite); }), 0);
}

TEST(GetTextSize, GrowsWithTheTextAndUsesTheFont)
{
    CResourceTables resources;
    Canvas canvas(10, 10, Opaque(kWhite));
    const SIZE none = CRenderEngine::GetTextSize(canvas.DC(), &resources, nullptr, -1, 0);
    EXPECT_EQ(none.cx, 0);
    EXPECT_EQ(none.cy, 0);
    EXPECT_EQ(CRenderEngine::GetTextSize(canvas.DC(), nullptr, L"ab", -1, 0).cx, 0);
    const SIZE two = CRenderEngine::GetTextSize(canvas.DC(), &resources, L"ab", -1, 0);
    const SIZE four = CRenderEngine::GetTextSize(canvas.DC(), &resources, L"abab", -1, 0);
    EXPECT_GT(two.cx, 0);
    EXPECT_GT(four.cx, two.cx);
    resources.AddFont(L"Tahoma", 40, false, false, false);
    const SIZE big = CRenderEngine::GetTextSize(canvas.DC(), &resources, L"ab", 0, 0);
    EXPECT_GT(big.cx, two.cx);
    EXPECT_GE(big.cy, 40);
    // The font of the device context is left as it was.
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
}
