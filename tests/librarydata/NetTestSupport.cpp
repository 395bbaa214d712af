#include "NetTestSupport.h"

#include "librarydata/HttpTransfer.h"

BOOL CRawBody::Send(HINTERNET request, IQelHttpProgress* progress)
{
    const std::wstring headers =
        L"Content-Type: text/xml\r\nContent-length: " + std::to_wstring(m_bytes.size()) + L"\r\n";
    INTERNET_BUFFERSW buffers{};
    buffers.dwStructSize = sizeof buffers;
    buffers.lpcszHeader = headers.c_str();
    buffers.dwHeadersLength = DWORD(headers.size());
    buffers.dwBufferTotal = DWORD(m_bytes.size());
    BOOL result = FALSE;
    if (HttpSendRequestExW(request, &buffers, nullptr, 0, 0))
        result = QelHttpWriteFile(request, m_bytes.data(), DWORD(m_bytes.size()), progress);
    if (!HttpEndRequestW(request, nullptr, 0, 0))
        return FALSE;
    return result;
}

std::string LoginRequestBody()
{
    return "<?xml version=\"1.0\"?>\r\n<methodCall><methodName>accounts.clientLogin</methodName><params><param>"
           "<value><struct><member><name>email</name><value><string>nobody@example.com</string></value></member>"
           "<member><name>password</name><value><string>md5.x</string></value></member>"
           "<member><name>program_type</name><value><string>reader</string></value></member>"
           "<member><name>client_type</name><value><string>WIN</string></value></member>"
           "</struct></value></param></params></methodCall>";
}
