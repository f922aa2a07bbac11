#pragma once

#include <string>
#include <vector>

namespace Qlm
{

// Splits a command line into its arguments exactly as CommandLineToArgvW
// does, without loading shell32 (and the window system it brings in):
// - the first argument follows the rules for program names: a quoted one
//   runs to the next quote, an unquoted one to the next blank; a backslash
//   is a plain character there;
// - the others are separated by blanks (space, tab) outside quotes; 2n
//   backslashes before a quote become n and the quote opens or closes a
//   quoted part; 2n+1 backslashes before a quote become n and a literal
//   quote; a quote right after the one that closed a quoted part is a
//   literal quote and quoting stays off; other backslashes are plain;
// - an empty (or null) command line gives the program's own path, or no
//   argument at all when that path cannot be read.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);

} // namespace Qlm
