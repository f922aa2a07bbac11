#include "veneer/resource/ZipArchive.h"

#include "veneer/resource/ByteOrder.h"
#include "veneer/resource/Crc32.h"

#include <zlib.h>

#include <cassert>
#include <cstring>
#include <new>

namespace Veneer
{

namespace
{

// Record signatures, little-endian as they appear in the file.
const DWORD kLocalHeaderSignature = 0x04034B50;
const DWORD kDirEntrySignature = 0x02014B50;
const DWORD kEndRecordSignature = 0x06054B50;

// Fixed sizes of the records, signatures included.
const unsigned kLocalHeaderSize = 30;
const unsigned kDirEntrySize = 46;
const unsigned kEndRecordSize = 22;

// The end record is looked for in the archive's last 65,535 bytes, in chunks
// that overlap by the signature's length so that no signature is split.
const unsigned kEndScanLimit = 0xFFFF;
const unsigned kEndScanStep = 1024;
const unsigned kEndScanChunk = kEndScanStep + 4;

const unsigned kInputBufferSize = 16 * 1024;
const int kDeflateWindowBits = 15; // 32 KiB window

// Member names of this length or longer are never found.
const int kMaxNameChars = 256;
const int kNameBufferBytes = MAX_PATH;

const WORD kMethodStored = 0;
const WORD kMethodDeflate = 8;
const WORD kFlagDataDescriptor = 0x0008; // sizes and CRC follow the data
const WORD kExtraUnixTime = 0x5455;      // "UT"
const WORD kHostUnix = 3;

const DWORD kArchiveReading = 1;

ZRESULT g_lastResult = ZR_OK;

ZRESULT Report(ZRESULT result)
{
    g_lastResult = result;
    return result;
}

// The bytes of an archive: a file (through a handle of its own) or a memory
// block that the caller keeps alive. Every read names its absolute offset and
// succeeds only when all requested bytes lie inside the archive.
class ByteSource
{
  public:
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    ~ByteSource()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hFile);
    }

    ZRESULT OpenHandle(HANDLE hFile)
    {
        HANDLE hDup = nullptr;
        if (!::DuplicateHandle(::GetCurrentProcess(), hFile, ::GetCurrentProcess(), &hDup, 0, FALSE,
                               DUPLICATE_SAME_ACCESS))
            return ZR_NODUPH;
        m_hFile = hDup;
        // Positioned reads need a file that can seek; pipes and consoles cannot.
        if (::GetFileType(hDup) != FILE_TYPE_DISK)
            return ZR_SEEK;
        return MeasureFile();
    }

    ZRESULT OpenFile(const wchar_t* pstrName)
    {
        if (pstrName == nullptr)
            return ZR_ARGS;
        m_hFile = ::CreateFileW(pstrName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_hFile == INVALID_HANDLE_VALUE)
            return ZR_NOFILE;
        return MeasureFile();
    }

    ZRESULT OpenMemory(const void* pData, unsigned int length)
    {
        if (pData == nullptr || length == 0)
            return ZR_ARGS;
        m_pMem = static_cast<const BYTE*>(pData);
        m_size = length;
        return ZR_OK;
    }

    UINT64 Size() const { return m_size; }

    // The bytes in place, for a memory block that holds all of them; null
    // for a file, or when they do not all lie inside the archive.
    const BYTE* Span(UINT64 offset, unsigned int count) const
    {
        if (m_pMem == nullptr || offset > m_size || count > m_size - offset)
            return nullptr;
        return m_pMem + offset;
    }

    bool ReadAt(UINT64 offset, void* pDst, unsigned int count) const
    {
        if (offset > m_size || count > m_size - offset)
            return false;
        if (m_pMem != nullptr)
        {
            memcpy(pDst, m_pMem + offset, count);
            return true;
        }
        return ReadFileAt(offset, pDst, count);
    }

  private:
    ZRESULT MeasureFile()
    {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(m_hFile, &size))
            return ZR_NOFILE;
        m_size = static_cast<UINT64>(size.QuadPart);
        return ZR_OK;
    }

    bool ReadFileAt(UINT64 offset, void* pDst, unsigned int count) const
    {
        // The offset travels with the request, so the position of a handle
        // shared with the caller does not matter.
        OVERLAPPED ov{};
        ov.Offset = static_cast<DWORD>(offset);
        ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (!::ReadFile(m_hFile, pDst, count, &got, &ov))
        {
            if (::GetLastError() != ERROR_IO_PENDING || !::GetOverlappedResult(m_hFile, &ov, &got, TRUE))
                return false;
        }
        return got == count;
    }

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    const BYTE* m_pMem = nullptr;
    UINT64 m_size = 0;
};

