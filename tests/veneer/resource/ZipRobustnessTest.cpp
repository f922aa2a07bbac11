#include "veneer/resource/ZipArchive.h"

#include "HostileInput.h"
#include "TestImages.h"
#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Veneer;

namespace
{

const unsigned kPiece = 4096;

std::string Text(size_t lines)
{
    std::string s;
    for (size_t i = 0; i < lines; i++)
        s += "<Label name=\"line" + std::to_string(i) + "\" text=\"some skin text\" />\n";
    return s;
}

// An archive with a stub, a comment and members of every kind the reader
// knows: stored, Deflate over several input buffers, a "UT" extra field and
// a data descriptor.
ZipLayout BaseArchive()
{
    ZipMember stamped;
    stamped.name = "Img/Stamped.png";
    stamped.data = "stamped";
    const unsigned char ut[] = {0x55, 0x54, 13, 0, 7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    stamped.localExtra.assign(reinterpret_cast<const char*>(ut), sizeof(ut));
    ZipMember described;
    described.name = "Described.xml";
    described.data = Text(20);
    described.flags = 0x0008;
    return ZipBuilder()
        .Add("Stored.txt", "stored text", false)
        .Add("Window.xml", Text(400), true)
        .Add(stamped)
        .Add(described)
        .Build("MZ stub before the archive", "a comment");
}

const wchar_t* const kNames[] = {L"Stored.txt", L"window.xml", L"img\\stamped.PNG", L"Described.xml",
                                 L"none"};

// Extracts member `index` piece by piece into a guarded buffer. The reader
// fills each piece completely until the member ends, so a member of n bytes
// takes at most n / kPiece + 1 calls that return ZR_MORE.
void DrainMember(HZIP hz, int index, const GuardedBlock& out, uint64_t declared)
{
    const uint64_t bound = declared / kPiece + 2;
    uint64_t calls = 0;
    ZRESULT zr = ZR_MORE;
    while (zr == ZR_MORE && calls <= bound)
    {
        zr = UnzipItem(hz, index, out.Data(), kPiece);
        calls++;
    }
    EXPECT_NE(zr, ZR_MORE) << "member " << index << " produced more than its declared size";
}

// A view of a stored member lies wholly inside the archive's block.
void CheckStoredView(HZIP hz, int index, const GuardedBlock& in)
{
    const void* pData = nullptr;
    unsigned int length = 0;
    if (GetStoredZipItem(hz, index, &pData, &length) != ZR_OK)
        return;
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    EXPECT_GE(p, in.Data());
    EXPECT_LE(p + length, in.Data() + in.Size());
}

// Runs every reader operation over an archive image held in guarded memory.
void Exercise(const std::vector<uint8_t>& bytes)
{
    GuardedBlock in(bytes.data(), bytes.size());
    GuardedBlock out(kPiece);
    HZIP hz = OpenZip(in.Data(), static_cast<unsigned>(in.Size()), ZIP_MEMORY);
    if (hz == nullptr)
    {
        EXPECT_NE(GetZipLastResult(), ZR_OK);
        return;
    }
    for (const wchar_t* name : kNames)
    {
        int index = -1;
        ZIPENTRY ze{};
        if (FindZipItem(hz, name, true, &index, &ze) != ZR_OK)
        {
            EXPECT_EQ(index, -1);
            continue;
        }
        EXPECT_EQ(ze.index, index);
        EXPECT_LT(wcslen(ze.name), static_cast<size_t>(MAX_PATH));
        CheckStoredView(hz, index, in);
        DrainMember(hz, index, out, static_cast<uint32_t>(ze.unc_size));
    }
    // By index too, whatever the names say; the entry count is at most
    // 65,535, and sizes are not known here: the loop guard uses the largest.
    for (int index = 0; index < 6; index++)
        DrainMember(hz, index, out, 0xFFFFFFFFull);
    EXPECT_EQ(CloseZip(hz), ZR_OK);
}

} // namespace

TEST(ZipHostile, ThousandsOfMutatedArchives)
{
    const ZipLayout base = BaseArchive();
    Exercise(base.bytes);
    Rng rng(20240611);
    const size_t before = PrivateBytes();
    for (int round = 0; round < 4000; round++)
        Exercise(Mutate(base.bytes, rng));
    // Every archive, member reader and Deflate state was given back.
    EXPECT_LT(PrivateBytes(), before + 4 * 1024 * 1024);
}

TEST(ZipHostile, EveryTruncation)
{
    const ZipLayout base = BaseArchive();
    for (size_t size = 1; size < base.bytes.size(); size++)
        Exercise(
            std::vector<uint8_t>(base.bytes.begin(), base.bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    // Archives shorter than any header, starting from their end record.
    const std::vector<uint8_t> tail(base.bytes.begin() + static_cast<std::ptrdiff_t>(base.endRecord),
                                    base.bytes.end());
    for (size_t size = 1; size <= tail.size(); size++)
        Exercise(std::vector<uint8_t>(tail.begin(), tail.begin() + static_cast<std::ptrdiff_t>(size)));
}

TEST(ZipHostile, DirectoryPlacedOutsideTheArchive)
{
    const ZipLayout base = BaseArchive();
    const size_t sizeField = base.endRecord + 12;
    const size_t offsetField = base.endRecord + 16;
    const uint32_t cases[][2] = {{0xFFFFFF00, 46},
                                 {16, 0xFFFFFF00},
                                 {0, 0},
                                 {0, 46},
                                 {46, 0xFFFFFFFF},
                                 {static_cast<uint32_t>(base.bytes.size()), 0},
                                 {0x7FFFFFFF, 0x7FFFFFFF}};
    for (const auto& c : cases)
    {
        std::vector<uint8_t> bytes = base.bytes;
        PutLE32(bytes, offsetField, c[0]);
        PutLE32(bytes, sizeField, c[1]);
        Exercise(bytes);
    }
    // Entry counts that run past the directory.
    std::vector<uint8_t> bytes = base.bytes;
    PutLE16(bytes, base.endRecord + 8, 0xFFFF);
    PutLE16(bytes, base.endRecord + 10, 0xFFFF);
    Exercise(bytes);
}

TEST(ZipHostile, EndRecordInsideTheComment)
{
    // The comment holds a complete end record that names one entry at the
    // start of the comment, which is a directory entry pointing nowhere.
    const ZipLayout base = BaseArchive();
    std::vector<uint8_t> fake(46 + 4, 0);
    PutLE32(fake, 0, 0x02014B50);
    PutLE16(fake, 10, 8);
    PutLE32(fake, 24, 0xFFFFFFFF);
    PutLE16(fake, 28, 4);
    PutLE32(fake, 42, 0xFFFFFFF0);
    memcpy(&fake[46], "none", 4);
    std::vector<uint8_t> record(22, 0);
    PutLE32(record, 0, 0x06054B50);
    PutLE16(record, 8, 1);
    PutLE16(record, 10, 1);
    PutLE32(record, 12, static_cast<uint32_t>(fake.size()));
    const std::string comment =
        std::string(fake.begin(), fake.end()) + std::string(record.begin(), record.end());
    ZipLayout z = ZipBuilder().Add("Window.xml", Text(10)).Build("", comment);
    // The fake directory starts right after the real record's fixed part.
    PutLE32(z.bytes, z.bytes.size() - 22 + 16, static_cast<uint32_t>(z.endRecord + 22));
    HZIP hz = OpenZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()), ZIP_MEMORY);
    ASSERT_NE(hz, nullptr);
    int index = -1;
    ZIPENTRY ze{};
    EXPECT_EQ(FindZipItem(hz, L"Window.xml", true, &index, &ze), ZR_NOTFOUND);
    EXPECT_EQ(FindZipItem(hz, L"none", true, &index, &ze), ZR_CORRUPT);
    char buf[16];
    EXPECT_EQ(UnzipItem(hz, 0, buf, sizeof(buf)), ZR_CORRUPT);
    CloseZip(hz);
    Exercise(z.bytes);
    Exercise(base.bytes);
}

TEST(ZipHostile, MembersWhoseSizesLie)
{
    const std::string text = Text(300);
    for (bool deflate : {true, false})
    {
        for (uint32_t declared : {0u, 1u, static_cast<uint32_t>(text.size()) - 1,
                                  static_cast<uint32_t>(text.size()) + 1, 0x7FFFFFFFu, 0xFFFFFFFFu})
        {
            ZipLayout z = ZipBuilder().Add("Window.xml", text, deflate).Build();
            PutLE32(z.bytes, z.localHeaders[0] + 22, declared);
            PutLE32(z.bytes, z.dirEntries[0] + 24, declared);
            HZIP hz = OpenZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()), ZIP_MEMORY);
            std::string out(text.size() + 100, '\0');
            // Too small: the data is cut at the declared size and fails its
            // CRC; too large: the data ends first. Either way, a failure.
            ZRESULT zr = UnzipItem(hz, 0, &out[0], static_cast<unsigned>(out.size()));
            if (zr == ZR_MORE)
                zr = UnzipItem(hz, 0, &out[0], static_cast<unsigned>(out.size()));
            EXPECT_EQ(zr, declared == 0 ? ZR_OK : ZR_FLATE) << deflate << " " << declared;
            CloseZip(hz);
            Exercise(z.bytes);
        }
    }
}

