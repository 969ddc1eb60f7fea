// Starts the real quellnet-backend on a private loopback address with a fresh CA, database and
// server folder, and talks to it over verified TLS the way the client does.
#include "quellnet_deploy.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <openssl/evp.h>
#include <sqlite3.h>

#include <climits>
#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kBackend = QStringLiteral(QUELLNET_BIN_DIR "/quellnet-backend");
const QString kCaScript = QStringLiteral(QUELLNET_SOURCE_DIR "/scripts/make-test-ca.sh");
const QString kDemoDir = QStringLiteral(QUELLNET_BACKEND_DEMO_DIR);
constexpr int kStartTimeoutMs = 15000;
constexpr int kRequestTimeoutMs = 15000;

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

// A child that dies with the test, even when the test itself is killed or crashes.
class ChildProcess : public QProcess
{
protected:
    void setupChildProcess() override { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }
};

// One running backend. The destructor always ends the process.
class Backend
{
public:
    ~Backend() { kill(); }

    bool start(const QStringList &arguments)
    {
        m_process.setProgram(kBackend);
        m_process.setArguments(arguments);
        m_process.start();
        if (!m_process.waitForStarted(kStartTimeoutMs))
            return false;
        QSignalSpy output(&m_process, &QProcess::readyReadStandardError);
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < kStartTimeoutMs) {
            m_stderr += m_process.readAllStandardError();
            if (m_stderr.contains("quellnet-backend: ready\n"))
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return false;
            output.wait(200);
        }
        return false;
    }

    // SIGTERM, then wait; true when it exited normally with status 0.
    bool stop(int timeoutMs = 10000)
    {
        if (m_process.state() == QProcess::NotRunning)
            return false;
        ::kill(pid_t(m_process.processId()), SIGTERM);
        const bool finished = m_process.waitForFinished(timeoutMs);
        m_stderr += m_process.readAllStandardError();
        return finished && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

    void kill()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QByteArray stderrText()
    {
        m_stderr += m_process.readAllStandardError();
        return m_stderr;
    }
    bool running() const { return m_process.state() != QProcess::NotRunning; }

private:
    ChildProcess m_process;
    QByteArray m_stderr;
};

struct RunResult
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a command that is expected to end by itself.
RunResult runToEnd(const QString &program, const QStringList &arguments)
{
    ChildProcess process;
    process.start(program, arguments);
    RunResult result;
    result.finished
        = process.waitForStarted(kStartTimeoutMs) && process.waitForFinished(kStartTimeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

struct HttpResult
{
    bool finished = false;
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
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

// The client's base64 reader: stops at "=" or at the first character outside the alphabet.
QByteArray clientDecodeBase64(const QByteArray &text)
{
    static const QByteArray alphabet
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray out;
    quint32 group = 0;
    int count = 0;
    for (const char c : text) {
        const int value = alphabet.indexOf(c);
        if (c == '=' || value < 0)
            break;
        group = (group << 6) | quint32(value);
        if (++count == 4) {
            out += char(group >> 16);
            out += char(group >> 8);
            out += char(group);
            group = 0;
            count = 0;
        }
    }
    if (count == 2) {
        out += char(group >> 4);
    } else if (count == 3) {
        out += char(group >> 10);
        out += char(group >> 2);
    }
    return out;
}

// The client's configuration decryption: AES-128-CBC, the key text printed into a zeroed
// 16-byte buffer (15 characters and a zero byte), zero IV, no library padding, then its own
// PKCS#7 check. `paddingOk` reports that check.
QByteArray clientDecryptConfig(const QByteArray &cipher, bool &paddingOk)
{
    paddingOk = false;
    unsigned char key[16] = {};
    const QByteArray keyText(QUELLNET_OVPN_KEY);
    memcpy(key, keyText.constData(), size_t(qMin(keyText.size(), 15)));
    const unsigned char iv[16] = {};
    if (cipher.isEmpty() || cipher.size() % 16 != 0)
        return {};
    QByteArray plain(cipher.size(), '\0');
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    int written = 0;
    int tail = 0;
    if (!ctx || EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key, iv) != 1
        || EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1
        || EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char *>(plain.data()), &written,
                             reinterpret_cast<const unsigned char *>(cipher.constData()),
                             cipher.size())
            != 1
        || EVP_DecryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char *>(plain.data()) + written,
                               &tail)
            != 1)
        return {};
    plain.resize(written + tail);
    const int p = quint8(plain.back());
    paddingOk = p >= 1 && p <= 16 && p <= plain.size();
    for (int i = 2; paddingOk && i <= p; ++i)
        paddingOk = quint8(plain.at(plain.size() - i)) == p;
    plain.chop(qMin(p, plain.size()));
    return plain;
}

QByteArray percentEncoded(const QString &text)
{
    return QUrl::toPercentEncoding(text);
}

// Opens the database read-only and returns the rows of one query, each row joined by "|".
QStringList queryDatabase(const QString &path, const char *sql)
{
    QStringList rows;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        != SQLITE_OK) {
        sqlite3_close(db);
        return {QStringLiteral("open failed")};
    }
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList columns;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                columns << QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)));
            rows << columns.join(QLatin1Char('|'));
        }
    } else {
        rows << QStringLiteral("prepare failed: ") + QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

} // namespace

class BackendTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void helpAndVersionExitZero();
    void badArgumentsExitTwoWithMessage();
    void unusableSetupExitsOneWithMessage();
    void registrationCreatesAccountWithOneDayTrial();
    void registrationRefusesTakenOrUnusableData();
    void loginAnswersEachResultCode();
    void loginBindsFirstDeviceAndRefusesOthers();
    void findPasswordAnswersEachResultCode();
    void getIpEchoesCallerAddress();
    void serverListEntriesDecryptToTheirFiles();
    void serverListHostChecksIdentity();
    void priceAndUpdateDocumentsHaveClientShape();
    void requestLogKeepsWireOrderAndRawValues();
    void collectStoresEveryParameterOfEachHit();
    void downloadFolderServesRangesAndNothingOutside();
    void sigtermStopsCleanlyAndDataPersists();

private:
    QString tempPath(const QString &name) const { return m_dir->filePath(name); }
    QStringList baseArguments(const QString &db) const;
    bool startMain();
    QUrl url(quint16 port, const QString &path) const;
    HttpResult request(const QUrl &url, const HeaderList &headers,
                       const QByteArray &postBody = QByteArray());
    HeaderList envelope(const QString &machineId = QStringLiteral("test-machine-1")) const;
    HttpResult account(const QString &endpoint, const QString &email, const QString &password,
                       const QString &machineId = QStringLiteral("test-machine-1"));
    QByteArray rawRequest(const QString &localAddress, quint16 port, const QByteArray &request);
    QJsonArray debugRequests();
    quint16 freePort() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_address;
    quint16 m_port = 0;
    quint16 m_listPort = 0;
    quint16 m_collectPort = 0;
    QString m_ovpnDir;
    QString m_db;
    QByteArray m_demoPassword;
    QSslConfiguration m_tls;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<Backend> m_backend;
};

void BackendTest::initTestCase()
{
    QVERIFY2(QFile::exists(kBackend), qPrintable(kBackend));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // A loopback address of our own, chosen by process id so parallel runs do not meet.
    m_address = QStringLiteral("127.0.0.%1").arg(10 + ::getpid() % 230);

    const RunResult ca
        = runToEnd(QStringLiteral("bash"), {kCaScript, tempPath(QStringLiteral("pki")), m_address});
    QVERIFY2(ca.finished && ca.exitCode == 0, ca.err.constData());
    const QList<QSslCertificate> caCerts
        = QSslCertificate::fromPath(tempPath(QStringLiteral("pki/ca.pem")));
    QCOMPARE(caCerts.size(), 1);
    m_tls = QSslConfiguration::defaultConfiguration();
    m_tls.setCaCertificates(caCerts); // only the test CA: the system ones are not trusted here
    m_tls.setPeerVerifyMode(QSslSocket::VerifyPeer);

    m_ovpnDir = tempPath(QStringLiteral("ovpn"));
    QVERIFY(QDir().mkpath(m_ovpnDir));
    QVERIFY(writeFile(m_ovpnDir + QStringLiteral("/jp-tokyo-1.ovpn"),
                      QStringLiteral("# Tōkyō — test server\nclient\ndev tun\nproto udp\n"
                                     "remote 127.88.0.1 1194\nverb 3\n")
                          .toUtf8()));
    // Exactly 64 bytes: the padding is then a whole block of sixteen 16s.
    QByteArray aligned = "remote 127.88.0.2 443 tcp\nclient\n#";
    aligned += QByteArray(63 - aligned.size(), 'x') + '\n';
    QCOMPARE(aligned.size(), 64);
    QVERIFY(writeFile(m_ovpnDir + QStringLiteral("/de-aligned.ovpn"), aligned));
    QVERIFY(writeFile(m_ovpnDir + QStringLiteral("/custom.ovpn"),
                      "client\n  --remote \"127.88.0.3\" 1194\n"));
    QVERIFY(writeFile(m_ovpnDir + QStringLiteral("/custom.info"),
                      "name = Custom Name\ncountry=Janpanese\nip=127.88.0.9\n"));
    QVERIFY(writeFile(m_ovpnDir + QStringLiteral("/no-remote.ovpn"), "client\ndev tun\n"));
    QVERIFY(writeFile(m_ovpnDir + QStringLiteral("/notes.txt"), "remote 127.88.0.4\n"));

    QVERIFY(QDir().mkpath(tempPath(QStringLiteral("files"))));
    QVERIFY(writeFile(tempPath(QStringLiteral("files/quellnet-setup.bin")),
                      QByteArray("0123456789abcdefghij")));

    m_network = std::make_unique<QNetworkAccessManager>();
    m_port = freePort();
    m_listPort = freePort();
    m_collectPort = freePort();
    QVERIFY(m_port && m_listPort && m_collectPort);
    m_db = tempPath(QStringLiteral("backend.sqlite"));
    QVERIFY(startMain());
}

void BackendTest::cleanupTestCase()
{
    m_backend.reset();
}

quint16 BackendTest::freePort() const
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress(m_address), 0))
        return 0;
    return probe.serverPort();
}

QStringList BackendTest::baseArguments(const QString &db) const
{
    return {QStringLiteral("--listen"),
            m_address,
            QStringLiteral("--port"),
            QString::number(m_port),
            QStringLiteral("--serverlist-port"),
            QString::number(m_listPort),
            QStringLiteral("--cert"),
            tempPath(QStringLiteral("pki/server.pem")),
            QStringLiteral("--key"),
            tempPath(QStringLiteral("pki/server.key")),
            QStringLiteral("--db"),
            db};
}

