// Shared pieces of the service-client tests: the program log, COM, and the
// bodies and progress sinks that drive the HTTP client directly.
#pragma once

#include <winsock2.h>  // before windows.h, for the stand-in helper

#include "common/TestLog.h"
#include "framework/ComInitialize.h"
#include "librarydata/HttpServer.h"

#include <string>
#include <utility>
#include <vector>

// COM on the test's thread for the scope.
using CComScope = CComInitialize;

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