TEST(ZipHostile, DeflateBombStopsAtTheDeclaredSize)
{
    const std::string zeros(64 * 1024 * 1024, '\0');
    ZipLayout z = ZipBuilder().Add("bomb.bin", zeros).Build();
    ASSERT_LT(z.bytes.size(), 200u * 1024);
    const uint32_t declared = 1024 * 1024;
    PutLE32(z.bytes, z.localHeaders[0] + 22, declared);
    PutLE32(z.bytes, z.dirEntries[0] + 24, declared);
    HZIP hz = OpenZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()), ZIP_MEMORY);
    GuardedBlock out(declared);
    // A buffer far larger than the declared size still gets no more.
    std::vector<uint8_t> big(8 * 1024 * 1024);
    ZRESULT zr = UnzipItem(hz, 0, big.data(), static_cast<unsigned>(big.size()));
    EXPECT_EQ(zr, ZR_FLATE); // cut at 1 MiB, the CRC cannot match
    ZIPENTRY ze{};
    int index = -1;
    ASSERT_EQ(FindZipItem(hz, L"bomb.bin", true, &index, &ze), ZR_OK);
    EXPECT_EQ(ze.unc_size, static_cast<long>(declared));
    zr = UnzipItem(hz, 0, out.Data(), declared);
    EXPECT_EQ(zr, ZR_FLATE);
    CloseZip(hz);

    // Declared as 4 GiB - 1: the whole 64 MiB come out, then the stream ends
    // short of the declared size.
    PutLE32(z.bytes, z.localHeaders[0] + 22, 0xFFFFFFFF);
    PutLE32(z.bytes, z.dirEntries[0] + 24, 0xFFFFFFFF);
    hz = OpenZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()), ZIP_MEMORY);
    uint64_t produced = 0;
    for (zr = ZR_MORE; zr == ZR_MORE && produced <= zeros.size(); produced += big.size())
        zr = UnzipItem(hz, 0, big.data(), static_cast<unsigned>(big.size()));
    EXPECT_EQ(zr, ZR_FLATE);
    EXPECT_LE(produced, zeros.size() + big.size());
    CloseZip(hz);
}

