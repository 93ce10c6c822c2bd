#!/usr/bin/env python3
"""Draws a table of cases as PDF and checks what readers make of them:
qpdf --check passes, the page has the drawing's size and the case's
title, mutool draws it, pdftoppm's pixels show each square's edges where a
model of the placement puts them (red for the squares the warnings name)
with clear corners and a label inside, and pdftotext finds every label at
its square's centre.

    tests/pdf_render.py SQUARES2TEX EXAMPLES_DIR   (exits 77 without the tools or Pillow)
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

POINTS_A_MM = 72 / 25.4
MARGIN = 2 * POINTS_A_MM
LARGEST_IMAGE = 800  # pixels, the longer side of a whole page
SMALLEST_CHECKED = 12  # pixels: smaller squares are not looked at

MILLION = "1000000 1000 1000" + " 1" * 1000000 + "\n"
# name, the case (or an example's file name), options, the sides placed by
# the model (None: all), the region rendered (None: the whole page, else
# left, top, width, height in pixels at dpi).
CASES = [
    ("nine-squares", "nine-squares.txt", [], None, None),
    ("order-21", "order-21-squared-square.txt", [], None, None),
    ("not-a-dissection", "not-a-dissection.txt", [], None, None),
    ("sized", "nine-squares.txt", ["--size", "2in"], None, None),
    ("tall", "2 2 4 2 2\n", [], None, None),
    ("below-the-frame", "10 33 32 18 15 7 8 14 4 10 1 9 20\n", [], None, None),
    ("zero-and-negative", "4 10 5 0 -5 3 7\n", [], None, None),
    ("no-height", "3 4 0 2 2 1\n", [], None, None),
    ("narrow", "3 10 30000000 10 10 5\n", [], None, None),
    ("wide", "3 30000000 10 10 10 10\n", [], None, None),
    ("large-numbers", "3 30000000 15000000 15000000 15000000 1\n", [], None, None),
    # The top-left corner at 2400 dpi: unit squares 14 pixels across.
    ("million", MILLION, [], 3000, (0, 0, 600, 600, 2400)),
]


class Failure(Exception):
    pass


def run(*command):
    """The command's standard output; a Failure if its status is not 0."""
    result = subprocess.run(command, capture_output=True)
    if result.returncode != 0:
        output = (result.stderr or result.stdout).decode("utf-8", "replace")
        raise Failure("%s failed: %s" % (" ".join(command[:2]), output[-400:]))
    return result.stdout.decode("utf-8", "replace")


def place(width, height, sides):
    """(column, depth of the top edge, side, named) of each square of side 1
    or more, the left-most column of least depth first; `named` for the
    first square on uneven ground and the first below the bottom edge, as
    the tiling report names them. The columns are runs [start, depth]."""
    runs, placed, uneven_seen, below_seen = [[0, 0]], [], False, False
    for side in sides:
        i = min(range(len(runs)), key=lambda k: (runs[k][1], runs[k][0]))
        column, depth = runs[i]
        if side <= 0:
            continue
        end = column + side
        ends = [r[0] for r in runs[1:]] + [width]
        under = [r[1] for r, e in zip(runs, ends) if r[0] < end and e > column]
        uneven = len(set(under)) > 1
        below = depth + side > height
        placed.append((column, depth, side, (uneven and not uneven_seen) or
                       (below and not below_seen)))
        uneven_seen, below_seen = uneven_seen or uneven, below_seen or below
        # Split the runs at the square's edges, then raise those under it.
        for cut in (column, end):
            k = max(j for j in range(len(runs)) if runs[j][0] <= cut)
            if runs[k][0] != cut and cut < width:
                runs.insert(k + 1, [cut, runs[k][1]])
        for r in runs:
            if column <= r[0] < end:
                r[1] += side
    return placed


def read_case(text):
    numbers = [int(v) for v in re.split(r"[\s()\[\],]+", text) if v]
    return numbers[1], numbers[2], numbers[3:3 + numbers[0]]


def ink(pixel):
    """0 white, 1 black or full red."""
    return 1 - min(pixel[:3]) / 255


def red(pixel):
    return pixel[0] > 150 and pixel[1] < 110


