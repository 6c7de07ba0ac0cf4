#include "tests/support/MessageLog.h"

#include <cstdio>

namespace qxrv::test {

void MessageLog::Add(const std::string& who, UINT message, WPARAM wParam, LPARAM lParam) {
    m_events.push_back({who, message, wParam, lParam});
}

int MessageLog::Count(const std::string& who, UINT message) const {
    int n = 0;
    for (const LoggedEvent& e : m_events)
        n += e.who == who && e.message == message;
    return n;
}

namespace {

std::string Describe(const std::string& who, UINT message, WPARAM wParam, LPARAM lParam, bool params = true) {
    char text[64];
    if (params)
        std::snprintf(text, sizeof(text), " 0x%04X wParam 0x%X lParam 0x%lX", message,
                      static_cast<unsigned>(wParam), static_cast<unsigned long>(lParam));
    else
        std::snprintf(text, sizeof(text), " 0x%04X", message);
    return message ? who + text : who;
}

std::string Describe(const LoggedEvent& e) {
    return Describe(e.who, e.message, e.wParam, e.lParam);
}

bool Fits(const LoggedEvent& seen, const ExpectedEvent& want) {
    return seen.who == want.who && seen.message == want.message &&
           ((want.flags & kWParam) == 0 || seen.wParam == want.wParam) &&
           ((want.flags & kLParam) == 0 || seen.lParam == want.lParam);
}

} // namespace

std::string MessageLog::Format() const {
    std::string text;
    for (const LoggedEvent& e : m_events)
        text += "  " + Describe(e) + "\n";
    return text;
}

testing::AssertionResult MessageLog::Matches(const std::vector<ExpectedEvent>& expected) const {
    size_t i = 0;
    for (const ExpectedEvent& want : expected) {
        if (i < m_events.size() && Fits(m_events[i], want)) {
            ++i;
        } else if ((want.flags & kOptional) == 0) {
            return testing::AssertionFailure()
                   << "expected "
                   << Describe(want.who, want.message, want.wParam, want.lParam, want.flags & kParams)
                   << " at position " << i << ", got "
                   << (i < m_events.size() ? Describe(m_events[i]) : "end of log") << "\nlog:\n"
                   << Format();
        }
    }
    if (i != m_events.size())
        return testing::AssertionFailure()
               << "unexpected " << Describe(m_events[i]) << " at position " << i << "\nlog:\n"
               << Format();
    return testing::AssertionSuccess();
}

MessageLog& TheLog() {
    static MessageLog log;
    return log;
}

} // namespace qxrv::test
