#pragma once

#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

class CControlUI;

// Input events that the manager turns window messages into. The numbers are
// part of the toolkit's interface: controls and applications compare them.
// The begin/end markers frame the keyboard and mouse ranges.
enum UiEventType
{
    EventFirst = 1,
    EventKeyBegin,
    EventKeyDown,
    EventKeyUp,
    EventChar,
    EventSysKey,
    EventKeyEnd,
    EventMouseBegin,
    EventMouseMove,
    EventMouseLeave,
    EventMouseEnter,
    EventMouseHover,
    EventButtonDown,
    EventButtonUp,
    EventRButtonDown,
    EventDblClick,
    EventContextMenu,
    EventScrollWheel,
    EventMouseEnd,
    EventKillFocus,
    EventSetFocus,
    EventWindowSize,
    EventSetCursor,
    EventTimer,
    EventLast
};
static_assert(EventKeyDown == 3 && EventSysKey == 6 && EventMouseMove == 9 && EventScrollWheel == 18 &&
                  EventKillFocus == 20 && EventTimer == 24,
              "event numbers are fixed");

// Bits of the key-state word of an event.
enum UiKeyState : WORD
{
    KeyStateLButton = 0x0001,
    KeyStateRButton = 0x0002,
    KeyStateShift = 0x0004,
    KeyStateControl = 0x0008,
    KeyStateAlt = 0x0020
};

// The key-state word of the keyboard and mouse as they are now.
VENEER_API WORD CurrentKeyState();

// One input event, zero-filled before the manager sets the fields that the
// event carries.
typedef struct tagTEventUI
{
    int Type;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    wchar_t chKey;
    WORD wKeyState;
    WPARAM wParam;
    LPARAM lParam;
} TEventUI;

// A notification from a control to the listeners of its window.
typedef struct tagTNotifyUI
{
    CUiString sType;
    CUiString sVirtualWnd;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    WPARAM wParam;
    LPARAM lParam;
} TNotifyUI;

class INotifyUI
{
  public:
    virtual void Notify(TNotifyUI& msg) = 0;

  protected:
    ~INotifyUI() = default;
};

// Sees window messages before the manager does; setting bHandled makes the
// returned value the message's result and ends the handling.
class IMessageFilterUI
{
  public:
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

  protected:
    ~IMessageFilterUI() = default;
};

// Offered every queued message of its window before translation; S_OK
// consumes the message.
class ITranslateAccelerator
{
  public:
    virtual LRESULT TranslateAccelerator(MSG* pMsg) = 0;

  protected:
    ~ITranslateAccelerator() = default;
};

// Flags of every FindControl: which controls a search skips, and in which
// order a container visits itself and its children.
const UINT FindAll = 0x00000000;
const UINT FindVisible = 0x00000001;
const UINT FindEnabled = 0x00000002;
const UINT FindHitTest = 0x00000004;
const UINT FindTopFirst = 0x00000008;
const UINT FindMeFirst = 0x80000000;

// Bits of CControlUI::GetControlFlags.
const UINT FlagTabStop = 0x00000001;
const UINT FlagSetCursor = 0x00000002;

// Called by FindControl for every control that passes the flags; a non-null
// result ends the search with that control.
typedef CControlUI* (*FindCallback)(CControlUI* pControl, LPVOID pData);

} // namespace Veneer
