#include "app/client/ClientFolders.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

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

std::string ProgramFolder()
{
    // Module paths may exceed MAX_PATH; grow until the name fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;)
    {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            break;
        buffer.resize(buffer.size() * 2);
    }
    const std::string path(buffer.data());
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
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
