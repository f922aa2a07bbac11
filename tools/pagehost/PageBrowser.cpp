#include "tools/pagehost/PageBrowser.h"

#include "tools/pagehost/BrowserEvents.h"
#include "tools/pagehost/Guids.h"
#include "tools/pagehost/PageDocument.h"
#include "tools/pagehost/PageHostApi.h"
#include "tools/pagehost/PageParser.h"
#include "tools/pagehost/PageScript.h"
#include "tools/pagehost/PageSource.h"
#include "tools/pagehost/PageWindow.h"
#include "tools/pagehost/ScriptErrorEvent.h"

#include <docobj.h>

#include <iterator>

namespace PageHost
{

namespace
{

const UINT kRunNavigation = WM_APP + 1;
constexpr wchar_t kJavaScriptScheme[] = L"javascript:";
constexpr size_t kJavaScriptSchemeLength = std::size(kJavaScriptScheme) - 1;

// What the limits kept out of a page, in one line of the host's log.
void ReportLimits(const std::wstring& url, const CPageContent& content)
{
    if (content.refusedActions == 0 && content.refusedTextBlocks == 0 && content.refusedScripts == 0 &&
        content.cutTexts == 0)
        return;
    const auto number = [](size_t value) { return std::to_wstring(value); };
    const std::wstring text =
        L"page \"" + url + L"\": refused " + number(content.refusedActions) + L" action elements (at most " +
        number(kMaxActions) + L"), " + number(content.refusedTextBlocks) + L" text blocks (at most " +
        number(kMaxTextBlocks) + L", " + number(kMaxPageTextChars) + L" characters in all), " +
        number(content.refusedScripts) + L" script blocks (external, not JScript, or over " +
        number(kMaxScriptBlocks) + L"); cut " + number(content.cutTexts) + L" texts to " +
        number(kMaxBlockChars) + L" characters";
    CHostModule::Report(L"%ls", text.c_str());
}

} // namespace

CPageBrowser::CPageBrowser()
{
    m_events.Attach(new CBrowserEvents(this));
    m_queueWindow.Create(this);
}

CPageBrowser::~CPageBrowser()
{
    CloseAll();
    m_events->Detach();
    m_events.Reset();
    m_queueWindow.Destroy();
    m_clientSite.Reset();
}

HRESULT STDMETHODCALLTYPE CPageBrowser::EnumConnectionPoints(IEnumConnectionPoints** ppEnum)
{
    return Veneer::AnswerNothing(ppEnum, E_NOTIMPL);
}

HRESULT STDMETHODCALLTYPE CPageBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    if (ppCP == nullptr)
        return E_POINTER;
    if (riid != DIID_DWebBrowserEvents2)
        return Veneer::AnswerNothing(ppCP, CONNECT_E_NOCONNECTION);
    return Veneer::AnswerInterface<IConnectionPoint>(m_events.Get(), ppCP);
}

// Hosts call Navigate2 from inside their own event handlers: a request only
// queues the navigation, which runs from the message loop.
HRESULT CPageBrowser::Queue(CRequest request)
{
    if (!m_queueWindow.Post(kRunNavigation))
        return E_FAIL;
    m_pending.push_back(std::move(request));
    if (m_readyState == READYSTATE_UNINITIALIZED || m_readyState == READYSTATE_COMPLETE)
        m_readyState = READYSTATE_LOADING;
    return S_OK;
}

LRESULT CPageBrowser::OnMessage(UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg == kRunNavigation)
        RunNext();
    return 0;
}

// One request at a time: a request made while one runs (or while a sink
// pumps messages inside an event) waits for it to finish.
void CPageBrowser::RunNext()
{
    if (m_bNavigating || m_pending.empty())
        return;
    const auto keepAlive = KeepAlive();
    m_bNavigating = true;
    const CRequest request = m_pending.front();
    m_pending.pop_front();
    RunRequest(request, m_generation);
    m_bNavigating = false;
    if (!m_pending.empty())
        m_queueWindow.Post(kRunNavigation);
}

