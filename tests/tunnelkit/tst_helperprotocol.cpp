#include "helperprotocol.h"

#include <QtTest>

using namespace tunnelkit::wire;

class TestHelperProtocol : public QObject
{
    Q_OBJECT

private slots:
    void messagesSurviveAnySplitOfTheStream()
    {
        const QByteArray config(200 * 1024, 'c');
        const QByteArray stream
            = encode({Type::Connect,
                      QCborMap{{QStringLiteral("seq"), 7}, {QStringLiteral("config"), config}}})
            + encode({Type::Query, QCborMap()});
        for (int chunk : {1, 7, 8, 9, 4096, int(stream.size())}) {
            FrameDecoder decoder;
            QList<Message> got;
            for (int at = 0; at < stream.size(); at += chunk) {
                decoder.feed(stream.mid(at, chunk));
                Message m;
                FrameDecoder::Result r;
                while ((r = decoder.next(&m)) == FrameDecoder::Ready)
                    got << m;
                QCOMPARE(r, FrameDecoder::NeedMore);
            }
            QCOMPARE(got.size(), 2);
            QCOMPARE(got[0].type, Type::Connect);
            QCOMPARE(intField(got[0].body, "seq"), 7);
            QCOMPARE(bytesField(got[0].body, "config", kMaxBody), config);
            QCOMPARE(got[1].type, Type::Query);
        }
        // Nothing over the limit is ever put on the wire.
        QVERIFY(encode({Type::Connect,
                        QCborMap{{QStringLiteral("config"), QByteArray(kMaxBody + 1, 'x')}}})
                    .isEmpty());
    }
    void badInputFailsAndStaysFailed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wrong first byte") << QByteArray("X");
        QTest::newRow("wrong magic") << QByteArray("QX\x01\x01\x00\x00\x00\x00", 8);
        QTest::newRow("version 2") << QByteArray("QN\x02\x01\x00\x00\x00\x00", 8);
        QTest::newRow("type 6") << QByteArray("QN\x01\x06\x00\x00\x00\x00", 8);
        QTest::newRow("length over the limit") << QByteArray("QN\x01\x01\x00\x04\x40\x01", 8);
        QTest::newRow("truncated CBOR") << QByteArray("QN\x01\x01\x00\x00\x00\x02\xa1\x61", 10);
        QTest::newRow("array body") << QByteArray("QN\x01\x01\x00\x00\x00\x01\x80", 9);
    }
    void badInputFailsAndStaysFailed()
    {
        QFETCH(QByteArray, bytes);
        FrameDecoder decoder;
        decoder.feed(bytes);
        Message m;
        QCOMPARE(decoder.next(&m), FrameDecoder::Failed);
        QVERIFY(!decoder.error().isEmpty());
        decoder.feed(encode({Type::Hello, QCborMap()}));
        QCOMPARE(decoder.next(&m), FrameDecoder::Failed);
    }
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
