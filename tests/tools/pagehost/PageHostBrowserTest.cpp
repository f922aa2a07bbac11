// The page host driven as a container drives the real web browser control:
// embedding, navigation events and their order, window.external, script
// errors, stopped scripts, refused input, the context menu and drawing.
// After every test the container must have got all its objects back and
// the page host must have no live object left.
#include "TestContainer.h"
#include "TestWindow.h"

#include "tests/support/TestSupport.h"
#include "tools/pagehost/PageHostApi.h"

#include <gtest/gtest.h>

#include <exdispid.h>
#include <mshtml.h>

#include <memory>

using namespace PageHostTest;

namespace
{

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string FileUrl(const std::string& path)
{
    std::string url = "file:///" + path;
    for (char& ch : url)
        ch = ch == '\\' ? '/' : ch;
    return url;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Finds the shown popup menu, picks its first command with the keyboard.
DWORD WINAPI PickFirstMenuCommand(void*)
{
    HWND hMenu = nullptr;
    const bool shown = TestSupport::PollUntil(
        [&hMenu] {
            hMenu = FindWindowW(L"#32768", nullptr);
            return hMenu != nullptr && IsWindowVisible(hMenu);
        },
        kWaitMs);
    if (!shown)
        return 1;
    PostMessageW(hMenu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(hMenu, WM_KEYDOWN, VK_RETURN, 0);
    return 0;
}

class PageHostBrowser : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ASSERT_TRUE(m_module.Loaded());
        ASSERT_EQ(m_module.LiveObjects(), 0);
        m_module.ClearMessageLog();
        m_handler.m_pExternal = &m_external;
        m_embedding.reset(new CEmbedding(m_module, m_site, m_sink));
        ASSERT_TRUE(m_embedding->Ready()) << std::hex << m_embedding->Result();
    }

    void TearDown() override
    {
        m_embedding.reset();
        EXPECT_EQ(m_module.LiveObjects(), 0);
        EXPECT_EQ(m_module.CanUnloadNow(), S_OK);
        EXPECT_EQ(m_site.Refs(), 0);
        EXPECT_EQ(m_handler.Refs(), 0);
        EXPECT_EQ(m_sink.Refs(), 0);
        EXPECT_EQ(m_external.Refs(), 0);
    }

    std::string WritePage(const std::string& html)
    {
        const std::string path = m_folder.File("page" + std::to_string(++m_pages) + ".html");
        EXPECT_TRUE(TestSupport::WriteFileBytes(path, html));
        return path;
    }

    // The log without the site's calls: events and handler questions.
    CallLog Sequence() const
    {
        CallLog sequence;
        for (const std::string& entry : m_log)
        {
            if (!StartsWith(entry, "site."))
                sequence.push_back(entry);
        }
        return sequence;
    }

    bool Logged(const std::string& entry)
    {
        return Veneer::PumpUntil([&] { return Contains(m_log, entry); }, kWaitMs);
    }

    bool LoggedStart(const std::string& prefix)
    {
        return Veneer::PumpUntil(
            [&] {
                for (const std::string& entry : m_log)
                {
                    if (StartsWith(entry, prefix))
                        return true;
                }
                return false;
            },
            kWaitMs);
    }

    bool Idle()
    {
        return Veneer::PumpUntil(
            [&] {
                VARIANT_BOOL busy = VARIANT_TRUE;
                return SUCCEEDED(m_embedding->Browser()->get_Busy(&busy)) && busy == VARIANT_FALSE;
            },
            kWaitMs);
    }

    // Navigates and waits until the page is complete.
    void Show(const std::string& url)
    {
        m_log.clear();
        ASSERT_EQ(m_embedding->Navigate(Widen(url)), S_OK);
        ASSERT_TRUE(Logged("DocumentComplete " + url)) << ::testing::PrintToString(m_log);
    }

    CallLog m_log;
    CPageHostModule m_module;
    CHostWindow m_window{100, 100, 400, 300};
    CTestSite m_site{m_log, m_window.Get()};
    CTestHandler m_handler{m_log};
    CTestSink m_sink{m_log, &m_handler};
    CTestExternal m_external;
    TestSupport::CScratchFolder m_folder;
    std::unique_ptr<CEmbedding> m_embedding;
    int m_pages = 0;
};

} // namespace

