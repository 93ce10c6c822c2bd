#!/usr/bin/env python3
"""Draws a catalogue of 10,000 cases as SVG into a directory and checks its
gallery: a summary that counts what the check says, pages of 1,000 entries
chained by next links that list every drawing in catalogue order with its
case number, line, order, size and check results, lines that fail listed in
their place and on a page of their own; in headless Chromium a page loads
quickly, loads only the drawings near the window, and shows the first one,
a square thumbnail at a device scale factor of 3 keeps its whole outline,
and the labels too small to read are hidden in a thumbnail only.

    tests/gallery_render.py SQUARES2TEX    (exits 77 without Chromium)
"""
import html.parser
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from svg_render import find_chromium, ink, read_png, run_chromium  # noqa: E402

CASES = 10000
WINDOW = (1000, 800)


def random_dissection(rng):
    """A random dissection, its sides in the order the skyline places them."""
    width, height = rng.randint(10, 40), rng.randint(10, 40)
    depth, sides = [0] * width, []
    while min(depth) < height:
        d = min(depth)
        c = depth.index(d)
        r = next((k for k in range(c, width) if depth[k] != d), width)
        most = min(r - c, height - d)
        side = most if rng.random() < 0.4 else rng.randint(1, most)
        sides.append(side)
        depth[c:c + side] = [d + side] * side
    return [len(sides), width, height] + sides


class Figures(html.parser.HTMLParser):
    """Each <figure>: its image file and its text; every link; the text."""

    def __init__(self):
        super().__init__()
        self.figures, self.inside, self.links, self.text = [], False, {}, ""

    def handle_starttag(self, tag, attrs):
        if tag == "figure":
            self.figures.append({"src": None, "text": ""})
            self.inside = True
        elif tag == "img" and self.inside:
            self.figures[-1]["src"] = dict(attrs).get("src")
        elif tag == "a" and not self.inside:
            self.link = dict(attrs)["href"]

    def handle_endtag(self, tag):
        if tag == "figure":
            self.inside = False

    def handle_data(self, data):
        self.text += data
        if self.inside:
            self.figures[-1]["text"] += data
        elif getattr(self, "link", None):
            self.links[data] = self.link
            self.link = None


def parse(path):
    parser = Figures()
    with open(path) as f:
        parser.feed(f.read())
    return parser


ORDER_21 = "21 112 112 (50,35,27)(8,19)(15,17,11)(6,24)(29,25,9,2)(7,18)(16)(42)(4,37)(33)"


