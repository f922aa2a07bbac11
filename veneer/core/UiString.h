#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// The toolkit's wide string. Short texts live in an inline buffer; from 63
// characters on the text moves to a heap block. The length is not stored:
// it is found by scanning for the terminator.
class VENEER_API CUiString
{
  public:
    enum
    {
        MAX_LOCAL_STRING_LEN = 63
    };

    CUiString();
    CUiString(const wchar_t ch);
    CUiString(const CUiString& src);
    CUiString(const wchar_t* lpsz, int nLen = -1);
    ~CUiString();

    void Empty();
    int GetLength() const;
    bool IsEmpty() const;
    wchar_t GetAt(int nIndex) const;
    void Append(const wchar_t* pstr);
    void Assign(const wchar_t* pstr, int nLength = -1);
    const wchar_t* GetData() const;

    void SetAt(int nIndex, wchar_t ch);
    operator const wchar_t*() const;

    wchar_t operator[](int nIndex) const;
    const CUiString& operator=(const CUiString& src);
    const CUiString& operator=(const wchar_t ch);
    const CUiString& operator=(const wchar_t* pstr);
    const CUiString& operator=(const char* lpStr);
    const CUiString& operator+=(const CUiString& src);
    const CUiString& operator+=(const wchar_t* pstr);
    const CUiString& operator+=(const wchar_t ch);
    const CUiString& operator+=(const char* lpStr);
    CUiString operator+(const CUiString& src) const;
    CUiString operator+(const wchar_t* pstr) const;

    bool operator==(const wchar_t* str) const;
    bool operator!=(const wchar_t* str) const;
    bool operator<=(const wchar_t* str) const;
    bool operator<(const wchar_t* str) const;
    bool operator>=(const wchar_t* str) const;
    bool operator>(const wchar_t* str) const;

    int Compare(const wchar_t* pstr) const;
    int CompareNoCase(const wchar_t* pstr) const;

    void MakeUpper();
    void MakeLower();

    CUiString Left(int nLength) const;
    CUiString Mid(int iPos, int nLength = -1) const;
    CUiString Right(int nLength) const;

    int Find(wchar_t ch, int iPos = 0) const;
    int Find(const wchar_t* pstr, int iPos = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(const wchar_t* pstrFrom, const wchar_t* pstrTo);

    int __cdecl Format(const wchar_t* pstrFormat, ...);
    int __cdecl SmallFormat(const wchar_t* pstrFormat, ...);

  private:
    bool IsOwnText(const wchar_t* pstr) const;
    void AssignFromAnsi(const char* lpStr, bool bAppend);

    wchar_t* m_pstr;
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 1];
};

} // namespace Veneer
