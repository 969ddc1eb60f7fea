#include "mainwindow.h"
#include "startup.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

QString quellnetExe()
{
    return QStringLiteral(QUELLNET_BIN_DIR "/quellnet");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A private data folder for one or more runs of the program.
class Sandbox
{
public:
    Sandbox()
    {
        for (const char *sub : {"share", "config", "cache", "tmp", "runtime"})
            QDir(m_dir.path()).mkpath(QLatin1String(sub));
        QFile::setPermissions(m_dir.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ExeOwner);
    }

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString dataFolder() const { return m_dir.filePath(QStringLiteral("share/Quellnet")); }
    QString iniFile() const { return dataFolder() + QStringLiteral("/config_comm.ini"); }
    QString marker() const { return dataFolder() + QStringLiteral("/first.text"); }
    QString logFolder() const { return dataFolder() + QStringLiteral("/logs/Quellnet"); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name :
             {"QT_LOGGING_RULES", "QT_MESSAGE_PATTERN", "DBUS_SESSION_BUS_ADDRESS"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("HOME"), root());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("share")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_dir.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TMPDIR"), m_dir.filePath(QStringLiteral("tmp")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    void storeLang(const QString &lang) const
    {
        QDir().mkpath(dataFolder());
        QSettings settings(iniFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("save/lang"), lang);
    }

    QString storedLang() const
    {
        return QSettings(iniFile(), QSettings::IniFormat)
            .value(QStringLiteral("save/lang"))
            .toString();
    }

    // Every daily log of this folder, oldest first.
    QString log() const
    {
        QString text;
        const QStringList files
            = QDir(logFolder()).entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name);
        for (const QString &file : files)
            text += QString::fromUtf8(readAll(logFolder() + QLatin1Char('/') + file));
        return text;
    }

private:
    QTemporaryDir m_dir;
};

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    qint64 elapsedMs = 0;
    QString errorOutput;
};

// Runs a process that is expected to end by itself within timeoutMs.
Run runToEnd(const Sandbox &sandbox, const QString &program, const QStringList &arguments,
             int timeoutMs = 8000)
{
    Run run;
    QProcess process;
    process.setProcessEnvironment(sandbox.environment());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    run.finished = process.waitForFinished(timeoutMs);
    run.elapsedMs = clock.elapsed();
    if (run.finished) {
        run.exitCode = process.exitCode();
        run.exitStatus = process.exitStatus();
    }
    run.errorOutput = QString::fromUtf8(process.readAllStandardError());
    return run; // an unfinished process is killed by ~QProcess
}

// The program's SIGTERM handler is the last thing set up before the event loop.
bool catchesSigterm(qint64 pid)
{
    const QByteArray status = readAll(QStringLiteral("/proc/%1/status").arg(pid));
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1U;
    }
    return false;
}

int countOf(const QString &text, const QString &needle)
{
    return text.count(needle);
}

QStringList linesWith(const QString &text, const QString &needle)
{
    return text.split(QLatin1Char('\n')).filter(needle);
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void languageNamesMapToTranslationFiles_data();
    void languageNamesMapToTranslationFiles();
    void storedLanguageIsNormalised_data();
    void storedLanguageIsNormalised();
    void mainWindowIsOneFramelessFixedSizeWindow();

    void languageSwitchStoresFileAndEndsWithoutWindow_data();
    void languageSwitchStoresFileAndEndsWithoutWindow();
    void tapSwitchesReportMissingInstallerAndExitZero_data();
    void tapSwitchesReportMissingInstallerAndExitZero();
    void installTapRemovesBeforeInstallingWaitingOneSecondEach();

    void normalStartLogsEnvironmentAndEndsCleanlyOnSigterm_data();
    void normalStartLogsEnvironmentAndEndsCleanlyOnSigterm();
    void firstRunIsLoggedOnlyWhileMarkerIsMissing();
    void storedLanguageIsLoadedAfterRepair_data();
    void storedLanguageIsLoadedAfterRepair();
    void splashChildShowsOnlyTheBoxUntilKilled();

private:
    // Starts a normal run, waits until its SIGTERM handler is in place, ends it with SIGTERM and
    // checks that it ended cleanly.
    void runNormalStart(const Sandbox &sandbox, const QStringList &arguments);
};

void StartupTest::languageNamesMapToTranslationFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");

    const char *table[][2] = {
        {"Japanese", "ja.qm"},    {"Chinese", "zh-CN.qm"}, {"Taiwan", "zh-TW.qm"},
        {"HongKong", "zh-TW.qm"}, {"German", "de.qm"},     {"French", "fr.qm"},
        {"Spanish", "es.qm"},     {"Israel", "he.qm"},     {"Italiano", "it.qm"},
        {"Portuguese", "pt.qm"},  {"Russian", "ru.qm"},    {"Poland", "pl.qm"},
        {"Dutch", "nl.qm"},       {"Korean", "ko.qm"},
    };
    for (const auto &row : table)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);

    QTest::newRow("lower case") << "japanese"
                                << "ja.qm";
    QTest::newRow("blanks around") << " japanese "
                                   << "ja.qm";
    QTest::newRow("upper case") << "HONGKONG"
                                << "zh-TW.qm";
    QTest::newRow("tab and newline") << "\tKorean\n"
                                     << "ko.qm";
    QTest::newRow("unknown") << "Klingon"
                             << "en.qm";
    QTest::newRow("prefix of a name") << "Japan"
                                      << "en.qm";
    QTest::newRow("inner blank") << "Hong Kong"
                                 << "en.qm";
    QTest::newRow("empty") << ""
                           << "en.qm";
    QTest::newRow("blanks only") << "   "
                                 << "en.qm";
}

void StartupTest::languageNamesMapToTranslationFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(languageFileForName(name), file);
}

void StartupTest::storedLanguageIsNormalised_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("loaded");

    QTest::newRow("empty") << ""
                           << "en.qm";
    QTest::newRow("zh-cn") << "zh-cn.qm"
                           << "zh-CN.qm";
    QTest::newRow("zh-tw") << "zh-tw.qm"
                           << "zh-TW.qm";
    QTest::newRow("upper case unchanged") << "ZH-CN.qm"
                                          << "ZH-CN.qm";
    QTest::newRow("mixed case unchanged") << "Zh-Tw.qm"
                                          << "Zh-Tw.qm";
    QTest::newRow("blank around unchanged") << " zh-cn.qm"
                                            << " zh-cn.qm";
    QTest::newRow("proper name unchanged") << "zh-CN.qm"
                                           << "zh-CN.qm";
    QTest::newRow("other unchanged") << "ja.qm"
                                     << "ja.qm";
}

void StartupTest::storedLanguageIsNormalised()
{
    QFETCH(QString, stored);
    QFETCH(QString, loaded);
    QCOMPARE(normalizedLanguageFile(stored), loaded);
}

void StartupTest::mainWindowIsOneFramelessFixedSizeWindow()
{
    MainWindow *window = MainWindow::instance();
    QVERIFY(window);
    QCOMPARE(MainWindow::instance(), window);
    QWidget other;
    QCOMPARE(MainWindow::instance(&other), window);
    QCOMPARE(window->parentWidget(), nullptr);

    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QVERIFY(window->isWindow());
    QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window->size(), QSize(322, 500));
    QCOMPARE(window->minimumSize(), QSize(322, 500));
    QCOMPARE(window->maximumSize(), QSize(322, 500));
}

void StartupTest::languageSwitchStoresFileAndEndsWithoutWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("storedBefore");
    QTest::addColumn<QString>("storedAfter");

    QTest::newRow("no name, no file") << QStringList{"--language"} << QString() << "en.qm";
    QTest::newRow("no name replaces stored") << QStringList{"--language"} << "ko.qm"
                                             << "en.qm";
    QTest::newRow("blanks and lower case")
        << QStringList{"--language", " japanese "} << QString() << "ja.qm";
    QTest::newRow("upper-case switch") << QStringList{"--LANGUAGE", "German"} << "ko.qm"
                                       << "de.qm";
    QTest::newRow("unknown name") << QStringList{"--language", "Klingon"} << "ko.qm"
                                  << "en.qm";
}

void StartupTest::languageSwitchStoresFileAndEndsWithoutWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, storedBefore);
    QFETCH(QString, storedAfter);

    Sandbox sandbox;
    QVERIFY(sandbox.isValid());
    if (!storedBefore.isNull())
        sandbox.storeLang(storedBefore);

    const Run run = runToEnd(sandbox, quellnetExe(), arguments);
    QVERIFY2(run.finished, "a maintenance run must end by itself");
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.elapsedMs < 5000, qPrintable(QString::number(run.elapsedMs)));

    QCOMPARE(sandbox.storedLang(), storedAfter);
    struct stat info
    {
    };
    QCOMPARE(::stat(QFile::encodeName(sandbox.iniFile()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0600));

    // Neither the logger nor the start-up events ran.
    QVERIFY(!QFileInfo::exists(sandbox.dataFolder() + QStringLiteral("/logs")));
    QVERIFY(!QFileInfo::exists(sandbox.marker()));
}

