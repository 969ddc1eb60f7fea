#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (build-fuzz) and runs each one: first over
# its seeds as a regression, then fuzzing for SECONDS (default 30) from a temporary copy of
# them, so nothing new is ever written into the repository. Exits non-zero on any finding and
# keeps the finding's input in the temporary folder it names.
# Usage: scripts/fuzz.sh [seconds-per-target]
set -euo pipefail

seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: $0 [seconds-per-target]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
for tool in clang clang++ cmake; do
    command -v "$tool" >/dev/null || { echo "fuzz: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

start=$(date +%s)
work=$(mktemp -d "${TMPDIR:-/tmp}/quellnet-fuzz.XXXXXX")
keep=0
trap '[ "$keep" = 1 ] || rm -rf "$work"' EXIT

echo "fuzz: building in $build"
if ! { CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUELLNET_FUZZ=ON -DBUILD_TESTING=OFF \
        && cmake --build "$build" --target quellnet_fuzz -j"$(nproc)"; } >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log" >&2
    echo "fuzz: build failed" >&2
    exit 1
fi

# Qt's own leaks are not ours (see the file). The targets' stdout is closed
# (-close_fd_mask=1): the cipher reports bad padding there, millions of times.
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The geo-IP and cache targets write a scratch file per input: on tmpfs that costs no disk.
scratch=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=/dev/shm
fi
common=(-timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=256 -close_fd_mask=1)

findings=0
for dir in "$root"/fuzz/corpus/*/; do
    target=$(basename "$dir")
    bin=$build/fuzz/fuzz_$target
    out=$work/$target
    mkdir -p "$out/seeds" "$out/corpus"
    cp -r "$dir". "$out/seeds/"
    # Sound geo-IP databases are 8 KiB of mostly zeros: the target writes them itself.
    if [ "$target" = ip2region ]; then
        "$bin" --write-seeds "$out/seeds"
    fi
    cp -r "$out/seeds/." "$out/corpus/"
    seeds=$(find "$out/seeds" -type f | wc -l)
    status=ok
    if ! TMPDIR=$scratch "$bin" "${common[@]}" -runs=0 -artifact_prefix="$out/" "$out/seeds" >"$out/regression.log" 2>&1; then
        status="FINDING in the seeds"
        log=$out/regression.log
    elif ! TMPDIR=$scratch "$bin" "${common[@]}" -max_total_time="$seconds" -artifact_prefix="$out/" \
            "$out/corpus" >"$out/fuzz.log" 2>&1; then
        status=FINDING
        log=$out/fuzz.log
    fi
    # "Done N runs" at a normal end, else the last status line's "#N".
    runs=$(sed -n -e 's/^Done \([0-9]*\) runs.*/\1/p' -e 's/^#\([0-9]*\)[[:space:]].*/\1/p' \
        "$out/fuzz.log" 2>/dev/null | tail -n 1)
    printf '%-15s %s seeds, %s executions: %s\n' "$target" "$seeds" "${runs:-0}" "$status"
    if [ "$status" != ok ]; then
        findings=$((findings + 1))
        grep -E 'invariant broken|^==[0-9]+== ?ERROR|^SUMMARY|runtime error|Test unit written' "$log" \
            | head -n 8 | sed 's/^/    /'
    fi
done

echo "fuzz: $((findings)) finding(s), $(($(date +%s) - start)) s"
if [ "$findings" -gt 0 ]; then
    keep=1
    echo "fuzz: logs and inputs kept in $work" >&2
    exit 1
fi
