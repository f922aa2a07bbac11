#pragma once

#include <windows.h>

namespace Veneer
{

// Readers of skin attribute values. Numbers are decimal; a list of numbers
// is separated by single characters (commas), and a list that ends early
// reads as 0 from there on.
RECT ParseAttributeRect(LPCWSTR pstrValue);
SIZE ParseAttributeSize(LPCWSTR pstrValue);
int ParseAttributeInt(LPCWSTR pstrValue);
// Only "true" is true.
bool ParseAttributeBool(LPCWSTR pstrValue);
// Hexadecimal after an optional '#'.
DWORD ParseAttributeColor(LPCWSTR pstrValue);

} // namespace Veneer
