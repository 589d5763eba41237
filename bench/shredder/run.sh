#!/usr/bin/env bash
# File Shredder speed against coreutils' shred on files of the same size,
# three passes each forced to disk, the file deleted at the end; measured
# interleaved in one run (ours, theirs, ours, theirs, ...):
#   korvala-cli shred --yes FILE     vs  shred -n 3 -u FILE
# Target: at least 1.0x its throughput. Each run shreds a fresh copy of one
# template file (made once, copied before each timing, then flushed), so both
# start from the same state on disk.
#
# Usage: bench/shredder/run.sh [BUILD_DIR] [DIR] [RUNS] [SIZE_MIB]
# DIR defaults to /tmp/korvala-shred-bench, SIZE_MIB to 1024.
set -euo pipefail

BUILD_DIR=${1:-build}
DIR=${2:-/tmp/korvala-shred-bench}
RUNS=${3:-5}
SIZE_MIB=${4:-1024}
CLI="$(cd "$BUILD_DIR" && pwd)/cli/korvala-cli"
. "$(cd "$(dirname "$0")/.." && pwd)/timing.sh"
[ -x "$CLI" ] || { echo "korvala-cli not found in $BUILD_DIR (build the korvala-cli target)" >&2; exit 2; }

mkdir -p "$DIR"
cd "$DIR"
TEMPLATE=template.bin
keep_random_file "$TEMPLATE" "$SIZE_MIB"
BYTES=$(stat -c %s "$TEMPLATE")

fresh() {
    cp --reflink=never "$TEMPLATE" "$1"
    sync "$1"
}


ours=() theirs=()
for ((run = 0; run <= RUNS; run++)); do
    # Run 0 warms up and is not counted.
    # Both copies are made before either is timed, and who goes first
    # alternates from run to run.
    fresh ours.bin
    fresh theirs.bin
    if ((run % 2 == 0)); then
        t1=$(seconds "$CLI" shred --yes ours.bin)
        t2=$(seconds shred -n 3 -u theirs.bin)
    else
        t2=$(seconds shred -n 3 -u theirs.bin)
        t1=$(seconds "$CLI" shred --yes ours.bin)
    fi
    [ ! -e ours.bin ] && [ ! -e theirs.bin ] || { echo "a file was not deleted" >&2; exit 1; }
    if [ "$run" -gt 0 ]; then
        ours+=("$t1"); theirs+=("$t2")
    fi
done

o=$(printf '%s\n' "${ours[@]}" | median)
t=$(printf '%s\n' "${theirs[@]}" | median)
awk -v o="$o" -v t="$t" -v b="$BYTES" -v r="$RUNS" 'BEGIN {
    mo = 3 * b / 1048576 / o; mt = 3 * b / 1048576 / t;
    printf "%d MiB, 3 passes, median of %d interleaved runs\n", b / 1048576, r;
    printf "shred  korvala %7.3f s (%6.0f MiB/s written)   shred -n 3 -u %7.3f s (%6.0f MiB/s)   throughput ratio %.2fx (target >= 1.0x)\n",
        o, mo, t, mt, mo / mt }'
