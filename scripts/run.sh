#!/usr/bin/env bash
# The demo in one command: builds Quellnet if needed, starts the reference backend with its
# demo account on a throw-away CA and runs the client against it, with a private data folder
# that is removed on exit. As root with /dev/net/tun and working network namespaces, a real
# OpenVPN server runs in throw-away namespaces (tests/e2e/e2e-net.sh) and the client, inside
# its own namespace, can connect to it; elsewhere backend and client run on loopback only.
# Without a display the client runs under a virtual X server (xvfb-run).
#
#   scripts/run.sh [--no-backend] [CLIENT ARGUMENTS ...]
#
# --no-backend (or QUELLNET_DEMO_BARE=1) runs only the client on its embedded defaults and
# the user's own data folder. QUELLNET_BUILD_DIR names the build folder (default build);
# QUELLNET_DEMO_NO_BUILD=1 takes the build folder as it is (tests); QUELLNET_DEMO_NO_NETNS=1
# skips the namespaces; QUELLNET_DEMO_TIMEOUT bounds a namespace session in seconds (default
# 8 hours). Nothing is changed in the machine's own network namespace.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${QUELLNET_BUILD_DIR:-build}
bare=${QUELLNET_DEMO_BARE:-0}
if [ "${1:-}" = --no-backend ]; then
    bare=1
    shift
fi

if [ "${QUELLNET_DEMO_NO_BUILD:-0}" != 1 ]; then
    scripts/install-deps.sh
    scripts/fetch-data.sh
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j"$(nproc)" --target quellnet quellnet-backend
fi
# The session runs from other folders and, with namespaces, below another process.
build=$(cd "$build" && pwd)

say() { echo "run: $*" >&2; }

if [ "$bare" = 1 ]; then
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        exec "$build/bin/quellnet" "$@"
    fi
    say "no display found, running under xvfb-run"
    exec xvfb-run -a "$build/bin/quellnet" "$@"
fi

netns_problem=""
if [ "${QUELLNET_DEMO_NO_NETNS:-0}" = 1 ]; then
    netns_problem="QUELLNET_DEMO_NO_NETNS=1 is set"
elif [ "$(id -u)" -ne 0 ]; then
    netns_problem="not running as root"
elif [ ! -c /dev/net/tun ]; then
    netns_problem="there is no /dev/net/tun"
elif ! ip netns list >/dev/null 2>&1; then
    netns_problem="'ip netns' does not work here"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quellnet-demo.XXXXXX")
runner_pid=""

