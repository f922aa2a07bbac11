#include "tools/pagehost/ScriptEngine.h"

#include "tools/pagehost/ComAnswers.h"

namespace PageHost
{

namespace
{

constexpr DISPID kIdExternal = 1;
constexpr DISPID kIdClose = 2;
constexpr DISPID kIdAlert = 3;
// window.name for a global of the page: this base plus its place in the
// list of such names looked up so far.
constexpr DISPID kIdPageBase = 1000;
constexpr wchar_t kWindowItem[] = L"window";

void FreeExceptionStrings(EXCEPINFO& exception)
{
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    exception = EXCEPINFO{};
}

template <typename T> HRESULT AnswerInterface(T* pObject, REFIID riid, REFIID own, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != own)
        return E_NOINTERFACE;
    *ppvObject = pObject;
    pObject->AddRef();
    return S_OK;
}

} // namespace

CScriptSite::CScriptSite(std::shared_ptr<CScriptChannel> channel, CScriptGlobal* pGlobal)
    : m_channel(std::move(channel)), m_pGlobal(pGlobal)
{
    m_pGlobal->AddRef();
}

CScriptSite::~CScriptSite()
{
    m_pGlobal->Release();
}

HRESULT STDMETHODCALLTYPE CScriptSite::QueryInterface(REFIID riid, void** ppvObject)
{
    return AnswerInterface(static_cast<IActiveScriptSite*>(this), riid, IID_IActiveScriptSite, ppvObject);
}

ULONG STDMETHODCALLTYPE CScriptSite::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CScriptSite::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs == 0)
        delete this;
    return refs;
}

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
    *ppiunkItem = static_cast<IUnknown*>(m_pGlobal);
    m_pGlobal->AddRef();
    return S_OK;
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

    CScriptCall call;
    call.kind = CScriptCall::Kind::ReportError;
    call.error = &error;
    m_bStopRequested = m_channel->Call(call) == S_FALSE;
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

HRESULT STDMETHODCALLTYPE CScriptGlobal::QueryInterface(REFIID riid, void** ppvObject)
{
    return AnswerInterface(static_cast<IDispatch*>(this), riid, IID_IDispatch, ppvObject);
}

ULONG STDMETHODCALLTYPE CScriptGlobal::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CScriptGlobal::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT STDMETHODCALLTYPE CScriptGlobal::GetTypeInfoCount(UINT* pctinfo)
{
    return AnswerNoTypeInfoCount(pctinfo);
}

HRESULT STDMETHODCALLTYPE CScriptGlobal::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    return AnswerNoTypeInfo(ppTInfo);
}

HRESULT STDMETHODCALLTYPE CScriptGlobal::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                       DISPID* rgDispId)
{
    if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0 || rgszNames[0] == nullptr)
        return E_INVALIDARG;
    static const struct
    {
        const wchar_t* name;
        DISPID id;
    } kMembers[] = {{L"external", kIdExternal}, {L"close", kIdClose}, {L"alert", kIdAlert}};
    for (const auto& member : kMembers)
    {
        if (wcscmp(rgszNames[0], member.name) == 0)
        {
            rgDispId[0] = member.id;
            return S_OK;
        }
    }
    return FindPageGlobal(rgszNames[0], lcid, rgDispId);
}

// The engine asks this item for every name it does not know itself, and
// answering a page global means asking the engine: the question is not
// passed back while it is being asked, or the two would ask each other
// without end.
HRESULT CScriptGlobal::FindPageGlobal(LPOLESTR pstrName, LCID lcid, DISPID* pId)
{
    if (m_bLookingUp || m_pEngine == nullptr)
        return DISP_E_UNKNOWNNAME;
    Microsoft::WRL::ComPtr<IDispatch> page;
    if (FAILED(m_pEngine->GetScriptDispatch(nullptr, &page)) || !page)
        return DISP_E_UNKNOWNNAME;
    m_bLookingUp = true;
    DISPID pageId = DISPID_UNKNOWN;
    const HRESULT hr = page->GetIDsOfNames(IID_NULL, &pstrName, 1, lcid, &pageId);
    m_bLookingUp = false;
    if (FAILED(hr))
        return DISP_E_UNKNOWNNAME;
    for (size_t i = 0; i < m_pageIds.size(); ++i)
    {
        if (m_pageIds[i] == pageId)
        {
            *pId = kIdPageBase + static_cast<DISPID>(i);
            return S_OK;
        }
    }
    m_pageIds.push_back(pageId);
    *pId = kIdPageBase + static_cast<DISPID>(m_pageIds.size() - 1);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CScriptGlobal::Invoke(DISPID dispIdMember, REFIID, LCID lcid, WORD wFlags,
                                                DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                                EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    VARIANT ignored;
    VariantInit(&ignored);
    VARIANT* pResult = pVarResult != nullptr ? pVarResult : &ignored;
    CScriptCall call;
    call.result = pResult;
    switch (dispIdMember)
    {
    case kIdExternal:
        call.kind = CScriptCall::Kind::GetExternal;
        m_channel->Call(call);
        // A page without window.external sees undefined, as the real one
        // does when its host gives none.
        if (pResult == &ignored)
            VariantClear(&ignored);
        return S_OK;
    case kIdClose:
        call.kind = CScriptCall::Kind::CloseWindow;
        return m_channel->Call(call);
    case kIdAlert:
        return S_OK;
    default:
        break;
    }
    const size_t index = static_cast<size_t>(dispIdMember - kIdPageBase);
    if (dispIdMember < kIdPageBase || index >= m_pageIds.size() || m_pEngine == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    Microsoft::WRL::ComPtr<IDispatch> page;
    if (FAILED(m_pEngine->GetScriptDispatch(nullptr, &page)) || !page)
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
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript, &m_engine);
    if (SUCCEEDED(hr))
        hr = m_engine.As(&m_parse);
    if (FAILED(hr))
        return hr;
    m_pGlobal = new CScriptGlobal(m_channel);
    m_pSite = new CScriptSite(m_channel, m_pGlobal);
    m_pGlobal->SetEngine(m_engine.Get());
    hr = m_engine->SetScriptSite(m_pSite);
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
    if (m_pGlobal != nullptr)
        m_pGlobal->SetEngine(nullptr);
    m_parse.Reset();
    m_engine.Reset();
    if (m_pSite != nullptr)
        m_pSite->Release();
    if (m_pGlobal != nullptr)
        m_pGlobal->Release();
    m_pSite = nullptr;
    m_pGlobal = nullptr;
}

void CScriptEngine::Abandon()
{
    // Nothing of the engine may run on another thread, not even its
    // release: its objects stay where they are.
    m_parse.Detach();
    m_engine.Detach();
    if (m_pSite != nullptr)
        m_pSite->Abandon();
    if (m_pGlobal != nullptr)
        m_pGlobal->Abandon();
    m_pSite = nullptr;
    m_pGlobal = nullptr;
}

} // namespace PageHost
