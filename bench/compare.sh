#!/usr/bin/env bash
# Times squares2tex against the direct baseline converter (bench/baseline.c,
# built with gcc -O2) on cases from bench/gen.py, in one run on one machine:
# wall time best of three, peak memory, identical documents checked.
#   bench/compare.sh [BUILD_DIR]     (default: build)
# Needs gcc (or CC) and python3; peak memory needs /usr/bin/time (Debian: time).
set -euo pipefail
. "$(dirname "$0")/tool.sh"
"${CC:-gcc}" -O2 -o "$work/baseline" "$here/bench/baseline.c"
mkdir "$work/run"
timer=""
[ -x /usr/bin/time ] && timer=/usr/bin/time

# best_of PROGRAM CASE [OPTION...]: prints "seconds peak_kb" (best wall
# time to the millisecond, and the largest peak memory of the three runs,
# or - without /usr/bin/time)
best_of() {
    local best="" mem=0 start end t m
    for _ in 1 2 3; do
        start=$EPOCHREALTIME
        if [ -n "$timer" ]; then
            ( cd "$work/run" && "$timer" -f "%M" -o "$work/t" "$1" "${@:3}" "$2" >/dev/null 2>&1 )
        else
            ( cd "$work/run" && "$1" "${@:3}" "$2" >/dev/null 2>&1 )
        fi
        end=$EPOCHREALTIME
        t=$(awk "BEGIN{printf \"%.3f\", $end - $start}")
        if [ -n "$timer" ]; then
            read -r m <"$work/t"
            [ "$m" -gt "$mem" ] && mem=$m
        fi
        if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    done
    [ -n "$timer" ] || mem="-"
    echo "$best $mem"
}

megabytes() {
    if [ "$1" = "-" ]; then echo "-"; else awk "BEGIN{printf \"%.1f\", $1/1024}"; fi
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
    # shellcheck disable=SC2086 # the two pairs split into four fields
    set -- $b $o
    local ratio="-"
    # Below 0.02 s process start-up swamps the work: no ratio.
    if [ "$1" != "-" ] && awk "BEGIN{exit !($3 >= 0.02)}"; then
        ratio=$(awk "BEGIN{printf \"%.1fx\", $1 / $3}")
    fi
    local base_time="-"
    [ "$1" = "-" ] || base_time="$1s"
    printf '%-34s %10s %9ss %8s %10s %10s\n' "$name" "$base_time" "$3" "$ratio" "$(megabytes "$2")" "$(megabytes "$4")"
}

gen() { python3 "$here/bench/gen.py" "$@"; }
gen grid 1000 1 1000 >"$work/grid.txt"
gen jagged 30000 10 >"$work/jagged.txt"
gen wide 2000000000 1000000 >"$work/wide.txt"
run "grid 1000 1 1000 (10^6 squares)" "$work/grid.txt"
run "jagged 30000 10 (3*10^5 squares)" "$work/jagged.txt"
# The baseline would need 8 GB of depths and hours of scanning here.
run "wide 2000000000 1000000" "$work/wide.txt" skip-baseline
run "nine squares (33 x 32)" "$here/examples/nine-squares.txt"

# The PDF drawing costs no more than the tex document: the grid in both
# (the PDF places the squares twice, to know its page's size first).
tex=$(best_of "$tool" "$work/grid.txt")
pdf=$(best_of "$tool" "$work/grid.txt" -o squares.pdf)
# shellcheck disable=SC2086 # the two pairs split into four fields
set -- $tex $pdf
printf '\n%-34s %10s %10s %8s %10s %10s\n' workload "tex" "pdf" "pdf/tex" "tex MB" "pdf MB"
printf '%-34s %9ss %9ss %8s %10s %10s\n\n' "grid 1000 1 1000 (10^6 squares)" "$1" "$3" \
    "$(awk "BEGIN{printf \"%.2fx\", $3 / $1}")" "$(megabytes "$2")" "$(megabytes "$4")"

# Start-up matters when a script runs the tool once per case: 200 runs one
# after another.
many() {
    (
        cd "$work/run"
        start=$EPOCHREALTIME
        for _ in $(seq 200); do "$1" "$2" >/dev/null; done
        end=$EPOCHREALTIME
        awk "BEGIN{printf \"%.3f\", $end - $start}"
    )
}
# Three rounds, the two programs in turn, best round of each: a shared
# machine's slow spells then hit both alike.
b="" o=""
for _ in 1 2 3; do
    t=$(many "$work/baseline" "$here/examples/nine-squares.txt")
    if [ -z "$b" ] || awk "BEGIN{exit !($t < $b)}"; then b=$t; fi
    t=$(many "$tool" "$here/examples/nine-squares.txt")
    if [ -z "$o" ] || awk "BEGIN{exit !($t < $o)}"; then o=$t; fi
done
printf '%-34s %9ss %9ss %8s\n' "nine squares, 200 runs" "$b" "$o" "$(awk "BEGIN{printf \"%.2fx\", $b/$o}")"
