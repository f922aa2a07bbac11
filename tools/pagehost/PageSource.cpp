#include "tools/pagehost/PageSource.h"

#include "tools/pagehost/PageHostApi.h"
#include "veneer/core/ScopedHandle.h"

#include <shlwapi.h>

#include <cwchar>

namespace PageHost
{

namespace
{

bool IsDrivePath(const std::wstring& address)
{
    return address.size() >= 3 && iswalpha(address[0]) && address[1] == L':' &&
           (address[2] == L'\\' || address[2] == L'/');
}

bool IsUncPath(const std::wstring& address)
{
    return address.size() > 2 && address[0] == L'\\' && address[1] == L'\\';
}

std::wstring Widen(const std::string& bytes, UINT codePage, DWORD flags)
{
    if (bytes.empty())
        return std::wstring();
    const int count =
        MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (count <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), &text[0], count);
    return text;
}

} // namespace

CPageSource::Kind CPageSource::Resolve(const std::wstring& address, std::wstring& path)
{
    path.clear();
    if (_wcsicmp(address.c_str(), L"about:blank") == 0)
        return Kind::Blank;
    if (_wcsnicmp(address.c_str(), L"file:", 5) == 0)
    {
        wchar_t local[MAX_PATH * 4] = {};
        DWORD length = MAX_PATH * 4;
        if (FAILED(PathCreateFromUrlW(address.c_str(), local, &length, 0)))
            return Kind::Unsupported;
        path = local;
        return Kind::File;
    }
    if (IsDrivePath(address) || IsUncPath(address))
    {
        path = address;
        return Kind::File;
    }
    return Kind::Unsupported;
}

LONG CPageSource::Load(const std::wstring& address, std::wstring& text, std::wstring& problem)
{
    text.clear();
    problem.clear();
    std::wstring path;
    switch (Resolve(address, path))
    {
    case Kind::Blank:
        return S_OK;
    case Kind::Unsupported:
        problem = address.empty() ? L"an empty address" : L"only about:blank and local files are loaded";
        return address.empty() ? kStatusInvalidUrl : kStatusNotFound;
    case Kind::File:
        break;
    }
    std::string bytes;
    const LONG status = ReadCapped(path, bytes, problem);
    if (status == S_OK)
        text = Decode(bytes);
    return status;
}

LONG CPageSource::ReadCapped(const std::wstring& path, std::string& bytes, std::wstring& problem)
{
    Veneer::CScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
    {
        problem = L"the file cannot be opened (error " + std::to_wstring(GetLastError()) + L")";
        return kStatusNotFound;
    }
    // One byte more than the limit tells a page at the limit from a larger
    // one without reading the rest of it.
    bytes.resize(kMaxPageBytes + 1);
    DWORD total = 0;
    DWORD got = 0;
    while (total < bytes.size() &&
           ReadFile(file.Get(), &bytes[total], static_cast<DWORD>(bytes.size()) - total, &got, nullptr) &&
           got > 0)
        total += got;
    bytes.resize(total);
    if (total > kMaxPageBytes)
    {
        LARGE_INTEGER size{};
        GetFileSizeEx(file.Get(), &size);
        problem = L"refused: the page has " + std::to_wstring(size.QuadPart) + L" bytes, more than the " +
                  std::to_wstring(kMaxPageBytes) + L" the host reads";
        bytes.clear();
        return kStatusRefused;
    }
    return S_OK;
}

std::wstring CPageSource::Decode(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE)
    {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        if (!text.empty())
            memcpy(&text[0], bytes.data() + 2, text.size() * sizeof(wchar_t));
        return text;
    }
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return Widen(bytes.substr(3), CP_UTF8, 0);
    const std::wstring utf8 = Widen(bytes, CP_UTF8, MB_ERR_INVALID_CHARS);
    return utf8.empty() && !bytes.empty() ? Widen(bytes, CP_ACP, 0) : utf8;
}

} // namespace PageHost
