#pragma once

#include "veneer/markup/Markup.h"

namespace Veneer
{

// Reaches into CMarkup for the tests: parses text that lies in memory the test
// owns (so that it can end right before a page that faults on any access), and
// reads the size of the element table.
class CMarkupTestAccess
{
  public:
    static bool ParseInPlace(CMarkup& markup, wchar_t* pstrText)
    {
        markup.Release();
        markup.m_pstrXML = pstrText;
        return markup.Parse();
    }

    static void Detach(CMarkup& markup)
    {
        markup.m_pstrXML = nullptr;
        markup.Release();
    }

    static const wchar_t* Text(const CMarkup& markup) { return markup.m_pstrXML; }
    static ULONG ElementCount(const CMarkup& markup) { return markup.m_nElements; }
    static ULONG ReservedElements(const CMarkup& markup) { return markup.m_nReservedElements; }
};

} // namespace Veneer
