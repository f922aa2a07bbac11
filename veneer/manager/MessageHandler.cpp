// The window procedure's side of the manager: window messages become events
// for controls, queued messages are pre-translated for their manager.
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"
#include "veneer/control/ControlWatch.h"

#include <windowsx.h>

namespace Veneer
{

namespace
{

// Messages reflected back to the child control that sent them.
const UINT kReflectBase = 0x2000;
const DWORD kDefaultHoverTime = 400;
const int kToolInfoSize = TTTOOLINFOW_V2_SIZE;

bool IsDown(int nVirtKey)
{
    return ::GetKeyState(nVirtKey) < 0;
}

POINT PointOf(LPARAM lParam)
{
    POINT pt{};
    pt.x = GET_X_LPARAM(lParam);
    pt.y = GET_Y_LPARAM(lParam);
    return pt;
}

// A key event: the key code or character, where the mouse was last seen
// and the modifier keys.
TEventUI KeyEvent(int type, CControlUI* pSender, WPARAM wParam, POINT ptMouse)
{
    TEventUI event = CPaintManagerUI::NewEvent(type, pSender);
    event.chKey = static_cast<wchar_t>(LOWORD(wParam));
    event.ptMouse = ptMouse;
    event.wKeyState = CurrentKeyState();
    return event;
}

} // namespace

WORD CurrentKeyState()
{
    WORD wState = 0;
    if (IsDown(VK_CONTROL))
        wState |= KeyStateControl;
    if (IsDown(VK_SHIFT))
        wState |= KeyStateShift;
    if (IsDown(VK_MENU))
        wState |= KeyStateAlt;
    if (IsDown(VK_LBUTTON))
        wState |= KeyStateLButton;
    if (IsDown(VK_RBUTTON))
        wState |= KeyStateRButton;
    return wState;
}

TEventUI CPaintManagerUI::NewEvent(int type, CControlUI* pSender)
{
    TEventUI event{};
    event.Type = type;
    event.pSender = pSender;
    event.dwTimestamp = ::GetTickCount();
    return event;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_hWndPaint == nullptr)
        return false;
    // Step 1: notifications queued since the last message go out first.
    DrainAsyncNotify();
    // Step 2: a filter that handles the message ends everything, painting too.
    if (RunFilters(m_aMessageFilters, uMsg, wParam, lParam, lRes))
        return true;
    // Step 3: the message itself; some messages are answered at once.
    if (HandleWindowMessage(uMsg, wParam, lParam, lRes))
        return true;
    // Step 4: what the handling queued.
    DrainAsyncNotify();
    return false;
}

bool CPaintManagerUI::HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    switch (uMsg)
    {
    case WM_SIZE:
        HandleSize();
        return true;
    case WM_PAINT:
        HandlePaint();
        return true;
    case WM_CLOSE:
        HandleClose();
        return false;
    case WM_ERASEBKGND:
        lRes = 1;
        return true;
    case WM_SETCURSOR:
        return HandleSetCursor(wParam, lParam);
    case WM_GETMINMAXINFO:
        HandleGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return false;
    case WM_NOTIFY:
        return HandleNotify(wParam, lParam, lRes);
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return ReflectToChild(uMsg, wParam, lParam, lRes);
    case WM_CONTEXTMENU:
        HandleContextMenu(wParam, lParam);
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        HandleKey(uMsg, wParam);
        return false;
    case WM_TIMER:
        HandleTimer(wParam);
        return false;
    case WM_MOUSEMOVE:
        HandleMouseMove(lParam);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        HandleButtonDown(uMsg, wParam, lParam);
        return false;
    case WM_LBUTTONUP:
        HandleButtonUp(wParam, lParam);
        return false;
    case WM_MOUSEWHEEL:
        HandleMouseWheel(wParam, lParam);
        return false;
    case WM_MOUSEHOVER:
        return HandleMouseHover(lParam);
    case WM_MOUSELEAVE:
        HandleMouseLeave();
        return false;
    case WM_PRINTCLIENT:
        HandlePrintClient(reinterpret_cast<HDC>(wParam), lParam);
        return false;
    case kMsgDelayedCleanup:
        DeleteDelayedCleanup();
        return false;
    default:
        return false;
    }
}

