#include "veneer/control/HorizontalLayoutUI.h"

namespace Veneer
{

CHorizontalLayoutUI::CHorizontalLayoutUI() : CFlowLayoutUI(false) {}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    SetSepSize(iWidth);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return GetSepSize();
}

} // namespace Veneer
