#!/usr/bin/env bash
# Duplicate Finder speed and memory against the tools a user would otherwise
# pick, on the same trees in one run (files in the page cache), runs of the
# four programs interleaved so that a busy machine slows all of them alike:
#   20,000 files / 2.3 GB with real duplicates:
#     korvala-cli dupes --recursive ROOT  vs  jdupes -r, fdupes -r, rmlint   (target <= 1.0x the fastest)
#   1,000,000 small files:
#     korvala-cli dupes --recursive ROOT, peak resident memory               (target < 300 MB)
#
# What is compared: korvala-cli lists the groups as the Duplicate Finder's
# grid does (first cut by size, one CRC-32 read of each remaining file). The
# byte-for-byte confirmation happens only for files that are about to go to
# the trash, so it is not part of a listing; jdupes and fdupes confirm every
# match byte for byte while listing, rmlint hashes (and reads) in its own way.
#
# Usage: bench/duplicates/dupes_bench.sh [BUILD_DIR] [ROOT] [RUNS] [SMALL_ROOT]
# The trees are made once (ROOT default /tmp/korvala-dupes-bench, SMALL_ROOT
# default /tmp/korvala-dupes-small) and kept for later runs.
set -euo pipefail

BUILD_DIR=${1:-build}
ROOT=${2:-/tmp/korvala-dupes-bench}
RUNS=${3:-5}
SMALL=${4:-/tmp/korvala-dupes-small}
CLI="$(realpath "$BUILD_DIR")/cli/korvala-cli"
[ -x "$CLI" ] || { echo "korvala-cli not found in $BUILD_DIR (build the korvala-cli target)" >&2; exit 2; }
for tool in jdupes fdupes rmlint; do
    command -v "$tool" > /dev/null || { echo "$tool is missing (apt-get install jdupes fdupes rmlint)" >&2; exit 2; }
done

if [ ! -f "$ROOT/.complete" ]; then
    echo "Making the tree in $ROOT ..." >&2
    rm -rf "$ROOT"
    mkdir -p "$ROOT"
    python3 - "$ROOT" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(11)
# 20,000 files, about 2.3 GB: sizes from half a KiB to 4 MiB (most small, a
# few big ones carry most of the bytes), about a third of them copies of another file, and
# many files of equal size but different content, so that the size cut alone
# does not decide.
originals = []
total = 0
n = 0
folders = [os.path.join(root, "d%03d" % i, "s%02d" % j) for i in range(50) for j in range(8)]
for f in folders:
    os.makedirs(f)
def size_of():
    r = rng.random()
    if r < 0.60:
        return rng.choice([512, 1024, 2048, 4096, 8192]) + rng.randrange(0, 4) * 7
    if r < 0.975:
        return rng.randrange(16 << 10, 256 << 10)
    return rng.randrange(1 << 20, 4 << 20)
while n < 20000:
    folder = folders[n % len(folders)]
    path = os.path.join(folder, "f%05d.bin" % n)
    if originals and rng.random() < 0.33:
        src = rng.choice(originals)
        with open(src, "rb") as s, open(path, "wb") as d:
            d.write(s.read())
        total += os.path.getsize(src)
    else:
        size = size_of()
        with open(path, "wb") as d:
            d.write(rng.randbytes(size))
        total += size
        originals.append(path)
    n += 1
