// The program as a process: maintenance switches, a normal start and its log, the first-run
// marker, the splash child; and the one process-wide window.

#include "mainwindow.h"

#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {

const QString kExe = QStringLiteral(QUELLNET_BIN_DIR "/quellnet");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A private home (settings, log and marker below it) for runs of the program.
struct Sandbox
{
    QString path(const QString &sub) const { return dir.filePath(sub); }
    QString data(const QString &file = QString()) const
    {
        return path(QStringLiteral(".local/share/Quellnet/") + file);
    }
    QString ini() const { return data(QStringLiteral("config_comm.ini")); }
    QString marker() const { return data(QStringLiteral("first.text")); }
    QString lang() const { return QSettings(ini(), QSettings::IniFormat).value(kLang).toString(); }
    void setLang(const QString &lang) const
    {
        QDir().mkpath(data());
        QSettings(ini(), QSettings::IniFormat).setValue(kLang, lang);
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name :
             {"QT_LOGGING_RULES", "QT_MESSAGE_PATTERN", "DBUS_SESSION_BUS_ADDRESS", "XDG_DATA_HOME",
              "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QDir(dir.path()).mkdir(QStringLiteral("runtime"));
        QFile::setPermissions(path(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
        return env;
    }

    const QString kLang = QStringLiteral("save/lang");
    QTemporaryDir dir;
};

// The program's SIGTERM handler is the last thing set up before the event loop.
bool catchesSigterm(qint64 pid)
{
    for (const QByteArray &line : readAll(QStringLiteral("/proc/%1/status").arg(pid)).split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1U;
    }
    return false;
}

// A normal run, ended with SIGTERM once its handler is in place; it must exit cleanly.
void startAndTerminate(const Sandbox &sandbox, const QStringList &arguments = {})
{
    QProcess process;
    process.setProcessEnvironment(sandbox.environment());
    process.start(kExe, arguments);
    QVERIFY(process.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(
        process.state() != QProcess::Running || catchesSigterm(process.processId()), 15000);
    QCOMPARE(process.state(), QProcess::Running);
    QCOMPARE(::kill(pid_t(process.processId()), SIGTERM), 0);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowIsOneProcessWideWindow()
    {
        static QTemporaryDir home; // its data stays out of the real home
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
        MainWindow *window = MainWindow::instance();
        QCOMPARE(MainWindow::instance(AppServices::defaults()), window);
        QVERIFY(window && !window->parentWidget());
        QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    void switchesDoTheirJobAndExitZero_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("langAfter"); // stored before: ko.qm
        QTest::addColumn<QString>("installer"); // beside the program, not there
        QTest::addColumn<int>("launches");
        auto row = [](const char *name, const QStringList &arguments, const char *langAfter,
                      const char *installer = "", int launches = 0) {
            QTest::newRow(name) << arguments << QString::fromLatin1(langAfter)
                                << QString::fromLatin1(installer) << launches;
        };
        row("language, no name", {"--language"}, "en.qm");
        row("language, blanks and case", {"--language", " japanese "}, "ja.qm");
        row("upper-case switch", {"--LANGUAGE", "German"}, "de.qm");
        row("language, unknown", {"--language", "Klingon"}, "en.qm");
        row("install tap: remove, then install", {"--install-tap"}, "ko.qm", "TAP/tapinstall", 2);
        row("uninstall tap", {"--uninstall-tap"}, "ko.qm", "TAP-Win10/bin/tapinstall", 1);
    }

    void switchesDoTheirJobAndExitZero()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, langAfter);
        QFETCH(QString, installer);
        QFETCH(int, launches);

        Sandbox sandbox;
        sandbox.setLang(QStringLiteral("ko.qm"));
        QProcess process;
        process.setProcessEnvironment(sandbox.environment());
        process.start(kExe, arguments);
        QVERIFY2(process.waitForFinished(10000), "a maintenance run must end by itself");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(sandbox.lang(), langAfter);
        // Neither the logger nor the start-up events ran.
        QVERIFY(!QFileInfo::exists(sandbox.data(QStringLiteral("logs"))));
        QVERIFY(!QFileInfo::exists(sandbox.marker()));
        if (installer.isEmpty()) {
            struct stat info = {};
            QCOMPARE(::stat(QFile::encodeName(sandbox.ini()).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, mode_t(0600)); // the store holds credentials
        }
        const QString missing = QStringLiteral("process dose not exist: \"%1/%2\"")
                                    .arg(QFileInfo(kExe).canonicalPath(), installer);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()).count(missing), launches);
    }

    void normalStartLogsAndEndsCleanlyOnSigterm_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("failed"); // the file that does not load, if any
        QTest::addColumn<bool>("firstRun"); // else the marker is there already
        auto row = [](const char *name, const QStringList &arguments, const char *stored,
                      const char *failed, bool firstRun = true) {
            QTest::newRow(name) << arguments << QString::fromLatin1(stored)
                                << QString::fromLatin1(failed) << firstRun;
        };
        // The compiled-in names are case-sensitive: an unrepaired "zh-cn.qm" would not load.
        row("no switch", {}, "en.qm", "");
        row("switch as third argument", {"foo", "--language", "German"}, "en.qm", "");
        row("nothing stored", {}, "", "");
        row("zh-cn repaired", {}, "zh-cn.qm", "");
        row("zh-tw repaired", {}, "zh-tw.qm", "");
        row("unknown kept", {}, "xx.qm", "xx.qm");
        row("not the first run", {}, "en.qm", "", false);
    }

