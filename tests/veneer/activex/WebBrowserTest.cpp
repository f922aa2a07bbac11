#include "veneer/activex/BrowserGuids.h"
#include "veneer/activex/WebBrowserUI.h"
#include "veneer/control/ContainerUI.h"

#include "TestContainer.h"
#include "TestWindow.h"
#include "tests/support/TestSupport.h"

#include <exdispid.h>
#include <gtest/gtest.h>
#include <mshtml.h>
#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;
using PageHostTest::CallLog;
using PageHostTest::Contains;
using PageHostTest::IndexOf;
using PageHostTest::kWaitMs;

namespace Veneer
{

namespace
{

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string UrlOf(VARIANT* url)
{
    if (url == nullptr || V_VT(url) != VT_BSTR || V_BSTR(url) == nullptr)
        return "?";
    const std::string path = PageHostTest::Narrow(V_BSTR(url));
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The application's handler: every event and host question in one log,
// by page file name; a chosen page is cancelled before it loads.
class CRecordingHandler : public CWebBrowserEventHandler
{
  public:
    void BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                         VARIANT_BOOL* cancel) override
    {
        const std::string page = UrlOf(url);
        m_log.push_back("BeforeNavigate2:" + page);
        if (page == m_cancelPage)
            *cancel = VARIANT_TRUE;
    }
    void NavigateError(IDispatch*, VARIANT* url, VARIANT*, VARIANT* statusCode, VARIANT_BOOL*) override
    {
        char status[16] = "?";
        if (statusCode != nullptr && V_VT(statusCode) == VT_I4)
            snprintf(status, sizeof(status), "%08lX", static_cast<unsigned long>(V_I4(statusCode)));
        m_log.push_back("NavigateError:" + UrlOf(url) + ":" + status);
    }
    void NavigateComplete2(IDispatch*, VARIANT* url) override
    {
        m_log.push_back("NavigateComplete2:" + UrlOf(url));
    }
    void DocumentComplete(IDispatch*, VARIANT* url) override
    {
        m_log.push_back("DocumentComplete:" + UrlOf(url));
    }
    HRESULT ShowContextMenu(DWORD dwID, POINT*, IUnknown*, IDispatch*) override
    {
        m_log.push_back("ShowContextMenu:" + std::to_string(dwID));
        return S_OK;
    }
    HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo) override
    {
        m_log.push_back("GetHostInfo");
        pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
        return S_OK;
    }
    HRESULT GetExternal(IDispatch** ppDispatch) override
    {
        m_log.push_back("GetExternal");
        *ppDispatch = &m_external;
        m_external.AddRef();
        return S_OK;
    }
    HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved) override
    {
        m_log.push_back("GetOptionKeyPath");
        return CWebBrowserEventHandler::GetOptionKeyPath(pchKey, dwReserved);
    }
    HRESULT TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override
    {
        m_log.push_back("TranslateUrl");
        return CWebBrowserEventHandler::TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
    }
    HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override
    {
        m_log.push_back("FilterDataObject");
        return CWebBrowserEventHandler::FilterDataObject(pDO, ppDORet);
    }

    CallLog m_log;
    std::string m_cancelPage;
    PageHostTest::CTestExternal m_external;
};

} // namespace

