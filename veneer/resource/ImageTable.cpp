#include "veneer/manager/PaintManagerUI.h"
#include "veneer/render/RenderEngine.h"

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

} // namespace

const TImageInfo* CPaintManagerUI::GetImage(LPCWSTR bitmap)
{
    const TImageInfo* pImage = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    if (pImage == nullptr && m_pParentResourcePM != nullptr)
        return m_pParentResourcePM->GetImage(bitmap);
    return pImage;
}

// Paints ask for their images every time: a name that could not be loaded
// is remembered, so that the loader is not called again for it until the
// resource settings change or the images are reloaded.
const TImageInfo* CPaintManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    const TImageInfo* pImage = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    if (pImage != nullptr || IsKnownMissing(bitmap))
        return pImage;
    pImage = AddImage(bitmap, type, mask);
    if (pImage == nullptr && bitmap != nullptr)
        m_mMissingImages.Set(bitmap, this);
    return pImage;
}

bool CPaintManagerUI::IsKnownMissing(LPCWSTR bitmap)
{
    // What failed under other resource settings may be found now.
    if (m_uMissingImagesSettings != m_uResourceSettings)
    {
        m_mMissingImages.RemoveAll();
        m_uMissingImagesSettings = m_uResourceSettings;
    }
    return m_mMissingImages.Find(bitmap, false) != nullptr;
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == nullptr || *bitmap == 0)
        return nullptr;
    // Resource images are named by their numeric id.
    if (HasType(type) && !StartsWithDigit(bitmap))
        return nullptr;
    // A name already present keeps its image; nothing new is loaded for it.
    if (m_mImageHash.Find(bitmap, false) != nullptr)
        return nullptr;
    TImageInfo* pImage = HasType(type) ? CRenderEngine::LoadImageW(ResourceIdOf(bitmap), type, mask)
                                       : CRenderEngine::LoadImageW(bitmap, nullptr, mask);
    if (pImage == nullptr)
        return nullptr;
    pImage->sResType = HasType(type) ? type : L"";
    pImage->dwMask = mask;
    if (!m_mImageHash.Insert(bitmap, pImage))
    {
        CRenderEngine::FreeImage(pImage);
        return nullptr;
    }
    return pImage;
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight,
                                            bool bAlpha)
{
    if (bitmap == nullptr || hBitmap == nullptr || iWidth <= 0 || iHeight <= 0)
        return nullptr;
    TImageInfo* pImage = new (std::nothrow) TImageInfo();
    if (pImage == nullptr)
        return nullptr;
    // From here the table owns the bitmap, even when it turns the record down.
    pImage->hBitmap = hBitmap;
    pImage->nX = iWidth;
    pImage->nY = iHeight;
    pImage->alphaChannel = bAlpha;
    pImage->dwMask = 0;
    if (!m_mImageHash.Insert(bitmap, pImage))
    {
        CRenderEngine::FreeImage(pImage);
        return nullptr;
    }
    return pImage;
}

bool CPaintManagerUI::RemoveImage(LPCWSTR bitmap)
{
    TImageInfo* pImage = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap, false));
    if (pImage == nullptr)
        return false;
    CRenderEngine::FreeImage(pImage);
    return m_mImageHash.Remove(bitmap);
}

void CPaintManagerUI::RemoveAllImages()
{
    for (int i = 0; i < m_mImageHash.GetSize(); i++)
        CRenderEngine::FreeImage(static_cast<TImageInfo*>(m_mImageHash.Find(m_mImageHash.GetAt(i), false)));
    m_mImageHash.RemoveAll();
}

// Loads an image again the way it was first loaded and moves the new
// bitmap into the existing record, so that pointers to it stay valid.
bool CPaintManagerUI::ReloadImage(LPCWSTR bitmap, TImageInfo* pImage)
{
    TImageInfo* pNew = nullptr;
    if (pImage->sResType.IsEmpty())
        pNew = CRenderEngine::LoadImageW(bitmap, nullptr, pImage->dwMask);
    else if (StartsWithDigit(bitmap))
        pNew = CRenderEngine::LoadImageW(ResourceIdOf(bitmap), pImage->sResType, pImage->dwMask);
    if (pNew == nullptr)
        return false;
    ::DeleteObject(pImage->hBitmap);
    pImage->hBitmap = pNew->hBitmap;
    pImage->nX = pNew->nX;
    pImage->nY = pNew->nY;
    pImage->alphaChannel = pNew->alphaChannel;
    pNew->hBitmap = nullptr;
    CRenderEngine::FreeImage(pNew);
    return true;
}

void CPaintManagerUI::ReloadAllImages()
{
    // Images that were missing are looked for again as well.
    m_mMissingImages.RemoveAll();
    // Lookups without reordering keep the table order stable while walking it.
    bool bReloaded = false;
    for (int i = 0; i < m_mImageHash.GetSize(); i++)
    {
        LPCWSTR bitmap = m_mImageHash.GetAt(i);
        TImageInfo* pImage = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap, false));
        if (pImage != nullptr && ReloadImage(bitmap, pImage))
            bReloaded = true;
    }
    if (bReloaded)
        InvalidateRoot();
}

void CPaintManagerUI::ReloadSkin()
{
    for (int i = 0; i < m_aPreMessages.GetSize(); i++)
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
}

} // namespace Veneer
