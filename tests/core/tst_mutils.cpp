#include "mconfig.h"
#include "mutils.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList g_messages;

void captureMessages(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages << message;
}

} // namespace

class TestMUtils : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        g_messages.clear();
        qInstallMessageHandler(captureMessages);
    }

    void cleanup() { qInstallMessageHandler(nullptr); }

    void urlWithLang_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("html page") << "en.qm"
                                   << "https://quellnet.example/index.html"
                                   << "https://quellnet.example/index.html?lang=en";
        QTest::newRow("htm page") << "de.qm"
                                  << "https://quellnet.example/a.htm"
                                  << "https://quellnet.example/a.htm?lang=de";
        QTest::newRow("query") << "en.qm"
                               << "https://quellnet.example/p?x=1"
                               << "https://quellnet.example/p?x=1&lang=en";
        QTest::newRow("query and html") << "ja.qm"
                                        << "https://q.example/o.html?a=b"
                                        << "https://q.example/o.html?a=b&lang=ja";
        QTest::newRow("neither") << "en.qm"
                                 << "https://quellnet.example/support/"
                                 << "https://quellnet.example/support/";
        QTest::newRow("stored zero") << "0"
                                     << "https://q.example/i.html"
                                     << "https://q.example/i.html?lang=en";
        QTest::newRow("zh-CN") << "zh-CN.qm"
                               << "https://q.example/i.html"
                               << "https://q.example/i.html?lang=zh-CN";
        QTest::newRow("query too early") << "en.qm"
                                         << "a?b=1"
                                         << "a?b=1";
        QTest::newRow("empty") << "en.qm"
                               << ""
                               << "";
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

    void strEquals()
    {
        QVERIFY(StrEquals(QStringLiteral(" Abc"), QStringLiteral("abc ")));
        QVERIFY(StrEquals(QStringLiteral("--LANGUAGE"), QStringLiteral("--language")));
        QVERIFY(!StrEquals(QString(), QString()));
        QVERIFY(!StrEquals(QStringLiteral("a"), QString()));
        QVERIFY(!StrEquals(QStringLiteral("abc"), QStringLiteral("abd")));
    }

    void randUuidBasedIsTenUpperHexCharacters()
    {
        const QRegularExpression hex(QStringLiteral("^[0-9A-F]{10}$"));
        QSet<QString> seen;
        for (int i = 0; i < 500; ++i) {
            const QString r = Rand(true);
            QVERIFY2(hex.match(r).hasMatch(), qPrintable(r));
            seen.insert(r);
        }
        QVERIFY(seen.size() > 495);
    }

    void randNumberIsAnUnsigned32BitDecimal()
    {
        bool sawLarge = false;
        for (int i = 0; i < 200; ++i) {
            bool ok = false;
            const qulonglong value = Rand(false).toULongLong(&ok);
            QVERIFY(ok);
            QVERIFY(value <= 0xFFFFFFFFull);
            sawLarge = sawLarge || value > 0x7FFFFFFFull;
        }
        QVERIFY(sawLarge);
    }

    void randRangeStaysInTheHalfOpenRangeInEitherOrder()
    {
        QSet<int> seen;
        for (int i = 0; i < 2000; ++i) {
            const int a = RandRange(3, 7);
            const int b = RandRange(7, 3);
            QVERIFY(a >= 3 && a < 7);
            QVERIFY(b >= 3 && b < 7);
            seen << a << b;
        }
        QCOMPARE(seen, QSet<int>({3, 4, 5, 6}));
        QCOMPARE(RandRange(5, 5), 5);
        QCOMPARE(RandRange(-2, -1), -2);
    }

    void makeDirRecursiveOrLastLevelOnly()
    {
        const QString nested = m_dir.filePath(QStringLiteral("a/b/c"));
        MakeDir(nested, false);
        QVERIFY(!QFileInfo::exists(nested));
        QCOMPARE(g_messages.size(), 1);
        QVERIFY(g_messages.first().startsWith(QStringLiteral("MakeDir,failed:")));
        QVERIFY(g_messages.first().contains(nested));

        g_messages.clear();
        MakeDir(nested, true);
        QVERIFY(QFileInfo(nested).isDir());
        MakeDir(m_dir.filePath(QStringLiteral("a/b/d")), false);
        QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("a/b/d"))).isDir());
        MakeDir(nested, false); // exists already: nothing to do, nothing logged
        QVERIFY(g_messages.isEmpty());
    }

    void saveFileAndReadFileRoundTripUtf8()
    {
        const QString path = m_dir.filePath(QStringLiteral("text.txt"));
        const QString text = QStringLiteral("Zeile 1 äöü\n第二行\n");
        QVERIFY(SaveFile(path, text));
        QCOMPARE(ReadFileX(path), text);
        QFile raw(path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QCOMPARE(raw.readAll(), text.toUtf8());
        raw.close();

        QVERIFY(SaveFile(path, QStringLiteral("short")));
        QCOMPARE(ReadFileX(path), QStringLiteral("short"));
        QVERIFY(g_messages.isEmpty());
    }

    void readFileOfNothingIsEmpty()
    {
        QVERIFY(ReadFileX(QString()).isEmpty());
        QVERIFY(ReadFileX(m_dir.filePath(QStringLiteral("missing.txt"))).isEmpty());
        QVERIFY(ReadFileX(m_dir.path()).isEmpty());
    }

    void saveFileFailureReportsTheError()
    {
        const QString path = m_dir.filePath(QStringLiteral("no/such/folder/file.txt"));
        QString error;
        QVERIFY(!SaveFile(path, QStringLiteral("x"), error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(g_messages.size(), 1);
        QVERIFY(g_messages.first().startsWith(QStringLiteral("SaveFile failed.")));
        QVERIFY(g_messages.first().contains(path));
        QVERIFY(g_messages.first().contains(error));
        QVERIFY(!SaveFile(path, QStringLiteral("x")));
    }

    void getFileSkipsExistingNames()
    {
        const QString folder = m_dir.filePath(QStringLiteral("dl"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(SaveFile(folder + QStringLiteral("/setup_0.exe"), QStringLiteral("0")));
        QVERIFY(SaveFile(folder + QStringLiteral("/setup_1.exe"), QStringLiteral("1")));
        int counter = 0;
        QCOMPARE(getFile(folder, QStringLiteral("setup_%1.exe"), counter),
                 folder + QStringLiteral("/setup_2.exe"));
        QCOMPARE(counter, 2);
        // A folder that already ends with a separator gains none.
        counter = 1;
        QCOMPARE(getFile(folder + QLatin1Char('/'), QStringLiteral("setup_%1.exe"), counter),
                 folder + QStringLiteral("/setup_2.exe"));
        counter = 5;
        QCOMPARE(getFile(folder, QStringLiteral("setup_%1.exe"), counter),
                 folder + QStringLiteral("/setup_5.exe"));
        QCOMPARE(counter, 5);
    }

    void macAddressIsSixUpperHexPairsOrARandomId()
    {
        const QString mac = GetMacAddress();
        const bool isMac = QRegularExpression(QStringLiteral("^([0-9A-F]{2}:){5}[0-9A-F]{2}$"))
                               .match(mac)
                               .hasMatch();
        const bool isRandom
            = QRegularExpression(QStringLiteral("^[0-9A-F]{10}$")).match(mac).hasMatch();
        QVERIFY2(isMac || isRandom, qPrintable(mac));
        QVERIFY(mac != QStringLiteral("00:00:00:00:00:00"));
        if (isMac)
            QCOMPARE(GetMacAddress(), mac); // stable between calls
    }

    void cpuDetailsNameTheProcessor()
    {
        const QString details = getCPUDetails();
        const QRegularExpression form(QStringLiteral("^CPU ID:(.+) ,CPU Name:(.*)$"));
        const QRegularExpressionMatch m = form.match(details);
        QVERIFY2(m.hasMatch(), qPrintable(details));
        QVERIFY(m.captured(1).startsWith(QSysInfo::currentCpuArchitecture()));
        QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
        if (cpuinfo.open(QIODevice::ReadOnly) && cpuinfo.readAll().contains("model name"))
            QVERIFY(!m.captured(2).trimmed().isEmpty());
    }

    void showInFolderFallsBackToXdgOpenOnTheFolder()
    {
        // No session bus: the file manager is reached through xdg-open, faked here.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        const QString bin = m_dir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        const QString record = m_dir.filePath(QStringLiteral("xdg-open.args"));
        QVERIFY(SaveFile(bin + QStringLiteral("/xdg-open"),
                         QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1'\n").arg(record)));
        QVERIFY(QFile::setPermissions(bin + QStringLiteral("/xdg-open"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.toUtf8() + ':' + oldPath);

        const QString folder = m_dir.filePath(QStringLiteral("show"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/today.log");
        QVERIFY(SaveFile(file, QStringLiteral("x")));
        ShowInFolder(file);
        QTRY_VERIFY_WITH_TIMEOUT(
            ReadFileX(record) == QDir(folder).canonicalPath() + QLatin1Char('\n'), 10000);

        ShowInFolder(m_dir.filePath(QStringLiteral("does-not-exist.log")));
        QTest::qWait(300);
        QCOMPARE(ReadFileX(record).count(QLatin1Char('\n')), 1);
        qputenv("PATH", oldPath);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestMUtils)
#include "tst_mutils.moc"
