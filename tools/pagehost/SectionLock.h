#pragma once

#include <windows.h>

namespace PageHost
{

// A critical section that lives as long as its owner, for state that the
// UI thread and the script thread (or any thread that logs) share.
class CCriticalSection
{
  public:
    CCriticalSection() { InitializeCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    ~CCriticalSection() { DeleteCriticalSection(&m_section); }

    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }

  private:
    CRITICAL_SECTION m_section;
};

// Holds a critical section entered for the length of a scope.
class CSectionLock
{
  public:
    explicit CSectionLock(CCriticalSection& section) : m_section(section) { m_section.Enter(); }
    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;
    ~CSectionLock() { m_section.Leave(); }

  private:
    CCriticalSection& m_section;
};

} // namespace PageHost