bool BackendTest::startMain()
{
    // The ports were free a moment ago; another process may take one in between.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_backend = std::make_unique<Backend>();
        QStringList arguments = baseArguments(m_db);
        arguments << QStringLiteral("--collect-port") << QString::number(m_collectPort)
                  << QStringLiteral("--ovpn-dir") << m_ovpnDir << QStringLiteral("--demo")
                  << QStringLiteral("--demo-password") << QStringLiteral("demo-pw-%1").arg(attempt)
                  << QStringLiteral("--files-dir") << tempPath(QStringLiteral("files"))
                  << QStringLiteral("--debug-endpoints");
        if (m_backend->start(arguments)) {
            const QByteArray marker = "demo account: demo@quellnet.example password: ";
            const QByteArray err = m_backend->stderrText();
            const int at = err.indexOf(marker);
            if (at < 0)
                return false;
            m_demoPassword = err.mid(at + marker.size());
            m_demoPassword.truncate(m_demoPassword.indexOf('\n'));
            return true;
        }
        qWarning("backend did not start: %s", m_backend->stderrText().constData());
        m_port = freePort();
        m_listPort = freePort();
        m_collectPort = freePort();
    }
    return false;
}

QUrl BackendTest::url(quint16 port, const QString &path) const
{
    return QUrl(QStringLiteral("https://%1:%2%3").arg(m_address).arg(port).arg(path));
}

HttpResult BackendTest::request(const QUrl &url, const HeaderList &headers,
                                const QByteArray &postBody)
{
    QNetworkRequest req(url);
    req.setSslConfiguration(m_tls);
    for (const auto &header : headers)
        req.setRawHeader(header.first, header.second);
    QNetworkReply *reply = nullptr;
    if (postBody.isNull()) {
        reply = m_network->get(req);
    } else {
        req.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArray("application/x-www-form-urlencoded"));
        reply = m_network->post(req, postBody);
    }
    QSignalSpy finished(reply, &QNetworkReply::finished);
    HttpResult result;
    result.finished = reply->isFinished() || finished.wait(kRequestTimeoutMs);
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.error = reply->error();
    result.errorText = reply->errorString();
    result.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    result.body = reply->readAll();
    reply->abort();
    reply->deleteLater();
    return result;
}

HeaderList BackendTest::envelope(const QString &machineId) const
{
    const QString now
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return {{"identity", "quell_net_request"},
            {"vpntoken", QUuid::createUuid().toByteArray(QUuid::WithoutBraces)},
            {"machineid", machineId.toUtf8()},
            {"localtime", percentEncoded(now)},
            {"address", "UnkownA"},
            {"country", "UnkownX"},
            {"os_login", "debian_12"},
            {"os", "Win"}};
}

HttpResult BackendTest::account(const QString &endpoint, const QString &email,
                                const QString &password, const QString &machineId)
{
    HeaderList headers = envelope(machineId);
    headers.append(qMakePair(QByteArray("email"), percentEncoded(email)));
    if (!password.isNull())
        headers.append(qMakePair(QByteArray("password"), percentEncoded(password)));
    return request(url(m_port, QStringLiteral("/vpnserver/") + endpoint + QLatin1Char('/')),
                   headers);
}

// A request written byte for byte on a TLS connection from `localAddress` (any when empty).
QByteArray BackendTest::rawRequest(const QString &localAddress, quint16 port,
                                   const QByteArray &requestBytes)
{
    QSslSocket socket;
    socket.setSslConfiguration(m_tls);
    if (!localAddress.isEmpty() && !socket.bind(QHostAddress(localAddress)))
        return "bind failed";
    socket.connectToHostEncrypted(m_address, port);
    if (!socket.waitForEncrypted(kRequestTimeoutMs))
        return "handshake failed: " + socket.errorString().toUtf8();
    socket.write(requestBytes);
    QByteArray response;
    QElapsedTimer timer;
    timer.start();
    while (socket.state() == QAbstractSocket::ConnectedState
           && timer.elapsed() < kRequestTimeoutMs) {
        socket.waitForReadyRead(200);
        response += socket.readAll();
    }
    return response + socket.readAll();
}

QJsonArray BackendTest::debugRequests()
{
    const HttpResult log = request(url(m_port, QStringLiteral("/_debug/requests")), {});
    return log.json().value(QStringLiteral("requests")).toArray();
}

void BackendTest::helpAndVersionExitZero()
{
    const RunResult help = runToEnd(kBackend, {QStringLiteral("--help")});
    QVERIFY(help.finished);
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("--cert"));

    const RunResult version = runToEnd(kBackend, {QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out.trimmed(), QByteArray("quellnet-backend " QUELLNET_VERSION));
}

void BackendTest::badArgumentsExitTwoWithMessage()
{
    const QString pem = tempPath(QStringLiteral("pki/server.pem"));
    const QString key = tempPath(QStringLiteral("pki/server.key"));
    const QString db = tempPath(QStringLiteral("unused.sqlite"));
    // The parser's rules are covered by tst_backendcore; here, one case of each kind reaches the
    // process exit.
    const QList<QPair<QStringList, QByteArray>> cases = {
        {{QStringLiteral("--frobnicate")}, "unknown argument: --frobnicate"},
        {{QStringLiteral("--cert"), pem, QStringLiteral("--key"), key}, "--db is required"},
        {{QStringLiteral("--cert"), pem, QStringLiteral("--key"), key, QStringLiteral("--db"), db,
          QStringLiteral("--port"), QStringLiteral("http")},
         "--port: not a port number"},
    };
    for (const auto &c : cases) {
        const RunResult run = runToEnd(kBackend, c.first);
        QVERIFY(run.finished);
        QVERIFY2(run.exitCode == 2, qPrintable(c.first.join(QLatin1Char(' '))));
        QVERIFY2(run.err.contains(c.second), run.err.constData());
        QVERIFY(run.err.contains("--help"));
    }
    QVERIFY2(!QFile::exists(db), "a refused command line must not create the database");
}

