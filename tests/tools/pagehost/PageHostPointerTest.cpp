// A click with the display's real pointer on an action element of a page
// runs its script. The pointer is moved and clicked with the Unix program
// xdotool, started from this Windows process by its Z: path (Wine runs it
// as a Unix process on the harness's display); the test then waits for the
// call the clicked element's script makes.
#include "TestContainer.h"
#include "TestWindow.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace PageHostTest;

namespace
{

// Button 1 is the left, 3 the right.
bool ClickAt(POINT pt, int button)
{
    std::wstring command = L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(pt.x) + L" " +
                           std::to_wstring(pt.y) + L" click " + std::to_wstring(button);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hProcess != nullptr)
        CloseHandle(info.hProcess);
    if (info.hThread != nullptr)
        CloseHandle(info.hThread);
    return true;
}

} // namespace

TEST(PageHostPointer, ClickOnAnActionElementRunsItsScript)
{
    CoInitialize(nullptr);
    CallLog log;
    CPageHostModule module;
    ASSERT_TRUE(module.Loaded());
    CHostWindow window(200, 150, 400, 300);
    CTestSite site(log, window.Get());
    CTestHandler handler(log);
    CTestSink sink(log, &handler);
    CTestExternal external;
    handler.m_pExternal = &external;
    TestSupport::CScratchFolder folder;
    const std::string path = folder.File("buttons.html");
    ASSERT_TRUE(TestSupport::WriteFileBytes(
        path, "<title>Pick</title><button onclick=\"external.First()\">First</button>"
              "<a href=\"javascript:external.Second('x')\">Second</a>"));
    {
        CEmbedding embedding(module, site, sink);
        ASSERT_TRUE(embedding.Ready());
        ASSERT_EQ(embedding.Navigate(std::wstring(path.begin(), path.end())), S_OK);
        ASSERT_TRUE(Veneer::PumpUntil([&] { return Contains(log, "DocumentComplete " + path); }, kWaitMs));

        const HWND hView = embedding.View();
        ASSERT_EQ(module.ActionCount(hView), 2);
        RECT second{};
        ASSERT_TRUE(module.ActionRect(hView, 1, second));
        POINT target{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
        ClientToScreen(hView, &target);
        ASSERT_TRUE(ClickAt(target, 1)) << "xdotool could not be started";
        ASSERT_TRUE(Veneer::PumpUntil([&] { return !external.m_calls.empty(); }, kWaitMs));
        EXPECT_EQ(external.m_calls[0].name, "Second");
        EXPECT_EQ(external.m_calls[0].args, std::vector<std::string>{"BSTR:x"});
        EXPECT_EQ(external.m_calls.size(), 1u);

        // A right click asks the handler, which shows its own menu (none).
        handler.m_contextMenuAnswer = S_OK;
        ASSERT_TRUE(ClickAt(target, 3));
        ASSERT_TRUE(Veneer::PumpUntil(
            [&] {
                return Contains(log, "handler.ShowContextMenu 0 " + std::to_string(target.x) + "," +
                                         std::to_string(target.y));
            },
            kWaitMs))
            << ::testing::PrintToString(log);
        EXPECT_EQ(external.m_calls.size(), 1u);
    }
    EXPECT_EQ(module.LiveObjects(), 0);
    EXPECT_EQ(external.Refs(), 0);
}
