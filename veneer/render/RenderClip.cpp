#include "veneer/render/RenderEngine.h"

namespace Veneer
{

namespace
{

const int kHasClipRegion = 1; // GetClipRgn: the device context has a clip region

// The clip in force now. GetClipRgn keeps a non-rectangular clip (a parent's
// round clip) exactly; without a clip region the visible box stands for it.
HRGN SaveCurrentClip(HDC hDC)
{
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (hRgn != nullptr && ::GetClipRgn(hDC, hRgn) == kHasClipRegion)
        return hRgn;
    if (hRgn != nullptr)
        ::DeleteObject(hRgn);
    RECT rcClip{};
    ::GetClipBox(hDC, &rcClip);
    return ::CreateRectRgnIndirect(&rcClip);
}

void ReleaseRegions(CRenderClip& clip)
{
    if (clip.hRgn != nullptr)
        ::DeleteObject(clip.hRgn);
    if (clip.hOldRgn != nullptr)
        ::DeleteObject(clip.hOldRgn);
    clip.hRgn = nullptr;
    clip.hOldRgn = nullptr;
}

// Narrows the clip by `hRgn` and keeps what is then in force, so that
// UseOldClipEnd restores exactly this clip and not the bare region.
void Narrow(HDC hDC, const RECT& rc, HRGN hRgn, CRenderClip& clip)
{
    ::ExtSelectClipRgn(hDC, hRgn, RGN_AND);
    ::GetClipRgn(hDC, hRgn);
    clip.hRgn = hRgn;
    clip.hDC = hDC;
    clip.rcItem = rc;
}

} // namespace

CRenderClip::CRenderClip() : rcItem{}, hDC(nullptr), hRgn(nullptr), hOldRgn(nullptr) {}

CRenderClip::~CRenderClip()
{
    if (hDC != nullptr && hOldRgn != nullptr)
        ::SelectClipRgn(hDC, hOldRgn);
    ReleaseRegions(*this);
}

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip)
{
    ReleaseRegions(clip);
    clip.hOldRgn = SaveCurrentClip(hDC);
    Narrow(hDC, rc, ::CreateRectRgnIndirect(&rc), clip);
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip)
{
    ReleaseRegions(clip);
    clip.hOldRgn = SaveCurrentClip(hDC);
    HRGN hRgn = ::CreateRectRgnIndirect(&rc);
    // Round regions leave out their right and bottom edges; one more pixel
    // each way covers the item's last column and row.
    HRGN hRgnRound =
        ::CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width, height);
    ::CombineRgn(hRgn, hRgn, hRgnRound, RGN_AND);
    ::DeleteObject(hRgnRound);
    Narrow(hDC, rc, hRgn, clip);
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hOldRgn);
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hRgn);
}

} // namespace Veneer
