#include "singleapplication.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

// One instance of the guard in a child process: reports on stdout, ends when stdin closes.
static int runChild(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(qEnvironmentVariable("SINGLEAPP_TEST_NAME"));
    SingleApplication single(false, SingleApplication::User, 1000);
    if (single.exitCode() >= 0)
        return single.exitCode();
    QTextStream out(stdout);
    out << "primary " << single.serverPath() << Qt::endl;
    QObject::connect(&single, &SingleApplication::instanceStarted,
                     [&out] { out << "started" << Qt::endl; });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    return app.exec();
}

class TestSingleApplication : public QObject
{
    Q_OBJECT

    QProcess *startChild()
    {
        auto *child = new QProcess(this);
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
        return child;
    }
    // The first line of child that starts with prefix, without it; empty if none within 10 s.
    static QByteArray awaitLine(QProcess *child, const QByteArray &prefix)
    {
        for (int i = 0; i < 50; ++i) {
            if (!child->canReadLine() && !child->waitForReadyRead(200))
                continue;
            const QByteArray line = child->readLine().trimmed() + '|';
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
        return QByteArray();
    }
    // Whether a later start ends with exit code 0 and wakes the primary.
    bool announceTo(QProcess *primary)
    {
        QProcess *later = startChild();
        return later->waitForFinished(10000) && later->exitStatus() == QProcess::NormalExit
            && later->exitCode() == 0 && awaitLine(primary, "started") == "|";
    }

private slots:
    void primaryIsReplaced_data()
    {
        QTest::addColumn<int>("end");
        QTest::newRow("clean exit") << 0;
        QTest::newRow("SIGKILL") << 1;
        QTest::newRow("socket gone, process alive") << 2;
    }
    void primaryIsReplaced()
    {
        QFETCH(int, end);
        QProcess *first = startChild();
        QByteArray path = awaitLine(first, "primary ");
        QVERIFY(path.size() > 1);
        path.chop(1);
        QVERIFY(announceTo(first));
        if (end == 0)
            first->closeWriteChannel();
        else if (end == 1)
            QCOMPARE(::kill(pid_t(first->processId()), SIGKILL), 0);
        else
            QCOMPARE(::unlink(path.constData()), 0);
        QVERIFY(end == 2 || first->waitForFinished(10000));
        QProcess *next = startChild();
        QCOMPARE(awaitLine(next, "primary "), path + '|');
        struct stat st;
        QCOMPARE(::lstat(path.constData(), &st), 0);
        QVERIFY(S_ISSOCK(st.st_mode) && st.st_uid == ::getuid());
        QCOMPARE(st.st_mode & (S_IRWXG | S_IRWXO), 0u);
        QVERIFY(announceTo(next));
        for (QProcess *child : {next, first}) {
            child->closeWriteChannel();
            QVERIFY(child->state() == QProcess::NotRunning || child->waitForFinished(10000));
        }
    }

    // Only a well-formed announcement with the primary's own name wakes it.
    void announcement_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("valid") << 0;
        QTest::newRow("wrong checksum") << 1;
        QTest::newRow("other name") << 2;
    }
    void announcement()
    {
        QFETCH(int, fault);
        QCoreApplication::setApplicationName(QStringLiteral("tst-inprocess"));
        SingleApplication single(false, SingleApplication::User, 1000);
        QSignalSpy started(&single, &SingleApplication::instanceStarted);
        QByteArray body;
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_5_6);
        out << (fault == 2 ? "other" : single.blockName().toLatin1()) << qint8(1) << qint32(0);
        out << quint16(qChecksum(body.constData(), uint(body.size())) + (fault == 1));
        QLocalSocket client;
        QSignalSpy closed(&client, &QLocalSocket::disconnected);
        client.connectToServer(single.serverPath());
        QVERIFY(client.waitForConnected(2000));
        QDataStream(&client) << quint64(body.size());
        client.write(body);
        if (fault == 0)
            QVERIFY(started.wait(5000));
        else
            QVERIFY(closed.wait(5000) && started.isEmpty());
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    qputenv("SINGLEAPP_TEST_NAME", "tst-" + QByteArray::number(app.applicationPid()));
    // A temp folder too deep for a socket address must not stop the guard from listening.
    const QString deep = QDir::tempPath() + QLatin1Char('/') + QString(110, QLatin1Char('d'));
    QDir().mkpath(deep);
    qputenv("TMPDIR", QFile::encodeName(deep));
    qunsetenv("XDG_RUNTIME_DIR");
    TestSingleApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleapplication.moc"
