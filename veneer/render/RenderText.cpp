#include "veneer/render/RenderEngine.h"

#include "veneer/core/GdiHolders.h"
#include "veneer/render/ArgbColor.h"
#include "veneer/render/LayeredText.h"

namespace Veneer
{

namespace
{

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
    if (!bLayered || (uStyle & DT_CALCRECT) != 0)
    {
        DrawPlainText(hDC, hFont, rc, pstrText, dwTextColor, uStyle);
        return;
    }
    CLayeredTextSurface surface(hDC, rc);
    if (surface.GetDC() == nullptr)
        return;
    RECT rcText = rc;
    DrawPlainText(surface.GetDC(), hFont, rcText, pstrText, dwTextColor, uStyle);
    surface.Finish();
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
