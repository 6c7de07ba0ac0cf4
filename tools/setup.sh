#!/usr/bin/env bash
# Installs what building and testing need on Debian 12. Does nothing when everything is there already.
# Both targets' packages go on every host: the i686 program is the one Windows users get, and is built and checked
# with the tests everywhere; the x86_64 one runs the tests where 32-bit code cannot run. wine32:i386 installs on
# such a host too; it only cannot run there.
set -euo pipefail

packages=(wine wine32:i386 wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  cmake ninja-build googletest xvfb xauth x11-utils imagemagick fonts-wqy-microhei)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# A mirror in the middle of a sync fails the update now and then: try again, and in the end install from the
# package lists there are, which fails plainly if they do not serve.
for attempt in 1 2 3 4; do
  $SUDO apt-get update -qq && break
  echo "setup: the package lists did not all update (attempt $attempt of 4)"
  if [ "$attempt" -lt 4 ]; then sleep $((15 * attempt)); fi
done
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
