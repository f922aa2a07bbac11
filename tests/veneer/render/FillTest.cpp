#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

// Both blenders, and both gradient painters, take part in these tests.
class EveryFallback : public ::testing::TestWithParam<bool>
{
  protected:
    EveryFallback() : fallbacks(GetParam(), GetParam()) {}
    ScopedFallbacks fallbacks;
};

} // namespace

TEST(DrawColor, OpaqueColourFillsExactlyTheRect)
{
    Canvas canvas(20, 20, Opaque(kWhite));
    SetBkColor(canvas.DC(), RGB(1, 2, 3));
    CRenderEngine::DrawColor(canvas.DC(), RECT{2, 3, 12, 13}, 0xFF123456);
    EXPECT_EQ(canvas.CountRgb(RECT{2, 3, 12, 13}, 0x123456), 100);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 20, 20}, kWhite), 300);
    EXPECT_EQ(GetBkColor(canvas.DC()), RGB(1, 2, 3));
}

TEST(DrawColor, ZeroAlphaDrawsNothing)
{
    Canvas canvas(10, 10, Opaque(kBlack));
    CRenderEngine::DrawColor(canvas.DC(), RECT{0, 0, 10, 10}, 0x00FFFFFF);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 10, 10}, kBlack), 100);
}

TEST_P(EveryFallback, HalfTransparentColourBlendsOverWhite)
{
    Canvas canvas(20, 20, Opaque(kWhite));
    CRenderEngine::DrawColor(canvas.DC(), RECT{0, 0, 10, 10}, 0x80000000);
    EXPECT_EQ(canvas.Count(RECT{0, 0, 10, 10}, [](DWORD p) { return Near(p, 0x7F7F7F, 1); }), 100)
        << std::hex << canvas.At(5, 5);
    EXPECT_EQ(canvas.Rgb(10, 10), kWhite);
    // A colour channel above the alpha must not overflow into its neighbours:
    // half-transparent red over white is pink.
    CRenderEngine::DrawColor(canvas.DC(), RECT{10, 10, 20, 20}, 0x80FF0000);
    EXPECT_TRUE(Near(canvas.At(15, 15), 0xFF7F7F, 1)) << std::hex << canvas.At(15, 15);
}

TEST_P(EveryFallback, GradientRunsFromTheFirstColourToTheSecond)
{
    const bool bBands = GetParam();
    // Bands are 1/16 of the height apart, so the first row is one band away.
    const int tolerance = bBands ? 0x10 : 0x08;
    Canvas vertical(8, 32, Opaque(kWhite));
    CRenderEngine::DrawGradient(vertical.DC(), RECT{0, 0, 8, 32}, 0xFFFF0000, 0xFF0000FF, true, 16);
    EXPECT_TRUE(Near(vertical.At(3, 0), 0xFF0000, tolerance)) << std::hex << vertical.At(3, 0);
    EXPECT_TRUE(Near(vertical.At(3, 31), 0x0000FF, tolerance)) << std::hex << vertical.At(3, 31);
    EXPECT_GT(ChannelOf(vertical.At(3, 10), 16), ChannelOf(vertical.At(3, 20), 16));
    EXPECT_EQ(vertical.CountRgb(RECT{0, 0, 8, 32}, kWhite), 0);

    Canvas horizontal(40, 4, Opaque(kWhite));
    CRenderEngine::DrawGradient(horizontal.DC(), RECT{4, 0, 36, 4}, 0xFF00FF00, 0xFF000000, false, 64);
    EXPECT_TRUE(Near(horizontal.At(4, 2), 0x00FF00, tolerance)) << std::hex << horizontal.At(4, 2);
    EXPECT_TRUE(Near(horizontal.At(35, 2), 0x000000, tolerance)) << std::hex << horizontal.At(35, 2);
    EXPECT_EQ(horizontal.Rgb(3, 2), kWhite);
    EXPECT_EQ(horizontal.Rgb(36, 2), kWhite);
}

