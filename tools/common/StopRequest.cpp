#include "tools/common/StopRequest.h"

#include "veneer/core/ScopedHandle.h"

bool SignalStopEvent(const wchar_t* eventName)
{
    const Veneer::CScopedHandle stopEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName));
    return stopEvent.Get() != nullptr && SetEvent(stopEvent.Get()) != FALSE;
}
