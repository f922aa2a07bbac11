#include "veneer/resource/Crc32.h"

#include <zlib.h>

#include <emmintrin.h>
#include <wmmintrin.h>
#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

#include <cstdint>

namespace Veneer
{

namespace
{

#if defined(_MSC_VER)
#define VENEER_CLMUL_TARGET
#else
#define VENEER_CLMUL_TARGET __attribute__((target("sse2,pclmul")))
#endif

const size_t kFoldWidth = 64; // four 128-bit lanes
const size_t kLaneBytes = 16;

bool CpuHasCarrylessMultiply()
{
    const unsigned kSse2 = 1u << 26;  // EDX of leaf 1
    const unsigned kPclmul = 1u << 1; // ECX of leaf 1
#if defined(_MSC_VER)
    int info[4] = {};
    __cpuid(info, 1);
    return (static_cast<unsigned>(info[3]) & kSse2) != 0 && (static_cast<unsigned>(info[2]) & kPclmul) != 0;
#else
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & kSse2) != 0 && (ecx & kPclmul) != 0;
#endif
}

VENEER_CLMUL_TARGET inline __m128i Load(const BYTE* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Folds `acc` forward by the distance whose constants `k` holds and adds
// `next`: acc * x^(distance) mod P, in the bit-reflected domain.
VENEER_CLMUL_TARGET inline __m128i Fold(__m128i acc, __m128i k, __m128i next)
{
    const __m128i lo = _mm_clmulepi64_si128(acc, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(acc, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(hi, lo), next);
}

// The CRC register (pre-inverted) over `len` bytes, `len` a multiple of 16
// and at least 64: fold four lanes 64 bytes at a time, fold them into one,
// fold the remaining 16-byte lanes, then reduce 128 bits to 32 (Barrett).
// The constants are x^n mod P for the reflected CRC-32 polynomial.
VENEER_CLMUL_TARGET uint32_t FoldedCrc(const BYTE* p, size_t len, uint32_t crc)
{
    const __m128i k1k2 = _mm_set_epi64x(0x01C6E41596, 0x0154442BD4);
    const __m128i k3k4 = _mm_set_epi64x(0x00CCAA009E, 0x01751997D0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163CD6124);
    const __m128i poly = _mm_set_epi64x(0x01F7011641, 0x01DB710641);
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);

    // Step 1: four lanes, 64 bytes at a time.
    __m128i x1 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = Load(p + 16);
    __m128i x3 = Load(p + 32);
    __m128i x4 = Load(p + 48);
    for (p += kFoldWidth, len -= kFoldWidth; len >= kFoldWidth; p += kFoldWidth, len -= kFoldWidth)
    {
        x1 = Fold(x1, k1k2, Load(p));
        x2 = Fold(x2, k1k2, Load(p + 16));
        x3 = Fold(x3, k1k2, Load(p + 32));
        x4 = Fold(x4, k1k2, Load(p + 48));
    }

    // Step 2: the four lanes into one, then the remaining single lanes.
    x1 = Fold(x1, k3k4, x2);
    x1 = Fold(x1, k3k4, x3);
    x1 = Fold(x1, k3k4, x4);
    for (; len >= kLaneBytes; p += kLaneBytes, len -= kLaneBytes)
        x1 = Fold(x1, k3k4, Load(p));

    // Step 3: 128 bits to 64.
    x2 = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_and_si128(x1, low32);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(x1, k5, 0x00), x2);

    // Step 4: Barrett reduction to 32 bits.
    x2 = _mm_and_si128(x1, low32);
    x2 = _mm_clmulepi64_si128(x2, poly, 0x10);
    x2 = _mm_and_si128(x2, low32);
    x2 = _mm_clmulepi64_si128(x2, poly, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(x1, 4)));
}

} // namespace

DWORD UpdateCrc32(DWORD crc, const BYTE* p, size_t len)
{
    static const bool s_bFold = CpuHasCarrylessMultiply();
    if (s_bFold && len >= kFoldWidth)
    {
        const size_t folded = len - len % kLaneBytes;
        crc = ~FoldedCrc(p, folded, ~crc);
        p += folded;
        len -= folded;
    }
    return static_cast<DWORD>(crc32_z(crc, p, len));
}

} // namespace Veneer
