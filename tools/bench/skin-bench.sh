#!/usr/bin/env bash
# Builds and runs the redraw benchmark under Wine inside Xvfb: tools/bench/skin-bench.sh <build-dir>
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: skin-bench.sh <build-dir>}" && pwd)
cmake --build "$build" --target skin_bench >/dev/null || exit 1
. "$root/tools/wine-env.sh"
trap wine_env_stop EXIT
trap 'exit 130' INT TERM
wine_env_start "$build" || exit 1
wine "$(find "$build" -name skin_bench.exe | head -1)"
