#include "icmpsocket.h"

#include <QtEndian>

namespace Icmp {

namespace {

constexpr int kHeaderSize = 8;
constexpr quint8 kEchoReply = 0;
constexpr quint8 kEchoRequest = 8;

} // namespace

QByteArray echoData()
{
    QByteArray data(32, '\0');
    const char text[] = "Quell Test";
    std::copy(text, text + sizeof(text) - 1, data.begin());
    return data;
}

quint16 checksum(const char *data, int length)
{
    quint32 sum = 0;
    const auto *bytes = reinterpret_cast<const uchar *>(data);
    for (int i = 0; i + 1 < length; i += 2)
        sum += quint32(bytes[i]) << 8 | bytes[i + 1];
    if (length % 2)
        sum += quint32(bytes[length - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return quint16(~sum);
}

QByteArray echoRequest(quint16 identifier, quint16 sequence, const QByteArray &data)
{
    QByteArray message(kHeaderSize, '\0');
    message[0] = char(kEchoRequest);
    qToBigEndian(identifier, message.data() + 4);
    qToBigEndian(sequence, message.data() + 6);
    message += data;
    qToBigEndian(checksum(message.constData(), message.size()), message.data() + 2);
    return message;
}

bool parseEchoReply(const char *message, int length, quint16 *identifier, quint16 *sequence)
{
    if (length < kHeaderSize || quint8(message[0]) != kEchoReply || message[1] != 0)
        return false;
    *identifier = qFromBigEndian<quint16>(message + 4);
    *sequence = qFromBigEndian<quint16>(message + 6);
    return true;
}

} // namespace Icmp
