#!/usr/bin/env bash
# Throw-away test network for the end-to-end tests: six network namespaces, a PKI made with
# openssl and a real openvpn server. Nothing is ever changed in the machine's own network
# namespace: every veth is created straight inside a test namespace, and all namespaces are
# removed on exit, also on failure or interruption.
#
#   e2e-net.sh run [--httpd PATH] [--dns PATH] [--] CMD [ARG ...]
#       build the network, run CMD inside the client namespace, tear everything down;
#       exits with CMD's status. CMD finds the network in QUELLNET_E2E_* variables and gets
#       a private XDG_RUNTIME_DIR; --httpd starts that test HTTP server on the server host,
#       --dns that test resolver on the LAN host and on the server host (the tunnel's).
#   e2e-net.sh smoke
#       the bare openvpn client connects and pings the server through the tunnel
#   e2e-net.sh server-start | server-kill | server-alive
#       used by the tests (through QUELLNET_E2E_CTL) while a run is in progress
#   e2e-net.sh client-link-down | client-link-up | client-address-next | client-network-reset
#       the client's LAN link goes down; comes back (the LAN's router and addresses again, as
#       a network manager would set them); the LAN gives the client another address; all as
#       at the start
#
# Topology (addresses exist only inside the namespaces):
#
#   behind 10.99.0.2
#     │    (client fwd0 10.99.0.1; the client forwards)
#   client 192.168.77.2 ──┐                     ┌── wan0 198.18.1.1 ── server 198.18.1.2
#                         ├─ br0 192.168.77.1 ──┤
#   lan    192.168.77.3 ──┘   (router, forwards)└── wan1 198.18.2.1 ── outside 198.18.2.2
#
#   The server runs openvpn on udp/1194 with tunnel 10.8.0.1/24, IPv4 only, and pushes itself
#   as DNS server. The client's path is dual stack (client 2001:db8:77::2, br0 2001:db8:77::1,
#   wan1 2001:db8:2::1, outside 2001:db8:2::2), so IPv6 reaches the outside host only by
#   leaving the tunnel. The client's resolver is the LAN host's, as behind a home router.
#
# Exit status 77: cannot run here (not root, no /dev/net/tun, no working `ip netns`, a tool
# missing); CTest reports that as skipped.
set -euo pipefail

readonly SKIP=77
SELF=$(readlink -f "$0")
readonly SELF

readonly LAN_NET=192.168.77
readonly ROUTER_LAN_IP=$LAN_NET.1
readonly CLIENT_IP=$LAN_NET.2
readonly CLIENT_IP_NEXT=$LAN_NET.4
readonly LAN_IP=$LAN_NET.3
readonly ROUTER_SERVER_IP=198.18.1.1
readonly SERVER_IP=198.18.1.2
readonly ROUTER_OUTSIDE_IP=198.18.2.1
readonly OUTSIDE_IP=198.18.2.2
readonly VPN_PORT=1194
readonly TUN_NET=10.8.0
readonly TUN_SERVER_IP=$TUN_NET.1
readonly HTTP_PORT=8080
readonly CLIENT_IP6=2001:db8:77::2
readonly ROUTER_LAN_IP6=2001:db8:77::1
readonly OUTSIDE_IP6=2001:db8:2::2
readonly ROUTER_OUTSIDE_IP6=2001:db8:2::1
readonly FWD_NET=10.99.0
readonly CLIENT_FWD_IP=$FWD_NET.1
readonly BEHIND_IP=$FWD_NET.2
# What the test resolvers answer to every A question.
readonly DNS_ANSWER=192.0.2.53

log() { echo "e2e-net: $*" >&2; }

# ---------------------------------------------------------------- state shared with the tests

load_state() {
    : "${QUELLNET_E2E_STATE:?not inside an e2e run}"
    # shellcheck source=/dev/null
    . "$QUELLNET_E2E_STATE/env"
}

