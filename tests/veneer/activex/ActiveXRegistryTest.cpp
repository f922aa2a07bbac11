#include "ActiveXTestSupport.h"

#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;
using namespace TestControls;

namespace Veneer
{

namespace
{

// A class registered in the prefix's machine classes (Wine reads no user
// classes) for the life of the object: its server and its program id.
class CRegisteredClass
{
  public:
    CRegisteredClass(LPCWSTR pszClsid, LPCWSTR pszProgId, const std::wstring& server)
        : m_clsidKey(std::wstring(L"Software\\Classes\\CLSID\\") + pszClsid),
          m_progIdKey(std::wstring(L"Software\\Classes\\") + pszProgId)
    {
        m_bOk = SetText(m_clsidKey + L"\\InprocServer32", nullptr, server) &&
                SetText(m_clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                SetText(m_progIdKey + L"\\CLSID", nullptr, pszClsid);
    }
    ~CRegisteredClass()
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_clsidKey.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_clsidKey.c_str());
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_progIdKey.c_str());
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, m_progIdKey.c_str());
    }
    CRegisteredClass(const CRegisteredClass&) = delete;
    CRegisteredClass& operator=(const CRegisteredClass&) = delete;
    bool Ok() const { return m_bOk; }

  private:
    static bool SetText(const std::wstring& key, LPCWSTR pszName, const std::wstring& value)
    {
        HKEY hKey = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                              nullptr) != ERROR_SUCCESS)
            return false;
        const LONG lResult =
            ::RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS;
    }

    std::wstring m_clsidKey;
    std::wstring m_progIdKey;
    bool m_bOk = false;
};

} // namespace

class ActiveXRegistryTest : public ActiveXFixture
{
};

// Without a module name the control comes from its registration, named by
// class id or by program id; each kind activates as it does from a module.
TEST_F(ActiveXRegistryTest, CreatesRegisteredControlsByClassIdAndProgramId)
{
    const CRegisteredClass windowless(kWindowlessClsidText, kWindowlessProgId, m_windowless.Path());
    const CRegisteredClass windowed(kWindowedClsidText, kWindowedProgId, m_windowed.Path());
    ASSERT_TRUE(windowless.Ok());
    ASSERT_TRUE(windowed.Ok());
    struct
    {
        LPCWSTR name;
        const CTestControlModule* pModule;
        LONG bWindowless;
    } const kCases[] = {
        {kWindowlessClsidText, &m_windowless, 1},
        {kWindowlessProgId, &m_windowless, 1},
        {kWindowedClsidText, &m_windowed, 0},
        {kWindowedProgId, &m_windowed, 0},
    };
    for (const auto& entry : kCases)
    {
        entry.pModule->ClearRecord();
        CActiveXUI* pHost = AddHost({{L"clsid", entry.name}});
        ASSERT_TRUE(PumpUntil([this] { return !::GetUpdateRect(Hwnd(), nullptr, FALSE); }));
        ComPtr<IOleObject> pObject;
        EXPECT_EQ(pHost->GetControl(IID_PPV_ARGS(&pObject)), S_OK) << entry.name;
        EXPECT_EQ(entry.pModule->State().nLiveObjects, 1) << entry.name;
        EXPECT_EQ(entry.pModule->State().bWindowless, entry.bWindowless) << entry.name;
        EXPECT_EQ(entry.pModule->State().nInPlaceActivations, 1) << entry.name;
        pObject.Reset();
        m_pRoot->RemoveAll();
        EXPECT_EQ(entry.pModule->State().nLiveObjects, 0) << entry.name;
    }
}

} // namespace Veneer
