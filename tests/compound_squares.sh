#!/bin/sh
# The compound perfect squared squares of order 24: the published count
# both ways, every code checked, a range that starts below the levels'
# last order, and the codes of three parts together equal to the whole.
tool=$1
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
fail() { echo "$*"; exit 1; }

got=$("$tool" --enumerate 24 --compound --squares --count -j 2 | tail -n 1)
[ "$got" = "$(printf '24\t26\t0\t4\t30\t0\t1\t27')" ] || fail "counts: $got"

"$tool" --enumerate 19-24 --compound --squares -j 2 > "$scratch/whole" || fail "19-24 failed"
[ "$(wc -l < "$scratch/whole")" -eq 4 ] || fail "19-24 gave $(wc -l < "$scratch/whole") codes, not 4"
checked=$("$tool" --check --catalogue "$scratch/whole" |
    awk -F '\t' 'NR > 1 && $3 == 24 && $4 == $5 && $6 == "yes" && $7 == "yes" && $10 == "compound"' | wc -l)
[ "$checked" -eq 4 ] || fail "checked as compound perfect squares of order 24: $checked"

for k in 1 2 3; do
    "$tool" --enumerate 21-24 --compound --squares --part $k/3 > "$scratch/part$k" || fail "part $k failed"
done
sort -u "$scratch"/part* | cmp -s - "$scratch/whole" || fail "the parts together are not the whole"
