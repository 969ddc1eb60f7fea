#!/usr/bin/env bash
# The installed package, as a user gets it: install the .deb, start its helper as the unit's
# command line would (there is no systemd in a container), let an unprivileged member of the
# "quellnet" group connect through it inside the e2e test network without any password,
# start the client from the desktop entry's command, then purge and check that nothing of
# the package, its unit or its kill-switch table is left.
#
#   package-e2e.sh BUILD_DIR          (as root; exit 77 = cannot run here, reported as skipped)
#   package-e2e.sh --inside ...       (the part that runs inside the client namespace)
set -euo pipefail
readonly SKIP=77
here=$(dirname "$(readlink -f "$0")")
root=$(readlink -f "$here/../..")
user=quellnet-e2e

log() { echo "package-e2e: $*" >&2; }

if [ "${1:-}" = --inside ]; then
    connect=$2 home=$3 outer=$4
    unit=/lib/systemd/system/quellnet-helper.service
    read -ra exec_start <<<"$(sed -n 's/^ExecStart=//p' "$unit")"
    # What the unit's RuntimeDirectory= and StateDirectory= would make.
    install -d -m 0755 /run/quellnet
    install -d -m 0700 /var/lib/quellnet
    "${exec_start[@]}" &
    helper=$!
    for _ in $(seq 50); do [ -S /run/quellnet/helper.sock ] && break; sleep 0.1; done
    [ -S /run/quellnet/helper.sock ] || { log "the helper did not listen"; exit 1; }
    as_user=(setpriv --reuid="$user" --regid="$user" --init-groups env HOME="$home" XDG_RUNTIME_DIR="$home/run")
    install -d -m 0700 -o "$user" -g "$user" "$home/run"
    # The harness keeps its files private to root; the user gets a copy.
    install -m 0600 -o "$user" "$QUELLNET_E2E_CLIENT_OVPN" "$home/client.ovpn"
    "${as_user[@]}" "$connect" "$home/client.ovpn" "$QUELLNET_E2E_SERVER_IP"
    log "connected and disconnected as $user"

    # The desktop entry's command starts the client (it stays up until stopped).
    desktop=$(grep -l '^Exec=' /usr/share/applications/*quellnet*.desktop | head -1)
    read -ra command <<<"$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ %[a-zA-Z]//g')"
    status=0
    "${as_user[@]}" QT_QPA_PLATFORM=offscreen timeout 5 "${command[@]}" || status=$?
    [ "$status" = 124 ] || { log "the client from $desktop ended with $status"; exit 1; }
    log "the client ran from the desktop entry (${command[*]})"

    # A block wanted while disconnected outlives the session and the helper...
    "${as_user[@]}" "$connect" "$home/client.ovpn" "$QUELLNET_E2E_SERVER_IP" --keep-block
    kill -TERM "$helper"
    wait "$helper" || true
    nft list table inet quellnet >/dev/null || { log "no table before the purge"; exit 1; }
    # ...until the package goes. The purge runs in the machine's own files (this namespace has
    # a private /etc) but in this network namespace, where the table is.
    DEBIAN_FRONTEND=noninteractive nsenter --mount="/proc/$outer/ns/mnt" dpkg --purge quellnet >&2
    if nft list table inet quellnet >/dev/null 2>&1; then
        log "the purge left the kill-switch table"
        exit 1
    fi
    exit 0
fi

build=${1:?usage: package-e2e.sh BUILD_DIR}
[ "$(id -u)" = 0 ] || { log "needs root"; exit $SKIP; }
# Under systemd the unit would start a helper in the machine's own namespace.
[ -d /run/systemd/system ] && { log "systemd runs here; the test installs only where it does not"; exit $SKIP; }
if dpkg-query -W -f='${db:Status-Status}' quellnet 2>/dev/null | grep -qx installed; then
    log "a quellnet package is installed here already; not touching it"
    exit $SKIP
fi
command -v setpriv >/dev/null || { log "setpriv missing"; exit $SKIP; }

deb=$("$root/scripts/package.sh" "$build" | tail -1)
home=$(mktemp -d /tmp/quellnet-e2e-home.XXXXXX)
cleanup() {
    dpkg --purge quellnet >/dev/null 2>&1 || true
    userdel "$user" >/dev/null 2>&1 || true
    groupdel "$user" >/dev/null 2>&1 || true
    rm -rf "$home"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >&2
# Files and links of the package; folders (and /lib, a link to one) are shared with others.
files=$(dpkg -L quellnet | while read -r f; do [ -d "$f" ] || echo "$f"; done)
getent group quellnet >/dev/null || { log "the package made no group quellnet"; exit 1; }
# A member of "quellnet" by a supplementary group, as an administrator would add a user.
useradd --system --user-group --no-create-home --home-dir "$home" -G quellnet "$user"
chown "$user" "$home"

QUELLNET_E2E_TIMEOUT=180 bash "$root/tests/e2e/e2e-net.sh" run -- \
    bash "$here/package-e2e.sh" --inside "$build/bin/e2e_connect" "$home" $$

left=()
for f in $files; do [ -e "$f" ] || [ -L "$f" ] && left+=("$f"); done
[ ${#left[@]} -eq 0 ] || { log "left after the purge: ${left[*]}"; exit 1; }
for f in /lib/systemd/system/quellnet-helper.service /etc/systemd/system/multi-user.target.wants/quellnet-helper.service /var/lib/quellnet /run/quellnet; do
    [ ! -e "$f" ] || { log "left after the purge: $f"; exit 1; }
done
getent group quellnet >/dev/null && { log "the purge left the group quellnet"; exit 1; }
log "installed, connected, purged: nothing left"
