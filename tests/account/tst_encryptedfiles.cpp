#include "encryptedfiles.h"
#include "mconfig.h"
#include "mdeploy.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The files' key is the 16-character key text cut to 15 characters plus a zero byte.
const QByteArray kFileKeyHex = QByteArray("kq7_storage_key\0", 16).toHex();
const QByteArray kZeroIvHex(32, '0');

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size() && file.flush();
}

// Runs the openssl command line tool on a file; empty on any failure.
QByteArray opensslEnc(const QStringList &arguments, const QString &input, const QString &output)
{
    QProcess process;
    process.start(QStringLiteral("openssl"),
                  QStringList{QStringLiteral("enc")} + arguments
                      + QStringList{QStringLiteral("-in"), input, QStringLiteral("-out"), output});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning() << "openssl failed:" << process.readAllStandardError();
        return QByteArray();
    }
    return readAll(output);
}

QStringList aesArguments(const QByteArray &keyHex, bool decrypt, bool padding)
{
    QStringList args{QStringLiteral("-aes-128-cbc"), QStringLiteral("-K"),
                     QString::fromLatin1(keyHex), QStringLiteral("-iv"),
                     QString::fromLatin1(kZeroIvHex)};
    if (decrypt)
        args << QStringLiteral("-d");
    if (!padding)
        args << QStringLiteral("-nopad");
    return args;
}

// Collects what the code under test prints to the standard output.
class StdoutCapture
{
public:
    explicit StdoutCapture(const QString &path)
        : m_path(path)
    {
        std::fflush(stdout);
        m_saved = ::dup(STDOUT_FILENO);
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::dup2(fd, STDOUT_FILENO);
            ::close(fd);
        }
    }
    ~StdoutCapture() { finish(); }

    QByteArray finish()
    {
        if (m_saved >= 0) {
            std::fflush(stdout);
            ::dup2(m_saved, STDOUT_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
        return readAll(m_path);
    }

private:
    QString m_path;
    int m_saved = -1;
};

} // namespace

class TstEncryptedFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void saveConfigMatchesOpensslByteForByte_data();
    void saveConfigMatchesOpensslByteForByte();
    void fileKeyUsesOnlyFifteenCharactersOfTheKeyText();
    void sixteenByteTextGetsAWholePaddingBlock();
    void savedConfigReadsBackIncludingNonAscii();
    void saveConfigReplacesAnOlderFile();
    void emptyTextOrFileNameWritesNothing();
    void loadConfigOfMissingFileIsEmptyAndLogged();
    void badPaddingIsReportedOnStdoutAndStillRemoved_data();
    void badPaddingIsReportedOnStdoutAndStillRemoved();
    void validPaddingPrintsNothing();
    void partialOrEmptyCipherFileIsEmpty();

    void loginCacheIsPrivateAndReadsBack();
    void loginCacheTightensAnOlderFile();
    void loginCacheKeepsTheStoredSecretFormat();
    void loginCacheOfMissingOrEmptyFileIsEmpty();
    void emptyLoginTextWritesNothing();

    void decodeBase64MatchesQtForWholeTexts();
    void decodeBase64StopsAtPaddingOrForeignCharacter_data();
    void decodeBase64StopsAtPaddingOrForeignCharacter();
    void configTextFromOpensslDecrypts();
    void configTextUnderAnotherKeyDoesNotDecrypt();
    void oneDecryptorForManyFieldsGivesWhatEachCallGives();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TstEncryptedFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty(),
             "the openssl command line tool is needed (Debian package openssl)");
}

void TstEncryptedFiles::saveConfigMatchesOpensslByteForByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("one character") << QStringLiteral("x");
    QTest::newRow("ten bytes") << QStringLiteral("0123456789");
    QTest::newRow("fifteen bytes") << QStringLiteral("0123456789abcde");
    QTest::newRow("sixteen bytes") << QStringLiteral("0123456789abcdef");
    QTest::newRow("seventeen bytes") << QStringLiteral("0123456789abcdefg");
    QTest::newRow("non-ASCII") << QStringLiteral("Zürich, 東京, Москва ✓");
    QTest::newRow("server list") << QStringLiteral(
        "{\"Servers\":[{\"Ip\":\"203.0.113.7\",\"Name\":\"Tokyo 1\",\"Country\":\"JP\"}]}");
    QString longText;
    for (int i = 0; i < 500; ++i)
        longText += QString::number(i) + QStringLiteral(" línea\n");
    QTest::newRow("several kilobytes") << longText;
}

