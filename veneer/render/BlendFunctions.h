#pragma once

#include <windows.h>

namespace Veneer
{

typedef BOOL(WINAPI* PFNALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The optional entry points of "msimg32.dll", looked up once per process,
// and the toolkit's own blender for systems that lack AlphaBlend. UI thread
// only: the pointers are set without locking.
class CBlendFunctions
{
  public:
    // AlphaBlend, or the own blender when the library does not have it.
    static PFNALPHABLEND GetAlphaBlend();
    // GradientFill, or null when the library does not have it.
    static PFNGRADIENTFILL GetGradientFill();

    // Takes the arguments of AlphaBlend and gives the same result for a
    // premultiplied source: each colour channel becomes
    // src * constant / 255 + dst * (1 - srcAlpha * constant / 255 / 255),
    // truncated; the source alpha counts as 255 without AC_SRC_ALPHA.
    static BOOL WINAPI OwnAlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc,
                                     int xSrc, int ySrc, int cxSrc, int cySrc, BLENDFUNCTION bf);

    // For tests: behave as if the library lacked AlphaBlend (the own
    // blender is used) or GradientFill (gradients are drawn in bands).
    static void HideSystemFunctions(bool bAlphaBlend, bool bGradientFill);

  private:
    static void LookUp();

    static bool m_bLookedUp;
    static PFNALPHABLEND m_pfnAlphaBlend;
    static PFNGRADIENTFILL m_pfnGradientFill;
    static bool m_bHideAlphaBlend;
    static bool m_bHideGradientFill;
};

} // namespace Veneer
