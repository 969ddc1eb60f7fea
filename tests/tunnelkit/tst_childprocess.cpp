// The spawned child as the engine uses it for openvpn: output, end, signals, descriptors.
#include "childprocess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using tunnelkit::ChildProcess;

class TestChildProcess : public QObject
{
    Q_OBJECT
private slots:
    void endsAsItShould_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<bool>("crashed");
        QTest::addColumn<int>("code");
        QTest::newRow("output of both kinds, exit code")
            << "echo out; echo err >&2; exit 3" << QByteArray("out\nerr\n") << false << 3;
        QTest::newRow("killed by a signal") << "kill -SEGV $$" << QByteArray() << true << 0;
        // This process ignores SIGTERM (below); the child must not inherit that.
        QTest::newRow("signals start at their default")
            << "kill -TERM $$; echo survived" << QByteArray() << true << 0;
        QTest::newRow("input is empty") << "cat; echo done" << QByteArray("done\n") << false << 0;
        // %1: a descriptor of this process without close-on-exec.
        QTest::newRow("no descriptor of ours")
            << "test -e /proc/$$/fd/%1 && echo leaked; echo looked" << QByteArray("looked\n")
            << false << 0;
    }
    void endsAsItShould()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, output);
        QFETCH(bool, crashed);
        QFETCH(int, code);
        // As a library might leave one.
        const int stray = ::open("/dev/null", O_RDONLY);
        const auto ignored = std::signal(SIGTERM, SIG_IGN);
        ChildProcess child;
        QSignalSpy finished(&child, &ChildProcess::finished);
        QByteArray got;
        connect(&child, &ChildProcess::readyRead, this, [&] { got += child.readAll(); });
        QString error;
        const bool started
            = child.start(QStringLiteral("/bin/sh"),
                          {QStringLiteral("-c"), script.replace("%1", QString::number(stray))},
                          QString(), &error);
        std::signal(SIGTERM, ignored);
        ::close(stray);
        QVERIFY2(started, qPrintable(error));
        QVERIFY(child.processId() > 0);
        QVERIFY(finished.wait(5000));
        QCOMPARE(got, output);
        QCOMPARE(child.crashed(), crashed);
        QCOMPARE(child.exitCode(), code);
        QVERIFY(!child.isRunning());
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
    }

    void readsInBatchesWhenAsked()
    {
        ChildProcess child;
        child.setReadPause(1000);
        QSignalSpy finished(&child, &ChildProcess::finished);
        int reads = 0;
        QByteArray got;
        connect(&child, &ChildProcess::readyRead, this, [&] {
            ++reads;
            got += child.readAll();
        });
        QString error;
        QVERIFY(child.start(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"),
                             QStringLiteral("for i in 1 2 3 4 5; do echo $i; sleep 0.05; done")},
                            QString(), &error));
        QVERIFY(finished.wait(5000));
        // The first line as it comes, the rest when it ends; nothing lost.
        QVERIFY2(reads <= 2, qPrintable(QString::number(reads)));
        QCOMPARE(got, QByteArray("1\n2\n3\n4\n5\n"));
    }

    void waitsTerminatesAndKills()
    {
        QTemporaryDir dir;
        ChildProcess child;
        QString error;
        // A shell that ignores SIGTERM only ends on SIGKILL; its output is kept across the wait.
        QVERIFY(child.start(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), QStringLiteral("trap '' TERM; pwd; sleep 30")},
                            dir.path(), &error));
        QVERIFY(!child.waitForFinished(300));
        QVERIFY(child.isRunning());
        child.terminate();
        QVERIFY(!child.waitForFinished(300));
        child.kill();
        QVERIFY(child.waitForFinished(5000));
        QVERIFY(child.crashed());
        QCOMPARE(child.readAll(), QFile::encodeName(dir.path()) + '\n');

        ChildProcess missing;
        QVERIFY(!missing.start(dir.filePath(QStringLiteral("nothing")), {}, QString(), &error));
        QVERIFY(error.contains(QLatin1String("No such file")));
        QVERIFY(!missing.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestChildProcess)
#include "tst_childprocess.moc"