void TstEncryptedFiles::saveConfigMatchesOpensslByteForByte()
{
    QFETCH(QString, text);
    const QString ours = path(QStringLiteral("server_content.fg"));
    const QString plain = path(QStringLiteral("plain.txt"));
    const QString theirs = path(QStringLiteral("openssl.bin"));
    QVERIFY(save_config(ours, text));
    QVERIFY(writeAll(plain, text.toUtf8()));
    const QByteArray expected = opensslEnc(aesArguments(kFileKeyHex, false, true), plain, theirs);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(readAll(ours).toHex(), expected.toHex());
    // The padded length: plain length plus 16, rounded down to a multiple of 16.
    QCOMPARE(readAll(ours).size(), (text.toUtf8().size() + 16) / 16 * 16);
}

void TstEncryptedFiles::fileKeyUsesOnlyFifteenCharactersOfTheKeyText()
{
    const QString ours = path(QStringLiteral("key.fg"));
    const QString plain = path(QStringLiteral("key.txt"));
    QVERIFY(save_config(ours, QStringLiteral("which key?")));
    QVERIFY(writeAll(plain, "which key?"));
    const QByteArray allSixteen = QByteArray("kq7_storage_key1").toHex();
    const QByteArray other
        = opensslEnc(aesArguments(allSixteen, false, true), plain, path(QStringLiteral("k16")));
    QVERIFY(!other.isEmpty());
    QVERIFY(readAll(ours) != other);
    const QByteArray same
        = opensslEnc(aesArguments(kFileKeyHex, false, true), plain, path(QStringLiteral("k15")));
    QCOMPARE(readAll(ours), same);
}

void TstEncryptedFiles::sixteenByteTextGetsAWholePaddingBlock()
{
    const QString file = path(QStringLiteral("sixteen.fg"));
    QVERIFY(save_config(file, QStringLiteral("ABCDEFGHIJKLMNOP")));
    QCOMPARE(QFileInfo(file).size(), qint64(32));
    const QByteArray decrypted = opensslEnc(aesArguments(kFileKeyHex, true, false), file,
                                            path(QStringLiteral("sixteen.dec")));
    QCOMPARE(decrypted, QByteArray("ABCDEFGHIJKLMNOP") + QByteArray(16, char(16)));

    QVERIFY(save_config(file, QStringLiteral("0123456789")));
    QCOMPARE(QFileInfo(file).size(), qint64(16));
}

void TstEncryptedFiles::savedConfigReadsBackIncludingNonAscii()
{
    const QString file = path(QStringLiteral("roundtrip.fg"));
    const QStringList texts{
        QStringLiteral("a"),
        QStringLiteral("0123456789abcdef"),
        QStringLiteral("Grüße aus Köln – 你好，世界 – שלום – 🙂"),
        QString(1000, QChar(0x4E2D)),
    };
    for (const QString &text : texts) {
        QVERIFY(save_config(file, text));
        QCOMPARE(load_config(file), text);
    }
}

void TstEncryptedFiles::saveConfigReplacesAnOlderFile()
{
    const QString file = path(QStringLiteral("replace.fg"));
    QVERIFY(save_config(file, QString(100, QLatin1Char('L'))));
    QVERIFY(save_config(file, QStringLiteral("short")));
    QCOMPARE(QFileInfo(file).size(), qint64(16));
    QCOMPARE(load_config(file), QStringLiteral("short"));
}

void TstEncryptedFiles::emptyTextOrFileNameWritesNothing()
{
    const QString file = path(QStringLiteral("never.fg"));
    QTest::ignoreMessage(QtInfoMsg, "save_config failed,filename is empty or config is empty");
    QVERIFY(!save_config(file, QString()));
    QVERIFY(!QFile::exists(file));
    QTest::ignoreMessage(QtInfoMsg, "save_config failed,filename is empty or config is empty");
    QVERIFY(!save_config(QString(), QStringLiteral("text")));

    const QString inMissingFolder = path(QStringLiteral("no/such/folder/x.fg"));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^fopen filename: ")));
    QVERIFY(!save_config(inMissingFolder, QStringLiteral("text")));
}

