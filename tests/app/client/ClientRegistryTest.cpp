// The client's registry values, as the harness sets them, and what the
// readers do when values are missing, unterminated or only readable.
#include "app/client/ClientRegistry.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

namespace
{

const wchar_t kClientKey[] = L"Software\\Quillmarsh";
const wchar_t kTestComponent[] = L"registrytest";

// A component key of the test's own, removed afterwards.
class TestComponentKey : public ::testing::Test
{
  protected:
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, Path().c_str()); }

    static std::wstring Path() { return std::wstring(kClientKey) + L"\\" + kTestComponent; }

    static bool SetInstallation(const void* bytes, DWORD size, const wchar_t* sddl = nullptr)
    {
        SECURITY_ATTRIBUTES security{};
        security.nLength = sizeof(security);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (sddl != nullptr && !ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                                     &descriptor, nullptr))
            return false;
        security.lpSecurityDescriptor = descriptor;
        HKEY key = nullptr;
        // The value is written through the creating handle, which keeps full
        // access whatever the new key's own rules allow.
        LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, Path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                         &security, &key, nullptr);
        LocalFree(descriptor);
        if (status != ERROR_SUCCESS)
            return false;
        status = RegSetValueExW(key, L"Installation", 0, REG_SZ, static_cast<const BYTE*>(bytes), size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
};

} // namespace

TEST(UserID, IsReadFromTheClientKey)
{
    std::string id = "stale";
    EXPECT_TRUE(GetUserID(id));
    EXPECT_EQ("QM-HARNESS-USER", id);
}

TEST(UserID, MissingValueYieldsFalseAndAnEmptyText)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClientKey, 0, KEY_ALL_ACCESS, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueW(key, L"UserID"));
    std::string id = "stale";
    const bool found = GetUserID(id);
    const wchar_t harnessUser[] = L"QM-HARNESS-USER";
    RegSetValueExW(key, L"UserID", 0, REG_SZ, reinterpret_cast<const BYTE*>(harnessUser),
                   sizeof(harnessUser));
    RegCloseKey(key);
    EXPECT_FALSE(found);
    EXPECT_EQ("", id);
}

TEST(InstallationPath, PlatformFolderIsRead)
{
    wchar_t folder[260] = {};
    DWORD size = sizeof(folder);
    EXPECT_TRUE(GetInstallationPath(L"platform", folder, &size));
    EXPECT_STREQ(L"C:\\Quillmarsh\\Platform", folder);
}

TEST(InstallationPath, MissingComponentYieldsFalse)
{
    wchar_t folder[260] = {};
    DWORD size = sizeof(folder);
    EXPECT_FALSE(GetInstallationPath(L"nosuchcomponent", folder, &size));
}

TEST_F(TestComponentKey, KeyThatMayOnlyBeReadStillGivesItsFolder)
{
    const wchar_t value[] = L"C:\\ReadOnly";
    // Everyone may read the key; nobody may change it.
    ASSERT_TRUE(SetInstallation(value, sizeof(value), L"D:P(A;;KR;;;WD)"));
    HKEY probe = nullptr;
    const LSTATUS allAccess = RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path().c_str(), 0, KEY_ALL_ACCESS, &probe);
    if (allAccess == ERROR_SUCCESS)
    {
        RegCloseKey(probe);
        // Wine grants an administrator every access whatever the key's rules.
        GTEST_SKIP() << "this system does not enforce the key's rules";
    }

    wchar_t folder[260] = {};
    DWORD size = sizeof(folder);
    EXPECT_TRUE(GetInstallationPath(kTestComponent, folder, &size));
    EXPECT_STREQ(value, folder);
}

TEST_F(TestComponentKey, UnterminatedValueIsTerminatedOrRefused)
{
    const std::wstring shortValue = L"C:\\Short";
    ASSERT_TRUE(SetInstallation(shortValue.data(), static_cast<DWORD>(shortValue.size() * sizeof(wchar_t))));
    wchar_t folder[260];
    wmemset(folder, L'#', 260);
    DWORD size = sizeof(folder);
    EXPECT_TRUE(GetInstallationPath(kTestComponent, folder, &size));
    EXPECT_EQ(shortValue, folder);

    const std::wstring fullValue(260, L'A');
    ASSERT_TRUE(SetInstallation(fullValue.data(), static_cast<DWORD>(fullValue.size() * sizeof(wchar_t))));
    size = sizeof(folder);
    EXPECT_FALSE(GetInstallationPath(kTestComponent, folder, &size));
}
