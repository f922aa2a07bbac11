// Inline markup comes from skins and from whatever an application puts into
// a label: damaged, deep or endless markup must neither crash nor hang, nor
// read past the text, and whatever can be drawn is drawn.
#include "HostileInput.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Veneer;

namespace
{

const POINT kNoMouse{-1, -1};

// The text at the very end of a guarded block: its terminator is the last
// character before a page that faults when touched.
class GuardedText
{
  public:
    explicit GuardedText(const std::wstring& text) : m_block((text.size() + 1) * sizeof(wchar_t))
    {
        memcpy(m_block.Data(), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    const wchar_t* Get() const { return reinterpret_cast<const wchar_t*>(m_block.Data()); }

  private:
    GuardedBlock m_block;
};

// Room for `capacity` links whose rectangles end at a guard page too.
class GuardedLinks
{
  public:
    explicit GuardedLinks(int capacity)
        : m_rects(static_cast<size_t>(capacity) * sizeof(RECT)), m_targets(new CUiString[capacity + 1]),
          m_capacity(capacity)
    {
    }
    ~GuardedLinks() { delete[] m_targets; }
    RECT* Rects() const { return reinterpret_cast<RECT*>(m_rects.Data()); }
    CUiString* Targets() const { return m_targets; }
    int Capacity() const { return m_capacity; }

  private:
    GuardedBlock m_rects;
    CUiString* m_targets;
    int m_capacity;
};

bool IsInk(DWORD p)
{
    return (p & 0xFFFFFF) != kWhite;
}

// Draws and measures a text in the ways a label and a text control do (the
// first nStyles of them); answers how many pixels the drawing left.
int DrawAllWays(CResourceTables& pm, Canvas& canvas, const wchar_t* text, GuardedLinks& links,
                int nStyles = 4)
{
    const UINT styles[] = {DT_SINGLELINE | DT_VCENTER, DT_WORDBREAK,
                           DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER, DT_WORDBREAK | DT_RIGHT | DT_BOTTOM};
    for (int i = 0; i < nStyles; i++)
    {
        const UINT uStyle = styles[i];
        RECT rc{2, 2, 150, 60};
        int n = links.Capacity();
        CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, text, 0xFF000000, links.Rects(), links.Targets(), n,
                                    uStyle, POINT{20, 10}, false);
        EXPECT_GE(n, 0);
        EXPECT_LE(n, links.Capacity());
        RECT rcMeasure{0, 0, 120, 9999};
        n = links.Capacity();
        CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rcMeasure, text, 0xFF000000, links.Rects(),
                                    links.Targets(), n, uStyle | DT_CALCRECT, kNoMouse, false);
        EXPECT_LE(rcMeasure.right, 120);
        EXPECT_GE(rcMeasure.bottom, 0);
    }
    return canvas.Count(RECT{0, 0, 160, 70}, IsInk);
}

std::wstring Repeat(const std::wstring& part, int times)
{
    std::wstring out;
    out.reserve(part.size() * times);
    for (int i = 0; i < times; i++)
        out += part;
    return out;
}

void AddStrip(CResourceTables& pm)
{
    AddTestImage(pm, L"strip", 40, 10, [](int x, int) { return Opaque(x < 20 ? kRed : kBlue); });
}

} // namespace

TEST(HtmlTextHostile, DamagedMarkupDrawsWhatItCan)
{
    CResourceTables pm;
    AddStrip(pm);
    const std::wstring cases[] = {
        L"<b>unbalanced <i>tags</b> text</u></u></u>",
        L"<q>unknown</q> <z 1 2 3>tags<m>",
        L"<f 999>no such font index</f>",
        L"<f >empty face</f><f  12 bold>no face</f>",
        L"<i nosuch 4 2>image</i> <i strip 0 -5>frames <i strip 999999 999999>",
        L"<i file='nosuch'>items <i file='strip>unterminated",
        L"<c>no digits</c><c #>none</c><c #zz>bad</c>",
        L"<x -2147483648>far <x 2147483647>left <y -5>and <p 99999999>big</p>",
        L"<a>no target</a><a    >blank</a></a></a>",
        L"ends inside a tag <f Tahoma 12 bo",
        L"ends with a bracket {",
        L"ends in a closing tag </",
        L"lone surrogate \xD800 and pair \xD83D\xDE00 end\xD83D",
        L"<s>selection never closed",
        L"<r>raw never closed <b>",
    };
    Canvas canvas(160, 70, Opaque(kWhite));
    GuardedLinks links(2);
    for (const std::wstring& text : cases)
    {
        canvas.Fill(Opaque(kWhite));
        const GuardedText guarded(text);
        EXPECT_GT(DrawAllWays(pm, canvas, guarded.Get(), links), 0) << std::string(text.begin(), text.end());
    }
}

