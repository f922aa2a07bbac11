#pragma once

#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"

namespace Veneer
{

// A hash map from wide-text keys to untyped pointers. Each bucket is a doubly
// linked chain; lookups can move a found entry to the front of its chain.
// The map owns its nodes and keys, never the values.
class VENEER_API CStdStringPtrMap
{
  public:
    explicit CStdStringPtrMap(int nSize = 83);
    CStdStringPtrMap(const CStdStringPtrMap&) = delete;
    CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
    ~CStdStringPtrMap();

    void Resize(int nSize = 83);
    void* Find(const wchar_t* key, bool optimize = true) const;
    bool Insert(const wchar_t* key, void* pData);
    void* Set(const wchar_t* key, void* pData);
    bool Remove(const wchar_t* key);
    void RemoveAll();
    int GetSize() const;
    const wchar_t* GetAt(int iIndex) const;
    const wchar_t* operator[](int nIndex) const;

  private:
    struct TITEM
    {
        CUiString Key;
        void* Data;
        TITEM* pPrev;
        TITEM* pNext;
    };

    TITEM* FindItem(const wchar_t* key, bool optimize) const;
    unsigned int BucketOf(const wchar_t* key) const;
    void LinkFirst(TITEM* pItem);
    void FreeNodes();
    void FreeItems();

    TITEM** m_aT;
    int m_nBuckets;
    int m_nCount;
};

} // namespace Veneer
