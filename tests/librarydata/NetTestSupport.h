// Shared pieces of the service-client tests: the program log, COM, and the
// bodies and progress sinks that drive the HTTP client directly.
#pragma once

#include <winsock2.h>  // before windows.h, for the stand-in helper

#include "librarydata/HttpServer.h"

#include <string>
#include <utility>
#include <vector>

// The log lines (message part only) written since construction.
class CLogCapture
{
public:
    CLogCapture();
    std::vector<std::wstring> Lines() const;
    bool Contains(const std::wstring& line) const;
    // True when the lines appear in this order (others may stand between them).
    bool ContainsInOrder(const std::vector<std::wstring>& lines) const;
    std::wstring Text() const;  // every line, for failure messages

private:
    std::wstring m_path;
    size_t m_start = 0;  // characters of the log before this capture
};

class CComScope
{
public:
    CComScope() { CoInitialize(nullptr); }
    ~CComScope() { CoUninitialize(); }
};

// Records every progress call; answers non-zero once `cancelAt` calls were made (0: never).
class CProgressRecorder : public IQelHttpProgress
{
public:
    int OnHttpProgress(DWORD done, DWORD total) override
    {
        calls.emplace_back(done, total);
        return cancelAt != 0 && calls.size() >= cancelAt ? 1 : 0;
    }
    std::vector<std::pair<DWORD, DWORD>> calls;
    size_t cancelAt = 0;
};

// A request body of given bytes, sent the way the XML-RPC writer sends its own.
class CRawBody : public CQelHttpFormDataBase
{
public:
    explicit CRawBody(std::string bytes) : m_bytes(std::move(bytes)) {}
    BOOL Send(HINTERNET request, IQelHttpProgress* progress) override;

private:
    std::string m_bytes;
};

// A small XML-RPC request the stand-in accepts at the accounts service.
std::string LoginRequestBody();
