#include "WindowFixture.h"

#include "GdiCount.h"

using namespace Veneer;

namespace
{

typedef std::vector<std::wstring> Trace;

const DWORD kRed = 0x00FF0000;
const DWORD kGreen = 0x0000FF00;
const DWORD kBlue = 0x000000FF;

class ManagerPaint : public WindowFixture
{
  protected:
    bool Painted()
    {
        return PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); });
    }
};

class PaintBlocker : public IMessageFilterUI
{
  public:
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        bHandled = uMsg == WM_PAINT;
        return 0;
    }
};

// Paints its item rect in one colour after the whole tree.
class PostPainter : public CControlUI
{
  public:
    void DoPostPaint(HDC hDC, const RECT&) override
    {
        HBRUSH hBrush = ::CreateSolidBrush(RGB(0, 0, 255));
        ::FillRect(hDC, &m_rcItem, hBrush);
        ::DeleteObject(hBrush);
    }
};

} // namespace

TEST_F(ManagerPaint, TreeIsPaintedThroughTheOffscreenBuffer)
{
    m_pRoot->SetBkColor(0xFFFF0000);
    CProbeControl* pA = AddProbe(L"A", 10, 10, 40, 40);
    pA->SetBkColor(0xFF00FF00);
    pA->SetBorderColor(0xFF0000FF);
    pA->SetBorderSize(1);
    AttachAndPaint();
    CTestSurface surface(200, 100);
    CaptureClient(Hwnd(), surface);
    EXPECT_EQ(surface.Rgb(5, 5), kRed);
    EXPECT_EQ(surface.Rgb(30, 30), kGreen);
    EXPECT_EQ(surface.Rgb(10, 30), kBlue);
    EXPECT_EQ(surface.Rgb(199, 99), kRed);

    // One control's change repaints only that control.
    const int nRootPaints = pA->m_nPaint;
    pA->SetBkColor(0xFF0000FF);
    ASSERT_TRUE(Painted());
    CaptureClient(Hwnd(), surface);
    EXPECT_EQ(surface.Rgb(30, 30), kBlue);
    EXPECT_EQ(surface.Rgb(5, 5), kRed);
    EXPECT_EQ(pA->m_nPaint, nRootPaints + 1);
}

TEST_F(ManagerPaint, PostPaintControlsPaintAfterTheTree)
{
    m_pRoot->SetBkColor(0xFFFF0000);
    PostPainter* pPost = new PostPainter();
    pPost->SetFloat(true);
    pPost->SetFixedXY(SIZE{0, 0});
    pPost->SetFixedWidth(20);
    pPost->SetFixedHeight(20);
    m_pRoot->Add(pPost);
    AddProbe(L"cover", 0, 0, 20, 20)->SetBkColor(0xFF00FF00);
    m_pm.AddPostPaint(pPost);
    AttachAndPaint();
    CTestSurface surface(200, 100);
    CaptureClient(Hwnd(), surface);
    EXPECT_EQ(surface.Rgb(10, 10), kBlue);
    // A control being deleted leaves the list.
    m_pRoot->Remove(pPost);
    EXPECT_EQ(m_pm.GetPostPaintCount(), 0);
}

TEST_F(ManagerPaint, PrintClientPaintsTheTreeIntoTheGivenDC)
{
    m_pRoot->SetBkColor(0xFF00FF00);
    AddProbe(L"A", 10, 10, 40, 40)->SetBkColor(0xFF0000FF);
    AttachAndPaint();
    CTestSurface surface(200, 100);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()), PRF_CLIENT | PRF_CHILDREN);
    EXPECT_EQ(surface.Rgb(0, 0), kGreen);
    EXPECT_EQ(surface.Rgb(20, 20), kBlue);
}

