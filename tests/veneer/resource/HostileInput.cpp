#include "HostileInput.h"

#include <psapi.h>

#include <cstring>

namespace
{

size_t PageSize()
{
    SYSTEM_INFO si{};
    GetSystemInfo(&si);
    return si.dwPageSize;
}

void SetField(std::vector<uint8_t>& out, size_t pos, uint32_t value, size_t width)
{
    for (size_t i = 0; i < width && pos + i < out.size(); i++)
        out[pos + i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

GuardedBlock::GuardedBlock(size_t size) : m_size(size)
{
    const size_t page = PageSize();
    const size_t dataPages = (size + page - 1) / page;
    const size_t total = (dataPages + 1) * page;
    m_pBase = VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD old = 0;
    VirtualProtect(static_cast<uint8_t*>(m_pBase) + dataPages * page, page, PAGE_NOACCESS, &old);
    m_pData = static_cast<uint8_t*>(m_pBase) + dataPages * page - size;
}

GuardedBlock::GuardedBlock(const uint8_t* data, size_t size) : GuardedBlock(size)
{
    if (size > 0)
        memcpy(m_pData, data, size);
}

GuardedBlock::~GuardedBlock()
{
    VirtualFree(m_pBase, 0, MEM_RELEASE);
}

uint32_t Rng::Next()
{
    // xorshift32
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

uint32_t Rng::Below(uint32_t bound)
{
    return bound == 0 ? 0 : Next() % bound;
}

std::vector<uint8_t> Mutate(const std::vector<uint8_t>& bytes, Rng& rng)
{
    std::vector<uint8_t> out = bytes;
    const uint32_t size = static_cast<uint32_t>(out.size());
    if (size == 0)
        return out;
    switch (rng.Below(4))
    {
    case 0: // a few random bytes
        for (uint32_t n = 1 + rng.Below(6); n > 0; n--)
            out[rng.Below(size)] = static_cast<uint8_t>(rng.Next());
        break;
    case 1: { // a 16- or 32-bit field set to an extreme value
        const uint32_t extremes[] = {0,          1,    0x7FFF,   0xFFFF,   0x7FFFFFFF,
                                     0xFFFFFFFF, size, size - 1, size + 1, rng.Next()};
        SetField(out, rng.Below(size), extremes[rng.Below(10)], rng.Below(2) == 0 ? 2 : 4);
        break;
    }
    case 2: // cut short
        out.resize(rng.Below(size));
        break;
    default: { // a slice copied over another place
        const uint32_t from = rng.Below(size);
        const uint32_t to = rng.Below(size);
        const uint32_t len = rng.Below(64);
        for (uint32_t i = 0; i < len && from + i < size && to + i < size; i++)
            out[to + i] = bytes[from + i];
        break;
    }
    }
    return out;
}

size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                            sizeof(pmc));
    // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge.
    return pmc.PagefileUsage;
}
