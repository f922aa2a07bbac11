// The nesting guard against the parser it protects. Every input is judged by
// MaxElementDepth and by TinyXML itself, which parses on a thread whose stack
// takes any depth; the depth of the tree TinyXML built must equal the
// guard's answer, input by input.
#include "app/client/XmlNesting.h"

#include "app/client/LogText.h"

#include <gtest/gtest.h>
#include <tinyxml.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace Qlm;

namespace
{

// TinyXML recurses once per nested element (its parse, and the deletion of
// the tree); this stack takes the deepest input below with room to spare.
constexpr SIZE_T kParserStackBytes = SIZE_T(512) * 1024 * 1024;
constexpr DWORD kParserTimeoutMs = 120000;

// The deepest chain of elements in a tree, walked without recursion.
size_t TreeDepth(const TiXmlNode& root)
{
    size_t deepest = 0;
    std::vector<std::pair<const TiXmlNode*, size_t>> pending{{&root, 0}};
    while (!pending.empty())
    {
        const std::pair<const TiXmlNode*, size_t> item = pending.back();
        pending.pop_back();
        for (const TiXmlNode* child = item.first->FirstChild(); child != nullptr;
             child = child->NextSibling())
        {
            if (child->ToElement() == nullptr)
                continue;
            deepest = std::max(deepest, item.second + 1);
            pending.emplace_back(child, item.second + 1);
        }
    }
    return deepest;
}

struct CParserRun
{
    const std::vector<std::string>* inputs = nullptr;
    std::vector<size_t> depths;
};

DWORD WINAPI ParseEach(void* parameter)
{
    CParserRun& run = *static_cast<CParserRun*>(parameter);
    for (const std::string& input : *run.inputs)
    {
        // Built and deleted here: deleting a deep tree recurses as well.
        TiXmlDocument document;
        const std::string text = TinyXmlInput(input);
        document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
        run.depths.push_back(TreeDepth(document));
    }
    return 0;
}

// The depth of the tree TinyXML builds from each input, as the program hands
// it a file's bytes.
bool ParserDepths(const std::vector<std::string>& inputs, std::vector<size_t>& depths)
{
    CParserRun run;
    run.inputs = &inputs;
    const HANDLE thread =
        CreateThread(nullptr, kParserStackBytes, ParseEach, &run, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr)
        return false;
    const bool ended = WaitForSingleObject(thread, kParserTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    depths = run.depths;
    return ended && depths.size() == inputs.size();
}

std::string Printable(const std::string& input)
{
    const std::string shown = EscapeToAscii(input.substr(0, 300));
    return input.size() > 300 ? shown + "... (" + std::to_string(input.size()) + " bytes)" : shown;
}

// Judges every input both ways; lists the first disagreements.
void ExpectGuardAgreesWithParser(const std::vector<std::string>& inputs)
{
    std::vector<size_t> parsed;
    ASSERT_TRUE(ParserDepths(inputs, parsed));
    size_t disagreements = 0;
    for (size_t i = 0; i < inputs.size(); ++i)
    {
        const size_t guarded = MaxElementDepth(inputs[i]);
        if (guarded == parsed[i])
            continue;
        if (++disagreements <= 10)
            ADD_FAILURE() << "TinyXML reaches depth " << parsed[i] << ", the guard says " << guarded
                          << " for " << Printable(inputs[i]);
    }
    EXPECT_EQ(0u, disagreements) << "of " << inputs.size() << " inputs";
}

std::string Repeat(const std::string& unit, size_t count)
{
    std::string text;
    text.reserve(unit.size() * count);
    for (size_t i = 0; i < count; ++i)
        text += unit;
    return text;
}

// Pieces of markup, whole and broken, that the generated inputs are made of:
// declarations, processing instructions, comments, CDATA, DOCTYPE and other
// unknown constructs, quotes and brackets in odd places, entity references,
// names TinyXML does and does not take for elements, line breaks, a byte
// order mark and bytes of multi-byte characters.
const std::string kPieces[] = {
    "<a>",
    "</a>",
    "<b>",
    "</b>",
    "<a/>",
    "<b />",
    "<a x='1'>",
    "<a x=\"2\" y='3'>",
    "<a x=1>",
    "<a x='1' x='2'>",
    "<a x='>'>",
    "<a x=\"'\">",
    "<?xml version='1.0'?>",
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
    "<?xml encoding='gb2312' standalone='yes'?>",
    "<?XML encoding='x'>",
    "<?x>",
    "<?x ?>",
    "<?",
    "?>",
    "<!-- c -->",
    "<!-- <a> -->",
    "<!--",
    "-->",
    "<![CDATA[",
    "]]>",
    "<![CDATA[<a>]]>",
    "<!DOCTYPE r>",
    "<!DOCTYPE r [<!ENTITY e 'v'>]>",
    "<!",
    "<!x '>",
    "<1 '>",
    "<_u>",
    "</_u>",
    "<-a>",
    "< a>",
    "</ a>",
    "</a >",
    "</a",
    "<a\n>",
    "'",
    "\"",
    ">",
    "<",
    "/",
    "/>",
    "=",
    "&amp;",
    "&lt;",
    "&#x41;",
    "&#65;",
    "&#x;",
    "&#;",
    "&#x<",
    "&",
    ";",
    "text",
    " ",
    "\n",
    "\r\n",
    "\r",
    "\t",
    "\xEF\xBB\xBF",
    "\xEF\xBF\xBE",
    "\xE9",
    "\xF0",
    "\xC3\xA9",
    "\xE4\xB8\xAD",
    "<\xE4\xB8\xAD>",
    "a",
    "_",
    "-",
    ".",
    ":",
    "1",
    std::string(1, '\0'),
};

// Bytes that change how markup reads, for mutating whole files.
const char kSignificant[] = "<>/?!-[]'\"=&;# \r\nax1_\xC3\xF0";

const char kConfigFile[] = "<?xml version=\"1.0\" encoding=\"gb2312\" standalone=\"yes\" ?>\n"
                           "<ServiceDataInfo>\n"
                           "    <Datas />\n"
                           "    <Configs>\n"
                           "        <ShowAdTime value=\"* * * * *\" />\n"
                           "        <MaxSendADay value=\"3\" />\n"
                           "        <LastShowKey value=\"\" />\n"
                           "        <NotShowToday value=\"1\" />\n"
                           "    </Configs>\n"
                           "    <!-- kept -->\n"
                           "    <AdInfo><![CDATA[<x>]]>&amp;</AdInfo>\n"
                           "</ServiceDataInfo>\n";

class CInputMaker
{
  public:
    explicit CInputMaker(unsigned seed) : random(seed) {}

    size_t Below(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(random); }

    const std::string& Piece() { return kPieces[Below(sizeof(kPieces) / sizeof(kPieces[0]))]; }

    // A run of random pieces, sometimes after a deep run of elements so that
    // depths beyond any limit are compared as well.
    std::string TagSoup()
    {
        std::string text;
        if (Below(8) == 0)
            text = Repeat(Below(2) == 0 ? "<a>" : "<b x='1'>", 200 + Below(200));
        const size_t pieces = 1 + Below(40);
        for (size_t i = 0; i < pieces; ++i)
            text += Piece();
        return text;
    }

    // The configuration file with a few bytes inserted, removed or changed.
    std::string MutatedConfig()
    {
        std::string text = kConfigFile;
        const size_t changes = 1 + Below(4);
        for (size_t i = 0; i < changes; ++i)
        {
            const size_t at = Below(text.size() + 1);
            switch (Below(3))
            {
            case 0:
                text.insert(at, Piece());
                break;
            case 1:
                text.erase(at, 1 + Below(6));
                break;
            default:
                if (at < text.size())
                    text[at] = kSignificant[Below(sizeof(kSignificant) - 1)];
                break;
            }
        }
        return text;
    }

  private:
    std::mt19937 random;
};

} // namespace

TEST(XmlNesting, CountsOnlyRealElements)
{
    EXPECT_EQ(3u, MaxElementDepth("<?xml version=\"1.0\"?><r><c><s v=\"1\" /></c><d /></r>"));
    EXPECT_EQ(1u, MaxElementDepth("<r><!-- <a><b><c> --></r>"));
    EXPECT_EQ(1u, MaxElementDepth("<r><![CDATA[<a><b>]]></r>"));
    EXPECT_EQ(1u, MaxElementDepth("<r v=\"<a> />\" w='>'></r>"));
    EXPECT_EQ(2u, MaxElementDepth("<!DOCTYPE r><r><a>"));
}

TEST(XmlNesting, ConstructsThatEndAtTheFirstBracketHideNoDepth)
{
    // TinyXML ends "<?x" (not a declaration) and "<1" (not an element name)
    // at the next '>', quotes or not: everything after them is elements.
    // TinyXML's time grows with the square of the depth, so the parser
    // judges these at a twentieth of the depth that broke the old guard.
    const size_t deep = 10000;
    const std::vector<std::string> inputs = {
        "<?x>" + Repeat("<a>", deep) + "?>",
        "<1 '>" + Repeat("<a>", deep) + "'",
        "<!x '>" + Repeat("<a>", deep) + "'",
        "<r>" + Repeat("<?p '>" + std::string("<a>"), 3000) + "'",
    };
    ExpectGuardAgreesWithParser(inputs);
    EXPECT_EQ(deep, MaxElementDepth(inputs[0]));
    EXPECT_EQ(deep, MaxElementDepth(inputs[1]));
    // At full depth the guard is as exact, and quick: it does not recurse.
    EXPECT_EQ(200000u, MaxElementDepth("<?x>" + Repeat("<a>", 200000) + "?>"));
    EXPECT_EQ(200000u, MaxElementDepth("<1 '>" + Repeat("<a>", 200000) + "'"));
}

TEST(XmlNesting, DeepNestingOfEveryConstructAgreesWithTheParser)
{
    // Each unit repeated opens (or fails to open) one more level.
    const char* const units[] = {
        "<a>",       "<a x='>'>",       "<a x=\"/>\">", "<a><!-- > -->", "<a><?p >",       "<a><![CDATA[>]]>",
        "<a>t&amp;", "<a><!DOCTYPE '>", "<_:a.b-c>",    "<a\n\t>",       "<\xE4\xB8\xAD>", "<a/><a>",
        "<a x=1>",   "<a x='1' x='1'>", "<a x=1'>",     "<a></a><a>",    "<a>&#x41;",
    };
    std::vector<std::string> inputs;
    for (const char* unit : units)
    {
        inputs.push_back(Repeat(unit, 3000));
        inputs.push_back("<?xml version='1.0' encoding='UTF-8'?>" + Repeat(unit, 300) + "\xF0");
        inputs.push_back("\xEF\xBB\xBF" + Repeat(unit, 300) + Repeat("</a>", 300));
    }
    ExpectGuardAgreesWithParser(inputs);
}

TEST(XmlNesting, GeneratedTagSoupAgreesWithTheParser)
{
    CInputMaker maker(20240611);
    std::vector<std::string> inputs;
    for (int i = 0; i < 4000; ++i)
        inputs.push_back(maker.TagSoup());
    ExpectGuardAgreesWithParser(inputs);
}

TEST(XmlNesting, MutatedConfigurationFilesAgreeWithTheParser)
{
    CInputMaker maker(7);
    std::vector<std::string> inputs = {kConfigFile};
    for (int i = 0; i < 3000; ++i)
        inputs.push_back(maker.MutatedConfig());
    ExpectGuardAgreesWithParser(inputs);
}

TEST(XmlNesting, ParserInputIsTheFileAsLoadFileReadsIt)
{
    // Line breaks become "\n", the text ends at its first NUL, and zero
    // bytes follow it.
    const std::string input = TinyXmlInput(std::string("<a>\r\n<b>\r</b>\n</a>\0<c>", 22));
    EXPECT_STREQ("<a>\n<b>\n</b>\n</a>", input.c_str());
    ASSERT_GE(input.size(), std::string("<a>\n<b>\n</b>\n</a>").size() + 4);
    EXPECT_EQ(std::string(4, '\0'), input.substr(input.size() - 4));
}
