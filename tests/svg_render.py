#!/usr/bin/env python3
"""Draws cases as SVG, shows each in headless Chromium and checks the
screenshot against the placement in the tool's own tex document: every edge
of every square large enough to see (and the border) is drawn thin and
whole, each square's corners are clear and its label sits at its centre.

    tests/svg_render.py SQUARES2TEX EXAMPLES_DIR    (exits 77 without Chromium)
"""
import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib

SVG = "{http://www.w3.org/2000/svg}"
LARGEST_IMAGE = 900  # pixels, the longer side of a screenshot
LINE_PIXELS = 1.25  # the line width on screen the tests aim for
SMALLEST_CHECKED = 24  # pixels: smaller squares are not looked at


class Failure(Exception):
    pass


def find_chromium():
    """The browser's path; without one the test is skipped (exit 77)."""
    for path in map(shutil.which, ("chromium", "chromium-browser", "google-chrome")):
        if path:
            return path
    print("skipped: Chromium is not installed (Debian: chromium)")
    sys.exit(77)


def run_chromium(chromium, work, *arguments, timeout=300, scale=1):
    return subprocess.run(
        [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
         "--no-first-run", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--hide-scrollbars", "--force-device-scale-factor=%g" % scale,
         "--user-data-dir=" + os.path.join(work, "profile"), *arguments],
        capture_output=True, text=True, timeout=timeout)


def read_png(path):
    """Rows of (r, g, b) tuples from an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise Failure(path + " is not a PNG")
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise Failure("unexpected PNG format %s" % (header,))
    step = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    stride = width * step
    previous, rows = bytearray(stride), []
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        if kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, previous))
        elif kind in (1, 3, 4):  # 1 sub, 3 average, 4 Paeth: a left, b up, c up-left
            for i in range(stride):
                a = line[i - step] if i >= step else 0
                b, c = previous[i], previous[i - step] if i >= step else 0
                if kind == 3:
                    a = (a + b) >> 1
                elif kind == 4:
                    pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                    a = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + a) & 255
        rows.append([tuple(line[i:i + 3]) for i in range(0, stride, step)])
        previous = line
    return rows


def read_case(path):
    with open(path) as f:
        numbers = [int(v) for v in re.split(r"[\s()\[\],]+", f.read()) if v]
    count, width, height = numbers[:3]
    return width, height, numbers[3:3 + count]


def tex_squares(tex):
    """(column, top, side) of each square, as the tex document draws it."""
    return [(int(m.group(2)), int(m.group(3)), int(m.group(1))) for m in re.finditer(
        r"\\psscalebox\{[^}]*\}\{(-?\d+)\}\}\n"
        r"\s*\\psline\[linewidth=0\.1pt\]\((-?\d+),(-?\d+)\)", tex)]


def colour(text):
    text = text.lstrip("#")
    if len(text) == 3:
        text = "".join(c * 2 for c in text)
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def ink(pixel):
    """How far a pixel is from white: 0 white, 1 black or full red."""
    return 1 - min(pixel) / 255


def box_edges(x1, y1, x2, y2):
    """Top, bottom, left and right edge, each as (x1, y1, x2, y2)."""
    return [(x1, y1, x2, y1), (x1, y2, x2, y2), (x1, y1, x1, y2), (x2, y1, x2, y2)]


class Picture:
    """The screenshot and the geometry it should show, in pixels."""

    def __init__(self, rows, box, size):
        self.rows = rows
        self.scale = min(size[0] / box[2], size[1] / box[3])
        self.left = (size[0] - box[2] * self.scale) / 2 - box[0] * self.scale
        self.top = (size[1] - box[3] * self.scale) / 2 - box[1] * self.scale
        self.fills = []  # (x1, y1, x2, y2, rgb, opacity) of tinted squares

    def at(self, x, y):
        return self.left + x * self.scale, self.top + y * self.scale

    def pixel(self, px, py):
        if 0 <= py < len(self.rows) and 0 <= px < len(self.rows[0]):
            return self.rows[py][px]
        return (255, 255, 255)

    def ink_above_background(self, px, py):
        """Ink over the colour the page should show here, 1 for a full line."""
        c = (255.0, 255.0, 255.0)
        for x1, y1, x2, y2, rgb, alpha in self.fills:
            if x1 < px + 0.5 < x2 and y1 < py + 0.5 < y2:
                c = tuple(c[k] * (1 - alpha) + rgb[k] * alpha for k in range(3))
        under = ink(c)
        return max(0.0, (ink(self.pixel(px, py)) - under) / (1 - under))

    def index_lines(self, reach):
        """For each pixel, the lines and labels within `reach` of its centre."""
        self.near = {}
        for n, (x1, y1, x2, y2) in enumerate(self.lines):
            for px in range(int(x1 - reach) - 1, int(x2 + reach) + 2):
                for py in range(int(y1 - reach) - 1, int(y2 + reach) + 2):
                    cx, cy = px + 0.5, py + 0.5
                    if x1 - reach <= cx <= x2 + reach and y1 - reach <= cy <= y2 + reach:
                        self.near.setdefault((px, py), set()).add(n)

    def near_a_line(self, px, py, ignored):
        return bool(self.near.get((px, py), set()) - ignored)


def check_square(pic, sq, own, line_px, name):
    """Each edge: ink across it at nine points adds up to about one line.
    The corners are clear, the label near the centre; `own` are the square's
    own lines, other squares' lines may cross it."""
    x1, y1, x2, y2 = sq
    for edge, (ax, ay, bx, by) in zip(("top", "bottom", "left", "right"), box_edges(*sq)):
        dx, dy = (0, 1) if ay == by else (1, 0)
        sums = sorted(sum(pic.ink_above_background(int(ax + (bx - ax) * t) + dx * d,
                                                   int(ay + (by - ay) * t) + dy * d)
                          for d in range(-3, 4)) for t in (0.1 * k for k in range(1, 10)))
        for bad, what, amount in ((sums[0] < 0.85 * line_px, "missing or cut", sums[0]),
                                  (sums[4] > 2 * line_px + 1, "a heavy line", sums[4])):
            if bad:
                raise Failure("%s: %s edge is %s: ink %.2f across it, a line is %.2f px"
                              % (name, edge, what, amount, line_px))
    side = x2 - x1
    for corner, (cx, cy, dx, dy) in (("top-left", (x1, y1, 1, 1)), ("top-right", (x2, y1, -1, 1)),
                                     ("bottom-left", (x1, y2, 1, -1)),
                                     ("bottom-right", (x2, y2, -1, -1))):
        for i in range(int(line_px + 2), int(0.25 * side)):
            for j in range(int(line_px + 2), int(0.25 * side)):
                px, py = int(cx + dx * i), int(cy + dy * j)
                if not pic.near_a_line(px, py, own) and pic.ink_above_background(px, py) > 0.12:
                    raise Failure("%s: the %s corner is not clear at pixel (%d, %d): %s"
                                  % (name, corner, px, py, pic.pixel(px, py)))
    label = [(px, py) for py in range(int(y1 + 0.2 * side), int(y2 - 0.2 * side))
             for px in range(int(x1 + 0.1 * side), int(x2 - 0.1 * side))
             if not pic.near_a_line(px, py, own) and pic.ink_above_background(px, py) > 0.5]
    if not label:
        raise Failure("%s: no label" % name)
    xs, ys = zip(*label)
    mx, my = (min(xs) + max(xs) + 1) / 2, (min(ys) + max(ys) + 1) / 2
    if abs(mx - (x1 + x2) / 2) > 0.06 * side or abs(my - (y1 + y2) / 2) > 0.06 * side:
        raise Failure("%s: label centred at (%.1f, %.1f), the square's centre is (%.1f, %.1f)"
                      % (name, mx, my, (x1 + x2) / 2, (y1 + y2) / 2))


