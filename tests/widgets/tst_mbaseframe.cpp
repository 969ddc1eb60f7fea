#include "mbaseframe.h"
#include "mconfig.h"
#include "mmessagebox.h"
#include "modaldriver.h"
#include "mpanel.h"
#include "mtitlebar.h"
#include "mutils.h"

#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplashScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

struct PageView
{
    QString title;
    QString path;
};

struct Event
{
    QString category;
    QString action;
    QString label;
    int value = 0;
};

struct Download
{
    QWidget *owner = nullptr;
    QString title;
    QString url;
    QString savePath;
    int parts = 0;
    std::function<void(const QString &)> finished;
};

// Records everything the frame asks of its services.
struct Recorder
{
    QList<PageView> pages;
    QList<Event> events;
    QList<Download> downloads;
    QList<int> exits;

    AppServices services()
    {
        AppServices s;
        s.sendPageView = [this](const QString &title, const QString &path) {
            pages.append({title, path});
        };
        s.sendEvent = [this](const QString &category, const QString &action, const QString &label,
                             int value) {
            events.append({category, action, label, value});
        };
        s.download = [this](QWidget *owner, const QString &title, const QString &url,
                            const QString &savePath, int parts,
                            std::function<void(const QString &)> finished) {
            downloads.append({owner, title, url, savePath, parts, finished});
        };
        s.quit = [this](int code) {
            exits.append(code);
        };
        return s;
    }
};

class TestFrame : public MBaseFrame
{
public:
    using MBaseFrame::endElpsTimer;
    using MBaseFrame::getSplashScreen;
    using MBaseFrame::installNewVersion;
    using MBaseFrame::startElpsTimer;
    using MBaseFrame::updateNewVer;
};

QString lastUpdateFile()
{
    return QDir::cleanPath(MConfig::getAppDataFolder(QString())
                           + QStringLiteral("/last_update.txt"));
}

// An "installer" that leaves proof of having run.
void writeInstaller(const QString &path, const QString &marker)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#!/bin/sh\necho ran > '" + marker.toUtf8() + "'\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)); // as downloaded
}

} // namespace

class TestMBaseFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void centralPanelIsBorderedAndHoldsNoTitleBarYet();
    void contentGoesBelowTitleBar();
    void fadeInReachesFullOpacity();
    void firstShowCentresAndTracesStartOnce();
    void closeTracesExit();
    void traceActionSendsActiveEvent();
    void splashIgnoresClicksAndGoesAfterFirstShow();
    void elapsedTimerReportsAndInvalidates();
    void newVersionIsDownloadedToUpdateFolder();
    void acceptedNewVersionIsRecordedStartedAndEndsProgram();
    void declinedNewVersionChangesNothing();
    void missingInstallerIsNotOffered();
    void noDownloaderSkipsUpdate();
    void downloadEndingAfterFrameIsGoneIsIgnored();

private:
    QTemporaryDir m_dir;
};

void TestMBaseFrame::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(lastUpdateFile());
    MConfig::instance()->lastUpdate.clear();
}

