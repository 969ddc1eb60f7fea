#pragma once

#include "mbaseframe.h"
#include "serverinfo.h"

#include <QDateTime>
#include <QHash>
#include <QIcon>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QUrl>

#include <functional>

class ClickLimiter;
class ConnectionController;
class LatencyTest;
class MGifLable;
class MPanel;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QMovie;
class QPushButton;
class QShowEvent;
class QSplashScreen;
class QStackedLayout;
class QStatusBar;
class QSystemTrayIcon;
class ServerItem;
class ServerListLoader;
class VpnEngine;

// The edges of the main window that tests replace. An empty member means the real thing.
struct MainWindowServices
{
    // Not owned; null: the tunnel engine library.
    VpnEngine *engine = nullptr;
    // Instead of the modal message box of showMessage.
    std::function<void(const QString &title, const QString &text, QWidget *parent)> showMessage;
    // Instead of the tray icon's balloon (called only while the tray icon is visible).
    std::function<void(const QString &title, const QString &text)> trayMessage;
    std::function<void(const QUrl &url)> openUrl;
    // The account-expired dialog, modal; a result above 0 means "buy now". Empty: MTrailDlg.
    std::function<int(QWidget *parent)> expiredDialog;
    // The about dialog, modal. Empty: MAboutUS.
    std::function<void(QWidget *parent)> aboutDialog;
    std::function<QDateTime()> now;
    std::function<void()> saveSettings;
    // Leaves the event loop after the exit action closed the window.
    std::function<void(int code)> quit;
    // Runs 200 ms after the first show (the country restriction check).
    std::function<void()> countryCheck;
    // Instead of the balloon tip that points at a field (a global position).
    std::function<void(const QString &text, const QPoint &pos)> showBalloon;
};

// The program's only top-level window: a frameless 322 x 500 window with a stack of pages
// (home, login, register, purchase, server list, help, account) over a status bar. It owns
// the connection controller, the server list and the tray icon. Closing it hides it to the
// tray unless an exit was requested. GUI thread only.
class MainWindow : public MBaseFrame
{
    Q_OBJECT

public:
    enum class Page { Home, Login, Register, Purchase, Servers, Help, Account };

    // The process-wide window, created on the first call (parent is used only then).
    static MainWindow *instance(QWidget *parent = nullptr);

    // Tests make their own windows; the program uses instance().
    explicit MainWindow(QWidget *parent = nullptr, QSplashScreen *splash = nullptr,
                        MainWindowServices services = MainWindowServices());
    ~MainWindow() override;

    // A modal box with one OK button, or the showMessage service.
    void showMessage(const QString &title, const QString &text, QWidget *parent = nullptr);
    // A tray balloon titled with the application name, only while the tray icon is visible.
    void showTrayMessage(const QString &text);

    void connectVPN();
    void stopVPN();
    // Shows the current server's flag; with reconnect, connects to it (see the controller).
    void applyServerChoice(bool reconnect);
    // The exit action: hide the tray icon, close for good, leave the event loop.
    void requestExit();

    void showPage(Page page);
    Page currentPage() const;
    QWidget *page(Page page) const;

    // Account: sign-in, registration, password recovery, logout, prices. Requests block in a
    // nested event loop (the window keeps painting); one account request runs at a time.
    // isFresh: a silent refresh (no messages, the page stays, nothing saved).
    bool loginVPN(bool isFresh);
    void registerVPN();
    void findPassword();
    bool onLoginResult(const QString &reply, bool isFresh, bool fromCache);
    void logout();
    // The account page's "Re-Login": a silent refresh that says how it went.
    void relogin();
    void loadPrices();
    void showAbout();

    QString accountEmail() const { return m_accountEmail; }
    QDateTime expireDate() const { return m_expireDate; }
    QString paymentText() const { return m_paymentText; }
    bool loggedIn() const;
    ClickLimiter *loginLimiter() const { return m_loginClicks; }
    ClickLimiter *registerLimiter() const { return m_registerClicks; }
    ClickLimiter *findPasswordLimiter() const { return m_findClicks; }
    QPushButton *offerButton(int index) const { return m_offerButtons[index]; }

    bool exitRequested() const { return m_exitRequested; }
    ConnectionController *controller() const { return m_controller; }
    ServerListLoader *serverListLoader() const { return m_serverLoader; }
    LatencyTest *latencyTest() const { return m_latencyTest; }
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    QMenu *settingsMenu() const { return m_settingsMenu; }
    QMenu *trayMenu() const { return m_trayMenu; }
    MPanel *loadingPanel() const { return m_loadingPanel; }
    QLabel *idLabel() const { return m_idLabel; }
    QLabel *statusLabel() const { return m_statusLabel; }
    QListWidget *serverListWidget() const { return m_serverList; }
    QPushButton *refreshButton() const { return m_btnRefresh; }
    QWidget *busyImage() const { return m_busyImage; }
    QLabel *statusCircle() const { return m_circle; }

signals:
    void signalShow();
    void signalLoadedServerList();
    void signalLoadedServerListFailed();
    void signalStatuesChanged(const QString &status, const QString &info);
    void signalTraffic(float inMb, float outMb);
    void signalSpeed(ServerItem *item, const QString &speed);
    void signalTestSpeed();
    void signalTestSpeedFinised();

public slots:
    void showServerList();
    void slotConnectVPN();
    void statuesChanged(const QString &status, const QString &info);
    void statuesChanged(const QString &status);
    void slotTraffic(float inMb, float outMb);
    void slotTrayMenuClick();
    void loadServerListFailed();
    void slotUpdateSpeed(ServerItem *item, const QString &speed);
    void slotTestSpeed();
    void slotTestSpeedFinished();
    // The restore routine: show, raise and activate the window, hide the tray icon.
    void slotShowMainWindow();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHomePage();
    void buildLoginPage();
    void buildRegisterPage();
    void buildPurchasePage();
    void buildServerPage();
    void buildHelpPage();
    void buildAccountPage();
    void buildStatusBar();
    void buildLoadingPanel();
    void buildTrayIcon();
    void buildSettingsMenu();
    void placeWindow();
    void connectSignals();

