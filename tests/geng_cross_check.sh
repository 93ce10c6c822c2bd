#!/bin/sh
# nauty's general graph generator as an independent source of c-nets: for
# a few orders, every biconnected planar graph of order + 1 edges and
# minimum degree 3, through --graphs, gives the codes and counts of
# --enumerate.   geng_cross_check.sh SQUARES2TEX   (exits 77 without nauty)
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
    echo "order $order: $(cut -f2 "$work/enumerated") c-nets, the same codes and counts"
done
echo "ok: nauty's graphs give what --enumerate gives"
