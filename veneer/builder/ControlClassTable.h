#pragma once

#include <windows.h>

namespace Veneer
{

class CControlUI;

// The control classes that skins name by element: a new control of the
// class whose element name matches exactly (case-sensitive), or null for a
// name without a row (and when the control cannot be allocated).
CControlUI* CreateControlOfClass(LPCWSTR pstrClass);

} // namespace Veneer
