#include "mblowfish.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mutils.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <sys/stat.h>

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

void writeRawIni(const QByteArray &text)
{
    QFile file(MConfig::getConfigFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// Parsed by hand: QSettings objects of one process share an in-memory view of the file,
// which would show a writer's unsaved state instead of what is on disk.
QSet<QString> parseIniKeys(const QByteArray &bytes)
{
    QSet<QString> keys;
    QString section;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            section = line.mid(1, line.length() - 2);
        else if (line.contains(QLatin1Char('=')))
            keys.insert(section + QLatin1Char('/') + line.left(line.indexOf(QLatin1Char('='))));
    }
    return keys;
}

int fileMode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
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
        QVERIFY2(!dataHome.isEmpty(), "run through ctest: it provides a private data folder");
        QVERIFY(MConfig::getAppDataFolder(QString()).startsWith(dataHome));
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
        QCOMPARE(c.appName, QStringLiteral("Quellnet"));
        QCOMPARE(c.killSwithAllLocal, 1);
        QCOMPARE(c.userID, GetMacAddress().remove(QLatin1Char(':')));

        writeRawIni("[save]\nlang=0\nkillSwithAllLocal=-1\nkillSwitch=\"  id_killswitch_both  \"\n"
                    "loginEmail=\"  a@b.example \"\n[common]\nappName=\nuserID=ABCDEF012345\n");
        MConfig::loadCommConfig();
        QCOMPARE(c.lang, QStringLiteral("en.qm"));
        QCOMPARE(c.killSwithAllLocal, -1);
        QCOMPARE(c.killSwitch, QStringLiteral("id_killswitch_both"));
        QCOMPARE(c.loginEmail, QStringLiteral("a@b.example"));
        QCOMPARE(c.appName, QStringLiteral("Quellnet"));
        QCOMPARE(c.userID, QStringLiteral("ABCDEF012345"));
    }

    void saveWritesEveryKnownKeyAndRoundTrips()
    {
        writeRawIni("[common]\nforeign=1\nappName=Other\n[elsewhere]\nx=2\n[save]\nstale=yes\n");
        MConfig &c = *MConfig::instance();
        MConfig::loadCommConfig();
        c.lang = QStringLiteral("zh-CN.qm");
        c.mainWndY = -3;
        c.xyz = QStringLiteral("Ü-state");
        c.errorCount = 3;
        MConfig::saveCommConfig();
        QFile file(MConfig::getConfigFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(parseIniKeys(bytes), QSet<QString>(kAllKeys.begin(), kAllKeys.end()));
        QVERIFY(bytes.contains("errorCount=3\n")); // a number, not quoted text

        c.lang.clear();
        c.mainWndY = 0;
        c.xyz.clear();
        c.errorCount = 0;
        MConfig::loadCommConfig();
        QCOMPARE(c.appName, QStringLiteral("Other"));
        QCOMPARE(c.lang, QStringLiteral("zh-CN.qm"));
        QCOMPARE(c.mainWndY, -3);
        QCOMPARE(c.xyz, QStringLiteral("Ü-state"));
        QCOMPARE(c.errorCount, 3);
    }

    void passwordIsStoredAsBlowfishHex()
    {
        MConfig &c = *MConfig::instance();
        MConfig::loadCommConfig();
        const QString password = QStringLiteral("pässwörd 123");
        c.loginPassword = password;
        MConfig::saveCommConfig();
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

        writeRawIni("[save]\nloginPassword=0011223344556677\n");
        MConfig::loadCommConfig();
        QVERIFY(c.loginPassword.isEmpty());
    }

    void settingsFileIsPrivateToTheUser()
    {
        MConfig::loadCommConfig();
        MConfig::saveCommConfig();
        QCOMPARE(fileMode(MConfig::getConfigFile()), 0600);
        // A file left readable by others is narrowed on the next save.
        QVERIFY(::chmod(QFile::encodeName(MConfig::getConfigFile()).constData(), 0644) == 0);
        MConfig::saveCommConfig();
        QCOMPARE(fileMode(MConfig::getConfigFile()), 0600);
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

    void sessionIdsAreFreshSecrets()
    {
        QSet<QString> seen;
        for (int i = 0; i < 50; ++i) {
            const QString id = MConfig::createSessionId();
            QCOMPARE(MConfig::decipherSecret(id.toLower()).size(), 10);
            seen.insert(id);
        }
        QCOMPARE(seen.size(), 50);
    }
};

QTEST_GUILESS_MAIN(TestMConfig)
#include "tst_mconfig.moc"
