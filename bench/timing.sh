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
