#pragma once

#include <windows.h>

namespace Veneer
{

class CPaintManagerUI;

// Applies one attribute of a skin's Window element to the window's manager;
// false for a name that is not a window setting (the attribute is ignored).
bool ApplyWindowAttribute(CPaintManagerUI& manager, LPCWSTR pstrName, LPCWSTR pstrValue);

} // namespace Veneer
