# Sourced by the scripts that run the program or its tests under Wine and Xvfb.
#   wine_env_start <build-dir>   makes the private 32-bit prefix, starts Xvfb (QXRV_XVFB_SCREEN, default
#                                1280x1024x24; not when QXRV_USE_DISPLAY=1 and a
#                                display exists) and Wine's helper processes
#   wine_env_stop                stops wineserver, then Xvfb; safe to call twice

wine_env_start() {
  local build=$1
  export WINEARCH=win32
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=${WINEDEBUG:--all}
  QXRV_XVFB_PID=""

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
    wineboot -i >/dev/null 2>&1 </dev/null || true
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
    wineserver -w
    touch "$WINEPREFIX/.qxrv-ready-2"
  fi

  # Start the helpers detached from our pipes, or ctest waits on their inherited stderr.
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "${QXRV_XVFB_PID:-}" ]; then
    kill "$QXRV_XVFB_PID" >/dev/null 2>&1 || true
    wait "$QXRV_XVFB_PID" 2>/dev/null || true
    QXRV_XVFB_PID=""
  fi
}
