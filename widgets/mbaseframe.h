#pragma once

#include "appservices.h"
#include "updatepackage.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QString>

class MPanel;
class MTitleBar;
class QPropertyAnimation;
class QSplashScreen;

// Base of the main window: a frameless window whose central widget is a vertical panel
// holding the framework title bar and the application's content. It also places the window
// on first show (centre of the desktop, splash removed 200 ms later), traces start and exit
// through analytics, and runs the flow that downloads and installs a new version.
// Services of other parts are reached through AppServices (see setServices).
// GUI thread only.
class MBaseFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit MBaseFrame(bool fadeIn = false, QWidget *parent = nullptr);
    ~MBaseFrame() override;

    // Creates the title bar on the first call; later calls return it unchanged.
    Q_INVOKABLE MTitleBar *createTitleBar(const QString &iconObjectName = QString(),
                                          bool bMin = true, bool bMax = true, bool bClose = true);
    // Appended to the central panel, below the title bar if that exists already.
    Q_INVOKABLE void setContentPanel(QWidget *contentPanel);

    // Not owned until the first show removes it; clicks and keys on it are swallowed.
    void setSplashScreen(QSplashScreen *splash);
    void setAppName(const QString &name) { m_appName = name; }
    QString getAppName() const { return m_appName; }
    void setCenterOnFirstShow(bool center) { m_centerOnFirstShow = center; }
    void setServices(const AppServices &services) { m_services = services; }
    const AppServices &getServices() const { return m_services; }
    MTitleBar *getTitleBar() const { return m_titleBar; }
    MPanel *getCentralPanel() const { return m_centralPanel; }

signals:
    void quit();
    void signalsWakeupApp();

public slots:
    // Analytics event "Active" carrying the text.
    void traceAction(const QString &appName);
    void slotDownaldNewVers();

protected:
    QSplashScreen *getSplashScreen() const;
    // Centre of the screen, whole pixels.
    void ShowInCenter();
    void startElpsTimer();
    // Milliseconds since startElpsTimer, 0 when it was not started; stops the timer.
    qint64 endElpsTimer();
    void startGATrace(bool start);
    // Shows the current log file in the file manager.
    void sendLog();
    // Downloads the offered package, verifies it and offers to close for its installation.
    void updateNewVer(const UpdateOffer &offer);
    // The second half of updateNewVer, once the download is complete.
    void installNewVersion(const QString &file, const UpdateOffer &offer);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void removeSplashScreen();

    bool m_firstShowDone = false;
    QElapsedTimer m_elapsed;
    qint64 m_traceStart = 0;
    bool m_shownOnce = false;
    bool m_visible = false;
    QString m_appName = QStringLiteral("UnNamed");
    QPointer<QSplashScreen> m_splash;
    bool m_centerOnFirstShow = true;
    // Deletes itself when it ends; a guarded pointer, as it may go before or after us.
    QPointer<QPropertyAnimation> m_fadeIn;
    MPanel *m_centralPanel = nullptr;
    MTitleBar *m_titleBar = nullptr;
    AppServices m_services;
};
