#pragma once

#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/PaintManagerUI.h"

#include <windows.h>

namespace Veneer
{

// Drawing helpers of the toolkit; all members are static.
class VENEER_API CRenderEngine
{
  public:
    // Shifts a colour by hue (degrees, 180 = none), saturation and lightness
    // (percent, 100 = none). The low byte is taken as red, as in a COLORREF;
    // the alpha byte is kept.
    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);

    // Loads an image by name, or by resource id (MAKEINTRESOURCEW) with a
    // resource type, into a new record whose resource type is empty and whose
    // mask is 0 for the caller to fill. Pixels equal to `mask` (0xAARRGGBB,
    // after premultiplication) become fully transparent. Null on failure.
    static TImageInfo* LoadImageW(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);

    // Deletes the record's bitmap and the record.
    static void FreeImage(TImageInfo* bitmap);
};

} // namespace Veneer
