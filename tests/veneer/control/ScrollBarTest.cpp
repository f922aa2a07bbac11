#include "veneer/control/ScrollBarUI.h"

#include "veneer/control/ContainerUI.h"
#include "veneer/render/DibSurface.h"

#include "ProbeControl.h"
#include "StackContainer.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

const DWORD kOutline = 0x85E4FF;

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

std::string Parts(const CScrollBarUI& bar)
{
    return Str(bar.GetButton1Rect()) + " " + Str(bar.GetThumbRect()) + " " + Str(bar.GetButton2Rect());
}

void AddSolidImage(CPaintManagerUI& pm, LPCWSTR pstrName, DWORD dwColor)
{
    DWORD* pBits = nullptr;
    HBITMAP hBitmap = CDibSurface::CreateBitmap(4, 4, &pBits);
    ASSERT_NE(hBitmap, nullptr);
    for (int i = 0; i < 16; i++)
        pBits[i] = dwColor;
    ASSERT_NE(pm.AddImage(pstrName, hBitmap, 4, 4, false), nullptr);
}

// The timer ticks that reached the bar under test, with its position as
// each arrived (before the bar handled it).
std::vector<int> g_ticks;

bool RecordTick(void* pParam)
{
    const TEventUI* pEvent = static_cast<TEventUI*>(pParam);
    if (pEvent->Type == EventTimer)
        g_ticks.push_back(static_cast<CScrollBarUI*>(pEvent->pSender)->GetScrollPos());
    return true;
}

// A 100 x 200 window. The unowned tests put a 16 x 200 bar at x = 20 into
// a plain root; the owned ones a stack of rows with its own bar.
class ScrollBarWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_ticks.clear();
        ASSERT_TRUE(m_window.Create(&m_pm, 100, 200, 40, 40));
        m_pm.AddNotifier(&m_notes);
    }

    void TearDown() override
    {
        ::ReleaseCapture();
        m_window.Destroy();
    }

    CScrollBarUI* AttachLoneBar()
    {
        CContainerUI* pRoot = new CContainerUI();
        pRoot->SetDelayedDestroy(false);
        CScrollBarUI* pBar = new CScrollBarUI();
        pBar->SetName(L"bar");
        pBar->SetAttribute(L"float", L"true");
        pBar->SetAttribute(L"pos", L"20,0,36,200");
        pRoot->Add(pBar);
        Attach(pRoot);
        pBar->eventSource += RecordTick;
        return pBar;
    }

    CStackContainer* AttachStack()
    {
        CStackContainer* pStack = new CStackContainer();
        pStack->EnableScrollBar(true, false);
        for (int i = 0; i < 10; i++)
        {
            CControlUI* pRow = new CControlUI();
            pRow->SetFixedHeight(50);
            pStack->Add(pRow);
        }
        Attach(pStack);
        return pStack;
    }

    void Attach(CControlUI* pRoot)
    {
        ASSERT_TRUE(m_pm.AttachDialog(pRoot));
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE); }));
        m_notes.m_entries.clear();
    }

    LRESULT Send(UINT uMsg, WPARAM wParam, int x, int y)
    {
        return ::SendMessageW(m_window.GetHWND(), uMsg, wParam, MAKELPARAM(x, y));
    }

    // The "scroll" notifications received so far, by sender.
    std::vector<std::wstring> Scrolls() const
    {
        std::vector<std::wstring> scrolls;
        for (const std::wstring& entry : m_notes.m_entries)
        {
            if (entry.rfind(L"scroll:", 0) == 0)
                scrolls.push_back(entry);
        }
        return scrolls;
    }

    // Pumps for a while, for checking that nothing more happens.
    static void Idle(DWORD dwMs)
    {
        PumpUntil([] { return false; }, dwMs);
    }

    CNotifyLog m_notes;
    CPaintManagerUI m_pm;
    CTestWindow m_window;
};

} // namespace

