#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

const int kWidth = 6;
const int kHeight = 4;
const DWORD kColour = 0x00336699;

// The pixels as a caller of the alpha operations holds them: a 32-bit
// top-down bitmap's bytes, here each pixel 0x80336699.
struct Pixels
{
    DWORD values[kWidth * kHeight];

    Pixels()
    {
        for (DWORD& value : values)
            value = 0x80000000 | kColour;
    }
    LPBYTE Bytes() { return reinterpret_cast<LPBYTE>(values); }
    BYTE AlphaAt(int x, int y) const { return static_cast<BYTE>(values[y * kWidth + x] >> 24); }
    bool ColourKept() const
    {
        for (DWORD value : values)
        {
            if ((value & 0xFFFFFF) != kColour)
                return false;
        }
        return true;
    }
};

bool Inside(const RECT& rc, int x, int y)
{
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

} // namespace

// Each operation sets the alpha byte of the pixels inside the rectangle,
// cut to the bitmap's width, and touches nothing else.
TEST(AlphaBytes, ClearAndRestoreSetTheAlphaByteInsideTheRectOnly)
{
    struct Case
    {
        RECT rc;
        RECT rcExpected; // the rectangle as cut to the bitmap
    };
    const Case cases[] = {
        {{1, 1, 4, 3}, {1, 1, 4, 3}},   {{0, 0, kWidth, kHeight}, {0, 0, kWidth, kHeight}},
        {{-2, -1, 2, 2}, {0, 0, 2, 2}}, {{4, 2, 50, 4}, {4, 2, kWidth, 4}},
        {{3, 1, 3, 4}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        for (bool bRestore : {false, true})
        {
            Pixels pixels;
            RECT rc = c.rc;
            if (bRestore)
                CRenderEngine::RestoreAlphaColor(pixels.Bytes(), kWidth, &rc);
            else
                CRenderEngine::ClearAlphaPixel(pixels.Bytes(), kWidth, &rc);
            const BYTE inside = bRestore ? 0xFF : 0x00;
            for (int y = 0; y < kHeight; y++)
            {
                for (int x = 0; x < kWidth; x++)
                {
                    const BYTE expected = Inside(c.rcExpected, x, y) ? inside : 0x80;
                    EXPECT_EQ(pixels.AlphaAt(x, y), expected)
                        << "rect " << c.rc.left << "," << c.rc.top << "," << c.rc.right << "," << c.rc.bottom
                        << " restore " << bRestore << " at " << x << "," << y;
                }
            }
            EXPECT_TRUE(pixels.ColourKept());
        }
    }
}

TEST(AlphaBytes, NullBitsOrRectChangeNothing)
{
    Pixels pixels;
    RECT rc{0, 0, kWidth, kHeight};
    CRenderEngine::ClearAlphaPixel(nullptr, kWidth, &rc);
    CRenderEngine::RestoreAlphaColor(pixels.Bytes(), kWidth, nullptr);
    CRenderEngine::ClearAlphaPixel(pixels.Bytes(), 0, &rc);
    for (int y = 0; y < kHeight; y++)
    {
        for (int x = 0; x < kWidth; x++)
            EXPECT_EQ(pixels.AlphaAt(x, y), 0x80);
    }
}
