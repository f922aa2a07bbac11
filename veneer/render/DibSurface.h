#pragma once

#include <windows.h>

namespace Veneer
{

// A 32-bit top-down DIB section selected into its own memory device
// context, for drawing that reads or writes pixels directly. Row 0 of the
// bits is the top row; a pixel is 0xAARRGGBB.
class CDibSurface
{
  public:
    CDibSurface() = default;
    CDibSurface(const CDibSurface&) = delete;
    CDibSurface& operator=(const CDibSurface&) = delete;
    ~CDibSurface();

    // False when the size is not positive or GDI cannot make the objects.
    bool Create(HDC hCompatible, int cx, int cy);
    // Gives up ownership of the bitmap: it is deselected and returned.
    HBITMAP Detach();

    HDC GetDC() const { return m_hDC; }
    DWORD* GetBits() const { return m_pBits; }
    int GetWidth() const { return m_cx; }
    int GetHeight() const { return m_cy; }
    size_t GetPixelCount() const { return static_cast<size_t>(m_cx) * static_cast<size_t>(m_cy); }

    // A 32-bit top-down DIB section of cx x cy pixels, not selected anywhere.
    static HBITMAP CreateBitmap(int cx, int cy, DWORD** ppBits);

  private:
    void Release();

    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    DWORD* m_pBits = nullptr;
    int m_cx = 0;
    int m_cy = 0;
};

} // namespace Veneer
