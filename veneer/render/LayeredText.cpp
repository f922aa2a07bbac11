#include "veneer/render/LayeredText.h"

#include "veneer/render/BlendFunctions.h"

#include <cstring>

namespace Veneer
{

CLayeredTextSurface::CLayeredTextSurface(HDC hTarget, const RECT& rc)
    : m_hTarget(hTarget), m_rc(rc), m_bReady(false)
{
    if (hTarget == nullptr || !m_surface.Create(hTarget, rc.right - rc.left, rc.bottom - rc.top))
        return;
    memset(m_surface.GetBits(), 0xFF, m_surface.GetPixelCount() * sizeof(DWORD));
    // The caller draws with the target's coordinates.
    ::SetViewportOrgEx(m_surface.GetDC(), -rc.left, -rc.top, nullptr);
    m_bReady = true;
}

HDC CLayeredTextSurface::GetDC() const
{
    return m_bReady ? m_surface.GetDC() : nullptr;
}

void CLayeredTextSurface::Finish()
{
    if (!m_bReady)
        return;
    m_bReady = false;
    ::GdiFlush();
    const DWORD kAlphaMask = 0xFF000000;
    DWORD* pPixels = m_surface.GetBits();
    for (size_t i = 0; i < m_surface.GetPixelCount(); i++)
        pPixels[i] = (pPixels[i] & kAlphaMask) != 0 ? 0 : pPixels[i] | kAlphaMask;

    ::SetViewportOrgEx(m_surface.GetDC(), 0, 0, nullptr);
    BLENDFUNCTION bf{};
    bf.BlendOp = AC_SRC_OVER;
    bf.SourceConstantAlpha = 255;
    bf.AlphaFormat = AC_SRC_ALPHA;
    CBlendFunctions::GetAlphaBlend()(m_hTarget, m_rc.left, m_rc.top, m_surface.GetWidth(),
                                     m_surface.GetHeight(), m_surface.GetDC(), 0, 0, m_surface.GetWidth(),
                                     m_surface.GetHeight(), bf);
}

} // namespace Veneer
