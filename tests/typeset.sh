#!/usr/bin/env bash
# Typesets documents made from the examples and from a generated case of
# 2000 squares with latex, dvips and ps2pdf, and checks each PDF has one page.
#   tests/typeset.sh SQUARES2TEX EXAMPLES_DIR
# Exits 77 (skipped) when TeX is not installed.
set -euo pipefail
tool=$(realpath "$1")
examples=$(realpath "$2")

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

# typeset_one CASE_FILE DIR: every step must succeed (set -e does not
# reach into a function whose status is tested, so each step says so).
typeset_one() {
    local case_file=$1 dir=$2 pages
    cd "$dir" || return 1
    "$tool" "$case_file" >convert.log 2>&1 || return 1
    # A picture of thousands of squares needs more than TeX's default memory.
    extra_mem_top=40000000 extra_mem_bot=40000000 \
        latex -halt-on-error -interaction=nonstopmode squares.tex >latex.log 2>&1 || return 1
    dvips -q squares.dvi -o squares.ps >dvips.log 2>&1 || return 1
    ps2pdf squares.ps squares.pdf >ps2pdf.log 2>&1 || return 1
    pages=$(pdfinfo squares.pdf 2>pdfinfo.log | awk '/^Pages:/ {print $2}')
    [ "$pages" = 1 ] || { echo "${pages:-no} pages" >pages.log; return 1; }
}

failures=0
for case_file in "$examples"/*.txt "$work/grid-2000.txt"; do
    name=$(basename "$case_file" .txt)
    dir="$work/$name"
    mkdir "$dir"
    if (typeset_one "$case_file" "$dir"); then
        echo "typeset: $name"
    else
        echo "FAILED: $name"
        tail -n 20 "$dir"/*.log 2>/dev/null || true
        failures=$((failures + 1))
    fi
done
[ "$failures" = 0 ]
