#include "tools/pagehost/ScriptEngine.h"

#include <cwchar>
#include <iterator>

namespace PageHost
{

namespace
{

// The members of "window", numbered from 1 in this order; a global of the
// page found through window.name is kIdPageBase plus its place in the list
// of such names looked up so far.
const wchar_t* const kWindowMembers[] = {L"external", L"close", L"alert"};
enum WindowMember : DISPID
{
    kIdExternal = 1,
    kIdClose,
    kIdAlert,
    kIdPageBase = 1000,
};
static_assert(std::size(kWindowMembers) == kIdAlert, "one name for each member");
constexpr wchar_t kWindowItem[] = L"window";

void FreeExceptionStrings(EXCEPINFO& exception)
{
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    exception = EXCEPINFO{};
}

} // namespace

CScriptSite::CScriptSite(std::shared_ptr<CScriptChannel> channel, CScriptGlobal* pGlobal)
    : m_channel(std::move(channel)), m_global(pGlobal)
{
}

CScriptSite::~CScriptSite() = default;

HRESULT STDMETHODCALLTYPE CScriptSite::GetLCID(LCID*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CScriptSite::GetItemInfo(LPCOLESTR pstrName, DWORD dwReturnMask,
                                                   IUnknown** ppiunkItem, ITypeInfo** ppti)
{
    if (ppti != nullptr)
        *ppti = nullptr;
    if (ppiunkItem != nullptr)
        *ppiunkItem = nullptr;
    if (pstrName == nullptr || wcscmp(pstrName, kWindowItem) != 0)
        return TYPE_E_ELEMENTNOTFOUND;
    if ((dwReturnMask & SCRIPTINFO_IUNKNOWN) == 0 || ppiunkItem == nullptr)
        return E_NOTIMPL;
    return Veneer::AnswerInterface<IUnknown>(m_global.Get(), ppiunkItem);
}

HRESULT STDMETHODCALLTYPE CScriptSite::GetDocVersionString(BSTR*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CScriptSite::OnScriptTerminate(const VARIANT*, const EXCEPINFO*)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CScriptSite::OnStateChange(SCRIPTSTATE)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CScriptSite::OnScriptError(IActiveScriptError* pscripterror)
{
    if (pscripterror == nullptr)
        return E_POINTER;
    EXCEPINFO exception{};
    pscripterror->GetExceptionInfo(&exception);
    if (exception.pfnDeferredFillIn != nullptr)
        exception.pfnDeferredFillIn(&exception);
    DWORD context = 0;
    ULONG line = 0;
    LONG character = 0;
    pscripterror->GetSourcePosition(&context, &line, &character);

    CScriptErrorInfo error;
    error.line = static_cast<long>(line) + 1;
    error.character = character + 1;
    error.code = exception.scode != 0 ? exception.scode : exception.wCode;
    error.message = exception.bstrDescription != nullptr ? exception.bstrDescription : L"script error";
    FreeExceptionStrings(exception);
    m_bStopRequested = m_channel->ReportError(error);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CScriptSite::OnEnterScript()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CScriptSite::OnLeaveScript()
{
    return S_OK;
}

CScriptGlobal::CScriptGlobal(std::shared_ptr<CScriptChannel> channel) : m_channel(std::move(channel)) {}

HRESULT STDMETHODCALLTYPE CScriptGlobal::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                       DISPID* rgDispId)
{
    const HRESULT hr =
        Veneer::FindMemberName(kWindowMembers, kIdExternal, false, rgszNames, cNames, rgDispId);
    if (hr != DISP_E_UNKNOWNNAME)
        return hr;
    return FindPageGlobal(rgszNames[0], lcid, rgDispId);
}

Veneer::CComPtrHolder<IDispatch> CScriptGlobal::PageGlobals() const
{
    Veneer::CComPtrHolder<IDispatch> page;
    if (m_pEngine == nullptr || FAILED(m_pEngine->GetScriptDispatch(nullptr, page.Out())))
        page.Reset();
    return page;
}

// The engine asks this item for every name it does not know itself, and
// answering a page global means asking the engine: the question is not
// passed back while it is being asked, or the two would ask each other
// without end.
HRESULT CScriptGlobal::FindPageGlobal(LPOLESTR pstrName, LCID lcid, DISPID* pId)
{
    if (m_bLookingUp)
        return DISP_E_UNKNOWNNAME;
    const Veneer::CComPtrHolder<IDispatch> page = PageGlobals();
    if (!page)
        return DISP_E_UNKNOWNNAME;
    m_bLookingUp = true;
    DISPID pageId = DISPID_UNKNOWN;
    const HRESULT hr = page->GetIDsOfNames(IID_NULL, &pstrName, 1, lcid, &pageId);
    m_bLookingUp = false;
    if (FAILED(hr))
        return DISP_E_UNKNOWNNAME;
    size_t index = 0;
    while (index < m_pageIds.size() && m_pageIds[index] != pageId)
        ++index;
    if (index == m_pageIds.size())
        m_pageIds.push_back(pageId);
    *pId = kIdPageBase + static_cast<DISPID>(index);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CScriptGlobal::Invoke(DISPID dispIdMember, REFIID, LCID lcid, WORD wFlags,
                                                DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                                EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    switch (dispIdMember)
    {
    case kIdExternal: {
        // A page without window.external sees undefined, as the real one
        // does when its host gives none.
        Veneer::CScopedVariant ignored;
        m_channel->GetExternal(pVarResult != nullptr ? pVarResult : ignored.Get());
        return S_OK;
    }
    case kIdClose:
        return m_channel->CloseWindow();
    case kIdAlert:
        return S_OK;
    default:
        break;
    }
    const size_t index = static_cast<size_t>(dispIdMember - kIdPageBase);
    if (dispIdMember < kIdPageBase || index >= m_pageIds.size())
        return DISP_E_MEMBERNOTFOUND;
    const Veneer::CComPtrHolder<IDispatch> page = PageGlobals();
    if (!page)
        return DISP_E_MEMBERNOTFOUND;
    return page->Invoke(m_pageIds[index], IID_NULL, lcid, wFlags, pDispParams, pVarResult, pExcepInfo,
                        puArgErr);
}

CScriptEngine::CScriptEngine(std::shared_ptr<CScriptChannel> channel) : m_channel(std::move(channel)) {}

CScriptEngine::~CScriptEngine()
{
    Close();
}

HRESULT CScriptEngine::Start()
{
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(L"JScript", &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript, m_engine.OutAsVoid());
    if (SUCCEEDED(hr))
        hr = m_engine.QueryTo(__uuidof(IActiveScriptParse), m_parse);
    if (FAILED(hr))
        return hr;
    m_global.Attach(new CScriptGlobal(m_channel));
    m_site.Attach(new CScriptSite(m_channel, m_global.Get()));
    m_global->SetEngine(m_engine.Get());
    hr = m_engine->SetScriptSite(m_site.Get());
    if (SUCCEEDED(hr))
        hr = m_parse->InitNew();
    if (SUCCEEDED(hr))
        hr = m_engine->AddNamedItem(kWindowItem, SCRIPTITEM_ISVISIBLE | SCRIPTITEM_GLOBALMEMBERS);
    // Started, each script text runs as soon as it is parsed.
    if (SUCCEEDED(hr))
        hr = m_engine->SetScriptState(SCRIPTSTATE_STARTED);
    return hr;
}

HRESULT CScriptEngine::Run(const std::wstring& code, unsigned long line)
{
    if (!m_parse)
        return E_UNEXPECTED;
    EXCEPINFO exception{};
    const HRESULT hr = m_parse->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, line,
                                                SCRIPTTEXT_ISVISIBLE, nullptr, &exception);
    FreeExceptionStrings(exception);
    return hr;
}

void CScriptEngine::Close()
{
    if (m_engine)
        m_engine->Close();
    if (m_global)
        m_global->SetEngine(nullptr);
    m_parse.Reset();
    m_engine.Reset();
    m_site.Reset();
    m_global.Reset();
}

void CScriptEngine::Abandon()
{
    // Nothing of the engine may run on another thread, not even its
    // release: its objects stay where they are.
    m_parse.Detach();
    m_engine.Detach();
    if (m_site)
        m_site.Detach()->Abandon();
    if (m_global)
        m_global.Detach()->Abandon();
}

} // namespace PageHost
