#include "mcrashstack.h"
#include "mlogger.h"
#include "mutils.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// The child: starts the log as main() does, installs the handler and crashes as asked.
int crashChild(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    MLogger::setProductFolder(QStringLiteral("Quellnet"));
    qInstallMessageHandler(logMethod);
    startLog();
    if (!MCrashStack::install())
        return 2;
    // The lowest pages are never mapped (vm.mmap_min_addr).
    volatile int *volatile target = reinterpret_cast<int *>(qstrcmp(argv[2], "read") ? 0 : 0x1000);
    if (qstrcmp(argv[2], "write") == 0)
        *target = 1;
    else if (qstrcmp(argv[2], "read") == 0)
        return *target;
    abort();
}

QStringList dumps()
{
    return QDir(MCrashStack::dumpFolder()).entryList({QStringLiteral("*.dmp")}, QDir::Files);
}

} // namespace

class TestMCrashStack : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        QSKIP("The sanitizer owns the fatal signals");
#endif
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
        MLogger::setProductFolder(QStringLiteral("Quellnet"));
    }

    void crashLeavesReportAndLog_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("addressLine");
        QTest::newRow("write") << SIGSEGV << "Write Address:  0000000000000000";
        QTest::newRow("read") << SIGSEGV << "Read Address:  0000000000001000";
        QTest::newRow("abort") << SIGABRT << "";
    }
    void crashLeavesReportAndLog()
    {
        QFETCH(int, signal);
        QFETCH(QString, addressLine);
        const QStringList before = dumps();
        QFile log(getLogFile());
        const qint64 logSize = log.size();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--crash"), QString::fromLatin1(QTest::currentDataTag())});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), signal);

        QStringList added = dumps();
        for (const QString &name : before)
            added.removeOne(name);
        QCOMPARE(added.size(), 1);
        QFile dump(MCrashStack::dumpFolder() + added.first());
        QVERIFY(dump.open(QIODevice::ReadOnly));
        const QString report = QString::fromUtf8(dump.readAll());
        QVERIFY2(report.contains(QStringLiteral("Signal:  %1 (").arg(signal)), qPrintable(report));
        QVERIFY2(addressLine.isEmpty() ? !report.contains(QLatin1String("Address:  "))
                                       : report.contains(addressLine + QLatin1Char('\n')),
                 qPrintable(report));
        // The crashing function is in this binary, whatever frames lie above it.
        QVERIFY2(report.section(QStringLiteral("CallStack:"), 1)
                     .contains(QCoreApplication::applicationFilePath()),
                 qPrintable(report));

        QVERIFY(log.open(QIODevice::ReadOnly) && log.seek(logSize));
        const QString logged = QString::fromUtf8(log.readAll());
        const QRegularExpression banners(
            QStringLiteral("^\\d{8} \\d{1,2}:\\d{2}:\\d{2}\\.\\d{3} Info: 0x[0-9a-f]+ 0 "
                           "=+Start Exception=+ \n(.* Info: .* \n)*.* Info: 0x[0-9a-f]+ 0 "
                           "Signal:  %1 .*=+End Exception=+ \n")
                .arg(signal),
            QRegularExpression::MultilineOption | QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(banners.match(logged).hasMatch(), qPrintable(logged));
    }

    void nextStartTakesEachReportOnce()
    {
        const QVector<MCrashStack::Event> events = MCrashStack::takeUnsentReports();
        QCOMPARE(events.size(), 3);
        const QRegularExpression label(QStringLiteral("^([^:.]+):[0-9A-F]{16}$"));
        QStringList modules;
        for (const MCrashStack::Event &event : events) {
            QCOMPARE(event.category, QStringLiteral("CrashDetails"));
            QCOMPARE(event.action, getVer());
            QVERIFY(QFile::exists(event.file));
            modules << label.match(event.label).captured(1);
        }
        modules.sort();
        QCOMPARE(modules,
                 QStringList({QStringLiteral("libc"), QCoreApplication::applicationName(),
                              QCoreApplication::applicationName()}));
        QVERIFY(dumps().isEmpty());
        QVERIFY(MCrashStack::takeUnsentReports().isEmpty());
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--crash") == 0)
        return crashChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestMCrashStack test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mcrashstack.moc"
