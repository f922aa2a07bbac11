#pragma once

#include "veneer/control/ContainerUI.h"

#include <functional>

namespace Veneer
{

// A minimal flow for the scroll bar tests: non-floating children are
// stacked top to bottom at their fixed heights, across the inner width
// left by a shown vertical bar, shifted by the scroll position; the bar is
// then handed the content's height. A test may answer a different required
// height to provoke layouts that flip the need for the bar.
class CStackContainer : public CContainerUI
{
  public:
    void SetPos(RECT rc) override;

    std::function<int(int cyContent, bool bBarShown)> m_fnRequired;
    int m_nLayouts = 0;
    int m_nDepth = 0;
    int m_nMaxDepth = 0;
};

} // namespace Veneer