TEST(ScrollBarGeometry, ThumbFollowsRangeAndPosition)
{
    CScrollBarUI bar;
    EXPECT_STREQ(bar.GetClass(), L"ScrollBarUI");
    EXPECT_EQ(bar.GetInterface(L"ScrollBar"), static_cast<LPVOID>(&bar));
    EXPECT_EQ(bar.GetInterface(L"Control"), static_cast<LPVOID>(&bar));
    EXPECT_EQ(bar.GetFixedWidth(), 16);
    EXPECT_EQ(bar.GetScrollRange(), 100);
    EXPECT_EQ(bar.GetLineSize(), 8);
    bar.SetPos(RECT{0, 0, 16, 200});
    // Free length 168, thumb 200 x 168 / 300 = 112.
    EXPECT_EQ(Parts(bar), "0,0,16,16 0,16,16,128 0,184,16,200");
    bar.SetScrollPos(100);
    EXPECT_EQ(Str(bar.GetThumbRect()), "0,72,16,184");
    bar.SetScrollPos(50);
    EXPECT_EQ(Str(bar.GetThumbRect()), "0,44,16,156");
    bar.SetScrollRange(1000);
    bar.SetScrollPos(1000);
    EXPECT_EQ(Str(bar.GetThumbRect()), "0,156,16,184");
    // Never thinner than the bar is thick.
    bar.SetScrollRange(100000);
    EXPECT_EQ(Str(bar.GetThumbRect()), "0,17,16,33");
    // No range: the thumb fills the space between the buttons.
    bar.SetScrollRange(0);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    EXPECT_EQ(Str(bar.GetThumbRect()), "0,16,16,184");
    bar.SetScrollRange(-5);
    EXPECT_EQ(bar.GetScrollRange(), 0);
    bar.SetScrollRange(10);
    bar.SetScrollPos(-3);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    bar.SetScrollPos(11);
    EXPECT_EQ(bar.GetScrollPos(), 10);
}

TEST(ScrollBarGeometry, ShortBarsShareTheirLengthBetweenTheButtons)
{
    CScrollBarUI bar;
    bar.SetPos(RECT{0, 0, 16, 20});
    EXPECT_EQ(Parts(bar), "0,0,16,10 0,0,0,0 0,10,16,20");
    bar.SetShowButton1(false);
    EXPECT_EQ(Parts(bar), "0,0,0,0 0,0,0,0 0,10,16,20");
    bar.SetShowButton1(true);
    bar.SetPos(RECT{0, 0, 16, 0});
    EXPECT_EQ(Parts(bar), "0,0,16,0 0,0,0,0 0,0,16,0");
    // Without buttons the thumb has the whole length: 200 x 200 / 300.
    bar.SetShowButton1(false);
    bar.SetShowButton2(false);
    bar.SetPos(RECT{0, 0, 16, 200});
    EXPECT_EQ(Parts(bar), "0,0,0,0 0,0,16,133 0,200,0,200");
    EXPECT_FALSE(bar.GetShowButton1());
    EXPECT_FALSE(bar.GetShowButton2());
}

TEST(ScrollBarGeometry, HorizontalBarsExchangeTheAxes)
{
    CScrollBarUI bar;
    bar.SetHorizontal(true);
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(bar.GetFixedWidth(), 0);
    EXPECT_EQ(bar.GetFixedHeight(), 16);
    bar.SetPos(RECT{0, 0, 200, 16});
    bar.SetScrollPos(100);
    EXPECT_EQ(Parts(bar), "0,0,16,16 72,0,184,16 184,0,200,16");
    bar.SetHorizontal(false);
    EXPECT_EQ(bar.GetFixedWidth(), 16);
    EXPECT_EQ(bar.GetFixedHeight(), 0);
    // A thickness set for the other axis is kept.
    bar.SetFixedHeight(10);
    bar.SetHorizontal(true);
    EXPECT_EQ(bar.GetFixedWidth(), 16);
    EXPECT_EQ(bar.GetFixedHeight(), 10);
}

TEST(ScrollBarGeometry, HugeRangesAndLengthsStayInsideTheBar)
{
    CScrollBarUI bar;
    bar.SetScrollRange(2000000000);
    bar.SetScrollPos(1999999999);
    bar.SetPos(RECT{0, 0, 16, 30000});
    const RECT rcThumb = bar.GetThumbRect();
    EXPECT_EQ(rcThumb.bottom - rcThumb.top, 16);
    EXPECT_GE(rcThumb.top, 16);
    EXPECT_LE(rcThumb.bottom, 29984);
    EXPECT_GT(rcThumb.top, 29900);
}