void TstEncryptedFiles::loadConfigOfMissingFileIsEmptyAndLogged()
{
    const QString file = path(QStringLiteral("absent.fg"));
    QTest::ignoreMessage(
        QtInfoMsg,
        qPrintable(QStringLiteral("load_config failed,file does not exists: \"%1\"").arg(file)));
    QVERIFY(load_config(file).isEmpty());
}

void TstEncryptedFiles::badPaddingIsReportedOnStdoutAndStillRemoved_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("result");
    const QByteArray text("fifteen bytes!!");
    QTest::newRow("last byte zero") << text + char(0) << text + char(0);
    QTest::newRow("count bytes differ") << text.left(12) + "\x03\x04\x02\x04" << text.left(12);
    QTest::newRow("count above a block, within the text")
        << QByteArray(31, 'q') + char(20) << QByteArray(12, 'q');
    QTest::newRow("count beyond the text") << text + char(0xFF) << QByteArray();
}

void TstEncryptedFiles::badPaddingIsReportedOnStdoutAndStillRemoved()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, result);
    const QString clear = path(QStringLiteral("bad.plain"));
    const QString file = path(QStringLiteral("bad.fg"));
    QVERIFY(writeAll(clear, plain));
    QVERIFY(!opensslEnc(aesArguments(kFileKeyHex, false, false), clear, file).isEmpty());

    QString text;
    {
        StdoutCapture capture(path(QStringLiteral("stdout.txt")));
        text = load_config(file);
        QCOMPARE(capture.finish(), QByteArray("padding error.\n"));
    }
    QCOMPARE(text.size(), QString::fromUtf8(result.constData(), result.size()).size());
    QCOMPARE(text.toUtf8(), result);
}

void TstEncryptedFiles::validPaddingPrintsNothing()
{
    const QString file = path(QStringLiteral("good.fg"));
    QVERIFY(save_config(file, QStringLiteral("good padding")));
    StdoutCapture capture(path(QStringLiteral("stdout-good.txt")));
    const QString text = load_config(file);
    QCOMPARE(capture.finish(), QByteArray());
    QCOMPARE(text, QStringLiteral("good padding"));
}

void TstEncryptedFiles::partialOrEmptyCipherFileIsEmpty()
{
    const QString file = path(QStringLiteral("cut.fg"));
    QVERIFY(save_config(file, QString(40, QLatin1Char('c'))));
    const QByteArray whole = readAll(file);
    QCOMPARE(whole.size(), 48);
    for (const int length : {0, 1, 15, 17, 47}) {
        QVERIFY(writeAll(file, whole.left(length)));
        QTest::ignoreMessage(QtInfoMsg,
                             QRegularExpression(QStringLiteral("^load_config failed,error:")));
        QVERIFY(load_config(file).isEmpty());
    }
    // Whole blocks without their padding block: the last byte ("c") is taken as the count.
    QVERIFY(writeAll(file, whole.left(32)));
    StdoutCapture capture(path(QStringLiteral("stdout-cut.txt")));
    const QString prefix = load_config(file);
    QCOMPARE(capture.finish(), QByteArray("padding error.\n"));
    QVERIFY(prefix.isEmpty());
}

void TstEncryptedFiles::loginCacheIsPrivateAndReadsBack()
{
    const QString file = path(QStringLiteral("user_content.fg"));
    const QString reply
        = QStringLiteral("{\"error\":0,\"expire\":\"2031-01-02 03:04:05\",\"note\":\"größer\"}");
    // Even with a permissive umask the file must not be readable by others.
    const mode_t oldMask = ::umask(0);
    const bool saved = save_logiInfo(file, reply);
    ::umask(oldMask);
    QVERIFY(saved);
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0600);
    QCOMPARE(readLoginCache(file), reply);
}

