// Starts the real quellnet-backend on a private loopback address with a fresh CA, database and
// server folder, and talks to it over verified TLS the way the client does. It links no backend
// code: what it checks (decryption, reply shapes) is checked independently.
#include "quellnet_deploy.h"
#include "testbackend.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QUuid>
#include <QtTest>

#include <openssl/evp.h>

#include <climits>
#include <memory>
#include <unistd.h>

namespace {

const QString kBackend = QStringLiteral(QUELLNET_BIN_DIR "/quellnet-backend");
constexpr int kTimeoutMs = 15000;

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

struct HttpResult
{
    int status = 0;
    QString errorText;
    QByteArray contentType;
    QByteArray body;

    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
    // The reply's "error" number; INT_MIN when there is none, so no expected code matches.
    int errorCode() const
    {
        const QJsonValue code = json().value(QStringLiteral("error"));
        return code.isDouble() ? code.toInt() : INT_MIN;
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The client's configuration decryption: AES-128-CBC, the key text printed into a zeroed
// 16-byte buffer (15 characters and a zero byte), zero IV, PKCS#7 padding.
QByteArray clientDecryptConfig(const QString &base64)
{
    // The client's base64 reader stops at the first character outside the alphabet.
    if (!QRegularExpression(QStringLiteral("^[A-Za-z0-9+/]+={0,2}$")).match(base64).hasMatch())
        return "not plain base64";
    const QByteArray cipher = QByteArray::fromBase64(base64.toLatin1());
    unsigned char key[16] = {};
    const QByteArray keyText(QUELLNET_OVPN_KEY);
    memcpy(key, keyText.constData(), size_t(qMin(keyText.size(), 15)));
    const unsigned char iv[16] = {};
    QByteArray plain(cipher.size() + 16, '\0');
    auto *out = reinterpret_cast<unsigned char *>(plain.data());
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    int written = 0, last = 0;
    if (!ctx || EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key, iv) != 1
        || EVP_DecryptUpdate(ctx.get(), out, &written,
                             reinterpret_cast<const unsigned char *>(cipher.constData()),
                             cipher.size())
            != 1
        || EVP_DecryptFinal_ex(ctx.get(), out + written, &last) != 1)
        return "decryption failed";
    return plain.left(written + last);
}

// A loopback address other than the default source, for a caller the backend tells apart.
QString otherCaller()
{
    return QStringLiteral("127.0.0.%1").arg(10 + (::getpid() + 1) % 230);
}

} // namespace

class BackendTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_ovpnDir = m_dir.filePath(QStringLiteral("ovpn"));
        QVERIFY(QDir().mkpath(m_ovpnDir) && QDir().mkpath(m_dir.filePath(QStringLiteral("files"))));
        // de-aligned.ovpn is exactly 64 bytes: its padding is a whole block of sixteen 16s.
        const char *const files[][2] = {
            {"ovpn/jp-tokyo-1.ovpn",
             "# T\xC5\x8Dky\xC5\x8D\nclient\ndev tun\nremote 127.88.0.1 1194\n"},
            {"ovpn/de-aligned.ovpn",
             "remote 127.88.0.2 443 tcp\nclient\n#xxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n"},
            {"ovpn/custom.ovpn", "client\n  --remote \"127.88.0.3\" 1194\n"},
            {"ovpn/custom.info", "name = Custom Name\ncountry=Janpanese\nip=127.88.0.9\n"},
            {"ovpn/no-remote.ovpn", "client\ndev tun\n"},
            {"ovpn/notes.txt", "remote 127.88.0.4\n"},
            {"updates.json",
             R"({"update_data":[{"id":"quellnet","version":"9.1","download_url":"/download/ten.bin"}]})"},
        };
        for (const auto &file : files)
            QVERIFY(writeFile(m_dir.filePath(QString::fromLatin1(file[0])), file[1]));
        for (int i = 0; i < 10000; ++i)
            m_tenThousand += char(i * 7 % 251);
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("files/ten.bin")), m_tenThousand));
        QVERIFY(start(m_ovpnDir,
                      {"--files-dir", m_dir.filePath(QStringLiteral("files")), "--updates",
                       m_dir.filePath(QStringLiteral("updates.json"))}));
        QCOMPARE(account(QStringLiteral("registervpn"), QStringLiteral("codes@quellnet.example"),
                         QStringLiteral("right-password"))
                     .errorCode(),
                 0);
    }

    void badCommandLineOrSetupExitsWithMessage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString pki = m_backend.folder() + QStringLiteral("/pki/");
        const QString garbage = m_dir.filePath(QStringLiteral("garbage.pem"));
        QVERIFY(writeFile(garbage, "-----BEGIN CERTIFICATE-----\nnot base64\n"));
        auto run = [&](const QString &cert, const QStringList &more) {
            return QStringList{QStringLiteral("--listen"),
                               m_backend.address(),
                               "--cert",
                               cert,
                               "--key",
                               pki + "server.key",
                               "--db",
                               m_dir.filePath(QStringLiteral("setup.sqlite"))}
            + more;
        };
        const QString pem = pki + QStringLiteral("server.pem");
        QTest::newRow("help wins") << QStringList{"--help", "--bogus"} << 0 << "--cert";
        // Which arguments are refused: tst_backendcore.
        QTest::newRow("bad port") << run(pem, {"--port", "http"}) << 2
                                  << "--port: not a port number";
        QTest::newRow("missing certificate")
            << run(m_dir.filePath(QStringLiteral("absent.pem")), {"--port", "1"}) << 1
            << "cannot read certificate";
        QTest::newRow("missing server folder")
            << run(pem, {"--port", "1", "--ovpn-dir", m_dir.filePath(QStringLiteral("none"))}) << 1
            << "cannot read server folder";
        // The running backend holds the main port: a second one must fail, not share it.
        QTest::newRow("port in use") << run(pem, {"--port", QString::number(m_backend.port())}) << 1
                                     << "Address already in use";
    }

    void badCommandLineOrSetupExitsWithMessage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QByteArray output;
        QCOMPARE(runCommand(kBackend, arguments, &output, kTimeoutMs), exitCode);
        QVERIFY2(output.contains(message.toUtf8()), output.constData());
        if (exitCode == 2)
            QVERIFY2(!QFile::exists(m_dir.filePath(QStringLiteral("setup.sqlite"))),
                     "a refused command line must not create the database");
        QVERIFY(m_backend.isRunning());
    }

    void registrationGivesAOneDayTrial()
    {
        const QDateTime before = QDateTime::currentDateTimeUtc();
        const QString email = QStringLiteral("new.user+vpn@quellnet.example");
        const HttpResult reply = account(QStringLiteral("registervpn"), email, "s3cret pass");
        const QDateTime after = QDateTime::currentDateTimeUtc();
        QCOMPARE(reply.errorCode(), 0);
        const QJsonObject object = reply.json();
        QCOMPARE(object.value(QStringLiteral("email")).toString(), email);
        QDateTime expiry
            = QDateTime::fromString(object.value(QStringLiteral("expire_date")).toString(),
                                    QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        expiry.setTimeSpec(Qt::UTC);
        QVERIFY2(expiry >= before.addSecs(86400 - 1) && expiry <= after.addSecs(86400 + 1),
                 reply.body.constData());
        // The reply is a login reply: logging in gives the same period.
        QCOMPARE(
            account(QStringLiteral("loginvpn"), email, "s3cret pass").json().value("expire_date"),
            object.value(QStringLiteral("expire_date")));
    }

    void accountEndpointsAnswerEachResultCode_data()
    {
        QTest::addColumn<QString>("endpoint");
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<int>("code");
        // codes@ was registered from test-machine-1 with "right-password".
        const QString codes = QStringLiteral("codes@quellnet.example");
        const QString right = QStringLiteral("right-password");
        const QString machine = QStringLiteral("test-machine-1");
        const QString reg = QStringLiteral("registervpn");
        const QString login = QStringLiteral("loginvpn");
        const QString find = QStringLiteral("findpwd");
        QTest::newRow("register: taken") << reg << codes << "password2" << machine << -110;
        QTest::newRow("register: taken, other case") << reg << "CODES@Quellnet.Example"
                                                     << "password2" << machine << -110;
        QTest::newRow("register: no @") << reg << "no-at-sign.example"
                                        << "password2" << machine << -120;
        QTest::newRow("register: short password") << reg << "short@quellnet.example"
                                                  << "12345" << machine << -120;
        QTest::newRow("login") << login << codes << right << machine << 0;
        QTest::newRow("login: email in another case")
            << login << "Codes@QUELLNET.example" << right << machine << 0;
        QTest::newRow("login: first password kept")
            << login << codes << "password2" << machine << -120;
        QTest::newRow("login: unknown")
            << login << "nobody@quellnet.example" << right << machine << -120;
        QTest::newRow("login: other device") << login << codes << right << "other-machine" << -111;
        QTest::newRow("login: no email") << login << "" << right << machine << -110;
        QTest::newRow("login: no password") << login << codes << "" << machine << -110;
        QTest::newRow("find password") << find << codes << QString() << machine << 0;
        QTest::newRow("find password: unknown")
            << find << "stranger@quellnet.example" << QString() << machine << -120;
        QTest::newRow("find password: no email") << find << "" << QString() << machine << -110;
    }

    void accountEndpointsAnswerEachResultCode()
    {
        QFETCH(QString, endpoint);
        QFETCH(QString, email);
        QFETCH(QString, password);
        QFETCH(QString, machine);
        QFETCH(int, code);
        const HttpResult reply = account(endpoint, email, password, machine);
        QVERIFY2(reply.status == 200, qPrintable(reply.errorText));
        QCOMPARE(reply.errorCode(), code);
        // Only a successful login says anything about the account.
        QCOMPARE(reply.json().contains(QStringLiteral("expire_date")),
                 code == 0 && endpoint != QLatin1String("findpwd"));
    }

    void requestsWithoutTheEnvelopeAreRefused()
    {
        HeaderList headers = envelope();
        headers.removeFirst(); // the identity
        headers << qMakePair(QByteArray("email"), QByteArray("codes%40quellnet.example"))
                << qMakePair(QByteArray("password"), QByteArray("right-password"));
        const QUrl login = url(QStringLiteral("/vpnserver/loginvpn/"));
        QCOMPARE(request(login, headers).errorCode(), -130);
        headers
            = envelope() << qMakePair(QByteArray("email"), QByteArray("codes%40quellnet.example"))
                         << qMakePair(QByteArray("password"), QByteArray("right%2"));
        QCOMPARE(request(login, headers).errorCode(), -130); // a broken escape
        // The failure markers the client looks for.
        QCOMPARE(request(url(QStringLiteral("/vpnserver/getip/")), {{"vpntoken", "x"}}).body,
                 QByteArray("-20"));
        const HttpResult list = request(url(QStringLiteral("/vpnserver/serverlist/")));
        QVERIFY2(list.status == 200 && list.body.indexOf("error:") > 0, list.body.constData());
    }

    void getIpEchoesCallerAddress()
    {
        const QString caller = otherCaller(); // so the echo is real
        const QByteArray response = rawRequest(caller, envelopedGet("/vpnserver/getip/"));
        QVERIFY2(response.startsWith("HTTP/1.1 200"), response.constData());
        QCOMPARE(response.mid(response.indexOf("\r\n\r\n") + 4), caller.toUtf8());
    }

    void serverListEntriesDecryptToTheirFiles()
    {
        const HttpResult reply = request(url(QStringLiteral("/vpnserver/serverlist/")), envelope());
        QVERIFY2(reply.status == 200, qPrintable(reply.errorText));
        const QJsonArray servers = reply.json().value(QStringLiteral("Servers")).toArray();
        // no-remote.ovpn and notes.txt are not servers; the order is by file name.
        const QStringList expected
            = {QStringLiteral("custom.ovpn|127.88.0.9|Custom Name|Janpanese"),
               QStringLiteral("de-aligned.ovpn|127.88.0.2|Aligned|DE"),
               QStringLiteral("jp-tokyo-1.ovpn|127.88.0.1|Tokyo 1|JP")};
        QCOMPARE(servers.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const QStringList want = expected[i].split(QLatin1Char('|'));
            const QJsonObject entry = servers.at(i).toObject();
            QCOMPARE(entry.value(QStringLiteral("Ip")).toString(), want[1]);
            QCOMPARE(entry.value(QStringLiteral("Name")).toString(), want[2]);
            QCOMPARE(entry.value(QStringLiteral("Country")).toString(), want[3]);
            QCOMPARE(clientDecryptConfig(entry.value(QStringLiteral("Ovpn")).toString()),
                     fileBytes(m_ovpnDir + QLatin1Char('/') + want[0]));
        }
    }

    void serverListHostChecksIdentity()
    {
        const QUrl list = url(QStringLiteral("/servers"), 4430);
        const HttpResult hostList = request(list, {{"Identity", QUELLNET_IDENTITY}});
        QVERIFY2(hostList.status == 200, qPrintable(hostList.errorText));
        QCOMPARE(hostList.body,
                 request(url(QStringLiteral("/vpnserver/serverlist/")), envelope()).body);
        for (const QByteArray &identity :
             QList<QByteArray>{QByteArray(), "quell_net_request", QUELLNET_IDENTITY "x"}) {
            const HttpResult refused = request(
                list, identity.isNull() ? HeaderList() : HeaderList{{"Identity", identity}});
            QCOMPARE(refused.status, 403);
            QVERIFY(!refused.body.contains("Servers"));
        }
        // The list port serves nothing else.
        QCOMPARE(request(url(QStringLiteral("/price.json"), 4430)).status, 404);
    }

    void priceListHasClientShapeAndBuyPagesAreServed()
    {
        const HttpResult prices = request(url(QStringLiteral("/price.json")));
        QCOMPARE(prices.status, 200);
        for (const QJsonValue &value :
             prices.json().value(QStringLiteral("price_data")).toArray()) {
            const QJsonObject entry = value.toObject();
            for (const char *key : {"name", "price", "buy_url", "title"})
                QVERIFY2(entry.value(QLatin1String(key)).isString(), key);
            // The buy page is served by the same backend.
            const QUrl buyUrl(entry.value(QStringLiteral("buy_url")).toString());
            QCOMPARE(buyUrl.authority(), m_backend.hostWithPort());
            const HttpResult order = request(buyUrl);
            QVERIFY(order.status == 200 && order.contentType.startsWith("text/html"));
            QVERIFY(order.body.contains(entry.value(QStringLiteral("title")).toString().toUtf8()));
        }
        // The update document as the client reads it: tst_update.
    }

    void downloadAnswersRanges_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("range");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("first"); // the part of the file sent
        QTest::addColumn<int>("last");
        const auto row = [](const char *name, const char *method, const char *range, int status,
                            int first, int last) {
            QTest::newRow(name) << QByteArray(method) << QByteArray(range) << status << first
                                << last;
        };
        row("range", "GET", "bytes=0-99", 206, 0, 99);
        row("unit in capitals", "GET", "Bytes=0-99", 206, 0, 99);
        row("open end", "GET", "bytes=9990-", 206, 9990, 9999);
        row("suffix", "GET", "bytes=-10", 206, 9990, 9999);
        row("end clipped", "GET", "bytes=9995-20000", 206, 9995, 9999);
        row("unsatisfiable", "GET", "bytes=10000-", 416, 0, -1);
        row("malformed", "GET", "bytes=abc", 200, 0, 9999);
        row("two ranges", "GET", "bytes=0-4,6-7", 200, 0, 9999);
        row("HEAD", "HEAD", "", 200, 0, 9999);
        row("HEAD, range", "HEAD", "Bytes=100-199", 206, 100, 199);
    }

    void downloadAnswersRanges()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, range);
        QFETCH(int, status);
        QFETCH(int, first);
        QFETCH(int, last);
        const QByteArray response = rawRequest(
            QString(),
            method + " /download/ten.bin HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
                + (range.isEmpty() ? QByteArray() : "Range: " + range + "\r\n") + "\r\n");
        const int split = response.indexOf("\r\n\r\n");
        const QByteArray head = response.left(split).toLower() + "\r\n";
        QVERIFY2(response.startsWith("HTTP/1.1 " + QByteArray::number(status)), head.constData());
        const auto has = [&head](const QByteArray &line) {
            return head.contains("\r\n" + line + "\r\n");
        };
        QVERIFY2(has("content-length: " + QByteArray::number(last - first + 1)), head.constData());
        const QByteArray contentRange = status == 416
            ? QByteArray("*")
            : QByteArray::number(first) + '-' + QByteArray::number(last);
        QCOMPARE(has("content-range: bytes " + contentRange + "/10000"), status != 200);
        QVERIFY(has("accept-ranges: bytes"));
        QCOMPARE(response.mid(split + 4),
                 method == "HEAD" ? QByteArray() : m_tenThousand.mid(first, last - first + 1));
        // Only the folder's own files: no way up to the database beside it.
        QVERIFY(rawRequest(QString(),
                           "GET /download/../backend.sqlite HTTP/1.1\r\nHost: x\r\n"
                           "Connection: close\r\n\r\n")
                    .startsWith("HTTP/1.1 404"));
    }

    void sigtermStopsCleanlyAndDataPersists()
    {
        QVERIFY(m_backend.stop());
        const QByteArray err = m_backend.stderrText();
        QVERIFY2(err.endsWith("quellnet-backend: stopped\n"), err.constData());
        QCOMPARE(QFile::permissions(db()) & (QFile::ReadGroup | QFile::ReadOther),
                 QFile::Permissions());
        // A second start on the same database: accounts persist.
        QVERIFY(start(QString(), {}));
        const HttpResult login
            = account("loginvpn", "new.user+vpn@quellnet.example", "s3cret pass");
        QVERIFY2(login.errorCode() == 0, qPrintable(login.errorText + login.body));
        QVERIFY(m_backend.stop());
    }

    void attemptsAndLogsAreBounded()
    {
        if (m_backend.isRunning())
            QVERIFY(m_backend.stop());
        QVERIFY(start(QString(),
                      {"--failed-login-limit", "2", "--attempt-limit", "4", "--attempt-window", "3",
                       "--record-limit", "3"}));
        const auto login = [this](const char *email, const char *password) {
            return account("loginvpn", QLatin1String(email), QLatin1String(password)).errorCode();
        };
        const char *const codes = "codes@quellnet.example";
        const char *const other = "demo@quellnet.example";
        QCOMPARE(login(codes, "wrong"), -120);
        QCOMPARE(login(codes, "wrong"), -120);
        // The account is closed, in any case of its e-mail, before any hashing: 429, no delay.
        QElapsedTimer timer;
        timer.start();
        const HttpResult refused = account("loginvpn", "CODES@quellnet.example", "right-password");
        QVERIFY2(refused.status == 429 && refused.errorCode() == -10, refused.body.constData());
        QVERIFY(timer.elapsed() < 1500);
        // Another account from this address, until the address has used its four attempts.
        QCOMPARE(login(other, "quellnet-demo"), 0);
        QCOMPARE(login(other, "quellnet-demo"), 0);
        QCOMPARE(login(other, "quellnet-demo"), -10);
        QVERIFY(rawRequest(
                    otherCaller(),
                    envelopedGet("/vpnserver/loginvpn/",
                                 "email: demo%40quellnet.example\r\npassword: quellnet-demo\r\n"))
                    .contains(R"({"error":0,)"));
        // The window over, the right password signs in again.
        QTRY_COMPARE_WITH_TIMEOUT(login(codes, "right-password"), 0, 6000);

        for (int i = 1; i <= 4; ++i)
            QCOMPARE(request(url(QStringLiteral("/collect?n=%1").arg(i))).status, 200);
        QStringList kept;
        for (const QJsonValue &hit : m_backend.hits())
            kept << hit[QStringLiteral("raw")].toString();
        QCOMPARE(kept, (QStringList{"n=2", "n=3", "n=4"}));
        QCOMPARE(m_backend.requests().size(), 3);
        QVERIFY(m_backend.stop());
    }