void BackendTest::unusableSetupExitsOneWithMessage()
{
    const QString db = tempPath(QStringLiteral("setup.sqlite"));
    const QString garbage = tempPath(QStringLiteral("garbage.pem"));
    QVERIFY(writeFile(garbage, "-----BEGIN CERTIFICATE-----\nnot base64\n"));

    QStringList missingCert = baseArguments(db);
    missingCert[missingCert.indexOf(QStringLiteral("--cert")) + 1]
        = tempPath(QStringLiteral("absent.pem"));
    RunResult run = runToEnd(kBackend, missingCert);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("cannot read certificate") && run.err.contains("absent.pem"),
             run.err.constData());

    QStringList garbageCert = baseArguments(db);
    garbageCert[garbageCert.indexOf(QStringLiteral("--cert")) + 1] = garbage;
    run = runToEnd(kBackend, garbageCert);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("certificate") && run.err.contains("garbage.pem"),
             run.err.constData());

    QStringList missingFolder = baseArguments(db);
    missingFolder << QStringLiteral("--ovpn-dir") << tempPath(QStringLiteral("no-such-dir"));
    run = runToEnd(kBackend, missingFolder);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("cannot read server folder"), run.err.constData());

    // The running backend holds the main port: a second one must fail, not share it.
    run = runToEnd(kBackend, baseArguments(db));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("cannot listen on " + m_address.toUtf8() + ':'
                              + QByteArray::number(m_port))
                 && run.err.contains("Address already in use"),
             run.err.constData());
    QVERIFY(m_backend->running());
}

