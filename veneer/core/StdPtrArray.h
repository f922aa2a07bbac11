#pragma once

#include "veneer/core/VeneerDefs.h"

namespace Veneer
{

// A growable array of untyped pointers; it never owns what they point to.
class VENEER_API CStdPtrArray
{
  public:
    explicit CStdPtrArray(int iPreallocSize = 0);
    CStdPtrArray(const CStdPtrArray& src);
    CStdPtrArray& operator=(const CStdPtrArray&) = delete;
    ~CStdPtrArray();

    void Empty();
    void Resize(int iSize);
    bool IsEmpty() const;
    int Find(void* pData) const;
    bool Add(void* pData);
    bool SetAt(int iIndex, void* pData);
    bool InsertAt(int iIndex, void* pData);
    bool Remove(int iIndex);
    int GetSize() const;
    void** GetData();

    void* GetAt(int iIndex) const;
    void* operator[](int nIndex) const;

  private:
    bool Grow();

    void** m_ppVoid;
    int m_nCount;
    int m_nAllocated;
};

} // namespace Veneer
