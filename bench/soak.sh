#!/usr/bin/env bash
# The soak benchmark: Updates and Retrieves in turn against `vyk boxsim` on a pseudo-terminal
# with faults at random; builds what it needs in the release preset, then prints its report.
#   bench/soak.sh [--transfers 500] [--fault-rate 0.003] [--seed 1] [--baud 9600]
# VYK_SOAK_PRESET picks another configured preset (dev), CMAKE_BUILD_PARALLEL_LEVEL the jobs.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${VYK_SOAK_PRESET:-release}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target vyk bench_soak
exec "build/$preset/bench/bench_soak" "$@"
