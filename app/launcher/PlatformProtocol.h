#pragma once

// What the program and the client platform program ("QMPlatform.exe")
// agree on, shared with the platform stand-in and the tests: where the
// platform lies, where it publishes its window, and the command record.
#include <windows.h>

#include <cstddef>

namespace Qlm
{

// The registry component whose "Installation" value names the platform's
// folder, and the program in it.
constexpr wchar_t kPlatformComponent[] = L"platform";
constexpr wchar_t kPlatformExeName[] = L"QMPlatform.exe";

// The platform writes its window's handle, in decimal, into this file in
// its folder, under this section and key.
constexpr wchar_t kPlatformParamFile[] = L"PlatformParam.ini";
constexpr wchar_t kPlatformHandleSection[] = L"HWNDApp";
constexpr wchar_t kPlatformHandleKey[] = L"HWND";

// A command is a WM_COPYDATA record of this type holding the narrow text
// without its terminator, at most this long; the platform replies this to
// a command it accepts.
constexpr ULONG_PTR kPlatformCommandType = 1;
constexpr size_t kMaxPlatformCommandBytes = 1023;
constexpr LRESULT kPlatformCommandAccepted = 100;

} // namespace Qlm
