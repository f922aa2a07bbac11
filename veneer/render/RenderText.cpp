#include "veneer/render/RenderEngine.h"

#include "veneer/core/GdiHolders.h"
#include "veneer/render/ArgbColor.h"
#include "veneer/render/BlendFunctions.h"
#include "veneer/render/DibSurface.h"

#include <cstring>

namespace Veneer
{

namespace
{

const DWORD kAlphaMask = 0xFF000000;

// Sets the transparent background mode and a text colour for the length of
// one drawing call.
class CScopedTextColors
{
  public:
    CScopedTextColors(HDC hDC, DWORD dwTextColor)
        : m_hDC(hDC), m_oldMode(::SetBkMode(hDC, TRANSPARENT)),
          m_oldColor(::SetTextColor(hDC, ArgbToColorRef(dwTextColor)))
    {
    }
    CScopedTextColors(const CScopedTextColors&) = delete;
    CScopedTextColors& operator=(const CScopedTextColors&) = delete;
    ~CScopedTextColors()
    {
        ::SetTextColor(m_hDC, m_oldColor);
        ::SetBkMode(m_hDC, m_oldMode);
    }

  private:
    HDC m_hDC;
    int m_oldMode;
    COLORREF m_oldColor;
};

// The font stays selected after the call: selecting a font costs far more
// than drawing a short text (about 14 us a select-and-restore pair under
// Wine), and a tree draws many texts in few fonts. Every painting path of
// the toolkit brackets its drawing with SaveDC/RestoreDC or draws into a
// device context of its own, which puts the caller's font back.
void DrawPlainText(HDC hDC, HFONT hFont, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor, UINT uStyle)
{
    CScopedTextColors colors(hDC, dwTextColor);
    if (::GetCurrentObject(hDC, OBJ_FONT) != hFont)
        ::SelectObject(hDC, hFont);
    ::DrawTextW(hDC, pstrText, -1, &rc, uStyle);
}

// A window whose pixels carry alpha: GDI text leaves the alpha bytes 0, so
// the text is drawn on a surface whose alpha bytes are all 0xFF; the pixels
// it touched become opaque, the rest fully transparent, and the surface is
// blended onto the target.
void DrawLayeredText(HDC hDC, HFONT hFont, const RECT& rc, LPCWSTR pstrText, DWORD dwTextColor, UINT uStyle)
{
    CDibSurface surface;
    if (!surface.Create(hDC, rc.right - rc.left, rc.bottom - rc.top))
        return;
    memset(surface.GetBits(), 0xFF, surface.GetPixelCount() * sizeof(DWORD));
    RECT rcText{0, 0, surface.GetWidth(), surface.GetHeight()};
    DrawPlainText(surface.GetDC(), hFont, rcText, pstrText, dwTextColor, uStyle);
    ::GdiFlush();

    DWORD* pPixels = surface.GetBits();
    for (size_t i = 0; i < surface.GetPixelCount(); i++)
        pPixels[i] = (pPixels[i] & kAlphaMask) != 0 ? 0 : pPixels[i] | kAlphaMask;

    BLENDFUNCTION bf{};
    bf.BlendOp = AC_SRC_OVER;
    bf.SourceConstantAlpha = 255;
    bf.AlphaFormat = AC_SRC_ALPHA;
    CBlendFunctions::GetAlphaBlend()(hDC, rc.left, rc.top, surface.GetWidth(), surface.GetHeight(),
                                     surface.GetDC(), 0, 0, surface.GetWidth(), surface.GetHeight(), bf);
}

} // namespace

void CRenderEngine::DrawTextW(HDC hDC, CResourceTables* pResources, RECT& rc, LPCWSTR pstrText,
                              DWORD dwTextColor, int iFont, UINT uStyle, bool bLayered)
{
    if (hDC == nullptr || pResources == nullptr || pstrText == nullptr)
        return;
    uStyle |= DT_NOPREFIX;
    HFONT hFont = pResources->GetFont(iFont);
    // Measuring draws nothing and must hand the rectangle back, so it always
    // takes the plain path.
    if (bLayered && (uStyle & DT_CALCRECT) == 0)
        DrawLayeredText(hDC, hFont, rc, pstrText, dwTextColor, uStyle);
    else
        DrawPlainText(hDC, hFont, rc, pstrText, dwTextColor, uStyle);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CResourceTables* pResources, LPCWSTR pstrText, int iFont, UINT)
{
    SIZE size{};
    if (hDC == nullptr || pResources == nullptr || pstrText == nullptr)
        return size;
    CScopedSelect selectFont(hDC, pResources->GetFont(iFont));
    ::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(wcslen(pstrText)), &size);
    return size;
}

} // namespace Veneer
