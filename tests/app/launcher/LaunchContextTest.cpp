#include "app/launcher/LaunchContext.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

using namespace TestSupport;

TEST(WideToAnsi, ConvertsRepresentableText)
{
    EXPECT_EQ("", WideToAnsi(L""));
    EXPECT_EQ("key-123 channel", WideToAnsi(L"key-123 channel"));
}

TEST(WideToAnsi, TextEndsAtTheFirstCharacterTheCodePageLacks)
{
    // Runic letters exist in no ANSI code page.
    EXPECT_EQ("ab", WideToAnsi(L"ab\u16A0cd"));
    EXPECT_EQ("", WideToAnsi(L"\u16A0cd"));
    EXPECT_EQ("ab", WideToAnsi(std::wstring(L"ab\0cd", 5)));
}

TEST(MsgLog, AppendsTimeTabMessageAndCrLf)
{
    const size_t offset = MsgLogSize();
    CLaunchContext::GetInstance().MsgLog(L"Msg cmd = %ls, num = %d", L"a b \u16A0", 2);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(MsgLogPath(), bytes));
    const std::string added = bytes.substr(offset);
    // The unrepresentable character is replaced, not allowed to cut the line.
    EXPECT_TRUE(std::regex_match(added, std::regex("\\d{2}:\\d{2}:\\d{2}\tMsg cmd = a b \\?, num = 2\r\n")))
        << added;
}
