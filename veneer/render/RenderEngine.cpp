#include "veneer/render/RenderEngine.h"

#include "veneer/core/GdiHolders.h"
#include "veneer/render/ArgbColor.h"
#include "veneer/render/BlendFunctions.h"
#include "veneer/render/DibSurface.h"

#include <algorithm>

namespace Veneer
{

namespace
{

const BYTE kOpaque = 255;

int WidthOf(const RECT& rc)
{
    return rc.right - rc.left;
}

int HeightOf(const RECT& rc)
{
    return rc.bottom - rc.top;
}

BLENDFUNCTION SourceOver(BYTE constantAlpha, BYTE alphaFormat)
{
    BLENDFUNCTION bf{};
    bf.BlendOp = AC_SRC_OVER;
    bf.SourceConstantAlpha = constantAlpha;
    bf.AlphaFormat = alphaFormat;
    return bf;
}

// The memory device context that bitmaps are drawn from. Making one for
// every image cost more than the nine blits of a small nine-sliced image
// (Wine keeps device contexts in the server's handle tables), so one is kept
// for the process: the toolkit draws on its UI thread only. A bitmap stays
// selected into it for one DrawImage call, so the image tables can always
// delete their bitmaps.
HDC SourceDC()
{
    static const HDC hDC = ::CreateCompatibleDC(nullptr);
    return hDC;
}

// Draws the pieces of one bitmap, selected into a memory device context,
// onto the target; pieces outside the paint rect are skipped.
class CImagePainter
{
  public:
    CImagePainter(HDC hDC, HDC hMemDC, const RECT& rcPaint, bool bBlend, BYTE uFade)
        : m_hDC(hDC), m_hMemDC(hMemDC), m_rcPaint(rcPaint), m_bBlend(bBlend),
          m_bf(SourceOver(uFade, AC_SRC_ALPHA)), m_pfnAlphaBlend(CBlendFunctions::GetAlphaBlend())
    {
    }

    // Stretches the source part over rcDest. Empty pieces on either side are
    // left out, so GDI never sees a negative size.
    void Stretch(const RECT& rcDest, int xSrc, int ySrc, int cxSrc, int cySrc) const
    {
        if (!Touches(rcDest) || cxSrc <= 0 || cySrc <= 0)
            return;
        if (m_bBlend)
            m_pfnAlphaBlend(m_hDC, rcDest.left, rcDest.top, WidthOf(rcDest), HeightOf(rcDest), m_hMemDC, xSrc,
                            ySrc, cxSrc, cySrc, m_bf);
        else
            ::StretchBlt(m_hDC, rcDest.left, rcDest.top, WidthOf(rcDest), HeightOf(rcDest), m_hMemDC, xSrc,
                         ySrc, cxSrc, cySrc, SRCCOPY);
    }

    // Draws the source at its own size; without blending a plain copy.
    void Copy(const RECT& rcDest, int xSrc, int ySrc) const
    {
        if (m_bBlend)
            Stretch(rcDest, xSrc, ySrc, WidthOf(rcDest), HeightOf(rcDest));
        else if (Touches(rcDest))
            ::BitBlt(m_hDC, rcDest.left, rcDest.top, WidthOf(rcDest), HeightOf(rcDest), m_hMemDC, xSrc, ySrc,
                     SRCCOPY);
    }

    // Copies the part of rcDest inside the paint rect from the matching
    // offset of the source.
    void CopyInsidePaint(const RECT& rcDest, int xSrc, int ySrc) const
    {
        RECT rcPart{};
        if (!::IntersectRect(&rcPart, &rcDest, &m_rcPaint))
            return;
        ::BitBlt(m_hDC, rcPart.left, rcPart.top, WidthOf(rcPart), HeightOf(rcPart), m_hMemDC,
                 xSrc + rcPart.left - rcDest.left, ySrc + rcPart.top - rcDest.top, SRCCOPY);
    }

    const RECT& GetPaint() const { return m_rcPaint; }

  private:
    bool Touches(const RECT& rcDest) const
    {
        RECT rcTemp{};
        return ::IntersectRect(&rcTemp, &rcDest, &m_rcPaint) != FALSE;
    }

