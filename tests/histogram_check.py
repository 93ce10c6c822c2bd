# Reads --stats -f svg's histogram with xml.etree and checks it against the
# codes it was made of: per order a panel whose bars' counts sum to the
# order's count, bins that run on from the least longer side to the
# greatest, and each bar holding exactly the codes whose longer side is in it.
#   histogram_check.py HISTOGRAM.svg CODES.txt
import re
import sys
import xml.etree.ElementTree as ET
from collections import Counter, defaultdict

ns = {"s": "http://www.w3.org/2000/svg"}
sides = defaultdict(Counter)
for line in open(sys.argv[2]):
    n, w, h = map(int, re.findall(r"\d+", line)[:3])
    sides[n][max(w, h)] += 1
panels = ET.parse(sys.argv[1]).getroot().findall("s:g[@class='order']", ns)
assert [int(g.get("data-order")) for g in panels] == sorted(sides), "not a panel per order"
for g in panels:
    order = int(g.get("data-order"))
    bars = g.findall("s:rect[@class='bar']", ns)
    counts = [int(b.get("data-count")) for b in bars]
    assert sum(counts) == int(g.get("data-count")) == sum(sides[order].values()), order
    bounds = [(int(b.get("data-from")), int(b.get("data-to"))) for b in bars]
    assert bounds[0][0] == min(sides[order]) and bounds[-1][1] == max(sides[order]), order
    assert all(a[1] + 1 == b[0] for a, b in zip(bounds, bounds[1:])), order
    for (low, high), n in zip(bounds, counts):
        assert n == sum(c for s, c in sides[order].items() if low <= s <= high), (order, low)
    assert g.findall("s:text", ns), "no axis labels"
print("ok:", len(panels), "panels")
