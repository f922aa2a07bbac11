#include "veneer/control/ButtonUI.h"
#include "veneer/control/CheckBoxUI.h"
#include "veneer/control/OptionUI.h"

#include "RenderTestSupport.h"
#include "WindowFixture.h"

#include <gtest/gtest.h>

using namespace Veneer;

namespace
{

typedef std::vector<std::wstring> Notes;

// Buttons of 60 x 20 in a row, in a live window; clicks and keys are real
// messages to it.
class Buttons : public WindowFixture
{
  protected:
    template <class TButton> TButton* AddButton(LPCWSTR pstrName, int index)
    {
        TButton* pButton = new TButton;
        pButton->SetName(pstrName);
        pButton->SetFloat(true);
        pButton->SetFixedXY(SIZE{10 + 62 * index, 10});
        pButton->SetFixedWidth(60);
        pButton->SetFixedHeight(20);
        m_pRoot->Add(pButton);
        return pButton;
    }

    void Click(CControlUI* pControl, POINT ptOffset = POINT{5, 5}, POINT ptRelease = POINT{5, 5})
    {
        const RECT& rc = pControl->GetPos();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(rc.left + ptOffset.x, rc.top + ptOffset.y));
        Send(WM_LBUTTONUP, 0, Pos(rc.left + ptRelease.x, rc.top + ptRelease.y));
    }

    void Key(CControlUI* pControl, WPARAM vk)
    {
        pControl->SetFocus();
        Send(WM_KEYDOWN, vk, 0);
        Send(WM_KEYUP, vk, 0);
    }

    // Notifications without the focus changes.
    Notes Taken()
    {
        Notes notes;
        for (const std::wstring& note : TakeNotifications())
        {
            if (note.rfind(L"setfocus", 0) != 0 && note.rfind(L"killfocus", 0) != 0 &&
                note.rfind(L"mouse", 0) != 0)
                notes.push_back(note);
        }
        return notes;
    }

    // The colour at the middle of a control as the window shows it.
    DWORD Shown(CControlUI* pControl)
    {
        PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); });
        CTestSurface surface(200, 100);
        CaptureClient(Hwnd(), surface);
        const RECT& rc = pControl->GetPos();
        return surface.Rgb(rc.left + 2, rc.top + 2);
    }

    void AddSolid(LPCWSTR pstrName, DWORD rgb)
    {
        AddTestImage(*m_pm.GetResources(), pstrName, 4, 4, [rgb](int, int) { return Opaque(rgb); });
    }
};

} // namespace

TEST_F(Buttons, ClickWhenReleasedInsideAndPushDownOnPress)
{
    CButtonUI* pButton = AddButton<CButtonUI>(L"b", 0);
    AttachAndPaint();
    TakeNotifications();
    Click(pButton);
    EXPECT_EQ(Taken(), (Notes{L"buttondown:b", L"click:b"}));
    // Released outside: pressed, but not clicked.
    Click(pButton, POINT{5, 5}, POINT{150, 80});
    EXPECT_EQ(Taken(), (Notes{L"buttondown:b"}));
    // Space and enter activate the focused button.
    Key(pButton, VK_SPACE);
    Key(pButton, VK_RETURN);
    Key(pButton, 'A');
    EXPECT_EQ(Taken(), (Notes{L"click:b", L"click:b"}));
    // A disabled button does nothing.
    pButton->SetEnabled(false);
    Click(pButton);
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(pButton->GetControlFlags(), FlagTabStop);
}