    void normalStartLogsAndEndsCleanlyOnSigterm()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, stored);
        QFETCH(QString, failed);
        QFETCH(bool, firstRun);

        Sandbox sandbox;
        sandbox.setLang(stored);
        if (!firstRun) {
            QFile marker(sandbox.marker());
            QVERIFY(marker.open(QIODevice::WriteOnly) && marker.write("x") == 1);
        }
        startAndTerminate(sandbox, arguments);
        if (QTest::currentTestFailed())
            return;

        // One log a day, named by its date; every line carries that date, type and thread.
        const QDir logs(sandbox.data(QStringLiteral("logs/Quellnet")));
        const QStringList files = logs.entryList({QStringLiteral("*.log")});
        QCOMPARE(files.size(), 1);
        const QDate day = QDate::fromString(QFileInfo(files.first()).baseName(), Qt::ISODate);
        QVERIFY(qAbs(day.daysTo(QDate::currentDate())) <= 1);
        const QRegularExpression format(
            QLatin1Char('^') + day.toString(QStringLiteral("yyyyMMdd"))
            + QStringLiteral(" \\d{1,2}:\\d{2}:\\d{2}\\.\\d{3} (Debug|Info|Warning|Critical): "
                             "0x[0-9a-f]+ 0 (.*) $"));
        QStringList infos;
        for (const QString &line : QString::fromUtf8(readAll(logs.filePath(files.first())))
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch match = format.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            if (match.captured(1) == QLatin1String("Info"))
                infos << match.captured(2);
        }
        const QString all = QLatin1Char('\n') + infos.join(QLatin1Char('\n'));
        for (const char *label :
             {"DocPath:", "AppData:", "System:", "CPU:", "Memeory(MB):", "Memeory Used(%):"})
            QVERIFY2(all.contains(QLatin1Char('\n') + QLatin1String(label)), label);
        QCOMPARE(infos.filter(QStringLiteral("First Run")).size(), firstRun ? 1 : 0);
        QVERIFY(!readAll(sandbox.marker()).isEmpty());
        QCOMPARE(infos.filter(QStringLiteral("Load Lang Failed:")),
                 failed.isEmpty()
                     ? QStringList()
                     : QStringList(QStringLiteral("Load Lang Failed: \"%1\"").arg(failed)));
    }

    void splashChildShowsOnlyTheBoxUntilKilled()
    {
        Sandbox sandbox;
        QProcess child;
        child.setProcessEnvironment(sandbox.environment());
        child.start(kExe, {QStringLiteral("--splash-inner"), QStringLiteral("Please wait")});
        QVERIFY(child.waitForStarted(5000));
        // It stays up, where a switch or a failed normal start would end ...
        QVERIFY(!child.waitForFinished(1000));
        // ... with no handler for a clean quit (its parent kills it), touching no settings,
        // log or marker.
        QVERIFY(!catchesSigterm(child.processId()));
        child.kill();
        QVERIFY(child.waitForFinished(5000));
        QVERIFY(!QFileInfo::exists(sandbox.data()));
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
