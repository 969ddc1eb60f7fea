#include "logcapture.h"
#include "mcurleasy.h"
#include "mnetwork.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <unistd.h>

namespace {

struct RawReply
{
    QByteArray head; // status line and header lines, without the blank line
    QByteArray body;
    int repeat; // more than once: half a second apart
};

using Responder = std::function<RawReply(const QByteArray &path)>;

// A loopback HTTP(S) server on the test's server thread that records the request bytes and
// can trickle replies. Without a certificate it speaks plain HTTP.
class RawServer : public QTcpServer
{
public:
    RawServer(const QString &pkiDir, Responder responder)
        : m_responder(std::move(responder))
    {
        QFile cert(pkiDir + QStringLiteral("/server.pem"));
        QFile key(pkiDir + QStringLiteral("/server.key"));
        if (!pkiDir.isEmpty() && cert.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly)) {
            m_certificate = QSslCertificate(cert.readAll(), QSsl::Pem);
            m_key = QSslKey(key.readAll(), QSsl::Ec, QSsl::Pem, QSsl::PrivateKey);
        }
    }

    QByteArray requestFor(const QByteArray &path) const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests.value(path);
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        if (!m_certificate.isNull()) {
            socket->setLocalCertificate(m_certificate);
            socket->setPrivateKey(m_key);
            socket->startServerEncryption();
        }
    }

private:
    void readRequest(QSslSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray request = buffer.left(end + 4);
        m_buffers.remove(socket);
        const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
        {
            QMutexLocker lock(&m_mutex);
            m_requests.insert(path, request);
        }
        const RawReply reply = m_responder(path);
        socket->write(reply.head + "\r\n\r\n");
        auto *timer = new QTimer(socket);
        auto left = std::make_shared<int>(reply.repeat);
        connect(timer, &QTimer::timeout, socket, [socket, timer, left, reply] {
            socket->write(reply.body);
            if (--*left == 0) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(reply.repeat > 1 ? 500 : 0);
    }

    QSslCertificate m_certificate;
    QSslKey m_key;
    Responder m_responder;
    QHash<QSslSocket *, QByteArray> m_buffers;
    mutable QMutex m_mutex;
    QHash<QByteArray, QByteArray> m_requests;
};

RawReply reply(const QByteArray &status, const QByteArray &body, const QByteArray &location = {},
               int repeat = 1)
{
    QByteArray head = "HTTP/1.1 " + status + "\r\nContent-Length: "
        + QByteArray::number(body.size() * repeat) + "\r\nConnection: close";
    if (!location.isEmpty())
        head += "\r\nLocation: " + location;
    return {head, body, repeat};
}

QString curlText(CURLcode code)
{
    return QString::fromUtf8(curl_easy_strerror(code));
}

} // namespace

class TestMNetwork : public QObject
{
    Q_OBJECT

private slots:
    void init() { LogCapture::take(); }

