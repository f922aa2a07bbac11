#include "tools/pagehost/PageDocument.h"

#include "tools/pagehost/ComAnswers.h"
#include "tools/pagehost/Guids.h"
#include "tools/pagehost/PageWindow.h"

namespace PageHost
{

CPageDocument::CPageDocument(const std::wstring& url, const std::wstring& title)
    : m_url(url), m_title(title), m_pWindow(new CPageWindow())
{
    m_pWindow->SetDocument(this);
}

CPageDocument::~CPageDocument()
{
    Detach();
}

void CPageDocument::Detach()
{
    SetUIHandler(nullptr);
    if (m_pWindow == nullptr)
        return;
    m_pWindow->SetDocument(nullptr);
    m_pWindow->SetCurrentEvent(nullptr);
    m_pWindow->Release();
    m_pWindow = nullptr;
}

HRESULT STDMETHODCALLTYPE CPageDocument::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLDocument ||
        riid == IID_IHTMLDocument2)
        *ppvObject = static_cast<IHTMLDocument2*>(this);
    else if (riid == kIID_ICustomDoc)
        *ppvObject = static_cast<ICustomDoc*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CPageDocument::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CPageDocument::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT STDMETHODCALLTYPE CPageDocument::GetTypeInfoCount(UINT* pctinfo)
{
    return AnswerNoTypeInfoCount(pctinfo);
}

HRESULT STDMETHODCALLTYPE CPageDocument::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    return AnswerNoTypeInfo(ppTInfo);
}

HRESULT STDMETHODCALLTYPE CPageDocument::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE CPageDocument::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                                UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE CPageDocument::SetUIHandler(IDocHostUIHandler* pUIHandler)
{
    if (pUIHandler != nullptr)
        pUIHandler->AddRef();
    if (m_pUIHandler != nullptr)
        m_pUIHandler->Release();
    m_pUIHandler = pUIHandler;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_parentWindow(IHTMLWindow2** p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = m_pWindow;
    if (m_pWindow == nullptr)
        return E_FAIL;
    m_pWindow->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_title(BSTR* p)
{
    return AnswerText(m_title, p);
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_URL(BSTR* p)
{
    return AnswerText(m_url, p);
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_readyState(BSTR* p)
{
    return AnswerText(m_bComplete ? L"complete" : L"loading", p);
}

} // namespace PageHost
