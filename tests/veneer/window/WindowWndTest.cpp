#include "veneer/window/WindowWnd.h"
#include "veneer/manager/PaintManagerUI.h"

#include "TestWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

const UINT kMsgProbe = WM_APP + 1;

// Records the messages it sees and when its window has gone.
class CRecordingWnd : public CWindowWnd
{
  public:
    explicit CRecordingWnd(LPCWSTR pstrClass = L"VeneerTestWnd", LPCWSTR pstrSuper = nullptr)
        : m_pstrClass(pstrClass), m_pstrSuper(pstrSuper)
    {
    }
    ~CRecordingWnd()
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }

    LPCWSTR GetWindowClass() const override { return m_pstrClass; }
    LPCWSTR GetSuperClassName() const override { return m_pstrSuper; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        m_messages.push_back(uMsg);
        if (uMsg == kMsgProbe)
            m_bWatchEnabled = ::IsWindowEnabled(m_hWatch) != FALSE;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND hWnd) override { m_hFinal = hWnd; }

    bool Saw(UINT uMsg) const
    {
        for (UINT u : m_messages)
        {
            if (u == uMsg)
                return true;
        }
        return false;
    }

    LPCWSTR m_pstrClass;
    LPCWSTR m_pstrSuper;
    std::vector<UINT> m_messages;
    HWND m_hFinal = nullptr;
    HWND m_hWatch = nullptr;
    bool m_bWatchEnabled = true;
};

const DWORD kHiddenPopup = WS_POPUP;

RECT WindowRect(HWND hWnd)
{
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

RECT PrimaryWorkArea()
{
    RECT rc{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

class WindowWnd : public ::testing::Test
{
  protected:
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
};

} // namespace

TEST_F(WindowWnd, CreateBindsTheObjectAndTheFinalMessageUnbindsIt)
{
    CRecordingWnd wnd;
    const HWND hWnd = wnd.Create(nullptr, L"t", kHiddenPopup, 0, 10, 20, 130, 40);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(wnd.GetHWND(), hWnd);
    EXPECT_EQ(static_cast<HWND>(wnd), hWnd);
    EXPECT_TRUE(wnd.Saw(WM_NCCREATE));
    EXPECT_TRUE(wnd.Saw(WM_CREATE));
    const RECT rc = WindowRect(hWnd);
    EXPECT_EQ(rc.left * 1000 + rc.top, 10020);
    EXPECT_EQ(rc.right - rc.left, 130);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.m_hFinal, hWnd);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
    EXPECT_FALSE(wnd.Saw(WM_NCDESTROY)); // the final message is not handed on
}

TEST_F(WindowWnd, ARectangleGivesPositionAndSize)
{
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"t", kHiddenPopup, 0, RECT{5, 6, 105, 56}), nullptr);
    const RECT rc = WindowRect(wnd);
    EXPECT_EQ(rc.left + rc.top * 1000 + (rc.right - rc.left) * 1000000, 100006005);
}

TEST_F(WindowWnd, AClassThatCannotBeRegisteredCreatesNothing)
{
    // A superclass of a class that exists nowhere cannot be registered.
    CRecordingWnd wnd(L"VeneerNoSuper", L"NoSuchBaseClass");
    EXPECT_EQ(wnd.Create(nullptr, L"t", kHiddenPopup, 0, 0, 0, 10, 10), nullptr);
    EXPECT_TRUE(wnd.m_messages.empty());
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowWnd, RegisteringTheSameClassTwiceSucceeds)
{
    CRecordingWnd first(L"VeneerTwice");
    CRecordingWnd second(L"VeneerTwice");
    EXPECT_TRUE(first.RegisterWindowClass());
    EXPECT_TRUE(second.RegisterWindowClass());
    EXPECT_NE(second.Create(nullptr, L"t", kHiddenPopup, 0, 0, 0, 10, 10), nullptr);
}

