#include "veneer/manager/PaintManagerUI.h"
#include "veneer/render/GdiHolders.h"

#include <cassert>
#include <new>

namespace Veneer
{

namespace
{

const short kNeutralHue = 180;
const short kNeutralPercent = 100;
const short kMaxHue = 360;
const short kMaxPercent = 200;

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

short Clamp(short value, short high)
{
    return value < 0 ? 0 : (value > high ? high : value);
}

} // namespace

CUiString CPaintManagerUI::m_pStrDefaultFontName;
short CPaintManagerUI::m_H = kNeutralHue;
short CPaintManagerUI::m_S = kNeutralPercent;
short CPaintManagerUI::m_L = kNeutralPercent;

// The stock GUI font with the default character set and, when the
// application named one, the default face.
void CPaintManagerUI::MakeDefaultFont()
{
    LOGFONTW lf = StockGuiFont();
    if (!m_pStrDefaultFontName.IsEmpty())
        ::lstrcpynW(lf.lfFaceName, m_pStrDefaultFontName, LF_FACESIZE);
    m_DefaultFontInfo.hFont = ::CreateFontIndirectW(&lf);
    m_DefaultFontInfo.sFontName = lf.lfFaceName;
    m_DefaultFontInfo.iSize = -lf.lfHeight;
    m_DefaultFontInfo.bBold = lf.lfWeight >= FW_BOLD;
    m_DefaultFontInfo.bUnderline = lf.lfUnderline != FALSE;
    m_DefaultFontInfo.bItalic = lf.lfItalic != FALSE;
    m_DefaultFontInfo.tm = TEXTMETRICW{};
}

// Records are measured when they are handed out. The device context is one
// that every manager can have, window or not: a child manager reads the
// fonts of a parent that may have no window of its own.
void CPaintManagerUI::MeasureFont(TFontInfo* pFontInfo)
{
    if (pFontInfo->tm.tmHeight != 0)
        return;
    CScopedMemDC screenDC(nullptr);
    if (screenDC.Get() == nullptr)
        return;
    CScopedSelect selected(screenDC.Get(), pFontInfo->hFont);
    ::GetTextMetricsW(screenDC.Get(), &pFontInfo->tm);
}

void CPaintManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic)
{
    HFONT hFont = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr)
        return;
    ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo.hFont = hFont;
    m_DefaultFontInfo.sFontName = pStrFontName;
    m_DefaultFontInfo.iSize = nSize;
    m_DefaultFontInfo.bBold = bBold;
    m_DefaultFontInfo.bUnderline = bUnderline;
    m_DefaultFontInfo.bItalic = bItalic;
    m_DefaultFontInfo.tm = TEXTMETRICW{};
    MeasureFont(&m_DefaultFontInfo);
}

int CPaintManagerUI::GetCustomFontCount() const
{
    return m_aCustomFonts.GetSize();
}

TFontInfo* CPaintManagerUI::NewFontRecord(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                          bool bItalic)
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
    pFontInfo->hFont = hFont;
    pFontInfo->sFontName = pStrFontName;
    pFontInfo->iSize = nSize;
    pFontInfo->bBold = bBold;
    pFontInfo->bUnderline = bUnderline;
    pFontInfo->bItalic = bItalic;
    MeasureFont(pFontInfo);
    return pFontInfo;
}

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return AddFontAt(m_aCustomFonts.GetSize(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic)
{
    TFontInfo* pFontInfo = NewFontRecord(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (pFontInfo == nullptr)
        return nullptr;
    if (!m_aCustomFonts.InsertAt(index, pFontInfo))
    {
        FreeFontRecord(pFontInfo);
        return nullptr;
    }
    return pFontInfo->hFont;
}

HFONT CPaintManagerUI::GetFont(int index)
{
    const TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts.GetAt(index));
    return pFontInfo != nullptr ? pFontInfo->hFont : GetDefaultFontInfo()->hFont;
}

TFontInfo* CPaintManagerUI::FindFontInfo(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                         bool bItalic)
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++)
    {
        TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts[i]);
        if (FontMatches(pFontInfo, pStrFontName, nSize, bBold, bUnderline, bItalic))
            return pFontInfo;
    }
    if (m_pParentResourcePM != nullptr)
        return m_pParentResourcePM->FindFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return nullptr;
}

// The record of a font of this manager or of a parent, measured by the
// manager that owns it.
TFontInfo* CPaintManagerUI::FindFontInfo(HFONT hFont)
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++)
    {
        TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts[i]);
        if (pFontInfo->hFont == hFont)
        {
            MeasureFont(pFontInfo);
            return pFontInfo;
        }
    }
    if (m_pParentResourcePM != nullptr)
        return m_pParentResourcePM->FindFontInfo(hFont);
    return nullptr;
}

HFONT CPaintManagerUI::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const TFontInfo* pFontInfo = FindFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return pFontInfo != nullptr ? pFontInfo->hFont : nullptr;
}