// BeforeNavigate2 (a cancel ends it), the page loaded (or NavigateError),
// NavigateComplete2, the host's GetHostInfo, the page's scripts, and
// DocumentComplete last. Stop or Close from inside any event ends it.
void CPageBrowser::RunRequest(const CRequest& request, unsigned generation)
{
    const bool cancel =
        m_events->BeforeNavigate2(Self(), request.url, request.flags, request.frame, request.headers);
    if (cancel || generation != m_generation)
        return;
    std::wstring problem;
    LONG status = S_OK;
    if (!LoadContent(request.url, problem, status))
    {
        CHostModule::Report(L"navigation to \"%ls\" failed: %ls (status 0x%08lX)", request.url.c_str(),
                            problem.c_str(), static_cast<unsigned long>(status));
        m_events->NavigateError(Self(), request.url, request.frame, status);
        m_readyState = READYSTATE_COMPLETE;
        return;
    }
    ShowContent(request.url);
    RecordHistory(request);
    m_events->NavigateComplete2(Self(), request.url);
    if (generation != m_generation)
        return;
    AskHostInfo();
    RunPageScripts(generation);
    if (generation != m_generation || !m_document)
        return;
    m_document->SetComplete();
    m_readyState = READYSTATE_COMPLETE;
    m_events->DocumentComplete(Self(), request.url);
}

bool CPageBrowser::LoadContent(const std::wstring& url, std::wstring& problem, LONG& status)
{
    std::wstring text;
    status = CPageSource::Load(url, text, problem);
    if (status != S_OK)
        return false;
    auto content = std::make_shared<CPageContent>(CPageParser::Parse(text));
    ReportLimits(url, *content);
    m_content = content;
    return true;
}

// A new document replaces the old one, which lets its handler, its
// window.external and its scripts go.
void CPageBrowser::ShowContent(const std::wstring& url)
{
    TearDownDocument();
    m_document.Attach(new CPageDocument(url, m_content->title));
    m_location = url;
    m_readyState = READYSTATE_INTERACTIVE;
    m_hostFlags = 0;
    ApplyContent();
}

void CPageBrowser::ApplyContent()
{
    const bool border = (m_hostFlags & DOCHOSTUIFLAG_NO3DBORDER) == 0;
    m_drawCanvas.SetContent(m_content);
    m_drawCanvas.SetBorder(border);
    if (!m_view)
        return;
    m_view->Canvas().SetContent(m_content);
    m_view->Canvas().SetBorder(border);
    m_view->Refresh();
}

void CPageBrowser::AskHostInfo()
{
    const Veneer::CComPtrHolder<IDocHostUIHandler> handler = UIHandler();
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    if (handler && SUCCEEDED(handler->GetHostInfo(&info)))
        m_hostFlags = info.dwFlags;
    if (info.pchHostCss != nullptr)
        CoTaskMemFree(info.pchHostCss);
    if (info.pchHostNS != nullptr)
        CoTaskMemFree(info.pchHostNS);
    ApplyContent();
}

// The blocks in page order and then the body's onload code share one time
// budget; a stopped script ends the page's scripts.
void CPageBrowser::RunPageScripts(unsigned generation)
{
    if (!m_content || (m_content->scripts.empty() && m_content->onload.empty()))
        return;
    const std::shared_ptr<const CPageContent> content = m_content;
    DWORD budget = kScriptTimeLimitMs;
    for (const CPageScriptBlock& block : content->scripts)
    {
        if (!RunScript(block.code, block.line, budget) || generation != m_generation)
            return;
    }
    if (!content->onload.empty())
        RunScript(content->onload, 0, budget);
}

