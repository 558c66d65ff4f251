#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan "$@"
