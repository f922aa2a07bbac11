#pragma once

#include <cstddef>
#include <string>

namespace Qlm
{

// The client's folders under the common application-data folder
// ("...\Quillmarsh\<sub>"), created when missing. Returns the empty string
// when the common folder cannot be found.
std::string ClientSubFolder(const char* sub);

// Writes the path of a file in one of the client's folders into a caller's
// buffer; false (and an empty buffer) when it cannot be built or does not
// fit.
bool ClientFilePath(const char* sub, const std::string& name, char* buffer, size_t size);

// The path of the running executable; empty when it cannot be read.
std::wstring ProgramPath();

// The folder of the running executable, without a trailing backslash.
std::wstring ProgramFolder();

// Copies text into a caller's fixed buffer with its terminator; on overflow
// the buffer receives the empty string and the result is false.
bool CopyToBuffer(const std::string& text, char* buffer, size_t size);

} // namespace Qlm
