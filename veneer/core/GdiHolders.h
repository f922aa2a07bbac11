#pragma once

#include <windows.h>

namespace Veneer
{

// Holders for the GDI objects that the toolkit makes and selects for the
// length of one call, so that every exit path gives them back.

// Owns a GDI object (pen, brush, bitmap, region) and deletes it.
template <typename THandle> class CScopedGdiObject
{
  public:
    explicit CScopedGdiObject(THandle hObject) : m_hObject(hObject) {}
    CScopedGdiObject(const CScopedGdiObject&) = delete;
    CScopedGdiObject& operator=(const CScopedGdiObject&) = delete;
    ~CScopedGdiObject() { Reset(nullptr); }
    THandle Get() const { return m_hObject; }

    // Deletes the object held and holds another.
    void Reset(THandle hObject)
    {
        if (m_hObject != nullptr)
            ::DeleteObject(m_hObject);
        m_hObject = hObject;
    }

    // Hands the object over to the caller.
    THandle Release()
    {
        THandle hObject = m_hObject;
        m_hObject = nullptr;
        return hObject;
    }

  private:
    THandle m_hObject;
};

// Owns a memory device context and deletes it.
class CScopedMemDC
{
  public:
    explicit CScopedMemDC(HDC hCompatible) : m_hDC(::CreateCompatibleDC(hCompatible)) {}
    CScopedMemDC(const CScopedMemDC&) = delete;
    CScopedMemDC& operator=(const CScopedMemDC&) = delete;
    ~CScopedMemDC()
    {
        if (m_hDC != nullptr)
            ::DeleteDC(m_hDC);
    }
    HDC Get() const { return m_hDC; }

  private:
    HDC m_hDC;
};

// Holds the screen's device context, for measuring and for surfaces made
// before a window has one.
class CScopedScreenDC
{
  public:
    CScopedScreenDC() : m_hDC(::GetDC(nullptr)) {}
    CScopedScreenDC(const CScopedScreenDC&) = delete;
    CScopedScreenDC& operator=(const CScopedScreenDC&) = delete;
    ~CScopedScreenDC()
    {
        if (m_hDC != nullptr)
            ::ReleaseDC(nullptr, m_hDC);
    }
    HDC Get() const { return m_hDC; }

  private:
    HDC m_hDC;
};

// Selects an object into a device context and puts the previous one back.
class CScopedSelect
{
  public:
    CScopedSelect(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;
    ~CScopedSelect()
    {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
    }
    bool IsSelected() const { return m_hOld != nullptr && m_hOld != HGDI_ERROR; }

  private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

} // namespace Veneer
