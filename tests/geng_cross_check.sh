#!/bin/sh
# nauty's general graph generator as an independent source of c-nets: for
# a few orders, every biconnected planar graph of order + 1 edges and
# minimum degree 3, through --graphs, gives the codes and counts of
# --enumerate.   geng_cross_check.sh SQUARES2TEX REFERENCE.md   (exits 77 without nauty)
set -eu
tool=$1
command -v nauty-geng >/dev/null && command -v nauty-planarg >/dev/null ||
    { echo "skipped: nauty is not installed (Debian: nauty)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for order in 9 11 13 15; do
    edges=$((order + 1))
    # A plane graph has at most 3V - 6 edges; minimum degree 3 needs 2E >= 3V.
    v=$(((edges + 8) / 3))
    while [ $((3 * v)) -le $((2 * edges)) ]; do
        nauty-geng -Cq -d3 $v $edges:$edges
        v=$((v + 1))
    done | nauty-planarg -pq >"$work/graphs.pc"
    for kind in "" --imperfect "--imperfect --squares"; do
        "$tool" $kind --graphs "$work/graphs.pc" >"$work/from-graphs" 2>"$work/err"
        "$tool" $kind --enumerate $order >"$work/enumerated"
        cmp "$work/from-graphs" "$work/enumerated" ||
            { echo "order $order $kind: --graphs and --enumerate differ"; exit 1; }
        grep -q "graphs, not c-nets: [0-9]* not 3-connected, 0 not simple$" "$work/err" ||
            { echo "order $order: no line of skipped graphs"; cat "$work/err"; exit 1; }
    done
    "$tool" --count --graphs "$work/graphs.pc" >"$work/from-graphs" 2>/dev/null
    "$tool" --count --enumerate $order >"$work/enumerated"
    cmp "$work/from-graphs" "$work/enumerated" ||
        { echo "order $order: the counts differ"; exit 1; }
    echo "order $order: $(sed -n 2p "$work/enumerated" | cut -f2) c-nets, the same codes and counts"
done
# The reference's loop over the vertex counts, run as it is written, and
# the graphs of a file shared out by --part merge into the whole.
bin=$work/bin
mkdir "$bin"
ln -s "$(cd "$(dirname "$tool")" && pwd)/$(basename "$tool")" "$bin/squares2tex"
awk '/^order=13; edges=/ { on = 1 } on { print } on && /squares2tex --graphs -$/ { exit }' \
    "$2" >"$work/line.sh"
[ "$(wc -l <"$work/line.sh")" -eq 3 ] || { echo "the loop is not in the reference"; exit 1; }
PATH=$bin:$PATH sh "$work/line.sh" >"$work/from-line" 2>/dev/null
"$tool" --enumerate 13 >"$work/enumerated"
cmp "$work/from-line" "$work/enumerated" || { echo "the reference's loop differs"; exit 1; }
for k in 1 2 3; do "$tool" --graphs "$work/graphs.pc" --part $k/3 >"$work/part$k" 2>/dev/null; done
"$tool" --enumerate 15 >"$work/enumerated"
LC_ALL=C sort -m -u -k1,1n -k2,2n -k3,3n -k4 "$work"/part1 "$work"/part2 "$work"/part3 | cmp - "$work/enumerated" ||
    { echo "the parts of --graphs do not merge into the whole"; exit 1; }
echo "ok: nauty's graphs give what --enumerate gives"
