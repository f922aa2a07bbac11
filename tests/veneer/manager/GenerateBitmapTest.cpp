#include "veneer/control/ControlUI.h"
#include "veneer/manager/PaintManagerUI.h"
#include "veneer/render/RenderEngine.h"

#include "GdiCount.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

const DWORD kFill = 0x336699;
const DWORD kMarker = 0xFF8800;

DWORD Opaque(DWORD rgb)
{
    return 0xFF000000 | rgb;
}

// Paints its paint rectangle in one colour and marks the rectangle's
// top-left pixel, so that a copy shows which part it came from.
class CColourControl : public CControlUI
{
  public:
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        m_rcPainted = rcPaint;
        CRenderEngine::DrawColor(hDC, rcPaint, Opaque(kFill));
        CRenderEngine::DrawColor(hDC, RECT{rcPaint.left, rcPaint.top, rcPaint.left + 1, rcPaint.top + 1},
                                 Opaque(kMarker));
    }

    RECT m_rcPainted{};
};

struct BitmapPixels
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    const DWORD* bits = nullptr;
};

BitmapPixels PixelsOf(HBITMAP hBitmap)
{
    DIBSECTION ds{};
    BitmapPixels pixels;
    if (GetObjectW(hBitmap, sizeof(ds), &ds) != sizeof(ds))
        return pixels;
    pixels.width = ds.dsBm.bmWidth;
    pixels.height = ds.dsBm.bmHeight;
    pixels.bitsPerPixel = ds.dsBm.bmBitsPixel;
    pixels.bits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    return pixels;
}

} // namespace

TEST(GenerateBitmap, CopiesTheRectangleTheControlPainted)
{
    CPaintManagerUI pm;
    CColourControl control;
    const RECT rc{10, 20, 50, 45};
    HBITMAP hBitmap = pm.GenerateBitmap(&control, rc);
    ASSERT_NE(hBitmap, nullptr);
    EXPECT_EQ(control.m_rcPainted.left, 10);
    EXPECT_EQ(control.m_rcPainted.bottom, 45);

    const BitmapPixels pixels = PixelsOf(hBitmap);
    ASSERT_NE(pixels.bits, nullptr);
    EXPECT_EQ(pixels.width, 40);
    EXPECT_EQ(pixels.height, 25);
    EXPECT_EQ(pixels.bitsPerPixel, 32);
    // Row 0 is the top row: the marker of the rectangle's corner.
    EXPECT_EQ(pixels.bits[0] & 0xFFFFFF, kMarker);
    int filled = 0;
    for (int i = 1; i < pixels.width * pixels.height; i++)
        filled += (pixels.bits[i] & 0xFFFFFF) == kFill ? 1 : 0;
    EXPECT_EQ(filled, 40 * 25 - 1);
    DeleteObject(hBitmap);
}

TEST(GenerateBitmap, UsesTheWindowsPaintSurface)
{
    CPaintManagerUI pm;
    CTestWindow window;
    ASSERT_TRUE(window.Create(&pm, 80, 60));
    ASSERT_NE(pm.GetPaintDC(), nullptr);
    CColourControl control;
    HBITMAP hBitmap = pm.GenerateBitmap(&control, RECT{30, 30, 40, 36});
    ASSERT_NE(hBitmap, nullptr);
    const BitmapPixels pixels = PixelsOf(hBitmap);
    ASSERT_NE(pixels.bits, nullptr);
    EXPECT_EQ(pixels.width, 10);
    EXPECT_EQ(pixels.height, 6);
    EXPECT_EQ(pixels.bits[0] & 0xFFFFFF, kMarker);
    EXPECT_EQ(pixels.bits[59] & 0xFFFFFF, kFill);
    DeleteObject(hBitmap);
}

TEST(GenerateBitmap, RefusesWhatCannotBePainted)
{
    CPaintManagerUI pm;
    CColourControl control;
    EXPECT_EQ(pm.GenerateBitmap(nullptr, RECT{0, 0, 10, 10}), nullptr);
    EXPECT_EQ(pm.GenerateBitmap(&control, RECT{10, 10, 10, 20}), nullptr);
    EXPECT_EQ(pm.GenerateBitmap(&control, RECT{10, 10, 5, 5}), nullptr);
}

TEST(GenerateBitmap, LeavesNoObjectsBehind)
{
    CPaintManagerUI pm;
    CColourControl control;
    DeleteObject(pm.GenerateBitmap(&control, RECT{0, 0, 30, 30}));
    const int before = CountGdiObjects();
    for (int i = 0; i < 200; i++)
        DeleteObject(pm.GenerateBitmap(&control, RECT{5, 5, 30, 30}));
    EXPECT_EQ(CountGdiObjects(), before);
}
