#pragma once

#include "veneer/control/OptionUI.h"

namespace Veneer
{

// An option under the names of a check box: checked is selected.
class VENEER_API CCheckBoxUI : public COptionUI
{
  public:
    LPCWSTR GetClass() const override;

    void SetCheck(bool bCheck);
    bool GetCheck() const;
};

} // namespace Veneer
