#include "mcurleasy.h"
#include "mcurlmulti.h"
#include "mnetwork.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <httplib.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

// ---- log capture (any thread) ----

QMutex s_logMutex;
QStringList s_log;
QtMessageHandler s_previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&s_logMutex);
        s_log.append(message);
    }
    if (s_previousHandler)
        s_previousHandler(type, context, message);
}

void clearLog()
{
    QMutexLocker lock(&s_logMutex);
    s_log.clear();
}

QStringList loggedLines(const QString &text)
{
    QMutexLocker lock(&s_logMutex);
    return s_log.filter(text);
}

// The error line for url that carries reason.
bool errorLogged(const QString &reason, const QString &url)
{
    const QStringList lines = loggedLines(QStringLiteral("MNetwork::queryUrl,error:"));
    for (const QString &line : lines) {
        if (line.contains(reason) && line.contains(url))
            return true;
    }
    return false;
}

QString curlText(CURLcode code)
{
    return QString::fromUtf8(curl_easy_strerror(code));
}

// ---- cpp-httplib servers on their own threads ----

class HttpServer
{
public:
    explicit HttpServer(std::unique_ptr<httplib::Server> server)
        : m_server(std::move(server))
    {
        // Idle keep-alive connections hold up stop() for this long.
        m_server->set_keep_alive_timeout(1);
    }
    ~HttpServer() { stop(); }
    HttpServer(const HttpServer &) = delete;
    HttpServer &operator=(const HttpServer &) = delete;

    httplib::Server &routes() { return *m_server; }
    int port() const { return m_port; }
    bool valid() const { return m_server->is_valid(); }

    bool start()
    {
        m_port = m_server->bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            return false;
        m_thread = std::thread([this] { m_server->listen_after_bind(); });
        // stop() is a no-op until the accept loop runs.
        return QTest::qWaitFor([this] { return m_server->is_running(); }, 5000);
    }

    void stop()
    {
        if (!m_thread.joinable())
            return;
        m_server->stop();
        m_thread.join();
    }

private:
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
};

// ---- raw TLS server that records request bytes and can trickle or hold replies ----

struct RawReply
{
    QByteArray head; // status line and header lines, without the blank line
    QList<QByteArray> pieces;
    int intervalMs = 0;
    QByteArray holdUntil; // a path whose request must arrive before this reply goes
};

using Responder = std::function<RawReply(const QByteArray &path)>;

class RawTlsServer : public QTcpServer
{
    Q_OBJECT

public:
    RawTlsServer(const QSslCertificate &certificate, const QSslKey &key, Responder responder)
        : m_certificate(certificate)
        , m_key(key)
        , m_responder(std::move(responder))
    { }

    QByteArray requestFor(const QByteArray &path) const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests.value(path);
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setLocalCertificate(m_certificate);
        socket->setPrivateKey(m_key);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        socket->startServerEncryption();
    }

