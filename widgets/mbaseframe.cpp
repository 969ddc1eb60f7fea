#include "mbaseframe.h"

#include "mconfig.h"
#include "mdeploy.h"
#include "mlogger.h"
#include "mmessagebox.h"
#include "mpanel.h"
#include "mtitlebar.h"
#include "mutils.h"
#include "mwidgetutils.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSplashScreen>
#include <QTimer>

MBaseFrame::MBaseFrame(bool fadeIn, QWidget *parent)
    : QMainWindow(parent)
    , m_services(AppServices::defaults())
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_MouseTracking, false);

    if (fadeIn) {
        m_fadeIn = new QPropertyAnimation(this, "windowOpacity", this);
        m_fadeIn->setDuration(500);
        m_fadeIn->setStartValue(0.0);
        m_fadeIn->setEndValue(1.0);
        m_fadeIn->start(QAbstractAnimation::DeleteWhenStopped);
    }

    const QScreen *screen = QGuiApplication::primaryScreen();
    qInfo() << "MBaseFrame:DPI" << (screen ? screen->logicalDotsPerInchY() : 0.0);

    m_centralPanel = new MPanel(Qt::Vertical, this);
    setCentralWidget(m_centralPanel);
    m_centralPanel->setBorder(int(1 * Ratio()), QColor(220, 220, 220, 255));
}

MBaseFrame::~MBaseFrame() = default;

