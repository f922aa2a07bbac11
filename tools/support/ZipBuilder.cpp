#include "ZipBuilder.h"

#include <zlib.h>

namespace
{

void Append16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Append32(std::vector<uint8_t>& out, uint32_t v)
{
    Append16(out, static_cast<uint16_t>(v));
    Append16(out, static_cast<uint16_t>(v >> 16));
}

void AppendText(std::vector<uint8_t>& out, const std::string& s)
{
    out.insert(out.end(), s.begin(), s.end());
}

// What was written for a member, as both of its headers record it.
struct Written
{
    uint32_t crc, compSize, uncSize, offset;
    uint16_t method;
};

// The fields that the local header and the directory entry share, from the
// version needed to the name length.
void AppendCommonFields(std::vector<uint8_t>& out, const ZipMember& m, const Written& w)
{
    Append16(out, 20);
    Append16(out, m.flags);
    Append16(out, w.method);
    Append32(out, m.dosDateTime);
    Append32(out, w.crc);
    Append32(out, w.compSize);
    Append32(out, w.uncSize);
    Append16(out, static_cast<uint16_t>(m.name.size()));
}

} // namespace

std::string DeflateRaw(const std::string& data, int level)
{
    z_stream zs{};
    deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

void PutLE16(std::vector<uint8_t>& bytes, size_t pos, uint16_t value)
{
    bytes[pos] = static_cast<uint8_t>(value);
    bytes[pos + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLE32(std::vector<uint8_t>& bytes, size_t pos, uint32_t value)
{
    PutLE16(bytes, pos, static_cast<uint16_t>(value));
    PutLE16(bytes, pos + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t GetLE32(const std::vector<uint8_t>& bytes, size_t pos)
{
    return bytes[pos] | (bytes[pos + 1] << 8) | (bytes[pos + 2] << 16) |
           (static_cast<uint32_t>(bytes[pos + 3]) << 24);
}

ZipBuilder& ZipBuilder::Add(const std::string& name, const std::string& data, bool deflate)
{
    ZipMember m;
    m.name = name;
    m.data = data;
    m.deflate = deflate;
    return Add(m);
}

ZipBuilder& ZipBuilder::Add(const ZipMember& member)
{
    m_members.push_back(member);
    return *this;
}

ZipLayout ZipBuilder::Build(const std::string& stub, const std::string& comment) const
{
    ZipLayout z;
    std::vector<uint8_t>& out = z.bytes;
    AppendText(out, stub);

    std::vector<Written> written;
    for (const ZipMember& m : m_members)
    {
        const std::string payload = m.deflate ? DeflateRaw(m.data) : m.data;
        Written w{};
        w.crc = crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size()));
        w.compSize = static_cast<uint32_t>(payload.size());
        w.uncSize = static_cast<uint32_t>(m.data.size());
        w.offset = static_cast<uint32_t>(out.size() - stub.size());
        w.method = m.deflate ? 8 : 0;
        written.push_back(w);

        z.localHeaders.push_back(out.size());
        Append32(out, 0x04034B50);
        AppendCommonFields(out, m, w);
        Append16(out, static_cast<uint16_t>(m.localExtra.size()));
        AppendText(out, m.name);
        AppendText(out, m.localExtra);
        z.dataOffsets.push_back(out.size());
        AppendText(out, payload);
    }

    const size_t dirStart = out.size();
    for (size_t i = 0; i < m_members.size(); i++)
    {
        const ZipMember& m = m_members[i];
        const Written& w = written[i];
        z.dirEntries.push_back(out.size());
        Append32(out, 0x02014B50);
        Append16(out, 20); // version made by
        AppendCommonFields(out, m, w);
        Append16(out, 0);
        Append16(out, 0);
        Append16(out, 0);
        Append16(out, 0);
        Append32(out, 0x20);
        Append32(out, w.offset);
        AppendText(out, m.name);
    }

    z.endRecord = out.size();
    Append32(out, 0x06054B50);
    Append16(out, 0);
    Append16(out, 0);
    Append16(out, static_cast<uint16_t>(m_members.size()));
    Append16(out, static_cast<uint16_t>(m_members.size()));
    Append32(out, static_cast<uint32_t>(z.endRecord - dirStart));
    Append32(out, static_cast<uint32_t>(dirStart - stub.size()));
    Append16(out, static_cast<uint16_t>(comment.size()));
    AppendText(out, comment);
    return z;
}
