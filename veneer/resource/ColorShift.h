#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// The hue, saturation and lightness shift that controls apply to the
// colours they paint.
class VENEER_API CColorShift
{
  public:
    // The values that leave a colour unchanged.
    static const short kNeutralHue = 180;
    static const short kNeutralPercent = 100;

    // Shifts a colour by hue (degrees, 180 = none), saturation and lightness
    // (percent, 100 = none). The low byte is taken as red, as in a COLORREF;
    // the alpha byte is kept.
    static DWORD Apply(DWORD dwColor, short H, short S, short L);
};

} // namespace Veneer
