#include "tools/pagehost/ScriptChannel.h"

#include "tools/pagehost/DispatchBridge.h"

namespace PageHost
{

namespace
{

const UINT kCallMessage = WM_APP + 1;

// Holds the channel's lock for a scope.
class CChannelLock
{
  public:
    explicit CChannelLock(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    CChannelLock(const CChannelLock&) = delete;
    CChannelLock& operator=(const CChannelLock&) = delete;
    ~CChannelLock() { LeaveCriticalSection(&m_lock); }

  private:
    CRITICAL_SECTION& m_lock;
};

} // namespace

CScriptChannel::CScriptChannel(IScriptChannelOwner* pOwner) : m_pOwner(pOwner)
{
    InitializeCriticalSection(&m_lock);
}

CScriptChannel::~CScriptChannel()
{
    DeleteCriticalSection(&m_lock);
}

bool CScriptChannel::Open()
{
    if (!m_window.Create(this))
        return false;
    m_hWnd = m_window.GetHWND();
    return true;
}

ULONGLONG CScriptChannel::TakeCallTime()
{
    const ULONGLONG time = m_callTime;
    m_callTime = 0;
    return time;
}

void CScriptChannel::Abandon()
{
    CChannelLock lock(m_lock);
    m_bAbandoned = true;
    for (CDispatchBridge* pBridge : m_bridges)
        pBridge->Abandon();
    m_bridges.clear();
}

void CScriptChannel::Shutdown()
{
    {
        CChannelLock lock(m_lock);
        m_bAbandoned = true;
        m_hWnd = nullptr;
    }
    m_window.Destroy();
    m_pOwner = nullptr;
}

bool CScriptChannel::IsAbandoned()
{
    CChannelLock lock(m_lock);
    return m_bAbandoned;
}

HRESULT CScriptChannel::Call(CScriptCall& call)
{
    HWND hWnd = nullptr;
    {
        CChannelLock lock(m_lock);
        hWnd = m_bAbandoned ? nullptr : m_hWnd;
    }
    if (hWnd == nullptr)
        return E_ABORT;
    call.hr = E_ABORT;
    SendMessageW(hWnd, kCallMessage, 0, reinterpret_cast<LPARAM>(&call));
    return call.hr;
}

IDispatch* CScriptChannel::Forget(CDispatchBridge* pBridge)
{
    CChannelLock lock(m_lock);
    m_bridges.erase(pBridge);
    return pBridge->m_pTarget;
}

LRESULT CScriptChannel::OnMessage(UINT uMsg, WPARAM, LPARAM lParam)
{
    if (uMsg != kCallMessage)
        return 0;
    const ULONGLONG start = GetTickCount64();
    // The owner may end the page (and this channel's window) while it
    // serves the call: the channel itself stays alive until the call is done.
    std::shared_ptr<CScriptChannel> keepAlive = shared_from_this();
    Serve(*reinterpret_cast<CScriptCall*>(lParam));
    m_callTime += GetTickCount64() - start;
    return 0;
}

void CScriptChannel::Serve(CScriptCall& call)
{
    if (IsAbandoned())
        return;
    switch (call.kind)
    {
    case CScriptCall::Kind::GetIDsOfNames:
        call.hr = call.target->GetIDsOfNames(IID_NULL, call.names, call.nameCount, call.lcid, call.ids);
        break;
    case CScriptCall::Kind::Invoke:
        call.hr = call.target->Invoke(call.id, IID_NULL, call.lcid, call.flags, call.params, call.result,
                                      call.exception, call.argumentError);
        WrapResult(call.result);
        break;
    case CScriptCall::Kind::ReleaseTarget:
        call.target->Release();
        call.hr = S_OK;
        break;
    case CScriptCall::Kind::GetExternal: {
        IDispatch* pExternal = nullptr;
        call.hr = m_pOwner != nullptr ? m_pOwner->GetExternal(&pExternal) : E_ABORT;
        V_VT(call.result) = VT_EMPTY;
        if (pExternal != nullptr)
        {
            V_VT(call.result) = VT_DISPATCH;
            V_DISPATCH(call.result) = Wrap(pExternal);
        }
        break;
    }
    case CScriptCall::Kind::CloseWindow:
        if (m_pOwner != nullptr)
            m_pOwner->OnWindowClose();
        call.hr = S_OK;
        break;
    case CScriptCall::Kind::ReportError:
        call.hr = m_pOwner != nullptr && m_pOwner->OnScriptError(*call.error) ? S_OK : S_FALSE;
        break;
    }
}

// Takes over the reference to the target.
IDispatch* CScriptChannel::Wrap(IDispatch* pTarget)
{
    CDispatchBridge* pBridge = new CDispatchBridge(shared_from_this(), pTarget);
    CChannelLock lock(m_lock);
    m_bridges.insert(pBridge);
    return pBridge;
}

void CScriptChannel::WrapResult(VARIANT* pResult)
{
    if (pResult != nullptr && V_VT(pResult) == VT_DISPATCH && V_DISPATCH(pResult) != nullptr)
        V_DISPATCH(pResult) = Wrap(V_DISPATCH(pResult));
}

} // namespace PageHost
