#!/bin/sh
# The README's line that spreads a check over parts with GNU parallel, run
# as written: the parts together make the table of one whole run.
#   parallel_parts.sh SQUARES2TEX      (exits 77 without GNU parallel)
set -eu
command -v parallel >/dev/null || { echo "skipped: GNU parallel is not installed (Debian: parallel)"; exit 77; }
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
ln -s "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" "$bin/squares2tex"
PATH=$bin:$PATH
cd "$bin"
i=0
while [ $i -lt 300 ]; do
    printf '9 33 32 18 15 7 8 14 4 10 1 9\n# a comment\n5 4 3 1 1 2 1 3\n3 3 2 2 1 x\n\n' >>cat.txt
    i=$((i + 1))
done
parallel -k squares2tex --check --part {}/8 --catalogue cat.txt ::: $(seq 8) >cat.tsv 2>parts.err </dev/null || true
squares2tex --check --catalogue cat.txt >whole.tsv 2>whole.err || true
cmp cat.tsv whole.tsv && cmp parts.err whole.err && [ "$(wc -l <cat.tsv)" -eq 901 ] ||
    { echo "the parts differ from the whole"; exit 1; }
echo "ok: 8 parts through GNU parallel make the whole table"
