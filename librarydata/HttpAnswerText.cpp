// Turning an answer body into text by its content type and charset.
#include "librarydata/HttpServer.h"
#include "librarydata/HttpTransfer.h"

#include "foundation/Charsets.h"
#include "foundation/Encoding.h"
#include "foundation/Streams.h"
#include "foundation/TextFiles.h"

namespace {

constexpr UINT kUtf8 = 65001;

// XML that names no encoding is UTF-8 by definition; a guess would take
// UTF-8 bytes for the ANSI code page whenever they also pass as that.
void XmlBytesToText(const std::string& bytes, std::wstring& text)
{
    if (QelGetXmlEncoding(bytes).empty() && QelIsValidInCodePage(bytes.c_str(), kUtf8, MB_ERR_INVALID_CHARS))
        QelMultiByteToUnicode(text, kUtf8, bytes);
    else
        QelXmlBytesToText(bytes, text);
}

}  // namespace

BOOL QelLoadTextFromStream(IStream* stream, std::wstring& out)
{
    QelSeekStreamToBegin(stream);
    const ULONG size = static_cast<ULONG>(QelGetStreamSize(stream));
    CQelStreamContent content;
    return content.Open(stream, size) && QelLoadTextFromBuffer(content.Data(), size, out, 0, 0, nullptr);
}

BOOL CQelHttpServer::DecodeAnswer(IStream* answer, const std::wstring& headers, std::wstring& text) const
{
    std::wstring contentType;
    std::wstring charset;
    QelHttpGetContentType(headers.c_str(), contentType, charset);
    if (_wcsicmp(charset.c_str(), L"unicode") == 0)
        return QelLoadTextFromStream(answer, text);
    if (charset.empty())
        charset = m_defaultCharset;
    const bool html = _wcsicmp(contentType.c_str(), L"text/html") == 0;
    const bool xml = _wcsicmp(contentType.c_str(), L"text/xml") == 0;
    if (!html && !xml)
        return QelLoadTextFromStream(answer, text);
    std::string bytes;
    if (!QelReadStreamToStringA(answer, bytes))
        return FALSE;
    if (!charset.empty())
        QelMultiByteToUnicodeByCharset(text, charset.c_str(), bytes);
    else if (html)
        QelHtmlBytesToText(bytes, text);
    else
        XmlBytesToText(bytes, text);
    return TRUE;
}
