#!/usr/bin/env bash
# The demo's package installer: the demo update is a stand-in package, so it is described,
# not installed. A real run hands the verified package to the desktop's software installer.
set -u
info=$(dpkg-deb --show --showformat='${Package} ${Version}' "$1" 2>&1)
echo "quellnet demo: the verified update package $1 would now open in the package installer" >&2
echo "quellnet demo: $info" >&2
if command -v xmessage >/dev/null && [ -n "${DISPLAY:-}" ]; then
    xmessage -center "Demo: the verified update $info" "would now open in the package installer." &
fi
