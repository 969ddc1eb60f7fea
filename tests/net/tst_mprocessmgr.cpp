#include "logcapture.h"
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
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Children of this process not reaped yet (running or zombie).
QList<qint64> childrenOfUs()
{
    QList<qint64> children;
    const QByteArray ppid = "\nPPid:\t" + QByteArray::number(qint64(::getpid())) + '\n';
    for (const QString &dir : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (dir.toLongLong() > 0 && readAll("/proc/" + dir + "/status").contains(ppid))
            children << dir.toLongLong();
    }
    return children;
}

enum Program { Missing, NotExecutable, Quick, Slow };

} // namespace

Q_DECLARE_METATYPE(Program)

class MProcessMgrTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void cleanup()
    {
        // Children left running by a test (the slow ones run on past the wait) end here, so
        // nothing of one test outlives it.
        for (qint64 pid : childrenOfUs())
            ::kill(pid_t(pid), SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(childrenOfUs().isEmpty(), 10000);
    }

    void waitEndsWithTheChildOrTheTimeout_data()
    {
        QTest::addColumn<Program>("program");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::newRow("missing: logged, not waited for") << Missing << 0 << 500;
        QTest::newRow("not executable: no wait") << NotExecutable << 0 << 1500;
        QTest::newRow("quick exit ends the wait") << Quick << 0 << 1000;
        QTest::newRow("slow child: the time-out ends it") << Slow << 900 << 3000;
    }

    void waitEndsWithTheChildOrTheTimeout()
    {
        QFETCH(Program, program);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        const QString done = path(QStringLiteral("done"));
        QFile::remove(done);
        QString file = writeScript(
            QStringLiteral("child.sh"),
            QStringLiteral("%2echo ok > '%1'").arg(done, program == Slow ? "sleep 3\n" : ""));
        if (program == Missing)
            file = path(QStringLiteral("no-such-program"));
        if (program == NotExecutable)
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));

        LogCapture log;
        QElapsedTimer clock;
        clock.start();
        MProcessMgr::OpenSubProcess(file, {}, 1, true);
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= minMs && waited <= maxMs, qPrintable(QString::number(waited)));
        QCOMPARE(LogCapture::contains(QStringLiteral("process dose not exist:")),
                 program == Missing);
        QCOMPARE(QFileInfo::exists(done), program == Quick);
        if (program == Slow) // the child runs on past the time-out
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(done), 8000);
        // An ended wait leaves no timer behind: a later loop outlasting the 1 s time-out
        // ends only by its own timer.
        QEventLoop outer;
        QTimer::singleShot(1500, Qt::PreciseTimer, &outer, [&outer] { outer.exit(7); });
        QCOMPARE(outer.exec(), 7);
    }

    void bareNameIsFoundThroughPathAndArgumentsArriveInOrder()
    {
        const QString name = QStringLiteral("qnrun%1").arg(::getpid());
        const QString out = path(QStringLiteral("args"));
        writeScript(
            name, QStringLiteral("printf '%s\\n' \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'").arg(out));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ':' + oldPath);
        MProcessMgr::OpenSubProcess(name, {"first", "two words", QString(), "-x"}, 10, false);
        qputenv("PATH", oldPath);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(out), 8000);
        QCOMPARE(readAll(out), QByteArray("first\ntwo words\n\n-x\n"));
    }

    void killProcessEndsAChildButRefusesOtherIds()
    {
        QProcess child;
        child.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
        QVERIFY(child.waitForStarted(5000));
        QProcess gone;
        gone.start(QStringLiteral("/bin/true"), QStringList());
        QVERIFY(gone.waitForFinished(5000));
        // A group id would signal our own group (and us).
        for (int pid : {int(gone.processId()), INT_MAX, 0, -1, -int(::getpgrp())})
            QVERIFY2(!MProcessMgr::killProcess(pid), qPrintable(QString::number(pid)));
        QCOMPARE(child.state(), QProcess::Running);

        QVERIFY(MProcessMgr::killProcess(int(child.processId())));
        QVERIFY(child.waitForFinished(3000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    }

    void processesAreFoundAndKilledByNameButNotAsZombies()
    {
        const QString name = QStringLiteral("qnslp%1").arg(::getpid());
        const QString copy = path(name);
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), copy)); // executable, as the original
        int pid = -1;
        QVERIFY(!MProcessMgr::findProecessByName(name, pid, 0));
        // fork() directly: QProcess would reap the child before we could look at it.
        const QByteArray program = QFile::encodeName(copy);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::execl(program.constData(), program.constData(), "30", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        QTRY_VERIFY_WITH_TIMEOUT(MProcessMgr::findProecessByName(name.toUpper(), pid, 0), 5000);
        QCOMPARE(pid, int(child));
        QVERIFY(!MProcessMgr::findProecessByName(name, pid, int(child)));
        QVERIFY(MProcessMgr::KillProcessByName(name.toUpper()));
        // Until waitpid() the ended child stays in the process table as a zombie.
        QTRY_VERIFY_WITH_TIMEOUT(!MProcessMgr::findProecessByName(name, pid, 0), 5000);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString writeScript(const QString &name, const QString &body)
    {
        QFile script(path(name));
        script.open(QIODevice::WriteOnly); // a failure shows as a missing program
        script.write("#!/bin/sh\n" + body.toUtf8() + '\n');
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script.fileName();
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(MProcessMgrTest)
#include "tst_mprocessmgr.moc"
