#include "veneer/resource/FontTable.h"

#include "veneer/core/GdiHolders.h"
#include "veneer/resource/ResourceSettings.h"

#include <new>

namespace Veneer
{

namespace
{

// Every font starts from the stock GUI font, with the default character set.
LOGFONTW StockGuiFont()
{
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

HFONT MakeFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    LOGFONTW lf = StockGuiFont();
    // The face name keeps its terminator: at most 31 characters are taken.
    ::lstrcpynW(lf.lfFaceName, pStrFontName != nullptr ? pStrFontName : L"", LF_FACESIZE);
    lf.lfHeight = -nSize;
    if (bBold)
        lf.lfWeight += FW_BOLD;
    if (bUnderline)
        lf.lfUnderline = TRUE;
    if (bItalic)
        lf.lfItalic = TRUE;
    return ::CreateFontIndirectW(&lf);
}

void Describe(TFontInfo* pFontInfo, HFONT hFont, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
              bool bItalic)
{
    pFontInfo->hFont = hFont;
    pFontInfo->sFontName = pStrFontName;
    pFontInfo->iSize = nSize;
    pFontInfo->bBold = bBold;
    pFontInfo->bUnderline = bUnderline;
    pFontInfo->bItalic = bItalic;
    pFontInfo->tm = TEXTMETRICW{};
}

bool FontMatches(const TFontInfo* pFontInfo, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                 bool bItalic)
{
    return pFontInfo->sFontName == pStrFontName && pFontInfo->iSize == nSize && pFontInfo->bBold == bBold &&
           pFontInfo->bUnderline == bUnderline && pFontInfo->bItalic == bItalic;
}

void FreeFontRecord(TFontInfo* pFontInfo)
{
    ::DeleteObject(pFontInfo->hFont);
    delete pFontInfo;
}

// Records are measured when they are handed out. The device context is one
// that every manager can have, window or not: a child manager reads the
// fonts of a parent that may have no window of its own.
TFontInfo* Measured(TFontInfo* pFontInfo)
{
    if (pFontInfo == nullptr || pFontInfo->tm.tmHeight != 0)
        return pFontInfo;
    CScopedMemDC screenDC(nullptr);
    if (screenDC.Get() == nullptr)
        return pFontInfo;
    CScopedSelect selected(screenDC.Get(), pFontInfo->hFont);
    ::GetTextMetricsW(screenDC.Get(), &pFontInfo->tm);
    return pFontInfo;
}

} // namespace

CFontTable::CFontTable() : m_DefaultFontInfo()
{
    LOGFONTW lf = StockGuiFont();
    const CUiString& sDefaultFace = CResourceSettings::DefaultFontName();
    if (!sDefaultFace.IsEmpty())
        ::lstrcpynW(lf.lfFaceName, sDefaultFace, LF_FACESIZE);
    Describe(&m_DefaultFontInfo, ::CreateFontIndirectW(&lf), lf.lfFaceName, -lf.lfHeight,
             lf.lfWeight >= FW_BOLD, lf.lfUnderline != FALSE, lf.lfItalic != FALSE);
}

CFontTable::~CFontTable()
{
    RemoveAll();
    ::DeleteObject(m_DefaultFontInfo.hFont);
}

void CFontTable::SetDefault(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    HFONT hFont = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr)
        return;
    ::DeleteObject(m_DefaultFontInfo.hFont);
    Describe(&m_DefaultFontInfo, hFont, pStrFontName, nSize, bBold, bUnderline, bItalic);
    Measured(&m_DefaultFontInfo);
}

TFontInfo* CFontTable::GetDefault()
{
    return Measured(&m_DefaultFontInfo);
}

int CFontTable::GetCount() const
{
    return m_aFonts.GetSize();
}

HFONT CFontTable::AddAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    HFONT hFont = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr)
        return nullptr;
    TFontInfo* pFontInfo = new (std::nothrow) TFontInfo();
    if (pFontInfo == nullptr)
    {
        ::DeleteObject(hFont);
        return nullptr;
    }
    Describe(pFontInfo, hFont, pStrFontName, nSize, bBold, bUnderline, bItalic);
    Measured(pFontInfo);
    if (!m_aFonts.InsertAt(index, pFontInfo))
    {
        FreeFontRecord(pFontInfo);
        return nullptr;
    }
    return hFont;
}

TFontInfo* CFontTable::RecordAt(int index) const
{
    return static_cast<TFontInfo*>(m_aFonts.GetAt(index));
}

HFONT CFontTable::HandleAt(int index) const
{
    const TFontInfo* pFontInfo = RecordAt(index);
    return pFontInfo != nullptr ? pFontInfo->hFont : nullptr;
}

TFontInfo* CFontTable::GetAt(int index)
{
    return Measured(RecordAt(index));
}

TFontInfo* CFontTable::Find(HFONT hFont)
{
    const int index = IndexOf(hFont);
    return index >= 0 ? GetAt(index) : nullptr;
}

TFontInfo* CFontTable::Find(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const int index = IndexOf(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return index >= 0 ? RecordAt(index) : nullptr;
}

int CFontTable::IndexOf(HFONT hFont) const
{
    for (int i = 0; i < m_aFonts.GetSize(); i++)
    {
        if (RecordAt(i)->hFont == hFont)
            return i;
    }
    return -1;
}

int CFontTable::IndexOf(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    for (int i = 0; i < m_aFonts.GetSize(); i++)
    {
        if (FontMatches(RecordAt(i), pStrFontName, nSize, bBold, bUnderline, bItalic))
            return i;
    }
    return -1;
}

bool CFontTable::RemoveAt(int index)
{
    TFontInfo* pFontInfo = RecordAt(index);
    if (pFontInfo == nullptr)
        return false;
    FreeFontRecord(pFontInfo);
    return m_aFonts.Remove(index);
}

void CFontTable::RemoveAll()
{
    for (int i = 0; i < m_aFonts.GetSize(); i++)
        FreeFontRecord(RecordAt(i));
    m_aFonts.Empty();
}

} // namespace Veneer
