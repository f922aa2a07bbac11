// Our command-line split against the system's CommandLineToArgvW: the same
// arguments for hand-picked lines and for a large corpus of random ones.
#include "app/launcher/CommandLineSplit.h"

#include "tests/veneer/resource/HostileInput.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

using namespace Qlm;

namespace
{

using Arguments = std::vector<std::wstring>;

Arguments SystemSplit(const std::wstring& commandLine)
{
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(commandLine.c_str(), &count);
    Arguments arguments;
    if (argv == nullptr)
        return arguments;
    arguments.assign(argv, argv + count);
    LocalFree(argv);
    return arguments;
}

// Lines made of what the rules care about (quotes, backslashes, blanks) and
// of what they must leave alone (letters, other white space, non-ASCII).
std::wstring RandomLine(Rng& rng)
{
    static const wchar_t kAlphabet[] = L"\"\"\"\"\\\\\\\\    \t\tab\n\r'\u00E9\u4E2D\U0001F600";
    const size_t alphabetSize = sizeof(kAlphabet) / sizeof(kAlphabet[0]) - 1;
    const uint32_t length = 1 + rng.Below(rng.Below(4) == 0 ? 60 : 14);
    std::wstring line;
    for (uint32_t i = 0; i < length; ++i)
        line += kAlphabet[rng.Below(static_cast<uint32_t>(alphabetSize))];
    return line;
}

std::string Escaped(const std::wstring& text)
{
    std::string out;
    for (const wchar_t c : text)
    {
        if (c >= 0x20 && c < 0x7F)
            out += static_cast<char>(c);
        else
            out += "\\x" + std::to_string(static_cast<unsigned>(c));
    }
    return out;
}

} // namespace

TEST(CommandLineSplit, HandPickedLinesGiveTheseArguments)
{
    struct Case
    {
        const wchar_t* line;
        Arguments expected;
    };
    const Case cases[] = {
        {L"http://ad/x key chan", {L"http://ad/x", L"key", L"chan"}},
        {L"\"C:\\Program Files\\a.exe\" b", {L"C:\\Program Files\\a.exe", L"b"}},
        // The first argument: no escapes, and a quoted one ends at its quote.
        {L"\"abc\"def ghi", {L"abc", L"def", L"ghi"}},
        {L"\"\\\\server\\share\\\" a", {L"\\\\server\\share\\", L"a"}},
        {L"ab\"c d\"e f", {L"ab\"c", L"de f"}},
        {L"\"unterminated name", {L"unterminated name"}},
        {L" a b", {L"", L"a", L"b"}},
        {L"\"\" k1 c1", {L"", L"k1", L"c1"}},
        {L"x\ty\t ", {L"x", L"y"}},
        // The others: backslashes count only in front of a quote.
        {L"x a\\b\\\\c d\\", {L"x", L"a\\b\\\\c", L"d\\"}},
        {L"x a\\\"b", {L"x", L"a\"b"}},
        {L"x a\\\\\\\"b", {L"x", L"a\\\"b"}},
        {L"x a\\\\\"b c\"", {L"x", L"a\\b c"}},
        // Quotes right after a closing quote, empty and unterminated quotes.
        {L"x \"a\"\"b\" c", {L"x", L"a\"b c"}},
        {L"x \"\"\"\"", {L"x", L"\""}},
        {L"x \"\"\"", {L"x", L"\""}},
        {L"x \"\" \"\"", {L"x", L"", L""}},
        {L"x \"open arg", {L"x", L"open arg"}},
        // Only spaces and tabs separate.
        {L"x a\nb\rc\u3000d", {L"x", L"a\nb\rc\u3000d"}},
        {L"x \u00E9 \"\u4E2D \u6587\"", {L"x", L"\u00E9", L"\u4E2D \u6587"}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.expected, SplitCommandLine(c.line)) << Escaped(c.line);
        EXPECT_EQ(SystemSplit(c.line), SplitCommandLine(c.line)) << Escaped(c.line);
    }
}

TEST(CommandLineSplit, EmptyLineGivesTheProgramPath)
{
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, path, MAX_PATH));
    EXPECT_EQ(Arguments{path}, SplitCommandLine(L""));
    EXPECT_EQ(SystemSplit(L""), SplitCommandLine(L""));
    EXPECT_EQ(Arguments{path}, SplitCommandLine(nullptr));
}

TEST(CommandLineSplit, RandomLinesSplitAsTheSystemSplitsThem)
{
    Rng rng(20240101);
    int mismatches = 0;
    for (int i = 0; i < 200000 && mismatches < 10; ++i)
    {
        const std::wstring line = RandomLine(rng);
        const Arguments expected = SystemSplit(line);
        ASSERT_FALSE(expected.empty());
        if (SplitCommandLine(line.c_str()) != expected)
        {
            ++mismatches;
            ADD_FAILURE() << "line " << i << ": " << Escaped(line);
        }
    }
    EXPECT_EQ(0, mismatches);
}
