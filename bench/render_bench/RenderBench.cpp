// Times the render engine's most frequent operations against the plain GDI
// calls that draw the same pixels into the same kind of device context (a
// 32-bit DIB section of a full window, as the window paints off-screen),
// and prints each as a ratio. The plain side keeps its memory DC, brush and
// font selected, as hand-written GDI code would.

#include "veneer/Veneer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Veneer;

namespace
{

const int kWidth = 1280;
const int kHeight = 1024;
const int kRounds = 2000;
const int kBatches = 10;
const int kImageSize = 32;
const int kCorner = 6;

double NowMs()
{
    LARGE_INTEGER frequency{}, counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Microseconds per call of `draw`, which gets the round number so that the
// rectangles move over the surface.
double TimeBatch(const std::function<void(int)>& draw, int first, int count)
{
    GdiFlush();
    const double start = NowMs();
    for (int i = first; i < first + count; i++)
        draw(i);
    GdiFlush();
    return (NowMs() - start) * 1000.0 / count;
}

RECT Place(int i, int cx, int cy)
{
    const int x = (i * 37) % (kWidth - cx);
    const int y = (i * 53) % (kHeight - cy);
    return RECT{x, y, x + cx, y + cy};
}

// Times both sides in alternating batches, so that a busy machine slows
// them alike, and prints the fastest batch of each and their ratio.
void Report(const char* name, const std::function<void(int)>& engine, const std::function<void(int)>& plain)
{
    const int batch = kRounds / kBatches;
    TimeBatch(engine, 0, batch);
    TimeBatch(plain, 0, batch);
    double bestEngine = 1e30, bestPlain = 1e30;
    for (int b = 0; b < kBatches; b++)
    {
        bestEngine = std::min(bestEngine, TimeBatch(engine, b * batch, batch));
        bestPlain = std::min(bestPlain, TimeBatch(plain, b * batch, batch));
    }
    printf("%-34s %9.2f us %9.2f us %7.2fx\n", name, bestEngine, bestPlain, bestEngine / bestPlain);
}

// The nine pieces of a sliced image, as plain GDI draws them.
void PlainNineSlice(HDC hDC, HDC hMemDC, const RECT& rc, bool bBlend)
{
    const int c = kCorner, s = kImageSize, m = kImageSize - 2 * kCorner;
    const int xs[4] = {rc.left, rc.left + c, rc.right - c, rc.right};
    const int ys[4] = {rc.top, rc.top + c, rc.bottom - c, rc.bottom};
    const int sx[4] = {0, c, s - c, s};
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (int row = 0; row < 3; row++)
        for (int col = 0; col < 3; col++)
        {
            const int cx = xs[col + 1] - xs[col], cy = ys[row + 1] - ys[row];
            const int scx = col == 1 ? m : c, scy = row == 1 ? m : c;
            if (bBlend)
                AlphaBlend(hDC, xs[col], ys[row], cx, cy, hMemDC, sx[col], sx[row], scx, scy, bf);
            else
                StretchBlt(hDC, xs[col], ys[row], cx, cy, hMemDC, sx[col], sx[row], scx, scy, SRCCOPY);
        }
}

} // namespace

int main()
{
    // The target: a full window's off-screen surface.
    DWORD* pBits = nullptr;
    HBITMAP hTarget = CDibSurface::CreateBitmap(kWidth, kHeight, &pBits);
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldTarget = SelectObject(hDC, hTarget);
    SetStretchBltMode(hDC, HALFTONE);

    // The images, one opaque and one with alpha, twice: the manager owns the
    // engine's copies, the plain side keeps its own selected.
    CPaintManagerUI pm;
    HBITMAP images[2][2] = {};
    for (int copy = 0; copy < 2; copy++)
    {
        DWORD* pImage = nullptr;
        images[copy][0] = CDibSurface::CreateBitmap(kImageSize, kImageSize, &pImage);
        for (int i = 0; i < kImageSize * kImageSize; i++)
            pImage[i] = 0xFF000000u | static_cast<DWORD>(i * 2654435761u >> 8);
        images[copy][1] = CDibSurface::CreateBitmap(kImageSize, kImageSize, &pImage);
        for (int i = 0; i < kImageSize * kImageSize; i++)
            pImage[i] = 0x80404040u;
    }
    pm.AddImage(L"opaque.png", images[1][0], kImageSize, kImageSize, false);
    pm.AddImage(L"alpha.png", images[1][1], kImageSize, kImageSize, true);
    HBITMAP hOpaque = images[0][0];
    HBITMAP hAlpha = images[0][1];
    HBITMAP hEngineOpaque = images[1][0];
    HBITMAP hEngineAlpha = images[1][1];

    HDC hMemDC = CreateCompatibleDC(hDC);
    HGDIOBJ hOldMem = SelectObject(hMemDC, hOpaque);
    const RECT source{0, 0, kImageSize, kImageSize};
    const RECT corners{kCorner, kCorner, kCorner, kCorner};
    const RECT all{0, 0, kWidth, kHeight};

    printf("%-34s %12s %12s %8s\n", "operation (per call)", "engine", "plain GDI", "ratio");

    // Nine-sliced images, opaque and with alpha.
    Report("DrawImage nine-slice, opaque", ([&](int i) {
               CRenderEngine::DrawImage(hDC, hEngineOpaque, Place(i, 200, 40), all, source, corners, false);
           }),
           ([&](int i) { PlainNineSlice(hDC, hMemDC, Place(i, 200, 40), false); }));
    SelectObject(hMemDC, hAlpha);
    Report("DrawImage nine-slice, alpha", ([&](int i) {
               CRenderEngine::DrawImage(hDC, hEngineAlpha, Place(i, 200, 40), all, source, corners, true);
           }),
           ([&](int i) { PlainNineSlice(hDC, hMemDC, Place(i, 200, 40), true); }));
    SelectObject(hMemDC, hOpaque);
    Report("DrawImageString nine-slice", ([&](int i) {
               const RECT rc = Place(i, 200, 40);
               CRenderEngine::DrawImageString(hDC, pm.GetResources(), rc, all,
                                              L"file='opaque.png' corner='6,6,6,6'");
           }),
           ([&](int i) { PlainNineSlice(hDC, hMemDC, Place(i, 200, 40), false); }));

    // Colours: opaque against a kept brush, translucent against AlphaBlend
    // of a kept 1 x 1 bitmap.
    HBRUSH hBrush = CreateSolidBrush(RGB(0x20, 0x40, 0x60));
    Report("DrawColor opaque",
           ([&](int i) { CRenderEngine::DrawColor(hDC, Place(i, 300, 200), 0xFF204060); }), ([&](int i) {
               const RECT rc = Place(i, 300, 200);
               FillRect(hDC, &rc, hBrush);
           }));
    DWORD* pPixel = nullptr;
    HBITMAP hPixel = CDibSurface::CreateBitmap(1, 1, &pPixel);
    *pPixel = 0x80102030;
    SelectObject(hMemDC, hPixel);
    Report("DrawColor translucent",
           ([&](int i) { CRenderEngine::DrawColor(hDC, Place(i, 300, 200), 0x80204060); }), ([&](int i) {
               const RECT rc = Place(i, 300, 200);
               BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
               AlphaBlend(hDC, rc.left, rc.top, 300, 200, hMemDC, 0, 0, 1, 1, bf);
           }));

    // Text in the manager's default font.
    HGDIOBJ hOldFont = SelectObject(hDC, pm.GetFont(-1));
    Report("DrawTextW single line", ([&](int i) {
               RECT rc = Place(i, 200, 24);
               CRenderEngine::DrawTextW(hDC, pm.GetResources(), rc, L"The quick brown fox", 0xFF000000, -1,
                                        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, false);
           }),
           ([&](int i) {
               RECT rc = Place(i, 200, 24);
               SetBkMode(hDC, TRANSPARENT);
               SetTextColor(hDC, RGB(0, 0, 0));
               DrawTextW(hDC, L"The quick brown fox", -1, &rc,
                         DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
           }));
    SelectObject(hDC, hOldFont);

    SelectObject(hMemDC, hOldMem);
    DeleteDC(hMemDC);
    DeleteObject(hPixel);
    DeleteObject(hBrush);
    DeleteObject(hOpaque);
    DeleteObject(hAlpha);
    SelectObject(hDC, hOldTarget);
    DeleteDC(hDC);
    DeleteObject(hTarget);
    return 0;
}
