#!/bin/sh
# --stats on the tool's own enumeration: the least simple perfect squared
# squares of orders 21 and 22 (OEIS A129947: 112, 110), counts by order
# that agree with --enumerate --count, the corner columns against a model,
# and --enumerate --stats as the codes piped into --stats give it.
# and the histogram of -f svg read back against the codes.
#   stats_table.sh SQUARES2TEX MODEL.py HISTOGRAM_CHECK.py
set -eu
tool=$1
model=$2
histogram_check=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$1"; exit 1; }
"$tool" --enumerate 21-22 --squares | "$tool" --stats --catalogue - | cut -f1,4,8 >squares.tsv
printf 'order\tsquares\tleast square\n21\t1\t112\n22\t8\t110\n' | cmp -s - squares.tsv ||
    fail "the least squared squares: $(cat squares.tsv)"
"$tool" --enumerate 9-14 >codes.txt
"$tool" --enumerate 9-14 --count | tail -n +2 | cut -f1,3 >counts.tsv
"$tool" -j 3 --stats --catalogue codes.txt | tail -n +2 | cut -f1,2 | cmp -s - counts.tsv ||
    fail "not the counts of --enumerate --count"
printf '4 2 2 1 1 1 1\n3 3 2 2 1 1\n9 33 32 18 15 7 8 14 4 10 1 9\n' |
    "$tool" --stats --catalogue - | tail -n +2 >mixed.tsv
printf '3\t1\t0\t0\t1\t3x2\t3x2\t-\t-\t1\t1\t0\t1\n4\t1\t0\t1\t1\t2x2\t2x2\t2\t2\t1\t0\t0\t1\n9\t1\t1\t0\t0\t33x32\t33x32\t-\t-\t1\t1\t1\t0\n' |
    cmp -s - mixed.tsv || fail "kinds and sizes: $(cat mixed.tsv)"
"$tool" --stats --catalogue codes.txt >codes.tsv
"$tool" --enumerate 9-14 --stats | cmp -s - codes.tsv || fail "--enumerate --stats differs"
"$tool" --enumerate 9-12 --compound >compound.txt
"$tool" --stats --catalogue compound.txt >compound.tsv
"$tool" --enumerate 9-12 --compound --stats | cmp -s - compound.tsv ||
    fail "--enumerate --compound --stats differs"
for kind in codes compound; do
    python3 "$model" <$kind.txt >$kind.model
    tail -n +2 $kind.tsv | cut -f1,10- | cmp -s - $kind.model ||
        fail "$kind: corners differ from the model"
done
"$tool" --enumerate 9-14 --stats -f svg -o codes.svg
python3 "$histogram_check" codes.svg codes.txt >/dev/null || fail "--enumerate's histogram"
"$tool" --stats --catalogue compound.txt -o compound.svg
python3 "$histogram_check" compound.svg compound.txt >/dev/null || fail "a catalogue's histogram"
echo "ok: A129947 at orders 21 and 22, counts as --count gives them, corners as the model, histograms as the codes"