void StartupTest::tapSwitchesReportMissingInstallerAndExitZero_data()
{
    QTest::addColumn<QString>("tapSwitch");
    QTest::addColumn<QString>("installer");
    QTest::addColumn<int>("runs");

    QTest::newRow("install") << "--install-tap"
                             << "/TAP/tapinstall" << 2;
    QTest::newRow("uninstall") << "--uninstall-tap"
                               << "/TAP-Win10/bin/tapinstall" << 1;
}

void StartupTest::tapSwitchesReportMissingInstallerAndExitZero()
{
    QFETCH(QString, tapSwitch);
    QFETCH(QString, installer);
    QFETCH(int, runs);

    const QString exeDir = QFileInfo(quellnetExe()).canonicalPath();
    const QString program = exeDir + installer;
    QVERIFY2(!QFileInfo::exists(program), qPrintable(program + " must not exist for this test"));

    Sandbox sandbox;
    QVERIFY(sandbox.isValid());
    const Run run = runToEnd(sandbox, quellnetExe(), {tapSwitch});
    QVERIFY(run.finished);
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);

    const QStringList missing = linesWith(
        run.errorOutput, QStringLiteral("MProcessMgr::OpenSubProcess,process dose not exist:"));
    QVERIFY2(missing.size() == runs, qPrintable(run.errorOutput));
    for (const QString &line : missing)
        QVERIFY2(line.contains(QLatin1Char('"') + program + QLatin1Char('"')), qPrintable(line));
    QVERIFY(!QFileInfo::exists(sandbox.dataFolder() + QStringLiteral("/logs")));
}

