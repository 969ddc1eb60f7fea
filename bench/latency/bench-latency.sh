#!/usr/bin/env bash
# Latency-test benchmark: one run over 1 000 server rows, half of them silent, against the
# ping time-out. Needs root; runs inside two throw-away network namespaces made here (every
# veth is created straight inside them), which are removed on exit however it ends. Nothing
# is changed in the machine's own namespace.
#
#   pinger  qlb0 198.18.110.1/30 ───── veth ───── qlb1 198.18.110.2/30  far
#           198.18.112.0/22 via 198.18.110.2        198.18.112.0/23 local: the kernel answers
#                                                   198.18.114.0/23 blackhole: never answers
#
#   bench/latency/bench-latency.sh BUILD_DIR [ROUNDS]
#
# BUILD_DIR must have the quellnet_bench_latency target built.
set -euo pipefail
build=${1:?usage: bench-latency.sh BUILD_DIR [ROUNDS]}
bench="$build/bin/quellnet_bench_latency"
[ -x "$bench" ] || { echo "build it first: cmake --build $build --target quellnet_bench_latency" >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "needs root (network namespaces)" >&2; exit 77; }
p=qnbench$$p q=qnbench$$q
trap 'ip netns delete $p 2>/dev/null; ip netns delete $q 2>/dev/null; true' EXIT
ip netns add $p
ip netns add $q
ip -n $p link set lo up
ip -n $q link set lo up
ip -n $p link add qlb0 type veth peer name qlb1 netns $q
ip -n $p addr add 198.18.110.1/30 dev qlb0
ip -n $q addr add 198.18.110.2/30 dev qlb1
ip -n $p link set qlb0 up
ip -n $q link set qlb1 up
ip -n $p route add 198.18.112.0/22 via 198.18.110.2
ip -n $q route add local 198.18.112.0/23 dev lo
# Forwarded to a blackhole, so dropped without an error message back.
ip netns exec $q sysctl -qw net.ipv4.ip_forward=1
ip -n $q route add blackhole 198.18.114.0/23
ip netns exec $p "$bench" "${2:-5}"
