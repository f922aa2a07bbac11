#include "LayoutTestSupport.h"

namespace Veneer
{

std::string RectText(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

RECT Transposed(const RECT& rc)
{
    return RECT{rc.top, rc.left, rc.bottom, rc.right};
}

CControlUI* MakeChild(const ChildSpec& spec, bool bVertical)
{
    CControlUI* pChild = new CControlUI();
    if (bVertical)
    {
        pChild->SetFixedHeight(spec.nMain);
        pChild->SetFixedWidth(spec.nCross);
        pChild->SetMinHeight(spec.nMinMain);
        pChild->SetMaxHeight(spec.nMaxMain);
        pChild->SetPadding(spec.rcPadding);
    }
    else
    {
        pChild->SetFixedWidth(spec.nMain);
        pChild->SetFixedHeight(spec.nCross);
        pChild->SetMinWidth(spec.nMinMain);
        pChild->SetMaxWidth(spec.nMaxMain);
        pChild->SetPadding(Transposed(spec.rcPadding));
    }
    if (spec.bHidden)
        pChild->SetVisible(false);
    if (spec.bFloat)
    {
        const RECT rc = bVertical ? spec.rcFloat : Transposed(spec.rcFloat);
        pChild->SetFloat(true);
        pChild->SetFixedXY(SIZE{rc.left, rc.top});
        pChild->SetFixedWidth(rc.right - rc.left);
        pChild->SetFixedHeight(rc.bottom - rc.top);
    }
    return pChild;
}

} // namespace Veneer
