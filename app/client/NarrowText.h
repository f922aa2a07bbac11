#pragma once

// Text conversion between the program's wide text and the narrow text of
// its files, reports, logs and page commands. Each policy has a name of its
// own; all of them convert the whole text.
#include <windows.h>

#include <cstddef>
#include <string>

namespace Qlm
{

// Wide text in a code page, up to its first NUL and otherwise whole: a
// character the code page lacks becomes that code page's default character
// (usually '?'), so no text is cut short and no two texts that differ merge.
// UTF-8 (also as the ANSI code page) and UTF-7 take every character.
std::string WideToNarrow(const wchar_t* text, size_t length, UINT codePage);

// Values entering reports and the launch log: the ANSI code page.
std::string WideToAnsi(const std::wstring& text);

// Text from the page (script arguments, browser addresses): the calling
// thread's ANSI code page, up to the first NUL; null reads as empty.
std::string PageTextToNarrow(const wchar_t* text);

// Narrow text in the ANSI code page (paths, command lines) as wide text,
// up to its first NUL.
std::wstring AnsiToWide(const std::string& text);

} // namespace Qlm
