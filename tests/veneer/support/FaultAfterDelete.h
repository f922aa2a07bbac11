#pragma once

#include <cstddef>

namespace Veneer
{

// Memory of whole pages that becomes inaccessible when it is freed: the
// address range stays reserved, so nothing else is placed there, and any
// later read or write faults at once instead of finding what was left.
void* AllocateFaultingAfterFree(size_t cbSize);
void FreeFaultingAfterFree(void* p);

// An object of class T (a control, a manager) whose use after its deletion
// crashes the test instead of passing by luck.
template <class T> class CFaultAfterDelete : public T
{
  public:
    using T::T;

    static void* operator new(size_t cbSize) { return AllocateFaultingAfterFree(cbSize); }
    static void operator delete(void* p) { FreeFaultingAfterFree(p); }
};

} // namespace Veneer
