#include "ZipBuilder.h"
#include "tests/support/TestSupport.h"
#include "veneer/manager/PaintManagerUI.h"
#include "veneer/render/RenderEngine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using TestSupport::CChildProcess;
using TestSupport::CScratchFolder;

namespace
{

typedef std::vector<std::string> Lines;

const char kSkin[] = "<Window size=\"200,100\"><VerticalLayout name=\"root\" inset=\"5,5,5,5\">"
                     "<Control name=\"top\" height=\"30\"/><HorizontalLayout name=\"row\">"
                     "<Control name=\"a\" width=\"50\"/><Control name=\"b &amp; &quot;c&quot;\"/>"
                     "</HorizontalLayout></VerticalLayout></Window>";

struct ToolRun
{
    DWORD dwExit = 0xFFFFFFFF;
    Lines lines;
};

std::string SkinView()
{
    return TestSupport::BinFolder() + "\\skinview.exe";
}

std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

ToolRun RunSkinView(const CScratchFolder& folder, const std::string& arguments)
{
    ToolRun run;
    CChildProcess child;
    const std::string sOut = folder.File("out.txt");
    if (!child.Start(SkinView(), arguments, sOut, sOut) || !child.Wait(20000))
        return run;
    run.dwExit = child.ExitCode();
    std::string text;
    TestSupport::ReadFileBytes(sOut, text);
    run.lines = TestSupport::SplitLines(text);
    return run;
}

// The premultiplied pixels of a PNG, read back through the toolkit's own
// image loader.
class CLoadedPng
{
  public:
    explicit CLoadedPng(const CScratchFolder& folder, const char* pstrName)
    {
        const std::string& path = folder.Path();
        Veneer::CPaintManagerUI::SetResourcePath(std::wstring(path.begin(), path.end()).c_str());
        const std::string name(pstrName);
        m_pImage = Veneer::CRenderEngine::LoadImageW(std::wstring(name.begin(), name.end()).c_str());
        Veneer::CPaintManagerUI::SetResourcePath(L"");
        if (m_pImage != nullptr)
            ::GetObjectW(m_pImage->hBitmap, sizeof(m_dib), &m_dib);
    }
    ~CLoadedPng()
    {
        if (m_pImage != nullptr)
            Veneer::CRenderEngine::FreeImage(m_pImage);
    }
    bool IsLoaded() const { return m_pImage != nullptr && m_dib.dsBm.bmBits != nullptr; }
    int Width() const { return m_pImage->nX; }
    int Height() const { return m_pImage->nY; }
    DWORD Pixel(int x, int y) const { return static_cast<const DWORD*>(m_dib.dsBm.bmBits)[y * Width() + x]; }

  private:
    Veneer::TImageInfo* m_pImage = nullptr;
    DIBSECTION m_dib{};
};

bool Contains(const Lines& lines, const std::string& line)
{
    for (const std::string& l : lines)
    {
        if (l == line)
            return true;
    }
    return false;
}

} // namespace

TEST(SkinView, DumpPrintsTheLaidOutTree)
{
    CScratchFolder folder;
    ASSERT_TRUE(TestSupport::WriteFileBytes(folder.File("skin.xml"), kSkin));
    const ToolRun run = RunSkinView(folder, "--dump " + Quote(folder.File("skin.xml")));
    EXPECT_EQ(run.dwExit, 0u);
    EXPECT_EQ(run.lines, (Lines{"VerticalLayoutUI \"root\" 0,0,200,100", "  ControlUI \"top\" 5,5,195,35",
                                "  HorizontalLayoutUI \"row\" 5,35,195,95", "    ControlUI \"a\" 5,35,55,95",
                                "    ControlUI \"b & \\\"c\\\"\" 55,35,195,95"}));
}

