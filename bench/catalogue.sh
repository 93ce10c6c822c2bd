#!/usr/bin/env bash
# Catalogue runs, timed in one run on one machine (wall time, the median of
# five runs unless said otherwise; runs of the commands compared take turns):
#   - --check of 1,000,000 random dissections of 20 to 50 squares on one
#     thread, and against the same on two threads;
#   - 10,000 codes of order 20 to 40 drawn as SVG into a directory (with
#     its gallery) on one thread and on two, and as one PDF book;
#   - the same drawn by one run per code from a shell loop (one run: it is slow);
#   - --canonical of 100,000 codes of order 20 to 50, against --check of them;
#   - --check in 8 parts with GNU parallel, against one run (if parallel is there);
#   - --check of one dissection of 1,000, 2,000, 4,000 and 8,000 squares.
# With a second squares2tex (an earlier release), its --check of the million
# codes is timed too: the figure before.
#   bench/catalogue.sh [BUILD_DIR [EARLIER_SQUARES2TEX]]     (default: build)
set -euo pipefail
. "$(dirname "$0")/tool.sh"
earlier=${2:+$(cd "$(dirname "$2")" && pwd)/$(basename "$2")}
cd "$work"

# seconds COMMAND...: the wall time of one run, to the millisecond.
seconds() {
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null
    end=$EPOCHREALTIME
    awk "BEGIN{printf \"%.3f\", $end - $start}"
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# pair A B: the medians of five runs of the commands A and B (each a string
# for eval), taking turns, printed as "A B".
pair() {
    local a b i
    for i in 1 2 3 4 5; do
        a+="$(seconds eval "$1") "
        b+="$(seconds eval "$2") "
    done
    echo "$(tr ' ' '\n' <<<"$a" | grep . | median) $(tr ' ' '\n' <<<"$b" | grep . | median)"
}

row() { printf '%-52s %9ss   %s\n' "$1" "$2" "${3:-}"; }
ratio() { awk "BEGIN{printf \"$3\", $1 / $2}"; }

# Every run draws into a new directory and nothing is deleted until the end:
# ext4 creates files slowly for a while after many were deleted, which
# would blur the comparison.
fresh() { mktemp -d -p "$work"; }

python3 "$here/bench/gen.py" catalogue 1000000 20 50 2 >million.txt
read -r one two < <(pair "'$tool' -j 1 --check --catalogue million.txt" \
    "'$tool' -j 2 --check --catalogue million.txt")
row "--check of 1,000,000 codes, one thread" "$one"
row "the same, two threads" "$two" "$(ratio "$one" "$two" "%.2fx faster")"
if [ -n "$earlier" ]; then
    read -r before now < <(pair "'$earlier' --check --catalogue million.txt" \
        "'$tool' -j 1 --check --catalogue million.txt")
    row "the same, one thread, by $("$earlier" --version)" "$before" \
        "$(ratio "$before" "$now" "this build %.1fx faster on one thread")"
fi

python3 "$here/bench/gen.py" catalogue 10000 20 40 1 >codes.txt
read -r one two < <(pair "'$tool' -j 1 -f svg -d \$(fresh) --catalogue codes.txt" \
    "'$tool' -j 2 -f svg -d \$(fresh) --catalogue codes.txt")
row "10,000 codes as SVG with a gallery, one thread" "$one"
row "the same, two threads" "$two" "$(ratio "$one" "$two" "%.2fx faster")"
read -r svg book < <(pair "'$tool' -f svg -d \$(fresh) --catalogue codes.txt" \
    "'$tool' -o book.pdf --catalogue codes.txt")
row "10,000 codes as one PDF book, every core" "$book" \
    "$(ratio "$book" "$svg" "%.2fx the time of the SVG drawings ($svg s)")"

one_run_per_code() {
    mkdir loop
    local n=0 line
    while IFS= read -r line; do
        n=$((n + 1))
        printf '%s\n' "$line" >one.txt
        "$tool" -f svg -o "loop/$n.svg" one.txt
    done <codes.txt
}
apart=$(seconds one_run_per_code)
[ "$(ls loop | wc -l)" = 10000 ] || { echo "the drawings are not all there" >&2; exit 1; }
row "10,000 codes as SVG, one run per code" "$apart" \
    "$(ratio "$apart" "$svg" "the catalogue run is %.0fx faster")"

python3 "$here/bench/gen.py" catalogue 100000 20 50 2 >codes.txt
read -r checked canonical < <(pair "'$tool' --check --catalogue codes.txt" \
    "'$tool' --canonical --catalogue codes.txt")
row "--check of 100,000 codes of order 20 to 50" "$checked"
row "--canonical of the same codes" "$canonical" \
    "$(ratio "$canonical" "$checked" "%.2fx the time of --check")"

if command -v parallel >/dev/null; then
    read -r whole parts < <(pair "'$tool' --check --catalogue million.txt >whole.tsv" \
        "parallel -k '$tool' --check --part {}/8 --catalogue million.txt ::: \$(seq 8) >parts.tsv")
    cmp -s whole.tsv parts.tsv || { echo "the parts differ from the whole" >&2; exit 1; }
    row "--check of the million codes in 8 parts, GNU parallel" "$parts" \
        "$(ratio "$parts" "$whole" "%.2fx the time of one run ($whole s), the same table")"
fi

previous=""
for order in 1000 2000 4000 8000; do
    python3 "$here/bench/gen.py" dissection "$order" 3 >one.txt
    read -r t _ < <(pair "'$tool' --check one.txt" "true")
    growth=""
    [ -z "$previous" ] || growth=$(ratio "$t" "$previous" "x%.1f for twice the squares")
    row "--check of one dissection of about $order squares" "$t" "$growth"
    previous=$t
done