bool CPaintManagerUI::RunFilters(const CStdPtrArray& aFilters, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                 LRESULT& lRes)
{
    for (int i = 0; i < aFilters.GetSize(); i++)
    {
        bool bHandled = false;
        const LRESULT lResult =
            static_cast<IMessageFilterUI*>(aFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled)
        {
            lRes = lResult;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::HandleSize()
{
    if (m_pFocus != nullptr)
    {
        TEventUI event = NewEvent(EventWindowSize, m_pFocus);
        m_pFocus->Event(event);
    }
    if (m_pRoot != nullptr)
        m_pRoot->NeedUpdate();
}

void CPaintManagerUI::HandleClose()
{
    // Controls that hold the mouse are told that it has gone, and let go
    // of: a window that survives its close must not hand the next release
    // or move to them again.
    TEventUI event = NewEvent(0, nullptr);
    event.ptMouse = m_ptLastMousePos;
    if (m_pEventHover != nullptr)
    {
        event.Type = EventMouseLeave;
        event.pSender = m_pEventHover;
        m_pEventHover->Event(event);
        m_pEventHover = nullptr;
    }
    if (m_bMouseCapture)
        ReleaseCapture();
    if (m_pEventClick != nullptr)
    {
        event.Type = EventButtonUp;
        event.pSender = m_pEventClick;
        m_pEventClick->Event(event);
        m_pEventClick = nullptr;
    }
    SetFocus(nullptr);
    HWND hWndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (hWndOwner != nullptr)
        ::SetFocus(hWndOwner);
}

bool CPaintManagerUI::HandleSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT)
        return false;
    if (m_bMouseCapture)
        return true;
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* pControl = FindControl(pt);
    if (pControl == nullptr || (pControl->GetControlFlags() & FlagSetCursor) == 0)
        return false;
    TEventUI event = NewEvent(EventSetCursor, nullptr);
    event.wParam = wParam;
    event.lParam = lParam;
    event.ptMouse = pt;
    event.wKeyState = CurrentKeyState();
    pControl->Event(event);
    return true;
}

void CPaintManagerUI::HandleGetMinMaxInfo(MINMAXINFO* pInfo) const
{
    if (pInfo == nullptr)
        return;
    if (m_szMinWindow.cx > 0)
        pInfo->ptMinTrackSize.x = m_szMinWindow.cx;
    if (m_szMinWindow.cy > 0)
        pInfo->ptMinTrackSize.y = m_szMinWindow.cy;
    if (m_szMaxWindow.cx > 0)
        pInfo->ptMaxTrackSize.x = m_szMaxWindow.cx;
    if (m_szMaxWindow.cy > 0)
        pInfo->ptMaxTrackSize.y = m_szMaxWindow.cy;
}

// Native child controls get their notifications back as reflected messages.
bool CPaintManagerUI::HandleNotify(WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    if (pHeader != nullptr)
        lRes = ::SendMessageW(pHeader->hwndFrom, kReflectBase + WM_NOTIFY, wParam, lParam);
    return true;
}

bool CPaintManagerUI::ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (lParam == 0)
        return false;
    lRes = ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + uMsg, wParam, lParam);
    return true;
}

void CPaintManagerUI::HandleContextMenu(WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    if (m_pEventClick == nullptr)
        return;
    ReleaseCapture();
    TEventUI event = NewEvent(EventContextMenu, m_pEventClick);
    event.ptMouse = pt;
    event.wKeyState = LOWORD(wParam);
    event.lParam = reinterpret_cast<LPARAM>(m_pEventClick);
    m_pEventClick->Event(event);
    m_pEventClick = nullptr;
}

void CPaintManagerUI::HandleKey(UINT uMsg, WPARAM wParam)
{
    // Key-down and characters go to the focus; key-up to whoever had the
    // key-down, even when the focus has moved since.
    CControlUI* pTarget = uMsg == WM_KEYUP ? m_pEventKey : m_pFocus;
    if (pTarget == nullptr)
        return;
    const int type = uMsg == WM_KEYDOWN ? EventKeyDown : (uMsg == WM_KEYUP ? EventKeyUp : EventChar);
    TEventUI event = KeyEvent(type, pTarget, wParam, m_ptLastMousePos);
    CControlWatch target(pTarget);
    pTarget->Event(event);
    if (uMsg == WM_KEYDOWN)
        m_pEventKey = target.Get();
    else if (uMsg == WM_KEYUP)
        m_pEventKey = nullptr;
}

void CPaintManagerUI::HandleTimer(WPARAM wParam)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++)
    {
        const TimerInfo* pTimer = static_cast<TimerInfo*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == LOWORD(wParam) && !pTimer->bKilled)
        {
            TEventUI event = NewEvent(EventTimer, pTimer->pSender);
            event.wParam = pTimer->nLocalID;
            pTimer->pSender->Event(event);
            return;
        }
    }
}

// The control under a point, unless it belongs to another manager: then
// the mouse message is not this manager's to handle.
CControlUI* CPaintManagerUI::FindOwnControl(POINT pt) const
{
    CControlUI* pControl = FindControl(pt);
    return pControl != nullptr && pControl->GetManager() == this ? pControl : nullptr;
}

