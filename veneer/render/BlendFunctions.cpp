#include "veneer/render/BlendFunctions.h"

#include "veneer/render/DibSurface.h"

namespace Veneer
{

namespace
{

const wchar_t kMsimg32[] = L"msimg32.dll";
const DWORD kFullProduct = 255 * 255; // source alpha times constant alpha, both opaque

// Blends one premultiplied source pixel over a destination pixel; `weight`
// is source alpha times constant alpha (0 .. 255 * 255).
DWORD BlendPixel(DWORD src, DWORD dst, DWORD srcAlpha, DWORD constAlpha)
{
    const DWORD weight = srcAlpha * constAlpha;
    DWORD result = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        // The alpha byte composes like the colours, with the source's
        // coverage standing in for its colour value.
        const DWORD s = shift == 24 ? srcAlpha : (src >> shift) & 0xFF;
        const DWORD d = (dst >> shift) & 0xFF;
        DWORD c = (s * constAlpha * 255 + d * (kFullProduct - weight)) / kFullProduct;
        if (c > 0xFF)
            c = 0xFF; // a source that is not truly premultiplied saturates
        result |= c << shift;
    }
    return result;
}

} // namespace

bool CBlendFunctions::m_bLookedUp = false;
PFNALPHABLEND CBlendFunctions::m_pfnAlphaBlend = nullptr;
PFNGRADIENTFILL CBlendFunctions::m_pfnGradientFill = nullptr;
bool CBlendFunctions::m_bHideAlphaBlend = false;
bool CBlendFunctions::m_bHideGradientFill = false;

void CBlendFunctions::LookUp()
{
    if (m_bLookedUp)
        return;
    m_bLookedUp = true;
    // The window code loads the library early; until it has, load it here.
    // The module stays loaded for the life of the process.
    HMODULE hModule = ::GetModuleHandleW(kMsimg32);
    if (hModule == nullptr)
        hModule = ::LoadLibraryW(kMsimg32);
    if (hModule == nullptr)
        return;
    m_pfnAlphaBlend = reinterpret_cast<PFNALPHABLEND>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "AlphaBlend")));
    m_pfnGradientFill = reinterpret_cast<PFNGRADIENTFILL>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "GradientFill")));
}

PFNALPHABLEND CBlendFunctions::GetAlphaBlend()
{
    LookUp();
    return m_pfnAlphaBlend != nullptr && !m_bHideAlphaBlend ? m_pfnAlphaBlend : &OwnAlphaBlend;
}

PFNGRADIENTFILL CBlendFunctions::GetGradientFill()
{
    LookUp();
    return m_bHideGradientFill ? nullptr : m_pfnGradientFill;
}

void CBlendFunctions::HideSystemFunctions(bool bAlphaBlend, bool bGradientFill)
{
    m_bHideAlphaBlend = bAlphaBlend;
    m_bHideGradientFill = bGradientFill;
}

BOOL WINAPI CBlendFunctions::OwnAlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest,
                                           HDC hdcSrc, int xSrc, int ySrc, int cxSrc, int cySrc,
                                           BLENDFUNCTION bf)
{
    if (hdcDest == nullptr || hdcSrc == nullptr || cxDest <= 0 || cyDest <= 0 || cxSrc <= 0 || cySrc <= 0)
        return FALSE;

    // Step 1: the source part, stretched to the destination size. Colour on
    // colour keeps the alpha bytes instead of mixing neighbours.
    CDibSurface source;
    if (!source.Create(hdcDest, cxDest, cyDest))
        return FALSE;
    ::SetStretchBltMode(source.GetDC(), COLORONCOLOR);
    ::StretchBlt(source.GetDC(), 0, 0, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);

    // Step 2: the destination area as it is now.
    CDibSurface dest;
    if (!dest.Create(hdcDest, cxDest, cyDest))
        return FALSE;
    ::BitBlt(dest.GetDC(), 0, 0, cxDest, cyDest, hdcDest, xDest, yDest, SRCCOPY);
    ::GdiFlush();

    // Step 3: blend pixel by pixel; both surfaces have exactly cx * cy pixels.
    const bool bSourceAlpha = (bf.AlphaFormat & AC_SRC_ALPHA) != 0;
    const DWORD* pSrc = source.GetBits();
    DWORD* pDst = dest.GetBits();
    for (size_t i = 0; i < dest.GetPixelCount(); i++)
    {
        const DWORD srcAlpha = bSourceAlpha ? pSrc[i] >> 24 : 0xFF;
        pDst[i] = BlendPixel(pSrc[i], pDst[i], srcAlpha, bf.SourceConstantAlpha);
    }

    // Step 4: the result back onto the destination.
    return ::BitBlt(hdcDest, xDest, yDest, cxDest, cyDest, dest.GetDC(), 0, 0, SRCCOPY);
}

} // namespace Veneer