TEST(ScrollBarInput, DraggingAThumbWithNoTravelLeavesThePosition)
{
    CPaintManagerUI pm;
    CScrollBarUI bar;
    bar.SetManager(&pm, nullptr, false);
    bar.SetScrollRange(0);
    bar.SetPos(RECT{0, 0, 16, 200});
    TEventUI event = CPaintManagerUI::NewEvent(EventButtonDown, &bar);
    event.ptMouse = POINT{8, 100};
    bar.Event(event);
    event.Type = EventMouseMove;
    event.ptMouse = POINT{8, 190};
    bar.Event(event);
    event.Type = EventTimer;
    event.wParam = 10;
    bar.Event(event);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    EXPECT_EQ(Str(bar.GetThumbRect()), "0,16,16,184");
}

TEST(ScrollBarAttributes, EveryImageAndSetting)
{
    typedef LPCWSTR (CScrollBarUI::*Getter)() const;
    const struct
    {
        LPCWSTR pstrName;
        Getter pfnGet;
    } images[] = {
        {L"button1normalimage", &CScrollBarUI::GetButton1NormalImage},
        {L"button1hotimage", &CScrollBarUI::GetButton1HotImage},
        {L"button1pushedimage", &CScrollBarUI::GetButton1PushedImage},
        {L"button1disabledimage", &CScrollBarUI::GetButton1DisabledImage},
        {L"button2normalimage", &CScrollBarUI::GetButton2NormalImage},
        {L"button2hotimage", &CScrollBarUI::GetButton2HotImage},
        {L"button2pushedimage", &CScrollBarUI::GetButton2PushedImage},
        {L"button2disabledimage", &CScrollBarUI::GetButton2DisabledImage},
        {L"thumbnormalimage", &CScrollBarUI::GetThumbNormalImage},
        {L"thumbhotimage", &CScrollBarUI::GetThumbHotImage},
        {L"thumbpushedimage", &CScrollBarUI::GetThumbPushedImage},
        {L"thumbdisabledimage", &CScrollBarUI::GetThumbDisabledImage},
        {L"railnormalimage", &CScrollBarUI::GetRailNormalImage},
        {L"railhotimage", &CScrollBarUI::GetRailHotImage},
        {L"railpushedimage", &CScrollBarUI::GetRailPushedImage},
        {L"raildisabledimage", &CScrollBarUI::GetRailDisabledImage},
        {L"bknormalimage", &CScrollBarUI::GetBkNormalImage},
        {L"bkhotimage", &CScrollBarUI::GetBkHotImage},
        {L"bkpushedimage", &CScrollBarUI::GetBkPushedImage},
        {L"bkdisabledimage", &CScrollBarUI::GetBkDisabledImage},
    };
    CScrollBarUI bar;
    for (const auto& image : images)
        bar.SetAttribute(image.pstrName, image.pstrName);
    for (const auto& image : images)
        EXPECT_STREQ((bar.*image.pfnGet)(), image.pstrName);

    bar.ApplyAttributeList(L"hor=\"true\" linesize=\"5\" range=\"40\" value=\"30\" showbutton1=\"false\" "
                           L"showbutton2=\"false\" name=\"bar\"");
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(bar.GetLineSize(), 5);
    EXPECT_EQ(bar.GetScrollRange(), 40);
    EXPECT_EQ(bar.GetScrollPos(), 30);
    EXPECT_FALSE(bar.GetShowButton1());
    EXPECT_FALSE(bar.GetShowButton2());
    EXPECT_STREQ(bar.GetName(), L"bar");
    bar.SetAttribute(L"value", L"99");
    EXPECT_EQ(bar.GetScrollPos(), 40);
}

