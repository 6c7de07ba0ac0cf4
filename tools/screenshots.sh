#!/usr/bin/env bash
# Takes the README's pictures of the launcher under Wine inside Xvfb: the main window as it starts, and the game
# window after a game link. tools/screenshots.sh [build-dir] [output-dir]   (defaults: build, docs/screenshots)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/screenshots}
. "$root/tools/wine-env.sh"
qxrv_runnable_target || exit 1
"$root/tools/build.sh" "$build" >/dev/null
build=$(cd "$build" && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
trap wine_env_stop EXIT
trap 'exit 130' INT TERM
wine_env_start "$build"
wine "$build/tools/launcher_shots.exe" "$build/tests/app/QXRVClientProbe.exe" "$(wine winepath -w "$out")" </dev/null
echo "screenshots: $out/main-window.png, $out/game-window.png"