private:
    struct Held
    {
        QPointer<QSslSocket> socket;
        RawReply reply;
    };

    void readRequest(QSslSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray request = buffer.left(end + 4);
        m_buffers.remove(socket);
        const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
        const QByteArray path = requestLine.value(1);
        {
            QMutexLocker lock(&m_mutex);
            m_requests.insert(path, request);
        }
        m_seen.insert(path);

        const RawReply reply = m_responder(path);
        if (!reply.holdUntil.isEmpty() && !m_seen.contains(reply.holdUntil))
            m_held.append({socket, reply});
        else
            send(socket, reply);

        for (int i = m_held.size() - 1; i >= 0; --i) {
            if (m_seen.contains(m_held.at(i).reply.holdUntil)) {
                const Held held = m_held.takeAt(i);
                if (held.socket)
                    send(held.socket, held.reply);
            }
        }
    }

    void send(QSslSocket *socket, const RawReply &reply)
    {
        socket->write(reply.head + "\r\n\r\n");
        if (reply.intervalMs <= 0) {
            for (const QByteArray &piece : reply.pieces)
                socket->write(piece);
            socket->disconnectFromHost();
            return;
        }
        auto *timer = new QTimer(socket);
        auto next = std::make_shared<int>(0);
        connect(timer, &QTimer::timeout, socket, [socket, timer, next, reply] {
            if (*next < reply.pieces.size())
                socket->write(reply.pieces.at((*next)++));
            if (*next >= reply.pieces.size()) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(reply.intervalMs);
    }

    QSslCertificate m_certificate;
    QSslKey m_key;
    Responder m_responder;
    QHash<QSslSocket *, QByteArray> m_buffers;
    QSet<QByteArray> m_seen;
    QList<Held> m_held;
    mutable QMutex m_mutex;
    QHash<QByteArray, QByteArray> m_requests;
};

RawReply rawReply(const QByteArray &path)
{
    RawReply reply;
    if (path == "/headers") {
        reply.head = "HTTP/1.1 200 OK\r\nX-Dup: one\r\nX-Dup: two\r\nX-Url:  https://a:b/c \r\n"
                     "Content-Length: 2\r\nConnection: close";
        reply.pieces = {"ok"};
    } else if (path == "/trickle-sized") {
        // 7 pieces, 500 ms apart: about three seconds.
        reply.head = "HTTP/1.1 200 OK\r\nContent-Length: 70\r\nConnection: close";
        for (int i = 0; i < 7; ++i)
            reply.pieces.append(QByteArray(10, char('a' + i)));
        reply.intervalMs = 500;
    } else if (path == "/trickle-open") {
        // No length: the body ends when the connection closes.
        reply.head = "HTTP/1.1 200 OK\r\nConnection: close";
        for (int i = 0; i < 5; ++i)
            reply.pieces.append(QByteArray(10, 'x'));
        reply.intervalMs = 500;
    } else if (path == "/trickle-long") {
        reply.head = "HTTP/1.1 200 OK\r\nContent-Length: 200\r\nConnection: close";
        for (int i = 0; i < 20; ++i)
            reply.pieces.append(QByteArray(10, 'y'));
        reply.intervalMs = 500;
    } else if (path.startsWith("/held/")) {
        // Sent only after "/release/<same key>" was asked for.
        reply.head = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: close";
        reply.pieces = {"held"};
        reply.holdUntil = "/release/" + path.mid(6);
    } else if (path.startsWith("/release/")) {
        reply.head = "HTTP/1.1 200 OK\r\nContent-Length: 8\r\nConnection: close";
        reply.pieces = {"released"};
    } else {
        reply.head = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close";
        reply.pieces = {"ok"};
    }
    return reply;
}

// Lines of the request after its request line, in the order sent.
QList<QByteArray> headerLines(const QByteArray &request)
{
    QList<QByteArray> lines = request.split('\n');
    QList<QByteArray> result;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).chopped(lines.at(i).endsWith('\r') ? 1 : 0);
        if (!line.isEmpty())
            result.append(line);
    }
    return result;
}

struct ProgressReport
{
    qint64 atMs;
    double speed;
    double remaining;
    double percentage;
};

const char kBuiltInUserAgent[] = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 "
                                 "(KHTML, like Gecko) Chrome/81.0.4044.122 Safari/537.36";

} // namespace

class TestMNetwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void getReturnsTrimmedBodyOverVerifiedTls();
    void untrustedCertificateGivesEmptyAndLogsError();
    void certificateForAnotherNameGivesEmptyAndLogsError();
    void extraCaIsTrustedBesideTheBaseStore();
    void httpErrorStatusGivesEmptyAndLogsStatus();
    void redirectOffHttpsIsNotFollowed();
    void tenHttpsRedirectsAreFollowedButNotEleven();
    void emptyUrlFailsWithLibcurlMessage();
    void spacesInUrlAreSentAsPercent20();
    void headerLinesGoInNameOrderWithoutSpace();
    void givenUserAgentReplacesBuiltInOne();
    void headerValuesCannotAddLines();
    void bodyBytesAboveAsciiComeBackOneCharacterPerByte();
    void responseHeadersAreCollected();
    void progressIsReportedAtMostOncePerSecond();
    void unknownTotalReportsZeroPercentAndZeroRemaining();
    void abortEndsTransferWithAbortedThenQuit();
    void abortFromProgressSlotEndsTransfer();
    void blockingAbortReportsAbortedByCallback();
    void blockingFormsRunOnTheCallingThread();
    void workerThreadUsesItsOwnDriver();
    void transfersOnOneDriverRunTogether();
    void nestedRequestRunsWhileFirstWaits();
    void destroyedDriverReleasesWaitingTransfers();
    void encodeUrlParaPercentEncodesUtf8();

private:
    QString makeCa(const QString &name, const QStringList &hosts);
    QString mainUrl(const QString &path) const
    {
        return QStringLiteral("https://localhost:%1%2").arg(m_main->port()).arg(path);
    }
    QString rawUrl(const QString &path) const
    {
        return QStringLiteral("https://localhost:%1%2").arg(m_rawPort).arg(path);
    }

    QTemporaryDir m_dir;
    QString m_trusted, m_untrusted, m_wrongName;
    QString m_secretFile;
    std::unique_ptr<HttpServer> m_main, m_untrustedServer, m_wrongNameServer, m_plain;
    std::atomic<int> m_helloHits{0}, m_plainHits{0}, m_untrustedHits{0}, m_wrongNameHits{0};
    QThread m_rawThread;
    RawTlsServer *m_raw = nullptr;
    quint16 m_rawPort = 0;
};

