#include "tools/pagehost/HostModule.h"

#include "tools/pagehost/SectionLock.h"

#include <cstdarg>
#include <cstdio>
#include <deque>

namespace PageHost
{

namespace
{

// The log keeps the latest lines only, so that a page that makes the host
// report in a loop cannot grow it without bound.
constexpr size_t kMaxLogLines = 256;
constexpr size_t kMaxLineChars = 512;

HINSTANCE g_hInstance = nullptr;
LONG g_lObjects = 0;
LONG g_lLocks = 0;

struct CMessageLog
{
    CCriticalSection lock;
    std::deque<std::wstring> lines;
};

CMessageLog& Log()
{
    static CMessageLog log;
    return log;
}

} // namespace

void CHostModule::SetInstance(HINSTANCE hInstance)
{
    g_hInstance = hInstance;
}

HINSTANCE CHostModule::Instance()
{
    return g_hInstance;
}

bool CHostModule::RegisterWindowClass(const wchar_t* pstrClassName, UINT style, HCURSOR hCursor)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(g_hInstance, pstrClassName, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = g_hInstance;
    wc.hCursor = hCursor;
    wc.lpszClassName = pstrClassName;
    return RegisterClassExW(&wc) != 0;
}

void CHostModule::ObjectCreated()
{
    InterlockedIncrement(&g_lObjects);
}

void CHostModule::ObjectDestroyed()
{
    InterlockedDecrement(&g_lObjects);
}

LONG CHostModule::LiveObjects()
{
    return InterlockedCompareExchange(&g_lObjects, 0, 0);
}

void CHostModule::LockServer(bool bLock)
{
    if (bLock)
        InterlockedIncrement(&g_lLocks);
    else
        InterlockedDecrement(&g_lLocks);
}

bool CHostModule::CanUnload()
{
    return LiveObjects() == 0 && InterlockedCompareExchange(&g_lLocks, 0, 0) <= 0;
}

void CHostModule::Report(const wchar_t* pstrFormat, ...)
{
    wchar_t line[kMaxLineChars] = {};
    va_list args;
    va_start(args, pstrFormat);
    _vsnwprintf(line, kMaxLineChars - 1, pstrFormat, args);
    va_end(args);

    std::wstring text = std::wstring(L"pagehost: ") + line;
    OutputDebugStringW((text + L"\n").c_str());
    fwprintf(stderr, L"%ls\n", text.c_str());
    CSectionLock lock(Log().lock);
    Log().lines.push_back(text);
    if (Log().lines.size() > kMaxLogLines)
        Log().lines.pop_front();
}

std::wstring CHostModule::MessageLog()
{
    CSectionLock lock(Log().lock);
    std::wstring text;
    for (const std::wstring& line : Log().lines)
        text += line + L"\n";
    return text;
}

void CHostModule::ClearMessageLog()
{
    CSectionLock lock(Log().lock);
    Log().lines.clear();
}

} // namespace PageHost
