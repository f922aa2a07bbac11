#include "veneer/markup/Markup.h"
#include "tests/veneer/markup/MarkupTestAccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Veneer::CMarkup;
using Veneer::CMarkupNode;
using Veneer::CMarkupTestAccess;

namespace
{

std::wstring ErrorMessage(const CMarkup& markup)
{
    wchar_t sz[100] = {};
    markup.GetLastErrorMessage(sz, _countof(sz));
    return sz;
}

std::wstring ErrorLocation(const CMarkup& markup)
{
    wchar_t sz[50] = {};
    markup.GetLastErrorLocation(sz, _countof(sz));
    return sz;
}

std::vector<BYTE> Utf16Bytes(const std::wstring& text, bool bBigEndian)
{
    std::vector<BYTE> bytes = bBigEndian ? std::vector<BYTE>{0xFE, 0xFF} : std::vector<BYTE>{0xFF, 0xFE};
    for (wchar_t ch : text)
    {
        const BYTE bLow = static_cast<BYTE>(ch & 0xFF);
        const BYTE bHigh = static_cast<BYTE>(ch >> 8);
        bytes.push_back(bBigEndian ? bHigh : bLow);
        bytes.push_back(bBigEndian ? bLow : bHigh);
    }
    return bytes;
}

const wchar_t kSkin[] = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                        L"<!-- the pop-up frame -->\r\n"
                        L"<Window size=\"380,265\" caption=\"0,0,0,30\">\r\n"
                        L"  <Font name=\"\u5fae\u8f6f\u96c5\u9ed1\" size=\"12\" default=\"true\" />\r\n"
                        L"  <VerticalLayout bkcolor=\"#FFFFFFFF\">\r\n"
                        L"    <!-- buttons -->\r\n"
                        L"    <Button name=\"close\" text=\"&lt;x&gt;\"/>\r\n"
                        L"    <Label name=\"title\" text=\"a &amp; b\">Hello \u4e16\u754c</Label>\r\n"
                        L"  </VerticalLayout>\r\n"
                        L"</Window>\r\n";

} // namespace

TEST(MarkupNavigation, TreeOfASkinIsWalkedByChildSiblingAndParent)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(kSkin)) << ErrorMessage(markup);
    CMarkupNode root = markup.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_FALSE(root.HasSiblings());
    EXPECT_FALSE(root.GetParent().IsValid());

    CMarkupNode font = root.GetChild();
    EXPECT_STREQ(L"Font", font.GetName());
    EXPECT_STREQ(L"\u5fae\u8f6f\u96c5\u9ed1", font.GetAttributeValue(L"name"));
    EXPECT_STREQ(L"", font.GetValue());
    EXPECT_FALSE(font.HasChildren());

    CMarkupNode layout = font.GetSibling();
    EXPECT_STREQ(L"VerticalLayout", layout.GetName());
    EXPECT_FALSE(layout.HasSiblings());
    EXPECT_FALSE(layout.GetSibling().IsValid());
    EXPECT_STREQ(L"Window", layout.GetParent().GetName());

    CMarkupNode label = layout.GetChild(L"Label");
    ASSERT_TRUE(label.IsValid());
    EXPECT_STREQ(L"Hello \u4e16\u754c", label.GetValue());
    EXPECT_STREQ(L"a & b", label.GetAttributeValue(L"text"));
    EXPECT_STREQ(L"<x>", layout.GetChild(L"Button").GetAttributeValue(L"text"));
    EXPECT_STREQ(L"VerticalLayout", label.GetParent().GetName());

    EXPECT_FALSE(layout.GetChild(L"label").IsValid()) << "names compare case-sensitively";
    EXPECT_FALSE(label.GetChild().IsValid());
}

