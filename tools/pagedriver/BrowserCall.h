#pragma once

#include <windows.h>

#include <oaidl.h>

#include <vector>

// One script call such as `window.external.StartDownLoad("A", "b", ...)`
// made the way the browser makes it: the name is looked up with
// GetIDsOfNames, then the method is invoked with the arguments in reverse
// order (element 0 is the last argument) and room for a result.
struct CBrowserCall
{
    HRESULT lookup = E_FAIL;
    DISPID id = DISPID_UNKNOWN;
    // Not invoked (E_FAIL) when the lookup failed.
    HRESULT invoke = E_FAIL;
    // VT_EMPTY unless the object wrote a result.
    VARIANT result{};
};

// `args` are in the page's order; the caller keeps ownership of them.
CBrowserCall CallAsBrowser(IDispatch* external, const wchar_t* name, const std::vector<VARIANT>& args);
