#pragma once

#include <windows.h>

namespace Veneer
{

// Closes a kernel handle (a file, process, snapshot, event ...) when the
// scope ends. Null and INVALID_HANDLE_VALUE, the two failure values of the
// creating calls, are left alone.
class CScopedHandle
{
  public:
    explicit CScopedHandle(HANDLE handle = nullptr) : m_handle(handle) {}
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    ~CScopedHandle() { Reset(nullptr); }

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }

    void Reset(HANDLE handle)
    {
        if (IsValid())
            ::CloseHandle(m_handle);
        m_handle = handle;
    }

    HANDLE Release()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

  private:
    HANDLE m_handle;
};

} // namespace Veneer
