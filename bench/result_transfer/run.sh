#!/usr/bin/env bash
# Builds and runs the result transfer benchmark: ROWS Seeker results sent to
# the Attribute Changer's list in the real window (offscreen). Usage:
#   bench/result_transfer/run.sh [BUILD_DIR] [ROWS] [ROUNDS]
# BUILD_DIR defaults to build-bench next to the sources (configured Release
# with KORVALA_BUILD_BENCH=ON when it has no build files yet).
# Target: 100,000 rows well under a second, the window never stalled.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=${1:-$src/build-bench}

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALA_BUILD_BENCH=ON
fi
cmake --build "$build" --target bench_result_transfer -j2
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/result_transfer/bench_result_transfer" "${2:-100000}" "${3:-3}"
