#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

// A 9 x 9 bitmap of nine 3 x 3 slices, each of its own opaque colour.
const DWORD kSlice[3][3] = {
    {0x100000, 0x200000, 0x300000}, {0x001000, 0x002000, 0x003000}, {0x000010, 0x000020, 0x000030}};
const RECT kCorners3{3, 3, 3, 3};

HBITMAP NineSliceBitmap()
{
    return MakeBitmap(9, 9, [](int x, int y) { return Opaque(kSlice[y / 3][x / 3]); });
}

// Four columns of different colours (xtiled) or, transposed, four rows.
DWORD Stripe(int i)
{
    const DWORD colours[4] = {kRed, kGreen, kBlue, 0xFFFF00};
    return colours[i % 4];
}

class Bitmap
{
  public:
    explicit Bitmap(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}
    ~Bitmap() { DeleteObject(m_hBitmap); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    HBITMAP Get() const { return m_hBitmap; }

  private:
    HBITMAP m_hBitmap;
};

const RECT kWhole{0, 0, 1000, 1000};

} // namespace

TEST(DrawImage, NineSlicesKeepCornersAtSourceSizeAndStretchTheRest)
{
    Bitmap bmp(NineSliceBitmap());
    const SIZE sizes[] = {{30, 20}, {9, 9}, {12, 40}};
    for (const SIZE& size : sizes)
    {
        Canvas canvas(50, 50, Opaque(kWhite));
        const RECT rc{5, 5, 5 + size.cx, 5 + size.cy};
        CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), rc, kWhole, RECT{0, 0, 9, 9}, kCorners3, false);
        // The columns and rows where each slice starts and ends.
        const int xs[4] = {rc.left, rc.left + 3, rc.right - 3, rc.right};
        const int ys[4] = {rc.top, rc.top + 3, rc.bottom - 3, rc.bottom};
        for (int row = 0; row < 3; row++)
            for (int col = 0; col < 3; col++)
            {
                const RECT slice{xs[col], ys[row], xs[col + 1], ys[row + 1]};
                const int area = (slice.right - slice.left) * (slice.bottom - slice.top);
                EXPECT_EQ(canvas.CountRgb(slice, kSlice[row][col]), area)
                    << size.cx << "x" << size.cy << " slice " << row << "," << col;
            }
        // Nothing outside the destination.
        EXPECT_EQ(canvas.Rgb(rc.right, rc.bottom), kWhite);
        EXPECT_EQ(canvas.Rgb(rc.left - 1, rc.top), kWhite);
    }
}

TEST(DrawImage, CornersOverlapInTheirOrderWhenTheDestinationIsSmall)
{
    Bitmap bmp(NineSliceBitmap());
    Canvas canvas(10, 10, Opaque(kWhite));
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 4, 4}, kWhole, RECT{0, 0, 9, 9}, kCorners3,
                             false);
    EXPECT_EQ(canvas.Rgb(0, 0), kSlice[0][0]);
    EXPECT_EQ(canvas.Rgb(3, 0), kSlice[0][2]);
    EXPECT_EQ(canvas.Rgb(0, 3), kSlice[2][0]);
    // The bottom-right corner comes last and covers the middle.
    EXPECT_EQ(canvas.Rgb(1, 1), kSlice[2][2]);
    EXPECT_EQ(canvas.Rgb(3, 3), kSlice[2][2]);
}

TEST(DrawImage, HoleLeavesTheCentre)
{
    Bitmap bmp(NineSliceBitmap());
    Canvas canvas(30, 30, Opaque(kWhite));
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 20, 20}, kWhole, RECT{0, 0, 9, 9}, kCorners3,
                             false, 255, true);
    EXPECT_EQ(canvas.CountRgb(RECT{3, 3, 17, 17}, kWhite), 14 * 14);
    EXPECT_EQ(canvas.Rgb(10, 1), kSlice[0][1]);
    EXPECT_EQ(canvas.Rgb(1, 10), kSlice[1][0]);
}