QString TestMNetwork::makeCa(const QString &name, const QStringList &hosts)
{
    const QString out = m_dir.filePath(name);
    QProcess process;
    process.start(QStringLiteral("bash"),
                  QStringList{QStringLiteral(QUELLNET_SOURCE_DIR "/scripts/make-test-ca.sh"), out}
                      + hosts);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return out;
}

void TestMNetwork::initTestCase()
{
    // Loopback only: no proxy from the environment may take the requests elsewhere.
    for (const char *name :
         {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);

    QVERIFY(m_dir.isValid());
    m_trusted = makeCa(QStringLiteral("trusted"), {"localhost", "127.0.0.1"});
    m_untrusted = makeCa(QStringLiteral("untrusted"), {"localhost", "127.0.0.1"});
    m_wrongName = makeCa(QStringLiteral("wrongname"), {"wrong.invalid"});
    QVERIFY(!m_trusted.isEmpty() && !m_untrusted.isEmpty() && !m_wrongName.isEmpty());

    // The extra CA file trusts the main and the wrong-name CA, not the untrusted one.
    QFile bundle(m_dir.filePath(QStringLiteral("extra-ca.pem")));
    QVERIFY(bundle.open(QIODevice::WriteOnly));
    for (const QString &ca : {m_trusted, m_wrongName}) {
        QFile pem(ca + QStringLiteral("/ca.pem"));
        QVERIFY(pem.open(QIODevice::ReadOnly));
        bundle.write(pem.readAll());
    }
    bundle.close();
    qputenv("QUELLNET_CA_FILE", QFile::encodeName(bundle.fileName()));

    m_secretFile = m_dir.filePath(QStringLiteral("secret.txt"));
    QFile secret(m_secretFile);
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("file secret");
    secret.close();

    s_previousHandler = qInstallMessageHandler(captureMessage);
    MNetwork::globalInit();

    auto sslServer = [](const QString &dir) {
        return std::make_unique<HttpServer>(std::make_unique<httplib::SSLServer>(
            QFile::encodeName(dir + QStringLiteral("/server.pem")).constData(),
            QFile::encodeName(dir + QStringLiteral("/server.key")).constData()));
    };

    m_plain = std::make_unique<HttpServer>(std::make_unique<httplib::Server>());
    m_plain->routes().Get("/plain", [this](const httplib::Request &, httplib::Response &res) {
        ++m_plainHits;
        res.set_content("plain body", "text/plain");
    });
    QVERIFY(m_plain->start());

    m_main = sslServer(m_trusted);
    QVERIFY(m_main->valid());
    httplib::Server &routes = m_main->routes();
    routes.Get("/hello", [this](const httplib::Request &, httplib::Response &res) {
        ++m_helloHits;
        res.set_content("  hello, world \n", "text/plain");
    });
    routes.Get("/latin1", [](const httplib::Request &, httplib::Response &res) {
        res.set_content(std::string("caf\xc3\xa9 \xff", 7), "application/octet-stream");
    });
    routes.Get("/missing", [](const httplib::Request &, httplib::Response &res) {
        res.status = 404;
        res.set_content("not here", "text/plain");
    });
    routes.Get("/to-hello", [this](const httplib::Request &, httplib::Response &res) {
        res.set_redirect("https://localhost:" + std::to_string(m_main->port()) + "/hello");
    });
    routes.Get("/to-plain", [this](const httplib::Request &, httplib::Response &res) {
        res.set_redirect("http://127.0.0.1:" + std::to_string(m_plain->port()) + "/plain");
    });
    routes.Get("/to-file", [this](const httplib::Request &, httplib::Response &res) {
        res.set_redirect("file://" + m_secretFile.toStdString());
    });
    routes.Get(R"(/hop/(\d+))", [](const httplib::Request &req, httplib::Response &res) {
        const int left = std::stoi(req.matches[1].str());
        if (left == 0)
            res.set_content("arrived", "text/plain");
        else
            res.set_redirect("/hop/" + std::to_string(left - 1));
    });
    QVERIFY(m_main->start());

    m_untrustedServer = sslServer(m_untrusted);
    m_untrustedServer->routes().Get("/hello",
                                    [this](const httplib::Request &, httplib::Response &res) {
                                        ++m_untrustedHits;
                                        res.set_content("untrusted", "text/plain");
                                    });
    QVERIFY(m_untrustedServer->start());

    m_wrongNameServer = sslServer(m_wrongName);
    m_wrongNameServer->routes().Get("/hello",
                                    [this](const httplib::Request &, httplib::Response &res) {
                                        ++m_wrongNameHits;
                                        res.set_content("wrong name", "text/plain");
                                    });
    QVERIFY(m_wrongNameServer->start());

    QFile certFile(m_trusted + QStringLiteral("/server.pem"));
    QFile keyFile(m_trusted + QStringLiteral("/server.key"));
    QVERIFY(certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly));
    const QSslCertificate certificate(certFile.readAll(), QSsl::Pem);
    const QSslKey key(keyFile.readAll(), QSsl::Ec, QSsl::Pem, QSsl::PrivateKey);
    QVERIFY(!certificate.isNull() && !key.isNull());
    m_raw = new RawTlsServer(certificate, key, rawReply);
    m_rawThread.start();
    m_raw->moveToThread(&m_rawThread);
    bool listening = false;
    QMetaObject::invokeMethod(
        m_raw, [this, &listening] { listening = m_raw->listen(QHostAddress::LocalHost, 0); },
        Qt::BlockingQueuedConnection);
    QVERIFY(listening);
    m_rawPort = m_raw->serverPort();
}