def screenshot(chromium, work, url, shot, scripts):
    """The page at 400 x 500 CSS pixels and a device scale factor of 3, over
    the DevTools protocol (headless Chromium's --screenshot takes none with
    scripts disabled), once it has loaded."""
    import base64
    commands, replies = os.pipe(), os.pipe()

    def pipes():  # the protocol's descriptors, 3 and 4
        os.dup2(commands[0], 3)
        os.dup2(replies[1], 4)

    browser = subprocess.Popen(
        [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe",
         "--user-data-dir=" + os.path.join(work, "profile-cdp"), "--hide-scrollbars"],
        preexec_fn=pipes, pass_fds=(3, 4), stderr=subprocess.DEVNULL)
    os.close(commands[0])
    os.close(replies[1])
    out, pending, sent, events = os.fdopen(commands[1], "wb"), b"", [0], []

    def message():
        nonlocal pending
        while b"\0" not in pending:
            pending += os.read(replies[0], 1 << 20)
        text, pending = pending.split(b"\0", 1)
        return json.loads(text)

    def call(method, session=None, **params):
        sent[0] += 1
        order = {"id": sent[0], "method": method, "params": params}
        if session:
            order["sessionId"] = session
        out.write(json.dumps(order).encode() + b"\0")
        out.flush()
        while True:
            reply = message()
            if reply.get("id") == sent[0]:
                return reply.get("result", {})
            if "method" in reply:  # an event, kept for whoever awaits it
                events.append(reply)

    target = call("Target.createTarget", url="about:blank")["targetId"]
    session = call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
    call("Emulation.setScriptExecutionDisabled", session, value=not scripts)
    call("Emulation.setDeviceMetricsOverride", session, width=400, height=500,
         deviceScaleFactor=3, mobile=False)
    call("Page.enable", session)
    call("Page.setLifecycleEventsEnabled", session, enabled=True)
    # The load awaited is this navigation's: a load event may still be
    # about:blank's. Then its first image, given its source by the script
    # when scripts run, is awaited too.
    loader = call("Page.navigate", session, url=url)["loaderId"]
    while not any(e["method"] == "Page.lifecycleEvent" and e["params"].get("name") == "load"
                  and e["params"].get("loaderId") == loader for e in events):
        events.append(message())
    # Asked again and again, not awaited in the page: with scripts off its
    # animation frames never come.
    shown = ("(() => { const i = document.images[0];"
             " return !!(i && i.currentSrc && i.complete && i.naturalWidth); })()")
    for attempt in range(100000):
        if call("Runtime.evaluate", session, expression=shown).get("result", {}).get("value"):
            break
    else:
        raise RuntimeError("the first image of %s never loaded" % url)
    # A loaded machine's browser may answer with an error instead of the
    # picture ("Unable to capture screenshot"): it is asked again.
    for attempt in range(5):
        picture = call("Page.captureScreenshot", session).get("data")
        if picture:
            break
    if not picture:
        raise RuntimeError("Chromium took no screenshot of " + url)
    with open(shot, "wb") as f:
        f.write(base64.b64decode(picture))
    call("Browser.close")
    browser.wait()
    os.close(replies[0])


def thumbnail_edges(chromium, work, out, scripts):
    """A failure unless the square thumbnail, at a device scale factor of 3,
    shows its whole outline: the first and last rows with a line across it
    as far apart as the line is long."""
    from PIL import Image
    shot = os.path.join(work, "thumbnail-%s.png" % ("on" if scripts else "off"))
    screenshot(chromium, work, "file://" + os.path.join(out, "page-000001.html"), shot, scripts)
    image = Image.open(shot).convert("L").point(lambda v: v < 128 and 255)
    # The dark pixels of each row: the outline's top and bottom edges are
    # the rows with most, some 600 apart.
    dark = [sum(image.crop((0, y, image.width, y + 1)).getdata()) // 255
            for y in range(image.height)]
    across = max(dark)
    rows = [y for y, count in enumerate(dark) if count >= 0.95 * across]
    if across < 400 or rows[-1] - rows[0] < 0.97 * across:
        return "scripts %s: the thumbnail's outline is not whole: lines %d px long at rows %s" % (
            "on" if scripts else "off", across, rows)
    return None


def small_labels(chromium, work, thumb):
    """The labels too small to read are hidden in the thumbnail and shown in
    the full drawing: each view is compared, pixel for pixel, with the same
    drawing with those labels taken out and with the style that hides them
    taken out."""
    name = next(n for n in os.listdir(thumb) if n.endswith(".svg"))
    with open(os.path.join(thumb, name)) as f:
        drawing = f.read()
    if drawing.count('class="small"') < 2:
        return ["the thumbnail's drawing marks no small labels"]
    variants = {"as made": drawing,
                "no small labels": re.sub(r'<text class="small"[^>]*>[^<]*</text>\n', "", drawing),
                "no style": re.sub(r"<style>[^<]*</style>\n", "", drawing)}
    shots = {}
    for label, text in variants.items():
        where = os.path.join(work, "labels-" + label.replace(" ", "-"))
        shutil.copytree(thumb, where)
        with open(os.path.join(where, name), "w") as f:
            f.write(text)
        shot = os.path.join(where, "thumbnail.png")
        screenshot(chromium, work, "file://" + os.path.join(where, "page-000001.html"), shot, True)
        full = os.path.join(where, "full.png")
        run_chromium(chromium, work, "--screenshot=" + full, "--window-size=900,900",
                     "file://" + os.path.join(where, name))
        shots[label] = (read_png(shot), read_png(full))
    failures = []
    if shots["as made"][0] != shots["no small labels"][0] or \
            shots["as made"][0] == shots["no style"][0]:
        failures.append("the thumbnail does not hide exactly the small labels")
    if shots["as made"][1] != shots["no style"][1] or \
            shots["as made"][1] == shots["no small labels"][1]:
        failures.append("the full drawing does not show the small labels")
    return failures


