#include "tools/pagehost/DispatchBridge.h"

#include "tools/pagehost/ScriptChannel.h"

namespace PageHost
{

CDispatchBridge::CDispatchBridge(std::shared_ptr<CScriptChannel> channel, IDispatch* pTarget)
    : m_channel(std::move(channel)), m_pTarget(pTarget)
{
}

CDispatchBridge::~CDispatchBridge()
{
    IDispatch* pTarget = m_channel->Forget(this);
    if (pTarget != nullptr)
    {
        m_channel->Call([pTarget] {
            pTarget->Release();
            return S_OK;
        });
    }
}

// The target is read on the UI thread, where an abandoned channel runs no
// call and so no bridge's target is gone while it is used.
HRESULT STDMETHODCALLTYPE CDispatchBridge::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                         DISPID* rgDispId)
{
    return m_channel->Call(
        [&] { return m_pTarget->GetIDsOfNames(IID_NULL, rgszNames, cNames, lcid, rgDispId); });
}

HRESULT STDMETHODCALLTYPE CDispatchBridge::Invoke(DISPID dispIdMember, REFIID, LCID lcid, WORD wFlags,
                                                  DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                                  EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    return m_channel->Call([&] {
        const HRESULT hr = m_pTarget->Invoke(dispIdMember, IID_NULL, lcid, wFlags, pDispParams, pVarResult,
                                             pExcepInfo, puArgErr);
        m_channel->WrapResult(pVarResult);
        return hr;
    });
}

void CDispatchBridge::Abandon()
{
    if (m_pTarget != nullptr)
        m_pTarget->Release();
    m_pTarget = nullptr;
    Uncount();
}

} // namespace PageHost