# Waits for a pattern in a file, at most $3 tenths of a second.
wait_for_line() {
    local file=$1 pattern=$2 tenths=$3 i
    for ((i = 0; i < tenths; i++)); do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Waits until a process is gone, at most $2 tenths of a second.
wait_gone() {
    local pid=$1 tenths=$2 i
    for ((i = 0; i < tenths; i++)); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

server_start() {
    load_state
    if [ -s "$STATE/server.pid" ] && kill -0 "$(cat "$STATE/server.pid")" 2>/dev/null; then
        return 0
    fi
    rm -f "$STATE/server.pid"
    : >"$STATE/server.log"
    ip netns exec "$NS_SERVER" openvpn --config "$STATE/server.conf" --daemon \
        --writepid "$STATE/server.pid" --log "$STATE/server.log"
    if ! wait_for_line "$STATE/server.log" "Initialization Sequence Completed" 150; then
        log "openvpn server did not come up:"
        tail -n 20 "$STATE/server.log" >&2
        return 1
    fi
}

server_kill() {
    load_state
    [ -s "$STATE/server.pid" ] || return 0
    local pid
    pid=$(cat "$STATE/server.pid")
    kill -KILL "$pid" 2>/dev/null || true
    wait_gone "$pid" 50 || { log "server $pid does not die"; return 1; }
    rm -f "$STATE/server.pid"
}

# The client's LAN side as a network manager keeps it: IPv6 (dropped when a link goes down),
# then the default routes, the IPv4 one last (from then on the network is usable).
client_lan_up() {
    ip -n "$NS_CLIENT" link set eth0 up
    ip -n "$NS_CLIENT" addr replace "$CLIENT_IP6/64" dev eth0 nodad
    ip -n "$NS_CLIENT" -6 route replace default via "$ROUTER_LAN_IP6"
    ip -n "$NS_CLIENT" route replace default via "$ROUTER_LAN_IP"
}

client_ctl() {
    load_state
    case $1 in
    client-link-down) ip -n "$NS_CLIENT" link set eth0 down ;;
    client-link-up) client_lan_up ;;
    client-address-next)
        ip -n "$NS_CLIENT" addr del "$CLIENT_IP/24" dev eth0
        ip -n "$NS_CLIENT" addr add "$CLIENT_IP_NEXT/24" dev eth0
        client_lan_up
        ;;
    client-network-reset)
        ip -n "$NS_CLIENT" addr del "$CLIENT_IP_NEXT/24" dev eth0 2>/dev/null || true
        ip -n "$NS_CLIENT" addr replace "$CLIENT_IP/24" dev eth0
        client_lan_up
        ;;
    esac
}

server_alive() {
    load_state
    [ -s "$STATE/server.pid" ] && kill -0 "$(cat "$STATE/server.pid")" 2>/dev/null
}

# ---------------------------------------------------------------- preconditions

check_can_run() {
    if [ "$(id -u)" -ne 0 ]; then
        log "SKIP: needs root"
        exit $SKIP
    fi
    if [ ! -c /dev/net/tun ]; then
        log "SKIP: no /dev/net/tun"
        exit $SKIP
    fi
    if [ ! -d /proc/sys/net/ipv6 ]; then
        log "SKIP: IPv6 is disabled in this kernel"
        exit $SKIP
    fi
    local tool
    for tool in ip openvpn openssl nft tcpdump ping; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            log "SKIP: $tool is missing (scripts/install-deps.sh installs it)"
            exit $SKIP
        fi
    done
}

# ---------------------------------------------------------------- topology

PREFIX=""
STATE=""
RUNTIME=""
NAMESPACES=()
MADE_ETC_NETNS=0

teardown() {
    local ns pid pids
    # Ends only processes that live in our namespaces, one by one by id.
    for ns in "${NAMESPACES[@]}"; do
        pids=$(ip netns pids "$ns" 2>/dev/null || true)
        for pid in $pids; do
            kill -TERM "$pid" 2>/dev/null || true
        done
    done
    for ns in "${NAMESPACES[@]}"; do
        pids=$(ip netns pids "$ns" 2>/dev/null || true)
        for pid in $pids; do
            wait_gone "$pid" 30 || kill -KILL "$pid" 2>/dev/null || true
        done
    done
    for ns in "${NAMESPACES[@]}"; do
        ip netns del "$ns" 2>/dev/null || true
        rm -rf "/etc/netns/$ns"
    done
    NAMESPACES=()
    if [ $MADE_ETC_NETNS = 1 ]; then
        rmdir /etc/netns 2>/dev/null || true
    fi
    if [ -n "$STATE" ] && [ -d "$STATE" ]; then
        rm -rf "$STATE"
    fi
    if [ -n "$RUNTIME" ] && [ -d "$RUNTIME" ]; then
        rm -rf "$RUNTIME"
    fi
}

