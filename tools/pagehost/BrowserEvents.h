#pragma once

#include "tools/pagehost/HostModule.h"
#include "veneer/core/ComObject.h"

#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

namespace PageHost
{

// The browser's connection point for DWebBrowserEvents2. Sinks are called
// through IDispatch::Invoke with the event's DISPID and its arguments
// reversed (rgvarg[0] is the last), in the types the real browser uses.
class CBrowserEvents final
    : public Veneer::CComObject<CBrowserEvents, Veneer::CPlainRefCount, IConnectionPoint>,
      private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IConnectionPoint>(IID_IConnectionPoint)};

    explicit CBrowserEvents(IConnectionPointContainer* pContainer);

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    // The sink is asked for DWebBrowserEvents2, else for IDispatch.
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override;

    // The browser goes: no container any more, every sink released.
    void Detach();

    // Each answers the cancel flag a sink set, where the event has one.
    bool BeforeNavigate2(IDispatch* pBrowser, const std::wstring& url, long flags, const std::wstring& frame,
                         const std::wstring& headers);
    void NavigateComplete2(IDispatch* pBrowser, const std::wstring& url);
    void DocumentComplete(IDispatch* pBrowser, const std::wstring& url);
    bool NavigateError(IDispatch* pBrowser, const std::wstring& url, const std::wstring& frame, long status);
    bool WindowClosing();

  private:
    typedef std::vector<std::pair<DWORD, Veneer::CComPtrHolder<IDispatch>>> CSinks;

    ~CBrowserEvents() override;
    void Fire(DISPID id, VARIANT* pArgs, UINT count);
    // An event whose arguments are the browser and the address.
    void FireAddressEvent(DISPID id, IDispatch* pBrowser, const std::wstring& url);

    IConnectionPointContainer* m_pContainer; // not held: it holds this
    CSinks m_sinks;
    DWORD m_nextCookie = 1;
};

} // namespace PageHost
