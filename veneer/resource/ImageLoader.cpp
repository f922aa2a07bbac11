#include "veneer/resource/ImageLoader.h"

#include "veneer/core/GdiHolders.h"
#include "veneer/core/ScopedHandle.h"
#include "veneer/resource/ArchiveForLoad.h"
#include "veneer/resource/ByteOrder.h"
#include "veneer/resource/ResourceSettings.h"
#include "veneer/resource/StbOutputLoan.h"

#include <stb_image.h>

#include <climits>
#include <memory>
#include <new>

namespace Veneer
{

namespace
{

const int kRgbaChannels = 4;
const BYTE kOpaque = 255;

// The bytes of an image file: a copy owned by the loader, or a view of
// bytes that stay in place for as long as the image is loaded (a module
// resource, a stored member of the skin archive in memory).
struct ByteBlock
{
    std::unique_ptr<BYTE[]> owned;
    const BYTE* data = nullptr;
    DWORD size = 0;

    BYTE* Allocate(DWORD bytes)
    {
        owned.reset(new (std::nothrow) BYTE[bytes]);
        data = owned.get();
        size = data != nullptr ? bytes : 0;
        return owned.get();
    }
    void View(const void* pData, DWORD bytes)
    {
        owned.reset();
        data = static_cast<const BYTE*>(pData);
        size = bytes;
    }
    void Clear() { View(nullptr, 0); }
};

struct StbImageFree
{
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

bool ReadModuleResource(LPCWSTR bitmap, LPCWSTR type, ByteBlock* pBlock)
{
    HINSTANCE hModule = CResourceSettings::GetResourceDll();
    HRSRC hResource = ::FindResourceW(hModule, bitmap, type);
    if (hResource == nullptr)
        return false;
    HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    const DWORD size = ::SizeofResource(hModule, hResource);
    const void* pData = hGlobal != nullptr ? ::LockResource(hGlobal) : nullptr;
    if (pData == nullptr || size == 0)
        return false;
    pBlock->View(pData, size);
    return true;
}

bool ReadWholeFile(LPCWSTR pstrPath, ByteBlock* pBlock)
{
    CScopedHandle file(::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > INT_MAX)
        return false;
    const DWORD bytes = static_cast<DWORD>(size.QuadPart);
    DWORD got = 0;
    BYTE* pDst = pBlock->Allocate(bytes);
    if (pDst == nullptr || !::ReadFile(file.Get(), pDst, bytes, &got, nullptr))
        return false;
    return got == bytes;
}

bool ReadArchiveMember(LPCWSTR bitmap, ByteBlock* pBlock)
{
    const CArchiveForLoad archive;
    int index = -1;
    ZIPENTRY ze{};
    if (archive.Get() == nullptr || FindZipItem(archive.Get(), bitmap, true, &index, &ze) != ZR_OK)
        return false;
    // A stored member of an archive in memory is read where it lies.
    const void* pStored = nullptr;
    unsigned int storedSize = 0;
    if (GetStoredZipItem(archive.Get(), index, &pStored, &storedSize) == ZR_OK)
    {
        pBlock->View(pStored, storedSize);
        return storedSize > 0;
    }
    // A negative size is a declared size of 2 GiB or more.
    BYTE* pDst = ze.unc_size > 0 ? pBlock->Allocate(static_cast<DWORD>(ze.unc_size)) : nullptr;
    // A buffer of exactly the member's size comes back full with ZR_MORE.
    return pDst != nullptr && UnzipItem(archive.Get(), index, pDst, pBlock->size) == ZR_MORE;
}

// Finds the image's bytes: a module resource when a type is given, else the
// file under the resource path or the archive member; when that finds
// nothing, the name itself as a file path.
bool ReadImageBytes(LPCWSTR bitmap, LPCWSTR type, ByteBlock* pBlock)
{
    bool found = false;
    if (type != nullptr)
        found = ReadModuleResource(bitmap, type, pBlock);
    else if (!IS_INTRESOURCE(bitmap) && CResourceSettings::GetResourceZip().IsEmpty())
        found = ReadWholeFile(CResourceSettings::GetResourcePath() + bitmap, pBlock);
    else if (!IS_INTRESOURCE(bitmap))
        found = ReadArchiveMember(bitmap, pBlock);
    if (found)
        return true;
    return !IS_INTRESOURCE(bitmap) && ReadWholeFile(bitmap, pBlock);
}

// stb_image reads past the end of a BMP file as zero bytes, so a damaged
// header lets a few bytes claim a picture of a gigabyte. A BMP whose
// uncompressed pixel rows do not fit in the file is refused before decoding
// (the last row may lack its padding).
bool IsTruncatedBmp(const BYTE* p, DWORD size)
{
    const DWORD kCoreHeaderSize = 12;
    const DWORD kAlphaBitfields = 6;
    if (size < 26 || p[0] != 'B' || p[1] != 'M')
        return false;
    const DWORD offBits = ReadLE32(p + 10);
    LONGLONG width = 0, height = 0;
    DWORD bpp = 0, compression = BI_RGB;
    if (ReadLE32(p + 14) == kCoreHeaderSize)
    {
        width = ReadLE16(p + 18);
        height = ReadLE16(p + 20);
        bpp = ReadLE16(p + 24);
    }
    else
    {
        if (size < 34)
            return false;
        width = static_cast<LONG>(ReadLE32(p + 18));
        height = static_cast<LONG>(ReadLE32(p + 22));
        bpp = ReadLE16(p + 28);
        compression = ReadLE32(p + 30);
    }
    if (compression != BI_RGB && compression != BI_BITFIELDS && compression != kAlphaBitfields)
        return false;
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    if (width == 0 || height == 0)
        return false;
    const ULONGLONG rowBytes = (static_cast<ULONGLONG>(width) * bpp + 7) / 8;
    const ULONGLONG stride = (rowBytes + 3) / 4 * 4;
    return static_cast<ULONGLONG>(offBits) + stride * (static_cast<ULONGLONG>(height) - 1) + rowBytes > size;
}

HBITMAP CreateTopDownDib(int width, int height, DWORD** ppBits)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height; // row 0 is the top row
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    *ppBits = static_cast<DWORD*>(pBits);
    return hBitmap;
}

// Turns RGBA bytes into premultiplied 0xAARRGGBB pixels and clears those
// equal to the mask; the bytes may be the pixels themselves, converted in
// place. Returns whether any pixel is not fully opaque.
bool ConvertPixels(const BYTE* pRgba, DWORD* pPixels, size_t count, DWORD mask)
{
    bool bAlpha = false;
    for (size_t i = 0; i < count; i++, pRgba += kRgbaChannels)
    {
        DWORD r = pRgba[0], g = pRgba[1], b = pRgba[2];
        const DWORD a = pRgba[3];
        if (a != kOpaque)
        {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            bAlpha = true;
        }
        DWORD pixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask)
        {
            pixel = 0;
            bAlpha = true;
        }
        pPixels[i] = pixel;
    }
    return bAlpha;
}

// A decoded image: its DIB section and, when the decoder could not write
// into the bitmap, the RGBA bytes still to be converted into it.
struct DecodedBitmap
{
    CScopedGdiObject<HBITMAP> hBitmap{nullptr};
    DWORD* pPixels = nullptr;
    int width = 0;
    int height = 0;
    std::unique_ptr<stbi_uc, StbImageFree> rgba;

