#include "logcapture.h"
#include "mconfig.h"
#include "mutils.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class TestMUtils : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        QVERIFY(m_dir.isValid());
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
            {"zh-CN", "zh-CN.qm", "https://q.example/i.html",
             "https://q.example/i.html?lang=zh-CN"},
            {"query too early", "en.qm", "a?b=1", "a?b=1"},
            {"empty", "en.qm", "", ""},
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

    void randRangeTakesBoundsInEitherOrder()
    {
        QSet<int> seen;
        for (int i = 0; i < 500; ++i)
            seen << RandRange(3, 7) << RandRange(7, 3);
        QCOMPARE(seen, QSet<int>({3, 4, 5, 6}));
        QCOMPARE(RandRange(5, 5), 5);
    }

    void filesAndFoldersReportFailures()
    {
        LogCapture log;
        const QString nested = m_dir.filePath(QStringLiteral("a/b/c"));
        MakeDir(nested, false);
        QVERIFY(!QFileInfo::exists(nested));
        QVERIFY(LogCapture::contains(QStringLiteral("MakeDir,failed:")));
        LogCapture::take();
        MakeDir(nested, true);
        QVERIFY(QFileInfo(nested).isDir());

        const QString path = nested + QStringLiteral("/text.txt");
        const QString text = QStringLiteral("Zeile 1 äöü\n第二行\n");
        QVERIFY(SaveFile(path, text));
        QCOMPARE(ReadFileX(path), text);
        QVERIFY(SaveFile(path, QStringLiteral("short")));
        QCOMPARE(ReadFileX(path), QStringLiteral("short"));
        QVERIFY(ReadFileX(m_dir.filePath(QStringLiteral("missing.txt"))).isEmpty());
        QVERIFY(ReadFileX(m_dir.path()).isEmpty());
        QCOMPARE(LogCapture::take(), QStringList());

        const QString bad = m_dir.filePath(QStringLiteral("no/such/file.txt"));
        QString error;
        QVERIFY(!SaveFile(bad, QStringLiteral("x"), error));
        QVERIFY(!error.isEmpty());
        QVERIFY(LogCapture::contains(bad) && LogCapture::contains(error));
    }

    void showInFolderOpensTheFolderOfAnExistingFile()
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
        // The missing file goes first: had it opened anything, that line would come first.
        ShowInFolder(m_dir.filePath(QStringLiteral("does-not-exist.log")));
        QVERIFY(SaveFile(folder + QStringLiteral("/today.log"), QStringLiteral("x")));
        ShowInFolder(folder + QStringLiteral("/today.log"));
        QTRY_COMPARE_WITH_TIMEOUT(ReadFileX(record),
                                  QDir(folder).canonicalPath() + QLatin1Char('\n'), 10000);
        qputenv("PATH", oldPath);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestMUtils)
#include "tst_mutils.moc"
