#include "veneer/manager/PaintManagerUI.h"
#include "veneer/render/RenderEngine.h"

#include "TestImages.h"
#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

// The test program carries the 2 x 2 sample image as resource 101 of type
// "PNG" (see the test resources).
const WORD kSampleResourceId = 101;

// Opaque magenta, half-transparent magenta, an opaque colour and a
// quarter-transparent colour: the same pixels as the sample resource.
std::vector<uint8_t> SamplePixels()
{
    return {0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0x80, 0x10, 0x20, 0x30, 0xFF, 0x40, 0x80, 0xC0, 0x40};
}

// The same pixels premultiplied, as 0xAARRGGBB.
const DWORD kSampleDib[] = {0xFFFF00FF, 0x80800080, 0xFF102030, 0x40102030};

std::vector<DWORD> PixelsOf(const TImageInfo* pImage)
{
    DIBSECTION ds{};
    if (GetObjectW(pImage->hBitmap, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBitsPixel != 32)
        return {};
    const DWORD* bits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    return std::vector<DWORD>(bits, bits + ds.dsBm.bmWidth * ds.dsBm.bmHeight);
}

bool IsDeleted(HGDIOBJ hObject)
{
    return GetObjectType(hObject) == 0;
}

// Every test starts without a resource path or archive and ends the same.
class ImageLoading : public ::testing::Test
{
  protected:
    void SetUp() override { WriteFileBytes(L"sample.png", EncodePng(2, 2, SamplePixels())); }
    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
        CPaintManagerUI::SetInstance(nullptr);
        DeleteFileW(L"sample.png");
    }
};

using ImageTable = ImageLoading;

} // namespace

TEST_F(ImageLoading, DecodesIntoAPremultipliedTopDownDib)
{
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"sample.png");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nX, 2);
    EXPECT_EQ(pImage->nY, 2);
    EXPECT_TRUE(pImage->alphaChannel);
    EXPECT_TRUE(pImage->sResType.IsEmpty());
    EXPECT_EQ(pImage->dwMask, 0u);
    // Row 0 of the bits is the top row on screen.
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hDC, pImage->hBitmap);
    EXPECT_EQ(GetPixel(hDC, 0, 0), RGB(0xFF, 0x00, 0xFF));
    EXPECT_EQ(GetPixel(hDC, 0, 1), RGB(0x10, 0x20, 0x30));
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    EXPECT_EQ(PixelsOf(pImage), std::vector<DWORD>(std::begin(kSampleDib), std::end(kSampleDib)));
    HBITMAP hBitmap = pImage->hBitmap;
    CRenderEngine::FreeImage(pImage);
    EXPECT_TRUE(IsDeleted(hBitmap));
}

TEST_F(ImageLoading, MaskComparesTheFinishedPixelAlphaIncluded)
{
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"sample.png", nullptr, 0xFFFF00FF);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelsOf(pImage), (std::vector<DWORD>{0, 0x80800080, 0xFF102030, 0x40102030}));
    CRenderEngine::FreeImage(pImage);

    // A half-transparent magenta pixel is premultiplied before the test, so
    // only its premultiplied value matches.
    pImage = CRenderEngine::LoadImageW(L"sample.png", nullptr, 0x80FF00FF);
    EXPECT_EQ(PixelsOf(pImage), std::vector<DWORD>(std::begin(kSampleDib), std::end(kSampleDib)));
    CRenderEngine::FreeImage(pImage);
    pImage = CRenderEngine::LoadImageW(L"sample.png", nullptr, 0x80800080);
    EXPECT_EQ(PixelsOf(pImage), (std::vector<DWORD>{0xFFFF00FF, 0, 0xFF102030, 0x40102030}));
    CRenderEngine::FreeImage(pImage);
}