    bool MakeBitmap(int cx, int cy)
    {
        hBitmap.Reset(CreateTopDownDib(cx, cy, &pPixels));
        return hBitmap.Get() != nullptr;
    }
    const BYTE* Source() const
    {
        return rgba != nullptr ? rgba.get() : reinterpret_cast<const BYTE*>(pPixels);
    }
};

// Decodes the file's bytes. The bitmap is made first, from the size in the
// file's header, and lent to the decoder as its output buffer: that spares
// a copy of every pixel and a second buffer of the picture's size. When the
// decoder's output lies elsewhere after all, the caller converts from it
// into a bitmap of the decoded size.
bool DecodeToBitmap(const ByteBlock& bytes, DecodedBitmap* pDecoded)
{
    const int length = static_cast<int>(bytes.size);
    int width = 0, height = 0, channels = 0;
    size_t lent = 0;
    if (stbi_info_from_memory(bytes.data, length, &width, &height, &channels) && width > 0 && height > 0 &&
        pDecoded->MakeBitmap(width, height))
        lent = static_cast<size_t>(width) * height * kRgbaChannels;

    stbi_uc* pOutput = nullptr;
    {
        const CStbOutputLoan loan(pDecoded->pPixels, lent);
        pOutput = stbi_load_from_memory(bytes.data, length, &pDecoded->width, &pDecoded->height, &channels,
                                        kRgbaChannels);
        if (loan.Holds(pOutput))
            return pDecoded->width == width && pDecoded->height == height;
    }
    pDecoded->rgba.reset(pOutput);
    if (pOutput == nullptr || pDecoded->width <= 0 || pDecoded->height <= 0)
        return false;
    if (lent != 0 && pDecoded->width == width && pDecoded->height == height)
        return true;
    return pDecoded->MakeBitmap(pDecoded->width, pDecoded->height);
}

} // namespace

TImageInfo* CImageLoader::Load(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    // Step 1: the file's bytes.
    ByteBlock bytes;
    if (bitmap == nullptr || !ReadImageBytes(bitmap, type, &bytes) || bytes.size > INT_MAX ||
        IsTruncatedBmp(bytes.data, bytes.size))
        return nullptr;

    // Step 2: the pixels, decoded into a bitmap.
    DecodedBitmap decoded;
    if (!DecodeToBitmap(bytes, &decoded))
        return nullptr;
    bytes.Clear();

    // Step 3: premultiplied, masked pixels.
    const size_t count = static_cast<size_t>(decoded.width) * decoded.height;
    const bool bAlpha = ConvertPixels(decoded.Source(), decoded.pPixels, count, mask);

    TImageInfo* pImage = new (std::nothrow) TImageInfo();
    if (pImage == nullptr)
        return nullptr;
    pImage->hBitmap = decoded.hBitmap.Release();
    pImage->nX = decoded.width;
    pImage->nY = decoded.height;
    pImage->alphaChannel = bAlpha;
    return pImage;
}

void CImageLoader::Free(TImageInfo* pImage)
{
    if (pImage == nullptr)
        return;
    if (pImage->hBitmap != nullptr)
        ::DeleteObject(pImage->hBitmap);
    delete pImage;
}

} // namespace Veneer
