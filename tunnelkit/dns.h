#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

#include <memory>

namespace tunnelkit {

// The DNS servers a server pushed, read from the text of openvpn's log line
// "PUSH: Received control message: 'PUSH_REPLY,...,dhcp-option DNS 10.8.0.1,...'" (openvpn
// logs it at verb 3 and up, with an auth-token already redacted). False when the text is not
// such a line or longer than 16 KiB; otherwise the valid addresses in the order pushed (IPv4
// and IPv6, at most 8, each once; "dhcp-option DNS/DNS6 A" and "dns server N address A..."
// forms). Skipped: malformed or non-canonical text, addresses with a port or scope, and
// unspecified, loopback, link-local, multicast and broadcast addresses.
bool pushedDnsServers(const QString &logText, QList<QHostAddress> *servers);

// Points the system's name resolution at the tunnel while it is up, and puts back what was
// there before. Runs as root in the helper, on the engine thread. What it changed is noted
// in a state folder (root-only) before it changes anything, so restore() also undoes what a
// crashed helper left.
class DnsConfigurator
{
public:
    virtual ~DnsConfigurator() = default;
    // Called while openvpn starts, off the way to CONNECTED: notes (durably) what apply()
    // will change, so that apply() then only writes. Optional; apply() notes it otherwise.
    virtual bool prepare(const QString &interface, QString *error) = 0;
    // Applies servers to the tunnel link (interface name as the kernel knows it). Replaces
    // whatever an earlier apply() set. False with a reason when nothing could be applied.
    virtual bool apply(const QString &interface, const QList<QHostAddress> &servers, QString *error)
        = 0;
    // Undoes apply(), or what a crashed run left according to the state folder; harmless when
    // nothing is applied. False with a reason when what was there could not be put back.
    virtual bool restore(QString *error) = 0;
    // A short name for log lines ("resolv.conf", "systemd-resolved").
    virtual QString name() const = 0;
};

// Replaces the file at resolvConf (on a real system /etc/resolv.conf; a symlink is replaced
// by a file and put back as the same symlink; a regular file is rewritten in place, which also
// works for a bind-mounted file) and restores it exactly: content, mode, or link target. If the
// file was changed by someone else while applied (it no longer starts with the comment line
// apply() writes first, and is not empty), restore() leaves their version alone, drops the
// saved original and still returns true. A second apply() keeps the original saved first.
std::unique_ptr<DnsConfigurator> makeResolvConfDns(const QString &resolvConf,
                                                   const QString &stateDir);
// Per-link DNS through systemd-resolved with the "~." routing domain and the link as default
// route, by running the resolvectl program at that path with fixed arguments; restore()
// reverts the link (a link already gone is not an error) and flushes the caches. Interface
// names must match [A-Za-z0-9][A-Za-z0-9_-]{0,14}; each resolvectl run is bounded by 3 s.
std::unique_ptr<DnsConfigurator> makeResolvedDns(const QString &resolvectl,
                                                 const QString &stateDir);

enum class DnsMode { Auto, Resolved, ResolvConf, None };
// Auto: systemd-resolved when it runs (its /run/systemd/resolve/io.systemd.Resolve socket
// exists and resolvectl is installed), else /etc/resolv.conf. None: nullptr (nothing is
// touched; tests and set-ups that manage DNS themselves). Resolved, ResolvConf: the same
// without the check.
std::unique_ptr<DnsConfigurator> makeDns(DnsMode mode, const QString &stateDir);

} // namespace tunnelkit
