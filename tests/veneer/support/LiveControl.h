#pragma once

#include "veneer/control/ContainerUI.h"
#include "veneer/control/ControlUI.h"

namespace Veneer
{

// Controls that count how many of them are alive and how often one was
// destroyed, so that tests see leaks and double deletions.
struct LiveCount
{
    int nLive = 0;
    int nDestroyed = 0;
};

class CLiveControl : public CControlUI
{
  public:
    explicit CLiveControl(LiveCount* pCount);
    ~CLiveControl() override;

  private:
    LiveCount* m_pCount;
};

class CLiveContainer : public CContainerUI
{
  public:
    explicit CLiveContainer(LiveCount* pCount);
    ~CLiveContainer() override;

  private:
    LiveCount* m_pCount;
};

} // namespace Veneer
