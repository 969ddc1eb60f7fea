#!/usr/bin/env bash
# Runs the reference backend with its demo data on this machine's loopback address, on the
# ports the client's built-in defaults point at (8443, 4430, analytics on 8080). Makes a
# throw-away CA the first time; point the client at it with QUELLNET_CA_FILE.
#
#   scripts/backend-demo-data.sh [STATE_DIR] [extra backend options ...]
#
# STATE_DIR (default build/backend-demo) keeps the CA, the certificate and the database.
# Stop it with Ctrl-C or SIGTERM.
set -euo pipefail
cd "$(dirname "$0")/.."

state=${1:-build/backend-demo}
[ $# -gt 0 ] && shift
build=${QUELLNET_BUILD_DIR:-build}

if [ ! -x "$build/bin/quellnet-backend" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j2 --target quellnet-backend
fi
if [ ! -f "$state/pki/server.pem" ]; then
    scripts/make-test-ca.sh "$state/pki" localhost 127.0.0.1
fi

echo "backend-demo: CA certificate for the client: QUELLNET_CA_FILE=$(realpath "$state/pki/ca.pem")"
exec "$build/bin/quellnet-backend" --listen 127.0.0.1 --port 8443 --serverlist-port 4430 \
    --collect-port 8080 --cert "$state/pki/server.pem" --key "$state/pki/server.key" \
    --db "$state/backend.sqlite" --demo "$@"
