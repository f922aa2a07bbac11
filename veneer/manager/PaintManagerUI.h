#pragma once

#include "veneer/core/StdPtrArray.h"
#include "veneer/core/StdStringPtrMap.h"
#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/resource/ZipArchive.h"

#include <windows.h>

namespace Veneer
{

class CControlUI;

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

// An image of a manager's table; the record owns the bitmap, a 32-bit
// top-down DIB section with premultiplied alpha.
typedef struct tagTImageInfo
{
    HBITMAP hBitmap;
    int nX;
    int nY;
    bool alphaChannel;  // some pixel is not opaque or was cleared by the mask
    CUiString sResType; // empty for images read from a file or the archive
    DWORD dwMask;       // 0xAARRGGBB as stored in the bitmap
} TImageInfo;

// The hub of one skinned native window. It owns the fonts, images and
// default attribute lists that the controls of its window refer to, and can
// borrow those of a parent manager. The resource settings and the colour
// shift are process-wide: every window of the process shares them.
// Members are grouped: after construction come the window side (messages,
// painting, input routing and the services built on them), then the
// resource settings and the resource tables.
class VENEER_API CPaintManagerUI
{
  public:
    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    ~CPaintManagerUI();

    // Window side: the native window, its device contexts and how it paints.
    HDC GetPaintDC() const;
    bool IsBackgroundTransparent() const;
    void SetBackgroundTransparent(bool bTrans);

    // Resource settings: where skin documents and images are looked for.
    static HINSTANCE GetInstance();
    static CUiString GetInstancePath();
    static CUiString GetCurrentPath();
    static HINSTANCE GetResourceDll();
    static const CUiString& GetResourcePath();
    static const CUiString& GetResourceZip();
    static bool IsCachedResourceZip();
    static HZIP GetResourceZipHandle();
    static void SetInstance(HINSTANCE hInst);
    static void SetCurrentPath(LPCWSTR pStrPath);
    static void SetResourceDll(HINSTANCE hInst);
    static void SetResourcePath(LPCWSTR pStrPath);
    static void SetResourceZip(const void* pVoid, unsigned int len);
    static void SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip = false);

    // Fonts. Lookups by name or handle also search the parent managers;
    // indexes always refer to this manager's own table.
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
    TFontInfo* GetDefaultFontInfo();

    // Images, keyed by their name.
    const TImageInfo* GetImage(LPCWSTR bitmap);
    const TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    const TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    const TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    bool RemoveImage(LPCWSTR bitmap);
    void RemoveAllImages();
    void ReloadAllImages();
    static void ReloadSkin();

    // Default attribute lists, keyed by control class name.
    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
    bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
    const CStdStringPtrMap& GetDefaultAttribultes() const;
    void RemoveAllDefaultAttributeList();

    // Default colours: read from the topmost manager, set on this one.
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

    // The manager whose resources this one borrows.
    bool UseParentResource(CPaintManagerUI* pm);
    CPaintManagerUI* GetParentResource() const;

    // The process-wide colour shift; 180, 100, 100 leaves colours unchanged.
    static void SetHSL(bool bUseHSL, short H, short S, short L);
    static void GetHSL(short* H, short* S, short* L);

    // The face name of every default font made afterwards, when not empty.
    static CUiString m_pStrDefaultFontName;

  private:
    TFontInfo* NewFontRecord(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    TFontInfo* FindFontInfo(HFONT hFont);
    TFontInfo* FindFontInfo(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    void MeasureFont(TFontInfo* pFontInfo) const;
    void MakeDefaultFont();
    bool ReloadImage(LPCWSTR bitmap, TImageInfo* pImage);
    void InvalidateRoot();
    static void CloseCachedResourceZip();

    // Instance fields, in the order in which the manager declares them: the
    // window and its device contexts, the control tree, and the resources.
    HWND m_hWndPaint;
    HDC m_hDcPaint;
    CControlUI* m_pRoot;
    bool m_bLayered; // paints as a per-pixel-alpha layered window
    CPaintManagerUI* m_pParentResourcePM;
    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;
    TFontInfo m_DefaultFontInfo;
    CStdPtrArray m_aCustomFonts;
    CStdStringPtrMap m_mImageHash;
    CStdStringPtrMap m_DefaultAttrHash;

    // Process-wide fields: resource settings, colour shift, managers.
    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CUiString m_pStrResourcePath;
    static CUiString m_pStrResourceZip;
    static bool m_bCachedResourceZip;
    static HZIP m_hResourceZip;
    static short m_H;
    static short m_S;
    static short m_L;
    static CStdPtrArray m_aPreMessages;
    static CStdPtrArray m_aPlugins;
};

} // namespace Veneer
