#!/bin/sh
# The README's recipe that lists the groups of duplicate cases from the
# --check --canonical table, run as the README writes it.
#   duplicate_groups.sh SQUARES2TEX README.md
set -eu
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
ln -s "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" "$bin/squares2tex"
awk '/^squares2tex --check --canonical --catalogue codes.txt [|]$/ { on = 1 } /^```$/ { on = 0 } on' \
    "$2" >"$bin/recipe.sh"
[ "$(wc -l <"$bin/recipe.sh")" -eq 3 ] || { echo "the recipe is not in the README"; exit 1; }
PATH=$bin:$PATH
cd "$bin"
# The nine-square rectangle three ways and the order-21 square twice,
# among a case that is no dissection, a line that cannot be read and one
# dissection found once.
cat >codes.txt <<'END'
# duplicates
9 33 32 18 15 7 8 14 4 10 1 9 * nine
21 112 112 (50,35,27)(8,19)(15,17,11)(6,24)(29,25,9,2)(7,18)(16)(42)(4,37)(33)
3 3 3 2 1 1
9 32 33 (18,14)(4,10)(15,7)(1,9)(8) * turned	with a tab
x

4 2 2 1 1 1 1
9 66 64 36 30 14 16 28 8 20 2 18
21 224 [54,38,48,84,16,22,12,36,70,34,14,32,74,30,4,18,50,100,8,66,58]
END
groups=$(sh recipe.sh 2>/dev/null)
[ "$groups" = "case 1 (line 2), case 4 (line 5), case 7 (line 9)
case 2 (line 3), case 8 (line 10)" ] || { echo "groups: $groups"; exit 1; }
echo "ok: the duplicate groups as the README lists them"
