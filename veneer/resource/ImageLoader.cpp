#include "veneer/render/RenderEngine.h"

#include "veneer/core/ScopedHandle.h"
#include "veneer/resource/ArchiveForLoad.h"
#include "veneer/resource/ByteOrder.h"

#include <stb_image.h>

#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace Veneer
{

namespace
{

const int kRgbaChannels = 4;
const BYTE kOpaque = 255;

// The bytes of an image file, owned by the loader.
struct ByteBlock
{
    std::unique_ptr<BYTE[]> data;
    DWORD size = 0;

    bool Allocate(DWORD bytes)
    {
        data.reset(new (std::nothrow) BYTE[bytes]);
        size = data != nullptr ? bytes : 0;
        return data != nullptr;
    }
};

struct StbImageFree
{
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

bool ReadModuleResource(LPCWSTR bitmap, LPCWSTR type, ByteBlock* pBlock)
{
    HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
    HRSRC hResource = ::FindResourceW(hModule, bitmap, type);
    if (hResource == nullptr)
        return false;
    HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
    const DWORD size = ::SizeofResource(hModule, hResource);
    const void* pData = hGlobal != nullptr ? ::LockResource(hGlobal) : nullptr;
    if (pData == nullptr || size == 0 || !pBlock->Allocate(size))
        return false;
    memcpy(pBlock->data.get(), pData, size);
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
    if (!pBlock->Allocate(bytes) || !::ReadFile(file.Get(), pBlock->data.get(), bytes, &got, nullptr))
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
    // A negative size is a declared size of 2 GiB or more.
    if (ze.unc_size <= 0 || !pBlock->Allocate(static_cast<DWORD>(ze.unc_size)))
        return false;
    // A buffer of exactly the member's size comes back full with ZR_MORE.
    return UnzipItem(archive.Get(), index, pBlock->data.get(), pBlock->size) == ZR_MORE;
}

// Finds the image's bytes: a module resource when a type is given, else the
// file under the resource path or the archive member; when that finds
// nothing, the name itself as a file path.
bool ReadImageBytes(LPCWSTR bitmap, LPCWSTR type, ByteBlock* pBlock)
{
    bool found = false;
    if (type != nullptr)
        found = ReadModuleResource(bitmap, type, pBlock);
    else if (!IS_INTRESOURCE(bitmap) && CPaintManagerUI::GetResourceZip().IsEmpty())
        found = ReadWholeFile(CPaintManagerUI::GetResourcePath() + bitmap, pBlock);
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
// equal to the mask. Returns whether any pixel is not fully opaque.
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

} // namespace

TImageInfo* CRenderEngine::LoadImageW(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    // Step 1: the file's bytes.
    ByteBlock bytes;
    if (bitmap == nullptr || !ReadImageBytes(bitmap, type, &bytes) || bytes.size > INT_MAX ||
        IsTruncatedBmp(bytes.data.get(), bytes.size))
        return nullptr;

    // Step 2: decode to 8-bit RGBA.
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, StbImageFree> rgba(stbi_load_from_memory(
        bytes.data.get(), static_cast<int>(bytes.size), &width, &height, &channels, kRgbaChannels));
    if (rgba == nullptr || width <= 0 || height <= 0)
        return nullptr;
    bytes.data.reset();

    // Step 3: the bitmap, then its pixels.
    DWORD* pPixels = nullptr;
    HBITMAP hBitmap = CreateTopDownDib(width, height, &pPixels);
    if (hBitmap == nullptr)
        return nullptr;
    const bool bAlpha = ConvertPixels(rgba.get(), pPixels, static_cast<size_t>(width) * height, mask);

    TImageInfo* pImage = new (std::nothrow) TImageInfo();
    if (pImage == nullptr)
    {
        ::DeleteObject(hBitmap);
        return nullptr;
    }
    pImage->hBitmap = hBitmap;
    pImage->nX = width;
    pImage->nY = height;
    pImage->alphaChannel = bAlpha;
    return pImage;
}

void CRenderEngine::FreeImage(TImageInfo* bitmap)
{
    if (bitmap == nullptr)
        return;
    if (bitmap->hBitmap != nullptr)
        ::DeleteObject(bitmap->hBitmap);
    delete bitmap;
}

} // namespace Veneer