void CPaintManagerUI::TrackMouse()
{
    if (m_bMouseTracking)
        return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = m_hWndPaint;
    tme.dwHoverTime =
        m_hwndTooltip == nullptr
            ? kDefaultHoverTime
            : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    ::_TrackMouseEvent(&tme);
    m_bMouseTracking = true;
}

void CPaintManagerUI::HandleMouseMove(LPARAM lParam)
{
    // Step 1: arm hover and leave tracking once per stay of the mouse.
    TrackMouse();
    // Step 2: the control under the mouse becomes the new hover.
    const POINT pt = PointOf(lParam);
    m_ptLastMousePos = pt;
    CControlUI* pNewHover = FindControl(pt);
    if (pNewHover != nullptr && pNewHover->GetManager() != this)
        return;
    // Any handler below may delete the new hover control.
    CControlWatch newHover(pNewHover);
    TEventUI event = NewEvent(0, nullptr);
    event.ptMouse = pt;
    // Step 3: the old hover is left.
    if (pNewHover != m_pEventHover && m_pEventHover != nullptr)
    {
        event.Type = EventMouseLeave;
        event.pSender = m_pEventHover;
        m_pEventHover->Event(event);
        m_pEventHover = nullptr;
        if (m_hwndTooltip != nullptr)
            ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    // Step 4: the new one is entered.
    pNewHover = newHover.Get();
    if (pNewHover != m_pEventHover && pNewHover != nullptr)
    {
        event.Type = EventMouseEnter;
        event.pSender = pNewHover;
        pNewHover->Event(event);
        m_pEventHover = newHover.Get();
    }
    // Step 5: a held button keeps the moves on the control that took it.
    CControlUI* pMoveTarget = m_pEventClick != nullptr ? m_pEventClick : newHover.Get();
    if (pMoveTarget != nullptr)
    {
        event.Type = EventMouseMove;
        event.pSender = pMoveTarget;
        pMoveTarget->Event(event);
    }
}

void CPaintManagerUI::HandleButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ::SetFocus(m_hWndPaint);
    const POINT pt = PointOf(lParam);
    m_ptLastMousePos = pt;
    CControlWatch control(FindOwnControl(pt));
    if (control.Get() == nullptr)
        return;
    TEventUI event = NewEvent(0, control.Get());
    event.ptMouse = pt;
    event.wKeyState = LOWORD(wParam);
    if (uMsg == WM_LBUTTONDBLCLK)
    {
        // A double click carries no message parameters.
        SetCapture();
        event.Type = EventDblClick;
        control.Get()->Event(event);
        m_pEventClick = control.Get();
        return;
    }
    if (uMsg == WM_LBUTTONDOWN)
        m_pEventClick = control.Get();
    // Focus handlers may delete the control that was clicked.
    control.Get()->SetFocus();
    if (control.Get() == nullptr)
        return;
    SetCapture();
    event.Type = uMsg == WM_LBUTTONDOWN ? EventButtonDown : EventRButtonDown;
    event.wParam = wParam;
    event.lParam = lParam;
    control.Get()->Event(event);
    if (uMsg == WM_RBUTTONDOWN)
        m_pEventClick = control.Get();
}

void CPaintManagerUI::HandleButtonUp(WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    m_ptLastMousePos = pt;
    // The press took the mouse; the release gives it back even when the
    // pressed control was deleted in the meantime.
    if (m_bMouseCapture)
        ReleaseCapture();
    if (m_pEventClick == nullptr)
        return;
    TEventUI event = NewEvent(EventButtonUp, m_pEventClick);
    event.ptMouse = pt;
    event.wParam = wParam;
    event.lParam = lParam;
    event.wKeyState = LOWORD(wParam);
    m_pEventClick->Event(event);
    m_pEventClick = nullptr;
}

void CPaintManagerUI::HandleMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    CControlUI* pControl = FindOwnControl(pt);
    if (pControl == nullptr)
        return;
    // Only the direction is passed on: 1 towards the user, 0 away.
    const int zDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    TEventUI event = NewEvent(EventScrollWheel, pControl);
    event.wParam = zDelta < 0 ? 1 : 0;
    event.lParam = lParam;
    event.wKeyState = CurrentKeyState();
    pControl->Event(event);
    // The content has scrolled under the mouse: hover follows it.
    ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
}

