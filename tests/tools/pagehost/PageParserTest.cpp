// The page subset the host shows: what it keeps of a page, in order, and
// what its limits keep out.
#include "tools/pagehost/PageParser.h"
#include "tools/pagehost/PageHostApi.h"

#include <gtest/gtest.h>

using namespace PageHost;

namespace
{

// The items as "kind:text" (and ":onclick" / ":href" for actions).
std::vector<std::wstring> Items(const CPageContent& content)
{
    static const wchar_t* const kKinds[] = {L"h", L"p", L"a", L"button"};
    std::vector<std::wstring> items;
    for (const CPageItem& item : content.items)
    {
        std::wstring text = std::wstring(kKinds[static_cast<int>(item.kind)]) + L":" + item.text;
        if (item.IsAction())
            text += L":" + item.onclick + L":" + item.href;
        items.push_back(text);
    }
    return items;
}

} // namespace

TEST(PageParser, KeepsTitleHeadingsTextAndActionsInDocumentOrder)
{
    const CPageContent content = CPageParser::Parse(
        L"<!DOCTYPE html><html><head><TITLE> Big   Ad </TITLE><style>p { color: red }</style></head>\n"
        L"<body onload=\"start()\"><H1>Play now</H1><!-- a <b>comment</b> -->\n"
        L"<p>Free <b>today</b>\n only</p><div>More</div>\n"
        L"<a href='javascript:external.ShowUrl(\"x\")'>Open</a>"
        L"<button onclick=external.CloseADFrame()>Close <i>it</i></button>"
        L"<a href=\"http://example.com/\" onclick=\"track()\">Site</a></body></html>");
    EXPECT_EQ(content.title, L"Big Ad");
    EXPECT_EQ(content.onload, L"start()");
    EXPECT_EQ(Items(content), (std::vector<std::wstring>{L"h:Play now", L"p:Free today only", L"p:More",
                                                         L"a:Open::javascript:external.ShowUrl(\"x\")",
                                                         L"button:Close it:external.CloseADFrame():",
                                                         L"a:Site:track():http://example.com/"}));
    EXPECT_EQ(content.refusedActions, 0u);
}

TEST(PageParser, ScriptsKeepTheirTextAndThePageLineTheyStartOn)
{
    const CPageContent content =
        CPageParser::Parse(L"<html>\n<head>\n<script>\nvar a = '<b>' && 1 < 2;\n</script>\n"
                           L"<SCRIPT type=\"text/javascript\">f();</SCRIPT>\n"
                           L"<script language=\"VBScript\">MsgBox 1</script>\n"
                           L"<script src=\"lib.js\"></script>\n"
                           L"<script>unterminated();");
    ASSERT_EQ(content.scripts.size(), 3u);
    EXPECT_EQ(content.scripts[0].code, L"\nvar a = '<b>' && 1 < 2;\n");
    EXPECT_EQ(content.scripts[0].line, 2u);
    EXPECT_EQ(content.scripts[1].code, L"f();");
    EXPECT_EQ(content.scripts[1].line, 5u);
    EXPECT_EQ(content.scripts[2].code, L"unterminated();");
    EXPECT_EQ(content.scripts[2].line, 8u);
    // Another language and an external file are not run.
    EXPECT_EQ(content.refusedScripts, 2u);
    EXPECT_TRUE(content.items.empty());
}

TEST(PageParser, DecodesTheEntitiesOfTheSubsetAndKeepsOthersAsWritten)
{
    const struct
    {
        const wchar_t* text;
        const wchar_t* decoded;
    } cases[] = {
        {L"a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&apos;", L"a & b <c> \"d\" 'e'"},
        {L"&#65;&#x42;&#X43;", L"ABC"},
        {L"&#128512;", L"\xD83D\xDE00"},
        {L"&#0; &#xD800; &#1114112; &#99999999999999999999;",
         L"\xFFFD \xFFFD \xFFFD &#99999999999999999999;"},
        {L"&copy; &amp &#; &#xZZ; &", L"&copy; &amp &#; &#xZZ; &"},
        {L"&nbsp;", L"\xA0"},
    };
    for (const auto& item : cases)
        EXPECT_EQ(CPageParser::DecodeEntities(item.text), item.decoded) << item.text;
    const CPageContent content =
        CPageParser::Parse(L"<button onclick=\"go(&quot;a&amp;b&quot;)\">x &lt; y</button>");
    ASSERT_EQ(content.items.size(), 1u);
    EXPECT_EQ(content.items[0].onclick, L"go(\"a&b\")");
    EXPECT_EQ(content.items[0].text, L"x < y");
}

TEST(PageParser, LimitsKeepTheFirstElementsAndCountTheRest)
{
    std::wstring page;
    for (int i = 0; i < 10000; ++i)
        page += L"<button>b</button><p>t</p>";
    for (int i = 0; i < 100; ++i)
        page += L"<script>x();</script>";
    const CPageContent content = CPageParser::Parse(page);
    size_t actions = 0;
    for (const CPageItem& item : content.items)
        actions += item.IsAction() ? 1 : 0;
    EXPECT_EQ(actions, kMaxActions);
    EXPECT_EQ(content.items.size() - actions, kMaxTextBlocks);
    EXPECT_EQ(content.refusedActions, 10000 - kMaxActions);
    EXPECT_EQ(content.refusedTextBlocks, 10000 - kMaxTextBlocks);
    EXPECT_EQ(content.scripts.size(), kMaxScriptBlocks);
    EXPECT_EQ(content.refusedScripts, 100 - kMaxScriptBlocks);
}

TEST(PageParser, BrokenMarkupEndsWhatIsOpenWithoutLosingText)
{
    const struct
    {
        const wchar_t* page;
        std::vector<std::wstring> items;
    } cases[] = {
        {L"<button onclick=\"a()\">Go", {L"button:Go:a():"}},
        {L"<a href=\"javascript:b()\">One<button>Two</button>", {L"a:One::javascript:b()", L"button:Two::"}},
        {L"1 < 2 and <3 <", {L"p:1 < 2 and <3 <"}},
        {L"<h2>Head<p>after", {L"h:Head", L"p:after"}},
        {L"<p title=\"unclosed>text", {}},
        {L"</p></a></button>tail", {L"p:tail"}},
        {L"<button", {L"button:::"}},
        {L"", {}},
    };
    for (const auto& item : cases)
        EXPECT_EQ(Items(CPageParser::Parse(item.page)), item.items) << item.page;
}

TEST(PageParser, LongTextsAreCutAndTextPastThePageLimitIsRefused)
{
    const std::wstring word(kMaxBlockChars + 500, L'w');
    std::wstring page = L"<title>" + word + L"</title><button>" + word + L"</button>";
    const size_t blocks = kMaxPageTextChars / kMaxBlockChars + 3;
    for (size_t i = 0; i < blocks; ++i)
        page += L"<p>" + word + L"</p>";
    const CPageContent content = CPageParser::Parse(page);
    EXPECT_EQ(content.title.size(), kMaxBlockChars);
    ASSERT_FALSE(content.items.empty());
    EXPECT_EQ(content.items[0].text.size(), kMaxBlockChars);
    const size_t kept = kMaxPageTextChars / kMaxBlockChars;
    EXPECT_EQ(content.items.size(), 1 + kept);
    EXPECT_EQ(content.refusedTextBlocks, blocks - kept);
    EXPECT_EQ(content.cutTexts, 2 + blocks);
}