def check_case(tool, chromium, case_path, work):
    name = os.path.splitext(os.path.basename(case_path))[0]
    width, height, sides = read_case(case_path)
    depth = max(height, 0)
    svg_path, tex_path = (os.path.join(work, name + e) for e in (".svg", ".tex"))
    # A name ending in .svg asks for SVG; -f svg alone writes squares.svg.
    by_default = os.path.join(work, name + "-default")
    os.mkdir(by_default)
    for args, where in ((["-o", svg_path], work), (["-f", "svg"], by_default),
                        (["-o", tex_path], work)):
        run = subprocess.run([tool] + args + [case_path], capture_output=True, text=True,
                             cwd=where)
        if run.returncode != 0:
            raise Failure("%s: squares2tex %s failed: %s" % (name, " ".join(args), run.stderr))
    with open(svg_path, "rb") as a, open(os.path.join(by_default, "squares.svg"), "rb") as b:
        if a.read() != b.read():
            raise Failure("%s: -f svg and -o NAME.svg write different drawings" % name)
    with open(tex_path) as f:
        placed = tex_squares(f.read())
    if [s for _, _, s in placed] != sides:
        raise Failure("%s: the tex document does not draw the case's sides" % name)

    # The file: well-formed XML, a rect per square of side 1 or more where
    # the tex document puts it, y measured down from the top edge.
    root = ET.parse(svg_path).getroot()
    if root.tag != SVG + "svg":
        raise Failure("%s: the root is %s, not svg in the SVG namespace" % (name, root.tag))
    box = [float(v) for v in root.get("viewBox").split()]
    line = float(root.get("stroke-width"))
    frames = [e for e in root.iter(SVG + "rect") if e.get("class") == "frame"]
    rects = [e for e in root.iter(SVG + "rect") if e.get("class", "").split()[:1] == ["square"]]
    texts = list(root.iter(SVG + "text"))
    drawn = [(c, t, s) for c, t, s in placed if s > 0]
    if len(frames) != 1 or len(rects) != len(drawn) or len(texts) != len(drawn):
        raise Failure("%s: %d frames, %d squares, %d labels for %d squares of side 1 or more"
                      % (name, len(frames), len(rects), len(texts), len(drawn)))
    xywh = ("x", "y", "width", "height")
    frame = [float(frames[0].get(k)) for k in xywh]
    if frame != [0, 0, width, depth]:
        raise Failure("%s: frame %s" % (name, frame))
    deepest = max([depth] + [height - t + s for _, t, s in drawn])
    if box[0] > -line / 2 or box[1] > -line / 2 or box[0] + box[2] < width + line / 2 or \
            box[1] + box[3] < deepest + line / 2:
        raise Failure("%s: view box %s leaves out part of the picture" % (name, box))
    for (column, top, side), rect, text in zip(drawn, rects, texts):
        got = [float(rect.get(k)) for k in xywh]
        if got != [column, height - top, side, side] or text.text != str(side):
            raise Failure("%s: square of side %d at column %d, top %d drawn as %s, label %s"
                          % (name, side, column, top, got, text.text))

    # The screenshot, at a size that shows lines about LINE_PIXELS wide.
    scale = min(LINE_PIXELS / line, LARGEST_IMAGE / box[2], LARGEST_IMAGE / box[3])
    size = (max(1, round(box[2] * scale)), max(1, round(box[3] * scale)))
    page, shot = (os.path.join(work, name + e) for e in (".html", ".png"))
    with open(page, "w") as f:
        f.write('<!DOCTYPE html><html><body style="margin:0;background:#fff">'
                '<img src="%s.svg" width="%d" height="%d" style="display:block">'
                '</body></html>\n' % (name, size[0], size[1]))
    run = run_chromium(chromium, work, "--screenshot=" + shot,
                       "--window-size=%d,%d" % (size[0] + 16, size[1] + 16), "file://" + page,
                       timeout=120)
    if not os.path.exists(shot):
        raise Failure("%s: no screenshot: %s" % (name, run.stderr[-500:]))
    pic = Picture(read_png(shot), box, size)
    line_px = line * pic.scale

    # Whatever may put ink: lines 0-3 the frame, then each square's four
    # edges and its label's room.
    pic.lines = box_edges(*pic.at(0, 0), *pic.at(width, depth))
    squares = []
    for (column, top, side), rect in zip(drawn, rects):
        sq = x1, y1, x2, y2 = (*pic.at(column, height - top),
                               *pic.at(column + side, height - top + side))
        squares.append((sq, side, column))
        mx, my, half = (x1 + x2) / 2, (y1 + y2) / 2, (x2 - x1) / 2
        pic.lines += box_edges(*sq) + [
            (mx - 0.72 * half, my - 0.44 * half, mx + 0.72 * half, my + 0.44 * half)]
        if rect.get("fill") and rect.get("fill") != "none":
            pic.fills.append((*sq, colour(rect.get("fill")), float(rect.get("fill-opacity", "1"))))
    pic.index_lines(line_px / 2 + 2)
    checked = 0
    for i, (sq, side, column) in enumerate(squares):
        if sq[2] - sq[0] >= SMALLEST_CHECKED:
            check_square(pic, sq, frozenset(range(4 + 5 * i, 9 + 5 * i)), line_px,
                         "%s: square %d (side %d, column %d)" % (name, i + 1, side, column))
            checked += 1
    warnings = sum("warning" in r.get("class").split() for r in rects)
    print("ok: %s: %d squares, %d checked on screen at %.1f px a unit (%dx%d), lines %.2f px, "
          "%d marked as warnings" % (name, len(drawn), checked, pic.scale, size[0], size[1],
                                     line_px, warnings))
    return checked


def main():
    tool, examples = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    chromium = find_chromium()
    work = tempfile.mkdtemp(prefix="svg-render-")
    try:
        cases = sorted(glob.glob(os.path.join(examples, "*.txt")))
        for case_name, text in (("tall", "2 2 4 2 2\n"), ("wide", "5 100 20 20 20 20 20 20\n"),
                                ("zero-and-negative", "4 10 5 0 -5 3 7\n"),
                                ("no-height", "3 4 0 2 2 1\n")):
            cases.append(os.path.join(work, case_name + ".txt"))
            with open(cases[-1], "w") as f:
                f.write(text)
        failures = 0
        for case_path in cases:
            try:
                if check_case(tool, chromium, case_path, work) == 0:
                    raise Failure("%s: no square large enough to check" % case_path)
            except Failure as e:
                print("FAILED: %s" % e)
                failures += 1
        return 1 if failures else 0
    finally:
        if os.environ.get("SVG_RENDER_KEEP"):
            print("kept " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