TEST(DrawImage, TilesTheCentreAcrossDownAndBoth)
{
    Bitmap columns(MakeBitmap(4, 4, [](int x, int) { return Opaque(Stripe(x)); }));
    Bitmap rows(MakeBitmap(4, 4, [](int, int y) { return Opaque(Stripe(y)); }));
    Bitmap grid(MakeBitmap(4, 4, [](int x, int y) { return Opaque(Stripe(x) ^ (y * 0x10)); }));
    const RECT dest{2, 2, 12, 9}; // 10 x 7: the last tiles are cut
    const RECT source{0, 0, 4, 4};

    Canvas across(20, 20, Opaque(kWhite));
    CRenderEngine::DrawImage(across.DC(), columns.Get(), dest, kWhole, source, RECT{}, false, 255, false,
                             true);
    for (int x = dest.left; x < dest.right; x++)
        EXPECT_EQ(across.CountRgb(RECT{x, dest.top, x + 1, dest.bottom}, Stripe(x - 2)), 7) << x;
    EXPECT_EQ(across.Rgb(dest.right, 5), kWhite);

    Canvas down(20, 20, Opaque(kWhite));
    CRenderEngine::DrawImage(down.DC(), rows.Get(), dest, kWhole, source, RECT{}, false, 255, false, false,
                             true);
    for (int y = dest.top; y < dest.bottom; y++)
        EXPECT_EQ(down.CountRgb(RECT{dest.left, y, dest.right, y + 1}, Stripe(y - 2)), 10) << y;
    EXPECT_EQ(down.Rgb(5, dest.bottom), kWhite);

    Canvas both(20, 20, Opaque(kWhite));
    CRenderEngine::DrawImage(both.DC(), grid.Get(), dest, kWhole, source, RECT{}, false, 255, false, true,
                             true);
    for (int y = dest.top; y < dest.bottom; y++)
        for (int x = dest.left; x < dest.right; x++)
            EXPECT_EQ(both.Rgb(x, y), Stripe((x - 2) % 4) ^ (((y - 2) % 4) * 0x10)) << x << "," << y;
    EXPECT_EQ(both.Rgb(dest.right, dest.bottom - 1), kWhite);
    EXPECT_EQ(both.Rgb(dest.right - 1, dest.bottom), kWhite);
}

TEST(DrawImage, TilesWithAlphaBlendEachTile)
{
    // Half-transparent black (premultiplied: colour 0) over white.
    Bitmap half(MakeBitmap(3, 3, [](int, int) { return 0x80000000u; }));
    Canvas canvas(20, 20, Opaque(kWhite));
    CRenderEngine::DrawImage(canvas.DC(), half.Get(), RECT{0, 0, 10, 10}, kWhole, RECT{0, 0, 3, 3}, RECT{},
                             true, 255, false, true, true);
    EXPECT_EQ(canvas.Count(RECT{0, 0, 10, 10}, [](DWORD p) { return Near(p, 0x7F7F7F, 1); }), 100);
    EXPECT_EQ(canvas.Rgb(10, 10), kWhite);
}

TEST(DrawImage, ACentreWithoutSourceWidthOrHeightIsNotTiled)
{
    // The corners take the whole source width (or height): the tile would
    // be empty, and nothing may loop or divide by its size.
    Bitmap bmp(NineSliceBitmap());
    const RECT source{0, 0, 9, 9};
    Canvas canvas(40, 40, Opaque(kWhite));
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 30, 30}, kWhole, source, RECT{5, 3, 4, 3},
                             false, 255, false, true, false);
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 30, 30}, kWhole, source, RECT{3, 4, 3, 5},
                             false, 255, false, false, true);
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 30, 30}, kWhole, source, RECT{9, 9, 0, 0},
                             false, 255, false, true, true);
    EXPECT_EQ(canvas.Rgb(15, 15), kWhite);
    EXPECT_EQ(canvas.Rgb(0, 0), kSlice[0][0]);
}

TEST(DrawImage, OpaqueImageAtItsSizeCopiesOnlyInsideThePaintRect)
{
    Bitmap bmp(NineSliceBitmap());
    Canvas canvas(20, 20, Opaque(kWhite));
    const RECT paint{0, 0, 7, 20};
    // The copy also ignores hole and tiling.
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{2, 2, 11, 11}, paint, RECT{0, 0, 9, 9}, RECT{},
                             false, 255, true, true, true);
    EXPECT_EQ(canvas.Rgb(2, 2), kSlice[0][0]);
    EXPECT_EQ(canvas.Rgb(6, 6), kSlice[1][1]);
    EXPECT_EQ(canvas.CountRgb(RECT{7, 0, 20, 20}, kWhite), 13 * 20);

    // A part of the source at its own size comes from the matching offset.
    Canvas part(20, 20, Opaque(kWhite));
    CRenderEngine::DrawImage(part.DC(), bmp.Get(), RECT{0, 0, 3, 3}, RECT{1, 1, 20, 20}, RECT{6, 3, 9, 6},
                             RECT{}, false);
    EXPECT_EQ(part.Rgb(0, 0), kWhite);
    EXPECT_EQ(part.Rgb(1, 1), kSlice[1][2]);
    EXPECT_EQ(part.Rgb(2, 2), kSlice[1][2]);
}

