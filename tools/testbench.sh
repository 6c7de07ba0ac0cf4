#!/usr/bin/env bash
# Runs the test suite of a built tree under Wine inside Xvfb: tools/testbench.sh <build-dir> [ctest arguments...]
# Cleans up wineserver and Xvfb whether the tests pass, fail or the run is interrupted.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: testbench.sh <build-dir> [ctest args]}" && pwd)
shift
. "$root/tools/wine-env.sh"

trap wine_env_stop EXIT
trap 'exit 130' INT TERM
wine_env_start "$build" || exit 1
cd "$build"
ctest --output-on-failure --timeout 120 "$@"
