# Sourced by every script that builds or runs the program: the one place that decides which Windows target the
# program and its tests are built as, and so which of Wine's loaders runs them.
#   i686    32-bit Windows, the program as it goes to Windows users. Run by Wine's 32-bit loader, which is a
#           32-bit Linux program.
#   x86_64  64-bit Windows, from the same sources. Run by Wine's 64-bit loader, on hosts whose kernel runs no
#           32-bit code (there the 32-bit loader ends in "Exec format error").
# The choice is made by trying: i686 where Wine's 32-bit loader starts, else x86_64 where the 64-bit one does.
# QXRV_TARGET=i686 or QXRV_TARGET=x86_64 in the environment overrides it.
#
#   qxrv_target [build-dir]
#                 decides (once per run: nested scripts inherit the decision), says in one line which target and
#                 why, and exports QXRV_TARGET, QXRV_TARGET_WHY, QXRV_TOOLCHAIN (CMake's toolchain file),
#                 QXRV_OBJDUMP, and QXRV_WINE with WINESERVER and WINEARCH (Wine's loader, server and prefix kind
#                 for the target; WINELOADER follows QXRV_WINE). A build folder given decides for itself, unless
#                 QXRV_TARGET is set: it stays what it was built for.
#   qxrv_wine_runs  succeeds when QXRV_WINE starts here; otherwise says in one line why not and fails
#   qxrv_runnable_target [build-dir]  qxrv_target, then qxrv_wine_runs: for the scripts that run what they build
#   qxrv_built_for <build-dir>  succeeds when the folder is unconfigured or configured for QXRV_TARGET

qxrv_wine32=/usr/lib/wine/wine
qxrv_wine64=/usr/lib/wine/wine64

# Why a loader does not start here, in a few words, or nothing when it does.
qxrv_loader_fault() {
  local out
  [ -e "$1" ] || { echo "$1 is not installed"; return; }
  out=$("$1" --version 2>&1 >/dev/null) && return
  out=${out##*: }
  echo "$1 does not start: ${out:-no reason given}"
}

# The target a build folder was configured for, or nothing for a folder not yet configured.
qxrv_folder_target() {
  [ -f "$1/CMakeCache.txt" ] || return 0
  sed -n 's|^CMAKE_TOOLCHAIN_FILE:[A-Z]*=.*/mingw-\(.*\)\.cmake$|\1|p' "$1/CMakeCache.txt"
}

qxrv_target() {
  local root built="" fault32="" fault64=""
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  [ -n "${1:-}" ] && built=$(qxrv_folder_target "$1")
  if [ -n "${QXRV_TARGET:-}" ] && [ -n "${QXRV_TARGET_WHY:-}" ]; then
    : # decided by the script that started this one, and said there
  elif [ -n "${QXRV_TARGET:-}" ]; then
    QXRV_TARGET_WHY="chosen by QXRV_TARGET"
  elif [ -n "$built" ]; then
    QXRV_TARGET=$built
    QXRV_TARGET_WHY="$1 was built for it"
  else
    fault32=$(qxrv_loader_fault "$qxrv_wine32")
    if [ -z "$fault32" ]; then
      QXRV_TARGET=i686
      QXRV_TARGET_WHY="Wine's 32-bit loader runs on this host"
    else
      fault64=$(qxrv_loader_fault "$qxrv_wine64")
      if [ -z "$fault64" ]; then
        QXRV_TARGET=x86_64
        QXRV_TARGET_WHY="$fault32, so Wine's 64-bit loader runs the program and its tests"
      else
        # Neither loader runs: build for Windows users; running will say why it cannot.
        QXRV_TARGET=i686
        QXRV_TARGET_WHY="no Wine loader runs on this host ($fault32; $fault64)"
      fi
    fi
  fi
  # Debian's wine, wineboot and wineserver scripts pick the 32-bit loader whenever it is installed, and the 64-bit
  # server whenever that is: name both outright. Wine starts further programs with WINELOADER.
  case "$QXRV_TARGET" in
    i686) QXRV_WINE=$qxrv_wine32 WINESERVER=/usr/lib/wine/wineserver32 WINEARCH=win32 ;;
    x86_64) QXRV_WINE=$qxrv_wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64 ;;
    *)
      echo "target: QXRV_TARGET must be i686 or x86_64, not '$QXRV_TARGET'" >&2
      return 1
      ;;
  esac
  if [ -z "${QXRV_TARGET_SAID:-}" ]; then
    echo "target: $QXRV_TARGET ($QXRV_TARGET_WHY; QXRV_TARGET=i686 or x86_64 chooses)"
    export QXRV_TARGET_SAID=1
  fi
  QXRV_TOOLCHAIN="$root/cmake/mingw-$QXRV_TARGET.cmake"
  QXRV_OBJDUMP="$QXRV_TARGET-w64-mingw32-objdump"
  WINELOADER=$QXRV_WINE
  export QXRV_TARGET QXRV_TARGET_WHY QXRV_TOOLCHAIN QXRV_OBJDUMP QXRV_WINE WINELOADER WINESERVER WINEARCH
}

qxrv_wine_runs() {
  local fault
  fault=$(qxrv_loader_fault "$QXRV_WINE")
  [ -z "$fault" ] && return 0
  echo "wine: cannot run the $QXRV_TARGET program here: $fault" >&2
  return 1
}

qxrv_runnable_target() {
  qxrv_target "$@" && qxrv_wine_runs
}

qxrv_built_for() {
  local built
  built=$(qxrv_folder_target "$1")
  [ -z "$built" ] || [ "$built" = "$QXRV_TARGET" ]
}
