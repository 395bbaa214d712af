// A small HTTP server on 127.0.0.1 for download tests: it answers fixed
// routes on its own thread, one request per connection.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

class LocalHttpServer
{
public:
    struct Response {
        int status = 200;
        std::string body;
        std::string contentType = "application/octet-stream";
        std::string extraHeaders;  // each line ends with CRLF
        DWORD pauseEveryKilobyteMs = 0;
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsRunning() const { return m_running; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::wstring Url(const char* pathAndQuery) const;
    // The path is matched without its query.
    void Route(const std::string& path, Response response);
    // Requests received for a path (query ignored).
    int Hits(const std::string& path);

private:
    void Serve();
    void Answer(std::uintptr_t client);

    std::uintptr_t m_listener = 0;  // a SOCKET, kept out of this header
    bool m_running = false;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::map<std::string, Response> m_routes;
    std::map<std::string, int> m_hits;
    std::thread m_thread;
};
