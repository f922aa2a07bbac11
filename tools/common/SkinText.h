#pragma once

// What the skin tools share: UTF-8 output, quoting that keeps one item on
// one line, and the split of a skin path into the resource folder and the
// file name, as the toolkit looks skins up.
#include <string>

// Writes UTF-16 text to standard output as UTF-8 and flushes it, so that a
// reader of a pipe sees each line as soon as it is written.
void WriteUtf8(const std::wstring& text);

// The text in double quotes, with C-style escapes for quotes, backslashes
// and control characters.
std::wstring Quoted(const wchar_t* pstr);

// Splits a path into its folder (with the trailing separator) and its file
// name; false when it names no file.
bool SplitSkinPath(const wchar_t* pstrPath, std::wstring& sFolder, std::wstring& sName);
