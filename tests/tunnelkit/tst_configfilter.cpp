#include "configfilter.h"

#include <QtTest>

using namespace tunnelkit;

namespace {

const char kCa[] = "<ca>\n"
                   "-----BEGIN CERTIFICATE-----\n"
                   "MIIBszCCAVmgAwIBAgIUO4c2tq0A3UjkRaZ7L2vQdYv3JvgwCgYIKoZIzj0EAwIw\n"
                   "-----END CERTIFICATE-----\n"
                   "</ca>\n";

std::string baseConfig()
{
    return std::string("client\n"
                       "dev tun\n"
                       "proto udp\n"
                       "remote 203.0.113.5 1194\n"
                       "nobind\n"
                       "remote-cert-tls server\n"
                       "data-ciphers AES-256-GCM:AES-128-GCM\n")
        + kCa + "verb 3\n";
}

// The directive lines of a rebuilt body, tokenised again (inline blocks and comments skipped).
QList<QStringList> bodyDirectives(const std::string &body)
{
    QList<QStringList> out;
    bool inBlock = false;
    for (const QString &line : QString::fromStdString(body).split(QLatin1Char('\n'))) {
        if (inBlock) {
            inBlock = !line.startsWith(QLatin1String("</"));
            continue;
        }
        if (line.startsWith(QLatin1Char('<'))) {
            inBlock = true;
            continue;
        }
        std::vector<std::string> tokens;
        std::string reason;
        if (!tokenizeLine(line.toStdString(), &tokens, &reason) || tokens.empty())
            continue;
        QStringList l;
        for (const std::string &t : tokens)
            l << QString::fromStdString(t);
        out << l;
    }
    return out;
}

} // namespace

class TestConfigFilter : public QObject
{
    Q_OBJECT

private slots:
    void tokenizerReadsLinesAsOpenvpnDoes_data();
    void tokenizerReadsLinesAsOpenvpnDoes();
    void keepsAllowedDirectivesAndRebuildsThemFromTokens();
    void rebuiltBodyReadsBackToTheSameDirectives();
    void refusesDirectivesOutsideTheListNamingThem_data();
    void refusesDirectivesOutsideTheListNamingThem();
    void refusesMalformedOrOversizedInput_data();
    void refusesMalformedOrOversizedInput();
    void endpointComesFromTheFirstRemote_data();
    void endpointComesFromTheFirstRemote();
    void serverAddressIsUsedWhenThereIsNoRemote();
    void crlfLoneCrAndByteOrderMarkAreReadAsOpenvpnReadsThem();
    void windowsOnlyDirectivesAreLeftOutWithANote();
    void boundedValuesAreChecked();
    void trailerSetsTheEngineOwnedOptionsLast();
};

void TestConfigFilter::tokenizerReadsLinesAsOpenvpnDoes_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("tokens");

    QTest::newRow("plain") << "remote host 1194" << true << QStringList{"remote", "host", "1194"};
    QTest::newRow("double quotes") << "verify-x509-name \"CN=my server\" name" << true
                                   << QStringList{"verify-x509-name", "CN=my server", "name"};
    QTest::newRow("escaped quote") << R"(a "x\"y")" << true << QStringList{"a", "x\"y"};
    QTest::newRow("escaped backslash") << R"(a "c:\\dir")" << true << QStringList{"a", "c:\\dir"};
    QTest::newRow("escaped space") << R"(a\ b c)" << true << QStringList{"a b", "c"};
    QTest::newRow("single quotes keep backslashes")
        << R"(a 'x\y')" << true << QStringList{"a", "x\\y"};
    QTest::newRow("hash comment after tokens")
        << "remote h #comment" << true << QStringList{"remote", "h"};
    QTest::newRow("semicolon comment line") << "  ;up /bin/sh" << true << QStringList{};
    QTest::newRow("hash inside a token is kept") << "a b#c" << true << QStringList{"a", "b#c"};
    QTest::newRow("tabs separate") << "a\tb" << true << QStringList{"a", "b"};
    QTest::newRow("empty quoted value") << "a \"\"" << true << QStringList{"a", ""};
    QTest::newRow("quoted directive name")
        << "\"up\" /bin/sh" << true << QStringList{"up", "/bin/sh"};
    QTest::newRow("unclosed quote") << "a \"b" << false << QStringList{};
    QTest::newRow("unclosed single quote") << "a 'b" << false << QStringList{};
    QTest::newRow("bad escape") << R"(a\q)" << false << QStringList{};
    QTest::newRow("escape at line end") << "a\\" << false << QStringList{};
    QTest::newRow("seventeen values")
        << "a b c d e f g h i j k l m n o p q" << false << QStringList{};
}

