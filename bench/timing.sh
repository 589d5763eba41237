# Timing helpers shared by the benchmark scripts (sourced, not run).

# Wall seconds of one run of a command, its output discarded. Each timing
# starts with nothing left to write back, so that one command does not pay
# for the dirty pages of the one before it.
seconds() {
    local s e
    sync
    s=$(date +%s.%N)
    "$@" > /dev/null
    e=$(date +%s.%N)
    echo "$e - $s" | bc -l
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'; }

# keep_random_file NAME SIZE_MIB: NAME in the current folder holds SIZE_MIB MiB of
# random bytes, made once and kept for later runs (a marker says it is complete).
keep_random_file() {
    local name=$1 size=$2
    if [ ! -f ".complete-$size" ] || [ ! -f "$name" ]; then
        echo "Making a $size MiB $name in $(pwd) ..." >&2
        rm -f .complete-* "$name"
        head -c "$((size * 1024 * 1024))" /dev/urandom > "$name"
        touch ".complete-$size"
    fi
}