TEST_F(ImageLoading, AlphaFlagOnlyForTransparentOrMaskedPixels)
{
    WriteFileBytes(L"opaque.png", EncodePng(3, 1, Solid(3, 1, 0x336699FF)));
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"opaque.png");
    ASSERT_NE(pImage, nullptr);
    EXPECT_FALSE(pImage->alphaChannel);
    EXPECT_EQ(PixelsOf(pImage), (std::vector<DWORD>(3, 0xFF336699)));
    CRenderEngine::FreeImage(pImage);
    pImage = CRenderEngine::LoadImageW(L"opaque.png", nullptr, 0xFF336699);
    EXPECT_TRUE(pImage->alphaChannel);
    EXPECT_EQ(PixelsOf(pImage), (std::vector<DWORD>(3, 0)));
    CRenderEngine::FreeImage(pImage);
    DeleteFileW(L"opaque.png");
}

// Grey and RGB files take other paths through the decoder (a conversion to
// four channels, or a wider row buffer) than RGBA ones; each must still end
// as the right pixels in the bitmap.
TEST_F(ImageLoading, GreyAndRgbPngFiles)
{
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 6 * 4; i++)
        rgba.insert(rgba.end(), {static_cast<uint8_t>(i * 10), 0x40, 0x80, 0xFF});
    const struct
    {
        int channels;
        DWORD (*expected)(int i);
    } cases[] = {
        {1,
         [](int i) {
             const DWORD g = static_cast<DWORD>(i * 10);
             return 0xFF000000 | g << 16 | g << 8 | g;
         }},
        {3, [](int i) { return 0xFF004080 | static_cast<DWORD>(i * 10) << 16; }},
    };
    for (const auto& c : cases)
    {
        WriteFileBytes(L"channels.png", EncodePng(6, 4, rgba, c.channels));
        TImageInfo* pImage = CRenderEngine::LoadImageW(L"channels.png");
        ASSERT_NE(pImage, nullptr) << c.channels;
        EXPECT_FALSE(pImage->alphaChannel);
        const std::vector<DWORD> pixels = PixelsOf(pImage);
        ASSERT_EQ(pixels.size(), 24u);
        for (int i = 0; i < 24; i++)
            EXPECT_EQ(pixels[i], c.expected(i)) << c.channels << " channels, pixel " << i;
        CRenderEngine::FreeImage(pImage);
    }
    DeleteFileW(L"channels.png");
}

TEST_F(ImageLoading, BmpAndJpegFiles)
{
    WriteFileBytes(L"solid.bmp", EncodeBmp(5, 3, Solid(5, 3, 0x204080FF)));
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"solid.bmp");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nX, 5);
    EXPECT_EQ(pImage->nY, 3);
    EXPECT_FALSE(pImage->alphaChannel);
    EXPECT_EQ(PixelsOf(pImage), (std::vector<DWORD>(15, 0xFF204080)));
    CRenderEngine::FreeImage(pImage);

    WriteFileBytes(L"solid.jpg", EncodeJpeg(16, 8, Solid(16, 8, 0x808080FF)));
    pImage = CRenderEngine::LoadImageW(L"solid.jpg");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nX, 16);
    EXPECT_EQ(pImage->nY, 8);
    EXPECT_FALSE(pImage->alphaChannel);
    const DWORD px = PixelsOf(pImage)[0];
    EXPECT_EQ(px >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>(px & 0xFF), 0x80, 3);
    CRenderEngine::FreeImage(pImage);
    DeleteFileW(L"solid.bmp");
    DeleteFileW(L"solid.jpg");
}

