// The service channel against a pipe owned by the test itself (to see the
// exact bytes) and against the service stand-in (to see reconnection).
#include "app/service/ServiceCommManage.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace TestSupport;

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

bool LogGainsStarterLine(size_t offset, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do
    {
        for (const std::string& line : MsgLogLinesFrom(offset))
        {
            if (line.find(kStarterLine) != std::string::npos)
                return true;
        }
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return false;
}

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
        CServiceCommManage channel;
        ASSERT_TRUE(channel.OpenPipe());
        EXPECT_EQ("\\\\.\\pipe\\servicepipe", channel.pipeName);
        ASSERT_TRUE(channel.WriteMessage(0, "u", "x"));
        CloseHandle(channel.pipe);
    }
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

TEST(CheckService, StartsNothingAndConnectsAtOnceWhenTheServiceRuns)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    const size_t offset = MsgLogSize();
    CServiceCommManage channel;
    const ULONGLONG start = GetTickCount64();
    channel.Connect();
    EXPECT_TRUE(channel.connected);
    EXPECT_LT(GetTickCount64() - start, 500u);
    EXPECT_FALSE(LogGainsStarterLine(offset, 1500));
}

TEST(CheckService, StartsQLMNewsFromTheProgramFolderWhenTheServiceIsAbsent)
{
    ASSERT_FALSE(ServicePipeExists());
    const size_t offset = MsgLogSize();
    CServiceCommManage channel;
    EXPECT_TRUE(channel.CheckService());
    // The copy has an empty command line: it writes one line and exits.
    EXPECT_TRUE(LogGainsStarterLine(offset, 15000));
}

TEST(SendToService, ResendsThroughANewPipeAfterTheServiceWentAway)
{
    CServiceStandIn first;
    ASSERT_TRUE(first.Start());
    CServiceCommManage channel;
    channel.Connect();
    ASSERT_TRUE(channel.connected);
    const HANDLE oldPipe = channel.pipe;
    first.Kill();

    CServiceStandIn second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(channel.SendToService(0, "https://h/", "after restart"));
    ASSERT_TRUE(second.WaitForMessages(1));
    EXPECT_EQ("after restart", DataOf(second.Messages()[0]));
    // The broken handle was closed, not leaked: either its value was reused
    // for the new pipe or it no longer names anything.
    DWORD flags = 0;
    EXPECT_TRUE(channel.pipe == oldPipe || !GetHandleInformation(oldPipe, &flags));
}

TEST(SendToService, FirstSendAfterAFailedConnectOpensThePipe)
{
    CServiceCommManage channel;
    channel.Connect();
    EXPECT_FALSE(channel.connected);
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    EXPECT_TRUE(channel.SendToService(0, "u", "late"));
    ASSERT_TRUE(service.WaitForMessages(1));
    EXPECT_EQ("late", DataOf(service.Messages()[0]));
}

TEST(SendToService, GivesUpWithinItsRetriesWhenNoServiceAnswers)
{
    ASSERT_FALSE(ServicePipeExists());
    CServiceCommManage channel;
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(channel.SendToService(0, "u", "lost"));
    EXPECT_FALSE(channel.connected);
    EXPECT_EQ(INVALID_HANDLE_VALUE, channel.pipe);
    // Two rounds of ten opens, 100 ms apart.
    EXPECT_GE(GetTickCount64() - start, 1800u);
    EXPECT_LT(GetTickCount64() - start, 8000u);
}
