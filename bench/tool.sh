# Sourced by the timing scripts: `here` (the project), `tool` (the built
# squares2tex of BUILD_DIR, default build) and `work`, a scratch directory
# removed on exit.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
tool="$build/squares2tex"
[ -x "$tool" ] || { echo "build squares2tex first: $tool is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
