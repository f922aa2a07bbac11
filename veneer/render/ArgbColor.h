#pragma once

#include <windows.h>

namespace Veneer
{

// The toolkit's colours are 0xAARRGGBB; GDI wants red in the low byte and
// no alpha.
inline COLORREF ArgbToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

} // namespace Veneer