// A window whose root holds one browser control, made from the page host's
// module (no registration), or from the platform's registration.
class WebBrowserTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_pageHost.Loaded());
        ASSERT_EQ(m_pageHost.LiveObjects(), 0);
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        ASSERT_TRUE(m_window.Create(&m_pm, 320, 240, 40, 40));
        m_pRoot = new CContainerUI();
        m_pRoot->SetDelayedDestroy(false);
        ASSERT_TRUE(m_pm.AttachDialog(m_pRoot));
    }
    void TearDown() override
    {
        if (m_pRoot != nullptr)
            m_pRoot->RemoveAll();
        m_window.Destroy();
        // Every object of the page host is gone with the control.
        EXPECT_TRUE(PumpUntil([this] { return m_pageHost.LiveObjects() == 0; }, 10000))
            << m_pageHost.LiveObjects();
        EXPECT_EQ(m_handler.m_external.Refs(), 0);
        ::OleUninitialize();
    }

    CWebBrowserUI* AddBrowser(bool bPageHost = true, bool bHandler = true)
    {
        CWebBrowserUI* pBrowser = new CWebBrowserUI();
        if (bPageHost)
            pBrowser->SetAttribute(L"modulename", Wide(TestSupport::BinFolder() + "\\pagehost.dll").c_str());
        if (bHandler)
            pBrowser->SetWebBrowserEventHandler(&m_handler);
        m_pRoot->Add(pBrowser);
        return pBrowser;
    }
    // A page file in the scratch folder; its path.
    std::wstring Page(const std::string& name, const std::string& html)
    {
        const std::string path = m_scratch.File(name);
        EXPECT_TRUE(TestSupport::WriteFileBytes(path, html));
        return Wide(path);
    }
    bool WaitFor(const std::string& entry, DWORD dwTimeoutMs = kWaitMs)
    {
        return PumpUntil([&] { return Contains(m_handler.m_log, entry); }, dwTimeoutMs);
    }
    bool WaitForCall(size_t nCalls)
    {
        return PumpUntil([&] { return m_handler.m_external.m_calls.size() >= nCalls; }, kWaitMs);
    }
    void Layout()
    {
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(m_window.GetHWND(), nullptr, FALSE); }));
    }

    PageHostTest::CPageHostModule m_pageHost;
    TestSupport::CScratchFolder m_scratch;
    CRecordingHandler m_handler;
    CPaintManagerUI m_pm;
    CTestWindow m_window;
    CContainerUI* m_pRoot = nullptr;
};

// The home page is loaded when the control is made: the events come in the
// browser's order, the UI handler is installed on the new document before
// it asks its host questions, and the page's script reaches the object the
// handler hands out as window.external, with its arguments.
TEST_F(WebBrowserTest, HomePageLoadsInOrderAndReachesExternal)
{
    const std::wstring home =
        Page("home.html", "<title>Home</title><script>window.external.Hit('a', 2, true);</script>");
    CWebBrowserUI* pBrowser = AddBrowser();
    pBrowser->SetAttribute(L"homepage", home.c_str());
    pBrowser->SetAttribute(L"autonavi", L"true");
    Layout();
    ASSERT_NE(pBrowser->GetWebBrowser2(), nullptr);
    ASSERT_TRUE(WaitFor("DocumentComplete:home.html"));
    const CallLog& log = m_handler.m_log;
    const size_t before = IndexOf(log, "BeforeNavigate2:home.html");
    const size_t complete = IndexOf(log, "NavigateComplete2:home.html");
    const size_t hostInfo = IndexOf(log, "GetHostInfo");
    const size_t external = IndexOf(log, "GetExternal");
    const size_t done = IndexOf(log, "DocumentComplete:home.html");
    EXPECT_LT(before, complete);
    EXPECT_LT(complete, hostInfo);
    EXPECT_LT(hostInfo, external);
    EXPECT_LT(external, done);
    EXPECT_LT(done, log.size());
    ASSERT_EQ(m_handler.m_external.m_calls.size(), 1u);
    EXPECT_EQ(m_handler.m_external.m_calls[0].name, "Hit");
    EXPECT_EQ(m_handler.m_external.m_calls[0].args, (std::vector<std::string>{"BSTR:a", "I4:2", "BOOL:-1"}));

    // The next document gets the handler again.
    const std::wstring next = Page("next.html", "<script>window.external.Again();</script>");
    m_handler.m_log.clear();
    pBrowser->NavigateUrl(next.c_str());
    ASSERT_TRUE(WaitFor("DocumentComplete:next.html"));
    EXPECT_TRUE(Contains(m_handler.m_log, "GetHostInfo"));
    ASSERT_EQ(m_handler.m_external.m_calls.size(), 2u);
    EXPECT_EQ(m_handler.m_external.m_calls[1].name, "Again");
    // Back to the first page through the history.
    pBrowser->GoBack();
    ASSERT_TRUE(WaitFor("DocumentComplete:home.html"));
}

