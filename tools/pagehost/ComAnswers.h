#pragma once

// Answers that several of the page host's COM objects give alike.
#include <oaidl.h>
#include <windows.h>

#include <string>

namespace PageHost
{

// The objects carry no type information.
inline HRESULT AnswerNoTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

inline HRESULT AnswerNoTypeInfo(ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

// A new BSTR of the text for an out parameter.
inline HRESULT AnswerText(const std::wstring& text, BSTR* p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *p != nullptr ? S_OK : E_OUTOFMEMORY;
}

// An object (or null) for an out parameter, with a reference for the caller.
template <typename T> HRESULT AnswerObject(T* pObject, T** pp)
{
    if (pp == nullptr)
        return E_POINTER;
    *pp = pObject;
    if (pObject != nullptr)
        pObject->AddRef();
    return S_OK;
}

} // namespace PageHost
