#pragma once

#include <windows.h>

namespace Veneer
{

class CControlUI;

// The control classes that skins name by element: a new control of the
// class whose element name matches exactly (case-sensitive), or null for a
// name without a row (and when the control cannot be allocated).
CControlUI* CreateControlOfClass(LPCWSTR pstrClass);

// Classes of the layers above the builder (the ActiveX host and the web
// browser) cannot be named here, so they join the table at start-up. A
// name the fixed rows already have, a null argument or a full table is
// refused with false; the rows added are consulted after the fixed ones.
// The name is kept, not copied: pass a literal.
typedef CControlUI* (*PFN_CREATE_CONTROL_CLASS)();
bool AddControlClass(LPCWSTR pstrName, PFN_CREATE_CONTROL_CLASS pfnCreate);

} // namespace Veneer
