#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Image files written in memory for the tests. Pixels are RGBA, row by row
// from the top.
// A PNG of 4 channels, 3 (alpha dropped) or 1 (grey, from the red byte).
std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba, int channels = 4);
std::string EncodeBmp(int width, int height, const std::vector<uint8_t>& rgba); // 24-bit, alpha dropped
std::string EncodeJpeg(int width, int height, const std::vector<uint8_t>& rgba);

// A width x height image whose pixels are all `rgba` (0xRRGGBBAA).
std::vector<uint8_t> Solid(int width, int height, uint32_t rgba);

void WriteFileBytes(const wchar_t* path, const std::string& bytes);
