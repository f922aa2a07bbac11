#include "veneer/manager/PaintManagerUI.h"
#include "veneer/render/RenderEngine.h"

#include "HostileInput.h"
#include "TestImages.h"
#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace
{

std::vector<uint8_t> Gradient(int width, int height)
{
    std::vector<uint8_t> px;
    for (int y = 0; y < height; y++)
    {
        for (int x = 0; x < width; x++)
        {
            px.push_back(static_cast<uint8_t>(x * 6));
            px.push_back(static_cast<uint8_t>(y * 8));
            px.push_back(static_cast<uint8_t>(x * y));
            px.push_back(static_cast<uint8_t>(255 - x - y));
        }
    }
    return px;
}

// Loads image bytes the way skins do: as a member of an archive in memory.
// Whatever comes back must be a usable bitmap of the size it claims.
bool LoadAndCheck(const std::string& bytes)
{
    const ZipLayout z = ZipBuilder().Add("Img/Picture.png", bytes, false).Build();
    CPaintManagerUI::SetResourceZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()));
    TImageInfo* pImage = CRenderEngine::LoadImageW(L"Img/Picture.png");
    CPaintManagerUI::SetResourceZip(L"", false);
    if (pImage == nullptr)
        return false;
    DIBSECTION ds{};
    EXPECT_EQ(GetObjectW(pImage->hBitmap, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmWidth, pImage->nX);
    EXPECT_EQ(ds.dsBm.bmHeight, pImage->nY);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    CRenderEngine::FreeImage(pImage);
    return true;
}

// Returns how many of the damaged images still decoded.
int MutateMany(const std::string& original, uint32_t seed, int rounds)
{
    EXPECT_TRUE(LoadAndCheck(original));
    const std::vector<uint8_t> base(original.begin(), original.end());
    Rng rng(seed);
    int decoded = 0;
    for (int round = 0; round < rounds; round++)
    {
        const std::vector<uint8_t> bytes = Mutate(base, rng);
        decoded += LoadAndCheck(std::string(bytes.begin(), bytes.end())) ? 1 : 0;
    }
    return decoded;
}

std::string WithBigEndian32(std::string bytes, size_t pos, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[pos + i] = static_cast<char>(value >> (24 - 8 * i));
    return bytes;
}

std::string WithLittleEndian32(std::string bytes, size_t pos, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[pos + i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

} // namespace

TEST(ImageHostile, DamagedPngJpegAndBmpFiles)
{
    const std::vector<uint8_t> px = Gradient(40, 30);
    const size_t before = PrivateBytes();
    // Some damage leaves a decodable picture: both paths get exercised.
    EXPECT_GT(MutateMany(EncodePng(40, 30, px), 11, 1500), 0);
    EXPECT_GT(MutateMany(EncodeJpeg(40, 30, px), 12, 1500), 0);
    EXPECT_GT(MutateMany(EncodeBmp(40, 30, px), 13, 1500), 0);
    // Every decoded buffer, bitmap and record was given back.
    EXPECT_LT(PrivateBytes(), before + 4 * 1024 * 1024);
}

TEST(ImageHostile, EveryTruncationOfAPng)
{
    const std::string png = EncodePng(16, 16, Gradient(16, 16));
    EXPECT_TRUE(LoadAndCheck(png));
    // Cut anywhere before the closing 12-byte IEND chunk, the pixels are
    // incomplete; a cut IEND loses nothing that the decoder needs.
    const size_t pixelsEnd = png.size() - 12;
    for (size_t size = 0; size < png.size(); size++)
    {
        const bool decoded = LoadAndCheck(png.substr(0, size));
        EXPECT_TRUE(size >= pixelsEnd || !decoded) << size;
    }
}

TEST(ImageHostile, HeadersClaimingHugeOrNegativeSizes)
{
    const std::string png = EncodePng(8, 8, Gradient(8, 8));
    const std::string bmp = EncodeBmp(8, 8, Gradient(8, 8));
    for (uint32_t value : {0u, 1u, 0x4000u, 0x1000000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu})
    {
        // PNG: width at 16, height at 20 (the CRC no longer matches).
        LoadAndCheck(WithBigEndian32(png, 16, value));
        LoadAndCheck(WithBigEndian32(png, 20, value));
        // BMP: width at 18, height at 22 (negative means top-down).
        LoadAndCheck(WithLittleEndian32(bmp, 18, value));
        LoadAndCheck(WithLittleEndian32(bmp, 22, value));
    }
}
