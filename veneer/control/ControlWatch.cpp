#include "veneer/control/ControlWatch.h"

namespace Veneer
{

CStdPtrArray CControlWatch::m_aWatches;

CControlWatch::CControlWatch(CControlUI* pControl) : m_pControl(pControl)
{
    m_aWatches.Add(this);
}

CControlWatch::~CControlWatch()
{
    // Watches nest, so the newest one is normally the last entry.
    for (int i = m_aWatches.GetSize() - 1; i >= 0; i--)
    {
        if (m_aWatches[i] == this)
        {
            m_aWatches.Remove(i);
            return;
        }
    }
}

CControlUI* CControlWatch::Get() const
{
    return m_pControl;
}

void CControlWatch::Forget(CControlUI* pControl)
{
    for (int i = 0; i < m_aWatches.GetSize(); i++)
    {
        CControlWatch* pWatch = static_cast<CControlWatch*>(m_aWatches[i]);
        if (pWatch->m_pControl == pControl)
            pWatch->m_pControl = nullptr;
    }
}

} // namespace Veneer
