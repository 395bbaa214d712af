#include "librarydata/HttpTransfer.h"

#include "foundation/Global.h"
#include "foundation/MessageBox.h"
#include "foundation/MessageFormat.h"
#include "foundation/Streams.h"
#include "foundation/Strings.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

constexpr DWORD kPiece = 1024;
constexpr size_t kMaxHeaderLength = 1023;

// The system's text for the last error; nothing when there is none.
void LogLastError()
{
    const std::wstring error = QelGetLastErrorText();
    if (!error.empty())
        TessaryWriteLog(error);
}

// A failure's line, with the failure's error code kept for the caller (a time-out is logged there).
void LogKeepingLastError(const wchar_t* text)
{
    const DWORD error = ::GetLastError();
    TessaryWriteLog(text);
    ::SetLastError(error);
}

}  // namespace

BOOL QelHttpReadFile(HINTERNET request, IStream* stream, DWORD expected, IQelHttpProgress* progress)
{
    BYTE buffer[kPiece];
    DWORD total = 0;
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, buffer, kPiece, &read)) {
            LogKeepingLastError(L"InternetReadFile failed");
            return FALSE;
        }
        if (!QelWriteStream(stream, buffer, read)) {
            TessaryWriteLog(L"StreamWrite failed");
            return FALSE;
        }
        total += read;
        if (progress)
            progress->OnHttpProgress(total, expected);
        if (read == 0)
            break;
    }
    // A connection closed before the announced length would otherwise pass
    // for a complete (if short) answer.
    if (expected != 0 && total < expected) {
        TessaryWriteLog(QelFormatString2(L"The answer ended after %1 of its %2 bytes", std::to_wstring(total).c_str(),
                                         std::to_wstring(expected).c_str()));
        return FALSE;
    }
    return TRUE;
}

BOOL QelHttpWriteFile(HINTERNET request, const void* data, DWORD size, IQelHttpProgress* progress)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    DWORD position = 0;
    for (;;) {
        const DWORD left = size - position;
        const DWORD piece = left < kPiece ? left : kPiece;
        if (piece == 0)
            return TRUE;
        if (piece > size) {
            TessaryWriteLog(L"too many data written!");
            return FALSE;
        }
        DWORD written = 0;
        if (!InternetWriteFile(request, bytes + position, piece, &written)) {
            LogKeepingLastError(L"InternetWriteFile failed!");
            return FALSE;
        }
        position += written;
        if (progress && progress->OnHttpProgress(position, size) != 0) {
            TessaryWriteLog(L"User canceled QelHttpWriteFile");
            return FALSE;
        }
        if (position > size) {
            TessaryWriteLog(L"too many data written!");
            return FALSE;
        }
    }
}

BOOL QelHttpSendXmlBody(HINTERNET request, const std::string& body, IQelHttpProgress* progress)
{
    const DWORD length = static_cast<DWORD>(body.size());
    const std::wstring headers =
        QelFormatString1(L"Content-Type: text/xml\r\nContent-length: %1\r\n", std::to_wstring(length).c_str());
    if (headers.size() > kMaxHeaderLength)
        return FALSE;

    INTERNET_BUFFERSW buffers{};
    buffers.dwStructSize = sizeof buffers;
    buffers.lpcszHeader = headers.c_str();
    buffers.dwHeadersLength = static_cast<DWORD>(headers.size());
    buffers.dwBufferTotal = length;
    BOOL result = FALSE;
    DWORD error = ERROR_SUCCESS;
    if (HttpSendRequestExW(request, &buffers, nullptr, 0, 0)) {
        result = QelHttpWriteFile(request, body.data(), length, progress);
        error = ::GetLastError();
    } else {
        error = ::GetLastError();
        LogLastError();
        TessaryWriteLog(L"Failed to send request");
    }
    if (!HttpEndRequestW(request, nullptr, 0, 0)) {
        if (result)
            error = ::GetLastError();
        LogLastError();
        TessaryWriteLog(L"HttpEndRequest failed");
        result = FALSE;
    }
    // The first failure's code, for the caller's time-out line.
    ::SetLastError(error);
    return result;
}

BOOL QelHttpGetHeaderValue(std::wstring& value, const wchar_t* headers, const wchar_t* name)
{
    value.clear();
    std::wstring text = headers ? headers : L"";
    for (auto& c : text)
        if (c == L':')
            c = L'=';
    const std::wstring prefix = std::wstring(name) + L"=";
    std::vector<std::wstring> lines;
    QelSplitText(text, L'\n', lines);
    for (auto& line : lines) {
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (line.size() >= prefix.size() && _wcsnicmp(line.c_str(), prefix.c_str(), prefix.size()) == 0) {
            value = line.substr(prefix.size());
            return TRUE;
        }
    }
    return FALSE;
}

BOOL QelHttpGetContentType(const wchar_t* headers, std::wstring& contentType, std::wstring& charset)
{
    contentType.clear();
    charset.clear();
    std::wstring value;
    QelHttpGetHeaderValue(value, headers, L"Content-Type");
    if (value.empty())
        return FALSE;
    std::vector<std::wstring> pieces;
    QelSplitText(value, L';', pieces);
    if (pieces.empty())
        return FALSE;
    contentType = QelTrimSpaces(pieces[0]);
    static const wchar_t kCharset[] = L"charset=";
    const size_t prefix = wcslen(kCharset);
    for (size_t i = 1; i < pieces.size(); ++i) {
        // Parameters usually follow "; " with a blank, and may be quoted.
        const std::wstring piece = QelTrimSpaces(pieces[i]);
        if (piece.size() >= prefix && _wcsnicmp(piece.c_str(), kCharset, prefix) == 0) {
            charset = QelTrimSpaces(piece.substr(prefix));
            if (charset.size() >= 2 && charset.front() == L'"' && charset.back() == L'"')
                charset = charset.substr(1, charset.size() - 2);
            break;
        }
    }
    return TRUE;
}

BOOL QelHttpGetContentLength(const wchar_t* headers, DWORD& length)
{
    std::wstring value;
    QelHttpGetHeaderValue(value, headers, L"Content-Length");
    value = QelTrimSpaces(value);
    if (value.empty())
        return FALSE;
    const int parsed = _wtoi(value.c_str());
    if (parsed <= 0)
        return FALSE;
    length = static_cast<DWORD>(parsed);
    return TRUE;
}

BOOL QelReadStreamToStringA(IStream* stream, std::string& out)
{
    std::vector<BYTE> bytes;
    const BOOL read = QelReadWholeStream(stream, bytes);
    // Text ends at its first zero byte.
    const auto end = std::find(bytes.begin(), bytes.end(), BYTE(0));
    out.assign(bytes.begin(), end);
    return read;
}
