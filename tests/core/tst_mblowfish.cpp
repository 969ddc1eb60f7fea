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
    void decryptsOpenSslCiphertextOfRandomBlocks();
    void paddingAddsOneToEightBytesAndRoundTrips_data();
    void paddingAddsOneToEightBytesAndRoundTrips();
    void paddingBytesAllHoldThePadLength();
    void paddingOffRejectsPartialBlockWithWarning();
    void paddingOffKeepsWholeBlocksUnchangedInLength();
    void decryptRejectsPadLengthOutOfRange_data();
    void decryptRejectsPadLengthOutOfRange();
    void decryptRejectsInconsistentPadBytes();
    void decryptRejectsLengthNotMultipleOfEight_data();
    void decryptRejectsLengthNotMultipleOfEight();
    void equalBlocksEncryptEquallyAtAnyPosition();
    void emptyKeyFailsWithWarning();
    void emptyInputGivesEmptyOutputSilently();
};

void TestMBlowfish::encryptsStandardKnownAnswerVectors_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    // The published Blowfish ECB test set (key, clear text, ciphertext).
    const char *const vectors[][3] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
        {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
        {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
        {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
        {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
        {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
        {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
        {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
        {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
        {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
        {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
        {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
        {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
        {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
        {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
        {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
        {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
        {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
        {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
        {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
        {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
        {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
        {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
        {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
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
    }
}

void TestMBlowfish::decryptsOpenSslCiphertextOfRandomBlocks()
{
    QRandomGenerator rng(0xc0ffee42u);
    for (int round = 0; round < 300; ++round) {
        const QByteArray key = randomBytes(rng, 1 + int(rng.bounded(56)));
        const QByteArray cipher = randomBytes(rng, 8 * (1 + int(rng.bounded(8))));

        MBlowfish bf(key);
        QCOMPARE(bf.decrypted(cipher), openSslEcb(key, cipher, BF_DECRYPT));
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

void TestMBlowfish::paddingOffKeepsWholeBlocksUnchangedInLength()
{
    const QByteArray clear("0123456789abcdef");
    MBlowfish bf("some key");
    const QByteArray cipher = bf.encrypted(clear);
    QCOMPARE(cipher.size(), clear.size());
    QVERIFY(cipher != clear);
    QCOMPARE(bf.decrypted(cipher), clear);
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

void TestMBlowfish::equalBlocksEncryptEquallyAtAnyPosition()
{
    const QByteArray blockA("SameBlok");
    const QByteArray blockB("Other!!!");
    MBlowfish bf("ecb key");
    const QByteArray cipher = bf.encrypted(blockA + blockB + blockA);
    QCOMPARE(cipher.size(), 24);
    QCOMPARE(cipher.mid(0, 8), cipher.mid(16, 8));
    QVERIFY(cipher.mid(0, 8) != cipher.mid(8, 8));
    QCOMPARE(cipher.mid(0, 8), bf.encrypted(blockA));
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