    void initTestCase()
    {
        // Loopback only: no proxy from the environment may take the requests elsewhere.
        for (const char *name :
             {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        QVERIFY(m_dir.isValid());
        const QString trusted = makeCa(QStringLiteral("trusted"), {"localhost", "127.0.0.1"});
        m_untrustedCa = makeCa(QStringLiteral("untrusted"), {"localhost", "127.0.0.1"});
        const QString wrongName = makeCa(QStringLiteral("wrongname"), {"wrong.invalid"});
        QVERIFY(!trusted.isEmpty() && !m_untrustedCa.isEmpty() && !wrongName.isEmpty());

        // The extra CA file trusts the main and the wrong-name CA, not the untrusted one.
        QFile bundle(m_dir.filePath(QStringLiteral("extra-ca.pem")));
        QVERIFY(bundle.open(QIODevice::WriteOnly));
        for (const QString &ca : {trusted, wrongName})
            bundle.write(QSslCertificate::fromPath(ca + QLatin1String("/ca.pem")).value(0).toPem());
        bundle.close();
        qputenv("QUELLNET_CA_FILE", QFile::encodeName(bundle.fileName()));

        m_log = std::make_unique<LogCapture>(); // after QTest's own handler
        MNetwork::globalInit();
        m_serverThread.start();
        auto hello = [](const QByteArray &) {
            return reply("200 OK", "other");
        };
        m_main = startServer(trusted, [this](const QByteArray &path) { return mainReply(path); });
        m_untrusted = startServer(m_untrustedCa, hello);
        m_wrongName = startServer(wrongName, hello);
        m_plain = startServer(QString(), hello);
        QVERIFY(m_main && m_untrusted && m_wrongName && m_plain);
    }

    void cleanupTestCase()
    {
        m_serverThread.quit();
        m_serverThread.wait();
        MNetwork::globalClean();
    }

    void getReturnsBodyOverVerifiedTls()
    {
        // get() trims (the https redirect row below); queryUrl() gives the body as sent.
        QCOMPARE(MNetwork::queryUrl(url(m_main, QStringLiteral("/hello")), QString(), false),
                 QStringLiteral("  hello, world \n"));
        // The certificate also names the address; spaces go out as %20.
        QCOMPARE(MNetwork::get(
                     QStringLiteral("https://127.0.0.1:%1/a b?q=x y").arg(m_main->serverPort())),
                 QStringLiteral("ok"));
        QVERIFY(m_main->requestFor("/a%20b?q=x%20y").startsWith("GET /a%20b?q=x%20y HTTP/1.1\r\n"));
        QVERIFY(!LogCapture::contains(QStringLiteral("MNetwork::queryUrl,error:")));
    }

    void extraCaIsTrustedBesideTheBaseStore()
    {
        // The untrusted CA stands in for the system store: the extra file must add to it, not
        // replace it.
        for (RawServer *server : {m_untrusted, m_main}) {
            MCurlEasy easy;
            easy.setOption(CURLOPT_VERBOSE, 0L);
            QVERIFY(easy.setOption(CURLOPT_CAINFO, m_untrustedCa + QStringLiteral("/ca.pem")));
            easy.setUrl(url(server, QStringLiteral("/hello")));
            QVERIFY2(easy.perform(false), qPrintable(easy.errorString()));
            QVERIFY(!easy.getResponseText().isEmpty());
        }
    }

    void failuresGiveEmptyAndLogTheReason_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("error"); // in the logged error line
        const QString unsupported = curlText(CURLE_UNSUPPORTED_PROTOCOL);
        const QString unverified = curlText(CURLE_PEER_FAILED_VERIFICATION);
        // The wrong-name server's CA is in the extra CA file, trusted like the main one's.
        const struct
        {
            const char *name;
            RawServer *server; // none: the path is the whole URL
            const char *path, *body;
            QString error;
        } rows[] = {
            {"untrusted CA", m_untrusted, "/unseen", "", unverified},
            {"certificate for another name", m_wrongName, "/unseen", "", unverified},
            {"https redirect", m_main, "/to-hello", "hello, world", QString()},
            {"ten redirects", m_main, "/hop/10", "arrived", QString()},
            {"eleven redirects", m_main, "/hop/11", "", curlText(CURLE_TOO_MANY_REDIRECTS)},
            {"redirect to http", m_main, "/to-plain", "", unsupported},
            {"file scheme", nullptr, "file:///etc/hostname", "", unsupported},
            {"http status", m_main, "/missing", "", QStringLiteral("HTTP Error:404")},
            {"reply above the bound", m_main, "/big", "", QStringLiteral("Reply larger than")},
            {"empty url", nullptr, "", "", curlText(CURLE_URL_MALFORMAT)},
        };
        for (const auto &r : rows)
            QTest::newRow(r.name) << (r.server ? url(r.server, QLatin1String(r.path)) : r.path)
                                  << r.body << r.error;
    }

    void failuresGiveEmptyAndLogTheReason()
    {
        QFETCH(QString, target);
        QFETCH(QString, body);
        QFETCH(QString, error);
        QCOMPARE(MNetwork::get(target), body);
        if (error.isEmpty())
            QVERIFY(!LogCapture::contains(QStringLiteral("MNetwork::queryUrl,error:")));
        else
            // One logged line names both the reason and the URL.
            QVERIFY2(LogCapture::joined().contains(QRegularExpression(
                         QStringLiteral("MNetwork::queryUrl,error:.*")
                         + QRegularExpression::escape(error) + QStringLiteral(".*")
                         + QRegularExpression::escape(target))),
                     qPrintable(LogCapture::joined()));
        // Nothing reached a server that failed verification or was only reachable unencrypted.
        for (RawServer *server : {m_untrusted, m_wrongName, m_plain})
            QVERIFY(server->requestFor("/unseen").isEmpty()
                    && server->requestFor("/plain").isEmpty());
    }

    // The password travels in a header: an account call stays where it was sent, and libcurl's
    // verbose trace (which would print it to stderr) is off for every transfer.
    void credentialsStayWithTheirRequest()
    {
        const QMap<QString, QString> secret{{QStringLiteral("password"), QStringLiteral("s3cret")}};
        QTemporaryFile trace;
        QVERIFY(trace.open());
        const int saved = ::dup(STDERR_FILENO);
        ::dup2(trace.handle(), STDERR_FILENO);
        const QString body = MNetwork::get(url(m_main, QStringLiteral("/to-landing")), secret,
                                           MNetwork::Call::Account);
        MCurlEasy easy;
        easy.setRequestHeaderValue(QStringLiteral("password"), QStringLiteral("s3cret"));
        easy.setUrl(url(m_main, QStringLiteral("/hello")));
        const bool performed = easy.perform(false);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        QVERIFY(body.isEmpty() && performed);
        QVERIFY(m_main->requestFor("/to-landing").contains("password:s3cret"));
        QVERIFY(m_main->requestFor("/landing").isEmpty());
        QVERIFY(!trace.readAll().contains("s3cret"));
    }

    void headerLinesAreSentAsGiven_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<QMap<QString, QString>>("headers");
        QTest::addColumn<QList<QByteArray>>("lines"); // expected consecutive header lines
        QTest::newRow("name order, no space, UTF-8")
            << QString() << QMap<QString, QString>{{"b", "2"}, {"a", "1"}, {"X-Name", "caf\u00e9"}}
            << QList<QByteArray>{"X-Name:caf\xc3\xa9", "a:1", "b:2"};
        QTest::newRow("values cannot add lines")
            << QString() << QMap<QString, QString>{{"X-Evil", "a\r\nInjected:1"}}
            << QList<QByteArray>{"X-Evil:aInjected:1"};
        QTest::newRow("given agent replaces the built-in one")
            << QStringLiteral("QuellnetTest/2.0") << QMap<QString, QString>{{"a", "1"}}
            << QList<QByteArray>{"User-Agent:QuellnetTest/2.0"};
    }

