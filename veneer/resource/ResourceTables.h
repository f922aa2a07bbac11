#pragma once

#include "veneer/core/StdStringPtrMap.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/resource/FontTable.h"
#include "veneer/resource/ImageTable.h"

#include <windows.h>

namespace Veneer
{

// The drawing resources of one window that its controls refer to by name
// or number: fonts with a default font, images, default attribute lists
// keyed by control class name, and five default colours. The tables can
// borrow those of a parent (the tables of another window), so that pop-ups
// reuse the resources of their owner: lookups by name walk up the chain,
// indexes always refer to these tables' own fonts. Parents are only read,
// never freed.
class VENEER_API CResourceTables
{
  public:
    CResourceTables();
    CResourceTables(const CResourceTables&) = delete;
    CResourceTables& operator=(const CResourceTables&) = delete;
    ~CResourceTables();

    // Fonts.
    void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetCustomFontCount() const;
    HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT GetFont(int index);
    HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool FindFont(HFONT hFont);
    bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetFontIndex(HFONT hFont);
    int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool RemoveFont(HFONT hFont);
    bool RemoveFontAt(int index);
    void RemoveAllFonts();
    TFontInfo* GetFontInfo(int index);
    TFontInfo* GetFontInfo(HFONT hFont);
    // The default font of the topmost tables of the chain.
    TFontInfo* GetDefaultFontInfo();

    // Images, keyed by their name. GetImage searches the chain; the others
    // work on these tables only.
    const TImageInfo* GetImage(LPCWSTR bitmap);
    const TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    const TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    const TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    bool RemoveImage(LPCWSTR bitmap);
    void RemoveAllImages();
    // Answers whether any image was reloaded.
    bool ReloadAllImages();

    // Default attribute lists, keyed by control class name; the first
    // definition for a class wins.
    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
    bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
    const CStdStringPtrMap& GetDefaultAttribultes() const;
    void RemoveAllDefaultAttributeList();

    // Default colours: read from the topmost tables, set on these.
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD dwColor);

    // The tables whose resources these borrow; null clears. False, and no
    // change, when these tables would become their own ancestor.
    bool UseParentResource(CResourceTables* pParent);
    CResourceTables* GetParentResource() const;

  private:
    const CResourceTables* Topmost() const;
    TFontInfo* FindFontInChain(HFONT hFont);
    TFontInfo* FindFontInChain(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);

    CFontTable m_fonts;
    CImageTable m_images;
    CStdStringPtrMap m_DefaultAttrHash;
    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;
    CResourceTables* m_pParent;
};

} // namespace Veneer
