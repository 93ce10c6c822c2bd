#!/usr/bin/env bash
# Times squares2tex against the direct baseline converter on the standard
# workloads, in one run on one machine: wall time best of three, peak memory.
#   bench/compare.sh [BUILD_DIR]     (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
shared="$here/../shared/bench"
tool="$build/squares2tex"
[ -x "$tool" ] || { echo "build squares2tex first: $tool is missing" >&2; exit 1; }
[ -f "$shared/baseline.c" ] || { echo "no baseline at $shared" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gcc -O2 -o "$work/baseline" "$shared/baseline.c"
mkdir "$work/run"

# best_of PROGRAM CASE: prints "seconds peak_kb" (best wall time to the
# millisecond, and the largest peak memory of the three runs)
best_of() {
    local best="" mem=0 start end t m
    for _ in 1 2 3; do
        start=$EPOCHREALTIME
        ( cd "$work/run" && /usr/bin/time -f "%M" -o "$work/t" "$1" "$2" >/dev/null )
        end=$EPOCHREALTIME
        t=$(awk "BEGIN{printf \"%.3f\", $end - $start}")
        read -r m <"$work/t"
        [ "$m" -gt "$mem" ] && mem=$m
        if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    done
    echo "$best $mem"
}

printf '%-34s %10s %10s %8s %10s %10s\n' workload baseline ours ratio "base MB" "ours MB"
run() {
    local name=$1 file=$2 skip_baseline=${3:-}
    local b="- -" o
    o=$(best_of "$tool" "$file")
    cp "$work/run/squares.tex" "$work/ours.tex"
    if [ -z "$skip_baseline" ]; then
        b=$(best_of "$work/baseline" "$file")
        cmp -s "$work/run/squares.tex" "$work/ours.tex" || { echo "documents differ for $name" >&2; exit 1; }
    fi
    set -- $b $o
    local ratio="-"
    # Below 0.02 s process start-up swamps the work: no ratio.
    if [ "$1" != "-" ] && awk "BEGIN{exit !($3 >= 0.02)}"; then
        ratio=$(awk "BEGIN{printf \"%.1fx\", $1 / $3}")
    fi
    local bm="-"
    [ "$2" != "-" ] && bm=$(awk "BEGIN{printf \"%.1f\", $2/1024}")
    printf '%-34s %9ss %9ss %8s %10s %10s\n' "$name" "$1" "$3" "$ratio" "$bm" "$(awk "BEGIN{printf \"%.1f\", $4/1024}")"
}

python3 "$shared/gen.py" grid 1000 1 1000 >"$work/grid.txt"
python3 "$shared/gen.py" jagged 30000 10 >"$work/jagged.txt"
python3 "$shared/gen.py" wide 2000000000 1000000 >"$work/wide.txt"
run "grid 1000 1 1000 (10^6 squares)" "$work/grid.txt"
run "jagged 30000 10 (3*10^5 squares)" "$work/jagged.txt"
run "wide 2000000000 1000000" "$work/wide.txt" skip-baseline
run "nine squares (33 x 32)" "$here/examples/nine-squares.txt"

# Start-up matters when a script runs the tool once per case: 200 runs.
many() {
    (
        cd "$work/run"
        start=$(date +%s.%N)
        for _ in $(seq 200); do "$1" "$2" >/dev/null; done
        end=$(date +%s.%N)
        awk "BEGIN{printf \"%.3f\", $end - $start}"
    )
}
b=$(many "$work/baseline" "$here/examples/nine-squares.txt")
o=$(many "$tool" "$here/examples/nine-squares.txt")
printf '%-34s %9ss %9ss %8s\n' "nine squares, 200 runs" "$b" "$o" "$(awk "BEGIN{printf \"%.2fx\", $b/$o}")"
