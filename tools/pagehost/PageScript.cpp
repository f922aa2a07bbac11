#include "tools/pagehost/PageScript.h"

#include "tools/pagehost/HostModule.h"
#include "tools/pagehost/ScriptEngine.h"

#include <algorithm>

namespace PageHost
{

namespace
{

// Creating the engine and closing it are bounded too, more generously.
constexpr DWORD kStartLimitMs = 10000;
constexpr DWORD kCloseLimitMs = 5000;
// How often the stopper looks for a moment when the script thread runs the
// engine's own code (and so holds no lock of the heap or the runtime).
constexpr int kStopAttempts = 2000;
// The script thread's stack: deep page recursion ends in the engine's own
// "Out of stack space" error well before this.
constexpr SIZE_T kScriptStack = 4 * 1024 * 1024;

bool InsideModule(HMODULE hModule, ULONG_PTR address)
{
    if (hModule == nullptr)
        return false;
    const BYTE* base = reinterpret_cast<const BYTE*>(hModule);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const ULONG_PTR start = reinterpret_cast<ULONG_PTR>(base);
    return address >= start && address < start + nt->OptionalHeader.SizeOfImage;
}

ULONG_PTR InstructionPointer(const CONTEXT& context)
{
#ifdef _WIN64
    return static_cast<ULONG_PTR>(context.Rip);
#else
    return static_cast<ULONG_PTR>(context.Eip);
#endif
}

// Runs the calls that the script thread sends to this one.
void ServeSentMessages()
{
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

} // namespace

struct CPageScript::CJob
{
    enum class Kind
    {
        Start,
        Run,
        Close,
    };
    Kind kind = Kind::Run;
    const std::wstring* code = nullptr;
    unsigned long line = 0;
    HRESULT hr = E_FAIL;
    bool stopRequested = false;
};

struct CPageScript::CThreadState
{
    explicit CThreadState(std::shared_ptr<CScriptChannel> channel)
        : engine(std::move(channel)), jobReady(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          jobDone(CreateEventW(nullptr, FALSE, FALSE, nullptr))
    {
    }
    CScriptEngine engine;
    Veneer::CScopedHandle jobReady;
    Veneer::CScopedHandle jobDone;
    CJob* job = nullptr;
    // Set by the UI thread when it gave the thread up: the thread then
    // leaves without touching the engine again.
    volatile LONG abandoned = 0;
};

CPageScript::CPageScript(IScriptChannelOwner* pOwner) : m_channel(std::make_shared<CScriptChannel>(pOwner)) {}

CPageScript::~CPageScript()
{
    m_channel->SetOwner(nullptr);
    m_bRunning = false;
    Finish();
}

DWORD WINAPI CPageScript::ThreadMain(void* pParam)
{
    std::unique_ptr<std::shared_ptr<CThreadState>> holder(
        static_cast<std::shared_ptr<CThreadState>*>(pParam));
    CThreadState& state = **holder;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool quit = false;
    while (!quit && WaitForSingleObject(state.jobReady.Get(), INFINITE) == WAIT_OBJECT_0)
    {
        CJob& job = *state.job;
        quit = job.kind == CJob::Kind::Close;
        if (job.kind == CJob::Kind::Start)
            job.hr = state.engine.Start();
        else if (job.kind == CJob::Kind::Run)
        {
            job.hr = state.engine.Run(*job.code, job.line);
            job.stopRequested = state.engine.StopRequested();
        }
        else
            state.engine.Close();
        quit = quit || InterlockedCompareExchange(&state.abandoned, 0, 0) != 0;
        SetEvent(state.jobDone.Get());
    }
    if (InterlockedCompareExchange(&state.abandoned, 0, 0) == 0)
        CoUninitialize();
    return 0;
}

bool CPageScript::Start()
{
    if (m_state)
        return !m_bStopped;
    m_state = std::make_shared<CThreadState>(m_channel);
    if (!m_channel->Open() || !m_state->jobReady.IsValid() || !m_state->jobDone.IsValid())
    {
        m_bStopped = true;
        return false;
    }
    std::shared_ptr<CThreadState>* pParam = new std::shared_ptr<CThreadState>(m_state);
    m_thread.Reset(CreateThread(nullptr, kScriptStack, &CPageScript::ThreadMain, pParam,
                                STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!m_thread.IsValid())
    {
        delete pParam;
        m_bStopped = true;
        return false;
    }
    CJob job;
    job.kind = CJob::Kind::Start;
    DWORD used = 0;
    if (!Submit(job, kStartLimitMs, used))
    {
        CHostModule::Report(L"the script engine did not start in time");
        Abandon();
        return false;
    }
    if (FAILED(job.hr))
    {
        CHostModule::Report(L"no script engine (JScript): 0x%08lX; the page's scripts do not run",
                            static_cast<unsigned long>(job.hr));
        m_bStopped = true;
    }
    return !m_bStopped;
}

CPageScript::Outcome CPageScript::Run(const std::wstring& code, unsigned long line, DWORD& budgetMs)
{
    if (m_bStopped || !m_state)
        return Outcome::Unavailable;
    if (m_bRunning)
        return Outcome::Busy;
    m_bRunning = true;
    CJob job;
    job.kind = CJob::Kind::Run;
    job.code = &code;
    job.line = line;
    DWORD used = 0;
    const bool finished = Submit(job, budgetMs, used);
    m_bRunning = false;
    budgetMs -= std::min(used, budgetMs);

    Outcome outcome = SUCCEEDED(job.hr) ? Outcome::Done : Outcome::Failed;
    if (!finished)
    {
        Abandon();
        outcome = Outcome::TimedOut;
    }
    else if (job.stopRequested)
    {
        // The container answered a script error with "stop running scripts".
        m_bStopped = true;
        outcome = Outcome::Failed;
    }
    if (m_bCloseRequested)
        Finish();
    return outcome;
}

bool CPageScript::Submit(CJob& job, DWORD budgetMs, DWORD& usedMs)
{
    m_state->job = &job;
    m_channel->TakeCallTime();
    ULONGLONG callTime = 0;
    const ULONGLONG start = GetTickCount64();
    SetEvent(m_state->jobReady.Get());
    const HANDLE done = m_state->jobDone.Get();
    // The event resets itself when a wait takes it: only the wait that
    // takes it ends the loop.
    for (;;)
    {
        ServeSentMessages();
        callTime += m_channel->TakeCallTime();
        const ULONGLONG elapsed = GetTickCount64() - start;
        const ULONGLONG spent = elapsed > callTime ? elapsed - callTime : 0;
        usedMs = static_cast<DWORD>(std::min<ULONGLONG>(spent, budgetMs));
        const DWORD left = spent >= budgetMs ? 0 : static_cast<DWORD>(budgetMs - spent);
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &done, left, QS_SENDMESSAGE, 0);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken == WAIT_TIMEOUT && left == 0)
            return false;
    }
}

// The script did not come back in time: no call of it is served any more,
// its thread is ended, and what it held of the page is released here.
void CPageScript::Abandon()
{
    m_bStopped = true;
    InterlockedExchange(&m_state->abandoned, 1);
    m_channel->Abandon();
    StopThread();
    m_state->engine.Abandon();
}

// Ends the script thread at a moment when it runs the engine's own code,
// so that it leaves no lock of the heap or the runtime taken. If no such
// moment comes, the thread is left at idle priority (and reported).
void CPageScript::StopThread()
{
    const HMODULE hEngine = GetModuleHandleW(L"jscript.dll");
    for (int attempt = 0; attempt < kStopAttempts; ++attempt)
    {
        if (WaitForSingleObject(m_thread.Get(), 0) == WAIT_OBJECT_0)
            return;
        if (SuspendThread(m_thread.Get()) == static_cast<DWORD>(-1))
            break;
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL;
        if (GetThreadContext(m_thread.Get(), &context) && InsideModule(hEngine, InstructionPointer(context)))
        {
            TerminateThread(m_thread.Get(), 1);
            WaitForSingleObject(m_thread.Get(), kCloseLimitMs);
            return;
        }
        ResumeThread(m_thread.Get());
        // A call the thread sent in the meantime is answered (refused), so
        // that it goes back into the engine.
        ServeSentMessages();
        Sleep(attempt % 10 == 9 ? 1 : 0);
    }
    SetThreadPriority(m_thread.Get(), THREAD_PRIORITY_IDLE);
    // Its code is the page host's: the DLL must stay loaded while it runs.
    CHostModule::LockServer(true);
    CHostModule::Report(L"the stopped script's thread could not be ended; it runs on at idle priority");
}

void CPageScript::Close()
{
    m_channel->SetOwner(nullptr);
    if (m_bRunning)
    {
        m_bCloseRequested = true;
        return;
    }
    Finish();
}

void CPageScript::Finish()
{
    m_bCloseRequested = false;
    if (m_state && m_thread.IsValid() && InterlockedCompareExchange(&m_state->abandoned, 0, 0) == 0)
    {
        CJob job;
        job.kind = CJob::Kind::Close;
        DWORD used = 0;
        if (!Submit(job, kCloseLimitMs, used))
            Abandon();
        WaitForSingleObject(m_thread.Get(), kCloseLimitMs);
    }
    m_thread.Reset(nullptr);
    m_channel->Shutdown();
    m_state.reset();
    m_bStopped = true;
}

} // namespace PageHost
