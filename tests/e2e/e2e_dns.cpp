// Minimal DNS resolver for the end-to-end tests: every A question over UDP on port 53 is
// answered with ANSWER, any other with an empty answer (probes sent over TCP only need to be
// seen arriving). The harness runs one on the LAN host (the home router's resolver a lookup
// must not reach) and one on the VPN server (the resolver the tunnel pushes).
// Usage: e2e_dns ADDRESS ANSWER
#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtEndian>

#include <cstdio>

namespace {

// The reply to `query`, or empty when it holds no complete question.
QByteArray answer(const QByteArray &query, const QByteArray &address)
{
    int pos = 12; // after the header
    while (pos < query.size() && query[pos] != 0)
        pos += 1 + quint8(query[pos]);
    const int questionEnd = pos + 5;
    if (questionEnd > query.size())
        return QByteArray();
    const bool isA = query.mid(pos + 1, 4) == QByteArray::fromHex("00010001");
    QByteArray reply = query.left(questionEnd);
    reply[2] = char(0x80 | (query[2] & 0x79)); // response, same opcode and RD
    reply[3] = char(0x80); // recursion available, no error
    reply.replace(6, 6, QByteArray::fromHex(isA ? "000100000000" : "000000000000"));
    if (isA)
        reply += QByteArray::fromHex("c00c000100010000003c0004") + address;
    return reply;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const quint32 ip = qToBigEndian(QHostAddress(args.value(2)).toIPv4Address());
    const QByteArray address(reinterpret_cast<const char *>(&ip), 4);
    QUdpSocket udp;
    if (args.size() != 3 || ip == 0 || !udp.bind(QHostAddress(args[1]), 53)) {
        std::fprintf(stderr, "usage: e2e_dns ADDRESS ANSWER (%s)\n", qPrintable(udp.errorString()));
        return 2;
    }
    QObject::connect(&udp, &QUdpSocket::readyRead, &udp, [&] {
        while (udp.hasPendingDatagrams()) {
            const QNetworkDatagram d = udp.receiveDatagram();
            const QByteArray reply = answer(d.data(), address);
            if (!reply.isEmpty())
                udp.writeDatagram(d.makeReply(reply));
        }
    });
    std::printf("e2e_dns listening on %s\n", qPrintable(args[1]));
    std::fflush(stdout);
    return app.exec();
}
