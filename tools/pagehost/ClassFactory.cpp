#include "tools/pagehost/ClassFactory.h"

#include "tools/pagehost/PageBrowser.h"

namespace PageHost
{

HRESULT STDMETHODCALLTYPE CClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    if (pUnkOuter != nullptr)
        return Veneer::AnswerNothing(ppvObject, CLASS_E_NOAGGREGATION);
    return CPageBrowser::Create(riid, ppvObject);
}

HRESULT STDMETHODCALLTYPE CClassFactory::LockServer(BOOL fLock)
{
    CHostModule::LockServer(fLock != FALSE);
    return S_OK;
}

} // namespace PageHost
