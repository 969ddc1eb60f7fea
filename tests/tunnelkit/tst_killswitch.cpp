#include "killswitch.h"

#include <QRegularExpression>
#include <QtTest>

using namespace tunnelkit;

Q_DECLARE_METATYPE(tunnelkit::FirewallPolicy)

namespace {

FirewallPolicy makePolicy(FirewallState state, bool killSwitch, bool allowLan,
                          const QString &address = QStringLiteral("203.0.113.5"),
                          Transport transport = Transport::Udp)
{
    FirewallPolicy p;
    p.state = state;
    p.killSwitch = killSwitch;
    p.allowLan = allowLan;
    p.serverAddress = QHostAddress(address);
    p.serverPort = 1194;
    p.transport = transport;
    p.tunnelInterface = QStringLiteral("qnet4242");
    p.tunnelAddresses
        = {QHostAddress(QStringLiteral("10.8.0.2")), QHostAddress(QStringLiteral("fd00::2"))};
    return p;
}

// Each state, with and without the kill switch and the LAN, for IPv4 and IPv6 servers over
// UDP and TCP.
QList<FirewallPolicy> everyPolicy()
{
    QList<FirewallPolicy> all;
    for (int i = 0; i < 48; ++i)
        all << makePolicy(FirewallState(i / 16), i & 8, i & 4,
                          QLatin1String(i & 2 ? "2001:db8::7" : "203.0.113.5"),
                          i & 1 ? Transport::Tcp : Transport::Udp);
    return all;
}

// The rules of one chain, in order, each without its comment.
QStringList rules(const QString &script, const QString &chain)
{
    QStringList found;
    bool inChain = false;
    for (const QString &raw : script.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("chain ")) || line == QLatin1String("}")) {
            inChain = line == QStringLiteral("chain %1 {").arg(chain);
            continue;
        }
        if (inChain && !line.startsWith(QLatin1String("type ")))
            found << line.left(line.indexOf(QLatin1String(" comment \"")));
    }
    return found;
}

QStringList dns(const QString &prefix)
{
    return {prefix + QStringLiteral("udp dport 53 drop"),
            prefix + QStringLiteral("tcp dport 53 drop"),
            prefix + QStringLiteral("tcp dport 853 drop")};
}

const QStringList kChains = {"output", "input", "forward"};
const QString kLo = R"(oifname "lo" accept)";
const QString kNd = "icmpv6 type { nd-router-solicit, nd-router-advert, nd-neighbor-solicit, "
                    "nd-neighbor-advert, nd-redirect } ip6 hoplimit 255 accept";
const QStringList kAlwaysOut = {kLo, "meta nfproto ipv4 udp sport 68 udp dport 67 accept",
                                "meta nfproto ipv6 udp sport 546 udp dport 547 accept", kNd};
const QStringList kAlwaysIn
    = {R"(iifname "lo" accept)", "meta nfproto ipv4 udp sport 67 udp dport 68 accept",
       "meta nfproto ipv6 udp sport 547 udp dport 546 accept", kNd};
const QString kServerOut = "meta mark 0x716e6574 ip daddr 203.0.113.5 udp dport 1194 accept";
const QString kServerIn = "ip saddr 203.0.113.5 udp sport 1194 accept";
const QString kOutside = R"(oifname != "qnet4242" )";
const QString kV6Drop = kOutside + "meta nfproto ipv6 ip6 daddr != { fe80::/10, ff02::/16 } drop";
const QStringList kAntiSpoof = {R"(iifname != { "lo", "qnet4242" } ip daddr 10.8.0.2 drop)",
                                R"(iifname != { "lo", "qnet4242" } ip6 daddr fd00::2 drop)"};
const QStringList kLan4 = {"10.0.0.0/8",   "172.16.0.0/12", "192.168.0.0/16", "169.254.0.0/16",
                           "224.0.0.0/24", "239.0.0.0/8",   "255.255.255.255"};
const QStringList kLan6 = {"fe80::/10", "fc00::/7", "ff01::/16", "ff02::/16", "ff05::/16"};

} // namespace

