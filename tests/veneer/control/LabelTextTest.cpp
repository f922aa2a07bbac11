#include "veneer/control/LabelUI.h"
#include "veneer/control/TextUI.h"
#include "veneer/render/RenderEngine.h"

#include "RenderTestSupport.h"
#include "WindowFixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Veneer;

namespace
{

const RECT kLabelRect{0, 0, 120, 30};

// A label of the manager's, laid out at `rc`, as a window would show it.
template <class TControl> std::unique_ptr<TControl> Placed(CPaintManagerUI& pm, const RECT& rc = kLabelRect)
{
    std::unique_ptr<TControl> pControl(new TControl);
    pControl->SetManager(&pm, nullptr, false);
    pControl->SetPos(rc);
    return pControl;
}

bool IsReddish(DWORD p)
{
    return ChannelOf(p, 16) > 0xA0 && ChannelOf(p, 8) < 0x60 && ChannelOf(p, 0) < 0x60;
}

bool IsGreenish(DWORD p)
{
    return ChannelOf(p, 8) > 0xA0 && ChannelOf(p, 16) < 0x60 && ChannelOf(p, 0) < 0x60;
}

bool IsDarkInk(DWORD p)
{
    return ChannelOf(p, 16) < 0x60 && ChannelOf(p, 8) < 0x60 && ChannelOf(p, 0) < 0x60;
}

// The bounding box of the pixels of `rc` that satisfy `test`.
RECT BoundsOf(const Canvas& canvas, const RECT& rc, bool (*test)(DWORD))
{
    RECT box{rc.right, rc.bottom, rc.left, rc.top};
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            if (test(canvas.At(x, y)))
                box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    return box;
}

// An effect label drawing "MMMM" in opaque black.
std::unique_ptr<CLabelUI> EffectLabel(CPaintManagerUI& pm)
{
    std::unique_ptr<CLabelUI> pLabel = Placed<CLabelUI>(pm, RECT{10, 10, 130, 40});
    pLabel->SetAttribute(L"enabledeffect", L"true");
    pLabel->SetText(L"MMMM");
    pLabel->SetAttribute(L"textcolor", L"#FF000000");
    pLabel->SetAttribute(L"transtext", L"255");
    pLabel->SetAttribute(L"transtext1", L"255");
    return pLabel;
}

} // namespace

TEST(Label, AttributesReachTheirFields)
{
    CPaintManagerUI pm;
    const struct
    {
        const wchar_t* align;
        UINT uExpected;
    } aligns[] = {
        {L"right vcenter", 0x26}, // from the initial DT_VCENTER
        {L"center", DT_VCENTER | DT_CENTER},
        {L"left top", DT_SINGLELINE}, // stays on the left
        {L"right bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE},
        {L"vcenter", DT_VCENTER | DT_SINGLELINE}, // "center" inside it is not a word
        {L"nothing known", DT_VCENTER},
    };
    for (const auto& a : aligns)
    {
        CLabelUI label;
        label.SetAttribute(L"align", a.align);
        EXPECT_EQ(label.GetTextStyle(), a.uExpected) << a.align;
    }

    CLabelUI label;
    label.SetAttribute(L"endellipsis", L"true");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER | DT_END_ELLIPSIS));
    label.SetAttribute(L"endellipsis", L"True");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER));
    label.SetAttribute(L"font", L"3");
    label.SetAttribute(L"textcolor", L"#FF112233");
    label.SetAttribute(L"disabledtextcolor", L"FF445566");
    label.SetAttribute(L"textpadding", L"1,2,3,4");
    label.SetAttribute(L"showhtml", L"true");
    label.SetAttribute(L"strokecolor", L"#80FF0000");
    label.SetAttribute(L"textshadowcolorb", L"#FF00FF00");
    label.SetAttribute(L"transstroke", L"99");
    label.SetAttribute(L"gradientangle", L"45");
    label.SetAttribute(L"name", L"base attributes still work");
    EXPECT_EQ(label.GetFont(), 3);
    EXPECT_EQ(label.GetTextColor(), 0xFF112233u);
    EXPECT_EQ(label.GetDisabledTextColor(), 0xFF445566u);
    EXPECT_EQ(label.GetTextPadding().bottom, 4);
    EXPECT_TRUE(label.IsShowHtml());
    EXPECT_EQ(label.GetStrokeColor(), 0x80FF0000u);
    EXPECT_EQ(label.GetTextShadowColorB(), 0xFF00FF00u);
    EXPECT_EQ(label.GetTransStroke(), 99);
    EXPECT_EQ(label.GetGradientAngle(), 45);
    EXPECT_EQ(label.GetName(), L"base attributes still work");
    for (const wchar_t* hint : {L"7", L"-1", L"x"})
    {
        label.SetAttribute(L"rhaa", L"4");
        label.SetAttribute(L"rhaa", hint);
        EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 0) << hint;
    }
    label.SetAttribute(L"rhaa", L"5");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 5);
}

