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

QList<FirewallPolicy> everyPolicy()
{
    QList<FirewallPolicy> all;
    for (FirewallState s :
         {FirewallState::Blocked, FirewallState::Connecting, FirewallState::Connected}) {
        for (bool killSwitch : {true, false}) {
            for (bool lan : {false, true}) {
                for (const char *a : {"203.0.113.5", "2001:db8::7"}) {
                    for (Transport t : {Transport::Udp, Transport::Tcp})
                        all << makePolicy(s, killSwitch, lan, QLatin1String(a), t);
                }
            }
        }
    }
    return all;
}

bool isRemoval(const FirewallPolicy &p)
{
    return !p.killSwitch && p.state == FirewallState::Blocked;
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
    void everyPolicyWritesOnlyItsOwnTableWithCommentedRules();
    void eachChainHoldsExactlyWhatItsPolicyAllows_data();
    void eachChainHoldsExactlyWhatItsPolicyAllows();
    void dnsLeavesOnlyThroughLoopbackOrTheTunnelEvenWithLanAllowed();
    void tunnelRulesTakeConnectingToExactlyConnected();
    void localNetworksPassOnlyWhenAllowedAndOnlyWithTheKillSwitch();
    void noOtherAddressOrPortIsEverLetOut();
    void policiesThatCannotBeWrittenSafelyGiveNoRules_data();
    void policiesThatCannotBeWrittenSafelyGiveNoRules();
};

void TestKillSwitch::everyPolicyWritesOnlyItsOwnTableWithCommentedRules()
{
    // Declaring the table first makes the delete succeed when there is none.
    const QString removal = QStringLiteral("table inet quellnet\ndelete table inet quellnet\n");
    QCOMPARE(killSwitchRemoval(), removal);
    const QRegularExpression commented(
        QStringLiteral("^\t\t[^\t].* (accept|drop) comment \"[^\"]{4,120}\"$"));
    for (const FirewallPolicy &p : everyPolicy()) {
        const QString s = killSwitchRuleset(p);
        // Without the kill switch nothing stays once no tunnel is up or coming up.
        if (isRemoval(p)) {
            QCOMPARE(s, removal);
            continue;
        }
        QVERIFY(s.startsWith(removal + QStringLiteral("table inet quellnet {\n")));
        QVERIFY(!s.contains(QLatin1String("flush")) && !s.contains(QLatin1String("reject")));
        QCOMPARE(s.count(QRegularExpression(QStringLiteral("\\btable\\b"))), 3);
        QCOMPARE(s.count(QLatin1String("table inet quellnet")), 3);
        const QString policy = p.killSwitch ? QStringLiteral("drop") : QStringLiteral("accept");
        QCOMPARE(s.count(QLatin1String("; policy ")), 3);
        for (const QString &chain : kChains) {
            QVERIFY(s.contains(QStringLiteral("\tchain %1 {\n\t\ttype filter hook %1 priority 0; "
                                              "policy %2;\n")
                                   .arg(chain, policy)));
        }
        for (const QString &line : s.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("\t\t")) && !line.contains(QLatin1String("hook")))
                QVERIFY2(commented.match(line).hasMatch(), qPrintable(line));
        }
    }
}

void TestKillSwitch::eachChainHoldsExactlyWhatItsPolicyAllows_data()
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
    QTest::newRow("connecting: only openvpn's marked packets to the server")
        << makePolicy(FirewallState::Connecting, true, false)
        << kAlwaysOut + QStringList{kServerOut} + dns(kOutside)
        << kAlwaysIn + QStringList{kServerIn} << dns(kOutside);
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
    QTest::newRow("IPv6 TCP server")
        << makePolicy(FirewallState::Connecting, true, false, QStringLiteral("2001:db8::7"),
                      Transport::Tcp)
        << kAlwaysOut
            + QStringList{"meta mark 0x716e6574 ip6 daddr 2001:db8::7 tcp dport 1194 accept"}
            + dns(kOutside)
        << kAlwaysIn + QStringList{"ip6 saddr 2001:db8::7 tcp sport 1194 accept"} << dns(kOutside);
    QTest::newRow("off, connecting: accept policy, only leaks dropped")
        << makePolicy(FirewallState::Connecting, false, false) << offOut << QStringList()
        << offForward;
    QTest::newRow("off, connected, LAN allowed")
        << makePolicy(FirewallState::Connected, false, true) << offOut << kAntiSpoof << offForward;
    QTest::newRow("off, IPv6 server passes before the IPv6 drop")
        << makePolicy(FirewallState::Connecting, false, false, QStringLiteral("2001:db8::7"))
        << QStringList{kLo, "meta mark 0x716e6574 ip6 daddr 2001:db8::7 udp dport 1194 accept"}
            + dns(kOutside) + QStringList{kNd, kV6Drop}
        << QStringList() << offForward;
}

