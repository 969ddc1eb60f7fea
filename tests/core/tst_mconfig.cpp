#include "logcapture.h"
#include "mblowfish.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mutils.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

// The keys of the settings file: older versions and other tools read the same file.
const QStringList kAllKeys
    = QStringLiteral("common/appName common/appId common/gaTrackerId common/userID common/webUrl "
                     "common/supportEmail common/helpUrl update/updatePeriod update/lastUpdate "
                     "update/lastShowUpdate save/firstRun save/lang save/lastLoadServerListDate "
                     "save/lastServIp save/lastServCountry save/loginPassword save/loginEmail "
                     "save/mainWndY save/mainWndX save/ckbAutoLogin save/auto_run save/killSwitch "
                     "save/killSwithDisc save/killSwithAllLocal save/installedTap save/xyz "
                     "save/errorCount")
          .split(QLatin1Char(' '));

// Parsed by hand: QSettings objects of one process share an in-memory view of the file,
// which would show a writer's unsaved state instead of what is on disk.
QSet<QString> parseIniKeys(const QByteArray &bytes)
{
    QSet<QString> keys;
    QString section;
    for (const QString &line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
        else if (line.contains(QLatin1Char('=')))
            keys.insert(section + QLatin1Char('/') + line.section(QLatin1Char('='), 0, 0));
    }
    return keys;
}

} // namespace

class TestMConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        QVERIFY2(!dataHome.isEmpty() && MConfig::getConfigFile().startsWith(dataHome + '/'),
                 "run through ctest: it provides a private data folder");
    }

    void init()
    {
        QFile::remove(MConfig::getConfigFile());
        MConfig::instance()->userID.clear();
        MConfig::instance()->loginPassword.clear();
    }

    void loadRepairsStoredValues()
    {
        MConfig::loadCommConfig();
        const MConfig &c = *MConfig::instance();
        QCOMPARE(c.killSwithAllLocal, 1);
        QCOMPARE(c.userID, GetMacAddress().remove(QLatin1Char(':')));

        QVERIFY(
            SaveFile(MConfig::getConfigFile(),
                     "[save]\nlang=0\nkillSwithAllLocal=-1\nkillSwitch=\"  id_killswitch_both  \"\n"
                     "loginEmail=\"  a@b.example \"\n[common]\nappName=\nuserID=ABCDEF012345\n"));
        MConfig::loadCommConfig();
        QCOMPARE(c.lang, QStringLiteral("en.qm"));
        QCOMPARE(c.killSwithAllLocal, -1);
        QCOMPARE(c.killSwitch, QStringLiteral("id_killswitch_both"));
        QCOMPARE(c.loginEmail, QStringLiteral("a@b.example"));
        QCOMPARE(c.userID + c.appName, QStringLiteral("ABCDEF012345Quellnet"));
    }

    void saveWritesEveryKnownKeyAndRoundTrips()
    {
        QVERIFY(
            SaveFile(MConfig::getConfigFile(),
                     "[common]\nforeign=1\nappName=Other\n[elsewhere]\nx=2\n[save]\nstale=yes\n"));
        MConfig &c = *MConfig::instance();
        MConfig::loadCommConfig();
        c.lang = QStringLiteral("zh-CN.qm");
        c.errorCount = 3;
        MConfig::saveCommConfig();
        QFile file(MConfig::getConfigFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(parseIniKeys(bytes), QSet<QString>(kAllKeys.begin(), kAllKeys.end()));
        QVERIFY(bytes.contains("errorCount=3\n")); // a number, not quoted text

        c.lang.clear();
        c.errorCount = 0;
        MConfig::loadCommConfig();
        QCOMPARE(c.appName, QStringLiteral("Other"));
        QCOMPARE(c.lang, QStringLiteral("zh-CN.qm"));
        QCOMPARE(c.errorCount, 3);
    }

    void savedFileIsPrivateAndHoldsThePasswordAsBlowfishHex()
    {
        MConfig &c = *MConfig::instance();
        MConfig::loadCommConfig();
        const QString password = QStringLiteral("pässwörd 123");
        c.loginPassword = password;
        // A file left readable by others is narrowed on the next save.
        QVERIFY(SaveFile(MConfig::getConfigFile(), QString()));
        QVERIFY(QFile::setPermissions(MConfig::getConfigFile(), QFileDevice::Permissions(0x6644)));
        MConfig::saveCommConfig();
        QCOMPARE(QFile::permissions(MConfig::getConfigFile()), QFileDevice::Permissions(0x6600));
        const QString onDisk = QRegularExpression(QStringLiteral("\nloginPassword=(\\S*)\n"))
                                   .match(ReadFileX(MConfig::getConfigFile()))
                                   .captured(1);
        QVERIFY2(QRegularExpression(QStringLiteral("^([0-9A-F]{16})+$")).match(onDisk).hasMatch(),
                 qPrintable(onDisk));
        MBlowfish cipher(Deploy::secretKey());
        cipher.setPaddingEnabled(true);
        QCOMPARE(cipher.decrypted(QByteArray::fromHex(onDisk.toLatin1())), password.toUtf8());
        c.loginPassword.clear();
        MConfig::loadCommConfig();
        QCOMPARE(c.loginPassword, password);

        QVERIFY(SaveFile(MConfig::getConfigFile(), "[save]\nloginPassword=0011223344556677\n"));
        MConfig::loadCommConfig();
        QVERIFY(c.loginPassword.isEmpty());
    }

    void concurrentSavesNeverLeaveAPartialFile()
    {
        MConfig::loadCommConfig();
        MConfig::instance()->loginPassword = QStringLiteral("secret");
        MConfig::saveCommConfig();
        const QSet<QString> expected(kAllKeys.begin(), kAllKeys.end());

        std::atomic<bool> writing{true};
        std::atomic<int> badReads{0}, reads{0};
        std::unique_ptr<QThread> reader(QThread::create([&] {
            QFile file(MConfig::getConfigFile());
            while (writing.load()) {
                if (!file.open(QIODevice::ReadOnly) || parseIniKeys(file.readAll()) != expected)
                    ++badReads;
                file.close();
                ++reads;
            }
        }));
        auto saver = [] {
            for (int i = 0; i < 40; ++i)
                MConfig::saveCommConfig();
        };
        std::unique_ptr<QThread> a(QThread::create(saver)), b(QThread::create(saver));
        reader->start();
        a->start();
        b->start();
        QVERIFY(a->wait(60000) && b->wait(60000));
        writing = false;
        QVERIFY(reader->wait(10000));

        QVERIFY(reads.load() > 0);
        QCOMPARE(badReads.load(), 0);
        MConfig::instance()->loginPassword.clear();
        MConfig::loadCommConfig();
        QCOMPARE(MConfig::instance()->loginPassword, QStringLiteral("secret"));
        // No temporary or lock files are left beside the settings.
        QCOMPARE(QDir(MConfig::getAppDataFolder(QString()))
                     .entryList({QStringLiteral("config_comm.ini*")}, QDir::Files),
                 QStringList{QStringLiteral("config_comm.ini")});
    }

    // ---- free helpers ----

    // What a writer killed between creating its lock file and filling it leaves behind.
    void emptyLockFileDoesNotHoldUpASave()
    {
        QFile lock(MConfig::getConfigFile() + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.close();
        QElapsedTimer clock;
        clock.start();
        MConfig::saveCommConfig();
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    }

    void urlWithLang_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        const char *const rows[][4] = {
            {"html", "de.qm", "https://q.example/a.htm", "https://q.example/a.htm?lang=de"},
            {"query", "en.qm", "https://q.example/p?x=1", "https://q.example/p?x=1&lang=en"},
            {"neither", "en.qm", "https://q.example/support/", "https://q.example/support/"},
            {"stored zero", "0", "https://q.example/i.html", "https://q.example/i.html?lang=en"},
            {"query too early", "en.qm", "a?b=1", "a?b=1"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << QString::fromUtf8(r[1]) << QString::fromUtf8(r[2])
                                << QString::fromUtf8(r[3]);
    }

    void urlWithLang()
    {
        QFETCH(QString, lang);
        QFETCH(QString, url);
        QFETCH(QString, expected);
        const QString saved = MConfig::instance()->lang;
        MConfig::instance()->lang = lang;
        QCOMPARE(UrlWithLang(url), expected);
        MConfig::instance()->lang = saved;
    }

    void filesAndFoldersReportFailures()
    {
        LogCapture log;
        const QString nested = m_temp.filePath(QStringLiteral("a/b/c"));
        MakeDir(nested, true);

        const QString path = nested + QStringLiteral("/text.txt");
        const QString text = QStringLiteral("Zeile 1 äöü\n第二行\n");
        QVERIFY(SaveFile(path, text));
        QCOMPARE(ReadFileX(path), text);
        QVERIFY(SaveFile(path, QStringLiteral("short"))); // replaces, not appends
        QCOMPARE(ReadFileX(path), QStringLiteral("short"));
        QCOMPARE(LogCapture::take(), QStringList());

        const QString bad = m_temp.filePath(QStringLiteral("no/such/file.txt"));
        QString error;
        QVERIFY(!SaveFile(bad, QStringLiteral("x"), error));
        QVERIFY(!error.isEmpty());
        QVERIFY(LogCapture::contains(bad) && LogCapture::contains(error));
    }

private:
    QTemporaryDir m_temp;
};

QTEST_GUILESS_MAIN(TestMConfig)
#include "tst_mconfig.moc"
