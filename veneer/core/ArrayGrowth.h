#pragma once

#include <cstddef>

namespace Veneer
{

// The growth rule shared by the toolkit's arrays, called after the count was
// raised: when the count reaches the capacity, the capacity doubles (0 becomes
// 11) and the block is reallocated. False, with block and capacity unchanged,
// when the memory cannot be had or the size would overflow.
bool GrowBlock(void** ppBlock, size_t elementSize, int count, int& capacity);

} // namespace Veneer
