#include "veneer/window/NotifyPump.h"
#include "veneer/control/ControlUI.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

typedef std::vector<std::wstring> Calls;

// A pump part placed after another base, so that the handlers' object and
// the pump part have different addresses.
struct CPadding
{
    virtual ~CPadding() = default;
    char m_bytes[24] = {};
};

class CBasePump : public CPadding, public CNotifyPump
{
  public:
    void OnBaseClick(TNotifyUI& msg) { Record(L"base click " + Sender(msg)); }
    void OnBaseTimer(TNotifyUI&) { Record(L"base timer"); }

    Calls m_calls;

  protected:
    void Record(const std::wstring& s) { m_calls.push_back(s); }
    static std::wstring Sender(TNotifyUI& msg) { return msg.pSender->GetName().GetData(); }

    UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(CBasePump, CNotifyPump)
UI_ON_MSGTYPE(L"click", OnBaseClick)
UI_ON_MSGTYPE(L"timer", OnBaseTimer)
UI_END_MESSAGE_MAP()

class CDerivedPump : public CBasePump
{
  public:
    void OnAnyClick(TNotifyUI& msg) { Record(L"any click " + Sender(msg)); }
    void OnLastAnyClick(TNotifyUI& msg) { Record(L"last any click " + Sender(msg)); }
    void OnOk(TNotifyUI&) { Record(L"ok click"); }
    void OnParams(WPARAM wParam, LPARAM lParam)
    {
        Record(L"params " + std::to_wstring(wParam) + L" " + std::to_wstring(lParam));
    }

    UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(CDerivedPump, CBasePump)
UI_ON_MSGTYPE(L"click", OnAnyClick)
UI_ON_CLICK_CTRNAME(L"okbtn", OnOk)
UI_ON_MSGTYPE(L"click", OnLastAnyClick)
UI_ON_MSGTYPE_PARAMS(L"itemselect", L"", OnParams)
UI_END_MESSAGE_MAP()

// A pump with only the toolkit's own, empty map.
class CSilentPump : public CNotifyPump
{
};

class NotifyPump : public ::testing::Test
{
  protected:
    TNotifyUI Note(LPCWSTR pstrType, LPCWSTR pstrSender, LPCWSTR pstrVirtual = L"")
    {
        m_sender.SetName(pstrSender);
        TNotifyUI msg{};
        msg.sType = pstrType;
        msg.sVirtualWnd = pstrVirtual;
        msg.pSender = &m_sender;
        msg.wParam = 11;
        msg.lParam = 22;
        return msg;
    }

    CControlUI m_sender;
};

} // namespace

TEST_F(NotifyPump, ANamedSenderEntryIsPreferredToAnyOtherOfItsMap)
{
    CDerivedPump pump;
    TNotifyUI ok = Note(L"click", L"okbtn");
    EXPECT_TRUE(pump.LoopDispatch(ok));
    TNotifyUI other = Note(L"click", L"cancel");
    EXPECT_TRUE(pump.LoopDispatch(other));
    // Without a named match the last entry for any sender is taken.
    EXPECT_EQ(pump.m_calls, (Calls{L"ok click", L"last any click cancel"}));
}

TEST_F(NotifyPump, BaseMapsAnswerWhatTheDerivedMapDoesNot)
{
    CDerivedPump pump;
    TNotifyUI timer = Note(L"timer", L"t");
    EXPECT_TRUE(pump.LoopDispatch(timer));
    TNotifyUI unknown = Note(L"menu", L"m");
    EXPECT_FALSE(pump.LoopDispatch(unknown));
    CBasePump base;
    TNotifyUI click = Note(L"click", L"b");
    EXPECT_TRUE(base.LoopDispatch(click));
    EXPECT_EQ(pump.m_calls, (Calls{L"base timer"}));
    EXPECT_EQ(base.m_calls, (Calls{L"base click b"}));
}

TEST_F(NotifyPump, TheParameterSignatureGetsWParamAndLParam)
{
    CDerivedPump pump;
    TNotifyUI msg = Note(L"itemselect", L"list");
    EXPECT_TRUE(pump.LoopDispatch(msg));
    EXPECT_EQ(pump.m_calls, (Calls{L"params 11 22"}));
}

TEST_F(NotifyPump, VirtualWindowsAreRegisteredOnceAndRemovedOnce)
{
    CDerivedPump pump;
    CBasePump first, second;
    EXPECT_TRUE(pump.AddVirtualWnd(L"panel", &first));
    EXPECT_FALSE(pump.AddVirtualWnd(L"panel", &second));
    EXPECT_FALSE(pump.AddVirtualWnd(L"null", nullptr));
    TNotifyUI msg = Note(L"click", L"b", L"PANEL");
    pump.NotifyPump(msg);
    EXPECT_EQ(first.m_calls, (Calls{L"base click b"}));
    EXPECT_TRUE(second.m_calls.empty());
    EXPECT_TRUE(pump.m_calls.empty());

    EXPECT_TRUE(pump.RemoveVirtualWnd(L"panel"));
    EXPECT_FALSE(pump.RemoveVirtualWnd(L"panel"));
    pump.NotifyPump(msg);
    EXPECT_EQ(pump.m_calls, (Calls{L"last any click b"}));
}

TEST_F(NotifyPump, AVirtualWindowThatDeclinesLeavesTheNotificationToItsOwner)
{
    CDerivedPump pump;
    CSilentPump silent;
    ASSERT_TRUE(pump.AddVirtualWnd(L"panel", &silent));
    TNotifyUI msg = Note(L"click", L"okbtn", L"panel");
    pump.NotifyPump(msg);
    EXPECT_EQ(pump.m_calls, (Calls{L"ok click"}));
}