void BackendTest::registrationCreatesAccountWithOneDayTrial()
{
    const QDateTime before = QDateTime::currentDateTimeUtc();
    const HttpResult reply
        = account(QStringLiteral("registervpn"), QStringLiteral("new.user+vpn@quellnet.example"),
                  QStringLiteral("s3cret pass"));
    const QDateTime after = QDateTime::currentDateTimeUtc();
    QVERIFY2(reply.finished && reply.status == 200, qPrintable(reply.errorText));
    const QJsonObject object = reply.json();
    QCOMPARE(reply.errorCode(), 0);
    QCOMPARE(object.value(QStringLiteral("email")).toString(),
             QStringLiteral("new.user+vpn@quellnet.example"));
    QCOMPARE(object.value(QStringLiteral("payment_date")).toString(), QStringLiteral("None"));

    QDateTime expiry = QDateTime::fromString(object.value(QStringLiteral("expire_date")).toString(),
                                             QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(expiry.isValid(), reply.body.constData());
    expiry.setTimeSpec(Qt::UTC);
    QVERIFY(expiry >= before.addSecs(86400 - 1));
    QVERIFY(expiry <= after.addSecs(86400 + 1));

    // The reply is a login reply: logging in from the same machine gives the same period.
    const HttpResult login
        = account(QStringLiteral("loginvpn"), QStringLiteral("new.user+vpn@quellnet.example"),
                  QStringLiteral("s3cret pass"));
    QCOMPARE(login.errorCode(), 0);
    QCOMPARE(login.json().value(QStringLiteral("expire_date")),
             object.value(QStringLiteral("expire_date")));
}

void BackendTest::registrationRefusesTakenOrUnusableData()
{
    QCOMPARE(account(QStringLiteral("registervpn"), QStringLiteral("taken@quellnet.example"),
                     QStringLiteral("password1"))
                 .errorCode(),
             0);
    const QList<QPair<QStringList, int>> cases = {
        {{QStringLiteral("taken@quellnet.example"), QStringLiteral("password2")}, -110},
        {{QStringLiteral("TAKEN@Quellnet.Example"), QStringLiteral("password2")}, -110},
        {{QStringLiteral("no-at-sign.example"), QStringLiteral("password2")}, -120},
        {{QStringLiteral("short@quellnet.example"), QStringLiteral("12345")}, -120},
        {{QString(), QStringLiteral("password2")}, -120},
    };
    for (const auto &c : cases) {
        const HttpResult reply = account(QStringLiteral("registervpn"), c.first[0], c.first[1]);
        QVERIFY2(reply.status == 200, qPrintable(c.first[0]));
        QCOMPARE(reply.errorCode(), c.second);
    }
    // The taken address keeps its first password.
    QCOMPARE(account(QStringLiteral("loginvpn"), QStringLiteral("taken@quellnet.example"),
                     QStringLiteral("password2"))
                 .errorCode(),
             -120);
}

void BackendTest::loginAnswersEachResultCode()
{
    const QString email = QStringLiteral("codes@quellnet.example");
    QCOMPARE(
        account(QStringLiteral("registervpn"), email, QStringLiteral("right-password")).errorCode(),
        0);

    struct Case
    {
        QString email;
        QString password;
        QString machine;
        int code;
    };
    const QList<Case> cases = {
        {email, QStringLiteral("right-password"), QStringLiteral("test-machine-1"), 0},
        {email, QStringLiteral("wrong-password"), QStringLiteral("test-machine-1"), -120},
        {QStringLiteral("nobody@quellnet.example"), QStringLiteral("right-password"),
         QStringLiteral("test-machine-1"), -120},
        {email, QStringLiteral("right-password"), QStringLiteral("other-machine"), -111},
        {QString(), QStringLiteral("right-password"), QStringLiteral("test-machine-1"), -110},
        {email, QString(), QStringLiteral("test-machine-1"), -110},
    };
    for (const Case &c : cases) {
        const HttpResult reply
            = account(QStringLiteral("loginvpn"), c.email,
                      c.password.isNull() ? QStringLiteral("") : c.password, c.machine);
        QVERIFY2(reply.finished && reply.status == 200, qPrintable(reply.errorText));
        const QJsonObject object = reply.json();
        QCOMPARE(reply.errorCode(), c.code);
        if (c.code == 0) {
            QCOMPARE(object.value(QStringLiteral("email")).toString(), email);
            QVERIFY(object.value(QStringLiteral("expire_date")).isString());
            QCOMPARE(object.value(QStringLiteral("payment_date")).toString(),
                     QStringLiteral("None"));
        } else {
            QVERIFY2(!object.contains(QStringLiteral("expire_date")), reply.body.constData());
        }
    }

    // A request without the envelope identity, or with a broken escape, is an invalid request.
    HeaderList headers = envelope();
    headers.removeFirst();
    headers.append(qMakePair(QByteArray("email"), percentEncoded(email)));
    headers.append(qMakePair(QByteArray("password"), QByteArray("right-password")));
    QCOMPARE(request(url(m_port, QStringLiteral("/vpnserver/loginvpn/")), headers).errorCode(),
             -130);
    headers = envelope();
    headers.append(qMakePair(QByteArray("email"), percentEncoded(email)));
    headers.append(qMakePair(QByteArray("password"), QByteArray("right%2")));
    QCOMPARE(request(url(m_port, QStringLiteral("/vpnserver/loginvpn/")), headers).errorCode(),
             -130);
}

void BackendTest::loginBindsFirstDeviceAndRefusesOthers()
{
    // The demo account is created unbound: the first machine that logs in owns it.
    const QString demo = QStringLiteral("demo@quellnet.example");
    const QString password = QString::fromUtf8(m_demoPassword);
    QVERIFY(!password.isEmpty());
    HttpResult first
        = account(QStringLiteral("loginvpn"), demo, password, QStringLiteral("demo-machine-A"));
    QCOMPARE(first.errorCode(), 0);
    QVERIFY(first.json().value(QStringLiteral("payment_date")).toString()
            != QStringLiteral("None"));
    QCOMPARE(account(QStringLiteral("loginvpn"), demo, password, QStringLiteral("demo-machine-B"))
                 .errorCode(),
             -111);
    QCOMPARE(account(QStringLiteral("loginvpn"), demo, password, QStringLiteral("demo-machine-A"))
                 .errorCode(),
             0);
    // A wrong password says nothing about the binding.
    QCOMPARE(account(QStringLiteral("loginvpn"), demo, QStringLiteral("not-the-password"),
                     QStringLiteral("demo-machine-B"))
                 .errorCode(),
             -120);
}

void BackendTest::findPasswordAnswersEachResultCode()
{
    QCOMPARE(account(QStringLiteral("registervpn"), QStringLiteral("forgetful@quellnet.example"),
                     QStringLiteral("password1"))
                 .errorCode(),
             0);
    const QList<QPair<QString, int>> cases = {
        {QStringLiteral("forgetful@quellnet.example"), 0},
        {QStringLiteral("stranger@quellnet.example"), -120},
        {QString(), -110},
    };
    for (const auto &c : cases) {
        const HttpResult reply = account(QStringLiteral("findpwd"), c.first, QString());
        QVERIFY2(reply.status == 200, qPrintable(reply.errorText));
        QCOMPARE(reply.errorCode(), c.second);
    }
}

void BackendTest::getIpEchoesCallerAddress()
{
    // Connect from a loopback address other than the default source, so the echo is real.
    const QString caller = QStringLiteral("127.0.0.%1").arg(10 + (::getpid() + 1) % 230);
    QByteArray head = "GET /vpnserver/getip/ HTTP/1.1\r\nHost: " + m_address.toUtf8() + "\r\n";
    for (const auto &header : envelope())
        head += header.first + ": " + header.second + "\r\n";
    const QByteArray response = rawRequest(caller, m_port, head + "Connection: close\r\n\r\n");
    QVERIFY2(response.startsWith("HTTP/1.1 200"), response.constData());
    QCOMPARE(response.mid(response.indexOf("\r\n\r\n") + 4), caller.toUtf8());

    // Without the envelope the reply is one of the client's failure markers.
    const HttpResult refused
        = request(url(m_port, QStringLiteral("/vpnserver/getip/")), {{"vpntoken", "x"}});
    QCOMPARE(refused.status, 200);
    QCOMPARE(refused.body, QByteArray("-20"));
}

void BackendTest::serverListEntriesDecryptToTheirFiles()
{
    const HttpResult reply
        = request(url(m_port, QStringLiteral("/vpnserver/serverlist/")), envelope());
    QVERIFY2(reply.status == 200, qPrintable(reply.errorText));
    const QJsonArray servers = reply.json().value(QStringLiteral("Servers")).toArray();
    QCOMPARE(servers.size(), 3); // no-remote.ovpn and notes.txt are not servers

    struct Expected
    {
        QString file;
        QString ip;
        QString name;
        QString country;
    };
    const QList<Expected> expected = {
        {QStringLiteral("custom.ovpn"), QStringLiteral("127.88.0.9"), QStringLiteral("Custom Name"),
         QStringLiteral("Janpanese")},
        {QStringLiteral("de-aligned.ovpn"), QStringLiteral("127.88.0.2"), QStringLiteral("Aligned"),
         QStringLiteral("DE")},
        {QStringLiteral("jp-tokyo-1.ovpn"), QStringLiteral("127.88.0.1"), QStringLiteral("Tokyo 1"),
         QStringLiteral("JP")},
    };
    for (int i = 0; i < expected.size(); ++i) {
        const QJsonObject entry = servers.at(i).toObject();
        QCOMPARE(entry.value(QStringLiteral("Ip")).toString(), expected[i].ip);
        QCOMPARE(entry.value(QStringLiteral("Name")).toString(), expected[i].name);
        QCOMPARE(entry.value(QStringLiteral("Country")).toString(), expected[i].country);
        const QByteArray ovpn = entry.value(QStringLiteral("Ovpn")).toString().toLatin1();
        QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9+/]+={0,2}$"))
                    .match(QString::fromLatin1(ovpn))
                    .hasMatch());
        bool paddingOk = false;
        const QByteArray plain = clientDecryptConfig(clientDecodeBase64(ovpn), paddingOk);
        QVERIFY2(paddingOk, qPrintable(expected[i].file));
        QCOMPARE(plain, fileBytes(m_ovpnDir + QLatin1Char('/') + expected[i].file));
    }
    // A plain text that is a multiple of 16 bytes gains a whole block of padding.
    QCOMPARE(clientDecodeBase64(
                 servers.at(1).toObject().value(QStringLiteral("Ovpn")).toString().toLatin1())
                 .size(),
             64 + 16);

    // A file added while running is served by the next request.
    QVERIFY(writeFile(m_ovpnDir + QStringLiteral("/us-late-1.ovpn"), "remote 127.88.0.5\n"));
    const QJsonArray later
        = request(url(m_port, QStringLiteral("/vpnserver/serverlist/")), envelope())
              .json()
              .value(QStringLiteral("Servers"))
              .toArray();
    QVERIFY(QFile::remove(m_ovpnDir + QStringLiteral("/us-late-1.ovpn")));
    QCOMPARE(later.size(), 4);
    QCOMPARE(later.at(3).toObject().value(QStringLiteral("Name")).toString(),
             QStringLiteral("Late 1"));

    // Without the envelope the reply carries "error:" after its first character, as the
    // client expects of a failed list request.
    const HttpResult refused = request(url(m_port, QStringLiteral("/vpnserver/serverlist/")), {});
    QCOMPARE(refused.status, 200);
    QVERIFY2(refused.body.indexOf("error:") > 0, refused.body.constData());
}

