#include "foundation/Base64.h"

#include "foundation/Streams.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kLineBytes = 57;

// 0 to 63 for the alphabet, -1 for every other byte.
struct DecodeTable
{
    signed char value[256];
};

constexpr DecodeTable MakeDecodeTable()
{
    DecodeTable table{};
    for (int i = 0; i < 256; ++i)
        table.value[i] = -1;
    for (int i = 0; i < 64; ++i)
        table.value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<signed char>(i);
    return table;
}

constexpr DecodeTable kDecode = MakeDecodeTable();

void EncodeGroup(const BYTE* in, int count, char* out)
{
    const unsigned bits = (unsigned(in[0]) << 16) | (count > 1 ? unsigned(in[1]) << 8 : 0) | (count > 2 ? in[2] : 0);
    out[0] = kAlphabet[(bits >> 18) & 63];
    out[1] = kAlphabet[(bits >> 12) & 63];
    out[2] = count > 1 ? kAlphabet[(bits >> 6) & 63] : '=';
    out[3] = count > 2 ? kAlphabet[bits & 63] : '=';
}

size_t DecodedLength(const char* text)
{
    size_t symbols = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p)
        if (kDecode.value[*p] >= 0)
            ++symbols;
    return symbols * 6 / 8;
}

void DecodeInto(const char* text, BYTE* out)
{
    unsigned bits = 0;
    int pending = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        const int value = kDecode.value[*p];
        if (value < 0)
            continue;
        bits = (bits << 6) | static_cast<unsigned>(value);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            *out++ = static_cast<BYTE>(bits >> pending);
        }
    }
}

std::string EncodeLines(const BYTE* data, int length)
{
    std::string text;
    if (data == nullptr || length <= 0)
        return text;
    const size_t lines = static_cast<size_t>(length) / kLineBytes;
    text.reserve(lines * 78 + 4);
    const BYTE* in = data;
    for (size_t line = 0; line < lines; ++line) {
        char buffer[78];
        for (int group = 0; group < 19; ++group, in += 3)
            EncodeGroup(in, 3, buffer + 4 * group);
        buffer[76] = '\r';
        buffer[77] = '\n';
        text.append(buffer, 78);
    }
    for (int rest = length - static_cast<int>(lines * kLineBytes); rest > 0; rest -= 3, in += 3) {
        char group[4];
        EncodeGroup(in, rest < 3 ? rest : 3, group);
        text.append(group, 4);
    }
    return text;
}

} // namespace

// An input too large for memory gives an empty text rather than an exception.
std::string QelBase64Encode(const BYTE* data, int length)
{
    try {
        return EncodeLines(data, length);
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

BOOL QelBase64Decode(const char* text, BYTE* out, int* length)
{
    if (text == nullptr || length == nullptr)
        return FALSE;
    const size_t needed = DecodedLength(text);
    if (needed > 0x7fffffff)
        return FALSE;
    if (out == nullptr) {
        *length = static_cast<int>(needed);
        return TRUE;
    }
    if (*length < static_cast<int>(needed)) {
        *length = static_cast<int>(needed);
        return FALSE;
    }
    DecodeInto(text, out);
    *length = static_cast<int>(needed);
    return TRUE;
}

BOOL QelBase64EncodeText(const char* text, std::string& out)
{
    out = text == nullptr ? std::string()
                          : QelBase64Encode(reinterpret_cast<const BYTE*>(text), static_cast<int>(strlen(text)));
    return TRUE;
}

std::string QelBase64EncodeString(const char* text)
{
    std::string out;
    QelBase64EncodeText(text, out);
    return out;
}

BOOL QelBase64EncodeStream(IStream* stream, std::string& out)
{
    std::vector<BYTE> bytes;
    if (!QelReadWholeStream(stream, bytes))
        return FALSE;
    out = QelBase64Encode(bytes.data(), static_cast<int>(bytes.size()));
    return bytes.empty() || !out.empty();  // empty only when memory ran out
}

BOOL QelBase64EncodeFile(const wchar_t* path, std::string& out)
{
    const auto stream = QelCreateMemoryStream();
    return stream && QelLoadFileToStream(path, stream.Get()) && QelBase64EncodeStream(stream.Get(), out);
}

BOOL QelBase64DecodeToStream(const char* text, IStream* stream)
{
    if (text == nullptr || stream == nullptr)
        return FALSE;
    if (!QelSeekStreamToBegin(stream) || !QelSetStreamSize(stream, 0))
        return FALSE;
    std::vector<BYTE> bytes;
    try {
        bytes.resize(DecodedLength(text));
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    DecodeInto(text, bytes.data());
    return bytes.empty() || QelWriteStream(stream, bytes.data(), static_cast<ULONG>(bytes.size()));
}

BOOL QelBase64DecodeToString(const char* text, std::string& out)
{
    if (text == nullptr)
        return FALSE;
    try {
        std::string bytes(DecodedLength(text), '\0');
        DecodeInto(text, reinterpret_cast<BYTE*>(&bytes[0]));
        bytes.resize(strlen(bytes.c_str()));
        out = bytes;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}
