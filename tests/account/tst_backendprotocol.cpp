// The request envelope as the real backend receives it, and the protocol's text helpers.

#include "backendprotocol.h"
#include "logcapture.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "testbackend.h"

#include <QRegularExpression>
#include <QtTest>

const QStringList kEnvelope = {"address",   "country", "email",    "identity", "localtime",
                               "machineid", "os",      "os_login", "password", "vpntoken"};

class TestBackendProtocol : public QObject
{
    Q_OBJECT

private:
    // Sends a GET with the envelope (and the account entries when email is set); the
    // envelope headers as the backend received them, in their order, as "name=value".
    QStringList send(const QString &url, const QString &email = QString(), QString *reply = nullptr)
    {
        HeaderMap headers;
        makeRequestHeaders(headers);
        const QString password = QStringLiteral(" quellnet-demo ");
        if (!email.isEmpty())
            addAccountHeaders(headers, email, &password);
        QString body;
        if (!m_backend.resetRequests())
            return {};
        (reply ? *reply : body) = MNetwork::get(url, headers);
        QStringList out;
        for (const TestBackend::Request &request : m_backend.requests()) {
            for (const auto &header : request.wireHeaders) {
                if (kEnvelope.contains(header.first))
                    out << header.first + QLatin1Char('=') + header.second;
            }
        }
        return out;
    }
    static QString value(const QStringList &headers, const QString &name)
    {
        const QStringList found
            = headers.filter(QRegularExpression(QLatin1Char('^') + name + QLatin1Char('=')));
        return found.size() == 1 ? found.first().section(QLatin1Char('='), 1)
                                 : QStringLiteral("<%1 times>").arg(found.size());
    }

    TestBackend m_backend;

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        QVERIFY(m_backend.start());
        m_backend.exportClientEnvironment();
        MNetwork::globalInit();
        MConfig::loadCommConfig();
    }
    void cleanupTestCase() { MNetwork::globalClean(); }
    void init() { GeoState::instance().clear(); }

    void signInEnvelope_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        const auto row = [](const char *name, const QString &pattern) {
            QTest::newRow(name) << QString::fromLatin1(name) << pattern;
        };
        row("identity", QStringLiteral("quell_net_request"));
        row("email", QStringLiteral("demo%40quellnet\\.example")); // trimmed, encoded
        row("password", QStringLiteral("quellnet-demo"));
        row("machineid", QRegularExpression::escape(MConfig::getUserId()));
        row("os", QStringLiteral("Win"));
        row("os_login",
            QRegularExpression::escape(QSysInfo::productType() + QLatin1Char('_')
                                       + QSysInfo::productVersion()));
        row("localtime", QStringLiteral("\\d{4}-\\d\\d-\\d\\d%20\\d\\d%3A\\d\\d%3A\\d\\d"));
        row("vpntoken", QStringLiteral("[0-9A-F]{32}"));
        // No geo-IP lookup yet: substitutes.
        row("address", QStringLiteral("UnkownA"));
        row("country", QStringLiteral("UnkownX"));
    }
    void signInEnvelope()
    {
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QString reply;
        const QStringList headers
            = send(Endpoint::login(), QStringLiteral(" demo@quellnet.example "), &reply);
        QStringList names;
        for (const QString &header : headers)
            names << header.section(QLatin1Char('='), 0, 0);
        QCOMPARE(names,
                 QStringList({"address", "country", "email", "identity", "localtime", "machineid",
                              "os", "os_login", "password", "vpntoken"}));
        const QString sent = value(headers, name);
        QVERIFY2(
            QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(sent).hasMatch(),
            qPrintable(sent));
        // The demo account signs in: the backend read the envelope as meant.
        QJsonObject object;
        QString error;
        QVERIFY2(parseJsonObject(reply, error, object), qPrintable(reply));
        QCOMPARE(object.value(QStringLiteral("error")).toInt(-1), 0);
    }

    void placeAndTokenFollowTheRequest()
    {
        const QStringList first = send(Endpoint::getIp());
        // The substitutes stay until a lookup sets real values.
        QCOMPARE(GeoState::instance().address(), QStringLiteral("UnkownA"));
        GeoState::instance().setRegion(QStringLiteral("中国"),
                                       QStringLiteral("中国|0|江苏省|南京市|电信"));
        const QStringList second = send(Endpoint::getIp());
        QCOMPARE(value(second, QStringLiteral("address")),
                 QString::fromLatin1(
                     QUrl::toPercentEncoding(QStringLiteral("中国,0,江苏省,南京市,电信"))));
        QCOMPARE(value(second, QStringLiteral("country")), QStringLiteral("%E4%B8%AD%E5%9B%BD"));
        // A fresh token for every request, the same machine.
        QVERIFY(value(first, QStringLiteral("vpntoken"))
                != value(second, QStringLiteral("vpntoken")));
        QCOMPARE(value(first, QStringLiteral("machineid")),
                 value(second, QStringLiteral("machineid")));
    }

    void envelopeReplacesItsOwnEntriesOnly()
    {
        // Percent-encoding leaves only the unreserved characters, and encodes UTF-8.
        QCOMPARE(percentEncoded(QStringLiteral("A-z_0.9~ü/ +@")),
                 QStringLiteral("A-z_0.9~%C3%BC%2F%20%2B%40"));
        HeaderMap map;
        map.insert(QStringLiteral("identity"), QStringLiteral("old"));
        map.insert(QStringLiteral("zzz"), QStringLiteral("kept"));
        addAccountHeaders(map, QStringLiteral(" x+y@z.org "));
        makeRequestHeaders(map);
        QCOMPARE(map.value(QStringLiteral("identity")), QStringLiteral("quell_net_request"));
        QCOMPARE(map.value(QStringLiteral("zzz")), QStringLiteral("kept"));
        QVERIFY(!map.contains(QStringLiteral("password")));
    }

    void parseJsonObjectReportsWhatIsWrong_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("error"); // errorText set, and logged
        QTest::newRow("object") << QStringLiteral("{\"error\": -111, \"x\": \"ü\"}") << true
                                << false;
        QTest::newRow("not an object") << QStringLiteral("[1,2]") << false << false;
        QTest::newRow("not JSON") << QStringLiteral("{\"error\": ") << false << true;
    }
    void parseJsonObjectReportsWhatIsWrong()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(bool, error);
        LogCapture log;
        QJsonObject object;
        QString errorText = QStringLiteral("stale");
        QCOMPARE(parseJsonObject(text, errorText, object), ok);
        QCOMPARE(!errorText.isEmpty(), error);
        QCOMPARE(LogCapture::contains(QStringLiteral("QJsonParseError:")), error);
        if (ok)
            QCOMPARE(object.value(QStringLiteral("x")).toString(), QStringLiteral("ü"));
    }
};

QTEST_GUILESS_MAIN(TestBackendProtocol)
#include "tst_backendprotocol.moc"
