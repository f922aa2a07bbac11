#include "GdiCount.h"

#include <windows.h>

#include <winternl.h>

namespace Veneer
{

namespace
{

// An entry of the GDI handle table as Wine lays it out: 24 bytes on either
// word size.
struct GdiHandleEntry
{
    UINT64 Object;
    ULONG Owner;
    USHORT Unique;
    UCHAR Type; // 0 for a free entry
    UCHAR Flags;
    UINT64 UserPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "Wine's GDI handle entry is 24 bytes");

const int kGdiHandleSlots = 0x10000;
// Where the process environment block keeps the table's address.
#ifdef _WIN64
const size_t kPebGdiTableOffset = 0xF8;
#else
const size_t kPebGdiTableOffset = 0x94;
#endif

int CountHandleTable()
{
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info),
                                  nullptr) != 0)
        return -1;
    const BYTE* pPeb = reinterpret_cast<const BYTE*>(info.PebBaseAddress);
    const GdiHandleEntry* pTable = *reinterpret_cast<GdiHandleEntry* const*>(pPeb + kPebGdiTableOffset);
    if (pTable == nullptr)
        return -1;
    int nObjects = 0;
    for (int i = 0; i < kGdiHandleSlots; i++)
        nObjects += pTable[i].Type != 0 ? 1 : 0;
    return nObjects;
}

} // namespace

int CountGdiObjects()
{
    const DWORD dwReported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    return dwReported != 0 ? static_cast<int>(dwReported) : CountHandleTable();
}

} // namespace Veneer
