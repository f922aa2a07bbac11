#include "tools/pagehost/ClassRegistration.h"

#include "tools/pagehost/HostModule.h"

#include <olectl.h>

#include <vector>

namespace PageHost
{

namespace
{

constexpr wchar_t kClassKey[] = L"Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}";
constexpr wchar_t kServerKey[] = L"InprocServer32";
constexpr wchar_t kThreadingModel[] = L"ThreadingModel";
constexpr wchar_t kSavedServer[] = L"PageHostPreviousServer";
constexpr wchar_t kSavedThreadingModel[] = L"PageHostPreviousThreadingModel";
// Which keys the page host created: kCreatedClassKey | kCreatedServerKey.
constexpr wchar_t kCreatedKeys[] = L"PageHostCreatedKeys";
constexpr DWORD kCreatedClassKey = 1;
constexpr DWORD kCreatedServerKey = 2;

class CScopedKey
{
  public:
    CScopedKey() = default;
    CScopedKey(const CScopedKey&) = delete;
    CScopedKey& operator=(const CScopedKey&) = delete;
    ~CScopedKey() { Close(); }
    void Close()
    {
        if (m_hKey != nullptr)
            RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    HKEY* Out() { return &m_hKey; }
    HKEY Get() const { return m_hKey; }

  private:
    HKEY m_hKey = nullptr;
};

bool ReadText(HKEY hKey, const wchar_t* pstrName, std::wstring& text)
{
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(hKey, pstrName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(hKey, pstrName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS)
        return false;
    text = buffer.data();
    return true;
}

LONG WriteText(HKEY hKey, const wchar_t* pstrName, const std::wstring& text)
{
    return RegSetValueExW(hKey, pstrName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

DWORD ReadNumber(HKEY hKey, const wchar_t* pstrName)
{
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    DWORD type = 0;
    if (RegQueryValueExW(hKey, pstrName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    return value;
}

bool IsOurs(HKEY hServer, const std::wstring& modulePath)
{
    std::wstring current;
    return ReadText(hServer, nullptr, current) && _wcsicmp(current.c_str(), modulePath.c_str()) == 0;
}

// The registration found before the page host's own, kept to be restored.
void SavePrevious(HKEY hServer, const std::wstring& modulePath, DWORD created)
{
    if (IsOurs(hServer, modulePath))
        return;
    std::wstring previous;
    if (ReadText(hServer, nullptr, previous))
    {
        WriteText(hServer, kSavedServer, previous);
        std::wstring model;
        if (ReadText(hServer, kThreadingModel, model))
            WriteText(hServer, kSavedThreadingModel, model);
    }
    RegSetValueExW(hServer, kCreatedKeys, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&created),
                   sizeof(created));
}

void RestorePrevious(HKEY hServer)
{
    std::wstring previous;
    std::wstring model;
    if (ReadText(hServer, kSavedServer, previous))
        WriteText(hServer, nullptr, previous);
    else
        RegDeleteValueW(hServer, nullptr);
    if (ReadText(hServer, kSavedThreadingModel, model))
        WriteText(hServer, kThreadingModel, model);
    else
        RegDeleteValueW(hServer, kThreadingModel);
    RegDeleteValueW(hServer, kSavedServer);
    RegDeleteValueW(hServer, kSavedThreadingModel);
    RegDeleteValueW(hServer, kCreatedKeys);
}

} // namespace

HRESULT CClassRegistration::Register(const std::wstring& modulePath)
{
    CScopedKey classKey;
    CScopedKey serverKey;
    DWORD classDisposition = 0;
    DWORD serverDisposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kClassKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, classKey.Out(),
                        &classDisposition) != ERROR_SUCCESS ||
        RegCreateKeyExW(classKey.Get(), kServerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, serverKey.Out(),
                        &serverDisposition) != ERROR_SUCCESS)
    {
        CHostModule::Report(L"registration failed: the class key cannot be written");
        return SELFREG_E_CLASS;
    }
    const DWORD created = (classDisposition == REG_CREATED_NEW_KEY ? kCreatedClassKey : 0) |
                          (serverDisposition == REG_CREATED_NEW_KEY ? kCreatedServerKey : 0);
    SavePrevious(serverKey.Get(), modulePath, created);
    if (WriteText(serverKey.Get(), nullptr, modulePath) != ERROR_SUCCESS ||
        WriteText(serverKey.Get(), kThreadingModel, L"Apartment") != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT CClassRegistration::Unregister(const std::wstring& modulePath)
{
    CScopedKey classKey;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClassKey, 0, KEY_ALL_ACCESS, classKey.Out()) != ERROR_SUCCESS)
        return S_OK;
    DWORD created = 0;
    {
        CScopedKey serverKey;
        if (RegOpenKeyExW(classKey.Get(), kServerKey, 0, KEY_ALL_ACCESS, serverKey.Out()) != ERROR_SUCCESS)
            return S_OK;
        // Another server registered since: not ours to remove.
        if (!IsOurs(serverKey.Get(), modulePath))
        {
            CHostModule::Report(
                L"unregistration: the class is not registered to this page host; left as it is");
            return S_OK;
        }
        created = ReadNumber(serverKey.Get(), kCreatedKeys);
        RestorePrevious(serverKey.Get());
    }
    if (created & kCreatedServerKey)
        RegDeleteKeyW(classKey.Get(), kServerKey);
    if (created & kCreatedClassKey)
    {
        classKey.Close();
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kClassKey);
    }
    return S_OK;
}

} // namespace PageHost
