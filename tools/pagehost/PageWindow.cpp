#include "tools/pagehost/PageWindow.h"

#include "tools/pagehost/ComAnswers.h"

namespace PageHost
{

CPageWindow::~CPageWindow()
{
    SetCurrentEvent(nullptr);
}

HRESULT STDMETHODCALLTYPE CPageWindow::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IHTMLFramesCollection2 &&
        riid != IID_IHTMLWindow2)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IHTMLWindow2*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CPageWindow::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CPageWindow::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT STDMETHODCALLTYPE CPageWindow::GetTypeInfoCount(UINT* pctinfo)
{
    return AnswerNoTypeInfoCount(pctinfo);
}

HRESULT STDMETHODCALLTYPE CPageWindow::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    return AnswerNoTypeInfo(ppTInfo);
}

HRESULT STDMETHODCALLTYPE CPageWindow::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE CPageWindow::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                              UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_event(IHTMLEventObj** p)
{
    return AnswerObject(m_pEvent, p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_document(IHTMLDocument2** p)
{
    return AnswerObject(m_pDocument, p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_parent(IHTMLWindow2** p)
{
    return AnswerObject<IHTMLWindow2>(this, p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_self(IHTMLWindow2** p)
{
    return AnswerObject<IHTMLWindow2>(this, p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_top(IHTMLWindow2** p)
{
    return AnswerObject<IHTMLWindow2>(this, p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_window(IHTMLWindow2** p)
{
    return AnswerObject<IHTMLWindow2>(this, p);
}

void CPageWindow::SetCurrentEvent(IHTMLEventObj* pEvent)
{
    if (pEvent != nullptr)
        pEvent->AddRef();
    if (m_pEvent != nullptr)
        m_pEvent->Release();
    m_pEvent = pEvent;
}

} // namespace PageHost
