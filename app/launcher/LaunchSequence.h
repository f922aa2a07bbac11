#pragma once

#include <windows.h>

namespace Qlm
{

// The program's start-up: reads the page address, ad key and channel from
// the command line (the text after the program name), connects to the
// service and reports that the pop-up is being shown. Always returns 0, the
// process's exit code.
int RunLaunchSequence(HINSTANCE module, const wchar_t* commandLine);

} // namespace Qlm