void TestMNetwork::cleanupTestCase()
{
    if (m_raw) {
        QMetaObject::invokeMethod(
            m_raw, [this] { delete m_raw; }, Qt::BlockingQueuedConnection);
        m_raw = nullptr;
    }
    m_rawThread.quit();
    m_rawThread.wait();
    m_main.reset();
    m_untrustedServer.reset();
    m_wrongNameServer.reset();
    m_plain.reset();
    MNetwork::globalClean();
    qInstallMessageHandler(s_previousHandler);
}

void TestMNetwork::init()
{
    clearLog();
}

void TestMNetwork::getReturnsTrimmedBodyOverVerifiedTls()
{
    QCOMPARE(MNetwork::get(mainUrl(QStringLiteral("/hello"))), QStringLiteral("hello, world"));
    QCOMPARE(MNetwork::getWebConent(mainUrl(QStringLiteral("/hello"))),
             QStringLiteral("  hello, world \n"));
    // The certificate also names the address.
    QCOMPARE(MNetwork::get(QStringLiteral("https://127.0.0.1:%1/hello").arg(m_main->port())),
             QStringLiteral("hello, world"));
    QVERIFY(!loggedLines(QStringLiteral("Query Url:"))
                 .filter(mainUrl(QStringLiteral("/hello")))
                 .isEmpty());
    QVERIFY(loggedLines(QStringLiteral("MNetwork::queryUrl,error:")).isEmpty());
}

void TestMNetwork::untrustedCertificateGivesEmptyAndLogsError()
{
    const QString url = QStringLiteral("https://localhost:%1/hello").arg(m_untrustedServer->port());
    QCOMPARE(MNetwork::get(url), QString());
    QVERIFY(errorLogged(curlText(CURLE_PEER_FAILED_VERIFICATION), url));
    QCOMPARE(m_untrustedHits.load(), 0);
}

void TestMNetwork::certificateForAnotherNameGivesEmptyAndLogsError()
{
    const int port = m_wrongNameServer->port();
    const QString url = QStringLiteral("https://localhost:%1/hello").arg(port);
    QCOMPARE(MNetwork::get(url), QString());
    QVERIFY(errorLogged(curlText(CURLE_PEER_FAILED_VERIFICATION), url));
    QCOMPARE(m_wrongNameHits.load(), 0);

    // Its CA is trusted: under the name in the certificate the same server is accepted.
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    const QByteArray resolve = "wrong.invalid:" + QByteArray::number(port) + ":127.0.0.1";
    curl_slist *resolveList = curl_slist_append(nullptr, resolve.constData());
    QCOMPARE(curl_easy_setopt(easy.getHandle(), CURLOPT_RESOLVE, resolveList), CURLE_OK);
    easy.setUrl(QStringLiteral("https://wrong.invalid:%1/hello").arg(port));
    const bool ok = easy.perform(false);
    curl_slist_free_all(resolveList);
    QVERIFY2(ok, qPrintable(easy.errorString()));
    QCOMPARE(easy.getResponseText(), QStringLiteral("wrong name"));
}

void TestMNetwork::extraCaIsTrustedBesideTheBaseStore()
{
    // The untrusted CA stands in for the system store: the extra file must add to it, not
    // replace it.
    const QString baseCa = m_untrusted + QStringLiteral("/ca.pem");
    for (const QString &url :
         {QStringLiteral("https://localhost:%1/hello").arg(m_untrustedServer->port()),
          mainUrl(QStringLiteral("/hello"))}) {
        MCurlEasy easy;
        easy.setOption(CURLOPT_VERBOSE, 0L);
        QVERIFY(easy.setOption(CURLOPT_CAINFO, baseCa));
        easy.setUrl(url);
        QVERIFY2(easy.perform(false), qPrintable(url + QLatin1Char(' ') + easy.errorString()));
        QVERIFY(!easy.getResponseText().isEmpty());
    }
    QCOMPARE(m_untrustedHits.load(), 1);
}

