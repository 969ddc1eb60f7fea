// The enciphered cache files and "Ovpn" fields against the openssl command line tool: each
// kind well made, damaged, or made under another key; the private login cache; base64.

#include "encryptedfiles.h"
#include "logcapture.h"
#include "mconfig.h"
#include "mdeploy.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSettings>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>

namespace {

// Generation 0 or 1 of a file's content: large enough that a save takes a while.
QString generation(int g)
{
    return QString(100000, QLatin1Char(g ? 'B' : 'A'));
}

// kind: "list" (server-list cache), "login" (login cache) or "settings".
void save(const QString &kind, const QString &file, int g)
{
    if (kind == QLatin1String("list")) {
        save_config(file, generation(g));
    } else if (kind == QLatin1String("login")) {
        save_logiInfo(file, generation(g));
    } else {
        MConfig::instance()->loginEmail = generation(g);
        MConfig::instance()->lastServIp = QString::number(g);
        MConfig::saveCommConfig();
    }
}

// What the file holds now: generation 0 or 1, or -1 when it is neither.
int savedGeneration(const QString &kind, const QString &file)
{
    QString text;
    if (kind == QLatin1String("list")) {
        text = load_config(file);
    } else if (kind == QLatin1String("login")) {
        text = readLoginCache(file);
    } else {
        QSettings s(MConfig::getConfigFile(), QSettings::IniFormat);
        text = s.value(QStringLiteral("save/loginEmail")).toString();
        if (s.value(QStringLiteral("save/lastServIp")).toString()
            != QString::number(text == generation(1)))
            return -1;
    }
    return text == generation(0) ? 0 : text == generation(1) ? 1 : -1;
}

// The child of the crash test: saves the two generations in turn until it is killed, with a
// line after each save that tells how long it took (µs).
[[noreturn]] void runWriter(const QString &kind, const QString &file)
{
    QElapsedTimer clock;
    for (int g = 0;; g ^= 1) {
        clock.start();
        save(kind, file, g);
        std::printf("%lld\n", clock.nsecsElapsed() / 1000);
        std::fflush(stdout);
    }
}

} // namespace

// The key texts cut to 15 characters plus a zero byte, as the files have always had them.
const QByteArray kFileKey = QByteArray("kq7_storage_key\0", 16);