TEST(MarkupNavigation, AttributesAreReadInDocumentOrderByIndexAndName)
{
    CMarkup markup(L"<Button name=\"ok\" text=\"OK\" width=\"60\"/>");
    CMarkupNode button = markup.GetRoot();
    ASSERT_EQ(3, button.GetAttributeCount());
    EXPECT_TRUE(button.HasAttributes());
    EXPECT_STREQ(L"name", button.GetAttributeName(0));
    EXPECT_STREQ(L"ok", button.GetAttributeValue(0));
    EXPECT_STREQ(L"width", button.GetAttributeName(2));
    EXPECT_STREQ(L"60", button.GetAttributeValue(2));
    EXPECT_STREQ(L"", button.GetAttributeName(3));
    EXPECT_STREQ(L"", button.GetAttributeValue(-1));
    EXPECT_STREQ(L"", button.GetAttributeValue(L"height"));
    EXPECT_TRUE(button.HasAttribute(L"text"));
    EXPECT_FALSE(button.HasAttribute(L"Text"));

    wchar_t sz[8] = {L'#', L'#', L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_TRUE(button.GetAttributeValue(L"text", sz, 8));
    EXPECT_STREQ(L"OK", sz);
    EXPECT_TRUE(button.GetAttributeValue(0, sz, 8));
    EXPECT_STREQ(L"ok", sz);
    EXPECT_FALSE(button.GetAttributeValue(L"missing", sz, 8));
    EXPECT_FALSE(button.GetAttributeValue(7, sz, 8));
}

TEST(MarkupNavigation, BoundedCopiesAreCutAndTerminated)
{
    CMarkup markup(L"<Button text=\"abcdefgh\"/>");
    CMarkupNode button = markup.GetRoot();
    wchar_t sz[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_TRUE(button.GetAttributeValue(L"text", sz, 5));
    EXPECT_EQ(std::wstring(L"abcd\0#", 6), std::wstring(sz, 6));
    EXPECT_TRUE(button.GetAttributeValue(0, sz, 1));
    EXPECT_EQ(L'\0', sz[0]);
    EXPECT_EQ(L'b', sz[1]) << "nothing is written past the buffer";
    sz[0] = L'#';
    EXPECT_TRUE(button.GetAttributeValue(0, sz, 0));
    EXPECT_EQ(L'#', sz[0]) << "a buffer of no characters is left alone";
}

TEST(MarkupNavigation, AttributesMappedBeforeAReloadAreMappedAgain)
{
    CMarkup markup(L"<Window caption=\"0,0,0,30\" size=\"380,265\" roundcorner=\"4,4\" mininfo=\"80,60\"/>");
    CMarkupNode root = markup.GetRoot();
    ASSERT_EQ(4, root.GetAttributeCount());
    ASSERT_STREQ(L"80,60", root.GetAttributeValue(3));

    // The same element index in a shorter text with fewer attributes.
    ASSERT_TRUE(markup.Load(L"<w x=\"1\"/>"));
    EXPECT_EQ(1, root.GetAttributeCount());
    EXPECT_STREQ(L"x", root.GetAttributeName(0));
    EXPECT_STREQ(L"1", root.GetAttributeValue(0));
    EXPECT_STREQ(L"", root.GetAttributeValue(3));
    EXPECT_STREQ(L"", root.GetAttributeValue(L"mininfo"));
    EXPECT_STREQ(L"1", root.GetAttributeValue(L"x"));

    // A reload that gives the element no attributes at all.
    ASSERT_TRUE(markup.Load(L"<w/>"));
    EXPECT_EQ(0, root.GetAttributeCount());
    EXPECT_FALSE(root.HasAttribute(L"x"));
}

TEST(MarkupNavigation, InvalidNodeAnswersNullAndFalse)
{
    CMarkupNode node;
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(nullptr, node.GetName());
    EXPECT_EQ(nullptr, node.GetValue());
    EXPECT_EQ(nullptr, node.GetAttributeName(0));
    EXPECT_EQ(nullptr, node.GetAttributeValue(0));
    EXPECT_EQ(nullptr, node.GetAttributeValue(L"x"));
    EXPECT_EQ(0, node.GetAttributeCount());
    EXPECT_FALSE(node.GetChild().IsValid());
    EXPECT_FALSE(node.GetChild(L"x").IsValid());
    wchar_t sz[4] = {};
    EXPECT_FALSE(node.GetAttributeValue(L"x", sz, 4));
}

TEST(MarkupNavigation, NodeOfAReleasedMarkupReadsNothing)
{
    CMarkup markup(L"<a x=\"1\"><b/></a>");
    CMarkupNode child = markup.GetRoot().GetChild();
    ASSERT_STREQ(L"b", child.GetName());
    markup.Load(L"<c/>");
    EXPECT_EQ(nullptr, child.GetName()) << "element 2 no longer exists";
    markup.Release();
    CMarkupNode root = markup.GetRoot();
    EXPECT_FALSE(root.IsValid());
}

TEST(MarkupNavigation, SixtyFifthAttributeIsNotVisible)
{
    std::wstring xml = L"<Control";
    for (int i = 0; i < 70; ++i)
        xml += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i * 10) + L"\"";
    xml += L"/>";
    CMarkup markup(xml.c_str());
    CMarkupNode node = markup.GetRoot();
    EXPECT_EQ(64, node.GetAttributeCount());
    EXPECT_STREQ(L"630", node.GetAttributeValue(L"a63"));
    EXPECT_FALSE(node.HasAttribute(L"a64"));
    EXPECT_STREQ(L"", node.GetAttributeValue(64));
}

TEST(MarkupNavigation, ElementTableGrowsByHalfItsSizePlusFiveHundred)
{
    // Elements: the placeholder, the root and its children.
    const struct
    {
        int nChildren;
        ULONG nReserved;
    } cases[] = {{498, 500}, {499, 1250}, {1248, 1250}, {1249, 2375}, {2400, 4062}};
    for (const auto& c : cases)
    {
        std::wstring xml = L"<List>";
        for (int i = 0; i < c.nChildren; ++i)
            xml += L"<Item id=\"" + std::to_wstring(i) + L"\"/>";
        xml += L"</List>";
        CMarkup markup;
        ASSERT_TRUE(markup.Load(xml.c_str())) << c.nChildren;
        EXPECT_EQ(c.nReserved, CMarkupTestAccess::ReservedElements(markup)) << c.nChildren;
        int nSeen = 0;
        for (CMarkupNode item = markup.GetRoot().GetChild(); item.IsValid(); item = item.GetSibling())
        {
            ASSERT_EQ(std::to_wstring(nSeen), item.GetAttributeValue(L"id"));
            ++nSeen;
        }
        EXPECT_EQ(c.nChildren, nSeen);
    }
}

TEST(MarkupParsing, WhitespaceOrCommentsOnlyLoadWithoutRoot)
{
    for (const wchar_t* pstr :
         {L"", L"  \r\n\t ", L"<!-- only a comment -->", L"<?xml version=\"1.0\"?>\n<!---->"})
    {
        CMarkup markup;
        EXPECT_TRUE(markup.Load(pstr)) << pstr;
        EXPECT_TRUE(markup.IsValid());
        EXPECT_FALSE(markup.GetRoot().IsValid());
    }
}

TEST(MarkupParsing, CommentsAndDeclarationsBetweenElementsAreSkipped)
{
    CMarkup markup(L"<a><!-- one --><b/><?pi x?><!-><c/><!- -></a>");
    CMarkupNode b = markup.GetRoot().GetChild();
    EXPECT_STREQ(L"b", b.GetName());
    EXPECT_STREQ(L"c", b.GetSibling().GetName());
    EXPECT_FALSE(b.GetSibling().HasSiblings());
}

TEST(MarkupParsing, UnclosedRootAtTheEndIsAccepted)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<Window size=\"1,2\">\n  <Button text=\"a\"/>\n  <Label>hi</Label>\n"));
    CMarkupNode root = markup.GetRoot();
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_STREQ(L"1,2", root.GetAttributeValue(L"size"));
    EXPECT_STREQ(L"hi", root.GetChild(L"Label").GetValue());

    ASSERT_TRUE(markup.Load(L"<Window>"));
    EXPECT_STREQ(L"Window", markup.GetRoot().GetName());
    ASSERT_TRUE(markup.Load(L"<Window x=\"1\">"));
    EXPECT_EQ(1, markup.GetRoot().GetAttributeCount());
    ASSERT_TRUE(markup.Load(L"<Window><Label>text"));
    EXPECT_STREQ(L"text", markup.GetRoot().GetChild().GetValue());

    EXPECT_FALSE(markup.Load(L"<Window><Layout><Label>text"));
    EXPECT_EQ(L"Expected end-tag start", ErrorMessage(markup));
    EXPECT_FALSE(markup.Load(L"<Window><Layout><Label/>"));
    EXPECT_EQ(L"Expected start tag", ErrorMessage(markup));
}

