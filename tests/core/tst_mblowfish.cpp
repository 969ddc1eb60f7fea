#include "mblowfish.h"

#include <QRandomGenerator>
#include <QtTest>

#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

namespace {

const char kEmptyKeyWarning[] = "Cannot init. Key is empty.";
const char kNoPaddingWarning[]
    = "Cannot encrypt. Clear-text length is not a multiple of 8 and padding is not enabled.";

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

// Counts every message logged while it lives, to prove that failures stay silent.
class MessageCounter
{
public:
    MessageCounter()
        : m_previous(qInstallMessageHandler(&MessageCounter::count))
    {
        s_count = 0;
    }
    ~MessageCounter() { qInstallMessageHandler(m_previous); }
    MessageCounter(const MessageCounter &) = delete;
    MessageCounter &operator=(const MessageCounter &) = delete;
    int messages() const { return s_count; }

private:
    static void count(QtMsgType, const QMessageLogContext &, const QString &) { ++s_count; }

    static int s_count;
    QtMessageHandler m_previous;
};

int MessageCounter::s_count = 0;

} // namespace

class TestMBlowfish : public QObject
{
    Q_OBJECT

private slots:
    void encryptsStandardKnownAnswerVectors_data();
    void encryptsStandardKnownAnswerVectors();
    void matchesOpenSslOnRandomKeysAndTexts();
    void paddingAddsOneToEightBytesAndRoundTrips_data();
    void paddingAddsOneToEightBytesAndRoundTrips();
    void paddingBytesAllHoldThePadLength();
    void paddingOffRejectsPartialBlockWithWarning();
    void decryptRejectsPadLengthOutOfRange_data();
    void decryptRejectsPadLengthOutOfRange();
    void decryptRejectsInconsistentPadBytes();
    void decryptRejectsLengthNotMultipleOfEight_data();
    void decryptRejectsLengthNotMultipleOfEight();
    void emptyKeyFailsWithWarning();
    void emptyInputGivesEmptyOutputSilently();
};

void TestMBlowfish::encryptsStandardKnownAnswerVectors_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    // A sample of the published Blowfish ECB test set (key, clear text, ciphertext); the
    // comparison with OpenSSL below covers other keys and lengths.
    const char *const vectors[][3] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
        {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
    };
    for (const auto &v : vectors) {
        QTest::addRow("key %s plain %s", v[0], v[1])
            << QByteArray::fromHex(v[0]) << QByteArray::fromHex(v[1]) << QByteArray::fromHex(v[2]);
    }
}

void TestMBlowfish::encryptsStandardKnownAnswerVectors()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);

    MBlowfish bf(key);
    QCOMPARE(bf.encrypted(plain).toHex().toUpper(), cipher.toHex().toUpper());
    QCOMPARE(bf.decrypted(cipher).toHex().toUpper(), plain.toHex().toUpper());
}

void TestMBlowfish::matchesOpenSslOnRandomKeysAndTexts()
{
    QRandomGenerator rng(0x5eed1234u);
    for (int round = 0; round < 300; ++round) {
        const QByteArray key = randomBytes(rng, 1 + int(rng.bounded(56)));
        const QByteArray clear = randomBytes(rng, 8 * (1 + int(rng.bounded(8))));
        const QByteArray expected = openSslEcb(key, clear, BF_ENCRYPT);

        MBlowfish encryptor(key);
        const QByteArray cipher = encryptor.encrypted(clear);
        QVERIFY2(cipher == expected,
                 qPrintable(QStringLiteral("key %1 clear %2")
                                .arg(QLatin1String(key.toHex()), QLatin1String(clear.toHex()))));
        // A fresh object proves decryption initialises on its own.
        MBlowfish decryptor(key);
        QCOMPARE(decryptor.decrypted(cipher), clear);
        // Any ciphertext, not only one this class produced.
        const QByteArray noise = randomBytes(rng, clear.size());
        QCOMPARE(decryptor.decrypted(noise), openSslEcb(key, noise, BF_DECRYPT));
    }
}

void TestMBlowfish::paddingAddsOneToEightBytesAndRoundTrips_data()
{
    QTest::addColumn<int>("clearLength");
    QTest::addColumn<int>("cipherLength");

    for (int length = 1; length <= 24; ++length)
        QTest::addRow("%d bytes", length) << length << (length / 8 + 1) * 8;
}

void TestMBlowfish::paddingAddsOneToEightBytesAndRoundTrips()
{
    QFETCH(int, clearLength);
    QFETCH(int, cipherLength);

    QByteArray clear(clearLength, Qt::Uninitialized);
    for (int i = 0; i < clearLength; ++i)
        clear[i] = char('a' + i);

    MBlowfish bf("padding key");
    bf.setPaddingEnabled(true);
    const QByteArray cipher = bf.encrypted(clear);
    QCOMPARE(cipher.size(), cipherLength);
    QCOMPARE(bf.decrypted(cipher), clear);
}

