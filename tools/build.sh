#!/usr/bin/env bash
# Configures and builds the program and its tests: tools/build.sh [--program] [build-dir] [extra cmake arguments...]
# With --program only the program itself is built (build-dir/app/QXRVClient.exe), not its tests and tools.
# The target (i686 or x86_64) is the one tools/target.sh decides; a folder already built stays what it was built
# for. QXRV_TARGET=i686 always builds the program as it goes to Windows users.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/target.sh"
target=()
if [ "${1:-}" = --program ]; then
  target=(--target QXRVClient)
  shift
fi
build=${1:-$root/build}
shift || true
qxrv_target "$build"
fresh=()
if ! qxrv_built_for "$build"; then
  echo "build: $build was configured for another target; configuring it afresh for $QXRV_TARGET"
  fresh=(--fresh)
fi
cmake "${fresh[@]}" -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$QXRV_TOOLCHAIN" "$@" >/dev/null
cmake --build "$build" "${target[@]}"
