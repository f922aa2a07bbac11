#include "app/client/LaunchLog.h"
#include "app/client/NarrowText.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

using namespace TestSupport;
using Qlm::WideToAnsi;
using Qlm::WideToNarrow;

TEST(WideToAnsi, ConvertsRepresentableText)
{
    EXPECT_EQ("", WideToAnsi(L""));
    EXPECT_EQ("key-123 channel", WideToAnsi(L"key-123 channel"));
}

TEST(WideToAnsi, KeepsTheWholeTextAndMarksWhatTheCodePageLacks)
{
    // Runic letters exist in no ANSI code page.
    const std::string missing = DefaultCharacterOf(CP_ACP);
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ("k1" + missing + "x", WideToAnsi(L"k1\u16A0x"));
    EXPECT_EQ(missing + "cd", WideToAnsi(L"\u16A0cd"));
    // Keys that differ only in such a character stay apart from the key
    // without it.
    EXPECT_NE(WideToAnsi(L"k1"), WideToAnsi(L"k1\u16A0"));
    // The text ends where the wide text has a NUL.
    EXPECT_EQ("ab", WideToAnsi(std::wstring(L"ab\0cd", 5)));
}

TEST(WideToNarrow, EveryCodePageGetsTheWholeText)
{
    struct CCase
    {
        UINT codePage;
        const wchar_t* wide;
        std::string narrow;
    };
    // UTF-8 and UTF-7 refuse a caller's default character outright; the
    // code pages that lack a character put their own default in its place.
    const CCase cases[] = {
        {CP_UTF8, L"k1\u16A0x", "k1\xE1\x9A\xA0x"},
        {CP_UTF7, L"k1\u16A0x", "k1+FqA-x"},
        {1252, L"k1\u16A0x\u00E9", "k1" + DefaultCharacterOf(1252) + "x\xE9"},
        {936, L"\u4E2D\u16A0", "\xD6\xD0" + DefaultCharacterOf(936)},
        {CP_UTF8, L"", ""},
    };
    for (const CCase& c : cases)
    {
        const std::wstring wide(c.wide);
        EXPECT_EQ(c.narrow, WideToNarrow(wide.data(), wide.size(), c.codePage)) << c.codePage;
    }
}

TEST(MsgLog, AppendsTimeTabMessageAndCrLf)
{
    const size_t offset = MsgLogSize();
    Qlm::CLaunchLog launchLog;
    launchLog.MsgLog(L"Msg cmd = %ls, num = %d", L"a b \u16A0", 2);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(MsgLogPath(), bytes));
    const std::string added = bytes.substr(offset);
    // The unrepresentable character is replaced, not allowed to cut the line.
    EXPECT_TRUE(std::regex_match(added, std::regex("\\d{2}:\\d{2}:\\d{2}\tMsg cmd = a b \\?, num = 2\r\n")))
        << added;
}
