#!/usr/bin/env python3
"""Draws cases as SVG, shows each in headless Chromium inside a small web
page and checks the screenshot's pixels against the placement that the
tool's own tex document gives: every edge of every square large enough to
see is drawn, thin and whole (also on the outer border), each square's
corners are clear of its label, and the label sits at its centre.

    tests/svg_render.py SQUARES2TEX EXAMPLES_DIR

Exits 77 (skipped) when Chromium is not installed.
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
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


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
    previous = bytearray(stride)
    rows = []
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(step, stride):
                line[i] = (line[i] + line[i - step]) & 255
        elif kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - step] if i >= step else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - step] if i >= step else 0
                b, c = previous[i], previous[i - step] if i >= step else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
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
    squares = []
    for m in re.finditer(r"\\psscalebox\{[^}]*\}\{(-?\d+)\}\}\n"
                         r"\s*\\psline\[linewidth=0\.1pt\]\((-?\d+),(-?\d+)\)", tex):
        squares.append((int(m.group(2)), int(m.group(3)), int(m.group(1))))
    return squares


def colour(text):
    text = text.lstrip("#")
    if len(text) == 3:
        text = "".join(c * 2 for c in text)
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def ink(pixel):
    """How far a pixel is from white: 0 white, 1 black or full red."""
    return 1 - min(pixel) / 255


class Picture:
    """The screenshot and the geometry it should show, in pixels."""

    def __init__(self, rows, box, size):
        self.rows = rows
        self.scale = min(size[0] / box[2], size[1] / box[3])
        self.left = (size[0] - box[2] * self.scale) / 2 - box[0] * self.scale
        self.top = (size[1] - box[3] * self.scale) / 2 - box[1] * self.scale
        # (x1, y1, x2, y2) in pixels of every line drawn and of every
        # label's room: whatever may put ink there.
        self.lines = []
        self.fills = []  # (x1, y1, x2, y2, rgb, opacity) of tinted squares

    def x(self, units):
        return self.left + units * self.scale

    def y(self, units):
        return self.top + units * self.scale

    def pixel(self, px, py):
        if 0 <= py < len(self.rows) and 0 <= px < len(self.rows[0]):
            return self.rows[py][px]
        return (255, 255, 255)

    def background(self, px, py):
        """The colour the page should show at this pixel's centre, no line near."""
        c = (255.0, 255.0, 255.0)
        for x1, y1, x2, y2, rgb, alpha in self.fills:
            if x1 < px + 0.5 < x2 and y1 < py + 0.5 < y2:
                c = tuple(c[k] * (1 - alpha) + rgb[k] * alpha for k in range(3))
        return c

    def ink_above_background(self, px, py):
        """Ink over what the background should be, 1 for a full line."""
        under = ink(self.background(px, py))
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

    def near_a_line(self, px, py, ignored=frozenset()):
        return bool(self.near.get((px, py), set()) - ignored)


