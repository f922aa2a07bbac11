#include "veneer/core/Delegate.h"

namespace Veneer
{

namespace
{

// Function pointers are compared through their address as a plain pointer.
void* AddressOf(CDelegateStatic::Fn pFn)
{
    return reinterpret_cast<void*>(pFn);
}

} // namespace

CDelegateBase::CDelegateBase(void* pObject, void* pFn) : m_pObject(pObject), m_pFn(pFn) {}

CDelegateBase::CDelegateBase(const CDelegateBase& rhs) : m_pObject(rhs.m_pObject), m_pFn(rhs.m_pFn) {}

CDelegateBase::~CDelegateBase() = default;

bool CDelegateBase::Equals(const CDelegateBase& rhs) const
{
    return m_pObject == rhs.m_pObject && m_pFn == rhs.m_pFn;
}

bool CDelegateBase::operator()(void* param)
{
    return Invoke(param);
}

void* CDelegateBase::GetFn() const
{
    return m_pFn;
}

void* CDelegateBase::GetObjectW() const
{
    return m_pObject;
}

CDelegateStatic::CDelegateStatic(Fn pFn) : CDelegateBase(nullptr, AddressOf(pFn)), m_pFn(pFn) {}

CDelegateStatic::CDelegateStatic(const CDelegateStatic& rhs) : CDelegateBase(rhs), m_pFn(rhs.m_pFn) {}

CDelegateBase* CDelegateStatic::Copy() const
{
    return new CDelegateStatic(*this);
}

bool CDelegateStatic::Invoke(void* param)
{
    return m_pFn(param);
}

CEventSource::~CEventSource()
{
    if (m_pbDestroyed != nullptr)
        *m_pbDestroyed = true;
    for (int i = 0; i < m_aDelegates.GetSize(); i++)
        delete static_cast<CDelegateBase*>(m_aDelegates[i]);
}

CEventSource::operator bool() const
{
    return m_aDelegates.GetSize() > 0;
}

void CEventSource::operator+=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++)
    {
        const CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (pObject != nullptr && pObject->Equals(d))
            return;
    }
    m_aDelegates.Add(d.Copy());
}

void CEventSource::operator+=(FnType pFn)
{
    (*this) += CDelegateStatic(pFn);
}

void CEventSource::operator-=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); i++)
    {
        CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (pObject != nullptr && pObject->Equals(d))
        {
            delete pObject;
            m_aDelegates.Remove(i);
            return;
        }
    }
}

void CEventSource::operator-=(FnType pFn)
{
    (*this) -= CDelegateStatic(pFn);
}

// A delegate may destroy the source with its holder; then the call ends
// without touching the source again, and tells the calls it is nested in.
bool CEventSource::operator()(void* param)
{
    bool bDestroyed = false;
    bool* pbOuter = m_pbDestroyed;
    m_pbDestroyed = &bDestroyed;
    bool bGoOn = true;
    for (int i = 0; bGoOn && i < m_aDelegates.GetSize(); i++)
    {
        CDelegateBase* pObject = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (pObject != nullptr)
            bGoOn = (*pObject)(param);
        if (bDestroyed)
        {
            if (pbOuter != nullptr)
                *pbOuter = true;
            return bGoOn;
        }
    }
    m_pbDestroyed = pbOuter;
    return bGoOn;
}

} // namespace Veneer