TEST(Label, ShadowOffsetFromDistanceAndAngle)
{
    const struct
    {
        int angle;
        float x;
        float y;
    } cases[] = {{45, -3, -3}, {-45, 3, -3}, {-90, 3, 0}, {-180, 0, 3}, {135, -3, 3}, {181, 9, 9}};
    for (const auto& c : cases)
    {
        CLabelUI label;
        label.SetShadowOffset(9, 9); // a starting point for the ignored angle
        label.SetShadowOffset(3, c.angle);
        if (c.angle == 181)
        {
            EXPECT_EQ(label.GetShadowOffset().X, -9.0f);
            continue;
        }
        EXPECT_EQ(label.GetShadowOffset().X, c.x) << c.angle;
        EXPECT_EQ(label.GetShadowOffset().Y, c.y) << c.angle;
    }
}

TEST(Label, WithEffectsTheTextIsTheEffectText)
{
    CLabelUI label;
    label.SetText(L"base");
    label.SetEnabledEffect(true);
    label.SetText(L"effect");
    EXPECT_EQ(label.GetText(), L"effect");
    label.SetEnabledEffect(false);
    EXPECT_EQ(label.GetText(), L"base");
}

TEST(Label, GdiplusRunsOnceWhileAnyLabelExists)
{
    ASSERT_FALSE(CGdiplusSession::IsRunning());
    const int starts = CGdiplusSession::GetStartCount();
    {
        std::unique_ptr<CLabelUI> labels[3] = {std::make_unique<CLabelUI>(), std::make_unique<CLabelUI>(),
                                               std::make_unique<CTextUI>()};
        EXPECT_TRUE(CGdiplusSession::IsRunning());
        labels[0].reset();
        labels[2].reset();
        EXPECT_TRUE(CGdiplusSession::IsRunning());
        EXPECT_EQ(CGdiplusSession::GetStartCount(), starts + 1);
    }
    EXPECT_FALSE(CGdiplusSession::IsRunning());
    CLabelUI again;
    EXPECT_TRUE(CGdiplusSession::IsRunning());
    EXPECT_EQ(CGdiplusSession::GetStartCount(), starts + 2);
}

TEST(Label, PaintsItsTextInTheDefaultColourInsideThePadding)
{
    CPaintManagerUI pm;
    pm.SetDefaultFontColor(0xFFFF0000);
    std::unique_ptr<CLabelUI> pLabel = Placed<CLabelUI>(pm);
    pLabel->SetText(L"MMMM");
    pLabel->SetTextPadding(RECT{40, 0, 0, 0});
    Canvas canvas(120, 30, Opaque(kWhite));
    pLabel->DoPaint(canvas.DC(), kLabelRect);
    EXPECT_EQ(pLabel->GetTextColor(), 0xFFFF0000u); // kept from the first paint
    EXPECT_EQ(canvas.Count(RECT{0, 0, 40, 30}, IsReddish), 0);
    EXPECT_GT(canvas.Count(RECT{40, 0, 120, 30}, IsReddish), 0);
    // Inline markup when asked for.
    canvas.Fill(Opaque(kWhite));
    pLabel->SetText(L"<c #00FF00>MMMM</c>");
    pLabel->SetShowHtml(true);
    pLabel->DoPaint(canvas.DC(), kLabelRect);
    EXPECT_GT(canvas.Count(RECT{40, 0, 120, 30}, IsGreenish), 0);
    // One line of the font, plus four.
    EXPECT_EQ(pLabel->EstimateSize(SIZE{100, 100}).cy, pm.GetDefaultFontInfo()->tm.tmHeight + 4);
}