void StartupTest::installTapRemovesBeforeInstallingWaitingOneSecondEach()
{
    QTemporaryDir copyDir;
    QVERIFY(copyDir.isValid());
    const QString dir = QFileInfo(copyDir.path()).canonicalFilePath();
    const QString exe = dir + QStringLiteral("/quellnet");
    QVERIFY(QFile::copy(quellnetExe(), exe));
    QVERIFY(QFile::setPermissions(
        exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QVERIFY(QDir(dir).mkpath(QStringLiteral("TAP")));

    const QString record = dir + QStringLiteral("/record.txt");
    const QString pids = dir + QStringLiteral("/installer.pids");
    const QString installer = dir + QStringLiteral("/TAP/tapinstall");
    {
        QFile script(installer);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\n"
                                    "echo $$ >> '%2'\nexec /bin/sleep 5\n")
                         .arg(record, pids)
                         .toUtf8());
    }
    QVERIFY(QFile::setPermissions(
        installer, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

    Sandbox sandbox;
    QVERIFY(sandbox.isValid());
    const Run run = runToEnd(sandbox, exe, {QStringLiteral("--install-tap")});

    // The installers outlive the program on purpose; end them by their recorded ids.
    for (const QByteArray &pid : readAll(pids).split('\n')) {
        const QByteArray cmdline = readAll(QStringLiteral("/proc/%1/cmdline").arg(pid.toInt()));
        if (pid.toInt() > 0 && cmdline.startsWith("/bin/sleep"))
            ::kill(pid.toInt(), SIGKILL);
    }

    QVERIFY(run.finished);
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.elapsedMs >= 1800 && run.elapsedMs <= 4500,
             qPrintable(QString::number(run.elapsedMs)));
    const QStringList expected{
        QStringLiteral("remove tap0901"),
        QStringLiteral("install %1/TAP/OemVista.inf tap0901").arg(dir),
    };
    QCOMPARE(QString::fromUtf8(readAll(record)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expected);
}

void StartupTest::runNormalStart(const Sandbox &sandbox, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(sandbox.environment());
    process.start(quellnetExe(), arguments);
    QVERIFY(process.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(
        process.state() != QProcess::Running || catchesSigterm(process.processId()), 15000);
    QCOMPARE(process.state(), QProcess::Running);

    QCOMPARE(::kill(pid_t(process.processId()), SIGTERM), 0);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void StartupTest::normalStartLogsEnvironmentAndEndsCleanlyOnSigterm_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("no switch") << QStringList();
    QTest::newRow("switch as third argument") << QStringList{"foo", "--language", "German"};
}

void StartupTest::normalStartLogsEnvironmentAndEndsCleanlyOnSigterm()
{
    QFETCH(QStringList, arguments);

    Sandbox sandbox;
    QVERIFY(sandbox.isValid());
    sandbox.storeLang(QStringLiteral("en.qm"));
    const QDate before = QDate::currentDate();
    runNormalStart(sandbox, arguments);
    if (QTest::currentTestFailed())
        return;
    const QDate after = QDate::currentDate();

    QStringList logs = QDir(sandbox.logFolder()).entryList({QStringLiteral("*.log")});
    QCOMPARE(logs.size(), 1);
    const QString logName = logs.first();
    QVERIFY2(logName == before.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log")
                 || logName
                     == after.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log"),
             qPrintable(logName));

    const QString log = sandbox.log();
    QCOMPARE(countOf(log, QStringLiteral("First Run")), 1);
    QCOMPARE(sandbox.storedLang(), QStringLiteral("en.qm"));

    const QRegularExpression anyLine(
        QStringLiteral("^(\\d{8}) \\d{1,2}:\\d{2}:\\d{2}\\.\\d{3} (Debug|Info|Warning|Critical):"
                       " 0x[0-9a-f]+ 0 .* $"));
    const QStringList lines = log.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = anyLine.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        QCOMPARE(match.captured(1), QString(logName).remove(QLatin1Char('-')).left(8));
    }
    for (const char *label : {"DocPath:", "AppData:", "System:", "CPU:", "Memeory(MB):",
                              "Memeory Used(%):", "First Run"}) {
        const QRegularExpression infoLine(
            QStringLiteral("^\\d{8} \\d{1,2}:\\d{2}:\\d{2}\\.\\d{3} Info: 0x[0-9a-f]+ 0 ")
            + QRegularExpression::escape(QLatin1String(label)) + QStringLiteral("( .*)? $"));
        QVERIFY2(!lines.filter(infoLine).isEmpty(), label);
    }
}

void StartupTest::firstRunIsLoggedOnlyWhileMarkerIsMissing()
{
    Sandbox sandbox;
    QVERIFY(sandbox.isValid());
    const QString lastEnvironmentLine = QStringLiteral("Memeory Used(%):");

    runNormalStart(sandbox, {});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(countOf(sandbox.log(), lastEnvironmentLine), 1);
    QCOMPARE(countOf(sandbox.log(), QStringLiteral("First Run")), 1);
    QCOMPARE(readAll(sandbox.marker()), QByteArray("VPN"));

    runNormalStart(sandbox, {});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(countOf(sandbox.log(), lastEnvironmentLine), 2);
    QCOMPARE(countOf(sandbox.log(), QStringLiteral("First Run")), 1);
    QCOMPARE(readAll(sandbox.marker()), QByteArray("VPN"));

    QVERIFY(QFile::remove(sandbox.marker()));
    runNormalStart(sandbox, {});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(countOf(sandbox.log(), lastEnvironmentLine), 3);
    QCOMPARE(countOf(sandbox.log(), QStringLiteral("First Run")), 2);
    QCOMPARE(readAll(sandbox.marker()), QByteArray("VPN"));
}

void StartupTest::storedLanguageIsLoadedAfterRepair_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("loaded");

    QTest::newRow("unknown file") << "xx.qm"
                                  << "xx.qm";
    QTest::newRow("zh-cn") << "zh-cn.qm"
                           << "zh-CN.qm";
    QTest::newRow("zh-tw") << "zh-tw.qm"
                           << "zh-TW.qm";
    QTest::newRow("empty") << ""
                           << "en.qm";
}

void StartupTest::storedLanguageIsLoadedAfterRepair()
{
    QFETCH(QString, stored);
    QFETCH(QString, loaded);

    Sandbox sandbox;
    QVERIFY(sandbox.isValid());
    sandbox.storeLang(stored);
    runNormalStart(sandbox, {});
    if (QTest::currentTestFailed())
        return;

    const QStringList failed = linesWith(sandbox.log(), QStringLiteral("Load Lang Failed:"));
    QCOMPARE(failed.size(), 1);
    QVERIFY2(failed.first().contains(QLatin1Char('"') + loaded + QLatin1Char('"')),
             qPrintable(failed.first()));
}

void StartupTest::splashChildShowsOnlyTheBoxUntilKilled()
{
    Sandbox sandbox;
    QVERIFY(sandbox.isValid());
    QProcess child;
    child.setProcessEnvironment(sandbox.environment());
    child.start(quellnetExe(), {QStringLiteral("--splash-inner"), QStringLiteral("Please wait")});
    QVERIFY(child.waitForStarted(5000));
    // It stays up (a maintenance switch or a second start would end at once) ...
    QVERIFY(!child.waitForFinished(1500));
    QCOMPARE(child.state(), QProcess::Running);
    // ... without touching settings, log or marker, and leaves no handler for a clean quit:
    // the parent ends it with a kill.
    QVERIFY(!QFileInfo::exists(sandbox.dataFolder()));
    QVERIFY(!catchesSigterm(child.processId()));
    child.kill();
    QVERIFY(child.waitForFinished(5000));
    QVERIFY(!QFileInfo::exists(sandbox.dataFolder()));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
