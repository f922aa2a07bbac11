#include "app/service/ServiceCommManage.h"

#include "app/client/ClientFolders.h"
#include "app/launcher/LaunchContext.h"
#include "app/model/CompactJson.h"
#include "veneer/core/ScopedHandle.h"

#include <tlhelp32.h>

#include <json/value.h>

#include <cstring>
#include <iterator>
#include <limits>

namespace
{

const char kPipePrefix[] = "\\\\.\\pipe\\";
const char kPipeShortName[] = "servicepipe";
const wchar_t kServiceExe[] = L"QLMServiceProc.exe";

constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryDelayMs = 100;

// The frame adds its four length bytes and the trailing zero to the document.
constexpr size_t kFrameOverhead = 5;

// The mapping CharUpperBuffW makes (the user's default locale, without
// linguistic casing), taken from kernel32: user32 would bring the window
// system up before the launch report.
std::wstring UpperCase(const wchar_t* text)
{
    const std::wstring original(text);
    std::wstring upper(original.size(), L'\0');
    if (!original.empty())
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, original.data(), static_cast<int>(original.size()),
                     &upper[0], static_cast<int>(upper.size()));
    return upper;
}

bool IsOpen(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// Starts a program hidden and does not wait for it.
bool StartHidden(const std::string& path)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

} // namespace

std::string BuildPipeDocument(int32_t type, const std::string& sendUrl, const std::string& data)
{
    Json::Value envelope(Json::objectValue);
    envelope["data"] = data;
    envelope["sendurl"] = sendUrl;
    envelope["type"] = type;
    return Model::WriteCompactJson(envelope);
}

std::vector<char> BuildPipeFrame(const std::string& document)
{
    if (document.size() > std::numeric_limits<uint32_t>::max() - kFrameOverhead)
        return std::vector<char>();
    const uint32_t length = static_cast<uint32_t>(document.size() + kFrameOverhead);
    std::vector<char> frame(length, '\0');
    for (size_t i = 0; i < 4; ++i)
        frame[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    std::memcpy(frame.data() + 4, document.data(), document.size());
    return frame;
}

CServiceCommManage& CServiceCommManage::GetInstance()
{
    static CServiceCommManage instance;
    return instance;
}

DWORD CServiceCommManage::FindProcessId(const wchar_t* exeName)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    Veneer::CScopedHandle holder(snapshot);
    const std::wstring wanted = UpperCase(exeName);
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    {
        if (entry.th32ProcessID != self && UpperCase(entry.szExeFile) == wanted)
            return entry.th32ProcessID;
    }
    return 0;
}

bool CServiceCommManage::CheckService()
{
    if (FindProcessId(kServiceExe) != 0)
        return true;
    // The service is absent: start it from the program's folder, where the
    // client installs it. Whether it comes up shows in the pipe opening.
    const std::string folder = ProgramFolder();
    // The name is plain ASCII, so its wide letters narrow one for one.
    const std::string path = folder + "\\" + std::string(std::begin(kServiceExe), std::end(kServiceExe) - 1);
    if (folder.empty() || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        ReportServiceProblem(L"%ls is not in the program's folder; the service is not started");
    else if (!StartHidden(path))
        ReportServiceProblem(L"%ls could not be started");
    return true;
}

void CServiceCommManage::ReportServiceProblem(const wchar_t* format)
{
    // Every reconnection looks again; the launch log says it once.
    if (serviceProblemLogged)
        return;
    serviceProblemLogged = true;
    CLaunchContext::GetInstance().MsgLog(format, kServiceExe);
}

bool CServiceCommManage::OpenPipe()
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt)
    {
        if (OpenPipeOnce())
            return true;
        Sleep(kOpenRetryDelayMs);
    }
    return false;
}

bool CServiceCommManage::OpenPipeOnce()
{
    // A reopen replaces a handle whose write failed; closing it keeps every
    // retry from leaking one.
    if (IsOpen(pipe))
        CloseHandle(pipe);
    pipeName = std::string(kPipePrefix) + kPipeShortName;
    pipe = CreateFileA(pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return pipe != INVALID_HANDLE_VALUE;
}

bool CServiceCommManage::Reconnect()
{
    // A pipe that opens at once has its service running: the process list,
    // slow to take, is looked at only when it does not.
    if (OpenPipeOnce())
        return true;
    return CheckService() && OpenPipe();
}

void CServiceCommManage::Connect()
{
    connected = Reconnect();
}

bool CServiceCommManage::WriteMessage(int32_t type, const std::string& sendUrl, const std::string& data)
{
    const std::vector<char> frame = BuildPipeFrame(BuildPipeDocument(type, sendUrl, data));
    DWORD written = 0;
    const bool sent = !frame.empty() && IsOpen(pipe) &&
                      WriteFile(pipe, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr) &&
                      written == frame.size();
    if (!sent)
        connected = false;
    return sent;
}

bool CServiceCommManage::SendToService(int32_t type, const std::string& sendUrl, const std::string& data)
{
    if (!connected)
        Reconnect();
    if (WriteMessage(type, sendUrl, data))
        return true;
    Reconnect();
    return WriteMessage(type, sendUrl, data);
}
