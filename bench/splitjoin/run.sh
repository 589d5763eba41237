#!/usr/bin/env bash
# Splitter & Joiner speed against coreutils on the same cached file, measured
# interleaved in one run (ours, theirs, ours, theirs, ...) so that a busy
# machine slows both alike:
#   split: korvala-cli split FILE 7      vs  split -n 7 FILE PREFIX
#   join:  korvala-cli join FILE._1      vs  cat FILE._1 ... FILE._7 > OUT
# Both joins read the same parts (those of our split): parts written by
# different programs can sit differently in the page cache, and that showed
# in the times.
# The join is measured twice: into a name that is free (both make a new
# file) and over a file that exists (ours writes a new file and renames it
# over the old one, cat truncates the old one and writes into it; ext4 then
# starts writing the new data out at once in both cases, to keep a crash
# from leaving an empty file).
# Target: at least 0.9x their throughput (our time at most 1/0.9 of theirs).
#
# Usage: bench/splitjoin/run.sh [BUILD_DIR] [DIR] [RUNS] [SIZE_MIB]
# The source (SIZE_MIB, default 2048, of random bytes) is made once in DIR
# (default /tmp/korvala-splitjoin-bench) and kept for later runs.
set -euo pipefail

BUILD_DIR=${1:-build}
DIR=${2:-/tmp/korvala-splitjoin-bench}
RUNS=${3:-5}
SIZE_MIB=${4:-2048}
CLI="$(cd "$BUILD_DIR" && pwd)/cli/korvala-cli"
. "$(cd "$(dirname "$0")/.." && pwd)/timing.sh"
[ -x "$CLI" ] || { echo "korvala-cli not found in $BUILD_DIR (build the korvala-cli target)" >&2; exit 2; }

mkdir -p "$DIR"
cd "$DIR"
SRC=source.bin
keep_random_file "$SRC" "$SIZE_MIB"
BYTES=$(stat -c %s "$SRC")
# Into the page cache, and a reference digest for the checks below.
REFERENCE=$(md5sum < "$SRC" | cut -d' ' -f1)

clean() { rm -f "$SRC"._* theirs_* joined.bin; }


ours_split=() theirs_split=() ours_join=() theirs_join=() ours_over=() theirs_over=()
JOIN_THEIRS="cat $SRC._1 $SRC._2 $SRC._3 $SRC._4 $SRC._5 $SRC._6 $SRC._7 > joined.bin"
clean
for ((run = 0; run <= RUNS; run++)); do
    # Run 0 warms up and is not counted.
    # Who goes first alternates from run to run, so neither always meets the
    # page cache and the disk as the other left them.
    if ((run % 2 == 0)); then
        t1=$(seconds "$CLI" split "$SRC" 7)
        t2=$(seconds split -n 7 "$SRC" theirs_)
    else
        t2=$(seconds split -n 7 "$SRC" theirs_)
        t1=$(seconds "$CLI" split "$SRC" 7)
    fi
    mv "$SRC" "$SRC.keep"
    if ((run % 2 == 0)); then
        t3=$(seconds "$CLI" join "$SRC._1")   # makes source.bin anew
        t4=$(seconds sh -c "$JOIN_THEIRS")
        t5=$(seconds "$CLI" join "$SRC._1")   # over the source.bin just made
        t6=$(seconds sh -c "$JOIN_THEIRS")
    else
        t4=$(seconds sh -c "$JOIN_THEIRS")
        t3=$(seconds "$CLI" join "$SRC._1")
        t6=$(seconds sh -c "$JOIN_THEIRS")
        t5=$(seconds "$CLI" join "$SRC._1")
    fi
    if [ "$run" -gt 0 ]; then
        ours_split+=("$t1"); theirs_split+=("$t2"); ours_join+=("$t3"); theirs_join+=("$t4")
        ours_over+=("$t5"); theirs_over+=("$t6")
    else
        # The same bytes both ways, once.
        [ "$(md5sum < "$SRC" | cut -d' ' -f1)" = "$REFERENCE" ] || { echo "our join differs from the source" >&2; exit 1; }
        [ "$(md5sum < joined.bin | cut -d' ' -f1)" = "$REFERENCE" ] || { echo "cat's join differs" >&2; exit 1; }
        for i in 1 2 3 4 5 6 7; do
            printf 'part %d: %d bytes\n' "$i" "$(stat -c %s "$SRC._$i")"
        done
    fi
    rm -f "$SRC.keep"
    clean
done

report() {
    local label=$1 ours=$2 theirs=$3 peer=$4
    awk -v l="$label" -v o="$ours" -v t="$theirs" -v b="$BYTES" -v p="$peer" 'BEGIN {
        mo = b / 1048576 / o; mt = b / 1048576 / t;
        printf "%-9s korvala %7.3f s (%6.0f MiB/s)   %-10s %7.3f s (%6.0f MiB/s)   throughput ratio %.2fx (target >= 0.9x)\n",
            l, o, mo, p, t, mt, mo / mt }'
}
echo "$((BYTES / 1048576)) MiB, 7 parts, median of $RUNS interleaved runs (join-over: the joined name exists)"
report split "$(printf '%s\n' "${ours_split[@]}" | median)" "$(printf '%s\n' "${theirs_split[@]}" | median)" "split -n 7"
report join "$(printf '%s\n' "${ours_join[@]}" | median)" "$(printf '%s\n' "${theirs_join[@]}" | median)" "cat"
report "join-over" "$(printf '%s\n' "${ours_over[@]}" | median)" "$(printf '%s\n' "${theirs_over[@]}" | median)" "cat"
