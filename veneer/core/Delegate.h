#pragma once

#include "veneer/core/StdPtrArray.h"
#include "veneer/core/VeneerDefs.h"

#include <cstring>

namespace Veneer
{

// A callback taking one untyped pointer (an event or notification record)
// and answering whether the chain of callbacks may go on.
class VENEER_API CDelegateBase
{
  public:
    CDelegateBase(void* pObject, void* pFn);
    CDelegateBase(const CDelegateBase& rhs);
    CDelegateBase& operator=(const CDelegateBase&) = delete;
    virtual ~CDelegateBase();
    virtual CDelegateBase* Copy() const = 0;

    bool Equals(const CDelegateBase& rhs) const;
    bool operator()(void* param);

    void* GetFn() const;
    void* GetObjectW() const;

  protected:
    virtual bool Invoke(void* param) = 0;

  private:
    void* m_pObject;
    void* m_pFn;
};

// A free function as a delegate.
class VENEER_API CDelegateStatic : public CDelegateBase
{
  public:
    typedef bool (*Fn)(void*);

    CDelegateStatic(Fn pFn);
    CDelegateStatic(const CDelegateStatic& rhs);
    CDelegateBase* Copy() const override;

  protected:
    bool Invoke(void* param) override;

  private:
    Fn m_pFn;
};

// A member function of T bound to an object of class O.
template <class O, class T> class CDelegate : public CDelegateBase
{
  public:
    typedef bool (T::*Fn)(void*);

    CDelegate(O* pObj, Fn pFn) : CDelegateBase(pObj, IdentityOf(pFn)), m_pFn(pFn) {}
    CDelegate(const CDelegate& rhs) : CDelegateBase(rhs), m_pFn(rhs.m_pFn) {}
    CDelegateBase* Copy() const override { return new CDelegate(*this); }

  protected:
    bool Invoke(void* param) override
    {
        O* pObject = static_cast<O*>(GetObjectW());
        return (pObject->*m_pFn)(param);
    }

  private:
    // A member-function pointer does not convert to a plain pointer; its
    // first word (the code address, or the virtual slot) identifies the
    // function, which is all that equality needs.
    static void* IdentityOf(Fn pFn)
    {
        void* identity = nullptr;
        memcpy(&identity, &pFn, sizeof(identity) < sizeof(pFn) ? sizeof(identity) : sizeof(pFn));
        return identity;
    }

    Fn m_pFn;
};

inline CDelegateStatic MakeDelegate(bool (*pFn)(void*))
{
    return CDelegateStatic(pFn);
}

template <class O, class T> CDelegate<O, T> MakeDelegate(O* pObject, bool (T::*pFn)(void*))
{
    return CDelegate<O, T>(pObject, pFn);
}

// An ordered list of delegates, called in order until one answers false.
// The source owns copies of the delegates given to it.
class VENEER_API CEventSource
{
    typedef bool (*FnType)(void*);

  public:
    CEventSource() = default;
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;
    ~CEventSource();

    operator bool() const;
    void operator+=(const CDelegateBase& d);
    void operator+=(FnType pFn);
    void operator-=(const CDelegateBase& d);
    void operator-=(FnType pFn);
    bool operator()(void* param);

  private:
    CStdPtrArray m_aDelegates;
    // While a call runs: its flag, which the destructor raises when a
    // delegate destroys the source (the control that holds it).
    bool* m_pbDestroyed = nullptr;
};

} // namespace Veneer
