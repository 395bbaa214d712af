// The services stand-in (tools/services/standin.py) for tests that talk HTTP.
//
// How it works, and why:
// - The test program, running under Wine, starts the stand-in as a Unix
//   program: Wine's CreateProcessW runs /usr/bin/python3 directly. Its paths
//   (scenario, port file, log) are given as Unix paths (wine_get_unix_file_name).
// - The stand-in listens on 127.0.0.1 on a free port and writes the port to a
//   file that Start waits for.
// - Start then opens a TCP connection to it ("GET /.standin/hold") and keeps
//   it open. The stand-in stops as soon as that connection closes, which the
//   end of the test process does however it ends (normal exit, crash, kill):
//   no stand-in outlives its test. Wine gives a Unix child neither a pipe as
//   standard input nor a parent it could watch, so this connection is the lifeline.
// - The process's WinINet is pointed at it through the http_proxy variable of
//   this process only (_wputenv): with the registry's ProxyEnable at 0, Wine's
//   WinINet opened with INTERNET_OPEN_TYPE_PRECONFIG takes its proxy from it.
//   Tests run in parallel in one Wine prefix, so the shared registry must not
//   be used. Start checks that a fresh WinINet session really names the
//   stand-in as its proxy before any test request is made, so that no request
//   for the services' host names ever leaves the machine.
// - One test at a time has a stand-in: the prefix has one URL cache, and the
//   advertisement query differs between runs only by its tick count. Two runs
//   asking in the same tick would take each other's answers from the cache.
// - Every request the stand-in receives is a JSON line in its log; Requests()
//   reads them back.
#pragma once

#include "JsonReader.h"

#include <winsock2.h>
#include <windows.h>

#include "common/TestText.h"
#include "framework/Handle.h"

#include <string>
#include <vector>

struct CStandInRequest
{
    std::string method;  // HTTP verb
    std::string url;     // as the request line had it: absolute when it came through the proxy
    std::string host;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;    // the exact bytes
    std::string xmlrpcMethod;
    CJsonValue params;   // the decoded XML-RPC parameters
    CJsonValue api;      // the web API's query keys
    std::string answerKind;

    std::string Header(const char* name) const;  // first header of that name, any letter case
};

class CServicesStandIn
{
public:
    CServicesStandIn() = default;
    ~CServicesStandIn();
    CServicesStandIn(const CServicesStandIn&) = delete;
    CServicesStandIn& operator=(const CServicesStandIn&) = delete;

    // Starts the stand-in on the scenario (JSON text, UTF-8) and makes it this
    // process's HTTP proxy. False (with a reason in Error()) when anything fails.
    bool Start(const std::string& scenarioJson);
    void Stop();

    unsigned short Port() const { return m_port; }
    const std::string& Error() const { return m_error; }
    // Scenario files may name files relative to this folder.
    const std::wstring& Folder() const { return m_folder; }
    // Sends the delayed answers that wait "until" this file.
    bool Release(const wchar_t* until) const;

    std::vector<CStandInRequest> Requests() const;

private:
    bool Fail(const std::string& reason);
    bool CheckProxy();

    std::wstring m_folder;
    unsigned short m_port = 0;
    SOCKET m_holder = INVALID_SOCKET;
    bool m_winsock = false;
    CHandle m_turn;  // the prefix-wide mutex, owned from Start to Stop
    std::string m_error;
};

// The Unix path of the demo scenario's folder (tools/services/demo): a test that
// serves the demo gives it as the scenario's "base".
std::string StandInDemoFolder();
