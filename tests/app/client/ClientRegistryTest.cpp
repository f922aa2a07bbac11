// The client's registry values, as the harness sets them, and what the
// readers do when values are missing, unterminated or only readable.
#include "app/client/ClientRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace Qlm;

namespace
{

const wchar_t kClientKey[] = L"Software\\Quillmarsh";
const wchar_t kTestComponent[] = L"registrytest";

// Points every import slot of this program that holds `original` (calls
// into a system DLL) at `replacement`, for the length of the scope.
class CImportPatch
{
  public:
    CImportPatch(ULONG_PTR original, ULONG_PTR replacement)
    {
        BYTE* const image = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const IMAGE_NT_HEADERS* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            image + reinterpret_cast<IMAGE_DOS_HEADER*>(image)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports =
            headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (const IMAGE_IMPORT_DESCRIPTOR* dll =
                 reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image + imports.VirtualAddress);
             original != 0 && dll->Name != 0; ++dll)
        {
            for (ULONG_PTR* slot = reinterpret_cast<ULONG_PTR*>(image + dll->FirstThunk); *slot != 0; ++slot)
            {
                if (*slot == original && Write(slot, replacement))
                    patched.emplace_back(slot, original);
            }
        }
    }
    CImportPatch(const CImportPatch&) = delete;
    CImportPatch& operator=(const CImportPatch&) = delete;
    ~CImportPatch()
    {
        for (const std::pair<ULONG_PTR*, ULONG_PTR>& slot : patched)
            Write(slot.first, slot.second);
    }
    bool Applied() const { return !patched.empty(); }

  private:
    static bool Write(ULONG_PTR* slot, ULONG_PTR value)
    {
        DWORD protection = 0;
        if (!VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection))
            return false;
        *slot = value;
        VirtualProtect(slot, sizeof(*slot), protection, &protection);
        return true;
    }

    std::vector<std::pair<ULONG_PTR*, ULONG_PTR>> patched;
};

// The registry as a key that everyone may read and nobody may change: an
// open under "Software\Quillmarsh" that asks for more than reading is
// refused, as the system refuses it for such a key.
class CReadOnlyRegistry
{
  public:
    CReadOnlyRegistry()
        : wide(Original("RegOpenKeyExW"), reinterpret_cast<ULONG_PTR>(OpenWide)),
          narrow(Original("RegOpenKeyExA"), reinterpret_cast<ULONG_PTR>(OpenNarrow))
    {
        opens = refusals = 0;
    }
    bool Applied() const { return wide.Applied() && narrow.Applied(); }
    size_t Opens() const { return opens; }
    size_t Refusals() const { return refusals; }

  private:
    static ULONG_PTR Original(const char* name)
    {
        return reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), name));
    }

    static bool Allowed(REGSAM rights)
    {
        ++opens;
        const REGSAM beyondReading = rights & ~(KEY_READ | KEY_WOW64_64KEY | KEY_WOW64_32KEY);
        if (beyondReading != 0)
            ++refusals;
        return beyondReading == 0;
    }

    static LSTATUS APIENTRY OpenWide(HKEY root, LPCWSTR subKey, DWORD options, REGSAM rights, PHKEY key)
    {
        if (!Allowed(rights))
            return ERROR_ACCESS_DENIED;
        using Open = LSTATUS(APIENTRY*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
        return reinterpret_cast<Open>(Original("RegOpenKeyExW"))(root, subKey, options, rights, key);
    }

    static LSTATUS APIENTRY OpenNarrow(HKEY root, LPCSTR subKey, DWORD options, REGSAM rights, PHKEY key)
    {
        if (!Allowed(rights))
            return ERROR_ACCESS_DENIED;
        using Open = LSTATUS(APIENTRY*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
        return reinterpret_cast<Open>(Original("RegOpenKeyExA"))(root, subKey, options, rights, key);
    }

    static size_t opens;
    static size_t refusals;
    CImportPatch wide;
    CImportPatch narrow;
};

size_t CReadOnlyRegistry::opens = 0;
size_t CReadOnlyRegistry::refusals = 0;

// A component key of the test's own, removed afterwards.
class TestComponentKey : public ::testing::Test
{
  protected:
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, Path().c_str()); }

    static std::wstring Path() { return std::wstring(kClientKey) + L"\\" + kTestComponent; }

    static bool SetInstallation(const void* bytes, DWORD size)
    {
        HKEY key = nullptr;
        LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, Path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                         nullptr, &key, nullptr);
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

TEST_F(TestComponentKey, KeysThatMayOnlyBeReadStillGiveTheirValues)
{
    // Wine grants every right on every key whatever its rules, so the rules
    // of a key that everyone may read and nobody may change are applied
    // here, at the program's calls into the registry.
    const wchar_t value[] = L"C:\\ReadOnly";
    ASSERT_TRUE(SetInstallation(value, sizeof(value)));
    CReadOnlyRegistry readOnly;
    ASSERT_TRUE(readOnly.Applied());

    wchar_t folder[260] = {};
    DWORD size = sizeof(folder);
    EXPECT_TRUE(GetInstallationPath(kTestComponent, folder, &size));
    EXPECT_STREQ(value, folder);
    std::string id;
    EXPECT_TRUE(GetUserID(id));
    EXPECT_EQ("QM-HARNESS-USER", id);
    EXPECT_EQ(2u, readOnly.Opens());
    EXPECT_EQ(0u, readOnly.Refusals());
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
