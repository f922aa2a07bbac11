#pragma once

#include <windows.h>

#include <cstddef>
#include <cwchar>

namespace Veneer
{

// True when a name is the wanted one (compared exactly, case-sensitive); a
// missing name matches nothing.
bool IsNamed(LPCWSTR pstrName, LPCWSTR pstrWanted);

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

// One skin attribute that a class understands: its name, and a handler that
// reads the value with the readers above and calls the class's setter.
template <class TTarget> struct TAttributeHandler
{
    LPCWSTR pstrName;
    void (*pfnApply)(TTarget& target, LPCWSTR pstrValue);
};

// Looks the name up in a class's table of attributes and applies the value
// with the handler found; false when the name is not in the table. A
// missing name or value is in no table: no handler ever sees a null.
//
// Every control reads its attributes this way. A control keeps a constant
// table in its source file, one line per attribute:
//
//     const TAttributeHandler<CSliderUI> kSliderAttributes[] = {
//         {L"step", [](CSliderUI& c, LPCWSTR v) { c.SetChangeStep(ParseAttributeInt(v)); }},
//     };
//
// and its SetAttribute hands every name that its table lacks to the
// SetAttribute of the class it derives from, which does the same, down to
// the control base:
//
//     if (!ApplyAttribute(kSliderAttributes, *this, pstrName, pstrValue))
//         CProgressUI::SetAttribute(pstrName, pstrValue);
template <class TTarget, size_t nCount>
bool ApplyAttribute(const TAttributeHandler<TTarget> (&handlers)[nCount], TTarget& target, LPCWSTR pstrName,
                    LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr)
        return false;
    for (const TAttributeHandler<TTarget>& handler : handlers)
    {
        if (wcscmp(pstrName, handler.pstrName) == 0)
        {
            handler.pfnApply(target, pstrValue);
            return true;
        }
    }
    return false;
}

} // namespace Veneer
