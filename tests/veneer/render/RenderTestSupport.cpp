#include "RenderTestSupport.h"

#include "veneer/render/BlendFunctions.h"

#include <cstdlib>

Canvas::Canvas(int cx, int cy, DWORD fill)
{
    m_dib.Create(nullptr, cx, cy);
    Fill(fill);
}

void Canvas::Fill(DWORD pixel)
{
    GdiFlush();
    for (size_t i = 0; i < m_dib.GetPixelCount(); i++)
        m_dib.GetBits()[i] = pixel;
}

DWORD Canvas::At(int x, int y) const
{
    GdiFlush();
    return m_dib.GetBits()[y * m_dib.GetWidth() + x];
}

int Canvas::Count(const RECT& rc, const std::function<bool(DWORD)>& test) const
{
    int count = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            count += test(At(x, y)) ? 1 : 0;
    return count;
}

int Canvas::CountRgb(const RECT& rc, DWORD rgb) const
{
    return Count(rc, [rgb](DWORD p) { return (p & 0xFFFFFF) == rgb; });
}

HBITMAP MakeBitmap(int cx, int cy, const std::function<DWORD(int, int)>& pixel)
{
    DWORD* pBits = nullptr;
    HBITMAP hBitmap = Veneer::CDibSurface::CreateBitmap(cx, cy, &pBits);
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            pBits[y * cx + x] = pixel(x, y);
    return hBitmap;
}

void AddTestImage(Veneer::CResourceTables& resources, const wchar_t* name, int cx, int cy,
                  const std::function<DWORD(int, int)>& pixel, bool bAlpha)
{
    resources.AddImage(name, MakeBitmap(cx, cy, pixel), cx, cy, bAlpha);
}

bool Near(DWORD a, DWORD b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(ChannelOf(a, shift) - ChannelOf(b, shift)) > tolerance)
            return false;
    return true;
}

ScopedFallbacks::ScopedFallbacks(bool bOwnBlender, bool bBands)
{
    Veneer::CBlendFunctions::HideSystemFunctions(bOwnBlender, bBands);
}

ScopedFallbacks::~ScopedFallbacks()
{
    Veneer::CBlendFunctions::HideSystemFunctions(false, false);
}
