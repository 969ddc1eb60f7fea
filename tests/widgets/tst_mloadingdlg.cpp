#include "mloadingdlg.h"
#include "resinit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char kSplashInner[] = "--splash-inner";

// What this executable does when MLoadingDlg::createLoading starts it: the program's own
// start-up is expected to do the same (an animated loading box until killed).
int runSplashInner(int argc, char **argv)
{
    QApplication app(argc, argv);
    quellnetInitResources();
    const QString text = QString::fromLocal8Bit(argv[2]);
    MLoadingDlg *dlg = MLoadingDlg::createDlg(text, false);
    dlg->show();
    std::printf("splash-inner:%s\n", qPrintable(text));
    std::fflush(stdout);
    const int code = app.exec();
    delete dlg;
    return code;
}

} // namespace

class TestMLoadingDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        quellnetInitResources();
        qRegisterMetaType<QProcess::ExitStatus>();
    }

    void animatedFormPlaysLoadingMovieBesideText()
    {
        MLoadingDlg dlg(QStringLiteral("Connecting"), false);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QList<QLabel *> labels = dlg.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels.at(0)->text(), QStringLiteral("Connecting"));
        QCOMPARE(labels.at(1)->movie()->state(), QMovie::Running);
        QVERIFY(dlg.rect().contains(labels.at(1)->geometry()));
    }

    void beginEventArrivesOncePerShowAndDiesWithTheDialog()
    {
        auto dlg = std::make_unique<MLoadingDlg>(QStringLiteral("Loading"), true);
        QSignalSpy begin(dlg.get(), &MLoadingDlg::signalBeginEvent);
        dlg->show();
        QVERIFY(!begin.wait(400));
        dlg->hide();
        dlg->setBeginEvent(true);
        for (int round = 1; round <= 2; ++round) {
            dlg->show();
            QVERIFY(begin.wait(2000));
            QVERIFY(!begin.wait(300));
            QCOMPARE(begin.count(), round);
            dlg->hide();
        }
        // A pending event must not reach a deleted dialog.
        dlg->show();
        dlg.reset();
        QEventLoop past; // longer than the pending event's delay
        QTimer::singleShot(300, &past, &QEventLoop::quit);
        past.exec();
    }

    void createDlgAndHideLoadingOwnAndReleaseTheBox()
    {
        QPointer<MLoadingDlg> dlg = MLoadingDlg::createDlg(QStringLiteral("Wait"), true);
        dlg->show();
        MLoadingDlg::hideLoading(dlg);
        QVERIFY(dlg && !dlg->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 2000);
    }

    // The box runs in a copy of this program, started with --splash-inner; the caller may end
    // it, or forget it and have it killed after twenty seconds.
    void createLoadingRunsABoxThatEndsAfterTwentySeconds()
    {
        QProcess kept;
        auto released = std::make_unique<QProcess>();
        MLoadingDlg::createLoading(QStringLiteral("Repairing the adapter"), kept);
        MLoadingDlg::createLoading(QStringLiteral("released"), *released);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(kept.waitForStarted(10000));
        QVERIFY(released->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(kept.canReadLine(), 15000);
        QCOMPARE(kept.readLine().trimmed(), QByteArray("splash-inner:Repairing the adapter"));

        // A process object destroyed before the time-out must not be touched by it.
        released->kill();
        QVERIFY(released->waitForFinished(5000));
        released.reset();

        QSignalSpy finished(&kept, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
        QVERIFY(finished.wait(30000));
        const qint64 lived = clock.elapsed();
        QVERIFY2(lived >= 19500 && lived < 28000, qPrintable(QString::number(lived)));
        QCOMPARE(kept.exitStatus(), QProcess::CrashExit);
    }
};

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], kSplashInner) == 0)
        return runSplashInner(argc, argv);

    QApplication app(argc, argv);
    TestMLoadingDlg test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mloadingdlg.moc"
