#!/usr/bin/env bash
# The one benchmark: builds in release mode, runs the layered redraw benchmark and the launcher's figures under
# Wine inside an Xvfb large enough for a 1920 x 1080 game window, and prints one table (every row ends with its
# ratio to the baseline it names) followed by a few figures without a baseline. Nothing is asserted on time.
# tools/bench.sh [build-dir]   (default: build-release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
. "$root/tools/wine-env.sh"
qxrv_runnable_target || exit 1
"$root/tools/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
build=$(cd "$build" && pwd)
trap wine_env_stop EXIT
trap 'exit 130' INT TERM
export QXRV_XVFB_SCREEN=1920x1200x24
wine_env_start "$build" >/dev/null || exit 1

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo "Machine: $cpu, $(nproc) CPUs, $(free -g | awk '/^Mem:/ {print $2}') GB; $(wine --version) ($QXRV_TARGET); build type Release"
echo
rows=$(
  wine "$build/tools/bench/skin_bench.exe" </dev/null | tr -d '\r'
  wine "$build/tools/launcher_figures.exe" "$(wine winepath -w "$build/app/QXRVClient.exe")" \
    "$(wine winepath -w "$build/tests/app/QXRVClientProbe.exe")" \
    "$(wine winepath -w "$build/tools/bench/bare_layered_start.exe")" </dev/null | tr -d '\r'
) || true
echo "| Figure | Value |"
echo "|---|---|"
grep '^|' <<<"$rows" || true
echo
grep -v '^|' <<<"$rows" || true
# The start-up baseline is only fair while it imports what the launcher imports.
dlls() { "$QXRV_OBJDUMP" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort; }
if ! diff <(dlls "$build/app/QXRVClient.exe") <(dlls "$build/tools/bench/bare_layered_start.exe") >/dev/null; then
  echo "warning: bare_layered_start.exe does not import the same DLLs as QXRVClient.exe"
fi