TEST_F(ImageLoading, UnreadableOrDamagedFilesGiveNull)
{
    EXPECT_EQ(CRenderEngine::LoadImageW(L"no such image.png"), nullptr);
    EXPECT_EQ(CRenderEngine::LoadImageW(nullptr), nullptr);
    WriteFileBytes(L"empty.png", "");
    EXPECT_EQ(CRenderEngine::LoadImageW(L"empty.png"), nullptr);
    std::string png = EncodePng(2, 2, SamplePixels());
    WriteFileBytes(L"cut.png", png.substr(0, png.size() / 2));
    EXPECT_EQ(CRenderEngine::LoadImageW(L"cut.png"), nullptr);
    WriteFileBytes(L"text.png", "<Window/>");
    EXPECT_EQ(CRenderEngine::LoadImageW(L"text.png"), nullptr);
    DeleteFileW(L"empty.png");
    DeleteFileW(L"cut.png");
    DeleteFileW(L"text.png");
}

// stb_image would read the missing rows as zeros: a few hundred bytes could
// then claim a picture of hundreds of megabytes.
TEST_F(ImageLoading, BmpFilesMustHoldTheirPixelRows)
{
    const std::string bmp = EncodeBmp(5, 3, Solid(5, 3, 0x204080FF)); // rows of 15 bytes padded to 16
    std::string tall = bmp;
    tall[22] = 0x00;
    tall[23] = 0x40; // height 16384
    WriteFileBytes(L"tall.bmp", tall);
    EXPECT_EQ(CRenderEngine::LoadImageW(L"tall.bmp"), nullptr);
    WriteFileBytes(L"short.bmp", bmp.substr(0, bmp.size() - 16));
    EXPECT_EQ(CRenderEngine::LoadImageW(L"short.bmp"), nullptr);
    // The padding of the last row may be missing.
    WriteFileBytes(L"unpadded.bmp", bmp.substr(0, bmp.size() - 1));
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"unpadded.bmp");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelsOf(pImage), (std::vector<DWORD>(15, 0xFF204080)));
    CRenderEngine::FreeImage(pImage);
    // No pixels at all.
    std::string empty = bmp;
    empty[18] = empty[19] = 0;
    WriteFileBytes(L"empty.bmp", empty);
    EXPECT_EQ(CRenderEngine::LoadImageW(L"empty.bmp"), nullptr);
    for (const wchar_t* name : {L"tall.bmp", L"short.bmp", L"unpadded.bmp", L"empty.bmp"})
        DeleteFileW(name);
}

TEST_F(ImageLoading, ResourcePathFirstThenTheNameItself)
{
    CreateDirectoryW(L"img_skin", nullptr);
    WriteFileBytes(L"img_skin\\wide.png", EncodePng(4, 1, Solid(4, 1, 0xFF0000FF)));
    WriteFileBytes(L"wide.png", EncodePng(7, 1, Solid(7, 1, 0xFF0000FF)));
    CPaintManagerUI::SetResourcePath(L"img_skin");
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"wide.png");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nX, 4);
    CRenderEngine::FreeImage(pImage);
    // Not under the resource path: the name is opened as it stands.
    pImage = CRenderEngine::LoadImageW(L"sample.png");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nX, 2);
    CRenderEngine::FreeImage(pImage);
    DeleteFileW(L"img_skin\\wide.png");
    DeleteFileW(L"wide.png");
    RemoveDirectoryW(L"img_skin");
}

