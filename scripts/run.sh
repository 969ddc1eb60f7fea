#!/usr/bin/env bash
# Builds Quellnet if needed and runs the client on its embedded defaults. Without a display
# it runs under a virtual X server (xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/fetch-data.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quellnet

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/quellnet "$@"
fi
echo "run: no display found, running under xvfb-run"
exec xvfb-run -a build/bin/quellnet "$@"
