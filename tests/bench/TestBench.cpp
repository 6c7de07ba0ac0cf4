// A crashing or hanging test must end its process quickly with a failing exit code.
#include "framework/Prelude.h"

#include "tests/support/ExeFolder.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs one probe test in a child process and waits at most waitMs for it.
qxrv::test::ChildRun RunProbe(const wchar_t* filter, DWORD waitMs) {
    SetEnvironmentVariableW(L"QXRV_TEST_TIMEOUT_S", L"2");
    const qxrv::test::ChildRun run = qxrv::test::RunBesideThisExe(
        TEXT(QXRV_BENCH_PROBE), std::wstring(L"--gtest_filter=") + filter, waitMs);
    SetEnvironmentVariableW(L"QXRV_TEST_TIMEOUT_S", nullptr);
    EXPECT_TRUE(run.started) << "cannot start the probe";
    return run;
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
        const qxrv::test::ChildRun r = RunProbe(c.filter, 15000);
        EXPECT_TRUE(r.ended);
        EXPECT_EQ(c.expectedExit, r.exitCode);
        EXPECT_LT(r.elapsedMs, 10000u);
        std::printf("%ls ended with %lu after %lu ms\n", c.filter, r.exitCode, r.elapsedMs);
    }
}

} // namespace
