#include "foundation/TextFiles.h"

#include <cstring>

#include "foundation/Charsets.h"
#include "foundation/Encoding.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Numbers.h"
#include "foundation/Paths.h"
#include "foundation/StdioFile.h"
#include "foundation/Strings.h"

namespace {

// Drops zero units, turns CR LF into LF (or keeps it) and a lone CR into LF,
// and writes a terminating zero. Returns the new length in units.
template <typename Unit>
size_t NormalizeLineEnds(Unit* text, size_t length, bool keepCRLF)
{
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        const Unit c = text[i];
        if (c == 0)
            continue;
        if (c == '\r') {
            const bool pair = i + 1 < length && text[i + 1] == '\n';
            if (pair && keepCRLF)
                text[out++] = '\r';
            text[out++] = '\n';
            if (pair)
                ++i;
            continue;
        }
        text[out++] = c;
    }
    text[out] = 0;
    return out;
}

bool ReadWholeFile(const wchar_t* path, std::vector<BYTE>& bytes)
{
    CQelStdioFile file = QelOpenFile(path, L"rb", _SH_DENYNO);
    if (!file)
        return false;
    const __int64 size = QelGetOpenFileSize(file.get());
    if (size < 0 || size > 0x7FFFFFF0)
        return false;
    bytes.assign(static_cast<size_t>(size) + 4, 0);
    const size_t read = fread(bytes.data(), 1, static_cast<size_t>(size), file.get());
    bytes.resize(read + 4);
    return true;
}

std::wstring WithCRLF(const wchar_t* text)
{
    std::wstring out;
    QelInsertCRBeforeLF(text, out);
    return out;
}

const BYTE kUtf16Mark[2] = {0xFF, 0xFE};

}  // namespace