class TstEncryptedFiles : public QObject
{
    Q_OBJECT

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    static bool writeAll(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    // AES-128-CBC, zero IV, by the openssl tool; empty on failure.
    static QByteArray openssl(const QByteArray &key, bool padding, const QByteArray &plain)
    {
        QProcess process;
        process.start(QStringLiteral("openssl"),
                      QStringLiteral("enc -aes-128-cbc -iv %1 -K %2%3")
                          .arg(QString(32, QLatin1Char('0')), QString::fromLatin1(key.toHex()),
                               padding ? QString() : QStringLiteral(" -nopad"))
                          .split(QLatin1Char(' ')));
        process.write(plain);
        process.closeWriteChannel();
        const bool ok = process.waitForFinished(10000) && process.exitCode() == 0;
        return ok ? process.readAllStandardOutput() : QByteArray();
    }

    QTemporaryDir m_dir;
    // One for every field row, as a list parse uses one: a broken field must not disturb the
    // ones after it.
    ConfigDecryptor m_decryptor;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // damage: "" (well made), "cut" (not whole blocks), "padding" (written without padding,
    // the last bytes being a bad one), "key" (another key). expected: what the reader gives (for
    // "key": anything but the plain text).
    void opensslFiles_data()
    {
        QTest::addColumn<bool>("cache"); // else an "Ovpn" field
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *tag, bool cache, const QByteArray &plain,
                            const char *damage, const QByteArray &expected) {
            QTest::newRow(tag) << cache << plain << QByteArray(damage) << expected;
        };
        const QByteArray utf8 = QByteArray("Zürich, 東京, Москва ✓\n").repeated(300);
        const QByteArray config(
            "client\nremote 203.0.113.7 443\n# Zürich – 东京\n<ca>\nMIIB\n</ca>\n");
        const QByteArray fifteen("fifteen bytes!!");
        // A whole block of text gets a whole block of padding; so does an empty one.
        row("cache, one block", true, "0123456789abcdef", "", "0123456789abcdef");
        row("cache, kilobytes, non-ASCII", true, utf8, "", utf8);
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
        row("field, cut", false, config, "cut", QByteArray());
        row("field, the file key", false, config, "key", config);
    }
    void opensslFiles()
    {
        QFETCH(bool, cache);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, damage);
        QFETCH(QByteArray, expected);
        LogCapture log;
        QByteArray key = cache ? kFileKey : Deploy::ovpnKey().left(15) + QByteArray(1, '\0');
        if (damage == "key")
            key = cache ? QByteArray("kq7_storage_key1") : kFileKey;
        QByteArray cipher = openssl(key, damage != "padding", plain);
        QVERIFY2(!cipher.isEmpty(), "needs the openssl command line tool (Debian package openssl)");
        if (damage == "cut")
            cipher.chop(cache ? 15 : 1);
        QByteArray got;
        if (cache) {
            const QString file = path("server_content.fg");
            if (damage.isEmpty()) { // written the same, byte for byte, over a longer file
                QVERIFY(writeAll(file, QByteArray(9000, 'L')));
                QVERIFY(save_config(file, QString::fromUtf8(plain)));
                QCOMPARE(readAll(file).toHex(), cipher.toHex());
            }
            QVERIFY(writeAll(file, cipher));
            got = load_config(file).toUtf8();
        } else {
            const QString field = QString::fromLatin1(cipher.toBase64());
            const QString text = m_decryptor.decryptBase64(field);
            QCOMPARE(text, decryptConfigText(decodeBase64(field)));
            // Nothing decrypted is null; an empty configuration is not.
            if (damage != "key")
                QCOMPARE(text.isNull(), expected.isNull());
            got = text.toUtf8();
        }
        if (damage == "key")
            QVERIFY(got != plain);
        else
            QCOMPARE(got, expected);
    }

    void loginCacheIsPrivateAndNothingIsWrittenWithoutText()
    {
        LogCapture log;
        const QString file = path("user_content.fg");
        const QString reply = QStringLiteral("{\"paydate\":\"2030-05-06\",\"n\":\"größer\"}");
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

        // Neither cache is written without a text or a folder; an empty file reads as nothing.
        const QString never = path("never.fg");
        QVERIFY(!save_config(never, QString()));
        QVERIFY(!save_logiInfo(never, QString()));
        QVERIFY(!save_config(path("no/such/folder/x.fg"), QStringLiteral("text")));
        QVERIFY(!QFile::exists(never));
        QVERIFY(load_config(never).isEmpty() && readLoginCache(never).isEmpty());
        QVERIFY(writeAll(never, QByteArray()));
        QVERIFY(load_config(never).isEmpty() && readLoginCache(never).isEmpty());
    }

    // A writer killed at random moments leaves either the old or the new content behind.
    void killedWriterLeavesOldOrNewContent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("server-list cache") << "list";
        QTest::newRow("login cache") << "login";
        QTest::newRow("settings") << "settings";
    }
    void killedWriterLeavesOldOrNewContent()
    {
        QFETCH(QString, kind);
        const QString file = path("crash.fg");
        QFile::remove(file);
        QSet<int> seen;
        for (int round = 0; round < 12; ++round) {
            QProcess writer;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QUELLNET_TEST_WRITER"), kind + QLatin1Char('|') + file);
            writer.setProcessEnvironment(env);
            writer.start(QCoreApplication::applicationFilePath(), QStringList());
            // After one or two whole saves, somewhere inside the next one (however slow the
            // build), so that both generations are caught.
            QByteArray line;
            for (int saves = 0; saves < 1 + round % 2; ++saves) {
                while (!writer.canReadLine() && writer.waitForReadyRead(10000)) { }
                line = writer.readLine();
            }
            QVERIFY(!line.isEmpty());
            QThread::usleep(QRandomGenerator::global()->bounded(line.trimmed().toUInt() + 1u));
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));
            const int g = savedGeneration(kind, file);
            QVERIFY2(g >= 0, qPrintable(QStringLiteral("round %1").arg(round)));
            seen.insert(g);
        }
        // Both generations were caught at least once: the kills did land mid-run.
        QCOMPARE(seen.size(), 2);
    }

    void decodeBase64StopsAtPaddingOrForeignCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray everyByte(256, '\0');
        for (int i = 0; i < everyByte.size(); ++i)
            everyByte[i] = char(i);
        // Ends in "==": a two-character tail; holds "+" and "/".
        QTest::newRow("Qt's encoding of every byte")
            << QString::fromLatin1(everyByte.toBase64()) << everyByte;
        QTest::newRow("lone tail dropped") << QStringLiteral("QUJDR") << QByteArray("ABC");
        QTest::newRow("stops at =") << QStringLiteral("QUI=QUJD") << QByteArray("AB");
        QTest::newRow("stops at non-ASCII") << QStringLiteral("QUJDéQUJD") << QByteArray("ABC");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void decodeBase64StopsAtPaddingOrForeignCharacter()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(decodeBase64(text), bytes);
    }
};

int main(int argc, char **argv)
{
    const QString writer = qEnvironmentVariable("QUELLNET_TEST_WRITER");
    if (!writer.isEmpty()) {
        QCoreApplication app(argc, argv);
        runWriter(writer.section(QLatin1Char('|'), 0, 0), writer.section(QLatin1Char('|'), 1));
    }
    QCoreApplication app(argc, argv);
    TstEncryptedFiles test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_encryptedfiles.moc"