void BackendTest::serverListHostChecksIdentity()
{
    const HttpResult backendList
        = request(url(m_port, QStringLiteral("/vpnserver/serverlist/")), envelope());
    const HttpResult hostList
        = request(url(m_listPort, QStringLiteral("/servers")), {{"Identity", QUELLNET_IDENTITY}});
    QVERIFY2(hostList.status == 200, qPrintable(hostList.errorText));
    QCOMPARE(hostList.body, backendList.body);

    for (const HeaderList &headers :
         {HeaderList{}, HeaderList{{"Identity", "quell_net_request"}},
          HeaderList{{"Identity", QByteArray(QUELLNET_IDENTITY) + "x"}}}) {
        const HttpResult refused = request(url(m_listPort, QStringLiteral("/servers")), headers);
        QCOMPARE(refused.status, 403);
        QCOMPARE(refused.error, QNetworkReply::ContentAccessDenied);
        QVERIFY(!refused.body.contains("Servers"));
    }
    // The list port serves nothing else.
    QCOMPARE(request(url(m_listPort, QStringLiteral("/price.json")), {}).status, 404);
}

void BackendTest::priceAndUpdateDocumentsHaveClientShape()
{
    const HttpResult prices = request(url(m_port, QStringLiteral("/price.json")), {});
    QCOMPARE(prices.status, 200);
    const QJsonArray priceData = prices.json().value(QStringLiteral("price_data")).toArray();
    QStringList names;
    for (const QJsonValue &value : priceData) {
        const QJsonObject entry = value.toObject();
        for (const char *key : {"name", "price", "buy_url", "title"})
            QVERIFY2(entry.value(QLatin1String(key)).isString(), key);
        names << entry.value(QStringLiteral("name")).toString();
        const QUrl buyUrl(entry.value(QStringLiteral("buy_url")).toString());
        QCOMPARE(buyUrl.scheme(), QStringLiteral("https"));
        QCOMPARE(buyUrl.host(), m_address);
        QCOMPARE(buyUrl.port(), int(m_port));
        const HttpResult order = request(buyUrl, {});
        QCOMPARE(order.status, 200);
        QVERIFY(order.contentType.startsWith("text/html"));
        QVERIFY(order.body.contains(entry.value(QStringLiteral("title")).toString().toUtf8()));
    }
    QCOMPARE(names,
             QStringList({QStringLiteral("30"), QStringLiteral("90"), QStringLiteral("360")}));

    const HttpResult updates = request(url(m_port, QStringLiteral("/update.json")), {});
    QCOMPARE(updates.status, 200);
    const QJsonArray updateData = updates.json().value(QStringLiteral("update_data")).toArray();
    QCOMPARE(updateData.size(), 1);
    const QJsonObject entry = updateData.at(0).toObject();
    for (const char *key : {"id", "version", "download_url"})
        QVERIFY2(entry.value(QLatin1String(key)).isString(), key);
    QCOMPARE(entry.value(QStringLiteral("version")).toString(), QStringLiteral(QUELLNET_VERSION));
    QVERIFY(entry.value(QStringLiteral("download_url"))
                .toString()
                .startsWith(QStringLiteral("https://%1:%2/").arg(m_address).arg(m_port)));
}