TEST(DrawImage, EmptyOrInvertedAreasDrawNothing)
{
    Bitmap bmp(NineSliceBitmap());
    Canvas canvas(20, 20, Opaque(kWhite));
    const RECT source{0, 0, 9, 9};
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{10, 10, 0, 0}, kWhole, source, RECT{}, false);
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 0, 10}, kWhole, source, RECT{}, true);
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 10, 10}, kWhole, RECT{9, 9, 0, 0}, RECT{},
                             true);
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 10, 10}, kWhole, RECT{0, 0, 9, 0}, kCorners3,
                             false);
    CRenderEngine::DrawImage(canvas.DC(), nullptr, RECT{0, 0, 10, 10}, kWhole, source, RECT{}, false);
    CRenderEngine::DrawImage(nullptr, bmp.Get(), RECT{0, 0, 10, 10}, kWhole, source, RECT{}, false);
    EXPECT_EQ(canvas.CountRgb(RECT{0, 0, 20, 20}, kWhite), 400);
}

TEST(DrawImage, CornersLargerThanTheSourceAreCut)
{
    Bitmap bmp(NineSliceBitmap());
    Canvas canvas(40, 40, Opaque(kWhite));
    // Each corner is cut to the whole source, so each corner piece is the
    // whole bitmap at its size; edges and centre have nothing left.
    CRenderEngine::DrawImage(canvas.DC(), bmp.Get(), RECT{0, 0, 30, 30}, kWhole, RECT{0, 0, 9, 9},
                             RECT{20, 20, 20, 20}, false);
    EXPECT_EQ(canvas.Rgb(0, 0), kSlice[0][0]);
    EXPECT_EQ(canvas.Rgb(8, 8), kSlice[2][2]);
    EXPECT_EQ(canvas.Rgb(21, 21), kSlice[0][0]);
    EXPECT_EQ(canvas.Rgb(29, 29), kSlice[2][2]);
    EXPECT_EQ(canvas.Rgb(15, 15), kWhite);
}

TEST(DrawImage, FadeHalvesAnOpaqueImageWithBothBlenders)
{
    Bitmap black(MakeBitmap(2, 2, [](int, int) { return Opaque(kBlack); }));
    for (bool bOwn : {false, true})
    {
        ScopedFallbacks fallbacks(bOwn, false);
        Canvas canvas(10, 10, Opaque(kWhite));
        CRenderEngine::DrawImage(canvas.DC(), black.Get(), RECT{0, 0, 8, 8}, kWhole, RECT{0, 0, 2, 2}, RECT{},
                                 false, 128);
        EXPECT_TRUE(Near(canvas.Rgb(4, 4), 0x7F7F7F, 1)) << std::hex << canvas.Rgb(4, 4) << " own " << bOwn;
        EXPECT_EQ(canvas.Rgb(8, 8), kWhite);
    }
}

TEST(DrawImage, TheOwnBlenderMatchesAlphaBlend)
{
    // A premultiplied gradient of colours and coverage, stretched, faded and
    // drawn partly outside the target.
    Bitmap bmp(MakeBitmap(16, 16, [](int x, int y) {
        const DWORD a = static_cast<DWORD>(x * 16 + y);
        const DWORD r = a * static_cast<DWORD>(y) / 16, g = a / 2, b = a * static_cast<DWORD>(x) / 16;
        return (a << 24) | (r << 16) | (g << 8) | b;
    }));
    Canvas system(40, 40, Opaque(0x336699));
    Canvas own(40, 40, Opaque(0x336699));
    CRenderEngine::DrawImage(system.DC(), bmp.Get(), RECT{-8, 4, 24, 36}, kWhole, RECT{0, 0, 16, 16}, RECT{},
                             true, 200);
    {
        ScopedFallbacks fallbacks(true, false);
        CRenderEngine::DrawImage(own.DC(), bmp.Get(), RECT{-8, 4, 24, 36}, kWhole, RECT{0, 0, 16, 16}, RECT{},
                                 true, 200);
    }
    int differing = 0;
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 40; x++)
            differing += Near(system.At(x, y), own.At(x, y), 2) ? 0 : 1;
    EXPECT_EQ(differing, 0);
    EXPECT_NE(own.Rgb(10, 20), 0x336699u);
    EXPECT_EQ(own.Rgb(10, 2), 0x336699u);
}