def check_case(tool, work, name, text, options, modelled, region):
    from PIL import Image
    case_path, pdf = (os.path.join(work, name + e) for e in (".txt", ".pdf"))
    with open(case_path, "w") as f:
        f.write(text)
    run(tool, *options, "-o", pdf, case_path)
    run("qpdf", "--check", pdf)

    width, height, sides = read_case(text)
    squares = place(width, height, sides[:modelled])
    depth = max([height] + [t + s for _, t, s, _ in squares])
    size = float(options[1][:-2]) * 72 if options else 150 * POINTS_A_MM
    # The frame's longer side is the size; squares beyond it make the page larger.
    scale = size / max(width, height)
    info = run("pdfinfo", pdf)
    page = [float(v) for v in re.search(r"Page size: +([\d.]+) x ([\d.]+) pts", info).groups()]
    expected = [width * scale + 2 * MARGIN, depth * scale + 2 * MARGIN]
    if max(abs(a - b) for a, b in zip(page, expected)) > 0.01:
        raise Failure("page %s points, expected %s" % (page, expected))
    title = "%d square%s in a %d x %d %s" % (len(sides), "" if len(sides) == 1 else "s",
                                            width, height,
                                            "square" if width == height else "rectangle")
    if "Title:           %s\n" % title not in info:
        raise Failure("no title %r in %s" % (title, info))

    mupdf_png = os.path.join(work, name + "-mupdf.png")
    run("mutool", "draw", "-q", "-r", str(min(72, 200 * 72 / max(page))), "-o", mupdf_png, pdf)
    with Image.open(mupdf_png) as shown:
        if shown.convert("L").getextrema()[0] > 230:
            raise Failure("mutool draws nothing dark")

    if region:
        left, top, w, h, dpi = region
        crop = ["-x", str(left), "-y", str(top), "-W", str(w), "-H", str(h)]
    else:
        left, top, dpi = 0, 0, LARGEST_IMAGE * 72 / max(page)
        crop = []
    run("pdftoppm", "-r", str(dpi), *crop, "-png", "-singlefile", pdf, os.path.join(work, name))
    image = Image.open(os.path.join(work, name + ".png")).convert("RGB")
    pixels = dpi / 72

    def at(x, y):  # case units, y down from the top edge, to pixels
        return (MARGIN + x * scale) * pixels - left, (MARGIN + y * scale) * pixels - top

    def darkest(x, y, across):  # the most ink within 2 pixels across a line
        found = (255, 255, 255)
        for d in range(-2, 3):
            px, py = (int(x + d), int(y)) if across == "x" else (int(x), int(y + d))
            if 0 <= px < image.width and 0 <= py < image.height:
                # Red drawn over black in the same place wins.
                found = max(found, image.getpixel((px, py)), key=lambda p: (ink(p), red(p)))
        return found

    # The light frame, the middle of its top and left edges: light grey,
    # and lighter still where it is thinner than a pixel.
    x0, y0 = at(0, 0)
    x1, y1 = at(width, max(height, 0))
    for x, y, across in (((x0 + x1) / 2, y0, "y"), (x0, (y0 + y1) / 2, "x")):
        if 0 <= x < image.width and 0 <= y < image.height and ink(darkest(x, y, across)) < 0.03:
            raise Failure("frame missing at pixel (%d, %d)" % (x, y))

    boxes = [(*at(c, t), *at(c + s, t + s)) for c, t, s, _ in squares]
    checked = 0
    for (column, top_edge, side, named), (a, b, c, d) in zip(squares, boxes):
        what = "square of side %d at column %d, depth %d" % (side, column, top_edge)
        if c - a < SMALLEST_CHECKED or a < 0 or b < 0 or c > image.width or d > image.height:
            continue
        checked += 1
        edges = [darkest(a + (c - a) * f, y, "y") for f in (.25, .5, .75) for y in (b, d)] + \
                [darkest(x, b + (d - b) * f, "x") for f in (.25, .5, .75) for x in (a, c)]
        # A line thinner than a pixel is drawn a pixel wide, lighter.
        if min(ink(p) for p in edges) < 0.12:
            raise Failure("%s: an edge is missing" % what)
        # A named square is red (where no later square covers it); another
        # is red at most along one side it shares with a named one.
        reds = sum(map(red, edges))
        if (named and reds < 6) or (not named and reds > 3):
            raise Failure("%s: %d of 12 edge points red" % (what, reds))
        inset = 0.15 * (c - a)
        for x, y in ((a + inset, b + inset), (c - inset, b + inset), (a + inset, d - inset),
                     (c - inset, d - inset)):
            inside_another = any(e < x < g and f < y < h for e, f, g, h in boxes
                                 if (e, f, g, h) != (a, b, c, d))
            if not inside_another and ink(image.getpixel((int(x), int(y)))) > 0.3:
                raise Failure("%s: a corner is not clear at pixel (%d, %d)" % (what, x, y))
        middle = image.crop((int(a + 0.3 * (c - a)), int(b + 0.35 * (d - b)),
                             int(c - 0.3 * (c - a)) + 1, int(d - 0.35 * (d - b)) + 1))
        if middle.convert("L").getextrema()[0] > 200:
            raise Failure("%s: no label at its centre" % what)
    if checked == 0 and name not in ("narrow", "wide"):
        raise Failure("no square large enough to check")

    labels = 0
    if modelled is None:
        words = re.findall(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" '
                           r'yMax="([-\d.]+)">([^<]*)</word>',
                           run("pdftotext", "-bbox", pdf, "-"))
        if len(words) != len(squares):
            raise Failure("pdftotext finds %d labels for %d squares" % (len(words), len(squares)))
        centres = [((float(a) + float(c)) / 2, (float(b) + float(d)) / 2, t)
                   for a, b, c, d, t in words]
        for column, top_edge, side, _ in squares:
            x = MARGIN + (column + side / 2) * scale
            y = MARGIN + (top_edge + side / 2) * scale
            room = 0.1 * side * scale + 1e-5
            if not any(t == str(side) and abs(cx - x) < room and abs(cy - y) < room
                       for cx, cy, t in centres):
                raise Failure("no label %d at (%.6f, %.6f) points" % (side, x, y))
            labels += 1
    print("ok: %s: %d squares, %d checked in pixels, %d labels placed, page %.3f x %.3f"
          % (name, len(squares), checked, labels, page[0], page[1]))


def main():
    tool, examples = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    missing = [t for t in ("qpdf", "pdftoppm", "pdftotext", "pdfinfo", "mutool")
               if not shutil.which(t)]
    try:
        import PIL  # noqa: F401
    except ImportError:
        missing.append("Pillow")
    if missing:
        print("skipped: not installed: %s (Debian: qpdf poppler-utils mupdf-tools python3-pil)"
              % " ".join(missing))
        return 77
    work = tempfile.mkdtemp(prefix="pdf-render-")
    failures = 0
    try:
        for name, text, options, modelled, region in CASES:
            if text.endswith(".txt"):
                with open(os.path.join(examples, text)) as f:
                    text = f.read()
            try:
                check_case(tool, work, name, text, options, modelled, region)
            except Failure as e:
                print("FAILED: %s: %s" % (name, e))
                failures += 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
