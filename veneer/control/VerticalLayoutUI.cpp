#include "veneer/control/VerticalLayoutUI.h"

namespace Veneer
{

CVerticalLayoutUI::CVerticalLayoutUI() : CFlowLayoutUI(true) {}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    SetSepSize(iHeight);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return GetSepSize();
}

} // namespace Veneer
