// The real pointer, moved on the X display, reaching controls as hover
// events. The pointer is moved with the Unix program xdotool, started from
// inside this Windows process: Wine runs a Unix executable named by its Z:
// path as a Unix process, which inherits DISPLAY from the environment that
// the test harness gives Wine. Wine hands back no waitable handle for such a
// process, so the test waits until GetCursorPos reports the new place.
#include "WindowFixture.h"

#include <algorithm>
#include <string>

using namespace Veneer;

namespace
{

typedef std::vector<std::wstring> Trace;

const int kWindowX = 300;
const int kWindowY = 300;

class PointerEndToEnd : public WindowFixture
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.Create(&m_pm, 200, 100, kWindowX, kWindowY));
        MakeRoot();
        AddProbe(L"A", 10, 10, 40, 40, FlagSetCursor)->SetToolTip(L"tip of A");
        AddProbe(L"B", 60, 10, 40, 40);
        AttachAndPaint();
        ASSERT_TRUE(MovePointer(kWindowX + 150, kWindowY + 300)) << "xdotool could not move the pointer";
        PumpPending();
        m_log.clear();
    }

    // The recorded events without the plain moves, which depend on how
    // many motion events the display reports on the way.
    Trace Crossings()
    {
        Trace events = TakeEvents();
        events.erase(std::remove_if(events.begin(), events.end(),
                                    [](const std::wstring& e) { return e.rfind(L"move:", 0) == 0; }),
                     events.end());
        return events;
    }

    bool Seen(const std::wstring& event)
    {
        for (const ProbeEvent& entry : m_log)
        {
            if (EventName(entry.type) + L":" + entry.control == event)
                return true;
        }
        return false;
    }
};

} // namespace

TEST_F(PointerEndToEnd, PointerCrossingControlsEntersAndLeavesThem)
{
    ASSERT_TRUE(MovePointer(kWindowX + 20, kWindowY + 20));
    ASSERT_TRUE(PumpUntil([this] { return Seen(L"enter:A"); }));
    ASSERT_TRUE(MovePointer(kWindowX + 70, kWindowY + 20));
    ASSERT_TRUE(PumpUntil([this] { return Seen(L"enter:B"); }));
    ASSERT_TRUE(MovePointer(kWindowX + 150, kWindowY + 300));
    ASSERT_TRUE(PumpUntil([this] { return Seen(L"leave:B"); }));
    PumpPending();
    const Trace crossings = Crossings();
    // The display's own cursor messages reach A too, as it asks for them.
    Trace withoutCursor;
    for (const std::wstring& e : crossings)
    {
        if (e != L"setcursor:A")
            withoutCursor.push_back(e);
    }
    EXPECT_EQ(withoutCursor, (Trace{L"enter:A", L"leave:A", L"enter:B", L"leave:B"}));
    EXPECT_NE(std::find(crossings.begin(), crossings.end(), L"setcursor:A"), crossings.end());

    // B does not set the cursor itself: the default procedure does.
    ASSERT_TRUE(MovePointer(kWindowX + 70, kWindowY + 20));
    LRESULT lRes = 0;
    EXPECT_FALSE(
        m_pm.MessageHandler(WM_SETCURSOR, reinterpret_cast<WPARAM>(Hwnd()), MAKELPARAM(HTCLIENT, 0), lRes));
    ASSERT_TRUE(MovePointer(kWindowX + 20, kWindowY + 20));
    EXPECT_TRUE(
        m_pm.MessageHandler(WM_SETCURSOR, reinterpret_cast<WPARAM>(Hwnd()), MAKELPARAM(HTCLIENT, 0), lRes));
}

TEST_F(PointerEndToEnd, RestingPointerHoversAndShowsTheToolTip)
{
    ASSERT_TRUE(MovePointer(kWindowX + 30, kWindowY + 30));
    ASSERT_TRUE(PumpUntil([this] { return Seen(L"hover:A"); }, 15000));
    ASSERT_NE(m_pm.GetTooltipWindow(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(m_pm.GetTooltipWindow()));
    ASSERT_TRUE(MovePointer(kWindowX + 150, kWindowY + 300));
    ASSERT_TRUE(PumpUntil([this] { return Seen(L"leave:A"); }));
}
