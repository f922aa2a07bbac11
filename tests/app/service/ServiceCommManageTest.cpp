// The service channel against a pipe owned by the test itself (to see the
// exact bytes) and against the service stand-in (to see reconnection).
#include "app/service/ServiceCommManage.h"

#include "app/client/LaunchLog.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace TestSupport;
using Qlm::CLaunchLog;
using Qlm::CServiceCommManage;

namespace
{

const wchar_t kPipeName[] = L"\\\\.\\pipe\\servicepipe";
const char kStarterLine[] = "_tcslen(lpstrCmdLine) == 0";

// One server instance of the service pipe, owned by the test. A client can
// open it as soon as it exists; the server then reads what was written.
class CTestPipeServer
{
  public:
    CTestPipeServer()
    {
        pipe = CreateNamedPipeW(kPipeName, PIPE_ACCESS_DUPLEX,
                                PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    }
    ~CTestPipeServer()
    {
        if (pipe != INVALID_HANDLE_VALUE)
            CloseHandle(pipe);
    }
    bool Valid() const { return pipe != INVALID_HANDLE_VALUE; }

    std::string ReadAll()
    {
        ConnectNamedPipe(pipe, nullptr);
        std::string bytes;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            bytes.append(buffer, got);
        return bytes;
    }

  private:
    HANDLE pipe = INVALID_HANDLE_VALUE;
};

std::string DataOf(const std::string& line)
{
    const size_t start = line.find("{\"data\":\"");
    const size_t end = line.find("\",\"sendurl\"");
    return start == std::string::npos || end == std::string::npos ? std::string() : line.substr(9, end - 9);
}

} // namespace

TEST(PipeFrame, CountsItsLengthBytesAndTheTrailingZero)
{
    CTestPipeServer server;
    ASSERT_TRUE(server.Valid());
    {
        CLaunchLog launchLog;
        CServiceCommManage channel(launchLog);
        ASSERT_TRUE(channel.OpenPipe());
        ASSERT_TRUE(channel.WriteMessage(0, "u", "x"));
    }
    // The channel closed its pipe as it ended: the server reads to the end.
    const std::string frame = server.ReadAll();
    const std::string document = "{\"data\":\"x\",\"sendurl\":\"u\",\"type\":0}\n";
    ASSERT_EQ(36u, document.size());
    ASSERT_EQ(41u, frame.size());
    EXPECT_EQ(std::string("\x29\x00\x00\x00", 4), frame.substr(0, 4));
    EXPECT_EQ(document, frame.substr(4, 36));
    EXPECT_EQ('\0', frame[40]);
}

TEST(FindProcessId, MatchesTheWholeNameInAnyLetterCase)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    EXPECT_EQ(service.Id(), CServiceCommManage::FindProcessId(L"QLMServiceProc.exe"));
    EXPECT_EQ(service.Id(), CServiceCommManage::FindProcessId(L"qlmserviceproc.EXE"));
    EXPECT_EQ(0u, CServiceCommManage::FindProcessId(L"ServiceProc.exe"));
    EXPECT_EQ(0u, CServiceCommManage::FindProcessId(L"QLMServiceProc"));
    EXPECT_EQ(0u, CServiceCommManage::FindProcessId(L"QLMServiceProc.exe.exe"));
}

TEST(FindProcessId, LeavesOutTheCallingProcess)
{
    EXPECT_EQ(0u, CServiceCommManage::FindProcessId(L"service_test.exe"));
}

TEST(CheckService, ConnectsAtOnceWhenTheServiceRuns)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    CLaunchLog launchLog;
    CServiceCommManage channel(launchLog);
    const ULONGLONG start = GetTickCount64();
    channel.Connect();
    EXPECT_TRUE(channel.IsConnected());
    EXPECT_LT(GetTickCount64() - start, 500u);
}

// A copy of QLMNews.exe in a folder of its own, launched as the client
// launches it; beside it, when asked, the start recorder in the place of the
// service program.
class ProgramCopy : public ::testing::Test
{
  protected:
    bool Install(bool withServiceProgram)
    {
        return CopyFileA((BinFolder() + "\\QLMNews.exe").c_str(), folder.File("QLMNews.exe").c_str(),
                         FALSE) &&
               (!withServiceProgram || CopyFileA((BinFolder() + "\\StartRecorder.exe").c_str(),
                                                 folder.File("QLMServiceProc.exe").c_str(), FALSE));
    }

