#!/bin/sh
# The trivially compound perfect rectangles of order n made another way:
# a square added on each side of every perfect rectangle of order n - 1,
# the perfect results deduplicated by --canonical, must be the codes of
# --enumerate n --compound --trivial, for n up to 13.
#   trivial_cross_check.sh SQUARES2TEX
set -eu
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for n in 10 11 12 13; do
    "$tool" --enumerate $((n - 1)) --all >pieces.txt
    # A code lists its squares level by level from the top, as a case
    # does: a square W wide first goes on top, one last below; a square H
    # high first goes on the left, one after the top level on the right.
    awk -v n="$n" '{
        w = $2; h = $3; s = $4
        top = substr(s, 2, index(s, ")") - 2); rest = substr(s, index(s, ")") + 1)
        gsub(/[(),]/, " ", s); gsub(/,/, " ", top); gsub(/[(),]/, " ", rest)
        print n, w, h + w, w, s
        print n, w, h + w, s, w
        print n, w + h, h, h, s
        print n, w + h, h, top, h, rest
    }' pieces.txt >cases.txt
    "$tool" --only perfect --canonical --catalogue cases.txt | LC_ALL=C sort -u -k1,1n -k2,2n -k3,3n -k4 >made.txt
    "$tool" --enumerate "$n" --compound --trivial >enumerated.txt
    cmp made.txt enumerated.txt || { echo "order $n: the two ways differ"; exit 1; }
    echo "ok: order $n, $(wc -l <made.txt) trivially compound"
done