void TestMNetwork::httpErrorStatusGivesEmptyAndLogsStatus()
{
    const QString url = mainUrl(QStringLiteral("/missing"));
    QCOMPARE(MNetwork::get(url), QString());
    QVERIFY(errorLogged(QStringLiteral("HTTP Error:404"), url));
}

void TestMNetwork::redirectOffHttpsIsNotFollowed()
{
    const QString unsupported = curlText(CURLE_UNSUPPORTED_PROTOCOL);
    const QString toPlain = mainUrl(QStringLiteral("/to-plain"));
    QCOMPARE(MNetwork::get(toPlain), QString());
    QVERIFY(errorLogged(unsupported, toPlain));
    QCOMPARE(m_plainHits.load(), 0);

    const QString toFile = mainUrl(QStringLiteral("/to-file"));
    QCOMPARE(MNetwork::get(toFile), QString());
    QVERIFY(errorLogged(unsupported, toFile));

    // Other schemes are refused outright, too.
    const QString fileUrl = QStringLiteral("file://") + m_secretFile;
    QCOMPARE(MNetwork::get(fileUrl), QString());
    QVERIFY(errorLogged(unsupported, fileUrl));

    // Plain http works as a starting address; it just is never reached by a redirect.
    QCOMPARE(MNetwork::get(QStringLiteral("http://127.0.0.1:%1/plain").arg(m_plain->port())),
             QStringLiteral("plain body"));
    QCOMPARE(m_plainHits.load(), 1);
}

void TestMNetwork::tenHttpsRedirectsAreFollowedButNotEleven()
{
    const int before = m_helloHits;
    QCOMPARE(MNetwork::get(mainUrl(QStringLiteral("/to-hello"))), QStringLiteral("hello, world"));
    QCOMPARE(m_helloHits.load(), before + 1);
    QCOMPARE(MNetwork::get(mainUrl(QStringLiteral("/hop/10"))), QStringLiteral("arrived"));
    const QString tooMany = mainUrl(QStringLiteral("/hop/11"));
    QCOMPARE(MNetwork::get(tooMany), QString());
    QVERIFY(errorLogged(curlText(CURLE_TOO_MANY_REDIRECTS), tooMany));
}

void TestMNetwork::emptyUrlFailsWithLibcurlMessage()
{
    QCOMPARE(MNetwork::get(QString()), QString());
    QVERIFY(errorLogged(curlText(CURLE_URL_MALFORMAT), QString()));
}

void TestMNetwork::spacesInUrlAreSentAsPercent20()
{
    QCOMPARE(MNetwork::get(rawUrl(QStringLiteral("/a b/c d?q=x y"))), QStringLiteral("ok"));
    const QByteArray request = m_raw->requestFor("/a%20b/c%20d?q=x%20y");
    QVERIFY(request.startsWith("GET /a%20b/c%20d?q=x%20y HTTP/1.1\r\n"));
    QVERIFY(!loggedLines(QStringLiteral("Query Url:"))
                 .filter(rawUrl(QStringLiteral("/a%20b/c%20d?q=x%20y")))
                 .isEmpty());
}

void TestMNetwork::headerLinesGoInNameOrderWithoutSpace()
{
    const QMap<QString, QString> headers{{QStringLiteral("b"), QStringLiteral("2")},
                                         {QStringLiteral("a"), QStringLiteral("1")},
                                         {QStringLiteral("X-Name"), QStringLiteral("caf\u00e9")}};
    QCOMPARE(MNetwork::get(rawUrl(QStringLiteral("/order")), headers), QStringLiteral("ok"));
    const QList<QByteArray> lines = headerLines(m_raw->requestFor("/order"));
    const int first = lines.indexOf("X-Name:caf\xc3\xa9");
    QVERIFY2(first > 0, lines.join(" | ").constData());
    QCOMPARE(lines.mid(first, 3), (QList<QByteArray>{"X-Name:caf\xc3\xa9", "a:1", "b:2"}));
    QVERIFY(lines.contains(QByteArray("User-Agent: ") + kBuiltInUserAgent));
}

void TestMNetwork::givenUserAgentReplacesBuiltInOne()
{
    const QMap<QString, QString> headers{{QStringLiteral("a"), QStringLiteral("1")}};
    QCOMPARE(MNetwork::queryUrl(rawUrl(QStringLiteral("/agent")),
                                QStringLiteral("QuellnetTest/2.0"), headers, true),
             QStringLiteral("ok"));
    const QByteArray request = m_raw->requestFor("/agent");
    const QList<QByteArray> lines = headerLines(request);
    QVERIFY(lines.contains("User-Agent:QuellnetTest/2.0"));
    QCOMPARE(request.count("User-Agent"), 1);
    QVERIFY(!request.contains("Mozilla"));
}