TEST_F(ScrollBarWindow, HoldingButton2RepeatsFromTheSixthTick)
{
    CScrollBarUI* pBar = AttachLoneBar();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 28, 195);
    EXPECT_EQ(pBar->GetScrollPos(), 8);
    EXPECT_EQ(Scrolls(), (std::vector<std::wstring>{L"scroll:bar"}));
    ASSERT_TRUE(PumpUntil([] { return g_ticks.size() >= 8; }));
    // The position as ticks 1 ... 8 arrived: still for five, then a line each.
    const std::vector<int> expected{8, 8, 8, 8, 8, 8, 16, 24};
    EXPECT_EQ(std::vector<int>(g_ticks.begin(), g_ticks.begin() + 8), expected);
    Send(WM_LBUTTONUP, 0, 28, 195);
    const size_t nTicks = g_ticks.size();
    const int nPos = pBar->GetScrollPos();
    Idle(200);
    EXPECT_EQ(g_ticks.size(), nTicks);
    EXPECT_EQ(pBar->GetScrollPos(), nPos);
    EXPECT_FALSE(m_pm.IsCaptured());
}

TEST_F(ScrollBarWindow, TrackPressPagesByTheBarLengthTowardsTheMouse)
{
    CScrollBarUI* pBar = AttachLoneBar();
    pBar->SetScrollRange(1000);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 28, 150);
    Send(WM_LBUTTONUP, 0, 28, 150);
    EXPECT_EQ(pBar->GetScrollPos(), 200);
    ASSERT_GT(pBar->GetThumbRect().top, 20);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 28, 20);
    Send(WM_LBUTTONUP, 0, 28, 20);
    EXPECT_EQ(pBar->GetScrollPos(), 0);
    EXPECT_EQ(Scrolls(), (std::vector<std::wstring>{L"scroll:bar", L"scroll:bar"}));
}

TEST_F(ScrollBarWindow, DraggingTheThumbMovesThePositionOnlyOnTicks)
{
    CScrollBarUI* pBar = AttachLoneBar();
    ASSERT_EQ(Str(pBar->GetThumbRect()), "20,16,36,128");
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 28, 50);
    EXPECT_EQ(Scrolls(), (std::vector<std::wstring>{L"scroll:bar"}));
    // The thumb travels 168 - 112 = 56 pixels for the range of 100.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 28, 78);
    EXPECT_EQ(pBar->GetScrollPos(), 0);
    ASSERT_TRUE(PumpUntil([pBar] { return pBar->GetScrollPos() == 50; }));
    EXPECT_FALSE(g_ticks.empty());
    Send(WM_MOUSEMOVE, MK_LBUTTON, 28, 300);
    EXPECT_EQ(pBar->GetScrollPos(), 50);
    ASSERT_TRUE(PumpUntil([pBar] { return pBar->GetScrollPos() == 100; }));
    Send(WM_MOUSEMOVE, MK_LBUTTON, 28, 22);
    ASSERT_TRUE(PumpUntil([pBar] { return pBar->GetScrollPos() == 0; }));
    Send(WM_LBUTTONUP, 0, 28, 22);
    Send(WM_MOUSEMOVE, 0, 28, 150);
    Idle(150);
    EXPECT_EQ(pBar->GetScrollPos(), 0);
}

TEST_F(ScrollBarWindow, ThumbWithoutButtonsFollowsTheMouseOverItsRealTravel)
{
    CScrollBarUI* pBar = AttachLoneBar();
    pBar->SetShowButton1(false);
    pBar->SetShowButton2(false);
    // The thumb is 133 long and travels 67 pixels.
    ASSERT_EQ(Str(pBar->GetThumbRect()), "20,0,36,133");
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 28, 50);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 28, 83);
    ASSERT_TRUE(PumpUntil([] { return g_ticks.size() >= 2; }));
    EXPECT_EQ(pBar->GetScrollPos(), 49);
    Send(WM_LBUTTONUP, 0, 28, 83);
}

TEST_F(ScrollBarWindow, OwnedBarScrollsItsOwnerAndSendsNothing)
{
    CStackContainer* pStack = AttachStack();
    CScrollBarUI* pBar = pStack->GetVerticalScrollBar();
    ASSERT_EQ(Str(pBar->GetPos()), "84,0,100,200");
    const int cyLine = m_pm.GetDefaultFontInfo()->tm.tmHeight + 8;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 90, 195);
    Send(WM_LBUTTONUP, 0, 90, 195);
    EXPECT_EQ(pStack->GetScrollPos().cy, cyLine);
    EXPECT_EQ(pStack->GetItemAt(0)->GetPos().top, -cyLine);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 90, 190);
    Send(WM_LBUTTONUP, 0, 90, 190);
    // A page of the owner is its client height.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 90, 180);
    Send(WM_LBUTTONUP, 0, 90, 180);
    EXPECT_EQ(pStack->GetScrollPos().cy, 2 * cyLine + 200);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 90, 5);
    Send(WM_LBUTTONUP, 0, 90, 5);
    EXPECT_EQ(pStack->GetScrollPos().cy, cyLine + 200);
    EXPECT_TRUE(Scrolls().empty());
    // The focus goes to the owner.
    EXPECT_EQ(m_pm.GetFocus(), pStack);
}