void TestKillSwitch::eachChainHoldsExactlyWhatItsPolicyAllows()
{
    QFETCH(FirewallPolicy, policy);
    const QString s = killSwitchRuleset(policy);
    QTEST(rules(s, QStringLiteral("output")), "output");
    QTEST(rules(s, QStringLiteral("input")), "input");
    QTEST(rules(s, QStringLiteral("forward")), "forward");
}

void TestKillSwitch::dnsLeavesOnlyThroughLoopbackOrTheTunnelEvenWithLanAllowed()
{
    for (const FirewallPolicy &p : everyPolicy()) {
        if (isRemoval(p))
            continue;
        const QString s = killSwitchRuleset(p);
        // Without a tunnel DNS is dropped to every address; with one, all but the tunnel's.
        const QStringList drops = dns(p.state == FirewallState::Blocked ? QString() : kOutside);
        for (const char *chain : {"output", "forward"}) {
            const QStringList r = rules(s, chain);
            const int at = r.indexOf(drops.first());
            QVERIFY2(at >= 0, qPrintable(chain));
            QCOMPARE(r.mid(at, 3), drops);
            // Before the drops: loopback, DHCP, discovery and openvpn only, never the LAN.
            for (const QString &before : r.mid(0, at)) {
                QVERIFY2(before == kLo || before == kNd
                             || before.startsWith(QLatin1String("meta ")),
                         qPrintable(before));
            }
            if (p.state == FirewallState::Connected && p.killSwitch) {
                QVERIFY(r.contains(QLatin1String(R"(oifname "qnet4242" accept)")));
            }
        }
        QCOMPARE(rules(s, QStringLiteral("output")).first(), kLo);
    }
}

void TestKillSwitch::tunnelRulesTakeConnectingToExactlyConnected()
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
            if (!p.killSwitch && !addresses)
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

void TestKillSwitch::localNetworksPassOnlyWhenAllowedAndOnlyWithTheKillSwitch()
{
    for (FirewallState st :
         {FirewallState::Blocked, FirewallState::Connecting, FirewallState::Connected}) {
        const QString off = killSwitchRuleset(makePolicy(st, true, false));
        const QString on = killSwitchRuleset(makePolicy(st, true, true));
        for (const QString &range : kLan4 + kLan6) {
            QVERIFY2(!off.contains(range), qPrintable(range));
            QVERIFY2(on.contains(range), qPrintable(range));
        }
        // Global IPv6 multicast stays blocked.
        QVERIFY(!on.contains(QLatin1String("ff0e::")) && !on.contains(QLatin1String("ff00::/8")));
        // Forwarded only between two local ends, never from the LAN to anywhere.
        for (const QString &r : rules(on, QStringLiteral("forward"))) {
            if (r.contains(QLatin1String("10.0.0.0/8")) || r.contains(QLatin1String("fc00::/7")))
                QVERIFY2(r.contains(QLatin1String("saddr")) && r.contains(QLatin1String("daddr")),
                         qPrintable(r));
        }
        // Without the kill switch everything but leaks passes already: the allowance is moot.
        QCOMPARE(killSwitchRuleset(makePolicy(st, false, true)),
                 killSwitchRuleset(makePolicy(st, false, false)));
    }
}

