#pragma once

#include <cstddef>

namespace Veneer
{

// Lends a block of memory to stb_image as the buffer of its decoded pixels,
// so that an image is decoded straight into its bitmap instead of into a
// buffer of its own that is then copied. While a loan is in scope, the
// thread's stb allocation of exactly the block's size gets the block, as
// long as no other allocation holds it; freeing or growing it gives it back.
// Whether the decoder's result is the block tells the caller whether the
// pixels are already in place.
class CStbOutputLoan
{
  public:
    // A null block or a size of 0 lends nothing.
    CStbOutputLoan(void* pBlock, size_t size);
    CStbOutputLoan(const CStbOutputLoan&) = delete;
    CStbOutputLoan& operator=(const CStbOutputLoan&) = delete;
    ~CStbOutputLoan();

    bool Holds(const void* p) const { return p != nullptr && p == m_pBlock; }

  private:
    void* m_pBlock;
};

// stb_image's allocator: the heap, except for a block on loan.
void* StbAllocate(size_t size);
void* StbReallocate(void* p, size_t size);
void StbFree(void* p);

} // namespace Veneer