# Waits until a process is gone, at most $2 tenths of a second.
wait_gone() {
    local pid=$1 tenths=$2 i
    for ((i = 0; i < tenths; i++)); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

stop_runner() {
    [ -n "$runner_pid" ] && kill -0 "$runner_pid" 2>/dev/null || return 0
    # The session first: it ends the client, which stops its tunnel, and the backend. The
    # harness then tears its namespaces down by itself.
    local inside
    inside=$(cat "$work/inside.pid" 2>/dev/null || true)
    if [ -n "$inside" ] && grep -qa demo-inside "/proc/$inside/cmdline" 2>/dev/null; then
        kill -TERM "$inside" 2>/dev/null || true
    fi
    wait_gone "$runner_pid" 400 && return 0
    kill -TERM "$runner_pid" 2>/dev/null || true
    wait_gone "$runner_pid" 300 && return 0
    say "process $runner_pid does not stop; killing it"
    kill -KILL "$runner_pid" 2>/dev/null || true
    local left
    left=$(ip netns list 2>/dev/null | grep -o "^qne2e$runner_pid-[a-z]*" || true)
    if [ -n "$left" ]; then
        say "namespaces left behind, remove with 'ip netns del NAME': ${left//$'\n'/ }"
    fi
}

finish() {
    local rc=$?
    trap - EXIT INT TERM
    stop_runner
    rm -rf "$work"
    exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

scripts/make-test-ca.sh "$work/pki" localhost 127.0.0.1
mkdir -p "$work/home/.local/share" "$work/home/.config" "$work/home/.cache" "$work/tmp"

# The X server's cookie is found through the real HOME, so name it before HOME moves.
if [ -n "${DISPLAY:-}" ] && [ -z "${XAUTHORITY:-}" ] && [ -f "${HOME:-/nonexistent}/.Xauthority" ]
then
    export XAUTHORITY=$HOME/.Xauthority
fi
# Settings, logs, caches and temporary files of this client never touch the user's own.
export HOME=$work/home
export XDG_DATA_HOME=$HOME/.local/share XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache
export TMPDIR=$work/tmp
export QUELLNET_BACKEND_HOST=127.0.0.1:8443 QUELLNET_SERVERLIST_HOST=127.0.0.1
export QUELLNET_WEB_HOST=127.0.0.1:8443 QUELLNET_COLLECT_URL=https://127.0.0.1:8443/collect
export QUELLNET_CA_FILE=$work/pki/ca.pem
export QUELLNET_DEMO_WORK=$work QUELLNET_DEMO_BUILD=$build
export QUELLNET_PACKAGE_INSTALLER=$PWD/scripts/demo-package-installer.sh

xvfb=0
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    say "no display found, running the client under xvfb-run"
    xvfb=1
fi

run_loopback() {
    say "this demo cannot connect: $netns_problem."
    say "Connecting needs root, /dev/net/tun and network namespaces (the demo's VPN server"
    say "runs in throw-away namespaces). Running the backend and the client on 127.0.0.1"
    say "only; the bundled demo servers are listed but cannot be connected to."
    # The tunnel must never run here: without a namespace it would change this machine's
    # own network. The client is pointed at a helper that does not exist (not at an
    # installed one), so every start fails early.
    export QUELLNET_HELPER_SOCKET=$work/no-helper-outside-namespaces.sock
    export QUELLNET_DEMO_HELPER=0
    export QUELLNET_DEMO_XVFB=$xvfb
    scripts/demo-inside.sh "$@" &
    runner_pid=$!
    local rc=0
    wait "$runner_pid" || rc=$?
    runner_pid=""
    return $rc
}

if [ -n "$netns_problem" ]; then
    rc=0
    run_loopback "$@" || rc=$?
    exit $rc
fi

# Inside a namespace only file sockets reach the caller's X server (abstract ones are per
# namespace); a TCP display is not reachable at all.
if [ $xvfb = 0 ]; then
    if [[ ${DISPLAY:-} =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]] \
        && [ -S "/tmp/.X11-unix/X${BASH_REMATCH[2]}" ]; then
        :
    elif [ -z "${DISPLAY:-}" ]; then
        say "a Wayland display alone cannot be used from a network namespace (a local X"
        say "server's /tmp/.X11-unix socket can); running the client under xvfb-run"
        xvfb=1
    else
        say "display '$DISPLAY' cannot be reached from a network namespace (only a local X"
        say "server's /tmp/.X11-unix socket can); running the client under xvfb-run"
        xvfb=1
    fi
fi
export QUELLNET_DEMO_XVFB=$xvfb
# demo-inside.sh starts the demo's own helper inside the client namespace.
export QUELLNET_DEMO_HELPER=1
export QUELLNET_E2E_TIMEOUT=${QUELLNET_DEMO_TIMEOUT:-28800}

httpd=()
if [ "${QUELLNET_DEMO_NO_BUILD:-0}" != 1 ]; then
    # Optional: only a build with the tests has these targets (a web server and a resolver
    # for the demo network).
    for target in e2e_httpd e2e_dns; do
        [ -x "$build/bin/$target" ] \
            || cmake --build "$build" -j"$(nproc)" --target "$target" >/dev/null 2>&1 || true
    done
fi
if [ -x "$build/bin/e2e_httpd" ]; then
    httpd=(--httpd "$build/bin/e2e_httpd")
    export QUELLNET_DEMO_HTTPD=1
fi
if [ -x "$build/bin/e2e_dns" ]; then
    httpd+=(--dns "$build/bin/e2e_dns")
fi

say "building the demo network (network namespaces, a CA and an OpenVPN server)"
bash tests/e2e/e2e-net.sh run "${httpd[@]}" -- "$PWD/scripts/demo-inside.sh" "$@" &
runner_pid=$!
rc=0
wait "$runner_pid" || rc=$?
runner_pid=""
# 77: the harness found it cannot build its network here before the session began.
if [ $rc = 77 ] && [ ! -e "$work/inside.pid" ]; then
    netns_problem="the network namespaces could not be built (see above)"
    unset QUELLNET_DEMO_HTTPD
    rc=0
    run_loopback "$@" || rc=$?
fi
exit $rc
