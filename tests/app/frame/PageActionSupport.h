#pragma once

// What the page action tests share: arguments as the browser passes them,
// the client log, the platform's registry value, the client configuration
// file and the reports that reach the service stand-in.
#include "tests/support/TestSupport.h"

#include <windows.h>

#include <json/value.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace PageActionSupport
{

// Script values in the page's order; freed with the list.
class CArgs
{
  public:
    CArgs() = default;
    CArgs(const CArgs&) = delete;
    CArgs& operator=(const CArgs&) = delete;
    ~CArgs();

    CArgs& Str(const std::wstring& text);
    CArgs& NullStr();
    CArgs& Int(LONG value);
    const std::vector<VARIANT>& Get() const { return values; }

  private:
    VARIANT& Add(VARTYPE type);

    std::vector<VARIANT> values;
};

// The text in code page 936, from its UTF-8 form.
std::string Gbk(const char* utf8);

// The messages of the tag "QLMNews" that the client log gained since a
// given size, without their header.
size_t ClientLogSize();
std::vector<std::string> ClientLogMessagesFrom(size_t offset);

// The "DATAS" of every report the service stand-in received, in order.
std::vector<Json::Value> ReceivedReports(const TestSupport::CServiceStandIn& service);

// The registry's "Installation" value of the platform, put back as found at
// the end of the scope.
class CPlatformRegistration
{
  public:
    CPlatformRegistration();
    CPlatformRegistration(const CPlatformRegistration&) = delete;
    CPlatformRegistration& operator=(const CPlatformRegistration&) = delete;
    ~CPlatformRegistration();

    bool Set(const std::wstring& folder);
    bool Remove();

  private:
    std::wstring saved;
    bool existed = false;
};

// "data.xml" as it was, put back at the end of the scope.
class CConfigFileBackup
{
  public:
    CConfigFileBackup();
    CConfigFileBackup(const CConfigFileBackup&) = delete;
    CConfigFileBackup& operator=(const CConfigFileBackup&) = delete;
    ~CConfigFileBackup();

    static std::string Path();

  private:
    std::string saved;
    bool existed = false;
};

} // namespace PageActionSupport
