#include "veneer/core/StdPtrArray.h"
#include "veneer/core/StdValArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <malloc.h>

using Veneer::CStdPtrArray;
using Veneer::CStdValArray;

namespace
{

void* P(intptr_t v)
{
    return reinterpret_cast<void*>(v);
}

// The capacity shows as the size of the element block.
int CapacityOf(CStdPtrArray& a)
{
    return a.GetData() == nullptr ? 0 : static_cast<int>(_msize(a.GetData()) / sizeof(void*));
}

} // namespace

TEST(StdPtrArray, InsertRemoveAndBounds)
{
    CStdPtrArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_TRUE(a.Add(P(1)));
    EXPECT_TRUE(a.Add(P(3)));
    EXPECT_TRUE(a.InsertAt(1, P(2)));
    EXPECT_TRUE(a.InsertAt(3, P(4))); // at the count: appends
    EXPECT_FALSE(a.InsertAt(5, P(9)));
    EXPECT_FALSE(a.InsertAt(-1, P(9)));
    ASSERT_EQ(4, a.GetSize());
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(P(i + 1), a[i]);
    EXPECT_EQ(2, a.Find(P(3)));
    EXPECT_EQ(-1, a.Find(P(7)));
    EXPECT_EQ(nullptr, a.GetAt(4));
    EXPECT_EQ(nullptr, a.GetAt(-1));
    EXPECT_FALSE(a.SetAt(4, P(5)));
    EXPECT_TRUE(a.SetAt(0, P(5)));
    EXPECT_TRUE(a.Remove(0));
    EXPECT_FALSE(a.Remove(3));
    EXPECT_EQ(P(2), a[0]);
    EXPECT_EQ(P(4), a[2]);
    EXPECT_EQ(3, a.GetSize());
}

TEST(StdPtrArray, FirstGrowthAtTheFirstAddSecondAtTheEleventh)
{
    CStdPtrArray a;
    EXPECT_EQ(0, CapacityOf(a));
    a.Add(P(1));
    EXPECT_EQ(11, CapacityOf(a));
    for (int i = 2; i <= 10; i++)
        a.Add(P(i));
    EXPECT_EQ(11, CapacityOf(a));
    a.Add(P(11));
    EXPECT_EQ(22, CapacityOf(a));
    for (int i = 12; i <= 22; i++)
        a.Add(P(i));
    EXPECT_EQ(44, CapacityOf(a));
    EXPECT_EQ(22, a.GetSize());
    EXPECT_EQ(P(22), a[21]);
}

TEST(StdPtrArray, PreallocatedBlockGrowsWhenFull)
{
    CStdPtrArray a(6);
    EXPECT_EQ(6, CapacityOf(a));
    for (int i = 1; i <= 6; i++)
        a.Add(P(i));
    EXPECT_EQ(12, CapacityOf(a));
}

TEST(StdPtrArray, ResizeGivesNullElementsAndEmptyFrees)
{
    CStdPtrArray a(6);
    a.Add(P(1));
    a.Resize(3);
    ASSERT_EQ(3, a.GetSize());
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(nullptr, a[i]);
    a.Empty();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(nullptr, a.GetData());
    a.Resize(-2);
    EXPECT_TRUE(a.IsEmpty());
}

TEST(StdPtrArray, CopyConstructionCopiesTheElements)
{
    CStdPtrArray a;
    for (int i = 1; i <= 15; i++)
        a.Add(P(i));
    const CStdPtrArray b(a);
    ASSERT_EQ(15, b.GetSize());
    EXPECT_EQ(P(15), b[14]);
    EXPECT_NE(a.GetData(), const_cast<CStdPtrArray&>(b).GetData());
}

TEST(StdValArray, ValuesAreCopiedAndEmptyKeepsTheBlock)
{
    struct Pair
    {
        int a;
        double b;
    };
    CStdValArray v(sizeof(Pair));
    for (int i = 0; i < 30; i++)
    {
        const Pair p{i, i * 0.5};
        ASSERT_TRUE(v.Add(&p));
    }
    ASSERT_EQ(30, v.GetSize());
    EXPECT_EQ(29, static_cast<Pair*>(v.GetAt(29))->a);
    EXPECT_EQ(nullptr, v.GetAt(30));
    EXPECT_TRUE(v.Remove(0));
    EXPECT_EQ(1, static_cast<Pair*>(v[0])->a);
    EXPECT_DOUBLE_EQ(14.5, static_cast<Pair*>(v[28])->b);
    EXPECT_FALSE(v.Remove(29));
    void* block = v.GetData();
    v.Empty();
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(block, v.GetData());
}
