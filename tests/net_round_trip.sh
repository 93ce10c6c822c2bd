#!/bin/sh
# --net's networks read back by --graphs give every simple code of orders
# 9-16 again, each from its own network; as graphs they are the
# generator's c-nets (nauty-labelg's canonical forms, when nauty is here).
#   net_round_trip.sh SQUARES2TEX CNET_RATE
set -eu
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$1"; exit 1; }
for kind in "" --imperfect; do
    "$tool" $kind --enumerate 9-16 >codes.txt
    "$tool" --net --catalogue codes.txt -o nets.pc
    "$tool" $kind --graphs nets.pc | cmp -s - codes.txt || fail "nets of $kind codes: not the codes again"
done
# Each code of orders 9-11 from its own network.
"$tool" --enumerate 9-11 | while IFS= read -r code; do
    echo "$code" >one.txt
    "$tool" --net one.txt | "$tool" --graphs - | grep -qxF "$code" || fail "$code: not from its own net"
done
# A compound dissection: a warning, and its network still written.
printf '4 2 2 1 1 1 1\n' >compound.txt
"$tool" --net -o compound.pc compound.txt 2>warning.txt || fail "a compound case's network refused"
grep -q "warning: the dissection is compound: its network is 2-connected, not 3-connected" warning.txt ||
    fail "no warning for a compound dissection"
[ "$(head -c 18 compound.pc)" = ">>planar_code le<<" ] || fail "no planar_code written"
if "$tool" --net -f graph6 compound.txt 2>/dev/null; then fail "graph6 of parallel edges written"; fi
# Smith diagrams of a catalogue: one per case, an edge per square.
"$tool" -q -f smith -d smith --catalogue codes.txt
[ "$(ls smith/*-smith.svg | wc -l)" -eq "$(wc -l <codes.txt)" ] || fail "not one Smith diagram a case"
[ "$(grep -c 'class="edge"' smith/000001-9-*-smith.svg)" -eq 9 ] || fail "not 9 edges in an order-9 diagram"
if command -v nauty-labelg >/dev/null; then
    "$tool" --net -f graph6 --catalogue codes.txt | nauty-labelg -q | sort -u >ours.g6
    for e in 10 11 12 13 14 15 16 17; do "$2" $e --graph6; done | nauty-labelg -q | sort -u >cnets.g6
    [ -s ours.g6 ] && [ -z "$(comm -23 ours.g6 cnets.g6)" ] || fail "a net that is no generated c-net"
    # --with-net: after the *, a generated c-net; the caption kept by --canonical.
    "$tool" --enumerate 9-13 --with-net >with-net.txt
    "$tool" --canonical --catalogue with-net.txt | cmp -s - with-net.txt || fail "--with-net's caption lost"
    sed 's/.* [*] //; s/ .*//' with-net.txt | nauty-labelg -q | sort -u >with-net.g6
    [ "$(wc -l <with-net.g6)" -gt 50 ] && [ -z "$(comm -23 with-net.g6 cnets.g6)" ] ||
        fail "--with-net: not the generated c-nets"
    [ "$(grep -c ' [*] [^ ]* 0 [0-9]*$' with-net.txt)" -eq "$(wc -l <with-net.txt)" ] || fail "no battery edge"
    echo "ok: $(wc -l <ours.g6) networks, each a generated c-net"
fi
echo "ok: networks of orders 9-16 give their codes back"
