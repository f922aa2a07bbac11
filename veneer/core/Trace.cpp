#include "veneer/core/Trace.h"

#include <shlwapi.h>

#include <cstdarg>

namespace Veneer
{

namespace
{

struct MessageName
{
    UINT message;
    const wchar_t* name;
};

#define VENEER_MESSAGE_NAME(msg)                                                                             \
    {                                                                                                        \
        msg, L## #msg                                                                                        \
    }

const MessageName kMessageNames[] = {
    VENEER_MESSAGE_NAME(WM_SETCURSOR),
    VENEER_MESSAGE_NAME(WM_NCHITTEST),
    VENEER_MESSAGE_NAME(WM_NCPAINT),
    VENEER_MESSAGE_NAME(WM_PAINT),
    VENEER_MESSAGE_NAME(WM_ERASEBKGND),
    VENEER_MESSAGE_NAME(WM_NCMOUSEMOVE),
    VENEER_MESSAGE_NAME(WM_MOUSEMOVE),
    VENEER_MESSAGE_NAME(WM_MOUSELEAVE),
    VENEER_MESSAGE_NAME(WM_MOUSEHOVER),
    VENEER_MESSAGE_NAME(WM_NOTIFY),
    VENEER_MESSAGE_NAME(WM_COMMAND),
    VENEER_MESSAGE_NAME(WM_MEASUREITEM),
    VENEER_MESSAGE_NAME(WM_DRAWITEM),
    VENEER_MESSAGE_NAME(WM_LBUTTONDOWN),
    VENEER_MESSAGE_NAME(WM_LBUTTONUP),
    VENEER_MESSAGE_NAME(WM_LBUTTONDBLCLK),
    VENEER_MESSAGE_NAME(WM_RBUTTONDOWN),
    VENEER_MESSAGE_NAME(WM_RBUTTONUP),
    VENEER_MESSAGE_NAME(WM_RBUTTONDBLCLK),
    VENEER_MESSAGE_NAME(WM_SETFOCUS),
    VENEER_MESSAGE_NAME(WM_KILLFOCUS),
    VENEER_MESSAGE_NAME(WM_MOVE),
    VENEER_MESSAGE_NAME(WM_SIZE),
    VENEER_MESSAGE_NAME(WM_SIZING),
    VENEER_MESSAGE_NAME(WM_MOVING),
    VENEER_MESSAGE_NAME(WM_GETMINMAXINFO),
    VENEER_MESSAGE_NAME(WM_CAPTURECHANGED),
    VENEER_MESSAGE_NAME(WM_WINDOWPOSCHANGED),
    VENEER_MESSAGE_NAME(WM_WINDOWPOSCHANGING),
    VENEER_MESSAGE_NAME(WM_NCCALCSIZE),
    VENEER_MESSAGE_NAME(WM_NCCREATE),
    VENEER_MESSAGE_NAME(WM_NCDESTROY),
    VENEER_MESSAGE_NAME(WM_TIMER),
    VENEER_MESSAGE_NAME(WM_KEYDOWN),
    VENEER_MESSAGE_NAME(WM_KEYUP),
    VENEER_MESSAGE_NAME(WM_CHAR),
    VENEER_MESSAGE_NAME(WM_SYSKEYDOWN),
    VENEER_MESSAGE_NAME(WM_SYSKEYUP),
    VENEER_MESSAGE_NAME(WM_SYSCOMMAND),
    VENEER_MESSAGE_NAME(WM_SYSCHAR),
    VENEER_MESSAGE_NAME(WM_VSCROLL),
    VENEER_MESSAGE_NAME(WM_HSCROLL),
    VENEER_MESSAGE_NAME(WM_SHOWWINDOW),
    VENEER_MESSAGE_NAME(WM_PARENTNOTIFY),
    VENEER_MESSAGE_NAME(WM_CREATE),
    VENEER_MESSAGE_NAME(WM_NCACTIVATE),
    VENEER_MESSAGE_NAME(WM_ACTIVATE),
    VENEER_MESSAGE_NAME(WM_ACTIVATEAPP),
    VENEER_MESSAGE_NAME(WM_CLOSE),
    VENEER_MESSAGE_NAME(WM_DESTROY),
    VENEER_MESSAGE_NAME(WM_GETICON),
    VENEER_MESSAGE_NAME(WM_GETTEXT),
    VENEER_MESSAGE_NAME(WM_GETTEXTLENGTH),
};

#undef VENEER_MESSAGE_NAME

} // namespace

const wchar_t* UI__TraceMsg(UINT uMsg)
{
    for (const MessageName& entry : kMessageNames)
    {
        if (entry.message == uMsg)
            return entry.name;
    }
    static wchar_t szMsg[16];
    ::wsprintfW(szMsg, L"0x%04X", uMsg);
    return szMsg;
}

#ifndef NDEBUG
void UI__Trace(const wchar_t* pstrFormat, ...)
{
    if (pstrFormat == nullptr)
        return;
    // One line per call; a longer message is cut, never overrun.
    wchar_t szLine[1024] = {};
    const int limit = ARRAYSIZE(szLine) - 1;
    va_list args;
    va_start(args, pstrFormat);
    ::wvnsprintfW(szLine, limit, pstrFormat, args);
    va_end(args);
    szLine[limit - 1] = L'\0';
    ::lstrcatW(szLine, L"\n");
    ::OutputDebugStringW(szLine);
}
#else
void UI__Trace(const wchar_t*, ...) {}
#endif

} // namespace Veneer
