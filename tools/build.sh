#!/usr/bin/env bash
# Configures and builds the program and its tests: tools/build.sh [--program] [build-dir] [extra cmake arguments...]
# With --program only the program itself is built (build-dir/app/QXRVClient.exe), not its tests and tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=()
if [ "${1:-}" = --program ]; then
  target=(--target QXRVClient)
  shift
fi
build=${1:-$root/build}
shift || true
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" "$@" >/dev/null
cmake --build "$build" "${target[@]}"
