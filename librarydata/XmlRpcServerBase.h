// The base of every XML-RPC service client: one HTTP connection to one
// endpoint, and the call routine that posts a methodCall and reads the answer.
#pragma once

#include "librarydata/HttpServer.h"
#include "librarydata/XmlRpcRequest.h"
#include "librarydata/XmlRpcResult.h"

#include <string>

// Posts the request and parses the answer: the content type must be
// text/xml, a closing tag cut short by "e>" is repaired, and a fault is kept
// as the client's last fault (and gives FALSE).
BOOL QelHttpXmlRpcPost(CQelHttpServer& server, const wchar_t* path, CQelHttpXmlRpcFormData& request,
                       IQelHttpProgress* progress, CQelHttpXmlRpcResult& result);
// QelHttpXmlRpcPost, then the answer handed to the receiver.
BOOL QelHttpXmlRpcCall(CQelHttpServer& server, const wchar_t* path, CQelHttpXmlRpcFormData& request,
                       IQelHttpProgress* progress, CQelHttpXmlRcpResultData& receiver);
// Host, port (80 when none) and path of an endpoint named "host[:port]/path",
// with or without "http://": the path loses its trailing slashes and gains "/xmlrpc".
// A port above 65535 fails.
BOOL QelXmlRpcGetServerParts(const wchar_t* server, std::wstring& host, DWORD& port, std::wstring& path);

// Members every request of the services carries.
struct COskanXmlRpcParamBase
{
    std::wstring clientType = L"WIN";

    BOOL AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const;
};

struct COskanXmlRpcParamToken : COskanXmlRpcParamBase
{
    std::wstring token;

    BOOL AppendMembers(CQelHttpXmlRpcFormData& request, CQelXMLNode& members) const;
};

class CQelHttpXmlRpcServerBase
{
public:
    CQelHttpXmlRpcServerBase(IQelHttpProgress* progress, const wchar_t* agent, const wchar_t* host,
                             INTERNET_PORT port, const wchar_t* path);
    virtual ~CQelHttpXmlRpcServerBase() = default;
    CQelHttpXmlRpcServerBase(const CQelHttpXmlRpcServerBase&) = delete;
    CQelHttpXmlRpcServerBase& operator=(const CQelHttpXmlRpcServerBase&) = delete;

    virtual BOOL OnError(const wchar_t* text);
    virtual BOOL OnText2(const wchar_t* text);
    virtual BOOL OnText3(const wchar_t* text);

    CQelHttpServer& GetHttpServer() { return m_server; }
    const std::wstring& GetPath() const { return m_path; }

    // One call: the request struct writes its members into the one struct parameter.
    template <class TParam>
    BOOL CallMethod(const wchar_t* method, const TParam& param, CQelHttpXmlRcpResultData& receiver)
    {
        CQelHttpXmlRpcFormData request(method);
        FillRequest(request, param);
        if (QelHttpXmlRpcCall(m_server, m_path.c_str(), request, m_progress, receiver))
            return TRUE;
        LogCallFailure(method);
        return FALSE;
    }

protected:
    // The request struct writes its members into the request's one struct
    // parameter. A request left short by a failed write is still sent.
    template <class TParam>
    static void FillRequest(CQelHttpXmlRpcFormData& request, const TParam& param)
    {
        CQelXMLNode members;
        if (request.AppendParamNode(L"param/value/struct", members))
            param.AppendMembers(request, members);
    }
    static void LogCallFailure(const wchar_t* method);

    CQelHttpServer m_server;
    std::wstring m_path;
    IQelHttpProgress* m_progress;
};