// The fixed part of a central directory entry.
struct DirEntry
{
    WORD versionMadeBy;
    WORD flags;
    WORD method;
    DWORD dosDateTime;
    DWORD crc;
    DWORD compSize;
    DWORD uncSize;
    WORD nameLen;
    WORD extraLen;
    WORD commentLen;
    DWORD externalAttr;
    DWORD localHeaderOffset;
};

// Where the data of a member starts and how long its local extra field is.
struct LocalLayout
{
    UINT64 extraPos;
    WORD extraLen;
    UINT64 dataPos;
};

// Reading state of the one member open for extraction.
struct MemberReader
{
    z_stream stream;
    bool inflating;
    bool streamEnded;
    WORD method;
    UINT64 readPos;
    DWORD restCompressed;
    DWORD restUncompressed;
    DWORD crc;
    DWORD expectedCrc;
    BYTE input[kInputBufferSize];
};

} // namespace

// The state behind an archive handle.
struct ZipArchive
{
    DWORD kind = kArchiveReading;
    ByteSource source;

    // From the end record.
    UINT64 precedingBytes = 0;
    DWORD dirOffset = 0;
    WORD entryCount = 0;

    // The directory entry the walk stands on.
    int entryIndex = -1;
    UINT64 entryPos = 0;
    DirEntry entry{};
    BYTE entryName[kNameBufferBytes]{};

    int openIndex = -1;
    MemberReader reader{};

    int describedIndex = -1;
    ZIPENTRY described{};
};

