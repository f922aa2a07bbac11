#include "RenderTestSupport.h"

#include "TestImages.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

const DWORD kQuadrant[2][2] = {{0x110000, 0x220000}, {0x000011, 0x000022}};
const RECT kPaintAll{0, 0, 60, 60};
const RECT kItem{10, 10, 40, 40};

// A canvas with a manager whose table holds the test images:
// "red" and "blue" (2 x 2, opaque), "quad" (4 x 4 of four 2 x 2
// quadrants), "rightblue" (2 x 2, left column transparent, right blue).
class ImageString : public ::testing::Test
{
  protected:
    ImageString() : canvas(60, 60, Opaque(kWhite))
    {
        AddTestImage(resources, L"red", 2, 2, [](int, int) { return Opaque(kRed); });
        AddTestImage(resources, L"blue", 2, 2, [](int, int) { return Opaque(kBlue); });
        AddTestImage(resources, L"quad", 4, 4, [](int x, int y) { return Opaque(kQuadrant[y / 2][x / 2]); });
        AddTestImage(
            resources, L"rightblue", 2, 2, [](int x, int) { return x == 0 ? 0u : Opaque(kBlue); }, true);
    }

    bool Draw(LPCWSTR image, LPCWSTR modify = nullptr, const RECT& paint = kPaintAll)
    {
        return CRenderEngine::DrawImageString(canvas.DC(), &resources, kItem, paint, image, modify);
    }

    int CountIn(const RECT& rc, DWORD rgb) const { return canvas.CountRgb(rc, rgb); }

    static int Area(const RECT& rc) { return (rc.right - rc.left) * (rc.bottom - rc.top); }

    CResourceTables resources;
    Canvas canvas;
};

} // namespace

TEST_F(ImageString, ABareNameCoversTheItem)
{
    EXPECT_TRUE(Draw(L"red"));
    EXPECT_EQ(CountIn(kItem, kRed), Area(kItem));
    EXPECT_EQ(canvas.Rgb(9, 9), kWhite);
    EXPECT_EQ(canvas.Rgb(40, 40), kWhite);
}

TEST_F(ImageString, NoTablesOrDeviceContextIsRefused)
{
    EXPECT_FALSE(CRenderEngine::DrawImageString(canvas.DC(), nullptr, kItem, kPaintAll, L"red"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(nullptr, &resources, kItem, kPaintAll, L"red"));
    // Empty and null strings name no image: nothing to draw, and no failure.
    EXPECT_TRUE(Draw(L""));
    EXPECT_TRUE(Draw(nullptr));
    EXPECT_EQ(CountIn(kPaintAll, kWhite), 3600);
}

TEST_F(ImageString, AMissingImageFailsTheStringSoThatTheCallerFallsBack)
{
    EXPECT_FALSE(Draw(L"missing.png"));
    EXPECT_FALSE(Draw(L"file='missing.png' dest='0,0,10,10'"));
    EXPECT_FALSE(Draw(L"red", L"file='missing.png'"));
    // An empty value changes nothing: the name is still the whole string.
    EXPECT_FALSE(Draw(L"file=''"));
    EXPECT_EQ(CountIn(kPaintAll, kWhite), 3600);
    // The images that can be had are drawn all the same.
    EXPECT_FALSE(Draw(L"file='missing.png' file='blue'"));
    EXPECT_EQ(CountIn(kItem, kBlue), Area(kItem));
    EXPECT_FALSE(Draw(L"file='red' file='missing.png'"));
    EXPECT_EQ(CountIn(kItem, kRed), Area(kItem));
    // Outside the paint rectangle an image that is there draws nothing and
    // has not failed.
    EXPECT_TRUE(Draw(L"blue", nullptr, RECT{0, 0, 5, 5}));
}

TEST_F(ImageString, DestDrawsTheWholeBitmapIntoItsRect)
{
    // Stretching averages where the quadrants meet: only their inner pixels
    // keep their colour exactly.
    EXPECT_TRUE(Draw(L"file='quad' dest='0,0,10,10'"));
    EXPECT_EQ(canvas.Rgb(10, 10), kQuadrant[0][0]);
    EXPECT_EQ(canvas.Rgb(19, 10), kQuadrant[0][1]);
    EXPECT_EQ(canvas.Rgb(10, 19), kQuadrant[1][0]);
    EXPECT_EQ(canvas.Rgb(19, 19), kQuadrant[1][1]);
    EXPECT_EQ(CountIn(RECT{20, 10, 40, 40}, kWhite), 20 * 30);
    EXPECT_EQ(CountIn(RECT{10, 20, 20, 40}, kWhite), 10 * 20);
}

TEST_F(ImageString, DestIsCutAtTheItemsRightAndBottomOnly)
{
    EXPECT_TRUE(Draw(L"file='red' dest='-5,-5,100,100'"));
    EXPECT_EQ(CountIn(RECT{5, 5, 40, 40}, kRed), 35 * 35);
    EXPECT_EQ(canvas.Rgb(40, 20), kWhite);
    EXPECT_EQ(canvas.Rgb(20, 40), kWhite);
    EXPECT_EQ(canvas.Rgb(4, 4), kWhite);
}

TEST_F(ImageString, SourcePicksAPartAndIsCutToTheBitmap)
{
    EXPECT_TRUE(Draw(L"file='quad' source='2,2,4,4'"));
    EXPECT_EQ(CountIn(kItem, kQuadrant[1][1]), Area(kItem));
    // Beyond the bitmap: cut to it, so the whole bitmap is stretched.
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"file='quad' source='0,0,100,100'"));
    EXPECT_EQ(CountIn(RECT{10, 10, 18, 18}, kQuadrant[0][0]), 8 * 8);
    EXPECT_EQ(CountIn(RECT{32, 32, 40, 40}, kQuadrant[1][1]), 8 * 8);
    // A negative start is taken as 0.
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"file='quad' source='-4,-4,2,2'"));
    EXPECT_EQ(CountIn(kItem, kQuadrant[0][0]), Area(kItem));
}

