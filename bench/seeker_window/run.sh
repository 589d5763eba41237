#!/usr/bin/env bash
# Builds and runs the Seeker window benchmark: 1,000,000 result rows appended in
# the search's batches, the grid shown offscreen, scrolled and sorted by every
# column. Usage:
#   bench/seeker_window/run.sh [BUILD_DIR] [ROWS]
# BUILD_DIR defaults to build-bench next to the sources (configured Release with
# KORVALA_BUILD_BENCH=ON when it has no build files yet); ROWS to 1000000.
# Target: scrolling and sorting without a visible stall (each sort well under
# a second or two on this machine).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=${1:-$src/build-bench}
rows=${2:-1000000}

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALA_BUILD_BENCH=ON
fi
cmake --build "$build" --target bench_seeker_window -j"$(nproc)"

echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg) (figures are only meaningful on an idle machine)"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/seeker_window/bench_seeker_window" "$rows"
