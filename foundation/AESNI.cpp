// Built with -maes -msse4.1: nothing here may be an inline function or
// template that another file also uses, or the linker could keep this file's
// copy, with its AES instructions, for processors that lack them.

#include "foundation/AESNI.h"

#include <smmintrin.h>
#include <wmmintrin.h>

namespace {

// How many blocks are in flight at once. An AES round takes several cycles
// but a new one can start every cycle; 32-bit code has only eight xmm
// registers, and these widths measured fastest.
constexpr int kWidth = 4;
constexpr int kRunWidth = 6;

// Reverses the bytes of each 32-bit word: big-endian words to block order.
__m128i LoadWords(const uint32_t* words)
{
    const __m128i order = _mm_set_epi8(12, 13, 14, 15, 8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(words)), order);
}

void StoreWords(uint32_t* words, __m128i value)
{
    const __m128i order = _mm_set_epi8(12, 13, 14, 15, 8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(words), _mm_shuffle_epi8(value, order));
}

__m128i LoadBlock(const BYTE* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

void StoreBlock(BYTE* p, __m128i value)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), value);
}

struct RoundKeys
{
    RoundKeys(const uint32_t* words, int count) : rounds(count)
    {
        for (int i = 0; i <= rounds; ++i)
            key[i] = LoadWords(words + 4 * i);
    }

    __m128i key[15];
    int rounds;
};

struct Forward
{
    static __m128i Round(__m128i s, __m128i key) { return _mm_aesenc_si128(s, key); }
    static __m128i Last(__m128i s, __m128i key) { return _mm_aesenclast_si128(s, key); }
};

// The equivalent inverse cipher: its round keys are the decryption schedule.
struct Inverse
{
    static __m128i Round(__m128i s, __m128i key) { return _mm_aesdec_si128(s, key); }
    static __m128i Last(__m128i s, __m128i key) { return _mm_aesdeclast_si128(s, key); }
};

// N blocks round by round, so that their rounds overlap.
template <class Direction, int N>
void Cipher(__m128i (&s)[N], const RoundKeys& k)
{
    for (int i = 0; i < N; ++i)
        s[i] = _mm_xor_si128(s[i], k.key[0]);
    for (int round = 1; round < k.rounds; ++round)
        for (int i = 0; i < N; ++i)
            s[i] = Direction::Round(s[i], k.key[round]);
    for (int i = 0; i < N; ++i)
        s[i] = Direction::Last(s[i], k.key[k.rounds]);
}

template <int N>
void EncryptGroup(const RoundKeys& k, const BYTE* in, BYTE* out)
{
    __m128i s[N];
    for (int i = 0; i < N; ++i)
        s[i] = LoadBlock(in + 16 * i);
    Cipher<Forward>(s, k);
    for (int i = 0; i < N; ++i)
        StoreBlock(out + 16 * i, s[i]);
}

// The whole group is read before any of it is written, and the chaining value
// travels in a register: out may be in or lie before it in the same buffer.
template <int N>
__m128i DecryptGroup(const RoundKeys& k, const BYTE* in, BYTE* out, __m128i chain, bool chained)
{
    __m128i cipher[N], s[N];
    for (int i = 0; i < N; ++i)
        s[i] = cipher[i] = LoadBlock(in + 16 * i);
    Cipher<Inverse>(s, k);
    if (chained)
        for (int i = 0; i < N; ++i)
            s[i] = _mm_xor_si128(s[i], i == 0 ? chain : cipher[i - 1]);
    for (int i = 0; i < N; ++i)
        StoreBlock(out + 16 * i, s[i]);
    return cipher[N - 1];
}

template <int N>
void EncryptRunGroup(const RoundKeys& k, const BYTE* in, int blocks, const __m128i last, const __m128i iv, BYTE* out)
{
    const int inStride = 16 * blocks;
    const int outStride = inStride + 16;
    __m128i s[N];
    for (int i = 0; i < N; ++i)
        s[i] = iv;
    for (int b = 0; b <= blocks; ++b) {
        for (int i = 0; i < N; ++i)
            s[i] = _mm_xor_si128(s[i], b < blocks ? LoadBlock(in + inStride * i + 16 * b) : last);
        Cipher<Forward>(s, k);
        for (int i = 0; i < N; ++i)
            StoreBlock(out + outStride * i + 16 * b, s[i]);
    }
}

} // namespace

void QelAesniEncryptBlocks(const uint32_t* roundKeys, int rounds, const BYTE* in, int blocks, BYTE* out,
                           uint32_t* chain)
{
    const RoundKeys k(roundKeys, rounds);
    int b = 0;
    if (chain != nullptr) {
        __m128i s[1] = {LoadWords(chain)};
        for (; b < blocks; ++b) {
            s[0] = _mm_xor_si128(s[0], LoadBlock(in + 16 * b));
            Cipher<Forward>(s, k);
            StoreBlock(out + 16 * b, s[0]);
        }
        StoreWords(chain, s[0]);
        return;
    }
    for (; b + kWidth <= blocks; b += kWidth)
        EncryptGroup<kWidth>(k, in + 16 * b, out + 16 * b);
    for (; b < blocks; ++b)
        EncryptGroup<1>(k, in + 16 * b, out + 16 * b);
}

void QelAesniDecryptBlocks(const uint32_t* roundKeys, int rounds, const BYTE* in, int blocks, BYTE* out,
                           uint32_t* chain)
{
    const RoundKeys k(roundKeys, rounds);
    const bool chained = chain != nullptr;
    __m128i previous = chained ? LoadWords(chain) : _mm_setzero_si128();
    int b = 0;
    for (; b + kWidth <= blocks; b += kWidth)
        previous = DecryptGroup<kWidth>(k, in + 16 * b, out + 16 * b, previous, chained);
    for (; b < blocks; ++b)
        previous = DecryptGroup<1>(k, in + 16 * b, out + 16 * b, previous, chained);
    if (chained)
        StoreWords(chain, previous);
}

void QelAesniEncryptRuns(const uint32_t* roundKeys, int rounds, const BYTE* in, int blocks, int count,
                         const BYTE* last, const uint32_t* iv, BYTE* out)
{
    const RoundKeys k(roundKeys, rounds);
    const __m128i lastBlock = LoadBlock(last);
    const __m128i start = LoadWords(iv);
    const int inStride = 16 * blocks;
    const int outStride = inStride + 16;
    int run = 0;
    for (; run + kRunWidth <= count; run += kRunWidth)
        EncryptRunGroup<kRunWidth>(k, in + inStride * run, blocks, lastBlock, start, out + outStride * run);
    for (; run < count; ++run)
        EncryptRunGroup<1>(k, in + inStride * run, blocks, lastBlock, start, out + outStride * run);
}
