#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Wide text in a code page, up to its first NUL and otherwise whole: a
// character the code page lacks becomes that code page's default character
// (usually '?'), so no text is cut short and no two texts that differ merge.
// UTF-8 (also as the ANSI code page) and UTF-7 take every character.
std::string WideToNarrow(const wchar_t* text, size_t length, UINT codePage);

// The same in the ANSI code page, as wide values enter reports and logs.
std::string WideToAnsi(const std::wstring& text);