TEST(MarkupParsing, EmptyElementFormsWithAndWithoutSpace)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a><b/><c /><d x=\"1\"/><e/ ></e></a>"));
    CMarkupNode b = markup.GetRoot().GetChild();
    EXPECT_STREQ(L"b", b.GetName());
    EXPECT_STREQ(L"", b.GetValue());
    EXPECT_EQ(0, b.GetAttributeCount());
    CMarkupNode c = b.GetSibling();
    EXPECT_STREQ(L"c", c.GetName());
    CMarkupNode d = c.GetSibling();
    EXPECT_STREQ(L"1", d.GetAttributeValue(L"x"));
    EXPECT_EQ(1, d.GetAttributeCount());
    EXPECT_STREQ(L"e", d.GetSibling().GetName()) << "a '/' apart from '>' only ends the name";
}

TEST(MarkupParsing, EntitiesTranslateAndUnknownOnesStayAsWritten)
{
    CMarkup markup(
        L"<a v=\"&lt;&gt;\" w=\"&amp;amp; &quot;q&quot; &apos;\" u=\"&nbsp;&x &\">1 &lt; 2 &foo;</a>");
    CMarkupNode a = markup.GetRoot();
    EXPECT_STREQ(L"<>", a.GetAttributeValue(L"v"));
    EXPECT_STREQ(L"&amp; \"q\" '", a.GetAttributeValue(L"w"));
    EXPECT_STREQ(L"&nbsp;&x &", a.GetAttributeValue(L"u"));
    EXPECT_STREQ(L"1 < 2 &foo;", a.GetValue());
}

