// The helper's frame decoder on arbitrary bytes: the same messages however the bytes arrive,
// each a whole CBOR map that re-encodes to a frame decoding to itself; a frame over the size
// limit, with a bad header or a body that is no map is refused, never waited for, and the
// decoder stays failed.
#include "fuzzsupport.h"
#include "helperprotocol.h"

#include <QCborValue>
#include <QList>
#include <QtEndian>

using namespace tunnelkit::wire;

namespace {

QList<QByteArray> decodeAll(const QByteArray &input, int chunk, FrameDecoder::Result *last)
{
    FrameDecoder decoder;
    QList<QByteArray> out;
    Message message;
    *last = FrameDecoder::NeedMore;
    for (int i = 0; i < input.size() && *last != FrameDecoder::Failed; i += chunk) {
        decoder.feed(input.mid(i, chunk));
        while ((*last = decoder.next(&message)) == FrameDecoder::Ready) {
            out.append(encode(message));
            // Only a body that grew past the limit when written out again goes unsent.
            FUZZ_CHECK(!out.last().isEmpty()
                       || message.body.toCborValue().toCbor().size() > kMaxBody);
        }
    }
    if (*last == FrameDecoder::Failed) {
        // Failed for good: not even a sound frame after it is read.
        decoder.feed(encode({Type::Hello, QCborMap()}));
        FUZZ_CHECK(!decoder.error().isEmpty() && decoder.next(&message) == FrameDecoder::Failed);
    }
    return out;
}

// What the decoder must make of the bytes left after the last whole message.
FrameDecoder::Result expectedAfter(const QByteArray &rest)
{
    if (rest.isEmpty())
        return FrameDecoder::NeedMore;
    if (rest[0] != 'Q')
        return FrameDecoder::Failed;
    if (rest.size() < kHeaderSize)
        return FrameDecoder::NeedMore;
    if (rest[1] != 'N' || quint8(rest[2]) != kVersion || !isKnownType(quint8(rest[3])))
        return FrameDecoder::Failed;
    const quint32 length = qFromBigEndian<quint32>(rest.constData() + 4);
    if (length > quint32(kMaxBody))
        return FrameDecoder::Failed;
    return rest.size() < kHeaderSize + int(length) ? FrameDecoder::NeedMore : FrameDecoder::Failed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    FrameDecoder::Result whole;
    const QList<QByteArray> frames = decodeAll(input, qMax(1, input.size()), &whole);
    FrameDecoder::Result pieces;
    FUZZ_CHECK(decodeAll(input, 1 + int(size % 13), &pieces) == frames && pieces == whole);

    // The bytes each message took: header and body as its own header announced.
    int used = 0;
    for (const QByteArray &frame : frames) {
        FUZZ_CHECK(input.size() - used >= kHeaderSize);
        const int length = int(qFromBigEndian<quint32>(input.constData() + used + 4));
        FUZZ_CHECK(length <= kMaxBody && input.at(used + 3) == frame.at(3));
        used += kHeaderSize + length;
        FUZZ_CHECK(used <= input.size());
        // Only a whole CBOR map is read as a message.
        FUZZ_CHECK(QCborValue::fromCbor(input.mid(used - length, length)).isMap());
        // Re-encoded, the message decodes to itself (its encoding is a fixed point).
        if (frame.isEmpty())
            continue;
        FrameDecoder::Result again;
        FUZZ_CHECK(decodeAll(frame, frame.size(), &again) == QList<QByteArray>{frame}
                   && again == FrameDecoder::NeedMore);
        const QCborMap body = QCborValue::fromCbor(frame.mid(kHeaderSize)).toMap();
        for (auto it = body.constBegin(); it != body.constEnd(); ++it) {
            if (!it.key().isString())
                continue;
            const QByteArray key = it.key().toString().toUtf8();
            FUZZ_CHECK(textField(body, key.constData(), 16).toUtf8().size() <= 16);
            FUZZ_CHECK(bytesField(body, key.constData(), 16).size() <= 16);
            intField(body, key.constData());
            boolField(body, key.constData());
            doubleField(body, key.constData());
        }
    }
    FUZZ_CHECK(whole == expectedAfter(input.mid(used)));

    // A message of the input's bytes and text, as the client and helper write them, is read.
    const Message made{Type::Connect,
                       QCborMap{{QStringLiteral("seq"), qint64(size)},
                                {QStringLiteral("config"), input},
                                {QStringLiteral("server"), QString::fromUtf8(input)}}};
    FrameDecoder::Result result;
    FUZZ_CHECK(decodeAll(encode(made), 1 + int(size % 5), &result)
               == QList<QByteArray>{encode(made)});
    return 0;
}
