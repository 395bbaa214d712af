#include "librarydata/HttpServer.h"

#include "librarydata/HttpTransfer.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/NetTimeout.h"
#include "foundation/Streams.h"

#include <wrl/client.h>

#include <new>

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t* OrNull(const std::wstring& text)
{
    return text.empty() ? nullptr : text.c_str();
}

constexpr DWORD kHeaderBufferBytes = 10240;

// Windows reports WinINet's own code; Wine passes the socket's code up as it is.
bool IsTimeout(DWORD error)
{
    return error == ERROR_INTERNET_TIMEOUT || error == WSAETIMEDOUT;
}

BOOL SetTimeouts(HINTERNET handle)
{
    DWORD timeout = QelGetNetTimeout();
    for (const DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        if (!InternetSetOptionW(handle, option, &timeout, sizeof timeout))
            return FALSE;
    }
    return TRUE;
}

}  // namespace

CQelHttpServer::CQelHttpServer() = default;

CQelHttpServer::CQelHttpServer(const wchar_t* agent, const wchar_t* server, INTERNET_PORT port)
{
    Init(agent, server, port);
}

CQelHttpServer::CQelHttpServer(const wchar_t* agent, DWORD accessType, const wchar_t* proxy,
                               const wchar_t* proxyBypass, DWORD openFlags, const wchar_t* server, INTERNET_PORT port)
{
    Init(agent, accessType, proxy, proxyBypass, openFlags, server, port);
}

CQelHttpServer::~CQelHttpServer()
{
    Close();
}

BOOL CQelHttpServer::Init(const wchar_t* agent, const wchar_t* server, INTERNET_PORT port)
{
    return Init(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0, server, port);
}

BOOL CQelHttpServer::Init(const wchar_t* agent, DWORD accessType, const wchar_t* proxy, const wchar_t* proxyBypass,
                          DWORD openFlags, const wchar_t* server, INTERNET_PORT port)
{
    m_agent = agent ? agent : L"";
    m_accessType = accessType;
    m_proxy = proxy ? proxy : L"";
    m_proxyBypass = proxyBypass ? proxyBypass : L"";
    m_openFlags = openFlags;
    m_server = server ? server : L"";
    m_port = port;
    return TRUE;
}

BOOL CQelHttpServer::Open()
{
    if (m_agent.empty()) {
        TessaryWriteLog(L"Data not initialized!");
        return FALSE;
    }
    Close();
    m_session.Attach(
        InternetOpenW(m_agent.c_str(), m_accessType, OrNull(m_proxy), OrNull(m_proxyBypass), m_openFlags));
    if (m_session) {
        m_connection.Attach(InternetConnectW(m_session.Get(), m_server.c_str(), m_port, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
    }
    if (m_connection) {
        // Windows hands the session's time-outs down to its connections; Wine
        // keeps send and receive time-outs only on the connection, which both honour.
        if (!SetTimeouts(m_session.Get()) || !SetTimeouts(m_connection.Get()))
            TessaryWriteLog(QelFormatString1(L"Failed to set the time-outs for %1", m_server.c_str()));
        return TRUE;
    }
    Close();
    return FALSE;
}

BOOL CQelHttpServer::Close()
{
    // Closed by hand rather than by the owners, whose closing says nothing of a failure.
    if (m_connection && !InternetCloseHandle(m_connection.Detach()))
        TessaryWriteLog(L"Failed to close connection");
    if (m_session && !InternetCloseHandle(m_session.Detach()))
        TessaryWriteLog(L"Failed to close session");
    return TRUE;
}

BOOL CQelHttpServer::SendRequest(const wchar_t* verb, const wchar_t* object, CQelHttpFormDataBase* body,
                                 IStream* answer, std::wstring& headers, IQelHttpProgress* progress)
{
    // The owner closes the request on every path, an exception's included.
    CInternetHandle request(HttpOpenRequestW(m_connection.Get(), verb, object, nullptr, nullptr, nullptr,
                                             INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request) {
        TessaryWriteLog(L"HttpOpenRequest failed");
        return FALSE;
    }
    BOOL result = body ? body->Send(request.Get(), progress) : FALSE;
    if (result) {
        std::wstring buffer(kHeaderBufferBytes / sizeof(wchar_t), L'\0');
        DWORD length = kHeaderBufferBytes;
        HttpQueryInfoW(request.Get(), HTTP_QUERY_RAW_HEADERS_CRLF, &buffer[0], &length, nullptr);
        headers.assign(buffer.c_str());
        if (headers.find_first_not_of(L" \r\n") == std::wstring::npos) {
            // Windows fails the request's end when no status line comes within the
            // time-out; Wine ends it as if one had come, with no headers, and the
            // body's read would wait out the time-out a second time.
            ::SetLastError(ERROR_INTERNET_TIMEOUT);
            result = FALSE;
        } else {
            DWORD expected = 0;
            if (!QelHttpGetContentLength(headers.c_str(), expected))
                expected = 0;
            result = QelHttpReadFile(request.Get(), answer, expected, progress);
        }
    }
    if (!result && IsTimeout(::GetLastError()))
        TessaryWriteLog(QelFormatString2(L"%1 gave no answer within the time-out of %2 seconds", m_server.c_str(),
                                         std::to_wstring(QelGetNetTimeout() / 1000).c_str()));
    if (!InternetCloseHandle(request.Detach())) {
        TessaryWriteLog(L"InternetCloseHandle failed");
        return FALSE;
    }
    return result;
}

BOOL CQelHttpServer::SendRequest(const wchar_t* verb, const wchar_t* object, CQelHttpFormDataBase* body,
                                 std::wstring& text, std::wstring& headers, IQelHttpProgress* progress)
{
    const ComPtr<IStream> answer = QelCreateMemoryStream();
    if (!answer) {
        TessaryWriteLog(L"CreateStreamOnHGlobal failed!");
        return FALSE;
    }
    if (!SendRequest(verb, object, body, answer.Get(), headers, progress)) {
        TessaryWriteLog(L"SendRequest failed!");
        return FALSE;
    }
    return DecodeAnswer(answer.Get(), headers, text);
}

BOOL CQelHttpServer::Post(const wchar_t* object, CQelHttpFormDataBase* body, std::wstring& text,
                          std::wstring& headers, IQelHttpProgress* progress)
{
    try {
        return SendRequest(L"POST", object, body, text, headers, progress);
    } catch (const std::bad_alloc&) {
        TessaryWriteLog(L"Out of memory!");
        return FALSE;
    }
}

BOOL CQelHttpServer::Post(const wchar_t* object, CQelHttpFormDataBase* body, IStream* answer, std::wstring& headers,
                          IQelHttpProgress* progress)
{
    return SendRequest(L"POST", object, body, answer, headers, progress);
}

void CQelHttpServer::ClearLastFault()
{
    m_lastFaultCode = 0;
    m_lastFaultText.clear();
}

void CQelHttpServer::SetLastFault(int code, const wchar_t* text)
{
    m_lastFaultCode = code;
    m_lastFaultText = text ? text : L"";
}
