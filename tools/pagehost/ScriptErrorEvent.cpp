#include "tools/pagehost/ScriptErrorEvent.h"

#include <iterator>

namespace PageHost
{

namespace
{

// The properties' DISPIDs are their places in this list, from 1: the
// numbers first, then the texts.
const wchar_t* const kPropertyNames[] = {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage",
                                         L"errorUrl"};
constexpr DISPID kFirstNumber = 1;
constexpr DISPID kErrorMessage = 4;
constexpr DISPID kErrorUrl = 5;

} // namespace

CScriptErrorEvent::CScriptErrorEvent(const CScriptErrorInfo& error, const std::wstring& url)
    : m_error(error), m_url(url)
{
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID,
                                                           DISPID* rgDispId)
{
    return Veneer::FindMemberName(kPropertyNames, kFirstNumber, true, rgszNames, cNames, rgDispId);
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags,
                                                    DISPPARAMS*, VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    if ((wFlags & DISPATCH_PROPERTYGET) == 0)
        return DISP_E_MEMBERNOTFOUND;
    if (pVarResult == nullptr)
        return E_POINTER;
    VariantInit(pVarResult);
    const long numbers[] = {m_error.line, m_error.character, m_error.code};
    if (dispIdMember >= kFirstNumber && dispIdMember < kFirstNumber + static_cast<DISPID>(std::size(numbers)))
    {
        V_VT(pVarResult) = VT_I4;
        V_I4(pVarResult) = numbers[dispIdMember - kFirstNumber];
        return S_OK;
    }
    if (dispIdMember != kErrorMessage && dispIdMember != kErrorUrl)
        return DISP_E_MEMBERNOTFOUND;
    V_VT(pVarResult) = VT_BSTR;
    return Veneer::AnswerText(dispIdMember == kErrorMessage ? m_error.message : m_url, &V_BSTR(pVarResult));
}

HRESULT STDMETHODCALLTYPE CScriptErrorEvent::get_type(BSTR* p)
{
    return Veneer::AnswerText(L"error", p);
}

} // namespace PageHost
