#include "mconfig.h"
#include "mlogger.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

namespace {

QByteArray readLog()
{
    QFile file(getLogFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString threadHex()
{
    return QString::number(reinterpret_cast<quintptr>(QThread::currentThreadId()), 16);
}

const QRegularExpression kLine(QStringLiteral(
    "^(\\d{8} \\d{1,2}:\\d{2}:\\d{2}\\.\\d{3}) (Debug:|Info:|Warning:|Critical:|Fatal:) "
    "0x([0-9a-f]+) (\\d+) (.*) $"));

} // namespace

class TestMLogger : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
        QVERIFY(!qEnvironmentVariable("XDG_DATA_HOME").isEmpty());
        MLogger::setProductFolder(QStringLiteral("Quellnet"));
        QFile::remove(getLogFile());
        qInstallMessageHandler(logMethod);
        startLog();
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        closeLog();
    }

    void logFileIsTheDailyFileUnderLogsProduct()
    {
        const QString expected = MConfig::getAppDataFolder(QStringLiteral("logs"))
            + QStringLiteral("Quellnet/")
            + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log");
        QCOMPARE(getLogFile(), expected);
        QVERIFY(QFileInfo(expected).dir().exists());
        // The path is fixed for the rest of the process.
        MLogger::setProductFolder(QStringLiteral("Other"));
        QCOMPARE(getLogFile(), expected);
        MLogger::setProductFolder(QStringLiteral("Quellnet"));
    }

    void infoLineHasTheExactFormat()
    {
        const QByteArray before = readLog();
        const QDateTime t0 = QDateTime::currentDateTime();
        qInfo("hello %d", 42);
        const QByteArray added = readLog().mid(before.size());
        QVERIFY(added.endsWith(" \n"));
        const QString line = QString::fromUtf8(added.left(added.size() - 1));
        const QRegularExpressionMatch m = kLine.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        QCOMPARE(m.captured(2), QStringLiteral("Info:"));
        QCOMPARE(m.captured(3), threadHex());
        QCOMPARE(m.captured(4), QStringLiteral("0"));
        QCOMPARE(m.captured(5), QStringLiteral("hello 42"));
        const QDateTime stamp
            = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd h:mm:ss.zzz"));
        QVERIFY(stamp.isValid());
        QVERIFY(qAbs(stamp.msecsTo(t0)) < 5000);
    }

    void levelWordsFollowTheMessageType()
    {
        const QByteArray before = readLog();
        qDebug("level-debug");
        qWarning("level-warning");
        qCritical("level-critical");
        const QString added = QString::fromUtf8(readLog().mid(before.size()));
        QVERIFY(added.contains(QStringLiteral(" Debug: 0x")));
        QVERIFY(added.contains(
            QRegularExpression(QStringLiteral(" Debug: 0x[0-9a-f]+ 0 level-debug \n"))));
        QVERIFY(added.contains(
            QRegularExpression(QStringLiteral(" Warning: 0x[0-9a-f]+ 0 level-warning \n"))));
        QVERIFY(added.contains(
            QRegularExpression(QStringLiteral(" Critical: 0x[0-9a-f]+ 0 level-critical \n"))));

        // A fatal message would end the process; its line is checked as text.
        QMessageLogContext context;
        QVERIFY(formatLogLine(QtFatalMsg, context, QStringLiteral("x"))
                    .contains(QStringLiteral(" Fatal: 0x")));
        QVERIFY(formatLogLine(QtMsgType(42), context, QStringLiteral("x"))
                    .contains(QStringLiteral(" Debug: 0x")));
        // Percent signs in a message are not placeholders.
        QVERIFY(formatLogLine(QtInfoMsg, context, QStringLiteral("100% %1 %2"))
                    .endsWith(QStringLiteral(" 100% %1 %2 ")));
    }

