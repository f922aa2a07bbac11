#pragma once

#include "veneer/control/FlowLayoutUI.h"
#include "veneer/core/VeneerDefs.h"

namespace Veneer
{

// Stacks its children top to bottom. The separator (`sepheight`) gives the
// layout a drag band at its bottom edge (positive) or top edge (negative)
// with which the user changes its fixed height.
class VENEER_API CVerticalLayoutUI : public CFlowLayoutUI
{
  public:
    CVerticalLayoutUI();

    void SetSepHeight(int iHeight);
    int GetSepHeight() const;
};

} // namespace Veneer
