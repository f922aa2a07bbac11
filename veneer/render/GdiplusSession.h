#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

#include <gdiplus.h>

namespace Veneer
{

// The GDI+ functions that the toolkit draws with. gdiplus.dll is loaded on
// first use instead of being imported, so that a program which never draws
// with GDI+ never loads it (nor, through it, the window system).
struct TGdiplusApi
{
    decltype(&Gdiplus::GdiplusStartup) pfnStartup;
    decltype(&Gdiplus::GdiplusShutdown) pfnShutdown;
    decltype(&Gdiplus::DllExports::GdipCreateFromHDC) pfnCreateFromHDC;
    decltype(&Gdiplus::DllExports::GdipDeleteGraphics) pfnDeleteGraphics;
    decltype(&Gdiplus::DllExports::GdipSetTextRenderingHint) pfnSetTextRenderingHint;
    decltype(&Gdiplus::DllExports::GdipCreateFontFromLogfontW) pfnCreateFontFromLogfont;
    decltype(&Gdiplus::DllExports::GdipCreateFontFromDC) pfnCreateFontFromDC;
    decltype(&Gdiplus::DllExports::GdipDeleteFont) pfnDeleteFont;
    decltype(&Gdiplus::DllExports::GdipCreateStringFormat) pfnCreateStringFormat;
    decltype(&Gdiplus::DllExports::GdipSetStringFormatAlign) pfnSetStringFormatAlign;
    decltype(&Gdiplus::DllExports::GdipSetStringFormatLineAlign) pfnSetStringFormatLineAlign;
    decltype(&Gdiplus::DllExports::GdipDeleteStringFormat) pfnDeleteStringFormat;
    decltype(&Gdiplus::DllExports::GdipCreateLineBrush) pfnCreateLineBrush;
    decltype(&Gdiplus::DllExports::GdipDeleteBrush) pfnDeleteBrush;
    decltype(&Gdiplus::DllExports::GdipDrawString) pfnDrawString;
};

// Keeps GDI+ running for the process while any session exists: the first
// session starts it, the last one to end shuts it down. Every label holds a
// session, so GDI+ runs while any label exists, without a start-up and a
// shut-down per label. UI thread only.
class VENEER_API CGdiplusSession
{
  public:
    CGdiplusSession();
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;
    ~CGdiplusSession();

    // The functions, when gdiplus.dll could be loaded and GDI+ started;
    // null otherwise.
    const TGdiplusApi* GetApi() const;

    static bool IsRunning();
    // How many times GDI+ was started in this process so far.
    static int GetStartCount();
};

} // namespace Veneer
