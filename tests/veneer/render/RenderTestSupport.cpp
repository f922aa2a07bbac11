#include "RenderTestSupport.h"

#include "veneer/render/BlendFunctions.h"

#include <cstdlib>

namespace
{

HBITMAP CreateDib(int cx, int cy, DWORD** ppBits)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    *ppBits = static_cast<DWORD*>(pBits);
    return hBitmap;
}

} // namespace

Canvas::Canvas(int cx, int cy, DWORD fill) : m_cx(cx), m_cy(cy)
{
    m_hBitmap = CreateDib(cx, cy, &m_pBits);
    m_hDC = CreateCompatibleDC(nullptr);
    m_hOld = SelectObject(m_hDC, m_hBitmap);
    Fill(fill);
}

Canvas::~Canvas()
{
    SelectObject(m_hDC, m_hOld);
    DeleteDC(m_hDC);
    DeleteObject(m_hBitmap);
}

void Canvas::Fill(DWORD pixel)
{
    GdiFlush();
    for (int i = 0; i < m_cx * m_cy; i++)
        m_pBits[i] = pixel;
}

DWORD Canvas::At(int x, int y) const
{
    GdiFlush();
    return m_pBits[y * m_cx + x];
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
    HBITMAP hBitmap = CreateDib(cx, cy, &pBits);
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            pBits[y * cx + x] = pixel(x, y);
    return hBitmap;
}

void AddTestImage(Veneer::CPaintManagerUI& pm, const wchar_t* name, int cx, int cy,
                  const std::function<DWORD(int, int)>& pixel, bool bAlpha)
{
    pm.AddImage(name, MakeBitmap(cx, cy, pixel), cx, cy, bAlpha);
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