MTitleBar *MBaseFrame::createTitleBar(const QString &iconObjectName, bool bMin, bool bMax,
                                      bool bClose)
{
    if (m_titleBar)
        return m_titleBar;
    m_titleBar = new MTitleBar(this, this);
    m_titleBar->setObjectName(QStringLiteral("MTitleBar"));
    m_titleBar->setTitle(windowTitle());
    if (!iconObjectName.isEmpty())
        m_titleBar->setIconObjectName(iconObjectName);
    m_titleBar->setCanMax(bMax);
    m_titleBar->setCanClose(bClose);
    m_titleBar->setCanMin(bMin);
    m_titleBar->setMinimumWidth(0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        m_titleBar->setMaximumWidth(screen->virtualGeometry().width());
    m_titleBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_centralPanel->addWidget(m_titleBar);
    return m_titleBar;
}

void MBaseFrame::setContentPanel(QWidget *contentPanel)
{
    m_centralPanel->addWidget(contentPanel);
}

void MBaseFrame::setSplashScreen(QSplashScreen *splash)
{
    if (m_splash)
        m_splash->removeEventFilter(this);
    m_splash = splash;
    if (splash)
        splash->installEventFilter(this);
}

QSplashScreen *MBaseFrame::getSplashScreen() const
{
    return m_splash.data();
}

void MBaseFrame::ShowInCenter()
{
    ::ShowInCenter(this);
}

void MBaseFrame::startElpsTimer()
{
    if (m_elapsed.isValid())
        m_elapsed.restart();
    else
        m_elapsed.start();
}

qint64 MBaseFrame::endElpsTimer()
{
    if (!m_elapsed.isValid())
        return 0;
    const qint64 elapsed = m_elapsed.elapsed();
    m_elapsed.invalidate();
    return elapsed;
}

void MBaseFrame::startGATrace(bool start)
{
    const QString page = QStringLiteral("/") + getVer() + QStringLiteral("/") + m_appName;
    if (start) {
        m_traceStart = QDateTime::currentMSecsSinceEpoch();
        if (m_services.sendPageView)
            m_services.sendPageView(m_appName, QStringLiteral("/start") + page);
        qInfo() << "startGATrace:Start" << m_traceStart;
        return;
    }
    const qint64 seconds = (QDateTime::currentMSecsSinceEpoch() - m_traceStart) / 1000;
    if (m_services.sendPageView)
        m_services.sendPageView(m_appName, QStringLiteral("/exit") + page);
    qInfo() << "startGATrace:Exit,TimeSec:" << seconds;
}

void MBaseFrame::traceAction(const QString &appName)
{
    if (m_services.sendEvent)
        m_services.sendEvent(QStringLiteral("Active"), getVer(), appName, 1);
}

void MBaseFrame::slotDownaldNewVers() { }

void MBaseFrame::sendLog()
{
    ShowInFolder(MLogger::getLogFile());
}

void MBaseFrame::updateNewVer(const UpdateOffer &offer)
{
    // The version becomes part of a file name; the folder is the user's own.
    const QString folder = UpdatePackage::downloadFolder();
    if (!UpdatePackage::isUsableVersion(offer.version) || folder.isEmpty()) {
        qInfo() << "updateNewVer: refused:" << offer.version << folder;
        m_services.message(tr("Install the update"), tr("The update cannot be downloaded."), this);
        return;
    }
    const QString target
        = folder + QStringLiteral("/New_") + offer.version + QStringLiteral(".deb");
    qInfo() << "updateNewVer:" << offer.url << target;
    if (!m_services.download) {
        qInfo() << "updateNewVer: no downloader available, update skipped.";
        return;
    }
    // The download outlives this call; the frame may be gone when it ends.
    QPointer<MBaseFrame> self(this);
    m_services.download(this, tr("Download the latest version"), offer.url, target, 5,
                        [self, offer](const QString &file) {
                            if (self)
                                self->installNewVersion(file, offer);
                            else
                                QFile::remove(file);
                        });
}

void MBaseFrame::installNewVersion(const QString &file, const UpdateOffer &offer)
{
    const QString wrong = UpdatePackage::verify(file, offer, Deploy::updatePublicKey());
    if (!wrong.isEmpty()) {
        qInfo() << "updateNewVer: package refused:" << wrong;
        QFile::remove(file);
        m_services.message(tr("Install the update"),
                           tr("The downloaded update was refused and deleted: %1.").arg(wrong),
                           this);
        return;
    }
    const int answer = MMessageBox::ShowMessageBoxQuesion(
        tr("Install the update"), tr("Do you want to close program to install the new version?"),
        this);
    if (answer != 1) {
        qInfo() << "updateNewVer: installation declined.";
        return;
    }

    const QDateTime now = QDateTime::currentDateTime();
    const QString marker = QDir::cleanPath(MConfig::getAppDataFolder(QString())
                                           + QStringLiteral("/last_update.txt"));
    if (!SaveFile(marker, now.toString(QStringLiteral("yyyy-MM-dd"))))
        qInfo() << "updateNewVer: cannot write" << marker;
    MConfig::instance()->lastUpdate = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    MConfig::saveCommConfig();
    m_services.event(QStringLiteral("Update"), getVer(), offer.version);

    // The package installer asks for the system's own authorisation; nothing of ours is root.
    if (!UpdatePackage::handOver(file)) {
        m_services.message(tr("Install the update"),
                           tr("No package installer was found. The verified package is at %1.")
                               .arg(QDir::toNativeSeparators(file)),
                           this);
        return;
    }
    qInfo() << "updateNewVer: package handed to the installer, exiting.";
    if (m_services.quit)
        m_services.quit(0);
}

bool MBaseFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (m_splash && watched == m_splash.data()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MBaseFrame::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    hide();
    startGATrace(false);
}

void MBaseFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    m_visible = true;
    if (m_firstShowDone)
        return;
    m_firstShowDone = true;
    m_shownOnce = true;
    if (m_centerOnFirstShow)
        ShowInCenter();
    QTimer::singleShot(200, this, &MBaseFrame::removeSplashScreen);
    startGATrace(true);
}

void MBaseFrame::removeSplashScreen()
{
    if (!m_splash)
        return;
    QSplashScreen *splash = m_splash.data();
    m_splash = nullptr;
    splash->hide();
    splash->deleteLater();
}
