// Deferred deletion of controls, and forgetting a control that is being
// destroyed.
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"

namespace Veneer
{

namespace
{

void ForgetIn(CStdPtrArray& aControls, CControlUI* pControl)
{
    for (int i = aControls.GetSize() - 1; i >= 0; i--)
    {
        if (aControls[i] == pControl)
            aControls.Remove(i);
    }
}

} // namespace

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    if (pControl == nullptr)
        return;
    pControl->SetManager(this, nullptr, false);
    // A control listed twice would be deleted twice.
    if (m_aDelayedCleanup.Find(pControl) < 0)
        m_aDelayedCleanup.Add(pControl);
    if (m_hWndPaint != nullptr)
        ::PostMessageW(m_hWndPaint, kMsgDelayedCleanup, 0, 0);
}

// One control at a time leaves the list before it is deleted: a control
// that its predecessor's destructor deletes (a child listed beside its
// container) is reaped from the list on the way and not deleted again.
void CPaintManagerUI::DeleteDelayedCleanup()
{
    while (!m_aDelayedCleanup.IsEmpty())
    {
        CControlUI* pControl = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
        m_aDelayedCleanup.Remove(0);
        delete pControl;
    }
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl)
{
    if (pControl == nullptr)
        return;
    if (pControl == m_pEventKey)
        m_pEventKey = nullptr;
    if (pControl == m_pEventHover)
        m_pEventHover = nullptr;
    if (pControl == m_pEventClick)
        m_pEventClick = nullptr;
    if (pControl == m_pFocus)
        m_pFocus = nullptr;
    KillTimer(pControl);
    const CUiString sName = pControl->GetName();
    if (!sName.IsEmpty() && m_mNameHash.Find(sName, false) == pControl)
        m_mNameHash.Remove(sName);
    for (int i = 0; i < m_aAsyncNotify.GetSize(); i++)
    {
        TNotifyUI* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
        if (pMsg->pSender == pControl)
            pMsg->pSender = nullptr;
    }
    // Lists that would otherwise call, delete or hand out the control later.
    ForgetIn(m_aPostPaintControls, pControl);
    ForgetIn(m_aDelayedCleanup, pControl);
    ForgetIn(m_aFoundControls, pControl);
    ForgetInOptionGroups(pControl);
}

void CPaintManagerUI::ForgetInOptionGroups(CControlUI* pControl)
{
    for (int i = m_mOptionGroup.GetSize() - 1; i >= 0; i--)
    {
        const CUiString sGroup = m_mOptionGroup.GetAt(i);
        CStdPtrArray* pGroup = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(sGroup, false));
        if (pGroup != nullptr && pGroup->Find(pControl) >= 0)
            RemoveOptionGroup(sGroup, pControl);
    }
}

} // namespace Veneer
