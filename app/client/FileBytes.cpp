#include "app/client/FileBytes.h"

#include "veneer/core/ScopedHolders.h"

#include <cstdio>

namespace Qlm
{

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    bytes.clear();
    Veneer::CScopedFile file(fopen(path.c_str(), "rb"));
    if (!file.IsOpen())
        return false;
    char chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), file.Get())) > 0)
        bytes.append(chunk, got);
    return ferror(file.Get()) == 0;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    Veneer::CScopedFile file(fopen(path.c_str(), "wb"));
    if (!file.IsOpen())
        return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file.Get()) == bytes.size();
    return file.Close() && written;
}

} // namespace Qlm
