#pragma once

// The names by which the stand-ins and the tests find each other: stop
// events, the platform stand-in's window class.

// QLMServiceProc.exe, the service stand-in.
constexpr wchar_t kServiceStandInStopEvent[] = L"QLMServiceProcStop";

// QMPlatform.exe, the platform stand-in.
constexpr wchar_t kPlatformStandInStopEvent[] = L"QMPlatformStandInStop";
constexpr wchar_t kPlatformStandInWindowClass[] = L"QMPlatformStandIn";
