#include "app/client/ClientFolders.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

namespace Qlm
{

namespace
{

void CreateFolderIfMissing(const std::string& path)
{
    if (!PathFileExistsA(path.c_str()))
        CreateDirectoryA(path.c_str(), nullptr);
}

} // namespace

std::string ClientSubFolder(const char* sub)
{
    char common[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_APPDATA, FALSE))
        return std::string();
    // A folder that cannot be created is not reported here: the file
    // operations inside it fail later and report that themselves.
    std::string path = std::string(common) + "\\Quillmarsh";
    CreateFolderIfMissing(path);
    path += "\\";
    path += sub;
    CreateFolderIfMissing(path);
    return path;
}

bool ClientFilePath(const char* sub, const std::string& name, char* buffer, size_t size)
{
    const std::string folder = ClientSubFolder(sub);
    if (folder.empty())
    {
        CopyToBuffer(std::string(), buffer, size);
        return false;
    }
    return CopyToBuffer(folder + "\\" + name, buffer, size);
}

std::wstring ProgramPath()
{
    // Module paths may exceed MAX_PATH; grow until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size())
        {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolder()
{
    const std::wstring path = ProgramPath();
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool CopyToBuffer(const std::string& text, char* buffer, size_t size)
{
    if (size == 0)
        return false;
    if (text.size() >= size)
    {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

} // namespace Qlm
