#pragma once

#include "veneer/control/ControlUI.h"
#include "veneer/manager/UiEvents.h"

#include <string>
#include <vector>

namespace Veneer
{

// One event as a probe control received it.
struct ProbeEvent
{
    std::wstring control; // the receiving control's name
    int type;
    TEventUI event;
};

// A plain control that records the events reaching its DoEvent, with
// settable control flags and class name, and counters for layout and
// painting calls.
class CProbeControl : public CControlUI
{
  public:
    CProbeControl(LPCWSTR pstrName, std::vector<ProbeEvent>* pLog = nullptr, UINT uFlags = 0);

    LPCWSTR GetClass() const override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    void SetPos(RECT rc) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    void SetClass(LPCWSTR pstrClass);
    void SetControlFlags(UINT uFlags);

    int m_nSetPos = 0;
    int m_nPaint = 0;
    int m_nActivate = 0;
    bool m_bPassOn = true;               // hand events on to the base DoEvent
    bool m_bUpdateAgainOnSetPos = false; // ask for another layout from SetPos

  private:
    std::vector<ProbeEvent>* m_pLog;
    UINT m_uFlags;
    std::wstring m_sClass = L"ProbeUI";
};

// Records notifications as they reach a listener.
class CNotifyLog : public INotifyUI
{
  public:
    void Notify(TNotifyUI& msg) override;

    // The types received, in order, as "type:sender-name" ("type:-" without
    // a sender).
    std::vector<std::wstring> m_entries;
    std::vector<TNotifyUI> m_messages;
};

} // namespace Veneer