// A page cancelled in BeforeNavigate2 is never loaded; the next one is.
TEST_F(WebBrowserTest, CancelInBeforeNavigateStopsThatNavigation)
{
    const std::wstring blocked = Page("blocked.html", "<script>window.external.Blocked();</script>");
    const std::wstring allowed = Page("allowed.html", "<p>allowed</p>");
    m_handler.m_cancelPage = "blocked.html";
    CWebBrowserUI* pBrowser = AddBrowser();
    Layout();
    pBrowser->Navigate2(blocked.c_str());
    pBrowser->Navigate2(allowed.c_str());
    ASSERT_TRUE(WaitFor("DocumentComplete:allowed.html"));
    EXPECT_TRUE(Contains(m_handler.m_log, "BeforeNavigate2:blocked.html"));
    EXPECT_FALSE(Contains(m_handler.m_log, "NavigateComplete2:blocked.html"));
    EXPECT_FALSE(Contains(m_handler.m_log, "DocumentComplete:blocked.html"));
    EXPECT_TRUE(m_handler.m_external.m_calls.empty());
}

// The page's window through GetHtmlWindow; the script helpers call any
// IDispatch by member name, with the arguments in the order given.
TEST_F(WebBrowserTest, HtmlWindowAndScriptHelpers)
{
    const std::wstring page = Page("window.html", "<title>Window</title>");
    CWebBrowserUI* pBrowser = AddBrowser();
    Layout();
    pBrowser->Navigate2(page.c_str());
    ASSERT_TRUE(WaitFor("DocumentComplete:window.html"));
    // Taken over without a new reference (mingw's ComPtr::Attach adds one).
    ComPtr<IDispatch> pWindow;
    *pWindow.GetAddressOf() = pBrowser->GetHtmlWindow();
    ASSERT_NE(pWindow, nullptr);
    ComPtr<IHTMLWindow2> pHtmlWindow;
    ASSERT_EQ(pWindow.As(&pHtmlWindow), S_OK);
    ComPtr<IHTMLDocument2> pDocument;
    ASSERT_EQ(pHtmlWindow->get_document(&pDocument), S_OK);
    BSTR title = nullptr;
    ASSERT_EQ(pDocument->get_title(&title), S_OK);
    EXPECT_STREQ(title, L"Window");
    ::SysFreeString(title);
    EXPECT_EQ(CWebBrowserUI::FindId(pWindow.Get(), const_cast<LPOLESTR>(L"noSuchMember")), -1);

    IDispatch* pTarget = &m_handler.m_external;
    VARIANT args[2];
    V_VT(&args[0]) = VT_I4;
    V_I4(&args[0]) = 7;
    V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[1]) = ::SysAllocString(L"first");
    ASSERT_EQ(CWebBrowserUI::InvokeMethod(pTarget, const_cast<LPOLESTR>(L"Call"), nullptr, args, 2), S_OK);
    ::VariantClear(&args[1]);
    VARIANT value;
    V_VT(&value) = VT_I4;
    V_I4(&value) = 3;
    ASSERT_EQ(CWebBrowserUI::SetProperty(pTarget, const_cast<LPOLESTR>(L"Size"), &value), S_OK);
    ::VariantInit(&value);
    ASSERT_EQ(CWebBrowserUI::GetProperty(pTarget, const_cast<LPOLESTR>(L"Size"), &value), S_OK);
    ::VariantClear(&value);
    const auto& calls = m_handler.m_external.m_calls;
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].name, "Call");
    EXPECT_EQ(calls[0].flags, DISPATCH_METHOD);
    EXPECT_EQ(calls[0].args, (std::vector<std::string>{"BSTR:first", "I4:7"}));
    EXPECT_EQ(calls[1].flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(calls[1].args, (std::vector<std::string>{"I4:3"}));
    EXPECT_EQ(calls[2].flags, DISPATCH_PROPERTYGET);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(nullptr, const_cast<LPOLESTR>(L"Call"), nullptr, nullptr, 0),
              E_FAIL);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(pTarget, const_cast<LPOLESTR>(L"Call"), nullptr, nullptr, 2),
              E_FAIL);
}

