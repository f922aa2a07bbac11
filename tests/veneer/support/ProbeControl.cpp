#include "ProbeControl.h"

namespace Veneer
{

CProbeControl::CProbeControl(LPCWSTR pstrName, std::vector<ProbeEvent>* pLog, UINT uFlags)
    : m_pLog(pLog), m_uFlags(uFlags)
{
    SetName(pstrName);
}

LPCWSTR CProbeControl::GetClass() const
{
    return m_sClass.c_str();
}

UINT CProbeControl::GetControlFlags() const
{
    return m_uFlags;
}

bool CProbeControl::Activate()
{
    m_nActivate++;
    return CControlUI::Activate();
}

void CProbeControl::DoEvent(TEventUI& event)
{
    if (m_pLog != nullptr)
        m_pLog->push_back(ProbeEvent{std::wstring(m_sName.GetData()), event.Type, event});
    if (m_bPassOn)
        CControlUI::DoEvent(event);
}

void CProbeControl::SetPos(RECT rc)
{
    m_nSetPos++;
    CControlUI::SetPos(rc);
    if (m_bUpdateAgainOnSetPos)
        NeedUpdate();
}

void CProbeControl::DoPaint(HDC hDC, const RECT& rcPaint)
{
    m_nPaint++;
    CControlUI::DoPaint(hDC, rcPaint);
}

void CProbeControl::SetClass(LPCWSTR pstrClass)
{
    m_sClass = pstrClass;
}

void CProbeControl::SetControlFlags(UINT uFlags)
{
    m_uFlags = uFlags;
}

void CNotifyLog::Notify(TNotifyUI& msg)
{
    std::wstring entry = msg.sType.GetData();
    entry += L":";
    entry += msg.pSender != nullptr ? msg.pSender->GetName().GetData() : L"-";
    m_entries.push_back(entry);
    m_messages.push_back(msg);
}

} // namespace Veneer