TEST(SkinView, DumpTakesAnotherSizeAndAnArchiveMember)
{
    CScratchFolder folder;
    const ZipLayout zip = ZipBuilder().Add("skins/main.xml", kSkin).Build();
    ASSERT_TRUE(TestSupport::WriteFileBytes(folder.File("skin.zip"),
                                            std::string(zip.bytes.begin(), zip.bytes.end())));
    const ToolRun run =
        RunSkinView(folder, "--dump " + Quote(folder.File("skin.zip")) + " skins/main.xml --size 300x60");
    EXPECT_EQ(run.dwExit, 0u);
    ASSERT_EQ(run.lines.size(), 5u);
    EXPECT_EQ(run.lines[0], "VerticalLayoutUI \"root\" 0,0,300,60");
    EXPECT_EQ(run.lines[4], "    ControlUI \"b & \\\"c\\\"\" 55,35,295,55");
}

TEST(SkinView, ASkinThatDoesNotLoadPrintsTheReasonAndExitsOne)
{
    CScratchFolder folder;
    ASSERT_TRUE(TestSupport::WriteFileBytes(folder.File("broken.xml"), "<Window><Control></Window>"));
    const ToolRun broken = RunSkinView(folder, "--dump " + Quote(folder.File("broken.xml")));
    EXPECT_EQ(broken.dwExit, 1u);
    ASSERT_EQ(broken.lines.size(), 2u);
    EXPECT_EQ(broken.lines[0].rfind("error: ", 0), 0u);
    EXPECT_EQ(broken.lines[1].rfind("at: \"", 0), 0u);

    const ToolRun missing =
        RunSkinView(folder, "--shot " + Quote(folder.File("x.png")) + " " + Quote(folder.File("no.xml")));
    EXPECT_EQ(missing.dwExit, 1u);
    EXPECT_TRUE(Contains(missing.lines, "error: Error opening file"));
    EXPECT_FALSE(TestSupport::FileExists(folder.File("x.png")));

    EXPECT_EQ(RunSkinView(folder, "--dump").dwExit, 2u);
    EXPECT_EQ(RunSkinView(folder, "--dump a.xml --size 0x5").dwExit, 2u);
}

TEST(SkinView, ShotWritesThePaintedWindowWithItsAlpha)
{
    CScratchFolder folder;
    ASSERT_TRUE(TestSupport::WriteFileBytes(
        folder.File("shot.xml"),
        "<Window size=\"40,20\"><HorizontalLayout><Control bkcolor=\"#FFFF0000\" width=\"10\"/>"
        "<Control bkcolor=\"#800000FF\" width=\"10\"/><Control bordersize=\"1\" "
        "bordercolor=\"#FF00FF00\"/></HorizontalLayout></Window>"));
    const ToolRun run = RunSkinView(folder, "--shot " + Quote(folder.File("shot.png")) + " " +
                                                Quote(folder.File("shot.xml")));
    ASSERT_EQ(run.dwExit, 0u);
    CLoadedPng png(folder, "shot.png");
    ASSERT_TRUE(png.IsLoaded());
    EXPECT_EQ(png.Width(), 40);
    EXPECT_EQ(png.Height(), 20);
    EXPECT_EQ(png.Pixel(5, 10), 0xFFFF0000u);
    // Half-transparent blue, premultiplied by the loader.
    const DWORD dwBlue = png.Pixel(15, 10);
    EXPECT_NEAR(static_cast<int>(dwBlue >> 24), 0x80, 1);
    EXPECT_NEAR(static_cast<int>(dwBlue & 0xFF), 0x80, 1);
    EXPECT_EQ(dwBlue & 0x00FFFF00, 0u);
    // Nothing painted: fully transparent; the border: opaque green.
    EXPECT_EQ(png.Pixel(30, 10) >> 24, 0u);
    EXPECT_EQ(png.Pixel(20, 0), 0xFF00FF00u);
}

