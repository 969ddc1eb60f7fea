#!/usr/bin/env bash
# One demo session: the reference backend with its demo data on this network namespace's
# loopback address, and the client pointed at it. scripts/run.sh starts it inside the client
# namespace of tests/e2e/e2e-net.sh, where the one server offered is the harness's real
# OpenVPN server; or directly, loopback only, with the backend's bundled demo servers.
#
#   demo-inside.sh [CLIENT ARGUMENTS ...]
#
# Set by run.sh: QUELLNET_DEMO_WORK (the demo's private folder, with pki/ from
# make-test-ca.sh), QUELLNET_DEMO_BUILD (absolute build folder), QUELLNET_DEMO_XVFB=1 to run
# the client under xvfb-run, QUELLNET_DEMO_HTTPD=1 when the harness runs its test web
# server, QUELLNET_DEMO_HELPER=1 to start quellnet-helper here (inside the namespace, as
# root) for the client. The client's own environment (HOME, XDG_*, QUELLNET_* overrides) comes from run.sh.
# SIGTERM ends the client first (it stops its tunnel), then the backend.
set -euo pipefail

work=${QUELLNET_DEMO_WORK:?set by scripts/run.sh}
build=${QUELLNET_DEMO_BUILD:?set by scripts/run.sh}

backend_pid=""
helper_pid=""
helper_dir=""
launcher_pid=""
xserver_pid=""

log() { echo "demo: $*" >&2; }

# A process that has ended but is not yet reaped (a zombie) counts as gone.
alive() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
    [[ $state != Z* ]]
}

# Waits until a process is gone, at most $2 tenths of a second.
wait_gone() {
    local pid=$1 tenths=$2 i
    for ((i = 0; i < tenths; i++)); do
        alive "$pid" || return 0
        sleep 0.1
    done
    return 1
}

stop_pid() {
    local pid=$1 tenths=$2
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    wait_gone "$pid" "$tenths" || kill -KILL "$pid" 2>/dev/null || true
}

cleanup() {
    local rc=$?
    trap - EXIT INT TERM
    # The client's pid comes from its wrapper: under xvfb-run it is not our child.
    local client_pid=""
    [ -s "$work/client.pid" ] && client_pid=$(cat "$work/client.pid")
    # Stopping the tunnel on exit takes the engine up to about 12 s.
    stop_pid "$client_pid" 200
    # xvfb-run ends its X server once the client is gone, but does not wait for it.
    stop_pid "$launcher_pid" 50
    stop_pid "$xserver_pid" 50
    stop_pid "$backend_pid" 50
    # The helper ends a session the client left running; that takes up to about 12 s.
    stop_pid "$helper_pid" 200
    [ -n "$helper_dir" ] && rm -rf "$helper_dir"
    rm -f "$work/client.pid"
    exit "$rc"
}
trap cleanup EXIT
# A requested stop is a clean end: the harness then tears down without reporting a failure.
trap 'exit 0' INT TERM
# run.sh signals this process to end the session; the file also tells it the session began.
echo $$ >"$work/inside.pid"

server_args=()
if [ -n "${QUELLNET_E2E_CLIENT_OVPN:-}" ]; then
    # The harness's client configuration (inline keys, allowed by the engine's filter) as the
    # only server; the sidecar names it and gives the address the latency test pings.
    servers="$work/servers"
    mkdir -p "$servers"
    cp "$QUELLNET_E2E_CLIENT_OVPN" "$servers/us-demo-1.ovpn"
    printf 'name=Demo Server\ncountry=US\nip=%s\n' "$QUELLNET_E2E_SERVER_IP" \
        >"$servers/us-demo-1.info"
    server_args=(--ovpn-dir "$servers")
fi

if [ "${QUELLNET_DEMO_HELPER:-0}" = 1 ]; then
    # A short folder: the socket's path has at most 107 bytes.
    helper_dir=$(mktemp -d /tmp/qndemo-helper.XXXXXX)
    # DNS through the tunnel only where the harness made /etc private to this namespace.
    dns_mode=none
    [ -f /etc/quellnet-e2e-private ] && dns_mode=resolv.conf
    "$build/bin/quellnet-helper" --socket "$helper_dir/helper.sock" --runtime-dir "$helper_dir" \
        --state-dir "$helper_dir/state" --dns "$dns_mode" >"$work/helper.log" 2>&1 &
    helper_pid=$!
    for ((i = 0; i < 100; i++)); do
        [ -S "$helper_dir/helper.sock" ] && break
        kill -0 "$helper_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -S "$helper_dir/helper.sock" ]; then
        log "quellnet-helper did not start:"
        cat "$work/helper.log" >&2
        exit 1
    fi
    export QUELLNET_HELPER_SOCKET=$helper_dir/helper.sock