private:
    QString db() const { return m_backend.folder() + QStringLiteral("/backend.sqlite"); }
    QUrl url(const QString &path, int port = 0) const
    {
        return QUrl(QStringLiteral("https://%1:%2%3")
                        .arg(m_backend.address())
                        .arg(port ? port : m_backend.port())
                        .arg(path));
    }
    bool start(const QString &ovpnDir, const QStringList &extra)
    {
        TestBackend::Options options;
        options.ovpnDir = ovpnDir;
        options.extra = extra;
        if (!m_backend.start(options))
            return false;
        // Only the test CA: the system ones are not trusted here.
        m_tls = QSslConfiguration::defaultConfiguration();
        m_tls.setCaCertificates(QSslCertificate::fromPath(m_backend.caFile()));
        m_tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        m_network.clearConnectionCache();
        return true;
    }

    HttpResult request(const QUrl &url, const HeaderList &headers = {})
    {
        QNetworkRequest req(url);
        req.setSslConfiguration(m_tls);
        for (const auto &header : headers)
            req.setRawHeader(header.first, header.second);
        QNetworkReply *reply = m_network.get(req);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        HttpResult result;
        if (!reply->isFinished() && !finished.wait(kTimeoutMs))
            result.errorText = QStringLiteral("timed out");
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.errorText += reply->errorString();
        result.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        result.body = reply->readAll();
        reply->abort();
        reply->deleteLater();
        return result;
    }

    HeaderList envelope(const QString &machineId = QStringLiteral("test-machine-1")) const
    {
        const QString now
            = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return {{"identity", "quell_net_request"},
                {"vpntoken", QUuid::createUuid().toByteArray(QUuid::WithoutBraces)},
                {"machineid", machineId.toUtf8()},
                {"localtime", QUrl::toPercentEncoding(now)},
                {"address", "UnkownA"},
                {"country", "UnkownX"},
                {"os_login", "debian_12"},
                {"os", "Win"}};
    }

    HttpResult account(const QString &endpoint, const QString &email, const QString &password,
                       const QString &machineId = QStringLiteral("test-machine-1"))
    {
        HeaderList headers = envelope(machineId);
        headers << qMakePair(QByteArray("email"), QUrl::toPercentEncoding(email));
        if (!password.isNull())
            headers << qMakePair(QByteArray("password"), QUrl::toPercentEncoding(password));
        return request(url(QStringLiteral("/vpnserver/") + endpoint + QLatin1Char('/')), headers);
    }

    // A GET of `path` with the envelope and `more` header lines, written out by hand.
    QByteArray envelopedGet(const QByteArray &path, const QByteArray &more = {}) const
    {
        QByteArray head = "GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n" + more;
        for (const auto &header : envelope())
            head += header.first + ": " + header.second + "\r\n";
        return head + "\r\n";
    }

    // A request written byte for byte on a TLS connection from `localAddress` (any when empty).
    QByteArray rawRequest(const QString &localAddress, const QByteArray &requestBytes)
    {
        QSslSocket socket;
        socket.setSslConfiguration(m_tls);
        if (!localAddress.isEmpty() && !socket.bind(QHostAddress(localAddress)))
            return "bind failed";
        socket.connectToHostEncrypted(m_backend.address(), quint16(m_backend.port()));
        if (!socket.waitForEncrypted(kTimeoutMs))
            return "handshake failed: " + socket.errorString().toUtf8();
        socket.write(requestBytes);
        QByteArray response;
        QElapsedTimer timer;
        timer.start();
        while (socket.state() == QAbstractSocket::ConnectedState && timer.elapsed() < kTimeoutMs) {
            socket.waitForReadyRead(200);
            response += socket.readAll();
        }
        return response + socket.readAll();
    }

    QTemporaryDir m_dir;
    QString m_ovpnDir;
    QByteArray m_tenThousand;
    QSslConfiguration m_tls;
    QNetworkAccessManager m_network;
    TestBackend m_backend;
};

QTEST_MAIN(BackendTest)
#include "tst_backend.moc"