print(n, "files,", total // (1 << 20), "MiB", file=sys.stderr)
PY
    touch "$ROOT/.complete"
fi
echo "tree: $(find "$ROOT" -type f -name '*.bin' | wc -l) files, $(du -sm "$ROOT" | cut -f1) MiB"
# Into the page cache.
find "$ROOT" -type f -exec cat {} + > /dev/null

RMLINT_OUT=$(mktemp -d)
trap 'rm -rf "$RMLINT_OUT"' EXIT
run_ours()   { "$CLI" dupes --recursive "$ROOT"; }
run_jdupes() { jdupes -r -q "$ROOT"; }
run_fdupes() { fdupes -r -q "$ROOT"; }
# rmlint looks for duplicates only (-T df), writes its list to stdout and no
# script into the working folder.
run_rmlint() { (cd "$RMLINT_OUT" && rmlint -T df -o fdupes "$ROOT"); }

# Same answers first: how many files each program calls a duplicate (in a
# group of two or more).
ours_files=$(run_ours 2>/dev/null | wc -l)
jdupes_files=$(run_jdupes 2>/dev/null | grep -c . || true)
fdupes_files=$(run_fdupes 2>/dev/null | grep -c . || true)
rmlint_files=$(run_rmlint 2>/dev/null | grep -c . || true)
echo "files in groups: korvala $ours_files, jdupes $jdupes_files, fdupes $fdupes_files, rmlint $rmlint_files"

# Wall time, and processor time (user + system) of the run, which a busy
# machine disturbs less.
declare -A times cpus
for name in ours jdupes fdupes rmlint; do times[$name]=""; cpus[$name]=""; done
TIMING=$(mktemp)
for ((i = 0; i < RUNS; i++)); do
    for name in ours jdupes fdupes rmlint; do
        /usr/bin/time -o "$TIMING" -f "%e %U %S" bash -c "$(declare -f "run_$name"); CLI='$CLI' ROOT='$ROOT' RMLINT_OUT='$RMLINT_OUT' run_$name" > /dev/null 2>&1 || true
        read -r wall user sys < "$TIMING"
        times[$name]+="$wall "
        cpus[$name]+="$(echo "$user + $sys" | bc -l) "
    done
done
rm -f "$TIMING"
median() { printf '%s\n' $1 | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'; }
fastest=""
fastest_cpu=""
for name in jdupes fdupes rmlint; do
    m=$(median "${times[$name]}")
    c=$(median "${cpus[$name]}")
    printf '%-8s wall %7.3f s  cpu %7.3f s   (wall runs: %s)\n' "$name" "$m" "$c" "${times[$name]}"
    if [ -z "$fastest" ] || [ "$(echo "$m < $fastest" | bc -l)" = 1 ]; then fastest=$m; fi
    if [ -z "$fastest_cpu" ] || [ "$(echo "$c < $fastest_cpu" | bc -l)" = 1 ]; then fastest_cpu=$c; fi
done
ours=$(median "${times[ours]}")
ours_cpu=$(median "${cpus[ours]}")
printf '%-8s wall %7.3f s  cpu %7.3f s   (wall runs: %s)\n' korvala "$ours" "$ours_cpu" "${times[ours]}"
printf 'ratio to the fastest: wall %.2fx, cpu %.2fx (target <= 1.0x)\n' "$(echo "$ours / $fastest" | bc -l)" \
    "$(echo "$ours_cpu / $fastest_cpu" | bc -l)"

# Peak memory over a million small files.
if [ ! -f "$SMALL/.complete" ]; then
    echo "Making 1,000,000 small files in $SMALL ..." >&2
    rm -rf "$SMALL"
    mkdir -p "$SMALL"
    python3 - "$SMALL" <<'PY'
import os, sys
root = sys.argv[1]
# 1,000 folders of 1,000 files of 1 to 64 bytes: every size is shared, and
# about every other file has a copy somewhere.
for d in range(1000):
    folder = os.path.join(root, "d%04d" % d)
    os.mkdir(folder)
    for i in range(1000):
        k = (d * 1000 + i) % 500000
        with open(os.path.join(folder, "file%04d.txt" % i), "wb") as f:
            f.write(b"%d\n" % k)
PY
    touch "$SMALL/.complete"
fi
python3 - "$CLI" "$SMALL" <<'PY'
import resource, subprocess, sys, time
start = time.time()
out = subprocess.run([sys.argv[1], "dupes", "--recursive", sys.argv[2]], stdout=subprocess.PIPE,
                     stderr=subprocess.DEVNULL)
took = time.time() - start
rows = out.stdout.count(b"\n")
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print("1,000,000 small files: %d rows in %.1f s, peak resident memory %.0f MB (target < 300 MB)" % (rows, took, peak))
PY
