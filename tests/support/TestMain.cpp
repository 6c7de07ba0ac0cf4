// Entry point of every test executable.
//
// Under Wine a crash would otherwise open a debugger dialog, and a hung test would stall the whole run until
// ctest's own timeout. So a crash ends the process at once, and a watchdog thread ends it when one test runs
// longer than its allowance (QXRV_TEST_TIMEOUT_S seconds, 20 by default; see Watchdog.h).
#include "framework/Prelude.h"

#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "\nFATAL: unhandled exception 0x%08lX at %p\n",
                 info ? info->ExceptionRecord->ExceptionCode : 0UL,
                 info ? info->ExceptionRecord->ExceptionAddress : nullptr);
    std::fflush(stderr);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), qxrv::test::kCrashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Arms the watchdog for each test and disarms it afterwards.
class WatchdogListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { qxrv::test::ArmWatchdog(); }
    void OnTestEnd(const testing::TestInfo&) override { qxrv::test::DisarmWatchdog(); }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(OnUnhandledException);
    testing::InitGoogleTest(&argc, argv);
    qxrv::test::StartWatchdog();
    testing::UnitTest::GetInstance()->listeners().Append(new WatchdogListener);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    return result;
}
