#pragma once

#include "veneer/render/DibSurface.h"
#include "veneer/render/RenderEngine.h"
#include "veneer/resource/ResourceTables.h"

#include "GdiCount.h"

#include <windows.h>

#include <functional>

// A 32-bit top-down DIB selected into a memory device context; the tests
// draw into it and read the pixels back (0xAARRGGBB).
class Canvas
{
  public:
    Canvas(int cx, int cy, DWORD fill);

    HDC DC() const { return m_dib.GetDC(); }
    void Fill(DWORD pixel);
    DWORD At(int x, int y) const;
    DWORD Rgb(int x, int y) const { return At(x, y) & 0xFFFFFF; }
    // How many pixels of `rc` satisfy `test`.
    int Count(const RECT& rc, const std::function<bool(DWORD)>& test) const;
    // How many pixels of `rc` have the colour `rgb`, whatever their alpha
    // byte (GDI writes 0 there).
    int CountRgb(const RECT& rc, DWORD rgb) const;

  private:
    Veneer::CDibSurface m_dib;
};

// Colours of the tests, as 0xRRGGBB.
const DWORD kWhite = 0xFFFFFF;
const DWORD kBlack = 0x000000;
const DWORD kRed = 0xFF0000;
const DWORD kGreen = 0x00FF00;
const DWORD kBlue = 0x0000FF;

// The opaque pixel of a colour.
inline DWORD Opaque(DWORD rgb)
{
    return 0xFF000000 | rgb;
}

// A premultiplied 32-bit top-down DIB whose pixels come from `pixel(x, y)`.
HBITMAP MakeBitmap(int cx, int cy, const std::function<DWORD(int, int)>& pixel);

// Registers such a bitmap in the manager's image table under `name`.
void AddTestImage(Veneer::CResourceTables& resources, const wchar_t* name, int cx, int cy,
                  const std::function<DWORD(int, int)>& pixel, bool bAlpha = false);

// One colour channel (shift 16 red, 8 green, 0 blue).
inline int ChannelOf(DWORD pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// Whether the colour bytes of two pixels differ by at most `tolerance` each.
bool Near(DWORD a, DWORD b, int tolerance);

// Live GDI objects of this process (shared with the runtime's tests).
using Veneer::CountGdiObjects;

// Forces the fallbacks of the render engine for the life of the holder.
class ScopedFallbacks
{
  public:
    ScopedFallbacks(bool bOwnBlender, bool bBands);
    ScopedFallbacks(const ScopedFallbacks&) = delete;
    ScopedFallbacks& operator=(const ScopedFallbacks&) = delete;
    ~ScopedFallbacks();
};
