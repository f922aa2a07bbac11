#pragma once

#include "tools/pagehost/HostModule.h"

#include <unknwn.h>

namespace PageHost
{

// Makes the page host's browser objects (CLSID_WebBrowser).
class CClassFactory final : public IClassFactory, private CLiveObject
{
  public:
    CClassFactory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

  private:
    ~CClassFactory() = default;

    CRefCount m_refs;
};

} // namespace PageHost