namespace
{

// Step 1 of opening: the end record nearest to the end of the archive.
bool FindEndRecord(const ByteSource& source, UINT64* pPos)
{
    const UINT64 size = source.Size();
    const UINT64 maxBack = size < kEndScanLimit ? size : kEndScanLimit;
    BYTE chunk[kEndScanChunk];
    UINT64 back = 4;
    while (back < maxBack)
    {
        back = back + kEndScanStep > maxBack ? maxBack : back + kEndScanStep;
        const UINT64 readPos = size - back;
        const unsigned readSize = static_cast<unsigned>(back < kEndScanChunk ? back : kEndScanChunk);
        if (!source.ReadAt(readPos, chunk, readSize))
            return false;
        for (unsigned i = readSize - 3; i-- > 0;)
        {
            if (ReadLE32(chunk + i) != kEndRecordSignature)
                continue;
            // A record at the very start of the archive counts as none.
            *pPos = readPos + i;
            return *pPos != 0;
        }
    }
    return false;
}

// Steps 2 and 3 of opening: the directory's place and the preceding data.
bool ReadEndRecord(ZipArchive* pZip, UINT64 endPos)
{
    BYTE rec[kEndRecordSize];
    if (!pZip->source.ReadAt(endPos, rec, kEndRecordSize))
        return false;
    const WORD thisDisk = ReadLE16(rec + 4);
    const WORD dirDisk = ReadLE16(rec + 6);
    const WORD entriesHere = ReadLE16(rec + 8);
    const WORD entriesTotal = ReadLE16(rec + 10);
    const DWORD dirSize = ReadLE32(rec + 12);
    const DWORD dirOffset = ReadLE32(rec + 16);
    if (thisDisk != 0 || dirDisk != 0 || entriesHere != entriesTotal)
        return false;
    const UINT64 dirEnd = static_cast<UINT64>(dirOffset) + dirSize;
    if (endPos < dirEnd)
        return false;
    pZip->precedingBytes = endPos - dirEnd;
    pZip->dirOffset = dirOffset;
    pZip->entryCount = entriesTotal;
    return true;
}

// Reads the directory entry at the walk's position (fixed part and name).
bool ReadDirEntry(ZipArchive* pZip)
{
    BYTE raw[kDirEntrySize];
    const UINT64 pos = pZip->precedingBytes + pZip->entryPos;
    if (!pZip->source.ReadAt(pos, raw, kDirEntrySize) || ReadLE32(raw) != kDirEntrySignature)
        return false;
    DirEntry& e = pZip->entry;
    e.versionMadeBy = ReadLE16(raw + 4);
    e.flags = ReadLE16(raw + 8);
    e.method = ReadLE16(raw + 10);
    e.dosDateTime = ReadLE32(raw + 12);
    e.crc = ReadLE32(raw + 16);
    e.compSize = ReadLE32(raw + 20);
    e.uncSize = ReadLE32(raw + 24);
    e.nameLen = ReadLE16(raw + 28);
    e.extraLen = ReadLE16(raw + 30);
    e.commentLen = ReadLE16(raw + 32);
    e.externalAttr = ReadLE32(raw + 38);
    e.localHeaderOffset = ReadLE32(raw + 42);
    // Longer names cannot equal any name that can be asked for; only the
    // part that fits is kept.
    const unsigned keep = e.nameLen < kNameBufferBytes ? e.nameLen : kNameBufferBytes - 1;
    if (!pZip->source.ReadAt(pos + kDirEntrySize, pZip->entryName, keep))
        return false;
    pZip->entryName[keep] = 0;
    return true;
}

bool GoToFirstEntry(ZipArchive* pZip)
{
    pZip->entryIndex = -1;
    pZip->entryPos = pZip->dirOffset;
    if (pZip->entryCount == 0 || !ReadDirEntry(pZip))
        return false;
    pZip->entryIndex = 0;
    return true;
}

bool GoToNextEntry(ZipArchive* pZip)
{
    if (pZip->entryIndex < 0 || pZip->entryIndex + 1 >= pZip->entryCount)
        return false;
    const DirEntry& e = pZip->entry;
    pZip->entryPos += kDirEntrySize + e.nameLen + e.extraLen + e.commentLen;
    if (!ReadDirEntry(pZip))
    {
        pZip->entryIndex = -1;
        return false;
    }
    pZip->entryIndex++;
    return true;
}

// Moves the walk onto entry `index`, restarting from the first entry when
// the index lies behind the current position.
bool GoToEntry(ZipArchive* pZip, int index)
{
    if (pZip->entryIndex < 0 || index < pZip->entryIndex)
    {
        if (!GoToFirstEntry(pZip))
            return false;
    }
    while (pZip->entryIndex < index)
    {
        if (!GoToNextEntry(pZip))
            return false;
    }
    return true;
}

// Checks the local header of the current entry against its directory entry.
bool ReadLocalLayout(const ZipArchive* pZip, LocalLayout* pLayout)
{
    const DirEntry& e = pZip->entry;
    const UINT64 pos = pZip->precedingBytes + e.localHeaderOffset;
    BYTE raw[kLocalHeaderSize];
    if (!pZip->source.ReadAt(pos, raw, kLocalHeaderSize) || ReadLE32(raw) != kLocalHeaderSignature)
        return false;
    const WORD flags = ReadLE16(raw + 6);
    const WORD method = ReadLE16(raw + 8);
    if (method != e.method || (method != kMethodStored && method != kMethodDeflate))
        return false;
    if ((flags & kFlagDataDescriptor) == 0)
    {
        if (ReadLE32(raw + 14) != e.crc || ReadLE32(raw + 18) != e.compSize ||
            ReadLE32(raw + 22) != e.uncSize)
            return false;
    }
    const WORD nameLen = ReadLE16(raw + 26);
    if (nameLen != e.nameLen)
        return false;
    pLayout->extraLen = ReadLE16(raw + 28);
    pLayout->extraPos = pos + kLocalHeaderSize + nameLen;
    pLayout->dataPos = pLayout->extraPos + pLayout->extraLen;
    return true;
}

FILETIME UnixTimeToFileTime(LONG unixTime)
{
    const LONGLONG kEpochDifference = 116444736000000000LL; // 1601 to 1970 in 100 ns
    const LONGLONG value = static_cast<LONGLONG>(unixTime) * 10000000LL + kEpochDifference;
    FILETIME ft{};
    ft.dwLowDateTime = static_cast<DWORD>(value);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(value) >> 32);
    return ft;
}

// The "UT" extra field carries modification, access and creation times as
// Unix times, each present when its flag bit is set.
void ApplyUnixTimes(const BYTE* extra, unsigned extraLen, ZIPENTRY* ze)
{
    unsigned pos = 0;
    while (pos + 4 <= extraLen)
    {
        const WORD tag = ReadLE16(extra + pos);
        const unsigned dataLen = ReadLE16(extra + pos + 2);
        const unsigned data = pos + 4;
        if (dataLen > extraLen - data)
            return;
        if (tag == kExtraUnixTime && dataLen >= 1)
        {
            const BYTE present = extra[data];
            const unsigned end = data + dataLen;
            unsigned p = data + 1;
            FILETIME* targets[] = {&ze->mtime, &ze->atime, &ze->ctime};
            for (int bit = 0; bit < 3; bit++)
            {
                if ((present & (1 << bit)) == 0 || p + 4 > end)
                    continue;
                *targets[bit] = UnixTimeToFileTime(static_cast<LONG>(ReadLE32(extra + p)));
                p += 4;
            }
            return;
        }
        pos = data + dataLen;
    }
}

