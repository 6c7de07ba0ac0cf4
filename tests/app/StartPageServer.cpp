#include "tests/app/StartPageServer.h"

#include <winsock2.h>

namespace qxrv::test {

namespace {

constexpr char kPage[] =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: 33\r\nConnection: close\r\n\r\n"
    "<html><title>lyc</title></html>\r\n";

} // namespace

StartPageServer::StartPageServer(unsigned short port) : m_port(port) {
    InitializeCriticalSection(&m_lock);
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return;
    // A fixed port, bound again by the next test right after this one: connections of the last one may
    // linger.
    const BOOL reuse = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(s, 16) != 0) {
        closesocket(s);
        return;
    }
    m_listener = s;
    m_thread = std::thread([this] { Serve(); });
}

StartPageServer::~StartPageServer() {
    InterlockedExchange(&m_stop, 1);
    if (m_thread.joinable())
        m_thread.join();
    if (ok())
        closesocket(m_listener);
    WSACleanup();
    DeleteCriticalSection(&m_lock);
}

void StartPageServer::Serve() {
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
        std::string head;
        char buf[1024];
        while (head.size() < 8192 && head.find("\r\n\r\n") == std::string::npos) {
            const int n = recv(client, buf, sizeof(buf), 0);
            if (n <= 0)
                break;
            head.append(buf, static_cast<size_t>(n));
        }
        if (!head.empty()) {
            EnterCriticalSection(&m_lock);
            m_requests.push_back(head.substr(0, head.find("\r\n")));
            LeaveCriticalSection(&m_lock);
            send(client, kPage, sizeof(kPage) - 1, 0);
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}

std::wstring StartPageServer::Url(const wchar_t* path) const {
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + (path ? path : L"/");
}

bool StartPageServer::Saw(const std::string& text) const {
    EnterCriticalSection(&m_lock);
    bool seen = false;
    for (const std::string& line : m_requests)
        seen = seen || line.find(text) != std::string::npos;
    LeaveCriticalSection(&m_lock);
    return seen;
}

} // namespace qxrv::test
