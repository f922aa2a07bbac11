// Extracting a large Deflate member from an archive in memory, against
// zlib's raw inflate of the same compressed bytes straight into a buffer.

#include "veneer/resource/ZipArchive.h"

#include "BenchTimer.h"
#include "ZipBuilder.h"

#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace Veneer;

namespace
{

const int kRuns = 30;

// Skin-like text with varying numbers: compresses about four to one.
std::string MemberText(size_t size)
{
    std::string s;
    unsigned seed = 1;
    while (s.size() < size)
    {
        seed = seed * 1103515245u + 12345u;
        s += "<Control name=\"item" + std::to_string(seed % 100000) + "\" pos=\"" +
             std::to_string(seed % 997) + "," + std::to_string((seed >> 8) % 991) + "\" bkcolor=\"#FF" +
             std::to_string(seed % 9973) + "\"/>\n";
    }
    s.resize(size);
    return s;
}

bool RawInflate(const std::string& compressed, std::vector<unsigned char>& out)
{
    z_stream zs{};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
        return false;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    zs.avail_in = static_cast<uInt>(compressed.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    const int err = inflate(&zs, Z_FINISH);
    inflateEnd(&zs);
    return err == Z_STREAM_END;
}

} // namespace

int main()
{
    const std::string text = MemberText(16 * 1024 * 1024);
    const std::string compressed = DeflateRaw(text);
    const ZipLayout z = ZipBuilder().Add("Big/Member.xml", text, true).Build();
    std::vector<unsigned char> out(text.size());
    printf("member: %zu bytes, %zu compressed\n", text.size(), compressed.size());

    HZIP hz = OpenZip(z.bytes.data(), static_cast<unsigned>(z.bytes.size()), ZIP_MEMORY);
    bool ok = hz != nullptr;
    const auto extract = [&] {
        int index = -1;
        ZIPENTRY ze{};
        ok = ok && FindZipItem(hz, L"big\\member.XML", true, &index, &ze) == ZR_OK &&
             UnzipItem(hz, index, out.data(), static_cast<unsigned>(out.size())) == ZR_MORE;
    };
    extract();
    ok = ok && std::string(out.begin(), out.end()) == text;
    const BestTimes times = CompareBest(kRuns, extract, [&] { ok = ok && RawInflate(compressed, out); });
    CloseZip(hz);
    if (!ok)
    {
        printf("extraction failed\n");
        return 1;
    }
    PrintRatio("archive member extraction vs raw inflate", static_cast<double>(text.size()), times);
    return 0;
}
