#!/bin/sh
# Runs every fuzz target of tests/fuzz for MINUTES minutes each, two at a
# time and under nice, and prints per target the executions, the inputs that
# reached new code, the coverage reached and the crashes found.
#
#   sh scripts/fuzz.sh MINUTES [TARGET...]      (targets by name: wildcard ...)
#
# Builds build-san (clang, sanitizers, fuzzing) when it is not there yet. New
# inputs go to a scratch corpus outside the repository, $KORVALA_FUZZ_DIR
# (default /tmp/korvala-fuzz)/<target>/corpus, seeded from the committed
# corpus; crash inputs to .../<target>/crashes, the log to .../<target>/log.
# After a crash the target starts again on its corpus until its time is up.
set -e
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD="$ROOT/build-san"
OUT="${KORVALA_FUZZ_DIR:-/tmp/korvala-fuzz}"

# One target for SECONDS seconds (the script calls itself for this, so that
# xargs can run two at a time).
if [ "$1" = "--one" ]; then
  name=$2 seconds=$3
  dir="$OUT/$name"
  mkdir -p "$dir/corpus" "$dir/crashes"
  : > "$dir/log"
  end=$(( $(date +%s) + seconds ))
  while :; do
    left=$(( end - $(date +%s) ))
    [ "$left" -gt 0 ] || break
    nice -n 10 "$BUILD/tests/fuzz/fuzz_$name" -max_total_time="$left" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$dir/crashes/" "$dir/corpus" "$ROOT/tests/fuzz/corpus/$name" >> "$dir/log" 2>&1 || true
  done
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | awk '{s += $1} END {print s + 0}')
  added=$(sed -n 's/^stat::new_units_added: *//p' "$dir/log" | awk '{s += $1} END {print s + 0}')
  cov=$(grep -o 'cov: [0-9]*' "$dir/log" | tail -n 1 | cut -d' ' -f2)
  crashes=$(find "$dir/crashes" -type f | wc -l)
  printf '%-14s executions %-11s new inputs %-6s coverage %-6s crashes %s\n' \
    "$name" "$execs" "$added" "${cov:-0}" "$crashes"
  exit 0
fi

MINUTES=${1:?usage: sh scripts/fuzz.sh MINUTES [TARGET...]}
shift
TARGETS=${*:-$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')}

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DKORVALA_BUILD_TESTS=ON -DKORVALA_SANITIZE=ON -DKORVALA_FUZZ=ON
fi
# shellcheck disable=SC2046
nice cmake --build "$BUILD" --target $(for t in $TARGETS; do printf 'fuzz_%s ' "$t"; done)

echo "Fuzzing $(echo $TARGETS | wc -w) targets for $MINUTES minutes each, two at a time; output in $OUT"
for t in $TARGETS; do echo "$t"; done |
  xargs -P 2 -I {} sh "$ROOT/scripts/fuzz.sh" --one '{}' $(( MINUTES * 60 ))
