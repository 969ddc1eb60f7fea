#include "mgiflable.h"
#include "mloadingdlg.h"
#include "resinit.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
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
const QString kLoadingGif = QStringLiteral(":/Skin/loading_inner.gif");

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

QByteArray solidPng(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage renderLabel(QLabel *label)
{
    QImage image(label->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    label->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

bool allTransparent(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
        }
    }
    return true;
}

void endChild(QProcess &process)
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
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

    // --- MLoadingDlg ----------------------------------------------------------------------

    void textOnlyFormShowsJustTheText()
    {
        MLoadingDlg dlg(QStringLiteral("Please wait"), true);
        const QList<QLabel *> labels = dlg.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.at(0)->text(), QStringLiteral("Please wait"));
        QVERIFY(dlg.findChildren<QMovie *>().isEmpty());
    }

    void animatedFormPlaysLoadingMovieBesideText()
    {
        QVERIFY2(QFile::exists(kLoadingGif), "the loading animation resource is missing");
        MLoadingDlg dlg(QStringLiteral("Connecting"), false);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        const QList<QLabel *> labels = dlg.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 2);
        QLabel *message = labels.at(0);
        QLabel *animation = labels.at(1);
        QCOMPARE(message->text(), QStringLiteral("Connecting"));
        QVERIFY(animation->movie());
        QCOMPARE(animation->movie()->fileName(), kLoadingGif);
        QCOMPARE(animation->movie()->state(), QMovie::Running);
        QVERIFY(animation->isVisible());
        // Side by side, message first.
        QVERIFY(message->geometry().right() < animation->geometry().left());
        QVERIFY(dlg.rect().contains(animation->geometry()));
    }

    void beginEventArrivesHundredMillisecondsAfterEachShowWhenRequested()
    {
        MLoadingDlg dlg(QStringLiteral("Loading"), true);
        QSignalSpy begin(&dlg, &MLoadingDlg::signalBeginEvent);
        dlg.show();
        QVERIFY(!begin.wait(400));
        dlg.hide();

        dlg.setBeginEvent(true);
        for (int round = 1; round <= 2; ++round) {
            QElapsedTimer clock;
            clock.start();
            dlg.show();
            QVERIFY(begin.wait(2000));
            QVERIFY2(clock.elapsed() >= 90, qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(begin.count(), round);
            // Exactly one per show.
            QVERIFY(!begin.wait(300));
            QCOMPARE(begin.count(), round);
            dlg.hide();
        }
    }

    void pendingBeginEventDiesWithTheDialog()
    {
        auto *dlg = new MLoadingDlg(QStringLiteral("Loading"), true);
        dlg->setBeginEvent(true);
        int received = 0;
        connect(dlg, &MLoadingDlg::signalBeginEvent, this, [&received] { ++received; });
        dlg->show();
        delete dlg;
        QTimer past;
        past.setSingleShot(true);
        QSignalSpy passed(&past, &QTimer::timeout);
        past.start(300);
        QVERIFY(passed.wait(2000));
        QCOMPARE(received, 0);
    }

    void closeMarksTheDialogClosed()
    {
        MLoadingDlg dlg(QStringLiteral("Loading"), true);
        dlg.show();
        QVERIFY(!dlg.isClosed());
        dlg.close();
        QVERIFY(dlg.isClosed());
        QVERIFY(!dlg.isVisible());
    }

    void createDlgAndHideLoadingOwnAndReleaseTheBox()
    {
        MLoadingDlg::hideLoading(nullptr); // ignored

        QPointer<MLoadingDlg> dlg = MLoadingDlg::createDlg(QStringLiteral("Wait"), true);
        QVERIFY(dlg);
        QVERIFY(!dlg->parent());
        QVERIFY(!dlg->isVisible());
        dlg->show();
        QVERIFY(dlg->isVisible());
        MLoadingDlg::hideLoading(dlg);
        QVERIFY(dlg);
        QVERIFY(!dlg->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(dlg.isNull(), 2000);
    }

    void createLoadingStartsThisProgramWithSplashInner()
    {
        QProcess process;
        MLoadingDlg::createLoading(QStringLiteral("Repairing the adapter"), process);
        QVERIFY(process.waitForStarted(10000));
        QCOMPARE(process.program(), QCoreApplication::applicationFilePath());
        QCOMPARE(process.arguments(),
                 (QStringList{QStringLiteral("--splash-inner"),
                              QStringLiteral("Repairing the adapter")}));

        QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 15000);
        QCOMPARE(process.readLine().trimmed(), QByteArray("splash-inner:Repairing the adapter"));
        QCOMPARE(process.state(), QProcess::Running);

        // The caller ends the box when its work is done.
        process.kill();
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    }

    void childIsKilledAfterTwentySecondsEvenIfForgotten()
    {
        QProcess kept;
        auto released = std::make_unique<QProcess>();
        MLoadingDlg::createLoading(QStringLiteral("kept"), kept);
        MLoadingDlg::createLoading(QStringLiteral("released"), *released);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(kept.waitForStarted(10000));
        QVERIFY(released->waitForStarted(10000));

        // A process object destroyed before the time-out must not be touched by it.
        released->kill();
        QVERIFY(released->waitForFinished(5000));
        released.reset();

        QSignalSpy finished(&kept, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
        QVERIFY(finished.wait(30000));
        const qint64 lived = clock.elapsed();
        QVERIFY2(lived >= 19500 && lived < 28000, qPrintable(QString::number(lived)));
        QCOMPARE(kept.exitStatus(), QProcess::CrashExit);
        endChild(kept);
    }

    // --- MGifLable ------------------------------------------------------------------------

    void opacityScalesTheMovieFrame()
    {
        QByteArray png = solidPng(QSize(20, 20), Qt::red);
        QBuffer source(&png);
        QMovie movie(&source, "png");
        QVERIFY(movie.isValid());
        QVERIFY(movie.jumpToFrame(0));

        MGifLable label;
        label.setMovie(&movie);
        label.resize(20, 20);

        QImage image = renderLabel(&label);
        QCOMPARE(qAlpha(image.pixel(10, 10)), 255);
        QCOMPARE(qRed(image.pixel(10, 10)), 255);

        label.setOpacity(0.5f);
        image = renderLabel(&label);
        QVERIFY2(qAbs(qAlpha(image.pixel(10, 10)) - 128) <= 1,
                 qPrintable(QString::number(qAlpha(image.pixel(10, 10)))));
        QCOMPARE(qGreen(image.pixel(10, 10)), 0);

        label.setOpacity(0.0f);
        QVERIFY(allTransparent(renderLabel(&label)));
    }

    void frameFollowsAlignmentMarginAndScaling()
    {
        QByteArray png = solidPng(QSize(10, 10), Qt::blue);
        QBuffer source(&png);
        QMovie movie(&source, "png");
        QVERIFY(movie.jumpToFrame(0));

        MGifLable label;
        label.setMovie(&movie);
        label.resize(40, 40);
        label.setAlignment(Qt::AlignCenter);
        QImage image = renderLabel(&label);
        QCOMPARE(qAlpha(image.pixel(20, 20)), 255);
        QCOMPARE(qAlpha(image.pixel(2, 2)), 0);

        label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label.setMargin(5);
        image = renderLabel(&label);
        QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
        QCOMPARE(qAlpha(image.pixel(6, 6)), 255);
        QCOMPARE(qAlpha(image.pixel(20, 20)), 0);

        label.setMargin(0);
        label.setScaledContents(true);
        image = renderLabel(&label);
        QCOMPARE(qAlpha(image.pixel(2, 2)), 255);
        QCOMPARE(qAlpha(image.pixel(37, 37)), 255);
    }

    void textAndStaticPixmapShowNothing()
    {
        MGifLable label;
        label.resize(80, 30);
        label.setText(QStringLiteral("Hello"));
        label.setStyleSheet(QStringLiteral("color:black;"));
        QVERIFY(allTransparent(renderLabel(&label)));

        QPixmap pixmap(20, 20);
        pixmap.fill(Qt::green);
        label.setPixmap(pixmap);
        QVERIFY(allTransparent(renderLabel(&label)));
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