void BackendTest::collectStoresEveryParameterOfEachHit()
{
    QVERIFY(request(url(m_port, QStringLiteral("/_debug/reset")), {}, "").status == 200);
    const QByteArray query = "cid=0cc175b9c0f1b6a831c399e269772661&tid=UA-71000001-1&uid=u%201&v=1&"
                             "ea=Quell&ec=Login&el=VPN%20a%26b&ev=1&t=event&";
    HttpResult hit = request(QUrl::fromEncoded("https://" + m_address.toUtf8() + ':'
                                               + QByteArray::number(m_port) + "/collect?" + query),
                             {{"User-Agent", "Brisvale Client"}});
    QCOMPARE(hit.status, 200);
    QCOMPARE(hit.contentType, QByteArray("image/gif"));
    QVERIFY(hit.body.startsWith("GIF89a"));

    QCOMPARE(request(url(m_port, QStringLiteral("/collect")), {}, "v=1&t=pageview&dp=%2Fstart%2F")
                 .status,
             200);
    const QUrl plain(
        QStringLiteral("http://%1:%2/collect?v=1&t=event&ec=OS").arg(m_address).arg(m_collectPort));
    QCOMPARE(request(plain, {}).status, 200);

    const QJsonArray hits = request(url(m_port, QStringLiteral("/_debug/hits")), {})
                                .json()
                                .value(QStringLiteral("hits"))
                                .toArray();
    QCOMPARE(hits.size(), 3);
    const QJsonObject first = hits.at(0).toObject();
    QCOMPARE(first.value(QStringLiteral("method")).toString(), QStringLiteral("GET"));
    QCOMPARE(first.value(QStringLiteral("listener")).toString(), QStringLiteral("main"));
    QCOMPARE(first.value(QStringLiteral("raw")).toString().toUtf8(), query);
    QStringList params;
    for (const QJsonValue &value : first.value(QStringLiteral("params")).toArray())
        params << value.toObject().value(QStringLiteral("name")).toString() + QLatin1Char('=')
                + value.toObject().value(QStringLiteral("value")).toString();
    QCOMPARE(params,
             QStringList({QStringLiteral("cid=0cc175b9c0f1b6a831c399e269772661"),
                          QStringLiteral("tid=UA-71000001-1"), QStringLiteral("uid=u 1"),
                          QStringLiteral("v=1"), QStringLiteral("ea=Quell"),
                          QStringLiteral("ec=Login"), QStringLiteral("el=VPN a&b"),
                          QStringLiteral("ev=1"), QStringLiteral("t=event")}));

    const QJsonObject second = hits.at(1).toObject();
    QCOMPARE(second.value(QStringLiteral("method")).toString(), QStringLiteral("POST"));
    QCOMPARE(second.value(QStringLiteral("params"))
                 .toArray()
                 .at(2)
                 .toObject()
                 .value(QStringLiteral("value")),
             QJsonValue(QStringLiteral("/start/")));
    QCOMPARE(hits.at(2).toObject().value(QStringLiteral("listener")).toString(),
             QStringLiteral("collect"));
}

void BackendTest::requestLogKeepsWireOrderAndRawValues()
{
    QVERIFY(request(url(m_port, QStringLiteral("/_debug/reset")), {}, "").status == 200);
    QCOMPARE(debugRequests().size(), 0);

    // Header order and escapes exactly as a client would put them on the wire.
    const QByteArray head = "GET /vpnserver/loginvpn/ HTTP/1.1\r\n"
                            "Host: "
        + m_address.toUtf8()
        + "\r\n"
          "address: UnkownA\r\n"
          "country: UnkownX\r\n"
          "email: a%2Bb%40quellnet.example\r\n"
          "identity: quell_net_request\r\n"
          "localtime: 2024-01-02%2003%3A04%3A05\r\n"
          "machineid: wire-machine\r\n"
          "os: Win\r\n"
          "os_login: debian_12\r\n"
          "password: pass%25word\r\n"
          "vpntoken: token-1\r\n"
          "Connection: close\r\n\r\n";
    const QByteArray response = rawRequest(QString(), m_port, head);
    QVERIFY2(response.contains("{\"error\":-120}"), response.constData());
    QCOMPARE(request(url(m_port, QStringLiteral("/price.json")), {}).status, 200);

    const QJsonArray log = debugRequests();
    QCOMPARE(log.size(), 2); // debug requests themselves are not logged
    QCOMPARE(log.at(1).toObject().value(QStringLiteral("path")).toString(),
             QStringLiteral("/price.json")); // newest last
    const QJsonObject login = log.at(0).toObject();
    QCOMPARE(login.value(QStringLiteral("method")).toString(), QStringLiteral("GET"));
    QCOMPARE(login.value(QStringLiteral("path")).toString(),
             QStringLiteral("/vpnserver/loginvpn/"));
    QCOMPARE(login.value(QStringLiteral("listener")).toString(), QStringLiteral("main"));
    QCOMPARE(login.value(QStringLiteral("request_line")).toString(),
             QStringLiteral("GET /vpnserver/loginvpn/ HTTP/1.1"));
    QStringList wire;
    for (const QJsonValue &value : login.value(QStringLiteral("wire_headers")).toArray())
        wire << value.toObject().value(QStringLiteral("name")).toString() + QStringLiteral(": ")
                + value.toObject().value(QStringLiteral("value")).toString();
    QStringList sent = QString::fromUtf8(head).split(QStringLiteral("\r\n"));
    sent.removeFirst();
    sent.removeAll(QString());
    QCOMPARE(wire, sent);

    // The parsed view: the same headers, found by name.
    bool sawLocaltime = false;
    for (const QJsonValue &value : login.value(QStringLiteral("headers")).toArray()) {
        const QJsonObject header = value.toObject();
        QVERIFY(
            !header.value(QStringLiteral("name")).toString().startsWith(QStringLiteral("REMOTE_")));
        sawLocaltime
            |= header.value(QStringLiteral("name")).toString() == QStringLiteral("localtime");
    }
    QVERIFY(sawLocaltime);
}

