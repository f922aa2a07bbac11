#pragma once

// What every COM object of ours is made of, written once: its reference
// count, QueryInterface answered from a table, an IDispatch without type
// information, the answers of out parameters, and holders that give back
// interface pointers, BSTRs and VARIANTs on every exit path.
#include <oaidl.h>
#include <oleauto.h>
#include <unknwn.h>
#include <windows.h>

#include <cassert>
#include <cstddef>
#include <cwchar>
#include <string>
#include <type_traits>
#include <utility>

namespace Veneer
{

// Reference counts. A new object holds one reference, its creator's. The
// objects of an apartment are reached from its thread only and count
// plainly; an object whose references are taken and dropped on more than
// one thread counts with interlocked operations.
class CPlainRefCount
{
  public:
    ULONG Increment() { return ++m_refs; }
    ULONG Decrement()
    {
        assert(m_refs > 0);
        return --m_refs;
    }

  private:
    ULONG m_refs = 1;
};

class CAtomicRefCount
{
  public:
    ULONG Increment() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG Decrement() { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }

  private:
    LONG m_refs = 1;
};

// One row of an object's interface table: an IID the object answers and
// the way from the object to the interface pointer it answers with.
template <typename TObject> struct CInterfaceEntry
{
    const IID* pIid;
    IUnknown* (*pfnCast)(TObject* pObject);
};

template <typename TInterface, typename TObject> IUnknown* CastToInterface(TObject* pObject)
{
    return static_cast<TInterface*>(pObject);
}

// The row for `iid`, answered with the object as TInterface.
template <typename TInterface, typename TObject>
constexpr CInterfaceEntry<TObject> InterfaceEntry(const IID& iid)
{
    return CInterfaceEntry<TObject>{&iid, &CastToInterface<TInterface, TObject>};
}

// QueryInterface from a table. IUnknown is answered with the first row's
// interface, so that whichever interface it is asked through, the object
// answers one IUnknown pointer (COM's identity rule). The caller's pointer
// is null whenever the answer is not S_OK.
template <typename TObject, size_t N>
HRESULT QueryInterfaceFromTable(TObject* pObject, const CInterfaceEntry<TObject> (&table)[N], REFIID riid,
                                void** ppvObject)
{
    static_assert(N > 0, "an object answers at least one interface");
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    const CInterfaceEntry<TObject>* pFound = riid == IID_IUnknown ? &table[0] : nullptr;
    for (size_t i = 0; i < N && pFound == nullptr; ++i)
    {
        if (*table[i].pIid == riid)
            pFound = &table[i];
    }
    if (pFound == nullptr)
        return E_NOINTERFACE;
    IUnknown* pInterface = pFound->pfnCast(pObject);
    pInterface->AddRef();
    *ppvObject = pInterface;
    return S_OK;
}

// The IUnknown of a heap object, written once. The object derives from it,
// naming itself, its reference count and the interfaces it implements, and
// lists the IIDs it answers in a public table named kInterfaces:
//
//   class CSink final : public CComObject<CSink, CPlainRefCount, IDispatch, IConnectionPoint>
//   {
//     public:
//       static constexpr CEntry kInterfaces[] = {Entry<IDispatch>(IID_IDispatch),
//                                                Entry<IConnectionPoint>(IID_IConnectionPoint)};
//
// It deletes itself when its last reference goes (its destructor may be
// private: the base's is virtual).
template <typename TObject, typename TRefCount, typename... TInterfaces>
class CComObject : public TInterfaces...
{
  public:
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override
    {
        return QueryInterfaceFromTable<CComObject>(this, TObject::kInterfaces, riid, ppvObject);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_refs.Increment(); }
    // At 0 the count is raised again for the destructor's sake: a reference
    // it takes and drops on the way (a container answering the object's
    // last calls) must not delete the object a second time.
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG refs = m_refs.Decrement();
        if (refs == 0)
        {
            m_refs.Increment();
            delete this;
        }
        return refs;
    }

