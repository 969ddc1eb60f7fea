#include "mprocessmgr.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <climits>
#include <csignal>
#include <memory>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList *s_captured = nullptr;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (s_captured)
        s_captured->append(message);
}

// Collects this thread's Qt messages for the lifetime of the object.
class MessageCapture
{
public:
    MessageCapture()
    {
        s_captured = &m_lines;
        m_previous = qInstallMessageHandler(captureMessage);
    }
    ~MessageCapture()
    {
        qInstallMessageHandler(m_previous);
        s_captured = nullptr;
    }
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    QStringList matching(const QString &text) const { return m_lines.filter(text); }
    QString all() const { return m_lines.join(QLatin1Char('\n')); }

private:
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};

// Sets an environment variable for one scope.
class EnvGuard
{
public:
    EnvGuard(const char *name, const QByteArray &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isRunningChildOfUs(qint64 pid)
{
    if (pid <= 0)
        return false;
    const QByteArray status = readAll(QStringLiteral("/proc/%1/status").arg(pid));
    return status.contains("\nPPid:\t" + QByteArray::number(qint64(::getpid())) + '\n')
        && !status.contains("\nState:\tZ");
}

// Children of this process that have not been reaped yet (running or zombie).
int childrenOfUs()
{
    int count = 0;
    const QByteArray ppid = "\nPPid:\t" + QByteArray::number(qint64(::getpid())) + '\n';
    for (const QString &dir : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        dir.toInt(&isPid);
        if (isPid && readAll(QStringLiteral("/proc/%1/status").arg(dir)).contains(ppid))
            ++count;
    }
    return count;
}

} // namespace

class MProcessMgrTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingProgramIsLoggedAndNothingWaitedFor();
    void bareNameIsResolvedThroughPathBeforeExistenceTest();
    void unstartableProgramEndsWaitAtOnce();
    void timeoutEndsWaitWhileChildRunsOn();
    void earlyExitEndsWaitAndLeavesNoStaleTimer();
    void callerTimersKeepTickingDuringWait();
    void noWaitReturnsAtOnceAndPassesArgumentsInOrder();
    void killProcessRefusesUnknownAndGroupIds();
    void killProcessEndsRealChild();
    void processesAreFoundAndKilledByCaseInsensitiveName();
    void endedButUnreapedProcessIsNotFound();

private:
    QString writeScript(const QString &name, const QString &body);
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void MProcessMgrTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY2(m_dir->isValid(), qPrintable(m_dir->errorString()));
}

void MProcessMgrTest::cleanup()
{
    // Long-running children of a test write their id to "*.pid"; end them by that id.
    const QStringList pidFiles = QDir(m_dir->path()).entryList({QStringLiteral("*.pid")});
    for (const QString &file : pidFiles) {
        const qint64 pid = readAll(path(file)).trimmed().toLongLong();
        if (isRunningChildOfUs(pid))
            ::kill(pid_t(pid), SIGKILL);
    }
    // Let Qt reap the children and release their process objects (released once each child
    // has ended), so nothing of one test outlives it.
    QTRY_COMPARE_WITH_TIMEOUT(childrenOfUs(), 0, 10000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_dir.reset();
}

QString MProcessMgrTest::writeScript(const QString &name, const QString &body)
{
    const QString file = path(name);
    QFile script(file);
    if (!script.open(QIODevice::WriteOnly))
        return QString();
    script.write("#!/bin/sh\n" + body.toUtf8() + '\n');
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return file;
}

void MProcessMgrTest::missingProgramIsLoggedAndNothingWaitedFor()
{
    const QString missing = path(QStringLiteral("no-such-program"));
    const QString bareMissing = QStringLiteral("qn-missing-%1").arg(::getpid());
    MessageCapture capture;
    QElapsedTimer clock;
    clock.start();
    MProcessMgr::OpenSubProcess(missing, {QStringLiteral("arg")}, 5, true);
    MProcessMgr::OpenSubProcess(bareMissing, {}, 5, true);
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));

    const QStringList lines
        = capture.matching(QStringLiteral("MProcessMgr::OpenSubProcess,process dose not exist:"));
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).contains(missing), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).contains(bareMissing), qPrintable(lines.at(1)));
    QVERIFY(!QFileInfo::exists(missing));
}