DWORD AttributesOf(const DirEntry& e)
{
    const DWORD kDosBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                           FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE;
    DWORD attr = e.externalAttr & kDosBits;
    // Unix hosts keep the file mode in the upper half.
    const DWORD mode = e.externalAttr >> 16;
    if ((mode & 0xF000) == 0x4000)
        attr |= FILE_ATTRIBUTE_DIRECTORY;
    if ((e.versionMadeBy >> 8) == kHostUnix && mode != 0 && (mode & 0x0080) == 0)
        attr |= FILE_ATTRIBUTE_READONLY;
    return attr;
}

// Fills the description of the current entry: directory data, then the
// times of the local extra field.
ZRESULT DescribeEntry(ZipArchive* pZip, ZIPENTRY* ze)
{
    LocalLayout layout{};
    if (!ReadLocalLayout(pZip, &layout))
        return ZR_CORRUPT;
    BYTE* extra = new (std::nothrow) BYTE[layout.extraLen + 1];
    if (extra == nullptr || !pZip->source.ReadAt(layout.extraPos, extra, layout.extraLen))
    {
        delete[] extra;
        return ZR_READ;
    }

    const DirEntry& e = pZip->entry;
    ZIPENTRY desc{};
    desc.index = pZip->entryIndex;
    ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(pZip->entryName), -1, desc.name, MAX_PATH);
    desc.name[MAX_PATH - 1] = 0;
    desc.attr = AttributesOf(e);
    desc.comp_size = static_cast<long>(e.compSize);
    desc.unc_size = static_cast<long>(e.uncSize);
    // DOS times are local times.
    FILETIME local{};
    ::DosDateTimeToFileTime(HIWORD(e.dosDateTime), LOWORD(e.dosDateTime), &local);
    ::LocalFileTimeToFileTime(&local, &desc.mtime);
    desc.atime = desc.ctime = desc.mtime;
    ApplyUnixTimes(extra, layout.extraLen, &desc);
    delete[] extra;

    *ze = desc;
    pZip->described = desc;
    pZip->describedIndex = desc.index;
    return ZR_OK;
}

// The name as the archive stores it: ANSI bytes with forward slashes.
bool NarrowMemberName(const wchar_t* name, char* narrow)
{
    if (wcslen(name) >= static_cast<size_t>(kMaxNameChars))
        return false;
    if (::WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, kNameBufferBytes, nullptr, nullptr) == 0)
        return false;
    for (char* p = narrow; *p != 0; p++)
    {
        if (*p == '\\')
            *p = '/';
    }
    return true;
}

char FoldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool NamesEqual(const ZipArchive* pZip, const char* name, size_t nameLen, bool ignoreCase)
{
    if (pZip->entry.nameLen != nameLen)
        return false;
    const char* stored = reinterpret_cast<const char*>(pZip->entryName);
    if (!ignoreCase)
        return memcmp(stored, name, nameLen) == 0;
    for (size_t i = 0; i < nameLen; i++)
    {
        if (FoldAscii(stored[i]) != FoldAscii(name[i]))
            return false;
    }
    return true;
}

void CloseMember(ZipArchive* pZip)
{
    MemberReader& r = pZip->reader;
    if (r.inflating)
        inflateEnd(&r.stream);
    r.inflating = false;
    pZip->openIndex = -1;
}

// Prepares the current entry for extraction.
ZRESULT OpenMember(ZipArchive* pZip)
{
    LocalLayout layout{};
    if (!ReadLocalLayout(pZip, &layout))
        return ZR_CORRUPT;
    const DirEntry& e = pZip->entry;
    MemberReader& r = pZip->reader;
    memset(&r.stream, 0, sizeof(r.stream));
    r.inflating = false;
    r.streamEnded = false;
    r.method = e.method;
    r.readPos = layout.dataPos;
    r.restCompressed = e.compSize;
    r.restUncompressed = e.uncSize;
    r.crc = crc32(0L, Z_NULL, 0);
    r.expectedCrc = e.crc;
    if (e.method == kMethodDeflate)
    {
        // Negative window bits: raw Deflate data without a zlib header.
        if (inflateInit2(&r.stream, -kDeflateWindowBits) != Z_OK)
            return ZR_FLATE;
        r.inflating = true;
    }
    pZip->openIndex = pZip->entryIndex;
    return ZR_OK;
}