TEST_F(Buttons, StateImagesFollowTheMouse)
{
    AddSolid(L"normal", kRed);
    AddSolid(L"hot", kGreen);
    AddSolid(L"pushed", kBlue);
    AddSolid(L"disabled", kBlack);
    CButtonUI* pButton = AddButton<CButtonUI>(L"b", 0);
    pButton->SetAttribute(L"normalimage", L"normal");
    pButton->SetAttribute(L"hotimage", L"hot");
    pButton->SetAttribute(L"pushedimage", L"pushed");
    pButton->SetAttribute(L"disabledimage", L"disabled");
    AttachAndPaint();
    EXPECT_EQ(Shown(pButton), kRed);
    Send(WM_MOUSEMOVE, 0, Pos(15, 15));
    EXPECT_EQ(Shown(pButton), kGreen);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(15, 15));
    EXPECT_EQ(Shown(pButton), kBlue);
    // Captured: outside it is not pushed any more.
    Send(WM_MOUSEMOVE, MK_LBUTTON, Pos(150, 80));
    EXPECT_NE(Shown(pButton), kBlue);
    Send(WM_LBUTTONUP, 0, Pos(150, 80));
    pButton->SetEnabled(false);
    EXPECT_EQ(Shown(pButton), kBlack);
    // An image that cannot be drawn is dropped; the next choice shows.
    pButton->SetEnabled(true);
    pButton->SetAttribute(L"normalimage", L"nosuch.png");
    pButton->SetAttribute(L"foreimage", L"hot");
    Send(WM_MOUSEMOVE, 0, Pos(150, 80));
    EXPECT_EQ(Shown(pButton), kGreen);
    EXPECT_STREQ(pButton->GetNormalImage(), L"");
}

TEST_F(Buttons, StateTextColours)
{
    CButtonUI* pButton = AddButton<CButtonUI>(L"b", 0);
    pButton->SetText(L"\x2588\x2588\x2588\x2588\x2588\x2588");
    pButton->SetAttribute(L"textcolor", L"#FF000000");
    pButton->SetAttribute(L"hottextcolor", L"#FF00FF00");
    pButton->SetAttribute(L"pushedtextcolor", L"#FF0000FF");
    AttachAndPaint();
    auto count = [&](DWORD rgb) {
        PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); });
        CTestSurface surface(200, 100);
        CaptureClient(Hwnd(), surface);
        int n = 0;
        for (int y = 10; y < 30; y++)
            for (int x = 10; x < 70; x++)
                n += surface.Rgb(x, y) == rgb ? 1 : 0;
        return n;
    };
    EXPECT_GT(count(kBlack), 0);
    Send(WM_MOUSEMOVE, 0, Pos(15, 15));
    EXPECT_GT(count(kGreen), 0);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pos(15, 15));
    EXPECT_GT(count(kBlue), 0);
    Send(WM_LBUTTONUP, 0, Pos(15, 15));
}

TEST_F(Buttons, AButtonWithEffectsKeepsItsBaseText)
{
    CButtonUI button;
    button.SetText(L"before");
    button.SetAttribute(L"enabledeffect", L"true");
    button.SetText(L"after");
    EXPECT_EQ(button.GetText(), L"after");
    button.SetEnabledEffect(false);
    EXPECT_EQ(button.GetText(), L"before");
}

TEST_F(Buttons, AGroupOfThreeKeepsOneSelected)
{
    COptionUI* options[3] = {AddButton<COptionUI>(L"a", 0), AddButton<COptionUI>(L"b", 1),
                             AddButton<COptionUI>(L"c", 2)};
    for (COptionUI* pOption : options)
        pOption->SetAttribute(L"group", L"g");
    options[1]->SetAttribute(L"selected", L"true");
    AttachAndPaint();
    ASSERT_NE(m_pm.GetOptionGroup(L"g"), nullptr);
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 3);
    auto selected = [&] {
        std::wstring s;
        for (COptionUI* pOption : options)
            s += pOption != nullptr && pOption->IsSelected() ? pOption->GetName().GetData() : L"";
        return s;
    };
    EXPECT_EQ(selected(), L"b");
    TakeNotifications();

    Click(options[0]);
    EXPECT_EQ(selected(), L"a");
    // Only the newly selected member reports; a grouped option only selects.
    EXPECT_EQ(Taken(), (Notes{L"buttondown:a", L"click:a", L"selectchanged:a"}));
    Click(options[0]);
    EXPECT_EQ(selected(), L"a");
    EXPECT_EQ(Taken(), (Notes{L"buttondown:a", L"click:a"}));

    // From the keyboard.
    Key(options[2], VK_SPACE);
    EXPECT_EQ(selected(), L"c");
    EXPECT_EQ(Taken(), (Notes{L"click:c", L"selectchanged:c"}));

    // The selected member removed: it leaves the group, and the group goes
    // on with the other two.
    m_pRoot->Remove(options[2]);
    options[2] = nullptr;
    EXPECT_EQ(m_pm.GetOptionGroup(L"g")->GetSize(), 2);
    EXPECT_EQ(selected(), L"");
    Click(options[1]);
    EXPECT_EQ(selected(), L"b");
    Click(options[0]);
    EXPECT_EQ(selected(), L"a");
    // A disabled option keeps only its selection.
    options[0]->SetEnabled(false);
    EXPECT_TRUE(options[0]->IsSelected());
}

