#include "killswitch.h"

#include <QRegularExpression>
#include <QtTest>

using namespace tunnelkit;

namespace {

FirewallPolicy makePolicy(FirewallState state, bool allowLan, const QString &address,
                          Transport transport = Transport::Udp)
{
    FirewallPolicy p;
    p.state = state;
    p.allowLan = allowLan;
    p.serverAddress = QHostAddress(address);
    p.serverPort = 1194;
    p.transport = transport;
    p.tunnelInterface = QStringLiteral("qnet4242");
    return p;
}

QList<FirewallPolicy> everyPolicy()
{
    QList<FirewallPolicy> all;
    for (FirewallState s :
         {FirewallState::Blocked, FirewallState::Connecting, FirewallState::Connected}) {
        for (bool lan : {false, true}) {
            for (const char *a : {"203.0.113.5", "2001:db8::7"}) {
                for (Transport t : {Transport::Udp, Transport::Tcp})
                    all << makePolicy(s, lan, QLatin1String(a), t);
            }
        }
    }
    return all;
}

// The accept rules of one chain, without their comments, in order.
QStringList acceptRules(const QString &script, const QString &chain)
{
    QStringList rules;
    bool inChain = false;
    for (const QString &raw : script.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("chain "))) {
            inChain = line == QStringLiteral("chain %1 {").arg(chain);
            continue;
        }
        if (!inChain || !line.contains(QLatin1String(" accept")))
            continue;
        rules << line.left(line.indexOf(QLatin1String(" accept")));
    }
    return rules;
}

const QStringList kAlwaysOut = {
    R"(oifname "lo")",
    "meta nfproto ipv4 udp sport 68 udp dport 67",
    "meta nfproto ipv6 udp sport 546 udp dport 547",
    "icmpv6 type { nd-router-solicit, nd-router-advert, nd-neighbor-solicit, "
    "nd-neighbor-advert, nd-redirect } ip6 hoplimit 255",
};
const QStringList kAlwaysIn = {
    R"(iifname "lo")",
    "meta nfproto ipv4 udp sport 67 udp dport 68",
    "meta nfproto ipv6 udp sport 547 udp dport 546",
    "icmpv6 type { nd-router-solicit, nd-router-advert, nd-neighbor-solicit, "
    "nd-neighbor-advert, nd-redirect } ip6 hoplimit 255",
};

} // namespace

class TestKillSwitch : public QObject
{
    Q_OBJECT

private slots:
    void everyPolicyReplacesOnlyItsOwnTableInOneTransaction();
    void everyAcceptRuleSaysWhatItLetsThrough();
    void blockedLetsOnlyLoopbackDhcpAndNeighbourDiscoveryThrough();
    void connectingAddsOnlyOpenvpnsMarkedPacketsToTheServer();
    void connectedAddsTheTunnelInterface();
    void tunnelRulesTakeConnectingToExactlyConnected();
    void ipv6AndTcpServersUseTheirFamilyAndProtocol();
    void localNetworksPassOnlyWhenAllowed();
    void noOtherAddressOrPortIsEverLetOut();
    void policiesThatCannotBeWrittenSafelyGiveNoRules_data();
    void policiesThatCannotBeWrittenSafelyGiveNoRules();
    void removalDeletesOnlyOurTableEvenWhenAbsent();
};

void TestKillSwitch::everyPolicyReplacesOnlyItsOwnTableInOneTransaction()
{
    for (const FirewallPolicy &p : everyPolicy()) {
        const QString s = killSwitchRuleset(p);
        QVERIFY(s.startsWith(QLatin1String("table inet quellnet\n"
                                           "delete table inet quellnet\n"
                                           "table inet quellnet {\n")));
        QVERIFY(!s.contains(QLatin1String("flush")));
        QCOMPARE(s.count(QRegularExpression(QStringLiteral("\\btable\\b"))), 3);
        QCOMPARE(s.count(QLatin1String("table inet quellnet")), 3);
        QCOMPARE(s.count(QLatin1String("policy drop;")), 2);
        QVERIFY(s.contains(QLatin1String("type filter hook output priority 0; policy drop;")));
        QVERIFY(s.contains(QLatin1String("type filter hook input priority 0; policy drop;")));
        QVERIFY(!s.contains(QLatin1String(" drop ")) && !s.contains(QLatin1String("reject")));
    }
}