TEST(DrawGradient, BandsFollowTheStepsShift)
{
    ScopedFallbacks fallbacks(false, true);
    // Three steps give two bands: the lower half the second colour, the
    // upper half their mean weighted one to one.
    Canvas canvas(4, 8, Opaque(kWhite));
    CRenderEngine::DrawGradient(canvas.DC(), RECT{0, 0, 4, 8}, 0xFF000000, 0xFFFFFFFF, true, 3);
    EXPECT_EQ(canvas.Rgb(1, 7), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(1, 4), 0xFFFFFFu);
    EXPECT_EQ(canvas.Rgb(1, 3), 0x7F7F7Fu);
    EXPECT_EQ(canvas.Rgb(1, 0), 0x7F7F7Fu);
}

TEST_P(EveryFallback, GradientOpacityIsTheMeanOfTheAlphas)
{
    // 0x80 and 0x7F average to 0x7F: black at 0x7F over white leaves 0x80.
    Canvas canvas(10, 10, Opaque(kWhite));
    CRenderEngine::DrawGradient(canvas.DC(), RECT{0, 0, 10, 10}, 0x80000000, 0x7F000000, true, 16);
    EXPECT_EQ(canvas.Count(RECT{0, 0, 10, 10}, [](DWORD p) { return Near(p, 0x808080, 0); }), 100)
        << std::hex << canvas.At(5, 5);
    // Alphas that average to 0 draw nothing.
    Canvas none(10, 10, Opaque(kWhite));
    CRenderEngine::DrawGradient(none.DC(), RECT{0, 0, 10, 10}, 0x01000000, 0x00000000, true, 16);
    EXPECT_EQ(none.CountRgb(RECT{0, 0, 10, 10}, kWhite), 100);
}

INSTANTIATE_TEST_SUITE_P(SystemAndOwn, EveryFallback, ::testing::Values(false, true));

TEST(DrawGradient, EmptyRectDrawsNothing)
{
    Canvas canvas(10, 10, Opaque(kWhite));
    CRenderEngine::DrawGradient(canvas.DC(), RECT{5, 5, 5, 9}, 0xFF000000, 0xFF000000, true, 16);
    CRenderEngine::DrawGradient(canvas.DC(), RECT{5, 5, 2, 2}, 0x80000000, 0x80000000, false, 16);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 10, 10}, kWhite), 100);
}

TEST(DrawLines, LineRectAndRoundRectRestoreTheDeviceContext)
{
    Canvas canvas(30, 30, Opaque(kWhite));
    HGDIOBJ hPen = GetCurrentObject(canvas.DC(), OBJ_PEN);
    HGDIOBJ hBrush = GetCurrentObject(canvas.DC(), OBJ_BRUSH);

    CRenderEngine::DrawLine(canvas.DC(), RECT{0, 2, 30, 2}, 1, 0xFFFF0000);
    EXPECT_EQ(canvas.Rgb(15, 2), 0xFF0000u);
    EXPECT_EQ(canvas.Rgb(15, 3), kWhite);

    CRenderEngine::DrawRect(canvas.DC(), RECT{5, 5, 15, 15}, 2, 0x200000FF);
    // The pen stays inside the frame; the inside is not filled.
    EXPECT_EQ(canvas.Rgb(5, 10), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(6, 10), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(14, 14), 0x0000FFu);
    EXPECT_EQ(canvas.Rgb(7, 10), kWhite);
    EXPECT_EQ(canvas.Rgb(15, 15), kWhite);

    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_PEN), hPen);
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_BRUSH), hBrush);
}

TEST(DrawLines, RoundRectLeavesTheCornersAlone)
{
    Canvas canvas(30, 30, Opaque(kWhite));
    HGDIOBJ hPen = GetCurrentObject(canvas.DC(), OBJ_PEN);
    HGDIOBJ hBrush = GetCurrentObject(canvas.DC(), OBJ_BRUSH);
    CRenderEngine::DrawRoundRect(canvas.DC(), RECT{0, 0, 20, 20}, 1, 10, 10, Opaque(kBlack));
    EXPECT_EQ(canvas.Rgb(0, 0), kWhite);
    EXPECT_EQ(canvas.Rgb(19, 19), kWhite);
    EXPECT_EQ(canvas.Rgb(10, 0), 0u);
    EXPECT_EQ(canvas.Rgb(0, 10), 0u);
    EXPECT_EQ(canvas.Rgb(19, 10), 0u);
    EXPECT_EQ(canvas.Rgb(10, 10), kWhite);
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_PEN), hPen);
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_BRUSH), hBrush);
}
