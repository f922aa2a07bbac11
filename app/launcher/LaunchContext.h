#pragma once

#include <windows.h>

#include <string>

// The process-wide record of how the program was launched: the ad's key and
// channel from the command line and, once the frame exists, its window.
struct CLaunchContext
{
    static CLaunchContext& GetInstance();

    // Appends one line to "Msg.log" beside the executable: the local time as
    // "hh:mm:ss", a tab, the formatted message and CR LF, in the ANSI code
    // page. A log that cannot be opened loses the line silently.
    void MsgLog(const wchar_t* format, ...);

    HWND frameWnd = nullptr;
    std::wstring adKeyId;
    std::wstring channel;
};

// Wide text to ANSI text. A character the ANSI code page cannot represent
// becomes a NUL byte, so the result ends just before it.
std::string WideToAnsi(const std::wstring& text);