TEST_F(ScrollBarWindow, DisablingTheBarWhileItHoldsTheMouseAndATimer)
{
    CStackContainer* pStack = AttachStack();
    CScrollBarUI* pBar = pStack->GetVerticalScrollBar();
    pBar->eventSource += RecordTick;
    const RECT rcThumb = pBar->GetThumbRect();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 90, rcThumb.top + 2);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 90, rcThumb.top + 40);
    ASSERT_TRUE(m_pm.IsCaptured());
    ASSERT_TRUE(PumpUntil([] { return !g_ticks.empty(); }));
    pStack->EnableScrollBar(false, false);
    g_ticks.clear();
    Idle(200);
    EXPECT_TRUE(g_ticks.empty());
    Send(WM_MOUSEMOVE, MK_LBUTTON, 90, rcThumb.top + 60);
    Send(WM_LBUTTONUP, 0, 90, rcThumb.top + 60);
    EXPECT_FALSE(m_pm.IsCaptured());
    EXPECT_NE(::GetCapture(), m_window.GetHWND());
}

namespace
{

CContainerUI* g_pRoot = nullptr;

// Deletes the bar the first time it moves.
bool RemoveMovedBar(void* pParam)
{
    CControlUI* pBar = static_cast<CControlUI*>(pParam);
    if (g_pRoot != nullptr && pBar->GetPos().top == 0)
        g_pRoot->Remove(pBar);
    g_pRoot = nullptr;
    return true;
}

} // namespace

TEST_F(ScrollBarWindow, BarDeletedWhileScrollingStopsAtOnce)
{
    CScrollBarUI* pBar = AttachLoneBar();
    g_pRoot = static_cast<CContainerUI*>(pBar->GetParent());
    pBar->sizeSource += RemoveMovedBar;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 28, 195);
    EXPECT_EQ(g_pRoot, nullptr);
    EXPECT_EQ(static_cast<CContainerUI*>(m_pm.GetRoot())->GetCount(), 0);
    EXPECT_TRUE(Scrolls().empty());
    Send(WM_LBUTTONUP, 0, 28, 195);
    EXPECT_FALSE(m_pm.IsCaptured());
}

TEST(ScrollBarPaint, PartsTakeTheirImagesInTheirPlaces)
{
    CPaintManagerUI pm;
    AddSolidImage(pm, L"track", 0xFF00FF00);
    AddSolidImage(pm, L"up", 0xFFFF0000);
    AddSolidImage(pm, L"grip", 0xFF0000FF);
    CScrollBarUI bar;
    bar.SetManager(&pm, nullptr, false);
    bar.SetBkNormalImage(L"track");
    bar.SetButton1NormalImage(L"up");
    bar.SetRailNormalImage(L"grip");
    bar.SetPos(RECT{10, 10, 26, 210});
    ASSERT_EQ(Str(bar.GetThumbRect()), "10,26,26,138");
    CTestSurface surface(40, 230);
    bar.DoPaint(surface.GetDC(), RECT{0, 0, 40, 230});
    EXPECT_EQ(surface.Rgb(5, 5), 0xFFFFFFu);
    EXPECT_EQ(surface.Rgb(17, 17), 0xFF0000u);  // button 1 image in its place
    EXPECT_EQ(surface.Rgb(17, 150), 0x00FF00u); // track
    EXPECT_EQ(surface.Rgb(10, 200), kOutline);  // button 2 has no image
    EXPECT_EQ(surface.Rgb(10, 60), kOutline);   // neither has the thumb
    // The grip: 16 square on the thumb's centre, 82.
    EXPECT_EQ(surface.Rgb(17, 74), 0x0000FFu);
    EXPECT_EQ(surface.Rgb(17, 89), 0x0000FFu);
    EXPECT_EQ(surface.Rgb(17, 73), 0x00FF00u);
    EXPECT_EQ(surface.Rgb(17, 90), 0x00FF00u);
}

