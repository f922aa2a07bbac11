#pragma once

#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/InterfaceStubs.h"

#include <mshtml.h>

namespace PageHost
{

// The page's window as its container sees it (IHTMLDocument2's
// parentWindow): its event object while a script error is reported, its
// document, and itself as parent, top, self and window. The page's script
// reaches its own "window" item, which lives with the script engine.
class CPageWindow final : public Veneer::CComObject<CPageWindow, Veneer::CPlainRefCount, CHtmlWindowStubs>,
                          private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IHTMLWindow2>(IID_IHTMLWindow2),
                                             Entry<IHTMLWindow2>(IID_IHTMLFramesCollection2),
                                             Entry<IHTMLWindow2>(IID_IDispatch)};

    CPageWindow() = default;

    // The current event object: null (with S_OK) outside a script-error report.
    HRESULT STDMETHODCALLTYPE get_event(IHTMLEventObj** p) override;
    HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** p) override;
    HRESULT STDMETHODCALLTYPE get_parent(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_self(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_top(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_window(IHTMLWindow2** p) override;

    // The document does not hold a reference to itself through here; it
    // clears this when it goes.
    void SetDocument(IHTMLDocument2* pDocument) { m_pDocument = pDocument; }
    // Holds the event (with a reference) or clears it.
    void SetCurrentEvent(IHTMLEventObj* pEvent) { m_event = Veneer::CComPtrHolder<IHTMLEventObj>(pEvent); }

  private:
    ~CPageWindow() override = default;

    IHTMLDocument2* m_pDocument = nullptr;
    Veneer::CComPtrHolder<IHTMLEventObj> m_event;
};

} // namespace PageHost
