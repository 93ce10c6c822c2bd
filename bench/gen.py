#!/usr/bin/env python3
"""Generators of well-formed cases for benchmarks and tests.

Every case but the mixed ones is a true dissection of its rectangle, with
the sides listed in the order squares2tex places them (the left-most column
of least depth, the rectangle filled from its top edge down).

  gen.py grid WIDTH SIDE ROWS        rows of equal squares (SIDE divides WIDTH)
  gen.py jagged WIDTH BANDS          bands two high over a skyline of about
                                     WIDTH*2/3 steps (WIDTH a multiple of 3)
  gen.py wide WIDTH SIDE             one row of squares (SIDE divides WIDTH)
  gen.py bands WIDTH ROWS SEED       ROWS bands, each of equal squares whose
                                     side divides WIDTH
  gen.py catalogue COUNT MIN_ORDER MAX_ORDER SEED
                                     COUNT lines, each one case "n w h s1 .. sn"
                                     of a random dissection into n squares,
                                     MIN_ORDER <= n <= MAX_ORDER, mostly
                                     compound, tens to hundreds of units wide
  gen.py dissection ORDER SEED       one random dissection of ORDER squares,
                                     give or take a tenth, in the same
                                     one-line form
  gen.py mixed COUNT SEED            COUNT lines, each a case whose squares fit
                                     the width, a dissection or not (for
                                     comparing converters)

The cases with one side repeated are written as the case file format allows:
the count, width and height on the first line, then the sides.
"""

import functools
import math
import random
import sys


def write_case(width, height, sides, out):
    out.write(f"{len(sides)} {width} {height}\n")
    write_sides(sides, out)


def write_sides(sides, out, per_line=2000):
    for start in range(0, len(sides), per_line):
        out.write(" ".join(map(str, sides[start:start + per_line])))
        out.write("\n")


def grid(width, side, rows, out):
    if side < 1 or width % side:
        sys.exit("grid: SIDE must divide WIDTH")
    per_row = width // side
    out.write(f"{per_row * rows} {width} {side * rows}\n")
    line = " ".join([str(side)] * per_row) + "\n"
    for _ in range(rows):
        out.write(line)


def jagged(width, bands, out):
    # A pair (1, 2) leaves its first column one unit higher than the other
    # two; after the pairs, ones fill those columns from the left and the
    # band is flat again, two units lower.
    if width < 3 or width % 3:
        sys.exit("jagged: WIDTH must be a positive multiple of 3")
    thirds = width // 3
    band = " ".join(["1 2"] * thirds + ["1"] * thirds) + "\n"
    out.write(f"{width * bands} {width} {2 * bands}\n")
    for _ in range(bands):
        out.write(band)