TEST_F(Buttons, ChangingGroupsKeepsEachGroupToOneSelection)
{
    COptionUI* pA = AddButton<COptionUI>(L"a", 0);
    COptionUI* pB = AddButton<COptionUI>(L"b", 1);
    pA->SetGroup(L"one");
    pB->SetGroup(L"two");
    pA->Selected(true);
    pB->Selected(true);
    AttachAndPaint();
    pB->SetGroup(L"one");
    EXPECT_TRUE(pB->IsSelected());
    EXPECT_FALSE(pA->IsSelected());
    EXPECT_EQ(m_pm.GetOptionGroup(L"two"), nullptr);
    pB->SetGroup(nullptr);
    EXPECT_EQ(m_pm.GetOptionGroup(L"one")->GetSize(), 1);
    EXPECT_STREQ(pB->GetGroup(), L"");
}

TEST_F(Buttons, UngroupedOptionsAndCheckBoxesToggle)
{
    COptionUI* pOption = AddButton<COptionUI>(L"o", 0);
    CCheckBoxUI* pCheck = AddButton<CCheckBoxUI>(L"x", 1);
    AttachAndPaint();
    TakeNotifications();
    Click(pOption);
    Click(pOption);
    EXPECT_FALSE(pOption->IsSelected());
    EXPECT_EQ(Taken(), (Notes{L"buttondown:o", L"click:o", L"selectchanged:o", L"buttondown:o", L"click:o",
                              L"selectchanged:o"}));

    Click(pCheck);
    EXPECT_TRUE(pCheck->GetCheck());
    EXPECT_EQ(Taken(), (Notes{L"buttondown:x", L"click:x", L"selectchanged:x"}));
    pCheck->SetCheck(false);
    pCheck->SetCheck(false);
    EXPECT_FALSE(pCheck->GetCheck());
    EXPECT_EQ(Taken(), (Notes{L"selectchanged:x"}));
    EXPECT_STREQ(pCheck->GetClass(), L"CheckBoxUI");
    EXPECT_EQ(pCheck->GetInterface(L"Option"), static_cast<COptionUI*>(pCheck));
}

TEST_F(Buttons, SelectedOptionsShowTheirSelectedLook)
{
    AddSolid(L"normal", kRed);
    AddSolid(L"selected", kGreen);
    COptionUI* pImage = AddButton<COptionUI>(L"i", 0);
    pImage->SetAttribute(L"normalimage", L"normal");
    pImage->SetAttribute(L"selectedimage", L"selected");
    COptionUI* pColour = AddButton<COptionUI>(L"c", 1);
    pColour->SetAttribute(L"normalimage", L"normal");
    pColour->SetAttribute(L"selectedbkcolor", L"#FF0000FF");
    AttachAndPaint();
    EXPECT_EQ(Shown(pImage), kRed);
    EXPECT_EQ(Shown(pColour), kRed);
    pImage->Selected(true);
    pColour->Selected(true);
    EXPECT_EQ(Shown(pImage), kGreen);
    EXPECT_EQ(Shown(pColour), kBlue);
}