void MProcessMgrTest::bareNameIsResolvedThroughPathBeforeExistenceTest()
{
    const QString name = QStringLiteral("qnrun%1").arg(::getpid());
    const QString marker = path(QStringLiteral("ran"));
    const QString script = writeScript(name, QStringLiteral("echo ran > '%1'").arg(marker));
    QVERIFY(!script.isEmpty());
    EnvGuard pathGuard("PATH", QFile::encodeName(m_dir->path()) + ':' + qgetenv("PATH"));

    MessageCapture capture;
    MProcessMgr::OpenSubProcess(name, {}, 5, true);

    QVERIFY2(capture.matching(QStringLiteral("dose not exist")).isEmpty(),
             qPrintable(capture.all()));
    const QStringList run = capture.matching(QStringLiteral("Run:"));
    QCOMPARE(run.size(), 1);
    QVERIFY2(run.first().contains(script), qPrintable(run.first()));
    // The wait ended because the child finished, so its output is already there.
    QCOMPARE(readAll(marker), QByteArray("ran\n"));
}

void MProcessMgrTest::unstartableProgramEndsWaitAtOnce()
{
    const QString file = path(QStringLiteral("not-executable"));
    QFile plain(file);
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\nexit 0\n");
    plain.close();
    QVERIFY(plain.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    MessageCapture capture;
    QElapsedTimer clock;
    clock.start();
    MProcessMgr::OpenSubProcess(file, {}, 5, true);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(capture.matching(QStringLiteral("dose not exist")).isEmpty());
}

void MProcessMgrTest::timeoutEndsWaitWhileChildRunsOn()
{
    const QString started = path(QStringLiteral("started"));
    const QString done = path(QStringLiteral("done"));
    const QString script = writeScript(
        QStringLiteral("slow.sh"),
        QStringLiteral("echo up > '%1'\nsleep 4\necho done > '%2'").arg(started, done));
    QVERIFY(!script.isEmpty());

    QElapsedTimer clock;
    clock.start();
    MProcessMgr::OpenSubProcess(script, {}, 1, true);
    const qint64 waited = clock.elapsed();
    QVERIFY2(waited >= 900 && waited <= 3000, qPrintable(QString::number(waited)));

    QVERIFY(QFileInfo::exists(started));
    QVERIFY2(!QFileInfo::exists(done), "the child must still be running after the time-out");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(done), 8000);
    QVERIFY(clock.elapsed() >= 3500);
}

void MProcessMgrTest::earlyExitEndsWaitAndLeavesNoStaleTimer()
{
    const QString marker = path(QStringLiteral("quick"));
    const QString script
        = writeScript(QStringLiteral("quick.sh"), QStringLiteral("echo quick > '%1'").arg(marker));
    QVERIFY(!script.isEmpty());

    QElapsedTimer clock;
    clock.start();
    MProcessMgr::OpenSubProcess(script, {}, 3, true);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(QFileInfo::exists(marker));

    // An outer loop that outlasts the original 3 s time-out must end only by its own timer.
    // Precise, because a coarse timer may fire up to 5 % early.
    QEventLoop outer;
    bool ownTimerFired = false;
    clock.restart();
    QTimer::singleShot(3500, Qt::PreciseTimer, &outer, [&] {
        ownTimerFired = true;
        outer.quit();
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, &outer, &QEventLoop::quit);
    guard.start(10000);
    outer.exec();
    QVERIFY2(ownTimerFired, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(clock.elapsed() >= 3400);
}

void MProcessMgrTest::callerTimersKeepTickingDuringWait()
{
    const QString pidFile = path(QStringLiteral("ticker.pid"));
    const QString script = writeScript(QStringLiteral("ticker.sh"),
                                       QStringLiteral("echo $$ > '%1'\nexec sleep 5").arg(pidFile));
    QVERIFY(!script.isEmpty());

    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(50);
    connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
    ticker.start();
    QElapsedTimer clock;
    clock.start();
    MProcessMgr::OpenSubProcess(script, {}, 1, true);
    const int ticksDuringWait = ticks;
    ticker.stop();

    QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(ticksDuringWait >= 5, qPrintable(QString::number(ticksDuringWait)));
}

void MProcessMgrTest::noWaitReturnsAtOnceAndPassesArgumentsInOrder()
{
    const QString out = path(QStringLiteral("args"));
    const QString script = writeScript(
        QStringLiteral("args.sh"),
        QStringLiteral("sleep 1\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.tmp'\n"
                       "mv '%1.tmp' '%1'")
            .arg(out));
    QVERIFY(!script.isEmpty());
    const QStringList arguments{QStringLiteral("first"), QStringLiteral("two words"), QString(),
                                QStringLiteral("-x"), QStringLiteral("last")};

    QElapsedTimer clock;
    clock.start();
    MProcessMgr::OpenSubProcess(script, arguments, 10, false);
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!QFileInfo::exists(out));

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out), 8000);
    QCOMPARE(readAll(out), QByteArray("first\ntwo words\n\n-x\nlast\n"));
}

