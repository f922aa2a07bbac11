// Loading a PNG from the skin archive into a premultiplied DIB section,
// against stb_image's decode alone of the same bytes.

#include "veneer/Veneer.h"

#include "BenchTimer.h"
#include "TestImages.h"
#include "ZipBuilder.h"

#include <stb_image.h>

#include <cstdio>
#include <vector>

using namespace Veneer;

namespace
{

const int kRuns = 20;
const int kWidth = 1024;
const int kHeight = 768;

// A picture with smooth areas, edges and partial transparency.
std::vector<uint8_t> Picture()
{
    std::vector<uint8_t> px;
    unsigned seed = 7;
    for (int y = 0; y < kHeight; y++)
    {
        for (int x = 0; x < kWidth; x++)
        {
            seed = seed * 1103515245u + 12345u;
            px.push_back(static_cast<uint8_t>(x / 4 + (seed >> 28)));
            px.push_back(static_cast<uint8_t>(y / 3));
            px.push_back(static_cast<uint8_t>((x ^ y) & 0xF0));
            px.push_back(static_cast<uint8_t>(x < kWidth / 2 ? 255 : (x + y) & 0xFF));
        }
    }
    return px;
}

} // namespace

int main()
{
    const std::string png = EncodePng(kWidth, kHeight, Picture());
    // Stored, as images usually are in skin archives: PNG is compressed already.
    const ZipLayout z = ZipBuilder().Add("Img/Background.png", png, false).Build();
    CPaintManagerUI::SetResourceZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()));
    printf("image: %d x %d, %zu bytes of PNG\n", kWidth, kHeight, png.size());

    bool ok = true;
    const BestTimes times = CompareBest(
        kRuns,
        [&] {
            TImageInfo* pImage = CRenderEngine::LoadImageW(L"Img/Background.png", nullptr, 0xFFFF00FF);
            ok = ok && pImage != nullptr && pImage->nX == kWidth;
            CRenderEngine::FreeImage(pImage);
        },
        [&] {
            int w = 0, h = 0, n = 0;
            stbi_uc* rgba = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                                                  static_cast<int>(png.size()), &w, &h, &n, 4);
            ok = ok && rgba != nullptr && w == kWidth;
            stbi_image_free(rgba);
        });
    if (!ok)
    {
        printf("loading failed\n");
        return 1;
    }
    PrintRatio("image loading vs stb_image decode", static_cast<double>(kWidth) * kHeight * 4, times);

    return 0;
}
