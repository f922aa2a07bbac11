#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// The name of a window message for diagnostic output ("WM_PAINT"), or its
// value as "0x%04X" in a process-wide buffer that the next call overwrites.
VENEER_API const wchar_t* UI__TraceMsg(UINT uMsg);

// Writes one formatted line (wsprintf rules: %s is a wide string) to the
// debugger output in checked builds; release builds write nothing.
VENEER_API void UI__Trace(const wchar_t* pstrFormat, ...);

} // namespace Veneer
