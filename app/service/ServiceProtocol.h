#pragma once

// What the program and the client's background service agree on, shared
// with the service stand-in and the tests: the pipe, the service's
// executable and the frame around each message.
#include <cstddef>

// Each name is written once, as a narrow literal; L"" in front of it makes
// the wide one.
#define QLM_SERVICE_PIPE_NAME "\\\\.\\pipe\\servicepipe"
#define QLM_SERVICE_EXE_NAME "QLMServiceProc.exe"

namespace Qlm
{

constexpr char kServicePipeName[] = QLM_SERVICE_PIPE_NAME;
constexpr wchar_t kServicePipeNameW[] = L"" QLM_SERVICE_PIPE_NAME;
constexpr wchar_t kServiceExeName[] = L"" QLM_SERVICE_EXE_NAME;

// A frame adds its four length bytes and a trailing zero to the document.
constexpr size_t kPipeFrameLengthBytes = 4;
constexpr size_t kPipeFrameOverhead = kPipeFrameLengthBytes + 1;

} // namespace Qlm
