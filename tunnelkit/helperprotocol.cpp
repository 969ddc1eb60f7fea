#include "helperprotocol.h"

#include <QCborStreamReader>
#include <QCborValue>
#include <QtEndian>

namespace tunnelkit::wire {

namespace {

// Far deeper than any message is.
constexpr int kMaxDepth = 32;

// Qt allocates the length a string declares before it looks for the bytes: a few bytes
// claiming a 2 GiB string cost a 2 GiB allocation and, where that fails, the process. Every
// declared length is held against the bytes left before the body is parsed.
bool lengthsFit(const QByteArray &cbor)
{
    QCborStreamReader reader(cbor);
    const auto left = [&] {
        return cbor.size() - reader.currentOffset();
    };
    int depth = 0;
    do {
        if (reader.lastError() != QCborError::NoError)
            return false;
        if (depth > 0 && !reader.hasNext()) {
            if (!reader.leaveContainer())
                return false;
            --depth;
        } else if (reader.isString() || reader.isByteArray()) {
            // Each chunk is read once its length is known to fit.
            QCborStreamReader::StringResultCode status;
            do {
                const qsizetype size = reader.currentStringChunkSize();
                if (size < 0 || size > left())
                    return false;
                status = reader.isString() ? reader.readString().status
                                           : reader.readByteArray().status;
            } while (status == QCborStreamReader::Ok);
            if (status == QCborStreamReader::Error)
                return false;
        } else if (reader.isArray() || reader.isMap()) {
            if ((reader.isLengthKnown() && reader.length() > quint64(left())) || depth == kMaxDepth
                || !reader.enterContainer())
                return false;
            ++depth;
        } else if (!reader.next()) {
            return false;
        }
    } while (depth > 0);
    return reader.lastError() == QCborError::NoError;
}

} // namespace

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
    const QByteArray body = m_buffer.mid(kHeaderSize, int(length));
    if (!lengthsFit(body))
        return fail(QStringLiteral("malformed message body"));
    QCborParserError parseError;
    const QCborValue value = QCborValue::fromCbor(body, &parseError);
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