TEST(MarkupParsing, WhitespaceIsKeptOrFoldedAfterASpace)
{
    const wchar_t* pstrXML = L"<a v=\"  lead  inner\t\ttrail  \">  x \r\n y </a>";
    CMarkup markup(pstrXML);
    EXPECT_STREQ(L"  lead  inner\t\ttrail  ", markup.GetRoot().GetAttributeValue(L"v"));
    EXPECT_STREQ(L"  x \r\n y ", markup.GetRoot().GetValue());

    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.Load(pstrXML));
    EXPECT_STREQ(L" lead inner\t\ttrail ", markup.GetRoot().GetAttributeValue(L"v"));
    EXPECT_STREQ(L" x y ", markup.GetRoot().GetValue());
    EXPECT_EQ(1, markup.GetRoot().GetAttributeCount());
}

TEST(MarkupParsing, AttributeSyntaxAroundTheEqualsSign)
{
    CMarkup markup(L"<a x = \"1\"\ty=\"\"  z\n=\n\"3\" ></a>");
    CMarkupNode a = markup.GetRoot();
    ASSERT_EQ(3, a.GetAttributeCount());
    EXPECT_STREQ(L"1", a.GetAttributeValue(L"x"));
    EXPECT_STREQ(L"", a.GetAttributeValue(L"y"));
    EXPECT_STREQ(L"3", a.GetAttributeValue(L"z"));
    EXPECT_STREQ(L"", a.GetValue());
}

TEST(MarkupParsing, TextIsOnlyTakenBeforeTheFirstChild)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a>before<b/>  </a>"));
    EXPECT_STREQ(L"before", markup.GetRoot().GetValue());
    EXPECT_FALSE(markup.Load(L"<a><b/>after</a>"));
    EXPECT_EQ(L"Expected start tag", ErrorMessage(markup));
    EXPECT_EQ(L"after</a>", ErrorLocation(markup));
}

