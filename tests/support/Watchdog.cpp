#include "framework/Prelude.h"

#include "tests/support/Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace qxrv::test {
namespace {

unsigned g_defaultSeconds = 20;
// Tick count at which the running test is out of time; 0 when no test is running.
volatile LONG g_deadline = 0;

DWORD WINAPI WatchdogThread(void*) {
    for (;;) {
        Sleep(100);
        const LONG deadline = InterlockedCompareExchange(&g_deadline, 0, 0);
        if (deadline != 0 && static_cast<LONG>(GetTickCount() - static_cast<DWORD>(deadline)) > 0) {
            std::fprintf(stderr, "\nFATAL: test ran over its time allowance; ending the process\n");
            std::fflush(stderr);
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), kHangExitCode);
        }
    }
}

void SetDeadline(unsigned seconds) {
    LONG deadline = static_cast<LONG>(GetTickCount() + seconds * 1000u);
    if (deadline == 0)
        deadline = 1;
    InterlockedExchange(&g_deadline, deadline);
}

} // namespace

void StartWatchdog() {
    if (const char* text = std::getenv("QXRV_TEST_TIMEOUT_S")) {
        const int seconds = std::atoi(text);
        if (seconds > 0)
            g_defaultSeconds = static_cast<unsigned>(seconds);
    }
    if (HANDLE thread = CreateThread(nullptr, 0, WatchdogThread, nullptr, 0, nullptr))
        CloseHandle(thread);
}

void ArmWatchdog() { SetDeadline(g_defaultSeconds); }

void ExtendWatchdog(unsigned seconds) { SetDeadline(seconds); }

void DisarmWatchdog() { InterlockedExchange(&g_deadline, 0); }

} // namespace qxrv::test
