#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine if needed, builds everything and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
. "$root/tools/target.sh"
qxrv_target
qxrv_wine_runs || exit 1
"$root/tools/build.sh" "$root/build"
# A test that fails counts as failed at once. Only a test process that Wine itself lets die is run once more, by
# the emulator tools/wine-run.sh, and the log keeps both tries.
"$root/tools/testbench.sh" "$root/build" "$@"
