#include "app/client/TimeStamps.h"

#include <cstdio>

namespace Qlm
{

SYSTEMTIME LocalNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

std::string CompactTimeStamp(const SYSTEMTIME& time)
{
    char stamp[32] = {};
    snprintf(stamp, sizeof(stamp), "%04d%02d%02d%02d%02d%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond);
    return stamp;
}

std::string ClockTime(const SYSTEMTIME& time)
{
    char clock[32] = {};
    snprintf(clock, sizeof(clock), "%02d:%02d:%02d", time.wHour, time.wMinute, time.wSecond);
    return clock;
}

std::string LogDate(const SYSTEMTIME& time)
{
    char date[32] = {};
    snprintf(date, sizeof(date), "%d-%02d-%02d", time.wYear, time.wMonth, time.wDay);
    return date;
}

std::string LogDateTime(const SYSTEMTIME& time)
{
    return LogDate(time) + " " + ClockTime(time);
}

} // namespace Qlm
