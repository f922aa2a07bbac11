#include "veneer/resource/ZipArchive.h"

#include "ZipBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

using namespace Veneer;

namespace
{

std::string Repeated(const std::string& unit, size_t times)
{
    std::string s;
    for (size_t i = 0; i < times; i++)
        s += unit;
    return s;
}

// Bytes that Deflate cannot shrink much, so that both the compressed and the
// uncompressed data span several input buffers.
std::string Noise(size_t size, uint32_t seed)
{
    std::string s(size, '\0');
    for (char& c : s)
    {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    return s;
}

HZIP OpenMemory(const ZipLayout& z)
{
    return OpenZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()), ZIP_MEMORY);
}

// Extracts a member in one call into a buffer of exactly its size.
std::string ExtractWhole(HZIP hz, const wchar_t* name, ZRESULT* pResult = nullptr)
{
    int index = -1;
    ZIPENTRY ze{};
    if (FindZipItem(hz, name, true, &index, &ze) != ZR_OK)
        return "<not found>";
    std::string out(static_cast<size_t>(ze.unc_size), '\0');
    const ZRESULT zr =
        UnzipItem(hz, index, out.empty() ? nullptr : &out[0], static_cast<unsigned>(out.size()));
    if (pResult != nullptr)
        *pResult = zr;
    return out;
}

// Extracts a member piece by piece until the reader reports the end; the
// reader fills each piece as far as the member's remaining size allows.
std::string ExtractInPieces(HZIP hz, int index, size_t total, unsigned piece, ZRESULT* pLast)
{
    std::string out;
    std::string buf(piece, '\0');
    for (size_t calls = 0; calls <= total / piece + 1; calls++)
    {
        *pLast = UnzipItem(hz, index, &buf[0], piece);
        if (*pLast != ZR_MORE)
            break;
        out.append(buf, 0, std::min<size_t>(piece, total - out.size()));
    }
    return out;
}

const std::string kXml = "<Window><Button name=\"close\" /></Window>";
const std::string kIcon = Repeated("PNG bytes ", 50);

ZipLayout SampleArchive(const std::string& stub = "", const std::string& comment = "")
{
    return ZipBuilder()
        .Add("Window.xml", kXml, true)
        .Add("SysBtn/CloseHot.PNG", kIcon, false)
        .Build(stub, comment);
}

} // namespace

TEST(ZipLookup, FindsAMemberWhateverItsCaseOrSeparator)
{
    const ZipLayout z = SampleArchive();
    HZIP hz = OpenMemory(z);
    ASSERT_NE(hz, nullptr);
    for (const wchar_t* name :
         {L"SysBtn/CloseHot.PNG", L"sysbtn/closehot.png", L"SYSBTN/CLOSEHOT.PNG", L"SysBtn\\CloseHot.PNG"})
    {
        int index = -1;
        ZIPENTRY ze{};
        EXPECT_EQ(FindZipItem(hz, name, true, &index, &ze), ZR_OK) << name;
        EXPECT_EQ(index, 1) << name;
        EXPECT_STREQ(ze.name, L"SysBtn/CloseHot.PNG");
        EXPECT_EQ(ze.unc_size, static_cast<long>(kIcon.size()));
        EXPECT_EQ(ze.comp_size, static_cast<long>(kIcon.size()));
    }
    CloseZip(hz);
}

