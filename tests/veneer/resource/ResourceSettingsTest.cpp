#include "veneer/manager/PaintManagerUI.h"

#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace Veneer;

namespace
{

// The settings are process-wide: every test leaves them as it found them.
class ResourceSettings : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
        CPaintManagerUI::SetInstance(nullptr);
        CPaintManagerUI::SetResourceDll(nullptr);
    }
};

bool HasMember(HZIP hz, const wchar_t* name)
{
    int index = -1;
    ZIPENTRY ze{};
    return FindZipItem(hz, name, true, &index, &ze) == ZR_OK;
}

} // namespace

TEST_F(ResourceSettings, ResourcePathEndsWithASeparatorUnlessEmpty)
{
    CPaintManagerUI::SetResourcePath(L"C:\\skins\\blue");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"C:\\skins\\blue\\");
    CPaintManagerUI::SetResourcePath(L"skins/blue/");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"skins/blue/");
    CPaintManagerUI::SetResourcePath(L"skins\\");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"skins\\");
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"");
    CPaintManagerUI::SetResourcePath(nullptr);
    EXPECT_STREQ(CPaintManagerUI::GetResourcePath(), L"");
}

TEST_F(ResourceSettings, InstancePathAndResourceModule)
{
    EXPECT_STREQ(CPaintManagerUI::GetInstancePath(), L"");
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), nullptr);

    HINSTANCE hExe = GetModuleHandleW(nullptr);
    CPaintManagerUI::SetInstance(hExe);
    EXPECT_EQ(CPaintManagerUI::GetInstance(), hExe);
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), hExe);
    wchar_t szModule[MAX_PATH] = {};
    GetModuleFileNameW(hExe, szModule, MAX_PATH);
    const std::wstring module(szModule);
    const std::wstring folder = module.substr(0, module.rfind(L'\\') + 1);
    EXPECT_EQ(std::wstring(CPaintManagerUI::GetInstancePath()), folder);

    HINSTANCE hKernel = GetModuleHandleW(L"kernel32.dll");
    CPaintManagerUI::SetResourceDll(hKernel);
    EXPECT_EQ(CPaintManagerUI::GetResourceDll(), hKernel);
}

TEST_F(ResourceSettings, CurrentPathFollowsTheProcessDirectory)
{
    const CUiString original = CPaintManagerUI::GetCurrentPath();
    ASSERT_FALSE(original.IsEmpty());
    CreateDirectoryW(L"settings_cwd", nullptr);
    CPaintManagerUI::SetCurrentPath(L"settings_cwd");
    const std::wstring now(CPaintManagerUI::GetCurrentPath());
    EXPECT_EQ(now, std::wstring(original) + L"\\settings_cwd");
    CPaintManagerUI::SetCurrentPath(original);
    EXPECT_STREQ(CPaintManagerUI::GetCurrentPath(), original);
    RemoveDirectoryW(L"settings_cwd");
}

TEST_F(ResourceSettings, TheFirstArchiveFromMemoryStays)
{
    const ZipLayout first = ZipBuilder().Add("first.xml", "<First/>").Build();
    const ZipLayout second = ZipBuilder().Add("second.xml", "<Second/>").Build();
    CPaintManagerUI::SetResourceZip(first.bytes.data(), static_cast<unsigned>(first.bytes.size()));
    EXPECT_STREQ(CPaintManagerUI::GetResourceZip(), L"membuffer");
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_TRUE(CPaintManagerUI::IsResourceZipInMemory());
    HZIP hz = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(hz, nullptr);

    CPaintManagerUI::SetResourceZip(second.bytes.data(), static_cast<unsigned>(second.bytes.size()));
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), hz);
    EXPECT_TRUE(HasMember(hz, L"first.xml"));
    EXPECT_FALSE(HasMember(hz, L"second.xml"));

    // Switching to no archive closes the cached one.
    CPaintManagerUI::SetResourceZip(L"", false);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_FALSE(CPaintManagerUI::IsResourceZipInMemory());
    EXPECT_TRUE(CPaintManagerUI::GetResourceZip().IsEmpty());
}

TEST_F(ResourceSettings, ArchiveFileUnderTheResourcePath)
{
    CreateDirectoryW(L"settings_skin", nullptr);
    const ZipLayout z = ZipBuilder().Add("Window.xml", "<Window/>").Build();
    {
        std::ofstream f("settings_skin\\skin.zip", std::ios::binary);
        f.write(reinterpret_cast<const char*>(z.bytes.data()), static_cast<std::streamsize>(z.bytes.size()));
    }
    CPaintManagerUI::SetResourcePath(L"settings_skin");

    // Uncached: nothing is opened until a load needs it.
    CPaintManagerUI::SetResourceZip(L"skin.zip");
    EXPECT_STREQ(CPaintManagerUI::GetResourceZip(), L"skin.zip");
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);

    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    EXPECT_FALSE(CPaintManagerUI::IsResourceZipInMemory());
    HZIP hz = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_NE(hz, nullptr);
    EXPECT_TRUE(HasMember(hz, L"window.xml"));
    // The same setting again keeps the open archive.
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), hz);

    CPaintManagerUI::SetResourceZip(L"missing.zip", true);
    EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());

    CPaintManagerUI::SetResourceZip(L"", false);
    DeleteFileW(L"settings_skin\\skin.zip");
    RemoveDirectoryW(L"settings_skin");
}