    void widgetSizeWarningsNeverReachTheFile()
    {
        const QByteArray before = readLog();
        qWarning("QWidget::setMinimumSize: (/MainWindow) Negative sizes (-1,-1) are not possible");
        qWarning("qwidget::SETMAXIMUMSIZE: (x) The largest allowed size is (16777215,16777215)");
        qWarning("QWidget::setMaximumSize: (x) whatever");
        qWarning("Note: QWidget::setMinimumSize is fine inside a message");
        const QString added = QString::fromUtf8(readLog().mid(before.size()));
        QVERIFY(!added.contains(QStringLiteral("setMinimumSize:"), Qt::CaseInsensitive));
        QVERIFY(!added.contains(QStringLiteral("SETMAXIMUMSIZE"), Qt::CaseInsensitive));
        QVERIFY(added.contains(
            QStringLiteral("Note: QWidget::setMinimumSize is fine inside a message")));
        QCOMPARE(added.count(QLatin1Char('\n')), 1);
    }

    void multiLineAndUtf8TextIsWrittenUnchanged()
    {
        const QByteArray before = readLog();
        qInfo("first line\nsecond line\n\tthird");
        qInfo() << QStringLiteral("Grüße 你好");
        const QByteArray added = readLog().mid(before.size());
        QVERIFY(added.contains(" 0 first line\nsecond line\n\tthird \n"));
        QVERIFY(added.contains(QStringLiteral("Grüße 你好").toUtf8()));
    }

    void concurrentThreadsLoseNoLine()
    {
        const QByteArray before = readLog();
        const int threads = 6;
        const int perThread = 400;
        QVector<QThread *> workers;
        for (int t = 0; t < threads; ++t) {
            workers << QThread::create([t] {
                for (int i = 0; i < perThread; ++i)
                    qInfo("worker %d line %d payload-%0128d", t, i, i);
            });
        }
        for (QThread *w : workers)
            w->start();
        for (QThread *w : workers) {
            QVERIFY(w->wait(60000));
            delete w;
        }

        const QList<QByteArray> lines = readLog().mid(before.size()).split('\n');
        QHash<QString, int> seen;
        QHash<QString, QSet<QString>> threadIdsOfWorker;
        for (const QByteArray &raw : lines) {
            if (raw.isEmpty())
                continue;
            const QRegularExpressionMatch m = kLine.match(QString::fromUtf8(raw));
            QVERIFY2(m.hasMatch(), raw.constData());
            const QString text = m.captured(5);
            QVERIFY2(text.startsWith(QStringLiteral("worker ")), raw.constData());
            ++seen[text];
            threadIdsOfWorker[text.section(QLatin1Char(' '), 1, 1)].insert(m.captured(3));
        }
        QCOMPARE(seen.size(), threads * perThread);
        for (int t = 0; t < threads; ++t) {
            for (int i = 0; i < perThread; ++i) {
                const QString text = QString::asprintf("worker %d line %d payload-%0128d", t, i, i);
                QCOMPARE(seen.value(text), 1);
            }
        }
        // Each worker's lines carry that worker's thread (ids of ended threads may be reused,
        // so distinct workers need not have distinct ids).
        QCOMPARE(threadIdsOfWorker.size(), threads);
        for (const QSet<QString> &ids : qAsConst(threadIdsOfWorker))
            QCOMPARE(ids.size(), 1);
    }

    void tryLogInfoWritesWhenTheLockIsFree()
    {
        const QByteArray before = readLog();
        QVERIFY(MLogger::tryLogInfo(QStringLiteral("crash-path line")));
        QCOMPARE(readLog().mid(before.size()), QByteArray("crash-path line\n"));
    }

    void closedLogIgnoresMessagesAndReopeningAppends()
    {
        qInfo("before close");
        closeLog();
        const QByteArray closed = readLog();
        qInfo("while closed");
        QVERIFY(!MLogger::tryLogInfo(QStringLiteral("while closed, crash path")));
        QCOMPARE(readLog(), closed);

        // A second start on the same day appends to the same file.
        startLog();
        qInfo("after reopen");
        const QByteArray reopened = readLog();
        QVERIFY(reopened.startsWith(closed));
        QVERIFY(reopened.mid(closed.size()).contains("after reopen"));
        QVERIFY(!reopened.contains("while closed"));
        QVERIFY(closed.contains("before close"));
    }
};

QTEST_GUILESS_MAIN(TestMLogger)
#include "tst_mlogger.moc"
