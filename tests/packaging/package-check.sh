#!/usr/bin/env bash
# The Debian package as a user gets it, made from this build folder: lintian finds no error
# or warning, the desktop entry and AppStream file it carries validate, the versions in them
# agree, and it holds exactly the files below.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:?usage: package-check.sh BUILD_DIR}" && pwd)"

for tool in cpack dpkg-deb lintian desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done

deb="$("$root/scripts/package.sh" "$build")"
echo "package: $deb"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"

expected="/lib/systemd/system/quellnet-helper.service
/usr/bin/quellnet
/usr/libexec/quellnet/quellnet-helper
/usr/share/applications/org.quellnet.Quellnet.desktop
/usr/share/doc/quellnet/changelog.gz
/usr/share/doc/quellnet/copyright
/usr/share/icons/hicolor/128x128/apps/quellnet.png
/usr/share/icons/hicolor/16x16/apps/quellnet.png
/usr/share/icons/hicolor/22x22/apps/quellnet.png
/usr/share/icons/hicolor/24x24/apps/quellnet.png
/usr/share/icons/hicolor/256x256/apps/quellnet.png
/usr/share/icons/hicolor/32x32/apps/quellnet.png
/usr/share/icons/hicolor/48x48/apps/quellnet.png
/usr/share/icons/hicolor/64x64/apps/quellnet.png
/usr/share/icons/hicolor/scalable/apps/quellnet.svg
/usr/share/man/man1/quellnet.1.gz
/usr/share/metainfo/org.quellnet.Quellnet.metainfo.xml
/usr/share/polkit-1/actions/org.quellnet.helper.policy
/usr/share/quellnet/ip.db"
actual="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | LC_ALL=C sort)"
if [ "$actual" != "$expected" ]; then
    echo "FAIL: the package's files differ from the list (- expected, + in the package):"
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi

desktop-file-validate "$work/root/usr/share/applications/org.quellnet.Quellnet.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.quellnet.Quellnet.metainfo.xml"

version="$(dpkg-deb -f "$deb" Version)"
grep -qF "<release version=\"$version\"" "$work/root/usr/share/metainfo/org.quellnet.Quellnet.metainfo.xml" \
    || { echo "FAIL: the AppStream file has no release $version"; exit 1; }
zcat "$work/root/usr/share/doc/quellnet/changelog.gz" | head -n 1 | grep -qF "quellnet ($version)" \
    || { echo "FAIL: the changelog's latest entry is not $version"; exit 1; }

lintian --fail-on error,warning "$deb"
echo "package_check: ok"
