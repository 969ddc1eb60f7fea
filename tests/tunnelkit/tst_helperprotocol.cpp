#include "helperprotocol.h"

#include <QtTest>

using namespace tunnelkit::wire;

class TestHelperProtocol : public QObject
{
    Q_OBJECT

private slots:
    // A configuration far larger than the fuzzing makes, whatever the reads.
    void messagesSurviveAnySplitOfTheStream()
    {
        const QByteArray config(200 * 1024, 'c');
        const Message connect{
            Type::Connect,
            QCborMap{{QStringLiteral("seq"), 7}, {QStringLiteral("config"), config}}};
        const QByteArray stream = encode(connect) + encode({Type::Query, QCborMap()});
        for (int chunk : {1, 7, 8, 9, 4096, int(stream.size())}) {
            FrameDecoder decoder;
            QByteArray again;
            for (int at = 0; at < stream.size(); at += chunk) {
                decoder.feed(stream.mid(at, chunk));
                Message m;
                FrameDecoder::Result r;
                while ((r = decoder.next(&m)) == FrameDecoder::Ready)
                    again += encode(m);
                QCOMPARE(r, FrameDecoder::NeedMore);
            }
            QVERIFY(again == stream);
        }
        QCOMPARE(bytesField(connect.body, "config", kMaxBody), config);
        // Nothing over the limit is ever put on the wire.
        QVERIFY(encode({Type::Connect,
                        QCborMap{{QStringLiteral("config"), QByteArray(kMaxBody + 1, 'x')}}})
                    .isEmpty());
    }
    // Bad magic, version, type, length or body, and staying failed: fuzz/helperwire.cpp.
    void fieldsOfTheWrongTypeOrSizeGiveTheFallback()
    {
        const QCborMap body{{QStringLiteral("text"), 5},
                            {QStringLiteral("long"), QString(2000, QLatin1Char('a'))},
                            {QStringLiteral("flag"), QStringLiteral("true")},
                            {QStringLiteral("seq"), QStringLiteral("7")}};
        QCOMPARE(textField(body, "text"), QString());
        QCOMPARE(textField(body, "long"), QString());
        QCOMPARE(textField(body, "long", 4096).size(), 2000);
        QCOMPARE(boolField(body, "flag", true), true);
        QCOMPARE(intField(body, "seq", -1), -1);
        QCOMPARE(bytesField(body, "text", 10), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestHelperProtocol)
#include "tst_helperprotocol.moc"
