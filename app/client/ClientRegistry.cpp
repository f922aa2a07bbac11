#include "app/client/ClientRegistry.h"

#include "veneer/core/ScopedHolders.h"

#include <cwchar>

namespace Qlm
{

namespace
{

const char kClientKeyA[] = "Software\\Quillmarsh";
const wchar_t kClientKeyW[] = L"Software\\Quillmarsh";
constexpr DWORD kUserIdBufferSize = 1024;

} // namespace

bool GetUserID(std::string& out)
{
    out.clear();
    Veneer::CScopedRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClientKeyA, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    char buffer[kUserIdBufferSize] = {};
    DWORD size = kUserIdBufferSize;
    if (RegQueryValueExA(key.Get(), "UserID", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    // A value that fills the buffer carries no terminator; the returned size
    // bounds the text.
    out.assign(buffer, strnlen(buffer, size));
    return true;
}

bool GetInstallationPath(const wchar_t* component, wchar_t* buffer, DWORD* size)
{
    const std::wstring path = std::wstring(kClientKeyW) + L"\\" + component;
    Veneer::CScopedRegKey key;
    // Reading needs read access only: asking for all access would fail for
    // every user who may not change the key, although the value is readable.
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    const DWORD capacity = *size;
    if (RegQueryValueExW(key.Get(), L"Installation", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                         size) != ERROR_SUCCESS)
        return false;
    // A string value may be stored without its terminator. Callers append to
    // the folder, so one is added where there is room, and a value that
    // fills the whole buffer is refused rather than read past its end.
    const size_t stored = *size / sizeof(wchar_t);
    if (wcsnlen(buffer, stored) < stored)
        return true;
    if (stored >= capacity / sizeof(wchar_t))
        return false;
    buffer[stored] = L'\0';
    return true;
}

} // namespace Qlm
