#!/usr/bin/env bash
# Runs an enumeration in N parts with GNU parallel, on this machine and on
# others over ssh, and merges them:
#   scripts/parallel-enumerate.sh [PARALLEL-OPTION]... OUTPUT N SQUARES2TEX-OPTION...
#   scripts/parallel-enumerate.sh --sshlogin=:,host1,host2 order-26.txt 256 --enumerate 26 --squares
# Each part is written whole or not at all (-o) on the host that runs it and
# copied back into OUTPUT.parts/; the job log there lets the same command,
# run again, run only the parts that failed or never ran, then merge into
# OUTPUT. PARALLEL-OPTIONs (--name=value, before OUTPUT) go to parallel;
# every host needs squares2tex on its PATH.
set -euo pipefail
me=parallel-enumerate.sh
usage() {
    echo "usage: $me [PARALLEL-OPTION]... OUTPUT N SQUARES2TEX-OPTION..." >&2
    exit 2
}
parallel_options=()
while [ $# -gt 0 ]; do
    case $1 in
        --*=*) parallel_options+=("$1") ;;
        --*) usage ;;
        *) break ;;
    esac
    shift
done
[ $# -ge 3 ] || usage
output=$1
parts=$2
shift 2
case $parts in '' | *[!0-9]* | 0*) usage ;; esac
for word; do
    # parallel hands the command to a shell on each host as one line.
    case $word in *[!A-Za-z0-9/._,:=-]*) echo "$me: '$word' needs quoting; not passed to the hosts" >&2; exit 2 ;; esac
done

here=$(cd "$(dirname "$0")" && pwd)
case $output in /*) ;; *) output=$(pwd)/$output ;; esac
dir=$output.parts
mkdir -p "$dir"
cd "$dir"
part=part-{}-of-$parts.txt
command="squares2tex $* --part {}/$parts -o $part"
# The job log knows parts by number only: parts of another run would merge
# into nonsense.
if [ -f command ] && [ "$(cat command)" != "$command" ]; then
    echo "$me: $dir holds parts of another run ($(cat command)); give another OUTPUT" >&2
    exit 1
fi
printf '%s\n' "$command" >./command

failed=0
parallel "${parallel_options[@]}" --joblog parts.log --resume-failed --return "$part" --cleanup \
    $command ::: $(seq "$parts") || failed=$?
"$here/merge-parts.sh" "$parts" . "$output" || {
    echo "$me: parallel counted $failed failed parts (see $dir/parts.log); the same command" \
        "again runs those (a part logged as done but missing: delete its line there)" >&2
    exit 1
}
echo "$me: merged $parts parts into $output"
