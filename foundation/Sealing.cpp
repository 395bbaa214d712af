#include "foundation/Sealing.h"

#include "foundation/AES.h"
#include "foundation/Base64.h"
#include "foundation/Global.h"
#include "foundation/MD5.h"
#include "foundation/Streams.h"

#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

namespace {

constexpr ULONG kPlainChunk = 1024;
constexpr ULONG kSealedChunk = 1040;
// Memory streams of a 32-bit process stay well below this.
constexpr ULONGLONG kLargestStream = 0x70000000;
constexpr char kPasswordPhrase[] = "KeyPhraseForSealingSecrets";

int InitCipher(CQelAES& aes, int direction, const char* password, int mode = CQelAES::ModeCBC)
{
    const std::wstring keyText = QelMD5WordHexSpaced(password, static_cast<UINT>(strlen(password)));
    BYTE key[32];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<BYTE>(keyText[i]);
    return aes.Init(mode, direction, key, CQelAES::Key256, nullptr);
}

// Whether every sealed chunk ends in the padding sealing writes: a whole block of
// it in each full chunk, one to sixteen bytes in the last. A chunk's last plaintext
// block needs only its own block deciphered and the block before it (zeros for a
// chunk of one block), so the last blocks of many chunks go through the cipher in
// one call rather than a call for each chunk's last two blocks.
bool ChunkPaddingsHold(CQelAES& blocks, const BYTE* bytes, size_t length)
{
    constexpr size_t kBatch = 64;
    static const BYTE kZeros[16] = {};
    BYTE last[kBatch * 16];
    for (size_t first = 0; first < length; first += kBatch * kSealedChunk) {
        size_t count = 0;
        for (size_t read = first; read < length && count < kBatch; read += kSealedChunk, ++count) {
            const size_t size = std::min<size_t>(kSealedChunk, length - read);
            if (size % 16 != 0)
                return false;
            std::memcpy(last + 16 * count, bytes + read + size - 16, 16);
        }
        if (blocks.BlockDecrypt(last, static_cast<int>(count * 128), last) != static_cast<int>(count * 128))
            return false;
        for (size_t i = 0; i < count; ++i) {
            const size_t read = first + i * kSealedChunk;
            const size_t size = std::min<size_t>(kSealedChunk, length - read);
            const BYTE* before = size >= 32 ? bytes + read + size - 32 : kZeros;
            BYTE* const plain = last + 16 * i;
            for (int b = 0; b < 16; ++b)
                plain[b] ^= before[b];
            const int pad = plain[15];
            if (pad < 1 || pad > 16 || (read + size < length && pad != 16))
                return false;
            for (int b = 16 - pad; b < 15; ++b) {
                if (plain[b] != pad)
                    return false;
            }
        }
    }
    return true;
}

// Emptying first spares the memory stream copying its old content when it grows.
BOOL ReplaceContent(IStream* data, const BYTE* bytes, ULONG count)
{
    return QelSeekStreamToBegin(data) && QelSetStreamSize(data, 0) && QelWriteStream(data, bytes, count) &&
           QelSeekStreamToBegin(data);
}

Microsoft::WRL::ComPtr<IStream> MemoryStreamWith(const void* bytes, ULONG count)
{
    auto stream = QelCreateMemoryStream();
    if (!stream || !QelWriteStream(stream.Get(), bytes, count))
        return nullptr;
    return stream;
}

} // namespace

BOOL QelEncryptStream(const char* password, IStream* data)
{
    if (password == nullptr || data == nullptr || !QelSeekStreamToBegin(data))
        return FALSE;
    const ULONGLONG size = QelGetStreamSize(data);
    if (size == 0)
        return FALSE;

    const ULONGLONG chunks = (size + kPlainChunk - 1) / kPlainChunk;
    const ULONGLONG rest = size - (chunks - 1) * kPlainChunk;
    const ULONGLONG sealedSize = (chunks - 1) * kSealedChunk + (rest / 16 + 1) * 16;
    std::vector<BYTE> sealed;
    try {
        if (sealedSize > kLargestStream)
            throw std::bad_alloc();
        sealed.resize(static_cast<size_t>(sealedSize));
    } catch (const std::bad_alloc&) {
        TessaryWriteLog(L"Failed to create temp stream!");
        return FALSE;
    }

    CQelAES aes;
    if (InitCipher(aes, CQelAES::DirEncrypt, password) != 0) {
        TessaryWriteLog(L"Failed init AES");
        return FALSE;
    }
    CQelStreamContent plain;
    if (!plain.Open(data, static_cast<ULONG>(size))) {
        TessaryWriteLog(L"Failed to read from stream!");
        return FALSE;
    }

    // The whole chunks in one call, so that the cipher can run them side by side.
    const int whole = static_cast<int>(rest == kPlainChunk ? chunks : chunks - 1);
    if ((whole > 0 && aes.PadEncryptChunks(plain.Data(), kPlainChunk, whole, sealed.data()) < 0) ||
        (rest < kPlainChunk && aes.PadEncrypt(plain.Data() + whole * kPlainChunk, static_cast<int>(rest),
                                              sealed.data() + whole * kSealedChunk) < 0)) {
        TessaryWriteLog(L"Failed to encrypt buffer!");
        return FALSE;
    }

    plain.Close();
    if (!ReplaceContent(data, sealed.data(), static_cast<ULONG>(sealedSize))) {
        TessaryWriteLog(L"Failed to write to stream!");
        return FALSE;
    }
    return TRUE;
}

