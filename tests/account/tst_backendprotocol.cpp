#include "backendprotocol.h"
#include "encryptedfiles.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mnetwork.h"
#include "testbackend.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QtTest>

namespace {

QStringList g_messages;

void captureMessages(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages << message;
}

// The envelope's own headers, in the order they arrived, with their raw values.
QList<QPair<QString, QString>> envelopeHeaders(const TestBackend::Request &request)
{
    static const QStringList names = {"address",   "country", "email",    "identity", "localtime",
                                      "machineid", "os",      "os_login", "password", "vpntoken"};
    QList<QPair<QString, QString>> found;
    for (const auto &header : request.wireHeaders) {
        if (names.contains(header.first))
            found.append(header);
    }
    return found;
}

QString headerValue(const TestBackend::Request &request, const QString &name)
{
    for (const auto &header : request.wireHeaders) {
        if (header.first == name)
            return header.second;
    }
    return QString();
}

} // namespace

class TestBackendProtocol : public QObject
{
    Q_OBJECT

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

    void init()
    {
        GeoState::instance().clear();
        QVERIFY(m_backend.resetRequests());
    }

    TestBackend::Request lastRequest(const QString &path)
    {
        const QList<TestBackend::Request> requests = m_backend.requests();
        for (int i = requests.size() - 1; i >= 0; --i) {
            if (requests.at(i).path == path)
                return requests.at(i);
        }
        return TestBackend::Request();
    }

    void endpointsAreBuiltFromTheDeploymentHosts()
    {
        const QString base
            = QStringLiteral("https://") + m_backend.hostWithPort() + QStringLiteral("/vpnserver/");
        QCOMPARE(Endpoint::accountBase(), base);
        QCOMPARE(Endpoint::login(), base + QStringLiteral("loginvpn/"));
        QCOMPARE(Endpoint::registration(), base + QStringLiteral("registervpn/"));
        QCOMPARE(Endpoint::findPassword(), base + QStringLiteral("findpwd/"));
        QCOMPARE(Endpoint::getIp(), base + QStringLiteral("getip/"));
        QCOMPARE(Endpoint::serverList(), base + QStringLiteral("serverlist/"));
        QCOMPARE(Endpoint::serverListHost(),
                 QStringLiteral("https://") + m_backend.address()
                     + QStringLiteral(":4430/servers"));
        QCOMPARE(Endpoint::priceList(),
                 QStringLiteral("https://") + m_backend.hostWithPort()
                     + QStringLiteral("/price.json"));
    }

    void loginHeadersArriveInNameOrderWithTheirEncodings()
    {
        HeaderMap headers;
        makeRequestHeaders(headers);
        const QString password = QStringLiteral(" quellnet-demo ");
        addAccountHeaders(headers, QStringLiteral(" demo@quellnet.example "), &password);
        const QString reply = MNetwork::get(Endpoint::login(), headers);

        const TestBackend::Request request = lastRequest(QStringLiteral("/vpnserver/loginvpn/"));
        const auto sent = envelopeHeaders(request);
        QStringList order;
        for (const auto &header : sent)
            order << header.first;
        QCOMPARE(order,
                 QStringList({"address", "country", "email", "identity", "localtime", "machineid",
                              "os", "os_login", "password", "vpntoken"}));
        QCOMPARE(headerValue(request, QStringLiteral("identity")),
                 QStringLiteral("quell_net_request"));
        QCOMPARE(headerValue(request, QStringLiteral("email")),
                 QStringLiteral("demo%40quellnet.example"));
        QCOMPARE(headerValue(request, QStringLiteral("password")), QStringLiteral("quellnet-demo"));
        QCOMPARE(headerValue(request, QStringLiteral("machineid")), MConfig::getUserId());
        QCOMPARE(headerValue(request, QStringLiteral("os")), QStringLiteral("Win"));
        QCOMPARE(headerValue(request, QStringLiteral("os_login")),
                 QSysInfo::productType() + QLatin1Char('_') + QSysInfo::productVersion());
        QVERIFY(
            QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}%20\\d{2}%3A\\d{2}%3A\\d{2}$"))
                .match(headerValue(request, QStringLiteral("localtime")))
                .hasMatch());

        // The demo account signs in, which proves the backend read the envelope as meant.
        QJsonObject object;
        QString error;
        QVERIFY2(parseJsonObject(reply, error, object), qPrintable(reply));
        QCOMPARE(object.value(QStringLiteral("error")).toInt(-1), 0);
        QVERIFY(QDateTime::fromString(object.value(QStringLiteral("expire_date")).toString(),
                                      QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                    .isValid());
    }

