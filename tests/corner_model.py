# A model of --stats's corner columns: codes on standard input placed by
# the left-most lowest rule, and per order the dissections with a square of
# each size rank (three largest distinct sides, then the smallest) in a corner.
import re
import sys
from collections import defaultdict

counts = defaultdict(lambda: [0, 0, 0, 0])
for line in sys.stdin:
    n, w, h, *sides = map(int, re.findall(r"\d+", line.split("*")[0]))
    depth = [0] * w
    corner = set()
    for s in sides:
        low = min(depth)
        x = depth.index(low)
        if (x == 0 or x + s == w) and (low == 0 or low + s == h):
            corner.add(s)
        depth[x:x + s] = [low + s] * s
    ranks = sorted(set(sides), reverse=True)
    row = counts[n]
    for r, side in enumerate(ranks[:3]):
        row[r] += side in corner
    row[3] += ranks[-1] in corner
for n in sorted(counts):
    print("\t".join(map(str, [n] + counts[n])))
