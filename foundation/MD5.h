#pragma once
// MD5 digests (RFC 1321) and the three hex texts the program stores or sends.
// The texts are not interchangeable: the byte hex goes to the accounts sign-in,
// the zero-padded word hex names data files and saved states, and the
// blank-padded word hex is the key text of the sealed streams.

#include <windows.h>
#include <cstdint>
#include <string>

// Incremental digest: the state words, the bit count and the pending block.
class CQelMD5
{
public:
    CQelMD5() { Init(); }
    void Init();
    void Update(const void* data, size_t length);
    void Final(BYTE out[16]);

private:
    void Transform(const BYTE block[64]);

    uint32_t m_state[4];
    uint64_t m_bitCount;
    BYTE m_buffer[64];
};

void QelMD5Digest(const void* data, UINT length, BYTE out[16]);

// "%02x" of each digest byte: the usual lower-case MD5 text.
std::wstring QelMD5ByteHex(const void* data, UINT length);
// "%08x" of each little-endian digest word.
std::wstring QelMD5WordHexZeroPadded(const void* data, UINT length);
// "%8x" of each little-endian digest word: leading zeros become blanks.
std::wstring QelMD5WordHexSpaced(const void* data, UINT length);

// Over the UTF-16LE bytes of the text; an empty (or NULL) text gives "".
std::wstring QelMD5WordHexZeroPaddedOfString(const wchar_t* text);
std::wstring QelMD5WordHexSpacedOfString(const wchar_t* text);
std::wstring QelMD5OfString(const wchar_t* text);

BOOL QelMD5OfFile(const wchar_t* path, BYTE out[16]);
// "" when the file cannot be read.
std::wstring QelMD5WordHexZeroPaddedOfFile(const wchar_t* path);