BOOL QelDecryptStream(const char* password, IStream* data)
{
    if (password == nullptr || data == nullptr || !QelSeekStreamToBegin(data))
        return FALSE;
    const ULONGLONG size = QelGetStreamSize(data);
    if (size == 0 || size > kLargestStream)
        return FALSE;

    CQelAES aes;
    CQelAES blocks;
    if (InitCipher(aes, CQelAES::DirDecrypt, password) != 0 ||
        InitCipher(blocks, CQelAES::DirDecrypt, password, CQelAES::ModeECB) != 0)
        return FALSE;
    CQelStreamContent content;
    if (!content.Open(data, static_cast<ULONG>(size)))
        return FALSE;
    BYTE* const bytes = content.Data();
    const size_t length = static_cast<size_t>(size);

    // Checked first, so that a wrong key or a damaged stream fails before
    // anything is overwritten.
    if (!ChunkPaddingsHold(blocks, bytes, length))
        return FALSE;

    // Unsealed in place from the first chunk on: a plaintext chunk is shorter
    // than its sealed form, so it never reaches a chunk still to be read.
    size_t written = 0;
    for (size_t read = 0; read < length; read += kSealedChunk) {
        const size_t count = std::min<size_t>(kSealedChunk, length - read);
        const int plain = aes.PadDecrypt(bytes + read, static_cast<int>(count), bytes + written);
        if (plain < 0)
            return FALSE;
        written += static_cast<size_t>(plain);
    }

    if (!content.IsStreamMemory())
        return ReplaceContent(data, bytes, static_cast<ULONG>(written));
    content.Close();
    return QelSetStreamSize(data, written) && QelSeekStreamToBegin(data);
}

BOOL QelEncryptTextToBase64(const char* password, const wchar_t* text, std::string& out)
{
    if (text == nullptr || *text == L'\0') {
        out.clear();
        return TRUE;
    }
    const size_t bytes = wcslen(text) * sizeof(wchar_t);
    if (bytes > kLargestStream)
        return FALSE;
    const auto stream = MemoryStreamWith(text, static_cast<ULONG>(bytes));
    if (!stream || !QelEncryptStream(password, stream.Get()))
        return FALSE;
    std::vector<BYTE> sealed;
    if (!QelReadWholeStream(stream.Get(), sealed))
        return FALSE;
    out = QelBase64Encode(sealed.data(), static_cast<int>(sealed.size()));
    return !out.empty();  // empty only when memory ran out
}

BOOL QelDecryptBase64ToText(const char* password, const char* base64, std::wstring& out)
{
    if (base64 == nullptr || *base64 == '\0') {
        out.clear();
        return TRUE;
    }
    int length = 0;
    if (!QelBase64Decode(base64, nullptr, &length))
        return FALSE;
    std::vector<BYTE> sealed;
    try {
        sealed.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    if (length == 0 || !QelBase64Decode(base64, sealed.data(), &length))
        return FALSE;

    const auto stream = MemoryStreamWith(sealed.data(), static_cast<ULONG>(length));
    if (!stream || !QelDecryptStream(password, stream.Get()))
        return FALSE;
    std::vector<BYTE> plain;
    if (!QelReadWholeStream(stream.Get(), plain))
        return FALSE;

    // UTF-16LE up to the first zero character; an odd last byte is a character of its own.
    plain.resize(plain.size() + 2, 0);
    std::wstring text(plain.size() / 2, L'\0');
    std::memcpy(&text[0], plain.data(), text.size() * sizeof(wchar_t));
    text.resize(wcslen(text.c_str()));
    out = text;
    return TRUE;
}

std::wstring QelEncryptPassword(const wchar_t* text)
{
    std::string sealed;
    if (text == nullptr || *text == L'\0' || !QelEncryptTextToBase64(kPasswordPhrase, text, sealed))
        return std::wstring();
    return std::wstring(sealed.begin(), sealed.end());
}

std::wstring QelDecryptPassword(const wchar_t* sealed)
{
    if (sealed == nullptr || *sealed == L'\0')
        return std::wstring();
    // Base64 is ASCII: other characters carry nothing, and narrowing them to a
    // multi-byte code page could turn them into alphabet bytes.
    std::string narrow;
    for (const wchar_t* p = sealed; *p != L'\0'; ++p)
        if (*p < 0x80)
            narrow += static_cast<char>(*p);
    std::wstring text;
    if (!QelDecryptBase64ToText(kPasswordPhrase, narrow.c_str(), text))
        return std::wstring();
    return text;
}
