#pragma once

#include <windows.h>

// Closes a kernel handle (null and INVALID_HANDLE_VALUE are left alone) when
// the scope ends; for the stand-in tools.
class CHandleHolder
{
  public:
    explicit CHandleHolder(HANDLE handle) : handle(handle) {}
    CHandleHolder(const CHandleHolder&) = delete;
    CHandleHolder& operator=(const CHandleHolder&) = delete;
    ~CHandleHolder()
    {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    HANDLE Get() const { return handle; }

  private:
    HANDLE handle;
};
