#include "foundation/AES.h"

#include "foundation/AESNI.h"

#include <cpuid.h>

#include <atomic>
#include <cstring>

namespace {

constexpr uint32_t kNotReady = 1;
constexpr uint32_t kReady = 0;

constexpr uint8_t Times2(uint8_t x)
{
    return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1b : 0));
}

constexpr uint8_t Multiply(uint8_t a, uint8_t b)
{
    uint8_t product = 0;
    for (; b != 0; b = static_cast<uint8_t>(b >> 1)) {
        if (b & 1)
            product = static_cast<uint8_t>(product ^ a);
        a = Times2(a);
    }
    return product;
}

constexpr uint8_t RotateByte(uint8_t x, int count)
{
    return static_cast<uint8_t>((x << count) | (x >> (8 - count)));
}

constexpr uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    return (uint32_t(b0) << 24) | (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | uint32_t(b3);
}

constexpr uint32_t RotateRight8(uint32_t x)
{
    return (x >> 8) | (x << 24);
}

// The S-boxes and the round tables, derived from the field arithmetic at compile
// time. Words are big-endian: byte 0 of a column is the top byte.
struct Tables
{
    uint8_t sbox[256];
    uint8_t inverse[256];
    uint32_t te[4][256];
    uint32_t td[4][256];
};

