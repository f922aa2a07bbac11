#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// The toolkit's own reader for skin archives (ZIP files of stored and
// Deflate members), over a file handle, a file name or a memory block.

struct ZipArchive;        // the reader state behind a handle
typedef ZipArchive* HZIP; // null when an archive could not be opened

typedef DWORD ZRESULT;

// Result codes of the archive reader.
const ZRESULT ZR_OK = 0x00000000;       // success
const ZRESULT ZR_NODUPH = 0x00000100;   // the file handle could not be duplicated
const ZRESULT ZR_NOFILE = 0x00000200;   // the archive file could not be opened
const ZRESULT ZR_NOTFOUND = 0x00000500; // no member of that name
const ZRESULT ZR_MORE = 0x00000600;     // more data remains; the member stays open
const ZRESULT ZR_CORRUPT = 0x00000700;  // the local header does not match the directory
const ZRESULT ZR_READ = 0x00000800;     // reading the member's extra data failed
const ZRESULT ZR_ARGS = 0x00010000;     // no handle, or a member index out of range
const ZRESULT ZR_ZMODE = 0x00080000;    // the handle is not an archive being read
const ZRESULT ZR_OPENED = 0x01000000;   // the reader is already open
const ZRESULT ZR_SEEK = 0x02000000;     // the given file handle is not a disk file
const ZRESULT ZR_FLATE = 0x05000000;    // decompression or reading failed

// Where the archive's bytes come from.
const DWORD ZIP_HANDLE = 1;   // an open file handle (duplicated by the reader)
const DWORD ZIP_FILENAME = 2; // a file name (wide text)
const DWORD ZIP_MEMORY = 3;   // a memory block that stays valid while the archive is open

// The description of one member, as a lookup returns it.
struct ZIPENTRY
{
    int index;
    wchar_t name[MAX_PATH];
    DWORD attr;
    FILETIME atime, ctime, mtime;
    long comp_size;
    long unc_size;
};

// Opens an archive. `source` is a HANDLE, a wide file name or the block's
// address, as `flags` says; `length` is the block's size for ZIP_MEMORY.
// Null on failure; the reason is left in GetZipLastResult().
VENEER_API HZIP OpenZip(const void* source, unsigned int length, DWORD flags);

// Looks a member up by name (backslashes count as slashes). On success
// *index is its index and *ze its description; otherwise *index is -1.
VENEER_API ZRESULT FindZipItem(HZIP hz, const wchar_t* name, bool ignoreCase, int* index, ZIPENTRY* ze);

// Extracts (the next part of) member `index` into `dst`. ZR_MORE means bytes
// were produced and more may follow; ZR_OK that nothing more was produced.
VENEER_API ZRESULT UnzipItem(HZIP hz, int index, void* dst, unsigned int length);

// For a stored member of an archive opened on a memory block: where its
// bytes lie in that block (they stay valid as long as the block does), once
// they have been checked against the member's CRC. ZR_ARGS for a compressed
// member or an archive read from a file, which UnzipItem extracts instead.
VENEER_API ZRESULT GetStoredZipItem(HZIP hz, int index, const void** ppData, unsigned int* pLength);

VENEER_API ZRESULT CloseZip(HZIP hz);

// The result of the last archive operation of the process.
VENEER_API ZRESULT GetZipLastResult();

} // namespace Veneer
