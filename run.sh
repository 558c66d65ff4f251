#!/usr/bin/env bash
# Sets up, builds and starts Vyk Edit. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vyk
if [ $# -eq 0 ]; then
  exec build/release/vyk --help
fi
exec build/release/vyk "$@"
