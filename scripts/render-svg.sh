#!/usr/bin/env bash
# Draws a case as an SVG picture with squares2tex itself; made the SVG
# pictures in docs/:
#   scripts/render-svg.sh build/squares2tex examples/nine-squares.txt docs/nine-squares.svg
#   scripts/render-svg.sh SQUARES2TEX CASE_FILE OUTPUT.svg
set -euo pipefail
[ $# = 3 ] || { echo "usage: $0 SQUARES2TEX CASE_FILE OUTPUT.svg" >&2; exit 2; }
"$1" -f svg -o "$3" "$2" >/dev/null
echo "wrote $3"
