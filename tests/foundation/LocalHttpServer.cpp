#include <winsock2.h>
#include <ws2tcpip.h>

#include "LocalHttpServer.h"

#include <algorithm>

namespace {

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    default: return "Status";
    }
}

bool SendAll(SOCKET socket, const char* data, size_t length)
{
    while (length > 0) {
        const int sent = send(socket, data, static_cast<int>(std::min<size_t>(length, 0x10000)), 0);
        if (sent <= 0)
            return false;
        data += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

} // namespace

LocalHttpServer::LocalHttpServer()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return;
    m_listener = listener;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return;
    }
    m_running = true;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer()
{
    m_stop = true;
    if (m_running)
        closesocket(static_cast<SOCKET>(m_listener));
    if (m_thread.joinable())
        m_thread.join();
    WSACleanup();
}

std::wstring LocalHttpServer::Url(const char* pathAndQuery) const
{
    std::wstring url = L"http://127.0.0.1:" + std::to_wstring(m_port);
    for (const char* c = pathAndQuery; *c; ++c)
        url += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return url;
}

void LocalHttpServer::Route(const std::string& path, Response response)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_routes[path] = std::move(response);
}

int LocalHttpServer::Hits(const std::string& path)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_hits[path];
}

void LocalHttpServer::Serve()
{
    while (!m_stop) {
        const SOCKET client = accept(static_cast<SOCKET>(m_listener), nullptr, nullptr);
        if (client == INVALID_SOCKET)
            break;
        Answer(client);
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}

void LocalHttpServer::Answer(std::uintptr_t socket)
{
    const SOCKET client = static_cast<SOCKET>(socket);
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        request.append(buffer, static_cast<size_t>(got));
    }
    // "GET /path?query HTTP/1.1"
    const size_t start = request.find(' ') + 1;
    std::string target = request.substr(start, request.find(' ', start) - start);
    const std::string path = target.substr(0, target.find('?'));

    Response response;
    bool known = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_hits[path];
        const auto route = m_routes.find(path);
        if (route != m_routes.end()) {
            response = route->second;
            known = true;
        }
    }
    if (!known) {
        response.status = 404;
        response.body = "<html><body>Not here</body></html>";
    }

    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n" +
                       "Content-Type: " + response.contentType + "\r\nContent-Length: " +
                       std::to_string(response.body.size()) + "\r\nConnection: close\r\n" + response.extraHeaders +
                       "\r\n";
    if (!SendAll(client, head.data(), head.size()))
        return;
    if (response.pauseEveryKilobyteMs == 0) {
        SendAll(client, response.body.data(), response.body.size());
        return;
    }
    for (size_t at = 0; at < response.body.size(); at += 1024) {
        if (!SendAll(client, response.body.data() + at, std::min<size_t>(1024, response.body.size() - at)))
            return;
        Sleep(response.pauseEveryKilobyteMs);
    }
}
