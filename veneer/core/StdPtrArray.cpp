#include "veneer/core/StdPtrArray.h"

#include "veneer/core/ArrayGrowth.h"

#include <cstdlib>
#include <cstring>

namespace Veneer
{

CStdPtrArray::CStdPtrArray(int iPreallocSize) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    if (iPreallocSize > 0)
    {
        m_ppVoid = static_cast<void**>(malloc(iPreallocSize * sizeof(void*)));
        if (m_ppVoid != nullptr)
            m_nAllocated = iPreallocSize;
    }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& src) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    for (int i = 0; i < src.GetSize(); i++)
        Add(src.GetAt(i));
}

CStdPtrArray::~CStdPtrArray()
{
    free(m_ppVoid);
}

void CStdPtrArray::Empty()
{
    free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = m_nAllocated = 0;
}

void CStdPtrArray::Resize(int iSize)
{
    Empty();
    if (iSize <= 0)
        return;
    m_ppVoid = static_cast<void**>(calloc(iSize, sizeof(void*)));
    if (m_ppVoid != nullptr)
        m_nCount = m_nAllocated = iSize;
}

bool CStdPtrArray::IsEmpty() const
{
    return m_nCount == 0;
}

bool CStdPtrArray::Grow()
{
    ++m_nCount;
    if (!GrowBlock(reinterpret_cast<void**>(&m_ppVoid), sizeof(void*), m_nCount, m_nAllocated))
    {
        --m_nCount;
        return false;
    }
    return true;
}

bool CStdPtrArray::Add(void* pData)
{
    if (!Grow())
        return false;
    m_ppVoid[m_nCount - 1] = pData;
    return true;
}

bool CStdPtrArray::InsertAt(int iIndex, void* pData)
{
    if (iIndex == m_nCount)
        return Add(pData);
    if (iIndex < 0 || iIndex > m_nCount)
        return false;
    if (!Grow())
        return false;
    memmove(&m_ppVoid[iIndex + 1], &m_ppVoid[iIndex], (m_nCount - iIndex - 1) * sizeof(void*));
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::SetAt(int iIndex, void* pData)
{
    if (iIndex < 0 || iIndex >= m_nCount)
        return false;
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CStdPtrArray::Remove(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nCount)
        return false;
    if (iIndex < --m_nCount)
        memmove(&m_ppVoid[iIndex], &m_ppVoid[iIndex + 1], (m_nCount - iIndex) * sizeof(void*));
    return true;
}

int CStdPtrArray::Find(void* pData) const
{
    for (int i = 0; i < m_nCount; i++)
        if (m_ppVoid[i] == pData)
            return i;
    return -1;
}

int CStdPtrArray::GetSize() const
{
    return m_nCount;
}

void** CStdPtrArray::GetData()
{
    return m_ppVoid;
}

void* CStdPtrArray::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount)
        return nullptr;
    return m_ppVoid[iIndex];
}

void* CStdPtrArray::operator[](int iIndex) const
{
    return m_ppVoid[iIndex];
}

} // namespace Veneer
