#include "librarydata/ZipCrcClmul.h"

#include <emmintrin.h>
#include <smmintrin.h>
#include <wmmintrin.h>

#include <cstdint>

// Folding by four 128-bit lanes, then one, then Barrett reduction, as in the paper
// "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ Instruction", for
// the bit-reflected polynomial 0x104C11DB7. Each constant is x^n mod P, reflected
// and shifted left by one: k1 n = 4*128+32, k2 4*128-32, k3 128+32, k4 128-32, k5 64;
// mu is x^64 / P reflected.
namespace {

alignas(16) const uint64_t kFold4[2] = {0x154442bd4ULL, 0x1c6e41596ULL};
alignas(16) const uint64_t kFold1[2] = {0x1751997d0ULL, 0x0ccaa009eULL};
alignas(16) const uint64_t kFold64[2] = {0x163cd6124ULL, 0};
alignas(16) const uint64_t kBarrett[2] = {0x1db710641ULL, 0x1f7011641ULL};

__m128i Load(const BYTE* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// lane * (k low, k high) folded onto next.
__m128i Fold(__m128i lane, __m128i k, __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), next);
}

}  // namespace

DWORD QelClmulCrc32Blocks(DWORD invertedCrc, const BYTE* data, size_t length)
{
    __m128i x1 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(invertedCrc)));
    __m128i x2 = Load(data + 16);
    __m128i x3 = Load(data + 32);
    __m128i x4 = Load(data + 48);
    data += 64;
    length -= 64;

    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold4));
    for (; length >= 64; data += 64, length -= 64) {
        x1 = Fold(x1, k, Load(data));
        x2 = Fold(x2, k, Load(data + 16));
        x3 = Fold(x3, k, Load(data + 32));
        x4 = Fold(x4, k, Load(data + 48));
    }

    k = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold1));
    x1 = Fold(x1, k, x2);
    x1 = Fold(x1, k, x3);
    x1 = Fold(x1, k, x4);
    for (; length >= 16; data += 16, length -= 16)
        x1 = Fold(x1, k, Load(data));

    // 128 bits to 64: the low half times k4 onto the high half; then the low 32
    // bits times k5 onto the rest.
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k, 0x10));
    k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kFold64));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k, 0x00), _mm_srli_si128(x1, 4));

    // Barrett reduction to the 32-bit remainder.
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(kBarrett));
    __m128i quotient = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), k, 0x10);
    quotient = _mm_clmulepi64_si128(_mm_and_si128(quotient, low32), k, 0x00);
    x1 = _mm_xor_si128(x1, quotient);
    return static_cast<DWORD>(_mm_extract_epi32(x1, 1));
}
