#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes ZIP archives in memory for the tests, with the freedom to produce
// archives that a normal tool would refuse to write.
struct ZipMember
{
    std::string name;
    std::string data;
    bool deflate = true;
    std::string localExtra;
    uint16_t flags = 0;
    uint32_t dosDateTime = 0x5A8B6000; // 2025-04-11 12:00:00
};

// Where the records of a built archive lie.
struct ZipLayout
{
    std::vector<uint8_t> bytes;
    std::vector<size_t> localHeaders;
    std::vector<size_t> dirEntries;
    std::vector<size_t> dataOffsets;
    size_t endRecord = 0;
};

class ZipBuilder
{
  public:
    ZipBuilder& Add(const std::string& name, const std::string& data, bool deflate = true);
    ZipBuilder& Add(const ZipMember& member);
    ZipLayout Build(const std::string& stub = "", const std::string& comment = "") const;

  private:
    std::vector<ZipMember> m_members;
};

// Raw Deflate (no zlib header) of `data` at the given level.
std::string DeflateRaw(const std::string& data, int level = 6);

void PutLE16(std::vector<uint8_t>& bytes, size_t pos, uint16_t value);
void PutLE32(std::vector<uint8_t>& bytes, size_t pos, uint32_t value);
uint32_t GetLE32(const std::vector<uint8_t>& bytes, size_t pos);