bool CPaintManagerUI::HandleMouseHover(LPARAM lParam)
{
    // The next move arms the tracking again.
    m_bMouseTracking = false;
    const POINT pt = PointOf(lParam);
    CControlWatch control(FindControl(pt));
    if (control.Get() == nullptr)
        return false;
    if (m_pEventHover != nullptr)
    {
        TEventUI event = NewEvent(EventMouseHover, m_pEventHover);
        event.ptMouse = pt;
        m_pEventHover->Event(event);
    }
    if (control.Get() == nullptr)
        return true;
    const CUiString sToolTip = control.Get()->GetToolTip();
    if (!sToolTip.IsEmpty())
        ShowToolTip(control.Get(), sToolTip);
    return true;
}

void CPaintManagerUI::ShowToolTip(CControlUI* pControl, const CUiString& sToolTip)
{
    m_ToolTip = TOOLINFOW{};
    m_ToolTip.cbSize = kToolInfoSize;
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = CResourceSettings::GetInstance();
    m_ToolTip.lpszText = const_cast<LPWSTR>(sToolTip.GetData());
    m_ToolTip.rect = pControl->GetPos();
    if (m_hwndTooltip == nullptr)
    {
        m_hwndTooltip =
            ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                              nullptr, CResourceSettings::GetInstance(), nullptr);
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, pControl->GetToolTipWidth());
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
    // The tooltip keeps its own copy of the text; the record keeps no
    // pointer to the caller's string.
    m_ToolTip.lpszText = nullptr;
}

void CPaintManagerUI::HandleMouseLeave()
{
    if (m_hwndTooltip != nullptr)
        ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    // A move to (-1, -1) finds no control, so the hover control is left.
    // A hover message ends the tracking flag but not the system's leave
    // tracking: a pointer that rested on a control and then left the
    // window at once would otherwise leave that control hovered.
    if (m_bMouseTracking || m_pEventHover != nullptr)
        ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    m_bMouseTracking = false;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (RunFilters(m_aPreMessageFilters, uMsg, wParam, lParam, lRes))
        return true;
    switch (uMsg)
    {
    case WM_SYSKEYDOWN:
        if (m_pFocus != nullptr)
        {
            TEventUI event = KeyEvent(EventSysKey, nullptr, wParam, m_ptLastMousePos);
            m_pFocus->Event(event);
        }
        return false;
    case WM_SYSCHAR:
        return HandleShortcut(static_cast<wchar_t>(wParam));
    default:
        return false;
    }
}

bool CPaintManagerUI::TranslateMessage(const LPMSG pMsg)
{
    // A child window's messages belong to the manager of the nearest
    // ancestor that it paints; a top-level window's to its own manager.
    const LONG_PTR dwStyle = ::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE);
    const bool bChild = (dwStyle & WS_CHILD) != 0;
    for (int i = 0; i < m_aPreMessages.GetSize(); i++)
    {
        CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (!pManager->OwnsMessageWindow(pMsg->hwnd, bChild))
            continue;
        if (pManager->TranslateAcceleratorW(pMsg))
            return true;
        LRESULT lRes = 0;
        return pManager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
    }
    return false;
}

bool CPaintManagerUI::OwnsMessageWindow(HWND hWnd, bool bChild) const
{
    if (!bChild)
        return hWnd == m_hWndPaint;
    for (HWND hParent = ::GetParent(hWnd); hParent != nullptr; hParent = ::GetParent(hParent))
    {
        if (hWnd == m_hWndPaint || hParent == m_hWndPaint)
            return true;
    }
    return false;
}

void CPaintManagerUI::MessageLoop()
{
    // GetMessageW answers -1 on failure; that ends the loop as well.
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (!CPaintManagerUI::TranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool CPaintManagerUI::TranslateAcceleratorW(MSG* pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerators.GetSize(); i++)
    {
        ITranslateAccelerator* pTranslator = static_cast<ITranslateAccelerator*>(m_aTranslateAccelerators[i]);
        if (pTranslator->TranslateAccelerator(pMsg) == S_OK)
            return true;
    }
    return false;
}

void CPaintManagerUI::HandlePrintClient(HDC hDC, LPARAM lParam)
{
    RECT rcClient{};
    ::GetClientRect(m_hWndPaint, &rcClient);
    const int nSaved = ::SaveDC(hDC);
    if (m_pRoot != nullptr)
        m_pRoot->DoPaint(hDC, rcClient);
    // Child windows print themselves at their place in the client area.
    if ((lParam & PRF_CHILDREN) != 0)
    {
        for (HWND hChild = ::GetWindow(m_hWndPaint, GW_CHILD); hChild != nullptr;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        {
            RECT rcPos{};
            ::GetWindowRect(hChild, &rcPos);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
            ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, nullptr);
            ::SendMessageW(hChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(hDC, nSaved);
}

} // namespace Veneer
