#pragma once

#include "veneer/control/FlowLayoutUI.h"
#include "veneer/core/VeneerDefs.h"

namespace Veneer
{

// Stacks its children left to right. The separator (`sepwidth`) gives the
// layout a drag band at its right edge (positive) or left edge (negative)
// with which the user changes its fixed width.
class VENEER_API CHorizontalLayoutUI : public CFlowLayoutUI
{
  public:
    CHorizontalLayoutUI();

    void SetSepWidth(int iWidth);
    int GetSepWidth() const;
};

} // namespace Veneer