on_exit() {
    local rc=$?
    trap - EXIT INT TERM
    teardown
    exit "$rc"
}

# add_ns ROLE VAR: creates namespace PREFIX-ROLE and stores its name in VAR.
add_ns() {
    local name="$PREFIX-$1"
    ip netns add "$name" || return 1
    NAMESPACES+=("$name")
    ip -n "$name" link set lo up
    printf -v "$2" '%s' "$name"
}

# veth between two namespaces, created inside the first one.
link() {
    local ns1=$1 if1=$2 ns2=$3 if2=$4
    ip -n "$ns1" link add "$if1" type veth peer name "$if2" netns "$ns2" \
        && ip -n "$ns1" link set "$if1" up \
        && ip -n "$ns2" link set "$if2" up
}

make_topology() {
    local ns conf
    PREFIX="qne2e$$"
    trap on_exit EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    if ! add_ns router NS_ROUTER 2>/dev/null; then
        log "SKIP: cannot create network namespaces here"
        teardown
        trap - EXIT INT TERM
        exit $SKIP
    fi
    add_ns client NS_CLIENT
    add_ns lan NS_LAN
    add_ns server NS_SERVER
    add_ns outside NS_OUTSIDE
    add_ns behind NS_BEHIND

    if ! ip -n "$NS_ROUTER" link add br0 type bridge 2>/dev/null \
        || ! link "$NS_ROUTER" lan0 "$NS_CLIENT" eth0 2>/dev/null; then
        log "SKIP: no bridge or veth support in this kernel"
        exit $SKIP
    fi
    ip -n "$NS_ROUTER" link set br0 up
    link "$NS_ROUTER" lan1 "$NS_LAN" eth0
    ip -n "$NS_ROUTER" link set lan0 master br0
    ip -n "$NS_ROUTER" link set lan1 master br0
    ip -n "$NS_ROUTER" addr add "$ROUTER_LAN_IP/24" dev br0
    link "$NS_ROUTER" wan0 "$NS_SERVER" eth0
    ip -n "$NS_ROUTER" addr add "$ROUTER_SERVER_IP/24" dev wan0
    link "$NS_ROUTER" wan1 "$NS_OUTSIDE" eth0
    ip -n "$NS_ROUTER" addr add "$ROUTER_OUTSIDE_IP/24" dev wan1
    ip netns exec "$NS_ROUTER" sysctl -qw net.ipv4.ip_forward=1

    ip -n "$NS_CLIENT" addr add "$CLIENT_IP/24" dev eth0
    ip -n "$NS_CLIENT" route add default via "$ROUTER_LAN_IP"
    ip -n "$NS_LAN" addr add "$LAN_IP/24" dev eth0
    ip -n "$NS_LAN" route add default via "$ROUTER_LAN_IP"
    ip -n "$NS_SERVER" addr add "$SERVER_IP/24" dev eth0
    ip -n "$NS_SERVER" route add default via "$ROUTER_SERVER_IP"
    ip -n "$NS_OUTSIDE" addr add "$OUTSIDE_IP/24" dev eth0
    ip -n "$NS_OUTSIDE" route add default via "$ROUTER_OUTSIDE_IP"
    # The LAN host sends to the client's tunnel addresses over the LAN, as a hostile neighbour.
    ip -n "$NS_LAN" route add "$TUN_NET.0/24" via "$CLIENT_IP"

    # IPv6 on the client's path only; without DAD the addresses work at once.
    for ns in "$NS_ROUTER" "$NS_CLIENT" "$NS_OUTSIDE"; do
        ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=0
    done
    ip -n "$NS_ROUTER" addr add "$ROUTER_LAN_IP6/64" dev br0 nodad
    ip -n "$NS_ROUTER" addr add "$ROUTER_OUTSIDE_IP6/64" dev wan1 nodad
    ip netns exec "$NS_ROUTER" sysctl -qw net.ipv6.conf.all.forwarding=1
    ip -n "$NS_CLIENT" addr add "$CLIENT_IP6/64" dev eth0 nodad
    ip -n "$NS_CLIENT" -6 route add default via "$ROUTER_LAN_IP6"
    ip -n "$NS_OUTSIDE" addr add "$OUTSIDE_IP6/64" dev eth0 nodad
    ip -n "$NS_OUTSIDE" -6 route add default via "$ROUTER_OUTSIDE_IP6"

    # A host behind the client, whose traffic the client forwards (a shared connection).
    link "$NS_CLIENT" fwd0 "$NS_BEHIND" eth0
    ip -n "$NS_CLIENT" addr add "$CLIENT_FWD_IP/24" dev fwd0
    ip -n "$NS_BEHIND" addr add "$BEHIND_IP/24" dev eth0
    ip -n "$NS_BEHIND" route add default via "$CLIENT_FWD_IP"
    ip -n "$NS_ROUTER" route add "$FWD_NET.0/24" via "$CLIENT_IP"
    ip netns exec "$NS_CLIENT" sysctl -qw net.ipv4.ip_forward=1
    # Loose source checks, so only the firewall can stop what the LAN host sends to the
    # tunnel address.
    for conf in all default eth0 fwd0; do
        ip netns exec "$NS_CLIENT" sysctl -qw "net.ipv4.conf.$conf.rp_filter=0"
    done

    # The client's resolver is the LAN host, so a leaked lookup is visible there.
    if [ ! -d /etc/netns ]; then
        MADE_ETC_NETNS=1
    fi
    mkdir -p "/etc/netns/$NS_CLIENT"
    printf 'nameserver %s\noptions timeout:1 attempts:1\n' "$LAN_IP" \
        >"/etc/netns/$NS_CLIENT/resolv.conf"

    STATE=$(mktemp -d "${TMPDIR:-/tmp}/qne2e.XXXXXX")
    chmod 700 "$STATE"
    # The engine's management socket lives below XDG_RUNTIME_DIR; a unix socket path has at
    # most 107 bytes, which a deep build folder can exceed.
    RUNTIME=$(mktemp -d /tmp/qne2e-run.XXXXXX)
    chmod 700 "$RUNTIME"
}

