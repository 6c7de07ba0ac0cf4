#!/usr/bin/env bash
# Prints the launcher's figures, measured under Wine inside an Xvfb large enough for a 1920 x 1080 game window:
# start-up time to the first picture, DrawFrame against a plain BitBlt, and the exe's size.
# tools/figures.sh [build-dir]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/tools/build.sh" "$build" >/dev/null
build=$(cd "$build" && pwd)
. "$root/tools/wine-env.sh"
trap wine_env_stop EXIT
trap 'exit 130' INT TERM
export QXRV_XVFB_SCREEN=1920x1200x24
wine_env_start "$build"
echo "build: $(sed -n "s/^CMAKE_BUILD_TYPE:[A-Z]*=//p" "$build/CMakeCache.txt") ($build)"
wine "$build/tools/launcher_figures.exe" "$(winepath -w "$build/app/QXRVClient.exe")" </dev/null
