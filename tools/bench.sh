#!/usr/bin/env bash
# The one benchmark: builds in release mode, runs the layered redraw benchmark and the launcher's figures under
# Wine inside an Xvfb large enough for a 1920 x 1080 game window, and prints one table.
# tools/bench.sh [build-dir]   (default: build-release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
"$root/tools/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
build=$(cd "$build" && pwd)
. "$root/tools/wine-env.sh"
trap wine_env_stop EXIT
trap 'exit 130' INT TERM
export QXRV_XVFB_SCREEN=1920x1200x24
wine_env_start "$build" >/dev/null

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo "Machine: $cpu, $(nproc) CPUs, $(free -g | awk '/^Mem:/ {print $2}') GB; $(wine --version); build type Release"
echo
echo "| Figure | Value |"
echo "|---|---|"
# The redraw benchmark prints prose; its two figures become rows here.
skin=$(wine "$build/tools/bench/skin_bench.exe" </dev/null | tr -d '\r')
median=$(sed -n 's/^  median \([0-9.]*\) ms, 95th percentile \([0-9.]*\) ms$/\1 ms; 95th percentile \2 ms/p' <<<"$skin")
ratio=$(sed -n 's/.*fill and copy of [0-9]* bytes: \([0-9.]*\) ms.*redraw \/ copy = \([0-9.]*\)$/plain fill-and-copy \1 ms; ratio \2/p' <<<"$skin")
echo "| layered redraw 1208x621, both buttons | median ${median:-not measured}; ${ratio:-no copy figure} |"
wine "$build/tools/launcher_figures.exe" "$(winepath -w "$build/app/QXRVClient.exe")" \
  "$(winepath -w "$build/tests/app/QXRVClientProbe.exe")" </dev/null | tr -d '\r'
