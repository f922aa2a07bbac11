#pragma once

#include "tools/pagehost/HostModule.h"

#include <oaidl.h>

#include <memory>

namespace PageHost
{

class CScriptChannel;

// An object of the UI thread (window.external and what it hands out) as
// the script thread sees it: every call goes through the channel and runs
// on the UI thread. It answers IDispatch only; the engine's request for
// IDispatchEx is refused, which the engine accepts.
class CDispatchBridge final : public IDispatch, private CLiveObject
{
  public:
    // Takes over one reference to the target.
    CDispatchBridge(std::shared_ptr<CScriptChannel> channel, IDispatch* pTarget);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

  private:
    friend class CScriptChannel;
    ~CDispatchBridge() = default;
    // UI thread, under the channel's lock: releases the target for good.
    void Abandon();

    CRefCount m_refs;
    std::shared_ptr<CScriptChannel> m_channel;
    IDispatch* m_pTarget;
};

} // namespace PageHost
