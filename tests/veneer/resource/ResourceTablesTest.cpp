#include "veneer/manager/PaintManagerUI.h"
#include "veneer/render/RenderEngine.h"

#include "TestImages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

LOGFONTW LogFontOf(HFONT hFont)
{
    LOGFONTW lf{};
    GetObjectW(hFont, sizeof(lf), &lf);
    return lf;
}

LOGFONTW StockFont()
{
    return LogFontOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

bool IsDeleted(HGDIOBJ hObject)
{
    return GetObjectType(hObject) == 0;
}

} // namespace

TEST(FontTable, DefaultFontIsTheStockGuiFont)
{
    CPaintManagerUI pm;
    const LOGFONTW stock = StockFont();
    const TFontInfo* pDefault = pm.GetDefaultFontInfo();
    ASSERT_NE(pDefault->hFont, nullptr);
    EXPECT_EQ(pm.GetFont(-1), pDefault->hFont);
    EXPECT_EQ(pm.GetFont(0), pDefault->hFont);
    EXPECT_STREQ(pDefault->sFontName, stock.lfFaceName);
    EXPECT_EQ(pDefault->iSize, -stock.lfHeight);
    EXPECT_EQ(pDefault->bBold, stock.lfWeight >= FW_BOLD);
    EXPECT_EQ(LogFontOf(pDefault->hFont).lfCharSet, DEFAULT_CHARSET);

    CPaintManagerUI::m_pStrDefaultFontName = L"Courier New";
    CPaintManagerUI named;
    CPaintManagerUI::m_pStrDefaultFontName.Empty();
    EXPECT_STREQ(named.GetDefaultFontInfo()->sFontName, L"Courier New");
    EXPECT_STREQ(LogFontOf(named.GetFont(-1)).lfFaceName, L"Courier New");
}

TEST(FontTable, FontsAreMadeFromTheStockFont)
{
    CPaintManagerUI pm;
    const LOGFONTW stock = StockFont();
    HFONT hFont = pm.AddFont(L"Tahoma", 13, true, true, true);
    ASSERT_NE(hFont, nullptr);
    const LOGFONTW lf = LogFontOf(hFont);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWeight, stock.lfWeight + FW_BOLD);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);

    const TFontInfo* pInfo = pm.GetFontInfo(0);
    EXPECT_EQ(pInfo->hFont, hFont);
    EXPECT_STREQ(pInfo->sFontName, L"Tahoma");
    EXPECT_EQ(pInfo->iSize, 13);
    EXPECT_TRUE(pInfo->bBold && pInfo->bUnderline && pInfo->bItalic);

    // Face names longer than the font record allows are cut, terminated.
    const std::wstring longName(40, L'F');
    EXPECT_STREQ(LogFontOf(pm.AddFont(longName.c_str(), 10, false, false, false)).lfFaceName,
                 longName.substr(0, LF_FACESIZE - 1).c_str());
}

TEST(FontTable, IndexesFollowInsertionAndRemoval)
{
    CPaintManagerUI pm;
    HFONT hA = pm.AddFont(L"Arial", 12, false, false, false);
    HFONT hB = pm.AddFont(L"Arial", 14, false, false, false);
    HFONT hFront = pm.AddFontAt(0, L"Tahoma", 9, false, false, false);
    EXPECT_EQ(pm.AddFontAt(4, L"Tahoma", 9, false, false, false), nullptr);
    EXPECT_EQ(pm.AddFontAt(-1, L"Tahoma", 9, false, false, false), nullptr);
    ASSERT_EQ(pm.GetCustomFontCount(), 3);
    EXPECT_EQ(pm.GetFont(0), hFront);
    EXPECT_EQ(pm.GetFont(1), hA);
    EXPECT_EQ(pm.GetFont(2), hB);
    EXPECT_EQ(pm.GetFont(3), pm.GetDefaultFontInfo()->hFont);
    EXPECT_EQ(pm.GetFontIndex(hB), 2);
    EXPECT_EQ(pm.GetFontIndex(L"Arial", 14, false, false, false), 2);
    EXPECT_EQ(pm.GetFontIndex(L"arial", 14, false, false, false), -1); // names are case-sensitive
    EXPECT_EQ(pm.GetFontIndex(L"Arial", 14, true, false, false), -1);
    EXPECT_EQ(pm.GetFont(L"Arial", 12, false, false, false), hA);
    EXPECT_EQ(pm.GetFont(L"Arial", 13, false, false, false), nullptr);

    EXPECT_TRUE(pm.RemoveFont(hFront));
    EXPECT_TRUE(IsDeleted(hFront));
    EXPECT_FALSE(pm.RemoveFont(hFront));
    EXPECT_EQ(pm.GetFontIndex(hB), 1);
    EXPECT_TRUE(pm.RemoveFontAt(0));
    EXPECT_TRUE(IsDeleted(hA));
    EXPECT_FALSE(pm.RemoveFontAt(1));
    EXPECT_EQ(pm.GetFont(0), hB);
    pm.RemoveAllFonts();
    EXPECT_TRUE(IsDeleted(hB));
    EXPECT_EQ(pm.GetCustomFontCount(), 0);
}

