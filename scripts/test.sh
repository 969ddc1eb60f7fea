#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test; then builds the unit
# tests again under AddressSanitizer + UndefinedBehaviorSanitizer, the thread-heavy ones under
# ThreadSanitizer, and runs them; last, every fuzz target over its corpus and for a short while.
# QUELLNET_SKIP_SANITIZE=1 skips the sanitizer passes, QUELLNET_SKIP_FUZZ=1 the fuzzing;
# QUELLNET_FUZZ_SECONDS sets the time per fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

# How long each step took, for keeping the whole run inside CI's time.
step_start=$SECONDS
step() {
    echo "test.sh: $1 took $((SECONDS - step_start)) s (total $SECONDS s)"
    step_start=$SECONDS
}

scripts/install-deps.sh
scripts/fetch-data.sh
step "installing and fetching"

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELLNET_WERROR=ON
cmake --build build -j"$jobs"
step "the build"
ctest --test-dir build --output-on-failure -j"$jobs"
step "the tests"

if [ "${QUELLNET_SKIP_SANITIZE:-0}" != 1 ]; then
    # Line tables are all a sanitizer's report needs; full debug info costs build time.
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
        -DQUELLNET_WERROR=ON -DQUELLNET_SANITIZE=address
    cmake --build build-asan -j"$jobs" --target unit_tests
    step "the address sanitizer build"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure -j"$jobs" -L unit
    step "the unit tests under it"

    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
        -DQUELLNET_WERROR=ON -DQUELLNET_SANITIZE=thread
    cmake --build build-tsan -j"$jobs" --target thread_tests
    step "the thread sanitizer build"
    ctest --test-dir build-tsan --output-on-failure -j"$jobs" -L threads
    step "the thread tests under it"
fi

if [ "${QUELLNET_SKIP_FUZZ:-0}" != 1 ]; then
    scripts/fuzz.sh "${QUELLNET_FUZZ_SECONDS:-5}"
    step "fuzzing"
fi
