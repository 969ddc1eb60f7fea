#include "helperprotocol.h"

#include <QCborValue>
#include <QtEndian>

namespace tunnelkit::wire {

bool isKnownType(quint8 type)
{
    return (type >= quint8(Type::Hello) && type <= quint8(Type::Query))
        || (type >= quint8(Type::State) && type <= quint8(Type::RepairDone))
        || type == quint8(Type::Repair);
}

QByteArray encode(const Message &message)
{
    const QByteArray body = message.body.toCborValue().toCbor();
    if (body.size() > kMaxBody)
        return QByteArray();
    QByteArray frame(kHeaderSize, '\0');
    frame[0] = 'Q';
    frame[1] = 'N';
    frame[2] = char(kVersion);
    frame[3] = char(message.type);
    qToBigEndian<quint32>(quint32(body.size()), frame.data() + 4);
    return frame + body;
}

void FrameDecoder::feed(const QByteArray &bytes)
{
    if (m_error.isEmpty())
        m_buffer += bytes;
}

FrameDecoder::Result FrameDecoder::fail(const QString &why)
{
    m_error = why;
    m_buffer.clear();
    return Failed;
}

FrameDecoder::Result FrameDecoder::next(Message *message)
{
    if (!m_error.isEmpty())
        return Failed;
    if (m_buffer.size() < kHeaderSize) {
        // A wrong start is told at once, not after the peer has sent a whole header.
        if (!m_buffer.isEmpty() && m_buffer[0] != 'Q')
            return fail(QStringLiteral("not a helper message"));
        return NeedMore;
    }
    if (m_buffer[0] != 'Q' || m_buffer[1] != 'N')
        return fail(QStringLiteral("not a helper message"));
    if (quint8(m_buffer[2]) != kVersion)
        return fail(QStringLiteral("protocol version %1 is not spoken here (%2 is)")
                        .arg(quint8(m_buffer[2]))
                        .arg(kVersion));
    const quint8 type = quint8(m_buffer[3]);
    if (!isKnownType(type))
        return fail(QStringLiteral("unknown message type %1").arg(type));
    const quint32 length = qFromBigEndian<quint32>(m_buffer.constData() + 4);
    if (length > quint32(kMaxBody))
        return fail(QStringLiteral("message of %1 bytes is over the limit").arg(length));
    if (m_buffer.size() < kHeaderSize + int(length))
        return NeedMore;
    QCborParserError parseError;
    const QCborValue value
        = QCborValue::fromCbor(m_buffer.mid(kHeaderSize, int(length)), &parseError);
    if (parseError.error != QCborError::NoError || !value.isMap())
        return fail(QStringLiteral("malformed message body"));
    m_buffer.remove(0, kHeaderSize + int(length));
    message->type = Type(type);
    message->body = value.toMap();
    return Ready;
}

QString textField(const QCborMap &body, const char *key, qsizetype maxBytes)
{
    const QCborValue v = body.value(QLatin1String(key));
    if (!v.isString())
        return QString();
    const QString s = v.toString();
    return s.toUtf8().size() <= maxBytes ? s : QString();
}

QByteArray bytesField(const QCborMap &body, const char *key, qsizetype maxBytes)
{
    const QCborValue v = body.value(QLatin1String(key));
    if (!v.isByteArray())
        return QByteArray();
    const QByteArray b = v.toByteArray();
    return b.size() <= maxBytes ? b : QByteArray();
}

qint64 intField(const QCborMap &body, const char *key, qint64 fallback)
{
    const QCborValue v = body.value(QLatin1String(key));
    return v.isInteger() ? v.toInteger() : fallback;
}

bool boolField(const QCborMap &body, const char *key, bool fallback)
{
    const QCborValue v = body.value(QLatin1String(key));
    return v.isBool() ? v.toBool() : fallback;
}

double doubleField(const QCborMap &body, const char *key)
{
    const QCborValue v = body.value(QLatin1String(key));
    return v.isDouble() ? v.toDouble() : (v.isInteger() ? double(v.toInteger()) : 0.0);
}

} // namespace tunnelkit::wire
