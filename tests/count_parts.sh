#!/bin/sh
# Counts of parts merged by scripts/merge-counts.sh are the whole run's
# table, for any number of parts and kinds; a set with a part missing or
# given twice is refused.
#   count_parts.sh SQUARES2TEX SOURCE-DIR
set -eu
tool=$1
merge=$2/scripts/merge-counts.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for kind in "" "--imperfect" "--squares"; do
    "$tool" --enumerate 15-17 --count $kind >whole.tsv
    for n in 1 3 7; do
        for k in $(seq "$n"); do "$tool" --enumerate 15-17 --count $kind --part "$k/$n" -j 2 >"part-$k.tsv"; done
        [ "$n" -eq 1 ] && { cmp part-1.tsv whole.tsv || { echo "--part 1/1 is not the whole run"; exit 1; }; continue; }
        sh "$merge" part-*.tsv >merged.tsv
        cmp merged.tsv whole.tsv || { echo "$n parts $kind differ from the whole:"; cat merged.tsv; exit 1; }
    done
    rm part-*.tsv
done
"$tool" --enumerate 16 --count --part 1/2 >a.tsv
if sh "$merge" a.tsv a.tsv 2>err.txt; then echo "a part given twice was merged"; exit 1; fi
grep -q "part 1 of 2 is given twice" err.txt
if sh "$merge" a.tsv 2>err.txt; then echo "a set with a part missing was merged"; exit 1; fi
grep -q "1 of 2 parts are missing, not merged; run them again: 2" err.txt
echo "ok: the parts' counts merge into the whole table"
