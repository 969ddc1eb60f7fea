// The request envelope as the real backend receives it.

#include "backendprotocol.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "testbackend.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>

const QStringList kEnvelope = {"address",   "country", "email",    "identity", "localtime",
                               "machineid", "os",      "os_login", "password", "vpntoken"};

class TestBackendProtocol : public QObject
{
    Q_OBJECT

private:
    // Sends a GET with the envelope (and the account entries when email is set); the
    // envelope headers as the backend received them, and their names in wire order.
    QMap<QString, QString> send(const QString &url, const QString &email = QString())
    {
        HeaderMap headers;
        makeRequestHeaders(headers);
        const QString password = QStringLiteral(" quellnet-demo ");
        if (!email.isEmpty())
            addAccountHeaders(headers, email, &password);
        m_names.clear();
        if (!m_backend.resetRequests())
            return {};
        m_reply = MNetwork::get(url, headers);
        QMap<QString, QString> out;
        for (const TestBackend::Request &request : m_backend.requests()) {
            for (const auto &header : request.wireHeaders) {
                if (kEnvelope.contains(header.first)) {
                    m_names << header.first;
                    out.insert(header.first, header.second);
                }
            }
        }
        return out;
    }

    TestBackend m_backend;
    QString m_reply;
    QStringList m_names;

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        QVERIFY(m_backend.start());
        MNetwork::globalInit();
        MConfig::loadCommConfig();
    }
    void cleanupTestCase() { MNetwork::globalClean(); }
    void init() { GeoState::instance().clear(); }

    // The tag names the header.
    void signInEnvelope_data()
    {
        QTest::addColumn<QRegularExpression>("pattern");
        const auto row = [](const char *name, const QString &pattern) {
            QTest::newRow(name) << QRegularExpression(QRegularExpression::anchoredPattern(pattern));
        };
        row("email", QStringLiteral("demo%40quellnet\\.example")); // trimmed, encoded
        row("password", QStringLiteral("quellnet-demo"));
        row("machineid", QRegularExpression::escape(MConfig::getUserId()));
        row("localtime", QStringLiteral("\\d{4}-\\d\\d-\\d\\d%20\\d\\d%3A\\d\\d%3A\\d\\d"));
        row("vpntoken", QStringLiteral("[0-9A-F]{32}"));
        // No geo-IP lookup yet: substitutes.
        row("address", QStringLiteral("UnkownA"));
        row("country", QStringLiteral("UnkownX"));
    }
    void signInEnvelope()
    {
        QFETCH(QRegularExpression, pattern);
        const QMap<QString, QString> headers
            = send(Endpoint::login(), QStringLiteral(" demo@quellnet.example "));
        QCOMPARE(m_names, kEnvelope); // each once, in this order
        const QString sent = headers.value(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY2(pattern.match(sent).hasMatch(), qPrintable(sent));
        // The demo account signs in: the backend read the envelope as meant.
        const QJsonValue error = QJsonDocument::fromJson(m_reply.toUtf8())[QStringLiteral("error")];
        QVERIFY2(error.toInt(-1) == 0, qPrintable(m_reply));
    }

    void placeAndTokenFollowTheRequest()
    {
        const QMap<QString, QString> first = send(Endpoint::getIp());
        GeoState::instance().setRegion(QStringLiteral("中国"),
                                       QStringLiteral("中国|0|江苏省|南京市|电信"));
        const QMap<QString, QString> second = send(Endpoint::getIp());
        QCOMPARE(second.value(QStringLiteral("address")),
                 QString::fromLatin1(
                     QUrl::toPercentEncoding(QStringLiteral("中国,0,江苏省,南京市,电信"))));
        QCOMPARE(second.value(QStringLiteral("country")), QStringLiteral("%E4%B8%AD%E5%9B%BD"));
        // A fresh token for every request, the same machine.
        QVERIFY(first.value(QStringLiteral("vpntoken"))
                != second.value(QStringLiteral("vpntoken")));
        QCOMPARE(first.value(QStringLiteral("machineid")),
                 second.value(QStringLiteral("machineid")));
    }
    // Replies that are no JSON object: tst_accountreplies, through the login reply reader.
};

QTEST_GUILESS_MAIN(TestBackendProtocol)
#include "tst_backendprotocol.moc"
