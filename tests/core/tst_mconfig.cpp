#include "mblowfish.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mutils.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <sys/stat.h>

namespace {

const QStringList kAllKeys = {
    "common/appName",
    "common/appId",
    "common/gaTrackerId",
    "common/userID",
    "common/webUrl",
    "common/supportEmail",
    "common/helpUrl",
    "update/updatePeriod",
    "update/lastUpdate",
    "update/lastShowUpdate",
    "save/firstRun",
    "save/lang",
    "save/lastLoadServerListDate",
    "save/lastServIp",
    "save/lastServCountry",
    "save/loginPassword",
    "save/loginEmail",
    "save/mainWndY",
    "save/mainWndX",
    "save/ckbAutoLogin",
    "save/auto_run",
    "save/killSwitch",
    "save/killSwithDisc",
    "save/killSwithAllLocal",
    "save/installedTap",
    "save/xyz",
    "save/errorCount",
};

QString macWithoutSeparators()
{
    QString mac = GetMacAddress();
    return mac.remove(QLatin1Char(':'));
}

// Writes a raw INI file the way another program (or an older version) would have.
void writeRawIni(const QString &text)
{
    QFile file(MConfig::getConfigFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
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

QSet<QString> keysOnDisk()
{
    QSettings s(MConfig::getConfigFile(), QSettings::IniFormat);
    const QStringList keys = s.allKeys();
    return QSet<QString>(keys.begin(), keys.end());
}

QString rawValue(const char *key)
{
    QSettings s(MConfig::getConfigFile(), QSettings::IniFormat);
    s.setIniCodec("UTF-8");
    return s.value(QLatin1String(key)).toString();
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

    void loadWithoutFileGivesRepairedDefaults()
    {
        MConfig::loadCommConfig();
        const MConfig &c = *MConfig::instance();
        QCOMPARE(c.appName, QStringLiteral("Quellnet"));
        QCOMPARE(c.killSwithAllLocal, 1);
        QCOMPARE(c.userID, macWithoutSeparators());
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{10,12}$")).match(c.userID).hasMatch());
        QVERIFY(c.lang.isEmpty());
        QVERIFY(c.loginPassword.isEmpty());
    }

    void loadRepairsAndTrimsStoredValues()
    {
        writeRawIni(QStringLiteral(
            "[save]\nlang=0\nkillSwithAllLocal=-1\nkillSwitch=\"  id_killswitch_both  \"\n"
            "loginEmail=\"  a@b.example \"\nmainWndX=17\nmainWndY=-3\n"
            "[common]\nappName=\nuserID=ABCDEF012345\n"));
        MConfig::loadCommConfig();
        const MConfig &c = *MConfig::instance();
        QCOMPARE(c.lang, QStringLiteral("en.qm"));
        QCOMPARE(c.killSwithAllLocal, -1);
        QCOMPARE(c.killSwitch, QStringLiteral("id_killswitch_both"));
        QCOMPARE(c.loginEmail, QStringLiteral("a@b.example"));
        QCOMPARE(c.mainWndX, 17);
        QCOMPARE(c.mainWndY, -3);
        QCOMPARE(c.appName, QStringLiteral("Quellnet"));
        QCOMPARE(c.userID, QStringLiteral("ABCDEF012345"));

        writeRawIni(QStringLiteral("[save]\nkillSwithAllLocal=0\nlang=\n"));
        MConfig::loadCommConfig();
        QCOMPARE(c.killSwithAllLocal, 1);
        QVERIFY(c.lang.isEmpty());
    }

    void saveWritesEveryKeyAndNoOther()
    {
        writeRawIni(QStringLiteral("[common]\nforeign=1\nappName=Other\n[elsewhere]\nx=2\n"
                                   "[save]\nlang=de.qm\nstale=yes\n"));
        MConfig::loadCommConfig();
        MConfig::saveCommConfig();

        QCOMPARE(keysOnDisk(), QSet<QString>(kAllKeys.begin(), kAllKeys.end()));
        QCOMPARE(rawValue("common/appName"), QStringLiteral("Other"));
        QCOMPARE(rawValue("save/lang"), QStringLiteral("de.qm"));
        QCOMPARE(rawValue("common/userID"), macWithoutSeparators());

        // The sections are exactly the three the program knows.
        QFile file(MConfig::getConfigFile());
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList sections;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (line.startsWith('['))
                sections << QString::fromUtf8(line.trimmed());
        }
        sections.sort();
        QCOMPARE(sections, QStringList({"[common]", "[save]", "[update]"}));
    }

    void saveAndLoadRoundTripEveryField()
    {
        MConfig &c = *MConfig::instance();
        MConfig::loadCommConfig();
        c.appId = QStringLiteral("quellnet-linux");
        c.updatePeriod = 7;
        c.lastUpdate = QStringLiteral("2026-12-01 10:00:00");
        c.firstRun = 2;
        c.lang = QStringLiteral("zh-CN.qm");
        c.lastServIp = QStringLiteral("10.1.2.3");
        c.loginEmail = QStringLiteral("user@example.org");
        c.mainWndX = 120;
        c.mainWndY = 80;
        c.ckbAutoLogin = 1;
        c.auto_run = 1;
        c.killSwitch = QStringLiteral("id_killswitch_both");
        c.killSwithDisc = 1;
        c.killSwithAllLocal = -1;
        c.xyz = QStringLiteral("Ü-state");
        c.errorCount = 3;
        MConfig::saveCommConfig();

        c.appId.clear();
        c.lang.clear();
        c.xyz.clear();
        c.errorCount = 0;
        c.killSwithAllLocal = 5;
        MConfig::loadCommConfig();
        QCOMPARE(c.appId, QStringLiteral("quellnet-linux"));
        QCOMPARE(c.updatePeriod, 7);
        QCOMPARE(c.lastUpdate, QStringLiteral("2026-12-01 10:00:00"));
        QCOMPARE(c.firstRun, 2);
        QCOMPARE(c.lang, QStringLiteral("zh-CN.qm"));
        QCOMPARE(c.lastServIp, QStringLiteral("10.1.2.3"));
        QCOMPARE(c.loginEmail, QStringLiteral("user@example.org"));
        QCOMPARE(c.mainWndX, 120);
        QCOMPARE(c.mainWndY, 80);
        QCOMPARE(c.ckbAutoLogin, 1);
        QCOMPARE(c.killSwitch, QStringLiteral("id_killswitch_both"));
        QCOMPARE(c.killSwithDisc, 1);
        QCOMPARE(c.killSwithAllLocal, -1);
        QCOMPARE(c.xyz, QStringLiteral("Ü-state"));
        QCOMPARE(c.errorCount, 3);
        // Integers are stored as numbers, not quoted text.
        QVERIFY(ReadFileX(MConfig::getConfigFile()).contains(QStringLiteral("errorCount=3\n")));
    }

    void passwordIsStoredAsUpperCaseBlowfishHex()
    {
        MConfig &c = *MConfig::instance();
        MConfig::loadCommConfig();
        const QString password = QStringLiteral("pässwörd 123");
        c.loginPassword = password;
        MConfig::saveCommConfig();

        const QString onDisk = rawValue("save/loginPassword");
        QVERIFY(QRegularExpression(QStringLiteral("^([0-9A-F]{16})+$")).match(onDisk).hasMatch());
        QVERIFY(!onDisk.contains(QStringLiteral("pässwörd")));
        MBlowfish cipher(Deploy::secretKey());
        cipher.setPaddingEnabled(true);
        QCOMPARE(cipher.decrypted(QByteArray::fromHex(onDisk.toLatin1())), password.toUtf8());

        c.loginPassword.clear();
        MConfig::loadCommConfig();
        QCOMPARE(c.loginPassword, password);

        c.loginPassword.clear();
        MConfig::saveCommConfig();
        QVERIFY(keysOnDisk().contains(QStringLiteral("save/loginPassword")));
        QVERIFY(rawValue("save/loginPassword").isEmpty());
    }

    void undecipherablePasswordLoadsEmpty()
    {
        writeRawIni(QStringLiteral("[save]\nloginPassword=0011223344556677\n"));
        MConfig::loadCommConfig();
        QVERIFY(MConfig::instance()->loginPassword.isEmpty());
    }

    void settingsFileIsPrivateToTheUser()
    {
        MConfig::loadCommConfig();
        MConfig::saveCommConfig();
        struct stat st
        {
        };
        QVERIFY(::stat(QFile::encodeName(MConfig::getConfigFile()).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);

        // A file left readable by someone else is narrowed on the next save.
        QVERIFY(::chmod(QFile::encodeName(MConfig::getConfigFile()).constData(), 0644) == 0);
        MConfig::saveCommConfig();
        QVERIFY(::stat(QFile::encodeName(MConfig::getConfigFile()).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);
    }

    void concurrentSavesNeverLeaveAPartialFile()
    {
        MConfig::loadCommConfig();
        MConfig::instance()->loginPassword = QStringLiteral("secret");
        MConfig::saveCommConfig();
        const QSet<QString> expected(kAllKeys.begin(), kAllKeys.end());

        std::atomic<bool> writing{true};
        std::atomic<int> badReads{0};
        std::atomic<int> reads{0};
        QThread *reader = QThread::create([&] {
            QFile file(MConfig::getConfigFile());
            while (writing.load()) {
                if (!file.open(QIODevice::ReadOnly)) {
                    ++badReads;
                    continue;
                }
                if (parseIniKeys(file.readAll()) != expected)
                    ++badReads;
                file.close();
                ++reads;
            }
        });
        QThread *a = QThread::create([] {
            for (int i = 0; i < 40; ++i)
                MConfig::saveCommConfig();
        });
        QThread *b = QThread::create([] {
            for (int i = 0; i < 40; ++i)
                MConfig::saveCommConfig();
        });
        reader->start();
        a->start();
        b->start();
        QVERIFY(a->wait(60000));
        QVERIFY(b->wait(60000));
        writing = false;
        QVERIFY(reader->wait(10000));
        delete a;
        delete b;
        delete reader;

        QVERIFY(reads.load() > 0);
        QCOMPARE(badReads.load(), 0);
        QCOMPARE(keysOnDisk(), expected);
        MConfig::instance()->loginPassword.clear();
        MConfig::loadCommConfig();
        QCOMPARE(MConfig::instance()->loginPassword, QStringLiteral("secret"));
        // No temporary or lock files are left beside the settings.
        const QStringList left = QDir(MConfig::getAppDataFolder(QString()))
                                     .entryList({QStringLiteral("config_comm.ini*")}, QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("config_comm.ini")});
    }

    void userIdKeepsAStoredValueAndFillsAnEmptyOne()
    {
        MConfig &c = *MConfig::instance();
        c.userID = QStringLiteral("KEEPME");
        QCOMPARE(MConfig::getUserId(), QStringLiteral("KEEPME"));
        c.userID.clear();
        QCOMPARE(MConfig::getUserId(), macWithoutSeparators());
        QCOMPARE(c.userID, macWithoutSeparators());
    }

    void sessionIdsAreFreshEncipheredUuidSlices()
    {
        QSet<QString> seen;
        const QRegularExpression cipherHex(QStringLiteral("^[0-9A-F]{32}$"));
        const QRegularExpression clear(QStringLiteral("^[0-9a-f]{10}$"));
        for (int i = 0; i < 50; ++i) {
            const QString id = MConfig::createSessionId();
            QVERIFY2(cipherHex.match(id).hasMatch(), qPrintable(id));
            QVERIFY2(clear.match(MConfig::decipherSecret(id)).hasMatch(),
                     qPrintable(MConfig::decipherSecret(id)));
            seen.insert(id);
        }
        QCOMPARE(seen.size(), 50);
    }

    void secretsRoundTripAndEmptyStaysEmpty()
    {
        QVERIFY(MConfig::encipherSecret(QString()).isEmpty());
        QVERIFY(MConfig::decipherSecret(QString()).isEmpty());
        const QString text = QStringLiteral("12345678"); // a whole block gains a full pad block
        const QString hex = MConfig::encipherSecret(text);
        QCOMPARE(hex.length(), 32);
        QCOMPARE(MConfig::decipherSecret(hex), text);
        QCOMPARE(MConfig::decipherSecret(hex.toLower()), text);
    }

    void foldersAreCreatedWithTrailingSeparator()
    {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(MConfig::getAppDataFolder(QString()), base + QStringLiteral("/"));
        const QString logs = MConfig::getAppDataFolder(QStringLiteral("logs"));
        QCOMPARE(logs, base + QStringLiteral("/logs/"));
        QVERIFY(QFileInfo(logs).isDir());
        QCOMPARE(MConfig::getConfigFile(), base + QStringLiteral("/config_comm.ini"));

        const QString temp = MConfig::getTempFolder(QStringLiteral("update"));
        QCOMPARE(temp, QDir::tempPath() + QStringLiteral("/Quellnet/update/"));
        QVERIFY(QFileInfo(temp).isDir());
        QCOMPARE(MConfig::getTempFolder(QString()),
                 QDir::tempPath() + QStringLiteral("/Quellnet/"));
    }
};

QTEST_GUILESS_MAIN(TestMConfig)
#include "tst_mconfig.moc"