# ---------------------------------------------------------------- PKI and configurations

make_pki() {
    local pki="$STATE/pki"
    mkdir -p "$pki"
    (
        umask 077
        cd "$pki"
        cat >ext.cnf <<'EOF'
[req]
distinguished_name=dn
[dn]
[ca]
basicConstraints=critical,CA:TRUE
keyUsage=critical,keyCertSign,cRLSign
[server]
basicConstraints=CA:FALSE
keyUsage=critical,digitalSignature,keyAgreement
extendedKeyUsage=serverAuth
[client]
basicConstraints=CA:FALSE
keyUsage=critical,digitalSignature,keyAgreement
extendedKeyUsage=clientAuth
EOF
        local name
        for name in ca otherca; do
            openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
                -keyout "$name.key" -out "$name.crt" -days 2 -subj "/CN=quellnet-e2e-$name" \
                -config ext.cnf -extensions ca 2>/dev/null
        done
        local serial=1
        for name in server client; do
            openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
                -keyout "$name.key" -out "$name.csr" -subj "/CN=quellnet-e2e-$name" \
                2>/dev/null
            openssl x509 -req -in "$name.csr" -CA ca.crt -CAkey ca.key -set_serial $serial \
                -days 2 -sha256 -extfile ext.cnf -extensions "$name" -out "$name.crt" \
                2>/dev/null
            serial=$((serial + 1))
        done
        openvpn --genkey secret tc.key >/dev/null
    )
}

inline() {
    local tag=$1 file=$2
    printf '<%s>\n' "$tag"
    cat "$file"
    printf '</%s>\n' "$tag"
}