    MPanel *makePage(Page page, const QString &title);
    QLabel *makeLink(const QString &text, const QString &href);
    void applyConnectionView();
    void showLoading(bool show);
    void onPageChanged(int index);
    void onServerClicked(QListWidgetItem *item);
    void onRefreshClicked();
    void openUrl(const QString &url);
    void saveSettings();
    void showBalloonBelow(const QString &text, QWidget *field);
    void showAccountMessage(const QString &title, const QString &text);
    // Runs work with the loading panel up, unless it is up already for someone else.
    void withLoading(const std::function<void()> &work);
    void onLoginClicked();
    void onRegisterClicked();
    void onFindPasswordClicked();
    void onOfferClicked(int index);

    MainWindowServices m_services;
    ConnectionController *m_controller = nullptr;
    ServerListLoader *m_serverLoader = nullptr;
    LatencyTest *m_latencyTest = nullptr;
    // The rows of the latency run under way, by key; a refill clears it.
    QHash<quint64, QPersistentModelIndex> m_latencyRows;
    quint64 m_nextRowKey = 0;
    bool m_exitRequested = false;
    bool m_firstShown = false;
    bool m_listFilled = false;
    QIcon m_normalIcon;
    QIcon m_connectedIcon;
    QPixmap m_busyPixmap;
    QString m_serverCachePath;
    QString m_loginCachePath;
    QString m_dataFolder;
    QString m_freeText;

    QString m_accountEmail;
    QDateTime m_expireDate;
    QString m_paymentText;
    int m_timeOffset = 0;
    bool m_accountRequestRunning = false;
    bool m_lastLoginFromCache = false;
    ClickLimiter *m_loginClicks = nullptr;
    ClickLimiter *m_registerClicks = nullptr;
    ClickLimiter *m_findClicks = nullptr;

    QStackedLayout *m_stack = nullptr;
    QWidget *m_pageHost = nullptr;
    QHash<int, MPanel *> m_pages;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_idLabel = nullptr;
    QLabel *m_statusLabel = nullptr;
    MPanel *m_loadingPanel = nullptr;
    MGifLable *m_loadingLabel = nullptr;
    QMovie *m_loadingMovie = nullptr;
    QSystemTrayIcon *m_trayIcon = nullptr;
    QMenu *m_trayMenu = nullptr;
    QMenu *m_settingsMenu = nullptr;
    QPushButton *m_btnSetting = nullptr;

    // Home page.
    QPushButton *m_btnBuy = nullptr;
    QPushButton *m_btnHelp = nullptr;
    QPushButton *m_btnLogin = nullptr;
    QPushButton *m_btnConnect = nullptr;
    QPushButton *m_btnSelect = nullptr;
    QLabel *m_serverName = nullptr;
    QLabel *m_loginLink = nullptr;
    QLabel *m_accountLine = nullptr;
    QLabel *m_circle = nullptr;
    QWidget *m_busyImage = nullptr;

    // Login and registration pages.
    QLabel *m_loginMessage = nullptr;
    QLineEdit *m_loginEmail = nullptr;
    QLineEdit *m_loginPassword = nullptr;
    QPushButton *m_btnLoginSubmit = nullptr;
    QCheckBox *m_ckbAutoLogin = nullptr;
    QLabel *m_registerLink = nullptr;
    QLabel *m_forgetLink = nullptr;
    QLineEdit *m_regEmail = nullptr;
    QLineEdit *m_regPassword = nullptr;
    QLineEdit *m_regPassword2 = nullptr;
    QPushButton *m_btnRegister = nullptr;
    QLabel *m_backToLoginLink = nullptr;

    // Purchase, server, help and account pages.
    QPushButton *m_offerButtons[3] = {nullptr, nullptr, nullptr};
    QListWidget *m_serverList = nullptr;
    QPushButton *m_btnRefresh = nullptr;
    QCheckBox *m_ckbAutoRun = nullptr;
    QLineEdit *m_accEmail = nullptr;
    QLineEdit *m_accExpire = nullptr;
    QLineEdit *m_accMachineId = nullptr;
    QLineEdit *m_accPayment = nullptr;
    QPushButton *m_btnLogout = nullptr;
    QPushButton *m_btnRelogin = nullptr;
};
