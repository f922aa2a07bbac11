#pragma once

// Starting another program: the client's service and platform, and in the
// tests and tools the stand-ins for them.
#include "veneer/core/ScopedHandle.h"

#include <windows.h>

#include <string>

namespace Qlm
{

// How a program is started. By default it inherits nothing, shows its
// window as it likes and gets no standard handles of ours.
struct CStartOptions
{
    // The started program inherits our inheritable handles.
    bool inheritHandles = false;
    // Its first window is hidden.
    bool hidden = false;
    // It gets these three as its standard handles (null for none).
    bool useStdHandles = false;
    HANDLE stdInput = nullptr;
    HANDLE stdOutput = nullptr;
    HANDLE stdError = nullptr;
};

// Starts the program at `path` in our environment and current folder, with
// the quoted path followed by `arguments` (if any) as its command line, so
// the program reads exactly those arguments wherever the path has blanks.
// Does not wait for it. The process handle goes to `process` when one is
// given and is closed otherwise; the thread handle is always closed.
bool StartProgram(const std::wstring& path, const std::wstring& arguments, const CStartOptions& options,
                  Veneer::CScopedHandle* process = nullptr);

} // namespace Qlm
