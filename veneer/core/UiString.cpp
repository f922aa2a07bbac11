#include "veneer/core/UiString.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace Veneer
{

namespace
{

// The count that Mid takes for "up to the end of the text".
const int kRestOfText = -1;

size_t TextLength(const wchar_t* pstr, int nLength)
{
    if (pstr == nullptr)
        return 0;
    // With a length, the text need not be terminated within it.
    return nLength < 0 ? wcslen(pstr) : wcsnlen(pstr, static_cast<size_t>(nLength));
}

} // namespace

CUiString::CUiString() : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CUiString::CUiString(const wchar_t ch) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
}

CUiString::CUiString(const wchar_t* lpsz, int nLen) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(lpsz, nLen);
}

CUiString::CUiString(const CUiString& src) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(src.m_pstr);
}

CUiString::~CUiString()
{
    if (m_pstr != m_szBuffer)
        free(m_pstr);
}

bool CUiString::IsOwnText(const wchar_t* pstr) const
{
    // Pointers into our own text must be copied before the block can move.
    const size_t length = wcslen(m_pstr);
    return pstr >= m_pstr && pstr <= m_pstr + length;
}

int CUiString::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

const wchar_t* CUiString::GetData() const
{
    return m_pstr;
}

CUiString::operator const wchar_t*() const
{
    return m_pstr;
}

void CUiString::Empty()
{
    if (m_pstr != m_szBuffer)
        free(m_pstr);
    m_pstr = m_szBuffer;
    m_szBuffer[0] = L'\0';
}

bool CUiString::IsEmpty() const
{
    return m_pstr[0] == L'\0';
}

wchar_t CUiString::GetAt(int nIndex) const
{
    return m_pstr[nIndex];
}

wchar_t CUiString::operator[](int nIndex) const
{
    return m_pstr[nIndex];
}

void CUiString::SetAt(int nIndex, wchar_t ch)
{
    m_pstr[nIndex] = ch;
}

void CUiString::Assign(const wchar_t* pstr, int nLength)
{
    if (pstr != nullptr && IsOwnText(pstr))
    {
        const CUiString copy(pstr, nLength);
        Assign(copy.m_pstr);
        return;
    }
    const size_t length = TextLength(pstr, nLength);
    if (length < MAX_LOCAL_STRING_LEN)
    {
        if (m_pstr != m_szBuffer)
        {
            free(m_pstr);
            m_pstr = m_szBuffer;
        }
    }
    else if (m_pstr == m_szBuffer || length > wcslen(m_pstr))
    {
        // A heap block is at least as long as the text it holds, so it is
        // reused for anything not longer than that.
        wchar_t* block = static_cast<wchar_t*>(
            realloc(m_pstr == m_szBuffer ? nullptr : m_pstr, (length + 1) * sizeof(wchar_t)));
        if (block == nullptr)
            return;
        m_pstr = block;
    }
    if (length > 0)
        memcpy(m_pstr, pstr, length * sizeof(wchar_t));
    m_pstr[length] = L'\0';
}

void CUiString::Append(const wchar_t* pstr)
{
    if (pstr == nullptr)
        return;
    if (IsOwnText(pstr))
    {
        const CUiString copy(pstr);
        Append(copy.m_pstr);
        return;
    }
    const size_t oldLength = wcslen(m_pstr);
    const size_t newLength = oldLength + wcslen(pstr);
    if (newLength >= MAX_LOCAL_STRING_LEN)
    {
        wchar_t* block = nullptr;
        if (m_pstr == m_szBuffer)
        {
            block = static_cast<wchar_t*>(malloc((newLength + 1) * sizeof(wchar_t)));
            if (block != nullptr)
                memcpy(block, m_szBuffer, (oldLength + 1) * sizeof(wchar_t));
        }
        else
        {
            block = static_cast<wchar_t*>(realloc(m_pstr, (newLength + 1) * sizeof(wchar_t)));
        }
        if (block == nullptr)
            return;
        m_pstr = block;
    }
    wcscpy(m_pstr + oldLength, pstr);
}

void CUiString::AssignFromAnsi(const char* lpStr, bool bAppend)
{
    if (lpStr == nullptr)
    {
        if (!bAppend)
            Empty();
        return;
    }
    const UINT codePage = GetACP();
    const int count = MultiByteToWideChar(codePage, 0, lpStr, -1, nullptr, 0);
    if (count <= 0)
    {
        if (!bAppend)
            Empty();
        return;
    }
    wchar_t* wide = static_cast<wchar_t*>(malloc(count * sizeof(wchar_t)));
    if (wide == nullptr)
        return;
    MultiByteToWideChar(codePage, 0, lpStr, -1, wide, count);
    if (bAppend)
        Append(wide);
    else
        Assign(wide);
    free(wide);
}

const CUiString& CUiString::operator=(const CUiString& src)
{
    Assign(src.m_pstr);
    return *this;
}

const CUiString& CUiString::operator=(const wchar_t* pstr)
{
    if (pstr == nullptr)
        Empty();
    else
        Assign(pstr);
    return *this;
}

const CUiString& CUiString::operator=(const char* lpStr)
{
    AssignFromAnsi(lpStr, false);
    return *this;
}

const CUiString& CUiString::operator=(const wchar_t ch)
{
    Empty();
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
    return *this;
}

const CUiString& CUiString::operator+=(const CUiString& src)
{
    Append(src.m_pstr);
    return *this;
}

