#pragma once

// The local-time formats of the program's logs, reports and file names.
#include <windows.h>

#include <string>

namespace Qlm
{

// The local time now.
SYSTEMTIME LocalNow();

// "yyyymmddhhmmss", always 14 digits: the report's "time", and the suffix
// that tells kept copies of a damaged file apart.
std::string CompactTimeStamp(const SYSTEMTIME& time);

// "hh:mm:ss": the launch log's line prefix.
std::string ClockTime(const SYSTEMTIME& time);

// "y-mm-dd", the year as it is: the date in the client log's file name.
std::string LogDate(const SYSTEMTIME& time);

// "y-mm-dd hh:mm:ss": the time in a client log line's header.
std::string LogDateTime(const SYSTEMTIME& time);

} // namespace Qlm