void TstEncryptedFiles::loginCacheTightensAnOlderFile()
{
    const QString file = path(QStringLiteral("old_user_content.fg"));
    QVERIFY(writeAll(file, "an older, much longer content that must be replaced entirely"));
    QVERIFY(QFile::setPermissions(file,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                      | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(save_logiInfo(file, QStringLiteral("{\"error\":0}")));
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0600);
    QCOMPARE(readLoginCache(file), QStringLiteral("{\"error\":0}"));
}

void TstEncryptedFiles::loginCacheKeepsTheStoredSecretFormat()
{
    const QString file = path(QStringLiteral("format_user_content.fg"));
    const QString reply = QStringLiteral("{\"error\":0,\"paydate\":\"2030-05-06 07:08:09\"}");
    QVERIFY(save_logiInfo(file, reply));
    const QByteArray content = readAll(file);
    QCOMPARE(QString::fromLatin1(content), MConfig::encipherSecret(reply));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]+$"))
                .match(QString::fromLatin1(content))
                .hasMatch());
    QVERIFY(!content.contains("paydate"));
}

void TstEncryptedFiles::loginCacheOfMissingOrEmptyFileIsEmpty()
{
    QVERIFY(readLoginCache(path(QStringLiteral("no_user_content.fg"))).isEmpty());
    const QString empty = path(QStringLiteral("empty_user_content.fg"));
    QVERIFY(writeAll(empty, QByteArray()));
    QVERIFY(readLoginCache(empty).isEmpty());
}

void TstEncryptedFiles::emptyLoginTextWritesNothing()
{
    const QString file = path(QStringLiteral("never_user_content.fg"));
    QTest::ignoreMessage(QtInfoMsg, "save_logiInfo failed,filename is empty or config is empty");
    QVERIFY(!save_logiInfo(file, QString()));
    QVERIFY(!QFile::exists(file));
    QTest::ignoreMessage(QtInfoMsg, "save_logiInfo failed,filename is empty or config is empty");
    QVERIFY(!save_logiInfo(QString(), QStringLiteral("{}")));
}

void TstEncryptedFiles::decodeBase64MatchesQtForWholeTexts()
{
    QRandomGenerator random(20240611);
    for (int length = 0; length < 70; ++length) {
        QByteArray bytes(length, '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        const QString encoded = QString::fromLatin1(bytes.toBase64());
        QCOMPARE(decodeBase64(encoded), bytes);
    }
}

void TstEncryptedFiles::decodeBase64StopsAtPaddingOrForeignCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("two-character tail") << QStringLiteral("QUJDRA") << QByteArray("ABCD");
    QTest::newRow("three-character tail") << QStringLiteral("QUJDREU") << QByteArray("ABCDE");
    QTest::newRow("lone tail character dropped") << QStringLiteral("QUJDR") << QByteArray("ABC");
    QTest::newRow("stops at =") << QStringLiteral("QUI=QUJD") << QByteArray("AB");
    QTest::newRow("stops at a line break") << QStringLiteral("QUJD\nREVG") << QByteArray("ABC");
    QTest::newRow("stops at -") << QStringLiteral("QUJD-REVG") << QByteArray("ABC");
    QTest::newRow("stops at non-ASCII") << QStringLiteral("QUJDé") << QByteArray("ABC");
    QTest::newRow("plus and slash") << QStringLiteral("+/+/") << QByteArray("\xfb\xff\xbf");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TstEncryptedFiles::decodeBase64StopsAtPaddingOrForeignCharacter()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(decodeBase64(text), bytes);
}

void TstEncryptedFiles::configTextFromOpensslDecrypts()
{
    const QByteArray config("client\ndev tun\nproto udp\nremote 203.0.113.9 1194\n"
                            "# Zürich – 东京\n<ca>\n-----BEGIN CERTIFICATE-----\nMIIB\n"
                            "-----END CERTIFICATE-----\n</ca>\n");
    const QString clear = path(QStringLiteral("config.ovpn"));
    QVERIFY(writeAll(clear, config));
    // The key is the 15-character deployment text followed by a zero byte.
    const QByteArray keyHex = QByteArray(Deploy::ovpnKey() + QByteArray(1, '\0')).toHex();
    QCOMPARE(keyHex.size(), 32);
    const QByteArray ovpnField
        = opensslEnc(aesArguments(keyHex, false, true)
                         << QStringLiteral("-base64") << QStringLiteral("-A"),
                     clear, path(QStringLiteral("config.b64")))
              .trimmed();
    QVERIFY(!ovpnField.isEmpty());
    QCOMPARE(decryptConfigText(decodeBase64(QString::fromLatin1(ovpnField))),
             QString::fromUtf8(config));
}