# A client configuration as a server would hand it out: directives plus inline keys.
client_config() {
    local ca=$1 pki="$STATE/pki"
    cat <<EOF
client
dev tun
proto udp
remote $SERVER_IP $VPN_PORT
nobind
remote-cert-tls server
verb 3
EOF
    inline ca "$pki/$ca"
    inline cert "$pki/client.crt"
    inline key "$pki/client.key"
    inline tls-crypt "$pki/tc.key"
}

make_configs() {
    local pki="$STATE/pki"
    cat >"$STATE/server.conf" <<EOF
dev tun
proto udp
local $SERVER_IP
port $VPN_PORT
topology subnet
server $TUN_NET.0 255.255.255.0
push "redirect-gateway def1"
push "dhcp-option DNS $TUN_SERVER_IP"
keepalive 1 5
ca $pki/ca.crt
cert $pki/server.crt
key $pki/server.key
dh none
tls-crypt $pki/tc.key
verb 3
EOF
    (
        umask 077
        client_config ca.crt >"$STATE/client.ovpn"
        client_config otherca.crt >"$STATE/wrongca.ovpn"
    )

    cat >"$STATE/env" <<EOF
STATE=$STATE
NS_ROUTER=$NS_ROUTER
NS_CLIENT=$NS_CLIENT
NS_LAN=$NS_LAN
NS_SERVER=$NS_SERVER
NS_OUTSIDE=$NS_OUTSIDE
NS_BEHIND=$NS_BEHIND
EOF
}

export_for_tests() {
    export QUELLNET_E2E_STATE=$STATE
    export XDG_RUNTIME_DIR=$RUNTIME
    export QUELLNET_E2E_CTL=$SELF
    export QUELLNET_E2E_NS_ROUTER=$NS_ROUTER
    export QUELLNET_E2E_NS_CLIENT=$NS_CLIENT
    export QUELLNET_E2E_NS_LAN=$NS_LAN
    export QUELLNET_E2E_NS_SERVER=$NS_SERVER
    export QUELLNET_E2E_NS_OUTSIDE=$NS_OUTSIDE
    export QUELLNET_E2E_NS_BEHIND=$NS_BEHIND
    export QUELLNET_E2E_CLIENT_IP=$CLIENT_IP
    export QUELLNET_E2E_CLIENT_IP_NEXT=$CLIENT_IP_NEXT
    export QUELLNET_E2E_LAN_IP=$LAN_IP
    export QUELLNET_E2E_ROUTER_LAN_IP=$ROUTER_LAN_IP
    export QUELLNET_E2E_SERVER_IP=$SERVER_IP
    export QUELLNET_E2E_ROUTER_SERVER_IP=$ROUTER_SERVER_IP
    export QUELLNET_E2E_OUTSIDE_IP=$OUTSIDE_IP
    export QUELLNET_E2E_ROUTER_OUTSIDE_IP=$ROUTER_OUTSIDE_IP
    export QUELLNET_E2E_CLIENT_IP6=$CLIENT_IP6
    export QUELLNET_E2E_OUTSIDE_IP6=$OUTSIDE_IP6
    export QUELLNET_E2E_BEHIND_IP=$BEHIND_IP
    export QUELLNET_E2E_VPN_PORT=$VPN_PORT
    export QUELLNET_E2E_TUN_SERVER_IP=$TUN_SERVER_IP
    export QUELLNET_E2E_HTTP_PORT=$HTTP_PORT
    export QUELLNET_E2E_CLIENT_OVPN=$STATE/client.ovpn
    export QUELLNET_E2E_WRONGCA_OVPN=$STATE/wrongca.ovpn
}

build_all() {
    check_can_run
    make_topology
    make_pki
    make_configs
    export_for_tests
    server_start
}

# ---------------------------------------------------------------- commands

# start_daemon NS NAME CMD [ARG ...]: runs CMD in NS in the background (the teardown ends
# it) and waits until it says it is listening.
start_daemon() {
    local ns=$1 name=$2
    shift 2
    ip netns exec "$ns" "$@" >"$STATE/$name.log" 2>&1 &
    if ! wait_for_line "$STATE/$name.log" "listening" 50; then
        log "$name did not start"
        cat "$STATE/$name.log" >&2
        return 1
    fi
}