BOOL QelDecodeTextBytes(BYTE* data, UINT length, std::wstring& out, UINT flags, UINT codePage,
                        const wchar_t* pathHint)
{
    out.clear();
    if (!data)
        return FALSE;
    try {
        const bool utf16Mark = length >= 2 && data[0] == 0xFF && data[1] == 0xFE;
        const bool utf8Mark = length >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
        bool utf16 = length >= 2 && ((flags & QEL_TEXT_AS_UTF16) || utf16Mark);
        const bool utf8 = length >= 3 && ((flags & QEL_TEXT_AS_UTF8) || utf8Mark);
        if (!utf16 && length >= 11 && length % 2 == 0 && QelHasZeroByte(data, length) &&
            IsTextUnicode(data, static_cast<int>(length), nullptr))
            utf16 = true;

        const bool keep = (flags & QEL_TEXT_KEEP_CRLF) != 0;
        if (utf16) {
            // The buffer's zero bytes after `length` leave room for the terminator.
            wchar_t* units = reinterpret_cast<wchar_t*>(data);
            const size_t count = NormalizeLineEnds(units, length / 2, keep);
            const size_t skip = utf16Mark ? 1 : 0;
            out.assign(units + (skip <= count ? skip : count), units + count);
            return TRUE;
        }
        char* bytes = reinterpret_cast<char*>(data);
        const size_t count = NormalizeLineEnds(bytes, length, keep);
        if (utf8) {
            const size_t skip = (utf8Mark && count >= 3) ? 3 : 0;
            QelMultiByteToUnicode(out, CP_UTF8, std::string(bytes + skip, count - skip));
            return TRUE;
        }
        const std::string text(bytes, count);
        const std::wstring ext = QelExtractFileExt(pathHint ? pathHint : L"");
        if ((flags & QEL_TEXT_HTML) || QelStrStrI(ext.c_str(), L".htm"))
            return QelHtmlBytesToText(text, out);
        if ((flags & QEL_TEXT_XML) || QelStrStrI(ext.c_str(), L".xml"))
            return QelXmlBytesToText(text, out);
        if (QelStrStrI(ext.c_str(), L".php")) {
            QelMultiByteToUnicode(out, CP_UTF8, text);
            return TRUE;
        }
        QelMultiByteToUnicode(out, codePage, text);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

BOOL QelLoadTextFromBuffer(const void* data, UINT length, std::wstring& out, UINT flags, UINT codePage,
                           const wchar_t* pathHint)
{
    out.clear();
    if (!data && length)
        return FALSE;
    try {
        std::vector<BYTE> buffer(static_cast<size_t>(length) + 4, 0);
        if (length)
            memcpy(buffer.data(), data, length);
        return QelDecodeTextBytes(buffer.data(), length, out, flags, codePage, pathHint);
    } catch (...) {
        return FALSE;
    }
}

BOOL QelLoadTextFileEx(const wchar_t* path, std::wstring& out, UINT flags, UINT codePage)
{
    out.clear();
    try {
        std::vector<BYTE> bytes;
        if (!ReadWholeFile(path, bytes))
            return FALSE;
        return QelDecodeTextBytes(bytes.data(), static_cast<UINT>(bytes.size() - 4), out, flags, codePage, path);
    } catch (...) {
        return FALSE;
    }
}

BOOL QelLoadTextFile(const wchar_t* path, std::wstring& out) { return QelLoadTextFileEx(path, out, 0, 0); }

BOOL QelLoadHtmlTextFile(const wchar_t* path, std::wstring& out)
{
    return QelLoadTextFileEx(path, out, QEL_TEXT_HTML, 0);
}

BOOL QelLoadTextFileKeepCRLF(const wchar_t* path, std::wstring& out)
{
    return QelLoadTextFileEx(path, out, QEL_TEXT_KEEP_CRLF, 0);
}

BOOL QelLoadTextFileBytes(const wchar_t* path, std::string& out, UINT flags)
{
    out.clear();
    try {
        std::vector<BYTE> bytes;
        if (!ReadWholeFile(path, bytes))
            return FALSE;
        const size_t length = bytes.size() - 4;
        if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
            return FALSE;
        if ((flags & QEL_TEXT_HTML) && length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
            return FALSE;
        char* text = reinterpret_cast<char*>(bytes.data());
        const size_t count = NormalizeLineEnds(text, length, (flags & QEL_TEXT_KEEP_CRLF) != 0);
        out.assign(text, count);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

BOOL QelLoadTextFileBytesKeepCRLF(const wchar_t* path, std::string& out)
{
    return QelLoadTextFileBytes(path, out, QEL_TEXT_KEEP_CRLF);
}

int QelGetTextFileEncoding(const wchar_t* path)
{
    CQelStdioFile file = QelOpenFile(path, L"rb", _SH_DENYNO);
    if (!file || QelGetOpenFileSize(file.get()) < 4)
        return QEL_TEXT_UNKNOWN;
    unsigned char head[3] = {};
    if (fread(head, 1, 3, file.get()) != 3)
        return QEL_TEXT_UNKNOWN;
    if (head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF)
        return QEL_TEXT_UTF8;
    if (head[0] == 0xFF && head[1] == 0xFE)
        return QEL_TEXT_UTF16LE;
    return QEL_TEXT_UNKNOWN;
}

BOOL QelInsertCRBeforeLF(const wchar_t* text, std::wstring& out)
{
    out.clear();
    if (!text)
        return TRUE;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\n' && (p == text || p[-1] != L'\r'))
            out += L'\r';
        out += *p;
    }
    return TRUE;
}

BOOL QelSaveUnicodeTextFile(const wchar_t* path, const wchar_t* text)
{
    if (!path || !*path)
        return FALSE;
    try {
        const std::wstring content = WithCRLF(text);
        // The new text goes to a file beside the old one, which it replaces in
        // one step only once it is whole on disk: a crash, a full disk or a
        // failed write leaves the old file as it was.
        const std::wstring temporary = std::wstring(path) + L".tmp";
        CQelStdioFile file = QelOpenFile(temporary.c_str(), L"wb", _SH_DENYRW);
        if (!file) {
            TessaryWriteLog(QelFormatString1(L"Failed to create the temporary file of %1", path));
            return FALSE;
        }
        const bool written = fwrite(kUtf16Mark, 1, 2, file.get()) == 2 &&
                             fwrite(content.data(), sizeof(wchar_t), content.size(), file.get()) == content.size() &&
                             fflush(file.get()) == 0 && _commit(_fileno(file.get())) == 0;
        if (!QelCloseFile(file) || !written) {
            DeleteFileW(temporary.c_str());
            TessaryWriteLog(QelFormatString1(L"Failed to write the temporary file of %1", path));
            return FALSE;
        }
        // Wine refuses the replace while any handle on the old file is open;
        // Windows only while one is open without delete sharing. Either way the
        // old file stays and the save fails.
        if (!MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = GetLastError();
            DeleteFileW(temporary.c_str());
            TessaryWriteLog(QelFormatString2(L"Failed to replace %1: error %2", path, QelIntToStr(int(error)).c_str()));
            return FALSE;
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

BOOL QelSaveUnicodeTextToStream(IStream* stream, const wchar_t* text)
{
    if (!stream)
        return FALSE;
    try {
        const std::wstring content = WithCRLF(text);
        ULONG written = 0;
        if (FAILED(stream->Write(kUtf16Mark, 2, &written)) || written != 2)
            return FALSE;
        const ULONG size = static_cast<ULONG>(content.size() * sizeof(wchar_t));
        if (!size)
            return TRUE;
        return SUCCEEDED(stream->Write(content.data(), size, &written)) && written == size;
    } catch (...) {
        return FALSE;
    }
}

BOOL QelWriteUnicodeTextToFileHandle(HANDLE file, const wchar_t* text)
{
    if (!file || file == INVALID_HANDLE_VALUE)
        return FALSE;
    try {
        const std::wstring content = WithCRLF(text);
        DWORD written = 0;
        if (!WriteFile(file, kUtf16Mark, 2, &written, nullptr) || written != 2)
            return FALSE;
        const DWORD size = static_cast<DWORD>(content.size() * sizeof(wchar_t));
        if (!size)
            return TRUE;
        return WriteFile(file, content.data(), size, &written, nullptr) && written == size;
    } catch (...) {
        return FALSE;
    }
}

BOOL QelSaveAnsiTextFile(const wchar_t* path, const char* text, BOOL binary, BOOL utf8Mark)
{
    CQelStdioFile file = QelOpenFile(path, binary ? L"wb" : L"wt", _SH_DENYNO);
    if (!file)
        return FALSE;
    bool written = true;
    if (utf8Mark)
        written = fwrite("\xEF\xBB\xBF", 1, 3, file.get()) == 3;
    const size_t length = text ? strlen(text) : 0;
    if (length)
        written = written && fwrite(text, 1, length, file.get()) == length;
    return QelCloseFile(file) && written;
}

BOOL QelHasZeroByte(const void* data, UINT length)
{
    return data && memchr(data, 0, length) ? TRUE : FALSE;
}

BOOL QelLoadTextLines(const wchar_t* path, std::vector<std::wstring>& out)
{
    std::wstring text;
    if (!QelLoadTextFile(path, text))
        return FALSE;
    return QelSplitText(text, L'\n', out);
}

BOOL QelSaveTextLines(const wchar_t* path, const std::vector<std::wstring>& items, const wchar_t* separator)
{
    std::wstring text;
    QelJoinText(items, text, separator);
    return QelSaveUnicodeTextFile(path, text.c_str());
}

BOOL QelJoinTextFiles(const wchar_t* path, const wchar_t* otherPath, const wchar_t* targetPath)
{
    std::vector<std::wstring> lines;
    if (!QelLoadTextLines(path, lines) || !QelLoadTextLines(otherPath, lines))
        return FALSE;
    return QelSaveTextLines(targetPath, lines, L"\r\n");
}
