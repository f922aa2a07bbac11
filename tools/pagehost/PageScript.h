#pragma once

#include "tools/pagehost/ScriptChannel.h"
#include "veneer/core/ScopedHandle.h"

#include <windows.h>

#include <memory>
#include <string>

namespace PageHost
{

// The scripts of one page: a JScript engine on a thread of its own, driven
// from the UI thread. Each Run waits for the script while serving what it
// asks of the page; a script that outruns its time is stopped by ending its
// thread (Wine's JScript implements neither InterruptScriptThread nor the
// site's QueryContinue), after which the page runs no more script.
class CPageScript
{
  public:
    enum class Outcome
    {
        Done,        // ran to its end
        Failed,      // ended with an error, already reported to the owner
        TimedOut,    // stopped; the page's scripts are over
        Unavailable, // no engine, or the page's scripts were stopped before
        Busy,        // another script of the page is still running
    };

    explicit CPageScript(IScriptChannelOwner* pOwner);
    CPageScript(const CPageScript&) = delete;
    CPageScript& operator=(const CPageScript&) = delete;
    ~CPageScript();

    // Starts the thread and the engine; false when the platform has none.
    bool Start();
    // Runs script text whose first line is the page's 0-based `line`,
    // spending at most `budgetMs` of script time, which it reduces by what
    // it spent (time the UI thread spends answering the script is not
    // counted).
    Outcome Run(const std::wstring& code, unsigned long line, DWORD& budgetMs);
    // Ends the engine and its thread; while a script runs, as soon as it
    // returns. The owner hears nothing more.
    void Close();
    bool IsStopped() const { return m_bStopped; }

  private:
    struct CThreadState;
    struct CJob;
    static DWORD WINAPI ThreadMain(void* pParam);
    bool Submit(CJob& job, DWORD budgetMs, DWORD& usedMs);
    void Abandon();
    void StopThread();
    void Finish();

    std::shared_ptr<CScriptChannel> m_channel;
    // Shared with the script thread, which may outlive this object when it
    // could not be stopped.
    std::shared_ptr<CThreadState> m_state;
    Veneer::CScopedHandle m_thread;
    bool m_bRunning = false;
    bool m_bCloseRequested = false;
    bool m_bStopped = false;
};

} // namespace PageHost
