#include "ServicesStandIn.h"

#include "librarydata/HttpServer.h"

#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#ifndef TESSARY_STANDIN_SCRIPT
#error "TESSARY_STANDIN_SCRIPT must name tools/services/standin.py"
#endif
#ifndef TESSARY_PYTHON3
#define TESSARY_PYTHON3 "/usr/bin/python3"
#endif

namespace {

// Wine's own export; absent on Windows.
std::string UnixPath(const std::wstring& path)
{
    using Converter = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<Converter>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return std::string();
    char* unix = convert(path.c_str());
    if (!unix)
        return std::string();
    std::string out(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

bool ReadFileBytes(const std::wstring& path, std::string& out)
{
    const CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    out.clear();
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        out.append(buffer, read);
    return true;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    const CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

}  // namespace

std::string StandInDemoFolder()
{
    std::string folder = TESSARY_STANDIN_SCRIPT;
    folder.erase(folder.find_last_of('/') + 1);
    return folder + "demo";
}

std::string CStandInRequest::Header(const char* name) const
{
    for (const auto& header : headers)
        if (_stricmp(header.first.c_str(), name) == 0)
            return header.second;
    return std::string();
}

CServicesStandIn::~CServicesStandIn()
{
    Stop();
}

bool CServicesStandIn::Fail(const std::string& reason)
{
    m_error = reason;
    Stop();
    return false;
}

bool CServicesStandIn::Start(const std::string& scenarioJson)
{
    Stop();
    m_error.clear();
    m_turn.Attach(CreateMutexW(nullptr, FALSE, L"TessaryTests.ServicesStandIn"));
    if (!m_turn || WaitForSingleObject(m_turn.Get(), INFINITE) == WAIT_FAILED) {
        m_turn.Close();
        return Fail("cannot take the stand-in's turn");
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t name[32];
    swprintf(name, 32, L"standin-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    m_folder = std::wstring(temp) + name;
    if (!CreateDirectoryW(m_folder.c_str(), nullptr))
        return Fail("cannot create the stand-in's folder");
    const std::wstring scenario = m_folder + L"\\scenario.json";
    const std::wstring portFile = m_folder + L"\\port.txt";
    const std::wstring log = m_folder + L"\\requests.jsonl";
    if (!WriteFileBytes(scenario, scenarioJson) || !WriteFileBytes(log, std::string()))
        return Fail("cannot write the scenario");
    const std::string unixFolder = UnixPath(m_folder);
    if (unixFolder.empty())
        return Fail("not running under Wine: no Unix paths");

    std::string command = Quote(TESSARY_PYTHON3) + " " + Quote(TESSARY_STANDIN_SCRIPT) + " --scenario " +
                          Quote(unixFolder + "/scenario.json") + " --port 0 --port-file " +
                          Quote(unixFolder + "/port.txt") + " --log " + Quote(unixFolder + "/requests.jsonl") +
                          " --exit-with-holder --hold-wait 60 --max-seconds 900 --read-timeout 3";
    std::wstring commandLine = FromUtf8(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return Fail("cannot start " TESSARY_PYTHON3);
    // The stand-in is watched through its holder connection, not its handles.
    CHandle(process.hThread).Close();
    CHandle(process.hProcess).Close();

    std::string portText;
    for (int i = 0; i < 300 && (!ReadFileBytes(portFile, portText) || portText.empty()); ++i)
        Sleep(50);
    if (portText.compare(0, 6, "error:") == 0)
        return Fail(portText);
    m_port = static_cast<unsigned short>(std::atoi(portText.c_str()));
    if (m_port == 0)
        return Fail("the stand-in did not report its port");

    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return Fail("WSAStartup failed");
    m_winsock = true;
    m_holder = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_holder == INVALID_SOCKET || connect(m_holder, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return Fail("cannot connect to the stand-in");
    const char hold[] = "GET /.standin/hold HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    char answer[64] = {};
    if (send(m_holder, hold, int(sizeof hold - 1), 0) != int(sizeof hold - 1) ||
        recv(m_holder, answer, sizeof answer - 1, 0) < 12 || std::strncmp(answer, "HTTP/1.1 200", 12) != 0)
        return Fail("the stand-in did not take the holder connection");

    const std::wstring proxy = L"http_proxy=http://127.0.0.1:" + std::to_wstring(m_port);
    if (_wputenv(proxy.c_str()) != 0)
        return Fail("cannot set http_proxy");
    return CheckProxy();
}

bool CServicesStandIn::CheckProxy()
{
    const CInternetHandle session(
        InternetOpenW(L"StandInCheck", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return Fail("InternetOpen failed");
    char buffer[1024] = {};
    DWORD length = sizeof buffer;
    const BOOL ok = InternetQueryOptionA(session.Get(), INTERNET_OPTION_PROXY, buffer, &length);
    const auto* info = reinterpret_cast<const INTERNET_PROXY_INFO*>(buffer);
    const std::string expected = "127.0.0.1:" + std::to_string(m_port);
    if (!ok || info->dwAccessType != INTERNET_OPEN_TYPE_PROXY || !info->lpszProxy ||
        expected != reinterpret_cast<const char*>(info->lpszProxy))
        return Fail("WinINet does not use the stand-in as its proxy (is ProxyEnable set in the registry?)");
    return true;
}

void CServicesStandIn::Stop()
{
    if (m_holder != INVALID_SOCKET) {
        closesocket(m_holder);
        m_holder = INVALID_SOCKET;
    }
    if (m_winsock) {
        WSACleanup();
        m_winsock = false;
    }
    if (m_port != 0) {
        _wputenv(L"http_proxy=");
        m_port = 0;
    }
    if (!m_folder.empty()) {
        if (!std::getenv("TESSARY_KEEP_RUNS")) {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::path(m_folder), ignored);
        }
        m_folder.clear();
    }
    if (m_turn) {
        ReleaseMutex(m_turn.Get());
        m_turn.Close();
    }
}

bool CServicesStandIn::Release(const wchar_t* until) const
{
    return !m_folder.empty() && WriteFileBytes(m_folder + L"\\" + until, std::string());
}

std::vector<CStandInRequest> CServicesStandIn::Requests() const
{
    std::vector<CStandInRequest> requests;
    std::string text;
    if (m_folder.empty() || !ReadFileBytes(m_folder + L"\\requests.jsonl", text))
        return requests;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        CJsonValue record;
        if (!ParseJson(line, record))
            continue;
        CStandInRequest request;
        request.method = record["method"].text;
        request.url = record["url"].text;
        request.host = record["host"].text;
        request.path = record["path"].text;
        for (const auto& header : record["headers"].items)
            request.headers.emplace_back(header[size_t(0)].text, header[size_t(1)].text);
        // The log's "body" is the UTF-8 reading of the bytes; they are always UTF-8 here,
        // and "length" tells whether anything was lost on the way.
        request.body = record["body"].text;
        request.xmlrpcMethod = record["xmlrpc"]["method"].text;
        request.params = record["xmlrpc"]["params"];
        request.api = record["api"];
        request.answerKind = record["answer"]["kind"].text;
        if (static_cast<long long>(request.body.size()) != record["length"].AsInt())
            request.body = "<body not UTF-8>";
        requests.push_back(std::move(request));
    }
    return requests;
}
