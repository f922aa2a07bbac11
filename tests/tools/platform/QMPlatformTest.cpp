// QMPlatform.exe, the client platform stand-in, run from the registered
// platform folder and sent commands as the launcher sends them.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace TestSupport;

namespace
{

LRESULT SendCommand(HWND platform, const std::string& bytes, WPARAM sender = 0x1234, ULONG_PTR type = 1)
{
    COPYDATASTRUCT record{};
    record.dwData = type;
    record.cbData = static_cast<DWORD>(bytes.size());
    record.lpData = const_cast<char*>(bytes.data());
    return SendMessageW(platform, WM_COPYDATA, sender, reinterpret_cast<LPARAM>(&record));
}

std::string PlatformExe()
{
    return std::string(CPlatformStandIn::kFolder) + "\\QMPlatform.exe";
}

} // namespace

TEST(PlatformStandIn, PublishesItsWindowAndRecordsEachCommandExactly)
{
    CPlatformStandIn platform;
    ASSERT_TRUE(platform.Installed());
    ASSERT_TRUE(platform.Start());
    EXPECT_EQ(platform.Window(), CPlatformStandIn::WaitForPublishedWindow());

    EXPECT_EQ(100, SendCommand(platform.Window(), "\"A\" \"p\"", 0x1234));
    // Bytes that need escaping survive the record: NUL, GBK, backslash.
    const std::string binary("\"\xB7\xA2\" \\\"\0\x7F\"", 10);
    EXPECT_EQ(100, SendCommand(platform.Window(), binary, 77, 5));
    EXPECT_EQ(100, SendCommand(platform.Window(), ""));
    ASSERT_TRUE(platform.WaitForCommands(3));

    const std::vector<CPlatformCommand> commands = platform.Commands();
    ASSERT_EQ(3u, commands.size());
    EXPECT_EQ(1u, commands[0].dwData);
    EXPECT_EQ(0x1234u, commands[0].wParam);
    EXPECT_EQ("\"A\" \"p\"", commands[0].bytes);
    EXPECT_EQ(5u, commands[1].dwData);
    EXPECT_EQ(77u, commands[1].wParam);
    EXPECT_EQ(binary, commands[1].bytes);
    EXPECT_EQ("", commands[2].bytes);

    // Standard output carries the same lines.
    const std::vector<std::string> output = platform.OutputLines();
    ASSERT_EQ(3u, output.size());
    EXPECT_EQ("dwData=1 wParam=4660 cbData=7 text=\"A\" \"p\"", output[0]);
    EXPECT_EQ("dwData=5 wParam=77 cbData=10 text=\"\\xB7\\xA2\" \\\\\"\\x00\\x7F\"", output[1]);
}

TEST(PlatformStandIn, RepliesWhatItIsToldAndAsLateAsItIsTold)
{
    CPlatformStandIn platform;
    ASSERT_TRUE(platform.Start("--reply 7 --reply-delay 400"));
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(7, SendCommand(platform.Window(), "\"A\""));
    EXPECT_GE(GetTickCount64() - start, 390u);
}

TEST(PlatformStandIn, PublishesItsHandleLateOrNever)
{
    {
        CPlatformStandIn platform;
        ASSERT_TRUE(platform.Start("--no-handle"));
        EXPECT_FALSE(FileExists(CPlatformStandIn::ParamFile()));
        // It answers all the same, to whoever finds its window.
        EXPECT_EQ(100, SendCommand(platform.Window(), "\"A\""));
        EXPECT_FALSE(FileExists(CPlatformStandIn::ParamFile()));
    }
    // Published no sooner than the delay after the start: the window is
    // made first, the handle follows.
    CPlatformStandIn platform;
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(platform.Start("--handle-delay 1500"));
    EXPECT_EQ(platform.Window(), CPlatformStandIn::WaitForPublishedWindow(20000));
    EXPECT_GE(GetTickCount64() - start, 1490u);
}

TEST(PlatformStandIn, SecondStartLeavesTheFirstRunning)
{
    CPlatformStandIn platform;
    ASSERT_TRUE(platform.Start());
    ASSERT_EQ(platform.Window(), CPlatformStandIn::WaitForPublishedWindow());
    CChildProcess second;
    ASSERT_TRUE(second.Start(PlatformExe(), "--no-handle"));
    ASSERT_TRUE(second.Wait(20000));
    EXPECT_EQ(0u, second.ExitCode());
    EXPECT_EQ(platform.Window(), CPlatformStandIn::PublishedWindow());
    EXPECT_EQ(100, SendCommand(platform.Window(), "\"A\""));
    EXPECT_FALSE(platform.Process().Wait(0));
}

TEST(PlatformStandIn, LeavesAfterTheGivenNumberOfCommands)
{
    CPlatformStandIn platform;
    ASSERT_TRUE(platform.Start("--exit-after 2"));
    EXPECT_EQ(100, SendCommand(platform.Window(), "\"1\""));
    // Still there for the second.
    EXPECT_EQ(100, SendCommand(platform.Window(), "\"2\""));
    ASSERT_TRUE(platform.Process().Wait(20000));
    EXPECT_EQ(0u, platform.Process().ExitCode());
    EXPECT_FALSE(IsWindow(platform.Window()));
}

TEST(PlatformStandIn, StopsOnRequestAndRejectsUnknownOptions)
{
    CPlatformStandIn platform;
    ASSERT_TRUE(platform.Start());
    EXPECT_EQ(0, RunToExit("QMPlatform.exe", "--stop"));
    ASSERT_TRUE(platform.Process().Wait(20000));
    EXPECT_EQ(0u, platform.Process().ExitCode());
    // Nothing left to stop; options it does not know.
    EXPECT_EQ(4, RunToExit("QMPlatform.exe", "--stop"));
    EXPECT_EQ(1, RunToExit("QMPlatform.exe", "--reply"));
    EXPECT_EQ(1, RunToExit("QMPlatform.exe", "--reply 1x"));
    EXPECT_EQ(1, RunToExit("QMPlatform.exe", "--bogus"));
}
