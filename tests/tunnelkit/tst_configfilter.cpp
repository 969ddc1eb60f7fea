#include "configfilter.h"

#include <QtTest>

using namespace tunnelkit;

namespace {

const char kCa[] = "<ca>\n-----BEGIN CERTIFICATE-----\n"
                   "MIIBszCCAVmgAwIBAgIUO4c2tq0A3UjkRaZ7L2vQdYv3JvgwCgYIKoZIzj0EAwIw\n"
                   "-----END CERTIFICATE-----\n</ca>\n";

QStringList toList(const std::vector<std::string> &tokens)
{
    QStringList l;
    for (const std::string &t : tokens)
        l << QString::fromStdString(t);
    return l;
}

// The directive lines of a rebuilt body, tokenised again (inline blocks skipped), as
// "directive|value|value ; directive ...".
QString directives(const std::string &body)
{
    QStringList out;
    bool inBlock = false;
    for (const QString &line : QString::fromStdString(body).split(QLatin1Char('\n'))) {
        const bool tag = line.startsWith(QLatin1Char('<'));
        if (inBlock || tag) {
            inBlock = tag ? !line.startsWith(QLatin1String("</")) : inBlock;
            continue;
        }
        std::vector<std::string> tokens;
        std::string reason;
        if (tokenizeLine(line.toStdString(), &tokens, &reason) && !tokens.empty())
            out << toList(tokens).join(QLatin1Char('|'));
    }
    return out.join(QLatin1String(" ; "));
}

} // namespace

