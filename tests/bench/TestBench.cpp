// A crashing or hanging test must end its process quickly with a failing exit code.
#include "framework/Prelude.h"

#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ProbeResult {
    bool ended = false;
    DWORD exitCode = 0;
    DWORD elapsedMs = 0;
};

// Runs one probe test in a child process and waits at most waitMs for it.
ProbeResult RunProbe(const wchar_t* filter, DWORD waitMs) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    std::wstring command = L"\"" + dir + TEXT(QXRV_BENCH_PROBE) + L"\" --gtest_filter=" + filter;

    SetEnvironmentVariableW(L"QXRV_TEST_TIMEOUT_S", L"2");
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ProbeResult result;
    const DWORD start = GetTickCount();
    BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(L"QXRV_TEST_TIMEOUT_S", nullptr);
    if (!started) {
        ADD_FAILURE() << "cannot start the probe, error " << GetLastError();
        return result;
    }
    result.ended = WaitForSingleObject(pi.hProcess, waitMs) == WAIT_OBJECT_0;
    result.elapsedMs = GetTickCount() - start;
    if (!result.ended)
        TerminateProcess(pi.hProcess, 99);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

TEST(TestBench, CrashingAndHangingTestsFailFast) {
    struct Case {
        const wchar_t* filter;
        DWORD expectedExit;
    } cases[] = {
        {L"Probe.Crashes", qxrv::test::kCrashExitCode},
        {L"Probe.Hangs", qxrv::test::kHangExitCode},
        {L"Probe.Passes", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "probe " << c.filter);
        const ProbeResult r = RunProbe(c.filter, 15000);
        EXPECT_TRUE(r.ended);
        EXPECT_EQ(c.expectedExit, r.exitCode);
        EXPECT_LT(r.elapsedMs, 10000u);
        std::printf("%ls ended with %lu after %lu ms\n", c.filter, r.exitCode, r.elapsedMs);
    }
}

} // namespace
