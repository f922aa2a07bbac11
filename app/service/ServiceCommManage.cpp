#include "app/service/ServiceCommManage.h"

#include "app/client/ClientFolders.h"
#include "app/client/LaunchLog.h"
#include "app/client/ProcessStart.h"
#include "app/model/CompactJson.h"
#include "app/service/ServiceProtocol.h"

#include <tlhelp32.h>

#include <json/value.h>

#include <cstring>
#include <limits>

namespace Qlm
{

namespace
{

constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryDelayMs = 100;

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
    if (document.size() > std::numeric_limits<uint32_t>::max() - kPipeFrameOverhead)
        return std::vector<char>();
    const uint32_t length = static_cast<uint32_t>(document.size() + kPipeFrameOverhead);
    std::vector<char> frame(length, '\0');
    for (size_t i = 0; i < kPipeFrameLengthBytes; ++i)
        frame[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    std::memcpy(frame.data() + kPipeFrameLengthBytes, document.data(), document.size());
    return frame;
}

CServiceCommManage::CServiceCommManage(CLaunchLog& launchLog) : m_launchLog(launchLog) {}

DWORD CServiceCommManage::FindProcessId(const wchar_t* exeName)
{
    const Veneer::CScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return 0;
    const std::wstring wanted = UpperCase(exeName);
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry))
    {
        if (entry.th32ProcessID != self && UpperCase(entry.szExeFile) == wanted)
            return entry.th32ProcessID;
    }
    return 0;
}

bool CServiceCommManage::CheckService()
{
    if (FindProcessId(kServiceExeName) != 0)
        return true;
    // The service is absent: start it from the program's folder, where the
    // client installs it, hidden. Whether it comes up shows in the pipe
    // opening.
    const std::wstring folder = ProgramFolder();
    const std::wstring path = folder + L"\\" + kServiceExeName;
    CStartOptions options;
    options.inheritHandles = true;
    options.hidden = true;
    if (folder.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        ReportServiceProblem(L"%ls is not in the program's folder; the service is not started");
    else if (!StartProgram(path, std::wstring(), options))
        ReportServiceProblem(L"%ls could not be started");
    return true;
}

void CServiceCommManage::ReportServiceProblem(const wchar_t* format)
{
    // Every reconnection looks again; the launch log says it once.
    if (m_serviceProblemLogged)
        return;
    m_serviceProblemLogged = true;
    m_launchLog.MsgLog(format, kServiceExeName);
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
    // A reopen replaces a handle whose write failed: it is closed first, so
    // no retry leaks one.
    m_pipe.Reset(nullptr);
    m_pipe.Reset(
        CreateFileA(kServicePipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return m_pipe.IsValid();
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
    m_connected = Reconnect();
}

bool CServiceCommManage::WriteMessage(int32_t type, const std::string& sendUrl, const std::string& data)
{
    const std::vector<char> frame = BuildPipeFrame(BuildPipeDocument(type, sendUrl, data));
    DWORD written = 0;
    const bool sent =
        !frame.empty() && m_pipe.IsValid() &&
        WriteFile(m_pipe.Get(), frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr) &&
        written == frame.size();
    if (!sent)
        m_connected = false;
    return sent;
}

bool CServiceCommManage::SendToService(int32_t type, const std::string& sendUrl, const std::string& data)
{
    if (!m_connected)
        Reconnect();
    if (WriteMessage(type, sendUrl, data))
        return true;
    Reconnect();
    return WriteMessage(type, sendUrl, data);
}

} // namespace Qlm
