#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test;
# then, where clang is installed, builds the fuzz targets and runs each for a while; then builds
# the Windows programs and installer (and, the first time, Qt for Windows) and checks them under
# Wine. VYK_SKIP_WINDOWS=1 leaves the Windows part out.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan "$@"

if command -v clang++ >/dev/null; then
  cmake --preset fuzz
  cmake --build --preset fuzz
  ctest --preset fuzz
else
  echo "clang++ is not installed: the fuzz tests are skipped" >&2
fi

if [ "${VYK_SKIP_WINDOWS:-0}" != 1 ]; then
  packaging/windows/build.sh
  packaging/windows/wine-checks.sh build/asan
fi
