#!/usr/bin/env bash
# Typesets documents made from the examples and from a generated case of
# 2000 squares with latex, dvips and ps2pdf, and checks each PDF has one page.
#   tests/typeset.sh SQUARES2TEX EXAMPLES_DIR
# Exits 77 (skipped) when TeX is not installed.
set -euo pipefail
tool=$1
examples=$2

missing=""
for program in latex dvips ps2pdf pdfinfo; do
    command -v "$program" >/dev/null || missing="$missing $program"
done
if [ -n "$missing" ]; then
    echo "skipped: not installed:$missing (Debian: texlive-pstricks texlive-latex-extra" \
         "texlive-science ghostscript poppler-utils)"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
    echo "2000 50 40"
    for _ in $(seq 2000); do printf '1 '; done
    echo
} >"$work/grid-2000.txt"

failures=0
for case_file in "$examples"/*.txt "$work/grid-2000.txt"; do
    name=$(basename "$case_file" .txt)
    dir="$work/$name"
    mkdir "$dir"
    if ! (
        cd "$dir"
        "$tool" "$case_file" >/dev/null 2>&1
        # A picture of thousands of squares needs more than TeX's default memory.
        extra_mem_top=40000000 extra_mem_bot=40000000 \
            latex -halt-on-error -interaction=nonstopmode squares.tex >latex.log 2>&1
        dvips -q squares.dvi -o squares.ps 2>dvips.log
        ps2pdf squares.ps squares.pdf 2>ps2pdf.log
        pages=$(pdfinfo squares.pdf | awk '/^Pages:/ {print $2}')
        [ "$pages" = 1 ] || { echo "$pages pages" >pages.log; exit 1; }
    ); then
        echo "FAILED: $name"
        tail -n 20 "$dir"/*.log 2>/dev/null || true
        failures=$((failures + 1))
    else
        echo "typeset: $name"
    fi
done
[ "$failures" = 0 ]
