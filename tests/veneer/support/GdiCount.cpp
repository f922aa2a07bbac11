#include "GdiCount.h"

#include <windows.h>

#include <winternl.h>

#include <cstdint>

namespace Veneer
{

namespace
{

// Wine's entry of the shared GDI handle table: 24 bytes on either word size.
struct GdiHandleEntry
{
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type; // 0 for a free entry
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24, "Wine's GDI handle entry is 24 bytes");

const int kGdiHandleCount = 0x10000;

#if defined(_WIN64)
// The process environment block, found through ntdll rather than the
// thread block so that no segment-register intrinsic is needed.
const BYTE* ProcessEnvironmentBlock()
{
    typedef LONG(NTAPI * QueryFn)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    FARPROC pProc = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    if (pProc == nullptr)
        return nullptr;
    PROCESS_BASIC_INFORMATION info{};
    ULONG cbReturned = 0;
    const LONG status = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(pProc))(
        ::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), &cbReturned);
    return status == 0 ? reinterpret_cast<const BYTE*>(info.PebBaseAddress) : nullptr;
}

int CountFromHandleTable()
{
    // PEB.GdiSharedHandleTable of the 64-bit process environment block.
    const size_t kGdiSharedHandleTableOffset = 0xF8;
    const BYTE* pPeb = ProcessEnvironmentBlock();
    if (pPeb == nullptr)
        return -1;
    const GdiHandleEntry* pTable =
        *reinterpret_cast<const GdiHandleEntry* const*>(pPeb + kGdiSharedHandleTableOffset);
    if (pTable == nullptr)
        return -1;
    int nObjects = 0;
    for (int i = 0; i < kGdiHandleCount; i++)
    {
        if (pTable[i].type != 0)
            nObjects++;
    }
    return nObjects;
}
#else
// The 32-bit table has another layout; only the 64-bit build runs here.
int CountFromHandleTable()
{
    return -1;
}
#endif

} // namespace

int CountGdiObjects()
{
    const DWORD dwCount = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    return dwCount != 0 ? static_cast<int>(dwCount) : CountFromHandleTable();
}

} // namespace Veneer