// Hands the decoder the next piece of compressed data. A file is read
// through the 16 KiB input buffer; a memory archive that holds the rest of
// the member's data is read in place, all at once, which spares the copy and
// lets the decoder run through without returning at every buffer.
bool RefillInput(ZipArchive* pZip)
{
    MemberReader& r = pZip->reader;
    if (const BYTE* p = pZip->source.Span(r.readPos, r.restCompressed))
    {
        r.stream.next_in = const_cast<BYTE*>(p);
        r.stream.avail_in = r.restCompressed;
        r.readPos += r.restCompressed;
        r.restCompressed = 0;
        return true;
    }
    const unsigned count = r.restCompressed < kInputBufferSize ? r.restCompressed : kInputBufferSize;
    if (!pZip->source.ReadAt(r.readPos, r.input, count))
        return false;
    r.readPos += count;
    r.restCompressed -= count;
    r.stream.next_in = r.input;
    r.stream.avail_in = count;
    return true;
}

// Copies stored data from the input buffer; false when the input has run
// dry, which means the stored data is shorter than declared.
bool CopyStored(z_stream& stream)
{
    const unsigned n = stream.avail_in < stream.avail_out ? stream.avail_in : stream.avail_out;
    if (n == 0)
        return false;
    memcpy(stream.next_out, stream.next_in, n);
    stream.next_in += n;
    stream.avail_in -= n;
    stream.next_out += n;
    stream.avail_out -= n;
    return true;
}

// Produces up to `length` bytes of the open member into `pDst`. False when
// the data cannot be read or decoded, or ends before its declared size.
bool ReadMember(ZipArchive* pZip, BYTE* pDst, unsigned int length, unsigned int* pProduced)
{
    MemberReader& r = pZip->reader;
    const unsigned want = length < r.restUncompressed ? length : r.restUncompressed;
    r.stream.next_out = pDst;
    r.stream.avail_out = want;
    bool ok = true;
    while (ok && r.stream.avail_out > 0 && !r.streamEnded)
    {
        if (r.stream.avail_in == 0 && r.restCompressed > 0 && !RefillInput(pZip))
            ok = false;
        else if (r.method == kMethodStored)
            ok = CopyStored(r.stream);
        else
        {
            // Z_BUF_ERROR here means the data ended without finishing the stream.
            const int err = inflate(&r.stream, Z_SYNC_FLUSH);
            r.streamEnded = err == Z_STREAM_END;
            ok = err == Z_OK || err == Z_STREAM_END;
        }
    }
    const unsigned produced = want - r.stream.avail_out;
    r.crc = UpdateCrc32(r.crc, pDst, produced);
    r.restUncompressed -= produced;
    *pProduced = produced;
    // A Deflate stream that ends early leaves the member short of its size.
    if (r.streamEnded && r.restUncompressed > 0)
        ok = false;
    // The call that completes the member checks what it produced as a whole:
    // damaged data, or data cut short by a size that lies, is not passed on.
    if (produced > 0 && r.restUncompressed == 0 && r.crc != r.expectedCrc)
        ok = false;
    return ok;
}

ZRESULT CheckHandle(HZIP hz)
{
    if (hz == nullptr)
        return ZR_ARGS;
    if (hz->kind != kArchiveReading)
        return ZR_ZMODE;
    return ZR_OK;
}

ZRESULT OpenSource(ZipArchive* pZip, const void* source, unsigned int length, DWORD flags)
{
    switch (flags)
    {
    case ZIP_HANDLE:
        return pZip->source.OpenHandle(const_cast<HANDLE>(source));
    case ZIP_FILENAME:
        return pZip->source.OpenFile(static_cast<const wchar_t*>(source));
    case ZIP_MEMORY:
        return pZip->source.OpenMemory(source, length);
    default:
        return ZR_ARGS;
    }
}

} // namespace