TEST(LabelEffects, ShadowAndOutlineDrawBesideTheText)
{
    CPaintManagerUI pm;
    const RECT rcAll{0, 0, 160, 60};

    Canvas plain(160, 60, Opaque(kWhite));
    std::unique_ptr<CLabelUI> pLabel = EffectLabel(pm);
    pLabel->DoPaint(plain.DC(), rcAll);
    const RECT text = BoundsOf(plain, rcAll, IsDarkInk);
    ASSERT_LT(text.left, text.right) << "the effect text was not drawn";
    EXPECT_EQ(plain.Count(rcAll, IsReddish), 0);

    // A red shadow 3 pixels right and down.
    Canvas shadow(160, 60, Opaque(kWhite));
    pLabel->SetAttribute(L"enabledshadow", L"true");
    pLabel->SetAttribute(L"textshadowcolora", L"#FFFF0000");
    pLabel->SetAttribute(L"transshadow", L"255");
    pLabel->SetAttribute(L"transshadow1", L"255");
    pLabel->SetAttribute(L"shadowoffset", L"3,-135");
    pLabel->DoPaint(shadow.DC(), rcAll);
    const RECT red = BoundsOf(shadow, rcAll, IsReddish);
    EXPECT_NEAR(red.left, text.left + 3, 1);
    EXPECT_NEAR(red.top, text.top + 3, 1);
    EXPECT_NEAR(red.right, text.right + 3, 1);

    // A green outline one pixel around the glyphs.
    Canvas outline(160, 60, Opaque(kWhite));
    pLabel->SetAttribute(L"enabledshadow", L"false");
    pLabel->SetAttribute(L"enabledstroke", L"true");
    pLabel->SetAttribute(L"strokecolor", L"#FF00FF00");
    pLabel->DoPaint(outline.DC(), rcAll);
    const RECT green = BoundsOf(outline, rcAll, IsGreenish);
    EXPECT_NEAR(green.left, text.left - 1, 1);
    EXPECT_NEAR(green.right, text.right + 1, 1);
    EXPECT_NEAR(green.top, text.top - 1, 1);
    EXPECT_EQ(outline.Count(rcAll, IsReddish), 0);
}

TEST(Text, ConstructedForWrappedText)
{
    CTextUI text;
    EXPECT_EQ(text.GetTextStyle(), static_cast<UINT>(DT_WORDBREAK));
    EXPECT_EQ(text.GetTextPadding().left, 2);
    EXPECT_EQ(text.GetTextPadding().right, 2);
    EXPECT_EQ(text.GetInterface(L"Text"), &text);
    EXPECT_EQ(text.GetInterface(L"Label"), static_cast<CLabelUI*>(&text));
    EXPECT_EQ(text.GetInterface(L"Button"), nullptr);
}

