#!/usr/bin/env bash
# Checks the committed HEAD on Debian 13 (trixie) as a newcomer would: a clean clone inside a Debian 13 system
# made with debootstrap, the README's test command run there (and, with --run, run.sh's build in a clone of its
# own), each timed. Needs root, for debootstrap, mount and chroot.
# Usage: scripts/debian13.sh [--run] [ROOT]
#   ROOT: a Debian 13 root made by `debootstrap trixie ROOT` to use (it is changed: packages are installed);
#   made there when it does not exist yet. Default: /var/tmp/zestora-trixie.
set -euo pipefail
run=
[ "${1:-}" = --run ] && run=1 && shift
here=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-/var/tmp/zestora-trixie}")
[ "$(id -u)" -eq 0 ] || { echo "debian13.sh: run it as root (sudo $0 $*)" >&2; exit 2; }
elapsed() { printf '%d min %02d s' $(($1 / 60)) $(($1 % 60)); }

start=$SECONDS
if [ ! -x "$root/usr/bin/apt-get" ]; then
    "$here/scripts/install-packages.sh" debootstrap
    echo "== Making a Debian 13 root in $root"
    debootstrap trixie "$root" http://deb.debian.org/debian >"$root.log" 2>&1 || {
        tail -20 "$root.log"
        exit 1
    }
    echo "   took $(elapsed $((SECONDS - start)))"
fi

# The system's own /proc and /dev; the mounts are the chroot's only (rslave), so leaving takes none of the host's.
mounts=()
mountpoint -q "$root/proc" || { mount -t proc proc "$root/proc" && mounts+=("$root/proc"); }
if ! mountpoint -q "$root/dev"; then
    mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounts+=("$root/dev")
fi
trap 'for m in "${mounts[@]}"; do umount -R -l "$m"; done' EXIT
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

# What a newcomer has before the README's commands: git, which brought the project.
inside() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
inside sh -c 'command -v git >/dev/null ||
    (apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq git ca-certificates >/dev/null)'

# Each command in a clone of its own, as each is the first a newcomer runs.
head=$(git -C "$here" rev-parse HEAD)
clone() { # the commit checked out here, whatever the repository's own HEAD
    rm -rf "$root/root/$1"
    git clone -q --no-checkout "$here" "$root/root/$1" && git -C "$root/root/$1" checkout -q "$head"
}
status=0
if [ -n "$run" ]; then
    clone run
    echo "== scripts/run.sh (no display there: it builds, then says how to start)"
    t=$SECONDS
    inside bash -c 'cd /root/run && scripts/run.sh' >"$root/root/run.log" 2>&1 || [ $? -eq 2 ] || status=1
    [ -x "$root/root/run/build/bin/zestora-biology" ] || status=1
    echo "   took $(elapsed $((SECONDS - t)))$([ $status -eq 0 ] || echo ", FAILED: see $root/root/run.log")"
fi
clone test
echo "== scripts/test.sh on Debian 13, from a clean clone of $(git -C "$root/root/test" log --oneline -1)"
t=$SECONDS
inside bash -c 'cd /root/test && scripts/test.sh' 2>&1 | tee "$root/root/test.log" | tail -25 || status=1
echo "   took $(elapsed $((SECONDS - t))); all of it $(elapsed $((SECONDS - start)))"
exit $status
