// Control timers, multiplexed onto timers of the paint window.
#include "veneer/manager/PaintManagerUI.h"

#include <new>

namespace Veneer
{

namespace
{

// Window timer ids cycle through 0 ... 254.
const UINT kTimerIdCycle = 255;

} // namespace

bool CPaintManagerUI::IsTimerIdInUse(UINT uWinTimer) const
{
    for (int i = 0; i < m_aTimers.GetSize(); i++)
    {
        const TimerInfo* pTimer = static_cast<TimerInfo*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == uWinTimer)
            return true;
    }
    return false;
}

// Advances the id counter to the next id that no record of this window
// holds: two records on one window id would share one native timer, and
// the second would never fire. False when all ids are taken.
bool CPaintManagerUI::NextTimerId()
{
    for (UINT uAttempt = 0; uAttempt < kTimerIdCycle; uAttempt++)
    {
        m_uTimerID = (m_uTimerID + 1) % kTimerIdCycle;
        if (!IsTimerIdInUse(m_uTimerID))
            return true;
    }
    return false;
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    // Without a window a native timer would go to the thread's queue, under
    // an id of the system's choosing, and never reach the control.
    if (pControl == nullptr || m_hWndPaint == nullptr)
        return false;
    for (int i = 0; i < m_aTimers.GetSize(); i++)
    {
        TimerInfo* pTimer = static_cast<TimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint || pTimer->nLocalID != nTimerID)
            continue;
        // A killed timer is armed again under its old window id.
        if (!pTimer->bKilled || !ArmWindowTimer(pTimer->uWinTimer, uElapse))
            return false;
        pTimer->bKilled = false;
        return true;
    }
    if (!NextTimerId() || !ArmWindowTimer(m_uTimerID, uElapse))
        return false;
    TimerInfo* pTimer = new (std::nothrow) TimerInfo();
    if (pTimer == nullptr)
    {
        ::KillTimer(m_hWndPaint, m_uTimerID);
        return false;
    }
    pTimer->pSender = pControl;
    pTimer->nLocalID = nTimerID;
    pTimer->hWnd = m_hWndPaint;
    pTimer->uWinTimer = m_uTimerID;
    pTimer->bKilled = false;
    if (!m_aTimers.Add(pTimer))
    {
        ::KillTimer(m_hWndPaint, m_uTimerID);
        delete pTimer;
        return false;
    }
    return true;
}

// SetTimer answers the id for a window timer, so id 0 reads as failure;
// the last error tells the two apart.
bool CPaintManagerUI::ArmWindowTimer(UINT uWinTimer, UINT uElapse)
{
    ::SetLastError(ERROR_SUCCESS);
    return ::SetTimer(m_hWndPaint, uWinTimer, uElapse, nullptr) != 0 || ::GetLastError() == ERROR_SUCCESS;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++)
    {
        TimerInfo* pTimer = static_cast<TimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID &&
            !pTimer->bKilled)
        {
            if (::IsWindow(m_hWndPaint))
                ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            // The record stays so that the control can re-arm the timer.
            pTimer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; i--)
    {
        TimerInfo* pTimer = static_cast<TimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint)
            continue;
        if (!pTimer->bKilled)
            ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        delete pTimer;
        m_aTimers.Remove(i);
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); i++)
    {
        TimerInfo* pTimer = static_cast<TimerInfo*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && !pTimer->bKilled && ::IsWindow(m_hWndPaint))
            ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        delete pTimer;
    }
    m_aTimers.Empty();
}

} // namespace Veneer
