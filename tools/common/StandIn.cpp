#include "tools/common/StandIn.h"

#include "veneer/core/ScopedHandle.h"

#include <cwchar>

int StandInMain(int argc, wchar_t** argv, const wchar_t* toolName, const wchar_t* stopEventName,
                int (*serve)(int argc, wchar_t** argv))
{
    if (argc != 2 || wcscmp(argv[1], L"--stop") != 0)
        return serve(argc, argv);
    if (SignalStopEvent(stopEventName))
        return kExitOk;
    fwprintf(stderr, L"%ls: no running stand-in to stop\n", toolName);
    return kExitNotRunning;
}

bool SignalStopEvent(const wchar_t* eventName)
{
    const Veneer::CScopedHandle stopEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName));
    return stopEvent.Get() != nullptr && SetEvent(stopEvent.Get()) != FALSE;
}

FILE* OpenForAppending(const wchar_t* path, const wchar_t* toolName)
{
    FILE* file = _wfopen(path, L"ab");
    if (file == nullptr)
        fwprintf(stderr, L"%ls: cannot open %ls for appending\n", toolName, path);
    return file;
}
