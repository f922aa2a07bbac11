#include "app/launcher/PlatformLink.h"

#include "app/client/ClientLog.h"
#include "app/client/ClientRegistry.h"
#include "app/client/ProcessStart.h"
#include "app/launcher/LaunchContext.h"
#include "app/launcher/PlatformProtocol.h"

#include <cstdlib>
#include <string>

namespace Qlm
{

namespace
{

// The platform's folder and the paths built from it are read into (and must
// fit) buffers of this many characters, terminator included.
constexpr size_t kPathChars = MAX_PATH;
// The published handle is read as at most this many characters.
constexpr DWORD kHandleTextChars = 10;

constexpr int kSendAttempts = 20;
constexpr DWORD kRetryDelayMs = 1000;

// The platform's window is waited for as SendMessageW waits (sent messages
// to this thread are still handled), but a window the system counts as hung
// is not waited for at all, and one whose thread ends stops the wait.
constexpr UINT kSendFlags = SMTO_NORMAL | SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT;

// The platform's log entries, in code page 936 like every client message.
const char kLogTag[] = "QLMNews";
// "尚未安装Quillmarsh2": the registry names no platform folder.
const char kNoPlatformKeyText[] = "\xC9\xD0\xCE\xB4\xB0\xB2\xD7\xB0"
                                  "Quillmarsh2";
// "尚未安装Quillmarsh1": the registered platform folder is empty.
const char kEmptyPlatformFolderText[] = "\xC9\xD0\xCE\xB4\xB0\xB2\xD7\xB0"
                                        "Quillmarsh1";
// "发送窗体尚未存在": the platform's window does not exist (yet).
const char kNoPlatformWindowText[] = "\xB7\xA2\xCB\xCD\xB4\xB0\xCC\xE5\xC9\xD0\xCE\xB4\xB4\xE6\xD4\xDA";
// "发送成功,code=%s, return=%d": the platform accepted the command.
const char kSentFormat[] = "\xB7\xA2\xCB\xCD\xB3\xC9\xB9\xA6"
                           ",code=%s, return=%d";
// "发送错误,code=%s, return=%d": the platform answered something else.
const char kSendFailedFormat[] = "\xB7\xA2\xCB\xCD\xB4\xED\xCE\xF3"
                                 ",code=%s, return=%d";
// The platform's window gave no answer in time (or is hung).
const char kNoAnswerFormat[] = "platform did not answer, code=%s";

enum class PlatformFolder
{
    kNotRegistered,
    kEmpty,
    kFound,
};

PlatformFolder ReadPlatformFolder(std::wstring& folder)
{
    wchar_t buffer[kPathChars] = {};
    DWORD size = sizeof(buffer);
    if (!GetInstallationPath(kPlatformComponent, buffer, &size))
        return PlatformFolder::kNotRegistered;
    folder = buffer;
    return folder.empty() ? PlatformFolder::kEmpty : PlatformFolder::kFound;
}

// The window the platform published in its folder's "PlatformParam.ini";
// null when the file, the value or a number in it is missing.
HWND ReadPlatformWindow(const std::wstring& folder)
{
    const std::wstring iniPath = folder + L"\\" + kPlatformParamFile;
    wchar_t text[kHandleTextChars] = {};
    GetPrivateProfileStringW(kPlatformHandleSection, kPlatformHandleKey, L"0", text, kHandleTextChars,
                             iniPath.c_str());
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(_wtol(text)));
}

// The quoted code and, when there is one, a blank and the quoted parameter.
// False when the text would not fit the command buffer: a cut command would
// reach the platform malformed.
bool BuildCommandText(const std::string& code, const std::string& parameter, std::string& text)
{
    text = "\"" + code + "\"";
    if (!parameter.empty())
        text += " \"" + parameter + "\"";
    return text.size() <= kMaxPlatformCommandBytes;
}

// Milliseconds from now to the deadline; 0 once it has passed.
DWORD TimeLeft(ULONGLONG deadline)
{
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

// One attempt to hand the command over, waiting for the reply at most
// `timeoutMs`; each outcome leaves one log line.
bool TrySendCommand(const std::string& text, const std::string& code, HWND sender, DWORD timeoutMs)
{
    std::wstring folder;
    switch (ReadPlatformFolder(folder))
    {
    case PlatformFolder::kNotRegistered:
        WriteLog(kLogTag, "%s", kNoPlatformKeyText);
        return false;
    case PlatformFolder::kEmpty:
        WriteLog(kLogTag, "%s", kEmptyPlatformFolderText);
        return false;
    case PlatformFolder::kFound:
        break;
    }
    const HWND platform = ReadPlatformWindow(folder);
    if (platform == nullptr || !IsWindow(platform))
    {
        WriteLog(kLogTag, "%s", kNoPlatformWindowText);
        return false;
    }
    // The record carries the text without its terminator.
    COPYDATASTRUCT record{};
    record.dwData = kPlatformCommandType;
    record.cbData = static_cast<DWORD>(text.size());
    record.lpData = const_cast<char*>(text.data());
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(platform, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                             reinterpret_cast<LPARAM>(&record), kSendFlags, timeoutMs, &reply))
    {
        WriteLog(kLogTag, kNoAnswerFormat, code.c_str());
        return false;
    }
    const LRESULT answer = static_cast<LRESULT>(reply);
    if (answer == kPlatformCommandAccepted)
    {
        WriteLog(kLogTag, kSentFormat, code.c_str(), static_cast<int>(answer));
        return true;
    }
    WriteLog(kLogTag, kSendFailedFormat, code.c_str(), static_cast<int>(answer));
    return false;
}

} // namespace

CPlatformLink::CPlatformLink(const CLaunchContext& context, const CPlatformTiming& timing)
    : m_context(context), m_timing(timing)
{
}

bool CPlatformLink::StartPlatform()
{
    // An empty folder would make the path relative to the current drive's
    // root, where some other "QMPlatform.exe" might lie.
    std::wstring folder;
    if (ReadPlatformFolder(folder) != PlatformFolder::kFound)
        return false;
    const std::wstring path = folder + L"\\" + kPlatformExeName;
    if (path.size() >= kPathChars)
        return false;
    // The platform shares the program's standard error and nothing else.
    CStartOptions options;
    options.inheritHandles = true;
    options.useStdHandles = true;
    options.stdError = GetStdHandle(STD_ERROR_HANDLE);
    return StartProgram(path, std::wstring(), options);
}

bool CPlatformLink::SendPlatformCommand(const std::string& code, const std::string& parameter)
{
    std::string text;
    if (!BuildCommandText(code, parameter, text))
    {
        WriteLog(kLogTag, "platform command not sent: %u bytes exceed the limit of %u bytes",
                 static_cast<unsigned>(text.size()), static_cast<unsigned>(kMaxPlatformCommandBytes));
        return false;
    }
    // Every attempt and every pause comes out of one time limit: the frame
    // waits for the platform no longer than that in all. An attempt waits
    // for its reply until the limit; a pause that would leave no time for
    // another attempt is not begun.
    const ULONGLONG deadline = GetTickCount64() + m_timing.commandTimeoutMs;
    for (int attempt = 1; attempt <= kSendAttempts; ++attempt)
    {
        if (attempt > 1)
        {
            if (TimeLeft(deadline) <= kRetryDelayMs)
                return false;
            m_timing.retrySleep(kRetryDelayMs);
        }
        if (TrySendCommand(text, code, m_context.FrameWnd(), TimeLeft(deadline)))
            return true;
    }
    return false;
}

} // namespace Qlm