TEST_F(ImageLoading, ArchiveMembersFromMemoryAndFromAFile)
{
    const ZipLayout z = ZipBuilder()
                            .Add("Img/Btn.png", EncodePng(3, 2, Solid(3, 2, 0x00FF00FF)), true)
                            .Add("Img/Stored.png", EncodePng(1, 1, Solid(1, 1, 0x0000FFFF)), false)
                            .Add("Img/Broken.png", "not a picture")
                            .Build();
    CPaintManagerUI::SetResourceZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()));
    for (const wchar_t* name : {L"Img/Btn.png", L"img\\btn.PNG", L"Img/Btn.png"})
    {
        TImageInfo* pImage = CRenderEngine::LoadImageW(name);
        ASSERT_NE(pImage, nullptr) << name;
        EXPECT_EQ(pImage->nX, 3);
        EXPECT_EQ(PixelsOf(pImage)[5], 0xFF00FF00);
        CRenderEngine::FreeImage(pImage);
    }
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"img/stored.png");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelsOf(pImage)[0], 0xFF0000FF);
    CRenderEngine::FreeImage(pImage);
    EXPECT_EQ(CRenderEngine::LoadImageW(L"Img/Broken.png"), nullptr);
    // Not in the archive: the name as a file path.
    pImage = CRenderEngine::LoadImageW(L"sample.png");
    EXPECT_NE(pImage, nullptr);
    CRenderEngine::FreeImage(pImage);

    // An uncached archive file is opened for each load.
    CPaintManagerUI::SetResourceZip(L"", false);
    WriteFileBytes(L"images.zip", std::string(z.bytes.begin(), z.bytes.end()));
    CPaintManagerUI::SetResourceZip(L"images.zip", false);
    pImage = CRenderEngine::LoadImageW(L"IMG/BTN.PNG");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nY, 2);
    CRenderEngine::FreeImage(pImage);
    DeleteFileW(L"images.zip");
}

TEST_F(ImageLoading, DamagedMemoryArchiveIsNotReplacedByAFileOfItsMarkerName)
{
    CreateDirectoryW(L"img_planted", nullptr);
    const ZipLayout planted =
        ZipBuilder().Add("Planted.png", EncodePng(1, 1, Solid(1, 1, 0xFF0000FF))).Build();
    WriteFileBytes(L"img_planted\\membuffer", std::string(planted.bytes.begin(), planted.bytes.end()));
    CPaintManagerUI::SetResourcePath(L"img_planted");
    const std::string damaged(64, 'x');
    CPaintManagerUI::SetResourceZip(damaged.data(), static_cast<unsigned>(damaged.size()));
    EXPECT_EQ(CRenderEngine::LoadImageW(L"Planted.png"), nullptr);
    // The name itself as a file path is still looked for.
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"sample.png");
    EXPECT_NE(pImage, nullptr);
    CRenderEngine::FreeImage(pImage);
    DeleteFileW(L"img_planted\\membuffer");
    RemoveDirectoryW(L"img_planted");
}

TEST_F(ImageLoading, ModuleResourcesByIdAndType)
{
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    TImageInfo* pImage = CRenderEngine::LoadImageW(MAKEINTRESOURCEW(kSampleResourceId), L"PNG");
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(PixelsOf(pImage), std::vector<DWORD>(std::begin(kSampleDib), std::end(kSampleDib)));
    CRenderEngine::FreeImage(pImage);
    EXPECT_EQ(CRenderEngine::LoadImageW(MAKEINTRESOURCEW(kSampleResourceId), L"GIF"), nullptr);
    EXPECT_EQ(CRenderEngine::LoadImageW(MAKEINTRESOURCEW(999), L"PNG"), nullptr);
    EXPECT_EQ(CRenderEngine::LoadImageW(MAKEINTRESOURCEW(kSampleResourceId)), nullptr);
}

TEST_F(ImageTable, AddFindAndRemove)
{
    CPaintManagerUI pm;
    const TImageInfo* pImage = pm.AddImage(L"sample.png", nullptr, 0xFFFF00FF);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->dwMask, 0xFFFF00FFu);
    EXPECT_TRUE(pImage->sResType.IsEmpty());
    EXPECT_EQ(PixelsOf(pImage)[0], 0u);
    EXPECT_EQ(pm.GetImage(L"sample.png"), pImage);
    EXPECT_EQ(pm.GetImage(L"SAMPLE.PNG"), nullptr); // table keys are exact

    // A second load under the same name leaves the first image in place.
    EXPECT_EQ(pm.AddImage(L"sample.png"), nullptr);
    EXPECT_EQ(pm.GetImage(L"sample.png"), pImage);
    EXPECT_EQ(pm.AddImage(L"missing.png"), nullptr);
    EXPECT_EQ(pm.AddImage(L""), nullptr);
    EXPECT_EQ(pm.AddImage(nullptr), nullptr);

    HBITMAP hBitmap = pImage->hBitmap;
    EXPECT_TRUE(pm.RemoveImage(L"sample.png"));
    EXPECT_TRUE(IsDeleted(hBitmap));
    EXPECT_FALSE(pm.RemoveImage(L"sample.png"));
    EXPECT_EQ(pm.GetImage(L"sample.png"), nullptr);
}