def check_edges(pic, sq, line_px, name):
    """Each edge: ink across it at nine points adds up to about one line."""
    x1, y1, x2, y2 = sq
    edges = {
        "top": [(x1 + (x2 - x1) * t, y1) for t in (0.1 * k for k in range(1, 10))],
        "bottom": [(x1 + (x2 - x1) * t, y2) for t in (0.1 * k for k in range(1, 10))],
        "left": [(x1, y1 + (y2 - y1) * t) for t in (0.1 * k for k in range(1, 10))],
        "right": [(x2, y1 + (y2 - y1) * t) for t in (0.1 * k for k in range(1, 10))],
    }
    for edge, points in edges.items():
        sums = []
        for ex, ey in points:
            if edge in ("top", "bottom"):
                cells = [(int(ex), int(ey) + d) for d in range(-3, 4)]
            else:
                cells = [(int(ex) + d, int(ey)) for d in range(-3, 4)]
            sums.append(sum(pic.ink_above_background(px, py) for px, py in cells))
        weakest, middle = min(sums), sorted(sums)[len(sums) // 2]
        if weakest < 0.85 * line_px:
            raise Failure("%s: %s edge missing or cut: ink %.2f across it, a line is %.2f px"
                          % (name, edge, weakest, line_px))
        if middle > 2 * line_px + 1:
            raise Failure("%s: %s edge is a heavy line: ink %.2f across it, a line is %.2f px"
                          % (name, edge, middle, line_px))


def check_inside(pic, sq, own, line_px, name):
    """The corners of the square are clear, its label near its centre;
    `own` are the square's own lines, other squares' lines may cross it."""
    x1, y1, x2, y2 = sq
    side = x2 - x1
    clear_from, clear_to = line_px + 2, 0.25 * side
    for corner, (cx, cy, dx, dy) in {"top-left": (x1, y1, 1, 1), "top-right": (x2, y1, -1, 1),
                                     "bottom-left": (x1, y2, 1, -1),
                                     "bottom-right": (x2, y2, -1, -1)}.items():
        for i in range(int(clear_from), int(clear_to)):
            for j in range(int(clear_from), int(clear_to)):
                px, py = int(cx + dx * i), int(cy + dy * j)
                if pic.near_a_line(px, py, own):
                    continue  # another square's edge crosses here
                extra = pic.ink_above_background(px, py)
                if extra > 0.12:
                    raise Failure("%s: the %s corner is not clear at pixel (%d, %d): %s"
                                  % (name, corner, px, py, pic.pixel(px, py)))
    # The label's ink: some, and its middle at the square's centre.
    xs, ys = [], []
    for py in range(int(y1 + 0.2 * side), int(y2 - 0.2 * side)):
        for px in range(int(x1 + 0.1 * side), int(x2 - 0.1 * side)):
            if not pic.near_a_line(px, py, own) and pic.ink_above_background(px, py) > 0.5:
                xs.append(px)
                ys.append(py)
    if not xs:
        raise Failure("%s: no label" % name)
    mx, my = (min(xs) + max(xs) + 1) / 2, (min(ys) + max(ys) + 1) / 2
    if abs(mx - (x1 + x2) / 2) > 0.06 * side or abs(my - (y1 + y2) / 2) > 0.06 * side:
        raise Failure("%s: label centred at (%.1f, %.1f), the square's centre is (%.1f, %.1f)"
                      % (name, mx, my, (x1 + x2) / 2, (y1 + y2) / 2))


def check_case(tool, chromium, case_path, work):
    name = os.path.splitext(os.path.basename(case_path))[0]
    width, height, sides = read_case(case_path)
    svg_path = os.path.join(work, name + ".svg")
    tex_path = os.path.join(work, name + ".tex")
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
    frame = [float(frames[0].get(k)) for k in ("x", "y", "width", "height")]
    if frame != [0, 0, width, max(height, 0)]:
        raise Failure("%s: frame %s" % (name, frame))
    deepest = max([max(height, 0)] + [height - t + s for _, t, s in drawn])
    if box[0] > -line / 2 or box[1] > -line / 2 or box[0] + box[2] < width + line / 2 or \
            box[1] + box[3] < deepest + line / 2:
        raise Failure("%s: view box %s leaves out part of the picture" % (name, box))
    for (column, top, side), rect, text in zip(drawn, rects, texts):
        got = [float(rect.get(k)) for k in ("x", "y", "width", "height")]
        if got != [column, height - top, side, side] or text.text != str(side):
            raise Failure("%s: square of side %d at column %d, top %d drawn as %s, label %s"
                          % (name, side, column, top, got, text.text))

    # The screenshot, at a size that shows lines about LINE_PIXELS wide.
    scale = min(LINE_PIXELS / line, LARGEST_IMAGE / box[2], LARGEST_IMAGE / box[3])
    size = (max(1, round(box[2] * scale)), max(1, round(box[3] * scale)))
    page = os.path.join(work, name + ".html")
    with open(page, "w") as f:
        f.write('<!DOCTYPE html><html><body style="margin:0;background:#fff">'
                '<img src="%s.svg" width="%d" height="%d" style="display:block">'
                '</body></html>\n' % (name, size[0], size[1]))
    shot = os.path.join(work, name + ".png")
    run = subprocess.run(
        [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
         "--no-first-run", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--hide-scrollbars", "--force-device-scale-factor=1",
         "--user-data-dir=" + os.path.join(work, "profile"), "--screenshot=" + shot,
         "--window-size=%d,%d" % (size[0] + 16, size[1] + 16), "file://" + page],
        capture_output=True, text=True, timeout=120)
    if not os.path.exists(shot):
        raise Failure("%s: no screenshot: %s" % (name, run.stderr[-500:]))
    pic = Picture(read_png(shot), box, size)
    line_px = line * pic.scale

    squares = []
    pic.lines.append((pic.x(0), pic.y(0), pic.x(width), pic.y(0)))
    pic.lines.append((pic.x(0), pic.y(max(height, 0)), pic.x(width), pic.y(max(height, 0))))
    pic.lines.append((pic.x(0), pic.y(0), pic.x(0), pic.y(max(height, 0))))
    pic.lines.append((pic.x(width), pic.y(0), pic.x(width), pic.y(max(height, 0))))
    for (column, top, side), rect in zip(drawn, rects):
        sq = (pic.x(column), pic.y(height - top), pic.x(column + side), pic.y(height - top + side))
        squares.append((sq, side, column, rect))
        x1, y1, x2, y2 = sq
        pic.lines += [(x1, y1, x2, y1), (x1, y2, x2, y2), (x1, y1, x1, y2), (x2, y1, x2, y2)]
        mx, my, half = (x1 + x2) / 2, (y1 + y2) / 2, (x2 - x1) / 2
        pic.lines.append((mx - 0.72 * half, my - 0.44 * half, mx + 0.72 * half, my + 0.44 * half))
        if rect.get("fill") and rect.get("fill") != "none":
            pic.fills.append((x1, y1, x2, y2, colour(rect.get("fill")),
                              float(rect.get("fill-opacity", "1"))))
    pic.index_lines(line_px / 2 + 2)
    checked = 0
    for i, (sq, side, column, rect) in enumerate(squares):
        if sq[2] - sq[0] < SMALLEST_CHECKED:
            continue
        label = "%s: square %d (side %d, column %d)" % (name, i + 1, side, column)
        own = frozenset(range(4 + 5 * i, 9 + 5 * i))
        check_edges(pic, sq, line_px, label)
        check_inside(pic, sq, own, line_px, label)
        checked += 1
    warnings = sum("warning" in r.get("class").split() for r in rects)
    print("ok: %s: %d squares, %d checked on screen at %.1f px a unit (%dx%d), lines %.2f px, "
          "%d marked as warnings" % (name, len(drawn), checked, pic.scale, size[0], size[1],
                                     line_px, warnings))
    return checked


def main():
    tool, examples = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    chromium = find_chromium()
    if not chromium:
        print("skipped: Chromium is not installed (Debian: chromium)")
        return 77
    work = tempfile.mkdtemp(prefix="svg-render-")
    try:
        cases = sorted(glob.glob(os.path.join(examples, "*.txt")))
        extra = {
            "tall": "2 2 4 2 2\n",
            "wide": "5 100 20 20 20 20 20 20\n",
            "zero-and-negative": "4 10 5 0 -5 3 7\n",
            "no-height": "3 4 0 2 2 1\n",
        }
        for case_name, text in extra.items():
            path = os.path.join(work, case_name + ".txt")
            with open(path, "w") as f:
                f.write(text)
            cases.append(path)
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
