#include "veneer/render/HtmlTagReader.h"

namespace Veneer
{

namespace
{

bool IsCloser(wchar_t ch)
{
    return ch == L'>' || ch == L'}';
}

bool IsTagLetter(wchar_t ch)
{
    return ch >= L'a' && ch <= L'z';
}

} // namespace

CHtmlTagReader::CHtmlTagReader() : m_pSearchedFrom(nullptr), m_pCloser(nullptr) {}

wchar_t CHtmlTagReader::ReadEscape(LPCWSTR p)
{
    // Each escape names the other bracket kind between a pair of its own.
    if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>')
        return p[1];
    if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}')
        return p[1];
    return 0;
}

LPCWSTR CHtmlTagReader::FindCloser(LPCWSTR p)
{
    // The text is read forwards: the answer of the last search holds for
    // every position between its start and the closer it found.
    if (m_pSearchedFrom != nullptr && p >= m_pSearchedFrom && (m_pCloser == nullptr || p <= m_pCloser))
        return m_pCloser;
    m_pSearchedFrom = p;
    while (*p != 0 && !IsCloser(*p))
        p++;
    m_pCloser = *p != 0 ? p : nullptr;
    return m_pCloser;
}

bool CHtmlTagReader::ReadTag(LPCWSTR p, THtmlTag& tag)
{
    const bool bClosing = p[1] == L'/';
    LPCWSTR pName = bClosing ? p + 2 : p + 1;
    if (!IsTagLetter(pName[0]))
        return false;
    LPCWSTR pAfterName = pName + 1;
    LPCWSTR pArg = pAfterName;
    LPCWSTR pCloser = nullptr;
    if (bClosing)
        pCloser = FindCloser(pAfterName); // whatever follows the letter is ignored
    else if (IsCloser(*pAfterName))
        pCloser = pAfterName;
    else if (*pAfterName == L' ')
    {
        pArg = pAfterName + 1;
        pCloser = FindCloser(pArg);
    }
    if (pCloser == nullptr)
        return false;
    tag.chName = pName[0];
    tag.bClosing = bClosing;
    tag.pArg = bClosing ? pCloser : pArg;
    tag.nArgLength = static_cast<int>(pCloser - tag.pArg);
    tag.pNext = pCloser + 1;
    return true;
}

} // namespace Veneer