TEST(FontTable, UnknownFontsGiveTheDefaultRecord)
{
    CPaintManagerUI pm;
    HFONT hFont = pm.AddFont(L"Arial", 12, false, false, false);
    EXPECT_EQ(pm.GetFontInfo(hFont)->hFont, hFont);
    EXPECT_EQ(pm.GetFontInfo(5), pm.GetDefaultFontInfo());
    EXPECT_EQ(pm.GetFontInfo(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))), pm.GetDefaultFontInfo());
    EXPECT_FALSE(pm.FindFont(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))));
    EXPECT_TRUE(pm.FindFont(hFont));
}

TEST(FontTable, SetDefaultFontReplacesTheOldOne)
{
    CPaintManagerUI pm;
    HFONT hOld = pm.GetDefaultFontInfo()->hFont;
    pm.SetDefaultFont(L"Tahoma", 20, true, false, false);
    const TFontInfo* pDefault = pm.GetDefaultFontInfo();
    EXPECT_NE(pDefault->hFont, hOld);
    EXPECT_TRUE(IsDeleted(hOld));
    EXPECT_STREQ(pDefault->sFontName, L"Tahoma");
    EXPECT_EQ(pDefault->iSize, 20);
    EXPECT_TRUE(pDefault->bBold);
    EXPECT_EQ(LogFontOf(pDefault->hFont).lfHeight, -20);
}

TEST(FontTable, ParentFontsAreFoundByNameButNotByIndex)
{
    CPaintManagerUI top;
    CPaintManagerUI middle;
    CPaintManagerUI child;
    ASSERT_TRUE(middle.UseParentResource(&top));
    ASSERT_TRUE(child.UseParentResource(&middle));
    HFONT hTop = top.AddFont(L"Arial", 12, false, false, false);
    HFONT hMiddle = middle.AddFont(L"Arial", 12, false, false, false);
    EXPECT_EQ(child.GetFont(L"Arial", 12, false, false, false), hMiddle);
    EXPECT_EQ(top.GetFont(L"Arial", 12, false, false, false), hTop);
    EXPECT_EQ(child.GetFontIndex(L"Arial", 12, false, false, false), -1);
    EXPECT_EQ(child.GetFontIndex(hMiddle), -1);
    EXPECT_TRUE(child.FindFont(hTop));
    EXPECT_TRUE(child.FindFont(L"Arial", 12, false, false, false));
    EXPECT_EQ(child.GetFontInfo(hTop)->hFont, hTop);

    // The default font is the topmost manager's.
    child.SetDefaultFont(L"Tahoma", 30, false, false, false);
    EXPECT_EQ(child.GetFont(-1), top.GetDefaultFontInfo()->hFont);
    EXPECT_EQ(child.GetDefaultFontInfo(), top.GetDefaultFontInfo());
    EXPECT_EQ(child.GetFontInfo(0), top.GetDefaultFontInfo());
}

TEST(FontTable, FontsAreMeasuredWithoutAnyWindow)
{
    // What the screen measures for a font: the metrics every record must get.
    auto measured = [](HFONT hFont) {
        TEXTMETRICW tm{};
        HDC hDC = GetDC(nullptr);
        HGDIOBJ hOld = SelectObject(hDC, hFont);
        GetTextMetricsW(hDC, &tm);
        SelectObject(hDC, hOld);
        ReleaseDC(nullptr, hDC);
        return tm;
    };
    // Neither manager has a window; the child reads the parent's fonts.
    CPaintManagerUI parent;
    CPaintManagerUI child;
    ASSERT_TRUE(child.UseParentResource(&parent));
    HFONT hFont = parent.AddFont(L"Arial", 20, true, false, false);
    parent.SetDefaultFont(L"Tahoma", 17, false, false, false);
    const TFontInfo* pParentFont = child.GetFontInfo(hFont);
    ASSERT_EQ(pParentFont->hFont, hFont);
    const TFontInfo* pDefault = child.GetDefaultFontInfo();
    ASSERT_EQ(pDefault, parent.GetDefaultFontInfo());
    for (const TFontInfo* pInfo : {pParentFont, pDefault})
    {
        const TEXTMETRICW expected = measured(pInfo->hFont);
        ASSERT_GT(expected.tmHeight, 0);
        EXPECT_EQ(pInfo->tm.tmHeight, expected.tmHeight) << pInfo->sFontName.GetData();
        EXPECT_EQ(pInfo->tm.tmAveCharWidth, expected.tmAveCharWidth) << pInfo->sFontName.GetData();
        EXPECT_EQ(pInfo->tm.tmWeight, expected.tmWeight) << pInfo->sFontName.GetData();
    }
    // The child's own fonts as well.
    child.AddFont(L"Arial", 11, false, false, false);
    EXPECT_EQ(child.GetFontInfo(0)->tm.tmHeight, measured(child.GetFont(0)).tmHeight);
}

