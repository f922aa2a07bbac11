#include "veneer/window/WindowImplBase.h"
#include "veneer/control/ControlUI.h"

#include "TestWindow.h"
#include "ZipBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

// A control that reports the class name it is given, standing in for the
// label and button classes in caption hit tests.
class CNamedClassUI : public CControlUI
{
  public:
    explicit CNamedClassUI(LPCWSTR pstrClass) : m_pstrClass(pstrClass) {}
    LPCWSTR GetClass() const override { return m_pstrClass; }

  private:
    LPCWSTR m_pstrClass;
};

const wchar_t kSkin[] =
    L"<Window size=\"300,200\" caption=\"0,0,0,30\" sizebox=\"4,4,6,6\" roundcorner=\"8,8\" "
    L"mininfo=\"120,80\">"
    L"<HorizontalLayout>"
    L"<Labelish name=\"title\" width=\"100\"/><Buttonish name=\"btn\" width=\"50\"/>"
    L"<VerticalLayout><Control name=\"closebtn\" height=\"10\"/><Control name=\"minbtn\" "
    L"height=\"10\"/><Control name=\"maxbtn\" height=\"10\"/><Control name=\"restorebtn\" "
    L"height=\"10\"/><Control name=\"other\"/></VerticalLayout>"
    L"</HorizontalLayout></Window>";

class CSkinWindow : public WindowImplBase
{
  public:
    explicit CSkinWindow(const std::wstring& sSkin, UILIB_RESOURCETYPE type = UILIB_FILE)
        : m_sSkin(sSkin), m_type(type)
    {
    }
    ~CSkinWindow() override
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }

    LPCWSTR GetWindowClass() const override { return L"VeneerSkinTest"; }
    CUiString GetSkinDir() override { return L""; }
    CUiString GetSkinXml() override { return m_sSkin.c_str(); }
    UILIB_RESOURCETYPE GetResourceType() const override { return m_type; }
    LPCWSTR GetResourceID() const override { return L"NOSUCHZIP"; }
    CUiString GetZIPFileName() const override { return m_sZip.c_str(); }
    void InitWindow() override { m_nInit++; }
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        if (wcscmp(pstrClass, L"Labelish") == 0)
            return new CNamedClassUI(L"LabelUI");
        if (wcscmp(pstrClass, L"Buttonish") == 0)
            return new CNamedClassUI(L"buttonui");
        return nullptr;
    }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        m_custom.push_back(uMsg);
        bHandled = false;
        return 0;
    }
    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        m_bFinal = true;
    }

    bool CustomSaw(UINT uMsg) const
    {
        for (UINT u : m_custom)
        {
            if (u == uMsg)
                return true;
        }
        return false;
    }

    CPaintManagerUI& Manager() { return m_PaintManager; }

    std::wstring m_sSkin;
    std::wstring m_sZip;
    UILIB_RESOURCETYPE m_type;
    int m_nInit = 0;
    std::vector<UINT> m_custom;
    bool m_bFinal = false;
};

class SkinnedWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        CPaintManagerUI::SetResourcePath(L"");
        CPaintManagerUI::SetResourceZip(L"", false);
    }

    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
    }

    // Creates the window, moves it to (100, 100), shows it and waits for the
    // first layout.
    void Open(CSkinWindow& wnd)
    {
        ASSERT_NE(wnd.Create(nullptr, L"skin", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 10, 10), nullptr);
        ::SetWindowPos(wnd, nullptr, 100, 100, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ASSERT_NE(wnd.Manager().GetRoot(), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return wnd.Manager().GetRoot()->GetWidth() > 0; }, 10000));
    }

    static LRESULT HitTest(HWND hWnd, int x, int y)
    {
        RECT rc{};
        ::GetWindowRect(hWnd, &rc);
        return ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(rc.left + x, rc.top + y));
    }

    static bool TakeClose(HWND hWnd, WPARAM& wParam)
    {
        MSG msg{};
        if (!::PeekMessageW(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE))
            return false;
        wParam = msg.wParam;
        return true;
    }
};

} // namespace

