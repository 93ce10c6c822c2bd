#!/usr/bin/env bash
# Catalogue runs, timed in one run on one machine (wall time, best of three
# unless said otherwise):
#   - 10,000 codes of order 20 to 40 drawn as SVG by one catalogue run (best
#     of two, one before and one after), against one run per code from a
#     shell loop (one run: it is slow);
#   - --check of 100,000 such codes;
#   - --canonical of 100,000 codes of order 20 to 50, against --check of them;
#   - --check of one dissection of 1,000, 2,000, 4,000 and 8,000 squares.
#   bench/catalogue.sh [BUILD_DIR]     (default: build)
set -euo pipefail
. "$(dirname "$0")/tool.sh"
cd "$work"

# seconds COMMAND...: the wall time of one run, to the millisecond.
seconds() {
    local start end
    start=$EPOCHREALTIME
    "$@" >/dev/null
    end=$EPOCHREALTIME
    awk "BEGIN{printf \"%.3f\", $end - $start}"
}

# best COMMAND...: the best of three runs.
best() {
    local b="" t
    for _ in 1 2 3; do
        t=$(seconds "$@")
        if [ -z "$b" ] || awk "BEGIN{exit !($t < $b)}"; then b=$t; fi
    done
    echo "$b"
}

# Every run draws into a new directory and nothing is deleted until the end:
# ext4 creates files slowly for a while after many were deleted, which
# would blur the comparison.
one_run_per_code() {
    mkdir loop
    local n=0 line
    while IFS= read -r line; do
        n=$((n + 1))
        printf '%s\n' "$line" >one.txt
        "$tool" -f svg -o "loop/$n.svg" one.txt
    done <codes.txt
}

python3 "$here/bench/gen.py" catalogue 10000 20 40 1 >codes.txt
together=$(seconds "$tool" -f svg -d drawn1 --catalogue codes.txt)
apart=$(seconds one_run_per_code)
t=$(seconds "$tool" -f svg -d drawn2 --catalogue codes.txt) && awk "BEGIN{exit !($t < $together)}" && together=$t
[ "$(ls drawn1 | wc -l)" = 10001 ] && [ "$(ls loop | wc -l)" = 10000 ] ||
    { echo "the drawings are not all there" >&2; exit 1; }
cmp -s drawn1/000001-*.svg loop/1.svg || { echo "the drawings differ" >&2; exit 1; }
printf '%-46s %9ss\n' "10,000 codes as SVG, one catalogue run" "$together"
printf '%-46s %9ss   %s\n' "10,000 codes as SVG, one run per code" "$apart" \
    "$(awk "BEGIN{printf \"catalogue run %.1fx faster\", $apart / $together}")"

python3 "$here/bench/gen.py" catalogue 100000 20 40 2 >codes.txt
printf '%-46s %9ss\n' "--check of 100,000 codes" "$(best "$tool" --check --catalogue codes.txt)"

python3 "$here/bench/gen.py" catalogue 100000 20 50 2 >codes.txt
checked=$(best "$tool" --check --catalogue codes.txt)
canonical=$(best "$tool" --canonical --catalogue codes.txt)
printf '%-46s %9ss\n' "--check of 100,000 codes of order 20 to 50" "$checked"
printf '%-46s %9ss   %s\n' "--canonical of the same codes" "$canonical" \
    "$(awk "BEGIN{printf \"%.2fx the time of --check\", $canonical / $checked}")"

previous=""
for order in 1000 2000 4000 8000; do
    python3 "$here/bench/gen.py" dissection "$order" 3 >one.txt
    t=$(best "$tool" --check one.txt)
    growth=""
    [ -z "$previous" ] || growth=$(awk "BEGIN{printf \"x%.1f for twice the squares\", $t / $previous}")
    printf '%-46s %9ss   %s\n' "--check of one dissection of about $order squares" "$t" "$growth"
    previous=$t
done
