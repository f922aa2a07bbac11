#include "FaultAfterDelete.h"

#include <windows.h>

#include <new>

namespace Veneer
{

void* AllocateFaultingAfterFree(size_t cbSize)
{
    void* p = ::VirtualAlloc(nullptr, cbSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

// Decommitting keeps the range reserved: the pages cannot be touched and
// are not handed out again.
void FreeFaultingAfterFree(void* p)
{
    if (p != nullptr)
        ::VirtualFree(p, 0, MEM_DECOMMIT);
}

} // namespace Veneer