TEST_F(ManagerPaint, UpdateRectangleOutline)
{
    m_pRoot->SetBkColor(0xFF00FF00);
    AttachAndPaint();
    m_pm.SetShowUpdateRect(true);
    RECT rc{20, 20, 60, 60};
    ::InvalidateRect(Hwnd(), &rc, FALSE);
    ASSERT_TRUE(Painted());
    CTestSurface surface(200, 100);
    CaptureClient(Hwnd(), surface);
    EXPECT_EQ(surface.Rgb(20, 30), 0x00DC0000u);
    EXPECT_EQ(surface.Rgb(30, 30), kGreen);
}

TEST_F(ManagerPaint, WindowInitIsSentOnceWithTheFirstRealLayout)
{
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    ASSERT_TRUE(m_pm.AttachDialog(m_pRoot));
    // Without area there is nothing to paint and nothing to lay out.
    LRESULT lRes = 0;
    EXPECT_TRUE(m_pm.MessageHandler(WM_PAINT, 0, 0, lRes));
    PumpPending();
    EXPECT_TRUE(TakeNotifications().empty());
    EXPECT_EQ(pA->m_nSetPos, 0);

    ::SetWindowPos(Hwnd(), nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Painted());
    EXPECT_EQ(TakeNotifications(), (Trace{L"windowinit:root"}));
    EXPECT_EQ(pA->m_nSetPos, 1);
    EXPECT_EQ(m_pRoot->GetPos().right, 120);

    ::SetWindowPos(Hwnd(), nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Painted());
    EXPECT_TRUE(TakeNotifications().empty());
    EXPECT_EQ(pA->m_nSetPos, 2);
}

TEST_F(ManagerPaint, OnlyControlsThatAskForItAreLaidOutAgain)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    CProbeControl* pB = AddProbe(L"B", 20, 0, 10, 10);
    AttachAndPaint();
    pA->NeedUpdate();
    EXPECT_FALSE(m_pRoot->IsUpdateNeeded());
    ASSERT_TRUE(Painted());
    EXPECT_EQ(pA->m_nSetPos, 2);
    EXPECT_EQ(pB->m_nSetPos, 1);
}

TEST_F(ManagerPaint, ControlThatAlwaysWantsALayoutCannotHangThePaint)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    pA->m_bUpdateAgainOnSetPos = true;
    pA->NeedUpdate();
    ::UpdateWindow(Hwnd());
    EXPECT_GT(pA->m_nSetPos, 2);
    EXPECT_LT(pA->m_nSetPos, 20);
    pA->m_bUpdateAgainOnSetPos = false;
}

TEST_F(ManagerPaint, FilterThatHandlesPaintStopsIt)
{
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    PaintBlocker blocker;
    m_pm.AddMessageFilter(&blocker);
    const int nPaints = pA->m_nPaint;
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    ::UpdateWindow(Hwnd());
    EXPECT_EQ(pA->m_nPaint, nPaints);
    EXPECT_TRUE(::GetUpdateRect(Hwnd(), nullptr, FALSE));
    m_pm.RemoveMessageFilter(&blocker);
    ASSERT_TRUE(Painted());
    EXPECT_EQ(pA->m_nPaint, nPaints + 1);
}

TEST_F(ManagerPaint, PaintWithoutRootOnlyValidates)
{
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    ASSERT_TRUE(Painted());
    EXPECT_TRUE(TakeNotifications().empty());
}