TEST(ScrollBarPaint, StateChoosesTheImage)
{
    CPaintManagerUI pm;
    AddSolidImage(pm, L"normal", 0xFFFF0000);
    AddSolidImage(pm, L"hot", 0xFF00FF00);
    AddSolidImage(pm, L"pushed", 0xFF0000FF);
    AddSolidImage(pm, L"disabled", 0xFF808080);
    CScrollBarUI bar;
    bar.SetManager(&pm, nullptr, false);
    bar.ApplyAttributeList(L"thumbnormalimage=\"normal\" thumbhotimage=\"hot\" thumbpushedimage=\"pushed\" "
                           L"thumbdisabledimage=\"disabled\"");
    bar.SetPos(RECT{0, 0, 16, 200});
    CTestSurface surface(16, 200);
    auto thumb = [&] {
        surface.Fill(0xFFFFFFFF);
        bar.DoPaint(surface.GetDC(), RECT{0, 0, 16, 200});
        return surface.Rgb(8, 60);
    };
    EXPECT_EQ(thumb(), 0xFF0000u);
    TEventUI event = CPaintManagerUI::NewEvent(EventMouseEnter, &bar);
    event.ptMouse = POINT{8, 60};
    bar.Event(event);
    EXPECT_EQ(thumb(), 0x00FF00u);
    event.Type = EventButtonDown;
    bar.Event(event);
    EXPECT_EQ(thumb(), 0x0000FFu);
    event.Type = EventButtonUp;
    bar.Event(event);
    EXPECT_EQ(thumb(), 0x00FF00u);
    event.Type = EventMouseMove;
    event.ptMouse = POINT{8, 190};
    bar.Event(event);
    EXPECT_EQ(thumb(), 0xFF0000u);
    event.Type = EventMouseEnter;
    event.ptMouse = POINT{8, 60};
    bar.Event(event);
    bar.SetEnabled(false);
    EXPECT_EQ(thumb(), 0x808080u);
    // Enabled again, the hot state is gone with the disabled one.
    bar.SetEnabled(true);
    EXPECT_EQ(thumb(), 0xFF0000u);
    // A missing state image falls back to the normal one.
    bar.SetThumbHotImage(L"");
    bar.Event(event);
    EXPECT_EQ(thumb(), 0xFF0000u);
}

TEST(ScrollBarPaint, ImageThatCannotDrawIsDroppedForTheOutline)
{
    // Without a manager no image draws.
    CScrollBarUI bar;
    bar.SetThumbNormalImage(L"thumb.png");
    bar.SetPos(RECT{0, 0, 16, 200});
    CTestSurface surface(16, 200);
    bar.DoPaint(surface.GetDC(), RECT{0, 0, 16, 200});
    EXPECT_STREQ(bar.GetThumbNormalImage(), L"");
    EXPECT_EQ(surface.Rgb(0, 60), kOutline);
    EXPECT_EQ(surface.Rgb(8, 60), 0xFFFFFFu);
}

TEST(ScrollBarPaint, MissingImageFileIsOutlinedLikeNoImage)
{
    CPaintManagerUI pm;
    AddSolidImage(pm, L"track", 0xFF00FF00);
    CScrollBarUI bar;
    bar.SetManager(&pm, nullptr, false);
    bar.SetBkNormalImage(L"track");
    bar.SetThumbNormalImage(L"no-such-thumb.png");
    bar.SetButton1NormalImage(L"file='no-such-button.png' corner='2,2,2,2'");
    bar.SetPos(RECT{0, 0, 16, 200});
    CTestSurface surface(16, 200);
    bar.DoPaint(surface.GetDC(), RECT{0, 0, 16, 200});
    EXPECT_EQ(surface.Rgb(0, 60), kOutline);
    EXPECT_EQ(surface.Rgb(0, 8), kOutline);
    EXPECT_EQ(surface.Rgb(8, 8), 0x00FF00u); // inside the outline, the track
    EXPECT_STREQ(bar.GetThumbNormalImage(), L"");
}
