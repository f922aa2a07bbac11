#pragma once

#include "tools/pagehost/HostModule.h"
#include "veneer/core/ComObject.h"

#include <unknwn.h>

namespace PageHost
{

// Makes the page host's browser objects (CLSID_WebBrowser). COM may hand a
// class object to more than one thread, so it counts atomically.
class CClassFactory final : public Veneer::CComObject<CClassFactory, Veneer::CAtomicRefCount, IClassFactory>,
                            private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IClassFactory>(IID_IClassFactory)};

    CClassFactory() = default;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

  private:
    ~CClassFactory() override = default;
};

} // namespace PageHost