void TestMBaseFrame::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestMBaseFrame::centralPanelIsBorderedAndHoldsNoTitleBarYet()
{
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^MBaseFrame:DPI \\d")));
    MBaseFrame frame;
    QCOMPARE(frame.centralWidget(), frame.getCentralPanel());
    QVERIFY(!frame.getTitleBar());

    // The frameless window draws its own border, inside which the layout starts.
    frame.resize(120, 80);
    QCOMPARE(frame.getCentralPanel()->getLayout()->contentsMargins(), QMargins(1, 1, 1, 1));
    QImage image(frame.getCentralPanel()->size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    frame.getCentralPanel()->render(&image);
    QCOMPARE(image.pixelColor(60, 0), QColor(220, 220, 220));
}

void TestMBaseFrame::contentGoesBelowTitleBar()
{
    MBaseFrame frame;
    MTitleBar *bar = frame.createTitleBar();
    auto *content = new QLabel(QStringLiteral("content"));
    frame.setContentPanel(content);
    QBoxLayout *layout = frame.getCentralPanel()->getLayout();
    QCOMPARE(layout->indexOf(bar), 0);
    QCOMPARE(layout->indexOf(content), 1);
}

void TestMBaseFrame::fadeInReachesFullOpacity()
{
    MBaseFrame frame(true);
    QVERIFY(frame.windowOpacity() < 1.0);
    QTRY_COMPARE_WITH_TIMEOUT(frame.windowOpacity(), 1.0, 3000);
}

void TestMBaseFrame::firstShowCentresAndTracesStartOnce()
{
    Recorder recorder;
    MBaseFrame frame;
    frame.setServices(recorder.services());
    frame.setAppName(QStringLiteral("Quell"));
    frame.createTitleBar();
    frame.setGeometry(0, 0, 300, 200);
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^startGATrace:Start \\d+")));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QTRY_COMPARE(frame.pos(), QPoint(screen.width() / 2 - 150, screen.height() / 2 - 100));
    QCOMPARE(recorder.pages.size(), 1);
    QCOMPARE(recorder.pages[0].title, QStringLiteral("Quell"));
    QCOMPARE(recorder.pages[0].path,
             QStringLiteral("/start/") + getVer() + QStringLiteral("/Quell"));

    frame.hide();
    frame.move(10, 10);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_COMPARE(frame.pos(), QPoint(10, 10));
    QCOMPARE(recorder.pages.size(), 1);
}

void TestMBaseFrame::closeTracesExit()
{
    Recorder recorder;
    MBaseFrame frame;
    frame.setServices(recorder.services());
    frame.setAppName(QStringLiteral("Quell"));
    frame.setCenterOnFirstShow(false);
    frame.move(40, 50);
    frame.resize(200, 100);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_COMPARE(frame.pos(), QPoint(40, 50));
    QTest::ignoreMessage(QtInfoMsg,
                         QRegularExpression(QStringLiteral("^startGATrace:Exit,TimeSec: \\d+")));
    frame.close();
    QVERIFY(!frame.isVisible());
    QCOMPARE(recorder.pages.size(), 2);
    QCOMPARE(recorder.pages[1].path,
             QStringLiteral("/exit/") + getVer() + QStringLiteral("/Quell"));
}

void TestMBaseFrame::traceActionSendsActiveEvent()
{
    Recorder recorder;
    MBaseFrame frame;
    frame.setServices(recorder.services());
    frame.traceAction(QStringLiteral("ClickConnect"));
    QCOMPARE(recorder.events.size(), 1);
    QCOMPARE(recorder.events[0].category, QStringLiteral("Active"));
    QCOMPARE(recorder.events[0].action, getVer());
    QCOMPARE(recorder.events[0].label, QStringLiteral("ClickConnect"));
    QCOMPARE(recorder.events[0].value, 1);

    // Without a tracker nothing happens.
    MBaseFrame bare;
    bare.setServices(AppServices());
    bare.traceAction(QStringLiteral("x"));
}

void TestMBaseFrame::splashIgnoresClicksAndGoesAfterFirstShow()
{
    QPixmap picture(120, 80);
    picture.fill(Qt::darkBlue);
    QPointer<QSplashScreen> splash = new QSplashScreen(picture);
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash));

    TestFrame frame;
    frame.setServices(AppServices());
    frame.setSplashScreen(splash);
    QCOMPARE(frame.getSplashScreen(), splash.data());
    QTest::mouseClick(splash, Qt::LeftButton);
    QTest::keyClick(splash, Qt::Key_Escape);
    QVERIFY(splash->isVisible());

    QElapsedTimer clock;
    clock.start();
    frame.resize(200, 100);
    frame.show();
    QVERIFY(splash->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
    QVERIFY(clock.elapsed() >= 200);
    QVERIFY(!frame.getSplashScreen());
}

void TestMBaseFrame::elapsedTimerReportsAndInvalidates()
{
    TestFrame frame;
    QCOMPARE(frame.endElpsTimer(), qint64(0));
    QElapsedTimer reference;
    reference.start();
    frame.startElpsTimer();
    QTRY_VERIFY(reference.elapsed() >= 30);
    const qint64 elapsed = frame.endElpsTimer();
    QVERIFY2(elapsed >= 25 && elapsed <= reference.elapsed(), qPrintable(QString::number(elapsed)));
    QCOMPARE(frame.endElpsTimer(), qint64(0));
}

void TestMBaseFrame::newVersionIsDownloadedToUpdateFolder()
{
    Recorder recorder;
    TestFrame frame;
    frame.setServices(recorder.services());
    frame.updateNewVer(QStringLiteral("https://downloads.invalid/setup.exe"),
                       QStringLiteral("2.1.0.0"));
    QCOMPARE(recorder.downloads.size(), 1);
    const Download &d = recorder.downloads[0];
    QCOMPARE(d.owner, &frame);
    QCOMPARE(d.url, QStringLiteral("https://downloads.invalid/setup.exe"));
    QCOMPARE(d.savePath,
             QDir::cleanPath(MConfig::getTempFolder(QStringLiteral("Update"))
                             + QStringLiteral("/New_2.1.0.0.exe")));
    QVERIFY(d.savePath.startsWith(QDir::tempPath()));
    // Nothing is asked or stored before the download ends.
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(recorder.exits.isEmpty());
    QVERIFY(!QFile::exists(lastUpdateFile()));
}