// Untrusted pages: an endless loop (bounded by the host and reported as a
// script error, which the control answers "continue"), a script that
// throws, window.external called with arguments of any type, thousands of
// action elements, a page too large to load. The control survives each and
// the next page still loads.
TEST_F(WebBrowserTest, HostilePagesDoNotHurtTheControl)
{
    std::string manyActions;
    for (int i = 0; i < 10000; i++)
        manyActions += "<button onclick=\"x()\">b</button>";
    const struct
    {
        const char* name;
        std::string html;
        const char* end;
    } kPages[] = {
        {"loop.html", "<script>while (true) {}</script>", "DocumentComplete:loop.html"},
        {"throws.html", "<script>throw new Error('x');</script><script>window.external.After();</script>",
         "DocumentComplete:throws.html"},
        {"types.html",
         "<script>window.external.Odd(function () {}, {a: 1}, null, undefined, 1.5, [1, 2]);"
         "window.external.NoArgs();</script>",
         "DocumentComplete:types.html"},
        {"many.html", manyActions, "DocumentComplete:many.html"},
        {"huge.html", std::string(4 * 1024 * 1024, 'a'), "NavigateError:huge.html:800C0008"},
    };
    CWebBrowserUI* pBrowser = AddBrowser();
    Layout();
    for (const auto& page : kPages)
    {
        pBrowser->Navigate2(Page(page.name, page.html).c_str());
        EXPECT_TRUE(WaitFor(page.end, 30000)) << page.name;
    }
    // The error of the throwing page let the next script block run.
    bool bAfter = false;
    for (const auto& call : m_handler.m_external.m_calls)
        bAfter = bAfter || call.name == "After";
    EXPECT_TRUE(bAfter);
    const std::wstring last = Page("last.html", "<p>fine</p>");
    pBrowser->Navigate2(last.c_str());
    EXPECT_TRUE(WaitFor("DocumentComplete:last.html"));
}

