#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

namespace Qlm
{

// The client's daily log under "...\Quillmarsh\Log". Each line reads
// "QMClient <date> <time> <tag padded to 20> <message>" and also goes to the
// debugger output.

// Writes the path of today's client log into a caller's buffer; false (and
// an empty buffer) when the path cannot be built or does not fit.
bool GetLogFilePath(char* buffer, size_t size);

// Appends a finished line to the client log. The path is fixed by the first
// entry of the process, so entries after midnight stay in that day's file.
void WriteLogText(const char* text);

// Formats one client log line (header, message, line feed) with the local
// time. Longer messages are cut so that the line stays below the line limit.
std::string FormatLogLine(const char* tag, const char* format, va_list args);

// Formats a line with FormatLogLine and appends it with WriteLogText.
void WriteLog(const char* tag, const char* format, ...);

} // namespace Qlm