void BackendTest::downloadFolderServesRangesAndNothingOutside()
{
    const QUrl file = url(m_port, QStringLiteral("/download/quellnet-setup.bin"));
    QCOMPARE(request(file, {}).body, QByteArray("0123456789abcdefghij"));
    const HttpResult part = request(file, {{"Range", "bytes=10-14"}});
    QCOMPARE(part.status, 206);
    QCOMPARE(part.body, QByteArray("abcde"));

    // Only the folder's own files: no way up to the database beside it.
    const QByteArray response = rawRequest(QString(), m_port,
                                           "GET /download/../backend.sqlite HTTP/1.1\r\nHost: x\r\n"
                                           "Connection: close\r\n\r\n");
    QVERIFY2(response.startsWith("HTTP/1.1 404"), response.left(200).constData());
}

void BackendTest::sigtermStopsCleanlyAndDataPersists()
{
    QVERIFY(m_backend->stop());
    const QByteArray err = m_backend->stderrText();
    QVERIFY2(err.contains("shutting down") && err.endsWith("quellnet-backend: stopped\n"),
             err.constData());
    // One log line per request, with listener, method, path and status.
    QVERIFY2(err.contains(" main 127.0.0.1 GET /vpnserver/loginvpn/ 200\n"), err.constData());

    QCOMPARE(QFile::permissions(m_db) & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());

    // Passwords are stored salted and hashed: never the text, never the same hash twice.
    const QStringList hashes
        = queryDatabase(m_db,
                        "SELECT password_hash FROM accounts WHERE email IN"
                        " ('taken@quellnet.example', 'forgetful@quellnet.example') ORDER BY email");
    QCOMPARE(hashes.size(), 2);
    QVERIFY(hashes[0].startsWith(QStringLiteral("pbkdf2-sha256$")));
    QVERIFY(!hashes[0].contains(QStringLiteral("password1")));
    QVERIFY(hashes[0] != hashes[1]);
    QCOMPARE(queryDatabase(m_db,
                           "SELECT machine_id FROM accounts WHERE email ="
                           " 'new.user+vpn@quellnet.example'"),
             QStringList(QStringLiteral("test-machine-1")));
    QCOMPARE(queryDatabase(m_db,
                           "SELECT COUNT(*) FROM password_resets r JOIN accounts a ON"
                           " a.id = r.account_id WHERE a.email = 'forgetful@quellnet.example'"),
             QStringList(QStringLiteral("1")));
    QCOMPARE(queryDatabase(m_db, "SELECT value FROM hit_params WHERE name = 'el'"),
             QStringList(QStringLiteral("VPN a&b")));

    // A second start on the same database: accounts persist, the bundled demo servers are
    // served, the debug endpoints are off and password headers are not kept.
    Backend again;
    QVERIFY2(again.start(baseArguments(m_db) << QStringLiteral("--demo")),
             again.stderrText().constData());
    QCOMPARE(account(QStringLiteral("loginvpn"), QStringLiteral("new.user+vpn@quellnet.example"),
                     QStringLiteral("s3cret pass"))
                 .errorCode(),
             0);
    QCOMPARE(request(url(m_port, QStringLiteral("/_debug/requests")), {}).status, 404);
    const QJsonArray servers
        = request(url(m_port, QStringLiteral("/vpnserver/serverlist/")), envelope())
              .json()
              .value(QStringLiteral("Servers"))
              .toArray();
    const QStringList demoFiles
        = QDir(kDemoDir).entryList({QStringLiteral("*.ovpn")}, QDir::Files, QDir::Name);
    QVERIFY(demoFiles.size() >= 3);
    QCOMPARE(servers.size(), demoFiles.size());
    for (int i = 0; i < servers.size(); ++i) {
        const QJsonObject entry = servers.at(i).toObject();
        QVERIFY(entry.value(QStringLiteral("Ip")).toString().startsWith(QStringLiteral("127.")));
        bool paddingOk = false;
        QCOMPARE(clientDecryptConfig(
                     clientDecodeBase64(entry.value(QStringLiteral("Ovpn")).toString().toLatin1()),
                     paddingOk),
                 fileBytes(kDemoDir + QLatin1Char('/') + demoFiles[i]));
        QVERIFY(paddingOk);
    }
    QVERIFY(again.stop());
    QCOMPARE(queryDatabase(m_db,
                           "SELECT h.value FROM request_wire_headers h JOIN requests r ON"
                           " r.id = h.request_id WHERE h.name = 'password'"
                           " ORDER BY r.id DESC LIMIT 1"),
             QStringList(QStringLiteral("(redacted)")));
}

QTEST_MAIN(BackendTest)
#include "tst_backend.moc"