class TestKillSwitch : public QObject
{
    Q_OBJECT

private slots:
    // Whatever the policy: only its own table, every rule commented, DNS dropped before anything
    // the LAN may reach, no path for the backend (443, 8443, 4430), a user, a cgroup or
    // established flows, and no address but the server's and, with allow-LAN and the kill
    // switch, the local ranges.
    void everyPolicyHoldsTheInvariants()
    {
        // Declaring the table first makes the delete succeed when there is none.
        const QString removal = QStringLiteral("table inet quellnet\ndelete table inet quellnet\n");
        QCOMPARE(killSwitchRemoval(), removal);
        const QRegularExpression commented(
            QStringLiteral("^\t\t[^\t].* (accept|drop) comment \"[^\"]{4,120}\"$"));
        const QRegularExpression address(QStringLiteral(
            "\\b(\\d{1,3}(?:\\.\\d{1,3}){3}(?:/\\d+)?|[0-9a-f]{0,4}(?::[0-9a-f]{0,4}){2,7}"
            "(?:/\\d+)?)"));
        const QRegularExpression port(QStringLiteral("[sd]port (\\d+)"));
        for (const FirewallPolicy &p : everyPolicy()) {
            const QString s = killSwitchRuleset(p);
            // Without the kill switch nothing stays once no tunnel is up or coming up.
            if (!p.killSwitch && p.state == FirewallState::Blocked) {
                QCOMPARE(s, removal);
                continue;
            }
            QVERIFY(s.startsWith(removal + QStringLiteral("table inet quellnet {\n")));
            QCOMPARE(s.count(QRegularExpression(QStringLiteral("\\btable\\b"))), 3);
            QCOMPARE(s.count(QLatin1String("; policy ")), 3);
            for (const char *word : {"flush", "reject", "443", "4430", "8443", "skuid", "skgid",
                                     "cgroup", "ct state", "ct mark", "ff0e::", "ff00::/8"})
                QVERIFY2(!s.contains(QLatin1String(word)), word);
            for (const QString &line : s.split(QLatin1Char('\n'))) {
                if (line.startsWith(QLatin1String("\t\t")) && !line.contains(QLatin1String("hook")))
                    QVERIFY2(commented.match(line).hasMatch(), qPrintable(line));
            }
            const bool lan = p.allowLan && p.killSwitch;
            QStringList allowed = {p.serverAddress.toString()};
            if (lan)
                allowed << kLan4 << kLan6;
            for (const QString &range : kLan4 + kLan6)
                QVERIFY2(!p.killSwitch || s.contains(range) == lan, qPrintable(range));
            QStringList ports = {"67", "68", "546", "547"};
            if (p.state != FirewallState::Blocked)
                ports << "1194";
            // Without a tunnel DNS is dropped to every address; with one, all but the tunnel's.
            const QStringList drops = dns(p.state == FirewallState::Blocked ? QString() : kOutside);
            for (const QString &chain : kChains) {
                QVERIFY(
                    s.contains(QStringLiteral("\tchain %1 {\n\t\ttype filter hook %1 priority 0; "
                                              "policy %2;\n")
                                   .arg(chain, p.killSwitch ? "drop" : "accept")));
                const QStringList r = rules(s, chain);
                if (chain != QLatin1String("input")) {
                    const int at = r.indexOf(drops.first());
                    QVERIFY2(at >= 0 && r.mid(at, 3) == drops, qPrintable(chain));
                    // Before the drops: loopback, DHCP, discovery and openvpn, never the LAN.
                    for (const QString &before : r.mid(0, at))
                        QVERIFY2(before == kLo || before == kNd || before.startsWith("meta "),
                                 qPrintable(before));
                }
                for (const QString &rule :
                     r.filter(QRegularExpression(QStringLiteral(" accept$")))) {
                    for (auto it = address.globalMatch(rule); it.hasNext();)
                        QVERIFY2(allowed.contains(it.next().captured(1)), qPrintable(rule));
                    for (auto it = port.globalMatch(rule); it.hasNext();)
                        QVERIFY2(ports.contains(it.next().captured(1)), qPrintable(rule));
                    if (p.state == FirewallState::Blocked)
                        QVERIFY2(!rule.contains(p.serverAddress.toString()), qPrintable(rule));
                    // Outbound packets to the server must carry openvpn's mark.
                    if (rule.contains(QLatin1String("daddr ") + p.serverAddress.toString()))
                        QVERIFY(rule.startsWith(QLatin1String("meta mark 0x716e6574 ")));
                    // Forwarded only between two local ends, never from the LAN to anywhere.
                    if (chain == QLatin1String("forward")
                        && rule.contains(QLatin1String("10.0.0.0/8")))
                        QVERIFY2(rule.contains("saddr") && rule.contains("daddr"),
                                 qPrintable(rule));
                }
            }
            QCOMPARE(rules(s, QStringLiteral("output")).first(), kLo);
            // Without the kill switch everything but leaks passes already: the allowance is moot.
            FirewallPolicy other = p;
            other.allowLan = !p.allowLan;
            if (!p.killSwitch)
                QCOMPARE(killSwitchRuleset(other), s);
        }
    }
    void eachChainHoldsExactlyWhatItsPolicyAllows_data()
    {
        QTest::addColumn<FirewallPolicy>("policy");
        QTest::addColumn<QStringList>("output");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("forward");

        const QStringList tunnelForward
            = {R"(oifname "qnet4242" accept)", R"(iifname "qnet4242" accept)"};
        const QStringList connectedOut
            = kAlwaysOut + QStringList{kServerOut} + dns(kOutside) + tunnelForward.mid(0, 1);
        const QStringList connectedIn
            = kAntiSpoof + kAlwaysIn + QStringList{kServerIn} + tunnelForward.mid(1);
        const QStringList offOut
            = QStringList{kLo, kServerOut} + dns(kOutside) + QStringList{kNd, kV6Drop};
        const QStringList offForward = dns(kOutside) + QStringList{kV6Drop};

        QTest::newRow("blocked") << makePolicy(FirewallState::Blocked, true, false)
                                 << kAlwaysOut + dns(QString()) << kAlwaysIn << dns(QString());
        // Blocked needs no server or tunnel: a policy without them is still written.
        QTest::newRow("blocked, bare policy")
            << FirewallPolicy() << kAlwaysOut + dns(QString()) << kAlwaysIn << dns(QString());
        QTest::newRow("connecting: only openvpn's marked packets to the server, and the tunnel")
            << makePolicy(FirewallState::Connecting, true, false)
            << kAlwaysOut + QStringList{kServerOut} + dns(kOutside) + tunnelForward.mid(0, 1)
            << kAlwaysIn + QStringList{kServerIn} + tunnelForward.mid(1)
            << dns(kOutside) + tunnelForward;
        QTest::newRow("connected: the tunnel, anti-spoofing first")
            << makePolicy(FirewallState::Connected, true, false) << connectedOut << connectedIn
            << dns(kOutside) + tunnelForward;
        QTest::newRow("IPv4 in IPv6 form is written as IPv4") << [] {
            FirewallPolicy p = makePolicy(FirewallState::Connected, true, false,
                                          QStringLiteral("::ffff:203.0.113.5"));
            p.tunnelAddresses = {QHostAddress(QStringLiteral("::ffff:10.8.0.2")),
                                 QHostAddress(QStringLiteral("fd00::2"))};
            return p;
        }() << connectedOut << connectedIn << dns(kOutside) + tunnelForward;
        QTest::newRow("IPv6 TCP server") << makePolicy(
            FirewallState::Connecting, true, false, QStringLiteral("2001:db8::7"), Transport::Tcp)
                                         << kAlwaysOut
                + QStringList{"meta mark 0x716e6574 ip6 daddr 2001:db8::7 tcp dport 1194 accept"}
                + dns(kOutside) + tunnelForward.mid(0, 1)
                                         << kAlwaysIn
                + QStringList{"ip6 saddr 2001:db8::7 tcp sport 1194 accept"} + tunnelForward.mid(1)
                                         << dns(kOutside) + tunnelForward;
        QTest::newRow("off, connecting: accept policy, only leaks dropped")
            << makePolicy(FirewallState::Connecting, false, false) << offOut << QStringList()
            << offForward;
        QTest::newRow("off, connected, LAN allowed")
            << makePolicy(FirewallState::Connected, false, true) << offOut << kAntiSpoof
            << offForward;
        QTest::newRow("off, IPv6 server passes before the IPv6 drop")
            << makePolicy(FirewallState::Connecting, false, false, QStringLiteral("2001:db8::7"))
            << QStringList{kLo, "meta mark 0x716e6574 ip6 daddr 2001:db8::7 udp dport 1194 accept"}
                + dns(kOutside) + QStringList{kNd, kV6Drop}
            << QStringList() << offForward;
    }
    void eachChainHoldsExactlyWhatItsPolicyAllows()
    {
        QFETCH(FirewallPolicy, policy);
        const QString s = killSwitchRuleset(policy);
        QTEST(rules(s, QStringLiteral("output")), "output");
        QTEST(rules(s, QStringLiteral("input")), "input");
        QTEST(rules(s, QStringLiteral("forward")), "forward");
    }
    void tunnelRulesTakeConnectingToExactlyConnected()
    {
        const QRegularExpression line(QStringLiteral(
            "^(add|insert) rule inet quellnet (output|input|forward) (.*) comment \"[^\"]+\"$"));
        for (FirewallPolicy p : everyPolicy()) {
            if (p.state != FirewallState::Connected)
                continue;
            for (bool addresses : {true, false}) {
                if (!addresses)
                    p.tunnelAddresses.clear();
                FirewallPolicy connecting = p;
                connecting.state = FirewallState::Connecting;
                const QString before = killSwitchRuleset(connecting);
                const QString after = killSwitchRuleset(p);
                const QString script = killSwitchTunnelRules(p);
                if (!addresses)
                    QCOMPARE(script, QStringLiteral("# nothing to add\n"));
                QHash<QString, QStringList> chains;
                for (const QString &chain : kChains)
                    chains[chain] = rules(before, chain);
                // Only additions: nothing is deleted, flushed or replaced.
                for (const QString &l : script.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                    if (l.startsWith(QLatin1Char('#')))
                        continue;
                    const QRegularExpressionMatch m = line.match(l);
                    QVERIFY2(m.hasMatch(), qPrintable(l));
                    QStringList &chain = chains[m.captured(2)];
                    chain.insert(m.captured(1) == QLatin1String("add") ? chain.size() : 0,
                                 m.captured(3));
                }
                for (const QString &chain : kChains)
                    QCOMPARE(chains[chain], rules(after, chain));
            }
        }
    }
    void policiesThatCannotBeWrittenSafelyGiveNoRules()
    {
        const FirewallState connected = FirewallState::Connected;
        const FirewallState connecting = FirewallState::Connecting;
        const FirewallState blocked = FirewallState::Blocked;
        const struct
        {
            FirewallState state;
            bool killSwitch;
            const char *address;
            int port;
            const char *interface;
            const char *tunnelAddress;
        } rows[] = {
            {connected, true, "", 1194, "qnet1", ""}, // no server address
            {connected, true, "203.0.113.5", 0, "qnet1", ""},
            {connected, true, "fe80::1%eth0", 1194, "qnet1", ""},
            {connected, true, "203.0.113.5", 1194, "q\"; flush ruleset; \"", ""},
            {connected, true, "203.0.113.5", 1194, "qnet0123456789ab", ""}, // too long
            {connected, true, "203.0.113.5", 1194, "lo", ""},
            {connecting, true, "203.0.113.5", 1194, "", ""},
            {blocked, true, "", 0, "q\" accept", ""},
            {connected, true, "203.0.113.5", 1194, "qnet1", "fe80::1%qnet1"},
            {connected, false, "203.0.113.5", 1194, "qnet1", "10.8.0.256"},
            {connected, true, "203.0.113.5", 1194, "qnet1", "0.0.0.0"},
            {blocked, false, "", 0, "", "224.0.0.1"},
        };
        for (const auto &r : rows) {
            FirewallPolicy p;
            p.state = r.state;
            p.killSwitch = r.killSwitch;
            p.serverAddress = QHostAddress(QLatin1String(r.address));
            p.serverPort = quint16(r.port);
            p.tunnelInterface = QLatin1String(r.interface);
            if (*r.tunnelAddress)
                p.tunnelAddresses << QHostAddress(QLatin1String(r.tunnelAddress));
            const QByteArray row
                = QByteArray(r.address) + ' ' + r.interface + ' ' + r.tunnelAddress;
            QVERIFY2(killSwitchRuleset(p).isEmpty(), row.constData());
            QVERIFY2(killSwitchTunnelRules(p).isEmpty(), row.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestKillSwitch)
#include "tst_killswitch.moc"