void TestMBlowfish::paddingBytesAllHoldThePadLength()
{
    const QByteArray key("pad check");
    MBlowfish bf(key);
    bf.setPaddingEnabled(true);

    const QByteArray five = openSslEcb(key, bf.encrypted("12345"), BF_DECRYPT);
    QCOMPARE(five, QByteArray("12345\x03\x03\x03"));

    const QByteArray eight = openSslEcb(key, bf.encrypted("12345678"), BF_DECRYPT);
    QCOMPARE(eight, QByteArray("12345678") + QByteArray(8, '\x08'));
}

void TestMBlowfish::paddingOffRejectsPartialBlockWithWarning()
{
    MBlowfish bf("some key");
    QTest::ignoreMessage(QtWarningMsg, kNoPaddingWarning);
    QVERIFY(bf.encrypted("12345").isEmpty());
}

void TestMBlowfish::decryptRejectsPadLengthOutOfRange_data()
{
    QTest::addColumn<int>("lastByte");

    QTest::newRow("zero") << 0x00;
    QTest::newRow("nine") << 0x09;
    QTest::newRow("sixteen") << 0x10;
    QTest::newRow("high bit") << 0x80;
    QTest::newRow("all ones") << 0xFF;
}

void TestMBlowfish::decryptRejectsPadLengthOutOfRange()
{
    QFETCH(int, lastByte);

    // 256 bytes all carrying the value: the text is long enough and every byte matches,
    // so only the range check can reject it.
    const QByteArray key("range key");
    const QByteArray clear(256, char(lastByte));
    MBlowfish bf(key);
    const QByteArray cipher = bf.encrypted(clear);
    QCOMPARE(bf.decrypted(cipher), clear);

    bf.setPaddingEnabled(true);
    MessageCounter counter;
    QVERIFY(bf.decrypted(cipher).isEmpty());
    QCOMPARE(counter.messages(), 0);
}

void TestMBlowfish::decryptRejectsInconsistentPadBytes()
{
    const QByteArray key("pad bytes");
    MBlowfish bf(key);
    bf.setPaddingEnabled(true);

    const QByteArray good = openSslEcb(key, QByteArray("abcde\x03\x03\x03"), BF_ENCRYPT);
    QCOMPARE(bf.decrypted(good), QByteArray("abcde"));

    const QByteArray bad = openSslEcb(key, QByteArray("abcde\x02\x03\x03"), BF_ENCRYPT);
    QVERIFY(bf.decrypted(bad).isEmpty());
}

void TestMBlowfish::decryptRejectsLengthNotMultipleOfEight_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("padding");

    for (int length : {1, 7, 9, 15, 17}) {
        QTest::addRow("%d bytes, padding off", length) << length << false;
        QTest::addRow("%d bytes, padding on", length) << length << true;
    }
}

void TestMBlowfish::decryptRejectsLengthNotMultipleOfEight()
{
    QFETCH(int, length);
    QFETCH(bool, padding);

    MBlowfish bf("length key");
    bf.setPaddingEnabled(padding);
    MessageCounter counter;
    QVERIFY(bf.decrypted(QByteArray(length, '\x01')).isEmpty());
    QCOMPARE(counter.messages(), 0);
}

void TestMBlowfish::emptyKeyFailsWithWarning()
{
    MBlowfish bf{QByteArray()};
    QTest::ignoreMessage(QtWarningMsg, kEmptyKeyWarning);
    QVERIFY(bf.encrypted("12345678").isEmpty());

    // Initialisation is retried, and fails again, on every use.
    QTest::ignoreMessage(QtWarningMsg, kEmptyKeyWarning);
    QVERIFY(bf.decrypted("12345678").isEmpty());

    bf.setPaddingEnabled(true);
    QTest::ignoreMessage(QtWarningMsg, kEmptyKeyWarning);
    QVERIFY(bf.encrypted("123").isEmpty());
}

void TestMBlowfish::emptyInputGivesEmptyOutputSilently()
{
    MessageCounter counter;
    for (bool padding : {false, true}) {
        MBlowfish bf("a key");
        bf.setPaddingEnabled(padding);
        QVERIFY(bf.encrypted(QByteArray()).isEmpty());
        QVERIFY(bf.decrypted(QByteArray()).isEmpty());

        // Empty input is turned away before the key is ever looked at.
        MBlowfish noKey{QByteArray()};
        noKey.setPaddingEnabled(padding);
        QVERIFY(noKey.encrypted(QByteArray()).isEmpty());
        QVERIFY(noKey.decrypted(QByteArray()).isEmpty());
    }
    QCOMPARE(counter.messages(), 0);
}

QTEST_APPLESS_MAIN(TestMBlowfish)

#include "tst_mblowfish.moc"
