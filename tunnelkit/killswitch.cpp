#include "killswitch.h"

#include <QStringList>

namespace tunnelkit {
namespace {

const char kTable[] = "inet quellnet";

QString rule(const QString &match, const QString &comment)
{
    return QStringLiteral("\t\t") + match + QStringLiteral(" accept comment \"") + comment
        + QStringLiteral("\"\n");
}

// The tunnel's rule of one direction, without indent and line end.
QString tunnelRule(const FirewallPolicy &p, bool out)
{
    const QString iface = out ? QStringLiteral("oifname") : QStringLiteral("iifname");
    return iface + QStringLiteral(" \"") + p.tunnelInterface
        + QStringLiteral("\" accept comment \"")
        + (out ? QStringLiteral("everything into the tunnel")
               : QStringLiteral("everything out of the tunnel"))
        + QLatin1Char('"');
}

QString neighbourDiscovery()
{
    return QStringLiteral("icmpv6 type { nd-router-solicit, nd-router-advert, "
                          "nd-neighbor-solicit, nd-neighbor-advert, nd-redirect } "
                          "ip6 hoplimit 255");
}

// Rules of one direction; out is true for the output chain.
QString chainRules(const FirewallPolicy &p, bool out)
{
    const QString dir = out ? QStringLiteral("d") : QStringLiteral("s");
    const QString iface = out ? QStringLiteral("oifname") : QStringLiteral("iifname");
    QString r;
    r += rule(iface + QStringLiteral(" \"lo\""), QStringLiteral("loopback"));
    if (out) {
        r += rule(QStringLiteral("meta nfproto ipv4 udp sport 68 udp dport 67"),
                  QStringLiteral("DHCPv4 requests"));
        r += rule(QStringLiteral("meta nfproto ipv6 udp sport 546 udp dport 547"),
                  QStringLiteral("DHCPv6 requests"));
    } else {
        r += rule(QStringLiteral("meta nfproto ipv4 udp sport 67 udp dport 68"),
                  QStringLiteral("DHCPv4 replies"));
        r += rule(QStringLiteral("meta nfproto ipv6 udp sport 547 udp dport 546"),
                  QStringLiteral("DHCPv6 replies"));
    }
    r += rule(neighbourDiscovery(), QStringLiteral("IPv6 router and neighbour discovery"));

    if (p.state != FirewallState::Blocked) {
        const bool v6 = p.serverAddress.protocol() == QAbstractSocket::IPv6Protocol;
        const QString family = v6 ? QStringLiteral("ip6") : QStringLiteral("ip");
        const QString proto
            = p.transport == Transport::Tcp ? QStringLiteral("tcp") : QStringLiteral("udp");
        const QString address = p.serverAddress.toString();
        const QString port = QString::number(p.serverPort);
        const QString endpoint = address + QLatin1Char(' ') + proto + QLatin1Char(' ') + port;
        if (out) {
            r += rule(QStringLiteral("meta mark 0x%1 ").arg(kOpenvpnMark, 8, 16, QLatin1Char('0'))
                          + family + QStringLiteral(" daddr ") + address + QLatin1Char(' ') + proto
                          + QStringLiteral(" dport ") + port,
                      QStringLiteral("openvpn to the VPN server ") + endpoint);
        } else {
            r += rule(family + QStringLiteral(" saddr ") + address + QLatin1Char(' ') + proto
                          + QStringLiteral(" sport ") + port,
                      QStringLiteral("the VPN server to openvpn ") + endpoint);
        }
    }
    if (p.state == FirewallState::Connected)
        r += QStringLiteral("\t\t") + tunnelRule(p, out) + QLatin1Char('\n');
    if (p.allowLan) {
        r += rule(QStringLiteral("ip %1addr { 10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16, "
                                 "169.254.0.0/16 }")
                      .arg(dir),
                  QStringLiteral("local networks: private and link-local IPv4"));
        if (out) {
            r += rule(QStringLiteral("ip daddr { 224.0.0.0/24, 239.0.0.0/8, 255.255.255.255 }"),
                      QStringLiteral("local multicast and broadcast IPv4"));
        }
        r += rule(QStringLiteral("ip6 %1addr { fe80::/10, fc00::/7 }").arg(dir),
                  QStringLiteral("local networks: link-local and unique local IPv6"));
        if (out) {
            r += rule(QStringLiteral("ip6 daddr { ff01::/16, ff02::/16, ff05::/16 }"),
                      QStringLiteral("local multicast IPv6: node, link and site scope"));
        }
    }
    return r;
}

} // namespace

bool isValidInterfaceName(const QString &name)
{
    if (name.isEmpty() || name.size() > 15)
        return false;
    for (QChar c : name) {
        const ushort u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
            || u == '_' || u == '-';
        if (!ok)
            return false;
    }
    return true;
}

QString killSwitchRuleset(const FirewallPolicy &policy)
{
    FirewallPolicy p = policy;
    if (p.state != FirewallState::Blocked) {
        bool mapped = false;
        const quint32 v4 = p.serverAddress.toIPv4Address(&mapped);
        if (mapped)
            p.serverAddress = QHostAddress(v4);
        const auto family = p.serverAddress.protocol();
        if (p.serverAddress.isNull() || p.serverPort == 0
            || (family != QAbstractSocket::IPv4Protocol && family != QAbstractSocket::IPv6Protocol)
            || !p.serverAddress.scopeId().isEmpty())
            return QString();
    }
    if (p.state == FirewallState::Connected && !isValidInterfaceName(p.tunnelInterface))
        return QString();

    const QString table = QLatin1String(kTable);
    QString s;
    // Create-then-delete makes the replacement one transaction whether or not it exists.
    s += QStringLiteral("table ") + table + QLatin1Char('\n');
    s += QStringLiteral("delete table ") + table + QLatin1Char('\n');
    s += QStringLiteral("table ") + table + QStringLiteral(" {\n");
    s += QStringLiteral("\tchain output {\n"
                        "\t\ttype filter hook output priority 0; policy drop;\n");
    s += chainRules(p, true);
    s += QStringLiteral("\t}\n");
    s += QStringLiteral("\tchain input {\n"
                        "\t\ttype filter hook input priority 0; policy drop;\n");
    s += chainRules(p, false);
    s += QStringLiteral("\t}\n}\n");
    return s;
}

QString killSwitchTunnelRules(const FirewallPolicy &policy)
{
    if (!isValidInterfaceName(policy.tunnelInterface))
        return QString();
    const QString table = QLatin1String(kTable);
    return QStringLiteral("add rule ") + table + QStringLiteral(" output ")
        + tunnelRule(policy, true) + QStringLiteral("\nadd rule ") + table
        + QStringLiteral(" input ") + tunnelRule(policy, false) + QLatin1Char('\n');
}

QString killSwitchRemoval()
{
    const QString table = QLatin1String(kTable);
    return QStringLiteral("table ") + table + QStringLiteral("\ndelete table ") + table
        + QLatin1Char('\n');
}

} // namespace tunnelkit
