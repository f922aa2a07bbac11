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
