#include "app/client/ClientLog.h"

#include "app/client/ClientFolders.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

// A line, header and line feed included, stays below this many bytes.
constexpr size_t kLogLineLimit = 100000;

// "QMClient 打开LOG文件失败!" ("could not open the log file") in code page 936,
// the code page of every other client message.
const char kOpenFailedText[] = "QMClient \xB4\xF2\xBF\xAA"
                               "LOG\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC!";

struct CFileCloser
{
    void operator()(FILE* file) const { fclose(file); }
};
using CFileHolder = std::unique_ptr<FILE, CFileCloser>;

} // namespace

bool GetLogFilePath(char* buffer, size_t size)
{
    const std::string folder = ClientSubFolder("Log");
    if (folder.empty())
    {
        CopyToBuffer(std::string(), buffer, size);
        return false;
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char date[32] = {};
    snprintf(date, sizeof(date), "%d-%02d-%02d.log", now.wYear, now.wMonth, now.wDay);
    return CopyToBuffer(folder + "\\QuillmarshLog_" + date, buffer, size);
}

void WriteLogText(const char* text)
{
    OutputDebugStringA(text);
    static std::string path;
    if (path.empty())
    {
        char buffer[MAX_PATH] = {};
        if (GetLogFilePath(buffer, sizeof(buffer)))
            path = buffer;
    }
    CFileHolder file(path.empty() ? nullptr : fopen(path.c_str(), "a+"));
    if (!file)
    {
        OutputDebugStringA(kOpenFailedText);
        return;
    }
    fputs(text, file.get());
}

std::string FormatLogLine(const char* tag, const char* format, va_list args)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::vector<char> line(kLogLineLimit, '\0');
    const int written = snprintf(line.data(), line.size(), "QMClient %d-%02d-%02d %02d:%02d:%02d %-20s ",
                                 now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, tag);
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
