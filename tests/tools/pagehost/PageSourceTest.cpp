// Which addresses the host loads, and how it reads a page file: within its
// size limit and in the page's own encoding.
#include "tools/pagehost/PageSource.h"
#include "tests/support/TestSupport.h"
#include "tools/pagehost/PageHostApi.h"

#include <gtest/gtest.h>

using namespace PageHost;

TEST(PageSource, OnlyAboutBlankAndLocalFilesAreLoaded)
{
    const struct
    {
        const wchar_t* address;
        CPageSource::Kind kind;
        const wchar_t* path;
    } cases[] = {
        {L"about:blank", CPageSource::Kind::Blank, L""},
        {L"About:Blank", CPageSource::Kind::Blank, L""},
        {L"C:\\ads\\page.html", CPageSource::Kind::File, L"C:\\ads\\page.html"},
        {L"c:/ads/page.html", CPageSource::Kind::File, L"c:/ads/page.html"},
        {L"\\\\server\\share\\page.html", CPageSource::Kind::File, L"\\\\server\\share\\page.html"},
        {L"file:///C:/ads/my%20page.html", CPageSource::Kind::File, L"C:\\ads\\my page.html"},
        {L"http://ads.example.com/", CPageSource::Kind::Unsupported, L""},
        {L"https://ads.example.com/", CPageSource::Kind::Unsupported, L""},
        {L"about:home", CPageSource::Kind::Unsupported, L""},
        {L"page.html", CPageSource::Kind::Unsupported, L""},
        {L"javascript:alert(1)", CPageSource::Kind::Unsupported, L""},
        {L"", CPageSource::Kind::Unsupported, L""},
    };
    for (const auto& item : cases)
    {
        std::wstring path;
        EXPECT_EQ(CPageSource::Resolve(item.address, path), item.kind) << item.address;
        EXPECT_EQ(path, item.path) << item.address;
    }
}

TEST(PageSource, FilesUpToTheLimitLoadAndLargerOnesAreRefused)
{
    TestSupport::CScratchFolder folder;
    const std::string atLimit = folder.File("limit.html");
    const std::string over = folder.File("over.html");
    ASSERT_TRUE(TestSupport::WriteFileBytes(atLimit, std::string(kMaxPageBytes, 'a')));
    ASSERT_TRUE(TestSupport::WriteFileBytes(over, std::string(kMaxPageBytes + 1, 'a')));
    std::wstring text;
    std::wstring problem;
    EXPECT_EQ(CPageSource::Load(std::wstring(atLimit.begin(), atLimit.end()), text, problem), S_OK);
    EXPECT_EQ(text.size(), kMaxPageBytes);
    EXPECT_EQ(CPageSource::Load(std::wstring(over.begin(), over.end()), text, problem), kStatusRefused);
    EXPECT_TRUE(text.empty());
    EXPECT_NE(problem.find(L"1048577 bytes"), std::wstring::npos) << problem;

    const std::string missing = folder.File("missing.html");
    EXPECT_EQ(CPageSource::Load(std::wstring(missing.begin(), missing.end()), text, problem),
              kStatusNotFound);
    EXPECT_EQ(CPageSource::Load(L"http://ads.example.com/", text, problem), kStatusNotFound);
    EXPECT_EQ(CPageSource::Load(L"", text, problem), kStatusInvalidUrl);
}

TEST(PageSource, PageBytesAreReadInTheirEncoding)
{
    const struct
    {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"plain", L"plain"},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9",
         L"caf\xE9"},
        {"caf\xC3\xA9", L"caf\xE9"},
        {std::string("\xFF\xFEh\0i\0", 6), L"hi"},
        {std::string("\xFF\xFEh\0i", 5), L"h"},
        {"", L""},
    };
    for (const auto& item : cases)
        EXPECT_EQ(CPageSource::Decode(item.bytes), item.text) << item.bytes;
    // Bytes that are not UTF-8 are read in the ANSI code page.
    const std::wstring ansi = CPageSource::Decode("caf\xE9");
    ASSERT_EQ(ansi.size(), 4u);
    EXPECT_EQ(ansi.substr(0, 3), L"caf");
}
