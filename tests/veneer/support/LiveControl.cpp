#include "LiveControl.h"

namespace Veneer
{

CLiveControl::CLiveControl(LiveCount* pCount) : m_pCount(pCount)
{
    m_pCount->nLive++;
}

CLiveControl::~CLiveControl()
{
    m_pCount->nLive--;
    m_pCount->nDestroyed++;
}

CLiveContainer::CLiveContainer(LiveCount* pCount) : m_pCount(pCount)
{
    m_pCount->nLive++;
}

CLiveContainer::~CLiveContainer()
{
    m_pCount->nLive--;
    m_pCount->nDestroyed++;
}

} // namespace Veneer