TEST(ParentResource, AManagerCannotBecomeItsOwnAncestor)
{
    CPaintManagerUI a, b, c;
    EXPECT_FALSE(a.UseParentResource(&a));
    EXPECT_TRUE(b.UseParentResource(&a));
    EXPECT_TRUE(c.UseParentResource(&b));
    EXPECT_FALSE(a.UseParentResource(&c));
    EXPECT_EQ(a.GetParentResource(), nullptr);
    EXPECT_TRUE(c.UseParentResource(&a));
    EXPECT_EQ(c.GetParentResource(), &a);
    EXPECT_TRUE(c.UseParentResource(nullptr));
    EXPECT_EQ(c.GetParentResource(), nullptr);
}

TEST(DefaultAttributes, FirstDefinitionWinsAndParentsAreAsked)
{
    CPaintManagerUI parent;
    CPaintManagerUI pm;
    pm.AddDefaultAttributeList(L"Button", L"height=\"20\"");
    pm.AddDefaultAttributeList(L"Button", L"height=\"99\"");
    EXPECT_STREQ(pm.GetDefaultAttributeList(L"Button"), L"height=\"20\"");
    EXPECT_EQ(pm.GetDefaultAttribultes().GetSize(), 1);

    parent.AddDefaultAttributeList(L"Label", L"textcolor=\"#FF000000\"");
    EXPECT_EQ(pm.GetDefaultAttributeList(L"Label"), nullptr);
    pm.UseParentResource(&parent);
    EXPECT_STREQ(pm.GetDefaultAttributeList(L"Label"), L"textcolor=\"#FF000000\"");
    EXPECT_FALSE(pm.RemoveDefaultAttributeList(L"Label"));
    EXPECT_TRUE(pm.RemoveDefaultAttributeList(L"Button"));
    EXPECT_EQ(pm.GetDefaultAttributeList(L"Button"), nullptr);
    pm.AddDefaultAttributeList(L"Edit", L"a=\"1\"");
    pm.AddDefaultAttributeList(L"Option", L"b=\"2\"");
    pm.RemoveAllDefaultAttributeList();
    EXPECT_EQ(pm.GetDefaultAttribultes().GetSize(), 0);
    EXPECT_STREQ(pm.GetDefaultAttributeList(L"Label"), L"textcolor=\"#FF000000\"");
}

TEST(DefaultColours, ReadFromTheTopmostManager)
{
    CPaintManagerUI parent;
    CPaintManagerUI pm;
    EXPECT_EQ(pm.GetDefaultDisabledColor(), 0xFFA7A6AAu);
    EXPECT_EQ(pm.GetDefaultFontColor(), 0xFF000000u);
    EXPECT_EQ(pm.GetDefaultLinkFontColor(), 0xFF0000FFu);
    EXPECT_EQ(pm.GetDefaultLinkHoverFontColor(), 0xFFD3215Fu);
    EXPECT_EQ(pm.GetDefaultSelectedBkColor(), 0xFFBAE4FFu);

    pm.SetDefaultFontColor(0xFF111111);
    pm.SetDefaultDisabledColor(0xFF222222);
    pm.SetDefaultLinkFontColor(0xFF333333);
    pm.SetDefaultLinkHoverFontColor(0xFF444444);
    pm.SetDefaultSelectedBkColor(0xFF555555);
    EXPECT_EQ(pm.GetDefaultFontColor(), 0xFF111111u);
    EXPECT_EQ(pm.GetDefaultSelectedBkColor(), 0xFF555555u);
    pm.UseParentResource(&parent);
    parent.SetDefaultLinkFontColor(0xFF666666);
    EXPECT_EQ(pm.GetDefaultFontColor(), 0xFF000000u);
    EXPECT_EQ(pm.GetDefaultDisabledColor(), 0xFFA7A6AAu);
    EXPECT_EQ(pm.GetDefaultLinkFontColor(), 0xFF666666u);
    EXPECT_EQ(pm.GetDefaultLinkHoverFontColor(), 0xFFD3215Fu);
    EXPECT_EQ(pm.GetDefaultSelectedBkColor(), 0xFFBAE4FFu);
}