// False when the page's scripts are over (stopped, or told to stop).
bool CPageBrowser::RunScript(const std::wstring& code, unsigned long line, DWORD& budgetMs)
{
    if (!m_script)
    {
        m_script = std::make_shared<CPageScript>(static_cast<IScriptChannelOwner*>(this));
        m_script->Start();
    }
    // The page may be replaced or closed while its script runs; the script
    // object stays alive until its Run returns.
    const std::shared_ptr<CPageScript> script = m_script;
    switch (script->Run(code, line, budgetMs))
    {
    case CPageScript::Outcome::TimedOut:
        ReportTimeout(line);
        return false;
    case CPageScript::Outcome::Busy:
        CHostModule::Report(L"a script of the page is still running; the click is ignored");
        return true;
    case CPageScript::Outcome::Unavailable:
        return false;
    case CPageScript::Outcome::Done:
    case CPageScript::Outcome::Failed:
        break;
    }
    return !script->IsStopped();
}

void CPageBrowser::ReportTimeout(unsigned long line)
{
    CScriptErrorInfo error;
    error.line = static_cast<long>(line) + 1;
    error.character = 1;
    error.code = E_ABORT;
    error.message = L"The page's script ran longer than " + std::to_wstring(kScriptTimeLimitMs) +
                    L" ms and was stopped; the page runs no more script.";
    OnScriptError(error);
}

void CPageBrowser::RecordHistory(const CRequest& request)
{
    if (request.historyStep != 0)
    {
        m_historyPos = static_cast<size_t>(static_cast<long>(m_historyPos) + request.historyStep);
        return;
    }
    if (!m_history.empty())
        m_history.resize(m_historyPos + 1);
    m_history.push_back(request.url);
    m_historyPos = m_history.size() - 1;
}

// Refresh reloads the page into the same document, with its handler, and
// runs its scripts again; like the real browser it fires no navigation
// events.
void CPageBrowser::ReloadCurrent()
{
    if (!m_document || m_bNavigating)
        return;
    std::wstring problem;
    LONG status = S_OK;
    if (!LoadContent(m_location, problem, status))
    {
        CHostModule::Report(L"refresh of \"%ls\" failed: %ls", m_location.c_str(), problem.c_str());
        return;
    }
    if (m_script)
        m_script->Close();
    m_script.reset();
    ApplyContent();
    const auto keepAlive = KeepAlive();
    m_bNavigating = true;
    RunPageScripts(m_generation);
    m_bNavigating = false;
}

void CPageBrowser::TearDownDocument()
{
    if (m_script)
        m_script->Close();
    m_script.reset();
    m_external.Reset();
    m_bExternalAsked = false;
    const Veneer::CComPtrHolder<CPageDocument> document = std::move(m_document);
    if (document)
        document->Detach();
}

// The handler the container installed on the document, else its client
// site's, as the real browser falls back to.
Veneer::CComPtrHolder<IDocHostUIHandler> CPageBrowser::UIHandler() const
{
    if (m_document && m_document->UIHandler() != nullptr)
        return Veneer::CComPtrHolder<IDocHostUIHandler>(m_document->UIHandler());
    Veneer::CComPtrHolder<IDocHostUIHandler> handler;
    m_clientSite.QueryTo(IID_IDocHostUIHandler, handler);
    return handler;
}

// window.external: asked of the handler once per document, when the page
// first uses it.
HRESULT CPageBrowser::GetExternal(IDispatch** ppDispatch)
{
    if (!m_bExternalAsked)
    {
        m_bExternalAsked = true;
        const Veneer::CComPtrHolder<IDocHostUIHandler> handler = UIHandler();
        if (handler && FAILED(handler->GetExternal(m_external.Out())))
            m_external.Reset();
    }
    return Veneer::AnswerInterface(m_external.Get(), ppDispatch, S_FALSE);
}

void CPageBrowser::OnWindowClose()
{
    const bool cancelled = m_events->WindowClosing();
    CHostModule::Report(L"the page called window.close(); the container %ls",
                        cancelled ? L"cancelled it" : L"was told");
}

