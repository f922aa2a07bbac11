#include "veneer/resource/StbOutputLoan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace Veneer;

TEST(StbOutputLoan, TheBlockServesOneAllocationOfItsSizeAtATime)
{
    std::vector<unsigned char> block(64);
    {
        const CStbOutputLoan loan(block.data(), block.size());
        void* pFirst = StbAllocate(64);
        void* pSecond = StbAllocate(64);
        void* pOther = StbAllocate(32);
        EXPECT_TRUE(loan.Holds(pFirst));
        EXPECT_FALSE(loan.Holds(pSecond));
        EXPECT_FALSE(loan.Holds(pOther));
        StbFree(pSecond);
        StbFree(pOther);
        // Freed, the block is lent again.
        StbFree(pFirst);
        void* pAgain = StbAllocate(64);
        EXPECT_TRUE(loan.Holds(pAgain));
        StbFree(pAgain);
    }
    // Without a loan, or with an empty one, everything comes from the heap.
    void* p = StbAllocate(64);
    EXPECT_NE(p, static_cast<void*>(block.data()));
    StbFree(p);
    const CStbOutputLoan empty(block.data(), 0);
    p = StbAllocate(0);
    EXPECT_FALSE(empty.Holds(p));
    StbFree(p);
}

TEST(StbOutputLoan, GrowingOrShrinkingTheBlockMovesItsBytesToTheHeap)
{
    std::vector<unsigned char> block(16);
    const CStbOutputLoan loan(block.data(), block.size());
    for (size_t newSize : {40u, 8u})
    {
        unsigned char* p = static_cast<unsigned char*>(StbAllocate(16));
        ASSERT_TRUE(loan.Holds(p));
        for (int i = 0; i < 16; i++)
            p[i] = static_cast<unsigned char>(i + 1);
        unsigned char* pMoved = static_cast<unsigned char*>(StbReallocate(p, newSize));
        ASSERT_NE(pMoved, nullptr);
        EXPECT_FALSE(loan.Holds(pMoved));
        for (size_t i = 0; i < (newSize < 16 ? newSize : 16); i++)
            EXPECT_EQ(pMoved[i], i + 1) << newSize;
        // The block is free to lend again.
        void* pAgain = StbAllocate(16);
        EXPECT_TRUE(loan.Holds(pAgain));
        StbFree(pAgain);
        StbFree(pMoved);
    }
}