TEST(ColourShift, SetHslClampsAndGetHslReads)
{
    short h = 0, s = 0, l = 0;
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(h, 180);
    EXPECT_EQ(s, 100);
    EXPECT_EQ(l, 100);
    CPaintManagerUI::SetHSL(true, 400, 250, -3);
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(h, 360);
    EXPECT_EQ(s, 200);
    EXPECT_EQ(l, 0);
    CPaintManagerUI::SetHSL(false, -5, 50, 150);
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 50);
    EXPECT_EQ(l, 150);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
}

TEST(ColourShift, AdjustColor)
{
    // Neutral values return the colour bit for bit, alpha included.
    for (DWORD c : {0x12345678u, 0x00000000u, 0xFFFFFFFFu, 0x80FF00FFu})
        EXPECT_EQ(CRenderEngine::AdjustColor(c, 180, 100, 100), c);

    // The low byte is read as red: +120 degrees turns it into the next byte.
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 300, 100, 100), 0xFF00FF00u);
    EXPECT_EQ(CRenderEngine::AdjustColor(0x400000FF, 300, 100, 100), 0x4000FF00u);
    // So the toolkit's red (0xFFFF0000) turns towards its blue.
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFFFF0000, 300, 100, 100), 0xFF0000FFu);
    // -120 degrees: 180 - 120 = 60, a hue of 0 wraps to 360.
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 60, 100, 100), 0xFFFF0000u);
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 0, 100, 100), 0xFFFFFF00u);

    // No saturation leaves the grey of the lightness; lightness scales.
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF0000FF, 180, 0, 100), 0xFF808080u);
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF808080, 180, 100, 200), 0xFFFFFFFFu);
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF808080, 180, 100, 0), 0xFF000000u);
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF808080, 180, 100, 50), 0xFF404040u);
    // Saturation beyond 100 pushes the channels apart around the lightness.
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFF6080A0, 180, 200, 100), 0xFF4080C0u);
}

// Wine's GetGuiResources counts nothing, so the test collects every handle
// the tables hand out and checks that each is deleted when it should be.
TEST(ResourceLifetime, TablesGiveBackEveryGdiObject)
{
    WriteFileBytes(L"gdi_count.png", EncodePng(8, 8, Solid(8, 8, 0x10203040)));
    for (int round = 0; round < 100; round++)
    {
        std::vector<HGDIOBJ> handles;
        {
            CPaintManagerUI pm;
            handles.push_back(pm.GetFont(-1));
            pm.SetDefaultFont(L"Tahoma", 11, false, false, false);
            handles.push_back(pm.GetFont(-1));
            handles.push_back(pm.AddFont(L"Arial", 12, round % 2 == 0, false, false));
            HFONT hRemoved = pm.AddFont(L"Arial", 14, false, true, false);
            handles.push_back(pm.AddFontAt(0, L"Arial", 16, false, false, true));
            pm.RemoveFont(hRemoved);
            EXPECT_TRUE(IsDeleted(hRemoved));
            handles.push_back(pm.AddImage(L"gdi_count.png")->hBitmap);
            EXPECT_EQ(pm.AddImage(L"gdi_count.png"), nullptr);
            handles.push_back(CreateBitmap(2, 2, 1, 32, nullptr));
            pm.AddImage(L"made", static_cast<HBITMAP>(handles.back()), 2, 2, false);
            HBITMAP hRefused = CreateBitmap(2, 2, 1, 32, nullptr);
            pm.AddImage(L"made", hRefused, 2, 2, false);
            EXPECT_TRUE(IsDeleted(hRefused));
            pm.ReloadAllImages();
            EXPECT_TRUE(IsDeleted(handles[4]));  // the image before the reload
            EXPECT_FALSE(IsDeleted(handles[5])); // "made" has no file to reload from
            handles.push_back(pm.GetImage(L"gdi_count.png")->hBitmap);
            pm.AddDefaultAttributeList(L"Button", L"x=\"1\"");
        }
        for (size_t i = 0; i < handles.size(); i++)
            EXPECT_TRUE(IsDeleted(handles[i])) << "round " << round << ", handle " << i;
    }
    DeleteFileW(L"gdi_count.png");
}
