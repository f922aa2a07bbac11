#include "tools/pagehost/PageDocument.h"

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

HRESULT STDMETHODCALLTYPE CPageDocument::SetUIHandler(IDocHostUIHandler* pUIHandler)
{
    m_uiHandler = Veneer::CComPtrHolder<IDocHostUIHandler>(pUIHandler);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_parentWindow(IHTMLWindow2** p)
{
    return Veneer::AnswerInterface<IHTMLWindow2>(m_pWindow, p, E_FAIL);
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_title(BSTR* p)
{
    return Veneer::AnswerText(m_title, p);
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_URL(BSTR* p)
{
    return Veneer::AnswerText(m_url, p);
}

HRESULT STDMETHODCALLTYPE CPageDocument::get_readyState(BSTR* p)
{
    return Veneer::AnswerText(m_bComplete ? L"complete" : L"loading", p);
}

} // namespace PageHost