    void unknownPlaceIsSentAsSubstitutesThatStay()
    {
        HeaderMap headers;
        makeRequestHeaders(headers);
        MNetwork::get(Endpoint::getIp(), headers);
        const TestBackend::Request request = lastRequest(QStringLiteral("/vpnserver/getip/"));
        QCOMPARE(headerValue(request, QStringLiteral("address")), QStringLiteral("UnkownA"));
        QCOMPARE(headerValue(request, QStringLiteral("country")), QStringLiteral("UnkownX"));
        QCOMPARE(GeoState::instance().address(), QStringLiteral("UnkownA"));
        QCOMPARE(GeoState::instance().country(), QStringLiteral("UnkownX"));

        GeoState::instance().setRegion(QStringLiteral("中国"),
                                       QStringLiteral("中国|0|江苏省|南京市|电信"));
        headers.clear();
        makeRequestHeaders(headers);
        MNetwork::get(Endpoint::getIp(), headers);
        const TestBackend::Request second = lastRequest(QStringLiteral("/vpnserver/getip/"));
        QCOMPARE(headerValue(second, QStringLiteral("address")),
                 QString::fromLatin1(
                     QUrl::toPercentEncoding(QStringLiteral("中国,0,江苏省,南京市,电信"))));
        QCOMPARE(headerValue(second, QStringLiteral("country")),
                 QStringLiteral("%E4%B8%AD%E5%9B%BD"));
    }