void TestMBaseFrame::acceptedNewVersionIsRecordedStartedAndEndsProgram()
{
    Recorder recorder;
    TestFrame frame;
    frame.setServices(recorder.services());
    frame.updateNewVer(QStringLiteral("https://downloads.invalid/setup.exe"),
                       QStringLiteral("2.1.0.0"));
    QCOMPARE(recorder.downloads.size(), 1);
    const QString installer = recorder.downloads[0].savePath;
    const QString marker = m_dir.filePath(QStringLiteral("installer-ran"));
    writeInstaller(installer, marker);

    ModalDriver driver(ModalDriver::click(QDialogButtonBox::Yes));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    recorder.downloads[0].finished(installer);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    QVERIFY(driver.answered());

    const QString day = ReadFileX(lastUpdateFile());
    QVERIFY2(day == before.toString(QStringLiteral("yyyy-MM-dd"))
                 || day == after.toString(QStringLiteral("yyyy-MM-dd")),
             qPrintable(day));
    const QString stored = MConfig::instance()->lastUpdate;
    const QDateTime when = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(when.isValid() && when >= before && when <= after, qPrintable(stored));
    QSettings saved(MConfig::getConfigFile(), QSettings::IniFormat);
    QCOMPARE(saved.value(QStringLiteral("update/lastUpdate")).toString(), stored);

    QCOMPARE(recorder.events.size(), 1);
    QCOMPARE(recorder.events[0].category, QStringLiteral("Update"));
    QCOMPARE(recorder.events[0].action, getVer());
    QCOMPARE(recorder.events[0].label, QStringLiteral("2.1.0.0"));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QVERIFY(QFile::permissions(installer) & QFileDevice::ExeOwner);
    QCOMPARE(recorder.exits, QList<int>{0});
}

void TestMBaseFrame::declinedNewVersionChangesNothing()
{
    Recorder recorder;
    TestFrame frame;
    frame.setServices(recorder.services());
    const QString installer = m_dir.filePath(QStringLiteral("New_3.0.0.0.exe"));
    const QString marker = m_dir.filePath(QStringLiteral("declined-ran"));
    writeInstaller(installer, marker);

    ModalDriver driver(ModalDriver::click(QDialogButtonBox::No));
    frame.installNewVersion(installer, QStringLiteral("3.0.0.0"));
    QVERIFY(driver.answered());
    QVERIFY(!QFile::exists(lastUpdateFile()));
    QVERIFY(MConfig::instance()->lastUpdate.isEmpty());
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(recorder.exits.isEmpty());
    QVERIFY(!(QFile::permissions(installer) & QFileDevice::ExeOwner));
    QVERIFY(!QFile::exists(marker));
}

void TestMBaseFrame::missingInstallerIsNotOffered()
{
    Recorder recorder;
    TestFrame frame;
    frame.setServices(recorder.services());
    ModalDriver driver(ModalDriver::click(QDialogButtonBox::Yes), 200);
    QTest::ignoreMessage(QtInfoMsg,
                         QRegularExpression(QStringLiteral("downloaded installer missing")));
    frame.installNewVersion(m_dir.filePath(QStringLiteral("absent.exe")), QStringLiteral("4"));
    // A box would have run its modal loop inside the call, where the poll answers it.
    QVERIFY(!driver.answered());
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(recorder.exits.isEmpty());
    QVERIFY(!QFile::exists(lastUpdateFile()));
}

void TestMBaseFrame::noDownloaderSkipsUpdate()
{
    Recorder recorder;
    AppServices services = recorder.services();
    services.download = nullptr;
    TestFrame frame;
    frame.setServices(services);
    QTest::ignoreMessage(QtInfoMsg, "updateNewVer: no downloader available, update skipped.");
    frame.updateNewVer(QStringLiteral("https://downloads.invalid/a.exe"), QStringLiteral("5"));
    QVERIFY(recorder.exits.isEmpty());
    QVERIFY(MConfig::instance()->lastUpdate.isEmpty());
}

void TestMBaseFrame::downloadEndingAfterFrameIsGoneIsIgnored()
{
    Recorder recorder;
    auto *frame = new TestFrame;
    frame->setServices(recorder.services());
    frame->updateNewVer(QStringLiteral("https://downloads.invalid/a.exe"), QStringLiteral("6"));
    QCOMPARE(recorder.downloads.size(), 1);
    const QString installer = recorder.downloads[0].savePath;
    writeInstaller(installer, m_dir.filePath(QStringLiteral("late-ran")));
    delete frame;
    recorder.downloads[0].finished(installer);
    QVERIFY(recorder.exits.isEmpty());
    QVERIFY(MConfig::instance()->lastUpdate.isEmpty());
}

QTEST_MAIN(TestMBaseFrame)
#include "tst_mbaseframe.moc"