TEST_F(SkinnedWindow, CreationBuildsTheSkinAndDropsTheCaption)
{
    CSkinWindow wnd(kSkin);
    ASSERT_NE(wnd.Create(nullptr, L"skin", WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, 50, 50, 10, 10), nullptr);
    EXPECT_EQ(wnd.m_nInit, 1);
    EXPECT_NE(wnd.Manager().FindControl(L"title"), nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_NE(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    EXPECT_EQ(wnd.GetStyle() & WS_CAPTION, 0);
    // The whole window is client area, of the skin's size.
    RECT rcWindow{}, rcClient{};
    ::GetWindowRect(wnd, &rcWindow);
    ::GetClientRect(wnd, &rcClient);
    EXPECT_EQ(rcWindow.right - rcWindow.left, 300);
    EXPECT_EQ(rcClient.right, 300);
    EXPECT_EQ(rcClient.bottom, 200);
    RECT rcCaption{};
    wnd.GetCaptionRect(rcCaption);
    EXPECT_EQ(rcCaption.bottom, 30);
}

TEST_F(SkinnedWindow, HitTestsFollowTheSizeBoxAndTheCaption)
{
    CSkinWindow wnd(kSkin);
    Open(wnd);
    const struct
    {
        int x, y;
        LRESULT lExpected;
    } cases[] = {
        {1, 1, HTTOPLEFT},   {150, 2, HTTOP},        {298, 3, HTTOPRIGHT}, {2, 100, HTLEFT},
        {295, 100, HTRIGHT}, {2, 196, HTBOTTOMLEFT}, {150, 199, HTBOTTOM}, {299, 199, HTBOTTOMRIGHT},
        {50, 10, HTCAPTION}, {120, 10, HTCLIENT},    {200, 29, HTCAPTION}, {200, 30, HTCLIENT},
        {50, 100, HTCLIENT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitTest(wnd, c.x, c.y), c.lExpected) << c.x << "," << c.y;
}

TEST_F(SkinnedWindow, AMaximizedWindowNeverAnswersASizingCode)
{
    CSkinWindow wnd(kSkin);
    Open(wnd);
    ::ShowWindow(wnd, SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(wnd));
    ASSERT_TRUE(PumpUntil([&] { return wnd.Manager().GetRoot()->GetWidth() > 300; }, 10000));
    EXPECT_EQ(HitTest(wnd, 1, 1), HTCAPTION);
    EXPECT_EQ(HitTest(wnd, 1, 100), HTCLIENT);
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    EXPECT_EQ(HitTest(wnd, rc.right - rc.left - 1, rc.bottom - rc.top - 1), HTCLIENT);
}

TEST_F(SkinnedWindow, ACaptionOfZeroHeightCannotBeDragged)
{
    CSkinWindow wnd(L"<Window size=\"200,100\"><HorizontalLayout><Labelish/></HorizontalLayout></Window>");
    Open(wnd);
    for (int y : {0, 10, 50, 99})
        EXPECT_EQ(HitTest(wnd, 100, y), HTCLIENT) << y;
}

TEST_F(SkinnedWindow, TheCornerSizeClipsTheWindowAndZeroLeavesItRectangular)
{
    CSkinWindow round(kSkin);
    Open(round);
    const HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(round, hRgn), ERROR);
    // A corner pixel is cut away, the middle stays.
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(hRgn, 150, 100));

    CSkinWindow square(L"<Window size=\"200,100\" roundcorner=\"0,0\"><Control/></Window>");
    Open(square);
    EXPECT_EQ(::GetWindowRgn(square, hRgn), ERROR);
    ::DeleteObject(hRgn);
}

TEST_F(SkinnedWindow, MinMaxInfoUsesTheWorkAreaAndTheSkinsMinimum)
{
    CSkinWindow wnd(kSkin);
    Open(wnd);
    MINMAXINFO info{};
    ::SendMessageW(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT rcWork{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    EXPECT_EQ(info.ptMinTrackSize.x, 120);
    EXPECT_EQ(info.ptMinTrackSize.y, 80);
    EXPECT_EQ(info.ptMaxTrackSize.x, rcWork.right - rcWork.left);
    EXPECT_EQ(info.ptMaxTrackSize.y, rcWork.bottom - rcWork.top);
    EXPECT_EQ(info.ptMaxPosition.x, rcWork.left);
    EXPECT_EQ(info.ptMaxPosition.y, rcWork.top);
}

TEST_F(SkinnedWindow, EscapeClosesWithCodeOneAndReturnDoesNothing)
{
    CSkinWindow wnd(kSkin);
    Open(wnd);
    PumpPending();
    MSG key{wnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    CPaintManagerUI::TranslateMessage(&key);
    WPARAM wParam = 0;
    EXPECT_FALSE(TakeClose(wnd, wParam));
    key.wParam = VK_ESCAPE;
    CPaintManagerUI::TranslateMessage(&key);
    ASSERT_TRUE(TakeClose(wnd, wParam));
    EXPECT_EQ(wParam, 1u);
}

TEST_F(SkinnedWindow, TheStandardButtonsWorkWithoutCode)
{
    CSkinWindow wnd(kSkin);
    Open(wnd);
    CPaintManagerUI& pm = wnd.Manager();
    pm.SendNotify(pm.FindControl(L"maxbtn"), L"click");
    EXPECT_TRUE(::IsZoomed(wnd));
    pm.SendNotify(pm.FindControl(L"restorebtn"), L"click");
    EXPECT_FALSE(::IsZoomed(wnd));
    pm.SendNotify(pm.FindControl(L"minbtn"), L"click");
    EXPECT_TRUE(::IsIconic(wnd));
    pm.SendNotify(pm.FindControl(L"restorebtn"), L"click");
    EXPECT_FALSE(::IsIconic(wnd));
    pm.SendNotify(pm.FindControl(L"other"), L"click");
    WPARAM wParam = 0;
    EXPECT_FALSE(TakeClose(wnd, wParam));
    pm.SendNotify(pm.FindControl(L"closebtn"), L"click");
    ASSERT_TRUE(TakeClose(wnd, wParam));
    EXPECT_EQ(wParam, 1u);
}

TEST_F(SkinnedWindow, MessagesWithoutAHandlerReachTheHookThenTheManager)
{
    CSkinWindow wnd(kSkin);
    Open(wnd);
    wnd.m_custom.clear();
    ::SetWindowPos(wnd, nullptr, 120, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(wnd.CustomSaw(WM_MOVE));
    HitTest(wnd, 5, 5);
    EXPECT_FALSE(wnd.CustomSaw(WM_NCHITTEST));
    // The size handler leaves the message to the hook and the manager,
    // which lays the tree out again.
    ::SetWindowPos(wnd, nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(wnd.CustomSaw(WM_SIZE));
    EXPECT_TRUE(PumpUntil([&] { return wnd.Manager().GetRoot()->GetWidth() == 400; }, 10000));
}

TEST_F(SkinnedWindow, TheSystemCloseCommandDestroysTheWindowAndUnhooksIt)
{
    CSkinWindow wnd(kSkin);
    Open(wnd);
    ::SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_TRUE(wnd.m_bFinal);
    EXPECT_FALSE(wnd.Manager().RemoveNotifier(&wnd));
    EXPECT_FALSE(wnd.Manager().RemovePreMessageFilter(&wnd));
}

TEST_F(SkinnedWindow, ASkinFromAModuleResourceIsBuilt)
{
    CSkinWindow wnd(L"101", UILIB_RESOURCE);
    Open(wnd);
    EXPECT_NE(wnd.Manager().FindControl(L"root"), nullptr);
    RECT rc{};
    ::GetClientRect(wnd, &rc);
    EXPECT_EQ(rc.right, 200);
}

TEST_F(SkinnedWindow, ASkinFromAnArchiveFileIsBuilt)
{
    TestSupport::CScratchFolder folder;
    const ZipLayout zip =
        ZipBuilder().Add("main.xml", "<Window size=\"150,90\"><Control name=\"zipped\"/></Window>").Build();
    ASSERT_TRUE(TestSupport::WriteFileBytes(folder.File("skin.zip"),
                                            std::string(zip.bytes.begin(), zip.bytes.end())));
    CPaintManagerUI::SetResourcePath(std::wstring(folder.Path().begin(), folder.Path().end()).c_str());
    CSkinWindow wnd(L"main.xml", UILIB_ZIP);
    wnd.m_sZip = L"skin.zip";
    Open(wnd);
    EXPECT_NE(wnd.Manager().FindControl(L"zipped"), nullptr);
    RECT rc{};
    ::GetClientRect(wnd, &rc);
    EXPECT_EQ(rc.right, 150);
}

TEST_F(SkinnedWindow, AMissingArchiveResourceLeavesTheWindowEmptyAndQuiet)
{
    CSkinWindow wnd(kSkin, UILIB_ZIPRESOURCE);
    ASSERT_NE(wnd.Create(nullptr, L"skin", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(wnd.Manager().GetRoot(), nullptr);
    EXPECT_EQ(wnd.m_nInit, 0);
}

namespace
{

struct BoxSearch
{
    DWORD dwProcessId;
    HWND hBox;
};

BOOL CALLBACK FindVeneerBox(HWND hWnd, LPARAM lParam)
{
    BoxSearch* pSearch = reinterpret_cast<BoxSearch*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    wchar_t szTitle[64] = {};
    ::GetWindowTextW(hWnd, szTitle, _countof(szTitle));
    if (dwProcessId == pSearch->dwProcessId && wcscmp(szTitle, L"Veneer") == 0)
    {
        pSearch->hBox = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam)
{
    wchar_t szText[128] = {};
    ::GetWindowTextW(hWnd, szText, _countof(szText));
    reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(szText);
    return TRUE;
}

} // namespace

TEST(SkinLoadFailure, ShowsTheMessageAndEndsTheProcessWithCodeOne)
{
    TestSupport::CChildProcess child;
    ASSERT_TRUE(child.Start(TestSupport::BinFolder() + "\\skin_failure_child.exe", ""));
    BoxSearch search{child.Id(), nullptr};
    ASSERT_TRUE(PumpUntil(
        [&] {
            ::EnumWindows(FindVeneerBox, reinterpret_cast<LPARAM>(&search));
            return search.hBox != nullptr;
        },
        20000))
        << "no message box captioned \"Veneer\" appeared";
    std::vector<std::wstring> texts;
    ::EnumChildWindows(search.hBox, CollectText, reinterpret_cast<LPARAM>(&texts));
    bool bFound = false;
    for (const std::wstring& s : texts)
        bFound = bFound || s == L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25";
    EXPECT_TRUE(bFound);
    ::PostMessageW(search.hBox, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(child.Wait(20000));
    EXPECT_EQ(child.ExitCode(), 1u);
}
