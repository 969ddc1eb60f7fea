#include "logcapture.h"
#include "mblowfish.h"

#include <QRandomGenerator>
#include <QtTest>

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

namespace {

QByteArray randomBytes(QRandomGenerator &rng, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(rng.bounded(256));
    return bytes;
}

// Reference Blowfish in ECB mode, block by block.
QByteArray openSslEcb(const QByteArray &key, const QByteArray &in, int direction)
{
    BF_KEY schedule;
    BF_set_key(&schedule, key.size(), reinterpret_cast<const unsigned char *>(key.constData()));
    QByteArray out(in.size(), Qt::Uninitialized);
    for (int pos = 0; pos + 8 <= in.size(); pos += 8) {
        BF_ecb_encrypt(reinterpret_cast<const unsigned char *>(in.constData() + pos),
                       reinterpret_cast<unsigned char *>(out.data() + pos), &schedule, direction);
    }
    return out;
}

} // namespace

class TestMBlowfish : public QObject
{
    Q_OBJECT

private slots:
    void knownAnswerVectors()
    {
        // A sample of the published Blowfish ECB test set: key, clear text, ciphertext.
        const char *const vectors[][3] = {
            {"0000000000000000", "0000000000000000", "4ef997456198dd78"},
            {"ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a"},
        };
        for (const auto &v : vectors) {
            MBlowfish bf(QByteArray::fromHex(v[0]));
            QCOMPARE(bf.encrypted(QByteArray::fromHex(v[1])).toHex(), QByteArray(v[2]));
            QCOMPARE(bf.decrypted(QByteArray::fromHex(v[2])).toHex(), QByteArray(v[1]));
        }
    }

    void matchesOpenSslOnRandomKeysAndTexts()
    {
        QRandomGenerator rng(0x5eed1234u);
        for (int round = 0; round < 200; ++round) {
            const QByteArray key = randomBytes(rng, 1 + int(rng.bounded(56)));
            const QByteArray clear = randomBytes(rng, 8 * (1 + int(rng.bounded(8))));
            MBlowfish encryptor(key);
            const QByteArray cipher = encryptor.encrypted(clear);
            QVERIFY2(cipher == openSslEcb(key, clear, BF_ENCRYPT), key.toHex().constData());
            // A fresh object: decryption initialises on its own, and takes any ciphertext.
            MBlowfish decryptor(key);
            QCOMPARE(decryptor.decrypted(cipher), clear);
            const QByteArray noise = randomBytes(rng, clear.size());
            QCOMPARE(decryptor.decrypted(noise), openSslEcb(key, noise, BF_DECRYPT));
        }
    }

    void paddingFillsWithItsLengthAndRoundTrips()
    {
        const QByteArray key("padding key");
        MBlowfish bf(key);
        bf.setPaddingEnabled(true);
        for (int length = 1; length <= 24; ++length) {
            const QByteArray clear = QByteArray("abcdefghijklmnopqrstuvwx").left(length);
            const QByteArray cipher = bf.encrypted(clear);
            const int pad = 8 - length % 8; // a whole block gains a full pad block
            QCOMPARE(openSslEcb(key, cipher, BF_DECRYPT), clear + QByteArray(pad, char(pad)));
            QCOMPARE(bf.decrypted(cipher), clear);
        }
        MBlowfish unpadded(key);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("padding is not enabled")));
        QVERIFY(unpadded.encrypted("12345").isEmpty());
    }

    void malformedCipherTextGivesEmptySilently_data()
    {
        QTest::addColumn<QByteArray>("clear"); // encrypted without padding, decrypted with it
        QTest::addColumn<bool>("padding");
        QTest::addColumn<int>("chop"); // bytes taken off the ciphertext

        // 256 equal bytes: long enough and every pad byte matches, so only the range check fails.
        for (int value : {0x00, 0x09, 0x10, 0x80, 0xFF})
            QTest::addRow("pad length 0x%02x", value) << QByteArray(256, char(value)) << true << 0;
        QTest::newRow("pad bytes differ") << QByteArray("abcde\x02\x03\x03") << true << 0;
        QTest::newRow("empty") << QByteArray() << true << 0;
        QTest::newRow("short by 1, padding on") << QByteArray(16, 'x') << true << 1;
        QTest::newRow("short by 7, padding off") << QByteArray(16, 'x') << false << 7;
    }

    void malformedCipherTextGivesEmptySilently()
    {
        QFETCH(QByteArray, clear);
        QFETCH(bool, padding);
        QFETCH(int, chop);
        const QByteArray key("malformed");
        const QByteArray cipher = openSslEcb(key, clear, BF_ENCRYPT).chopped(chop);
        MBlowfish bf(key);
        bf.setPaddingEnabled(padding);
        LogCapture log;
        QVERIFY(bf.decrypted(cipher).isEmpty());
        QCOMPARE(LogCapture::take(), QStringList());
    }

    void emptyKeyFailsWithWarningOnEveryUse()
    {
        MBlowfish bf{QByteArray()};
        QTest::ignoreMessage(QtWarningMsg, "Cannot init. Key is empty.");
        QVERIFY(bf.encrypted("12345678").isEmpty());
        QTest::ignoreMessage(QtWarningMsg, "Cannot init. Key is empty."); // tried again
        QVERIFY(bf.decrypted("12345678").isEmpty());
        // Empty input is turned away before the key is looked at.
        LogCapture log;
        QVERIFY(bf.encrypted(QByteArray()).isEmpty());
        QCOMPARE(LogCapture::take(), QStringList());
    }
};

QTEST_APPLESS_MAIN(TestMBlowfish)
#include "tst_mblowfish.moc"
