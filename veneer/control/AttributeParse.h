#pragma once

#include <windows.h>

namespace Veneer
{

// True when an attribute that comes with both name and value has the given
// name (compared exactly); a missing name or value matches nothing.
bool IsAttributeNamed(LPCWSTR pstrName, LPCWSTR pstrValue, LPCWSTR pstrWanted);

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
