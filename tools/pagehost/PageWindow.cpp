#include "tools/pagehost/PageWindow.h"

namespace PageHost
{

HRESULT STDMETHODCALLTYPE CPageWindow::get_event(IHTMLEventObj** p)
{
    return Veneer::AnswerInterface(m_event.Get(), p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_document(IHTMLDocument2** p)
{
    return Veneer::AnswerInterface(m_pDocument, p);
}

// A page without frames is its own parent, top and self.
HRESULT STDMETHODCALLTYPE CPageWindow::get_parent(IHTMLWindow2** p)
{
    return Veneer::AnswerInterface<IHTMLWindow2>(this, p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_self(IHTMLWindow2** p)
{
    return get_parent(p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_top(IHTMLWindow2** p)
{
    return get_parent(p);
}

HRESULT STDMETHODCALLTYPE CPageWindow::get_window(IHTMLWindow2** p)
{
    return get_parent(p);
}

} // namespace PageHost
