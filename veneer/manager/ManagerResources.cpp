// The manager's resource members: the process-wide settings forward to
// CResourceSettings, the tables to the manager's own CResourceTables.
#include "veneer/manager/PaintManagerUI.h"

namespace Veneer
{

CUiString& CPaintManagerUI::m_pStrDefaultFontName = CResourceSettings::DefaultFontName();

CResourceTables* CPaintManagerUI::GetResources()
{
    return &m_resources;
}

HINSTANCE CPaintManagerUI::GetInstance()
{
    return CResourceSettings::GetInstance();
}

CUiString CPaintManagerUI::GetInstancePath()
{
    return CResourceSettings::GetInstancePath();
}

CUiString CPaintManagerUI::GetCurrentPath()
{
    return CResourceSettings::GetCurrentPath();
}

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return CResourceSettings::GetResourceDll();
}

const CUiString& CPaintManagerUI::GetResourcePath()
{
    return CResourceSettings::GetResourcePath();
}

const CUiString& CPaintManagerUI::GetResourceZip()
{
    return CResourceSettings::GetResourceZip();
}

bool CPaintManagerUI::IsCachedResourceZip()
{
    return CResourceSettings::IsCachedResourceZip();
}

bool CPaintManagerUI::IsResourceZipInMemory()
{
    return CResourceSettings::IsResourceZipInMemory();
}

HZIP CPaintManagerUI::GetResourceZipHandle()
{
    return CResourceSettings::GetResourceZipHandle();
}

void CPaintManagerUI::SetInstance(HINSTANCE hInst)
{
    CResourceSettings::SetInstance(hInst);
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath)
{
    CResourceSettings::SetCurrentPath(pStrPath);
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst)
{
    CResourceSettings::SetResourceDll(hInst);
}

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath)
{
    CResourceSettings::SetResourcePath(pStrPath);
}

void CPaintManagerUI::SetResourceZip(const void* pVoid, unsigned int len)
{
    CResourceSettings::SetResourceZip(pVoid, len);
}

void CPaintManagerUI::SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip)
{
    CResourceSettings::SetResourceZip(pstrZip, bCachedResourceZip);
}

bool CPaintManagerUI::LoadPlugin(LPCWSTR pstrModuleName)
{
    return CResourceSettings::LoadPlugin(pstrModuleName);
}

CStdPtrArray* CPaintManagerUI::GetPlugins()
{
    return CResourceSettings::GetPlugins();
}

void CPaintManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic)
{
    m_resources.SetDefaultFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

int CPaintManagerUI::GetCustomFontCount() const
{
    return m_resources.GetCustomFontCount();
}

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return m_resources.AddFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic)
{
    return m_resources.AddFontAt(index, pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::GetFont(int index)
{
    return m_resources.GetFont(index);
}

HFONT CPaintManagerUI::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return m_resources.GetFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

bool CPaintManagerUI::FindFont(HFONT hFont)
{
    return m_resources.FindFont(hFont);
}

bool CPaintManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return m_resources.FindFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

int CPaintManagerUI::GetFontIndex(HFONT hFont)
{
    return m_resources.GetFontIndex(hFont);
}

int CPaintManagerUI::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return m_resources.GetFontIndex(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

bool CPaintManagerUI::RemoveFont(HFONT hFont)
{
    return m_resources.RemoveFont(hFont);
}

bool CPaintManagerUI::RemoveFontAt(int index)
{
    return m_resources.RemoveFontAt(index);
}

void CPaintManagerUI::RemoveAllFonts()
{
    m_resources.RemoveAllFonts();
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index)
{
    return m_resources.GetFontInfo(index);
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont)
{
    return m_resources.GetFontInfo(hFont);
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    return m_resources.GetDefaultFontInfo();
}

const TImageInfo* CPaintManagerUI::GetImage(LPCWSTR bitmap)
{
    return m_resources.GetImage(bitmap);
}

const TImageInfo* CPaintManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    return m_resources.GetImageEx(bitmap, type, mask);
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    return m_resources.AddImage(bitmap, type, mask);
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight,
                                            bool bAlpha)
{
    return m_resources.AddImage(bitmap, hBitmap, iWidth, iHeight, bAlpha);
}

bool CPaintManagerUI::RemoveImage(LPCWSTR bitmap)
{
    return m_resources.RemoveImage(bitmap);
}

void CPaintManagerUI::RemoveAllImages()
{
    m_resources.RemoveAllImages();
}

void CPaintManagerUI::ReloadAllImages()
{
    if (m_resources.ReloadAllImages())
        InvalidateRoot();
}

void CPaintManagerUI::ReloadSkin()
{
    for (int i = 0; i < m_aPreMessages.GetSize(); i++)
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
}

void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    m_resources.AddDefaultAttributeList(pStrControlName, pStrControlAttrList);
}

LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const
{
    return m_resources.GetDefaultAttributeList(pStrControlName);
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCWSTR pStrControlName)
{
    return m_resources.RemoveDefaultAttributeList(pStrControlName);
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const
{
    return m_resources.GetDefaultAttribultes();
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    m_resources.RemoveAllDefaultAttributeList();
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const
{
    return m_resources.GetDefaultDisabledColor();
}

void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor)
{
    m_resources.SetDefaultDisabledColor(dwColor);
}

DWORD CPaintManagerUI::GetDefaultFontColor() const
{
    return m_resources.GetDefaultFontColor();
}

void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor)
{
    m_resources.SetDefaultFontColor(dwColor);
}

DWORD CPaintManagerUI::GetDefaultLinkFontColor() const
{
    return m_resources.GetDefaultLinkFontColor();
}

void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor)
{
    m_resources.SetDefaultLinkFontColor(dwColor);
}

DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const
{
    return m_resources.GetDefaultLinkHoverFontColor();
}

void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor)
{
    m_resources.SetDefaultLinkHoverFontColor(dwColor);
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const
{
    return m_resources.GetDefaultSelectedBkColor();
}

void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor)
{
    m_resources.SetDefaultSelectedBkColor(dwColor);
}

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm)
{
    if (!m_resources.UseParentResource(pm != nullptr ? &pm->m_resources : nullptr))
        return false;
    m_pParentResourcePM = pm;
    return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const
{
    return m_pParentResourcePM;
}

void CPaintManagerUI::SetHSL(bool, short H, short S, short L)
{
    if (!CResourceSettings::SetHSL(H, S, L))
        return;
    for (int i = 0; i < m_aPreMessages.GetSize(); i++)
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->InvalidateRoot();
}

void CPaintManagerUI::GetHSL(short* H, short* S, short* L)
{
    CResourceSettings::GetHSL(H, S, L);
}

} // namespace Veneer
