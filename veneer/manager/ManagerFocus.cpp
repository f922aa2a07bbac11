// Keyboard focus, tab order and mouse capture.
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"
#include "veneer/control/ControlWatch.h"

namespace Veneer
{

namespace
{

const UINT kTabSearchFlags = FindVisible | FindEnabled | FindMeFirst;

TabSearch MakeTabSearch(CControlUI* pFocus, bool bForward)
{
    TabSearch search{};
    search.pFocus = pFocus;
    search.pLast = nullptr;
    search.bForward = bForward;
    search.bNextIsIt = false;
    return search;
}

} // namespace

CControlUI* CPaintManagerUI::GetFocus() const
{
    return m_pFocus;
}

// The focus control loses the focus to pNewFocus (which may be null).
void CPaintManagerUI::SendKillFocus(CControlUI* pNewFocus)
{
    CControlWatch oldFocus(m_pFocus);
    TEventUI event = NewEvent(EventKillFocus, pNewFocus);
    m_pFocus->Event(event);
    if (oldFocus.Get() != nullptr)
        SendNotify(oldFocus.Get(), L"killfocus");
    m_pFocus = nullptr;
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    // Step 1: the window takes the native focus for its controls.
    if (m_hWndPaint != nullptr && ::GetFocus() != m_hWndPaint && pControl != m_pFocus)
        ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus)
        return;
    // Step 2: the old focus is told first; its handlers may delete the new one.
    CControlWatch newFocus(pControl);
    if (m_pFocus != nullptr)
        SendKillFocus(pControl);
    // Step 3: only a visible, enabled control of this window takes the focus.
    pControl = newFocus.Get();
    if (pControl == nullptr || pControl->GetManager() != this || !pControl->IsVisible() ||
        !pControl->IsEnabled())
        return;
    m_pFocus = pControl;
    TEventUI event = NewEvent(EventSetFocus, pControl);
    pControl->Event(event);
    if (newFocus.Get() != nullptr)
        SendNotify(newFocus.Get(), L"setfocus");
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint != nullptr)
        ::SetFocus(m_hWndPaint);
    if (pControl == nullptr)
        return;
    if (m_pFocus != nullptr)
        SendKillFocus(pControl);
    // The focus rests, silently, on the tab stop before the control, so that
    // the next paint's forward tab move lands on the control with events.
    TabSearch search = MakeTabSearch(pControl, false);
    m_pFocus =
        m_pRoot != nullptr ? m_pRoot->FindControl(__FindControlFromTab, &search, kTabSearchFlags) : nullptr;
    m_bFocusNeeded = true;
    if (m_pRoot != nullptr)
        m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    // Step 1: tab stops are only known after a pending layout.
    if (m_bUpdateNeeded && bForward)
    {
        m_bFocusNeeded = true;
        if (m_hWndPaint != nullptr)
            ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return true;
    }
    if (m_pRoot == nullptr)
    {
        m_bFocusNeeded = false;
        return true;
    }
    // Step 2: the tab stop after (or before) the focus.
    TabSearch search = MakeTabSearch(m_pFocus, bForward);
    CControlUI* pControl = m_pRoot->FindControl(__FindControlFromTab, &search, kTabSearchFlags);
    // Step 3: past either end the order wraps round.
    if (pControl == nullptr)
    {
        if (bForward)
        {
            TabSearch first = MakeTabSearch(nullptr, true);
            pControl = m_pRoot->FindControl(__FindControlFromTab, &first, kTabSearchFlags);
        }
        else
        {
            pControl = search.pLast;
        }
    }
    if (pControl != nullptr)
        SetFocus(pControl);
    m_bFocusNeeded = false;
    return true;
}

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::IsCaptured() const
{
    return m_bMouseCapture;
}

} // namespace Veneer
