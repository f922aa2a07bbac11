#pragma once

#include "tools/pagehost/PageContent.h"
#include "veneer/core/GdiHolders.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace PageHost
{

// Lays a page out and paints it, the same way into its window and into any
// device context (IViewObject::Draw): a white page, the title as a
// heading, then headings and text blocks one below the other across the
// width, and runs of actions side by side, wrapping: buttons as grey boxes,
// links as blue underlined text. The font is Tahoma (20 px bold headings,
// 13 px text) and the layout depends on the width only, so positions are
// known without reading pixels (ActionRect).
class CPageCanvas
{
  public:
    CPageCanvas();

    void SetContent(std::shared_ptr<const CPageContent> content);
    // The sunken 3-D border that a host turns off with DOCHOSTUIFLAG_NO3DBORDER.
    void SetBorder(bool bBorder);
    // Lays the page out for a width; Paint and the queries use that layout.
    void Arrange(int width);
    void Paint(HDC hDC, const RECT& bounds);

    int ActionCount() const;
    bool ActionRect(int index, RECT& rect) const;
    // The action at a point of the laid-out page, or -1.
    int ActionAt(POINT pt) const;
    const CPageItem* Action(int index) const;

  private:
    struct CBox
    {
        RECT rect;
        // The item drawn, or null for the title.
        const CPageItem* item;
        int action; // index among the actions, or -1
    };

    HFONT FontFor(const CPageItem* item) const;
    void PlaceBlock(HDC hDC, const CPageItem* item, const std::wstring& text, int& y);
    void PaintBox(HDC hDC, const CBox& box, POINT offset) const;

    std::shared_ptr<const CPageContent> m_content;
    Veneer::CScopedGdiObject<HFONT> m_headingFont;
    Veneer::CScopedGdiObject<HFONT> m_textFont;
    Veneer::CScopedGdiObject<HFONT> m_linkFont;
    bool m_bBorder = true;
    int m_width = -1;
    std::vector<CBox> m_boxes;
};

} // namespace PageHost
