#include "tools/pagehost/ClassFactory.h"

#include "tools/pagehost/PageBrowser.h"

namespace PageHost
{

HRESULT STDMETHODCALLTYPE CClassFactory::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CClassFactory::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CClassFactory::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT STDMETHODCALLTYPE CClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    CPageBrowser* pBrowser = new CPageBrowser();
    const HRESULT hr = pBrowser->QueryInterface(riid, ppvObject);
    pBrowser->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE CClassFactory::LockServer(BOOL fLock)
{
    CHostModule::LockServer(fLock != FALSE);
    return S_OK;
}

} // namespace PageHost