    void headerLinesAreSentAsGiven()
    {
        QFETCH(QString, agent);
        using Headers = QMap<QString, QString>;
        QFETCH(Headers, headers);
        QFETCH(QList<QByteArray>, lines);
        const QString path
            = QStringLiteral("/h/") + QString::number(qHash(QTest::currentDataTag()));
        const QString target = url(m_main, path);
        QCOMPARE(agent.isEmpty() ? MNetwork::get(target, headers)
                                 : MNetwork::queryUrl(target, agent, headers, true),
                 QStringLiteral("ok"));
        const QByteArray request = m_main->requestFor(path.toLatin1());
        QVERIFY2(request.contains("\r\n" + lines.join("\r\n") + "\r\n"), request.constData());
        QCOMPARE(request.count("User-Agent"), 1);
        QVERIFY(!request.contains("\nInjected"));
    }

    void abortFromTheProgressSlotEndsWithAbortedThenQuit()
    {
        MCurlEasy easy;
        easy.setOption(CURLOPT_VERBOSE, 0L);
        easy.setUrl(url(m_main, QStringLiteral("/trickle")));
        QStringList order;
        connect(&easy, &MCurlEasy::aborted, this, [&order] { order << QStringLiteral("aborted"); });
        connect(&easy, &MCurlEasy::done, this, [&order] { order << QStringLiteral("done"); });
        connect(&easy, &MCurlEasy::quit, this, [&order] { order << QStringLiteral("quit"); });
        // Runs inside libcurl, where the handle cannot be taken off the driver.
        connect(&easy, &MCurlEasy::progress, &easy, &MCurlEasy::abort);
        QSignalSpy quit(&easy, &MCurlEasy::quit);
        QVERIFY(easy.perform(true));
        QVERIFY(quit.wait(20000));
        QCOMPARE(order, (QStringList{QStringLiteral("aborted"), QStringLiteral("quit")}));
        QVERIFY(!easy.isAttached());
        QVERIFY(easy.getResponseText().size() < 200);
    }

private:
    QString makeCa(const QString &name, const QStringList &hosts)
    {
        const QString out = m_dir.filePath(name);
        QProcess process;
        process.start(
            QStringLiteral("bash"),
            QStringList{QStringLiteral(QUELLNET_SOURCE_DIR "/scripts/make-test-ca.sh"), out}
                + hosts);
        return process.waitForFinished(30000) && process.exitCode() == 0 ? out : QString();
    }

