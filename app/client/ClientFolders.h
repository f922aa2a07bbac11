#pragma once

#include <string>

// The client's folders under the common application-data folder
// ("...\Quillmarsh\<sub>"), created when missing. Returns the empty string
// when the common folder cannot be found.
std::string ClientSubFolder(const char* sub);

// The folder of the running executable, without a trailing backslash.
std::string ProgramFolder();

// Copies text into a caller's fixed buffer with its terminator; on overflow
// the buffer receives the empty string and the result is false.
bool CopyToBuffer(const std::string& text, char* buffer, size_t size);
