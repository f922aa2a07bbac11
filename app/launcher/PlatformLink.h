#pragma once

#include <windows.h>

#include <string>

namespace Qlm
{

class CLaunchContext;

// How long the platform command may take.
struct CPlatformTiming
{
    // What SendPlatformCommand waits with between two attempts; tests put a
    // shorter wait here.
    void(WINAPI* retrySleep)(DWORD milliseconds) = Sleep;

    // How long SendPlatformCommand may take in all, waits for the reply and
    // pauses between attempts included: a platform that hangs or never
    // answers holds the frame no longer.
    DWORD commandTimeoutMs = 20000;
};

// The link to the client platform program: starts it, and hands it the
// page's download commands from the frame's window.
class CPlatformLink
{
  public:
    // `context` names the frame's window and must outlive the link.
    explicit CPlatformLink(const CLaunchContext& context, const CPlatformTiming& timing = CPlatformTiming());
    CPlatformLink(const CPlatformLink&) = delete;
    CPlatformLink& operator=(const CPlatformLink&) = delete;

    // Starts the client platform program ("QMPlatform.exe" in the folder the
    // registry names for the component "platform"). A new process is started
    // every time; a running platform copes with the second start. False when
    // the folder is unknown, the path is too long or the start fails.
    bool StartPlatform();

    // Hands a command to the running platform: the code and the parameter,
    // each in double quotes and separated by a blank (the quoted code alone
    // when the parameter is empty), as WM_COPYDATA from the frame's window
    // to the window named in "PlatformParam.ini". Up to 20 attempts one
    // second apart until the platform replies 100, all within the timing's
    // limit (a hung platform is not waited for); every attempt is written to
    // the client log. A text that does not fit the command buffer is not
    // sent at all.
    bool SendPlatformCommand(const std::string& code, const std::string& parameter);

  private:
    const CLaunchContext& m_context;
    const CPlatformTiming m_timing;
};

} // namespace Qlm
