#pragma once

#include "tools/pagehost/HostModule.h"

#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

namespace PageHost
{

// The browser's connection point for DWebBrowserEvents2. Sinks are called
// through IDispatch::Invoke with the event's DISPID and its arguments
// reversed (rgvarg[0] is the last), in the types the real browser uses.
class CBrowserEvents final : public IConnectionPoint, private CLiveObject
{
  public:
    explicit CBrowserEvents(IConnectionPointContainer* pContainer);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
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
    ~CBrowserEvents();
    void Fire(DISPID id, VARIANT* pArgs, UINT count);

    CRefCount m_refs;
    IConnectionPointContainer* m_pContainer; // not held: it holds this
    std::vector<std::pair<DWORD, IDispatch*>> m_sinks;
    DWORD m_nextCookie = 1;
};

} // namespace PageHost
