// regsvr32 puts the page host in place of the web browser class in the
// test prefix, CoCreateInstance then makes the page host's object, and
// regsvr32 /u brings back exactly what the prefix had before.
#include "TestContainer.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <exdisp.h>

using namespace PageHostTest;

namespace
{

const char kServerKey[] = "Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32";

// The values of the class's server key, or "" where there is none.
struct CServerKey
{
    bool exists = false;
    std::string server;
    std::string threadingModel;
    std::string saved;
};

std::string ReadValue(HKEY hKey, const char* name)
{
    char text[1024] = {};
    DWORD bytes = sizeof(text) - 1;
    DWORD type = 0;
    if (RegQueryValueExA(hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) != ERROR_SUCCESS)
        return std::string();
    return text;
}

CServerKey ReadServerKey()
{
    CServerKey key;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return key;
    key.exists = true;
    key.server = ReadValue(hKey, nullptr);
    key.threadingModel = ReadValue(hKey, "ThreadingModel");
    key.saved = ReadValue(hKey, "PageHostPreviousServer");
    RegCloseKey(hKey);
    return key;
}

long RunRegsvr32(const std::string& options)
{
    TestSupport::CChildProcess child;
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string dll = "\"" + TestSupport::BinFolder() + "\\pagehost.dll\"";
    if (!child.Start(std::string(system) + "\\regsvr32.exe", options + " " + dll))
        return -1;
    if (!child.Wait(kWaitMs))
    {
        child.Kill();
        return -1;
    }
    return static_cast<long>(child.ExitCode());
}

// Unregisters at the end of the test whatever happened in it.
class CUnregisterAtEnd
{
  public:
    CUnregisterAtEnd() = default;
    CUnregisterAtEnd(const CUnregisterAtEnd&) = delete;
    CUnregisterAtEnd& operator=(const CUnregisterAtEnd&) = delete;
    ~CUnregisterAtEnd() { RunRegsvr32("/s /u"); }
};

bool SameText(const std::string& a, const std::string& b)
{
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

TEST(PageHostRegistration, Regsvr32ReplacesTheBrowserClassAndUnregistrationBringsItBack)
{
    CoInitialize(nullptr);
    CPageHostModule module;
    ASSERT_TRUE(module.Loaded());
    const CServerKey before = ReadServerKey();
    ASSERT_FALSE(SameText(before.server, TestSupport::BinFolder() + "\\pagehost.dll"))
        << "left registered by an earlier run";
    // Wine registers its own browser, which must come back.
    EXPECT_NE(before.server.find("ieframe.dll"), std::string::npos) << before.server;
    CUnregisterAtEnd unregister;

    // Twice: a second registration must not take the first for the old one.
    ASSERT_EQ(RunRegsvr32("/s"), 0);
    ASSERT_EQ(RunRegsvr32("/s"), 0);
    const CServerKey registered = ReadServerKey();
    EXPECT_TRUE(SameText(registered.server, TestSupport::BinFolder() + "\\pagehost.dll"))
        << registered.server;
    EXPECT_EQ(registered.threadingModel, "Apartment");
    EXPECT_EQ(registered.saved, before.server);

    {
        Microsoft::WRL::ComPtr<IOleControl> control;
        ASSERT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_ALL, IID_IOleControl, &control), S_OK);
        EXPECT_GT(module.LiveObjects(), 0) << "the object is not the page host's";
        Microsoft::WRL::ComPtr<IWebBrowser2> browser;
        EXPECT_EQ(control.As(&browser), S_OK);
    }
    EXPECT_EQ(module.LiveObjects(), 0);

    ASSERT_EQ(RunRegsvr32("/s /u"), 0);
    const CServerKey after = ReadServerKey();
    EXPECT_EQ(after.exists, before.exists);
    EXPECT_EQ(after.server, before.server);
    EXPECT_EQ(after.threadingModel, before.threadingModel);
    EXPECT_EQ(after.saved, "");

    // The prefix's own browser class again, not the page host; and the page
    // host reports the same misc status as it.
    Microsoft::WRL::ComPtr<IOleObject> real;
    ASSERT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_ALL, IID_IOleObject, &real), S_OK);
    EXPECT_EQ(module.LiveObjects(), 0);
    Microsoft::WRL::ComPtr<IOleObject> standIn;
    ASSERT_EQ(module.CreateBrowser(IID_IOleObject, &standIn), S_OK);
    DWORD realStatus = 0;
    DWORD standInStatus = 0;
    EXPECT_EQ(real->GetMiscStatus(DVASPECT_CONTENT, &realStatus), S_OK);
    EXPECT_EQ(standIn->GetMiscStatus(DVASPECT_CONTENT, &standInStatus), S_OK);
    EXPECT_EQ(standInStatus, realStatus);
}
