// QLMNews.exe run as the client runs it: its early exits, and the launch
// report that reaches the service stand-in.
#include "app/model/InfoComm.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/value.h>

#include <regex>
#include <string>

using namespace TestSupport;

namespace
{

const char kTimePrefix[] = "\\d{2}:\\d{2}:\\d{2}\t";

bool ParseJson(const std::string& text, Json::Value& root)
{
    Json::Reader reader;
    return reader.parse(text, root, false);
}

std::string LocalStamp(const SYSTEMTIME& time)
{
    char stamp[32] = {};
    snprintf(stamp, sizeof(stamp), "%04d%02d%02d%02d%02d%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond);
    return stamp;
}

// The report inside the one message the stand-in received.
bool ReceivedReport(const CServiceStandIn& service, Json::Value& envelope, Json::Value& report)
{
    const std::vector<std::string> messages = service.Messages();
    return messages.size() == 1 && ParseJson(messages[0], envelope) &&
           ParseJson(envelope["data"].asString(), report);
}

} // namespace

TEST(LaunchExit, EmptyCommandLineWritesOneLineAndExitsZero)
{
    const size_t offset = MsgLogSize();
    EXPECT_EQ(0, RunToExit("QLMNews.exe", ""));
    const std::vector<std::string> lines = MsgLogLinesFrom(offset);
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(
        std::regex_match(lines[0], std::regex(std::string(kTimePrefix) + "_tcslen\\(lpstrCmdLine\\) == 0")))
        << lines[0];
}

TEST(LaunchExit, EmptyFirstArgumentEndsAfterTheCommandLineEntry)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    const size_t offset = MsgLogSize();
    EXPECT_EQ(0, RunToExit("QLMNews.exe", "\"\" k1 c1"));
    const std::vector<std::string> lines = MsgLogLinesFrom(offset);
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(
        std::regex_match(lines[0], std::regex(std::string(kTimePrefix) + "Msg cmd = \"\" k1 c1, num = 3")))
        << lines[0];
    ASSERT_TRUE(service.WaitUntilIdle());
    EXPECT_TRUE(service.Messages().empty());
}

TEST(LaunchReport, ReachesTheServiceWithEveryMember)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    SYSTEMTIME before{};
    GetLocalTime(&before);
    const size_t offset = MsgLogSize();
    EXPECT_EQ(0, RunToExit("QLMNews.exe", "\"http://ad.example/page?id=1\" key-77 channel-3"));
    SYSTEMTIME after{};
    GetLocalTime(&after);
    ASSERT_TRUE(service.WaitForMessages(1));

    Json::Value envelope;
    Json::Value report;
    ASSERT_TRUE(ReceivedReport(service, envelope, report)) << service.Messages().size();
    EXPECT_EQ(0, envelope["type"].asInt());
    EXPECT_EQ(Model::kDownloadHostUrl, envelope["sendurl"].asString());
    EXPECT_EQ("ClientAdPopUpResult", report["COMMAND"].asString());
    const Json::Value& datas = report["DATAS"];
    EXPECT_EQ("key-77", datas["ADKeyID"].asString());
    EXPECT_EQ("channel-3", datas["channel"].asString());
    EXPECT_EQ(2, datas["ADType"].asInt());
    EXPECT_EQ(0, datas["actionType"].asInt());
    EXPECT_EQ(0, datas["userid"].asInt());
    EXPECT_EQ("QM-HARNESS-USER", datas["uuid"].asString());
    const std::string time = datas["time"].asString();
    EXPECT_TRUE(std::regex_match(time, std::regex("\\d{14}"))) << time;
    EXPECT_LE(LocalStamp(before), time);
    EXPECT_GE(LocalStamp(after), time);
    // The report is the exact compact text, final line feed included.
    EXPECT_EQ("{\"COMMAND\":\"ClientAdPopUpResult\",\"DATAS\":{\"ADKeyID\":\"key-77\",\"ADType\":2,"
              "\"actionType\":0,"
              "\"channel\":\"channel-3\",\"time\":\"" +
                  time + "\",\"userid\":0,\"uuid\":\"QM-HARNESS-USER\"}}\n",
              envelope["data"].asString());

    const std::vector<std::string> lines = MsgLogLinesFrom(offset);
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos,
              lines[0].find("Msg cmd = \"http://ad.example/page?id=1\" key-77 channel-3, num = 3"));
}

TEST(LaunchReport, MissingKeyAndChannelAreReportedEmpty)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    EXPECT_EQ(0, RunToExit("QLMNews.exe", "http://ad.example/only"));
    ASSERT_TRUE(service.WaitForMessages(1));
    Json::Value envelope;
    Json::Value report;
    ASSERT_TRUE(ReceivedReport(service, envelope, report));
    EXPECT_EQ("", report["DATAS"]["ADKeyID"].asString());
    EXPECT_EQ("", report["DATAS"]["channel"].asString());
}

TEST(LaunchReport, MissingSkinArchiveSendsNoReport)
{
    CServiceStandIn service;
    ASSERT_TRUE(service.Start());
    EXPECT_EQ(0, RunToExit("QLMNewsNoSkin.exe", "http://ad.example/p k1 c1"));
    ASSERT_TRUE(service.WaitUntilIdle());
    EXPECT_TRUE(service.Messages().empty());
}

TEST(LaunchReport, AbsentServiceCostsTheReportButNotTheExitCode)
{
    ASSERT_FALSE(ServicePipeExists());
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(0, RunToExit("QLMNews.exe", "http://ad.example/p k1 c1", 30000));
    EXPECT_LT(GetTickCount64() - start, 15000u);
}
