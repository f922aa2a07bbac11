#include "tools/pagehost/DispatchBridge.h"

#include "tools/pagehost/ComAnswers.h"
#include "tools/pagehost/ScriptChannel.h"

namespace PageHost
{

CDispatchBridge::CDispatchBridge(std::shared_ptr<CScriptChannel> channel, IDispatch* pTarget)
    : m_channel(std::move(channel)), m_pTarget(pTarget)
{
}

HRESULT STDMETHODCALLTYPE CDispatchBridge::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CDispatchBridge::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CDispatchBridge::Release()
{
    const ULONG refs = m_refs.Release();
    if (refs != 0)
        return refs;
    IDispatch* pTarget = m_channel->Forget(this);
    if (pTarget != nullptr)
    {
        CScriptCall call;
        call.kind = CScriptCall::Kind::ReleaseTarget;
        call.target = pTarget;
        m_channel->Call(call);
    }
    delete this;
    return 0;
}

HRESULT STDMETHODCALLTYPE CDispatchBridge::GetTypeInfoCount(UINT* pctinfo)
{
    return AnswerNoTypeInfoCount(pctinfo);
}

HRESULT STDMETHODCALLTYPE CDispatchBridge::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    return AnswerNoTypeInfo(ppTInfo);
}

HRESULT STDMETHODCALLTYPE CDispatchBridge::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                         DISPID* rgDispId)
{
    CScriptCall call;
    call.kind = CScriptCall::Kind::GetIDsOfNames;
    call.target = m_pTarget;
    call.names = rgszNames;
    call.nameCount = cNames;
    call.ids = rgDispId;
    call.lcid = lcid;
    return m_channel->Call(call);
}

HRESULT STDMETHODCALLTYPE CDispatchBridge::Invoke(DISPID dispIdMember, REFIID, LCID lcid, WORD wFlags,
                                                  DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                                  EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    CScriptCall call;
    call.kind = CScriptCall::Kind::Invoke;
    call.target = m_pTarget;
    call.id = dispIdMember;
    call.lcid = lcid;
    call.flags = wFlags;
    call.params = pDispParams;
    call.result = pVarResult;
    call.exception = pExcepInfo;
    call.argumentError = puArgErr;
    return m_channel->Call(call);
}

void CDispatchBridge::Abandon()
{
    if (m_pTarget != nullptr)
        m_pTarget->Release();
    m_pTarget = nullptr;
    Uncount();
}

} // namespace PageHost