void TstEncryptedFiles::configTextUnderAnotherKeyDoesNotDecrypt()
{
    const QByteArray config("remote 203.0.113.9 1194\nproto tcp\n");
    const QString clear = path(QStringLiteral("other.ovpn"));
    QVERIFY(writeAll(clear, config));
    const QByteArray cipher = opensslEnc(aesArguments(kFileKeyHex, false, true), clear,
                                         path(QStringLiteral("other.bin")));
    QVERIFY(!cipher.isEmpty());
    StdoutCapture capture(path(QStringLiteral("stdout-other.txt")));
    const QString text = decryptConfigText(cipher);
    capture.finish();
    QVERIFY(text != QString::fromUtf8(config));
    // Not a whole number of blocks: nothing is decrypted.
    QVERIFY(decryptConfigText(cipher.left(cipher.size() - 1)).isEmpty());
    QVERIFY(decryptConfigText(QByteArray()).isEmpty());
}

void TstEncryptedFiles::oneDecryptorForManyFieldsGivesWhatEachCallGives()
{
    // A list's fields in a row: lengths around the block size, non-ASCII text, and broken
    // fields between good ones, which must not disturb the fields after them.
    const QByteArray keyHex = QByteArray(Deploy::ovpnKey() + QByteArray(1, '\0')).toHex();
    QList<QByteArray> configs{QByteArray(),
                              QByteArray(15, 'a'),
                              QByteArray(16, 'b'),
                              QByteArray(17, 'c'),
                              QByteArray("client\nremote 203.0.113.7 443\n# Zürich – 东京\n"),
                              QByteArray(1000, 'z')};
    QList<QString> fields;
    for (int i = 0; i < configs.size(); ++i) {
        const QString clear = path(QStringLiteral("field%1.ovpn").arg(i));
        QVERIFY(writeAll(clear, configs.at(i)));
        const QByteArray field
            = opensslEnc(aesArguments(keyHex, false, true)
                             << QStringLiteral("-base64") << QStringLiteral("-A"),
                         clear, path(QStringLiteral("field%1.b64").arg(i)))
                  .trimmed();
        QVERIFY(!field.isEmpty());
        fields << QString::fromLatin1(field);
    }
    // Padding that is not valid: reported, and the count still dropped.
    const QString badClear = path(QStringLiteral("badfield.plain"));
    QVERIFY(writeAll(badClear, QByteArray(31, 'q') + char(5)));
    const QByteArray badField = opensslEnc(aesArguments(keyHex, false, false)
                                               << QStringLiteral("-base64") << QStringLiteral("-A"),
                                           badClear, path(QStringLiteral("badfield.b64")))
                                    .trimmed();
    QVERIFY(!badField.isEmpty());

    const QList<QString> inputs{fields.at(0),
                                fields.at(4),
                                QString::fromLatin1(badField),
                                fields.at(1),
                                fields.at(4).left(10), // not a whole number of blocks
                                fields.at(2),
                                QString(),
                                fields.at(3),
                                QStringLiteral("not base64 at all!"),
                                fields.at(5),
                                fields.at(1)};
    const QList<QByteArray> expected{configs.at(0), configs.at(4), QByteArray(27, 'q'),
                                     configs.at(1), QByteArray(),  configs.at(2),
                                     QByteArray(),  configs.at(3), QByteArray(),
                                     configs.at(5), configs.at(1)};
    StdoutCapture capture(path(QStringLiteral("stdout-fields.txt")));
    ConfigDecryptor decryptor;
    QList<QString> results;
    for (const QString &input : inputs) {
        results << decryptor.decryptBase64(input);
        QCOMPARE(decryptor.decrypt(decodeBase64(input)), results.last());
    }
    QCOMPARE(capture.finish(), QByteArray("padding error.\npadding error.\n"));
    for (int i = 0; i < inputs.size(); ++i) {
        QCOMPARE(results.at(i), QString::fromUtf8(expected.at(i)));
        QCOMPARE(results.at(i), decryptConfigText(decodeBase64(inputs.at(i))));
        // What nothing could be decrypted from is null, as decryptConfigText gives it.
        QCOMPARE(results.at(i).isNull(), decryptConfigText(decodeBase64(inputs.at(i))).isNull());
    }
    QVERIFY(results.at(4).isNull());
    QVERIFY(!results.at(0).isNull());
}

QTEST_GUILESS_MAIN(TstEncryptedFiles)
#include "tst_encryptedfiles.moc"
