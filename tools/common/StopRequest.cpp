#include "tools/common/StopRequest.h"

#include "tools/common/HandleHolder.h"

bool SignalStopEvent(const wchar_t* eventName)
{
    const CHandleHolder stopEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName));
    return stopEvent.Get() != nullptr && SetEvent(stopEvent.Get()) != FALSE;
}
