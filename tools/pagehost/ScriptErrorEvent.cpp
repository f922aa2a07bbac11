#include "tools/pagehost/ScriptErrorEvent.h"

#include "tools/pagehost/ComAnswers.h"

#include <cwchar>

namespace PageHost
{

namespace
{

enum ErrorProperty : DISPID
{
    kErrorLine = 1,
    kErrorCharacter,
    kErrorCode,
    kErrorMessage,
    kErrorUrl,
};

const struct
{
    const wchar_t* name;
    DISPID id;
} kProperties[] = {{L"errorLine", kErrorLine},
                   {L"errorCharacter", kErrorCharacter},
                   {L"errorCode", kErrorCode},
                   {L"errorMessage", kErrorMessage},
                   {L"errorUrl", kErrorUrl}};

void SetLong(VARIANT* pValue, long value)
{
    V_VT(pValue) = VT_I4;
    V_I4(pValue) = value;
}

void SetText(VARIANT* pValue, const std::wstring& text)
{
    V_VT(pValue) = VT_BSTR;
    V_BSTR(pValue) = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
}

} // namespace

CScriptErrorEvent::CScriptErrorEvent(const CScriptErrorInfo& error, const std::wstring& url)
    : m_error(error), m_url(url)
{
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IHTMLEventObj)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IHTMLEventObj*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CScriptErrorEvent::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CScriptErrorEvent::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::GetTypeInfoCount(UINT* pctinfo)
{
    return AnswerNoTypeInfoCount(pctinfo);
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    return AnswerNoTypeInfo(ppTInfo);
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID,
                                                           DISPID* rgDispId)
{
    if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0 || rgszNames[0] == nullptr)
        return E_INVALIDARG;
    for (const auto& property : kProperties)
    {
        if (_wcsicmp(rgszNames[0], property.name) == 0)
        {
            rgDispId[0] = property.id;
            return S_OK;
        }
    }
    rgDispId[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags,
                                                    DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    if ((wFlags & DISPATCH_PROPERTYGET) == 0)
        return DISP_E_MEMBERNOTFOUND;
    if (pVarResult == nullptr)
        return E_POINTER;
    VariantInit(pVarResult);
    switch (dispIdMember)
    {
    case kErrorLine:
        SetLong(pVarResult, m_error.line);
        return S_OK;
    case kErrorCharacter:
        SetLong(pVarResult, m_error.character);
        return S_OK;
    case kErrorCode:
        SetLong(pVarResult, m_error.code);
        return S_OK;
    case kErrorMessage:
        SetText(pVarResult, m_error.message);
        return S_OK;
    case kErrorUrl:
        SetText(pVarResult, m_url);
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::get_type(BSTR* p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = SysAllocString(L"error");
    return S_OK;
}

} // namespace PageHost