TEST_F(ImageString, CornerHoleAndTilingReachTheDrawing)
{
    EXPECT_TRUE(Draw(L"file='quad' corner='2,2,2,2' hole='true'"));
    EXPECT_EQ(CountIn(RECT{12, 12, 38, 38}, kWhite), 26 * 26);
    EXPECT_EQ(CountIn(RECT{10, 10, 12, 12}, kQuadrant[0][0]), 4);
    EXPECT_EQ(CountIn(RECT{38, 38, 40, 40}, kQuadrant[1][1]), 4);
    // Only the exact text "true" counts.
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"file='red' corner='0,0,1,0' hole='True'"));
    EXPECT_EQ(CountIn(kItem, kRed), Area(kItem));
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"file='quad' source='0,0,2,4' xtiled='true' ytiled='true'"));
    EXPECT_EQ(CountIn(RECT{10, 10, 40, 12}, kQuadrant[0][0]), 60);
    EXPECT_EQ(CountIn(RECT{10, 12, 40, 14}, kQuadrant[1][0]), 60);
}

TEST_F(ImageString, FadeBlendsAndIsKeptAsOneByte)
{
    AddTestImage(resources, L"black", 2, 2, [](int, int) { return Opaque(kBlack); });
    EXPECT_TRUE(Draw(L"file='black' fade='128'"));
    EXPECT_TRUE(Near(canvas.Rgb(20, 20), 0x7F7F7F, 1)) << std::hex << canvas.Rgb(20, 20);
    // 384 is 128 in one byte.
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"file='black' fade='384'"));
    EXPECT_TRUE(Near(canvas.Rgb(20, 20), 0x7F7F7F, 1));
}

TEST_F(ImageString, MaskClearsItsColourWhenTheImageIsLoaded)
{
    // Opaque magenta and opaque green, as a file.
    WriteFileBytes(L"render_mask.png", EncodePng(2, 1, {0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF}));
    EXPECT_TRUE(Draw(L"file='render_mask.png' mask='#FFFF00FF'"));
    DeleteFileW(L"render_mask.png");
    EXPECT_EQ(CountIn(RECT{10, 10, 25, 40}, kWhite), 15 * 30);
    EXPECT_EQ(CountIn(RECT{25, 10, 40, 40}, kGreen), 15 * 30);
    ASSERT_NE(resources.GetImage(L"render_mask.png"), nullptr);
    EXPECT_EQ(resources.GetImage(L"render_mask.png")->dwMask, 0xFFFF00FFu);
}

