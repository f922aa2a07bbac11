#pragma once

#include "tools/pagehost/MessageWindow.h"
#include "tools/pagehost/SectionLock.h"

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace PageHost
{

class CDispatchBridge;

// A script error as the page's window event object shows it.
struct CScriptErrorInfo
{
    long line = 0;      // 1-based line of the page
    long character = 0; // 1-based position in that line
    long code = 0;      // the engine's HRESULT
    std::wstring message;
};

// What the script thread asks of the page (answered on the UI thread).
class IScriptChannelOwner
{
  public:
    // window.external: what the UI handler's GetExternal gave, or null.
    virtual HRESULT GetExternal(IDispatch** ppDispatch) = 0;
    virtual void OnWindowClose() = 0;
    // Answers whether the page's scripts keep running.
    virtual bool OnScriptError(const CScriptErrorInfo& error) = 0;

  protected:
    ~IScriptChannelOwner() = default;
};

// The page's scripts run on a thread of their own, so that one that never
// ends can be stopped; everything they reach of the page and its container
// lives on the UI thread. The channel carries each such call across with
// SendMessage (the UI thread serves sent messages while it waits for the
// script), wraps every object handed to the script in a bridge, and counts
// the time spent on the UI side, which is not the script's.
class CScriptChannel : public IMessageTarget, public std::enable_shared_from_this<CScriptChannel>
{
  public:
    explicit CScriptChannel(IScriptChannelOwner* pOwner);
    CScriptChannel(const CScriptChannel&) = delete;
    CScriptChannel& operator=(const CScriptChannel&) = delete;

    // UI thread.
    bool Open();
    void SetOwner(IScriptChannelOwner* pOwner) { m_pOwner = pOwner; }
    ULONGLONG TakeCallTime();
    // After the script thread was stopped: no call runs any more, every
    // bridged object is released here and the bridges stop counting.
    void Abandon();
    void Shutdown();

    // Script thread. Each runs its work on the UI thread and answers what
    // it answered, or E_ABORT without running it once the channel is
    // abandoned.
    HRESULT Call(const std::function<HRESULT()>& work);
    // window.external for the script: the owner's object in a bridge, or
    // VT_EMPTY when it has none.
    HRESULT GetExternal(VARIANT* pResult);
    HRESULT CloseWindow();
    // Answers whether the page's scripts are to stop.
    bool ReportError(const CScriptErrorInfo& error);
    // A bridge released by the script: answers the object it still holds
    // (null once abandoned), which the caller releases through Call.
    IDispatch* Forget(CDispatchBridge* pBridge);

    // UI thread, inside a call: an object of this thread handed to the
    // script goes in a bridge (which takes over the reference), so does one
    // in a call's result.
    IDispatch* Wrap(IDispatch* pTarget);
    void WrapResult(VARIANT* pResult);

    LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

  private:
    bool IsAbandoned();

    IScriptChannelOwner* m_pOwner;
    CMessageWindow m_window;
    HWND m_hWnd = nullptr;
    CCriticalSection m_lock;
    std::set<CDispatchBridge*> m_bridges;
    bool m_bAbandoned = false;
    ULONGLONG m_callTime = 0;
};

} // namespace PageHost