void TestMNetwork::headerValuesCannotAddLines()
{
    const QMap<QString, QString> headers{
        {QStringLiteral("X-Evil"), QStringLiteral("a\r\nInjected:1")}};
    QCOMPARE(MNetwork::get(rawUrl(QStringLiteral("/inject")), headers), QStringLiteral("ok"));
    const QList<QByteArray> lines = headerLines(m_raw->requestFor("/inject"));
    QVERIFY(lines.contains("X-Evil:aInjected:1"));
    QVERIFY(!lines.contains("Injected:1"));
}

void TestMNetwork::bodyBytesAboveAsciiComeBackOneCharacterPerByte()
{
    const QString body = MNetwork::getWebConent(mainUrl(QStringLiteral("/latin1")));
    QCOMPARE(body.size(), 7);
    QCOMPARE(body, QString::fromLatin1("caf\xc3\xa9 \xff", 7));
    QCOMPARE(body.at(3).unicode(), ushort(0xC3));
    QCOMPARE(body.at(6).unicode(), ushort(0xFF));
}

void TestMNetwork::responseHeadersAreCollected()
{
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    easy.setUrl(rawUrl(QStringLiteral("/headers")));
    QStringList order;
    connect(&easy, &MCurlEasy::done, this,
            [&order](int result) { order.append(QStringLiteral("done %1").arg(result)); });
    connect(&easy, &MCurlEasy::quit, this, [&order] { order.append(QStringLiteral("quit")); });
    QSignalSpy quit(&easy, &MCurlEasy::quit);
    QVERIFY(easy.perform(true));
    QVERIFY(easy.isAttached());
    QVERIFY(quit.wait(15000));

    QCOMPARE(order, (QStringList{QStringLiteral("done 0"), QStringLiteral("quit")}));
    QVERIFY(!easy.isAttached());
    QCOMPARE(easy.getResult(), 0);
    QCOMPARE(easy.errorString(), QString());
    QCOMPARE(easy.getResponseText(), QStringLiteral("ok"));
    const QMap<QString, QString> headers = easy.getResponseHeaders();
    QCOMPARE(headers.value(QStringLiteral("X-Dup")), QStringLiteral("two"));
    QCOMPARE(headers.value(QStringLiteral("X-Url")), QStringLiteral("https://a:b/c"));
    QCOMPARE(headers.value(QStringLiteral("Content-Length")), QStringLiteral("2"));
    for (const QString &name : headers.keys())
        QVERIFY2(!name.startsWith(QLatin1String("HTTP/")), qPrintable(name));
}

void TestMNetwork::progressIsReportedAtMostOncePerSecond()
{
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    easy.setUrl(rawUrl(QStringLiteral("/trickle-sized")));
    QElapsedTimer clock;
    QList<ProgressReport> reports;
    connect(&easy, &MCurlEasy::progress, this,
            [&](double speed, double remaining, double percentage) {
                reports.append({clock.elapsed(), speed, remaining, percentage});
            });
    QSignalSpy quit(&easy, &MCurlEasy::quit);
    clock.start();
    QVERIFY(easy.perform(true));
    QVERIFY(quit.wait(20000));
    const qint64 took = clock.elapsed();

    QCOMPARE(easy.getResult(), 0);
    QCOMPARE(easy.getResponseText().size(), 70);
    QVERIFY2(took >= 2900, QByteArray::number(took).constData());
    QVERIFY2(reports.size() >= 2, QByteArray::number(reports.size()).constData());
    QVERIFY(reports.size() <= took / 1000 + 1);
    QVERIFY(reports.first().atMs >= 990);
    for (int i = 0; i < reports.size(); ++i) {
        const ProgressReport &report = reports.at(i);
        QVERIFY(report.speed > 0);
        QVERIFY(report.percentage > 0 && report.percentage <= 100);
        QVERIFY(report.remaining >= 0);
        if (i > 0) {
            QVERIFY2(report.atMs - reports.at(i - 1).atMs >= 990,
                     QByteArray::number(report.atMs - reports.at(i - 1).atMs).constData());
            QVERIFY(report.percentage >= reports.at(i - 1).percentage);
        }
    }
}

