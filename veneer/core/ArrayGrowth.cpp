#include "veneer/core/ArrayGrowth.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace Veneer
{

bool GrowBlock(void** ppBlock, size_t elementSize, int count, int& capacity)
{
    if (count < capacity)
        return true;
    if (capacity > INT_MAX / 2)
        return false;
    const int newCapacity = capacity == 0 ? 11 : capacity * 2;
    if (static_cast<size_t>(newCapacity) > SIZE_MAX / elementSize)
        return false;
    void* block = realloc(*ppBlock, static_cast<size_t>(newCapacity) * elementSize);
    if (block == nullptr)
        return false;
    *ppBlock = block;
    capacity = newCapacity;
    return true;
}

} // namespace Veneer
