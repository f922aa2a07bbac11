#pragma once

#include <windows.h>

#include <string>

namespace PageHost
{

// The page host's class registration under HKLM\Software\Classes (Wine
// does not read HKCU\Software\Classes), in place of the web browser class's
// own: what was there is kept in values of the page host's and put back on
// unregistration, so that the real browser returns; what the page host
// created alone is removed again.
class CClassRegistration
{
  public:
    static HRESULT Register(const std::wstring& modulePath);
    static HRESULT Unregister(const std::wstring& modulePath);
};

} // namespace PageHost
