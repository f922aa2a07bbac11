// The client log's line format and its daily file.
#include "app/client/ClientLog.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

using namespace TestSupport;
using Qlm::FormatLogLine;
using Qlm::GetLogFilePath;
using Qlm::WriteLog;

namespace
{

std::string Format(const char* tag, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = FormatLogLine(tag, format, args);
    va_end(args);
    return line;
}

const char kHeaderPattern[] = "QMClient \\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} ";

} // namespace

TEST(ClientLogLine, TagIsPaddedToTwentyCharactersThenOneBlank)
{
    const std::string line = Format("QLMNews", "code=%s, return=%d", "A", 100);
    EXPECT_TRUE(
        std::regex_match(line, std::regex(std::string(kHeaderPattern) + "QLMNews {14}code=A, return=100\n")))
        << line;
}

TEST(ClientLogLine, LongTagIsNotCut)
{
    const std::string tag = "AVeryLongModuleNameOver20";
    const std::string line = Format(tag.c_str(), "m");
    EXPECT_TRUE(std::regex_match(line, std::regex(std::string(kHeaderPattern) + tag + " m\n"))) << line;
}

TEST(ClientLogLine, OverlongMessageIsCutBelowTheLineLimit)
{
    const std::string huge(300000, 'x');
    const std::string line = Format("QLMNews", "%s", huge.c_str());
    EXPECT_LT(line.size(), 100000u);
    EXPECT_GT(line.size(), 99000u);
    EXPECT_EQ('\n', line.back());
}

TEST(ClientLogFile, EntriesAppendToTodaysFile)
{
    char path[260] = {};
    ASSERT_TRUE(GetLogFilePath(path, sizeof(path)));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char name[64] = {};
    snprintf(name, sizeof(name), "\\Quillmarsh\\Log\\QuillmarshLog_%d-%02d-%02d.log", now.wYear, now.wMonth,
             now.wDay);
    EXPECT_NE(nullptr, strstr(path, name)) << path;

    std::string before;
    ReadFileBytes(path, before);
    WriteLog("QLMNews", "first %d", 1);
    WriteLog("QLMNews", "second %s", "entry");
    std::string after;
    ASSERT_TRUE(ReadFileBytes(path, after));
    ASSERT_GT(after.size(), before.size());
    const std::vector<std::string> added = SplitLines(after.substr(before.size()));
    ASSERT_EQ(2u, added.size());
    EXPECT_TRUE(std::regex_match(added[0], std::regex(std::string(kHeaderPattern) + "QLMNews {14}first 1")));
    EXPECT_TRUE(
        std::regex_match(added[1], std::regex(std::string(kHeaderPattern) + "QLMNews {14}second entry")));
}
