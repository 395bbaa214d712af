#include "librarydata/XmlRpcServerBase.h"

#include "librarydata/HttpTransfer.h"
#include "foundation/Global.h"
#include "foundation/MessageFormat.h"
#include "foundation/Strings.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

std::wstring UrlPart(const std::wstring& url, DWORD part)
{
    wchar_t buffer[260] = {};
    DWORD length = 260;
    if (FAILED(UrlGetPartW(url.c_str(), buffer, &length, part, 0)))
        return std::wstring();
    return buffer;
}

}  // namespace

BOOL QelHttpXmlRpcPost(CQelHttpServer& server, const wchar_t* path, CQelHttpXmlRpcFormData& request,
                       IQelHttpProgress* progress, CQelHttpXmlRpcResult& result)
{
    server.ClearLastFault();
    std::wstring text;
    std::wstring headers;
    if (!server.Post(path, &request, text, headers, progress)) {
        TessaryWriteLog(L"Failed to call SendRequest while calling xml-rpc");
        return FALSE;
    }
    std::wstring contentType;
    std::wstring charset;
    if (!QelHttpGetContentType(headers.c_str(), contentType, charset)) {
        TessaryWriteLog(L"Unknown content-type while calling xml-rpc.");
        return FALSE;
    }
    if (_wcsicmp(contentType.c_str(), L"text/xml") != 0) {
        TessaryWriteLog(QelFormatString1(L"Unknown content-type while calling xml-rpc: %1", contentType.c_str()));
        TessaryWriteLog(headers);
        TessaryWriteLog(text);
        return FALSE;
    }
    text = QelTrimSpaces(text);
    if (text.size() < 10)
        return FALSE;
    // An answer cut off two characters early lacks the "e>" of its closing
    // methodResponse tag.
    if (text.back() != L'>')
        text += L"e>\n";
    if (!result.LoadFromText(text.c_str())) {
        TessaryWriteLog(L"Failed to load xml.");
        return FALSE;
    }
    CQelHttpXmlRpcFault fault;
    if (result.GetFault(fault)) {
        TessaryWriteLog(QelFormatString2(L"Failed to call xml rpc: %1, %2", std::to_wstring(fault.m_code).c_str(),
                                         fault.m_text.c_str()));
        server.SetLastFault(fault.m_code, fault.m_text.c_str());
        return FALSE;
    }
    return TRUE;
}

BOOL QelHttpXmlRpcCall(CQelHttpServer& server, const wchar_t* path, CQelHttpXmlRpcFormData& request,
                       IQelHttpProgress* progress, CQelHttpXmlRcpResultData& receiver)
{
    CQelHttpXmlRpcResult result;
    if (!QelHttpXmlRpcPost(server, path, request, progress, result)) {
        TessaryWriteLog(L"Failed to call xm-rpc.");
        return FALSE;
    }
    return result.GetResultData(receiver);
}

BOOL QelXmlRpcGetServerParts(const wchar_t* server, std::wstring& host, DWORD& port, std::wstring& path)
{
    std::wstring text = server ? server : L"";
    // Server texts with a scheme come from services that write full URLs.
    if (_wcsnicmp(text.c_str(), L"http://", 7) == 0)
        text.erase(0, 7);
    std::wstring url = L"http://" + text;
    host = UrlPart(url, URL_PART_HOSTNAME);
    const std::wstring portText = UrlPart(url, URL_PART_PORT);
    // Past the scheme: a short host such as "t" or "h" is found in "http" too.
    const int at = host.empty() ? -1 : QelFindNoCase(url.c_str(), host.c_str(), 7);
    if (at < 0)
        return FALSE;
    url.erase(0, size_t(at) + host.size());
    const size_t slash = url.find(L'/');
    if (slash == std::wstring::npos)
        return FALSE;
    path = url.substr(slash);
    port = static_cast<DWORD>(_wtoi(portText.c_str()));
    if (port == 0)
        port = 80;
    // A port beyond 16 bits would be cut to some other port on the connection.
    if (port > 65535)
        return FALSE;
    while (!path.empty() && path.back() == L'/')
        path.pop_back();
    path += L"/xmlrpc";
    return !host.empty() && !path.empty();
}

BOOL COskanXmlRpcParamBase::AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const
{
    return request.AddStructMemberString(members, L"client_type", clientType.c_str());
}

BOOL COskanXmlRpcParamToken::AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const
{
    return COskanXmlRpcParamBase::AppendMembers(request, members) &&
           request.AddStructMemberString(members, L"token", token.c_str());
}

CQelHttpXmlRpcServerBase::CQelHttpXmlRpcServerBase(IQelHttpProgress* progress, const wchar_t* agent,
                                                   const wchar_t* host, INTERNET_PORT port, const wchar_t* path)
    : m_path(path ? path : L""), m_progress(progress)
{
    m_server.Init(agent, host, port);
}

BOOL CQelHttpXmlRpcServerBase::OnError(const wchar_t* text)
{
    TessaryWriteLog(text);
    return TRUE;
}

BOOL CQelHttpXmlRpcServerBase::OnText2(const wchar_t* text)
{
    TessaryWriteLog(text);
    return TRUE;
}

BOOL CQelHttpXmlRpcServerBase::OnText3(const wchar_t* text)
{
    TessaryWriteLog(text);
    return TRUE;
}

void CQelHttpXmlRpcServerBase::LogCallFailure(const wchar_t* method)
{
    TessaryWriteLog(QelFormatString1(L"Failed to call %1", method));
}
