// QLMServiceProc.exe fed good and hostile clients through the real pipe.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace TestSupport;

namespace
{

const wchar_t kPipeName[] = L"\\\\.\\pipe\\servicepipe";

std::string Frame(const std::string& document)
{
    const uint32_t length = static_cast<uint32_t>(document.size() + 5);
    std::string frame(4, '\0');
    for (int i = 0; i < 4; ++i)
        frame[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return frame + document + std::string(1, '\0');
}

// A raw client of the service pipe.
class CRawClient
{
  public:
    CRawClient() : pipe(OpenServicePipe()) {}
    ~CRawClient() { Close(); }
    bool Open() const { return pipe != INVALID_HANDLE_VALUE; }
    bool Send(const std::string& bytes)
    {
        DWORD written = 0;
        return WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }
    DWORD BytesWaiting() const
    {
        DWORD available = 0;
        PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr);
        return available;
    }
    void Close()
    {
        if (pipe != INVALID_HANDLE_VALUE)
            CloseHandle(pipe);
        pipe = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE pipe;
};

// A message that names its client.
std::string NumberedLine(int number)
{
    return "{\"data\":\"" + std::to_string(number) + "\",\"sendurl\":\"u\",\"type\":0}";
}

const char kGoodDocument[] = "{\"data\":\"x\",\"sendurl\":\"u\",\"type\":0}\n";
const char kGoodLine[] = "{\"data\":\"x\",\"sendurl\":\"u\",\"type\":0}";

} // namespace

TEST(ServiceStandIn, PrintsTheFortyOneByteFrameAsOneLineAndNeverAnswers)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    CRawClient client;
    ASSERT_TRUE(client.Open());
    const std::string frame = Frame(kGoodDocument);
    ASSERT_EQ(41u, frame.size());
    ASSERT_TRUE(client.Send(frame));
    ASSERT_TRUE(service.WaitForMessages(1));
    EXPECT_EQ(std::vector<std::string>{kGoodLine}, service.Messages());
    EXPECT_EQ(0u, client.BytesWaiting());
    EXPECT_TRUE(service.Problems().empty());
}

TEST(ServiceStandIn, SkipsMalformedFramesAndReadsOnAfterThem)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    CRawClient client;
    ASSERT_TRUE(client.Open());
    std::string noZero = Frame(kGoodDocument);
    noZero.back() = 'z';
    ASSERT_TRUE(client.Send(Frame("not json") + noZero + Frame("{\"data\":\"x\"}") + Frame("") +
                            Frame("{\"data\":\"second\",\"sendurl\":\"u\",\"type\":0}")));
    ASSERT_TRUE(service.WaitForMessages(1));
    ASSERT_TRUE(service.WaitForProblems(4));
    EXPECT_EQ(std::vector<std::string>{"{\"data\":\"second\",\"sendurl\":\"u\",\"type\":0}"},
              service.Messages());
    for (const std::string& problem : service.Problems())
        EXPECT_NE(std::string::npos, problem.find("malformed frame skipped")) << problem;
}

TEST(ServiceStandIn, SurvivesHostileClientsAndServesTheNextOne)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    {
        CRawClient huge;
        ASSERT_TRUE(huge.Open());
        huge.Send(std::string("\xFF\xFF\xFF\xFF", 4) + "garbage");
    }
    {
        CRawClient truncated;
        ASSERT_TRUE(truncated.Open());
        truncated.Send(Frame(kGoodDocument).substr(0, 20));
    }
    {
        CRawClient shortHeader;
        ASSERT_TRUE(shortHeader.Open());
        shortHeader.Send("\x29\x00");
    }
    {
        CRawClient silent;
        ASSERT_TRUE(silent.Open());
    }
    ASSERT_TRUE(service.WaitForProblems(3));
    const std::vector<std::string> problems = service.Problems();
    ASSERT_EQ(3u, problems.size());
    std::string all;
    for (const std::string& problem : problems)
        all += problem + "\n";
    EXPECT_NE(std::string::npos, all.find("frame length 4294967295 out of bounds")) << all;
    EXPECT_NE(std::string::npos, all.find("truncated frame: 20 of 41 bytes arrived")) << all;
    EXPECT_NE(std::string::npos, all.find("the client left inside the length bytes")) << all;

    CRawClient good;
    ASSERT_TRUE(good.Open());
    ASSERT_TRUE(good.Send(Frame(kGoodDocument)));
    ASSERT_TRUE(service.WaitForMessages(1));
    EXPECT_EQ(std::vector<std::string>{kGoodLine}, service.Messages());
}

TEST(ServiceStandIn, ServesClientsThatOverlap)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    CRawClient idle;
    ASSERT_TRUE(idle.Open());
    CRawClient second;
    ASSERT_TRUE(second.Open());
    ASSERT_TRUE(second.Send(Frame(kGoodDocument)));
    ASSERT_TRUE(service.WaitForMessages(1));
    ASSERT_TRUE(idle.Send(Frame(kGoodDocument)));
    ASSERT_TRUE(service.WaitForMessages(2));
}

TEST(ServiceStandIn, KeepsAnInstanceListeningForClientsInQuickSuccession)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    // Between two clients the pipe may be busy, but it never disappears: a
    // client that found no instance at all would be refused at once.
    const int kClients = 40;
    for (int i = 0; i < kClients; ++i)
    {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        while (pipe == INVALID_HANDLE_VALUE)
        {
            pipe = CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (pipe != INVALID_HANDLE_VALUE)
                break;
            const DWORD error = GetLastError();
            ASSERT_EQ(static_cast<DWORD>(ERROR_PIPE_BUSY), error) << "client " << i;
            ASSERT_TRUE(WaitNamedPipeW(kPipeName, 20000)) << "client " << i;
        }
        const std::string frame = Frame(NumberedLine(i));
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(pipe, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr));
        CloseHandle(pipe);
    }
    // Once idle, every frame is in and the marker that told so is not.
    ASSERT_TRUE(service.WaitUntilIdle());
    const std::vector<std::string> messages = service.Messages();
    ASSERT_EQ(static_cast<size_t>(kClients), messages.size());
    for (int i = 0; i < kClients; ++i)
        EXPECT_NE(messages.end(), std::find(messages.begin(), messages.end(), NumberedLine(i))) << i;
    EXPECT_TRUE(service.Problems().empty());
}

TEST(ServiceStandIn, SecondCopyRefusesThePipeTheFirstOwns)
{
    CServiceStandIn first;
    ASSERT_TRUE(first.Start());
    CScratchFolder scratch;
    CChildProcess second;
    ASSERT_TRUE(second.Start(BinFolder() + "\\QLMServiceProc.exe", "\"" + scratch.File("m.txt") + "\"",
                             scratch.File("out.txt"), scratch.File("err.txt")));
    ASSERT_TRUE(second.Wait(10000));
    EXPECT_EQ(3u, second.ExitCode());
    EXPECT_TRUE(first.Stop());
}
