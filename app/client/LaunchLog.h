#pragma once

#include <string>

namespace Qlm
{

// The launch log, "Msg.log" beside the executable: how the program was
// started and what kept it from reaching the service. The launch sequence
// makes one and hands it to whatever writes there.
class CLaunchLog
{
  public:
    CLaunchLog();
    CLaunchLog(const CLaunchLog&) = delete;
    CLaunchLog& operator=(const CLaunchLog&) = delete;

    // Appends one line: the local time as "hh:mm:ss", a tab, the formatted
    // message and CR LF, in the ANSI code page. A log that cannot be opened
    // loses the line silently.
    void MsgLog(const wchar_t* format, ...);

  private:
    std::wstring m_path;
};

} // namespace Qlm
