// What every other test relies on in the Wine prefix that the harness makes:
// the client's registry values, the platform folder, the fonts and a display.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <string>

namespace
{

std::wstring ReadRegistryText(const wchar_t* key, const wchar_t* value)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return L"<missing key>";
    wchar_t buffer[512] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    const LSTATUS status =
        RegQueryValueExW(hKey, value, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(hKey);
    return status == ERROR_SUCCESS ? std::wstring(buffer) : L"<missing value>";
}

} // namespace

TEST(WineHarness, RegistryHoldsTheClientValues)
{
    EXPECT_EQ(L"QM-HARNESS-USER", ReadRegistryText(L"Software\\Quillmarsh", L"UserID"));
    EXPECT_EQ(L"C:\\Quillmarsh\\Platform",
              ReadRegistryText(L"Software\\Quillmarsh\\platform", L"Installation"));
}

TEST(WineHarness, PlatformFolderAndCommonAppDataExist)
{
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"C:\\Quillmarsh\\Platform"));
    wchar_t common[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, common, CSIDL_COMMON_APPDATA, FALSE));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(common));
}

TEST(WineHarness, DisplayIsAvailableForWindows)
{
    EXPECT_EQ(1280, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(1024, GetSystemMetrics(SM_CYSCREEN));
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, hwnd);
    DestroyWindow(hwnd);
}

TEST(WineHarness, CjkFaceHasGlyphsForChineseText)
{
    // The skin's face name is replaced by an installed CJK font, so Chinese
    // text draws as glyphs rather than boxes.
    const wchar_t face[] = L"\u5FAE\u8F6F\u96C5\u9ED1";
    HDC hdc = GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, face);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(hdc, font);
    WORD glyphs[4] = {};
    const DWORD converted = GetGlyphIndicesW(hdc, face, 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(hdc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, hdc);
    ASSERT_EQ(4u, converted);
    for (WORD glyph : glyphs)
        EXPECT_NE(0xFFFF, glyph);
}
