#include "mbaseframe.h"
#include "mconfig.h"
#include "modaldriver.h"
#include "mutils.h"
#include "updatesigning.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QSplashScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

struct Download
{
    QString savePath;
    std::function<void(const QString &)> finished;
};

// Records what the frame asks of the program's services.
struct Recorder
{
    QStringList pages; // paths
    QStringList events; // "category action label"
    QList<Download> downloads;
    QList<int> exits;
    QStringList messages;

    AppServices services()
    {
        AppServices s;
        s.sendPageView = [this](const QString &, const QString &path) {
            pages.append(path);
        };
        s.sendEvent
            = [this](const QString &category, const QString &action, const QString &label, int) {
                  events.append(category + ' ' + action + ' ' + label);
              };
        s.download = [this](QWidget *, const QString &, const QString &, const QString &savePath,
                            int, std::function<void(const QString &)> finished) {
            downloads.append({savePath, finished});
        };
        s.showMessage = [this](const QString &, const QString &text, QWidget *) {
            messages.append(text);
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
    using MBaseFrame::installNewVersion;
    using MBaseFrame::updateNewVer;
};

QString lastUpdateFile()
{
    return QDir::cleanPath(MConfig::getAppDataFolder(QString())
                           + QStringLiteral("/last_update.txt"));
}

enum Install { Accepted, Declined, Forged, BadVersion };

} // namespace

Q_DECLARE_METATYPE(Install)

class TestMBaseFrame : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(lastUpdateFile());
        MConfig::instance()->lastUpdate.clear();
    }
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The fade-in is the dialog's too: tst_mbasedialog.
    void firstShowCentresAndTracesStartOnceCloseTracesExit()
    {
        Recorder recorder;
        MBaseFrame frame;
        frame.setServices(recorder.services());
        frame.setAppName(QStringLiteral("Quell"));
        frame.createTitleBar();
        frame.setGeometry(0, 0, 300, 200);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE(frame.pos(), QPoint(screen.width() / 2 - 150, screen.height() / 2 - 100));

        frame.hide();
        frame.move(10, 10);
        frame.show();
        QTRY_COMPARE(frame.pos(), QPoint(10, 10));
        frame.close();
        QCOMPARE(recorder.pages,
                 QStringList({QStringLiteral("/start/") + getVer() + "/Quell",
                              QStringLiteral("/exit/") + getVer() + "/Quell"}));
    }

    void splashIgnoresClicksAndGoesAfterFirstShow()
    {
        QPixmap picture(120, 80);
        picture.fill(Qt::darkBlue);
        QPointer<QSplashScreen> splash = new QSplashScreen(picture);
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        MBaseFrame frame;
        frame.setServices(AppServices());
        frame.setSplashScreen(splash);
        QTest::mouseClick(splash, Qt::LeftButton);
        QTest::keyClick(splash, Qt::Key_Escape);
        QVERIFY(splash->isVisible());
        frame.resize(200, 100);
        frame.show();
        QVERIFY(splash->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
    }

    void updateIsHandedOverOnlyWhenVerifiedAndAccepted_data()
    {
        QTest::addColumn<Install>("install");
        QTest::newRow("accepted") << Accepted;
        QTest::newRow("declined") << Declined;
        QTest::newRow("forged package") << Forged;
        QTest::newRow("version unfit for a file name") << BadVersion;
    }

    void updateIsHandedOverOnlyWhenVerifiedAndAccepted()
    {
        QFETCH(Install, install);
        const QString marker = m_dir.filePath(QStringLiteral("installer-ran"));
        QFile::remove(marker);
        QVERIFY(useStandInInstaller(m_dir.filePath(QStringLiteral("installer")), marker));
        const QString package = m_dir.filePath(QStringLiteral("package.deb"));
        QVERIFY(SaveFile(package, QStringLiteral("a package")));
        UpdateOffer offer = signedOffer(package, QStringLiteral("2.1.0.0"));
        if (install == BadVersion)
            offer.version = QStringLiteral("2.1/../../x");

        Recorder recorder;
        TestFrame frame;
        frame.setServices(recorder.services());
        frame.updateNewVer(offer);
        QCOMPARE(recorder.downloads.size(), install == BadVersion ? 0 : 1);
        QCOMPARE(recorder.messages.size(), install == BadVersion ? 1 : 0);
        if (install == BadVersion)
            return;
        const QString target = recorder.downloads[0].savePath;
        QCOMPARE(QFileInfo(target).fileName(), QStringLiteral("New_2.1.0.0.deb"));
        QCOMPARE(QFileInfo(QFileInfo(target).path()).permissions() & 0x0077, 0);
        QFile::remove(target);
        QVERIFY(QFile::copy(package, target));
        if (install == Forged)
            QVERIFY(SaveFile(target, QStringLiteral("a pachage")));

        ModalDriver driver(
            ModalDriver::click(install == Accepted ? QDialogButtonBox::Yes : QDialogButtonBox::No),
            install == Forged ? 300 : 5000);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        recorder.downloads[0].finished(target);
        QCOMPARE(driver.answered(), install != Forged);
        // A refused package is gone; nothing else happens but the message.
        QCOMPARE(QFile::exists(target), install != Forged);
        QCOMPARE(recorder.messages.size(), install == Forged ? 1 : 0);
        if (install != Accepted) {
            QVERIFY(recorder.events.isEmpty() && recorder.exits.isEmpty());
            QVERIFY(!QFile::exists(lastUpdateFile()) && !QFile::exists(marker));
            QVERIFY(MConfig::instance()->lastUpdate.isEmpty());
            return;
        }
        const QDateTime when = QDateTime::fromString(MConfig::instance()->lastUpdate,
                                                     QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY(when >= before && when <= QDateTime::currentDateTime().addSecs(1));
        QCOMPARE(ReadFileX(lastUpdateFile()), when.toString(QStringLiteral("yyyy-MM-dd")));
        QVERIFY(ReadFileX(MConfig::getConfigFile()).contains(MConfig::instance()->lastUpdate));
        QCOMPARE(recorder.events, QStringList(QStringLiteral("Update ") + getVer() + " 2.1.0.0"));
        QTRY_COMPARE_WITH_TIMEOUT(ReadFileX(marker).trimmed(), target, 10000);
        QCOMPARE(recorder.exits, QList<int>{0});
    }

    void downloadEndingAfterTheFrameIsGoneIsIgnored()
    {
        Recorder recorder;
        auto *frame = new TestFrame;
        frame->setServices(recorder.services());
        UpdateOffer offer;
        offer.version = QStringLiteral("6");
        frame->updateNewVer(offer);
        QCOMPARE(recorder.downloads.size(), 1);
        const QString package = recorder.downloads[0].savePath;
        QVERIFY(SaveFile(package, QStringLiteral("late")));
        delete frame;
        recorder.downloads[0].finished(package);
        QVERIFY(recorder.exits.isEmpty() && !QFile::exists(package));
        QVERIFY(MConfig::instance()->lastUpdate.isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestMBaseFrame)
#include "tst_mbaseframe.moc"
