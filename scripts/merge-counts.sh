#!/bin/sh
# Merges the tables of `squares2tex --enumerate ... --count --part K/N`, one
# file a part, into exactly the table of the whole run; refuses, naming
# them, when parts are missing or given twice.
#   scripts/merge-counts.sh PART-FILE...
# A part's rows count the rectangles that no other c-net gives; the codes
# after them (perfect or imperfect, a tab, the code) are those that other
# c-nets, maybe of other parts, can give too: each is counted once, however
# many parts hold it. The codes go through sort, so the merge runs in
# bounded memory. Exit status 0 merged, 1 parts missing or not parts, 2 usage.
set -eu
me=merge-counts.sh
[ $# -ge 1 ] || { echo "usage: $me PART-FILE...   (the tables of --count --part K/N)" >&2; exit 2; }
for f in "$@"; do
    [ -f "$f" ] || { echo "$me: $f is not a file" >&2; exit 1; }
done

# Every file a part of one N, each K once.
awk -F'\t' -v me="$me" '
    FNR == 1 {
        if ($1 != "part" || split($2, kn, "/") != 2 || kn[1] !~ /^[0-9]+$/ || kn[2] !~ /^[0-9]+$/) {
            print me ": " FILENAME " is not the table of a part (--count --part K/N)" > "/dev/stderr"
            bad = 1; exit 1
        }
        if (n == "") n = kn[2]
        if (kn[2] != n) {
            print me ": " FILENAME " is a part of " kn[2] ", the others of " n > "/dev/stderr"
            bad = 1; exit 1
        }
        if (kn[1] in seen) {
            print me ": part " kn[1] " of " n " is given twice" > "/dev/stderr"
            bad = 1; exit 1
        }
        seen[kn[1]] = 1
    }
    END {
        if (bad) exit 1
        missing = ""; count = 0
        for (k = 1; k <= n; k++) if (!(k in seen)) { missing = missing " " k; count++ }
        if (count > 0) {
            print me ": " count " of " n " parts are missing, not merged; run them again:" missing > "/dev/stderr"
            exit 1
        }
    }' "$@"

# The parts' rows as they are, then a row of 1s for each distinct code.
{
    awk -F'\t' 'FNR > 2 && $1 ~ /^[0-9]+$/' "$@"
    awk -F'\t' '$1 == "perfect" || $1 == "imperfect"' "$@" | LC_ALL=C sort -u |
        awk -F'\t' '{
            split($2, n, " "); square = n[2] == n[3] ? 1 : 0
            if ($1 == "perfect") print n[1] "\t0\t1\t0\t" square "\t0"
            else print n[1] "\t0\t0\t1\t0\t" square
        }'
} | awk -F'\t' '
    {
        if (!($1 in rows)) rows[$1] = 1
        for (c = 2; c <= 6; c++) {
            key = $1 SUBSEP c
            if ($c == "-" || sum[key] == "-") sum[key] = "-"; else sum[key] += $c
        }
    }
    END {
        for (order in rows) {
            line = order
            for (c = 2; c <= 6; c++) {
                v = sum[order, c]
                line = line "\t" (v == "-" ? "-" : v + 0)
            }
            print line
        }
    }' | LC_ALL=C sort -n -k1,1 |
    { printf 'order\tc-nets\tperfect\timperfect\tperfect squares\timperfect squares\n'; cat; }