void TestKillSwitch::everyAcceptRuleSaysWhatItLetsThrough()
{
    const QRegularExpression commented(QStringLiteral(" accept comment \"[^\"]{4,120}\"$"));
    for (const FirewallPolicy &p : everyPolicy()) {
        const QString s = killSwitchRuleset(p);
        int rules = 0;
        for (const QString &line : s.split(QLatin1Char('\n'))) {
            if (!line.contains(QLatin1String(" accept")))
                continue;
            ++rules;
            QVERIFY2(commented.match(line).hasMatch(), qPrintable(line));
        }
        QVERIFY(rules >= 8);
    }
}

void TestKillSwitch::blockedLetsOnlyLoopbackDhcpAndNeighbourDiscoveryThrough()
{
    const QString s = killSwitchRuleset(makePolicy(FirewallState::Blocked, false, "203.0.113.5"));
    QCOMPARE(acceptRules(s, QStringLiteral("output")), kAlwaysOut);
    QCOMPARE(acceptRules(s, QStringLiteral("input")), kAlwaysIn);
    QVERIFY(!s.contains(QLatin1String("203.0.113.5")));
    QVERIFY(!s.contains(QLatin1String("qnet4242")));

    // Blocked needs no server: a policy without one is still written.
    FirewallPolicy bare;
    QCOMPARE(killSwitchRuleset(bare), s);
}

void TestKillSwitch::connectingAddsOnlyOpenvpnsMarkedPacketsToTheServer()
{
    const QString s
        = killSwitchRuleset(makePolicy(FirewallState::Connecting, false, "203.0.113.5"));
    QCOMPARE(acceptRules(s, QStringLiteral("output")),
             kAlwaysOut + QStringList{"meta mark 0x716e6574 ip daddr 203.0.113.5 udp dport 1194"});
    QCOMPARE(acceptRules(s, QStringLiteral("input")),
             kAlwaysIn + QStringList{"ip saddr 203.0.113.5 udp sport 1194"});
    QCOMPARE(quint32(0x716e6574), kOpenvpnMark);
    QVERIFY(!s.contains(QLatin1String("qnet4242")));
}

void TestKillSwitch::connectedAddsTheTunnelInterface()
{
    const QString s = killSwitchRuleset(makePolicy(FirewallState::Connected, false, "203.0.113.5"));
    const QStringList out
        = {"meta mark 0x716e6574 ip daddr 203.0.113.5 udp dport 1194", R"(oifname "qnet4242")"};
    const QStringList in = {"ip saddr 203.0.113.5 udp sport 1194", R"(iifname "qnet4242")"};
    QCOMPARE(acceptRules(s, QStringLiteral("output")), kAlwaysOut + out);
    QCOMPARE(acceptRules(s, QStringLiteral("input")), kAlwaysIn + in);
}

void TestKillSwitch::tunnelRulesTakeConnectingToExactlyConnected()
{
    const QRegularExpression added(
        QStringLiteral("^add rule inet quellnet (output|input) (.*) accept comment \"[^\"]+\"$"));
    for (const FirewallPolicy &p : everyPolicy()) {
        if (p.state != FirewallState::Connected)
            continue;
        FirewallPolicy connecting = p;
        connecting.state = FirewallState::Connecting;
        const QString script = killSwitchTunnelRules(p);
        // Only additions: nothing is deleted, flushed or replaced.
        QStringList out = acceptRules(killSwitchRuleset(connecting), QStringLiteral("output"));
        QStringList in = acceptRules(killSwitchRuleset(connecting), QStringLiteral("input"));
        const QStringList lines = script.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (const QString &line : lines) {
            const QRegularExpressionMatch m = added.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            (m.captured(1) == QLatin1String("output") ? out : in) << m.captured(2);
        }
        // The rules are all accepts under a drop policy: their order does not matter.
        QStringList wantOut = acceptRules(killSwitchRuleset(p), QStringLiteral("output"));
        QStringList wantIn = acceptRules(killSwitchRuleset(p), QStringLiteral("input"));
        out.sort();
        in.sort();
        wantOut.sort();
        wantIn.sort();
        QCOMPARE(out, wantOut);
        QCOMPARE(in, wantIn);
    }
    FirewallPolicy bad = makePolicy(FirewallState::Connected, false, "203.0.113.5");
    bad.tunnelInterface = QStringLiteral("q\"; flush ruleset; \"");
    QCOMPARE(killSwitchTunnelRules(bad), QString());
}