    HDC m_hDC;
    HDC m_hMemDC;
    RECT m_rcPaint;
    bool m_bBlend;
    BLENDFUNCTION m_bf;
    PFNALPHABLEND m_pfnAlphaBlend;
};

// The centre slice: where it goes and which part of the bitmap it shows.
struct CentreSlice
{
    RECT rcDest;
    int xSrc;
    int ySrc;
    int cxSrc;
    int cySrc;
};

// The tiles of one axis that can touch [paintFrom, paintTo): the first index
// and one past the last, out of ceil(length / tile) tiles from `origin`.
void TileRange(int origin, int length, int tile, int paintFrom, int paintTo, int* pFirst, int* pEnd)
{
    const long long count = (static_cast<long long>(length) + tile - 1) / tile;
    const long long first = std::max(0LL, (static_cast<long long>(paintFrom) - origin) / tile);
    const long long end = std::min(count, (static_cast<long long>(paintTo) - origin + tile - 1) / tile);
    *pFirst = static_cast<int>(first);
    *pEnd = static_cast<int>(std::max(first, end));
}

// Tiles of the centre's source width, each stretched over the full height;
// the last one narrowed in destination and source alike.
void TileCentreX(const CImagePainter& painter, const CentreSlice& c)
{
    const RECT& rc = c.rcDest;
    int first = 0, end = 0;
    TileRange(rc.left, WidthOf(rc), c.cxSrc, painter.GetPaint().left, painter.GetPaint().right, &first, &end);
    for (int i = first; i < end; i++)
    {
        const int left = rc.left + i * c.cxSrc;
        const int cx = std::min<int>(c.cxSrc, rc.right - left);
        painter.Stretch(RECT{left, rc.top, left + cx, rc.bottom}, c.xSrc, c.ySrc, cx, c.cySrc);
    }
}

// The same downwards: tiles of the source height over the full width.
void TileCentreY(const CImagePainter& painter, const CentreSlice& c)
{
    const RECT& rc = c.rcDest;
    int first = 0, end = 0;
    TileRange(rc.top, HeightOf(rc), c.cySrc, painter.GetPaint().top, painter.GetPaint().bottom, &first, &end);
    for (int i = first; i < end; i++)
    {
        const int top = rc.top + i * c.cySrc;
        const int cy = std::min<int>(c.cySrc, rc.bottom - top);
        painter.Stretch(RECT{rc.left, top, rc.right, top + cy}, c.xSrc, c.ySrc, c.cxSrc, cy);
    }
}

// Unscaled tiles row by row; the last column and row are cut.
void TileCentreXY(const CImagePainter& painter, const CentreSlice& c)
{
    const RECT& rc = c.rcDest;
    const RECT& rcPaint = painter.GetPaint();
    int firstRow = 0, endRow = 0, firstCol = 0, endCol = 0;
    TileRange(rc.top, HeightOf(rc), c.cySrc, rcPaint.top, rcPaint.bottom, &firstRow, &endRow);
    TileRange(rc.left, WidthOf(rc), c.cxSrc, rcPaint.left, rcPaint.right, &firstCol, &endCol);
    for (int row = firstRow; row < endRow; row++)
    {
        const int top = rc.top + row * c.cySrc;
        const int bottom = top + std::min<int>(c.cySrc, rc.bottom - top);
        for (int col = firstCol; col < endCol; col++)
        {
            const int left = rc.left + col * c.cxSrc;
            const int right = left + std::min<int>(c.cxSrc, rc.right - left);
            painter.Copy(RECT{left, top, right, bottom}, c.xSrc, c.ySrc);
        }
    }
}

void DrawCentre(const CImagePainter& painter, const CentreSlice& c, bool xtiled, bool ytiled)
{
    // A tile of no width or height would never advance: such a centre is
    // not drawn at all.
    if (c.cxSrc <= 0 || c.cySrc <= 0 || WidthOf(c.rcDest) <= 0 || HeightOf(c.rcDest) <= 0)
        return;
    if (xtiled && ytiled)
        TileCentreXY(painter, c);
    else if (xtiled)
        TileCentreX(painter, c);
    else if (ytiled)
        TileCentreY(painter, c);
    else
        painter.Stretch(c.rcDest, c.xSrc, c.ySrc, c.cxSrc, c.cySrc);
}

// The corners as slice widths that fit the source: never negative and
// never wider or higher than the source itself.
RECT FitCorners(const RECT& rcCorners, int cxSource, int cySource)
{
    RECT rc{};
    rc.left = std::clamp<LONG>(rcCorners.left, 0, cxSource);
    rc.top = std::clamp<LONG>(rcCorners.top, 0, cySource);
    rc.right = std::clamp<LONG>(rcCorners.right, 0, cxSource);
    rc.bottom = std::clamp<LONG>(rcCorners.bottom, 0, cySource);
    return rc;
}

} // namespace

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                              const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel, BYTE uFade,
                              bool hole, bool xtiled, bool ytiled)
{
    // Step 1: nothing to draw without a bitmap, a device context or an area.
    if (hDC == nullptr || hBitmap == nullptr || WidthOf(rc) <= 0 || HeightOf(rc) <= 0 ||
        WidthOf(rcBmpPart) <= 0 || HeightOf(rcBmpPart) <= 0)
        return;

    // Step 2: the bitmap in the source device context for this call; the
    // target stretches with averaging.
    HDC hSourceDC = SourceDC();
    if (hSourceDC == nullptr)
        return;
    CScopedSelect selectBitmap(hSourceDC, hBitmap);
    if (!selectBitmap.IsSelected())
        return;
    if (::GetStretchBltMode(hDC) != HALFTONE)
        ::SetStretchBltMode(hDC, HALFTONE);

    // Step 3: blend when the bitmap has alpha or is faded; an opaque bitmap
    // at its own size without slices is only copied where it is repainted.
    const bool bBlend = alphaChannel || uFade < kOpaque;
    const CImagePainter painter(hDC, hSourceDC, rcPaint, bBlend, uFade);
    const int cxSource = WidthOf(rcBmpPart);
    const int cySource = HeightOf(rcBmpPart);
    if (!bBlend && WidthOf(rc) == cxSource && HeightOf(rc) == cySource && rcCorners.left == 0 &&
        rcCorners.top == 0 && rcCorners.right == 0 && rcCorners.bottom == 0)
    {
        painter.CopyInsidePaint(rc, rcBmpPart.left, rcBmpPart.top);
        return;
    }

    // Step 4: the nine slices, centre first; corners keep their source size.
    const RECT corner = FitCorners(rcCorners, cxSource, cySource);
    const LONG cl = corner.left, ct = corner.top, cr = corner.right, cb = corner.bottom;
    const int cxMiddle = cxSource - cl - cr;
    const int cyMiddle = cySource - ct - cb;
    const RECT& src = rcBmpPart;
    if (!hole)
    {
        const CentreSlice centre{RECT{rc.left + cl, rc.top + ct, rc.right - cr, rc.bottom - cb},
                                 src.left + cl, src.top + ct, cxMiddle, cyMiddle};
        DrawCentre(painter, centre, xtiled, ytiled);
    }
    if (cl > 0 && ct > 0)
        painter.Stretch(RECT{rc.left, rc.top, rc.left + cl, rc.top + ct}, src.left, src.top, cl, ct);
    if (ct > 0)
        painter.Stretch(RECT{rc.left + cl, rc.top, rc.right - cr, rc.top + ct}, src.left + cl, src.top,
                        cxMiddle, ct);
    if (cr > 0 && ct > 0)
        painter.Stretch(RECT{rc.right - cr, rc.top, rc.right, rc.top + ct}, src.right - cr, src.top, cr, ct);
    if (cl > 0)
        painter.Stretch(RECT{rc.left, rc.top + ct, rc.left + cl, rc.bottom - cb}, src.left, src.top + ct, cl,
                        cyMiddle);
    if (cr > 0)
        painter.Stretch(RECT{rc.right - cr, rc.top + ct, rc.right, rc.bottom - cb}, src.right - cr,
                        src.top + ct, cr, cyMiddle);
    if (cl > 0 && cb > 0)
        painter.Stretch(RECT{rc.left, rc.bottom - cb, rc.left + cl, rc.bottom}, src.left, src.bottom - cb, cl,
                        cb);
    if (cb > 0)
        painter.Stretch(RECT{rc.left + cl, rc.bottom - cb, rc.right - cr, rc.bottom}, src.left + cl,
                        src.bottom - cb, cxMiddle, cb);
    if (cr > 0 && cb > 0)
        painter.Stretch(RECT{rc.right - cr, rc.bottom - cb, rc.right, rc.bottom}, src.right - cr,
                        src.bottom - cb, cr, cb);
    // Step 5: the holders release the memory device context.
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    const DWORD alpha = color >> 24;
    if (hDC == nullptr || alpha == 0)
        return;
    if (alpha == kOpaque)
    {
        const COLORREF oldColor = ::SetBkColor(hDC, ArgbToColorRef(color));
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        ::SetBkColor(hDC, oldColor);
        return;
    }
    // A translucent colour is one pixel stretched by the blender. The
    // blender takes premultiplied pixels, as the image table holds them.
    // The pixel's bitmap is made once and kept for the process: a new DIB
    // section per fill costs more than many fills themselves.
    static DWORD* pBits = nullptr;
    static const HBITMAP hPixel = CDibSurface::CreateBitmap(1, 1, &pBits);
    if (hPixel == nullptr)
        return;
    ::GdiFlush(); // GDI may still be reading the previous colour
    const DWORD red = ((color >> 16) & 0xFF) * alpha / 255;
    const DWORD green = ((color >> 8) & 0xFF) * alpha / 255;
    const DWORD blue = (color & 0xFF) * alpha / 255;
    *pBits = (alpha << 24) | (red << 16) | (green << 8) | blue;
    DrawImage(hDC, hPixel, rc, rc, RECT{0, 0, 1, 1}, RECT{}, true, kOpaque);
}

} // namespace Veneer
