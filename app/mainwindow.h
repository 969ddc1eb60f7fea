#pragma once

#include "appservices.h"
#include "mbaseframe.h"

#include <QHash>

#include <functional>

class AccountPage;
class AccountSession;
class ConnectionController;
class HelpPage;
class HomePage;
class LoadingOverlay;
class LoginPage;
class MenuModel;
class MPanel;
class PurchasePage;
class QLabel;
class QMenu;
class QSplashScreen;
class QStackedLayout;
class RegisterPage;
class ServerListController;
class ServerPage;
class TrayController;
class VpnEngine;

// The program's only top-level window: a frameless 322 x 500 window with a stack of pages
// over a status bar. It makes the parts (connection controller, account session, server
// list, latency test, tray, menus, pages) and wires them; what each does lives in the part.
// Closing it hides it to the tray unless an exit was requested. GUI thread only.
class MainWindow : public MBaseFrame
{
    Q_OBJECT

public:
    enum class Page { Home, Login, Register, Purchase, Servers, Help, Account };

    // The process-wide window, created on the first call with the program's services and
    // engine (both used only then).
    static MainWindow *instance(const AppServices &services = AppServices(),
                                VpnEngine *engine = nullptr);

    // engine is not owned and must outlive the window.
    MainWindow(AppServices services, VpnEngine *engine, QWidget *parent = nullptr,
               QSplashScreen *splash = nullptr);
    ~MainWindow() override;

    void showMessage(const QString &title, const QString &text);
    // The help page's update check; true when the user wants the offered version.
    bool checkUpdate(QString &version, QString &url);
    void connectVPN();
    void stopVPN();
    // Shows the current server's flag; with reconnect, connects to it (see the controller).
    void applyServerChoice(bool reconnect);
    // The exit action: hide the tray icon, close for good, leave the event loop.
    void requestExit();

    void showPage(Page page);
    Page currentPage() const;
    QWidget *page(Page page) const;

    bool exitRequested() const { return m_exitRequested; }
    ConnectionController *controller() const { return m_controller; }
    AccountSession *account() const { return m_account; }
    ServerListController *serverList() const { return m_serverList; }
    TrayController *tray() const { return m_tray; }
    MenuModel *settingsModel() const { return m_settingsModel; }
    MenuModel *trayModel() const { return m_trayModel; }
    QMenu *settingsMenu() const { return m_settingsMenu; }
    LoadingOverlay *loading() const { return m_loading; }

signals:
    void signalShow();
    // Once, after the first frame of the window was painted (or a second after the first
    // show, should no frame come): the moment for start-up work the window does not need.
    void firstFramePainted();
    void signalStatuesChanged(const QString &status, const QString &info);
    void signalTraffic(float inMb, float outMb);

public slots:
    void slotConnectVPN();
    void statuesChanged(const QString &status, const QString &info);
    void statuesChanged(const QString &status);
    void slotTraffic(float inMb, float outMb);
    // The sign-in of the login page; isFresh: silent (see AccountSession::login).
    bool loginVPN(bool isFresh);
    void registerVPN();
    // One click of a menu entry of the settings or tray menu.
    void slotTrayMenuClick(const QString &id, const QString &lang);
    // The check marks of the settings menu from the settings store.
    void checkMenu();
    // Show, raise and activate the window, hide the tray icon.
    void slotShowMainWindow();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void afterFirstFrame();
    void applyWindowIcon();
    void updateExpiryWatch();
    void buildPages();
    void buildStatusBar(MPanel *content);
    void buildMenus();
    void placeWindow();
    void wireConnection();
    void wireAccount();
    void wireServers();
    void wirePages();

    void applyConnectionView();
    void showAccount();
    void onSignedOut();
    void showBalloonBelow(const QString &text, QWidget *field);
    void openUrl(const QString &url);
    void changeLanguage(const QString &file);
    void repairNetwork();

    AppServices m_services;
    ConnectionController *m_controller = nullptr;
    AccountSession *m_account = nullptr;
    ServerListController *m_serverList = nullptr;
    TrayController *m_tray = nullptr;
    MenuModel *m_settingsModel = nullptr;
    MenuModel *m_trayModel = nullptr;
    QMenu *m_settingsMenu = nullptr;
    QHash<QString, std::function<void()>> m_menuActions;

    QWidget *m_pageHost = nullptr;
    QStackedLayout *m_stack = nullptr;
    HomePage *m_home = nullptr;
    LoginPage *m_login = nullptr;
    RegisterPage *m_register = nullptr;
    PurchasePage *m_purchase = nullptr;
    ServerPage *m_servers = nullptr;
    HelpPage *m_help = nullptr;
    UpdateOffer m_updateOffer;
    AccountPage *m_accountPage = nullptr;
    QLabel *m_idLabel = nullptr;
    QLabel *m_statusLabel = nullptr;
    LoadingOverlay *m_loading = nullptr;

    bool m_exitRequested = false;
    bool m_firstShown = false;
    bool m_firstFramePainted = false;
    bool m_pricesWaitForFrame = false;
    int m_windowIconConnected = -1; // the state the window icon shows; -1: none yet
};