TEST(MarkupParsing, ClosingTagsAllowWhitespaceButMustMatch)
{
    CMarkup markup;
    EXPECT_TRUE(markup.Load(L"<Layout></ Layout\r\n>"));
    EXPECT_FALSE(markup.Load(L"<a><b></c></a>"));
    EXPECT_EQ(L"Unmatched closing tag", ErrorMessage(markup));
    EXPECT_EQ(L"c></a>", ErrorLocation(markup));
    EXPECT_FALSE(markup.Load(L"<ab></abc>"));
    EXPECT_EQ(L"Unmatched closing tag", ErrorMessage(markup));
    EXPECT_EQ(L"c>", ErrorLocation(markup));
    EXPECT_FALSE(markup.Load(L"<Ab></ab>"));
}

TEST(MarkupParsing, EachSyntaxErrorHasItsMessageAndLocation)
{
    struct Case
    {
        const wchar_t* pstrXML;
        const wchar_t* pstrMessage;
        const wchar_t* pstrLocation;
    };
    const Case cases[] = {
        {L"text", L"Expected start tag", L"text"},
        {L"<abc", L"Error parsing element name", L""},
        {L"<a x=\"1\"/ >", L"Expected start-tag closing", L"/ >"},
        {L"<a x=\"1\"", L"Expected start-tag closing", L""},
        {L"<a x>", L"Error while parsing attributes", L">"},
        {L"<a x='1'>", L"Expected attribute value", L"'1'>"},
        {L"<a x=\"1>", L"Error while parsing attribute string", L""},
        {L"<r><a><b>text", L"Expected end-tag start", L""},
        // A closing tag at the top level closes nothing; what follows it is
        // not dropped silently.
        {L"<Window/></x><Label/>", L"Unmatched closing tag", L"</x><Label/>"},
        {L"<a></a></a>", L"Unmatched closing tag", L"</a>"},
        {L"  </a>", L"Unmatched closing tag", L"</a>"},
    };
    for (const Case& c : cases)
    {
        CMarkup markup;
        EXPECT_FALSE(markup.Load(c.pstrXML)) << c.pstrXML;
        EXPECT_EQ(c.pstrMessage, ErrorMessage(markup)) << c.pstrXML;
        EXPECT_EQ(c.pstrLocation, ErrorLocation(markup)) << c.pstrXML;
        EXPECT_FALSE(markup.IsValid());
        EXPECT_FALSE(markup.GetRoot().IsValid());
    }
}

TEST(MarkupParsing, ErrorsAreClearedByTheNextParseAndLocationsAreCut)
{
    CMarkup markup;
    std::wstring xml = L"<a>" + std::wstring(10, L'x') + L"<b/>" + std::wstring(100, L'y') + L"</a>";
    EXPECT_FALSE(markup.Load(xml.c_str()));
    EXPECT_EQ(std::wstring(49, L'y'), ErrorLocation(markup));
    EXPECT_TRUE(markup.Load(L"<a/>"));
    EXPECT_EQ(L"", ErrorMessage(markup));
    EXPECT_EQ(L"", ErrorLocation(markup));

    wchar_t sz[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    markup.Load(L"<a x>");
    markup.GetLastErrorMessage(sz, 5);
    EXPECT_EQ(std::wstring(L"Erro\0#", 6), std::wstring(sz, 6)) << "cut and terminated";
    markup.GetLastErrorLocation(sz, 2);
    EXPECT_EQ(std::wstring(L">\0ro\0#", 6), std::wstring(sz, 6));
}

TEST(MarkupParsing, NestingDepthIsLimited)
{
    auto nested = [](int nDepth) {
        std::wstring xml;
        for (int i = 0; i < nDepth; ++i)
            xml += L"<d>";
        for (int i = 0; i < nDepth; ++i)
            xml += L"</d>";
        return xml;
    };
    CMarkup markup;
    EXPECT_TRUE(markup.Load(nested(256).c_str()));
    EXPECT_FALSE(markup.Load(nested(257).c_str()));
    EXPECT_EQ(L"Elements nested too deeply", ErrorMessage(markup));
    EXPECT_FALSE(markup.Load(nested(200000).c_str()));
    EXPECT_EQ(L"Elements nested too deeply", ErrorMessage(markup));
}

TEST(MarkupDecoding, Utf8WithAndWithoutByteOrderMark)
{
    const std::string utf8 = "<Label text=\"\xE4\xB8\x96\xE7\x95\x8C\"/>";
    CMarkup markup;
    ASSERT_TRUE(
        markup.LoadFromMem(reinterpret_cast<const BYTE*>(utf8.data()), static_cast<DWORD>(utf8.size())));
    EXPECT_STREQ(L"\u4e16\u754c", markup.GetRoot().GetAttributeValue(L"text"));

    const std::string withMark = "\xEF\xBB\xBF" + utf8;
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(withMark.data()),
                                   static_cast<DWORD>(withMark.size()), Veneer::XMLFILE_ENCODING_UTF8));
    EXPECT_STREQ(L"Label", markup.GetRoot().GetName());

    const std::string justTheMark = "\xEF\xBB\xBF";
    EXPECT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(justTheMark.data()), 3));
    EXPECT_FALSE(markup.GetRoot().IsValid());
}

