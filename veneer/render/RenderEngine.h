#pragma once

#include "veneer/core/VeneerDefs.h"
#include "veneer/resource/ImageLoader.h"
#include "veneer/resource/ResourceTables.h"

#include <windows.h>

namespace Veneer
{

// Narrows the clip region of a device context to a rectangle or a rounded
// rectangle; the destructor puts the previous clip region back.
class VENEER_API CRenderClip
{
  public:
    CRenderClip();
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;
    ~CRenderClip();

    static void GenerateClip(HDC hDC, RECT rc, CRenderClip& clip);
    static void GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip);
    // Between these two calls the previous (wider) clip region is in force.
    static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
    static void UseOldClipEnd(HDC hDC, CRenderClip& clip);

    RECT rcItem;
    HDC hDC;
    HRGN hRgn;
    HRGN hOldRgn;
};

// Drawing helpers of the toolkit; all members are static. Colours are
// 0xAARRGGBB: alpha 0 draws nothing, 0xFF draws opaque, others blend.
class VENEER_API CRenderEngine
{
  public:
    // Draws an image description string (a bare image name, or items such
    // as file='a.png' dest='0,0,10,10' corner='2,2,2,2'), then the modify
    // string's items on top of the same settings; the images come from the
    // window's resource tables. False without tables or device context, and
    // when an image that the strings name cannot be had: the caller then
    // draws what it draws without the image.
    static bool DrawImageString(HDC hDC, CResourceTables* pResources, const RECT& rcItem, const RECT& rcPaint,
                                LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);
    // Draws part `rcBmpPart` of a bitmap into `rc`, nine-sliced by
    // `rcCorners`, clipped to `rcPaint`.
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                          const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel, BYTE uFade = 255,
                          bool hole = false, bool xtiled = false, bool ytiled = false);
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical,
                             int nSteps);
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = PS_SOLID);
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor);
    // Draws text in the tables' font of that index (the default font when
    // out of range). bLayered: the target's pixels carry alpha (a layered
    // window), so the text is made opaque where GDI drew it.
    static void DrawTextW(HDC hDC, CResourceTables* pResources, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                          int iFont, UINT uStyle, bool bLayered);
    // Draws (or with DT_CALCRECT measures) text with inline markup: tags of
    // one lower-case letter in '<' '>' or '{' '}' for bold, italic,
    // underline, fonts, colours, links, images, paragraphs, raw text,
    // selection, line breaks and the pen's position. `rc` is moved by the
    // alignment styles, and measuring sets its right and bottom. Up to
    // nLinkRects links get their rectangles and targets in the two arrays,
    // and nLinkRects becomes the number filled; the link whose rectangle of
    // the last paint holds `ptMouse` takes the link-hover colour. bLayered
    // as for DrawTextW.
    static void DrawHtmlText(HDC hDC, CResourceTables* pResources, RECT& rc, LPCWSTR pstrText,
                             DWORD dwTextColor, RECT* prcLinks, CUiString* sLinks, int& nLinkRects,
                             UINT uStyle, POINT ptMouse, bool bLayered);
    static SIZE GetTextSize(HDC hDC, CResourceTables* pResources, LPCWSTR pstrText, int iFont, UINT uStyle);

    // For GDI drawing into a 32-bit top-down bitmap whose alpha bytes count:
    // ClearAlphaPixel sets the alpha byte of every pixel of `rc` to 0 and
    // RestoreAlphaColor sets it to 0xFF, making what was drawn opaque. The
    // rectangle is cut to the bitmap's width; its rows must lie inside it.
    static void ClearAlphaPixel(LPBYTE pBits, int bitmapWidth, PRECT rc);
    static void RestoreAlphaColor(LPBYTE pBits, int bitmapWidth, PRECT rc);

    // The colour shift (CColorShift::Apply) and the image loader
    // (CImageLoader::Load and Free) under the names that controls and
    // plug-ins know them by.
    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
    static TImageInfo* LoadImageW(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    static void FreeImage(TImageInfo* bitmap);
};

} // namespace Veneer
