#!/usr/bin/env bash
# Runs a Windows program under Wine: the cross build's emulator, through which ctest lists and runs the tests.
# Wine itself very rarely dies by a signal as a process ends (seen while ctest listed a test executable's tests
# at its start, after the listing was complete). A test run is tried again by the test command; a listing that
# fails stops the whole run, so a listing is tried up to three times and only a whole one is passed on.
if [[ " $* " == *" --gtest_list_tests "* ]]; then
  for attempt in 1 2 3; do
    listing=$(wine "$@")
    status=$?
    if [ "$status" -lt 128 ]; then
      printf '%s\n' "$listing"
      exit "$status"
    fi
    echo "wine-run: Wine died with status $status while listing the tests (attempt $attempt)" >&2
  done
  exit "$status"
fi
exec wine "$@"