HZIP OpenZip(const void* source, unsigned int length, DWORD flags)
{
    ZipArchive* pZip = new (std::nothrow) ZipArchive;
    if (pZip == nullptr)
    {
        Report(ZR_NOFILE);
        return nullptr;
    }
    ZRESULT result = OpenSource(pZip, source, length, flags);
    UINT64 endPos = 0;
    if (result == ZR_OK && (!FindEndRecord(pZip->source, &endPos) || !ReadEndRecord(pZip, endPos)))
        result = ZR_NOFILE;
    if (result != ZR_OK)
    {
        delete pZip;
        Report(result);
        return nullptr;
    }
    GoToFirstEntry(pZip);
    Report(ZR_OK);
    return pZip;
}

ZRESULT FindZipItem(HZIP hz, const wchar_t* name, bool ignoreCase, int* index, ZIPENTRY* ze)
{
    ZRESULT result = CheckHandle(hz);
    if (result == ZR_OK && (name == nullptr || index == nullptr || ze == nullptr))
        result = ZR_ARGS;
    if (result != ZR_OK)
        return Report(result);
    *index = -1;
    // A lookup ends any partial read, so that extracting the member found
    // starts at its first byte even when it was extracted before.
    CloseMember(hz);

    char narrow[kNameBufferBytes];
    if (!NarrowMemberName(name, narrow))
        return Report(ZR_NOTFOUND);
    const size_t narrowLen = strlen(narrow);

    const int savedIndex = hz->entryIndex;
    const UINT64 savedPos = hz->entryPos;
    for (bool more = GoToFirstEntry(hz); more; more = GoToNextEntry(hz))
    {
        if (!NamesEqual(hz, narrow, narrowLen, ignoreCase))
            continue;
        if (hz->describedIndex == hz->entryIndex)
            *ze = hz->described;
        else if ((result = DescribeEntry(hz, ze)) != ZR_OK)
            return Report(result);
        *index = hz->entryIndex;
        return Report(ZR_OK);
    }

    // Not found: the walk returns to where it stood.
    hz->entryPos = savedPos;
    if (savedIndex < 0 || !ReadDirEntry(hz))
        GoToFirstEntry(hz);
    else
        hz->entryIndex = savedIndex;
    return Report(ZR_NOTFOUND);
}

ZRESULT UnzipItem(HZIP hz, int index, void* dst, unsigned int length)
{
    ZRESULT result = CheckHandle(hz);
    if (result == ZR_OK && (index < 0 || index >= hz->entryCount || (dst == nullptr && length > 0)))
        result = ZR_ARGS;
    if (result != ZR_OK)
        return Report(result);

    // Step 1: open the member unless it is the one being read.
    if (hz->openIndex != index)
    {
        CloseMember(hz);
        if (!GoToEntry(hz, index))
            return Report(ZR_CORRUPT);
        if ((result = OpenMember(hz)) != ZR_OK)
            return Report(result);
    }
    assert(hz->openIndex == index);

    // Step 2: produce what the buffer holds.
    unsigned int produced = 0;
    const bool ok = ReadMember(hz, static_cast<BYTE*>(dst), length, &produced);
    if (ok && produced > 0)
        return Report(ZR_MORE);
    CloseMember(hz);
    return Report(ok ? ZR_OK : ZR_FLATE);
}

ZRESULT GetStoredZipItem(HZIP hz, int index, const void** ppData, unsigned int* pLength)
{
    ZRESULT result = CheckHandle(hz);
    if (result == ZR_OK && (index < 0 || index >= hz->entryCount || ppData == nullptr || pLength == nullptr))
        result = ZR_ARGS;
    if (result != ZR_OK)
        return Report(result);
    CloseMember(hz);
    LocalLayout layout{};
    if (!GoToEntry(hz, index) || !ReadLocalLayout(hz, &layout))
        return Report(ZR_CORRUPT);
    const DirEntry& e = hz->entry;
    const BYTE* pData = hz->source.Span(layout.dataPos, e.uncSize);
    if (e.method != kMethodStored || e.compSize != e.uncSize || pData == nullptr)
        return Report(ZR_ARGS);
    if (UpdateCrc32(crc32(0L, Z_NULL, 0), pData, e.uncSize) != e.crc)
        return Report(ZR_FLATE);
    *ppData = pData;
    *pLength = e.uncSize;
    return Report(ZR_OK);
}

ZRESULT CloseZip(HZIP hz)
{
    const ZRESULT result = CheckHandle(hz);
    if (result != ZR_OK)
        return Report(result);
    CloseMember(hz);
    hz->kind = 0;
    delete hz;
    return Report(ZR_OK);
}

ZRESULT GetZipLastResult()
{
    return g_lastResult;
}

} // namespace Veneer
