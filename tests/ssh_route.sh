#!/bin/sh
# GNU parallel over ssh, against an sshd started here on a spare port (its
# host key, the user's key and its files in a scratch directory; the
# "remote" hosts node1 and node2 are that sshd, their home a directory of
# their own): the README's --sshlogin line, as written but for the hosts,
# makes the whole run's squares of order 22; with scripts/parallel-enumerate.sh
# a part killed on its first attempt leaves a set the merge refuses, and
# the same command again runs only it and merges.
#   ssh_route.sh REPOSITORY SQUARES2TEX SQUARES2TEX_DYNAMIC SIGNAL_AT_LIBRARY
# Exits 77 without the packages (Debian: openssh-server openssh-client
# parallel rsync python3).
set -eu
repo=$1
. "$repo/tests/route_helpers.sh"
for command in /usr/sbin/sshd ssh ssh-keygen parallel rsync python3; do
    command -v $command >/dev/null ||
        { echo "skipped: $command is not installed (Debian: openssh-server openssh-client parallel rsync python3)"; exit 77; }
done

scratch=$(mktemp -d)
sshd=
stop() {
    stop_running
    [ -z "$sshd" ] || { kill "$sshd" 2>/dev/null || true; wait "$sshd" 2>/dev/null || true; }
    rm -rf "$scratch"
}
trap stop EXIT
trap 'exit 1' HUP INT TERM
cd "$scratch"
mkdir bin remote a
ssh-keygen -q -t ed25519 -N '' -f host_key
ssh-keygen -q -t ed25519 -N '' -f user_key
cp user_key.pub authorized_keys
port=$(free_ports 1)
# The remote side's home and PATH are its own, as another machine's would be.
cat >sshd_config <<EOF
ListenAddress 127.0.0.1
Port $port
HostKey $scratch/host_key
AuthorizedKeysFile $scratch/authorized_keys
PidFile $scratch/sshd.pid
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
SetEnv HOME=$scratch/remote PATH=$scratch/bin:/usr/bin:/bin
ForceCommand cd "\$HOME" && eval "\$SSH_ORIGINAL_COMMAND"
EOF
cat >ssh_config <<EOF
Host node1 node2
    HostName 127.0.0.1
    Port $port
    User $(id -un)
    IdentityFile $scratch/user_key
    IdentitiesOnly yes
    UserKnownHostsFile $scratch/known_hosts
    StrictHostKeyChecking yes
    BatchMode yes
    LogLevel ERROR
EOF
echo "[127.0.0.1]:$port $(cat host_key.pub)" >known_hosts
# sshd, run as root, wants its privilege separation directory, which the
# system's service would make (under /run, gone at the next boot).
[ "$(id -u)" -ne 0 ] || [ -d /run/sshd ] || mkdir -m 755 /run/sshd
/usr/sbin/sshd -D -e -f "$scratch/sshd_config" 2>sshd.log &
sshd=$!
PARALLEL_SSH="ssh -F $scratch/ssh_config"
export PARALLEL_SSH
wait_until sshd $PARALLEL_SSH node1 true

marker=$scratch/kill-part
tool_that_kills bin "$2" "$3" "$4" "$marker"
PATH=$scratch/bin:$PATH
interruptible "$2" --enumerate 22 --squares -o whole.txt

# The README's lines, the hosts ours and the merge script the repository's.
line=$(grep '^parallel --sshlogin :,host1,host2 ' "$repo/README.md") || fail "no --sshlogin line in README.md"
merge=$(grep '^scripts/merge-parts.sh ' "$repo/README.md") || fail "no merge line in README.md"
line=$(echo "$line" | sed 's/:,host1,host2 /:,node1,node2 /')
interruptible sh -c 'cd a && eval "$1" && eval "$2"' sh "$line" "$repo/$merge" >a.out 2>&1 || { cat a.out; fail "the README's lines"; }
cmp a/order-22.txt whole.txt || fail "the README's lines make other codes than the whole run"
cut -f 2 a/parts.log | grep -qx node1 && cut -f 2 a/parts.log | grep -qx : ||
    fail "parts did not run both here and on the hosts: $(cat a/parts.log)"
[ -z "$(ls remote)" ] || fail "parts left on the hosts: $(ls remote)"

# Lose a part that holds codes: its first attempt is killed.
route=$repo/scripts/parallel-enumerate.sh
part=$(part_with_codes a 16)
k=${part%/16}
echo "$part" >"$marker"
interruptible "$route" --sshlogin=node1,node2 b.txt 16 --enumerate 22 --squares >b1.out 2>&1 && fail "a killed part passed: $(cat b1.out)"
[ ! -e "$marker" ] && [ ! -e b.txt ] && [ ! -e "b.txt.parts/part-$k-of-16.txt" ] ||
    fail "part $k was not killed, or left output"
grep -q "1 of 16 parts are missing.*: $k\$" b1.out || fail "the missing part not named: $(cat b1.out)"
"$repo/scripts/merge-parts.sh" 16 b.txt.parts b.txt 2>merge.err && fail "merged without part $k"
grep -q "1 of 16 parts are missing.*: $k\$" merge.err && [ ! -e b.txt ] || fail "merge: $(cat merge.err)"
"$route" b.txt 16 --enumerate 21 --squares >other.out 2>&1 && fail "parts of order 21 mixed with order 22's"
grep -q "holds parts of another run" other.out || fail "other parts: $(cat other.out)"
interruptible "$route" --sshlogin=node1,node2 b.txt 16 --enumerate 22 --squares >b2.out 2>&1 || { cat b2.out; fail "the resumed run"; }
cmp b.txt whole.txt || fail "the resumed run makes other codes than the whole run"
# The log's one new line is part K's second attempt, and it succeeded.
[ "$(wc -l <b.txt.parts/parts.log)" -eq 18 ] && tail -n 1 b.txt.parts/parts.log | grep -q "^$k	.*	0	0	squares2tex " ||
    fail "not only part $k again: $(cat b.txt.parts/parts.log)"
echo "ok: the README's parallel line over ssh makes the whole run; part $k, killed, ran again alone"
