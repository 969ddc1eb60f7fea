#pragma once

#include "dns.h"

#include <QString>

namespace tunnelkit {

// Everything the engine takes from its surroundings. The helper fills it from its own command
// line (it runs as root); nothing in it ever comes from a client.
struct Environment
{
    QString openvpn = QStringLiteral("/usr/sbin/openvpn");
    QString nft; // empty: the nftables library; else a program run as `nft -f -` (tests)
    QString runtimeBase; // a root-only folder: one session folder at a time lives in it
    QString stateDir; // a root-only folder: what must be undone after a crash
    QString markerPath; // "a kill-switch table may be installed", in stateDir
    QString userName; // the only user allowed on the management socket
    qint64 pid = 0;
    DnsMode dns = DnsMode::None;
    // After CONNECTED the default routes must lead into the tunnel; tests without a real
    // tunnel turn the check off.
    bool checkRoutes = true;
    // How long a tunnel that was up may take to come back before the session ends.
    int reconnectTimeoutMs = 30000;

    // For a helper with its session folders in runtimeDir/engine and its notes in stateDir
    // (kept across reboots: a replaced /etc/resolv.conf outlives one too).
    static Environment forHelper(const QString &runtimeDir, const QString &stateDir);
};

// Absolute path of an executable file (a bare name is looked up in PATH); empty when none.
QString resolveProgram(const QString &program);

} // namespace tunnelkit