void TestConfigFilter::tokenizerReadsLinesAsOpenvpnDoes()
{
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QFETCH(QStringList, tokens);
    std::vector<std::string> got;
    std::string reason;
    QCOMPARE(tokenizeLine(line.toStdString(), &got, &reason), ok);
    if (!ok) {
        QVERIFY(!reason.empty());
        return;
    }
    QStringList gotList;
    for (const std::string &t : got)
        gotList << QString::fromStdString(t);
    QCOMPARE(gotList, tokens);
}

void TestConfigFilter::keepsAllowedDirectivesAndRebuildsThemFromTokens()
{
    const FilteredConfig c = filterConfig(baseConfig(), "198.51.100.1");
    QVERIFY2(c.ok, c.error.c_str());
    const QString body = QString::fromStdString(c.body);
    QVERIFY(body.contains(QLatin1String("\nclient\n")));
    QVERIFY(body.contains(QLatin1String("\nnobind\n")));
    QVERIFY(body.contains(QLatin1String("\nremote-cert-tls server\n")));
    QVERIFY(body.contains(QLatin1String("\ndata-ciphers AES-256-GCM:AES-128-GCM\n")));
    QVERIFY(body.contains(QLatin1String("\nverb 3\n")));
    QVERIFY(body.contains(QLatin1String(kCa)));
    // Endpoint and device are the engine's: they leave the body and come back in the trailer.
    QVERIFY(!body.contains(QLatin1String("remote ")));
    QVERIFY(!body.contains(QLatin1String("dev ")));
    QVERIFY(!body.contains(QLatin1String("proto ")));
    QCOMPARE(c.remote.host, std::string("203.0.113.5"));
    QCOMPARE(int(c.remote.port), 1194);
    QVERIFY(c.remote.transport == Transport::Udp);
}

void TestConfigFilter::rebuiltBodyReadsBackToTheSameDirectives()
{
    const std::string text = "--client\n"
                             "remote 203.0.113.5\n"
                             "verify-x509-name 'CN=my \"odd\" server' name\n"
                             "dhcp-option DOMAIN \"corp example\"\n"
                             "tls-cipher TLS-ECDHE-ECDSA-WITH-AES-256-GCM-SHA384\n"
                             "route 10.0.0.0 255.0.0.0 vpn_gateway # comment\n";
    const FilteredConfig c = filterConfig(text, "");
    QVERIFY2(c.ok, c.error.c_str());
    const QList<QStringList> expected = {
        {"client"},
        {"verify-x509-name", "CN=my \"odd\" server", "name"},
        {"dhcp-option", "DOMAIN", "corp example"},
        {"tls-cipher", "TLS-ECDHE-ECDSA-WITH-AES-256-GCM-SHA384"},
        {"route", "10.0.0.0", "255.0.0.0", "vpn_gateway"},
    };
    QCOMPARE(bodyDirectives(c.body), expected);
}