// The answers the browser gets without an application handler, and the
// COM parts that only the browser calls: events by DISPID (unknown ones and
// malformed ones refused), script errors let pass, only the download
// manager offered as a service.
TEST_F(WebBrowserTest, AnswersWithoutHandlerAndToMalformedCalls)
{
    CWebBrowserUI control;
    IDocHostUIHandler* pUiHandler = &control;
    POINT pt{1, 1};
    EXPECT_EQ(pUiHandler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr), S_FALSE);
    IDispatch* pExternal = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(pUiHandler->GetExternal(&pExternal), S_FALSE);
    EXPECT_EQ(pExternal, nullptr);
    LPOLESTR pKey = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(pUiHandler->GetOptionKeyPath(&pKey, 0), E_NOTIMPL);
    EXPECT_EQ(pKey, nullptr);

    IDispatch* pSink = &control;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(pSink->Invoke(108, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    // BeforeNavigate2 with two arguments instead of seven.
    VARIANT args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    DISPPARAMS few{args, nullptr, 2, 0};
    EXPECT_EQ(
        pSink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &few, nullptr, nullptr, nullptr),
        DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(pSink->Invoke(DISPID_NAVIGATECOMPLETE2, IID_NULL, 0, DISPATCH_METHOD, &few, nullptr, nullptr,
                            nullptr),
              DISP_E_TYPEMISMATCH);

    IOleCommandTarget* pTarget = &control;
    VARIANT out;
    ::VariantInit(&out);
    EXPECT_EQ(pTarget->Exec(&kCGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), S_OK);
    EXPECT_EQ(V_VT(&out), VT_BOOL);
    EXPECT_EQ(V_BOOL(&out), VARIANT_TRUE);
    EXPECT_EQ(pTarget->Exec(&kCGID_DocHostCommandHandler, OLECMDID_PRINT, 0, nullptr, nullptr),
              OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pTarget->Exec(&GUID_NULL, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr),
              OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(pTarget->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr),
              OLECMDERR_E_UNKNOWNGROUP);

    // Keys reach no browser before one exists; other messages are not keys.
    ITranslateAccelerator* pTranslator = &control;
    MSG key{nullptr, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(pTranslator->TranslateAccelerator(&key), E_NOTIMPL);
    MSG click{nullptr, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_EQ(pTranslator->TranslateAccelerator(&click), S_FALSE);

    IServiceProvider* pProvider = &control;
    ComPtr<IUnknown> pService;
    EXPECT_EQ(pProvider->QueryService(kIID_IDownloadManager, kIID_IDownloadManager,
                                      reinterpret_cast<void**>(pService.GetAddressOf())),
              S_OK);
    EXPECT_NE(pService, nullptr);
    pService.Reset();
    EXPECT_EQ(pProvider->QueryService(IID_IUnknown, IID_IUnknown,
                                      reinterpret_cast<void**>(pService.GetAddressOf())),
              E_NOINTERFACE);
}

namespace
{

// Whether the browser's own popup menu was shown. The menu's modal loop
// dispatches the thread's timers, so a timer sees it and closes it.
bool s_bMenuSeen = false;

void CALLBACK CloseMenuWhenShown(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hMenu = ::FindWindowW(L"#32768", nullptr);
    if (hMenu != nullptr && ::IsWindowVisible(hMenu))
    {
        s_bMenuSeen = true;
        ::EndMenu();
    }
}

} // namespace

// A right click on the page asks the application's handler, whose S_OK
// keeps the browser's own menu away; without a handler the browser shows
// its menu.
TEST_F(WebBrowserTest, ContextMenuIsTheHandlersOrTheBrowsers)
{
    for (const bool bHandler : {true, false})
    {
        CWebBrowserUI* pBrowser = AddBrowser(true, bHandler);
        Layout();
        pBrowser->Navigate2(Page("menu.html", "<button>menu</button>").c_str());
        SHANDLE_PTR hView = 0;
        ASSERT_EQ(pBrowser->GetWebBrowser2()->get_HWND(&hView), S_OK);
        HWND hWnd = reinterpret_cast<HWND>(hView);
        ASSERT_TRUE(::IsWindow(hWnd));
        ASSERT_TRUE(PumpUntil([&] { return m_pageHost.ActionCount(hWnd) == 1; }, kWaitMs));
        RECT rc{};
        ::GetWindowRect(hWnd, &rc);
        s_bMenuSeen = false;
        m_handler.m_log.clear();
        const UINT_PTR uTimer = ::SetTimer(nullptr, 0, 50, CloseMenuWhenShown);
        ::SendMessageW(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd),
                       MAKELPARAM(rc.left + 5, rc.top + 5));
        ::KillTimer(nullptr, uTimer);
        EXPECT_EQ(Contains(m_handler.m_log, "ShowContextMenu:" + std::to_string(CONTEXT_MENU_DEFAULT)),
                  bHandler);
        EXPECT_EQ(s_bMenuSeen, !bHandler);
        m_pRoot->RemoveAll();
    }
}

// The platform's own browser (no HTML engine here): it is made and
// activated in place, and a navigation fails through NavigateError.
TEST_F(WebBrowserTest, PlatformBrowserReportsFailedNavigation)
{
    CWebBrowserUI* pBrowser = AddBrowser(false);
    Layout();
    ASSERT_NE(pBrowser->GetWebBrowser2(), nullptr);
    EXPECT_NE(pBrowser->GetHostWindow(), nullptr);
    const std::wstring page = Page("real.html", "<p>real</p>");
    pBrowser->Navigate2(page.c_str());
    EXPECT_TRUE(PumpUntil(
        [&] {
            for (const std::string& entry : m_handler.m_log)
            {
                if (entry.rfind("NavigateError:", 0) == 0)
                    return true;
            }
            return false;
        },
        kWaitMs));
    std::string calls;
    for (const std::string& entry : m_handler.m_log)
        calls += entry + " ";
    // What the platform's browser asked of its host, for the record.
    ::testing::Test::RecordProperty("platform_calls", calls);
    printf("platform browser calls: %s\n", calls.c_str());
}

} // namespace Veneer
