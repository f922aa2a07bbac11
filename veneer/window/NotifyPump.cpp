#include "veneer/window/NotifyPump.h"

#include "veneer/control/ControlUI.h"

#include <cwchar>

namespace Veneer
{

namespace
{

// The entry of one map for the notification: one naming its sender wins at
// once; otherwise the last entry for any sender.
const UI_MSGMAP_ENTRY* FindEntry(const UI_MSGMAP_ENTRY* pEntry, const TNotifyUI& msg,
                                 const CUiString& sSender)
{
    const UI_MSGMAP_ENTRY* pAnySender = nullptr;
    for (; pEntry->nSig != UiSigEnd; pEntry++)
    {
        if (msg.sType != pEntry->sMsgType)
            continue;
        if (pEntry->sCtrlName[0] == L'\0')
            pAnySender = pEntry;
        else if (sSender == pEntry->sCtrlName)
            return pEntry;
    }
    return pAnySender;
}

} // namespace

const UI_MSGMAP CNotifyPump::messageMap = {nullptr, &CNotifyPump::_GetMessageEntries};

const UI_MSGMAP_ENTRY* CNotifyPump::_GetMessageEntries()
{
    static const UI_MSGMAP_ENTRY entries[] = {{nullptr, nullptr, UiSigEnd, nullptr}};
    return entries;
}

CNotifyPump::CNotifyPump() : m_VirtualWndMap(83) {}

const UI_MSGMAP* CNotifyPump::GetMessageMap() const
{
    return &CNotifyPump::messageMap;
}

bool CNotifyPump::AddVirtualWnd(LPCWSTR strName, CNotifyPump* pObject)
{
    if (strName == nullptr || pObject == nullptr || m_VirtualWndMap.Find(strName) != nullptr)
        return false;
    return m_VirtualWndMap.Insert(strName, pObject);
}

bool CNotifyPump::RemoveVirtualWnd(LPCWSTR strName)
{
    if (strName == nullptr || m_VirtualWndMap.Find(strName) == nullptr)
        return false;
    return m_VirtualWndMap.Remove(strName);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg)
{
    const CUiString sSender = msg.pSender != nullptr ? msg.pSender->GetName() : CUiString();
    for (const UI_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        const UI_MSGMAP_ENTRY* pEntry = FindEntry(pMap->pfnGetEntries(), msg, sSender);
        if (pEntry == nullptr)
            continue;
        if (pEntry->nSig != UiSigParams && pEntry->nSig != UiSigNotify)
            return false;
        pEntry->pfn(this, msg);
        return true;
    }
    return false;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg)
{
    if (!msg.sVirtualWnd.IsEmpty())
    {
        for (int i = 0; i < m_VirtualWndMap.GetSize(); i++)
        {
            const LPCWSTR pstrKey = m_VirtualWndMap.GetAt(i);
            if (pstrKey == nullptr || _wcsicmp(pstrKey, msg.sVirtualWnd.GetData()) != 0)
                continue;
            CNotifyPump* pObject = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(pstrKey, false));
            if (pObject != nullptr && pObject->LoopDispatch(msg))
                return;
        }
    }
    LoopDispatch(msg);
}

} // namespace Veneer
