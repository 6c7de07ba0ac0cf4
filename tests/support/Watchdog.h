// Ends the test process when one test runs too long, so a hang fails within seconds instead of stalling ctest.
#pragma once

namespace qxrv::test {

// Exit codes the harness uses (Wine passes exit codes on cut to 8 bits).
constexpr unsigned kCrashExitCode = 3;
constexpr unsigned kHangExitCode = 4;

// Starts the watchdog thread; the allowance comes from QXRV_TEST_TIMEOUT_S (default 20 s).
void StartWatchdog();
// Starts the clock for the current test with the default allowance.
void ArmWatchdog();
// Gives the current test a longer allowance, for soak tests that are meant to run long.
void ExtendWatchdog(unsigned seconds);
// Stops the clock.
void DisarmWatchdog();

} // namespace qxrv::test
