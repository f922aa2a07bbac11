// The bitmap-level operations of the engine: alpha bytes of a bitmap, and
// the image loader and colour shift under their engine names.
#include "veneer/render/RenderEngine.h"

#include "veneer/resource/ColorShift.h"

#include <algorithm>

namespace Veneer
{

namespace
{

const size_t kBytesPerPixel = 4;
const size_t kAlphaByte = 3; // the top byte of a little-endian 0xAARRGGBB pixel

void SetAlphaBytes(LPBYTE pBits, int bitmapWidth, const RECT* rc, BYTE alpha)
{
    if (pBits == nullptr || rc == nullptr || bitmapWidth <= 0)
        return;
    const LONG left = std::max<LONG>(rc->left, 0);
    const LONG right = std::min<LONG>(rc->right, bitmapWidth);
    for (LONG y = std::max<LONG>(rc->top, 0); y < rc->bottom; y++)
    {
        LPBYTE pRow = pBits + static_cast<size_t>(y) * bitmapWidth * kBytesPerPixel;
        for (LONG x = left; x < right; x++)
            pRow[static_cast<size_t>(x) * kBytesPerPixel + kAlphaByte] = alpha;
    }
}

} // namespace

void CRenderEngine::ClearAlphaPixel(LPBYTE pBits, int bitmapWidth, PRECT rc)
{
    SetAlphaBytes(pBits, bitmapWidth, rc, 0);
}

void CRenderEngine::RestoreAlphaColor(LPBYTE pBits, int bitmapWidth, PRECT rc)
{
    SetAlphaBytes(pBits, bitmapWidth, rc, 0xFF);
}

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L)
{
    return CColorShift::Apply(dwColor, H, S, L);
}

TImageInfo* CRenderEngine::LoadImageW(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    return CImageLoader::Load(bitmap, type, mask);
}

void CRenderEngine::FreeImage(TImageInfo* bitmap)
{
    CImageLoader::Free(bitmap);
}

} // namespace Veneer
