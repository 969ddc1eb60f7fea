#!/usr/bin/env bash
# Makes the Debian package quellnet_<version>_<arch>.deb in a build folder (default "build",
# relative to the repository): configures the folder if it is new, builds what the package
# holds if it is missing or stale, runs cpack there and prints the path of the .deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

build="${1:-build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
    scripts/fetch-data.sh
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELLNET_WERROR=ON >&2
fi
build="$(cd "$build" && pwd)"

# cpack itself builds nothing (CMAKE_SKIP_INSTALL_ALL_DEPENDENCY): only what it installs.
cmake --build "$build" -j"$(nproc)" --target quellnet quellnet-helper quellnet_package_files >&2

log="$build/cpack.log"
if ! (cd "$build" && cpack -G DEB) >"$log" 2>&1; then
    cat "$log" >&2
    echo "package: cpack failed" >&2
    exit 1
fi
deb="$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$log" | tail -n 1)"
[ -f "$deb" ] || { cat "$log" >&2; echo "package: no .deb named in $log" >&2; exit 1; }
echo "$deb"
