#include "veneer/core/StdStringPtrMap.h"

#include <cstdlib>
#include <cwchar>
#include <new>

namespace Veneer
{

namespace
{

// Characters are taken from the last to the first: h = h * 33 + c.
unsigned int HashKey(const wchar_t* key)
{
    unsigned int h = 0;
    for (size_t i = wcslen(key); i > 0; --i)
        h = h * 33 + static_cast<unsigned int>(key[i - 1]);
    return h;
}

} // namespace

CStdStringPtrMap::CStdStringPtrMap(int nSize) : m_aT(nullptr), m_nBuckets(0), m_nCount(0)
{
    Resize(nSize < 16 ? 16 : nSize);
}

CStdStringPtrMap::~CStdStringPtrMap()
{
    FreeItems();
}

void CStdStringPtrMap::FreeNodes()
{
    for (int i = 0; i < m_nBuckets; i++)
    {
        TITEM* pItem = m_aT[i];
        while (pItem != nullptr)
        {
            TITEM* pNext = pItem->pNext;
            delete pItem;
            pItem = pNext;
        }
        m_aT[i] = nullptr;
    }
    m_nCount = 0;
}

void CStdStringPtrMap::FreeItems()
{
    FreeNodes();
    delete[] m_aT;
    m_aT = nullptr;
    m_nBuckets = 0;
}

// The entries move into the new buckets. Without buckets (a size of 0 or
// less) the map holds nothing; when the new buckets cannot be had, the map
// stays as it was.
void CStdStringPtrMap::Resize(int nSize)
{
    if (nSize <= 0)
    {
        FreeItems();
        return;
    }
    TITEM** aNew = new (std::nothrow) TITEM*[nSize]();
    if (aNew == nullptr)
        return;
    TITEM** aOld = m_aT;
    const int nOldBuckets = m_nBuckets;
    m_aT = aNew;
    m_nBuckets = nSize;
    for (int i = nOldBuckets - 1; i >= 0; i--)
    {
        TITEM* pItem = aOld[i];
        while (pItem != nullptr)
        {
            TITEM* pNext = pItem->pNext;
            LinkFirst(pItem);
            pItem = pNext;
        }
    }
    delete[] aOld;
}

void CStdStringPtrMap::RemoveAll()
{
    FreeNodes();
}

// Puts a node at the front of the chain of its key's bucket.
void CStdStringPtrMap::LinkFirst(TITEM* pItem)
{
    const unsigned int slot = BucketOf(pItem->Key);
    pItem->pPrev = nullptr;
    pItem->pNext = m_aT[slot];
    if (pItem->pNext != nullptr)
        pItem->pNext->pPrev = pItem;
    m_aT[slot] = pItem;
}

unsigned int CStdStringPtrMap::BucketOf(const wchar_t* key) const
{
    return HashKey(key) % static_cast<unsigned int>(m_nBuckets);
}

CStdStringPtrMap::TITEM* CStdStringPtrMap::FindItem(const wchar_t* key, bool optimize) const
{
    if (m_nBuckets == 0 || key == nullptr)
        return nullptr;
    const unsigned int slot = BucketOf(key);
    for (TITEM* pItem = m_aT[slot]; pItem != nullptr; pItem = pItem->pNext)
    {
        if (pItem->Key != key)
            continue;
        if (optimize && pItem != m_aT[slot])
        {
            // Keys looked up often are found sooner at the front.
            pItem->pPrev->pNext = pItem->pNext;
            if (pItem->pNext != nullptr)
                pItem->pNext->pPrev = pItem->pPrev;
            pItem->pPrev = nullptr;
            pItem->pNext = m_aT[slot];
            m_aT[slot]->pPrev = pItem;
            m_aT[slot] = pItem;
        }
        return pItem;
    }
    return nullptr;
}

void* CStdStringPtrMap::Find(const wchar_t* key, bool optimize) const
{
    if (m_nCount == 0)
        return nullptr;
    const TITEM* pItem = FindItem(key, optimize);
    return pItem != nullptr ? pItem->Data : nullptr;
}

bool CStdStringPtrMap::Insert(const wchar_t* key, void* pData)
{
    if (m_nBuckets == 0 || key == nullptr)
        return false;
    // A key is present even when its value is null.
    if (FindItem(key, true) != nullptr)
        return false;
    TITEM* pItem = new (std::nothrow) TITEM;
    if (pItem == nullptr)
        return false;
    pItem->Key = key;
    pItem->Data = pData;
    LinkFirst(pItem);
    m_nCount++;
    return true;
}

void* CStdStringPtrMap::Set(const wchar_t* key, void* pData)
{
    if (m_nBuckets == 0 || key == nullptr)
        return pData;
    if (m_nCount > 0)
    {
        TITEM* pItem = FindItem(key, true);
        if (pItem != nullptr)
        {
            void* pOld = pItem->Data;
            pItem->Data = pData;
            return pOld;
        }
    }
    Insert(key, pData);
    return nullptr;
}

bool CStdStringPtrMap::Remove(const wchar_t* key)
{
    if (m_nBuckets == 0 || m_nCount == 0 || key == nullptr)
        return false;
    const unsigned int slot = BucketOf(key);
    for (TITEM* pItem = m_aT[slot]; pItem != nullptr; pItem = pItem->pNext)
    {
        if (pItem->Key != key)
            continue;
        if (pItem->pPrev != nullptr)
            pItem->pPrev->pNext = pItem->pNext;
        else
            m_aT[slot] = pItem->pNext;
        if (pItem->pNext != nullptr)
            pItem->pNext->pPrev = pItem->pPrev;
        delete pItem;
        m_nCount--;
        return true;
    }
    return false;
}

int CStdStringPtrMap::GetSize() const
{
    return m_nCount;
}

const wchar_t* CStdStringPtrMap::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount)
        return nullptr;
    // Iteration runs over the buckets from the last to the first.
    int pos = 0;
    for (int slot = m_nBuckets - 1; slot >= 0; slot--)
    {
        for (const TITEM* pItem = m_aT[slot]; pItem != nullptr; pItem = pItem->pNext)
        {
            if (pos++ == iIndex)
                return pItem->Key.GetData();
        }
    }
    return nullptr;
}

const wchar_t* CStdStringPtrMap::operator[](int nIndex) const
{
    return GetAt(nIndex);
}

} // namespace Veneer
