#!/usr/bin/env bash
# The enumeration, timed with /usr/bin/time -v (wall clock, CPU and peak
# memory; the median of RUNS runs, one run past order 22):
#   - the c-nets with 21 edges (144,810), generated on one thread (cnet_rate);
#   - order 20, perfect and imperfect (1,482,874 rectangles): --count -j 2;
#   - the squared squares of orders 21, 22 and, up to ORDER, 23 and 24: -j 2.
#   bench/enumerate.sh [BUILD_DIR [RUNS [ORDER]]]     (defaults: build 3 22)
set -euo pipefail
. "$(dirname "$0")/tool.sh"
runs=${2:-3}
last=${3:-22}
[ -x /usr/bin/time ] || { echo "needs GNU time (Debian: time)" >&2; exit 1; }
cd "$work"

# measure COMMAND...: "wall-seconds cpu-seconds peak-MiB" of one run.
measure() {
    /usr/bin/time -v "$@" >out 2>time.txt
    awk -F': ' '
        /Elapsed \(wall clock\)/ { n = split($2, t, ":"); wall = 0; for (i = 1; i <= n; ++i) wall = wall * 60 + t[i] }
        /User time/ { cpu += $2 } /System time/ { cpu += $2 }
        /Maximum resident/ { mib = $2 / 1024 }
        END { printf "%.2f %.2f %.0f\n", wall, cpu, mib }' time.txt
}

# row TITLE N COMMAND...: the median of N runs by wall time, and what the last wrote.
row() {
    local title=$1 n=$2
    shift 2
    local i
    for ((i = 0; i < n; ++i)); do measure "$@"; done | sort -n | awk -v t="$title" -v n="$n" '
        { line[NR] = $0 } END { split(line[int((NR + 1) / 2)], m, " ");
        printf "| %s | %s s | %s s | %s MiB | %d |\n", t, m[1], m[2], m[3], n }'
    echo "    $(wc -l <out) lines: $(head -c 160 out | tr '\n\t' '; ')"
}

echo "| run | wall (median) | CPU | peak memory | runs |"
echo "|---|---|---|---|---|"
row "c-nets with 21 edges, one thread" "$runs" "$build/cnet_rate" 21
row "order 20, perfect and imperfect: --enumerate 20 --count -j 2" "$runs" "$tool" --enumerate 20 --count -j 2
row "order 21 squares: --enumerate 21 --squares -j 2" "$runs" "$tool" --enumerate 21 --squares -j 2
row "order 22 squares: --enumerate 22 --squares -j 2" 1 "$tool" --enumerate 22 --squares -j 2
for order in 23 24; do
    [ "$order" -le "$last" ] || continue
    row "order $order squares: --enumerate $order --squares -j 2" 1 "$tool" --enumerate "$order" --squares -j 2
done
