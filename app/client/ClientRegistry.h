#pragma once

#include <windows.h>

#include <string>

namespace Qlm
{

// The client's per-machine values under HKEY_LOCAL_MACHINE
// "Software\Quillmarsh".

// The machine's client user identity ("UserID"). On failure `out` is empty.
bool GetUserID(std::string& out);

// The installation folder ("Installation") of a client component, for
// example "platform", read from "Software\Quillmarsh\<component>" into a
// caller's buffer of `size` bytes (in/out, as RegQueryValueExW takes it).
bool GetInstallationPath(const wchar_t* component, wchar_t* buffer, DWORD* size);

} // namespace Qlm
