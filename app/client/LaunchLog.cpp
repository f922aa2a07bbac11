#include "app/client/LaunchLog.h"

#include "app/client/ClientFolders.h"
#include "app/client/NarrowText.h"
#include "app/client/TimeStamps.h"
#include "veneer/core/ScopedHolders.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace Qlm
{

namespace
{

// Formatted launch log messages are cut at this many characters.
constexpr size_t kMaxMessageChars = 1 << 16;

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

CLaunchLog::CLaunchLog() : m_path(ProgramFolder() + L"\\Msg.log") {}

void CLaunchLog::MsgLog(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring message = FormatWide(format, args);
    va_end(args);

    // Binary mode: the line ends in exactly CR LF (a text-mode stream would
    // turn the LF of "\r\n" into a second CR LF pair).
    const std::string line = ClockTime(LocalNow()) + "\t" + WideToAnsi(message) + "\r\n";
    Veneer::CScopedFile file(_wfopen(m_path.c_str(), L"ab"));
    if (file.IsOpen())
        fwrite(line.data(), 1, line.size(), file.Get());
}

} // namespace Qlm