void TestConfigFilter::refusesDirectivesOutsideTheListNamingThem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");

    QTest::newRow("up") << "up /bin/sh"
                        << "line 1: 'up' runs programs";
    QTest::newRow("double-dash up") << "remote h\n--up /bin/sh"
                                    << "line 2: 'up' runs programs";
    QTest::newRow("quoted up") << "\"up\" /bin/sh"
                               << "'up' runs programs";
    QTest::newRow("single-quoted up") << "'up' /bin/sh"
                                      << "'up' runs programs";
    QTest::newRow("up after byte-order mark") << "\xEF\xBB\xBFup /bin/sh"
                                              << "line 1: 'up'";
    QTest::newRow("up after lone CR") << "verb 3\rup /bin/sh"
                                      << "line 2: 'up'";
    QTest::newRow("upper case") << "UP /bin/sh"
                                << "'UP' is not allowed";
    QTest::newRow("down") << "down /bin/sh"
                          << "'down' runs programs";
    QTest::newRow("route-up") << "route-up /bin/sh"
                              << "'route-up' runs programs";
    QTest::newRow("tls-verify") << "tls-verify /bin/sh"
                                << "'tls-verify' runs programs";
    QTest::newRow("iproute") << "iproute /bin/sh"
                             << "'iproute' runs programs";
    QTest::newRow("ipchange") << "ipchange /bin/sh"
                              << "'ipchange'";
    QTest::newRow("learn-address") << "learn-address /bin/sh"
                                   << "'learn-address'";
    QTest::newRow("script-security") << "script-security 2"
                                     << "'script-security'";
    // A configuration must not empty the tunnel while the client shows Connected.
    QTest::newRow("route-nopull") << "route-nopull"
                                  << "'route-nopull' would leave the tunnel without routes";
    QTest::newRow("pull-filter") << "pull-filter ignore redirect-gateway"
                                 << "'pull-filter'";
    QTest::newRow("route around the tunnel") << "route 0.0.0.0 128.0.0.0 net_gateway"
                                             << "'route' routes traffic around the tunnel";
    QTest::newRow("IPv6 route around the tunnel") << "route-ipv6 ::/1 net_gateway"
                                                  << "'route-ipv6' routes traffic around";
    QTest::newRow("plugin") << "plugin /tmp/x.so"
                            << "'plugin' loads code";
    QTest::newRow("engine") << "engine dynamic"
                            << "'engine' loads code";
    QTest::newRow("providers") << "providers legacy default"
                               << "'providers' loads code";
    QTest::newRow("config") << "config /etc/other.conf"
                            << "'config' reads a file by path";
    QTest::newRow("cd") << "cd /etc"
                        << "'cd'";
    QTest::newRow("chroot") << "chroot /"
                            << "'chroot'";
    QTest::newRow("log") << "log /tmp/x"
                         << "'log' writes files by path";
    QTest::newRow("log-append") << "log-append /tmp/x"
                                << "'log-append'";
    QTest::newRow("status") << "status /tmp/s"
                            << "'status' writes files by path";
    QTest::newRow("writepid") << "writepid /tmp/p"
                              << "'writepid'";
    QTest::newRow("tmp-dir") << "tmp-dir /tmp"
                             << "'tmp-dir'";
    QTest::newRow("askpass") << "askpass /tmp/p"
                             << "'askpass'";
    QTest::newRow("daemon") << "daemon"
                            << "'daemon'";
    QTest::newRow("user") << "user nobody"
                          << "'user' changes users";
    QTest::newRow("group") << "group nogroup"
                           << "'group' changes users";
    QTest::newRow("management") << "management 127.0.0.1 7505"
                                << "'management' touches";
    QTest::newRow("management-client") << "management-client"
                                       << "'management-client' touches";
    QTest::newRow("http-proxy") << "http-proxy 192.0.2.1 8080"
                                << "'http-proxy' uses a proxy";
    QTest::newRow("socks-proxy") << "socks-proxy 192.0.2.1"
                                 << "'socks-proxy' uses a proxy";
    QTest::newRow("mark") << "mark 1"
                          << "'mark' is set by the engine";
    QTest::newRow("ignore-unknown-option") << "ignore-unknown-option up"
                                           << "'ignore-unknown";
    QTest::newRow("ca by path") << "ca /etc/ssl/ca.pem"
                                << "'ca' reads a file by path";
    QTest::newRow("tls-auth by path") << "tls-auth /etc/ta.key 1"
                                      << "'tls-auth' reads a file";
    QTest::newRow("auth-user-pass file") << "auth-user-pass /tmp/p"
                                         << "'auth-user-pass'";
    QTest::newRow("auth-user-pass prompt") << "auth-user-pass"
                                           << "'auth-user-pass'";
    QTest::newRow("setenv opt up") << "setenv opt up /bin/sh"
                                   << "'up' runs programs";
    QTest::newRow("setenv other") << "setenv FORWARD_COMPATIBLE 1"
                                  << "'setenv' sets values";
    QTest::newRow("dev tap") << "dev tap"
                             << "'dev' must name a tun device";
    QTest::newRow("dev-type tap") << "dev-type tap"
                                  << "'dev-type' must be tun";
    QTest::newRow("tcp-server") << "proto tcp-server"
                                << "'proto' must be a client protocol";
    QTest::newRow("inline up block") << "<up>\n/bin/sh\n</up>"
                                     << "'<up>' inline block";
    QTest::newRow("inline config block") << "<config>\nx\n</config>"
                                         << "'<config>'";
    QTest::newRow("up inside connection")
        << "<connection>\nremote 203.0.113.5\nup /bin/sh\n</connection>"
        << "'up' runs";
    QTest::newRow("log inside connection")
        << "<connection>\nremote 203.0.113.5\nlog /tmp/l\n</connection>"
        << "'log'";
    QTest::newRow("cipher inside connection")
        << "<connection>\nremote 203.0.113.5\ncipher AES-256-GCM\n</connection>"
        << "'cipher' is not allowed inside <connection>";
}

void TestConfigFilter::refusesDirectivesOutsideTheListNamingThem()
{
    QFETCH(QString, text);
    QFETCH(QString, named);
    const FilteredConfig c = filterConfig(text.toStdString(), "203.0.113.5");
    QVERIFY(!c.ok);
    QVERIFY(c.body.empty());
    QVERIFY2(QString::fromStdString(c.error).contains(named), c.error.c_str());
}