constexpr Tables MakeTables()
{
    Tables t{};
    // Walk the multiplicative group with generator 3 (p) and its inverse (q).
    uint8_t p = 1, q = 1;
    do {
        p = static_cast<uint8_t>(p ^ Times2(p));
        q = static_cast<uint8_t>(q ^ (q << 1));
        q = static_cast<uint8_t>(q ^ (q << 2));
        q = static_cast<uint8_t>(q ^ (q << 4));
        if (q & 0x80)
            q = static_cast<uint8_t>(q ^ 0x09);
        const uint8_t affine = static_cast<uint8_t>(q ^ RotateByte(q, 1) ^ RotateByte(q, 2) ^ RotateByte(q, 3) ^
                                                    RotateByte(q, 4) ^ 0x63);
        t.sbox[p] = affine;
    } while (p != 1);
    t.sbox[0] = 0x63;

    for (int i = 0; i < 256; ++i)
        t.inverse[t.sbox[i]] = static_cast<uint8_t>(i);

    for (int i = 0; i < 256; ++i) {
        const uint8_t s = t.sbox[i];
        const uint8_t v = t.inverse[i];
        t.te[0][i] = Word(Multiply(s, 2), s, s, Multiply(s, 3));
        t.td[0][i] = Word(Multiply(v, 14), Multiply(v, 9), Multiply(v, 13), Multiply(v, 11));
        for (int k = 1; k < 4; ++k) {
            t.te[k][i] = RotateRight8(t.te[k - 1][i]);
            t.td[k][i] = RotateRight8(t.td[k - 1][i]);
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();
static_assert(kTables.sbox[0x00] == 0x63 && kTables.sbox[0x53] == 0xed && kTables.sbox[0xff] == 0x16,
              "S-box differs from FIPS-197");
static_assert(kTables.inverse[0x63] == 0x00 && kTables.inverse[0x16] == 0xff, "inverse S-box");

constexpr const uint32_t* Te0 = kTables.te[0];
constexpr const uint32_t* Te1 = kTables.te[1];
constexpr const uint32_t* Te2 = kTables.te[2];
constexpr const uint32_t* Te3 = kTables.te[3];
constexpr const uint32_t* Td0 = kTables.td[0];
constexpr const uint32_t* Td1 = kTables.td[1];
constexpr const uint32_t* Td2 = kTables.td[2];
constexpr const uint32_t* Td3 = kTables.td[3];
constexpr const uint8_t* Sbox = kTables.sbox;
constexpr const uint8_t* InverseSbox = kTables.inverse;

inline uint32_t LoadBE(const BYTE* p)
{
    uint32_t value;
    std::memcpy(&value, p, 4);
    return __builtin_bswap32(value);
}

inline void StoreBE(BYTE* p, uint32_t value)
{
    value = __builtin_bswap32(value);
    std::memcpy(p, &value, 4);
}

inline void LoadBlock(const BYTE* p, uint32_t s[4])
{
    for (int i = 0; i < 4; ++i)
        s[i] = LoadBE(p + 4 * i);
}

inline void StoreBlock(BYTE* p, const uint32_t s[4])
{
    for (int i = 0; i < 4; ++i)
        StoreBE(p + 4 * i, s[i]);
}

inline uint32_t SubWord(uint32_t w)
{
    return Word(Sbox[w >> 24], Sbox[(w >> 16) & 0xff], Sbox[(w >> 8) & 0xff], Sbox[w & 0xff]);
}

inline int Byte(uint32_t w, int index)
{
    return static_cast<int>((w >> (24 - 8 * index)) & 0xff);
}

// The byte-order shuffle of the instruction path needs SSSE3; every processor
// with AES instructions has it, and SSE4.1 with it.
bool ProcessorHasAES()
{
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & bit_AES) && (ecx & bit_SSSE3) && (ecx & bit_SSE4_1);
}

std::atomic<bool> g_forceTables{false};

} // namespace

bool CQelAES::UsesInstructions()
{
    static const bool present = ProcessorHasAES();
    return present && !g_forceTables.load(std::memory_order_relaxed);
}

void CQelAES::ForceTables(bool force)
{
    g_forceTables.store(force, std::memory_order_relaxed);
}

CQelAES::CQelAES()
    : m_state(kNotReady), m_mode(ModeECB), m_direction(DirEncrypt), m_iv(), m_rounds(0), m_encryptKey(),
      m_decryptKey()
{
}

int CQelAES::Init(int mode, int direction, const BYTE* key, int keyLengthCode, const BYTE* iv)
{
    m_state = kNotReady;
    if (mode != ModeECB && mode != ModeCBC && mode != ModeCFB1)
        return BadMode;
    m_mode = mode;
    if (direction != DirEncrypt && direction != DirDecrypt)
        return BadDirection;
    m_direction = direction;
    if (iv != nullptr)
        std::memcpy(m_iv, iv, 16);
    else
        std::memset(m_iv, 0, 16);
    if (keyLengthCode < Key128 || keyLengthCode > Key256)
        return BadKeyLength;
    if (key == nullptr)
        return BadKeyMaterial;

    const int keyWords = 4 + 2 * keyLengthCode;
    m_rounds = keyWords + 6;
    const int totalWords = 4 * (m_rounds + 1);

    uint32_t* w = m_encryptKey;
    for (int i = 0; i < keyWords; ++i)
        w[i] = LoadBE(key + 4 * i);
    uint32_t rcon = 0x01;
    for (int i = keyWords; i < totalWords; ++i) {
        uint32_t temp = w[i - 1];
        if (i % keyWords == 0) {
            temp = SubWord((temp << 8) | (temp >> 24)) ^ (rcon << 24);
            rcon = Times2(static_cast<uint8_t>(rcon));
        } else if (keyWords > 6 && i % keyWords == 4) {
            temp = SubWord(temp);
        }
        w[i] = w[i - keyWords] ^ temp;
    }

    // Equivalent inverse cipher: round keys in reverse order, the inner ones
    // passed through InvMixColumns.
    for (int round = 0; round <= m_rounds; ++round)
        for (int j = 0; j < 4; ++j)
            m_decryptKey[4 * round + j] = w[4 * (m_rounds - round) + j];
    for (int i = 4; i < 4 * m_rounds; ++i) {
        const uint32_t k = m_decryptKey[i];
        m_decryptKey[i] = Td0[Sbox[Byte(k, 0)]] ^ Td1[Sbox[Byte(k, 1)]] ^ Td2[Sbox[Byte(k, 2)]] ^
                          Td3[Sbox[Byte(k, 3)]];
    }

    m_state = kReady;
    return 0;
}

void CQelAES::EncryptWords(uint32_t s[4]) const
{
    const uint32_t* rk = m_encryptKey;
    uint32_t s0 = s[0] ^ rk[0], s1 = s[1] ^ rk[1], s2 = s[2] ^ rk[2], s3 = s[3] ^ rk[3];
    for (int round = 1; round < m_rounds; ++round) {
        rk += 4;
        const uint32_t t0 = Te0[s0 >> 24] ^ Te1[(s1 >> 16) & 0xff] ^ Te2[(s2 >> 8) & 0xff] ^ Te3[s3 & 0xff] ^ rk[0];
        const uint32_t t1 = Te0[s1 >> 24] ^ Te1[(s2 >> 16) & 0xff] ^ Te2[(s3 >> 8) & 0xff] ^ Te3[s0 & 0xff] ^ rk[1];
        const uint32_t t2 = Te0[s2 >> 24] ^ Te1[(s3 >> 16) & 0xff] ^ Te2[(s0 >> 8) & 0xff] ^ Te3[s1 & 0xff] ^ rk[2];
        const uint32_t t3 = Te0[s3 >> 24] ^ Te1[(s0 >> 16) & 0xff] ^ Te2[(s1 >> 8) & 0xff] ^ Te3[s2 & 0xff] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    s[0] = Word(Sbox[s0 >> 24], Sbox[(s1 >> 16) & 0xff], Sbox[(s2 >> 8) & 0xff], Sbox[s3 & 0xff]) ^ rk[0];
    s[1] = Word(Sbox[s1 >> 24], Sbox[(s2 >> 16) & 0xff], Sbox[(s3 >> 8) & 0xff], Sbox[s0 & 0xff]) ^ rk[1];
    s[2] = Word(Sbox[s2 >> 24], Sbox[(s3 >> 16) & 0xff], Sbox[(s0 >> 8) & 0xff], Sbox[s1 & 0xff]) ^ rk[2];
    s[3] = Word(Sbox[s3 >> 24], Sbox[(s0 >> 16) & 0xff], Sbox[(s1 >> 8) & 0xff], Sbox[s2 & 0xff]) ^ rk[3];
}

void CQelAES::DecryptWords(uint32_t s[4]) const
{
    const uint32_t* rk = m_decryptKey;
    uint32_t s0 = s[0] ^ rk[0], s1 = s[1] ^ rk[1], s2 = s[2] ^ rk[2], s3 = s[3] ^ rk[3];
    for (int round = 1; round < m_rounds; ++round) {
        rk += 4;
        const uint32_t t0 = Td0[s0 >> 24] ^ Td1[(s3 >> 16) & 0xff] ^ Td2[(s2 >> 8) & 0xff] ^ Td3[s1 & 0xff] ^ rk[0];
        const uint32_t t1 = Td0[s1 >> 24] ^ Td1[(s0 >> 16) & 0xff] ^ Td2[(s3 >> 8) & 0xff] ^ Td3[s2 & 0xff] ^ rk[1];
        const uint32_t t2 = Td0[s2 >> 24] ^ Td1[(s1 >> 16) & 0xff] ^ Td2[(s0 >> 8) & 0xff] ^ Td3[s3 & 0xff] ^ rk[2];
        const uint32_t t3 = Td0[s3 >> 24] ^ Td1[(s2 >> 16) & 0xff] ^ Td2[(s1 >> 8) & 0xff] ^ Td3[s0 & 0xff] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    s[0] = Word(InverseSbox[s0 >> 24], InverseSbox[(s3 >> 16) & 0xff], InverseSbox[(s2 >> 8) & 0xff],
                InverseSbox[s1 & 0xff]) ^ rk[0];
    s[1] = Word(InverseSbox[s1 >> 24], InverseSbox[(s0 >> 16) & 0xff], InverseSbox[(s3 >> 8) & 0xff],
                InverseSbox[s2 & 0xff]) ^ rk[1];
    s[2] = Word(InverseSbox[s2 >> 24], InverseSbox[(s1 >> 16) & 0xff], InverseSbox[(s0 >> 8) & 0xff],
                InverseSbox[s3 & 0xff]) ^ rk[2];
    s[3] = Word(InverseSbox[s3 >> 24], InverseSbox[(s2 >> 16) & 0xff], InverseSbox[(s1 >> 8) & 0xff],
                InverseSbox[s0 & 0xff]) ^ rk[3];
}

// One cipher call per bit: the register is enciphered, its top bit masks the
// next data bit, and the cipher-text bit is shifted into the register.
void CQelAES::EncryptCFB1(const BYTE* in, int blocks, BYTE* out, bool decrypt) const
{
    BYTE shift[16];
    std::memcpy(shift, m_iv, 16);
    for (int b = 0; b < blocks; ++b, in += 16, out += 16) {
        BYTE data[16];
        std::memcpy(data, in, 16);
        for (int k = 0; k < 128; ++k) {
            uint32_t s[4];
            LoadBlock(shift, s);
            EncryptWords(s);
            const int mask = 0x80 >> (k & 7);
            const int inputBit = data[k >> 3] & mask;
            const int outputBit = inputBit ^ ((s[0] >> 24) & 0x80 ? mask : 0);
            data[k >> 3] = static_cast<BYTE>((data[k >> 3] & ~mask) | outputBit);
            const int cipherBit = (decrypt ? inputBit : outputBit) != 0 ? 1 : 0;
            for (int t = 0; t < 15; ++t)
                shift[t] = static_cast<BYTE>((shift[t] << 1) | (shift[t + 1] >> 7));
            shift[15] = static_cast<BYTE>((shift[15] << 1) | cipherBit);
        }
        std::memcpy(out, data, 16);
    }
}

// ECB and CBC over whole blocks. `chain` carries the chaining value from one
// call to the next (a padded last block continues the chain); ECB ignores it.
// Each block is read before its output is written, so out may be in or lie
// before it in the same buffer.
void CQelAES::EncryptBlocks(const BYTE* in, int blocks, BYTE* out, uint32_t chain[4]) const
{
    const bool chained = m_mode == ModeCBC;
    if (UsesInstructions()) {
        QelAesniEncryptBlocks(m_encryptKey, m_rounds, in, blocks, out, chained ? chain : nullptr);
        return;
    }
    for (int b = 0; b < blocks; ++b) {
        uint32_t s[4];
        LoadBlock(in + 16 * b, s);
        if (chained)
            for (int i = 0; i < 4; ++i)
                s[i] ^= chain[i];
        EncryptWords(s);
        if (chained)
            for (int i = 0; i < 4; ++i)
                chain[i] = s[i];
        StoreBlock(out + 16 * b, s);
    }
}

void CQelAES::DecryptBlocks(const BYTE* in, int blocks, BYTE* out, uint32_t chain[4]) const
{
    const bool chained = m_mode == ModeCBC;
    if (UsesInstructions()) {
        QelAesniDecryptBlocks(m_decryptKey, m_rounds, in, blocks, out, chained ? chain : nullptr);
        return;
    }
    for (int b = 0; b < blocks; ++b) {
        uint32_t cipher[4], s[4];
        LoadBlock(in + 16 * b, cipher);
        for (int i = 0; i < 4; ++i)
            s[i] = cipher[i];
        DecryptWords(s);
        if (chained)
            for (int i = 0; i < 4; ++i) {
                s[i] ^= chain[i];
                chain[i] = cipher[i];
            }
        StoreBlock(out + 16 * b, s);
    }
}

int CQelAES::BlockEncrypt(const BYTE* in, int lengthInBits, BYTE* out)
{
    if (in == nullptr || out == nullptr || lengthInBits < 1)
        return 0;
    if (m_state != kReady)
        return BadCipherState;
    if (m_direction != DirEncrypt)
        return WrongDirection;

    const int blocks = lengthInBits / 128;
    uint32_t chain[4];
    LoadBlock(m_iv, chain);
    switch (m_mode) {
    case ModeECB:
    case ModeCBC:
        EncryptBlocks(in, blocks, out, chain);
        break;
    case ModeCFB1:
        EncryptCFB1(in, blocks, out, false);
        break;
    default:
        return BadMode;
    }
    return 128 * blocks;
}

int CQelAES::BlockDecrypt(const BYTE* in, int lengthInBits, BYTE* out)
{
    if (in == nullptr || out == nullptr || lengthInBits < 1)
        return 0;
    if (m_state != kReady)
        return BadCipherState;
    // One-bit feedback deciphers with the forward cipher, so either direction serves.
    if (m_direction != DirDecrypt && m_mode != ModeCFB1)
        return WrongDirection;

    const int blocks = lengthInBits / 128;
    uint32_t chain[4];
    LoadBlock(m_iv, chain);
    switch (m_mode) {
    case ModeECB:
    case ModeCBC:
        DecryptBlocks(in, blocks, out, chain);
        break;
    case ModeCFB1:
        EncryptCFB1(in, blocks, out, true);
        break;
    default:
        return BadMode;
    }
    return 128 * blocks;
}

int CQelAES::PadEncryptReady() const
{
    if (m_state != kReady || m_direction != DirEncrypt)
        return BadCipherState;
    if (m_mode != ModeECB && m_mode != ModeCBC)
        return BadMode;
    return 0;
}

int CQelAES::PadEncrypt(const BYTE* in, int length, BYTE* out)
{
    // The padded length must still fit the result.
    if (in == nullptr || out == nullptr || length <= 0 || length > 0x7fffffff - 16)
        return 0;
    if (const int error = PadEncryptReady())
        return error;

    const int blocks = length / 16;
    const int pad = 16 - (length - 16 * blocks);
    BYTE last[16];
    std::memcpy(last, in + 16 * blocks, 16 - pad);
    std::memset(last + 16 - pad, pad, pad);

    uint32_t chain[4];
    LoadBlock(m_iv, chain);
    EncryptBlocks(in, blocks, out, chain);
    EncryptBlocks(last, 1, out + 16 * blocks, chain);
    return 16 * (blocks + 1);
}

int CQelAES::PadEncryptChunks(const BYTE* in, int chunkLength, int count, BYTE* out)
{
    if (in == nullptr || out == nullptr || chunkLength <= 0 || chunkLength % 16 != 0 || count <= 0 ||
        chunkLength > 0x7fffffff - 16 || count > 0x7fffffff / (chunkLength + 16))
        return 0;
    if (const int error = PadEncryptReady())
        return error;

    const int blocks = chunkLength / 16;
    BYTE padding[16];
    std::memset(padding, 16, 16);
    uint32_t iv[4];
    LoadBlock(m_iv, iv);
    if (m_mode == ModeCBC && UsesInstructions()) {
        QelAesniEncryptRuns(m_encryptKey, m_rounds, in, blocks, count, padding, iv, out);
    } else {
        for (int k = 0; k < count; ++k, in += chunkLength, out += chunkLength + 16) {
            uint32_t chain[4] = {iv[0], iv[1], iv[2], iv[3]};
            EncryptBlocks(in, blocks, out, chain);
            EncryptBlocks(padding, 1, out + chunkLength, chain);
        }
    }
    return count * (chunkLength + 16);
}

int CQelAES::PadDecrypt(const BYTE* in, int length, BYTE* out)
{
    if (in == nullptr || out == nullptr || length < 1)
        return 0;
    if (m_state != kReady)
        return BadCipherState;
    if (m_direction != DirDecrypt)
        return WrongDirection;
    if (m_mode != ModeECB && m_mode != ModeCBC)
        return BadMode;
    if (length % 16 != 0)
        return BadData;

    const int blocks = length / 16;
    uint32_t chain[4];
    LoadBlock(m_iv, chain);
    DecryptBlocks(in, blocks - 1, out, chain);
    // The last block goes aside: only its plaintext part may reach `out`.
    BYTE last[16];
    DecryptBlocks(in + 16 * (blocks - 1), 1, last, chain);

    const int pad = last[15];
    if (pad < 1 || pad > 16)
        return BadData;
    for (int i = 16 - pad; i < 16; ++i)
        if (last[i] != pad)
            return BadData;
    std::memcpy(out + 16 * (blocks - 1), last, 16 - pad);
    return 16 * blocks - pad;
}
