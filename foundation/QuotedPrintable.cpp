#include "foundation/QuotedPrintable.h"

#include "foundation/Streams.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr size_t kLineLimit = 65;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool IsLineBreakAt(const BYTE* data, int length, int i)
{
    return i + 1 < length && data[i] == '\r' && data[i + 1] == '\n';
}

// Decodes into a buffer of strlen + 10 bytes and returns the decoded count.
bool DecodeToBuffer(const char* text, std::vector<BYTE>& buffer, int& length)
{
    try {
        buffer.assign(strlen(text) + 10, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    length = static_cast<int>(buffer.size());
    return QelQPDecode(text, buffer.data(), &length) != FALSE;
}

std::string EncodeLines(const BYTE* data, int length)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    if (data == nullptr || length <= 0)
        return text;
    size_t line = 0;
    for (int i = 0; i < length; ++i) {
        if (IsLineBreakAt(data, length, i)) {
            text += "\r\n";
            line = 0;
            ++i;
            continue;
        }
        const BYTE c = data[i];
        const bool blank = c == ' ' || c == '\t';
        const bool lastOnLine = i + 1 == length || IsLineBreakAt(data, length, i + 1);
        if ((c >= 33 && c <= 126 && c != '=') || (blank && !lastOnLine)) {
            text += static_cast<char>(c);
            ++line;
        } else {
            text += '=';
            text += kDigits[c >> 4];
            text += kDigits[c & 15];
            line += 3;
        }
        if (line >= kLineLimit && !lastOnLine) {
            text += "=\r\n";
            line = 0;
        }
    }
    return text;
}

} // namespace

// An input too large for memory gives an empty text rather than an exception.
std::string QelQPEncode(const BYTE* data, int length)
{
    try {
        return EncodeLines(data, length);
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

BOOL QelQPEncodeStream(IStream* stream, std::string& out)
{
    std::vector<BYTE> bytes;
    if (!QelReadWholeStream(stream, bytes))
        return FALSE;
    out = QelQPEncode(bytes.data(), static_cast<int>(bytes.size()));
    return bytes.empty() || !out.empty();  // empty only when memory ran out
}

BOOL QelQPDecode(const char* text, BYTE* out, int* length)
{
    if (text == nullptr || out == nullptr || length == nullptr || *length < 0)
        return FALSE;
    const size_t room = static_cast<size_t>(*length);
    const size_t textLength = strlen(text);
    if (strchr(text, '=') == nullptr) {
        if (textLength > room)
            return FALSE;
        std::memcpy(out, text, textLength < room ? textLength + 1 : textLength);
        *length = static_cast<int>(textLength);
        return TRUE;
    }

    size_t written = 0;
    for (size_t i = 0; i < textLength;) {
        BYTE c = static_cast<BYTE>(text[i]);
        if (c == '=') {
            if (text[i + 1] == '\r' && text[i + 2] == '\n') {
                i += 3;
                continue;
            }
            if (text[i + 1] == '\n') {
                i += 2;
                continue;
            }
            const int high = HexValue(text[i + 1]);
            const int low = high < 0 ? -1 : HexValue(text[i + 2]);
            if (low >= 0) {
                c = static_cast<BYTE>(high * 16 + low);
                i += 3;
            } else {
                ++i;  // a stray "=" stays as it is
            }
        } else {
            ++i;
        }
        if (written == room)
            return FALSE;
        out[written++] = c;
    }
    *length = static_cast<int>(written);
    return TRUE;
}

BOOL QelQPDecodeToStream(const char* text, IStream* stream)
{
    if (text == nullptr || stream == nullptr)
        return FALSE;
    if (!QelSeekStreamToBegin(stream) || !QelSetStreamSize(stream, 0))
        return FALSE;
    std::vector<BYTE> buffer;
    int length = 0;
    if (!DecodeToBuffer(text, buffer, length))
        return FALSE;
    return length == 0 || QelWriteStream(stream, buffer.data(), static_cast<ULONG>(length));
}

BOOL QelQPDecodeToString(const char* text, std::string& out)
{
    if (text == nullptr)
        return FALSE;
    std::vector<BYTE> buffer;
    int length = 0;
    if (!DecodeToBuffer(text, buffer, length))
        return FALSE;
    out.assign(reinterpret_cast<const char*>(buffer.data()));
    return TRUE;
}
