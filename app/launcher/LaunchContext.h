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

    // Starts the client platform program ("QMPlatform.exe" in the folder the
    // registry names for the component "platform"). A new process is started
    // every time; a running platform copes with the second start. False when
    // the folder is unknown, the path is too long or the start fails.
    bool StartPlatform();

    // Hands a command to the running platform: the code and the parameter,
    // each in double quotes and separated by a blank (the quoted code alone
    // when the parameter is empty), as WM_COPYDATA from the frame's window
    // to the window named in "PlatformParam.ini". Up to 20 attempts one
    // second apart until the platform replies 100, all within
    // platformCommandTimeoutMs (a hung platform is not waited for); every
    // attempt is written to the client log. A text that does not fit the
    // command buffer is not sent at all.
    bool SendPlatformCommand(const std::string& code, const std::string& parameter);

    HWND frameWnd = nullptr;
    std::wstring adKeyId;
    std::wstring channel;

    // What SendPlatformCommand waits with between two attempts; tests put a
    // shorter wait here.
    void(WINAPI* platformRetrySleep)(DWORD milliseconds) = Sleep;

    // How long SendPlatformCommand may take in all, waits for the reply and
    // pauses between attempts included: a platform that hangs or never
    // answers holds the frame no longer. Tests put a shorter time here.
    DWORD platformCommandTimeoutMs = 20000;
};