TEST_F(PageHostBrowser, ActivatesInPlaceInAChildOfTheHostWindowAndFollowsItsRectangles)
{
    DWORD status = 0;
    EXPECT_EQ(m_embedding->Object()->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status,
              static_cast<DWORD>(OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE |
                                 OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE));
    EXPECT_EQ(m_log, (CallLog{"site.GetWindow", "site.CanInPlaceActivate", "site.OnInPlaceActivate",
                              "site.GetWindow", "site.GetWindowContext"}));

    const HWND hView = m_embedding->View();
    ASSERT_NE(hView, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(hView, className, 64);
    EXPECT_STREQ(className, PageHost::kViewClassName);
    EXPECT_EQ(GetParent(hView), m_window.Get());
    RECT client{};
    GetClientRect(hView, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);

    Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(m_embedding->Object()->QueryInterface(IID_IOleInPlaceObject, &inPlace), S_OK);
    const RECT moved{10, 20, 210, 120};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    RECT placed{};
    GetWindowRect(hView, &placed);
    MapWindowPoints(nullptr, m_window.Get(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.top, 20);
    EXPECT_EQ(placed.right, 210);
    EXPECT_EQ(placed.bottom, 120);

    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(IsWindow(hView));
    EXPECT_TRUE(Contains(m_log, "site.OnInPlaceDeactivate"));
}

TEST_F(PageHostBrowser, NavigationRunsFromTheMessageLoopInTheBrowsersEventOrder)
{
    const std::string path = WritePage("<title>Ad</title><p>Hello</p>");
    for (const std::string& url : {std::string("about:blank"), path, FileUrl(path)})
    {
        SCOPED_TRACE(url);
        m_log.clear();
        ASSERT_EQ(m_embedding->Navigate(Widen(url)), S_OK);
        EXPECT_TRUE(Sequence().empty()) << "an event fired inside Navigate2";
        ASSERT_TRUE(Logged("DocumentComplete " + url));
        EXPECT_EQ(Sequence(), (CallLog{"BeforeNavigate2 " + url, "NavigateComplete2 " + url,
                                       "handler.GetHostInfo", "DocumentComplete " + url}));
        EXPECT_TRUE(m_sink.m_bArgumentsWellFormed) << m_sink.m_lastProblem;

        BSTR location = nullptr;
        EXPECT_EQ(m_embedding->Browser()->get_LocationURL(&location), S_OK);
        EXPECT_EQ(Narrow(location), url);
        SysFreeString(location);
        READYSTATE state = READYSTATE_UNINITIALIZED;
        EXPECT_EQ(m_embedding->Browser()->get_ReadyState(&state), S_OK);
        EXPECT_EQ(state, READYSTATE_COMPLETE);
    }
}

TEST_F(PageHostBrowser, CancelInBeforeNavigate2EndsTheNavigation)
{
    const std::string path = WritePage("<script>external.Loaded();</script>");
    m_sink.m_cancelUrl = Widen(path);
    ASSERT_EQ(m_embedding->Navigate(Widen(path)), S_OK);
    ASSERT_TRUE(Logged("BeforeNavigate2 " + path));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Sequence(), CallLog{"BeforeNavigate2 " + path});
    EXPECT_TRUE(m_external.m_calls.empty());
    Microsoft::WRL::ComPtr<IDispatch> document;
    EXPECT_EQ(m_embedding->Browser()->get_Document(&document), S_OK);
    EXPECT_FALSE(document);
}

TEST_F(PageHostBrowser, AddressesThatAreNotLoadedEndInNavigateErrorWithoutDocumentComplete)
{
    const struct
    {
        std::string url;
        std::string status;
    } cases[] = {{"http://ads.example.com/popup?id=42", "800C0005"},
                 {"https://ads.example.com/", "800C0005"},
                 {m_folder.File("missing.html"), "800C0005"},
                 {"", "800C0002"}};
    for (const auto& item : cases)
    {
        SCOPED_TRACE(item.url);
        m_log.clear();
        ASSERT_EQ(m_embedding->Navigate(Widen(item.url)), S_OK);
        ASSERT_TRUE(LoggedStart("NavigateError"));
        ASSERT_TRUE(Idle());
        EXPECT_EQ(Sequence(),
                  (CallLog{"BeforeNavigate2 " + item.url, "NavigateError " + item.url + " " + item.status}));
        EXPECT_TRUE(m_sink.m_bArgumentsWellFormed) << m_sink.m_lastProblem;
    }
}

TEST_F(PageHostBrowser, PageScriptCallsWindowExternalAsAMethodWithItsArgumentsReversed)
{
    const std::string path = WritePage("<script>\n"
                                       "external.StartDownLoad(\"GAME-1\", 2, true, 1.5, \"from=page\");\n"
                                       "function go() { window.external.ShowUrl(12, null); }\n"
                                       "window.go();\n"
                                       "</script>");
    Show(path);
    ASSERT_EQ(m_external.m_calls.size(), 2u);
    const CTestExternal::CCall& first = m_external.m_calls[0];
    EXPECT_EQ(first.name, "StartDownLoad");
    EXPECT_TRUE(first.flags & DISPATCH_METHOD);
    EXPECT_EQ(first.args,
              (std::vector<std::string>{"BSTR:GAME-1", "I4:2", "BOOL:-1", "R8:1.5", "BSTR:from=page"}));
    // Wrong argument types are the container's business: they pass as given.
    EXPECT_EQ(m_external.m_calls[1].name, "ShowUrl");
    EXPECT_EQ(m_external.m_calls[1].args, (std::vector<std::string>{"I4:12", "NULL"}));
    EXPECT_EQ(m_external.m_lastRaw, (std::vector<std::string>{"NULL", "I4:12"}));
    // Asked once for the document, after the host information.
    const CallLog sequence = Sequence();
    EXPECT_LT(IndexOf(sequence, "handler.GetHostInfo"), IndexOf(sequence, "handler.GetExternal"));
    EXPECT_LT(IndexOf(sequence, "handler.GetExternal"), IndexOf(sequence, "DocumentComplete " + path));
    EXPECT_EQ(std::count(sequence.begin(), sequence.end(), "handler.GetExternal"), 1);
}

TEST_F(PageHostBrowser, WithoutExternalFromTheHandlerThePageSeesUndefined)
{
    m_handler.m_pExternal = nullptr;
    const std::string path = WritePage("<script>if (typeof external == \"undefined\") close();</script>");
    Show(path);
    EXPECT_TRUE(Contains(m_log, "handler.GetExternal"));
    EXPECT_TRUE(Contains(m_log, "WindowClosing"));
    EXPECT_LT(IndexOf(m_log, "WindowClosing"), IndexOf(m_log, "DocumentComplete " + path));
}

TEST_F(PageHostBrowser, ScriptErrorReachesTheHandlersCommandTargetWithTheErrorProperties)
{
    const std::string page = "<html><head><title>t</title></head>\n"
                             "<body>\n"
                             "<script>\n"
                             "var x = 1;\n"
                             "throw new Error(\"boom\");\n"
                             "</script>\n"
                             "<script>external.After();</script>\n"
                             "</body></html>\n";
    for (const VARIANT_BOOL keepRunning : {VARIANT_TRUE, VARIANT_FALSE})
    {
        SCOPED_TRACE(keepRunning);
        m_handler.m_keepRunningScripts = keepRunning;
        m_external.m_calls.clear();
        const std::string path = WritePage(page);
        Show(path);
        ASSERT_TRUE(Contains(m_log, "handler.Exec 40"));
        EXPECT_LT(IndexOf(m_log, "handler.Exec 40"), IndexOf(m_log, "DocumentComplete " + path));
        ASSERT_EQ(m_handler.m_lastError.size(), 5u) << ::testing::PrintToString(m_handler.m_lastError);
        EXPECT_EQ(m_handler.m_lastError[0], "errorLine=I4:5");
        EXPECT_TRUE(StartsWith(m_handler.m_lastError[1], "errorCharacter=I4:"));
        EXPECT_TRUE(StartsWith(m_handler.m_lastError[2], "errorCode=I4:"));
        EXPECT_EQ(m_handler.m_lastError[3], "errorMessage=BSTR:boom");
        EXPECT_EQ(m_handler.m_lastError[4], "errorUrl=BSTR:" + path);
        // A handler that says "stop" keeps the next block from running.
        EXPECT_EQ(m_external.m_calls.size(), keepRunning != VARIANT_FALSE ? 1u : 0u);
    }
    // Outside a report the window has no event.
    Microsoft::WRL::ComPtr<IDispatch> document;
    Microsoft::WRL::ComPtr<IHTMLDocument2> html;
    Microsoft::WRL::ComPtr<IHTMLWindow2> window;
    Microsoft::WRL::ComPtr<IHTMLEventObj> event;
    ASSERT_EQ(m_embedding->Browser()->get_Document(&document), S_OK);
    ASSERT_EQ(document.As(&html), S_OK);
    ASSERT_EQ(html->get_parentWindow(&window), S_OK);
    EXPECT_EQ(window->get_event(&event), S_OK);
    EXPECT_FALSE(event);
}

TEST_F(PageHostBrowser, EndlessScriptIsStoppedAndReportedAsAScriptError)
{
    const std::string path =
        WritePage("<script>var n = 0; while (true) { n++; }</script><script>external.After();</script>");
    const ULONGLONG start = GetTickCount64();
    Show(path);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, PageHost::kScriptTimeLimitMs - 100);
    EXPECT_LT(elapsed, 15000u);
    ASSERT_TRUE(Contains(m_log, "handler.Exec 40"));
    ASSERT_EQ(m_handler.m_lastError.size(), 5u);
    EXPECT_NE(m_handler.m_lastError[3].find("was stopped"), std::string::npos) << m_handler.m_lastError[3];
    EXPECT_TRUE(m_external.m_calls.empty());
    EXPECT_NE(m_module.MessageLog().find("was stopped"), std::string::npos);

    // The next page gets a new engine.
    Show(WritePage("<script>external.Again();</script>"));
    ASSERT_EQ(m_external.m_calls.size(), 1u);
    EXPECT_EQ(m_external.m_calls[0].name, "Again");
}

