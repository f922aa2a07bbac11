#pragma once

#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/PaintManagerUI.h"

#include <windows.h>

namespace Veneer
{

class CControlUI;

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
    // string's items on top of the same settings. False without a manager
    // or device context, and when an image that the strings name cannot be
    // had: the caller then draws what it draws without the image.
    static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
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
    static void DrawTextW(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                          int iFont, UINT uStyle);
    // Draws (or with DT_CALCRECT measures) text with inline markup: tags of
    // one lower-case letter in '<' '>' or '{' '}' for bold, italic,
    // underline, fonts, colours, links, images, paragraphs, raw text,
    // selection, line breaks and the pen's position. `rc` is moved by the
    // alignment styles, and measuring sets its right and bottom. Up to
    // nLinkRects links get their rectangles and targets in the two arrays,
    // and nLinkRects becomes the number filled; the link whose rectangle of
    // the last paint holds `ptMouse` takes the link-hover colour.
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
                             DWORD dwTextColor, RECT* prcLinks, CUiString* sLinks, int& nLinkRects,
                             UINT uStyle, POINT ptMouse);
    static SIZE GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont, UINT uStyle);
    // Paints the control into an off-screen bitmap and returns a 32-bit DIB
    // copy of `rc` from it, owned by the caller; null on failure.
    static HBITMAP GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc);

    // Part of the public interface for plug-ins written against it; layered
    // painting keeps its alpha bytes itself, so both do nothing.
    static void ClearAlphaPixel(LPBYTE pBits, int bitmapWidth, PRECT rc);
    static void RestoreAlphaColor(LPBYTE pBits, int bitmapWidth, PRECT rc);

    // Shifts a colour by hue (degrees, 180 = none), saturation and lightness
    // (percent, 100 = none). The low byte is taken as red, as in a COLORREF;
    // the alpha byte is kept.
    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);

    // Loads an image by name, or by resource id (MAKEINTRESOURCEW) with a
    // resource type, into a new record whose resource type is empty and whose
    // mask is 0 for the caller to fill. Pixels equal to `mask` (0xAARRGGBB,
    // after premultiplication) become fully transparent. Null on failure.
    static TImageInfo* LoadImageW(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);

    // Deletes the record's bitmap and the record.
    static void FreeImage(TImageInfo* bitmap);
};

} // namespace Veneer
