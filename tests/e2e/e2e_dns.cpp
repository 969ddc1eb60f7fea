// Minimal DNS resolver for the end-to-end tests: every A question is answered with ANSWER, any
// other with an empty answer, over UDP and TCP on port 53. The harness runs one on the LAN host
// (the home router's resolver a lookup must not reach) and one on the VPN server (the resolver
// the tunnel pushes). Usage: e2e_dns ADDRESS ANSWER
#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

namespace {

constexpr quint16 dnsPort = 53;
constexpr int headerSize = 12;
constexpr int maxMessage = 512;
constexpr int idleMs = 10000;

QByteArray g_answer; // 4 bytes

// The answer to `query`, or empty when it is no single well-formed question.
QByteArray answer(const QByteArray &query)
{
    if (query.size() < headerSize || query.size() > maxMessage || (query[2] & 0x80)
        || query.mid(4, 2) != QByteArray::fromHex("0001"))
        return QByteArray();
    int pos = headerSize;
    while (pos < query.size() && query[pos] != 0) {
        // Compression pointers cannot appear in a question that starts the message.
        if ((query[pos] & 0xc0) != 0)
            return QByteArray();
        pos += 1 + quint8(query[pos]);
    }
    const int questionEnd = pos + 5;
    if (questionEnd > query.size())
        return QByteArray();
    const bool isA = query.mid(pos + 1, 4) == QByteArray::fromHex("00010001");
    QByteArray reply = query.left(questionEnd);
    reply[2] = char(0x80 | (query[2] & 0x79)); // response, same opcode and RD
    reply[3] = char(0x80); // recursion available, no error
    reply.replace(6, 6, QByteArray::fromHex(isA ? "000100000000" : "000000000000"));
    if (isA)
        reply += QByteArray::fromHex("c00c000100010000003c0004") + g_answer;
    return reply;
}

class TcpConnection : public QObject
{
public:
    TcpConnection(QTcpSocket *socket, QObject *parent)
        : QObject(parent)
        , m_socket(socket)
    {
        m_socket->setParent(this);
        QTimer::singleShot(idleMs, this, [this] { m_socket->abort(); });
        connect(m_socket, &QTcpSocket::readyRead, this, &TcpConnection::onReadyRead);
        connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    }

private:
    void onReadyRead()
    {
        m_buffer += m_socket->readAll();
        while (m_buffer.size() >= 2) {
            const int length = quint8(m_buffer[0]) << 8 | quint8(m_buffer[1]);
            if (length > maxMessage) {
                m_socket->abort();
                return;
            }
            if (m_buffer.size() < 2 + length)
                return;
            const QByteArray reply = answer(m_buffer.mid(2, length));
            m_buffer.remove(0, 2 + length);
            if (!reply.isEmpty())
                m_socket->write(QByteArray(1, char(reply.size() >> 8))
                                + QByteArray(1, char(reply.size() & 0xff)) + reply);
        }
    }

    QTcpSocket *m_socket;
    QByteArray m_buffer;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QHostAddress answerAddress(args.value(2));
    if (args.size() != 3 || answerAddress.protocol() != QAbstractSocket::IPv4Protocol) {
        std::fprintf(stderr, "usage: e2e_dns ADDRESS ANSWER\n");
        return 2;
    }
    const quint32 a = answerAddress.toIPv4Address();
    for (int shift = 24; shift >= 0; shift -= 8)
        g_answer += char(a >> shift);
    const QHostAddress address(args[1]);
    QUdpSocket udp;
    QTcpServer tcp;
    if (!udp.bind(address, dnsPort) || !tcp.listen(address, dnsPort)) {
        std::fprintf(stderr, "e2e_dns: %s%s\n", qPrintable(udp.errorString()),
                     qPrintable(tcp.errorString()));
        return 1;
    }
    QObject::connect(&udp, &QUdpSocket::readyRead, &udp, [&udp] {
        while (udp.hasPendingDatagrams()) {
            const QNetworkDatagram d = udp.receiveDatagram(maxMessage + 1);
            const QByteArray reply = answer(d.data());
            if (!reply.isEmpty())
                udp.writeDatagram(d.makeReply(reply));
        }
    });
    QObject::connect(&tcp, &QTcpServer::newConnection, &tcp, [&tcp] {
        while (QTcpSocket *socket = tcp.nextPendingConnection())
            new TcpConnection(socket, &tcp);
    });
    std::printf("e2e_dns listening on %s\n", qPrintable(args[1]));
    std::fflush(stdout);
    return app.exec();
}