void TestKillSwitch::noOtherAddressOrPortIsEverLetOut()
{
    // Whatever the policy: no path for the backend (443, 8443, 4430), DNS, a user, a cgroup or
    // established flows; the only addresses are the server's and, with allow-LAN, local ranges.
    const QRegularExpression address(QStringLiteral(
        "\\b(\\d{1,3}(?:\\.\\d{1,3}){3}(?:/\\d+)?|[0-9a-f]{0,4}(?::[0-9a-f]{0,4}){2,7}"
        "(?:/\\d+)?)"));
    const QRegularExpression port(QStringLiteral("[sd]port (\\d+)"));
    for (const FirewallPolicy &p : everyPolicy()) {
        const QString s = killSwitchRuleset(p);
        for (const char *word :
             {"443", "4430", "8443", "skuid", "skgid", "cgroup", "ct state", "ct mark"})
            QVERIFY2(!s.contains(QLatin1String(word)), word);

        QStringList allowed = {p.serverAddress.toString()};
        if (p.allowLan && p.killSwitch)
            allowed << kLan4 << kLan6;
        QStringList ports = {"67", "68", "546", "547"};
        if (p.state != FirewallState::Blocked)
            ports << "1194";
        for (const QString &chain : kChains) {
            for (const QString &rule : rules(s, chain)) {
                if (!rule.endsWith(QLatin1String(" accept")))
                    continue;
                auto it = address.globalMatch(rule);
                while (it.hasNext())
                    QVERIFY2(allowed.contains(it.next().captured(1)), qPrintable(rule));
                auto pit = port.globalMatch(rule);
                while (pit.hasNext())
                    QVERIFY2(ports.contains(pit.next().captured(1)), qPrintable(rule));
                if (p.state == FirewallState::Blocked)
                    QVERIFY2(!rule.contains(p.serverAddress.toString()), qPrintable(rule));
                // Outbound packets to the server must carry openvpn's mark.
                if (rule.contains(QLatin1String("daddr ") + p.serverAddress.toString()))
                    QVERIFY(rule.startsWith(QLatin1String("meta mark 0x716e6574 ")));
            }
        }
    }
}

void TestKillSwitch::policiesThatCannotBeWrittenSafelyGiveNoRules_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("killSwitch");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("tunnelAddress");

    const int connected = int(FirewallState::Connected);
    const int connecting = int(FirewallState::Connecting);
    const int blocked = int(FirewallState::Blocked);
    const QString server = QStringLiteral("203.0.113.5");
    const QString tun = QStringLiteral("qnet1");
    QTest::newRow("no address") << connected << true << QString() << 1194 << tun << QString();
    QTest::newRow("port 0") << connected << true << server << 0 << tun << QString();
    QTest::newRow("scoped IPv6") << connected << true << "fe80::1%eth0" << 1194 << tun << QString();
    QTest::newRow("quote in interface")
        << connected << true << server << 1194 << "q\"; flush ruleset; \"" << QString();
    QTest::newRow("interface too long")
        << connected << true << server << 1194 << "qnet0123456789ab" << QString();
    QTest::newRow("wildcard interface")
        << connected << true << server << 1194 << "tun*" << QString();
    QTest::newRow("loopback as tunnel") << connected << true << server << 1194 << "lo" << QString();
    QTest::newRow("connecting, no interface")
        << connecting << true << server << 1194 << QString() << QString();
    QTest::newRow("off, connected, no interface")
        << connected << false << server << 1194 << QString() << QString();
    QTest::newRow("blocked, bad interface")
        << blocked << true << QString() << 0 << "q\" accept" << QString();
    QTest::newRow("scoped tunnel address")
        << connected << true << server << 1194 << tun << "fe80::1%qnet1";
    QTest::newRow("unparsable tunnel address")
        << connected << false << server << 1194 << tun << "10.8.0.256";
    QTest::newRow("unspecified tunnel address")
        << connected << true << server << 1194 << tun << "0.0.0.0";
    QTest::newRow("broadcast tunnel address")
        << connected << false << server << 1194 << tun << "255.255.255.255";
    QTest::newRow("multicast tunnel address")
        << connected << true << server << 1194 << tun << "ff02::1";
    QTest::newRow("off, blocked, bad tunnel address")
        << blocked << false << QString() << 0 << QString() << "224.0.0.1";
}

void TestKillSwitch::policiesThatCannotBeWrittenSafelyGiveNoRules()
{
    QFETCH(int, state);
    QFETCH(bool, killSwitch);
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(QString, interface);
    QFETCH(QString, tunnelAddress);
    FirewallPolicy p;
    p.state = FirewallState(state);
    p.killSwitch = killSwitch;
    p.serverAddress = QHostAddress(address);
    p.serverPort = quint16(port);
    p.tunnelInterface = interface;
    if (!tunnelAddress.isEmpty())
        p.tunnelAddresses << QHostAddress(tunnelAddress);
    QCOMPARE(killSwitchRuleset(p), QString());
    QCOMPARE(killSwitchTunnelRules(p), QString());
}

QTEST_GUILESS_MAIN(TestKillSwitch)
#include "tst_killswitch.moc"
