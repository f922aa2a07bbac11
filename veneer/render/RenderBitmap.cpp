#include "veneer/render/RenderEngine.h"

#include "veneer/control/ControlUI.h"
#include "veneer/render/DibSurface.h"
#include "veneer/render/GdiHolders.h"

namespace Veneer
{

namespace
{

// The screen's device context for a manager that has no window yet.
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

} // namespace

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (pManager == nullptr || pControl == nullptr || cx <= 0 || cy <= 0)
        return nullptr;

    // Step 1: an off-screen surface like the window's, reaching from 0,0 to
    // the rectangle's far corner. Without a window the screen stands in.
    CScopedScreenDC screen;
    const HDC hPaintDC = pManager->GetPaintDC() != nullptr ? pManager->GetPaintDC() : screen.Get();
    CScopedMemDC memDC(hPaintDC);
    CScopedGdiObject<HBITMAP> surface(::CreateCompatibleBitmap(hPaintDC, rc.right, rc.bottom));
    if (memDC.Get() == nullptr || surface.Get() == nullptr)
        return nullptr;
    CScopedSelect selectSurface(memDC.Get(), surface.Get());

    // Step 2: the control paints itself there.
    pControl->DoPaint(memDC.Get(), rc);

    // Step 3: the rectangle, copied into a DIB section the caller owns.
    CDibSurface copy;
    if (!copy.Create(hPaintDC, cx, cy))
        return nullptr;
    ::BitBlt(copy.GetDC(), 0, 0, cx, cy, memDC.Get(), rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    return copy.Detach();
}

} // namespace Veneer