TEST_F(WindowWnd, ASuperclassKeepsTheBaseClassBehaviour)
{
    CRecordingWnd wnd(L"VeneerStatic", L"STATIC");
    const HWND hWnd = wnd.Create(nullptr, L"label text", kHiddenPopup, 0, 0, 0, 50, 20);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_NE(::GetPropW(hWnd, L"WndX"), nullptr);
    // The static class stores and returns the text itself.
    wchar_t szText[32] = {};
    ::GetWindowTextW(hWnd, szText, _countof(szText));
    EXPECT_STREQ(szText, L"label text");
    EXPECT_TRUE(wnd.Saw(WM_SETTEXT) || wnd.Saw(WM_NCCREATE));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.m_hFinal, hWnd);
}

TEST_F(WindowWnd, SubclassRoutesAnExistingWindowUntilUnsubclassed)
{
    const HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"before", kHiddenPopup, 0, 0, 50, 20, nullptr,
                                           nullptr, nullptr, nullptr);
    ASSERT_NE(hStatic, nullptr);
    CRecordingWnd wnd;
    ASSERT_EQ(wnd.Subclass(hStatic), hStatic);
    EXPECT_EQ(wnd.GetHWND(), hStatic);
    ::SendMessageW(hStatic, WM_APP + 5, 0, 0);
    EXPECT_TRUE(wnd.Saw(WM_APP + 5));
    // What the object does not handle reaches the static class's procedure.
    ::SetWindowTextW(hStatic, L"after");
    wchar_t szText[16] = {};
    ::GetWindowTextW(hStatic, szText, _countof(szText));
    EXPECT_STREQ(szText, L"after");
    wnd.Unsubclass();
    ::SendMessageW(hStatic, WM_APP + 6, 0, 0);
    EXPECT_FALSE(wnd.Saw(WM_APP + 6));
    wnd.Unsubclass(); // twice does nothing
    ::DestroyWindow(hStatic);
    EXPECT_EQ(wnd.m_hFinal, nullptr);
}

TEST_F(WindowWnd, ASubclassedWindowThatGoesIsUnboundAndRestored)
{
    const HWND hStatic =
        ::CreateWindowExW(0, L"STATIC", L"x", kHiddenPopup, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    CRecordingWnd wnd;
    ASSERT_EQ(wnd.Subclass(hStatic), hStatic);
    ::DestroyWindow(hStatic);
    EXPECT_EQ(wnd.m_hFinal, hStatic);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowWnd, SubclassOfNoWindowFails)
{
    CRecordingWnd wnd;
    EXPECT_EQ(wnd.Subclass(nullptr), nullptr);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowWnd, CenterWindowCentresOnTheWorkAreaAndKeepsTheLeftEdgeVisible)
{
    const RECT rcWork = PrimaryWorkArea();
    ASSERT_EQ(rcWork.right - rcWork.left, 1280) << "the test display is 1280 x 1024";
    ASSERT_EQ(rcWork.bottom - rcWork.top, 1024);
    struct Case
    {
        int cx, cy, x, y;
    } cases[] = {{500, 400, 390, 312}, {501, 401, 390, 312}, {1500, 300, 0, 362}, {300, 1100, 490, 0}};
    for (const Case& c : cases)
    {
        CRecordingWnd wnd;
        ASSERT_NE(wnd.Create(nullptr, L"t", kHiddenPopup, 0, 7, 7, c.cx, c.cy), nullptr);
        wnd.CenterWindow();
        const RECT rc = WindowRect(wnd);
        EXPECT_EQ(rc.left, c.x) << c.cx << "x" << c.cy;
        EXPECT_EQ(rc.top, c.y) << c.cx << "x" << c.cy;
    }
}

TEST_F(WindowWnd, CenterWindowCentresOnItsOwner)
{
    CRecordingWnd owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", kHiddenPopup, 0, 100, 100, 300, 200), nullptr);
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(owner, L"owned", kHiddenPopup, 0, 0, 0, 100, 50), nullptr);
    wnd.CenterWindow();
    const RECT rc = WindowRect(wnd);
    EXPECT_EQ(rc.left, 200);
    EXPECT_EQ(rc.top, 175);
}

