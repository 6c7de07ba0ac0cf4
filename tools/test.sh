#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine if needed, builds everything and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" "$root/build"
# A test that fails is run once more before it counts as failed: under Wine a test process very rarely dies in
# Wine itself (seen once in several hundred runs). Both attempts stay in the log.
"$root/tools/testbench.sh" "$root/build" --repeat until-pass:2 "$@"