def wide(width, side, out):
    if side < 1 or width % side:
        sys.exit("wide: SIDE must divide WIDTH")
    write_case(width, side, [side] * (width // side), out)


def divisors(n):
    small = [d for d in range(1, math.isqrt(n) + 1) if n % d == 0]
    return sorted(set(small + [n // d for d in small]))


def bands(width, rows, seed, out):
    rng = random.Random(seed)
    choices = divisors(width)
    sides = []
    height = 0
    for _ in range(rows):
        side = rng.choice(choices)
        sides += [side] * (width // side)
        height += side
    write_case(width, height, sides, out)


# Random dissections. A rectangle is cut into pieces, each piece again, down
# to squares: mostly straight cuts across the rectangle (guillotine cuts),
# sometimes a pinwheel of four rectangles around a fifth, which no straight
# cut separates. Each piece carries a budget of squares, shared between its
# parts by area. A piece cut off the largest square at a time (Euclid's way)
# needs euclid(w, h) squares, the fewest this scheme can give it, so a cut
# is taken only if each part's budget covers that: the count never exceeds
# the budget. A square that is not cut further hands what it leaves of its
# budget to the next piece.

@functools.lru_cache(maxsize=None)
def euclid(w, h):
    """The count of squares when the largest square is cut off repeatedly."""
    count = 0
    while w and h:
        count += max(w, h) // min(w, h)
        w, h = min(w, h), max(w, h) % min(w, h)
    return count


def share(budget, parts):
    """Budgets for parts [(w, h)] of a piece: by area, each at least its
    euclid count; None if the budget cannot cover them."""
    needs = [euclid(w, h) for w, h in parts]
    spare = budget - sum(needs)
    if spare < 0:
        return None
    area = sum(w * h for w, h in parts)
    extra = [spare * w * h // area for w, h in parts]
    extra[-1] += spare - sum(extra)
    return [n + e for n, e in zip(needs, extra)]


def dissect(w, h, budget, rng):
    """Squares (x, y, side) filling w x h, y downwards: at most `budget`
    of them, which must be at least euclid(w, h)."""
    squares = []
    pieces = [(0, 0, w, h, budget)]
    while pieces:
        x, y, w, h, budget = pieces.pop()
        parts = None
        if w != h or (budget > 1 and rng.random() > 0.1 / budget):
            if budget >= 5 and w >= 3 and h >= 3 and rng.random() < 0.2:
                parts = pinwheel(x, y, w, h, budget, rng)
            if parts is None:
                parts = cut_in_two(x, y, w, h, budget, rng)
        if parts is None:
            squares.append((x, y, w))
            # A square left whole passes the rest of its budget on.
            if pieces:
                pieces[-1] = pieces[-1][:4] + (pieces[-1][4] + budget - 1,)
        else:
            pieces += parts
    return squares


def cut_in_two(x, y, w, h, budget, rng):
    """Two pieces side by side (or one above the other), or None."""
    long_side = max(w, h)
    short_side = min(w, h)
    cuts = [rng.randint(1, long_side - 1) for _ in range(8)] if long_side > 1 else []
    if long_side > short_side:
        # Cutting off a square always fits the budget: a last resort.
        cuts.append(short_side)
    for cut in cuts:
        budgets = share(budget, [(cut, short_side), (long_side - cut, short_side)])
        if budgets is None:
            continue
        if w >= h:
            return [(x, y, cut, h, budgets[0]), (x + cut, y, w - cut, h, budgets[1])]
        return [(x, y, w, cut, budgets[0]), (x, y + cut, w, h - cut, budgets[1])]
    return None


def pinwheel(x, y, w, h, budget, rng):
    """Four rectangles turning round a fifth, or None."""
    x1, x2 = sorted(rng.sample(range(1, w), 2))
    y1, y2 = sorted(rng.sample(range(1, h), 2))
    pieces = [
        (x, y, x2, y1),                      # top, from the left edge
        (x + x2, y, w - x2, y2),             # right, from the top edge
        (x + x1, y + y2, w - x1, h - y2),    # bottom, to the right edge
        (x, y + y1, x1, h - y1),             # left, to the bottom edge
        (x + x1, y + y1, x2 - x1, y2 - y1),  # the middle
    ]
    budgets = share(budget, [(pw, ph) for _, _, pw, ph in pieces])
    if budgets is None:
        return None
    return [piece + (b,) for piece, b in zip(pieces, budgets)]


def placement_order(width, height, squares):
    """The sides in the order the skyline rule places the squares; fails
    unless the squares dissect the rectangle."""
    at = {(x, y): s for x, y, s in squares}
    if len(at) != len(squares):
        raise ValueError("two squares share a corner")
    # The skyline as runs [first column, length, depth], left to right.
    runs = [[0, width, 0]]
    order = []
    for _ in range(len(squares)):
        i = min(range(len(runs)), key=lambda k: (runs[k][2], k))
        first, length, depth = runs[i]
        side = at.pop((first, depth), None)
        if side is None or side > length:
            raise ValueError(f"no square fits at column {first}, depth {depth}")
        order.append(side)
        raised = [first, side, depth + side]
        rest = [[first + side, length - side, depth]] if side < length else []
        runs[i:i + 1] = [raised] + rest
        # Merge the raised run with equal neighbours.
        if i + 1 < len(runs) and runs[i + 1][2] == raised[2]:
            raised[1] += runs.pop(i + 1)[1]
        if i > 0 and runs[i - 1][2] == raised[2]:
            runs[i - 1][1] += runs.pop(i)[1]
    if at or runs != [[0, width, height]]:
        raise ValueError("the squares do not fill the rectangle")
    return order


def random_dissection(order, rng, low, high):
    """A dissection of low..high squares near `order`, as (w, h, sides)."""
    # Some 60 units of area a square or more: room for sides of many sizes.
    mean_width = max(30, math.isqrt(60 * order))
    while True:
        w = rng.randint(max(10, mean_width // 2), mean_width * 3)
        h = max(1, round(w * rng.uniform(0.6, 1.4)))
        if euclid(w, h) > order:
            continue
        squares = dissect(w, h, order, rng)
        if low <= len(squares) <= high:
            return w, h, placement_order(w, h, squares)


def catalogue(count, low, high, seed, out):
    if not 1 <= low <= high:
        sys.exit("catalogue: need 1 <= MIN_ORDER <= MAX_ORDER")
    rng = random.Random(seed)
    for _ in range(count):
        w, h, sides = random_dissection(rng.randint(low, high), rng, low, high)
        out.write(f"{len(sides)} {w} {h} {' '.join(map(str, sides))}\n")


def dissection(order, seed, out):
    if order < 1:
        sys.exit("dissection: ORDER must be 1 or more")
    rng = random.Random(seed)
    slack = max(1, order // 10)
    w, h, sides = random_dissection(order, rng, max(1, order - slack), order + slack)
    out.write(f"{len(sides)} {w} {h} {' '.join(map(str, sides))}\n")


def mixed(count, seed, out):
    """COUNT lines, each a case that fits its width: widths from 1 to a
    million, sides small and large, heights that the squares fill exactly,
    fall short of or overrun; dissections and not."""
    rng = random.Random(seed)
    for _ in range(count):
        width = rng.choice([1, rng.randint(2, 12), rng.randint(10, 1000),
                            rng.randint(1000, 1000000)])
        runs = [[0, width, 0]]
        sides = []
        for _ in range(rng.randint(0, 60)):
            i = min(range(len(runs)), key=lambda k: (runs[k][2], k))
            first, length, depth = runs[i]
            room = width - first
            side = rng.choice([1, rng.randint(1, min(room, 12)), rng.randint(1, room),
                               min(length, room)])
            sides.append(side)
            # Raise the columns under the square, run by run.
            end = first + side
            new_runs = []
            for run_first, run_length, run_depth in runs:
                run_end = run_first + run_length
                if run_end <= first or run_first >= end:
                    new_runs.append([run_first, run_length, run_depth])
                    continue
                if run_first < first:
                    new_runs.append([run_first, first - run_first, run_depth])
                lo, hi = max(run_first, first), min(run_end, end)
                new_runs.append([lo, hi - lo, run_depth + side])
                if run_end > end:
                    new_runs.append([end, run_end - end, run_depth])
            runs = []
            for run in new_runs:
                if runs and runs[-1][2] == run[2]:
                    runs[-1][1] += run[1]
                else:
                    runs.append(run)
        deepest = max(run[2] for run in runs)
        height = rng.choice([deepest, runs[0][2], rng.randint(-3, deepest + 10)])
        out.write(f"{len(sides)} {width} {height} {' '.join(map(str, sides))}\n")


COMMANDS = {
    "grid": (grid, 3),
    "jagged": (jagged, 2),
    "wide": (wide, 2),
    "bands": (bands, 3),
    "catalogue": (catalogue, 4),
    "dissection": (dissection, 2),
    "mixed": (mixed, 2),
}


def main(argv):
    if len(argv) < 2 or argv[1] not in COMMANDS or len(argv) != 2 + COMMANDS[argv[1]][1]:
        sys.exit(__doc__)
    command, _ = COMMANDS[argv[1]]
    try:
        numbers = [int(a) for a in argv[2:]]
    except ValueError:
        sys.exit(__doc__)
    command(*numbers, sys.stdout)


if __name__ == "__main__":
    main(sys.argv)
