// The program's HTTP client: one WinINet connection to one server, one request
// at a time, the answer read into memory and decoded by its content type.
#pragma once

#include "framework/Handle.h"

#include <windows.h>
#include <wininet.h>
#include <objidl.h>

#include <string>

struct CInternetHandleTraits
{
    static void Close(HINTERNET handle) noexcept { ::InternetCloseHandle(handle); }
};
// A WinINet session, connection or request handle, closed when its owner goes.
using CInternetHandle = CHandleOwner<CInternetHandleTraits>;

// Progress of one transfer. While a request body is written a non-zero
// answer cancels it; while an answer is read the answer is not looked at.
struct IQelHttpProgress
{
    virtual int OnHttpProgress(DWORD done, DWORD total) = 0;

protected:
    ~IQelHttpProgress() = default;
};

// A request body: sends the opened request with its headers and body and ends it.
class CQelHttpFormDataBase
{
public:
    virtual ~CQelHttpFormDataBase() = default;
    virtual BOOL Send(HINTERNET request, IQelHttpProgress* progress) = 0;
};

class CQelHttpServer
{
public:
    CQelHttpServer();
    CQelHttpServer(const wchar_t* agent, const wchar_t* server, INTERNET_PORT port);
    CQelHttpServer(const wchar_t* agent, DWORD accessType, const wchar_t* proxy, const wchar_t* proxyBypass,
                   DWORD openFlags, const wchar_t* server, INTERNET_PORT port);
    virtual ~CQelHttpServer();
    CQelHttpServer(const CQelHttpServer&) = delete;
    CQelHttpServer& operator=(const CQelHttpServer&) = delete;

    BOOL Init(const wchar_t* agent, const wchar_t* server, INTERNET_PORT port);
    BOOL Init(const wchar_t* agent, DWORD accessType, const wchar_t* proxy, const wchar_t* proxyBypass,
              DWORD openFlags, const wchar_t* server, INTERNET_PORT port);
    BOOL Open();
    BOOL IsOpen() const { return m_connection.IsValid(); }
    BOOL Close();

    // The answer body is appended to the stream; the raw header block comes back as text.
    BOOL SendRequest(const wchar_t* verb, const wchar_t* object, CQelHttpFormDataBase* body, IStream* answer,
                     std::wstring& headers, IQelHttpProgress* progress);
    // The answer body decoded to text by its content type and charset.
    BOOL SendRequest(const wchar_t* verb, const wchar_t* object, CQelHttpFormDataBase* body, std::wstring& text,
                     std::wstring& headers, IQelHttpProgress* progress);
    BOOL Post(const wchar_t* object, CQelHttpFormDataBase* body, std::wstring& text, std::wstring& headers,
              IQelHttpProgress* progress);
    BOOL Post(const wchar_t* object, CQelHttpFormDataBase* body, IStream* answer, std::wstring& headers,
              IQelHttpProgress* progress);

    // The last XML-RPC fault met on this connection; every call clears it first.
    void ClearLastFault();
    void SetLastFault(int code, const wchar_t* text);
    int GetLastFaultCode() const { return m_lastFaultCode; }
    const std::wstring& GetLastFaultText() const { return m_lastFaultText; }

    std::wstring GetServer() const { return m_server; }

private:
    BOOL DecodeAnswer(IStream* answer, const std::wstring& headers, std::wstring& text) const;

    std::wstring m_agent;
    DWORD m_accessType = INTERNET_OPEN_TYPE_PRECONFIG;
    std::wstring m_proxy;
    std::wstring m_proxyBypass;
    DWORD m_openFlags = 0;
    std::wstring m_server;
    INTERNET_PORT m_port = 0;
    CInternetHandle m_session;
    CInternetHandle m_connection;
    int m_lastFaultCode = 0;
    std::wstring m_lastFaultText;
    std::wstring m_defaultCharset;
};