TEST_F(PageHostBrowser, HostileActionCountAndPageSizeAreRefusedAndReported)
{
    std::string many = "<title>many</title>";
    for (int i = 0; i < 10000; ++i)
        many += "<button onclick=\"external.Click()\">B</button>";
    Show(WritePage(many));
    EXPECT_EQ(m_module.ActionCount(m_embedding->View()), static_cast<int>(PageHost::kMaxActions));
    EXPECT_NE(m_module.MessageLog().find("refused 9936 action elements"), std::string::npos);

    // Unbroken words as long as a page may hold are laid out and drawn in
    // time: one over the whole page, and as many long ones as fit.
    for (const size_t words : {size_t{1}, size_t{PageHost::kMaxPageBytes / 4096}})
    {
        std::string page;
        for (size_t i = 0; i < words; ++i)
            page += "<p>" + std::string(PageHost::kMaxPageBytes / words - 7, 'w') + "</p>";
        const ULONGLONG start = GetTickCount64();
        Show(WritePage(page));
        RedrawWindow(m_embedding->View(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_LT(GetTickCount64() - start, 5000u) << words;
    }
    EXPECT_NE(m_module.MessageLog().find("cut 1 texts to 2000 characters"), std::string::npos);

    const std::string big = WritePage(std::string(4 * 1024 * 1024, 'x'));
    m_log.clear();
    ASSERT_EQ(m_embedding->Navigate(Widen(big)), S_OK);
    ASSERT_TRUE(Logged("NavigateError " + big + " 800C0008"));
    EXPECT_NE(m_module.MessageLog().find("refused: the page has 4194304 bytes"), std::string::npos);
}

TEST_F(PageHostBrowser, RightClickAsksTheHandlerFirstAndOtherwiseShowsTheHostsMenu)
{
    const std::string path = WritePage("<p>text</p><script>external.Loaded();</script>");
    Show(path);
    const HWND hView = m_embedding->View();
    POINT pt{20, 30};
    ClientToScreen(hView, &pt);

    m_handler.m_contextMenuAnswer = S_OK;
    SendMessageW(hView, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hView), MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(
        Contains(m_log, "handler.ShowContextMenu 0 " + std::to_string(pt.x) + "," + std::to_string(pt.y)));
    EXPECT_NE(m_module.MessageLog().find("context menu: shown by the container"), std::string::npos);

    // The host's own menu: its first command, Refresh, runs the page again.
    m_handler.m_contextMenuAnswer = S_FALSE;
    const HANDLE picker = CreateThread(nullptr, 0, PickFirstMenuCommand, nullptr, 0, nullptr);
    ASSERT_NE(picker, nullptr);
    SendMessageW(hView, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hView), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(WaitForSingleObject(picker, kWaitMs), WAIT_OBJECT_0);
    DWORD pickerResult = 1;
    GetExitCodeThread(picker, &pickerResult);
    CloseHandle(picker);
    EXPECT_EQ(pickerResult, 0u) << "no menu was shown";
    EXPECT_NE(m_module.MessageLog().find("context menu: the page host's own"), std::string::npos);
    EXPECT_TRUE(Veneer::PumpUntil([&] { return m_external.m_calls.size() == 2; }, kWaitMs));
}

TEST_F(PageHostBrowser, DrawPaintsThePageWithTheBorderTheHostAsksFor)
{
    const std::string path = WritePage("<title>Drawn</title>");
    for (const DWORD flags : {DWORD{0}, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER)})
    {
        SCOPED_TRACE(flags);
        m_handler.m_hostFlags = flags;
        Show(path);
        Microsoft::WRL::ComPtr<IViewObject2> view;
        ASSERT_EQ(m_embedding->Object()->QueryInterface(IID_IViewObject2, &view), S_OK);
        Veneer::CTestSurface surface(200, 100, 0xFF123456);
        const RECTL bounds{0, 0, 200, 100};
        ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, surface.GetDC(), &bounds,
                             nullptr, nullptr, 0),
                  S_OK);
        EXPECT_EQ(surface.Rgb(190, 90), 0xFFFFFFu);
        if (flags == 0)
            EXPECT_NE(surface.Rgb(0, 0), 0xFFFFFFu) << "no border drawn";
        else
            EXPECT_EQ(surface.Rgb(0, 0), 0xFFFFFFu) << "a border drawn";
        EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, surface.GetDC(), &bounds, nullptr,
                             nullptr, 0),
                  DV_E_DVASPECT);
    }
}