cmd_run() {
    local httpd="" dns=""
    while [ $# -gt 0 ]; do
        case $1 in
        --httpd)
            httpd=$2
            shift 2
            ;;
        --dns)
            dns=$2
            shift 2
            ;;
        --)
            shift
            break
            ;;
        *) break ;;
        esac
    done
    [ $# -gt 0 ] || { log "run: no command"; exit 2; }
    build_all
    if [ -n "$httpd" ]; then
        start_daemon "$NS_SERVER" httpd "$httpd" 0.0.0.0 "$HTTP_PORT" || exit 1
    fi
    if [ -n "$dns" ]; then
        start_daemon "$NS_LAN" dns-lan "$dns" "$LAN_IP" "$DNS_ANSWER" || exit 1
        # Every address of the server host, so also the tunnel's once it exists.
        start_daemon "$NS_SERVER" dns-server "$dns" 0.0.0.0 "$DNS_ANSWER" || exit 1
        export QUELLNET_E2E_DNS_ANSWER=$DNS_ANSWER
    fi
    local rc=0
    # Bounded even if the command hangs: CTest's own time-out is the last resort.
    # In the background so a signal to this script runs the teardown at once.
    timeout -k 5 "${QUELLNET_E2E_TIMEOUT:-270}" ip netns exec "$NS_CLIENT" \
        bash "$SELF" private-etc "$@" &
    wait $! || rc=$?
    if [ $rc -ne 0 ]; then
        log "command exited with $rc; server log tail:"
        tail -n 15 "$STATE/server.log" >&2 || true
    fi
    return $rc
}

# Runs inside the client namespace (`ip netns exec` gave it a mount namespace of its own):
# /etc becomes an overlay whose changes stay here, so a helper that replaces /etc/resolv.conf
# (a symlink on many hosts, which the namespace's bind mount would not cover) can never
# touch the machine's own. The marker file tells the tests it is so.
cmd_private_etc() {
    load_state
    local upper="$STATE/etc-upper" work="$STATE/etc-work"
    mkdir -p "$upper" "$work"
    if ! mount -t overlay overlay -o "lowerdir=/etc,upperdir=$upper,workdir=$work" /etc \
        || [ "$(findmnt -n -o FSTYPE /etc)" != overlay ]; then
        log "SKIP: cannot give the client namespace a private /etc (overlayfs)"
        exit $SKIP
    fi
    rm -f /etc/resolv.conf
    cat "/etc/netns/$NS_CLIENT/resolv.conf" >/etc/resolv.conf
    echo "$NS_CLIENT" >/etc/quellnet-e2e-private
    exec "$@"
}

cmd_smoke() {
    build_all
    local log="$STATE/bare-client.log"
    ip netns exec "$NS_CLIENT" openvpn --config "$STATE/client.ovpn" --daemon \
        --writepid "$STATE/bare-client.pid" --log "$log"
    if ! wait_for_line "$log" "Initialization Sequence Completed" 200; then
        log "FAIL: bare client did not connect"
        tail -n 30 "$log" >&2
        exit 1
    fi
    if ! ip netns exec "$NS_CLIENT" ping -c 3 -i 0.2 -W 2 "$TUN_SERVER_IP"; then
        log "FAIL: no ping through the tunnel"
        exit 1
    fi
    local pid
    pid=$(cat "$STATE/bare-client.pid")
    kill -TERM "$pid"
    wait_gone "$pid" 50 || { log "FAIL: bare client does not stop"; exit 1; }
    if ip -n "$NS_CLIENT" link show tun0 >/dev/null 2>&1; then
        log "FAIL: tun0 still there after the client stopped"
        exit 1
    fi
    log "smoke: bare openvpn connected and pinged $TUN_SERVER_IP through the tunnel"
}

case ${1:-} in
run)
    shift
    cmd_run "$@"
    ;;
private-etc)
    shift
    cmd_private_etc "$@"
    ;;
smoke) cmd_smoke ;;
server-start) server_start ;;
server-kill) server_kill ;;
server-alive) server_alive ;;
client-link-down | client-link-up | client-address-next | client-network-reset) client_ctl "$1" ;;
*)
    sed -n '2,35p' "$SELF" >&2
    exit 2
    ;;
esac
