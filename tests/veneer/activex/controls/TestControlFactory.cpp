#include "TestControlFactory.h"

#include <new>

namespace TestControls
{

CTestControlFactory::CTestControlFactory(const CLSID& clsid, CTestControl::EKind eKind,
                                         TTestControlState* pState)
    : m_clsid(clsid), m_eKind(eKind), m_pState(pState), m_nLocks(0)
{
}

STDMETHODIMP CTestControlFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    return S_OK;
}

STDMETHODIMP CTestControlFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    CTestControl* pControl = new (std::nothrow) CTestControl(m_eKind, m_pState);
    if (pControl == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = pControl->QueryInterface(riid, ppv);
    pControl->Release();
    return hr;
}

STDMETHODIMP CTestControlFactory::LockServer(BOOL fLock)
{
    if (fLock)
        ::InterlockedIncrement(&m_nLocks);
    else
        ::InterlockedDecrement(&m_nLocks);
    return S_OK;
}

HRESULT CTestControlFactory::GetClassObject(CTestControlFactory* pFactories, int nFactories, REFCLSID rclsid,
                                            REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    for (int i = 0; i < nFactories; i++)
    {
        if (pFactories[i].GetClsid() == rclsid)
            return pFactories[i].QueryInterface(riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CTestControlFactory::CanUnloadNow(const CTestControlFactory* pFactories, int nFactories)
{
    for (int i = 0; i < nFactories; i++)
    {
        if (pFactories[i].m_nLocks != 0 || pFactories[i].m_pState->nLiveObjects != 0)
            return S_FALSE;
    }
    return S_OK;
}

} // namespace TestControls
