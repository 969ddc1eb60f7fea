#!/usr/bin/env bash
# Connect-time benchmark of the tunnel engine against the bare openvpn command line, inside
# the throw-away test network (needs root). Run by hand:
#
#   bench/connect/bench-connect.sh BUILD_DIR [ROUNDS] [reconnect]
#
# QUELLNET_BENCH_KILL_SWITCH=1 times the engine with its kill switch on. "reconnect" times a
# session coming back after its link was down and after a resume instead (needs dbus-daemon).
#
# BUILD_DIR must have the e2e_bench_connect target built.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
build=${1:?usage: bench-connect.sh BUILD_DIR [ROUNDS]}
bench="$build/bin/e2e_bench_connect"
[ -x "$bench" ] || { echo "build it first: cmake --build $build --target e2e_bench_connect" >&2; exit 2; }
# A hung engine must not hold the namespaces for long.
export QUELLNET_E2E_TIMEOUT=${QUELLNET_E2E_TIMEOUT:-120}
# 21 rounds take a few seconds; with fewer, other load on a 2-core machine moves the medians.
exec bash "$here/../../tests/e2e/e2e-net.sh" run -- "$bench" "${2:-21}" ${3:+"$3"}
