#!/usr/bin/env bash
# Sets everything up and runs every test: installs the Debian packages of
# scripts/packages.txt that are missing (with apt-get, through sudo when not
# root; nothing is fetched when all are there), builds in build/, runs the
# whole suite, and fails if any test was skipped.
#   scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

if command -v dpkg-query >/dev/null && command -v apt-get >/dev/null; then
    missing=()
    while read -r package; do
        case $package in '' | '#'*) continue ;; esac
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done < scripts/packages.txt
    if [ "${#missing[@]}" -gt 0 ]; then
        as_root=()
        [ "$(id -u)" -eq 0 ] || as_root=(sudo)
        echo "== installing: ${missing[*]}"
        "${as_root[@]}" apt-get update
        "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y --no-install-recommends "${missing[@]}"
    fi
else
    echo "== not Debian: install the packages of scripts/packages.txt by hand; tests without their tools are skipped"
fi

echo "== build and run every test"
cmake -S . -B build
cmake --build build -j2
log=$(mktemp)
trap 'rm -f "$log"' EXIT
ctest --test-dir build --output-on-failure | tee "$log"
if command -v apt-get >/dev/null && grep -q "(Skipped)" "$log"; then
    echo "== tests were skipped though every package is installed" >&2
    exit 1
fi
