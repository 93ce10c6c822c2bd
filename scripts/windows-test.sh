#!/usr/bin/env bash
# Cross-builds squares2tex for 64-bit Windows with MinGW-w64 and runs the
# end-to-end cases under wine64: each document must be the native one with
# CR LF line ends, with the same confirmation and exit status; so must each
# SVG drawing.
#   scripts/windows-test.sh NATIVE_SQUARES2TEX [WINDOWS_BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
native=$(realpath "$1")
build=$(realpath -m "${2:-$here/build-win64}")

wine=$(command -v wine64 || true)
[ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
if [ -z "$wine" ] || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "skipped: needs g++-mingw-w64-x86-64-posix and wine64"
    exit 77
fi

cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
exe="$build/squares2tex.exe"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all WINEPREFIX="$work/wineprefix"
mkdir "$work/cases" "$work/native" "$work/windows"
cp "$here"/examples/*.txt "$work/cases/"
printf '1 36 36 23\n' >"$work/cases/precision-36-23.txt"
printf '1 52 52 3\n' >"$work/cases/precision-52-3.txt"
printf '2 768 10 1 2\n' >"$work/cases/halfway-768.txt"
printf '4 10 5 0 -5 3 7\n' >"$work/cases/zero-and-negative.txt"
printf '2 4 4 2 3\n' >"$work/cases/overhang.txt"
# Large enough to be written in several blocks.
{ echo "6000 100 60"; for _ in $(seq 6000); do printf '1 '; done; echo; } >"$work/cases/large.txt"
printf '0 7 -4\n' >"$work/cases/no-squares.txt"
printf '2 4 3 3 1\r\n' >"$work/cases/crlf-case.txt"

# run_in DIR COMMAND...: runs in DIR, keeping standard output and the exit status there.
run_in() {
    local dir=$1 status=0
    shift
    (cd "$dir" && "$@" >out 2>/dev/null) || status=$?
    echo "$status" >"$dir/status"
}

passed=0
failed=0
check() {
    if [ "$2" = ok ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}

for case_file in "$work"/cases/*.txt; do
    name=$(basename "$case_file")
    run_in "$work/native" "$native" "$case_file"
    run_in "$work/windows" "$wine" "$exe" "$case_file"
    sed 's/$/\r/' "$work/native/squares.tex" >"$work/expected.tex"
    sed 's/$/\r/' "$work/native/out" >"$work/expected.out"
    result=ok
    cmp -s "$work/expected.tex" "$work/windows/squares.tex" || result="document differs"
    cmp -s "$work/expected.out" "$work/windows/out" || result="standard output differs"
    cmp -s "$work/native/status" "$work/windows/status" || result="exit status differs"
    check "$name: $result" "$result"
done

# The SVG drawing: the native one with CR LF line ends, the same
# confirmation and status.
for case_file in "$work"/cases/*.txt; do
    name=$(basename "$case_file" .txt).svg
    rm -f "$work/native/squares.svg" "$work/windows/squares.svg"
    run_in "$work/native" "$native" -o squares.svg "$case_file"
    run_in "$work/windows" "$wine" "$exe" -o squares.svg "$case_file"
    result=ok
    if [ -e "$work/native/squares.svg" ]; then
        sed 's/$/\r/' "$work/native/squares.svg" >"$work/expected.svg"
        cmp -s "$work/expected.svg" "$work/windows/squares.svg" || result="drawing differs"
    else
        [ ! -e "$work/windows/squares.svg" ] || result="drawing written where the native run wrote none"
    fi
    sed 's/$/\r/' "$work/native/out" >"$work/expected.out"
    cmp -s "$work/expected.out" "$work/windows/out" || result="standard output differs"
    cmp -s "$work/native/status" "$work/windows/status" || result="exit status differs"
    check "$name: $result" "$result"
done

# Failures: same status, no confirmation, the previous document kept.
for args in "" "absent.txt"; do
    printf 'previous\r\n' >"$work/windows/squares.tex"
    # shellcheck disable=SC2086
    run_in "$work/windows" "$wine" "$exe" $args
    # shellcheck disable=SC2086
    run_in "$work/native" "$native" $args
    result=ok
    cmp -s "$work/native/status" "$work/windows/status" || result="exit status differs"
    [ ! -s "$work/windows/out" ] || result="printed a confirmation"
    [ "$(cat "$work/windows/squares.tex")" = $'previous\r' ] || result="previous document lost"
    check "failure '${args}': $result" "$result"
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
