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

CControlUI* MakeChild(const ChildShape& shape, bool bVertical)
{
    CControlUI* pChild = new CControlUI();
    if (bVertical)
    {
        pChild->SetFixedHeight(shape.nMain);
        pChild->SetFixedWidth(shape.nCross);
        pChild->SetMinHeight(shape.nMinMain);
        pChild->SetMaxHeight(shape.nMaxMain);
        pChild->SetPadding(shape.rcPadding);
    }
    else
    {
        pChild->SetFixedWidth(shape.nMain);
        pChild->SetFixedHeight(shape.nCross);
        pChild->SetMinWidth(shape.nMinMain);
        pChild->SetMaxWidth(shape.nMaxMain);
        pChild->SetPadding(Transposed(shape.rcPadding));
    }
    if (shape.bHidden)
        pChild->SetVisible(false);
    if (shape.bFloat)
    {
        const RECT rc = bVertical ? shape.rcFloat : Transposed(shape.rcFloat);
        pChild->SetFloat(true);
        pChild->SetFixedXY(SIZE{rc.left, rc.top});
        pChild->SetFixedWidth(rc.right - rc.left);
        pChild->SetFixedHeight(rc.bottom - rc.top);
    }
    return pChild;
}

} // namespace Veneer