    // A new object asked for `riid` on the caller's behalf; when it does not
    // answer that, it goes again at once. None is made for a caller that
    // gave no place for it.
    template <typename... TArgs> static HRESULT Create(REFIID riid, void** ppvObject, TArgs&&... args)
    {
        if (ppvObject == nullptr)
            return E_POINTER;
        CComObject* pObject = new TObject(std::forward<TArgs>(args)...);
        const HRESULT hr = pObject->QueryInterface(riid, ppvObject);
        pObject->Release();
        return hr;
    }

  protected:
    using CEntry = CInterfaceEntry<CComObject>;
    template <typename TInterface> static constexpr CEntry Entry(const IID& iid)
    {
        return InterfaceEntry<TInterface, CComObject>(iid);
    }

    CComObject() = default;
    virtual ~CComObject() = default;

  private:
    TRefCount m_refs;
};

// Answers for out parameters; each answers E_POINTER when the caller gave
// no place for the answer. The value's type is taken from the parameter.
template <typename T> HRESULT AnswerValue(const typename std::remove_cv<T>::type& value, T* pOut)
{
    if (pOut == nullptr)
        return E_POINTER;
    *pOut = value;
    return S_OK;
}

inline VARIANT_BOOL ToVariantBool(bool value)
{
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

// An interface pointer with a reference for the caller; without one the
// caller's pointer is null and the answer `hrNone` (S_OK where "none" is an
// answer, a failure where the object should have been there).
template <typename T>
HRESULT AnswerInterface(typename std::remove_cv<T>::type* pObject, T** ppOut, HRESULT hrNone = S_OK)
{
    if (ppOut == nullptr)
        return E_POINTER;
    *ppOut = pObject;
    if (pObject == nullptr)
        return hrNone;
    pObject->AddRef();
    return S_OK;
}

// No object: the caller's pointer, where there is one, is cleared, and
// `hr` says why (E_NOTIMPL, OLE_S_USEREG ...).
template <typename T> HRESULT AnswerNothing(T** ppOut, HRESULT hr)
{
    if (ppOut != nullptr)
        *ppOut = nullptr;
    return hr;
}

// A copy of the text as a new BSTR for the caller.
inline HRESULT AnswerText(const std::wstring& text, BSTR* pOut)
{
    if (pOut == nullptr)
        return E_POINTER;
    *pOut = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *pOut != nullptr ? S_OK : E_OUTOFMEMORY;
}

// An automation interface of an object without type information: the two
// questions about type information are answered once, here.
template <typename TInterface> class CTypelessDispatch : public TInterface
{
  public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override { return AnswerValue(0u, pctinfo); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override
    {
        return AnswerNothing(ppTInfo, E_NOTIMPL);
    }

  protected:
    CTypelessDispatch() = default;
    ~CTypelessDispatch() = default;
};

// An automation interface that is reached through its vtable only: it
// knows no names and no members by number. What it answers for them is
// the interface's to choose (DISP_E_* where a script may ask, E_NOTIMPL
// where automation is not offered at all).
template <typename TInterface, HRESULT hrUnknownName = DISP_E_UNKNOWNNAME,
          HRESULT hrUnknownMember = DISP_E_MEMBERNOTFOUND>
class CNamelessDispatch : public CTypelessDispatch<TInterface>
{
  public:
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return hrUnknownName;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return hrUnknownMember;
    }

  protected:
    CNamelessDispatch() = default;
    ~CNamelessDispatch() = default;
};

// GetIDsOfNames answered from a list of member names: the name asked gets
// `firstId` plus its place in the list. A name not in the list gets
// DISPID_UNKNOWN and DISP_E_UNKNOWNNAME, where the caller may look further;
// a request without a name or a place for the answer is E_INVALIDARG.
template <size_t N>
HRESULT FindMemberName(const wchar_t* const (&names)[N], DISPID firstId, bool bIgnoreCase,
                       const LPOLESTR* rgszNames, UINT cNames, DISPID* rgDispId)
{
    if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0 || rgszNames[0] == nullptr)
        return E_INVALIDARG;
    for (size_t i = 0; i < N; ++i)
    {
        const int order = bIgnoreCase ? _wcsicmp(rgszNames[0], names[i]) : wcscmp(rgszNames[0], names[i]);
        if (order == 0)
        {
            rgDispId[0] = firstId + static_cast<DISPID>(i);
            return S_OK;
        }
    }
    rgDispId[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

// Holds a reference to a COM object and releases it when it goes. Made from
// a pointer it takes a reference of its own, as its copies do; Attach takes
// over a reference the caller owns, and Out is the place for a call's out
// parameter. Detach (not Release, which would read as IUnknown's) hands the
// reference to the caller.
template <typename T> class CComPtrHolder
{
  public:
    CComPtrHolder() = default;
    explicit CComPtrHolder(T* pObject) : m_pObject(pObject)
    {
        if (m_pObject != nullptr)
            m_pObject->AddRef();
    }
    CComPtrHolder(const CComPtrHolder& other) : CComPtrHolder(other.m_pObject) {}
    CComPtrHolder(CComPtrHolder&& other) noexcept : m_pObject(other.Detach()) {}
    CComPtrHolder& operator=(CComPtrHolder other) noexcept
    {
        std::swap(m_pObject, other.m_pObject);
        return *this;
    }
    ~CComPtrHolder() { Reset(); }

    T* Get() const { return m_pObject; }
    T* operator->() const { return m_pObject; }
    explicit operator bool() const { return m_pObject != nullptr; }

    // The holder is empty before the object hears of the release, so that a
    // release that calls back finds nothing held.
    void Reset()
    {
        T* pObject = m_pObject;
        m_pObject = nullptr;
        if (pObject != nullptr)
            pObject->Release();
    }
    void Attach(T* pObject)
    {
        assert(pObject == nullptr || pObject != m_pObject);
        Reset();
        m_pObject = pObject;
    }
    T* Detach()
    {
        T* pObject = m_pObject;
        m_pObject = nullptr;
        return pObject;
    }
    T** Out()
    {
        Reset();
        return &m_pObject;
    }
    // For QueryInterface, CoCreateInstance and the like.
    void** OutAsVoid() { return reinterpret_cast<void**>(Out()); }

    // Asks the object held for another of its interfaces.
    template <typename TOther> HRESULT QueryTo(REFIID riid, CComPtrHolder<TOther>& target) const
    {
        if (m_pObject == nullptr)
        {
            target.Reset();
            return E_POINTER;
        }
        return m_pObject->QueryInterface(riid, target.OutAsVoid());
    }

  private:
    T* m_pObject = nullptr;
};

// Owns a BSTR and frees it when the scope ends; Detach hands it over.
class CScopedBstr
{
  public:
    CScopedBstr() = default;
    // A copy of the text; empty when there is no memory for it.
    explicit CScopedBstr(const std::wstring& text)
        : m_bstr(SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size())))
    {
    }
    CScopedBstr(const CScopedBstr&) = delete;
    CScopedBstr& operator=(const CScopedBstr&) = delete;
    ~CScopedBstr() { Reset(nullptr); }

    BSTR Get() const { return m_bstr; }
    // The text with its length prefix, so embedded nulls are kept.
    std::wstring Text() const { return m_bstr != nullptr ? std::wstring(m_bstr, SysStringLen(m_bstr)) : L""; }

    // Frees the string held and takes over another.
    void Reset(BSTR bstr)
    {
        if (m_bstr != nullptr)
            SysFreeString(m_bstr);
        m_bstr = bstr;
    }
    BSTR Detach()
    {
        BSTR bstr = m_bstr;
        m_bstr = nullptr;
        return bstr;
    }
    BSTR* Out()
    {
        Reset(nullptr);
        return &m_bstr;
    }

  private:
    BSTR m_bstr = nullptr;
};

// Owns a VARIANT and clears it, releasing what it holds, when the scope
// ends.
class CScopedVariant
{
  public:
    CScopedVariant() { VariantInit(&m_value); }
    // A VT_BSTR copy of the text.
    explicit CScopedVariant(const std::wstring& text) : CScopedVariant()
    {
        V_VT(&m_value) = VT_BSTR;
        V_BSTR(&m_value) = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    }
    CScopedVariant(const CScopedVariant&) = delete;
    CScopedVariant& operator=(const CScopedVariant&) = delete;
    ~CScopedVariant() { VariantClear(&m_value); }

    VARIANT* Get() { return &m_value; }
    const VARIANT& Value() const { return m_value; }

  private:
    VARIANT m_value;
};

} // namespace Veneer
