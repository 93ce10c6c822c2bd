#!/bin/sh
# --with-smith end to end: each gallery entry shows its case's drawing and
# its Smith diagram, the very file -f smith draws of that case alone; a run
# without the option removes the diagrams by the record; each book page
# draws a diagram with an edge per square.
#   with_smith.sh SQUARES2TEX
set -eu
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$1"; exit 1; }
"$tool" --enumerate 9-11 >codes.txt
cases=$(wc -l <codes.txt)
"$tool" -q --catalogue codes.txt -f svg -d g --with-smith
n=0
while read -r line; do
    n=$((n + 1))
    name=$(printf '%06d-%s-%s' $n "$(echo "$line" | cut -d' ' -f1)" "$(echo "$line" | cut -d' ' -f2,3 | tr ' ' x)")
    echo "$line" >one.txt
    "$tool" -q -f smith -o one.svg one.txt
    cmp -s one.svg "g/$name-smith.svg" || fail "case $n: not the diagram of -f smith"
    grep -q "<a href=\"$name.svg\">.*<a href=\"$name-smith.svg\">" g/page-000001.html ||
        fail "case $n: the entry does not show both"
done <codes.txt
[ "$(grep -o 'class="picture smith"' g/page-000001.html | wc -l)" -eq "$cases" ] ||
    fail "not one diagram an entry"
"$tool" -q --catalogue codes.txt -f svg -d g
! ls g | grep -q smith || fail "the diagrams outlived a run without --with-smith"
"$tool" -q --catalogue codes.txt -f pdf -o book.pdf --with-smith
cut -d' ' -f1 codes.txt >orders.txt
python3 -c '
import re, sys
book = open("book.pdf", "rb").read().decode("latin-1")
edges = [len(re.findall(r" l S\n", b)) for b in re.findall(r"/Edge BMC\n(.*?)EMC", book, re.S)]
print("\n".join(map(str, edges)))' | cmp -s - orders.txt || fail "the book: not a diagram a page with an edge a square"
echo "ok: $cases gallery entries and book pages with their Smith diagrams"
