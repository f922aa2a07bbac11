// A control painted into a bitmap of its own.
#include "veneer/manager/PaintManagerUI.h"

#include "veneer/control/ControlUI.h"
#include "veneer/core/GdiHolders.h"
#include "veneer/render/DibSurface.h"

namespace Veneer
{

HBITMAP CPaintManagerUI::GenerateBitmap(CControlUI* pControl, RECT rc)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (pControl == nullptr || cx <= 0 || cy <= 0)
        return nullptr;

    // Step 1: an off-screen surface like the window's, reaching from 0,0 to
    // the rectangle's far corner. Without a window the screen stands in.
    CScopedScreenDC screen;
    const HDC hPaintDC = m_hDcPaint != nullptr ? m_hDcPaint : screen.Get();
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
