#include "veneer/control/LayoutMetrics.h"

#include "veneer/control/ControlUI.h"

namespace Veneer
{

int ClampToLimits(int nSize, int nMin, int nMax)
{
    if (nSize < nMin)
        nSize = nMin;
    if (nSize > nMax)
        nSize = nMax;
    return nSize;
}

int ClampWidth(const CControlUI* pControl, int cx)
{
    return ClampToLimits(cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
}

int ClampHeight(const CControlUI* pControl, int cy)
{
    return ClampToLimits(cy, pControl->GetMinHeight(), pControl->GetMaxHeight());
}

SIZE EstimateInArea(CControlUI* pControl, SIZE szArea)
{
    SIZE sz = pControl->EstimateSize(szArea);
    if (sz.cx == 0)
        sz.cx = szArea.cx;
    if (sz.cy == 0)
        sz.cy = szArea.cy;
    sz.cx = ClampWidth(pControl, sz.cx);
    sz.cy = ClampHeight(pControl, sz.cy);
    return sz;
}

RECT CollapseInverted(RECT rc)
{
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

RECT ShrinkRect(RECT rc, const RECT& rcInset)
{
    rc.left += rcInset.left;
    rc.top += rcInset.top;
    rc.right -= rcInset.right;
    rc.bottom -= rcInset.bottom;
    return rc;
}

} // namespace Veneer
