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

static std::string Describe(const std::string& who, UINT message) {
    char text[32];
    std::snprintf(text, sizeof(text), " 0x%04X", message);
    return message ? who + text : who;
}

std::string MessageLog::Format() const {
    std::string text;
    for (const LoggedEvent& e : m_events)
        text += "  " + Describe(e.who, e.message) + "\n";
    return text;
}

testing::AssertionResult MessageLog::Matches(const std::vector<ExpectedEvent>& expected) const {
    size_t i = 0;
    for (const ExpectedEvent& want : expected) {
        const bool same =
            i < m_events.size() && m_events[i].who == want.who && m_events[i].message == want.message;
        if (same) {
            ++i;
        } else if (!want.optional) {
            return testing::AssertionFailure()
                   << "expected " << Describe(want.who, want.message) << " at position " << i << ", got "
                   << (i < m_events.size() ? Describe(m_events[i].who, m_events[i].message) : "end of log")
                   << "\nlog:\n"
                   << Format();
        }
    }
    if (i != m_events.size())
        return testing::AssertionFailure() << "unexpected " << Describe(m_events[i].who, m_events[i].message)
                                           << " at position " << i << "\nlog:\n"
                                           << Format();
    return testing::AssertionSuccess();
}

MessageLog& TheLog() {
    static MessageLog log;
    return log;
}

} // namespace qxrv::test
