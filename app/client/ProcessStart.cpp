#include "app/client/ProcessStart.h"

namespace Qlm
{

// A Win32 start-up record of the 32-bit program is 68 bytes long.
static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOW) == 68, "unexpected STARTUPINFOW layout");

bool StartProgram(const std::wstring& path, const std::wstring& arguments, const CStartOptions& options,
                  Veneer::CScopedHandle* process)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (options.hidden)
    {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    if (options.useStdHandles)
    {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = options.stdInput;
        startup.hStdOutput = options.stdOutput;
        startup.hStdError = options.stdError;
    }
    // CreateProcessW may write into the command line.
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr,
                        options.inheritHandles ? TRUE : FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    if (process != nullptr)
        process->Reset(started.hProcess);
    else
        CloseHandle(started.hProcess);
    return true;
}

} // namespace Qlm
