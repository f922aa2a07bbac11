#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Veneer;

namespace
{

// The own blender makes two DIB sections per piece, which is slow under
// Wine: its paths run fewer cycles.
const int kCycles = 300;
const int kFallbackCycles = 100;

// One round of every drawing operation, each path at least once.
void DrawEverything(CResourceTables& resources, const Canvas& canvas)
{
    const HDC hDC = canvas.DC();
    const RECT item{2, 2, 60, 40};
    const RECT all{0, 0, 64, 48};
    CRenderEngine::DrawImageString(hDC, &resources, item, all, L"file='nine' corner='3,3,3,3'");
    CRenderEngine::DrawImageString(hDC, &resources, item, all,
                                   L"file='nine' corner='3,3,3,3' fade='100' hole='true'");
    CRenderEngine::DrawImageString(hDC, &resources, item, all, L"file='nine' xtiled='true' ytiled='true'");
    CRenderEngine::DrawImageString(hDC, &resources, item, all, L"file='half' xtiled='true'");
    CRenderEngine::DrawImageString(hDC, &resources, item, all, L"file='half' ytiled='true'");
    CRenderEngine::DrawImageString(hDC, &resources, RECT{0, 0, 9, 9}, all, L"nine");
    CRenderEngine::DrawImageString(hDC, &resources, item, all, L"file='missing.png'");
    CRenderEngine::DrawColor(hDC, item, 0xFF102030);
    CRenderEngine::DrawColor(hDC, item, 0x80102030);
    CRenderEngine::DrawGradient(hDC, item, 0xFF000000, 0xFFFFFFFF, true, 16);
    CRenderEngine::DrawGradient(hDC, item, 0x80000000, 0x80FFFFFF, false, 8);
    CRenderEngine::DrawLine(hDC, item, 2, 0xFF000000, PS_DASH);
    CRenderEngine::DrawRect(hDC, item, 1, 0xFF000000);
    CRenderEngine::DrawRoundRect(hDC, item, 1, 4, 4, 0xFF000000);
    RECT rcText = item;
    CRenderEngine::DrawTextW(hDC, &resources, rcText, L"Text", 0xFF000000, -1, DT_SINGLELINE, false);
    CRenderEngine::DrawTextW(hDC, &resources, rcText, L"Text", 0xFF000000, -1, DT_SINGLELINE, true);
    CRenderEngine::GetTextSize(hDC, &resources, L"Text", -1, 0);
    CRenderClip round;
    CRenderClip::GenerateRoundClip(hDC, item, item, 6, 6, round);
    CRenderClip rect;
    CRenderClip::GenerateClip(hDC, RECT{4, 4, 20, 20}, rect);
    CRenderClip::UseOldClipBegin(hDC, rect);
    CRenderClip::UseOldClipEnd(hDC, rect);
}

} // namespace

TEST(GdiObjects, TheCounterSeesObjectsComeAndGo)
{
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 20; i++)
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(CountGdiObjects(), before + 20);
    for (HBRUSH hBrush : brushes)
        DeleteObject(hBrush);
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST(GdiObjects, EveryOperationGivesItsObjectsBack)
{
    CResourceTables resources;
    AddTestImage(resources, L"nine", 9, 9,
                 [](int x, int y) { return 0xFF000000u | static_cast<DWORD>(x * 20 + y); });
    AddTestImage(
        resources, L"half", 3, 3, [](int, int) { return 0x80000000u; }, true);
    Canvas canvas(64, 48, Opaque(kWhite));
    const HGDIOBJ hBitmap = GetCurrentObject(canvas.DC(), OBJ_BITMAP);
    for (bool bFallbacks : {false, true})
    {
        ScopedFallbacks fallbacks(bFallbacks, bFallbacks);
        // The first round makes what lives for the process (stock objects,
        // the default font's measurement).
        DrawEverything(resources, canvas);
        const int before = CountGdiObjects();
        for (int i = 0; i < (bFallbacks ? kFallbackCycles : kCycles); i++)
            DrawEverything(resources, canvas);
        EXPECT_EQ(CountGdiObjects(), before) << "fallbacks " << bFallbacks;
    }
    EXPECT_EQ(GetCurrentObject(canvas.DC(), OBJ_BITMAP), hBitmap);
}