TEST_F(PageHostBrowser, DemoPageShowsItsActionsAndAClickCallsTheBridge)
{
    const std::string path = TestSupport::BinFolder() + "\\DemoAd.html";
    Show(path);
    ASSERT_EQ(m_external.m_calls.size(), 1u);
    EXPECT_EQ(m_external.m_calls[0].name, "GetGameStatus");
    BSTR title = nullptr;
    EXPECT_EQ(m_embedding->Browser()->get_LocationName(&title), S_OK);
    EXPECT_EQ(Narrow(title), "Quillmarsh Games");
    SysFreeString(title);

    const HWND hView = m_embedding->View();
    ASSERT_EQ(m_module.ActionCount(hView), 4);
    const struct
    {
        int action;
        std::string call;
        std::vector<std::string> args;
    } clicks[] = {{0, "StartDownLoad", {"BSTR:GAME-1001", "BSTR:", "BSTR:", "BSTR:", "BSTR:from=popup"}},
                  {1, "ShowUrl", {"BSTR:https://games.example.com/"}},
                  {2, "NotShowToday", {}},
                  {3, "CloseADFrame", {}}};
    for (const auto& click : clicks)
    {
        SCOPED_TRACE(click.call);
        RECT rect{};
        ASSERT_TRUE(m_module.ActionRect(hView, click.action, rect));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(hView, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(hView, WM_LBUTTONUP, 0, at);
        ASSERT_EQ(m_external.m_calls.size(), static_cast<size_t>(click.action) + 2);
        EXPECT_EQ(m_external.m_calls.back().name, click.call);
        EXPECT_EQ(m_external.m_calls.back().args, click.args);
    }
    // A press on one action and a release elsewhere is no click.
    RECT first{};
    ASSERT_TRUE(m_module.ActionRect(hView, 0, first));
    SendMessageW(hView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 2, first.top + 2));
    SendMessageW(hView, WM_LBUTTONUP, 0, MAKELPARAM(first.right + 40, first.bottom + 40));
    EXPECT_EQ(m_external.m_calls.size(), 5u);
}

