#!/bin/sh
# scripts/slurm-enumerate.sh on a one-node Slurm cluster started here (munged,
# slurmctld and slurmd on 127.0.0.1, every file of theirs in a scratch
# directory): the squares of order 22 in 16 array tasks merge into the whole
# run's output; a part killed on its first attempt is run again, and only
# it, while the merge refuses the set without it.
#   slurm_route.sh REPOSITORY SQUARES2TEX SQUARES2TEX_DYNAMIC SIGNAL_AT_LIBRARY
# Exits 77 without the packages (Debian: slurm-wlm munge) or when not root.
set -eu
unset SLURM_CONF
repo=$1
. "$repo/tests/route_helpers.sh"
for command in munged munge slurmctld slurmd sbatch scontrol sinfo python3; do
    command -v $command >/dev/null ||
        { echo "skipped: $command is not installed (Debian: slurm-wlm munge python3)"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "skipped: the Slurm daemons run only as root"; exit 77; }

scratch=$(mktemp -d)
chmod 755 "$scratch"  # munged wants its socket's directory open to all
pids=
stop() {
    # The route, then the jobs, so that no task outlives its slurmd; then
    # the daemons.
    stop_running
    if [ "${SLURM_CONF:-}" = "$scratch/slurm.conf" ]; then
        scancel --quiet --full --user=root || true
        # A task's slurmstepd waits for its slurmd to hear that it ended.
        tries=0
        while [ -n "$(squeue --noheader 2>/dev/null)" ] && [ $tries -lt 600 ]; do
            tries=$((tries + 1))
            sleep 0.2
        done
    fi
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    for pid in $pids; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap stop EXIT
trap 'exit 1' HUP INT TERM
cd "$scratch"
mkdir -m 700 key
mkdir run state spool log bin
head -c 1024 /dev/urandom >key/munge.key
chmod 400 key/munge.key
munged -F --key-file="$scratch/key/munge.key" --socket="$scratch/run/munge.socket" \
    --pid-file="$scratch/run/munged.pid" --log-file="$scratch/log/munged.log" \
    --seed-file="$scratch/run/munged.seed" 2>log/munged.err &
pids="$!"
wait_until munged munge --socket="$scratch/run/munge.socket" --no-input

host=$(hostname -s)
set -- "$@" $(free_ports 2)
cat >slurm.conf <<EOF
ClusterName=scratch
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$5
SlurmdPort=$6
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$scratch/run/munge.socket
CredType=cred/munge
StateSaveLocation=$scratch/state
SlurmdSpoolDir=$scratch/spool
SlurmctldPidFile=$scratch/run/slurmctld.pid
SlurmdPidFile=$scratch/run/slurmd.pid
SlurmctldLogFile=$scratch/log/slurmctld.log
SlurmdLogFile=$scratch/log/slurmd.log
MailProg=/bin/true
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
SwitchType=switch/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=scratch Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
SLURM_CONF=$scratch/slurm.conf
export SLURM_CONF
slurmctld -D -f "$SLURM_CONF" >log/slurmctld.out 2>&1 &
pids="$! $pids"
slurmd -D -f "$SLURM_CONF" -N "$host" >log/slurmd.out 2>&1 &
pids="$! $pids"
wait_until "the Slurm node" sh -c 'sinfo --noheader --format=%T | grep -qx idle'

marker=$scratch/kill-part
tool_that_kills bin "$2" "$3" "$4" "$marker"
SQUARES2TEX=$scratch/bin/squares2tex
export SQUARES2TEX
route=$repo/scripts/slurm-enumerate.sh
out=$scratch/order-22.txt
interruptible "$2" --enumerate 22 --squares -o whole.txt

interruptible "$route" --wait "$out" 16 --enumerate 22 --squares >run1.out 2>&1 || { cat run1.out; fail "the array"; }
grep -q "runs parts 1-16 of 16" run1.out || fail "not one task a part: $(cat run1.out)"
cmp "$out" whole.txt || fail "16 array tasks merge into other codes than the whole run's"

"$route" "$out" 8 --enumerate 22 --squares >other.out 2>&1 && fail "parts of 8 mixed with those of 16"
grep -q "holds parts of another run" other.out || fail "other parts: $(cat other.out)"

# Lose a part that holds codes; its task's first attempt is killed.
part=$(part_with_codes "$out.parts" 16)
k=${part%/16}
rm "$out" "$out.parts/part-$k-of-16.txt"
echo "$part" >"$marker"
interruptible "$route" --wait "$out" 16 --enumerate 22 --squares >run2.out 2>&1 && fail "a killed part passed: $(cat run2.out)"
grep -q "runs parts $k of 16" run2.out || fail "not only part $k again: $(cat run2.out)"
[ ! -e "$marker" ] || fail "part $k did not run"
[ ! -e "$out" ] && [ ! -e "$out.parts/part-$k-of-16.txt" ] || fail "a killed part left output"
grep -q "1 of 16 parts are missing.*: $k\$" run2.out || fail "the missing part not named: $(cat run2.out)"
"$repo/scripts/merge-parts.sh" 16 "$out.parts" "$out" 2>merge.err && fail "merged without part $k"
grep -q "1 of 16 parts are missing.*: $k\$" merge.err && [ ! -e "$out" ] || fail "merge: $(cat merge.err)"

interruptible "$route" --wait "$out" 16 --enumerate 22 --squares >run3.out 2>&1 || { cat run3.out; fail "the resumed array"; }
grep -q "runs parts $k of 16" run3.out || fail "not only part $k again: $(cat run3.out)"
cmp "$out" whole.txt || fail "the resumed run merges into other codes than the whole run's"
echo "ok: 16 array tasks and a merge job make the whole run; part $k, killed, ran again alone"
