# Sourced by slurm_route.sh and ssh_route.sh: what both routes' tests need.

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Waits until COMMAND succeeds: a daemon's readiness, never a result. The
# bound is generous so that a loaded machine only makes it slower.
wait_until() {
    what=$1
    shift
    tries=0
    until "$@" >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -lt 600 ] || fail "$what not ready after 120 s"
        sleep 0.2
    done
}

# Runs COMMAND in a process group of its own and waits for it, so that a
# signal to the test stops it at once (the shell runs its trap only between
# commands) and the trap can end the whole group: `stop_running` (an
# sbatch --wait would outlive the cluster, asking for it for ever).
running=
interruptible() {
    setsid "$@" &
    running=$!
    status=0
    wait $running || status=$?
    running=
    return $status
}
stop_running() {
    [ -z "$running" ] || kill -TERM "-$running" 2>/dev/null || true
}

# N TCP ports on 127.0.0.1 that were free a moment ago, one a line.
free_ports() {
    python3 -c '
import socket, sys
held = [socket.socket() for _ in range(int(sys.argv[1]))]
for s in held: s.bind(("127.0.0.1", 0))
print("\n".join(str(s.getsockname()[1]) for s in held))' "$1"
}

# Writes BIN/squares2tex, which runs SQUARES2TEX, except that the first
# attempt of the part named in the file MARKER (as "K/N") is killed at its
# first write (SIGKILL, through the preloaded SIGNAL_AT library), as a part
# on a lost machine would be; the marker is removed so the next attempt runs.
#   tool_that_kills BIN SQUARES2TEX SQUARES2TEX_DYNAMIC SIGNAL_AT_LIBRARY MARKER
tool_that_kills() {
    cat >"$1/squares2tex" <<EOF
#!/bin/sh
if [ -f '$5' ]; then
    case " \$* " in
        *" --part \$(cat '$5') "*) rm '$5' &&
            LD_PRELOAD='$4' SIGNAL_AT='9 write 1' exec '$3' "\$@" ;;
    esac
fi
exec '$2' "\$@"
EOF
    chmod +x "$1/squares2tex"
}

# The first part in DIR/part-K-of-N.txt that holds codes (so its run
# writes), as K/N.
part_with_codes() {
    for file in "$1"/part-*-of-"$2".txt; do
        [ -s "$file" ] || continue
        basename "$file" .txt | sed 's/^part-\([0-9]*\)-of-\([0-9]*\)$/\1\/\2/'
        return
    done
    fail "no part in $1 holds codes"
}
