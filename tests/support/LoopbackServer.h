// A tiny HTTP server on 127.0.0.1 for the real browser control's navigations.
//
// It listens on the given port, or on one the system picks, answers every request with a small page and
// records each request line, so a test can tell which navigations really went out. It binds to the loopback
// address only.
#pragma once

#include "framework/Prelude.h"

#include <string>
#include <thread>
#include <vector>

namespace qxrv::test {

class LoopbackServer {
public:
    // Port 0 lets the system pick one; a fixed port is for test builds whose start URL names it.
    explicit LoopbackServer(unsigned short port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool ok() const { return m_listener != ~static_cast<UINT_PTR>(0); }
    unsigned short port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by path (which starts with "/").
    std::wstring Url(const wchar_t* path) const;
    // Request lines seen so far, such as "GET /page?x=1 HTTP/1.1".
    std::vector<std::string> requests() const;
    // Whether any request line contains text.
    bool Saw(const std::string& text) const;
    // Forgets the request lines seen so far.
    void Forget();

private:
    void Serve();

    UINT_PTR m_listener = ~static_cast<UINT_PTR>(0);
    unsigned short m_port = 0;
    bool m_wsaStarted = false;
    volatile LONG m_stop = 0;
    mutable CRITICAL_SECTION m_lock;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

} // namespace qxrv::test
