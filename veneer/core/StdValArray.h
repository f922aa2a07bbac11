#pragma once

#include "veneer/core/VeneerDefs.h"

namespace Veneer
{

// A growable array of fixed-size values, copied in and out byte for byte.
class VENEER_API CStdValArray
{
  public:
    explicit CStdValArray(int iElementSize, int iPreallocSize = 0);
    CStdValArray(const CStdValArray&) = delete;
    CStdValArray& operator=(const CStdValArray&) = delete;
    ~CStdValArray();

    void Empty();
    bool IsEmpty() const;
    bool Add(const void* pData);
    bool Remove(int iIndex);
    int GetSize() const;
    void* GetData();

    void* GetAt(int iIndex) const;
    void* operator[](int nIndex) const;

  private:
    unsigned char* m_pVoid;
    int m_iElementSize;
    int m_nCount;
    int m_nAllocated;
};

} // namespace Veneer
