#include "tools/pagehost/ScriptChannel.h"

#include "tools/pagehost/DispatchBridge.h"

namespace PageHost
{

namespace
{

const UINT kCallMessage = WM_APP + 1;

// One call carried to the UI thread: its work and, once it ran, its answer.
struct CCall
{
    const std::function<HRESULT()>* work;
    HRESULT hr = E_ABORT;
};

} // namespace

CScriptChannel::CScriptChannel(IScriptChannelOwner* pOwner) : m_pOwner(pOwner) {}

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
    CSectionLock lock(m_lock);
    m_bAbandoned = true;
    for (CDispatchBridge* pBridge : m_bridges)
        pBridge->Abandon();
    m_bridges.clear();
}

void CScriptChannel::Shutdown()
{
    {
        CSectionLock lock(m_lock);
        m_bAbandoned = true;
        m_hWnd = nullptr;
    }
    m_window.Destroy();
    m_pOwner = nullptr;
}

bool CScriptChannel::IsAbandoned()
{
    CSectionLock lock(m_lock);
    return m_bAbandoned;
}

HRESULT CScriptChannel::Call(const std::function<HRESULT()>& work)
{
    HWND hWnd = nullptr;
    {
        CSectionLock lock(m_lock);
        hWnd = m_bAbandoned ? nullptr : m_hWnd;
    }
    if (hWnd == nullptr)
        return E_ABORT;
    CCall call{&work};
    SendMessageW(hWnd, kCallMessage, 0, reinterpret_cast<LPARAM>(&call));
    return call.hr;
}

HRESULT CScriptChannel::GetExternal(VARIANT* pResult)
{
    return Call([this, pResult] {
        IDispatch* pExternal = nullptr;
        const HRESULT hr = m_pOwner != nullptr ? m_pOwner->GetExternal(&pExternal) : E_ABORT;
        V_VT(pResult) = VT_EMPTY;
        if (pExternal != nullptr)
        {
            V_VT(pResult) = VT_DISPATCH;
            V_DISPATCH(pResult) = Wrap(pExternal);
        }
        return hr;
    });
}

HRESULT CScriptChannel::CloseWindow()
{
    return Call([this] {
        if (m_pOwner != nullptr)
            m_pOwner->OnWindowClose();
        return S_OK;
    });
}

// Without an owner (the page went) the scripts stop, as they do when the
// channel is abandoned.
bool CScriptChannel::ReportError(const CScriptErrorInfo& error)
{
    return Call([this, &error] {
               return m_pOwner != nullptr && m_pOwner->OnScriptError(error) ? S_OK : S_FALSE;
           }) == S_FALSE;
}

IDispatch* CScriptChannel::Forget(CDispatchBridge* pBridge)
{
    CSectionLock lock(m_lock);
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
    CCall& call = *reinterpret_cast<CCall*>(lParam);
    if (!IsAbandoned())
        call.hr = (*call.work)();
    m_callTime += GetTickCount64() - start;
    return 0;
}

IDispatch* CScriptChannel::Wrap(IDispatch* pTarget)
{
    CDispatchBridge* pBridge = new CDispatchBridge(shared_from_this(), pTarget);
    CSectionLock lock(m_lock);
    m_bridges.insert(pBridge);
    return pBridge;
}

void CScriptChannel::WrapResult(VARIANT* pResult)
{
    if (pResult != nullptr && V_VT(pResult) == VT_DISPATCH && V_DISPATCH(pResult) != nullptr)
        V_DISPATCH(pResult) = Wrap(V_DISPATCH(pResult));
}

} // namespace PageHost
