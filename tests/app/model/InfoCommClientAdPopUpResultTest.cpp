// The report document byte for byte, and the reply statuses.
#include "app/model/InfoCommClientAdPopUpResult.h"

#include <gtest/gtest.h>

#include <string>

using Model::InfoCommClientAdPopUpResult;

namespace
{

InfoCommClientAdPopUpResult LaunchReport(const std::string& key, const std::string& channel)
{
    InfoCommClientAdPopUpResult report;
    report.userid = 0;
    report.ADType = 2;
    report.actionType = Model::kAdActionShown;
    report.SetADKeyID(key);
    report.SetChannel(channel);
    report.SetTime("20240102030405");
    report.SetUUID("");
    return report;
}

std::string Json(InfoCommClientAdPopUpResult& report)
{
    std::string text = "left over";
    EXPECT_EQ(0, report.ToJson(text));
    return text;
}

} // namespace

TEST(ReportDocument, LaunchReportIsOneCompactLineWithSortedMembers)
{
    InfoCommClientAdPopUpResult report = LaunchReport("k1", "c1");
    EXPECT_EQ(
        "{\"COMMAND\":\"ClientAdPopUpResult\",\"DATAS\":{\"ADKeyID\":\"k1\",\"ADType\":2,\"actionType\":0,"
        "\"channel\":\"c1\",\"time\":\"20240102030405\",\"userid\":0,\"uuid\":\"\"}}\n",
        Json(report));
}

TEST(ReportDocument, FreshReportHasEmptyTextsAndZeroNumbers)
{
    InfoCommClientAdPopUpResult report;
    EXPECT_EQ(
        "{\"COMMAND\":\"ClientAdPopUpResult\",\"DATAS\":{\"ADKeyID\":\"\",\"ADType\":0,\"actionType\":0,"
        "\"channel\":\"\",\"time\":\"\",\"userid\":0,\"uuid\":\"\"}}\n",
        Json(report));
}

TEST(ReportDocument, QuotesBackslashesAndControlCharactersAreEscaped)
{
    InfoCommClientAdPopUpResult report = LaunchReport("a\"b\\c", "t\tn\n\x01");
    const std::string text = Json(report);
    EXPECT_NE(std::string::npos, text.find("\"ADKeyID\":\"a\\\"b\\\\c\""));
    EXPECT_NE(std::string::npos, text.find("\"channel\":\"t\\tn\\n\\u0001\""));
}

TEST(ReportDocument, AnsiBytesAboveAsciiAreCopiedUnchanged)
{
    // "中文" in code page 936: not UTF-8, and must not be re-encoded.
    const std::string gbk = "\xD6\xD0\xCE\xC4";
    InfoCommClientAdPopUpResult report = LaunchReport(gbk, "\xE9t\xE9");
    const std::string text = Json(report);
    EXPECT_NE(std::string::npos, text.find("\"ADKeyID\":\"" + gbk + "\""));
    EXPECT_NE(std::string::npos, text.find("\"channel\":\"\xE9t\xE9\""));
}

TEST(ReportFields, ClearResetsTheReportButKeepsResultAndSendAddress)
{
    InfoCommClientAdPopUpResult report = LaunchReport("k1", "c1");
    report.SetUUID("u");
    report.result = 9;
    report.SetSendUrl("https://elsewhere.example/");
    report.Clear();
    EXPECT_EQ("", report.ADKeyID);
    EXPECT_EQ("", report.channel);
    EXPECT_EQ("", report.time);
    EXPECT_EQ("", report.uuid);
    EXPECT_EQ(0, report.ADType);
    EXPECT_EQ(9, report.result);
    EXPECT_EQ("https://elsewhere.example/", report.GetSendUrl());
}

TEST(ReportFields, SendAddressIsTheDownloadHostUntilChanged)
{
    InfoCommClientAdPopUpResult report;
    const std::string url = report.GetSendUrl();
    EXPECT_EQ(27u, url.size());
    EXPECT_EQ(0u, url.rfind("https://", 0));
    EXPECT_EQ('/', url.back());
    report.SetSendUrl("x");
    report.InfoComm::Clear();
    EXPECT_EQ(url, report.GetSendUrl());
}

TEST(ParseReply, StatusesFollowWhatTheReplyHolds)
{
    InfoCommClientAdPopUpResult report;
    EXPECT_EQ(3, report.ParseReply(""));
    EXPECT_EQ(1, report.ParseReply("not json"));
    EXPECT_EQ(2, report.ParseReply("{}"));
    EXPECT_EQ(2, report.ParseReply("{\"RESULT\":null}"));
    EXPECT_EQ(0, report.result);
    EXPECT_EQ(0, report.ParseReply("{\"RESULT\":7}"));
    EXPECT_EQ(7, report.result);
    EXPECT_EQ(0, report.ParseReply("/* note */ {\"RESULT\":-2}"));
    EXPECT_EQ(-2, report.result);
}

TEST(ParseReply, ValidJsonThatIsNotAnObjectIsRejected)
{
    InfoCommClientAdPopUpResult report;
    EXPECT_EQ(1, report.ParseReply("7"));
    EXPECT_EQ(1, report.ParseReply("[{\"RESULT\":7}]"));
    EXPECT_EQ(1, report.ParseReply("\"RESULT\""));
    EXPECT_EQ(0, report.result);
}

TEST(ParseReply, ResultThatIsNotAnIntegerLeavesResultAlone)
{
    InfoCommClientAdPopUpResult report;
    report.result = 5;
    EXPECT_EQ(2, report.ParseReply("{\"RESULT\":\"7\"}"));
    EXPECT_EQ(2, report.ParseReply("{\"RESULT\":{}}"));
    EXPECT_EQ(2, report.ParseReply("{\"RESULT\":1e20}"));
    EXPECT_EQ(2, report.ParseReply("{\"RESULT\":1.5}"));
    EXPECT_EQ(5, report.result);
}

TEST(ParseReply, DeeplyNestedReplyIsRejectedWithoutEndingTheProcess)
{
    InfoCommClientAdPopUpResult report;
    EXPECT_EQ(1, report.ParseReply(std::string(100000, '[')));
    EXPECT_EQ(1, report.ParseReply(std::string(5000, '[') + std::string(5000, ']')));
}
