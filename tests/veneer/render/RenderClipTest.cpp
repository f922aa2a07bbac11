#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

const RECT kAll{0, 0, 40, 40};

void FillAll(const Canvas& canvas, DWORD colour)
{
    CRenderEngine::DrawColor(canvas.DC(), kAll, Opaque(colour));
}

} // namespace

TEST(RenderClip, RectClipNarrowsAndTheDestructorRestores)
{
    Canvas canvas(40, 40, Opaque(kWhite));
    {
        CRenderClip clip;
        CRenderClip::GenerateClip(canvas.DC(), RECT{10, 10, 20, 20}, clip);
        EXPECT_EQ(clip.hDC, canvas.DC());
        EXPECT_EQ(clip.rcItem.left, 10);
        FillAll(canvas, kRed);
        EXPECT_EQ(canvas.CountRgb(kAll, kRed), 100);
        EXPECT_EQ(canvas.Rgb(10, 10), kRed);
        EXPECT_EQ(canvas.Rgb(20, 20), kWhite);
    }
    FillAll(canvas, kRed);
    EXPECT_EQ(canvas.CountRgb(kAll, kRed), 1600);
}

TEST(RenderClip, RoundClipLeavesTheCornersAlone)
{
    Canvas canvas(40, 40, Opaque(kWhite));
    {
        CRenderClip clip;
        CRenderClip::GenerateRoundClip(canvas.DC(), RECT{0, 0, 30, 30}, RECT{0, 0, 30, 30}, 12, 12, clip);
        FillAll(canvas, kRed);
        EXPECT_EQ(canvas.Rgb(0, 0), kWhite);
        EXPECT_EQ(canvas.Rgb(29, 0), kWhite);
        EXPECT_EQ(canvas.Rgb(0, 29), kWhite);
        EXPECT_EQ(canvas.Rgb(29, 29), kWhite);
        // The item's last row and column are inside.
        EXPECT_EQ(canvas.Rgb(15, 29), kRed);
        EXPECT_EQ(canvas.Rgb(29, 15), kRed);
        EXPECT_EQ(canvas.Rgb(15, 0), kRed);
        EXPECT_EQ(canvas.Rgb(30, 15), kWhite);
    }
    FillAll(canvas, kRed);
    EXPECT_EQ(canvas.Rgb(0, 0), kRed);
}

TEST(RenderClip, NestedClipsRestoreTheRoundClipExactly)
{
    Canvas canvas(40, 40, Opaque(kWhite));
    CRenderClip outer;
    CRenderClip::GenerateRoundClip(canvas.DC(), kAll, RECT{0, 0, 39, 39}, 16, 16, outer);
    {
        CRenderClip inner;
        CRenderClip::GenerateClip(canvas.DC(), RECT{10, 10, 30, 30}, inner);
        // Between Begin and End the outer (round) clip is in force ...
        CRenderClip::UseOldClipBegin(canvas.DC(), inner);
        FillAll(canvas, kGreen);
        EXPECT_EQ(canvas.Rgb(0, 0), kWhite);
        EXPECT_EQ(canvas.Rgb(5, 20), 0x00FF00u);
        CRenderClip::UseOldClipEnd(canvas.DC(), inner);
        // ... and after End the inner one again.
        FillAll(canvas, kRed);
        EXPECT_EQ(canvas.Rgb(5, 20), 0x00FF00u);
        EXPECT_EQ(canvas.Rgb(20, 20), kRed);
    }
    // The inner clip gives back the round clip, not its bounding box.
    FillAll(canvas, kBlue);
    EXPECT_EQ(canvas.Rgb(0, 0), kWhite);
    EXPECT_EQ(canvas.Rgb(5, 20), 0x0000FFu);
}

TEST(RenderClip, NarrowingNeverWidensTheClip)
{
    Canvas canvas(40, 40, Opaque(kWhite));
    CRenderClip outer;
    CRenderClip::GenerateClip(canvas.DC(), RECT{0, 0, 20, 20}, outer);
    CRenderClip inner;
    CRenderClip::GenerateClip(canvas.DC(), RECT{10, 10, 30, 30}, inner);
    CRenderClip::UseOldClipBegin(canvas.DC(), inner);
    CRenderClip::UseOldClipEnd(canvas.DC(), inner);
    FillAll(canvas, kRed);
    EXPECT_EQ(canvas.CountRgb(kAll, kRed), 100);
    EXPECT_EQ(canvas.Rgb(25, 25), kWhite);
}