// The error goes to the UI handler's command target (OLECMDID_SHOWSCRIPTERROR
// with the document in the in-variant) while the window's event object
// shows it; an answer of VARIANT_FALSE stops the page's scripts.
bool CPageBrowser::OnScriptError(const CScriptErrorInfo& error)
{
    CHostModule::Report(L"script error, line %ld, character %ld: %ls (0x%08lX)", error.line, error.character,
                        error.message.c_str(), static_cast<unsigned long>(error.code));
    if (!m_document)
        return true;
    Veneer::CComPtrHolder<IOleCommandTarget> target;
    const Veneer::CComPtrHolder<IDocHostUIHandler> handler = UIHandler();
    if (FAILED(handler.QueryTo(IID_IOleCommandTarget, target)))
    {
        CHostModule::Report(L"the host has no command target for script errors; no dialog is shown");
        return true;
    }
    // Held for the report: the container may navigate or close meanwhile.
    const Veneer::CComPtrHolder<CPageDocument> document = m_document;
    const Veneer::CComPtrHolder<CPageWindow> window(document->Window());
    Veneer::CComPtrHolder<IHTMLEventObj> event;
    event.Attach(new CScriptErrorEvent(error, document->Url()));
    window->SetCurrentEvent(event.Get());

    // The document goes in as it is, without a reference of the variant's.
    VARIANT in;
    VariantInit(&in);
    V_VT(&in) = VT_UNKNOWN;
    V_UNKNOWN(&in) = static_cast<IHTMLDocument2*>(document.Get());
    Veneer::CScopedVariant out;
    const HRESULT hr = target->Exec(&kCGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR,
                                    OLECMDEXECOPT_DODEFAULT, &in, out.Get());
    window->SetCurrentEvent(nullptr);
    return FAILED(hr) || V_VT(&out.Value()) != VT_BOOL || V_BOOL(&out.Value()) != VARIANT_FALSE;
}

// A click runs the element's onclick code, then its href: "javascript:"
// code runs, any other address is navigated to.
void CPageBrowser::OnActionClicked(int index)
{
    const CPageItem* pItem = m_view ? m_view->Canvas().Action(index) : nullptr;
    if (pItem == nullptr)
        return;
    const std::wstring onclick = pItem->onclick;
    const std::wstring href = pItem->href;
    const auto keepAlive = KeepAlive();
    DWORD budget = kScriptTimeLimitMs;
    if (!onclick.empty())
        RunScript(onclick, 0, budget);
    if (_wcsnicmp(href.c_str(), kJavaScriptScheme, kJavaScriptSchemeLength) == 0)
    {
        budget = kScriptTimeLimitMs;
        RunScript(href.substr(kJavaScriptSchemeLength), 0, budget);
    }
    else if (!href.empty() && href[0] != L'#')
    {
        CRequest request;
        request.url = href;
        Queue(request);
    }
}

// The UI handler decides first; unless it answers S_OK the host shows its
// own menu, whose one command reloads the page.
void CPageBrowser::OnContextMenu(POINT ptScreen)
{
    const Veneer::CComPtrHolder<IDocHostUIHandler> handler = UIHandler();
    const Veneer::CComPtrHolder<IDispatch> document(m_document.Get());
    if (handler && handler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &ptScreen, nullptr, document.Get()) == S_OK)
    {
        CHostModule::Report(L"context menu: shown by the container");
        return;
    }
    if (!m_view)
        return;
    HMENU hMenu = CreatePopupMenu();
    if (hMenu == nullptr)
        return;
    AppendMenuW(hMenu, MF_STRING, kMenuRefresh, L"Refresh");
    CHostModule::Report(L"context menu: the page host's own");
    const auto keepAlive = KeepAlive();
    const UINT command =
        static_cast<UINT>(TrackPopupMenuEx(hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, ptScreen.x,
                                           ptScreen.y, m_view->GetHWND(), nullptr));
    DestroyMenu(hMenu);
    if (command == kMenuRefresh)
        ReloadCurrent();
}

} // namespace PageHost
