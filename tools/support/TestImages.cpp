#include "TestImages.h"

#include <windows.h>

#include <stb_image_write.h>

namespace
{

void AppendTo(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// The first `channels` bytes of every pixel: RGB, or grey from the red byte.
std::vector<uint8_t> KeepChannels(const std::vector<uint8_t>& rgba, int channels)
{
    std::vector<uint8_t> kept;
    for (size_t i = 0; i < rgba.size(); i += 4)
        kept.insert(kept.end(), rgba.begin() + static_cast<std::ptrdiff_t>(i),
                    rgba.begin() + static_cast<std::ptrdiff_t>(i) + channels);
    return kept;
}

std::vector<uint8_t> DropAlpha(const std::vector<uint8_t>& rgba)
{
    return KeepChannels(rgba, 3);
}

} // namespace

std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba, int channels)
{
    std::string out;
    const std::vector<uint8_t> kept = KeepChannels(rgba, channels);
    stbi_write_png_to_func(AppendTo, &out, width, height, channels, kept.data(), width * channels);
    return out;
}

std::string EncodeBmp(int width, int height, const std::vector<uint8_t>& rgba)
{
    std::string out;
    const std::vector<uint8_t> rgb = DropAlpha(rgba);
    stbi_write_bmp_to_func(AppendTo, &out, width, height, 3, rgb.data());
    return out;
}

std::string EncodeJpeg(int width, int height, const std::vector<uint8_t>& rgba)
{
    std::string out;
    const std::vector<uint8_t> rgb = DropAlpha(rgba);
    stbi_write_jpg_to_func(AppendTo, &out, width, height, 3, rgb.data(), 95);
    return out;
}

std::vector<uint8_t> Solid(int width, int height, uint32_t rgba)
{
    std::vector<uint8_t> px;
    for (int i = 0; i < width * height; i++)
    {
        px.push_back(static_cast<uint8_t>(rgba >> 24));
        px.push_back(static_cast<uint8_t>(rgba >> 16));
        px.push_back(static_cast<uint8_t>(rgba >> 8));
        px.push_back(static_cast<uint8_t>(rgba));
    }
    return px;
}

void WriteFileBytes(const wchar_t* path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}
