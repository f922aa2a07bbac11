// Notifications from controls to listeners, and the registries of
// listeners, message filters and accelerator translators.
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"
#include "veneer/control/ControlWatch.h"

#include <new>

namespace Veneer
{

namespace
{

bool RemoveFirst(CStdPtrArray& aItems, void* pItem)
{
    const int index = aItems.Find(pItem);
    return index >= 0 && aItems.Remove(index);
}

} // namespace

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Add(pNotifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier)
{
    return RemoveFirst(m_aNotifiers, pNotifier);
}

void CPaintManagerUI::UsedVirtualWnd(bool bUsed)
{
    m_bUsedVirtualWnd = bUsed;
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync)
{
    TNotifyUI Msg{};
    Msg.sType = pstrMessage;
    Msg.pSender = pControl;
    Msg.wParam = wParam;
    Msg.lParam = lParam;
    SendNotify(Msg, bAsync);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync)
{
    Msg.ptMouse = m_ptLastMousePos;
    Msg.dwTimestamp = ::GetTickCount();
    if (m_bUsedVirtualWnd && Msg.pSender != nullptr)
        Msg.sVirtualWnd = Msg.pSender->GetVirtualWnd();
    if (!bAsync)
    {
        DeliverNotify(Msg);
        return;
    }
    TNotifyUI* pQueued = new (std::nothrow) TNotifyUI(Msg);
    if (pQueued != nullptr && !m_aAsyncNotify.Add(pQueued))
        delete pQueued;
}

// First the sender's own observers, then every listener in order. A
// sender deleted on the way reaches the later listeners as null.
void CPaintManagerUI::DeliverNotify(TNotifyUI& Msg)
{
    CControlWatch sender(Msg.pSender);
    if (Msg.pSender != nullptr && Msg.pSender->notifySource)
        Msg.pSender->notifySource(&Msg);
    for (int i = 0; i < m_aNotifiers.GetSize(); i++)
    {
        if (sender.Get() == nullptr)
            Msg.pSender = nullptr;
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(Msg);
    }
}

// Delivers what was queued before the call. A listener that queues another
// notification while being told of one is served at the next message, so
// such a pair of listeners cannot keep this loop running.
void CPaintManagerUI::DrainAsyncNotify()
{
    for (int nQueued = m_aAsyncNotify.GetSize(); nQueued > 0 && !m_aAsyncNotify.IsEmpty(); nQueued--)
    {
        TNotifyUI* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*pMsg);
        delete pMsg;
    }
}

void CPaintManagerUI::DeleteAsyncNotify()
{
    for (int i = 0; i < m_aAsyncNotify.GetSize(); i++)
        delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
    m_aAsyncNotify.Empty();
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return m_aTranslateAccelerators.Add(pTranslateAccelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return RemoveFirst(m_aTranslateAccelerators, pTranslateAccelerator);
}

int CPaintManagerUI::GetPostPaintCount() const
{
    return m_aPostPaintControls.GetSize();
}

bool CPaintManagerUI::AddPostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Add(pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return RemoveFirst(m_aPostPaintControls, pControl);
}

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex)
{
    RemovePostPaint(pControl);
    return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

} // namespace Veneer