namespace
{

// skinview in its live mode on a skin file of the test, its output read
// line by line as it comes.
class LiveView
{
  public:
    bool Start(const CScratchFolder& folder, const std::string& skin)
    {
        m_sOut = folder.File("live.txt");
        return m_child.Start(SkinView(), Quote(folder.File(skin)), m_sOut, folder.File("live-err.txt"));
    }
    ~LiveView() { m_child.Kill(); }

    Lines Output() const
    {
        std::string text;
        TestSupport::ReadFileBytes(m_sOut, text);
        return TestSupport::SplitLines(text);
    }

    // Waits until the output has a line starting with the prefix after the
    // first `nSkip` such lines; returns it.
    bool WaitForLine(const std::string& prefix, size_t nSkip, std::string& line,
                     DWORD dwTimeoutMs = 20000) const
    {
        return TestSupport::PollUntil(
            [&] {
                size_t nSeen = 0;
                for (const std::string& l : Output())
                {
                    if (l.rfind(prefix, 0) == 0 && nSeen++ == nSkip)
                    {
                        line = l;
                        return true;
                    }
                }
                return false;
            },
            dwTimeoutMs);
    }

    CChildProcess m_child;
    std::string m_sOut;
};

COLORREF ScreenPixel(int x, int y)
{
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(hScreen, x, y);
    ::ReleaseDC(nullptr, hScreen);
    return color;
}

bool WaitForPixel(HWND hWnd, int x, int y, COLORREF expected)
{
    return TestSupport::PollUntil(
        [&] {
            RECT rc{};
            ::GetWindowRect(hWnd, &rc);
            return ScreenPixel(rc.left + x, rc.top + y) == expected;
        },
        20000);
}

// Outside the margin where the error view writes its text, and left of the
// scroll bar.
const int kProbeX = 60;
const int kProbeY = 76;

// The viewer may be reading the skin at the moment the test writes it.
bool Rewrite(const CScratchFolder& folder, const std::string& text)
{
    return TestSupport::PollUntil([&] { return TestSupport::WriteFileBytes(folder.File("live.xml"), text); },
                                  10000);
}

std::string LiveSkin(const char* pstrColor)
{
    return std::string("<Window size=\"120,80\"><HorizontalLayout name=\"root\"><VerticalLayout bkcolor=\"") +
           pstrColor +
           "\"/><ScrollBar name=\"bar\" width=\"16\" range=\"100\" linesize=\"10\"/>"
           "</HorizontalLayout></Window>";
}

} // namespace

TEST(SkinViewLive, ReloadsOnEditShowsErrorsAndRecovers)
{
    CScratchFolder folder;
    ASSERT_TRUE(TestSupport::WriteFileBytes(folder.File("live.xml"), LiveSkin("#FFFF0000")));
    LiveView view;
    ASSERT_TRUE(view.Start(folder, "live.xml"));
    std::string line;
    ASSERT_TRUE(view.WaitForLine("window ", 0, line));
    const HWND hWnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::stoull(line.substr(7))));
    ASSERT_TRUE(::IsWindow(hWnd));
    // The first layout's notification is printed with its sender.
    ASSERT_TRUE(view.WaitForLine("windowinit ", 0, line));
    EXPECT_EQ(line, "windowinit HorizontalLayoutUI \"root\" 0 0");
    // A click on the scroll bar's lower button moves it, and it says so.
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(112, 75));
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(112, 75));
    ASSERT_TRUE(view.WaitForLine("scroll ", 0, line));
    EXPECT_EQ(line, "scroll ScrollBarUI \"bar\" 0 0");
    ASSERT_TRUE(WaitForPixel(hWnd, kProbeX, kProbeY, RGB(255, 0, 0)));
    RECT rcBefore{};
    ::GetWindowRect(hWnd, &rcBefore);

    // A new colour.
    ASSERT_TRUE(Rewrite(folder, LiveSkin("#FF0000FF")));
    ASSERT_TRUE(view.WaitForLine("reloaded", 0, line));
    EXPECT_TRUE(WaitForPixel(hWnd, kProbeX, kProbeY, RGB(0, 0, 255)));

    // A broken edit: the reason is shown and printed, the window stays.
    ASSERT_TRUE(Rewrite(folder, "<Window size=\"120,80\"><VerticalLayout></Window>"));
    ASSERT_TRUE(view.WaitForLine("error: ", 0, line));
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_TRUE(WaitForPixel(hWnd, kProbeX, kProbeY, RGB(0xFF, 0xF4, 0xF0)));

    // The next good edit recovers, in the same place.
    ASSERT_TRUE(Rewrite(folder, LiveSkin("#FF00FF00")));
    ASSERT_TRUE(view.WaitForLine("reloaded", 1, line));
    EXPECT_TRUE(WaitForPixel(hWnd, kProbeX, kProbeY, RGB(0, 255, 0)));
    RECT rcAfter{};
    ::GetWindowRect(hWnd, &rcAfter);
    EXPECT_EQ(rcAfter.left, rcBefore.left);
    EXPECT_EQ(rcAfter.top, rcBefore.top);

    // Closing the window ends the viewer.
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(view.m_child.Wait(20000));
    EXPECT_EQ(view.m_child.ExitCode(), 0u);
}