void TestConfigFilter::refusesMalformedOrOversizedInput_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("why");

    QTest::newRow("NUL byte") << QByteArray("client\n\0up /bin/sh\n", 19) << "NUL";
    QTest::newRow("oversized") << QByteArray(int(kMaxConfigBytes) + 1, '#') << "larger than";
    QTest::newRow("overlong line") << QByteArray("verb 3 ") + QByteArray(300, 'a') << "longer";
    QTest::newRow("unclosed inline") << QByteArray("<ca>\nAAAA\n") << "never closed";
    QTest::newRow("wrong close tag") << QByteArray("<ca>\nAAAA\n</cert>\n") << "does not close";
    QTest::newRow("close with junk") << QByteArray("<ca>\nAAAA\n</ca> up\n") << "does not close";
    QTest::newRow("tag inside inline") << QByteArray("<ca>\n<key>\n</ca>\n") << "unexpected";
    QTest::newRow("binary inline") << QByteArray("<ca>\nA\x01\x02\n</ca>\n") << "unexpected";
    QTest::newRow("stray close") << QByteArray("</ca>\n") << "closes nothing";
    QTest::newRow("nested connection")
        << QByteArray("<connection>\n<connection>\n</connection>\n") << "inside <connection>";
    QTest::newRow("unclosed connection")
        << QByteArray("<connection>\nremote h\n") << "never closed";
    QTest::newRow("inline in connection")
        << QByteArray("<connection>\nremote h\n<ca>\nA\n</ca>\n</connection>\n") << "inside";
    QTest::newRow("control byte in value")
        << QByteArray("verify-x509-name \"a\tb\"\n") << "control characters";
    QTest::newRow("bad escape") << QByteArray("remote h\\x 1194\n") << "backslash";
    QTest::newRow("bad remote host") << QByteArray("remote h;rm 1194\n") << "'remote'";
    QTest::newRow("bad remote port") << QByteArray("remote h 99999\n") << "bad port";
}

void TestConfigFilter::refusesMalformedOrOversizedInput()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, why);
    const FilteredConfig c
        = filterConfig(std::string(text.constData(), size_t(text.size())), "203.0.113.5");
    QVERIFY(!c.ok);
    QVERIFY2(QString::fromStdString(c.error).contains(why), c.error.c_str());
}

void TestConfigFilter::endpointComesFromTheFirstRemote_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("family");

    QTest::newRow("line gives all") << "remote vpn.example 443 tcp"
                                    << "vpn.example" << 443 << true << 0;
    QTest::newRow("port directive") << "port 1195\nremote h"
                                    << "h" << 1195 << false << 0;
    QTest::newRow("rport directive") << "rport 1196\nremote h"
                                     << "h" << 1196 << false << 0;
    QTest::newRow("proto directive") << "proto tcp-client\nremote h"
                                     << "h" << 1194 << true << 0;
    QTest::newRow("line beats directives") << "proto tcp\nport 1\nremote h 2 udp"
                                           << "h" << 2 << false << 0;
    QTest::newRow("udp6") << "remote 2001:db8::1 1194 udp6"
                          << "2001:db8::1" << 1194 << false << 6;
    QTest::newRow("tcp4") << "proto tcp4-client\nremote h"
                          << "h" << 1194 << true << 4;
    QTest::newRow("first remote wins") << "remote a 1\nremote b 2"
                                       << "a" << 1 << false << 0;
    QTest::newRow("first connection wins")
        << "proto tcp\n<connection>\nremote c1 1300\n</connection>\n"
           "<connection>\nremote c2 1400 udp\n</connection>"
        << "c1" << 1300 << true << 0;
    QTest::newRow("connection over top-level remote")
        << "remote top 1\n<connection>\nremote inner 2\n</connection>"
        << "inner" << 2 << false << 0;
}

void TestConfigFilter::endpointComesFromTheFirstRemote()
{
    QFETCH(QString, text);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, tcp);
    QFETCH(int, family);
    const FilteredConfig c = filterConfig(text.toStdString(), "198.51.100.99");
    QVERIFY2(c.ok, c.error.c_str());
    QCOMPARE(QString::fromStdString(c.remote.host), host);
    QCOMPARE(int(c.remote.port), port);
    QCOMPARE(c.remote.transport == Transport::Tcp, tcp);
    QCOMPARE(c.remote.family, family);
    QVERIFY(!QString::fromStdString(c.body).contains(QLatin1String("remote ")));
}