void MProcessMgrTest::killProcessRefusesUnknownAndGroupIds()
{
    // A child in our own process group: a group-wide signal would end it (and us).
    QProcess sibling;
    sibling.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    QVERIFY(sibling.waitForStarted(5000));

    QProcess gone;
    gone.start(QStringLiteral("/bin/true"), QStringList());
    QVERIFY(gone.waitForStarted(5000));
    const int gonePid = int(gone.processId());
    QVERIFY(gone.waitForFinished(5000));

    const int pidMax = readAll(QStringLiteral("/proc/sys/kernel/pid_max")).trimmed().toInt();
    QVERIFY(pidMax > 0);

    QVERIFY(!MProcessMgr::killProcess(gonePid));
    QVERIFY(!MProcessMgr::killProcess(pidMax));
    QVERIFY(!MProcessMgr::killProcess(INT_MAX));
    QVERIFY(!MProcessMgr::killProcess(0));
    QVERIFY(!MProcessMgr::killProcess(-1));
    QVERIFY(!MProcessMgr::killProcess(-int(::getpgrp())));

    QVERIFY(!sibling.waitForFinished(200));
    QCOMPARE(sibling.state(), QProcess::Running);
    QVERIFY(isRunningChildOfUs(sibling.processId()));
    sibling.kill();
    QVERIFY(sibling.waitForFinished(5000));
}

void MProcessMgrTest::killProcessEndsRealChild()
{
    QProcess child;
    child.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    QVERIFY(child.waitForStarted(5000));

    QElapsedTimer clock;
    clock.start();
    QVERIFY(MProcessMgr::killProcess(int(child.processId())));
    QVERIFY(child.waitForFinished(3000));
    QVERIFY(clock.elapsed() < 3000);
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
}

void MProcessMgrTest::processesAreFoundAndKilledByCaseInsensitiveName()
{
    const QString name = QStringLiteral("qnslp%1").arg(::getpid());
    const QString copy = path(name);
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), copy));
    QVERIFY(QFile::setPermissions(
        copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

    int pid = -1;
    QVERIFY(!MProcessMgr::findProecessByName(name, pid, 0));

    QProcess sleeper;
    sleeper.start(copy, {QStringLiteral("30")});
    QVERIFY(sleeper.waitForStarted(5000));
    const int sleeperPid = int(sleeper.processId());

    pid = -1;
    QVERIFY(MProcessMgr::findProecessByName(name, pid, 0));
    QCOMPARE(pid, sleeperPid);
    pid = -1;
    QVERIFY(MProcessMgr::findProecessByName(name.toUpper(), pid, 0));
    QCOMPARE(pid, sleeperPid);
    pid = -1;
    QVERIFY(!MProcessMgr::findProecessByName(name, pid, sleeperPid));

    // Another name ends nothing of ours.
    QVERIFY(MProcessMgr::KillProcessByName(name + QStringLiteral("x")));
    QVERIFY(!sleeper.waitForFinished(200));

    QVERIFY(MProcessMgr::KillProcessByName(name.toUpper()));
    QVERIFY(sleeper.waitForFinished(3000));
    QCOMPARE(sleeper.exitStatus(), QProcess::CrashExit);
    pid = -1;
    QVERIFY(!MProcessMgr::findProecessByName(name, pid, 0));
}

void MProcessMgrTest::endedButUnreapedProcessIsNotFound()
{
    const QString name = QStringLiteral("qnzmb%1").arg(::getpid());
    const QString copy = path(name);
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), copy));
    QVERIFY(QFile::setPermissions(
        copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    const QByteArray program = QFile::encodeName(copy);

    // fork() directly: QProcess would reap the child before we could look at it.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::execl(program.constData(), program.constData(), "30", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int pid = -1;
    QTRY_VERIFY_WITH_TIMEOUT(MProcessMgr::findProecessByName(name, pid, 0), 5000);
    QCOMPARE(pid, int(child));

    QCOMPARE(::kill(child, SIGKILL), 0);
    // Until waitpid() the ended child stays in the process table as a zombie.
    QTRY_VERIFY_WITH_TIMEOUT(!MProcessMgr::findProecessByName(name, pid, 0), 5000);
    QVERIFY(QFileInfo::exists(QStringLiteral("/proc/%1").arg(child)));
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
}

QTEST_GUILESS_MAIN(MProcessMgrTest)
#include "tst_mprocessmgr.moc"
