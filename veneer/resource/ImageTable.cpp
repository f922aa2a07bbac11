#include "veneer/resource/ImageTable.h"

#include "veneer/resource/ResourceSettings.h"

#include <cstdlib>
#include <new>

namespace Veneer
{

namespace
{

bool StartsWithDigit(LPCWSTR pstr)
{
    return pstr != nullptr && *pstr >= L'0' && *pstr <= L'9';
}

// Resource ids are 16-bit and never 0.
const long kMaxResourceId = 0xFFFF;

// An image name given with a resource type is the decimal resource id; null
// when the number is none, rather than one cut to 16 bits that would name
// another resource.
LPCWSTR ResourceIdOf(LPCWSTR bitmap)
{
    const long nId = wcstol(bitmap, nullptr, 10);
    if (nId <= 0 || nId > kMaxResourceId)
        return nullptr;
    return MAKEINTRESOURCEW(static_cast<WORD>(nId));
}

bool HasType(LPCWSTR type)
{
    return type != nullptr && *type != 0;
}

TImageInfo* RecordOf(void* pData)
{
    return static_cast<TImageInfo*>(pData);
}

// Loads an image again the way it was first loaded and moves the new
// bitmap into the existing record, so that pointers to it stay valid.
bool ReloadImage(LPCWSTR bitmap, TImageInfo* pImage)
{
    TImageInfo* pNew = nullptr;
    if (pImage->sResType.IsEmpty())
        pNew = CImageLoader::Load(bitmap, nullptr, pImage->dwMask);
    else if (StartsWithDigit(bitmap))
        pNew = CImageLoader::Load(ResourceIdOf(bitmap), pImage->sResType, pImage->dwMask);
    if (pNew == nullptr)
        return false;
    ::DeleteObject(pImage->hBitmap);
    pImage->hBitmap = pNew->hBitmap;
    pImage->nX = pNew->nX;
    pImage->nY = pNew->nY;
    pImage->alphaChannel = pNew->alphaChannel;
    pNew->hBitmap = nullptr;
    CImageLoader::Free(pNew);
    return true;
}

} // namespace

CImageTable::CImageTable() : m_uMissingImagesSettings(CResourceSettings::GetChangeCount()) {}

CImageTable::~CImageTable()
{
    RemoveAll();
}

const TImageInfo* CImageTable::Find(LPCWSTR bitmap, bool bOptimize) const
{
    return RecordOf(m_mImageHash.Find(bitmap, bOptimize));
}

// Paints ask for their images every time: a name that could not be loaded
// is remembered, so that the loader is not called again for it until the
// resource settings change or the images are reloaded.
const TImageInfo* CImageTable::GetEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    const TImageInfo* pImage = Find(bitmap);
    if (pImage != nullptr || IsKnownMissing(bitmap))
        return pImage;
    pImage = Add(bitmap, type, mask);
    if (pImage == nullptr && bitmap != nullptr)
        m_mMissingImages.Set(bitmap, this);
    return pImage;
}

bool CImageTable::IsKnownMissing(LPCWSTR bitmap)
{
    // What failed under other resource settings may be found now.
    if (m_uMissingImagesSettings != CResourceSettings::GetChangeCount())
    {
        m_mMissingImages.RemoveAll();
        m_uMissingImagesSettings = CResourceSettings::GetChangeCount();
    }
    return m_mMissingImages.Find(bitmap, false) != nullptr;
}

bool CImageTable::Insert(LPCWSTR bitmap, TImageInfo* pImage)
{
    if (m_mImageHash.Insert(bitmap, pImage))
        return true;
    CImageLoader::Free(pImage);
    return false;
}

const TImageInfo* CImageTable::Add(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == nullptr || *bitmap == 0)
        return nullptr;
    // Resource images are named by their numeric id.
    if (HasType(type) && !StartsWithDigit(bitmap))
        return nullptr;
    // A name already present keeps its image; nothing new is loaded for it.
    if (Find(bitmap, false) != nullptr)
        return nullptr;
    TImageInfo* pImage = HasType(type) ? CImageLoader::Load(ResourceIdOf(bitmap), type, mask)
                                       : CImageLoader::Load(bitmap, nullptr, mask);
    if (pImage == nullptr)
        return nullptr;
    pImage->sResType = HasType(type) ? type : L"";
    pImage->dwMask = mask;
    return Insert(bitmap, pImage) ? pImage : nullptr;
}

const TImageInfo* CImageTable::Add(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha)
{
    if (bitmap == nullptr || hBitmap == nullptr || iWidth <= 0 || iHeight <= 0)
        return nullptr;
    TImageInfo* pImage = new (std::nothrow) TImageInfo();
    if (pImage == nullptr)
        return nullptr;
    pImage->hBitmap = hBitmap;
    pImage->nX = iWidth;
    pImage->nY = iHeight;
    pImage->alphaChannel = bAlpha;
    pImage->dwMask = 0;
    return Insert(bitmap, pImage) ? pImage : nullptr;
}

bool CImageTable::Remove(LPCWSTR bitmap)
{
    TImageInfo* pImage = RecordOf(m_mImageHash.Find(bitmap, false));
    if (pImage == nullptr)
        return false;
    CImageLoader::Free(pImage);
    return m_mImageHash.Remove(bitmap);
}

void CImageTable::RemoveAll()
{
    for (int i = 0; i < m_mImageHash.GetSize(); i++)
        CImageLoader::Free(RecordOf(m_mImageHash.Find(m_mImageHash.GetAt(i), false)));
    m_mImageHash.RemoveAll();
}

bool CImageTable::ReloadAll()
{
    // Images that were missing are looked for again as well.
    m_mMissingImages.RemoveAll();
    // Lookups without reordering keep the table order stable while walking it.
    bool bReloaded = false;
    for (int i = 0; i < m_mImageHash.GetSize(); i++)
    {
        LPCWSTR bitmap = m_mImageHash.GetAt(i);
        TImageInfo* pImage = RecordOf(m_mImageHash.Find(bitmap, false));
        if (pImage != nullptr && ReloadImage(bitmap, pImage))
            bReloaded = true;
    }
    return bReloaded;
}

} // namespace Veneer
