#pragma once

// Holders for what a scope opens besides kernel handles (those go in
// CScopedHandle): C runtime streams, registry keys, BSTRs and critical
// sections. Each releases what it holds on every way out of its scope.
#include <windows.h>

#include <oleauto.h>

#include <cstdio>

namespace Veneer
{

// Closes a C runtime stream when the scope ends. Close() closes it early and
// tells whether the buffered writes reached the file.
class CScopedFile
{
  public:
    explicit CScopedFile(FILE* file = nullptr) : m_file(file) {}
    CScopedFile(const CScopedFile&) = delete;
    CScopedFile& operator=(const CScopedFile&) = delete;
    ~CScopedFile() { Close(); }

    FILE* Get() const { return m_file; }
    bool IsOpen() const { return m_file != nullptr; }

    // False when nothing was open or the stream could not be flushed.
    bool Close()
    {
        if (m_file == nullptr)
            return false;
        const bool closed = fclose(m_file) == 0;
        m_file = nullptr;
        return closed;
    }

  private:
    FILE* m_file;
};

// Closes a registry key opened into Receive().
class CScopedRegKey
{
  public:
    CScopedRegKey() = default;
    CScopedRegKey(const CScopedRegKey&) = delete;
    CScopedRegKey& operator=(const CScopedRegKey&) = delete;
    ~CScopedRegKey()
    {
        if (m_hKey != nullptr)
            ::RegCloseKey(m_hKey);
    }

    // Where RegOpenKeyEx stores the key; a key held already is closed first.
    HKEY* Receive()
    {
        if (m_hKey != nullptr)
            ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
        return &m_hKey;
    }
    HKEY Get() const { return m_hKey; }

  private:
    HKEY m_hKey = nullptr;
};

// Frees a BSTR (null is allowed) when the scope ends.
class CScopedBstr
{
  public:
    explicit CScopedBstr(BSTR text) : m_bstr(text) {}
    CScopedBstr(const CScopedBstr&) = delete;
    CScopedBstr& operator=(const CScopedBstr&) = delete;
    ~CScopedBstr() { ::SysFreeString(m_bstr); }

    BSTR Get() const { return m_bstr; }

  private:
    BSTR m_bstr;
};

// A critical section for the life of its owner. Like every critical
// section it is recursive: the thread that holds it may enter again.
class CCriticalSection
{
  public:
    CCriticalSection() { ::InitializeCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    ~CCriticalSection() { ::DeleteCriticalSection(&m_section); }

    void Enter() { ::EnterCriticalSection(&m_section); }
    void Leave() { ::LeaveCriticalSection(&m_section); }

  private:
    CRITICAL_SECTION m_section;
};

// Holds a critical section from construction to the end of the scope.
class CCriticalSectionLock
{
  public:
    explicit CCriticalSectionLock(CCriticalSection& section) : m_section(section) { m_section.Enter(); }
    CCriticalSectionLock(const CCriticalSectionLock&) = delete;
    CCriticalSectionLock& operator=(const CCriticalSectionLock&) = delete;
    ~CCriticalSectionLock() { m_section.Leave(); }

  private:
    CCriticalSection& m_section;
};

} // namespace Veneer