class TestConfigFilter : public QObject
{
    Q_OBJECT

private slots:
    void tokenizerReadsLinesAsOpenvpnDoes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("tokens"); // {"!"}: refused
        const QStringList refused = {"!"};
        QTest::newRow("plain") << "remote host 1194" << QStringList{"remote", "host", "1194"};
        QTest::newRow("double quotes") << "verify-x509-name \"CN=my server\" name"
                                       << QStringList{"verify-x509-name", "CN=my server", "name"};
        QTest::newRow("escaped quote") << "a \"x\\\"y\"" << QStringList{"a", "x\"y"};
        QTest::newRow("escaped space") << "a\\ b c" << QStringList{"a b", "c"};
        QTest::newRow("single quotes keep backslashes") << "a \'x\\y\'" << QStringList{"a", "x\\y"};
        QTest::newRow("hash comment after tokens") << "remote h #c" << QStringList{"remote", "h"};
        QTest::newRow("semicolon comment line") << "  ;up /bin/sh" << QStringList{};
        QTest::newRow("hash inside a token is kept") << "a b#c" << QStringList{"a", "b#c"};
        QTest::newRow("tabs separate") << "a\tb" << QStringList{"a", "b"};
        QTest::newRow("empty quoted value") << "a \"\"" << QStringList{"a", ""};
        QTest::newRow("quoted directive name") << "\"up\" /bin/sh" << QStringList{"up", "/bin/sh"};
        QTest::newRow("unclosed quote") << "a \"b" << refused;
        QTest::newRow("bad escape") << "a\\q" << refused;
        QTest::newRow("escape at line end") << "a\\" << refused;
        QTest::newRow("seventeen values") << "a b c d e f g h i j k l m n o p q" << refused;
    }
    void tokenizerReadsLinesAsOpenvpnDoes()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, tokens);
        std::vector<std::string> got;
        std::string reason;
        const bool ok = tokenizeLine(line.toStdString(), &got, &reason);
        QCOMPARE(ok, tokens != QStringList{"!"});
        QCOMPARE(ok ? toList(got) : QStringList{"!"}, tokens);
        QCOMPARE(reason.empty(), ok);
    }
    void acceptedTextIsRebuiltFromItsTokens_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("body"); // directives " ; ", their tokens "|"
        QTest::addColumn<int>("notes");
        // Endpoint and device are the engine's: they leave the body and come back in the trailer.
        QTest::newRow("typical")
            << "client\ndev tun\nproto udp\nremote 203.0.113.5 1194\nnobind\nremote-cert-tls "
               "server\n"
               "data-ciphers AES-256-GCM:AES-128-GCM\n"
                + QByteArray(kCa) + "verb 3\n"
            << "client ; nobind ; remote-cert-tls|server ; data-ciphers|AES-256-GCM:AES-128-GCM ; "
               "verb|3"
            << 0;
        QTest::newRow("quoting survives") << QByteArray(
            "--client\nremote 203.0.113.5\nverify-x509-name 'CN=my \"odd\" server' n\n"
            "dhcp-option DOMAIN \"corp example\"\nroute 10.0.0.0 255.0.0.0 vpn_gateway #\n")
                                          << "client ; verify-x509-name|CN=my \"odd\" server|n ; "
                                             "dhcp-option|DOMAIN|corp example ; "
                                             "route|10.0.0.0|255.0.0.0|vpn_gateway"
                                          << 0;
        QTest::newRow("CRLF, lone CR, byte-order mark")
            << QByteArray("\xEF\xBB\xBF"
                          "client\r\nremote 203.0.113.5\r\n<ca>\r\nAAAA\r\n</ca>\r\n"
                          "verb 4\rnobind\n")
            << "client ; verb|4 ; nobind" << 0;
        QTest::newRow("Windows-only left out with a note")
            << QByteArray("remote 203.0.113.5\nsetenv opt block-outside-dns\nroute-method exe\n")
            << "" << 2;
        QTest::newRow("setenv opt keeps an allowed directive")
            << QByteArray("remote h\nsetenv opt tls-version-min 1.2\n") << "tls-version-min|1.2"
            << 0;
        QTest::newRow("bounded values at their bounds")
            << QByteArray("remote h\nverb 6\nexplicit-exit-notify\nexplicit-exit-notify 3\n")
            << "verb|6 ; explicit-exit-notify ; explicit-exit-notify|3" << 0;
    }
    void acceptedTextIsRebuiltFromItsTokens()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, notes);
        const FilteredConfig c = filterConfig(text.toStdString(), "");
        QVERIFY2(c.ok, c.error.c_str());
        QTEST(directives(c.body), "body");
        QCOMPARE(int(c.notes.size()), notes);
        const QString body = QString::fromStdString(c.body);
        QVERIFY(!body.contains(QLatin1Char('\r')));
        if (text.contains("<ca>"))
            QVERIFY(body.contains(text.contains("AAAA") ? "<ca>\nAAAA\n</ca>\n" : kCa));
    }
    void refusedTextNamesLineAndReason_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("server");
        const QString server = QStringLiteral("203.0.113.5");
        // One row per rule: the filter refuses by kind, the kinds list their names.
        const char *const rows[][2] = {
            {"up /bin/sh", "line 1: 'up' runs programs"},
            {"plugin /tmp/x.so", "line 1: 'plugin' loads code"},
            {"ca /etc/ssl/ca.pem", "line 1: 'ca' reads a file by path"},
            {"log-append /tmp/x", "line 1: 'log-append' writes files by path"},
            {"user nobody", "line 1: 'user' changes users"},
            {"management-client", "line 1: 'management-client' touches the management"},
            {"http-proxy 192.0.2.1 8080", "line 1: 'http-proxy' uses a proxy"},
            {"mark 1", "line 1: 'mark' is set by the engine"},
            // A configuration must not empty the tunnel while the client shows Connected.
            {"route-nopull", "line 1: 'route-nopull' would leave the tunnel without routes"},
            {"pull-filter ignore redirect-gateway", "line 1: 'pull-filter'"},
            {"ignore-unknown-option up", "line 1: 'ignore-unknown-option'"},
            {"remote h\n--up /bin/sh", "line 2: 'up' runs programs"},
            {"\xEF\xBB\xBFup /bin/sh", "line 1: 'up'"},
            {"UP /bin/sh", "'UP' is not allowed"},
            {"route 0.0.0.0 128.0.0.0 net_gateway", "'route' routes traffic around the tunnel"},
            {"setenv opt up /bin/sh", "'up' runs programs"},
            {"setenv FORWARD_COMPATIBLE 1", "'setenv' sets values"},
            {"dev tap", "'dev' must name a tun device"},
            {"dev-type tap", "'dev-type' must be tun"},
            {"proto tcp-server", "'proto' must be a client protocol"},
            {"verb 7", "'verb'"},
            {"explicit-exit-notify 30", "'explicit-exit-notify'"},
            {"<up>\n/bin/sh\n</up>", "'<up>' inline block"},
            {"<connection>\nremote 203.0.113.5\nup /bin/sh\n</connection>", "'up' runs"},
            {"<connection>\nremote 203.0.113.5\ncipher AES-256-GCM\n</connection>",
             "'cipher' is not allowed inside <connection>"},
            // Malformed or oversized.
            {"<ca>\nAAAA\n", "never closed"},
            {"<ca>\nAAAA\n</cert>\n", "does not close"},
            {"<ca>\n<key>\n</ca>\n", "unexpected"},
            {"</ca>\n", "closes nothing"},
            {"<connection>\n<connection>\n</connection>\n", "inside <connection>"},
            {"verify-x509-name \"a\tb\"\n", "control characters"},
            {"remote h\\x 1194\n", "backslash"},
            {"remote h;rm 1194\n", "'remote'"},
            {"remote h 99999\n", "bad port"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << QByteArray(r[0]) << r[1] << server;
        QTest::newRow("NUL byte") << QByteArray("client\n\0up /bin/sh\n", 19) << "NUL" << server;
        QTest::newRow("overlong line")
            << QByteArray("verb 3 ") + QByteArray(300, 'a') << "longer" << server;
        QTest::newRow("oversized")
            << QByteArray(int(kMaxConfigBytes) + 1, '#') << "larger than" << server;
        QTest::newRow("server no host") << QByteArray("client\n") << "not a host name"
                                        << "198.51.100.7; up /bin/sh";
        QTest::newRow("no server at all") << QByteArray("client\n") << "no remote" << QString();
    }
    void refusedTextNamesLineAndReason()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, named);
        QFETCH(QString, server);
        const FilteredConfig c = filterConfig(text.toStdString(), server.toStdString());
        QVERIFY(!c.ok);
        QVERIFY(c.body.empty());
        QVERIFY2(QString::fromStdString(c.error).contains(named), c.error.c_str());
    }
    void endpointComesFromTheFirstRemote_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("endpoint"); // host port tcp|udp family
        const char *const rows[][2] = {
            {"remote vpn.example 443 tcp", "vpn.example 443 tcp 0"},
            {"port 1195\nremote h", "h 1195 udp 0"},
            {"rport 1196\nremote h", "h 1196 udp 0"},
            {"proto tcp-client\nremote h", "h 1194 tcp 0"},
            {"proto tcp\nport 1\nremote h 2 udp", "h 2 udp 0"},
            {"remote 2001:db8::1 1194 udp6", "2001:db8::1 1194 udp 6"},
            {"proto tcp4-client\nremote h", "h 1194 tcp 4"},
            {"remote a 1\nremote b 2", "a 1 udp 0"},
            {"proto tcp\n<connection>\nremote c1 1300\n</connection>\n"
             "<connection>\nremote c2 1400 udp\n</connection>",
             "c1 1300 tcp 0"},
            {"remote top 1\n<connection>\nremote inner 2\n</connection>", "inner 2 udp 0"},
            // Without a remote, the server address given to setconfig.
            {"client\nport 1300\nproto tcp\n", "198.51.100.7 1300 tcp 0"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << r[0] << r[1];
    }
    void endpointComesFromTheFirstRemote()
    {
        QFETCH(QString, text);
        QFETCH(QString, endpoint);
        const FilteredConfig c = filterConfig(text.toStdString(), "198.51.100.7");
        QVERIFY2(c.ok, c.error.c_str());
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(QString::fromStdString(c.remote.host))
                     .arg(c.remote.port)
                     .arg(c.remote.transport == Transport::Tcp ? "tcp" : "udp")
                     .arg(c.remote.family),
                 endpoint);
        QVERIFY(!QString::fromStdString(c.body).contains(QLatin1String("remote ")));
    }
    void trailerSetsTheEngineOwnedOptionsLast()
    {
        TrailerParams p;
        p.device = "qnet42";
        p.address = "203.0.113.5";
        p.port = 443;
        p.transport = Transport::Tcp;
        p.socketPath = "/run/user/1000/quellnet tunnel/mgmt.sock";
        p.user = "alice";
        p.mark = 0x716e6574;
        QCOMPARE(
            directives(configTrailer(p)),
            "dev|qnet42 ; dev-type|tun ; remote|203.0.113.5|443 ; proto|tcp-client ; disable-dco ; "
            "script-security|1 ; mark|1903060340 ; management|/run/user/1000/quellnet "
            "tunnel/mgmt.sock|unix ; management-client ; management-hold ; "
            "management-client-user|alice ; "
            "management-signal ; persist-tun ; persist-key ; verb|3");
        // The push reply, where the DNS servers are read, is logged from verb 3 on.
        p.verb = 5;
        QVERIFY(directives(configTrailer(p)).endsWith(QLatin1String(" ; verb|5")));
    }
};

QTEST_GUILESS_MAIN(TestConfigFilter)
#include "tst_configfilter.moc"