TEST_F(ImageString, ResourceImagesAreNamedByIdAndType)
{
    // Resource 101 of type "PNG" is the 2 x 2 sample; its bottom-left pixel
    // is opaque 0x102030.
    EXPECT_TRUE(Draw(L"res='101' restype='PNG'"));
    const TImageInfo* pImage = resources.GetImage(L"101");
    ASSERT_NE(pImage, nullptr);
    EXPECT_STREQ(pImage->sResType, L"PNG");
    EXPECT_EQ(canvas.Rgb(12, 38), 0x102030u);
}

TEST_F(ImageString, EveryFileItemDrawsWithTheSettingsSoFar)
{
    // "red" is drawn when the second name comes; "rightblue" inherits the
    // destination and lets the red show through its left half.
    EXPECT_TRUE(Draw(L"file='red' dest='0,0,10,10' file='rightblue'"));
    EXPECT_EQ(CountIn(RECT{10, 10, 15, 20}, kRed), 50);
    EXPECT_EQ(CountIn(RECT{15, 10, 20, 20}, kBlue), 50);
    EXPECT_EQ(CountIn(RECT{20, 10, 40, 40}, kWhite), 600);
}

TEST_F(ImageString, TheModifyStringChangesTheLastImage)
{
    EXPECT_TRUE(Draw(L"file='red'", L"dest='0,0,10,10'"));
    EXPECT_EQ(CountIn(RECT{10, 10, 20, 20}, kRed), 100);
    EXPECT_EQ(canvas.Rgb(30, 30), kWhite);
    // A name in the modify string replaces the image without drawing it.
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"file='red' dest='0,0,10,10'", L"file='blue'"));
    EXPECT_EQ(CountIn(RECT{10, 10, 20, 20}, kBlue), 100);
}

TEST_F(ImageString, ScanningStopsAtTheFirstMalformedItem)
{
    // A tab after a value ends the string: the dest is never read.
    EXPECT_TRUE(Draw(L"file='red'\tdest='0,0,10,10'"));
    EXPECT_EQ(CountIn(kItem, kRed), Area(kItem));
    // Blanks around '=' are allowed; a missing closing apostrophe ends it.
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"  file = 'red' dest='0,0,10,10' source='0,0,1"));
    EXPECT_EQ(CountIn(RECT{10, 10, 20, 20}, kRed), 100);
    EXPECT_EQ(canvas.Rgb(30, 30), kWhite);
    // Unknown keys are ignored; a short number list leaves the rest 0.
    canvas.Fill(Opaque(kWhite));
    EXPECT_TRUE(Draw(L"file='red' colour='blue' dest='0,0,10'"));
    EXPECT_EQ(CountIn(kPaintAll, kWhite), 3600);
}

TEST_F(ImageString, DoubleQuotesMakeTheWholeStringAName)
{
    AddTestImage(resources, L"file=\"blue\"", 2, 2, [](int, int) { return Opaque(kGreen); });
    EXPECT_TRUE(Draw(L"file=\"blue\""));
    EXPECT_EQ(CountIn(kItem, kGreen), Area(kItem));
}

TEST_F(ImageString, OnlyThePaintRectMatters)
{
    // A destination outside the paint rect is not drawn at all.
    EXPECT_TRUE(Draw(L"file='red' dest='20,20,30,30'", nullptr, RECT{0, 0, 25, 25}));
    EXPECT_EQ(CountIn(kPaintAll, kWhite), 3600);
    EXPECT_TRUE(Draw(L"file='red' dest='10,10,30,30'", nullptr, RECT{0, 0, 25, 25}));
    EXPECT_EQ(canvas.Rgb(21, 21), kRed);
}
