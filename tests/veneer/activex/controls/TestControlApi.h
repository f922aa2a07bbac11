#pragma once

// What the test controls and their tests share: the class ids and program
// ids, and the record a control DLL keeps of what its objects received.
#include <guiddef.h>
#include <windows.h>

namespace TestControls
{

// Served by windowless.dll: activates windowless where the site allows it.
inline constexpr GUID kCLSID_Windowless = {
    0x6F3A1C20, 0x5B7E, 0x4C11, {0x9A, 0x40, 0x10, 0x22, 0x33, 0x44, 0x55, 0x01}};
// Served by windowless.dll as well: made and set up, but its activation
// fails, so that the host has to release a half-made control.
inline constexpr GUID kCLSID_FailingActivation = {
    0x6F3A1C20, 0x5B7E, 0x4C11, {0x9A, 0x40, 0x10, 0x22, 0x33, 0x44, 0x55, 0x02}};
// Served by windowed.dll: always in a child window of its own.
inline constexpr GUID kCLSID_Windowed = {
    0x6F3A1C20, 0x5B7E, 0x4C11, {0x9A, 0x40, 0x10, 0x22, 0x33, 0x44, 0x55, 0x03}};

inline constexpr wchar_t kWindowlessClsidText[] = L"{6F3A1C20-5B7E-4C11-9A40-102233445501}";
inline constexpr wchar_t kWindowedClsidText[] = L"{6F3A1C20-5B7E-4C11-9A40-102233445503}";
inline constexpr wchar_t kWindowlessProgId[] = L"VeneerTest.Windowless";
inline constexpr wchar_t kWindowedProgId[] = L"VeneerTest.Windowed";

// The window class of the windowed control's own window.
inline constexpr wchar_t kWindowedClass[] = L"VeneerTestWindowed";

// Everything the objects of one DLL received, for the tests to read.
struct TTestControlState
{
    LONG nLiveObjects;
    // The last activation: windowless (1) or in a child window (0).
    LONG bWindowless;
    HWND hwndOwn;
    LONG nMouseMessages;
    UINT uLastMouseMessage;
    POINT ptLastMouse;
    LONG nKeyMessages;
    WPARAM wLastKey;
    LONG nSetFocus;
    LONG nKillFocus;
    RECT rcLastObjectRect;
    SIZEL szLastExtent;
    LONG nDraws;
    LONG nInPlaceActivations;
};

typedef TTestControlState*(WINAPI* TestControlStateFn)();

} // namespace TestControls
