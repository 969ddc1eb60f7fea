// Minimal DNS resolver for the end-to-end tests: every A question over UDP on port 53 is
// answered with ANSWER, any other with an empty answer (probes sent over TCP only need to be
// seen arriving). The harness runs one on the LAN host (the home router's resolver a lookup
// must not reach) and one on the VPN server (the resolver the tunnel pushes).
// Usage: e2e_dns ADDRESS ANSWER
#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <cstdio>

namespace {

constexpr quint16 dnsPort = 53;
constexpr int headerSize = 12;
constexpr int maxMessage = 512;

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
    if (!udp.bind(address, dnsPort)) {
        std::fprintf(stderr, "e2e_dns: %s\n", qPrintable(udp.errorString()));
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
    std::printf("e2e_dns listening on %s\n", qPrintable(args[1]));
    std::fflush(stdout);
    return app.exec();
}
