// A log of the messages (and other events) a test is interested in, compared against an expected sequence in
// the manner of Wine's message tests: entries must come in order; optional ones may be missing.
#pragma once

#include "framework/Prelude.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qxrv::test {

struct LoggedEvent {
    std::string who;  // which window or object saw it ("dlg", "button", "OnInitDialog")
    UINT message = 0; // 0 for events that are not messages
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// What an expected entry checks besides who and the message, as flags.
enum ExpectFlags : unsigned {
    kOptional = 1, // may be absent; when present it must be in this place
    kWParam = 2,   // wParam must match
    kLParam = 4,   // lParam must match
    kParams = kWParam | kLParam,
};

struct ExpectedEvent {
    std::string who;
    UINT message = 0;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class MessageLog {
public:
    void Add(const std::string& who, UINT message = 0, WPARAM wParam = 0, LPARAM lParam = 0);
    void Clear() { m_events.clear(); }
    const std::vector<LoggedEvent>& Events() const { return m_events; }
    // How many times who saw message.
    int Count(const std::string& who, UINT message) const;
    // The log, one event per line, for failure messages.
    std::string Format() const;

    // Success when the log is exactly the expected sequence (optional entries may be skipped), parameters
    // compared where an entry asks for it.
    testing::AssertionResult Matches(const std::vector<ExpectedEvent>& expected) const;

private:
    std::vector<LoggedEvent> m_events;
};

// The log many tests share; tests clear it in their set-up.
MessageLog& TheLog();

} // namespace qxrv::test