TEST_F(WindowWnd, ShowModalReturnsTheCloseCodeWhenTheWindowGoes)
{
    CRecordingWnd owner;
    ASSERT_NE(owner.Create(nullptr, L"owner", kHiddenPopup, WS_EX_TOOLWINDOW, 0, 0, 50, 50), nullptr);
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(owner, L"modal", kHiddenPopup, WS_EX_TOOLWINDOW, 0, 0, 50, 50), nullptr);
    wnd.m_hWatch = owner;
    ::PostMessageW(wnd, kMsgProbe, 0, 0);
    // The default procedure destroys the window on WM_CLOSE.
    wnd.Close(7);
    EXPECT_EQ(wnd.ShowModal(), 7u);
    EXPECT_TRUE(wnd.Saw(kMsgProbe));
    EXPECT_FALSE(wnd.m_bWatchEnabled) << "the owner is disabled while the loop runs";
    EXPECT_NE(wnd.m_hFinal, nullptr);
    EXPECT_TRUE(::IsWindowEnabled(owner));
}

TEST_F(WindowWnd, ShowModalEndsOnQuitAndPostsItAgain)
{
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"modal", kHiddenPopup, WS_EX_TOOLWINDOW, 0, 0, 50, 50), nullptr);
    ::PostQuitMessage(5);
    EXPECT_EQ(wnd.ShowModal(), 0u);
    EXPECT_TRUE(::IsWindow(wnd));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(WindowWnd, ShowWindowAndCloseOnAnUnboundObjectDoNothing)
{
    CRecordingWnd wnd;
    wnd.ShowWindow(true);
    wnd.Close(3);
    wnd.Unsubclass();
    MSG msg{};
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
}

TEST_F(WindowWnd, ShowWindowShowsWithoutActivationAndHides)
{
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"t", kHiddenPopup, WS_EX_TOOLWINDOW, 0, 0, 50, 50), nullptr);
    wnd.ShowWindow(true, false);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    wnd.ShowWindow(false);
    EXPECT_FALSE(::IsWindowVisible(wnd));
}

TEST_F(WindowWnd, ResizeClientSetsTheClientSizeOfAFramedWindow)
{
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 150), nullptr);
    RECT rcBefore{};
    ::GetClientRect(wnd, &rcBefore);
    wnd.ResizeClient(300, -1);
    RECT rc{};
    ::GetClientRect(wnd, &rc);
    EXPECT_EQ(rc.right, 300);
    EXPECT_EQ(rc.bottom, rcBefore.bottom);
    wnd.ResizeClient(-1, 90);
    ::GetClientRect(wnd, &rc);
    EXPECT_EQ(rc.right, 300);
    EXPECT_EQ(rc.bottom, 90);
}

TEST_F(WindowWnd, SendAndPostReachTheWindow)
{
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"t", kHiddenPopup, 0, 0, 0, 50, 50), nullptr);
    wnd.SendMessageW(WM_APP + 2);
    EXPECT_TRUE(wnd.Saw(WM_APP + 2));
    EXPECT_TRUE(wnd.PostMessageW(WM_APP + 3));
    EXPECT_TRUE(PumpUntil([&] { return wnd.Saw(WM_APP + 3); }, 10000));
}

TEST_F(WindowWnd, SetIconSetsBothIconsAtTheRoundedLargeSize)
{
    CRecordingWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100), nullptr);
    wnd.SetIcon(201);
    const HICON hBig = reinterpret_cast<HICON>(wnd.SendMessageW(WM_GETICON, ICON_BIG));
    const HICON hSmall = reinterpret_cast<HICON>(wnd.SendMessageW(WM_GETICON, ICON_SMALL));
    ASSERT_NE(hBig, nullptr);
    ASSERT_NE(hSmall, nullptr);
    EXPECT_NE(hBig, hSmall);
    const int cxExpected = (::GetSystemMetrics(SM_CXICON) + 15) & ~15;
    for (HICON hIcon : {hBig, hSmall})
    {
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(hIcon, &info));
        BITMAP bm{};
        ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, cxExpected);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
    }
}
