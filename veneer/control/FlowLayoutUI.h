#pragma once

#include "veneer/control/ContainerUI.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// The vertical and the horizontal layout, written once along a "main" axis
// (the direction of the flow: down for the vertical layout, right for the
// horizontal one) and a "cross" axis: the flow that stacks the children,
// the drag band at one of the layout's own edges with which the user
// resizes the layout along the main axis, and the names by which code and
// skins tell the two apart.
//
// Children whose estimate along the main axis is 0 are adjustable: they
// share what the others leave, the last of them taking the remainder.
class VENEER_API CFlowLayoutUI : public CContainerUI
{
  public:
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const;
    // The drag band: at the new position while a drag is in progress and
    // `bUseNew` asks for it, else at the item rect.
    RECT GetThumbRect(bool bUseNew = false) const;
    // The separator size: positive puts the band at the bottom (right)
    // edge, negative at the top (left) edge, 0 means no band.
    void SetSepSize(int iSize);
    int GetSepSize() const;

    // State bit of a drag in progress.
    static const UINT StateDragging = 0x40;
    // The band's colour while a drag is painted after the tree.
    static const DWORD DragBandColor = 0xAA000000;

  protected:
    explicit CFlowLayoutUI(bool bVertical);

  private:
    // What the measuring pass learns about the children in the flow.
    struct FlowTotals
    {
        int nFixed;       // main extent of the fixed children, paddings and gaps
        int nAdjustables; // children that share what is left
        int nInFlow;      // visible children that are not floating
    };

    FlowTotals MeasureChildren(SIZE szAvailable);
    int PlaceChildren(const RECT& rcClient, SIZE szAvailable, const FlowTotals& totals,
                      const CControlWatch& self);

    bool IsDragging() const;
    bool HandleDragEvent(const TEventUI& event);
    void BeginDrag(POINT pt);
    void EndDrag();
    void DragTo(POINT pt);
    bool MoveDraggedEdge(RECT& rc, int nDelta, int nMouse) const;
    bool LimitDraggedSize(RECT& rc) const;
    void SetDraggedExtent(RECT& rc, int nExtent) const;
    int GapsBetween(int nChildren) const;

    // Axis accessors: the main and cross parts of sizes, rectangles,
    // points and size limits.
    int Main(SIZE sz) const;
    int Cross(SIZE sz) const;
    SIZE MakeSize(int nMain, int nCross) const;
    LONG& MainBegin(RECT& rc) const;
    LONG& MainEnd(RECT& rc) const;
    LONG& CrossBegin(RECT& rc) const;
    LONG& CrossEnd(RECT& rc) const;
    int MainExtent(const RECT& rc) const;
    int MainOf(POINT pt) const;
    int CrossOf(POINT pt) const;
    RECT MakeRect(int nMainBegin, int nCrossBegin, int nMainEnd, int nCrossEnd) const;
    int ClampMain(const CControlUI* pControl, int nSize) const;
    int ClampCross(const CControlUI* pControl, int nSize) const;
    int FixedCross(const CControlUI* pControl) const;

    const bool m_bVertical;
    int m_iSepSize;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
};

} // namespace Veneer
