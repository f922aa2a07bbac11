#pragma once

#include "veneer/render/DibSurface.h"

#include <windows.h>

namespace Veneer
{

// Text for a window whose pixels carry alpha. GDI text leaves the alpha
// bytes 0, so the text is drawn on a surface of the rectangle's size whose
// alpha bytes are all 0xFF, with the target's coordinates; at the end the
// pixels that the text touched become opaque, the rest fully transparent,
// and the surface is blended onto the target.
class CLayeredTextSurface
{
  public:
    // Without a target there is no surface.
    CLayeredTextSurface(HDC hTarget, const RECT& rc);
    CLayeredTextSurface(const CLayeredTextSurface&) = delete;
    CLayeredTextSurface& operator=(const CLayeredTextSurface&) = delete;

    // Where to draw the text; null when no surface could be made.
    HDC GetDC() const;
    // Blends what was drawn onto the target (once).
    void Finish();

  private:
    HDC m_hTarget;
    RECT m_rc;
    CDibSurface m_surface;
    bool m_bReady;
};

} // namespace Veneer
