#!/usr/bin/env bash
# Typesets PSTricks documents made from the examples and from a generated
# case of 2000 squares with latex, dvips and ps2pdf as docs/reference.md
# gives them, and checks each PDF has one page with a drawing 150 mm wide;
# that latex at its default memory stops exactly where the run warns;
# then TikZ documents of the examples, a tall, a wide and a 3000-square case
# with pdflatex, and checks each gives one page of the picture's shape,
# 150 mm on its longer side.
#   tests/typeset.sh SQUARES2TEX EXAMPLES_DIR
# Exits 77 (skipped) when TeX is not installed.
set -euo pipefail
tool=$(realpath "$1")
examples=$(realpath "$2")

missing=""
for program in latex pdflatex dvips ps2pdf pdfinfo gs kpsewhich; do
    command -v "$program" >/dev/null || missing="$missing $program"
done
if [ -z "$missing" ]; then
    for file in pstricks-add.sty standalone.cls tikz.sty; do
        kpsewhich "$file" >/dev/null || missing="$missing $file"
    done
fi
if [ -n "$missing" ]; then
    echo "skipped: not installed:$missing (Debian: texlive-pstricks texlive-latex-extra" \
         "texlive-science texlive-pictures ghostscript poppler-utils)"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
    echo "2000 50 40"
    for _ in $(seq 2000); do printf '1 '; done
    echo
} >"$work/grid-2000.txt"
{
    echo "3000 60 50"
    for _ in $(seq 3000); do printf '1 '; done
    echo
} >"$work/grid-3000.txt"
echo "2 2 4 2 2" >"$work/tall.txt"
echo "2 2000000000 1000000000 1000000000 1000000000" >"$work/wide.txt"

# typeset_one CASE_FILE DIR: every step must succeed (set -e does not
# reach into a function whose status is tested, so each step says so).
typeset_one() {
    local case_file=$1 dir=$2 pages width
    cd "$dir" || return 1
    "$tool" "$case_file" >convert.log 2>&1 || return 1
    # A picture of more than 739 squares needs more than TeX's default
    # memory; the extension costs nothing until it is used.
    extra_mem_top=250000000 extra_mem_bot=20000000 \
        latex -halt-on-error -interaction=nonstopmode squares.tex >latex.log 2>&1 || return 1
    dvips -q squares.dvi -o squares.ps >dvips.log 2>&1 || return 1
    # The option silences the PSTricks prologue's notice about transparency,
    # which these documents do not use: ps2pdf then prints nothing.
    ps2pdf -dALLOWPSTRANSPARENCY squares.ps squares.pdf >ps2pdf.log 2>&1 || return 1
    [ ! -s ps2pdf.log ] || return 1
    pages=$(pdfinfo squares.pdf 2>pdfinfo.log | awk '/^Pages:/ {print $2}')
    [ "$pages" = 1 ] || { echo "${pages:-no} pages" >pages.log; return 1; }
    # The drawing's extent from Ghostscript, in points of 1/72 inch: the
    # squares span the width, 150 mm, plus lines of 0.1 pt.
    width=$(gs -q -dNOPAUSE -dBATCH -sDEVICE=bbox squares.pdf 2>&1 |
        awk '/%%HiResBoundingBox/ {printf "%.1f", ($4 - $2) * 25.4 / 72}')
    awk -v w="$width" 'BEGIN { exit !(w >= 149.5 && w <= 150.5) }' ||
        { echo "the drawing is ${width:-no} mm wide, not 150" >width.log; return 1; }
}

# The picture's extent in case units: the rectangle's width and height,
# or for a case with squares below the bottom edge, down to the lowest.
extent() {
    case $(basename "$1" .txt) in
        not-a-dissection) echo "4 4" ;;
        *) tr '()[],' '     ' <"$1" | awk '{for (i = 1; i <= NF; i++) v[++n] = $i}
                                        END {print v[2], v[3]}' ;;
    esac
}

# tikz_one CASE_FILE DIR: one page, the picture 150 mm on its longer side
# and of the extent's shape, plus the 2 mm border each way (in bp, as
# pdfinfo gives it, to 0.05 bp).
tikz_one() {
    local case_file=$1 dir=$2 pages size
    cd "$dir" || return 1
    "$tool" -f tikz "$case_file" >convert.log 2>&1 || return 1
    if [ ! -f squares-tikz.tex ] || [ -e squares.tex ]; then ls >names.log; return 1; fi
    extra_mem_top=40000000 extra_mem_bot=40000000 \
        pdflatex -halt-on-error -interaction=nonstopmode squares-tikz.tex >pdflatex.log 2>&1 ||
        return 1
    pages=$(pdfinfo squares-tikz.pdf 2>pdfinfo.log | awk '/^Pages:/ {print $2}')
    [ "$pages" = 1 ] || { echo "${pages:-no} pages" >pages.log; return 1; }
    size=$(pdfinfo squares-tikz.pdf | awk '/^Page size:/ {print $3, $5}')
    awk -v size="$size" -v extent="$(extent "$case_file")" 'BEGIN {
        split(size, page); split(extent, e)
        bp = 72 / 25.4; longer = e[1] > e[2] ? e[1] : e[2]
        w = 150 * bp * e[1] / longer + 4 * bp; h = 150 * bp * e[2] / longer + 4 * bp
        if ((page[1] - w) ^ 2 > 0.0025 || (page[2] - h) ^ 2 > 0.0025) {
            printf "page %s x %s bp, expected %.3f x %.3f\n", page[1], page[2], w, h; exit 1
        }
    }' >shape.log || return 1
}

# memory_one N DIR: latex at its default memory typesets a grid of N unit
# squares exactly when the run gave no warning about TeX's memory.
memory_one() {
    local n=$1 warned=no typeset=no
    cd "$2" || return 1
    { echo "$n 50 15"; for _ in $(seq "$n"); do printf '1 '; done; echo; } >case.txt
    "$tool" case.txt >convert.log 2>&1 || return 1
    grep -q 'TeX capacity exceeded' convert.log && warned=yes
    latex -halt-on-error -interaction=nonstopmode squares.tex >latex.log 2>&1 && typeset=yes
    [ "$warned" != "$typeset" ] || { echo "warned: $warned, typeset: $typeset" >memory.log; return 1; }
}

failures=0
# each STEP LABEL CASE_FILE...: STEP in a directory of its own for each case.
each() {
    local step=$1 label=$2 case_file name dir
    shift 2
    for case_file in "$@"; do
        name=$(basename "$case_file" .txt)
        dir="$work/$step-$name"
        mkdir "$dir"
        if ("$step" "$case_file" "$dir"); then
            echo "$label: $name"
        else
            echo "FAILED $label: $name"
            tail -n 20 "$dir"/*.log 2>/dev/null || true
            failures=$((failures + 1))
        fi
    done
}
each typeset_one "typeset" "$examples"/*.txt "$work/grid-2000.txt"
each memory_one "default memory warned exactly when latex stops" 739 740
each tikz_one "typeset with TikZ" "$examples"/*.txt "$work"/{tall,wide,grid-3000}.txt
[ "$failures" = 0 ]
