# Sourced by the scripts that run the program or its tests under Wine and Xvfb.
#   wine_env_start <build-dir>   says which target runs, and fails in one line where its Wine loader cannot start;
#                                makes the target's private prefix (32- or 64-bit), starts Xvfb (QXRV_XVFB_SCREEN,
#                                default 1280x1024x24; not when QXRV_USE_DISPLAY=1 and a display exists) and
#                                Wine's helper processes
#   wine_env_stop                stops wineserver, then Xvfb; safe to call twice
#   wine <program> [args...]     runs a program with the target's loader

. "$(dirname "${BASH_SOURCE[0]}")/target.sh"

wine() { "$QXRV_WINE" "$@"; }

wine_env_start() {
  local build=$1
  QXRV_XVFB_PID=""
  qxrv_runnable_target "$build" || return 1
  if ! qxrv_built_for "$build"; then
    echo "wine-env: $build was not built for $QXRV_TARGET; build it again with tools/build.sh" >&2
    return 1
  fi
  export WINEPREFIX="$build/wineprefix-$WINEARCH"
  export WINEDEBUG=${WINEDEBUG:--all}
  QXRV_WINE_ENV_UP=1

  if [ "${QXRV_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    # The server picks a free display itself and writes its number once it listens, so runs started side by
    # side (two checkouts, say) never share one screen.
    local numberfile n="" i
    numberfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${QXRV_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
    QXRV_XVFB_PID=$!
    for i in $(seq 100); do
      n=$(tr -dc 0-9 <"$numberfile")
      [ -n "$n" ] && break
      sleep 0.1
    done
    rm -f "$numberfile"
    export DISPLAY=":$n"
    xdpyinfo >/dev/null 2>&1 || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  fi

  if [ ! -f "$WINEPREFIX/.qxrv-ready-2" ]; then
    mkdir -p "$WINEPREFIX"
    # A 64-bit prefix also tries to set up 32-bit support; where 32-bit code cannot run, that part fails and the
    # prefix still serves.
    wine wineboot -i >/dev/null 2>&1 </dev/null || true
    # No window manager under Xvfb: without this every window close waits 2 s for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
    # A crash must never open a dialog that waits forever.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
    # The prefix's own fonts have no Chinese glyphs: link the dialog and caption faces to the host's CJK font,
    # so the title and the closing questions read as text rather than boxes.
    local face
    for face in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif'; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
        /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 </dev/null
    done
    "$WINESERVER" -w
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine-env: Wine could not make its prefix in $WINEPREFIX" >&2
      return 1
    fi
    touch "$WINEPREFIX/.qxrv-ready-2"
  fi

  # Start the helpers detached from our pipes, or ctest waits on their inherited stderr.
  "$WINESERVER" -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
  if [ -n "${QXRV_WINE_ENV_UP:-}" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    QXRV_WINE_ENV_UP=""
  fi
  if [ -n "${QXRV_XVFB_PID:-}" ]; then
    kill "$QXRV_XVFB_PID" >/dev/null 2>&1 || true
    wait "$QXRV_XVFB_PID" 2>/dev/null || true
    QXRV_XVFB_PID=""
  fi
}
