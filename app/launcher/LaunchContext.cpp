#include "app/launcher/LaunchContext.h"

#include "app/client/ClientFolders.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

namespace
{

// Formatted launch log messages are cut at this many characters.
constexpr size_t kMaxMessageChars = 1 << 16;

struct CFileCloser
{
    void operator()(FILE* file) const { fclose(file); }
};

std::wstring FormatWide(const wchar_t* format, va_list args)
{
    // vswprintf reports a too-small buffer only by failing, so the buffer
    // grows until the text fits or reaches the message limit.
    for (size_t size = 512;; size *= 2)
    {
        std::vector<wchar_t> buffer(size, L'\0');
        va_list copy;
        va_copy(copy, args);
        const int written = std::vswprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if ((written >= 0 && static_cast<size_t>(written) < size - 1) || size >= kMaxMessageChars)
            return std::wstring(buffer.data());
    }
}

// Unlike WideToAnsi, a character the code page lacks becomes the system's
// default character, so the rest of a logged command line is kept.
std::string ToAnsiForLog(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string converted(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &converted[0], needed, nullptr, nullptr);
    return converted;
}

} // namespace

CLaunchContext& CLaunchContext::GetInstance()
{
    static CLaunchContext instance;
    return instance;
}

void CLaunchContext::MsgLog(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring message = FormatWide(format, args);
    va_end(args);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[16] = {};
    snprintf(stamp, sizeof(stamp), "%02d:%02d:%02d\t", now.wHour, now.wMinute, now.wSecond);

    // Binary mode: the line ends in exactly CR LF (a text-mode stream would
    // turn the LF of "\r\n" into a second CR LF pair).
    const std::string line = stamp + ToAnsiForLog(message) + "\r\n";
    const std::string path = ProgramFolder() + "\\Msg.log";
    std::unique_ptr<FILE, CFileCloser> file(fopen(path.c_str(), "ab"));
    if (file)
        fwrite(line.data(), 1, line.size(), file.get());
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    // The empty default character makes every unrepresentable character a
    // NUL byte; the text ends there.
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, "", nullptr);
    if (needed <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(needed) + 2, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, buffer.data(), needed, "", nullptr);
    return std::string(buffer.data());
}
