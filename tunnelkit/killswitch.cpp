#include "killswitch.h"

#include <QStringList>

#include <optional>

namespace tunnelkit {
namespace {

const char kTable[] = "inet quellnet";

enum class Chain { Output, Input, Forward };
const Chain kChains[] = {Chain::Output, Chain::Input, Chain::Forward};

QString chainName(Chain c)
{
    if (c == Chain::Output)
        return QStringLiteral("output");
    return c == Chain::Input ? QStringLiteral("input") : QStringLiteral("forward");
}

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString accept(const QString &match, const QString &comment)
{
    return match + QStringLiteral(" accept comment ") + quoted(comment);
}

QString drop(const QString &match, const QString &comment)
{
    return match + QStringLiteral(" drop comment ") + quoted(comment);
}

QString localIpv4()
{
    return QStringLiteral("{ 10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16, 169.254.0.0/16 }");
}

QString localIpv6()
{
    return QStringLiteral("{ fe80::/10, fc00::/7 }");
}

QString neighbourDiscovery()
{
    return accept(QStringLiteral("icmpv6 type { nd-router-solicit, nd-router-advert, "
                                 "nd-neighbor-solicit, nd-neighbor-advert, nd-redirect } "
                                 "ip6 hoplimit 255"),
                  QStringLiteral("IPv6 router and neighbour discovery"));
}

QString serverRule(const FirewallPolicy &p, bool out)
{
    const bool v6 = p.serverAddress.protocol() == QAbstractSocket::IPv6Protocol;
    const QString family = v6 ? QStringLiteral("ip6") : QStringLiteral("ip");
    const QString proto
        = p.transport == Transport::Tcp ? QStringLiteral("tcp") : QStringLiteral("udp");
    const QString address = p.serverAddress.toString();
    const QString port = QString::number(p.serverPort);
    const QString endpoint = address + QLatin1Char(' ') + proto + QLatin1Char(' ') + port;
    if (out) {
        return accept(QStringLiteral("meta mark 0x%1 ").arg(kOpenvpnMark, 8, 16, QLatin1Char('0'))
                          + family + QStringLiteral(" daddr ") + address + QLatin1Char(' ') + proto
                          + QStringLiteral(" dport ") + port,
                      QStringLiteral("openvpn to the VPN server ") + endpoint);
    }
    return accept(family + QStringLiteral(" saddr ") + address + QLatin1Char(' ') + proto
                      + QStringLiteral(" sport ") + port,
                  QStringLiteral("the VPN server to openvpn ") + endpoint);
}

// Written in the same form from Connecting on, so the interface need not exist yet.
QString outsideTunnel(const FirewallPolicy &p)
{
    return QStringLiteral("oifname != ") + quoted(p.tunnelInterface) + QLatin1Char(' ');
}

QStringList dnsDrops(const FirewallPolicy &p)
{
    // Blocked has no tunnel: DNS goes nowhere but loopback, whatever the LAN allowance says.
    const QString outside = p.state == FirewallState::Blocked ? QString() : outsideTunnel(p);
    return {
        drop(outside + QStringLiteral("udp dport 53"), QStringLiteral("DNS outside the tunnel")),
        drop(outside + QStringLiteral("tcp dport 53"),
             QStringLiteral("DNS over TCP outside the tunnel")),
        drop(outside + QStringLiteral("tcp dport 853"),
             QStringLiteral("DNS over TLS outside the tunnel"))};
}

QStringList antiSpoofDrops(const FirewallPolicy &p)
{
    QStringList r;
    for (const QHostAddress &a : p.tunnelAddresses) {
        const bool v6 = a.protocol() == QAbstractSocket::IPv6Protocol;
        // Loopback is exempt: the host's own packets to its tunnel address arrive there.
        r << drop(QStringLiteral("iifname != { \"lo\", %1 } %2 daddr %3")
                      .arg(quoted(p.tunnelInterface),
                           v6 ? QStringLiteral("ip6") : QStringLiteral("ip"), a.toString()),
                  QStringLiteral("packets for tunnel address %1 from outside the tunnel")
                      .arg(a.toString()));
    }
    return r;
}

QStringList tunnelAccepts(const FirewallPolicy &p, Chain c)
{
    const QString out = QStringLiteral("oifname ") + quoted(p.tunnelInterface);
    const QString in = QStringLiteral("iifname ") + quoted(p.tunnelInterface);
    if (c == Chain::Output)
        return {accept(out, QStringLiteral("everything into the tunnel"))};
    if (c == Chain::Input)
        return {accept(in, QStringLiteral("everything out of the tunnel"))};
    return {accept(out, QStringLiteral("forwarded traffic into the tunnel")),
            accept(in, QStringLiteral("forwarded traffic out of the tunnel"))};
}

QStringList lanAccepts(Chain c)
{
    if (c == Chain::Forward) {
        // Both ends local: a forwarded packet must not reach the internet through the LAN.
        return {accept(QStringLiteral("ip saddr ") + localIpv4() + QStringLiteral(" ip daddr ")
                           + localIpv4(),
                       QStringLiteral("forwarding within local networks: private and link-local "
                                      "IPv4")),
                accept(QStringLiteral("ip6 saddr ") + localIpv6() + QStringLiteral(" ip6 daddr ")
                           + localIpv6(),
                       QStringLiteral("forwarding within local networks: link-local and unique "
                                      "local IPv6"))};
    }
    if (c == Chain::Input) {
        return {accept(QStringLiteral("ip saddr ") + localIpv4(),
                       QStringLiteral("local networks: private and link-local IPv4")),
                accept(QStringLiteral("ip6 saddr ") + localIpv6(),
                       QStringLiteral("local networks: link-local and unique local IPv6"))};
    }
    return {accept(QStringLiteral("ip daddr ") + localIpv4(),
                   QStringLiteral("local networks: private and link-local IPv4")),
            accept(QStringLiteral("ip daddr { 224.0.0.0/24, 239.0.0.0/8, 255.255.255.255 }"),
                   QStringLiteral("local multicast and broadcast IPv4")),
            accept(QStringLiteral("ip6 daddr ") + localIpv6(),
                   QStringLiteral("local networks: link-local and unique local IPv6")),
            accept(QStringLiteral("ip6 daddr { ff01::/16, ff02::/16, ff05::/16 }"),
                   QStringLiteral("local multicast IPv6: node, link and site scope"))};
}

// Without the kill switch everything passes by default; only leaks are dropped.
QStringList leakOnlyRules(const FirewallPolicy &p, Chain c)
{
    QStringList r;
    if (c == Chain::Input)
        return p.state == FirewallState::Connected ? antiSpoofDrops(p) : r;
    // Loopback and openvpn itself go before the drops: a server on port 53 or IPv6 still works.
    if (c == Chain::Output) {
        r << accept(QStringLiteral("oifname \"lo\""), QStringLiteral("loopback"));
        r << serverRule(p, true);
    }
    r << dnsDrops(p);
    if (c == Chain::Output)
        r << neighbourDiscovery();
    r << drop(outsideTunnel(p)
                  + QStringLiteral("meta nfproto ipv6 ip6 daddr != { fe80::/10, ff02::/16 }"),
              QStringLiteral("IPv6 outside the tunnel beyond the local link"));
    return r;
}

QStringList chainRules(const FirewallPolicy &p, Chain c)
{
    if (!p.killSwitch)
        return leakOnlyRules(p, c);
    const bool connected = p.state == FirewallState::Connected;
    QStringList r;
    if (c == Chain::Input && connected)
        r << antiSpoofDrops(p);
    if (c == Chain::Output) {
        r << accept(QStringLiteral("oifname \"lo\""), QStringLiteral("loopback"));
        r << accept(QStringLiteral("meta nfproto ipv4 udp sport 68 udp dport 67"),
                    QStringLiteral("DHCPv4 requests"));
        r << accept(QStringLiteral("meta nfproto ipv6 udp sport 546 udp dport 547"),
                    QStringLiteral("DHCPv6 requests"));
    } else if (c == Chain::Input) {
        r << accept(QStringLiteral("iifname \"lo\""), QStringLiteral("loopback"));
        r << accept(QStringLiteral("meta nfproto ipv4 udp sport 67 udp dport 68"),
                    QStringLiteral("DHCPv4 replies"));
        r << accept(QStringLiteral("meta nfproto ipv6 udp sport 547 udp dport 546"),
                    QStringLiteral("DHCPv6 replies"));
    }
    if (c != Chain::Forward) {
        r << neighbourDiscovery();
        if (p.state != FirewallState::Blocked)
            r << serverRule(p, c == Chain::Output);
    }
    // The LAN allowance never covers DNS: the drops come first.
    if (c != Chain::Input)
        r << dnsDrops(p);
    if (p.allowLan)
        r << lanAccepts(c);
    // From connecting on: the device exists only once openvpn is through, and what enters it
    // leaves encrypted. Nothing then waits for them on the way to CONNECTED.
    if (p.state != FirewallState::Blocked)
        r << tunnelAccepts(p, c);
    return r;
}

QHostAddress plain(const QHostAddress &a)
{
    // An IPv4 address in IPv6 form is written as IPv4, so the ip rule matches its packets.
    bool isV4 = false;
    const quint32 v4 = a.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : a;
}

bool isWritable(const QHostAddress &a)
{
    const auto family = a.protocol();
    return (family == QAbstractSocket::IPv4Protocol || family == QAbstractSocket::IPv6Protocol)
        && a.scopeId().isEmpty();
}

std::optional<FirewallPolicy> checked(FirewallPolicy p)
{
    const bool tunnelState = p.state != FirewallState::Blocked;
    if ((tunnelState || !p.tunnelInterface.isEmpty())
        && (!isValidInterfaceName(p.tunnelInterface) || p.tunnelInterface == QLatin1String("lo")))
        return std::nullopt;
    if (tunnelState) {
        p.serverAddress = plain(p.serverAddress);
        if (!isWritable(p.serverAddress) || p.serverPort == 0)
            return std::nullopt;
    }
    for (QHostAddress &a : p.tunnelAddresses) {
        a = plain(a);
        // A drop for a broadcast, multicast or unspecified address would cut the host off.
        if (!isWritable(a) || !a.isGlobal())
            return std::nullopt;
    }
    return p;
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
    const std::optional<FirewallPolicy> p = checked(policy);
    if (!p)
        return QString();
    if (!p->killSwitch && p->state == FirewallState::Blocked)
        return killSwitchRemoval();

    const QString table = QLatin1String(kTable);
    const QString verdict = p->killSwitch ? QStringLiteral("drop") : QStringLiteral("accept");
    QString s;
    // Create-then-delete makes the replacement one transaction whether or not it exists.
    s += QStringLiteral("table ") + table + QLatin1Char('\n');
    s += QStringLiteral("delete table ") + table + QLatin1Char('\n');
    s += QStringLiteral("table ") + table + QStringLiteral(" {\n");
    for (Chain c : kChains) {
        const QString name = chainName(c);
        s += QStringLiteral("\tchain ") + name + QStringLiteral(" {\n\t\ttype filter hook ") + name
            + QStringLiteral(" priority 0; policy ") + verdict + QStringLiteral(";\n");
        for (const QString &r : chainRules(*p, c))
            s += QStringLiteral("\t\t") + r + QLatin1Char('\n');
        s += QStringLiteral("\t}\n");
    }
    s += QStringLiteral("}\n");
    return s;
}

QString killSwitchTunnelRules(const FirewallPolicy &policy)
{
    FirewallPolicy connected = policy;
    connected.state = FirewallState::Connected;
    const std::optional<FirewallPolicy> p = checked(connected);
    if (!p)
        return QString();
    const QString prefix = QStringLiteral(" rule ") + QLatin1String(kTable) + QLatin1Char(' ');
    QString s;
    // Each insert lands at the front of the chain: the last one written ends up first.
    const QStringList drops = antiSpoofDrops(*p);
    for (auto it = drops.crbegin(); it != drops.crend(); ++it)
        s += QStringLiteral("insert") + prefix + QStringLiteral("input ") + *it + QLatin1Char('\n');
    return s.isEmpty() ? QStringLiteral("# nothing to add\n") : s;
}

QString killSwitchRemoval()
{
    const QString table = QLatin1String(kTable);
    return QStringLiteral("table ") + table + QStringLiteral("\ndelete table ") + table
        + QLatin1Char('\n');
}

} // namespace tunnelkit