void TestConfigFilter::serverAddressIsUsedWhenThereIsNoRemote()
{
    const FilteredConfig c = filterConfig("client\nport 1300\nproto tcp\n", "198.51.100.7");
    QVERIFY2(c.ok, c.error.c_str());
    QCOMPARE(c.remote.host, std::string("198.51.100.7"));
    QCOMPARE(int(c.remote.port), 1300);
    QVERIFY(c.remote.transport == Transport::Tcp);

    const FilteredConfig bad = filterConfig("client\n", "198.51.100.7; up /bin/sh");
    QVERIFY(!bad.ok);
    QVERIFY(QString::fromStdString(bad.error).contains(QLatin1String("not a host name")));

    const FilteredConfig none = filterConfig("client\n", "");
    QVERIFY(!none.ok);
    QVERIFY(QString::fromStdString(none.error).contains(QLatin1String("no remote")));
}

void TestConfigFilter::crlfLoneCrAndByteOrderMarkAreReadAsOpenvpnReadsThem()
{
    const FilteredConfig c = filterConfig("\xEF\xBB\xBF"
                                          "client\r\nremote 203.0.113.5 1194\r\n<ca>\r\nAAAA\r\n"
                                          "</ca>\r\nverb 4\rnobind\n",
                                          "");
    QVERIFY2(c.ok, c.error.c_str());
    const QList<QStringList> expected = {{"client"}, {"verb", "4"}, {"nobind"}};
    QCOMPARE(bodyDirectives(c.body), expected);
    QVERIFY(QString::fromStdString(c.body).contains(QLatin1String("<ca>\nAAAA\n</ca>\n")));
    QVERIFY(!QString::fromStdString(c.body).contains(QLatin1Char('\r')));
}

void TestConfigFilter::windowsOnlyDirectivesAreLeftOutWithANote()
{
    const FilteredConfig c
        = filterConfig("remote 203.0.113.5\nsetenv opt block-outside-dns\nroute-method exe\n", "");
    QVERIFY2(c.ok, c.error.c_str());
    QVERIFY(!QString::fromStdString(c.body).contains(QLatin1String("block-outside-dns")));
    QVERIFY(!QString::fromStdString(c.body).contains(QLatin1String("route-method")));
    QCOMPARE(int(c.notes.size()), 2);
    QVERIFY(QString::fromStdString(c.notes[0]).contains(QLatin1String("block-outside-dns")));
}

void TestConfigFilter::boundedValuesAreChecked()
{
    QVERIFY(filterConfig("remote h\nverb 6\n", "").ok);
    QVERIFY(!filterConfig("remote h\nverb 7\n", "").ok);
    QVERIFY(!filterConfig("remote h\nverb 11\n", "").ok);
    QVERIFY(filterConfig("remote h\nexplicit-exit-notify\n", "").ok);
    QVERIFY(filterConfig("remote h\nexplicit-exit-notify 3\n", "").ok);
    QVERIFY(!filterConfig("remote h\nexplicit-exit-notify 30\n", "").ok);
    // setenv opt keeps an allowed directive as a plain one.
    const FilteredConfig c = filterConfig("remote h\nsetenv opt tls-version-min 1.2\n", "");
    QVERIFY2(c.ok, c.error.c_str());
    QVERIFY(QString::fromStdString(c.body).contains(QLatin1String("\ntls-version-min 1.2\n")));
}

void TestConfigFilter::trailerSetsTheEngineOwnedOptionsLast()
{
    TrailerParams p;
    p.device = "qnet42";
    p.address = "203.0.113.5";
    p.port = 443;
    p.transport = Transport::Tcp;
    p.socketPath = "/run/user/1000/quellnet tunnel/mgmt.sock";
    p.user = "alice";
    p.mark = 0x716e6574;
    const QList<QStringList> expected = {
        {"dev", "qnet42"},
        {"dev-type", "tun"},
        {"remote", "203.0.113.5", "443"},
        {"proto", "tcp-client"},
        {"disable-dco"},
        {"script-security", "1"},
        {"mark", "1903060340"},
        {"management", "/run/user/1000/quellnet tunnel/mgmt.sock", "unix"},
        {"management-client"},
        {"management-client-user", "alice"},
        {"management-signal"},
        {"remap-usr1", "SIGTERM"},
        {"verb", "3"},
    };
    QCOMPARE(bodyDirectives(configTrailer(p)), expected);
    // The push reply, where the DNS servers are read, is logged from verb 3 on.
    p.verb = 5;
    QCOMPARE(bodyDirectives(configTrailer(p)).last(), (QStringList{"verb", "5"}));
}

QTEST_GUILESS_MAIN(TestConfigFilter)
#include "tst_configfilter.moc"
