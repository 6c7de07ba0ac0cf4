// The tests' own start-page server: HTTP on the loopback address at the port the test build compiled into the
// start URL, so the launcher's very first request comes here.
#pragma once

#include "framework/Prelude.h"

#include <string>
#include <thread>
#include <vector>

namespace qxrv::test {

class StartPageServer {
public:
    explicit StartPageServer(unsigned short port);
    ~StartPageServer();
    StartPageServer(const StartPageServer&) = delete;
    StartPageServer& operator=(const StartPageServer&) = delete;

    bool ok() const { return m_listener != ~static_cast<UINT_PTR>(0); }
    // "http://127.0.0.1:<port>" followed by path.
    std::wstring Url(const wchar_t* path) const;
    // Whether a request line seen so far contains text (such as "GET /weiduan/lyc ").
    bool Saw(const std::string& text) const;

private:
    void Serve();

    UINT_PTR m_listener = ~static_cast<UINT_PTR>(0);
    unsigned short m_port;
    volatile LONG m_stop = 0;
    mutable CRITICAL_SECTION m_lock;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

} // namespace qxrv::test
