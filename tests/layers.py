#!/usr/bin/env python3
"""Fails when a file of src/ includes one from a layer above its own, when
the modules' includes close a circle, or when a module (a .cpp with its .h)
is over 400 lines. The layers, from the top down, as docs/development.md
lists them; the files at the top of src/ are the bottom layer.

  layers.py SRC_DIR
"""

import os
import re
import sys

LAYERS = ["cli", "enumeration", "catalogue", "document", "analysis", "placement",
          "reading", "files", ""]
MOST_LINES = 400


def layer_of(path):
    folder = os.path.dirname(path)
    if folder not in LAYERS:
        sys.exit(f"{path}: the folder '{folder}' is in no layer; add it to the list")
    return LAYERS.index(folder)


def main():
    src = sys.argv[1]
    includes = {}
    lines = {}
    for root, _, names in os.walk(src):
        for name in names:
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.relpath(os.path.join(root, name), src)
            with open(os.path.join(src, path), encoding="utf-8") as f:
                text = f.read()
            module = os.path.splitext(path)[0]
            lines[module] = lines.get(module, 0) + text.count("\n")
            for target in re.findall(r'^#include "([^"]+)"', text, re.M):
                includes.setdefault(module, set()).add(os.path.splitext(target)[0])
    faults = []
    for module, targets in sorted(includes.items()):
        for target in sorted(targets):
            if target not in lines:
                continue  # a header of the tests, outside src/
            if layer_of(target) < layer_of(module):
                faults.append(f"{module} includes {target}, from a layer above")
    for module, count in sorted(lines.items()):
        if count > MOST_LINES:
            faults.append(f"{module} is {count} lines, .cpp and .h together (at most {MOST_LINES})")
    # Circles among modules: a depth-first walk that meets a module still open.
    state = {}

    def walk(module, trail):
        state[module] = "open"
        for target in sorted(includes.get(module, ())):
            if target == module or target not in lines:
                continue
            if state.get(target) == "open":
                circle = trail[trail.index(target):] + [target]
                faults.append("a circle of includes: " + " -> ".join(circle))
            elif target not in state:
                walk(target, trail + [target])
        state[module] = "done"

    for module in sorted(lines):
        if module not in state:
            walk(module, [module])
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
