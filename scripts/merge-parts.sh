#!/bin/sh
# Merges the N parts of an enumeration, DIR/part-K-of-N.txt for K = 1 to N,
# into exactly what the whole run writes; refuses, naming them, when parts
# are missing, so an interrupted run is never taken for a whole one.
#   scripts/merge-parts.sh N DIR [OUTPUT]
# Without OUTPUT the lines go to standard output; OUTPUT is written whole or
# not at all (a temporary file beside it, renamed when the merge is done).
# Exit status 0 merged, 1 parts missing or the merge failed, 2 usage.
set -eu
me=merge-parts.sh
usage() {
    echo "usage: $me N DIR [OUTPUT]   (merges DIR/part-K-of-N.txt, K = 1 to N)" >&2
    exit 2
}
[ $# -eq 2 ] || [ $# -eq 3 ] || usage
parts=$1
dir=$2
case $parts in '' | *[!0-9]* | 0*) usage ;; esac
[ -d "$dir" ] || { echo "$me: $dir is not a directory" >&2; exit 1; }

missing=$(k=1; while [ "$k" -le "$parts" ]; do
    [ -f "$dir/part-$k-of-$parts.txt" ] || printf ' %s' "$k"
    k=$((k + 1))
done)
if [ -n "$missing" ]; then
    count=$(echo $missing | wc -w)
    echo "$me: $count of $parts parts are missing in $dir, not merged; run them again:$missing" >&2
    exit 1
fi

# Each part is sorted as the whole run's output, so one merge (no full
# sort) gives it; -u drops a rectangle that two parts both found.
merge() {
    k=1
    while [ "$k" -le "$parts" ]; do
        printf '%s\0' "$dir/part-$k-of-$parts.txt"
        k=$((k + 1))
    done | LC_ALL=C sort -m -u -k1,1n -k2,2n -k3,3n -k4 --files0-from=- "$@"
}
if [ $# -eq 2 ]; then
    merge
    exit
fi
output=$3
temporary=$(mktemp "$output.XXXXXX")
trap 'rm -f "$temporary"' EXIT
trap 'exit 1' HUP INT TERM
merge -o "$temporary"
chmod "$(printf %o $((0666 & ~0$(umask))))" "$temporary"  # as a new file would be
mv -f "$temporary" "$output"
trap - EXIT