TEST(ZipLookup, ExactCaseWhenAskedAndNotFoundOtherwise)
{
    const ZipLayout z = SampleArchive();
    HZIP hz = OpenMemory(z);
    int index = 7;
    ZIPENTRY ze{};
    EXPECT_EQ(FindZipItem(hz, L"window.xml", false, &index, &ze), ZR_NOTFOUND);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(GetZipLastResult(), ZR_NOTFOUND);
    EXPECT_EQ(FindZipItem(hz, L"Window.xml", false, &index, &ze), ZR_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(FindZipItem(hz, L"Window.xm", true, &index, &ze), ZR_NOTFOUND);
    EXPECT_EQ(FindZipItem(hz, L"Window.xml2", true, &index, &ze), ZR_NOTFOUND);
    // A lookup that fails leaves the archive usable.
    EXPECT_EQ(ExtractWhole(hz, L"window.xml"), kXml);
    CloseZip(hz);
}

TEST(ZipLookup, NamesOf256CharactersOrMoreAreNeverFound)
{
    const std::string name255(255, 'n');
    const std::string name256(256, 'n');
    const ZipLayout z = ZipBuilder().Add(name255, "short").Add(name256, "long").Build();
    HZIP hz = OpenMemory(z);
    int index = -1;
    ZIPENTRY ze{};
    EXPECT_EQ(FindZipItem(hz, std::wstring(255, L'N').c_str(), true, &index, &ze), ZR_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(FindZipItem(hz, std::wstring(256, L'n').c_str(), true, &index, &ze), ZR_NOTFOUND);
    EXPECT_EQ(FindZipItem(hz, std::wstring(300, L'n').c_str(), true, &index, &ze), ZR_NOTFOUND);
    CloseZip(hz);
}

TEST(ZipLookup, DescribesTimesFromDosFieldsAndUnixExtraField)
{
    ZipMember plain;
    plain.name = "plain.txt";
    plain.data = "x";
    ZipMember stamped = plain;
    stamped.name = "stamped.txt";
    // "UT": flags = modification and access time, then the two Unix times.
    const unsigned char ut[] = {0x55, 0x54, 9, 0, 3, 0x00, 0xE1, 0xF5, 0x05, 0x80, 0x96, 0x98, 0x00};
    stamped.localExtra.assign(reinterpret_cast<const char*>(ut), sizeof(ut));
    const ZipLayout z = ZipBuilder().Add(plain).Add(stamped).Build();
    HZIP hz = OpenMemory(z);

    int index = -1;
    ZIPENTRY ze{};
    ASSERT_EQ(FindZipItem(hz, L"plain.txt", true, &index, &ze), ZR_OK);
    FILETIME local{};
    FileTimeToLocalFileTime(&ze.mtime, &local);
    SYSTEMTIME st{};
    FileTimeToSystemTime(&local, &st);
    EXPECT_EQ(st.wYear, 2025);
    EXPECT_EQ(st.wMonth, 4);
    EXPECT_EQ(st.wDay, 11);
    EXPECT_EQ(st.wHour, 12);
    EXPECT_EQ(ze.attr, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));

    ASSERT_EQ(FindZipItem(hz, L"stamped.txt", true, &index, &ze), ZR_OK);
    const auto unixOf = [](const FILETIME& ft) {
        const ULONGLONG v = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        return static_cast<long long>((v - 116444736000000000ULL) / 10000000ULL);
    };
    EXPECT_EQ(unixOf(ze.mtime), 100000000);
    EXPECT_EQ(unixOf(ze.atime), 10000000);
    EXPECT_NE(CompareFileTime(&ze.ctime, &ze.mtime), 0); // no creation time: the DOS time stays
    CloseZip(hz);
}

TEST(ZipExtract, ExactSizeBufferGivesMoreThenOk)
{
    const ZipLayout z = SampleArchive();
    HZIP hz = OpenMemory(z);
    int index = -1;
    ZIPENTRY ze{};
    ASSERT_EQ(FindZipItem(hz, L"Window.xml", true, &index, &ze), ZR_OK);
    std::string out(kXml.size(), '\0');
    EXPECT_EQ(UnzipItem(hz, index, &out[0], static_cast<unsigned>(out.size())), ZR_MORE);
    EXPECT_EQ(out, kXml);
    EXPECT_EQ(UnzipItem(hz, index, &out[0], static_cast<unsigned>(out.size())), ZR_OK);
    CloseZip(hz);
}

TEST(ZipExtract, StoredAndDeflateMembersSpanningManyInputBuffers)
{
    const std::string noise = Noise(100000, 7);
    const std::string text = Repeated("compressible line of text\n", 20000);
    const ZipLayout z = ZipBuilder()
                            .Add("noise.bin", noise, true)
                            .Add("stored.bin", noise, false)
                            .Add("text.txt", text, true)
                            .Build();
    HZIP hz = OpenMemory(z);
    ZRESULT zr = ZR_ARGS;
    EXPECT_EQ(ExtractWhole(hz, L"noise.bin", &zr), noise);
    EXPECT_EQ(zr, ZR_MORE);
    EXPECT_EQ(ExtractWhole(hz, L"stored.bin", &zr), noise);
    EXPECT_EQ(zr, ZR_MORE);
    EXPECT_EQ(ExtractWhole(hz, L"text.txt", &zr), text);
    EXPECT_EQ(zr, ZR_MORE);

    // Piece by piece, with pieces that do not divide the sizes.
    const std::string* expected[] = {&noise, &noise, &text};
    for (int index = 0; index < 3; index++)
    {
        ZRESULT last = ZR_ARGS;
        EXPECT_EQ(ExtractInPieces(hz, index, expected[index]->size(), 1000, &last), *expected[index]);
        EXPECT_EQ(last, ZR_OK);
    }
    CloseZip(hz);
}

TEST(ZipExtract, SameMemberTwiceGivesItsDataBothTimes)
{
    const ZipLayout z = SampleArchive();
    HZIP hz = OpenMemory(z);
    EXPECT_EQ(ExtractWhole(hz, L"Window.xml"), kXml);
    EXPECT_EQ(ExtractWhole(hz, L"Window.xml"), kXml);
    EXPECT_EQ(ExtractWhole(hz, L"SysBtn/CloseHot.PNG"), kIcon);
    EXPECT_EQ(ExtractWhole(hz, L"Window.xml"), kXml);
    CloseZip(hz);
}

TEST(ZipExtract, SwitchingMembersMidwayRestartsTheOtherMember)
{
    const ZipLayout z = SampleArchive();
    HZIP hz = OpenMemory(z);
    char piece[5] = {};
    EXPECT_EQ(UnzipItem(hz, 1, piece, 4), ZR_MORE);
    EXPECT_EQ(std::string(piece, 4), kIcon.substr(0, 4));
    EXPECT_EQ(UnzipItem(hz, 0, piece, 4), ZR_MORE);
    EXPECT_EQ(std::string(piece, 4), kXml.substr(0, 4));
    EXPECT_EQ(UnzipItem(hz, 1, piece, 4), ZR_MORE);
    EXPECT_EQ(std::string(piece, 4), kIcon.substr(0, 4));
    CloseZip(hz);
}

TEST(ZipExtract, MembersWithDataDescriptorsUseTheDirectorySizes)
{
    ZipMember m;
    m.name = "described.txt";
    m.data = kXml;
    m.flags = 0x0008;
    ZipLayout z = ZipBuilder().Add(m).Build();
    // Streaming writers leave CRC and sizes of the local header at zero.
    PutLE32(z.bytes, z.localHeaders[0] + 14, 0);
    PutLE32(z.bytes, z.localHeaders[0] + 18, 0);
    PutLE32(z.bytes, z.localHeaders[0] + 22, 0);
    HZIP hz = OpenMemory(z);
    EXPECT_EQ(ExtractWhole(hz, L"described.txt"), kXml);
    CloseZip(hz);
}

TEST(ZipExtract, DamagedDataOrMismatchedHeadersFail)
{
    // A flipped bit in stored data is caught by the CRC.
    ZipLayout z = SampleArchive();
    z.bytes[z.dataOffsets[1] + 3] ^= 0x10;
    HZIP hz = OpenMemory(z);
    ZRESULT zr = ZR_OK;
    ExtractWhole(hz, L"SysBtn/CloseHot.PNG", &zr);
    EXPECT_EQ(zr, ZR_FLATE);
    CloseZip(hz);

    // A local header naming another method than the directory.
    z = SampleArchive();
    PutLE16(z.bytes, z.localHeaders[0] + 8, 0);
    hz = OpenMemory(z);
    int index = -1;
    ZIPENTRY ze{};
    EXPECT_EQ(FindZipItem(hz, L"Window.xml", true, &index, &ze), ZR_CORRUPT);
    char buf[64];
    EXPECT_EQ(UnzipItem(hz, 0, buf, sizeof(buf)), ZR_CORRUPT);
    EXPECT_EQ(UnzipItem(hz, 1, buf, sizeof(buf)), ZR_MORE);
    CloseZip(hz);
}

TEST(ZipStoredView, StoredMembersOfMemoryArchivesAreReadInPlace)
{
    ZipLayout z = SampleArchive();
    HZIP hz = OpenMemory(z);
    const void* pData = nullptr;
    unsigned int length = 0;
    ASSERT_EQ(GetStoredZipItem(hz, 1, &pData, &length), ZR_OK);
    EXPECT_EQ(pData, static_cast<const void*>(z.bytes.data() + z.dataOffsets[1]));
    EXPECT_EQ(std::string(static_cast<const char*>(pData), length), kIcon);
    // A compressed member is extracted instead; so is a member whose data
    // no longer matches its CRC, which is reported as damaged.
    EXPECT_EQ(GetStoredZipItem(hz, 0, &pData, &length), ZR_ARGS);
    EXPECT_EQ(GetStoredZipItem(hz, 2, &pData, &length), ZR_ARGS);
    EXPECT_EQ(ExtractWhole(hz, L"Window.xml"), kXml);
    CloseZip(hz);

    z.bytes[z.dataOffsets[1] + 3] ^= 0x10;
    hz = OpenMemory(z);
    EXPECT_EQ(GetStoredZipItem(hz, 1, &pData, &length), ZR_FLATE);
    CloseZip(hz);
}

TEST(ZipOpen, ArchiveBehindAStubAndBeforeAComment)
{
    const std::string stub = "MZ" + Noise(5000, 3);
    for (const std::string& comment :
         {std::string(), std::string("made by a test"), std::string(1021, 'c'), std::string(1022, 'c'),
          std::string(2047, 'c'), std::string(3000, 'c')})
    {
        const ZipLayout z = SampleArchive(stub, comment);
        HZIP hz = OpenMemory(z);
        ASSERT_NE(hz, nullptr) << comment.size();
        EXPECT_EQ(ExtractWhole(hz, L"Window.xml"), kXml);
        EXPECT_EQ(ExtractWhole(hz, L"SysBtn/CloseHot.PNG"), kIcon);
        CloseZip(hz);
    }
}

TEST(ZipOpen, EndRecordIsLookedForInTheLast65535BytesOnly)
{
    const std::string stub(70000, 's');
    // The 22-byte record then starts exactly 65,535 bytes before the end.
    ZipLayout z = SampleArchive(stub, std::string(65513, 'c'));
    HZIP hz = OpenMemory(z);
    EXPECT_NE(hz, nullptr);
    CloseZip(hz);
    z = SampleArchive(stub, std::string(65514, 'c'));
    EXPECT_EQ(OpenMemory(z), nullptr);
    EXPECT_EQ(GetZipLastResult(), ZR_NOFILE);
}

TEST(ZipOpen, AnEndRecordAtOffsetZeroCountsAsNone)
{
    const ZipLayout empty = ZipBuilder().Build();
    ASSERT_EQ(empty.bytes.size(), 22u);
    EXPECT_EQ(OpenMemory(empty), nullptr);
    const ZipLayout stubbed = ZipBuilder().Build("stub");
    HZIP hz = OpenMemory(stubbed);
    ASSERT_NE(hz, nullptr);
    int index = 0;
    ZIPENTRY ze{};
    EXPECT_EQ(FindZipItem(hz, L"anything", true, &index, &ze), ZR_NOTFOUND);
    char c;
    EXPECT_EQ(UnzipItem(hz, 0, &c, 1), ZR_ARGS);
    CloseZip(hz);
}

TEST(ZipOpen, FromAFileNameAndFromAFileHandle)
{
    const ZipLayout z = SampleArchive("stub");
    const wchar_t* path = L"zip_open_test.zip";
    {
        std::ofstream f("zip_open_test.zip", std::ios::binary);
        f.write(reinterpret_cast<const char*>(z.bytes.data()), static_cast<std::streamsize>(z.bytes.size()));
    }
    HZIP hz = OpenZip(path, 0, ZIP_FILENAME);
    ASSERT_NE(hz, nullptr);
    EXPECT_EQ(ExtractWhole(hz, L"window.XML"), kXml);
    // Stored members of a file have no bytes in memory to be read in place.
    const void* pData = nullptr;
    unsigned int length = 0;
    EXPECT_EQ(GetStoredZipItem(hz, 1, &pData, &length), ZR_ARGS);
    EXPECT_EQ(CloseZip(hz), ZR_OK);

    HANDLE hFile = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    hz = OpenZip(hFile, 0, ZIP_HANDLE);
    ASSERT_NE(hz, nullptr);
    // The reader works on its own duplicate: closing ours changes nothing.
    CloseHandle(hFile);
    EXPECT_EQ(ExtractWhole(hz, L"SysBtn/CloseHot.PNG"), kIcon);
    CloseZip(hz);
    DeleteFileW(path);
}

TEST(ZipOpen, SourcesThatCannotBeReadReportWhy)
{
    EXPECT_EQ(OpenZip(L"no such archive.zip", 0, ZIP_FILENAME), nullptr);
    EXPECT_EQ(GetZipLastResult(), ZR_NOFILE);
    EXPECT_EQ(OpenZip(nullptr, 10, ZIP_HANDLE), nullptr);
    EXPECT_EQ(GetZipLastResult(), ZR_NODUPH);

    HANDLE hRead = nullptr, hWrite = nullptr;
    ASSERT_TRUE(CreatePipe(&hRead, &hWrite, nullptr, 0));
    EXPECT_EQ(OpenZip(hRead, 0, ZIP_HANDLE), nullptr);
    EXPECT_EQ(GetZipLastResult(), ZR_SEEK);
    CloseHandle(hRead);
    CloseHandle(hWrite);

    const char notZip[] = "this is not an archive at all, just some text";
    EXPECT_EQ(OpenZip(notZip, sizeof(notZip), ZIP_MEMORY), nullptr);
    EXPECT_EQ(GetZipLastResult(), ZR_NOFILE);
    EXPECT_EQ(OpenZip(nullptr, 100, ZIP_MEMORY), nullptr);
    EXPECT_EQ(GetZipLastResult(), ZR_ARGS);
    EXPECT_EQ(OpenZip(notZip, 0, ZIP_MEMORY), nullptr);
    EXPECT_EQ(OpenZip(notZip, sizeof(notZip), 9), nullptr);
    EXPECT_EQ(GetZipLastResult(), ZR_ARGS);
}

TEST(ZipOpen, BadArgumentsAreRefused)
{
    const ZipLayout z = SampleArchive();
    HZIP hz = OpenMemory(z);
    int index = 0;
    ZIPENTRY ze{};
    char buf[8];
    EXPECT_EQ(FindZipItem(nullptr, L"Window.xml", true, &index, &ze), ZR_ARGS);
    EXPECT_EQ(FindZipItem(hz, nullptr, true, &index, &ze), ZR_ARGS);
    EXPECT_EQ(UnzipItem(nullptr, 0, buf, sizeof(buf)), ZR_ARGS);
    EXPECT_EQ(UnzipItem(hz, 2, buf, sizeof(buf)), ZR_ARGS);
    EXPECT_EQ(UnzipItem(hz, -1, buf, sizeof(buf)), ZR_ARGS);
    EXPECT_EQ(UnzipItem(hz, 0, nullptr, sizeof(buf)), ZR_ARGS);
    EXPECT_EQ(GetZipLastResult(), ZR_ARGS);
    EXPECT_EQ(CloseZip(nullptr), ZR_ARGS);
    EXPECT_EQ(CloseZip(hz), ZR_OK);
    EXPECT_EQ(GetZipLastResult(), ZR_OK);
}

TEST(ZipOpen, ReadsArchivesWrittenByCMake)
{
    HZIP hz = OpenZip(L"resource_sample.zip", 0, ZIP_FILENAME);
    ASSERT_NE(hz, nullptr);
    std::ifstream f("resource_sample_Window.xml", std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(expected.empty());
    int index = -1;
    ZIPENTRY ze{};
    ASSERT_EQ(FindZipItem(hz, L"WINDOW.XML", true, &index, &ze), ZR_OK);
    EXPECT_LT(ze.comp_size, ze.unc_size);
    EXPECT_EQ(ExtractWhole(hz, L"Window.xml"), expected);
    EXPECT_EQ(ExtractWhole(hz, L"sysbtn\\closehot.png").substr(1, 3), "PNG");
    CloseZip(hz);
}