void TestMNetwork::unknownTotalReportsZeroPercentAndZeroRemaining()
{
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    easy.setUrl(rawUrl(QStringLiteral("/trickle-open")));
    QList<ProgressReport> reports;
    connect(&easy, &MCurlEasy::progress, this,
            [&](double speed, double remaining, double percentage) {
                reports.append({0, speed, remaining, percentage});
            });
    QSignalSpy quit(&easy, &MCurlEasy::quit);
    QVERIFY(easy.perform(true));
    QVERIFY(quit.wait(20000));
    QCOMPARE(easy.getResult(), 0);
    QCOMPARE(easy.getResponseText(), QString(50, QLatin1Char('x')));
    QVERIFY(!reports.isEmpty());
    for (const ProgressReport &report : qAsConst(reports)) {
        QCOMPARE(report.percentage, 0.0);
        QCOMPARE(report.remaining, 0.0);
    }
}

void TestMNetwork::abortEndsTransferWithAbortedThenQuit()
{
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    easy.setUrl(rawUrl(QStringLiteral("/trickle-long")));
    QStringList order;
    connect(&easy, &MCurlEasy::aborted, this,
            [&order] { order.append(QStringLiteral("aborted")); });
    connect(&easy, &MCurlEasy::done, this, [&order] { order.append(QStringLiteral("done")); });
    connect(&easy, &MCurlEasy::quit, this, [&order] { order.append(QStringLiteral("quit")); });
    QSignalSpy quit(&easy, &MCurlEasy::quit);
    QVERIFY(easy.perform(true));
    QTimer::singleShot(700, &easy, &MCurlEasy::abort);
    QVERIFY(quit.wait(20000));

    QCOMPARE(order, (QStringList{QStringLiteral("aborted"), QStringLiteral("quit")}));
    QVERIFY(!easy.isAttached());
    QCOMPARE(easy.getResult(), 0);
    QVERIFY(easy.getResponseText().size() < 200);
    // Nothing more arrives once detached.
    QSignalSpy lateDone(&easy, &MCurlEasy::done);
    QVERIFY(!lateDone.wait(600));
}

void TestMNetwork::abortFromProgressSlotEndsTransfer()
{
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    easy.setUrl(rawUrl(QStringLiteral("/trickle-long")));
    // Runs inside libcurl, where the handle cannot be taken off the driver.
    connect(&easy, &MCurlEasy::progress, &easy, &MCurlEasy::abort);
    QSignalSpy aborted(&easy, &MCurlEasy::aborted);
    QSignalSpy done(&easy, &MCurlEasy::done);
    QSignalSpy quit(&easy, &MCurlEasy::quit);
    QVERIFY(easy.perform(true));
    QVERIFY(quit.wait(20000));
    QCOMPARE(aborted.count(), 1);
    QCOMPARE(done.count(), 0);
    QCOMPARE(quit.count(), 1);
    QVERIFY(!easy.isAttached());
    QVERIFY(easy.getResponseText().size() < 200);
}

void TestMNetwork::blockingAbortReportsAbortedByCallback()
{
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    easy.setUrl(rawUrl(QStringLiteral("/trickle-long")));
    connect(&easy, &MCurlEasy::progress, &easy, &MCurlEasy::abort);
    QSignalSpy quit(&easy, &MCurlEasy::quit);
    QVERIFY(!easy.perform(false));
    QCOMPARE(easy.getResult(), int(CURLE_ABORTED_BY_CALLBACK));
    QCOMPARE(easy.errorString(), QStringLiteral("CURLE_ABORTED_BY_CALLBACK"));
    QVERIFY(easy.getResponseText().size() < 200);
    QCOMPARE(quit.count(), 0);
}

void TestMNetwork::blockingFormsRunOnTheCallingThread()
{
    const int before = m_helloHits;
    MNetwork::accessUrl(mainUrl(QStringLiteral("/hello")));
    QCOMPARE(m_helloHits.load(), before + 1);
    QCOMPARE(MNetwork::queryUrl(mainUrl(QStringLiteral("/hello")), QString(), false),
             QStringLiteral("  hello, world \n"));
    QCOMPARE(m_helloHits.load(), before + 2);
}