bool CPaintManagerUI::FindFont(HFONT hFont)
{
    return hFont != nullptr && FindFontInfo(hFont) != nullptr;
}

bool CPaintManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return FindFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic) != nullptr;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont)
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++)
    {
        if (static_cast<TFontInfo*>(m_aCustomFonts[i])->hFont == hFont)
            return i;
    }
    return -1;
}

int CPaintManagerUI::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++)
    {
        if (FontMatches(static_cast<TFontInfo*>(m_aCustomFonts[i]), pStrFontName, nSize, bBold, bUnderline,
                        bItalic))
            return i;
    }
    return -1;
}

bool CPaintManagerUI::RemoveFont(HFONT hFont)
{
    const int index = GetFontIndex(hFont);
    return index >= 0 && RemoveFontAt(index);
}

bool CPaintManagerUI::RemoveFontAt(int index)
{
    TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts.GetAt(index));
    if (pFontInfo == nullptr)
        return false;
    FreeFontRecord(pFontInfo);
    return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts()
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++)
        FreeFontRecord(static_cast<TFontInfo*>(m_aCustomFonts[i]));
    m_aCustomFonts.Empty();
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index)
{
    TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts.GetAt(index));
    if (pFontInfo == nullptr)
        return GetDefaultFontInfo();
    MeasureFont(pFontInfo);
    return pFontInfo;
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont)
{
    TFontInfo* pFontInfo = hFont != nullptr ? FindFontInfo(hFont) : nullptr;
    return pFontInfo != nullptr ? pFontInfo : GetDefaultFontInfo();
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    if (m_pParentResourcePM != nullptr)
        return m_pParentResourcePM->GetDefaultFontInfo();
    MeasureFont(&m_DefaultFontInfo);
    return &m_DefaultFontInfo;
}

void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    if (pStrControlName == nullptr || pStrControlAttrList == nullptr)
        return;
    // The first definition for a class wins.
    if (m_DefaultAttrHash.Find(pStrControlName, false) != nullptr)
        return;
    CUiString* pList = new (std::nothrow) CUiString(pStrControlAttrList);
    if (pList != nullptr && !m_DefaultAttrHash.Insert(pStrControlName, pList))
        delete pList;
}

LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const
{
    const CUiString* pList = static_cast<CUiString*>(m_DefaultAttrHash.Find(pStrControlName));
    if (pList != nullptr)
        return pList->GetData();
    if (m_pParentResourcePM != nullptr)
        return m_pParentResourcePM->GetDefaultAttributeList(pStrControlName);
    return nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCWSTR pStrControlName)
{
    CUiString* pList = static_cast<CUiString*>(m_DefaultAttrHash.Find(pStrControlName, false));
    if (pList == nullptr)
        return false;
    delete pList;
    return m_DefaultAttrHash.Remove(pStrControlName);
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const
{
    return m_DefaultAttrHash;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); i++)
        delete static_cast<CUiString*>(m_DefaultAttrHash.Find(m_DefaultAttrHash.GetAt(i), false));
    m_DefaultAttrHash.RemoveAll();
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultDisabledColor()
                                          : m_dwDefaultDisabledColor;
}

void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor)
{
    m_dwDefaultDisabledColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultFontColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultFontColor() : m_dwDefaultFontColor;
}

void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor)
{
    m_dwDefaultFontColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultLinkFontColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultLinkFontColor()
                                          : m_dwDefaultLinkFontColor;
}

void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor)
{
    m_dwDefaultLinkFontColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultLinkHoverFontColor()
                                          : m_dwDefaultLinkHoverFontColor;
}

void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor)
{
    m_dwDefaultLinkHoverFontColor = dwColor;
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const
{
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultSelectedBkColor()
                                          : m_dwDefaultSelectedBkColor;
}

void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor)
{
    m_dwDefaultSelectedBkColor = dwColor;
}

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm)
{
    // A manager must not become its own ancestor.
    for (CPaintManagerUI* pAncestor = pm; pAncestor != nullptr; pAncestor = pAncestor->m_pParentResourcePM)
    {
        if (pAncestor == this)
            return false;
    }
    m_pParentResourcePM = pm;
    return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const
{
    return m_pParentResourcePM;
}

void CPaintManagerUI::SetHSL(bool, short H, short S, short L)
{
    if (m_H == H && m_S == S && m_L == L)
        return;
    m_H = Clamp(H, kMaxHue);
    m_S = Clamp(S, kMaxPercent);
    m_L = Clamp(L, kMaxPercent);
    for (int i = 0; i < m_aPreMessages.GetSize(); i++)
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->InvalidateRoot();
}

void CPaintManagerUI::GetHSL(short* H, short* S, short* L)
{
    assert(H != nullptr && S != nullptr && L != nullptr);
    *H = m_H;
    *S = m_S;
    *L = m_L;
}

} // namespace Veneer
