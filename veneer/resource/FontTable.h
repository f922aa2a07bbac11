#pragma once

#include "veneer/core/StdPtrArray.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// A font of a manager's table; the record owns the font.
typedef struct tagTFontInfo
{
    HFONT hFont;
    CUiString sFontName;
    int iSize; // in pixels; the font was made with a height of -iSize
    bool bBold;
    bool bUnderline;
    bool bItalic;
    TEXTMETRICW tm; // all zero until measured
} TFontInfo;

// One manager's own fonts, in order of addition (the position is the font's
// index), and its default font. Parents are the resource tables' business.
class VENEER_API CFontTable
{
  public:
    // The default font starts as the stock GUI font with the default
    // character set and, when one is set, the process-wide default face.
    CFontTable();
    CFontTable(const CFontTable&) = delete;
    CFontTable& operator=(const CFontTable&) = delete;
    ~CFontTable();

    // Makes the font; on failure nothing changes.
    void SetDefault(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    // The default font's record, measured.
    TFontInfo* GetDefault();

    int GetCount() const;
    // Null when the font cannot be made or the table cannot take it.
    HFONT AddAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    // The handle at the index; null out of range.
    HFONT HandleAt(int index) const;
    // The record at the index, measured; null out of range.
    TFontInfo* GetAt(int index);
    // The record with the handle, measured; null when absent.
    TFontInfo* Find(HFONT hFont);
    // The first record with these properties; the face name is compared
    // case-sensitively. Null when absent.
    TFontInfo* Find(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int IndexOf(HFONT hFont) const;
    int IndexOf(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    bool RemoveAt(int index);
    void RemoveAll();

  private:
    TFontInfo* RecordAt(int index) const;

    CStdPtrArray m_aFonts;
    TFontInfo m_DefaultFontInfo;
};

} // namespace Veneer