const CUiString& CUiString::operator+=(const wchar_t* pstr)
{
    Append(pstr);
    return *this;
}

const CUiString& CUiString::operator+=(const char* lpStr)
{
    AssignFromAnsi(lpStr, true);
    return *this;
}

const CUiString& CUiString::operator+=(const wchar_t ch)
{
    const wchar_t text[2] = {ch, L'\0'};
    Append(text);
    return *this;
}

CUiString CUiString::operator+(const CUiString& src) const
{
    CUiString result(*this);
    result.Append(src.m_pstr);
    return result;
}

CUiString CUiString::operator+(const wchar_t* pstr) const
{
    CUiString result(*this);
    result.Append(pstr);
    return result;
}

bool CUiString::operator==(const wchar_t* str) const
{
    return Compare(str) == 0;
}

bool CUiString::operator!=(const wchar_t* str) const
{
    return Compare(str) != 0;
}

bool CUiString::operator<=(const wchar_t* str) const
{
    return Compare(str) <= 0;
}

bool CUiString::operator<(const wchar_t* str) const
{
    return Compare(str) < 0;
}

bool CUiString::operator>=(const wchar_t* str) const
{
    return Compare(str) >= 0;
}

bool CUiString::operator>(const wchar_t* str) const
{
    return Compare(str) > 0;
}

int CUiString::Compare(const wchar_t* pstr) const
{
    return wcscmp(m_pstr, pstr != nullptr ? pstr : L"");
}

int CUiString::CompareNoCase(const wchar_t* pstr) const
{
    return _wcsicmp(m_pstr, pstr != nullptr ? pstr : L"");
}

void CUiString::MakeUpper()
{
    _wcsupr(m_pstr);
}

void CUiString::MakeLower()
{
    _wcslwr(m_pstr);
}

CUiString CUiString::Left(int nLength) const
{
    const int length = GetLength();
    if (nLength < 0)
        nLength = 0;
    if (nLength > length)
        nLength = length;
    return CUiString(m_pstr, nLength);
}

// Only a count of -1 means "the rest"; other negative counts, and starts
// outside the text, give an empty string instead of reading outside it.
CUiString CUiString::Mid(int iPos, int nLength) const
{
    const int length = GetLength();
    if (iPos < 0 || iPos > length)
        return CUiString();
    const int nRest = length - iPos;
    if (nLength == kRestOfText || nLength > nRest)
        nLength = nRest;
    if (nLength <= 0)
        return CUiString();
    return CUiString(m_pstr + iPos, nLength);
}

CUiString CUiString::Right(int nLength) const
{
    const int length = GetLength();
    if (nLength <= 0)
        return CUiString();
    if (nLength > length)
        nLength = length;
    return CUiString(m_pstr + length - nLength, nLength);
}

int CUiString::Find(wchar_t ch, int iPos) const
{
    if (iPos != 0 && (iPos < 0 || iPos >= GetLength()))
        return -1;
    const wchar_t* found = wcschr(m_pstr + iPos, ch);
    if (found == nullptr || ch == L'\0')
        return -1;
    return static_cast<int>(found - m_pstr);
}

int CUiString::Find(const wchar_t* pstr, int iPos) const
{
    if (pstr == nullptr || iPos < 0 || iPos > GetLength())
        return -1;
    // Some runtimes answer null for an empty pattern; it matches at the start.
    if (pstr[0] == L'\0')
        return iPos;
    const wchar_t* found = wcsstr(m_pstr + iPos, pstr);
    return found == nullptr ? -1 : static_cast<int>(found - m_pstr);
}

int CUiString::ReverseFind(wchar_t ch) const
{
    const wchar_t* found = wcsrchr(m_pstr, ch);
    if (found == nullptr || ch == L'\0')
        return -1;
    return static_cast<int>(found - m_pstr);
}

int CUiString::Replace(const wchar_t* pstrFrom, const wchar_t* pstrTo)
{
    // An empty search text would match everywhere without advancing.
    if (pstrFrom == nullptr || pstrFrom[0] == L'\0')
        return 0;
    const CUiString from(pstrFrom);
    const CUiString to(pstrTo);
    const int fromLength = from.GetLength();
    const int toLength = to.GetLength();
    int count = 0;
    int iPos = Find(from);
    while (iPos >= 0)
    {
        CUiString replaced = Left(iPos);
        replaced.Append(to);
        replaced.Append(m_pstr + iPos + fromLength);
        Assign(replaced);
        ++count;
        iPos = Find(from, iPos + toLength);
    }
    return count;
}

int __cdecl CUiString::Format(const wchar_t* pstrFormat, ...)
{
    va_list args;
    va_start(args, pstrFormat);
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(pstrFormat, measure);
    va_end(measure);
    int written = -1;
    if (length >= 0)
    {
        wchar_t* buffer = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
        if (buffer != nullptr)
        {
            written = _vsnwprintf(buffer, length + 1, pstrFormat, args);
            buffer[length] = L'\0';
            Assign(buffer);
            free(buffer);
        }
    }
    va_end(args);
    return written;
}

int __cdecl CUiString::SmallFormat(const wchar_t* pstrFormat, ...)
{
    // Longer output is cut to 63 characters; callers format numbers and
    // colours with it.
    wchar_t buffer[64] = {};
    va_list args;
    va_start(args, pstrFormat);
    const int written = _vsnwprintf(buffer, 63, pstrFormat, args);
    va_end(args);
    buffer[63] = L'\0';
    Assign(buffer);
    return written;
}

} // namespace Veneer
