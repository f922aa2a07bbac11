#pragma once

#include "veneer/core/ScopedHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Qlm
{

class CLaunchLog;

// The channel to the client's background service: finds the service
// process, opens its named pipe and writes each message as one frame. The
// service never answers on the pipe. The launch sequence makes one; the
// pipe is closed when it ends.
class CServiceCommManage
{
  public:
    // Problems with the service program go to `launchLog`, which must
    // outlive the channel.
    explicit CServiceCommManage(CLaunchLog& launchLog);
    CServiceCommManage(const CServiceCommManage&) = delete;
    CServiceCommManage& operator=(const CServiceCommManage&) = delete;
    virtual ~CServiceCommManage() = default;

    // Id of another running process whose executable name equals `exeName`
    // apart from letter case; 0 if there is none.
    static DWORD FindProcessId(const wchar_t* exeName);

    // Starts the service from the program's folder unless it runs; a
    // service program that is missing or does not start is written to the
    // launch log once. Always true: the pipe shows whether the service came.
    bool CheckService();
    // Up to ten attempts, 100 ms apart, to open the service's pipe.
    bool OpenPipe();
    void Connect();
    bool WriteMessage(int32_t type, const std::string& sendUrl, const std::string& data);
    bool SendToService(int32_t type, const std::string& sendUrl, const std::string& data);

    // Whether the last connection or write succeeded.
    bool IsConnected() const { return m_connected; }
    // The open pipe; INVALID_HANDLE_VALUE after a failed open, null before
    // the first.
    HANDLE Pipe() const { return m_pipe.Get(); }

  private:
    bool OpenPipeOnce();
    // The pipe at once, or else the service looked for (and started) and
    // the pipe tried again within its retries.
    bool Reconnect();
    void ReportServiceProblem(const wchar_t* format);

    CLaunchLog& m_launchLog;
    Veneer::CScopedHandle m_pipe;
    bool m_connected = false;
    bool m_serviceProblemLogged = false;
};

// The pipe's message document: {"data":...,"sendurl":...,"type":...} in
// compact form with its final line feed.
std::string BuildPipeDocument(int32_t type, const std::string& sendUrl, const std::string& data);

// One pipe frame: the total length N as 4 bytes little-endian, the document
// (N - 5 bytes) and a zero byte. Empty if the document is too long to frame.
std::vector<char> BuildPipeFrame(const std::string& document);

} // namespace Qlm
