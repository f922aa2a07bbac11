#include "veneer/resource/ResourceTables.h"

#include <new>

namespace Veneer
{

namespace
{

const DWORD kDefaultDisabledColor = 0xFFA7A6AA;
const DWORD kDefaultFontColor = 0xFF000000;
const DWORD kDefaultLinkFontColor = 0xFF0000FF;
const DWORD kDefaultLinkHoverFontColor = 0xFFD3215F;
const DWORD kDefaultSelectedBkColor = 0xFFBAE4FF;

} // namespace

CResourceTables::CResourceTables()
    : m_dwDefaultDisabledColor(kDefaultDisabledColor), m_dwDefaultFontColor(kDefaultFontColor),
      m_dwDefaultLinkFontColor(kDefaultLinkFontColor),
      m_dwDefaultLinkHoverFontColor(kDefaultLinkHoverFontColor),
      m_dwDefaultSelectedBkColor(kDefaultSelectedBkColor), m_pParent(nullptr)
{
}

CResourceTables::~CResourceTables()
{
    RemoveAllDefaultAttributeList();
}

const CResourceTables* CResourceTables::Topmost() const
{
    const CResourceTables* pTables = this;
    while (pTables->m_pParent != nullptr)
        pTables = pTables->m_pParent;
    return pTables;
}

void CResourceTables::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic)
{
    m_fonts.SetDefault(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

int CResourceTables::GetCustomFontCount() const
{
    return m_fonts.GetCount();
}

HFONT CResourceTables::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return m_fonts.AddAt(m_fonts.GetCount(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CResourceTables::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic)
{
    return m_fonts.AddAt(index, pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CResourceTables::GetFont(int index)
{
    HFONT hFont = m_fonts.HandleAt(index);
    return hFont != nullptr ? hFont : GetDefaultFontInfo()->hFont;
}

// The record of a font of these tables or of a parent, measured by the
// tables that own it.
TFontInfo* CResourceTables::FindFontInChain(HFONT hFont)
{
    for (CResourceTables* pTables = this; pTables != nullptr; pTables = pTables->m_pParent)
    {
        TFontInfo* pFontInfo = pTables->m_fonts.Find(hFont);
        if (pFontInfo != nullptr)
            return pFontInfo;
    }
    return nullptr;
}

TFontInfo* CResourceTables::FindFontInChain(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                            bool bItalic)
{
    for (CResourceTables* pTables = this; pTables != nullptr; pTables = pTables->m_pParent)
    {
        TFontInfo* pFontInfo = pTables->m_fonts.Find(pStrFontName, nSize, bBold, bUnderline, bItalic);
        if (pFontInfo != nullptr)
            return pFontInfo;
    }
    return nullptr;
}

HFONT CResourceTables::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const TFontInfo* pFontInfo = FindFontInChain(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return pFontInfo != nullptr ? pFontInfo->hFont : nullptr;
}

bool CResourceTables::FindFont(HFONT hFont)
{
    return hFont != nullptr && FindFontInChain(hFont) != nullptr;
}

bool CResourceTables::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return FindFontInChain(pStrFontName, nSize, bBold, bUnderline, bItalic) != nullptr;
}

int CResourceTables::GetFontIndex(HFONT hFont)
{
    return m_fonts.IndexOf(hFont);
}

int CResourceTables::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return m_fonts.IndexOf(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

bool CResourceTables::RemoveFont(HFONT hFont)
{
    const int index = m_fonts.IndexOf(hFont);
    return index >= 0 && m_fonts.RemoveAt(index);
}

bool CResourceTables::RemoveFontAt(int index)
{
    return m_fonts.RemoveAt(index);
}

void CResourceTables::RemoveAllFonts()
{
    m_fonts.RemoveAll();
}

TFontInfo* CResourceTables::GetFontInfo(int index)
{
    TFontInfo* pFontInfo = m_fonts.GetAt(index);
    return pFontInfo != nullptr ? pFontInfo : GetDefaultFontInfo();
}

TFontInfo* CResourceTables::GetFontInfo(HFONT hFont)
{
    TFontInfo* pFontInfo = hFont != nullptr ? FindFontInChain(hFont) : nullptr;
    return pFontInfo != nullptr ? pFontInfo : GetDefaultFontInfo();
}

TFontInfo* CResourceTables::GetDefaultFontInfo()
{
    CResourceTables* pTopmost = this;
    while (pTopmost->m_pParent != nullptr)
        pTopmost = pTopmost->m_pParent;
    return pTopmost->m_fonts.GetDefault();
}

const TImageInfo* CResourceTables::GetImage(LPCWSTR bitmap)
{
    for (const CResourceTables* pTables = this; pTables != nullptr; pTables = pTables->m_pParent)
    {
        const TImageInfo* pImage = pTables->m_images.Find(bitmap);
        if (pImage != nullptr)
            return pImage;
    }
    return nullptr;
}

const TImageInfo* CResourceTables::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    return m_images.GetEx(bitmap, type, mask);
}

const TImageInfo* CResourceTables::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    return m_images.Add(bitmap, type, mask);
}

const TImageInfo* CResourceTables::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight,
                                            bool bAlpha)
{
    return m_images.Add(bitmap, hBitmap, iWidth, iHeight, bAlpha);
}

bool CResourceTables::RemoveImage(LPCWSTR bitmap)
{
    return m_images.Remove(bitmap);
}

void CResourceTables::RemoveAllImages()
{
    m_images.RemoveAll();
}

bool CResourceTables::ReloadAllImages()
{
    return m_images.ReloadAll();
}

void CResourceTables::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    if (pStrControlName == nullptr || pStrControlAttrList == nullptr)
        return;
    if (m_DefaultAttrHash.Find(pStrControlName, false) != nullptr)
        return;
    CUiString* pList = new (std::nothrow) CUiString(pStrControlAttrList);
    if (pList != nullptr && !m_DefaultAttrHash.Insert(pStrControlName, pList))
        delete pList;
}

LPCWSTR CResourceTables::GetDefaultAttributeList(LPCWSTR pStrControlName) const
{
    for (const CResourceTables* pTables = this; pTables != nullptr; pTables = pTables->m_pParent)
    {
        const CUiString* pList = static_cast<CUiString*>(pTables->m_DefaultAttrHash.Find(pStrControlName));
        if (pList != nullptr)
            return pList->GetData();
    }
    return nullptr;
}

bool CResourceTables::RemoveDefaultAttributeList(LPCWSTR pStrControlName)
{
    CUiString* pList = static_cast<CUiString*>(m_DefaultAttrHash.Find(pStrControlName, false));
    if (pList == nullptr)
        return false;
    delete pList;
    return m_DefaultAttrHash.Remove(pStrControlName);
}

const CStdStringPtrMap& CResourceTables::GetDefaultAttribultes() const
{
    return m_DefaultAttrHash;
}

void CResourceTables::RemoveAllDefaultAttributeList()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); i++)
        delete static_cast<CUiString*>(m_DefaultAttrHash.Find(m_DefaultAttrHash.GetAt(i), false));
    m_DefaultAttrHash.RemoveAll();
}