fi

# The package the demo's update entry offers.
"$(dirname "$0")/backend-demo-data.sh" --update-package "$work/files" "$build/bin/quellnet-backend"

# The ports the client's built-in defaults use, and the fixed server-list port 4430.
"$build/bin/quellnet-backend" --listen 127.0.0.1 --port 8443 --serverlist-port 4430 \
    --collect-port 8080 --cert "$work/pki/server.pem" --key "$work/pki/server.key" \
    --db "$work/backend.sqlite" --files-dir "$work/files" --demo "${server_args[@]}" \
    >"$work/backend.log" 2>&1 &
backend_pid=$!

ready=0
for ((i = 0; i < 150; i++)); do
    if grep -q '^quellnet-backend: ready$' "$work/backend.log"; then
        ready=1
        break
    fi
    kill -0 "$backend_pid" 2>/dev/null || break
    sleep 0.1
done
if [ $ready = 0 ]; then
    log "the backend did not start (ports 8443, 4430 and 8080 on 127.0.0.1 must be free):"
    cat "$work/backend.log" >&2
    exit 1
fi

# Shown as the backend itself reports them, so the banner cannot disagree with it.
account=$(sed -n 's/^quellnet-backend: demo account: //p' "$work/backend.log" | head -n 1)
email=${account%% password: *}
password=${account#* password: }

echo "================================================================"
echo " Quellnet demo"
echo ""
echo "   e-mail:    $email"
echo "   password:  $password"
echo ""
echo "   backend:   https://127.0.0.1:8443 (server list on port 4430)"
if [ -n "${QUELLNET_E2E_CLIENT_OVPN:-}" ]; then
    echo "   server:    \"Demo Server\" (US), a real OpenVPN server at $QUELLNET_E2E_SERVER_IP"
    echo "              in throw-away network namespaces; tunnel address $QUELLNET_E2E_TUN_SERVER_IP"
    echo "   look in:   ip netns exec $QUELLNET_E2E_NS_CLIENT ip addr show"
    if [ "${QUELLNET_DEMO_HTTPD:-0}" = 1 ]; then
        echo "   traffic:   ip netns exec $QUELLNET_E2E_NS_CLIENT" \
            "curl -s http://$QUELLNET_E2E_TUN_SERVER_IP:$QUELLNET_E2E_HTTP_PORT/bytes/1000000 | wc -c"
    fi
else
    echo "   servers:   the bundled demo servers (loopback addresses: they cannot be connected)"
fi
echo "   data:      $HOME (private, removed on exit)"
echo ""
echo "   Stop: Exit in the client's menu, or Ctrl-C here."
echo "================================================================"

launcher=()
if [ "${QUELLNET_DEMO_XVFB:-0}" = 1 ]; then
    launcher=(xvfb-run -a -s "-screen 0 1280x800x24")
fi
# The wrapper records the client's own pid before becoming the client.
# shellcheck disable=SC2016
"${launcher[@]}" sh -c 'echo $$ >"$0"; exec "$@"' "$work/client.pid" \
    "$build/bin/quellnet" "$@" &
launcher_pid=$!
if [ ${#launcher[@]} -gt 0 ]; then
    # xvfb-run starts its X server before the client; remember it to see it end.
    for ((i = 0; i < 150; i++)); do
        [ -s "$work/client.pid" ] && break
        alive "$launcher_pid" || break
        sleep 0.1
    done
    xserver_pid=$(ps -o pid=,comm= --ppid "$launcher_pid" | awk '$2 == "Xvfb" { print $1 }' \
        || true)
fi
rc=0
wait "$launcher_pid" || rc=$?
launcher_pid=""
# The client has ended: its pid may be reused from now on.
rm -f "$work/client.pid"
exit "$rc"
