#include "veneer/core/StdStringPtrMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

using Veneer::CStdStringPtrMap;

namespace
{

void* P(intptr_t v)
{
    return reinterpret_cast<void*>(v);
}

unsigned int Hash(const std::wstring& key)
{
    unsigned int h = 0;
    for (auto it = key.rbegin(); it != key.rend(); ++it)
        h = h * 33 + *it;
    return h;
}

// Two keys of the same bucket for a map of n buckets.
std::vector<std::wstring> CollidingKeys(unsigned int buckets, size_t count)
{
    std::vector<std::wstring> keys;
    const unsigned int wanted = Hash(L"k0") % buckets;
    for (int i = 0; keys.size() < count; i++)
    {
        const std::wstring key = L"k" + std::to_wstring(i);
        if (Hash(key) % buckets == wanted)
            keys.push_back(key);
    }
    return keys;
}

} // namespace

TEST(StdStringPtrMap, InsertFindSetRemove)
{
    CStdStringPtrMap map;
    EXPECT_EQ(nullptr, map.Find(L"a"));
    EXPECT_TRUE(map.Insert(L"a", P(1)));
    EXPECT_FALSE(map.Insert(L"a", P(2)));
    EXPECT_EQ(P(1), map.Find(L"a"));
    EXPECT_EQ(nullptr, map.Find(L"A")); // keys are case-sensitive
    EXPECT_EQ(P(1), map.Set(L"a", P(3)));
    EXPECT_EQ(nullptr, map.Set(L"b", P(4)));
    EXPECT_EQ(P(3), map.Find(L"a"));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_TRUE(map.Remove(L"a"));
    EXPECT_FALSE(map.Remove(L"a"));
    EXPECT_EQ(1, map.GetSize());
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_TRUE(map.Insert(L"c", P(5))); // still usable after RemoveAll
}

TEST(StdStringPtrMap, KeyWithNullValueIsPresentAndNotInsertedTwice)
{
    CStdStringPtrMap map;
    EXPECT_TRUE(map.Insert(L"dup", nullptr));
    EXPECT_FALSE(map.Insert(L"dup", P(7)));
    EXPECT_EQ(1, map.GetSize());
    EXPECT_EQ(nullptr, map.Find(L"dup"));
    EXPECT_EQ(nullptr, map.Set(L"dup", P(7)));
    EXPECT_EQ(1, map.GetSize());
    EXPECT_EQ(P(7), map.Find(L"dup"));
    EXPECT_TRUE(map.Remove(L"dup"));
    EXPECT_EQ(0, map.GetSize());
}

TEST(StdStringPtrMap, ResizeKeepsEveryEntry)
{
    CStdStringPtrMap map(16);
    const int kKeys = 300;
    for (int i = 0; i < kKeys; i++)
        ASSERT_TRUE(map.Insert((L"key" + std::to_wstring(i)).c_str(), P(i + 1)));
    for (int nBuckets : {7, 1, 997, 16})
    {
        map.Resize(nBuckets);
        ASSERT_EQ(kKeys, map.GetSize()) << nBuckets;
        std::set<std::wstring> seen;
        for (int i = 0; i < map.GetSize(); i++)
            seen.insert(map.GetAt(i));
        EXPECT_EQ(static_cast<size_t>(kKeys), seen.size()) << nBuckets;
        for (int i = 0; i < kKeys; i++)
            ASSERT_EQ(P(i + 1), map.Find((L"key" + std::to_wstring(i)).c_str())) << nBuckets;
    }
    // The chains are whole: every key can still be taken out one by one.
    for (int i = 0; i < kKeys; i++)
        ASSERT_TRUE(map.Remove((L"key" + std::to_wstring(i)).c_str()));
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.GetAt(0));
}

TEST(StdStringPtrMap, SmallBucketCountsBecomeSixteenAndResizeZeroDisables)
{
    CStdStringPtrMap map(0);
    EXPECT_EQ(nullptr, map.Set(L"x", P(1)));
    EXPECT_EQ(P(1), map.Find(L"x"));
    map.Resize(0);
    EXPECT_EQ(P(2), map.Set(L"x", P(2)));
    EXPECT_EQ(nullptr, map.Find(L"x"));
    EXPECT_FALSE(map.Insert(L"x", P(3)));
    EXPECT_EQ(0, map.GetSize());
}

TEST(StdStringPtrMap, IterationRunsBucketsBackwardAndChainsFrontToBack)
{
    CStdStringPtrMap map(16);
    const std::vector<std::wstring> chain = CollidingKeys(16, 3);
    for (const std::wstring& key : chain)
        map.Insert(key.c_str(), P(1));
    // New nodes go to the front of their chain.
    EXPECT_EQ(chain[2], map.GetAt(0));
    EXPECT_EQ(chain[1], map.GetAt(1));
    EXPECT_EQ(chain[0], map.GetAt(2));
    EXPECT_EQ(nullptr, map.GetAt(3));

    // An optimised lookup moves the found node to the front; a plain one not.
    map.Find(chain[0].c_str(), false);
    EXPECT_EQ(chain[2], map.GetAt(0));
    map.Find(chain[0].c_str(), true);
    EXPECT_EQ(chain[0], map.GetAt(0));
    EXPECT_EQ(chain[2], map.GetAt(1));
    EXPECT_EQ(chain[1], map.GetAt(2));
    EXPECT_TRUE(map.Remove(chain[2].c_str()));
    EXPECT_EQ(chain[0], map.GetAt(0));
    EXPECT_EQ(chain[1], map.GetAt(1));
}

TEST(StdStringPtrMap, HigherBucketsComeFirst)
{
    CStdStringPtrMap map(16);
    map.Insert(L"a", P(1)); // 'a' = 97: bucket 1
    map.Insert(L"o", P(2)); // 'o' = 111: bucket 15
    map.Insert(L"h", P(3)); // 'h' = 104: bucket 8
    EXPECT_STREQ(L"o", map[0]);
    EXPECT_STREQ(L"h", map[1]);
    EXPECT_STREQ(L"a", map[2]);
}

TEST(StdStringPtrMap, ManyKeysAllFoundAndIteratedOnce)
{
    CStdStringPtrMap map;
    for (int i = 0; i < 2000; i++)
        ASSERT_TRUE(map.Insert((L"name" + std::to_wstring(i)).c_str(), P(i + 1)));
    for (int i = 0; i < 2000; i++)
        ASSERT_EQ(P(i + 1), map.Find((L"name" + std::to_wstring(i)).c_str()));
    std::set<std::wstring> seen;
    for (int i = 0; i < map.GetSize(); i++)
        seen.insert(map.GetAt(i));
    EXPECT_EQ(2000u, seen.size());
}
