#include "veneer/render/DibSurface.h"

namespace Veneer
{

const WORD kBitsPerPixel = 32;

CDibSurface::~CDibSurface()
{
    Release();
}

HBITMAP CDibSurface::CreateBitmap(int cx, int cy, DWORD** ppBits)
{
    *ppBits = nullptr;
    if (cx <= 0 || cy <= 0)
        return nullptr;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy; // row 0 is the top row
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = kBitsPerPixel;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    *ppBits = hBitmap != nullptr ? static_cast<DWORD*>(pBits) : nullptr;
    return hBitmap;
}

bool CDibSurface::Create(HDC hCompatible, int cx, int cy)
{
    Release();
    m_hBitmap = CreateBitmap(cx, cy, &m_pBits);
    if (m_hBitmap == nullptr)
        return false;
    m_hDC = ::CreateCompatibleDC(hCompatible);
    if (m_hDC == nullptr)
    {
        Release();
        return false;
    }
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    m_cx = cx;
    m_cy = cy;
    return true;
}

HBITMAP CDibSurface::Detach()
{
    HBITMAP hBitmap = m_hBitmap;
    m_hBitmap = nullptr;
    Release();
    return hBitmap;
}

void CDibSurface::Release()
{
    if (m_hDC != nullptr)
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteDC(m_hDC);
    }
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_hDC = nullptr;
    m_hBitmap = nullptr;
    m_hOldBitmap = nullptr;
    m_pBits = nullptr;
    m_cx = 0;
    m_cy = 0;
}

} // namespace Veneer
