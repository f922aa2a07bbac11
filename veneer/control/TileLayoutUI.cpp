#include "veneer/control/TileLayoutUI.h"

#include "veneer/control/AttributeParse.h"
#include "veneer/control/ControlWatch.h"
#include "veneer/control/LayoutMetrics.h"

#include <algorithm>

namespace Veneer
{

namespace
{

// The height offered to a child whose row height is still being measured.
const int kUnboundedHeight = 9999;

const TAttributeHandler<CTileLayoutUI> kTileAttributes[] = {
    {L"itemsize", [](CTileLayoutUI& c, LPCWSTR v) { c.SetItemSize(ParseAttributeSize(v)); }},
    {L"columns", [](CTileLayoutUI& c, LPCWSTR v) { c.SetColumns(ParseAttributeInt(v)); }},
};

} // namespace

CTileLayoutUI::CTileLayoutUI() : m_szItem{}, m_nColumns(1) {}

LPCWSTR CTileLayoutUI::GetClass() const
{
    return L"TileLayoutUI";
}

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName)
{
    return IsNamed(pstrName, L"TileLayout") ? this : CContainerUI::GetInterface(pstrName);
}

void CTileLayoutUI::SetPos(RECT rc)
{
    // The tiles lie inside the inset, beside the visible scroll bars.
    CControlWatch self(this);
    RECT rcClient{};
    if (!BeginLayout(rc, self, AreaClient, rcClient))
        return;

    // Step 1: the columns, as wide as the client area (and what a visible
    // horizontal bar scrolls) allows.
    const int cxClient = rcClient.right - rcClient.left;
    const SIZE szScroll = GetScrollPos();
    TileCursor cursor{};
    cursor.nColumns = ColumnsFor(cxClient);
    cursor.cxColumn = (cxClient + GetScrollRange().cx) / cursor.nColumns;

    // Step 2: the first tile at the client corner moved back by the scroll
    // positions.
    cursor.xRow = rcClient.left - szScroll.cx;
    cursor.x = cursor.xRow;
    cursor.y = rcClient.top - szScroll.cy;

    // Step 3: each child in order, a row's height measured as it starts.
    int cyNeeded = 0;
    const bool bAlive = PlaceEachChild(self, [&](int i, CControlUI* pChild) {
        if (cursor.nPlaced % cursor.nColumns == 0)
            cursor.cyRow = MeasureRowHeight(i, cursor);
        const RECT rcTile = TileRect(pChild, cursor);
        const int cyAvailable = cursor.cyRow - pChild->GetPadding().top;
        cyNeeded = rcTile.bottom - rcClient.top + szScroll.cy;
        AdvanceCursor(cursor);
        PlaceInTile(pChild, rcTile, cyAvailable);
    });

    // Step 4: the scroll bars, for the height of all rows.
    if (bAlive)
        ProcessScrollBar(rcClient, 0, cyNeeded);
}

// The configured count, unless the item width says how many fit; at least
// one either way.
int CTileLayoutUI::ColumnsFor(int cxClient) const
{
    const int nColumns = m_szItem.cx > 0 ? cxClient / m_szItem.cx : m_nColumns;
    return std::max(1, nColumns);
}

// The height of the row that starts with the child at `iFirst`: the largest
// padded height that its children estimate for themselves at the width of
// their column, within the limits of the row's first child.
int CTileLayoutUI::MeasureRowHeight(int iFirst, const TileCursor& cursor)
{
    const CControlUI* pFirst = GetItemAt(iFirst);
    const int iChildPadding = GetChildPadding();
    int cyRow = 0;
    int iColumn = 0;
    for (int i = iFirst; i < GetCount() && iColumn < cursor.nColumns; i++)
    {
        CControlUI* pChild = GetItemAt(i);
        if (!pChild->IsVisible() || pChild->IsFloat())
            continue;
        const RECT rcPadding = pChild->GetPadding();
        // The outer columns give up half a gap, the inner ones a whole gap.
        const bool bOuterColumn = iColumn == 0 || iColumn == cursor.nColumns - 1;
        int cx = cursor.cxColumn - rcPadding.left - rcPadding.right;
        cx -= bOuterColumn ? iChildPadding / 2 : iChildPadding;
        cx = ClampWidth(pFirst, cx);
        const SIZE szEstimate = pChild->EstimateSize(SIZE{cx, kUnboundedHeight});
        const int cy = ClampHeight(pFirst, szEstimate.cy);
        cyRow = std::max<int>(cyRow, cy + rcPadding.top + rcPadding.bottom);
        iColumn++;
    }
    return cyRow;
}

// The tile of the child at the cursor: its column less the child's padding
// and half a gap on each side that faces another column.
RECT CTileLayoutUI::TileRect(CControlUI* pChild, const TileCursor& cursor) const
{
    const RECT rcPadding = pChild->GetPadding();
    const int iHalfGap = GetChildPadding() / 2;
    const int iColumn = cursor.nPlaced % cursor.nColumns;
    RECT rcTile{};
    rcTile.left = cursor.x + rcPadding.left + (iColumn > 0 ? iHalfGap : 0);
    rcTile.right =
        cursor.x + cursor.cxColumn - rcPadding.right - (iColumn < cursor.nColumns - 1 ? iHalfGap : 0);
    rcTile.top = cursor.y + rcPadding.top;
    rcTile.bottom = cursor.y + cursor.cyRow;
    return rcTile;
}

// Centres the child in its tile at the size it estimates for the tile; a
// dimension it leaves open fills the tile.
void CTileLayoutUI::PlaceInTile(CControlUI* pChild, const RECT& rcTile, int cyAvailable)
{
    const SIZE sz = EstimateInArea(pChild, SIZE{rcTile.right - rcTile.left, cyAvailable});
    RECT rcChild{};
    rcChild.left = (rcTile.left + rcTile.right - sz.cx) / 2;
    rcChild.top = (rcTile.top + rcTile.bottom - sz.cy) / 2;
    rcChild.right = rcChild.left + sz.cx;
    rcChild.bottom = rcChild.top + sz.cy;
    pChild->SetPos(rcChild);
}

// The next column, or the start of the next row after a gap.
void CTileLayoutUI::AdvanceCursor(TileCursor& cursor) const
{
    cursor.nPlaced++;
    if (cursor.nPlaced % cursor.nColumns != 0)
    {
        cursor.x += cursor.cxColumn;
        return;
    }
    cursor.x = cursor.xRow;
    cursor.y += cursor.cyRow + GetChildPadding();
    cursor.cyRow = 0;
}

void CTileLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (!ApplyAttribute(kTileAttributes, *this, pstrName, pstrValue))
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

SIZE CTileLayoutUI::GetItemSize() const
{
    return m_szItem;
}

void CTileLayoutUI::SetItemSize(SIZE szItem)
{
    SetAndRelayout(m_szItem, szItem, LayoutSelf);
}

int CTileLayoutUI::GetColumns() const
{
    return m_nColumns;
}

void CTileLayoutUI::SetColumns(int nCols)
{
    if (nCols <= 0)
        return;
    m_nColumns = nCols;
    NeedUpdate();
}

} // namespace Veneer
