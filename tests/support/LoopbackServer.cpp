#include "tests/support/LoopbackServer.h"

#include <winsock2.h>

namespace qxrv::test {

namespace {

constexpr char kResponse[] = "HTTP/1.0 200 OK\r\n"
                             "Content-Type: text/html\r\n"
                             "Content-Length: 38\r\n"
                             "Connection: close\r\n"
                             "\r\n"
                             "<html><title>Loopback</title></html>\r\n";

// Reads up to the end of the request head (or 8 KiB) and gives back its first line.
std::string ReadRequestLine(SOCKET s) {
    std::string head;
    char buf[1024];
    while (head.size() < 8192 && head.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(s, buf, sizeof(buf), 0);
        if (n <= 0)
            break;
        head.append(buf, static_cast<size_t>(n));
    }
    const size_t end = head.find("\r\n");
    return end == std::string::npos ? head : head.substr(0, end);
}

} // namespace

LoopbackServer::LoopbackServer(unsigned short port) {
    InitializeCriticalSection(&m_lock);
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return;
    m_wsaStarted = true;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return;
    if (port != 0) {
        // A fixed port is bound again by the next test right after this one: connections may linger.
        const BOOL reuse = TRUE;
        setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    }
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    int len = sizeof(addr);
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(s, 16) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        closesocket(s);
        return;
    }
    m_port = ntohs(addr.sin_port);
    m_listener = s;
    m_thread = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    InterlockedExchange(&m_stop, 1);
    if (m_thread.joinable())
        m_thread.join();
    if (ok())
        closesocket(m_listener);
    if (m_wsaStarted)
        WSACleanup();
    DeleteCriticalSection(&m_lock);
}

void LoopbackServer::Serve() {
    while (!m_stop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait = {0, 50 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        DWORD timeout = 2000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
        const std::string line = ReadRequestLine(client);
        if (!line.empty()) {
            EnterCriticalSection(&m_lock);
            m_requests.push_back(line);
            LeaveCriticalSection(&m_lock);
            send(client, kResponse, sizeof(kResponse) - 1, 0);
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}

std::wstring LoopbackServer::Url(const wchar_t* path) const {
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + (path ? path : L"/");
}

std::vector<std::string> LoopbackServer::requests() const {
    EnterCriticalSection(&m_lock);
    std::vector<std::string> copy = m_requests;
    LeaveCriticalSection(&m_lock);
    return copy;
}

void LoopbackServer::Forget() {
    EnterCriticalSection(&m_lock);
    m_requests.clear();
    LeaveCriticalSection(&m_lock);
}

bool LoopbackServer::Saw(const std::string& text) const {
    for (const std::string& line : requests()) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace qxrv::test
