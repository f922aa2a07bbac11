#pragma once

#include "tools/pagehost/HostModule.h"
#include "veneer/core/ComObject.h"

#include <oaidl.h>

#include <memory>

namespace PageHost
{

class CScriptChannel;

// An object of the UI thread (window.external and what it hands out) as
// the script thread sees it: every call goes through the channel and runs
// on the UI thread. It answers IDispatch only; the engine's request for
// IDispatchEx is refused, which the engine accepts. Its references are
// taken on both threads, so it counts atomically.
class CDispatchBridge final : public Veneer::CComObject<CDispatchBridge, Veneer::CAtomicRefCount,
                                                        Veneer::CTypelessDispatch<IDispatch>>,
                              private CLiveObject
{
  public:
    static constexpr CEntry kInterfaces[] = {Entry<IDispatch>(IID_IDispatch)};

    // Takes over one reference to the target.
    CDispatchBridge(std::shared_ptr<CScriptChannel> channel, IDispatch* pTarget);

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

  private:
    friend class CScriptChannel;
    // Script thread, last release: the target is released on its own thread.
    ~CDispatchBridge() override;
    // UI thread, under the channel's lock: releases the target for good.
    void Abandon();

    std::shared_ptr<CScriptChannel> m_channel;
    IDispatch* m_pTarget;
};

} // namespace PageHost
