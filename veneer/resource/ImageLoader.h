#pragma once

#include "veneer/core/UiString.h"
#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// An image of a manager's table; the record owns the bitmap, a 32-bit
// top-down DIB section with premultiplied alpha.
typedef struct tagTImageInfo
{
    HBITMAP hBitmap;
    int nX;
    int nY;
    bool alphaChannel;  // some pixel is not opaque or was cleared by the mask
    CUiString sResType; // empty for images read from a file or the archive
    DWORD dwMask;       // 0xAARRGGBB as stored in the bitmap
} TImageInfo;

// Turns an image file into an image record: the bytes are looked up through
// the resource settings (a module resource, the resource folder or the skin
// archive, then the name as a path) and decoded into a premultiplied DIB.
class VENEER_API CImageLoader
{
  public:
    // Loads an image by name, or by resource id (MAKEINTRESOURCEW) with a
    // resource type, into a new record whose resource type is empty and whose
    // mask is 0 for the caller to fill. Pixels equal to `mask` (0xAARRGGBB,
    // after premultiplication) become fully transparent. Null on failure.
    static TImageInfo* Load(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);

    // Deletes the record's bitmap and the record.
    static void Free(TImageInfo* pImage);
};

} // namespace Veneer