TEST_F(ImageTable, ExistingBitmapsAreOwnedByTheTable)
{
    CPaintManagerUI pm;
    HBITMAP hFirst = CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(pm.AddImage(L"made", nullptr, 4, 4, false), nullptr);
    EXPECT_EQ(pm.AddImage(L"made", hFirst, 0, 4, false), nullptr);
    EXPECT_EQ(pm.AddImage(L"made", hFirst, 4, -1, false), nullptr);
    EXPECT_FALSE(IsDeleted(hFirst));
    const TImageInfo* pImage = pm.AddImage(L"made", hFirst, 4, 4, true);
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->hBitmap, hFirst);
    EXPECT_TRUE(pImage->alphaChannel);
    EXPECT_EQ(pImage->dwMask, 0u);
    EXPECT_TRUE(pImage->sResType.IsEmpty());

    // The same name again: the new bitmap is deleted, the old one stays.
    HBITMAP hSecond = CreateBitmap(2, 2, 1, 32, nullptr);
    EXPECT_EQ(pm.AddImage(L"made", hSecond, 2, 2, false), nullptr);
    EXPECT_TRUE(IsDeleted(hSecond));
    EXPECT_EQ(pm.GetImage(L"made")->hBitmap, hFirst);
    pm.RemoveAllImages();
    EXPECT_TRUE(IsDeleted(hFirst));
    EXPECT_EQ(pm.GetImage(L"made"), nullptr);
}

TEST_F(ImageTable, ResourceImagesAreNamedByNumber)
{
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CPaintManagerUI pm;
    const TImageInfo* pImage = pm.AddImage(L"101", L"PNG", 0);
    ASSERT_NE(pImage, nullptr);
    EXPECT_STREQ(pImage->sResType, L"PNG");
    EXPECT_EQ(pImage->nX, 2);
    // Numbers that are no resource id name nothing, not the id they would
    // become cut to 16 bits (65637 would be 101).
    for (const wchar_t* pstrName : {L"65637", L"65536", L"4295032933", L"99999999999999999999", L"0"})
        EXPECT_EQ(pm.AddImage(pstrName, L"PNG", 0), nullptr) << pstrName;
    // A name that is not a number is refused without any lookup, even when a
    // file of that name exists.
    EXPECT_EQ(pm.AddImage(L"sample.png", L"PNG", 0), nullptr);
    EXPECT_EQ(pm.AddImage(L"102", L"PNG", 0), nullptr);
}

TEST_F(ImageTable, ParentImagesAreSharedButGetImageExLoadsItsOwn)
{
    CPaintManagerUI parent;
    CPaintManagerUI child;
    ASSERT_TRUE(child.UseParentResource(&parent));
    const TImageInfo* pParentImage = parent.AddImage(L"sample.png");
    ASSERT_NE(pParentImage, nullptr);
    EXPECT_EQ(child.GetImage(L"sample.png"), pParentImage);
    const TImageInfo* pOwn = child.GetImageEx(L"sample.png");
    ASSERT_NE(pOwn, nullptr);
    EXPECT_NE(pOwn, pParentImage);
    EXPECT_EQ(child.GetImageEx(L"sample.png"), pOwn);
    EXPECT_EQ(child.GetImage(L"sample.png"), pOwn);
    EXPECT_EQ(child.GetImageEx(L"missing.png"), nullptr);
    EXPECT_FALSE(parent.RemoveImage(L"missing.png"));
}

