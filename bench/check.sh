#!/usr/bin/env bash
# Checks the benchmark material against squares2tex:
# - bench/baseline.c writes the same squares.tex, byte for byte, for the
#   examples and for random cases whose squares fit the width (dissections
#   and not, widths from 1 to a million);
# - every case that bench/gen.py generates is a true dissection, as
#   squares2tex --check finds it.
#   bench/check.sh SQUARES2TEX [CASES]      (CASES random cases, default 300)
# Exits 77 (skipped) without a C compiler or python3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=$(realpath "$1")
cases=${2:-300}
cc=${CC:-cc}

for program in "$cc" python3; do
    command -v "$program" >/dev/null || { echo "skipped: $program is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cc" -O2 -o "$work/baseline" "$here/baseline.c"
gen() { python3 "$here/gen.py" "$@"; }
mkdir "$work/ours" "$work/base"
failures=0

# same_document CASE_FILE NAME: both converters, the same document.
same_document() {
    (cd "$work/ours" && "$tool" "$1" >/dev/null 2>&1)
    # The baseline reads plain numbers only: brackets and commas to blanks.
    tr '()[],' '     ' <"$1" >"$work/plain.txt"
    (cd "$work/base" && "$work/baseline" "$work/plain.txt" >/dev/null) || true
    if ! cmp -s "$work/ours/squares.tex" "$work/base/squares.tex"; then
        echo "FAILED: the baseline's document differs for $2: $(head -c 200 "$1")"
        failures=$((failures + 1))
    fi
}

# no_warnings CASE_FILE NAME: squares2tex finds a true dissection (the
# check's status 0 and nothing on standard error; the drawing's own warning
# of a picture the A4 page cannot show is no concern here).
no_warnings() {
    if ! (cd "$work/ours" && "$tool" --check "$1" >"$work/stdout" 2>"$work/stderr") ||
        [ -s "$work/stderr" ]; then
        echo "FAILED: $2 is not a dissection: $(tail -n 1 "$work/stdout") $(head -n 3 "$work/stderr")"
        failures=$((failures + 1))
    fi
}

compared=0
for example in "$here"/../examples/*.txt; do
    same_document "$example" "$(basename "$example")"
    compared=$((compared + 1))
done
number=0
while read -r line; do
    number=$((number + 1))
    echo "$line" >"$work/case.txt"
    same_document "$work/case.txt" "mixed case $number"
    compared=$((compared + 1))
done < <(gen mixed "$cases" 1)

dissections=0
# Each line of a catalogue, alone, as a case file; the baseline too.
number=0
while read -r line; do
    number=$((number + 1))
    echo "$line" >"$work/case.txt"
    no_warnings "$work/case.txt" "catalogue line $number"
    same_document "$work/case.txt" "catalogue line $number"
    dissections=$((dissections + 1))
    compared=$((compared + 1))
done < <(gen catalogue "$cases" 9 40 2)
# The other generators, at sizes that keep this quick.
for args in "grid 60 3 20" "jagged 300 4" "wide 2000000000 1000000" "bands 360 30 3" \
            "dissection 2000 4" "dissection 10000 5"; do
    # shellcheck disable=SC2086
    gen $args >"$work/case.txt"
    no_warnings "$work/case.txt" "gen.py $args"
    dissections=$((dissections + 1))
    if [ "${args%% *}" != wide ]; then
        same_document "$work/case.txt" "gen.py $args"
        compared=$((compared + 1))
    fi
done

echo "$compared documents compared with the baseline, $dissections generated cases checked as dissections, $failures failed"
[ "$failures" = 0 ]
