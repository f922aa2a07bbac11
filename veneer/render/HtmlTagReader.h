#pragma once

#include <windows.h>

namespace Veneer
{

// One tag of inline markup as it stands in the text: a lower-case letter,
// opening or closing, with the argument that follows the letter's blank.
struct THtmlTag
{
    wchar_t chName;
    bool bClosing;
    LPCWSTR pArg; // not terminated: nArgLength characters
    int nArgLength;
    LPCWSTR pNext; // just past the bracket that ends the tag
};

// Reads the tags and escapes of an inline-markup text. A tag opens with '<'
// or '{' and ends at the next '>' or '}', the two kinds mixed freely. The
// reader remembers where the next closing bracket lies, so that a text full
// of opening brackets without closers is still read in linear time.
class CHtmlTagReader
{
  public:
    CHtmlTagReader();

    static bool IsOpening(wchar_t ch) { return ch == L'<' || ch == L'{'; }

    // At an opening bracket: the character that an escape ("<{>", "<}>",
    // "{<}", "{>}") stands for, or 0 when there is none. An escape is
    // kEscapeLength characters long.
    static wchar_t ReadEscape(LPCWSTR p);
    static const int kEscapeLength = 3;

    // At an opening bracket: true and the tag when one starts here. A name
    // of more letters, or a tag that the text ends inside, is text.
    bool ReadTag(LPCWSTR p, THtmlTag& tag);

  private:
    LPCWSTR FindCloser(LPCWSTR p);

    LPCWSTR m_pSearchedFrom; // where the last search for a closer began
    LPCWSTR m_pCloser;       // the first closer from there, null when none
};

} // namespace Veneer