TEST_F(ImageTable, ReloadKeepsRecordsAndTakesNewBitmaps)
{
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    WriteFileBytes(L"changing.png", EncodePng(2, 2, Solid(2, 2, 0xFF0000FF)));
    WriteFileBytes(L"vanishing.png", EncodePng(1, 1, Solid(1, 1, 0xFF0000FF)));
    CPaintManagerUI pm;
    const TImageInfo* pChanging = pm.AddImage(L"changing.png", nullptr, 0xFF00FF00);
    const TImageInfo* pVanishing = pm.AddImage(L"vanishing.png");
    const TImageInfo* pResource = pm.AddImage(L"101", L"PNG", 0xFFFF00FF);
    ASSERT_TRUE(pChanging != nullptr && pVanishing != nullptr && pResource != nullptr);
    const HBITMAP hOldChanging = pChanging->hBitmap;
    const HBITMAP hOldVanishing = pVanishing->hBitmap;
    const HBITMAP hOldResource = pResource->hBitmap;

    WriteFileBytes(L"changing.png", EncodePng(3, 1, Solid(3, 1, 0x00FF00FF)));
    DeleteFileW(L"vanishing.png");
    pm.ReloadAllImages();

    EXPECT_EQ(pm.GetImage(L"changing.png"), pChanging);
    EXPECT_EQ(pChanging->nX, 3);
    EXPECT_EQ(pChanging->nY, 1);
    EXPECT_TRUE(pChanging->alphaChannel); // the mask still applies
    EXPECT_EQ(PixelsOf(pChanging), (std::vector<DWORD>(3, 0)));
    EXPECT_TRUE(IsDeleted(hOldChanging));
    EXPECT_EQ(pVanishing->hBitmap, hOldVanishing);
    EXPECT_FALSE(IsDeleted(hOldVanishing));
    EXPECT_NE(pResource->hBitmap, hOldResource);
    EXPECT_TRUE(IsDeleted(hOldResource));
    EXPECT_EQ(PixelsOf(pResource)[0], 0u);
    DeleteFileW(L"changing.png");
}

TEST_F(ImageTable, MissingImagesAreNotLookedForAgainUntilTheSettingsChange)
{
    CPaintManagerUI pm;
    EXPECT_EQ(pm.GetImageEx(L"late.png"), nullptr);
    // The file appears, but the name is known to be missing.
    WriteFileBytes(L"late.png", EncodePng(1, 1, Solid(1, 1, 0xFF0000FF)));
    EXPECT_EQ(pm.GetImageEx(L"late.png"), nullptr);
    // Another manager has not looked for it yet.
    CPaintManagerUI other;
    EXPECT_NE(other.GetImageEx(L"late.png"), nullptr);
    // Setting a resource path again, even the same one, looks anew.
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_NE(pm.GetImageEx(L"late.png"), nullptr);

    // Reloading the images looks anew as well, and so does an explicit add.
    EXPECT_EQ(pm.GetImageEx(L"later.png"), nullptr);
    WriteFileBytes(L"later.png", EncodePng(1, 1, Solid(1, 1, 0xFF0000FF)));
    EXPECT_EQ(pm.GetImageEx(L"later.png"), nullptr);
    pm.ReloadAllImages();
    EXPECT_NE(pm.GetImageEx(L"later.png"), nullptr);
    EXPECT_EQ(pm.GetImageEx(L"latest.png"), nullptr);
    WriteFileBytes(L"latest.png", EncodePng(1, 1, Solid(1, 1, 0xFF0000FF)));
    EXPECT_NE(pm.AddImage(L"latest.png"), nullptr);
    EXPECT_NE(pm.GetImageEx(L"latest.png"), nullptr);
    for (const wchar_t* pstrName : {L"late.png", L"later.png", L"latest.png"})
        DeleteFileW(pstrName);
}
