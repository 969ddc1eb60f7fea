#include "testbackend.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpServer>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kStartTimeoutMs = 20000;

// Dies with the test, even when the test itself is killed or crashes.
class DyingProcess : public QProcess
{
protected:
    void setupChildProcess() override { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }
};

// A port that is free on the address right now.
int freePort(const QString &address)
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress(address), 0))
        return 0;
    return probe.serverPort();
}

// One HTTPS request to the backend's debug interface, verified against the test CA; the body
// of a 200 reply, else empty.
QByteArray debugRequest(const QString &address, int port, const QString &caFile,
                        const QByteArray &method, const QByteArray &path)
{
    QSslSocket socket;
    QSslConfiguration config = socket.sslConfiguration();
    config.setCaCertificates(QSslCertificate::fromPath(caFile));
    socket.setSslConfiguration(config);
    socket.setPeerVerifyName(address);
    socket.connectToHostEncrypted(address, quint16(port));
    if (!socket.waitForEncrypted(10000))
        return QByteArray();
    socket.write(method + ' ' + path + " HTTP/1.1\r\nHost: " + address.toLatin1()
                 + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        if (!socket.waitForReadyRead(1000) && socket.state() != QAbstractSocket::ConnectedState)
            break;
        reply += socket.readAll();
    }
    reply += socket.readAll();
    const int body = reply.indexOf("\r\n\r\n");
    return reply.startsWith("HTTP/1.1 200") && body >= 0 ? reply.mid(body + 4) : QByteArray();
}

} // namespace

int runCommand(const QString &program, const QStringList &arguments, QByteArray *output,
               int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return -1;
    const bool finished = process.waitForFinished(timeoutMs);
    if (output)
        *output = process.readAll();
    if (!finished) {
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TestBackend::TestBackend()
    : m_process(new DyingProcess)
{
    m_address = QStringLiteral("127.0.0.%1").arg(10 + ::getpid() % 230);
}

TestBackend::~TestBackend()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool TestBackend::start(const Options &options)
{
    // A restart must wait for its own "ready" line, not the last run's.
    m_stderr.clear();
    const QString pki = m_dir.filePath(QStringLiteral("pki"));
    QByteArray output;
    // A restart keeps its CA: clients cache what they trusted, as they do in real life.
    if (!QFile::exists(pki + QStringLiteral("/server.pem"))
        && runCommand(QStringLiteral("bash"),
                      {QStringLiteral(QUELLNET_SOURCE_DIR "/scripts/make-test-ca.sh"), pki,
                       m_address, QStringLiteral("localhost")},
                      &output)
            != 0) {
        qWarning("make-test-ca.sh failed: %s", output.constData());
        return false;
    }
    m_port = freePort(m_address);
    if (m_port == 0)
        return false;
    QStringList arguments{QStringLiteral("--debug-endpoints"), QStringLiteral("--demo")};
    arguments << QStringLiteral("--listen") << m_address << QStringLiteral("--port")
              << QString::number(m_port) << QStringLiteral("--cert") << pki + "/server.pem"
              << QStringLiteral("--key") << pki + "/server.key" << QStringLiteral("--db")
              << m_dir.filePath(QStringLiteral("backend.sqlite"));
    if (!options.ovpnDir.isEmpty())
        arguments << QStringLiteral("--ovpn-dir") << options.ovpnDir;
    arguments << options.extra;

    m_process->setProgram(QStringLiteral(QUELLNET_BIN_DIR "/quellnet-backend"));
    m_process->setArguments(arguments);
    m_process->start();
    if (!m_process->waitForStarted(kStartTimeoutMs))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kStartTimeoutMs) {
        m_process->waitForReadyRead(200);
        m_stderr += m_process->readAllStandardError();
        if (m_stderr.contains("quellnet-backend: ready\n")) {
            exportClientEnvironment();
            return true;
        }
        if (m_process->state() == QProcess::NotRunning)
            break;
    }
    qWarning("backend did not start: %s", m_stderr.constData());
    return false;
}

bool TestBackend::stop()
{
    if (m_process->state() == QProcess::NotRunning)
        return false;
    ::kill(pid_t(m_process->processId()), SIGTERM);
    const bool finished = m_process->waitForFinished(10000);
    m_stderr += m_process->readAllStandardError();
    if (!finished) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    return finished && m_process->exitCode() == 0;
}

bool TestBackend::isRunning() const
{
    return m_process->state() != QProcess::NotRunning;
}

QString TestBackend::hostWithPort() const
{
    return m_address + QLatin1Char(':') + QString::number(m_port);
}

QString TestBackend::caFile() const
{
    return m_dir.filePath(QStringLiteral("pki/ca.pem"));
}

QByteArray TestBackend::stderrText()
{
    m_stderr += m_process->readAllStandardError();
    return m_stderr;
}

QList<TestBackend::Request> TestBackend::requests()
{
    QList<Request> list;
    const QByteArray body = debugRequest(m_address, m_port, caFile(), "GET", "/_debug/requests");
    const QJsonArray items
        = QJsonDocument::fromJson(body).object().value(QStringLiteral("requests")).toArray();
    for (const QJsonValue &item : items) {
        Request request;
        request.path = item.toObject().value(QStringLiteral("path")).toString();
        for (const QJsonValue &h :
             item.toObject().value(QStringLiteral("wire_headers")).toArray()) {
            request.wireHeaders.append({h.toObject().value(QStringLiteral("name")).toString(),
                                        h.toObject().value(QStringLiteral("value")).toString()});
        }
        list.append(request);
    }
    return list;
}

bool TestBackend::resetRequests()
{
    return !debugRequest(m_address, m_port, caFile(), "POST", "/_debug/reset").isEmpty();
}

QJsonArray TestBackend::hits()
{
    const QByteArray body = debugRequest(m_address, m_port, caFile(), "GET", "/_debug/hits");
    return QJsonDocument::fromJson(body).object().value(QStringLiteral("hits")).toArray();
}

void TestBackend::exportClientEnvironment() const
{
    qputenv("QUELLNET_BACKEND_HOST", hostWithPort().toUtf8());
    qputenv("QUELLNET_SERVERLIST_HOST", m_address.toUtf8());
    qputenv("QUELLNET_WEB_HOST", hostWithPort().toUtf8());
    qputenv("QUELLNET_COLLECT_URL",
            (QStringLiteral("https://") + hostWithPort() + QStringLiteral("/collect")).toUtf8());
    qputenv("QUELLNET_CA_FILE", caFile().toUtf8());
}