    void everyRequestCarriesAFreshTokenAndTheSameMachine()
    {
        HeaderMap first;
        makeRequestHeaders(first);
        const QString reply = MNetwork::get(Endpoint::getIp(), first);
        QVERIFY2(QRegularExpression(QStringLiteral("^127\\.\\d+\\.\\d+\\.\\d+$"))
                     .match(reply)
                     .hasMatch(),
                 qPrintable(reply));
        HeaderMap second;
        makeRequestHeaders(second);
        MNetwork::get(Endpoint::getIp(), second);

        const QList<TestBackend::Request> requests = m_backend.requests();
        QVERIFY(requests.size() >= 2);
        const TestBackend::Request &a = requests.at(requests.size() - 2);
        const TestBackend::Request &b = requests.last();
        QVERIFY(headerValue(a, QStringLiteral("vpntoken"))
                != headerValue(b, QStringLiteral("vpntoken")));
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{32}$"))
                    .match(headerValue(a, QStringLiteral("vpntoken")))
                    .hasMatch());
        QCOMPARE(headerValue(a, QStringLiteral("machineid")),
                 headerValue(b, QStringLiteral("machineid")));
    }

    void percentEncodingLeavesOnlyUnreservedCharacters()
    {
        QCOMPARE(percentEncoded(QStringLiteral("a+b@c.d")), QStringLiteral("a%2Bb%40c.d"));
        QCOMPARE(percentEncoded(QStringLiteral("2024-01-02 03:04:05")),
                 QStringLiteral("2024-01-02%2003%3A04%3A05"));
        QCOMPARE(percentEncoded(QStringLiteral("A-z_0.9~")), QStringLiteral("A-z_0.9~"));
        QCOMPARE(percentEncoded(QStringLiteral("ü/")), QStringLiteral("%C3%BC%2F"));

        HeaderMap map;
        map.insert(QStringLiteral("identity"), QStringLiteral("old"));
        map.insert(QStringLiteral("zzz"), QStringLiteral("kept"));
        addAccountHeaders(map, QStringLiteral(" x+y@z.org "));
        makeRequestHeaders(map);
        QCOMPARE(map.value(QStringLiteral("identity")), QStringLiteral("quell_net_request"));
        QCOMPARE(map.value(QStringLiteral("zzz")), QStringLiteral("kept"));
        QCOMPARE(map.value(QStringLiteral("email")), QStringLiteral("x%2By%40z.org"));
        QVERIFY(!map.contains(QStringLiteral("password")));
        QCOMPARE(map.size(), 10);
    }

    void parseJsonObjectReportsWhatIsWrong()
    {
        g_messages.clear();
        qInstallMessageHandler(captureMessages);
        QJsonObject object;
        QString error = QStringLiteral("stale");
        QVERIFY(!parseJsonObject(QStringLiteral("[1,2]"), error, object));
        QVERIFY(error.isEmpty());
        QVERIFY(!parseJsonObject(QStringLiteral("{\"error\": "), error, object));
        QVERIFY(!error.isEmpty());
        QVERIFY(parseJsonObject(QStringLiteral("{\"error\": -111, \"x\": \"ü\"}"), error, object));
        QVERIFY(error.isEmpty());
        qInstallMessageHandler(nullptr);
        QCOMPARE(object.value(QStringLiteral("error")).toInt(0), -111);
        QCOMPARE(object.value(QStringLiteral("x")).toString(), QStringLiteral("ü"));
        QCOMPARE(g_messages.size(), 2);
        QCOMPARE(g_messages.at(0), QStringLiteral("! parse_doucment.isObject()"));
        QVERIFY(g_messages.at(1).startsWith(QStringLiteral("QJsonParseError:")));
    }

    void resultCodesMapToTheirMessages_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const int login = int(AccountRequest::Login);
        const int reg = int(AccountRequest::Register);
        const int find = int(AccountRequest::FindPassword);
        QTest::newRow("login ok") << login << 0 << ""
                                  << "";
        QTest::newRow("login -110") << login << -110 << "Login failed"
                                    << "This email or password is empty";
        QTest::newRow("login -111")
            << login << -111 << "Login failed"
            << "Only one device can be bound to the same account in each system";
        QTest::newRow("login -120") << login << -120 << "Login failed"
                                    << "Incorrect password or user does not exist";
        QTest::newRow("login -130") << login << -130 << "Login failed"
                                    << "Invalid request,please reinstall program";
        QTest::newRow("login -99") << login << -99 << ""
                                   << "";
        QTest::newRow("login -10") << login << -10 << ""
                                   << "";
        QTest::newRow("login 5") << login << 5 << ""
                                 << "";
        QTest::newRow("register -110") << reg << -110 << "Register failed"
                                       << "This email was registered,please login with it";
        QTest::newRow("register -111") << reg << -111 << ""
                                       << "";
        QTest::newRow("register -120") << reg << -120 << "Register failed"
                                       << "Register failed, please try it again";
        QTest::newRow("register -101") << reg << -101 << "Register failed"
                                       << "Invalid request,please reinstall program";
        QTest::newRow("register -99") << reg << -99 << ""
                                      << "";
        QTest::newRow("find 0") << find << 0 << "Find Password"
                                << "Change password link is sent to your email address,<br/>please "
                                   "click it to change your password";
        QTest::newRow("find -10") << find << -10 << "Find password"
                                  << "Find password failed, please try it again";
        QTest::newRow("find -110") << find << -110 << "Find password"
                                   << "Find password failed, please try it again";
        QTest::newRow("find -111") << find << -111 << ""
                                   << "";
        QTest::newRow("find -120") << find << -120 << "Find password"
                                   << "Sorry, This user does not exist";
        QTest::newRow("find -200") << find << -200 << "Find password"
                                   << "Invalid request,please reinstall program";
        QTest::newRow("find -99") << find << -99 << ""
                                  << "";
    }

    void resultCodesMapToTheirMessages()
    {
        QFETCH(int, request);
        QFETCH(int, code);
        QFETCH(QString, title);
        QFETCH(QString, text);
        const ResultMessage message = resultMessage(AccountRequest(request), code);
        QCOMPARE(message.show, !title.isEmpty());
        if (!message.show)
            return;
        QString shown = QString::fromUtf8(message.text);
        if (message.secondLine)
            shown += QStringLiteral(",<br/>") + QString::fromUtf8(message.secondLine);
        QCOMPARE(QString::fromUtf8(message.title), title);
        QCOMPARE(shown, text);
    }

    void backendCodesReachTheClientUnchanged()
    {
        // Wrong password for the demo account, then an unknown user: the backend's codes.
        HeaderMap headers;
        makeRequestHeaders(headers);
        const QString wrong = QStringLiteral("not-the-password");
        addAccountHeaders(headers, QStringLiteral("demo@quellnet.example"), &wrong);
        QJsonObject object;
        QString error;
        QVERIFY(parseJsonObject(MNetwork::get(Endpoint::login(), headers), error, object));
        QCOMPARE(object.value(QStringLiteral("error")).toInt(0), -120);

        headers.clear();
        makeRequestHeaders(headers);
        addAccountHeaders(headers, QStringLiteral("nobody@quellnet.example"));
        QVERIFY(parseJsonObject(MNetwork::get(Endpoint::findPassword(), headers), error, object));
        QCOMPARE(object.value(QStringLiteral("error")).toInt(0), -120);
        QCOMPARE(QString::fromUtf8(resultMessage(AccountRequest::FindPassword, -120).text),
                 QStringLiteral("Sorry, This user does not exist"));
    }

    void serverEntriesDecryptToTheFilesTheyCameFrom()
    {
        HeaderMap headers;
        makeRequestHeaders(headers);
        QJsonObject object;
        QString error;
        const QString reply = MNetwork::getWebConent(Endpoint::serverList(), headers);
        QVERIFY2(parseJsonObject(reply, error, object), qPrintable(reply.left(200)));
        const QJsonArray servers = object.value(QStringLiteral("Servers")).toArray();
        QVERIFY(!servers.isEmpty());

        QSet<QString> decrypted;
        for (const QJsonValue &server : servers) {
            const QString ovpn = server.toObject().value(QStringLiteral("Ovpn")).toString();
            decrypted.insert(decryptConfigText(decodeBase64(ovpn)));
        }
        QSet<QString> files;
        const QDir demo(QStringLiteral(QUELLNET_SOURCE_DIR "/backend/demo"));
        for (const QString &name : demo.entryList({QStringLiteral("*.ovpn")}, QDir::Files)) {
            QFile file(demo.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            files.insert(QString::fromUtf8(file.readAll()));
        }
        QCOMPARE(decrypted, files);

        // The server-list host gives the same list to the one agreed Identity.
        HeaderMap identity;
        identity.insert(QStringLiteral("Identity"), QString::fromLatin1(Deploy::identity()));
        QCOMPARE(MNetwork::getWebConent(Endpoint::serverListHost(), identity).trimmed(),
                 reply.trimmed());
    }

private:
    TestBackend m_backend;
};

QTEST_GUILESS_MAIN(TestBackendProtocol)
#include "tst_backendprotocol.moc"
