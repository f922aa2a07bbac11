#pragma once

// Helpers shared by the tests: child processes, the service stand-in, files
// beside the test programs and a scratch folder.
#include "app/client/FileBytes.h"
#include "veneer/core/ScopedHandle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport
{

// How often a waiting test looks again.
constexpr DWORD kPollMs = 20;

// The folder of the running test program, where every program of the build
// lies (QLMNews.exe, QLMServiceProc.exe) and where "Msg.log" is written.
std::string BinFolder();

// Polls a condition until it holds; false when it still does not after the
// timeout.
template <typename Condition> bool PollUntil(Condition condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition())
    {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

// A fresh folder under the temporary folder, removed with its files at the
// end of the scope.
class CScratchFolder
{
  public:
    CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    ~CScratchFolder();
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "\\" + name; }

  private:
    std::string path;
};

// Whole files, as the program reads and writes them.
using Qlm::ReadFileBytes;
using Qlm::WriteFileBytes;

bool FileExists(const std::string& path);
std::vector<std::string> SplitLines(const std::string& text);
void RemoveFolderTree(const std::string& path);

// A program of the build started with a command line (the text after the
// program name); optionally its standard output and error go to files.
class CChildProcess
{
  public:
    CChildProcess() = default;
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Start(const std::string& exePath, const std::string& arguments, const std::string& stdoutPath = "",
               const std::string& stderrPath = "");
    // Waits for the exit; false on timeout.
    bool Wait(DWORD timeoutMs);
    DWORD ExitCode() const;
    void Kill();
    DWORD Id() const { return processId; }

  private:
    Veneer::CScopedHandle process;
    DWORD processId = 0;
};

// Runs a program of the build to its end; returns its exit code, or -1 when
// it could not be started or did not end within the timeout (it is killed).
long RunToExit(const std::string& exeName, const std::string& arguments, DWORD timeoutMs = 20000);

// QLMServiceProc.exe owning the service pipe for the length of a test.
class CServiceStandIn
{
  public:
    CServiceStandIn();
    ~CServiceStandIn();
    CServiceStandIn(const CServiceStandIn&) = delete;
    CServiceStandIn& operator=(const CServiceStandIn&) = delete;

    // Starts it and waits until the pipe accepts clients.
    bool Start();
    // Stops it through its stop event and waits for its exit.
    bool Stop();
    // Kills it at once, as a crashing service would go.
    void Kill();
    DWORD Id() const { return child.Id(); }

    std::vector<std::string> Messages() const;
    std::vector<std::string> Problems() const;
    // Waits until at least `count` messages (or problems) have arrived.
    bool WaitForMessages(size_t count, DWORD timeoutMs = 20000) const;
    bool WaitForProblems(size_t count, DWORD timeoutMs = 20000) const;
    // Waits until the stand-in has read everything that any client wrote
    // before this call, so that a test can check that nothing arrived: a
    // marker client (left out of Messages()) queues up behind every earlier
    // client, and once its frame is in and every accepted client has been
    // served, nothing more can come from them.
    bool WaitUntilIdle(DWORD timeoutMs = 20000) const;

  private:
    CScratchFolder folder;
    CChildProcess child;
    bool running = false;
};

// One command the platform stand-in received: the record's type, the
// sender's wParam and the exact bytes.
struct CPlatformCommand
{
    unsigned long long dwData = 0;
    unsigned long long wParam = 0;
    std::string bytes;
};

// Reads a line the platform stand-in wrote for a command; false when the
// line is not one.
bool ParsePlatformCommand(const std::string& line, CPlatformCommand& command);

// QMPlatform.exe copied into the platform folder that the harness registers
// (C:\Quillmarsh\Platform) for the length of a test. Construction installs
// it and removes any "PlatformParam.ini" left there; destruction stops every
// running stand-in and removes both files again.
class CPlatformStandIn
{
  public:
    static const char kFolder[];

    CPlatformStandIn();
    ~CPlatformStandIn();
    CPlatformStandIn(const CPlatformStandIn&) = delete;
    CPlatformStandIn& operator=(const CPlatformStandIn&) = delete;

    bool Installed() const { return installed; }

    // Starts it with further options (see tools/platform) and waits until
    // its window exists; the commands it receives are recorded in a file.
    bool Start(const std::string& options = "");
    // Stops every running stand-in (also those started by the code under
    // test) and waits until they have ended.
    static bool StopAll();

    HWND Window() const { return window; }
    CChildProcess& Process() { return child; }
    std::vector<CPlatformCommand> Commands() const;
    bool WaitForCommands(size_t count, DWORD timeoutMs = 20000) const;
    // What the stand-in printed on its standard output.
    std::vector<std::string> OutputLines() const;

    static std::string ParamFile();
    // The window named in "PlatformParam.ini"; null when there is none.
    static HWND PublishedWindow();
    // Waits until "PlatformParam.ini" names a window (the stand-in writes
    // it after its window exists) and returns it; null after the timeout.
    static HWND WaitForPublishedWindow(DWORD timeoutMs = 20000);

  private:
    CScratchFolder folder;
    CChildProcess child;
    HWND window = nullptr;
    bool installed = false;
};

// How many processes run an executable of this name (letter case aside).
size_t CountProcesses(const wchar_t* exeName);

// The character a code page puts in place of one it lacks ("?" in most).
std::string DefaultCharacterOf(UINT codePage);

// True while some instance of the service pipe accepts clients.
bool ServicePipeExists();

// Opens the client end of the service pipe, waiting while the pipe does not
// exist yet or all its instances are busy; INVALID_HANDLE_VALUE after the
// timeout or on any other error.
HANDLE OpenServicePipe(DWORD timeoutMs = 20000);

// The launch log beside the programs: its lines (CR LF stripped) and the
// number of bytes it holds, so that a test reads only what it added.
std::string MsgLogPath();
std::vector<std::string> MsgLogLinesFrom(size_t offset);
size_t MsgLogSize();

} // namespace TestSupport
