#!/usr/bin/env bash
# shellcheck disable=SC2015 # "A && B || fail": fail whenever any part does
# Checks scripts/run.sh as a person uses it: the demo comes up (the backend answers with its
# demo data over the throw-away CA, the client runs on a private data folder, inside the
# client namespace when there is one) and a Ctrl-C (SIGINT) leaves nothing behind: no
# session process, no namespace, no temporary folder, nothing in the caller's HOME.
#
#   demo-run-check.sh BUILD_DIR [netns|loopback]
#
# netns (the default) needs root, /dev/net/tun and working `ip netns`, and exits 77 without
# them. loopback takes the path without namespaces; its backend needs 127.0.0.1 ports 8443,
# 4430 and 8080. The build folder must hold quellnet and quellnet-backend; nothing is built.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: demo-run-check.sh BUILD_DIR [netns|loopback]}" && pwd)
mode=${2:-netns}

passed=0
fail() {
    echo "FAIL: $*" >&2
    echo "$passed passed, 1 failed"
    exit 1
}
ok() {
    echo "ok: $*"
    passed=$((passed + 1))
}
skip() {
    echo "SKIP: $*"
    exit 77
}

case $mode in
netns)
    [ "$(id -u)" = 0 ] || skip "needs root"
    [ -c /dev/net/tun ] || skip "no /dev/net/tun"
    ip netns list >/dev/null 2>&1 || skip "'ip netns' does not work here"
    no_netns=0
    ;;
loopback) no_netns=1 ;;
*) fail "mode must be netns or loopback, not '$mode'" ;;
esac
for program in quellnet quellnet-backend; do
    [ -x "$build/bin/$program" ] || skip "$build/bin/$program is not built"
done
command -v xvfb-run >/dev/null && command -v curl >/dev/null || skip "xvfb-run or curl missing"

sandbox=$(mktemp -d /tmp/qn-demo-check.XXXXXX)
timeout_pid=""
cleanup() {
    # Only when a check failed half-way: the demo's own Ctrl-C handling is what is tested.
    if [ -n "$timeout_pid" ] && kill -0 "$timeout_pid" 2>/dev/null; then
        kill -TERM "$timeout_pid" 2>/dev/null || true
        wait "$timeout_pid" 2>/dev/null || true
    fi
    rm -rf "$sandbox"
}
trap cleanup EXIT
mkdir -p "$sandbox/home" "$sandbox/tmp"

