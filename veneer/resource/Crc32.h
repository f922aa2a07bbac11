#pragma once

#include <windows.h>

#include <cstddef>

namespace Veneer
{

// The CRC-32 of ZIP archives (as zlib's crc32 computes it), continued from
// `crc` over `len` bytes. Long runs are folded with carry-less multiplication
// when the processor has it, which is several times faster than tables.
DWORD UpdateCrc32(DWORD crc, const BYTE* p, size_t len);

} // namespace Veneer
