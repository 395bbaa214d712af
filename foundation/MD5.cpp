#include "foundation/MD5.h"

#include <cstring>
#include <cwchar>

#include "framework/Handle.h"

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int kShift[64] = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21,
};

inline uint32_t RotateLeft(uint32_t value, int count)
{
    return (value << count) | (value >> (32 - count));
}

inline uint32_t LoadLE32(const BYTE* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

std::wstring FormatWords(const BYTE digest[16], const wchar_t* format)
{
    wchar_t text[40] = {};
    swprintf(text, 40, format, static_cast<unsigned>(LoadLE32(digest)),
             static_cast<unsigned>(LoadLE32(digest + 4)), static_cast<unsigned>(LoadLE32(digest + 8)),
             static_cast<unsigned>(LoadLE32(digest + 12)));
    return text;
}

std::wstring ByteHex(const BYTE digest[16])
{
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text(32, L'0');
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = kDigits[digest[i] >> 4];
        text[2 * i + 1] = kDigits[digest[i] & 0x0f];
    }
    return text;
}

// The bytes of a wide text as stored in memory: UTF-16LE, no terminator.
bool DigestOfString(const wchar_t* text, BYTE digest[16])
{
    if (text == nullptr || *text == L'\0')
        return false;
    QelMD5Digest(text, static_cast<UINT>(wcslen(text) * sizeof(wchar_t)), digest);
    return true;
}

} // namespace

void CQelMD5::Init()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
    m_bitCount = 0;
    std::memset(m_buffer, 0, sizeof(m_buffer));
}

void CQelMD5::Transform(const BYTE block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = LoadLE32(block + 4 * i);

    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) & 15;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) & 15;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) & 15;
        }
        const uint32_t next = b + RotateLeft(a + f + kSine[i] + x[g], kShift[i]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void CQelMD5::Update(const void* data, size_t length)
{
    const BYTE* input = static_cast<const BYTE*>(data);
    size_t used = static_cast<size_t>((m_bitCount >> 3) & 63);
    m_bitCount += static_cast<uint64_t>(length) << 3;

    if (used != 0) {
        const size_t room = 64 - used;
        if (length < room) {
            std::memcpy(m_buffer + used, input, length);
            return;
        }
        std::memcpy(m_buffer + used, input, room);
        Transform(m_buffer);
        input += room;
        length -= room;
    }
    for (; length >= 64; input += 64, length -= 64)
        Transform(input);
    if (length != 0)
        std::memcpy(m_buffer, input, length);
}

void CQelMD5::Final(BYTE out[16])
{
    BYTE lengthBytes[8];
    for (int i = 0; i < 8; ++i)
        lengthBytes[i] = static_cast<BYTE>(m_bitCount >> (8 * i));

    static const BYTE kPadding[64] = {0x80};
    const size_t used = static_cast<size_t>((m_bitCount >> 3) & 63);
    Update(kPadding, used < 56 ? 56 - used : 120 - used);
    Update(lengthBytes, 8);

    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[4 * i + j] = static_cast<BYTE>(m_state[i] >> (8 * j));
    Init();
}

void QelMD5Digest(const void* data, UINT length, BYTE out[16])
{
    CQelMD5 md5;
    if (data != nullptr)
        md5.Update(data, length);
    md5.Final(out);
}

std::wstring QelMD5ByteHex(const void* data, UINT length)
{
    BYTE digest[16];
    QelMD5Digest(data, length, digest);
    return ByteHex(digest);
}

std::wstring QelMD5WordHexZeroPadded(const void* data, UINT length)
{
    BYTE digest[16];
    QelMD5Digest(data, length, digest);
    return FormatWords(digest, L"%08x%08x%08x%08x");
}

std::wstring QelMD5WordHexSpaced(const void* data, UINT length)
{
    BYTE digest[16];
    QelMD5Digest(data, length, digest);
    return FormatWords(digest, L"%8x%8x%8x%8x");
}

std::wstring QelMD5WordHexZeroPaddedOfString(const wchar_t* text)
{
    BYTE digest[16];
    return DigestOfString(text, digest) ? FormatWords(digest, L"%08x%08x%08x%08x") : std::wstring();
}

std::wstring QelMD5WordHexSpacedOfString(const wchar_t* text)
{
    BYTE digest[16];
    return DigestOfString(text, digest) ? FormatWords(digest, L"%8x%8x%8x%8x") : std::wstring();
}

std::wstring QelMD5OfString(const wchar_t* text)
{
    return QelMD5WordHexZeroPaddedOfString(text);
}

BOOL QelMD5OfFile(const wchar_t* path, BYTE out[16])
{
    if (path == nullptr || out == nullptr)
        return FALSE;
    const CHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return FALSE;

    // Read in chunks so a large file needs no buffer of its own size.
    BYTE buffer[16 * 1024];
    CQelMD5 md5;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr))
            return FALSE;
        if (read == 0)
            break;
        md5.Update(buffer, read);
    }
    md5.Final(out);
    return TRUE;
}

std::wstring QelMD5WordHexZeroPaddedOfFile(const wchar_t* path)
{
    BYTE digest[16];
    return QelMD5OfFile(path, digest) ? FormatWords(digest, L"%08x%08x%08x%08x") : std::wstring();
}
