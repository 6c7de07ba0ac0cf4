#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine if needed, builds the launcher (not its tests) and starts it under Wine.
# With a display ($DISPLAY set) the launcher runs there until you close it. Without one it runs inside Xvfb for a
# few seconds, a screenshot is saved to build/screenshots/launcher.png, and the launcher is ended.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
"$root/tools/setup.sh"
. "$root/tools/wine-env.sh"
qxrv_runnable_target || exit 1
"$root/tools/build.sh" --program "$build"

exe="$build/app/QXRVClient.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export QXRV_USE_DISPLAY=1
  trap wine_env_stop EXIT
  wine_env_start "$build"
  echo "run: starting the launcher on $DISPLAY"
  wine "$exe"
  exit $?
fi

trap wine_env_stop EXIT
trap 'exit 130' INT TERM
wine_env_start "$build"
mkdir -p "$build/screenshots"
shot="$build/screenshots/launcher.png"
echo "run: no display; starting the launcher inside Xvfb ($DISPLAY)"
wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
sleep "${QXRV_RUN_SECONDS:-5}"
import -window root "$shot"
if kill -0 "$pid" 2>/dev/null; then
  echo "run: the launcher is running; ending it"
else
  wait "$pid" && status=0 || status=$?
  echo "run: the launcher ended by itself with exit code $status"
fi
echo "run: screenshot saved to $shot"