def main():
    tool = os.path.abspath(sys.argv[1])
    chromium = find_chromium()
    work = tempfile.mkdtemp(prefix="squares2tex-gallery-")
    rng = random.Random(2026)
    lines, expected = ["# a catalogue for the gallery"], []
    for number in range(1, CASES + 3):
        if number == 3:
            lines.append("3 3 2 2 1 x")  # cannot be read
        elif number == 5:
            lines.append("2 4 4 2 3  a square overhangs")  # drawn up to that square
        else:
            lines.append(" ".join(map(str, random_dissection(rng))))
            expected.append((number, len(lines)))
    with open(os.path.join(work, "cat.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")

    run = subprocess.run([tool, "--check", "-f", "svg", "-d", "out", "--catalogue", "cat.txt"],
                         cwd=work, capture_output=True, text=True)
    failures = []
    if run.returncode != 1 or run.stderr.count("\n") != 2:
        failures.append("status %d, standard error: %s" % (run.returncode, run.stderr[:500]))
    rows = {int(r.split("\t")[0]): r.split("\t") for r in run.stdout.splitlines()[1:]}

    out = os.path.join(work, "out")
    # Every entry, in order, by the next links from the first page.
    figures, page, pages = [], "page-000001.html", 0
    while page and pages < 20:
        parsed = parse(os.path.join(out, page))
        figures += parsed.figures
        pages += 1
        if len(parsed.figures) > 1000:
            failures.append("%s holds %d entries" % (page, len(parsed.figures)))
        page = parsed.links.get("next")
    drawn = [f for f in figures if f["src"]]
    if pages != 11 or len(figures) != CASES + 2 or len(drawn) != CASES + 1:
        failures.append("%d pages, %d figures, %d drawings" % (pages, len(figures), len(drawn)))
    summary = parse(os.path.join(out, "index.html"))
    verdicts = [r for r in rows.values() if r[5] != "-"]
    counts = {"lines read": len(lines), "cases": CASES + 2, "drawn": CASES + 1, "not drawn": 0,
              "dissections": sum(r[5] == "yes" for r in verdicts),
              "perfect": sum(r[6] == "yes" for r in verdicts),
              "simple": sum(r[7] == "yes" for r in verdicts)}
    for label, count in counts.items():
        if not re.search(r"\b%s%d\b" % (re.escape(label), count), summary.text):
            failures.append("the summary does not say %s %d: %s" % (label, count, summary.text))
    failed = parse(os.path.join(out, summary.links.get("lines that could not be read", "none")))
    if [f["text"][:12] for f in failed.figures] != ["line 4: expe"]:
        failures.append("the failures' page: %s" % failed.figures)
    for at, says, what in ((2, "line 4: expected side 3 of 3", "the unreadable line"),
                           (2, "as given: 3 3 2 2 1 x", "the unreadable line's label"),
                           (4, "overhangs", "the overhanging case")):
        if says not in figures[at]["text"]:
            failures.append("%s is not in its place: %s" % (what, figures[at]["text"]))
    if figures[4]["src"] != "000005-2-4x4.svg":
        failures.append("the overhanging case is not drawn: %s" % figures[4])
    for figure, (number, line) in zip([f for f in drawn if f is not figures[4]], expected):
        row = rows[number]
        # The size on one line: joined by no-break spaces.
        caption = "case %d, line %d: order %s, %s\u00a0x\u00a0%s" % (number, line, row[2], row[3], row[4])
        verdict = ("perfect" if row[6] == "yes" else "imperfect") + ", " + (
            "simple" if row[7] == "yes" else "compound")
        if not figure["text"].startswith(caption) or verdict not in figure["text"] or \
                "canonical: %s " % row[2] not in figure["text"]:
            failures.append("case %d: %r" % (number, figure["text"]))
        if not re.fullmatch(r"%06d-%s-%sx%s\.svg" % (number, row[2], row[3], row[4]),
                            figure["src"]) or not os.path.exists(os.path.join(out, figure["src"])):
            failures.append("case %d: drawing %s" % (number, figure["src"]))
        if len(failures) > 10:
            break

    # A square thumbnail whole at a device scale factor of 3, scripts on and off.
    thumb = os.path.join(work, "thumb")
    with open(os.path.join(work, "one.txt"), "w") as f:
        f.write(ORDER_21 + "\n")
    subprocess.run([tool, "-f", "svg", "-d", thumb, "--catalogue", "one.txt"], cwd=work,
                   capture_output=True)
    for scripts in (True, False):
        failure = thumbnail_edges(chromium, work, thumb, scripts)
        if failure:
            failures.append(failure)
    failures += small_labels(chromium, work, thumb)

    # In the browser: the page at the window's size in a frame, measured
    # from a script that can see into it (file:// pages need the switch).
    with open(os.path.join(out, "probe.html"), "w") as f:
        f.write("""<!DOCTYPE html><html><body style="margin:0">
<iframe id="g" src="page-000001.html" style="border:0;width:%dpx;height:%dpx"></iframe>
<pre id="result">not loaded</pre><script>
const started = performance.now();
document.getElementById('g').addEventListener('load', () => {
  const loaded = performance.now() - started;
  setTimeout(() => {
    const images = [...document.getElementById('g').contentDocument.querySelectorAll('img')];
    const ready = (i) => i.complete && i.naturalWidth > 0;
    const box = images[0].getBoundingClientRect();
    document.getElementById('result').textContent = JSON.stringify({
      loaded_ms: loaded, images: images.length, ready: images.filter(ready).length,
      first_ready: images.slice(0, 4).every(ready), first: [box.x, box.y, box.width, box.height]});
  }, 1500);
});
</script></body></html>
""" % WINDOW)
    probe = run_chromium(chromium, work, "--allow-file-access-from-files",
                         "--virtual-time-budget=5000", "--dump-dom",
                         "file://" + os.path.join(out, "probe.html"))
    found = re.search(r'<pre id="result">([^<]*)</pre>', probe.stdout)
    result = json.loads(found.group(1)) if found and found.group(1).startswith("{") else None
    if not result:
        failures.append("the probe did not finish: " + probe.stderr[-300:])
    else:
        print("gallery in Chromium: %s" % result)
        if result["loaded_ms"] > 20000:
            failures.append("the page took %d ms to load" % result["loaded_ms"])
        if result["images"] != 999 or not result["first_ready"] or result["ready"] > 200:
            failures.append("drawings loaded (999 on the first page): %s" % result)
        shot = os.path.join(work, "gallery.png")
        # The drawings load after the page does, so the shot waits for them.
        run_chromium(chromium, work, "--virtual-time-budget=5000", "--screenshot=" + shot,
                     "--window-size=%d,%d" % WINDOW, "file://" + os.path.join(out, "page-000001.html"))
        x, y, w, h = (round(v) for v in result["first"])
        pixels = [p for row in read_png(shot)[y:y + h] for p in row[x:x + w]]
        dark = sum(1 for p in pixels if ink(p) > 0.5)
        if not pixels or not 0.002 * len(pixels) < dark < 0.5 * len(pixels):
            failures.append("the first drawing shows %d dark pixels of %d" % (dark, len(pixels)))

    for failure in failures[:10]:
        print("FAILED: " + failure)
    if not failures:
        shutil.rmtree(work)
        print("ok: %d drawings listed in order, the first shown" % CASES)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