TEST(HtmlTextHostile, DeepNestingIsCappedAndStaysLinear)
{
    CResourceTables pm;
    pm.AddFont(L"Tahoma", 14, false, false, false);
    const int kDepth = 100000;
    Canvas canvas(160, 70, Opaque(kWhite));
    GuardedLinks links(8);
    for (const wchar_t* level : {L"<b>", L"<f 0>", L"<c #00ff00>", L"<p 1>", L"<a x>", L"<i>", L"<n>", L"<"})
    {
        canvas.Fill(Opaque(kWhite));
        const GuardedText guarded(Repeat(level, kDepth) + L"deep text" + Repeat(L"</b>", kDepth));
        const int fontsBefore = pm.GetCustomFontCount();
        DrawAllWays(pm, canvas, guarded.Get(), links, 2);
        // Tags add only a few variant fonts, however many there are.
        EXPECT_LE(pm.GetCustomFontCount() - fontsBefore, 16);
    }
    // Deep markup still shows its text once it closes again.
    canvas.Fill(Opaque(kWhite));
    const GuardedText balanced(Repeat(L"<f 0>", kDepth) + Repeat(L"</f>", kDepth) + L"shown");
    EXPECT_GT(DrawAllWays(pm, canvas, balanced.Get(), links, 2), 0);
    // A long run without tags is measured once, not once per line.
    const GuardedText run(std::wstring(200000, L'w'));
    RECT rc{0, 0, 100, 9999};
    int n = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &pm, rc, run.Get(), 0xFF000000, nullptr, nullptr, n,
                                DT_CALCRECT | DT_WORDBREAK, kNoMouse, false);
    EXPECT_GT(rc.bottom, 1000);
}

TEST(HtmlTextHostile, GeneratedTagSoup)
{
    const wchar_t* const pieces[] = {L"<b>",
                                     L"</b>",
                                     L"{i}",
                                     L"{/i}",
                                     L"<u>",
                                     L"</u}",
                                     L"<f 0>",
                                     L"<f Tahoma 30 italic>",
                                     L"</f>",
                                     L"<c #ff00ff>",
                                     L"<c>",
                                     L"</c>",
                                     L"<a link>",
                                     L"<a>",
                                     L"</a>",
                                     L"<i strip 4 2>",
                                     L"<i file='strip'>",
                                     L"<i nosuch>",
                                     L"<p 5>",
                                     L"</p>",
                                     L"<r>",
                                     L"</r>",
                                     L"<s>",
                                     L"</s>",
                                     L"<n>",
                                     L"<x -50>",
                                     L"<x 500>",
                                     L"<y 40>",
                                     L"<",
                                     L"{",
                                     L">",
                                     L"}",
                                     L"<{>",
                                     L"{>}",
                                     L"<br>",
                                     L"word ",
                                     L"text",
                                     L" ",
                                     L"\n",
                                     L"\r\n",
                                     L"\xD83D\xDE00",
                                     L"\x6587\x5B57",
                                     L"longerwordwithoutbreaks"};
    const size_t kPieces = sizeof(pieces) / sizeof(pieces[0]);
    CResourceTables pm;
    AddStrip(pm);
    pm.AddFont(L"Tahoma", 20, true, false, false);
    Canvas canvas(160, 70, Opaque(kWhite));
    Rng rng(20240611);
    for (int round = 0; round < 300; round++)
    {
        std::wstring text;
        const uint32_t count = rng.Below(40);
        for (uint32_t i = 0; i < count; i++)
            text += pieces[rng.Below(kPieces)];
        // Mutations: a character replaced by a bracket or a letter, a cut.
        for (uint32_t i = rng.Below(4); i > 0 && !text.empty(); i--)
            text[rng.Below(static_cast<uint32_t>(text.size()))] = L"<>{}/ab #'"[rng.Below(10)];
        if (!text.empty() && rng.Below(3) == 0)
            text.resize(rng.Below(static_cast<uint32_t>(text.size())));
        const GuardedText guarded(text);
        GuardedLinks links(static_cast<int>(rng.Below(4)));
        DrawAllWays(pm, canvas, guarded.Get(), links);
    }
}

TEST(HtmlTextHostile, NoGdiObjectOutlivesItsTables)
{
    const int before = CountGdiObjects();
    {
        CResourceTables pm;
        AddStrip(pm);
        Canvas canvas(160, 70, Opaque(kWhite));
        GuardedLinks links(4);
        const GuardedText text(L"<b>a</b><i>b</i><u>c</u><f Tahoma 20>d</f><i strip 2 1><s>e</s><a x>f</a>");
        for (int i = 0; i < 20; i++)
            DrawAllWays(pm, canvas, text.Get(), links);
    }
    EXPECT_EQ(CountGdiObjects(), before);
}
