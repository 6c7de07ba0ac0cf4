#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine if needed, builds everything and runs the whole test suite:
# tools/test.sh [ctest arguments...]. It builds into build/, or into QXRV_BUILD_DIR where that is set.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QXRV_BUILD_DIR:-$root/build}
"$root/tools/setup.sh"
. "$root/tools/target.sh"
qxrv_runnable_target || exit 1
"$root/tools/build.sh" "$build"
# A test that fails counts as failed at once. Only a test process that Wine itself lets die is run once more, by
# the emulator tools/wine-run.sh, and the log keeps both tries.
"$root/tools/testbench.sh" "$build" "$@"
