#pragma once

#include "veneer/control/ContainerUI.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// Arranges its children in rows of equal columns, each child centred in its
// tile. The column count comes from the item width when that is set (as
// many columns as fit), else from `SetColumns`; every row is as high as its
// highest child.
class VENEER_API CTileLayoutUI : public CContainerUI
{
  public:
    CTileLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    SIZE GetItemSize() const;
    void SetItemSize(SIZE szItem);
    int GetColumns() const;
    void SetColumns(int nCols);

  private:
    // Where the walk through the tiles stands.
    struct TileCursor
    {
        int nColumns;
        int cxColumn;
        int xRow; // left edge of the rows
        int x;
        int y;
        int cyRow;
        int nPlaced; // children placed in tiles so far
    };

    int ColumnsFor(int cxClient) const;
    int MeasureRowHeight(int iFirst, const TileCursor& cursor);
    RECT TileRect(CControlUI* pChild, const TileCursor& cursor) const;
    void PlaceInTile(CControlUI* pChild, const RECT& rcTile, int cyAvailable);
    void AdvanceCursor(TileCursor& cursor) const;

    SIZE m_szItem;
    int m_nColumns;
};

} // namespace Veneer