// The toolkit's site answers IOleInPlaceSiteEx and sets the object's
// rectangles from inside OnInPlaceActivateEx: the page window takes those.
TEST_F(PageHostBrowser, ActivationThroughAnExtendedSiteIsWindowedAndKeepsTheSitesRectangles)
{
    m_embedding.reset();
    m_log.clear();
    m_site.m_bAnswerSiteEx = true;
    m_embedding.reset(new CEmbedding(m_module, m_site, m_sink));
    ASSERT_TRUE(m_embedding->Ready());
    EXPECT_EQ(m_log, (CallLog{"site.GetWindow", "site.CanInPlaceActivate", "site.OnInPlaceActivateEx 0",
                              "site.GetWindow", "site.GetWindowContext"}));
    RECT placed{};
    GetWindowRect(m_embedding->View(), &placed);
    MapWindowPoints(nullptr, m_window.Get(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, m_site.m_activationRect.left);
    EXPECT_EQ(placed.top, m_site.m_activationRect.top);
    EXPECT_EQ(placed.right, m_site.m_activationRect.right);
    EXPECT_EQ(placed.bottom, m_site.m_activationRect.bottom);
    m_embedding->Release();
    EXPECT_TRUE(Contains(m_log, "site.OnInPlaceDeactivateEx 1"));
    EXPECT_FALSE(Contains(m_log, "site.OnInPlaceDeactivate"));
}

TEST_F(PageHostBrowser, HistoryWalksBackAndForwardAndStopDropsWhatIsQueued)
{
    const std::string first = WritePage("<title>one</title>");
    const std::string second = WritePage("<title>two</title>");
    Show(first);
    Show(second);
    IWebBrowser2* pBrowser = m_embedding->Browser();
    EXPECT_EQ(pBrowser->GoForward(), E_FAIL);

    m_log.clear();
    ASSERT_EQ(pBrowser->GoBack(), S_OK);
    ASSERT_TRUE(Logged("DocumentComplete " + first));
    EXPECT_EQ(Sequence().front(), "BeforeNavigate2 " + first);
    EXPECT_EQ(pBrowser->GoBack(), E_FAIL);

    m_log.clear();
    ASSERT_EQ(pBrowser->GoForward(), S_OK);
    ASSERT_TRUE(Logged("DocumentComplete " + second));
    BSTR location = nullptr;
    EXPECT_EQ(pBrowser->get_LocationURL(&location), S_OK);
    EXPECT_EQ(Narrow(location), second);
    SysFreeString(location);

    // Stopped before the message loop ran it: nothing of it happens.
    m_log.clear();
    ASSERT_EQ(m_embedding->Navigate(Widen(first)), S_OK);
    VARIANT_BOOL busy = VARIANT_FALSE;
    EXPECT_EQ(pBrowser->get_Busy(&busy), S_OK);
    EXPECT_EQ(busy, VARIANT_TRUE);
    EXPECT_EQ(pBrowser->Stop(), S_OK);
    ASSERT_TRUE(Idle());
    Veneer::PumpPending();
    EXPECT_TRUE(Sequence().empty()) << ::testing::PrintToString(m_log);
}
