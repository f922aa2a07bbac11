#pragma once

#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/InterfaceStubs.h"
#include "tools/pagehost/ScriptChannel.h"

#include <mshtml.h>

#include <string>

namespace PageHost
{

// The page window's event object while a script error is reported: the
// properties errorLine, errorCharacter, errorCode, errorMessage and
// errorUrl are read through IDispatch, as the real one's are.
class CScriptErrorEvent final
    : public Veneer::CComObject<CScriptErrorEvent, Veneer::CPlainRefCount, CHtmlEventStubs>,
      private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IHTMLEventObj>(IID_IHTMLEventObj),
                                             Entry<IHTMLEventObj>(IID_IDispatch)};

    CScriptErrorEvent(const CScriptErrorInfo& error, const std::wstring& url);

    // The five names, in any case.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    // Property gets of the five; DISP_E_MEMBERNOTFOUND for anything else.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;
    // "error".
    HRESULT STDMETHODCALLTYPE get_type(BSTR* p) override;

  private:
    ~CScriptErrorEvent() override = default;

    CScriptErrorInfo m_error;
    std::wstring m_url;
};

} // namespace PageHost