void TestMNetwork::workerThreadUsesItsOwnDriver()
{
    MCurlMulti *mainMulti = MCurlMulti::threadMulti();
    QCOMPARE(mainMulti->thread(), QThread::currentThread());
    QCOMPARE(MCurlMulti::threadMulti(), mainMulti);

    QString body, blockingBody, easyBody;
    MCurlMulti *workerMulti = nullptr;
    MCurlMulti *attachedTo = nullptr;
    QPointer<MCurlMulti> workerMultiAlive;
    bool driverOnWorker = false;
    bool sameDriverTwice = false;
    const QString url = mainUrl(QStringLiteral("/hello"));

    std::unique_ptr<QThread> worker(QThread::create([&] {
        // No event loop runs on this thread except the ones the requests spin.
        body = MNetwork::get(url);
        blockingBody = MNetwork::queryUrl(url, QString(), false);
        workerMulti = MCurlMulti::threadMulti();
        workerMultiAlive = workerMulti;
        sameDriverTwice = MCurlMulti::threadMulti() == workerMulti;
        driverOnWorker = workerMulti->thread() == QThread::currentThread();

        MCurlEasy easy;
        easy.setOption(CURLOPT_VERBOSE, 0L);
        easy.setUrl(url);
        QEventLoop loop;
        connect(&easy, &MCurlEasy::quit, &loop, &QEventLoop::quit);
        if (easy.perform(true)) {
            attachedTo = easy.getAttachedMulti();
            loop.exec();
        }
        easyBody = easy.getResponseText();
    }));
    worker->start();
    QVERIFY(worker->wait(QDeadlineTimer(30000)));

    QCOMPARE(body, QStringLiteral("hello, world"));
    QCOMPARE(blockingBody, QStringLiteral("  hello, world \n"));
    QCOMPARE(easyBody, QStringLiteral("  hello, world \n"));
    QVERIFY(workerMulti != nullptr);
    QVERIFY(workerMulti != mainMulti);
    QVERIFY(sameDriverTwice);
    QVERIFY(driverOnWorker);
    QCOMPARE(attachedTo, workerMulti);
    // The worker's driver went with its thread.
    QVERIFY(workerMultiAlive.isNull());
    QCOMPARE(MCurlMulti::threadMulti(), mainMulti);
}

void TestMNetwork::transfersOnOneDriverRunTogether()
{
    // The held reply is only sent once the second request has arrived.
    MCurlEasy held, release;
    for (MCurlEasy *easy : {&held, &release})
        easy->setOption(CURLOPT_VERBOSE, 0L);
    held.setUrl(rawUrl(QStringLiteral("/held/together")));
    release.setUrl(rawUrl(QStringLiteral("/release/together")));
    QSignalSpy heldQuit(&held, &MCurlEasy::quit);
    QSignalSpy releaseQuit(&release, &MCurlEasy::quit);
    QVERIFY(held.perform(true));
    QVERIFY(release.perform(true));
    QCOMPARE(held.getAttachedMulti(), MCurlMulti::threadMulti());
    QCOMPARE(release.getAttachedMulti(), MCurlMulti::threadMulti());
    QTRY_VERIFY_WITH_TIMEOUT(heldQuit.count() == 1 && releaseQuit.count() == 1, 15000);
    QCOMPARE(held.getResponseText(), QStringLiteral("held"));
    QCOMPARE(release.getResponseText(), QStringLiteral("released"));
}

void TestMNetwork::nestedRequestRunsWhileFirstWaits()
{
    QString inner;
    QObject context;
    QTimer::singleShot(100, &context,
                       [&] { inner = MNetwork::get(rawUrl(QStringLiteral("/release/nested"))); });
    // Waits for a request that only the timer's nested call makes.
    QCOMPARE(MNetwork::get(rawUrl(QStringLiteral("/held/nested"))), QStringLiteral("held"));
    QCOMPARE(inner, QStringLiteral("released"));
}

void TestMNetwork::destroyedDriverReleasesWaitingTransfers()
{
    auto multi = std::make_unique<MCurlMulti>();
    MCurlEasy easy;
    easy.setOption(CURLOPT_VERBOSE, 0L);
    easy.setPreferredMulti(multi.get());
    easy.setUrl(rawUrl(QStringLiteral("/held/forever")));
    QSignalSpy aborted(&easy, &MCurlEasy::aborted);
    QSignalSpy quit(&easy, &MCurlEasy::quit);
    QVERIFY(easy.perform(true));
    QCOMPARE(easy.getAttachedMulti(), multi.get());
    QTRY_VERIFY_WITH_TIMEOUT(!m_raw->requestFor("/held/forever").isEmpty(), 15000);
    multi.reset();
    QCOMPARE(aborted.count(), 1);
    QCOMPARE(quit.count(), 1);
    QVERIFY(!easy.isAttached());
}

void TestMNetwork::encodeUrlParaPercentEncodesUtf8()
{
    QCOMPARE(MNetwork::encodeUrlPara(QString()), QString());
    QCOMPARE(MNetwork::encodeUrlPara(QStringLiteral("aZ09-._~")), QStringLiteral("aZ09-._~"));
    QCOMPARE(MNetwork::encodeUrlPara(QStringLiteral("a b&c=d/e?f")),
             QStringLiteral("a%20b%26c%3Dd%2Fe%3Ff"));
    QCOMPARE(MNetwork::encodeUrlPara(QStringLiteral("caf\u00e9")), QStringLiteral("caf%C3%A9"));
}

QTEST_GUILESS_MAIN(TestMNetwork)
#include "tst_mnetwork.moc"
