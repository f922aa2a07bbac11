#include "app/client/ClientLog.h"

#include "app/client/ClientFolders.h"
#include "app/client/TimeStamps.h"
#include "veneer/core/ScopedHolders.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Qlm
{

namespace
{

// A line, header and line feed included, stays below this many bytes.
constexpr size_t kLogLineLimit = 100000;

// "QMClient 打开LOG文件失败!" ("could not open the log file") in code page 936,
// the code page of every other client message.
const char kOpenFailedText[] = "QMClient \xB4\xF2\xBF\xAA"
                               "LOG\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC!";

} // namespace

bool GetLogFilePath(char* buffer, size_t size)
{
    return ClientFilePath("Log", "QuillmarshLog_" + LogDate(LocalNow()) + ".log", buffer, size);
}

void WriteLogText(const char* text)
{
    OutputDebugStringA(text);
    // The one place the path is kept: set by the process's first entry.
    static std::string path;
    if (path.empty())
    {
        char buffer[MAX_PATH] = {};
        if (GetLogFilePath(buffer, sizeof(buffer)))
            path = buffer;
    }
    Veneer::CScopedFile file(path.empty() ? nullptr : fopen(path.c_str(), "a+"));
    if (!file.IsOpen())
    {
        OutputDebugStringA(kOpenFailedText);
        return;
    }
    fputs(text, file.Get());
}

std::string FormatLogLine(const char* tag, const char* format, va_list args)
{
    std::vector<char> line(kLogLineLimit, '\0');
    const int written =
        snprintf(line.data(), line.size(), "QMClient %s %-20s ", LogDateTime(LocalNow()).c_str(), tag);
    // Room is kept for the line feed and the terminator; an over-long header
    // or message is cut rather than overflowing the line.
    const size_t header = std::min(written < 0 ? size_t{0} : static_cast<size_t>(written), kLogLineLimit - 2);
    vsnprintf(line.data() + header, kLogLineLimit - 1 - header, format, args);
    std::string text(line.data());
    text += '\n';
    return text;
}

void WriteLog(const char* tag, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string line = FormatLogLine(tag, format, args);
    va_end(args);
    WriteLogText(line.c_str());
}

} // namespace Qlm
