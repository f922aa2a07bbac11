#include "tests/support/TestSupport.h"

#include "app/client/NarrowText.h"
#include "app/client/ProcessStart.h"
#include "app/launcher/PlatformProtocol.h"
#include "app/service/ServiceCommManage.h"
#include "app/service/ServiceProtocol.h"
#include "tools/common/StandInNames.h"
#include "veneer/core/ScopedHandle.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace TestSupport
{

namespace
{

using Qlm::CServiceCommManage;

HANDLE OpenInheritable(const std::string& path)
{
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof(security);
    security.bInheritHandle = TRUE;
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The platform stand-in's window among those of one process.
struct CWindowSearch
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindPlatformWindow(HWND candidate, LPARAM context)
{
    CWindowSearch* search = reinterpret_cast<CWindowSearch*>(context);
    wchar_t className[64] = {};
    DWORD owner = 0;
    GetWindowThreadProcessId(candidate, &owner);
    GetClassNameW(candidate, className, 64);
    if (owner != search->processId || wcscmp(className, kPlatformStandInWindowClass) != 0)
        return TRUE;
    search->found = candidate;
    return FALSE;
}

// The marker frame's data, and its envelope as the stand-in prints it.
const char kIdleMarkerData[] = "idle marker";
const char kIdleMarkerLine[] = "{\"data\":\"idle marker\",\"sendurl\":\"\",\"type\":-1}";

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

DWORD RemainingMs(ULONGLONG deadline)
{
    const ULONGLONG now = GetTickCount64();
    return now < deadline ? static_cast<DWORD>(deadline - now) : 0;
}

// Sends the idle marker through a client of its own and disconnects.
bool SendIdleMarker(DWORD timeoutMs)
{
    const HANDLE pipe = OpenServicePipe(timeoutMs);
    if (pipe == INVALID_HANDLE_VALUE)
        return false;
    const std::vector<char> frame = Qlm::BuildPipeFrame(Qlm::BuildPipeDocument(-1, "", kIdleMarkerData));
    DWORD written = 0;
    const BOOL sent = WriteFile(pipe, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr);
    CloseHandle(pipe);
    return sent && written == frame.size();
}

} // namespace

std::string BinFolder()
{
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

CScratchFolder::CScratchFolder()
{
    static unsigned counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    path = std::string(temp) + "qlmtest-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter);
    RemoveFolderTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

CScratchFolder::~CScratchFolder()
{
    RemoveFolderTree(path);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

void RemoveFolderTree(const std::string& path)
{
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolderTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

bool CChildProcess::Start(const std::string& exePath, const std::string& arguments,
                          const std::string& stdoutPath, const std::string& stderrPath)
{
    Qlm::CStartOptions options;
    // The output files are inherited by the child and closed here after the
    // start, so the child alone holds them.
    const Veneer::CScopedHandle output(stdoutPath.empty() ? nullptr : OpenInheritable(stdoutPath));
    const Veneer::CScopedHandle error(stderrPath.empty() ? nullptr : OpenInheritable(stderrPath));
    if (!stdoutPath.empty() || !stderrPath.empty())
    {
        options.inheritHandles = true;
        options.useStdHandles = true;
        options.stdOutput = output.Get();
        options.stdError = error.Get();
    }
    if (!Qlm::StartProgram(Qlm::AnsiToWide(exePath), Qlm::AnsiToWide(arguments), options, &process))
        return false;
    processId = GetProcessId(process.Get());
    return true;
}

bool CChildProcess::Wait(DWORD timeoutMs)
{
    return process.IsValid() && WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD CChildProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process.IsValid())
        GetExitCodeProcess(process.Get(), &code);
    return code;
}

void CChildProcess::Kill()
{
    if (process.IsValid() && !Wait(0))
    {
        TerminateProcess(process.Get(), 99);
        Wait(20000);
    }
}

long RunToExit(const std::string& exeName, const std::string& arguments, DWORD timeoutMs)
{
    CChildProcess child;
    if (!child.Start(BinFolder() + "\\" + exeName, arguments))
        return -1;
    if (!child.Wait(timeoutMs))
    {
        child.Kill();
        return -1;
    }
    return static_cast<long>(child.ExitCode());
}

size_t CountProcesses(const wchar_t* exeName)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    Veneer::CScopedHandle holder(snapshot);
    size_t count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    {
        if (_wcsicmp(entry.szExeFile, exeName) == 0)
            ++count;
    }
    return count;
}

std::string DefaultCharacterOf(UINT codePage)
{
    CPINFO info{};
    if (!GetCPInfo(codePage, &info))
        return std::string();
    return std::string(reinterpret_cast<const char*>(info.DefaultChar));
}

HANDLE OpenServicePipe(DWORD timeoutMs)
{
    HANDLE pipe = INVALID_HANDLE_VALUE;
    PollUntil(
        [&pipe] {
            pipe = CreateFileW(Qlm::kServicePipeNameW, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            const DWORD error = GetLastError();
            // No instance (the server is starting, or between two) or none
            // free: try again. WaitNamedPipeW waits only in the second case;
            // in the first it returns at once.
            if (pipe == INVALID_HANDLE_VALUE && error == ERROR_PIPE_BUSY)
                WaitNamedPipeW(Qlm::kServicePipeNameW, kPollMs);
            return pipe != INVALID_HANDLE_VALUE ||
                   (error != ERROR_FILE_NOT_FOUND && error != ERROR_PIPE_BUSY);
        },
        timeoutMs);
    return pipe;
}

bool ServicePipeExists()
{
    // An instance that waits for a client answers at once; when all are
    // busy the call times out, which still means the pipe exists.
    if (WaitNamedPipeW(Qlm::kServicePipeNameW, 1))
        return true;
    return GetLastError() == ERROR_SEM_TIMEOUT;
}

CServiceStandIn::CServiceStandIn() = default;

CServiceStandIn::~CServiceStandIn()
{
    if (running)
        Stop();
}

bool CServiceStandIn::Start()
{
    const std::string arguments = "\"" + folder.File("messages.txt") + "\"";
    if (!child.Start(BinFolder() + "\\QLMServiceProc.exe", arguments, folder.File("stdout.txt"),
                     folder.File("stderr.txt")))
        return false;
    running = PollUntil([this] { return ServicePipeExists() || child.Wait(0); }, 20000) && !child.Wait(0);
    if (!running)
        child.Kill();
    return running;
}

bool CServiceStandIn::Stop()
{
    running = false;
    const HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, kServiceStandInStopEvent);
    if (stop != nullptr)
    {
        SetEvent(stop);
        CloseHandle(stop);
    }
    if (child.Wait(20000))
        return child.ExitCode() == 0;
    child.Kill();
    return false;
}

void CServiceStandIn::Kill()
{
    running = false;
    child.Kill();
}

std::vector<std::string> CServiceStandIn::Messages() const
{
    std::string text;
    ReadFileBytes(folder.File("messages.txt"), text);
    std::vector<std::string> messages = SplitLines(text);
    messages.erase(std::remove(messages.begin(), messages.end(), kIdleMarkerLine), messages.end());
    return messages;
}

std::vector<std::string> CServiceStandIn::Problems() const
{
    std::string text;
    ReadFileBytes(folder.File("stderr.txt"), text);
    std::vector<std::string> problems;
    for (const std::string& line : SplitLines(text))
    {
        if (line.find(": client ") != std::string::npos)
            problems.push_back(line);
    }
    return problems;
}

bool CServiceStandIn::WaitForMessages(size_t count, DWORD timeoutMs) const
{
    return PollUntil([&] { return Messages().size() >= count; }, timeoutMs);
}

bool CServiceStandIn::WaitForProblems(size_t count, DWORD timeoutMs) const
{
    return PollUntil([&] { return Problems().size() >= count; }, timeoutMs);
}

bool CServiceStandIn::WaitUntilIdle(DWORD timeoutMs) const
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    if (!SendIdleMarker(timeoutMs))
        return false;
    const auto markerArrived = [this] {
        std::string text;
        ReadFileBytes(folder.File("messages.txt"), text);
        return text.find(kIdleMarkerLine) != std::string::npos;
    };
    // Clients are accepted in turn and announced before they are served, so
    // once the marker is in, every earlier client is among the accepted ones.
    const auto allServed = [this] {
        std::string text;
        ReadFileBytes(folder.File("stderr.txt"), text);
        return CountOf(text, ": accepted client ") == CountOf(text, ": finished client ");
    };
    return PollUntil([&] { return markerArrived() && allServed(); }, RemainingMs(deadline));
}

const char CPlatformStandIn::kFolder[] = "C:\\Quillmarsh\\Platform";

bool ParsePlatformCommand(const std::string& line, CPlatformCommand& command)
{
    unsigned long size = 0;
    int textStart = 0;
    if (sscanf(line.c_str(), "dwData=%llu wParam=%llu cbData=%lu text=%n", &command.dwData, &command.wParam,
               &size, &textStart) != 3 ||
        textStart == 0)
        return false;
    // The stand-in writes backslashes doubled and other bytes outside
    // 0x20..0x7E as \xNN.
    command.bytes.clear();
    for (size_t i = static_cast<size_t>(textStart); i < line.size(); ++i)
    {
        if (line[i] != '\\')
            command.bytes += line[i];
        else if (i + 1 < line.size() && line[i + 1] == '\\')
            command.bytes += line[++i];
        else if (i + 3 < line.size() && line[i + 1] == 'x')
        {
            command.bytes += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
            i += 3;
        }
        else
            return false;
    }
    return command.bytes.size() == size;
}

CPlatformStandIn::CPlatformStandIn()
{
    DeleteFileA(ParamFile().c_str());
    const std::string target = std::string(kFolder) + "\\QMPlatform.exe";
    installed = CopyFileA((BinFolder() + "\\QMPlatform.exe").c_str(), target.c_str(), FALSE) != FALSE;
}

CPlatformStandIn::~CPlatformStandIn()
{
    StopAll();
    DeleteFileA(ParamFile().c_str());
    DeleteFileA((std::string(kFolder) + "\\QMPlatform.exe").c_str());
}

bool CPlatformStandIn::Start(const std::string& options)
{
    std::string arguments = "--out \"" + folder.File("commands.txt") + "\"";
    if (!options.empty())
        arguments += " " + options;
    if (!installed || !child.Start(std::string(kFolder) + "\\QMPlatform.exe", arguments,
                                   folder.File("stdout.txt"), folder.File("stderr.txt")))
        return false;
    CWindowSearch search{child.Id(), nullptr};
    const auto findWindow = [&search] {
        EnumWindows(FindPlatformWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    };
    if (!PollUntil([&] { return findWindow() || child.Wait(0); }, 20000) || search.found == nullptr)
    {
        child.Kill();
        return false;
    }
    window = search.found;
    return true;
}

bool CPlatformStandIn::StopAll()
{
    // The stop event stays signalled while any stand-in runs, so that one
    // that is still starting up stops as soon as it looks.
    HANDLE stop = nullptr;
    const bool ended = PollUntil(
        [&stop] {
            if (stop == nullptr)
            {
                stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, kPlatformStandInStopEvent);
                if (stop != nullptr)
                    SetEvent(stop);
            }
            return CServiceCommManage::FindProcessId(Qlm::kPlatformExeName) == 0;
        },
        20000);
    if (stop != nullptr)
        CloseHandle(stop);
    return ended;
}

std::vector<CPlatformCommand> CPlatformStandIn::Commands() const
{
    std::string text;
    ReadFileBytes(folder.File("commands.txt"), text);
    std::vector<CPlatformCommand> commands;
    for (const std::string& line : SplitLines(text))
    {
        CPlatformCommand command;
        if (ParsePlatformCommand(line, command))
            commands.push_back(command);
    }
    return commands;
}

bool CPlatformStandIn::WaitForCommands(size_t count, DWORD timeoutMs) const
{
    return PollUntil([&] { return Commands().size() >= count; }, timeoutMs);
}

std::vector<std::string> CPlatformStandIn::OutputLines() const
{
    std::string text;
    ReadFileBytes(folder.File("stdout.txt"), text);
    return SplitLines(text);
}

std::string CPlatformStandIn::ParamFile()
{
    return std::string(kFolder) + "\\PlatformParam.ini";
}

HWND CPlatformStandIn::PublishedWindow()
{
    char text[32] = {};
    GetPrivateProfileStringA("HWNDApp", "HWND", "0", text, sizeof(text), ParamFile().c_str());
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(atol(text)));
}

HWND CPlatformStandIn::WaitForPublishedWindow(DWORD timeoutMs)
{
    PollUntil([] { return PublishedWindow() != nullptr; }, timeoutMs);
    return PublishedWindow();
}

std::string MsgLogPath()
{
    return BinFolder() + "\\Msg.log";
}

size_t MsgLogSize()
{
    std::string bytes;
    ReadFileBytes(MsgLogPath(), bytes);
    return bytes.size();
}

std::vector<std::string> MsgLogLinesFrom(size_t offset)
{
    std::string bytes;
    ReadFileBytes(MsgLogPath(), bytes);
    return SplitLines(offset < bytes.size() ? bytes.substr(offset) : std::string());
}

} // namespace TestSupport
