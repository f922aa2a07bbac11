#include "tests/veneer/markup/MarkupTestAccess.h"
#include "veneer/markup/Markup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using Veneer::CMarkup;
using Veneer::CMarkupNode;
using Veneer::CMarkupTestAccess;

namespace
{

// A fault inside a parse ends the run at once with a message, instead of
// leaving the process waiting for a debugger.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* pInfo)
{
    fprintf(stderr, "fault 0x%08lX at %p\n", pInfo->ExceptionRecord->ExceptionCode,
            pInfo->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

const LPTOP_LEVEL_EXCEPTION_FILTER kPreviousFilter = SetUnhandledExceptionFilter(ReportFault);

// Memory whose last usable byte lies right before a PAGE_NOACCESS page: input
// copied to its end makes any read past the input fault.
class GuardedRegion
{
  public:
    explicit GuardedRegion(size_t cbUsable)
    {
        SYSTEM_INFO si{};
        GetSystemInfo(&si);
        m_cbUsable = (cbUsable + si.dwPageSize - 1) / si.dwPageSize * si.dwPageSize;
        m_pBase = static_cast<BYTE*>(
            VirtualAlloc(nullptr, m_cbUsable + si.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD dwOld = 0;
        m_bGuarded =
            m_pBase != nullptr && VirtualProtect(m_pBase + m_cbUsable, si.dwPageSize, PAGE_NOACCESS, &dwOld);
    }
    GuardedRegion(const GuardedRegion&) = delete;
    GuardedRegion& operator=(const GuardedRegion&) = delete;
    ~GuardedRegion() { VirtualFree(m_pBase, 0, MEM_RELEASE); }

    bool IsGuarded() const { return m_bGuarded; }

    BYTE* Place(const void* pData, size_t cb)
    {
        BYTE* pTarget = m_pBase + m_cbUsable - cb;
        memcpy(pTarget, pData, cb);
        return pTarget;
    }

  private:
    BYTE* m_pBase = nullptr;
    size_t m_cbUsable = 0;
    bool m_bGuarded = false;
};

const size_t kRegionBytes = 1 << 20;

// Realistic skins to start the mutations from.
std::vector<std::wstring> SeedSkins()
{
    std::vector<std::wstring> seeds;
    seeds.push_back(
        L"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n"
        L"<Window size=\"380,265\" caption=\"0,0,0,30\" roundcorner=\"4,4\">\r\n"
        L"  <Font id=\"0\" name=\"\u5fae\u8f6f\u96c5\u9ed1\" size=\"12\" bold=\"false\" default=\"true\" "
        L"/>\r\n"
        L"  <Default name=\"Button\" value=\"normalimage=&quot;file='btn.png' source='0,0,60,24'&quot;\" "
        L"/>\r\n"
        L"  <VerticalLayout bkcolor=\"#FFFFFFFF\" inset=\"1,1,1,1\">\r\n"
        L"    <!-- title bar -->\r\n"
        L"    <HorizontalLayout height=\"30\" bkimage=\"title.png\">\r\n"
        L"      <Label name=\"title\" text=\"\u5e7f\u544a &amp; \u901a\u77e5\" textcolor=\"#FF333333\"/>\r\n"
        L"      <Button name=\"closebtn\" width=\"24\" height=\"24\" tooltip=\"&lt;close&gt;\" "
        L"normalimage=\"SysBtn/Close.png\" hotimage=\"SysBtn/CloseHot.PNG\" />\r\n"
        L"    </HorizontalLayout>\r\n"
        L"    <WebBrowser name=\"ie\" clsid=\"{8856F961-340A-11D0-A96B-00C04FD705A2}\" delaycreate=\"false\" "
        L"/>\r\n"
        L"    <Text>  line one\r\n\tline two &apos;quoted&apos;  </Text>\r\n"
        L"  </VerticalLayout>\r\n"
        L"</Window>\r\n");
    seeds.push_back(
        L"<Window><TabLayout name=\"tabs\" selectedid=\"0\"><VerticalLayout><List header=\"hidden\">"
        L"<ListLabelElement text=\"\u4e00\"/><ListLabelElement text=\"\u4e8c\"/></List></VerticalLayout>"
        L"<?pi data?><HorizontalLayout childpadding=\"4\"><Edit text=\"a  b\" maxchar=\"10\"/>"
        L"<Option group=\"g\" selected=\"true\" text=\"\U0001F600\"/></HorizontalLayout></TabLayout>"
        L"<!-- trailing comment --></Window>");
    std::wstring generated = L"<Window>";
    for (int i = 0; i < 12; ++i)
    {
        generated += L"<HorizontalLayout name=\"row" + std::to_wstring(i) + L"\" height=\"" +
                     std::to_wstring(20 + i) + L"\">";
        for (int j = 0; j < 4; ++j)
            generated += L"<Button name=\"b" + std::to_wstring(j) + L"\" text=\"&lt;" +
                         std::to_wstring(i * j) + L"&gt;\" pos=\"0,0,10,10\" float=\"true\"/>";
        generated += L"</HorizontalLayout>";
    }
    generated += L"</Window>";
    seeds.push_back(generated);
    return seeds;
}

// Edits a document the way damage and careless hands do: characters replaced,
// markup tokens inserted, ranges deleted or duplicated, the end cut off.
class Mutator
{
  public:
    explicit Mutator(unsigned seed) : m_random(seed) {}

    std::wstring Mutate(std::wstring text)
    {
        const int nEdits = 1 + Pick(4);
        for (int i = 0; i < nEdits; ++i)
            Edit(text);
        return text;
    }

    int Pick(size_t n) { return n == 0 ? 0 : static_cast<int>(m_random() % n); }

  private:
    void Edit(std::wstring& text)
    {
        static const wchar_t* const kTokens[] = {
            L"<",   L">",    L"/>",   L"</",     L"\"",     L"'",      L"=",      L"&",    L"&amp;", L"&quot",
            L"<!",  L"<!--", L"-->",  L"->",     L"<?",     L"?>",     L" ",      L"\t",   L"\r\n",  L"<a>",
            L"</a", L"a=\"", L"\x01", L"\xD800", L"\xDC00", L"\xFFFF", L"\u4e16", L"<<<<", L"\"\"",
        };
        const size_t pos = text.empty() ? 0 : static_cast<size_t>(Pick(text.size() + 1));
        switch (Pick(6))
        {
        case 0:
            if (!text.empty() && pos < text.size())
                text[pos] = static_cast<wchar_t>(1 + Pick(0xFFFE));
            break;
        case 1:
        case 2:
            text.insert(pos, kTokens[Pick(sizeof(kTokens) / sizeof(kTokens[0]))]);
            break;
        case 3:
            text.erase(pos, static_cast<size_t>(Pick(16)));
            break;
        case 4:
            text.insert(pos,
                        text.substr(static_cast<size_t>(Pick(text.size())), static_cast<size_t>(Pick(64))));
            break;
        default:
            text.resize(pos);
            break;
        }
    }

    std::mt19937 m_random;
};

// Checks that the parsed tree is a tree over the markup's text: every name,
// value and attribute lies inside the text and is terminated there, and the
// links reach each element once.
void ExpectSoundTree(CMarkup& markup, size_t cchText)
{
    const wchar_t* pstrText = CMarkupTestAccess::Text(markup);
    const ULONG nElements = CMarkupTestAccess::ElementCount(markup);
    ASSERT_NE(nullptr, pstrText);
    const wchar_t* pstrEnd = pstrText + cchText;
    ASSERT_EQ(L'\0', *pstrEnd);
    auto inText = [&](const wchar_t* pstr) { return pstr != nullptr && pstr >= pstrText && pstr <= pstrEnd; };

    std::vector<CMarkupNode> pending;
    if (markup.GetRoot().IsValid())
        pending.push_back(markup.GetRoot());
    for (CMarkupNode top = markup.GetRoot().GetSibling(); top.IsValid() && pending.size() < nElements;
         top = top.GetSibling())
        pending.push_back(top);
    ULONG nVisited = 0;
    while (!pending.empty())
    {
        CMarkupNode node = pending.back();
        pending.pop_back();
        ASSERT_LT(++nVisited, nElements) << "a link leads back to a visited element";
        ASSERT_TRUE(inText(node.GetName()));
        ASSERT_TRUE(inText(node.GetValue()));
        const int nAttributes = node.GetAttributeCount();
        ASSERT_LE(nAttributes, 64);
        for (int i = 0; i < nAttributes; ++i)
        {
            ASSERT_TRUE(inText(node.GetAttributeName(i)));
            ASSERT_TRUE(inText(node.GetAttributeValue(i)));
        }
        for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling())
        {
            ASSERT_EQ(node.GetName(), child.GetParent().GetName());
            ASSERT_LT(pending.size(), nElements);
            pending.push_back(child);
        }
    }
}

// Parses the wide text in place from guarded memory, then checks the tree.
void ParseGuarded(GuardedRegion& region, const std::wstring& text, bool bPreserveWhitespace)
{
    if ((text.size() + 1) * sizeof(wchar_t) > kRegionBytes)
        return;
    auto* pstr = reinterpret_cast<wchar_t*>(region.Place(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    CMarkup markup;
    markup.SetPreserveWhitespace(bPreserveWhitespace);
    if (CMarkupTestAccess::ParseInPlace(markup, pstr))
        ExpectSoundTree(markup, text.size());
    CMarkupTestAccess::Detach(markup);
}

// The length of the text that the bytes decode to.
size_t DecodedLength(const std::string& bytes, int encoding)
{
    if (encoding == Veneer::XMLFILE_ENCODING_UNICODE)
        return bytes.size() / 2 - 1;
    std::string body = bytes;
    if (encoding == Veneer::XMLFILE_ENCODING_UTF8 && body.size() > 2 &&
        body.compare(0, 3, "\xEF\xBB\xBF") == 0)
        body.erase(0, 3);
    return static_cast<size_t>(
        MultiByteToWideChar(encoding == Veneer::XMLFILE_ENCODING_UTF8 ? CP_UTF8 : CP_ACP, 0, body.data(),
                            static_cast<int>(body.size()), nullptr, 0));
}

// Loads bytes from guarded memory in the given encoding, then checks the tree.
void LoadGuarded(GuardedRegion& region, const std::string& bytes, int encoding)
{
    if (bytes.size() > kRegionBytes)
        return;
    const BYTE* pBytes = region.Place(bytes.data(), bytes.size());
    CMarkup markup;
    if (markup.LoadFromMem(pBytes, static_cast<DWORD>(bytes.size()), encoding))
        ExpectSoundTree(markup, DecodedLength(bytes, encoding));
    else
        EXPECT_FALSE(markup.IsValid());
}

std::string Encode(const std::wstring& text, UINT codePage)
{
    const int cb = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string bytes(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], cb, nullptr,
                        nullptr);
    return bytes;
}

std::string Utf16(const std::wstring& text, bool bBigEndian)
{
    std::string bytes = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t ch : text)
    {
        const char low = static_cast<char>(ch & 0xFF);
        const char high = static_cast<char>(ch >> 8);
        bytes += bBigEndian ? high : low;
        bytes += bBigEndian ? low : high;
    }
    return bytes;
}

void LoadInEveryEncoding(GuardedRegion& region, const std::wstring& text)
{
    LoadGuarded(region, Encode(text, CP_UTF8), Veneer::XMLFILE_ENCODING_UTF8);
    LoadGuarded(region, "\xEF\xBB\xBF" + Encode(text, CP_UTF8), Veneer::XMLFILE_ENCODING_UTF8);
    LoadGuarded(region, Utf16(text, false), Veneer::XMLFILE_ENCODING_UNICODE);
    LoadGuarded(region, Utf16(text, true), Veneer::XMLFILE_ENCODING_UNICODE);
    LoadGuarded(region, Encode(text, CP_ACP), Veneer::XMLFILE_ENCODING_ANSI);
}

} // namespace

TEST(MarkupRobustness, GuardPageFaultsOnAccess)
{
    GuardedRegion region(4096);
    ASSERT_TRUE(region.IsGuarded());
    MEMORY_BASIC_INFORMATION mbi{};
    const BYTE* pLast = region.Place("x", 1);
    ASSERT_NE(0u, VirtualQuery(pLast + 1, &mbi, sizeof(mbi)));
    EXPECT_EQ(static_cast<DWORD>(PAGE_NOACCESS), mbi.Protect);
}

TEST(MarkupRobustness, EveryTruncationOfTheSeedsParsesOrFailsCleanly)
{
    GuardedRegion region(kRegionBytes);
    for (const std::wstring& seed : SeedSkins())
    {
        CMarkup whole;
        ASSERT_TRUE(whole.Load(seed.c_str())) << "the seeds themselves are well-formed";
        for (size_t cch = 0; cch <= seed.size(); ++cch)
        {
            ParseGuarded(region, seed.substr(0, cch), cch % 2 == 0);
            if (HasFatalFailure())
                FAIL() << "at length " << cch;
        }
    }
}

TEST(MarkupRobustness, MutatedSkinsParseOrFailCleanlyInEveryEncoding)
{
    GuardedRegion region(kRegionBytes);
    const std::vector<std::wstring> seeds = SeedSkins();
    Mutator mutator(20240607);
    for (int i = 0; i < 3000; ++i)
    {
        const std::wstring text = mutator.Mutate(seeds[static_cast<size_t>(i) % seeds.size()]);
        ParseGuarded(region, text, i % 3 != 0);
        if (i % 4 == 0)
            LoadInEveryEncoding(region, text);
        if (HasFatalFailure())
            FAIL() << "mutation " << i;
    }
}

TEST(MarkupRobustness, DamagedBytesDecodeOrFailCleanly)
{
    GuardedRegion region(kRegionBytes);
    const std::vector<std::wstring> seeds = SeedSkins();
    std::mt19937 random(7);
    for (int i = 0; i < 1500; ++i)
    {
        const std::wstring& seed = seeds[static_cast<size_t>(i) % seeds.size()];
        const int encoding = i % 3;
        std::string bytes = encoding == Veneer::XMLFILE_ENCODING_UNICODE
                                ? Utf16(seed, i % 2 == 0)
                                : Encode(seed, encoding == 0 ? CP_UTF8 : CP_ACP);
        for (int j = 0; j < 1 + static_cast<int>(random() % 8); ++j)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        bytes.resize(random() % (bytes.size() + 1));
        LoadGuarded(region, bytes, encoding);
        if (HasFatalFailure())
            FAIL() << "damage " << i;
    }
}

TEST(MarkupRobustness, PathologicalShapesFailOrLoadWithoutExhaustingTheStack)
{
    GuardedRegion region(kRegionBytes);
    const std::wstring shapes[] = {
        std::wstring(100000, L'<'),
        std::wstring(50000, L'&'),
        L"<a v=\"" + std::wstring(100000, L' ') + L"\"/>",
        L"<!--" + std::wstring(100000, L'-'),
        L"<?" + std::wstring(100000, L'?'),
        [] {
            std::wstring s;
            for (int i = 0; i < 60000; ++i)
                s += L"<a>";
            return s;
        }(),
        [] {
            std::wstring s;
            for (int i = 0; i < 20000; ++i)
                s += L"<a/><!---->";
            return s;
        }(),
    };
    for (const std::wstring& shape : shapes)
    {
        ParseGuarded(region, shape, true);
        ParseGuarded(region, shape, false);
        LoadInEveryEncoding(region, shape);
    }
}
