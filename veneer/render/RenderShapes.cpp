#include "veneer/render/RenderEngine.h"

#include "veneer/core/GdiHolders.h"
#include "veneer/render/ArgbColor.h"
#include "veneer/render/BlendFunctions.h"

namespace Veneer
{

namespace
{

const DWORD kOpaque = 255;

BYTE Channel(DWORD argb, int shift)
{
    return static_cast<BYTE>((argb >> shift) & 0xFF);
}

// One gradient corner; each channel goes into the high byte of its field.
TRIVERTEX Vertex(LONG x, LONG y, DWORD argb)
{
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(Channel(argb, 16) << 8);
    v.Green = static_cast<COLOR16>(Channel(argb, 8) << 8);
    v.Blue = static_cast<COLOR16>(Channel(argb, 0) << 8);
    v.Alpha = 0xFF00;
    return v;
}

// Bands of solid colour for systems without GradientFill: 2^shift bands,
// counted from the bottom (vertical) or the right edge, which has the
// second colour.
int BandShift(int nSteps)
{
    int shift = 1;
    for (int limit = 4; shift < 6 && nSteps >= limit; limit *= 2)
        shift++;
    return shift;
}

void FillBands(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const int shift = BandShift(nSteps);
    const int bands = 1 << shift;
    const long long size = bVertical ? rc.bottom - rc.top : rc.right - rc.left;
    for (int i = 0; i < bands; i++)
    {
        const long long bandFrom = (size * i) >> shift;
        const long long bandTo = (size * (i + 1)) >> shift;
        if (bandFrom == bandTo)
            continue;
        BYTE rgb[3] = {};
        for (int c = 0; c < 3; c++)
        {
            const int channelShift = 16 - 8 * c;
            rgb[c] = static_cast<BYTE>(
                (Channel(dwSecond, channelShift) * (bands - i) + Channel(dwFirst, channelShift) * i) >>
                shift);
        }
        RECT rcBand = rc;
        if (bVertical)
        {
            rcBand.top = static_cast<LONG>(rc.bottom - bandTo);
            rcBand.bottom = static_cast<LONG>(rc.bottom - bandFrom);
        }
        else
        {
            rcBand.left = static_cast<LONG>(rc.right - bandTo);
            rcBand.right = static_cast<LONG>(rc.right - bandFrom);
        }
        CScopedGdiObject<HBRUSH> brush(::CreateSolidBrush(RGB(rgb[0], rgb[1], rgb[2])));
        if (brush.Get() != nullptr)
            ::FillRect(hDC, &rcBand, brush.Get());
    }
}

// Paints the opaque gradient over rc of the target.
void PaintGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    PFNGRADIENTFILL pfnGradientFill = CBlendFunctions::GetGradientFill();
    if (pfnGradientFill == nullptr)
    {
        FillBands(hDC, rc, dwFirst, dwSecond, bVertical, nSteps);
        return;
    }
    TRIVERTEX vertices[2] = {Vertex(rc.left, rc.top, dwFirst), Vertex(rc.right, rc.bottom, dwSecond)};
    GRADIENT_RECT gradient{0, 1};
    pfnGradientFill(hDC, vertices, 2, &gradient, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

// Draws with a pen of the given style and width, then puts the previous pen
// back and deletes the pen.
template <typename TDraw> void WithPen(HDC hDC, UINT style, int nSize, DWORD dwPenColor, TDraw draw)
{
    if (hDC == nullptr)
        return;
    LOGPEN lp{};
    lp.lopnStyle = style;
    lp.lopnWidth.x = nSize;
    lp.lopnColor = ArgbToColorRef(dwPenColor);
    CScopedGdiObject<HPEN> pen(::CreatePenIndirect(&lp));
    if (pen.Get() == nullptr)
        return;
    CScopedSelect selectPen(hDC, pen.Get());
    draw();
}

} // namespace

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical,
                                 int nSteps)
{
    // Step 1: the opacity is the mean of the two alpha bytes.
    const DWORD opacity = ((dwFirst >> 24) + (dwSecond >> 24)) / 2;
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (hDC == nullptr || opacity == 0 || cx <= 0 || cy <= 0)
        return;
    if (opacity == kOpaque)
    {
        PaintGradient(hDC, rc, dwFirst, dwSecond, bVertical, nSteps);
        return;
    }

    // Step 2: a translucent gradient is painted off-screen with its own
    // origin at 0,0 ...
    CScopedMemDC memDC(hDC);
    CScopedGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(hDC, cx, cy));
    if (memDC.Get() == nullptr || bitmap.Get() == nullptr)
        return;
    CScopedSelect selectBitmap(memDC.Get(), bitmap.Get());
    PaintGradient(memDC.Get(), RECT{0, 0, cx, cy}, dwFirst, dwSecond, bVertical, nSteps);

    // Step 3: ... and blended on with the opacity alone. Solid fills leave
    // the alpha bytes 0, so the pixels' own alpha must not count.
    BLENDFUNCTION bf{};
    bf.BlendOp = AC_SRC_OVER;
    bf.SourceConstantAlpha = static_cast<BYTE>(opacity);
    CBlendFunctions::GetAlphaBlend()(hDC, rc.left, rc.top, cx, cy, memDC.Get(), 0, 0, cx, cy, bf);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    WithPen(hDC, static_cast<UINT>(nStyle), nSize, dwPenColor, [&] {
        POINT ptOld{};
        ::MoveToEx(hDC, rc.left, rc.top, &ptOld);
        ::LineTo(hDC, rc.right, rc.bottom);
        ::MoveToEx(hDC, ptOld.x, ptOld.y, nullptr);
    });
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    WithPen(hDC, PS_INSIDEFRAME, nSize, dwPenColor, [&] {
        CScopedSelect selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
    });
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor)
{
    WithPen(hDC, PS_INSIDEFRAME, nSize, dwPenColor, [&] {
        CScopedSelect selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
        ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
    });
}

} // namespace Veneer
