#pragma once

#include "veneer/control/ControlUI.h"

#include <windows.h>

#include <string>

namespace Veneer
{

// "left,top,right,bottom", for comparisons that print readably.
std::string RectText(const RECT& rc);

// The same rectangle, or size, with x and y exchanged: a vertical case
// turned into the horizontal one.
RECT Transposed(const RECT& rc);

// How a test child is made: its size along the flow (0: adjustable),
// across it (0: stretched), the limits along the flow, its padding and its
// flags. For a vertical layout the flow is the height.
struct ChildShape
{
    int nMain = 0;
    int nCross = 0;
    int nMinMain = 0;
    int nMaxMain = 9999;
    RECT rcPadding{};
    bool bHidden = false;
    bool bFloat = false;
    RECT rcFloat{}; // fixed position and size of a floating child
};

// A plain control made from the shape, along the vertical or the horizontal
// flow.
CControlUI* MakeChild(const ChildShape& shape, bool bVertical);

} // namespace Veneer
