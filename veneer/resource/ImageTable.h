#pragma once

#include "veneer/core/StdStringPtrMap.h"
#include "veneer/core/VeneerDefs.h"
#include "veneer/resource/ImageLoader.h"

#include <windows.h>

namespace Veneer
{

// One manager's own images, keyed by their name, and the names that could
// not be loaded. Parents are the resource tables' business.
class VENEER_API CImageTable
{
  public:
    CImageTable();
    CImageTable(const CImageTable&) = delete;
    CImageTable& operator=(const CImageTable&) = delete;
    ~CImageTable();

    // The record under the name; a lookup with bOptimize moves the entry to
    // the front of its bucket.
    const TImageInfo* Find(LPCWSTR bitmap, bool bOptimize = true) const;
    // The record under the name, loaded now when absent; null when loading
    // failed, then or before under the same resource settings.
    const TImageInfo* GetEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask);
    const TImageInfo* Add(LPCWSTR bitmap, LPCWSTR type, DWORD mask);
    // The table owns the bitmap from here, even when it turns it down.
    const TImageInfo* Add(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    bool Remove(LPCWSTR bitmap);
    void RemoveAll();
    // Loads every image again the way it was first loaded; answers whether
    // any was reloaded.
    bool ReloadAll();

  private:
    bool IsKnownMissing(LPCWSTR bitmap);
    bool Insert(LPCWSTR bitmap, TImageInfo* pImage);

    CStdStringPtrMap m_mImageHash;
    CStdStringPtrMap m_mMissingImages; // names that GetEx could not load
    UINT m_uMissingImagesSettings;     // the resource settings they were missing under
};

} // namespace Veneer