// A text control with two links in a window at (300, 300).
class TextLinks : public WindowFixture
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.Create(&m_pm, 200, 100, kWindowX, kWindowY));
        MakeRoot();
        m_pm.SetDefaultLinkFontColor(0xFF0000FF);
        m_pm.SetDefaultLinkHoverFontColor(0xFFFF0000);
        m_pText = new CTextUI;
        m_pText->SetName(L"text");
        m_pText->SetFloat(true);
        m_pText->SetFixedXY(SIZE{10, 10});
        m_pText->SetFixedWidth(180);
        m_pText->SetFixedHeight(40);
        m_pText->SetShowHtml(true);
        m_pText->SetText(L"<a one>first</a> and <a two>second</a>");
        m_pRoot->Add(m_pText);
        AttachAndPaint();
    }

    // Where the link of that index lies: measured as the control draws it.
    RECT LinkRect(int index)
    {
        RECT rcLinks[2] = {};
        CUiString sLinks[2];
        int n = 2;
        RECT rc{12, 10, 188, 50};
        CRenderEngine::DrawHtmlText(m_pm.GetPaintDC(), m_pm.GetResources(), rc, m_pText->GetText(), 0xFF000000,
                                    rcLinks, sLinks, n, DT_WORDBREAK | DT_CALCRECT, POINT{-1, -1}, false);
        return rcLinks[index];
    }

    // How many "link" notifications came since the last call; the last
    // one's wParam stays in m_linkParam.
    int Links()
    {
        int n = 0;
        for (const TNotifyUI& msg : m_notes.m_messages)
        {
            if (msg.sType == L"link")
            {
                n++;
                m_linkParam = msg.wParam;
            }
        }
        TakeNotifications();
        return n;
    }

    WPARAM m_linkParam = 0;
    static const int kWindowX = 300;
    static const int kWindowY = 300;
    CTextUI* m_pText = nullptr;
};

TEST_F(TextLinks, PaintingFindsTheLinksAndAClickOnOneSendsItsIndex)
{
    ASSERT_NE(m_pText->GetLinkContent(1), nullptr);
    EXPECT_EQ(*m_pText->GetLinkContent(0), L"one");
    EXPECT_EQ(*m_pText->GetLinkContent(1), L"two");
    EXPECT_EQ(m_pText->GetLinkContent(2), nullptr);
    EXPECT_EQ(m_pText->GetLinkContent(-1), nullptr);
    EXPECT_EQ(m_pText->GetControlFlags(), FlagSetCursor);

    const RECT rc = LinkRect(1);
    const LPARAM pos = Pos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, pos);
    Send(WM_LBUTTONUP, 0, pos);
    ASSERT_EQ(Links(), 1);

    // Beside the links nothing is sent.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(rc.right + 60, rc.top + 2));
    Send(WM_LBUTTONUP, 0, Pos(rc.right + 60, rc.top + 2));
    EXPECT_EQ(Links(), 0);
}

TEST_F(TextLinks, ALinkIndexTravelsInTheNotification)
{
    for (int index : {1, 0})
    {
        const RECT rc = LinkRect(index);
        m_notes.m_messages.clear();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(rc.left + 2, rc.top + 2));
        Send(WM_LBUTTONUP, 0, Pos(rc.left + 2, rc.top + 2));
        ASSERT_EQ(Links(), 1);
        EXPECT_EQ(m_linkParam, static_cast<WPARAM>(index));
    }
}

TEST_F(TextLinks, TheRealPointerOverALinkPaintsItInTheHoverColour)
{
    const RECT first = LinkRect(0);
    CTestSurface surface(200, 100);
    auto linkPixels = [&](const RECT& rc, DWORD rgb) {
        CaptureClient(Hwnd(), surface);
        int n = 0;
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                n += surface.Rgb(x, y) == rgb ? 1 : 0;
        return n;
    };
    ASSERT_TRUE(MovePointer(kWindowX + 150, kWindowY + 90)) << "xdotool could not move the pointer";
    ASSERT_TRUE(PumpUntil([&] { return linkPixels(first, 0x0000FF) > 0; }));
    EXPECT_EQ(linkPixels(first, 0xFF0000), 0);

    ASSERT_TRUE(MovePointer(kWindowX + first.left + 3, kWindowY + first.top + 3));
    EXPECT_TRUE(PumpUntil([&] { return linkPixels(first, 0xFF0000) > 0; }, 15000));
    EXPECT_EQ(linkPixels(first, 0x0000FF), 0);

    ASSERT_TRUE(MovePointer(kWindowX + 150, kWindowY + 90));
    EXPECT_TRUE(PumpUntil([&] { return linkPixels(first, 0x0000FF) > 0; }, 15000));
}