namespace
{

HWND FindPageView(HWND hWnd)
{
    return ::FindWindowExW(hWnd, nullptr, L"PageHostView", nullptr);
}

// The page's view, at any depth below the skinned window.
HWND FindPageViewBelow(HWND hParent)
{
    HWND hView = FindPageView(hParent);
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hView == nullptr && hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        hView = FindPageViewBelow(hChild);
    return hView;
}

} // namespace

// A WebBrowser skin shows its local home page through the page host, loaded
// by module name from the program folder; closing the window releases it.
TEST(SkinViewLive, ShowsAWebBrowserWithALocalPage)
{
    CScratchFolder folder;
    ASSERT_TRUE(
        TestSupport::WriteFileBytes(folder.File("page.html"), "<title>Local</title><p>local page</p>"));
    const std::string skin = "<Window size=\"240,160\"><VerticalLayout name=\"root\" bkcolor=\"#FF304060\" "
                             "inset=\"10,10,10,10\"><WebBrowser name=\"browser\" modulename=\"pagehost.dll\" "
                             "autonavi=\"true\" homepage=\"" +
                             folder.File("page.html") + "\"/></VerticalLayout></Window>";
    ASSERT_TRUE(TestSupport::WriteFileBytes(folder.File("browser.xml"), skin));
    LiveView view;
    ASSERT_TRUE(view.Start(folder, "browser.xml"));
    std::string line;
    ASSERT_TRUE(view.WaitForLine("window ", 0, line));
    const HWND hWnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::stoull(line.substr(7))));
    ASSERT_TRUE(view.WaitForLine("showactivex ", 0, line));
    EXPECT_EQ(line, "showactivex WebBrowserUI \"browser\" 0 0");
    HWND hView = nullptr;
    ASSERT_TRUE(TestSupport::PollUntil([&] { return (hView = FindPageViewBelow(hWnd)) != nullptr; }, 20000));
    // Placed on the control's rectangle (the view may be seen before the
    // layout moved it there), the page's white inside the skin's blue frame.
    RECT rcView{};
    EXPECT_TRUE(TestSupport::PollUntil(
        [&] {
            ::GetWindowRect(hView, &rcView);
            ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rcView), 2);
            return rcView.left == 10 && rcView.top == 10;
        },
        20000))
        << rcView.left << "," << rcView.top;
    EXPECT_TRUE(WaitForPixel(hWnd, 5, 5, RGB(0x30, 0x40, 0x60)));
    EXPECT_TRUE(WaitForPixel(hWnd, 200, 140, RGB(255, 255, 255)));
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(view.m_child.Wait(20000));
    EXPECT_EQ(view.m_child.ExitCode(), 0u);
}
