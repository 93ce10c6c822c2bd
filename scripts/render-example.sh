#!/usr/bin/env bash
# Renders a case to a PNG picture through the same chain a user runs:
# squares2tex, latex, dvips, ps2pdf, then pdftoppm cropped to the drawing.
#   scripts/render-example.sh SQUARES2TEX CASE_FILE OUTPUT.png [DPI]
set -euo pipefail
tool=$(realpath "$1")
case_file=$(realpath "$2")
output=$(realpath -m "$3")
dpi=${4:-90}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tool" "$case_file" >/dev/null
# The same commands as docs/reference.md's: memory for large pictures, and no
# notice from the PSTricks prologue about transparency, which is not used.
extra_mem_top=250000000 extra_mem_bot=20000000 latex -halt-on-error -interaction=nonstopmode squares.tex >/dev/null
dvips -q squares.dvi -o squares.ps
ps2pdf -dALLOWPSTRANSPARENCY squares.ps squares.pdf
# The drawing's bounding box in points, from Ghostscript, with a small margin.
read -r x1 y1 x2 y2 < <(gs -q -dNOPAUSE -dBATCH -sDEVICE=bbox squares.pdf 2>&1 |
    awk '/%%HiResBoundingBox/ {print $2, $3, $4, $5}')
page_height=$(pdfinfo squares.pdf | awk '/^Page size/ {print $5}')
crop=$(awk -v x1="$x1" -v y1="$y1" -v x2="$x2" -v y2="$y2" -v h="$page_height" -v dpi="$dpi" \
    'BEGIN { s = dpi / 72; m = 6;
             printf "-x %d -y %d -W %d -H %d", (x1 - m) * s, (h - y2 - m) * s,
                    (x2 - x1 + 2 * m) * s, (y2 - y1 + 2 * m) * s }')
# shellcheck disable=SC2086
pdftoppm -png -r "$dpi" -singlefile $crop squares.pdf picture
mv picture.png "$output"
echo "wrote $output"
