#pragma once

#include <windows.h>

namespace Veneer
{

// Little-endian fields of file formats (ZIP records, BMP headers).
inline WORD ReadLE16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

inline DWORD ReadLE32(const BYTE* p)
{
    return static_cast<DWORD>(ReadLE16(p)) | (static_cast<DWORD>(ReadLE16(p + 2)) << 16);
}

} // namespace Veneer
