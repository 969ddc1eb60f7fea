#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test; then builds the unit
# tests again under AddressSanitizer + UndefinedBehaviorSanitizer, the thread-heavy ones under
# ThreadSanitizer, and runs them; last, every fuzz target over its corpus and for a short while.
# QUELLNET_SKIP_SANITIZE=1 skips the sanitizer passes, QUELLNET_SKIP_FUZZ=1 the fuzzing;
# QUELLNET_FUZZ_SECONDS sets the time per fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/fetch-data.sh

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELLNET_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${QUELLNET_SKIP_SANITIZE:-0}" != 1 ]; then
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUELLNET_WERROR=ON -DQUELLNET_SANITIZE=address
    cmake --build build-asan -j"$jobs" --target unit_tests
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure -j"$jobs" -L unit

    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DQUELLNET_WERROR=ON -DQUELLNET_SANITIZE=thread
    cmake --build build-tsan -j"$jobs" --target thread_tests
    ctest --test-dir build-tsan --output-on-failure -j"$jobs" -L threads
fi

if [ "${QUELLNET_SKIP_FUZZ:-0}" != 1 ]; then
    scripts/fuzz.sh "${QUELLNET_FUZZ_SECONDS:-10}"
fi