TEST_F(ManagerPaint, BackgroundTransparentWindowIsLayered)
{
    m_pm.SetBackgroundTransparent(true);
    CProbeControl* pA = AddProbe(L"A", 0, 0, 10, 10);
    AttachAndPaint();
    EXPECT_NE(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_GE(pA->m_nPaint, 1);
    EXPECT_EQ(TakeNotifications(), (Trace{L"windowinit:root"}));
}

// Build, paint, hover (tooltip), time and destroy a window with its manager
// and tree many times: the process must hold as many GDI objects after as
// before.
TEST(ManagerResources, GdiObjectsStayFlatOverManyWindows)
{
    auto cycle = [](bool bLayered) {
        CPaintManagerUI pm;
        CTestWindow window;
        ASSERT_TRUE(window.Create(&pm, 120, 80));
        pm.SetBackgroundTransparent(bLayered);
        CContainerUI* pRoot = new CContainerUI();
        pRoot->SetBkColor(0xFF336699);
        pRoot->SetBkColor2(0xFF996633);
        CControlUI* pChild = new CControlUI();
        pChild->SetAttribute(L"float", L"true");
        pChild->SetAttribute(L"pos", L"10,10,60,60");
        pChild->SetAttribute(L"bkcolor", L"#80FF0000");
        pChild->SetAttribute(L"bordercolor", L"#FF000000");
        pChild->SetAttribute(L"bordersize", L"2");
        pChild->SetAttribute(L"borderround", L"8,8");
        pChild->SetAttribute(L"tooltip", L"tip");
        pChild->SetAttribute(L"bkimage", L"missing.png");
        pRoot->Add(pChild);
        CControlUI* pSides = new CControlUI();
        pSides->SetAttribute(L"float", L"true");
        pSides->SetAttribute(L"pos", L"60,10,100,60");
        pSides->SetAttribute(L"bordercolor", L"#FF00FF00");
        pSides->SetAttribute(L"bordersize", L"1,2,3,4");
        pRoot->Add(pSides);
        pm.AttachDialog(pRoot);
        pm.SetTimer(pChild, 1, 100000);
        pm.SetShowUpdateRect(true);
        ASSERT_TRUE(PumpUntil([&] { return !::GetUpdateRect(window.GetHWND(), nullptr, FALSE); }));
        LRESULT lRes = 0;
        pm.MessageHandler(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20), lRes);
        pm.MessageHandler(WM_MOUSEHOVER, 0, MAKELPARAM(20, 20), lRes);
        CTestSurface surface(120, 80);
        pm.MessageHandler(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()), PRF_CLIENT, lRes);
        window.Destroy();
    };
    // The first windows create what the process keeps (classes, caches).
    for (int i = 0; i < 10; i++)
        cycle(i % 2 == 0);
    const int nBefore = CountGdiObjects();
    ASSERT_GT(nBefore, 0);
    for (int i = 0; i < 200; i++)
        cycle(i % 2 == 0);
    EXPECT_EQ(CountGdiObjects(), nBefore);
}

// A manager without a window must not reach for other windows: a null
// window handle means "every window" to InvalidateRect and "no window" to
// SetFocus.
TEST(ManagerWithoutWindow, LeavesOtherWindowsAlone)
{
    CPaintManagerUI shown;
    CTestWindow window;
    ASSERT_TRUE(window.Create(&shown, 50, 50));
    ::SetFocus(window.GetHWND());
    PumpPending();
    ::ValidateRect(window.GetHWND(), nullptr);
    ASSERT_EQ(::GetFocus(), window.GetHWND());

    CPaintManagerUI windowless;
    CControlUI control;
    control.SetManager(&windowless, nullptr, false);
    control.SetPos(RECT{0, 0, 10, 10});
    control.Invalidate();
    windowless.SetFocus(&control);
    EXPECT_EQ(windowless.GetFocus(), &control);
    windowless.SetFocusNeeded(&control);
    EXPECT_FALSE(::GetUpdateRect(window.GetHWND(), nullptr, FALSE));
    EXPECT_EQ(::GetFocus(), window.GetHWND());
}

TEST(ManagerResources, InitOnAnotherWindowGivesBackTheFirstDC)
{
    CPaintManagerUI other;
    CTestWindow first;
    CTestWindow second;
    ASSERT_TRUE(first.Create(&other, 50, 50));
    ASSERT_TRUE(second.Create(&other, 50, 50));
    CPaintManagerUI pm;
    pm.Init(first.GetHWND());
    pm.Init(second.GetHWND());
    const int nBefore = CountGdiObjects();
    for (int i = 0; i < 50; i++)
    {
        pm.Init(first.GetHWND());
        pm.Init(second.GetHWND());
    }
    EXPECT_EQ(CountGdiObjects(), nBefore);
    EXPECT_EQ(pm.GetPaintWindow(), second.GetHWND());
}
