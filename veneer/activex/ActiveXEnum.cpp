#include "veneer/activex/ActiveXEnum.h"

namespace Veneer
{

CActiveXEnum::CActiveXEnum(IUnknown* pUnk) : m_dwRef(1), m_iPos(0), m_pUnk(pUnk)
{
    if (m_pUnk != nullptr)
        m_pUnk->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_pUnk != nullptr)
        m_pUnk->Release();
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IEnumUnknown)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    const LONG lRef = --m_dwRef;
    if (lRef == 0)
        delete this;
    return static_cast<ULONG>(lRef);
}

// Whatever count is asked for, there is only the one control to give.
STDMETHODIMP CActiveXEnum::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched)
{
    if (pceltFetched != nullptr)
        *pceltFetched = 0;
    if (celt == 0)
        return S_OK;
    if (rgelt == nullptr)
        return E_POINTER;
    if (m_iPos != 0 || m_pUnk == nullptr)
        return S_FALSE;
    ++m_iPos;
    rgelt[0] = m_pUnk;
    m_pUnk->AddRef();
    if (pceltFetched != nullptr)
        *pceltFetched = 1;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG celt)
{
    m_iPos += celt;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** ppenum)
{
    if (ppenum != nullptr)
        *ppenum = nullptr;
    return E_NOTIMPL;
}

} // namespace Veneer
