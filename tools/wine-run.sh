#!/usr/bin/env bash
# Runs a Windows program under Wine: the cross build's emulator, through which ctest lists and runs the tests.
#
# Wine itself very rarely dies by a signal as a process ends (seen once in several hundred runs, once while ctest
# listed a test executable's tests at its start, after the listing was complete). Such a death shows as a status
# of 128 or more, which a test executable never gives of its own: GoogleTest ends with 0 or, when a test failed,
# 1; the test main's crash handler ends with 3 and its watchdog with 4 (tests/support/Watchdog.h). So only a
# status of 128 or more is tried again:
#   - a run of tests once more; both tries stay in the log, one after the other;
#   - a listing of tests up to three times, and only a whole one is passed on, since a listing that fails stops
#     the whole ctest run.
# Every other status, a failed assertion, a caught crash or a hang included, is passed on at once. (A crash that
# the handler cannot catch may end with the low byte of its exception code, 253 for a stack overflow; tried
# again, it fails again.)

wine_died() { [ "$1" -ge 128 ]; }
# The target's loader, as tools/target.sh chose it for the test bench, which also gives Wine its prefix and display.
if [ -z "${QXRV_WINE:-}" ]; then
  echo "wine-run: no Wine loader chosen; run the tests through tools/testbench.sh" >&2
  exit 2
fi
wine() { "$QXRV_WINE" "$@"; }

if [[ " $* " == *" --gtest_list_tests "* ]]; then
  for attempt in 1 2 3; do
    listing=$(wine "$@")
    status=$?
    if ! wine_died "$status"; then
      printf '%s\n' "$listing"
      exit "$status"
    fi
    echo "wine-run: Wine died with status $status while listing the tests (attempt $attempt of 3)" >&2
  done
  exit "$status"
fi

for attempt in 1 2; do
  wine "$@"
  status=$?
  wine_died "$status" || exit "$status"
  echo "wine-run: Wine died with status $status while running the tests (attempt $attempt of 2)" >&2
done
exit "$status"
