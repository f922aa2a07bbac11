#include "veneer/resource/Crc32.h"

#include "HostileInput.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <vector>

using namespace Veneer;

namespace
{

uint32_t ZlibCrc(uint32_t crc, const uint8_t* p, size_t len)
{
    return static_cast<uint32_t>(crc32_z(crc, p, len));
}

} // namespace

TEST(Crc32, MatchesZlibForEveryLengthAndAlignment)
{
    Rng rng(99);
    std::vector<uint8_t> data(4096 + 64);
    for (uint8_t& b : data)
        b = static_cast<uint8_t>(rng.Next());
    for (size_t offset = 0; offset < 16; offset++)
    {
        for (size_t len = 0; len <= 600; len++)
            ASSERT_EQ(UpdateCrc32(0, &data[offset], len), ZlibCrc(0, &data[offset], len))
                << offset << " " << len;
    }
    EXPECT_EQ(UpdateCrc32(0, data.data(), 4096), ZlibCrc(0, data.data(), 4096));
}

TEST(Crc32, ContinuesARunningValueInPieces)
{
    Rng rng(5);
    std::vector<uint8_t> data(1 << 20);
    for (uint8_t& b : data)
        b = static_cast<uint8_t>(rng.Next());
    const uint32_t whole = ZlibCrc(0, data.data(), data.size());
    EXPECT_EQ(UpdateCrc32(0, data.data(), data.size()), whole);
    uint32_t crc = 0;
    for (size_t pos = 0; pos < data.size();)
    {
        const size_t piece = std::min<size_t>(1 + rng.Below(5000), data.size() - pos);
        crc = UpdateCrc32(crc, &data[pos], piece);
        pos += piece;
    }
    EXPECT_EQ(crc, whole);
    EXPECT_EQ(UpdateCrc32(0x12345678, data.data(), 1000), ZlibCrc(0x12345678, data.data(), 1000));
}
