// The enciphered cache files and "Ovpn" fields against the openssl command line tool: each
// kind well made, damaged, or made under another key; the private login cache; base64.

#include "encryptedfiles.h"
#include "logcapture.h"
#include "mconfig.h"
#include "mdeploy.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// The key texts cut to 15 characters plus a zero byte, as the files have always had them.
const QByteArray kFileKey = QByteArray("kq7_storage_key\0", 16);

QByteArray ovpnKey()
{
    return Deploy::ovpnKey().left(15) + QByteArray(1, '\0');
}

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

} // namespace

class TstEncryptedFiles : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // AES-128-CBC, zero IV, by the openssl tool; empty on failure.
    QByteArray openssl(const QByteArray &key, bool padding, const QByteArray &plain)
    {
        if (!writeAll(path(QStringLiteral("plain")), plain))
            return QByteArray();
        QStringList arguments{QStringLiteral("enc"),  QStringLiteral("-aes-128-cbc"),
                              QStringLiteral("-K"),   QString::fromLatin1(key.toHex()),
                              QStringLiteral("-iv"),  QString(32, QLatin1Char('0')),
                              QStringLiteral("-in"),  path(QStringLiteral("plain")),
                              QStringLiteral("-out"), path(QStringLiteral("cipher"))};
        if (!padding)
            arguments << QStringLiteral("-nopad");
        return QProcess::execute(QStringLiteral("openssl"), arguments) == 0
            ? readAll(path(QStringLiteral("cipher")))
            : QByteArray();
    }

    QTemporaryDir m_dir;
    // One for every field row, as a list parse uses one: a broken field must not disturb the
    // ones after it.
    ConfigDecryptor m_decryptor;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty(),
                 "the openssl command line tool is needed (Debian package openssl)");
    }

    // damage: "" (well made), "cut" (not whole blocks), "padding" (written without padding,
    // the last bytes being a bad one), "key" (another key), "garbage" (a field that is no
    // base64). expected: what the reader gives (for "key": anything but the plain text).
    void opensslFiles_data()
    {
        QTest::addColumn<bool>("cache"); // else an "Ovpn" field
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *tag, bool cache, const QByteArray &plain,
                            const char *damage, const QByteArray &expected) {
            QTest::newRow(tag) << cache << plain << QString::fromLatin1(damage) << expected;
        };
        const QByteArray utf8 = QByteArray("Zürich, 東京, Москва ✓\n");
        const QByteArray config(
            "client\nremote 203.0.113.7 443\n# Zürich – 东京\n<ca>\nMIIB\n</ca>\n");
        const QByteArray fifteen("fifteen bytes!!");
        row("cache, one block: a whole padding block", true, "0123456789abcdef", "",
            "0123456789abcdef");
        row("cache, non-ASCII", true, utf8, "", utf8);
        row("cache, kilobytes", true, utf8.repeated(300), "", utf8.repeated(300));
        row("cache, cut", true, utf8, "cut", "");
        row("cache, padding count zero", true, fifteen + '\0', "padding", fifteen + '\0');
        row("cache, padding bytes differ", true, fifteen.left(12) + "\x03\x04\x02\x04", "padding",
            fifteen.left(12));
        row("cache, padding over a block", true, QByteArray(31, 'q') + char(20), "padding",
            QByteArray(12, 'q'));
        row("cache, padding beyond the text", true, fifteen + '\xff', "padding", "");
        row("cache, all sixteen key characters", true, utf8, "key", utf8);
        row("field, empty", false, "", "", "");
        row("field, non-ASCII", false, config, "", config);
        row("field, bad padding", false, QByteArray(31, 'q') + char(5), "padding",
            QByteArray(27, 'q'));
        row("field, 15 bytes", false, QByteArray(15, 'a'), "", QByteArray(15, 'a'));
        row("field, cut", false, config, "cut", QByteArray());
        row("field, 16 bytes", false, QByteArray(16, 'b'), "", QByteArray(16, 'b'));
        row("field, garbage", false, config, "garbage", QByteArray());
        row("field, 17 bytes", false, QByteArray(17, 'c'), "", QByteArray(17, 'c'));
        row("field, the file key", false, config, "key", config);
        row("field, kilobyte", false, QByteArray(1000, 'z'), "", QByteArray(1000, 'z'));
    }
    void opensslFiles()
    {
        QFETCH(bool, cache);
        QFETCH(QByteArray, plain);
        QFETCH(QString, damage);
        QFETCH(QByteArray, expected);
        LogCapture log;
        QByteArray key = cache ? kFileKey : ovpnKey();
        if (damage == QLatin1String("key"))
            key = cache ? QByteArray("kq7_storage_key1") : kFileKey;
        QByteArray cipher = openssl(key, damage != QLatin1String("padding"), plain);
        QVERIFY(!cipher.isEmpty());
        if (damage == QLatin1String("cut"))
            cipher.chop(cache ? 15 : 1);
        QByteArray got;
        if (cache) {
            const QString file = path(QStringLiteral("server_content.fg"));
            if (damage.isEmpty()) { // written the same, byte for byte
                QVERIFY(save_config(file, QString::fromUtf8(plain)));
                QCOMPARE(readAll(file).toHex(), cipher.toHex());
            }
            QVERIFY(writeAll(file, cipher));
            got = load_config(file).toUtf8();
        } else {
            const QString field = damage == QLatin1String("garbage")
                ? QStringLiteral("not base64 at all!")
                : QString::fromLatin1(cipher.toBase64());
            const QString text = m_decryptor.decryptBase64(field);
            const QString alone = decryptConfigText(decodeBase64(field));
            QCOMPARE(text, alone);
            // Nothing decrypted is null; an empty configuration is not.
            if (damage != QLatin1String("key"))
                QCOMPARE(text.isNull(), expected.isNull());
            got = text.toUtf8();
        }
        if (damage == QLatin1String("key"))
            QVERIFY(got != plain);
        else
            QCOMPARE(got, expected);
    }

    void cacheNeedsATextAndAFolder()
    {
        LogCapture log;
        const QString file = path(QStringLiteral("never.fg"));
        QVERIFY(!save_config(file, QString()));
        QVERIFY(!save_config(QString(), QStringLiteral("text")));
        QVERIFY(!save_config(path(QStringLiteral("no/such/folder/x.fg")), QStringLiteral("text")));
        QVERIFY(!QFile::exists(file));
        QVERIFY(load_config(file).isEmpty());
        // A shorter text replaces a longer one whole.
        QVERIFY(save_config(file, QString(100, QLatin1Char('L'))));
        QVERIFY(save_config(file, QStringLiteral("short")));
        QCOMPARE(load_config(file), QStringLiteral("short"));
    }

    void loginCacheIsPrivateEnciphered()
    {
        LogCapture log;
        const QString file = path(QStringLiteral("user_content.fg"));
        const QString reply
            = QStringLiteral("{\"error\":0,\"paydate\":\"2030-05-06\",\"n\":\"größer\"}");
        // An older file readable by others, and a permissive umask: 0600 all the same.
        QVERIFY(writeAll(file, "an older, much longer content that must be replaced entirely"));
        QVERIFY(QFile::setPermissions(
            file, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
        const mode_t oldMask = ::umask(0);
        const bool saved = save_logiInfo(file, reply);
        ::umask(oldMask);
        QVERIFY(saved);
        struct stat st = {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
        QCOMPARE(readLoginCache(file), reply);
        QCOMPARE(QString::fromLatin1(readAll(file)), MConfig::encipherSecret(reply));
        QVERIFY(!readAll(file).contains("paydate"));

        QVERIFY(!save_logiInfo(path(QStringLiteral("never_user.fg")), QString()));
        QVERIFY(!QFile::exists(path(QStringLiteral("never_user.fg"))));
        QVERIFY(readLoginCache(path(QStringLiteral("never_user.fg"))).isEmpty());
        QVERIFY(writeAll(file, QByteArray()));
        QVERIFY(readLoginCache(file).isEmpty());
    }

    void decodeBase64StopsAtPaddingOrForeignCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("two-character tail") << QStringLiteral("QUJDRA") << QByteArray("ABCD");
        QTest::newRow("lone tail character dropped")
            << QStringLiteral("QUJDR") << QByteArray("ABC");
        QTest::newRow("stops at =") << QStringLiteral("QUI=QUJD") << QByteArray("AB");
        QTest::newRow("stops at non-ASCII") << QStringLiteral("QUJDé") << QByteArray("ABC");
        QTest::newRow("plus and slash") << QStringLiteral("+/+/") << QByteArray("\xfb\xff\xbf");
        QTest::newRow("empty") << QString() << QByteArray();
        // Whole texts as Qt encodes them, of every length modulo 3.
        for (const int length : {1, 2, 3, 64, 65, 66}) {
            QByteArray bytes(length, '\0');
            for (int i = 0; i < length; ++i)
                bytes[i] = char(i * 37 + 11);
            QTest::addRow("Qt's encoding of %d bytes", length)
                << QString::fromLatin1(bytes.toBase64()) << bytes;
        }
    }
    void decodeBase64StopsAtPaddingOrForeignCharacter()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(decodeBase64(text), bytes);
    }
};

QTEST_GUILESS_MAIN(TstEncryptedFiles)
#include "tst_encryptedfiles.moc"
