// Minimal HTTP server for the end-to-end tests, run by the harness on the VPN server host.
// "GET /bytes/N" answers N bytes; the client counts them; anything else is cut off.
// Usage: e2e_httpd ADDRESS PORT
#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>

namespace {

constexpr qint64 maxBody = qint64(1) << 30;
constexpr int maxRequest = 4096;
constexpr qint64 chunkSize = 64 * 1024;

class Connection : public QObject
{
public:
    Connection(QTcpSocket *socket, QObject *parent)
        : QObject(parent)
        , m_socket(socket)
    {
        m_socket->setParent(this);
        connect(m_socket, &QTcpSocket::readyRead, this, &Connection::onReadyRead);
        connect(m_socket, &QTcpSocket::bytesWritten, this, &Connection::pump);
        connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    }

private:
    void onReadyRead()
    {
        if (m_remaining >= 0)
            return;
        m_request += m_socket->readAll();
        if (m_request.size() > maxRequest)
            return m_socket->abort(); // deleted through disconnected
        if (!m_request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> words = m_request.left(m_request.indexOf("\r\n")).split(' ');
        bool ok = false;
        qint64 size = -1;
        if (words.size() == 3 && words[0] == "GET" && words[1].startsWith("/bytes/"))
            size = words[1].mid(7).toLongLong(&ok);
        if (!ok || size < 0 || size > maxBody)
            return m_socket->abort();
        m_socket->write("HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Length: "
                        + QByteArray::number(size) + "\r\n\r\n");
        m_remaining = size;
        pump();
    }

    void pump()
    {
        static const QByteArray chunk(int(chunkSize), 'x');
        // Keeps at most two chunks queued; bytesWritten brings us back for more.
        while (m_remaining > 0 && m_socket->bytesToWrite() < 2 * chunkSize) {
            const qint64 n = qMin(m_remaining, chunkSize);
            m_socket->write(chunk.constData(), n);
            m_remaining -= n;
        }
        // disconnectFromHost() flushes what is queued before closing.
        if (m_remaining == 0 && !m_closing) {
            m_closing = true;
            m_socket->disconnectFromHost();
        }
    }

    QTcpSocket *m_socket;
    QByteArray m_request;
    qint64 m_remaining = -1;
    bool m_closing = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTcpServer server;
    if (args.size() != 3 || !server.listen(QHostAddress(args[1]), quint16(args[2].toUInt()))) {
        std::fprintf(stderr, "usage: e2e_httpd ADDRESS PORT (%s)\n",
                     qPrintable(server.errorString()));
        return 2;
    }
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            new Connection(socket, &server);
    });
    std::printf("e2e_httpd listening on %s:%u\n", qPrintable(args[1]), server.serverPort());
    std::fflush(stdout);
    return app.exec();
}