# Waits for a pattern in a file, at most $3 tenths of a second.
wait_for_line() {
    local file=$1 pattern=$2 tenths=$3 i
    for ((i = 0; i < tenths; i++)); do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# run.sh under timeout: a background job of this script would start with SIGINT ignored,
# timeout hands it on with the default action, as a terminal's Ctrl-C finds it.
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$sandbox/home" TMPDIR="$sandbox/tmp" \
    QUELLNET_BUILD_DIR="$build" QUELLNET_DEMO_NO_BUILD=1 QUELLNET_DEMO_NO_NETNS=$no_netns \
    timeout -k 10 240 "$repo/scripts/run.sh" >"$sandbox/out" 2>"$sandbox/err" &
timeout_pid=$!

if ! wait_for_line "$sandbox/out" '^   Stop:' 900; then
    cat "$sandbox/out" "$sandbox/err" >&2
    fail "no demo banner within 90 s"
fi
run_pid=$(ps -o pid= --ppid "$timeout_pid" | tr -d ' ')
[ -n "$run_pid" ] || fail "run.sh not found below timeout $timeout_pid"

grep -q '^   e-mail:    demo@quellnet.example$' "$sandbox/out" || fail "banner lacks the e-mail"
grep -q '^   password:  quellnet-demo$' "$sandbox/out" || fail "banner lacks the password"
ok "banner names the demo account"

data=$(sed -n 's/^   data:      \(.*\) (private, removed on exit)$/\1/p' "$sandbox/out")
work=${data%/home}
[ -n "$data" ] && [ "$work" != "$data" ] && [ -f "$work/pki/ca.pem" ] \
    || fail "no private data folder with a CA in the banner ('$data')"
case $work in
"$sandbox/tmp"/*) ok "private folder $work below the caller's TMPDIR" ;;
*) fail "private folder $work is not below the caller's TMPDIR" ;;
esac

in_ns=()
ns=""
if [ $no_netns = 0 ]; then
    ns=$(sed -n 's/^   look in:   ip netns exec \(qne2e[0-9]*-client\) .*/\1/p' "$sandbox/out")
    [ -n "$ns" ] && ip netns list | grep -q "^$ns\b" || fail "client namespace '$ns' not there"
    in_ns=(ip netns exec "$ns")
else
    grep -q "Connecting needs root, /dev/net/tun and network namespaces" "$sandbox/err" || fail "no word on why connecting cannot work"
    ok "says that connecting needs root and namespaces"
fi

# The client reads the backend's replies over the throw-away CA; so must curl.
prices=$("${in_ns[@]}" curl -sS --max-time 10 --cacert "$work/pki/ca.pem" \
    https://127.0.0.1:8443/price.json) || fail "backend does not answer over its CA"
grep -q '"price_data"' <<<"$prices" || fail "price.json without offers: $prices"
ok "backend answers price.json over the demo CA${ns:+ inside $ns}"

identity=$(sed -n 's/^#define QUELLNET_IDENTITY "\(.*\)"$/\1/p' "$build/generated/quellnet_deploy.h")
servers=$("${in_ns[@]}" curl -sS --max-time 10 --cacert "$work/pki/ca.pem" \
    -H "Identity: $identity" https://127.0.0.1:4430/servers) || fail "no server list"
if [ $no_netns = 0 ]; then
    grep -q '"Name":"Demo Server"' <<<"$servers" && grep -q '"Ip":"198.18.1.2"' <<<"$servers" \
        || fail "server list does not offer the namespace server: $servers"
    # The entry must carry the harness's client configuration, encrypted as the client expects.
    key=$(sed -n 's/^#define QUELLNET_OVPN_KEY "\(.*\)"$/\1/p' "$build/generated/quellnet_deploy.h")
    key_hex=$(printf '%s' "$key" | od -An -tx1 | tr -d ' \n')00
    ovpn=$(sed -n 's/.*"Ovpn":"\([^"]*\)".*/\1/p' <<<"$servers" | sed 's/\\\//\//g')
    plain=$(base64 -d <<<"$ovpn" | openssl enc -d -aes-128-cbc -K "$key_hex" -iv 00 2>/dev/null) \
        || fail "server entry does not decrypt"
    grep -q '^remote 198.18.1.2 1194$' <<<"$plain" && grep -q '^<tls-crypt>$' <<<"$plain" \
        || fail "server entry is not the harness's client configuration"
    ok "server list offers \"Demo Server\" with the namespace server's configuration"
else
    grep -q '"Name":"New York"' <<<"$servers" || fail "bundled demo servers missing: $servers"
    ok "server list offers the bundled demo servers"
fi

wait_for_line "$work/client.pid" . 100 || fail "client did not start"
client=$(cat "$work/client.pid")
for ((i = 0; i < 50; i++)); do
    [ "$(readlink "/proc/$client/exe" 2>/dev/null)" = "$build/bin/quellnet" ] && break
    sleep 0.1
done
[ "$(readlink "/proc/$client/exe" 2>/dev/null)" = "$build/bin/quellnet" ] \
    || fail "process $client is not the client"
tr '\0' '\n' <"/proc/$client/environ" | grep -qx "HOME=$work/home" \
    || fail "client does not run on the private HOME"
if [ $no_netns = 0 ]; then
    [ "$(ip netns identify "$client")" = "$ns" ] || fail "client is not inside $ns"
fi
ok "client $client runs on the private data folder${ns:+ inside $ns}"

# Everything of this session, to look for after the Ctrl-C.
session_pids=()
for proc in /proc/[0-9]*; do
    if tr '\0' ' ' 2>/dev/null <"$proc/cmdline" | grep -qF "$work/"; then
        session_pids+=("${proc#/proc/}")
    fi
done
[ ${#session_pids[@]} -ge 2 ] || fail "backend and client processes not found"

kill -INT "$run_pid"
rc=0
wait "$timeout_pid" || rc=$?
timeout_pid=""
[ $rc = 130 ] || fail "run.sh ended with $rc after SIGINT, not 130"
ok "run.sh ends with 130 after SIGINT"

# A zombie has ended; only its reaping is pending.
left=()
for pid in "${session_pids[@]}" "$client"; do
    state=$(ps -o stat= -p "$pid" 2>/dev/null) && [[ $state != Z* ]] && left+=("$pid")
done
[ ${#left[@]} = 0 ] || fail "processes still running: $(ps -o pid=,args= -p "${left[*]}")"
[ ! -e "$work" ] || fail "private folder $work still there"
[ -z "$(ls -A "$sandbox/tmp")" ] || fail "left in TMPDIR: $(ls -A "$sandbox/tmp")"
[ -z "$(ls -A "$sandbox/home")" ] || fail "written into the caller's HOME: $(ls -A "$sandbox/home")"
if [ $no_netns = 0 ]; then
    prefix=${ns%-client}
    ! ip netns list | grep -q "^$prefix-" || fail "namespaces $prefix-* still there"
fi
ok "nothing left behind: processes, namespaces, folders, caller's HOME"
echo "$passed passed, 0 failed"
