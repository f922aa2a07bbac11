#pragma once

// Whole files as bytes.
#include <string>

namespace Qlm
{

// The file's bytes in place of `bytes`; false when it cannot be opened or
// read to its end.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Replaces the file's content with `bytes`; false unless every byte was
// written and the file closed cleanly.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

} // namespace Qlm
