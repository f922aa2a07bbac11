#pragma once

#include "tools/pagehost/Guids.h"
#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/InterfaceStubs.h"

#include <mshtmhst.h>
#include <mshtml.h>

#include <string>

namespace PageHost
{

class CPageWindow;

// The document of one navigation. Its container installs its UI handler
// here (ICustomDoc::SetUIHandler, as it does after each NavigateComplete2)
// and reaches the page's window through parentWindow; it also answers its
// title, address and ready state.
class CPageDocument final
    : public Veneer::CComObject<CPageDocument, Veneer::CPlainRefCount, CHtmlDocumentStubs, ICustomDoc>,
      private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {
        Entry<IHTMLDocument2>(IID_IHTMLDocument2), Entry<IHTMLDocument2>(IID_IHTMLDocument),
        Entry<IHTMLDocument2>(IID_IDispatch), Entry<ICustomDoc>(kIID_ICustomDoc)};

    CPageDocument(const std::wstring& url, const std::wstring& title);

    // ICustomDoc: a null handler removes the one installed.
    HRESULT STDMETHODCALLTYPE SetUIHandler(IDocHostUIHandler* pUIHandler) override;

    HRESULT STDMETHODCALLTYPE get_parentWindow(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_URL(BSTR* p) override;
    // "loading" until the page's scripts have run, then "complete".
    HRESULT STDMETHODCALLTYPE get_readyState(BSTR* p) override;

    // The handler installed, or null; no reference is added.
    IDocHostUIHandler* UIHandler() const { return m_uiHandler.Get(); }
    CPageWindow* Window() const { return m_pWindow; }
    const std::wstring& Url() const { return m_url; }
    void SetComplete() { m_bComplete = true; }
    // The navigation is over: the handler and the window are let go.
    void Detach();

  private:
    ~CPageDocument() override;

    std::wstring m_url;
    std::wstring m_title;
    Veneer::CComPtrHolder<IDocHostUIHandler> m_uiHandler;
    CPageWindow* m_pWindow;
    bool m_bComplete = false;
};

} // namespace PageHost
