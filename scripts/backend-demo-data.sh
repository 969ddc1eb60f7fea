#!/usr/bin/env bash
# Runs the reference backend with its demo data on this machine's loopback address, on the
# ports the client's built-in defaults point at (8443, 4430, analytics on 8080). Makes a
# throw-away CA the first time; point the client at it with QUELLNET_CA_FILE.
#
#   scripts/backend-demo-data.sh [STATE_DIR] [extra backend options ...]
#   scripts/backend-demo-data.sh --update-package FILES_DIR BACKEND
#
# STATE_DIR (default build/backend-demo) keeps the CA, the certificate, the database and
# files/, the folder served under /download/. Stop it with Ctrl-C or SIGTERM.
# --update-package only writes the package the demo's update entry offers into FILES_DIR (a
# real, tiny Debian package whose version is one past BACKEND's), for scripts/demo-inside.sh.
set -euo pipefail

update_package() {
    local dir=$1 version next tmp
    version=$("$2" --version)
    version=${version##* }
    next=${version%.*}.$((${version##*.} + 1))
    tmp=$(mktemp -d)
    mkdir -p "$tmp/DEBIAN" "$tmp/usr/share/doc/quellnet-demo-update" "$dir"
    cat >"$tmp/DEBIAN/control" <<EOF
Package: quellnet-demo-update
Version: $next
Architecture: all
Maintainer: Quellnet demo <demo@quellnet.example>
Description: Quellnet demo update
 The update the demo backend offers; it contains only a README and filler.
EOF
    echo "The update the Quellnet demo backend offers; it installs nothing else." \
        >"$tmp/usr/share/doc/quellnet-demo-update/README"
    # Filler, so that the demo's download has ranges to fetch in parallel.
    head -c 262144 /dev/urandom >"$tmp/usr/share/doc/quellnet-demo-update/filler.bin"
    chmod -R u=rwX,go=rX "$tmp"
    dpkg-deb --root-owner-group --build "$tmp" "$dir/quellnet_${next}_all.deb" >/dev/null
    rm -rf "$tmp"
}

if [ "${1:-}" = --update-package ]; then
    update_package "$2" "$3"
    exit 0
fi
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

update_package "$state/files" "$build/bin/quellnet-backend"

echo "backend-demo: CA certificate for the client: QUELLNET_CA_FILE=$(realpath "$state/pki/ca.pem")"
exec "$build/bin/quellnet-backend" --listen 127.0.0.1 --port 8443 --serverlist-port 4430 \
    --collect-port 8080 --cert "$state/pki/server.pem" --key "$state/pki/server.key" \
    --db "$state/backend.sqlite" --files-dir "$state/files" --demo "$@"
