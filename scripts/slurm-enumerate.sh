#!/usr/bin/env bash
# Runs an enumeration on a Slurm cluster as a job array, one task a part,
# and a merge job that starts when every part has succeeded:
#   scripts/slurm-enumerate.sh [--wait] [SBATCH-OPTION]... OUTPUT N SQUARES2TEX-OPTION...
#   scripts/slurm-enumerate.sh --time=1:00:00 order-26.txt 256 --enumerate 26 --squares
# Task K writes OUTPUT.parts/part-K-of-N.txt whole or not at all (-o), so a
# re-run submits only the parts whose file is missing, then the merge into
# OUTPUT. SBATCH-OPTIONs (--name=value, before OUTPUT) go to both jobs.
# squares2tex is $SQUARES2TEX or the one on PATH; it, this directory and
# OUTPUT must be where every node sees them. --wait waits for the merge and
# fails unless it wrote OUTPUT.
set -euo pipefail
me=slurm-enumerate.sh
usage() {
    echo "usage: $me [--wait] [SBATCH-OPTION]... OUTPUT N SQUARES2TEX-OPTION..." >&2
    exit 2
}
wait=no
sbatch_options=()
while [ $# -gt 0 ]; do
    case $1 in
        --wait) wait=yes ;;
        --*=*) sbatch_options+=("$1") ;;
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

here=$(cd "$(dirname "$0")" && pwd)
tool=${SQUARES2TEX:-$(command -v squares2tex)} || {
    echo "$me: squares2tex is not on PATH; set SQUARES2TEX to it" >&2
    exit 1
}
case $tool in /*) ;; *) tool=$(pwd)/$tool ;; esac
case $output in /*) ;; *) output=$(pwd)/$output ;; esac
dir=$output.parts
mkdir -p "$dir"

# Each word quoted for sh, whatever its characters, after a space.
quote() {
    local word
    for word; do printf " '%s'" "${word//\'/\'\\\'\'}"; done
}
job="#!/bin/sh
# Part \$SLURM_ARRAY_TASK_ID of $parts, skipped when its file is there.
part=$(quote "$dir" | cut -c2-)/part-\$SLURM_ARRAY_TASK_ID-of-$parts.txt
[ -f \"\$part\" ] || exec$(quote "$tool" "$@") --part \"\$SLURM_ARRAY_TASK_ID/$parts\" -o \"\$part\""
# Parts made with other options would merge into nonsense.
if [ -f "$dir/part-job.sh" ] && [ "$(cat "$dir/part-job.sh")" != "$job" ]; then
    echo "$me: $dir holds parts of another run (see its part-job.sh); give another OUTPUT" >&2
    exit 1
fi
printf '%s\n' "$job" >"$dir/part-job.sh"
printf '#!/bin/sh\nexec%s\n' "$(quote "$here/merge-parts.sh" "$parts" "$dir" "$output")" >"$dir/merge-job.sh"

# The missing parts, as sbatch's ranges (1-4,7,9-12).
missing=$(for ((k = 1; k <= parts; k++)); do [ -f "$dir/part-$k-of-$parts.txt" ] || echo "$k"; done |
    awk 'NR == 1 { first = last = $1; next }
         $1 == last + 1 { last = $1; next }
         { printf "%s%s,", first, (last > first ? "-" last : ""); first = last = $1 }
         END { if (NR) printf "%s%s", first, (last > first ? "-" last : "") }')
touch "$dir/submitted"
after=()
if [ -n "$missing" ]; then
    array=$(sbatch --parsable "${sbatch_options[@]}" --job-name=squares2tex-part --array="$missing" \
        --output="$dir/part-%a-of-$parts.log" "$dir/part-job.sh")
    array=${array%%;*}
    after=(--dependency=afterok:"$array" --kill-on-invalid-dep=yes)
    echo "$me: job $array runs parts $missing of $parts"
else
    echo "$me: all $parts parts are done"
fi
waiting=()
[ $wait = no ] || waiting=(--wait)
merged=0
merge=$(sbatch --parsable "${sbatch_options[@]}" "${after[@]}" "${waiting[@]}" --job-name=squares2tex-merge \
    --output="$dir/merge.log" "$dir/merge-job.sh") || merged=$?
merge=${merge%%;*}
if [ $wait = no ]; then
    [ $merged -eq 0 ] || exit $merged
    echo "$me: job $merge merges them into $output once every part has succeeded"
    exit 0
fi
# A merge cancelled because a part failed leaves sbatch --wait content.
if [ $merged -ne 0 ] || [ ! "$output" -nt "$dir/submitted" ]; then
    "$here/merge-parts.sh" "$parts" "$dir" "$output" ||
        { echo "$me: the logs are $dir/part-K-of-$parts.log" >&2; exit 1; }
fi
echo "$me: merged $parts parts into $output"