TEST(MarkupDecoding, Utf16InBothByteOrders)
{
    const std::wstring text = L"<a v=\"\u4e16\U0001F600\"/>";
    for (bool bBigEndian : {false, true})
    {
        std::vector<BYTE> bytes = Utf16Bytes(text, bBigEndian);
        bytes.push_back(0x41); // an odd last byte is ignored
        CMarkup markup;
        ASSERT_TRUE(markup.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()),
                                       Veneer::XMLFILE_ENCODING_UNICODE));
        EXPECT_STREQ(L"\u4e16\U0001F600", markup.GetRoot().GetAttributeValue(L"v"));
    }
}

TEST(MarkupDecoding, Utf16WithoutByteOrderMarkFails)
{
    const BYTE noMark[] = {'<', 0, 'a', 0, '/', 0, '>', 0};
    CMarkup markup;
    EXPECT_FALSE(markup.LoadFromMem(noMark, sizeof(noMark), Veneer::XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(L"UTF-16 text needs a byte-order mark", ErrorMessage(markup));
    const BYTE oneByte[] = {0xFF};
    EXPECT_FALSE(markup.LoadFromMem(oneByte, 1, Veneer::XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(markup.LoadFromMem(oneByte, 0, 7));
    EXPECT_EQ(L"UTF-16 text needs a byte-order mark", ErrorMessage(markup));
    const BYTE justTheMark[] = {0xFF, 0xFE};
    EXPECT_TRUE(markup.LoadFromMem(justTheMark, 2, Veneer::XMLFILE_ENCODING_UNICODE));
}

TEST(MarkupDecoding, AnsiUsesTheActiveCodePage)
{
    const std::string ansi = "<a v=\"\xE9\xFC\"/>";
    wchar_t szExpected[3] = {};
    ASSERT_EQ(2, MultiByteToWideChar(CP_ACP, 0, "\xE9\xFC", 2, szExpected, 2));
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(ansi.data()),
                                   static_cast<DWORD>(ansi.size()), Veneer::XMLFILE_ENCODING_ANSI));
    EXPECT_STREQ(szExpected, markup.GetRoot().GetAttributeValue(L"v"));
}

TEST(MarkupDecoding, NulByteEndsTheText)
{
    const BYTE bytes[] = {'<', 'a', '>', 'x', 0, '<', '/', 'b', '>'};
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(bytes, sizeof(bytes)));
    EXPECT_STREQ(L"x", markup.GetRoot().GetValue());
}

TEST(MarkupDecoding, FailureReleasesThePreviousDocument)
{
    CMarkup markup(L"<a/>");
    ASSERT_TRUE(markup.IsValid());
    const char bad[] = "<a><b></a>";
    EXPECT_FALSE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(bad), sizeof(bad) - 1));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.GetRoot().IsValid());
    EXPECT_FALSE(markup.LoadFromMem(nullptr, 5));
    EXPECT_TRUE(markup.LoadFromMem(nullptr, 0)) << "no bytes are an empty document";
}