DWORD CResourceTables::GetDefaultDisabledColor() const
{
    return Topmost()->m_dwDefaultDisabledColor;
}

void CResourceTables::SetDefaultDisabledColor(DWORD dwColor)
{
    m_dwDefaultDisabledColor = dwColor;
}

DWORD CResourceTables::GetDefaultFontColor() const
{
    return Topmost()->m_dwDefaultFontColor;
}

void CResourceTables::SetDefaultFontColor(DWORD dwColor)
{
    m_dwDefaultFontColor = dwColor;
}

DWORD CResourceTables::GetDefaultLinkFontColor() const
{
    return Topmost()->m_dwDefaultLinkFontColor;
}

void CResourceTables::SetDefaultLinkFontColor(DWORD dwColor)
{
    m_dwDefaultLinkFontColor = dwColor;
}

DWORD CResourceTables::GetDefaultLinkHoverFontColor() const
{
    return Topmost()->m_dwDefaultLinkHoverFontColor;
}

void CResourceTables::SetDefaultLinkHoverFontColor(DWORD dwColor)
{
    m_dwDefaultLinkHoverFontColor = dwColor;
}

DWORD CResourceTables::GetDefaultSelectedBkColor() const
{
    return Topmost()->m_dwDefaultSelectedBkColor;
}

void CResourceTables::SetDefaultSelectedBkColor(DWORD dwColor)
{
    m_dwDefaultSelectedBkColor = dwColor;
}

bool CResourceTables::UseParentResource(CResourceTables* pParent)
{
    for (const CResourceTables* pAncestor = pParent; pAncestor != nullptr; pAncestor = pAncestor->m_pParent)
    {
        if (pAncestor == this)
            return false;
    }
    m_pParent = pParent;
    return true;
}

CResourceTables* CResourceTables::GetParentResource() const
{
    return m_pParent;
}

} // namespace Veneer