void TestKillSwitch::ipv6AndTcpServersUseTheirFamilyAndProtocol()
{
    const QString v6 = killSwitchRuleset(
        makePolicy(FirewallState::Connecting, false, "2001:db8::7", Transport::Tcp));
    QVERIFY(
        acceptRules(v6, QStringLiteral("output"))
            .contains(QLatin1String("meta mark 0x716e6574 ip6 daddr 2001:db8::7 tcp dport 1194")));
    QVERIFY(acceptRules(v6, QStringLiteral("input"))
                .contains(QLatin1String("ip6 saddr 2001:db8::7 tcp sport 1194")));
    QVERIFY(!v6.contains(QLatin1String("udp dport 1194")));

    // An IPv4 address in IPv6 form is written as IPv4, so the ip rule matches its packets.
    const QString mapped
        = killSwitchRuleset(makePolicy(FirewallState::Connecting, false, "::ffff:203.0.113.5"));
    QVERIFY(
        acceptRules(mapped, QStringLiteral("output"))
            .contains(QLatin1String("meta mark 0x716e6574 ip daddr 203.0.113.5 udp dport 1194")));
}

void TestKillSwitch::localNetworksPassOnlyWhenAllowed()
{
    const QStringList lan
        = {"10.0.0.0/8",  "172.16.0.0/12",   "192.168.0.0/16", "169.254.0.0/16", "224.0.0.0/24",
           "239.0.0.0/8", "255.255.255.255", "fe80::/10",      "fc00::/7",       "ff02::/16"};
    for (FirewallState st :
         {FirewallState::Blocked, FirewallState::Connecting, FirewallState::Connected}) {
        const QString off = killSwitchRuleset(makePolicy(st, false, "203.0.113.5"));
        const QString on = killSwitchRuleset(makePolicy(st, true, "203.0.113.5"));
        for (const QString &range : lan) {
            QVERIFY2(!off.contains(range), qPrintable(range));
            QVERIFY2(on.contains(range), qPrintable(range));
        }
        QVERIFY(acceptRules(on, QStringLiteral("input"))
                    .contains(QLatin1String(
                        "ip saddr { 10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16, 169.254.0.0/16 }")));
        // Global IPv6 multicast stays blocked.
        QVERIFY(!on.contains(QLatin1String("ff0e::")) && !on.contains(QLatin1String("ff00::/8")));
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
             {"443", "4430", "8443", "dport 53", "skuid", "skgid", "cgroup", "ct state", "ct mark"})
            QVERIFY2(!s.contains(QLatin1String(word)), word);

        QStringList allowed = {p.serverAddress.toString()};
        if (p.allowLan)
            allowed << "10.0.0.0/8"
                    << "172.16.0.0/12"
                    << "192.168.0.0/16"
                    << "169.254.0.0/16"
                    << "224.0.0.0/24"
                    << "239.0.0.0/8"
                    << "255.255.255.255"
                    << "fe80::/10"
                    << "fc00::/7"
                    << "ff01::/16"
                    << "ff02::/16"
                    << "ff05::/16";
        QStringList ports = {"67", "68", "546", "547"};
        if (p.state != FirewallState::Blocked)
            ports << "1194";
        for (const QString &rule :
             acceptRules(s, QStringLiteral("output")) + acceptRules(s, QStringLiteral("input"))) {
            auto it = address.globalMatch(rule);
            while (it.hasNext()) {
                const QString a = it.next().captured(1);
                QVERIFY2(allowed.contains(a), qPrintable(rule));
            }
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

void TestKillSwitch::policiesThatCannotBeWrittenSafelyGiveNoRules_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("interface");

    QTest::newRow("no address") << QString() << 1194 << "qnet1";
    QTest::newRow("port 0") << "203.0.113.5" << 0 << "qnet1";
    QTest::newRow("scoped IPv6") << "fe80::1%eth0" << 1194 << "qnet1";
    QTest::newRow("quote in interface") << "203.0.113.5" << 1194 << "q\"; flush ruleset; \"";
    QTest::newRow("interface too long") << "203.0.113.5" << 1194 << "qnet0123456789ab";
    QTest::newRow("empty interface") << "203.0.113.5" << 1194 << "";
    QTest::newRow("wildcard interface") << "203.0.113.5" << 1194 << "tun*";
}

void TestKillSwitch::policiesThatCannotBeWrittenSafelyGiveNoRules()
{
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(QString, interface);
    FirewallPolicy p;
    p.state = FirewallState::Connected;
    p.serverAddress = QHostAddress(address);
    p.serverPort = quint16(port);
    p.tunnelInterface = interface;
    QCOMPARE(killSwitchRuleset(p), QString());
}

void TestKillSwitch::removalDeletesOnlyOurTableEvenWhenAbsent()
{
    // Declaring the table first makes the delete succeed when there is none.
    QCOMPARE(killSwitchRemoval(),
             QStringLiteral("table inet quellnet\ndelete table inet quellnet\n"));
}

QTEST_GUILESS_MAIN(TestKillSwitch)
#include "tst_killswitch.moc"
