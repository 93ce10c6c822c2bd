#!/bin/sh
# The recipes for duplicates in docs/reference.md, run as written on a
# catalogue of the same dissections written every which way.
#   canonical_recipes.sh SQUARES2TEX
set -eu
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cat >a.txt <<'END'
# the order-21 squared square turned and mirrored, scaled, in every notation;
(50,35,27)(8,19)(15,17,11)(6,24)(29,25,9,2)(7,18)(16)(42)(4,37)(33) * Duijvestijn 1978
21 112 112 33 37 42 29 4 25 16 18 24 9 7 2 17 6 50 15 11 19 35 8 27
21 224 [54,38,48,84,16,22,12,36,70,34,14,32,74,30,4,18,50,100,8,66,58]
9 33 32 (18,15)(7,8)(14,4)(10,1)(9) the nine squares
9 64 66 28 36 20 8 14 30 18 2 16
3 3 3 2 1 1 not a dissection
END
printf '9 32 33 (18,14)(4,10)(15,7)(1,9)(8)\n4 2 2 1 1 1 1\n' >b.txt
codes() { "$tool" --canonical --catalogue "$1" 2>/dev/null | sed 's/ [*] .*//'; }

dups=$(codes a.txt | sort | uniq -d)
[ "$dups" = "21 112 112 (50,35,27)(8,19)(15,17,11)(6,24)(29,25,9,2)(7,18)(16)(42)(4,37)(33)
9 33 32 (18,15)(7,8)(14,4)(10,1)(9)" ] ||
    { echo "duplicates: $dups"; exit 1; }
[ "$(codes a.txt | sort -u | wc -l)" -eq 2 ] || { echo "distinct count"; exit 1; }
first=$("$tool" --canonical --catalogue a.txt 2>/dev/null | awk '{ k = $0; sub(/ [*] .*/, "", k) } !seen[k]++')
[ "$first" = "21 112 112 (50,35,27)(8,19)(15,17,11)(6,24)(29,25,9,2)(7,18)(16)(42)(4,37)(33) * Duijvestijn 1978
9 33 32 (18,15)(7,8)(14,4)(10,1)(9)" ] || { echo "first of each: $first"; exit 1; }
codes a.txt | sort -u >a.codes
codes b.txt | sort -u >b.codes
[ "$(comm -13 a.codes b.codes)" = "4 2 2 (1,1)(1,1)" ] || { echo "only in b"; exit 1; }
# The line that is no dissection is named, and makes the status 1.
if "$tool" --canonical --catalogue a.txt >/dev/null 2>err; then echo "status 0"; exit 1; fi
grep -q '^squares2tex: a.txt:7: not a dissection: ' err || { cat err; exit 1; }
# One case: to standard output, or to -o FILE.
sed -n 3p a.txt >one.txt
"$tool" --canonical -o one.code one.txt
[ "$("$tool" --canonical one.txt)" = "$(cat one.code)" ] && [ "$(codes a.txt | head -n 1)" = "$(cat one.code)" ] ||
    { echo "one case"; exit 1; }
echo "canonical recipes: all passed"