TEST(ZipHostile, NamesAndExtraFieldsThatRunPastTheirRecords)
{
    ZipLayout z = BaseArchive();
    for (uint16_t nameLen : {255, 256, 259, 260, 4000, 0xFFFF})
    {
        std::vector<uint8_t> bytes = z.bytes;
        PutLE16(bytes, z.dirEntries[1] + 28, nameLen);
        Exercise(bytes);
        PutLE16(bytes, z.localHeaders[1] + 26, nameLen);
        Exercise(bytes);
    }
    for (uint16_t extraLen : {1, 3, 4, 5, 0x7FFF, 0xFFFF})
    {
        std::vector<uint8_t> bytes = z.bytes;
        PutLE16(bytes, z.localHeaders[2] + 28, extraLen);
        Exercise(bytes);
        bytes = z.bytes;
        PutLE16(bytes, z.dirEntries[0] + 30, extraLen);
        PutLE16(bytes, z.dirEntries[0] + 32, extraLen);
        Exercise(bytes);
        // A "UT" field whose own length lies about its times.
        bytes = z.bytes;
        PutLE16(bytes, z.localHeaders[2] + 30 + 15 + 2, extraLen);
        Exercise(bytes);
    }
}

TEST(ZipHostile, OverlappingEntries)
{
    ZipLayout z = BaseArchive();
    // Every directory entry points at the same local header.
    std::vector<uint8_t> bytes = z.bytes;
    for (size_t entry : z.dirEntries)
        PutLE32(bytes, entry + 42, GetLE32(bytes, z.dirEntries[0] + 42));
    Exercise(bytes);
    // A local header that points into another member's data.
    bytes = z.bytes;
    PutLE32(bytes, z.dirEntries[3] + 42, static_cast<uint32_t>(z.dataOffsets[1] - z.localHeaders[0] + 5));
    Exercise(bytes);
    // A comment length that swallows the next directory entry.
    bytes = z.bytes;
    PutLE16(bytes, z.dirEntries[0] + 32, static_cast<uint16_t>(z.dirEntries[1] - z.dirEntries[0]));
    Exercise(bytes);
    // A directory that starts inside itself, with the size of two entries.
    bytes = z.bytes;
    PutLE32(bytes, z.endRecord + 16, GetLE32(bytes, z.endRecord + 16) + 10);
    Exercise(bytes);
}

TEST(ZipHostile, MutatedArchivesReadThroughAFile)
{
    const ZipLayout base = BaseArchive();
    Rng rng(7);
    for (int round = 0; round < 150; round++)
    {
        const std::vector<uint8_t> bytes = Mutate(base.bytes, rng);
        WriteFileBytes(L"hostile.zip", std::string(bytes.begin(), bytes.end()));
        HZIP hz = OpenZip(L"hostile.zip", 0, ZIP_FILENAME);
        if (hz == nullptr)
            continue;
        GuardedBlock out(kPiece);
        for (int index = 0; index < 5; index++)
            DrainMember(hz, index, out, 0xFFFFFFFFull);
        for (const wchar_t* name : kNames)
        {
            int found = -1;
            ZIPENTRY ze{};
            FindZipItem(hz, name, true, &found, &ze);
        }
        EXPECT_EQ(CloseZip(hz), ZR_OK);
    }
    DeleteFileW(L"hostile.zip");
}
