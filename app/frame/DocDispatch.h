#pragma once

#include "app/frame/IPageActions.h"

#include <windows.h>

#include <oaidl.h>

namespace Qlm
{

// The ad page's `window.external`: a minimal automation object through which
// the page starts a game download, opens an address in the default browser,
// closes the pop-up or asks not to be shown ads again today. Every action
// that does something sends one pop-up report to the service and closes the
// frame, both through the page actions it is given. It answers IDispatch
// (and IUnknown, with the same pointer), has no type information and keeps
// no state but its reference count: one is handed to the browser for each
// request, with a count of 1, and deletes itself when released to 0.
class CDocDispatch : public IDispatch
{
  public:
    // `actions` must outlive the object.
    explicit CDocDispatch(IPageActions& actions);
    CDocDispatch(const CDocDispatch&) = delete;
    CDocDispatch& operator=(const CDocDispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    // Looks up the first name only, case-sensitively; E_NOTIMPL for a name
    // the page may not call.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    // Always S_OK; no method returns a value to the page.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

  protected:
    // Objects live on the heap and end through Release only.
    virtual ~CDocDispatch() = default;

  private:
    IPageActions& m_actions;
    LONG m_refCount = 1;
};

} // namespace Qlm
