#include "dns.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace tunnelkit {

namespace {

constexpr int kMaxLogText = 16 * 1024;
constexpr int kMaxServers = 8;

// Strict on purpose: Qt also takes inet_aton forms ("10.8.1", "010.8.0.1", "0x0a.8.0.1") and
// scope suffixes, which a resolver would read differently or not at all.
bool parseServer(const QString &text, QHostAddress *address)
{
    static const QRegularExpression shape(QStringLiteral("^[0-9A-Fa-f:.]{2,45}$"));
    QHostAddress a;
    if (!shape.match(text).hasMatch() || !a.setAddress(text))
        return false;
    if (a.protocol() == QAbstractSocket::IPv4Protocol && a.toString() != text)
        return false;
    bool mapped = false;
    const quint32 v4 = a.toIPv4Address(&mapped);
    if (a.protocol() == QAbstractSocket::IPv6Protocol && mapped)
        a = QHostAddress(v4);
    // Link-local IPv6 needs a scope the server cannot know; loopback would be this machine's
    // own resolver, outside the tunnel.
    if (a.isLoopback() || a.isMulticast() || a.isBroadcast() || a.isLinkLocal()
        || a == QHostAddress(QHostAddress::AnyIPv4) || a == QHostAddress(QHostAddress::AnyIPv6))
        return false;
    *address = a;
    return true;
}

} // namespace

bool pushedDnsServers(const QString &logText, QList<QHostAddress> *servers)
{
    servers->clear();
    if (logText.size() > kMaxLogText)
        return false;
    static const QString marker = QStringLiteral("PUSH: Received control message: 'PUSH_REPLY,");
    const int start = logText.indexOf(marker);
    if (start < 0)
        return false;
    const int from = start + marker.size();
    int end = logText.indexOf(QLatin1Char('\''), from);
    const int newline = logText.indexOf(QLatin1Char('\n'), from);
    if (end < 0 || (newline >= 0 && newline < end))
        end = newline < 0 ? logText.size() : newline;

    const QStringList options
        = logText.mid(from, end - from).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &option : options) {
        const QStringList words = option.simplified().split(QLatin1Char(' '));
        QStringList candidates;
        if (words.size() == 3 && words[0] == QLatin1String("dhcp-option")
            && (words[1] == QLatin1String("DNS") || words[1] == QLatin1String("DNS6"))) {
            candidates << words[2];
        } else if (words.size() >= 5 && words[0] == QLatin1String("dns")
                   && words[1] == QLatin1String("server") && words[3] == QLatin1String("address")) {
            bool priority = false;
            words[2].toInt(&priority);
            if (priority)
                candidates = words.mid(4);
        }
        for (const QString &candidate : qAsConst(candidates)) {
            QHostAddress address;
            if (servers->size() < kMaxServers && parseServer(candidate, &address)
                && !servers->contains(address))
                servers->append(address);
        }
    }
    return true;
}

std::unique_ptr<DnsConfigurator> makeDns(DnsMode mode, const QString &stateDir)
{
    if (mode == DnsMode::None)
        return nullptr;
    QString resolvectl;
    for (const char *path : {"/usr/bin/resolvectl", "/bin/resolvectl"}) {
        if (QFileInfo(QLatin1String(path)).isExecutable()) {
            resolvectl = QLatin1String(path);
            break;
        }
    }
    const bool resolvedRuns
        = QFileInfo::exists(QStringLiteral("/run/systemd/resolve/io.systemd.Resolve"));
    if (mode == DnsMode::Resolved
        || (mode == DnsMode::Auto && resolvedRuns && !resolvectl.isEmpty()))
        return makeResolvedDns(
            resolvectl.isEmpty() ? QStringLiteral("/usr/bin/resolvectl") : resolvectl, stateDir);
    return makeResolvConfDns(QStringLiteral("/etc/resolv.conf"), stateDir);
}

} // namespace tunnelkit
