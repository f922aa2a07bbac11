#include "tools/pagehost/PageCanvas.h"

#include <algorithm>

namespace PageHost
{

namespace
{

constexpr int kMargin = 10;
constexpr int kGap = 6;
constexpr int kBorder = 2;
constexpr int kButtonPadX = 10;
constexpr int kButtonPadY = 5;
constexpr int kHeadingHeight = 20;
constexpr int kTextHeight = 13;
constexpr wchar_t kFace[] = L"Tahoma";
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kLinkColor = RGB(0, 0, 238);
constexpr COLORREF kButtonFace = RGB(225, 225, 225);
constexpr COLORREF kButtonFrame = RGB(112, 112, 112);
constexpr UINT kBlockFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
constexpr UINT kActionFormat = DT_SINGLELINE | DT_NOPREFIX | DT_CENTER | DT_VCENTER;

HFONT MakeFont(int height, int weight, bool underline)
{
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, kFace);
}

// Measuring needs a device context; the screen's serves every target.
class CScreenDC
{
  public:
    CScreenDC() : m_hDC(GetDC(nullptr)) {}
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;
    ~CScreenDC() { ReleaseDC(nullptr, m_hDC); }
    HDC Get() const { return m_hDC; }

  private:
    HDC m_hDC;
};

} // namespace

CPageCanvas::CPageCanvas()
    : m_headingFont(MakeFont(kHeadingHeight, FW_BOLD, false)),
      m_textFont(MakeFont(kTextHeight, FW_NORMAL, false)), m_linkFont(MakeFont(kTextHeight, FW_NORMAL, true))
{
}

void CPageCanvas::SetContent(std::shared_ptr<const CPageContent> content)
{
    m_content = std::move(content);
    m_width = -1;
    m_boxes.clear();
}

void CPageCanvas::SetBorder(bool bBorder)
{
    m_bBorder = bBorder;
    m_width = -1;
}

HFONT CPageCanvas::FontFor(const CPageItem* item) const
{
    if (item == nullptr || item->kind == PageItemKind::Heading)
        return m_headingFont.Get();
    return item->kind == PageItemKind::Link ? m_linkFont.Get() : m_textFont.Get();
}

void CPageCanvas::PlaceBlock(HDC hDC, const CPageItem* item, const std::wstring& text, int& y)
{
    const int inset = kMargin + (m_bBorder ? kBorder : 0);
    RECT rect{inset, y, std::max(inset + 1, m_width - inset), y};
    Veneer::CScopedSelect font(hDC, FontFor(item));
    DrawTextW(hDC, text.c_str(), static_cast<int>(text.size()), &rect, kBlockFormat | DT_CALCRECT);
    rect.right = std::max(rect.right, static_cast<LONG>(m_width - inset));
    m_boxes.push_back(CBox{rect, item, -1});
    y = rect.bottom + kGap;
}

// Pass 1: the title and the blocks, each across the width; pass 2 (inline
// in the same walk): actions side by side in rows that wrap at the right
// margin. A block after a row starts below the row's tallest action.
void CPageCanvas::Arrange(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    m_boxes.clear();
    if (!m_content)
        return;
    CScreenDC screen;
    const int inset = kMargin + (m_bBorder ? kBorder : 0);
    int y = inset;
    if (!m_content->title.empty())
        PlaceBlock(screen.Get(), nullptr, m_content->title, y);

    int x = inset;
    int rowBottom = -1;
    int action = 0;
    for (const CPageItem& item : m_content->items)
    {
        if (!item.IsAction())
        {
            if (rowBottom >= 0)
                y = rowBottom + kGap;
            rowBottom = -1;
            x = inset;
            PlaceBlock(screen.Get(), &item, item.text, y);
            continue;
        }
        Veneer::CScopedSelect font(screen.Get(), FontFor(&item));
        SIZE extent{};
        GetTextExtentPoint32W(screen.Get(), item.text.c_str(), static_cast<int>(item.text.size()), &extent);
        const bool button = item.kind == PageItemKind::Button;
        const int cx = extent.cx + (button ? 2 * kButtonPadX : 0);
        const int cy = std::max(static_cast<int>(extent.cy), kTextHeight) + (button ? 2 * kButtonPadY : 0);
        if (x > inset && x + cx > width - inset)
        {
            y = rowBottom + kGap;
            x = inset;
        }
        const RECT rect{x, y, x + cx, y + cy};
        m_boxes.push_back(CBox{rect, &item, action++});
        x += cx + kGap;
        rowBottom = std::max(rowBottom, static_cast<int>(rect.bottom));
    }
}

void CPageCanvas::Paint(HDC hDC, const RECT& bounds)
{
    Arrange(bounds.right - bounds.left);
    RECT page = bounds;
    FillRect(hDC, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (m_bBorder)
        DrawEdge(hDC, &page, EDGE_SUNKEN, BF_RECT);
    const int saved = SaveDC(hDC);
    IntersectClipRect(hDC, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SetBkMode(hDC, TRANSPARENT);
    const POINT offset{bounds.left, bounds.top};
    for (const CBox& box : m_boxes)
        PaintBox(hDC, box, offset);
    RestoreDC(hDC, saved);
}

void CPageCanvas::PaintBox(HDC hDC, const CBox& box, POINT offset) const
{
    RECT rect = box.rect;
    OffsetRect(&rect, offset.x, offset.y);
    const std::wstring& text = box.item != nullptr ? box.item->text : m_content->title;
    Veneer::CScopedSelect font(hDC, FontFor(box.item));
    if (box.action < 0)
    {
        SetTextColor(hDC, kTextColor);
        DrawTextW(hDC, text.c_str(), static_cast<int>(text.size()), &rect, kBlockFormat);
        return;
    }
    if (box.item->kind == PageItemKind::Button)
    {
        Veneer::CScopedGdiObject<HBRUSH> face(CreateSolidBrush(kButtonFace));
        Veneer::CScopedGdiObject<HBRUSH> frame(CreateSolidBrush(kButtonFrame));
        FillRect(hDC, &rect, face.Get());
        FrameRect(hDC, &rect, frame.Get());
    }
    SetTextColor(hDC, box.item->kind == PageItemKind::Link ? kLinkColor : kTextColor);
    DrawTextW(hDC, text.c_str(), static_cast<int>(text.size()), &rect, kActionFormat);
}

int CPageCanvas::ActionCount() const
{
    int count = 0;
    for (const CBox& box : m_boxes)
        count += box.action >= 0 ? 1 : 0;
    return count;
}

bool CPageCanvas::ActionRect(int index, RECT& rect) const
{
    for (const CBox& box : m_boxes)
    {
        if (box.action == index && index >= 0)
        {
            rect = box.rect;
            return true;
        }
    }
    return false;
}

int CPageCanvas::ActionAt(POINT pt) const
{
    for (const CBox& box : m_boxes)
    {
        if (box.action >= 0 && PtInRect(&box.rect, pt))
            return box.action;
    }
    return -1;
}

const CPageItem* CPageCanvas::Action(int index) const
{
    for (const CBox& box : m_boxes)
    {
        if (box.action == index && index >= 0)
            return box.item;
    }
    return nullptr;
}

} // namespace PageHost