    RawServer *startServer(const QString &pkiDir, Responder responder)
    {
        auto *server = new RawServer(pkiDir, std::move(responder));
        server->moveToThread(&m_serverThread);
        bool listening = false;
        QMetaObject::invokeMethod(
            server, [&] { listening = server->listen(QHostAddress::LocalHost, 0); },
            Qt::BlockingQueuedConnection);
        // The thread deletes what was left for it once its loop has ended.
        connect(&m_serverThread, &QThread::finished, server, &QObject::deleteLater);
        return listening ? server : nullptr;
    }

    RawReply mainReply(const QByteArray &path) const
    {
        const QByteArray found = "302 Found";
        if (path == "/hello")
            return reply("200 OK", "  hello, world \n");
        if (path == "/missing")
            return reply("404 Not Found", "not here");
        if (path == "/to-hello")
            return reply(found, {}, url(m_main, QStringLiteral("/hello")).toLatin1());
        if (path == "/to-plain")
            return reply(found, {},
                         "http://127.0.0.1:" + QByteArray::number(m_plain->serverPort())
                             + "/plain");
        if (path.startsWith("/hop/")) {
            const int left = path.mid(5).toInt();
            return left == 0 ? reply("200 OK", "arrived")
                             : reply(found, {}, "/hop/" + QByteArray::number(left - 1));
        }
        if (path == "/big")
            return reply("200 OK", QByteArray(4 * 1024 * 1024 + 1, 'x'));
        if (path == "/to-landing")
            return reply(found, {}, url(m_main, QStringLiteral("/landing")).toLatin1());
        if (path.startsWith("/trickle"))
            return reply("200 OK", "0123456789", {}, 20); // ten seconds
        return reply("200 OK", "ok");
    }
    QString url(RawServer *server, const QString &path) const
    {
        return QStringLiteral("https://localhost:%1%2").arg(server->serverPort()).arg(path);
    }

    QTemporaryDir m_dir;
    QString m_untrustedCa;
    QThread m_serverThread;
    RawServer *m_main = nullptr;
    RawServer *m_untrusted = nullptr;
    RawServer *m_wrongName = nullptr;
    RawServer *m_plain = nullptr;
    std::unique_ptr<LogCapture> m_log;
};

QTEST_GUILESS_MAIN(TestMNetwork)
#include "tst_mnetwork.moc"
