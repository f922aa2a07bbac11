#pragma once

#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/ScriptChannel.h"

#include <mshtml.h>

#include <string>

namespace PageHost
{

// The page window's event object while a script error is reported: the
// properties errorLine, errorCharacter, errorCode, errorMessage and
// errorUrl are read through IDispatch, as the real one's are.
class CScriptErrorEvent final : public IHTMLEventObj, private CLiveObject
{
  public:
    CScriptErrorEvent(const CScriptErrorInfo& error, const std::wstring& url);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    // The five names, in any case.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    // Property gets of the five; DISP_E_MEMBERNOTFOUND for anything else.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;
    // "error".
    HRESULT STDMETHODCALLTYPE get_type(BSTR* p) override;

    // Not provided by the page host.
    HRESULT STDMETHODCALLTYPE get_srcElement(IHTMLElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_altKey(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ctrlKey(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_shiftKey(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_returnValue(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_returnValue(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_cancelBubble(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_cancelBubble(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_fromElement(IHTMLElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_toElement(IHTMLElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_keyCode(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_keyCode(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_button(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_qualifier(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_reason(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_x(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_y(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_clientX(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_clientY(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_offsetX(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_offsetY(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_screenX(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_screenY(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_srcFilter(IDispatch**) override { return E_NOTIMPL; }

  private:
    ~CScriptErrorEvent() = default;

    CRefCount m_refs;
    CScriptErrorInfo m_error;
    std::wstring m_url;
};

} // namespace PageHost