    // Runs the copy to its end and waits until whatever it started has
    // ended too (a started service program has recorded its start by then).
    bool Launch(size_t runningServices)
    {
        CChildProcess program;
        return program.Start(folder.File("QLMNews.exe"), "http://ad.example/p k1 c1") &&
               program.Wait(30000) &&
               PollUntil(
                   [runningServices] {
                       return CountProcesses(L"QLMNews.exe") == 0 &&
                              CountProcesses(L"QLMServiceProc.exe") == runningServices;
                   },
                   15000);
    }

    std::vector<std::string> LogLines() const { return FileLines("Msg.log"); }
    std::vector<std::string> ServiceStarts() const { return FileLines("starts.txt"); }

    std::vector<std::string> FileLines(const char* name) const
    {
        std::string text;
        ReadFileBytes(folder.File(name), text);
        return SplitLines(text);
    }

    CScratchFolder folder;
};

TEST_F(ProgramCopy, StartsTheServiceProgramFromItsFolderWhenTheServiceIsAbsent)
{
    ASSERT_FALSE(ServicePipeExists());
    ASSERT_TRUE(Install(true));
    ASSERT_TRUE(Launch(0));
    // The stand-in opens no pipe, so each reconnection looks again and
    // starts it again: once for the connection, twice for the report.
    const std::vector<std::string> starts = ServiceStarts();
    EXPECT_GE(starts.size(), 1u);
    EXPECT_LE(starts.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(starts.size(), ""), starts);
    // The program never starts itself: its log holds its own launch only.
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("Msg cmd = http://ad.example/p k1 c1, num = 3"));
}

TEST_F(ProgramCopy, WithoutTheServiceProgramLogsOneLineAndStartsNothing)
{
    ASSERT_FALSE(ServicePipeExists());
    ASSERT_TRUE(Install(false));
    ASSERT_TRUE(Launch(0));
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("Msg cmd = "));
    EXPECT_NE(std::string::npos, lines[1].find("QLMServiceProc.exe")) << lines[1];
    EXPECT_EQ(std::string::npos, lines[1].find(kStarterLine)) << lines[1];
}

TEST_F(ProgramCopy, StartsNothingWhenTheServiceRuns)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    ASSERT_TRUE(Install(true));
    // Only the running stand-in may be left once the copy has ended.
    ASSERT_TRUE(Launch(1));
    EXPECT_TRUE(service.WaitForMessages(1));
    EXPECT_TRUE(ServiceStarts().empty());
    EXPECT_EQ(1u, LogLines().size());
}

TEST(SendToService, ResendsThroughANewPipeAfterTheServiceWentAway)
{
    CServiceStandIn first;
    ASSERT_TRUE(first.Start());
    CLaunchLog launchLog;
    CServiceCommManage channel(launchLog);
    channel.Connect();
    ASSERT_TRUE(channel.IsConnected());
    const HANDLE oldPipe = channel.Pipe();
    first.Kill();

    CServiceStandIn second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(channel.SendToService(0, "https://h/", "after restart"));
    ASSERT_TRUE(second.WaitForMessages(1));
    EXPECT_EQ("after restart", DataOf(second.Messages()[0]));
    // The broken handle was closed, not leaked: either its value was reused
    // for the new pipe or it no longer names anything.
    DWORD flags = 0;
    EXPECT_TRUE(channel.Pipe() == oldPipe || !GetHandleInformation(oldPipe, &flags));
}

TEST(SendToService, FirstSendAfterAFailedConnectOpensThePipe)
{
    CLaunchLog launchLog;
    CServiceCommManage channel(launchLog);
    channel.Connect();
    EXPECT_FALSE(channel.IsConnected());
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    EXPECT_TRUE(channel.SendToService(0, "u", "late"));
    ASSERT_TRUE(service.WaitForMessages(1));
    EXPECT_EQ("late", DataOf(service.Messages()[0]));
}

TEST(SendToService, GivesUpWithinItsRetriesWhenNoServiceAnswers)
{
    ASSERT_FALSE(ServicePipeExists());
    CLaunchLog launchLog;
    CServiceCommManage channel(launchLog);
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(channel.SendToService(0, "u", "lost"));
    EXPECT_FALSE(channel.IsConnected());
    EXPECT_EQ(INVALID_HANDLE_VALUE, channel.Pipe());
    // Two rounds of ten opens, 100 ms apart.
    EXPECT_GE(GetTickCount64() - start, 1800u);
    EXPECT_LT(GetTickCount64() - start, 8000u);
}
