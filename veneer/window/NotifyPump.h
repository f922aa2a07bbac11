#pragma once

#include "veneer/core/StdStringPtrMap.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/manager/UiEvents.h"

#include <windows.h>

namespace Veneer
{

class CNotifyPump;

// How a message-map entry calls its handler; 0 ends a table.
enum UiMsgMapSignature : UINT
{
    UiSigEnd = 0,
    UiSigParams = 1, // handler (wParam, lParam) of the notification
    UiSigNotify = 2  // handler (TNotifyUI&)
};

// Calls one handler on the object that owns the pump part.
typedef void (*UiMsgMapThunk)(CNotifyPump* pPump, TNotifyUI& msg);

struct UI_MSGMAP_ENTRY
{
    LPCWSTR sMsgType;  // the notification type, "click"
    LPCWSTR sCtrlName; // the sender's name; empty matches every sender
    UINT nSig;
    UiMsgMapThunk pfn;
};

struct UI_MSGMAP
{
    const UI_MSGMAP* (*pfnGetBaseMap)(); // null ends the chain
    const UI_MSGMAP_ENTRY* (*pfnGetEntries)();
};

// The thunks convert the pump back to the class that declared the map: a
// plain static_cast, so the adjustment is the compiler's own.
template <class TOwner, void (TOwner::*pfnHandler)(TNotifyUI&)>
void UiNotifyThunk(CNotifyPump* pPump, TNotifyUI& msg)
{
    (static_cast<TOwner*>(pPump)->*pfnHandler)(msg);
}

template <class TOwner, void (TOwner::*pfnHandler)(WPARAM, LPARAM)>
void UiParamsThunk(CNotifyPump* pPump, TNotifyUI& msg)
{
    (static_cast<TOwner*>(pPump)->*pfnHandler)(msg.wParam, msg.lParam);
}

// Routes notifications to member handlers through the class's static
// message map and those of its bases, optionally through named virtual
// windows (other pumps that handle the notifications of one part of the
// tree).
class VENEER_API CNotifyPump
{
  public:
    CNotifyPump();
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    bool AddVirtualWnd(LPCWSTR strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(LPCWSTR strName);
    void NotifyPump(TNotifyUI& msg);
    bool LoopDispatch(TNotifyUI& msg);

    virtual const UI_MSGMAP* GetMessageMap() const;

  protected:
    ~CNotifyPump() = default;

    static const UI_MSGMAP messageMap;

  private:
    static const UI_MSGMAP_ENTRY* _GetMessageEntries();

    CStdStringPtrMap m_VirtualWndMap;
};

} // namespace Veneer

// Declares the message map of a class derived from CNotifyPump. It leaves
// the access private: put it last in the class or follow it by an access
// specifier.
#define UI_DECLARE_MESSAGE_MAP()                                                                             \
  public:                                                                                                    \
    const ::Veneer::UI_MSGMAP* GetMessageMap() const override;                                               \
                                                                                                             \
  protected:                                                                                                 \
    static const ::Veneer::UI_MSGMAP messageMap;                                                             \
                                                                                                             \
  private:                                                                                                   \
    static const ::Veneer::UI_MSGMAP* _GetBaseMessageMap();                                                  \
    static const ::Veneer::UI_MSGMAP_ENTRY* _GetMessageEntries();

// Defines it: the entries follow, then UI_END_MESSAGE_MAP.
#define UI_BEGIN_MESSAGE_MAP(theClass, baseClass)                                                            \
    const ::Veneer::UI_MSGMAP* theClass::_GetBaseMessageMap()                                                \
    {                                                                                                        \
        return &baseClass::messageMap;                                                                       \
    }                                                                                                        \
    const ::Veneer::UI_MSGMAP* theClass::GetMessageMap() const                                               \
    {                                                                                                        \
        return &theClass::messageMap;                                                                        \
    }                                                                                                        \
    const ::Veneer::UI_MSGMAP theClass::messageMap = {&theClass::_GetBaseMessageMap,                         \
                                                      &theClass::_GetMessageEntries};                        \
    const ::Veneer::UI_MSGMAP_ENTRY* theClass::_GetMessageEntries()                                          \
    {                                                                                                        \
        typedef theClass UiMapOwner;                                                                         \
        static const ::Veneer::UI_MSGMAP_ENTRY entries[] = {

// A handler (TNotifyUI&) for notifications of a type from any sender ...
#define UI_ON_MSGTYPE(msgtype, handler)                                                                      \
    {msgtype, L"", ::Veneer::UiSigNotify, &::Veneer::UiNotifyThunk<UiMapOwner, &UiMapOwner::handler>},

// ... or from the sender of one name, which is preferred to any sender.
#define UI_ON_MSGTYPE_CTRNAME(msgtype, ctrname, handler)                                                     \
    {msgtype, ctrname, ::Veneer::UiSigNotify, &::Veneer::UiNotifyThunk<UiMapOwner, &UiMapOwner::handler>},

#define UI_ON_CLICK_CTRNAME(ctrname, handler) UI_ON_MSGTYPE_CTRNAME(L"click", ctrname, handler)

// A handler (WPARAM, LPARAM) of the notification's parameters.
#define UI_ON_MSGTYPE_PARAMS(msgtype, ctrname, handler)                                                      \
    {msgtype, ctrname, ::Veneer::UiSigParams, &::Veneer::UiParamsThunk<UiMapOwner, &UiMapOwner::handler>},

#define UI_END_MESSAGE_MAP()                                                                                 \
    {                                                                                                        \
        nullptr, nullptr, ::Veneer::UiSigEnd, nullptr                                                        \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    return entries;                                                                                          \
    }
