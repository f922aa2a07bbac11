#include "veneer/control/AttributeParse.h"

#include <cwchar>

namespace Veneer
{

namespace
{

// Reads the next number of a comma-separated list and steps over exactly
// one separator character.
long NextNumber(LPCWSTR& pstr)
{
    LPWSTR pEnd = nullptr;
    const long value = wcstol(pstr, &pEnd, 10);
    pstr = *pEnd != 0 ? pEnd + 1 : pEnd;
    return value;
}

} // namespace

bool IsNamed(LPCWSTR pstrName, LPCWSTR pstrWanted)
{
    return pstrName != nullptr && wcscmp(pstrName, pstrWanted) == 0;
}

RECT ParseAttributeRect(LPCWSTR pstrValue)
{
    RECT rc{};
    rc.left = NextNumber(pstrValue);
    rc.top = NextNumber(pstrValue);
    rc.right = NextNumber(pstrValue);
    rc.bottom = NextNumber(pstrValue);
    return rc;
}

SIZE ParseAttributeSize(LPCWSTR pstrValue)
{
    SIZE sz{};
    sz.cx = NextNumber(pstrValue);
    sz.cy = NextNumber(pstrValue);
    return sz;
}

int ParseAttributeInt(LPCWSTR pstrValue)
{
    return static_cast<int>(wcstol(pstrValue, nullptr, 10));
}

bool ParseAttributeBool(LPCWSTR pstrValue)
{
    return wcscmp(pstrValue, L"true") == 0;
}

DWORD ParseAttributeColor(LPCWSTR pstrValue)
{
    if (*pstrValue == L'#')
        pstrValue++;
    return wcstoul(pstrValue, nullptr, 16);
}

} // namespace Veneer
