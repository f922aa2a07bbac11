#include "app/launcher/LaunchContext.h"

#include "app/client/ClientFolders.h"
#include "app/launcher/NarrowText.h"

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
    const std::string line = stamp + WideToAnsi(message) + "\r\n";
    const std::string path = ProgramFolder() + "\\Msg.log";
    std::unique_ptr<FILE, CFileCloser> file(fopen(path.c_str(), "ab"));
    if (file)
        fwrite(line.data(), 1, line.size(), file.get());
}
