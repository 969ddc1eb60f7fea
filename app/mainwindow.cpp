#include "mainwindow.h"
#include "firstframe.h"
#include "starttrace.h"
#include "updateprompt.h"

#include "accountsession.h"
#include "autostart.h"
#include "connectioncontroller.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "menus.h"
#include "mpanel.h"
#include "mtitlebar.h"
#include "mutils.h"
#include "pages/accountpages.h"
#include "pages/homepage.h"
#include "pages/infopages.h"
#include "pages/loadingoverlay.h"
#include "pages/serverpage.h"
#include "serveritem.h"
#include "serverlistcontroller.h"
#include "serverlistloader.h"
#include "traycontroller.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>

MainWindow *MainWindow::instance(const AppServices &services, VpnEngine *engine)
{
    // Owned by nobody on purpose: it lives until the process ends.
    static MainWindow *window = new MainWindow(services, engine);
    return window;
}

MainWindow::MainWindow(AppServices services, VpnEngine *engine, QWidget *parent,
                       QSplashScreen *splash)
    : MBaseFrame(true, parent)
    , m_services(std::move(services))
{
    setServices(m_services);
    // The expired dialog belongs over this window.
    AppServices controllerServices = m_services;
    controllerServices.expiredDialog = [this](QWidget *) {
        return m_services.expiredDialog ? m_services.expiredDialog(this) : 0;
    };
    // The engine's callbacks go in before any other engine call.
    m_controller = new ConnectionController(engine, std::move(controllerServices), this);
    m_controller->registerEngineCallbacks();
    const QString dataFolder = MConfig::getAppDataFolder(QString());
    m_account
        = new AccountSession(m_services, dataFolder + QStringLiteral("user_content.fg"), this);

    const MConfig &config = *MConfig::instance();
    setSplashScreen(splash);
    setAppName(QStringLiteral("MainFull"));
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(config.appName);
    MTitleBar *titleBar = createTitleBar(QString(), true, false, true);
    titleBar->setTitle(config.appName);
    const QString appName = config.appName;
    QTimer::singleShot(1000, this, [this, appName] { traceAction(appName); });
    setFixedSize(scaled(322), scaled(500));

    buildMenus();
    auto *settings = new QPushButton(this);
    settings->setObjectName(QStringLiteral("BtnSetting"));
    settings->setFlat(true);
    settings->setFixedSize(scaled(20), scaled(20));
    settings->setToolTip(tr("Settings"));
    titleBar->addWidget(settings, false);
    connect(settings, &QPushButton::clicked, this,
            [this] { m_settingsMenu->popup(QCursor::pos()); });

    // Born inside the frame: moving a built tree there would re-resolve the style of every
    // widget in it.
    auto *content = new MPanel(Qt::Vertical, getCentralPanel());
    content->setObjectName(QStringLiteral("MainContent"));
    content->setMarginAndSpaceing(0, 0);
    m_pageHost = new QWidget(content);
    m_stack = new QStackedLayout(m_pageHost);
    m_stack->setContentsMargins(0, 0, 0, 0);
    buildPages();
    content->addWidget(m_pageHost);
    content->getLayout()->setStretchFactor(m_pageHost, 1);
    buildStatusBar(content);
    setContentPanel(content);
    m_loading = new LoadingOverlay(m_pageHost);
    m_serverList = new ServerListController(MConfig::getAppDataFolder(QString())
                                                + QStringLiteral("server_content.fg"),
                                            m_servers, m_loading, this);
    placeWindow();

    m_login->setAutoLogin(config.ckbAutoLogin > 0);
    wireConnection();
    wireAccount();
    wireServers();
    wirePages();
    // The controller started idle; show it.
    applyConnectionView();
    QTimer::singleShot(100, this, [this] {
        // A shown window asks once its first frame is up; a hidden one (started to the
        // tray) asks now.
        if (m_firstShown && !m_firstFramePainted)
            m_pricesWaitForFrame = true;
        else
            m_account->loadPrices();
    });
}

MainWindow::~MainWindow()
{
    // The base's fade-in clears its pointer when it is destroyed; ending a running one here
    // keeps that from happening after the base is gone.
    qDeleteAll(findChildren<QPropertyAnimation *>(QString(), Qt::FindDirectChildrenOnly));
}

void MainWindow::buildPages()
{
    m_home = new HomePage([this] { return m_controller->advanceSpin(); }, m_pageHost);
    m_login = new LoginPage(m_pageHost);
    m_register = new RegisterPage(m_pageHost);
    m_purchase = new PurchasePage(m_pageHost);
    m_servers = new ServerPage(m_pageHost);
    m_help = new HelpPage(m_pageHost);
    m_accountPage = new AccountPage(m_pageHost);
    // In the order of Page.
    for (QWidget *page : std::initializer_list<QWidget *>{m_home, m_login, m_register, m_purchase,
                                                          m_servers, m_help, m_accountPage})
        m_stack->addWidget(page);
}

void MainWindow::buildStatusBar(MPanel *content)
{
    auto *statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    m_idLabel = new QLabel(statusBar);
    m_idLabel->setObjectName(QStringLiteral("LbDisplay"));
    m_statusLabel = new QLabel(statusBar);
    m_statusLabel->setObjectName(QStringLiteral("LbDisplay"));
    m_statusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar->addWidget(m_idLabel, 1);
    statusBar->addPermanentWidget(m_statusLabel);
    content->addWidget(statusBar);
}

void MainWindow::buildMenus()
{
    m_settingsModel = new MenuModel(settingsMenuEntries(), this);
    m_trayModel = new MenuModel(trayMenuEntries(), this);
    m_settingsMenu = m_settingsModel->createMenu(this);
    m_settingsMenu->setObjectName(QStringLiteral("SettingsMenu"));
    QMenu *trayMenu = m_trayModel->createMenu(this);
    trayMenu->setObjectName(QStringLiteral("TrayMenu"));
    m_tray = new TrayController(m_services, trayMenu, this);
    for (MenuModel *model : {m_settingsModel, m_trayModel})
        connect(model, &MenuModel::triggered, this, &MainWindow::slotTrayMenuClick);
    const auto page = [this](const QString &path) {
        return [this, path] {
            openUrl(Deploy::webUrl() + path);
        };
    };
    const auto killSwitch = [this](const QString &id) {
        return [this, id] {
            m_controller->changeKillSwitch(id);
            checkMenu();
        };
    };
    m_menuActions = {
        {QStringLiteral("id_show_main"),
         [this] {
             slotShowMainWindow();
         }},
        {QStringLiteral("id_exit"),
         [this] {
             requestExit();
         }},
        {QStringLiteral("id_tray"),
         [this] {
             close();
         }},
        {QStringLiteral("id_log"),
         [this] {
             sendLog();
         }},
        {QStringLiteral("id_speed"),
         [this] {
             m_serverList->measure();
         }},
        {QStringLiteral("id_help_desk"),
         [this] {
             openUrl(MConfig::instance()->helpDeskUrl);
         }},
        {QStringLiteral("id_online"),
         [this] {
             openUrl(MConfig::instance()->helpUrl);
         }},
        {QStringLiteral("id_check_ip"), page(QStringLiteral("what_is_my_ip/"))},
        {QStringLiteral("id_dns_leak"), page(QStringLiteral("dns_leak_test/"))},
        {QStringLiteral("id_about"),
         [this] {
             if (m_services.aboutDialog)
                 m_services.aboutDialog(this);
         }},
        {QStringLiteral("id_fix_tap"),
         [this] {
             repairNetwork();
         }},
    };
    for (const char *id :
         {"id_killswitch_off", "id_killswitch_both", "id_killswitch_disc", "id_killswitch_local"})
        m_menuActions.insert(QLatin1String(id), killSwitch(QLatin1String(id)));
    connect(m_tray, &TrayController::restoreRequested, this, &MainWindow::slotShowMainWindow);
}

void MainWindow::placeWindow()
{
    const MConfig &config = *MConfig::instance();
    const QRect stored(QPoint(config.mainWndX, config.mainWndY), size());
    // A position saved on a screen that is gone would put the window out of reach.
    bool onScreen = false;
    for (const QScreen *screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableGeometry().intersects(stored);
    if ((config.mainWndX == 0 && config.mainWndY == 0) || !onScreen) {
        ShowInCenter();
        return;
    }
    move(stored.topLeft());
    setCenterOnFirstShow(false);
}

void MainWindow::wireConnection()
{
    connect(this, &MainWindow::signalStatuesChanged, this,
            qOverload<const QString &, const QString &>(&MainWindow::statuesChanged),
            Qt::QueuedConnection);
    connect(this, &MainWindow::signalTraffic, this, &MainWindow::slotTraffic, Qt::QueuedConnection);
    connect(m_controller, &ConnectionController::viewChanged, this,
            &MainWindow::applyConnectionView);
    connect(m_controller, &ConnectionController::trayBalloon, m_tray, &TrayController::showMessage);
    connect(m_controller, &ConnectionController::loginPageRequested, this,
            [this] { showPage(Page::Login); });
    connect(m_controller, &ConnectionController::purchaseRequested, m_purchase,
            [this] { m_purchase->offerButton(2)->click(); });
    connect(m_controller, &ConnectionController::spinTick, m_home, &HomePage::spinTick);
    connect(m_controller, &ConnectionController::repairFinished, this,
            [this](bool ok, const QString &report) {
                showMessage(tr("TAP Installation"),
                            ok ? tr("The network has been repaired.")
                               : tr("Sorry, the network could not be repaired: %1").arg(report));
            });
    connect(m_controller, &ConnectionController::reloginRequested, this,
            [this] { loginVPN(true); });
}

void MainWindow::wireAccount()
{
    connect(m_account, &AccountSession::busyChanged, m_loading, &LoadingOverlay::setAccountBusy);
    connect(m_account, &AccountSession::message, this, &MainWindow::showMessage);
    connect(m_account, &AccountSession::signedIn, this, [this](bool silent) {
        showAccount();
        if (!silent)
            showPage(Page::Home);
    });
    connect(m_account, &AccountSession::signedOut, this, &MainWindow::onSignedOut);
    connect(m_account, &AccountSession::pricesLoaded, this,
            [this](const QVector<PriceOffer> &offers) {
                for (const PriceOffer &offer : offers)
                    m_purchase->setOffer(offer.button, offer.caption, offer.buyUrl);
            });
    connect(m_account, &AccountSession::fieldRejected, this,
            [this](AccountSession::Field field, const QString &text) {
                QLineEdit *const fields[]
                    = {m_login->emailField(), m_login->passwordField(), m_register->emailField(),
                       m_register->passwordField(), m_register->againField()};
                showBalloonBelow(text, fields[int(field)]);
            });
}

void MainWindow::wireServers()
{
    connect(m_serverList, &ServerListController::busyChanged, this, [this](bool busy) {
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    // A list that came back after an empty one makes connecting possible again.
    connect(m_serverList, &ServerListController::listShown, this, [this](bool empty) {
        m_home->setConnectEnabled(!empty);
        if (empty)
            showPage(Page::Servers);
    });
    connect(m_serverList, &ServerListController::firstListShown, this,
            [this] { applyServerChoice(false); });
    connect(m_serverList, &ServerListController::serverChosen, this, [this] {
        stopVPN();
        showPage(Page::Home);
        applyServerChoice(true);
    });
    // The text carries the backend's reply: shown as text, whatever it holds.
    connect(m_serverList, &ServerListController::failed, this,
            [this](const QString &title, const QString &text) {
                showMessage(title, Qt::convertFromPlainText(text));
            });
}

void MainWindow::wirePages()
{
    for (int i = 1; i < m_stack->count(); ++i) {
        connect(static_cast<::Page *>(m_stack->widget(i)), &::Page::homeRequested, this,
                [this] { showPage(Page::Home); });
    }
    connect(m_stack, &QStackedLayout::currentChanged, this, [this](int index) {
        const MConfig &config = *MConfig::instance();
        if (index == int(Page::Login))
            m_login->setCredentials(config.loginEmail, config.loginPassword);
        else if (index == int(Page::Account))
            m_accountPage->setMachineId(config.userID);
    });

    connect(m_home, &HomePage::connectClicked, this, &MainWindow::slotConnectVPN);
    connect(m_home, &HomePage::chooseServerClicked, this, [this] { showPage(Page::Servers); });
    connect(m_home, &HomePage::helpClicked, this, [this] { showPage(Page::Help); });
    connect(m_home, &HomePage::buyClicked, this, [this] { showPage(Page::Purchase); });
    connect(m_home, &HomePage::accountClicked, this,
            [this] { showPage(m_account->loggedIn() ? Page::Account : Page::Login); });

    connect(m_login, &LoginPage::loginClicked, this, [this] {
        m_login->setBusy(true);
        m_account->loginClicked(m_login->email(), m_login->password());
        m_login->setBusy(false);
    });
    connect(m_login, &LoginPage::autoLoginToggled, m_account, &AccountSession::setAutoLogin);
    connect(m_login, &LoginPage::registerRequested, this, [this] { showPage(Page::Register); });
    connect(m_login, &LoginPage::forgotPasswordClicked, this,
            [this] { m_account->findPasswordClicked(m_login->email()); });
    connect(m_register, &RegisterPage::loginRequested, this, [this] { showPage(Page::Login); });
    connect(m_register, &RegisterPage::registerClicked, this, [this] {
        m_register->setBusy(true);
        m_account->registerClicked(m_register->emailField()->text(),
                                   m_register->passwordField()->text(),
                                   m_register->againField()->text());
        m_register->setBusy(false);
    });
    connect(m_accountPage, &AccountPage::logoutClicked, m_account, &AccountSession::logout);
    connect(m_accountPage, &AccountPage::reloginClicked, this,
            [this] { m_account->reloginClicked(m_login->email(), m_login->password()); });
    connect(m_purchase, &PurchasePage::offerClicked, this, [this](int index) {
        // The order page is fixed; the price list's buy_url is kept but not followed.
        openUrl(QStringLiteral("https://%1/order.html").arg(Deploy::webHost()));
        m_services.event(QStringLiteral("Buy"), offerAnalyticsAction(index), QStringLiteral("VPN"));
    });
    connect(m_help, &HelpPage::onlineHelpClicked, this,
            [this] { openUrl(MConfig::instance()->helpUrl); });
    connect(m_help, &HelpPage::helpDeskClicked, this,
            [this] { openUrl(MConfig::instance()->helpDeskUrl); });
    connect(m_help, &HelpPage::autoRunToggled, this, [this](bool on) {
        const bool written = on ? enableLaunchAtLogin(QCoreApplication::applicationFilePath())
                                : disableLaunchAtLogin();
        if (!written) {
            m_help->setAutoRun(!on);
            showMessage(tr("Launch on system startup"),
                        tr("Sorry, the start-up entry could not be written to %1")
                            .arg(launchAtLoginFile()));
        }
    });
    connect(m_help, &HelpPage::checkUpdateClicked, this, [this] {
        QString version, url;
        if (checkUpdate(version, url))
            updateNewVer(m_updateOffer);
    });
    connect(this, &MBaseFrame::signalsWakeupApp, this, &MainWindow::slotShowMainWindow);
}

bool MainWindow::checkUpdate(QString &version, QString &url)
{
    UpdateOffer offer;
    const bool wanted = askForUpdate(m_services, this, &offer);
    version = offer.version;
    url = offer.url;
    m_updateOffer = offer;
    return wanted;
}

void MainWindow::showMessage(const QString &title, const QString &text)
{
    m_services.message(title, text, this);
}

void MainWindow::connectVPN()
{
    m_controller->connectVPN();
}

void MainWindow::stopVPN()
{
    m_controller->stopVPN();
}

void MainWindow::applyServerChoice(bool reconnect)
{
    if (const ServerInfoPtr server = m_serverList->loader()->currentServer()) {
        m_home->setServer(flagCode(server->country), server->name);
        m_controller->setCurrentServer(server->host, server->ovpn);
    }
    m_controller->applyServerChoice(reconnect);
}

void MainWindow::requestExit()
{
    m_tray->hide();
    m_exitRequested = true;
    close();
    if (m_services.quit)
        m_services.quit(0);
}

void MainWindow::showPage(Page page)
{
    m_stack->setCurrentIndex(int(page));
}

MainWindow::Page MainWindow::currentPage() const
{
    return Page(m_stack->currentIndex());
}

QWidget *MainWindow::page(Page page) const
{
    return m_stack->widget(int(page));
}

void MainWindow::slotConnectVPN()
{
    m_controller->slotConnectVPN();
}

void MainWindow::statuesChanged(const QString &status, const QString &info)
{
    m_controller->statuesChanged(status, info);
}

void MainWindow::statuesChanged(const QString &status)
{
    m_controller->statuesChanged(status);
}

void MainWindow::slotTraffic(float inMb, float outMb)
{
    m_controller->slotTraffic(inMb, outMb);
}

bool MainWindow::loginVPN(bool isFresh)
{
    return m_account->login(m_login->email(), m_login->password(), isFresh);
}

void MainWindow::registerVPN()
{
    m_account->registerClicked(m_register->emailField()->text(),
                               m_register->passwordField()->text(),
                               m_register->againField()->text());
}

void MainWindow::slotTrayMenuClick(const QString &id, const QString &lang)
{
    qInfo().noquote() << "Menu:" << id << lang;
    if (const auto action = m_menuActions.find(id); action != m_menuActions.end())
        action.value()();
    else if (!lang.isEmpty())
        changeLanguage(lang);
}

void MainWindow::checkMenu()
{
    applySettingsChecks(m_settingsModel);
}

void MainWindow::repairNetwork()
{
    m_controller->repairNetwork();
}

void MainWindow::changeLanguage(const QString &file)
{
    MConfig &config = *MConfig::instance();
    if (StrEquals(file, config.lang))
        return;
    showMessage(tr("Change Language"),
                tr("You changed the language, it will take full effect after restart."));
    config.lang = file;
    m_services.save();
    checkMenu();
}

void MainWindow::slotShowMainWindow()
{
    show();
    raise();
    activateWindow();
    m_tray->hide();
}

void MainWindow::showEvent(QShowEvent *event)
{
    MBaseFrame::showEvent(event);
    emit signalShow();
    if (m_firstShown)
        return;
    m_firstShown = true;

    const MConfig &config = *MConfig::instance();
    m_login->setCredentials(config.loginEmail, config.loginPassword);
    m_help->setAutoRun(launchAtLoginEnabled());
    checkMenu();
    // What the first frame does not need (the list, the network, the timers) waits for it.
    whenFirstFramePainted(windowHandle(), [this] {
        StartTrace::step("shown");
        QTimer::singleShot(0, this, &MainWindow::afterFirstFrame);
    });
    QTimer::singleShot(1000, this, &MainWindow::afterFirstFrame);
}

void MainWindow::afterFirstFrame()
{
    if (m_firstFramePainted)
        return;
    m_firstFramePainted = true;
    emit firstFramePainted();
    applyWindowIcon();
    if (m_services.countryCheck)
        QTimer::singleShot(200, this, [this] { m_services.countryCheck(); });
    m_serverList->load();
    m_controller->startAccountTimers();
    updateExpiryWatch();
    if (m_pricesWaitForFrame)
        m_account->loadPrices();
    if (MConfig::instance()->ckbAutoLogin > 0) {
        QTimer::singleShot(100, this, [this] {
            m_loading->setAccountBusy(true);
            loginVPN(true);
            m_loading->setAccountBusy(false);
        });
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_exitRequested) {
        m_tray->show();
        hide();
        event->ignore();
        QTimer::singleShot(500, this,
                           [this] { m_tray->showMessage(tr("Program is still running")); });
        return;
    }
    MConfig &config = *MConfig::instance();
    config.mainWndX = pos().x();
    config.mainWndY = pos().y();
    m_services.save();
    m_controller->shutdown();
    m_loading->stop();
    MBaseFrame::closeEvent(event);
}

void MainWindow::applyConnectionView()
{
    const ConnectionView &view = m_controller->view();
    m_home->setConnectionView(view);
    m_statusLabel->setText(view.statusText);
    m_idLabel->setText(view.idText);
    if (MTitleBar *titleBar = getTitleBar()) {
        titleBar->setIcon(view.connected ? QStringLiteral(":/icon/main_icon_on.png")
                                         : QStringLiteral(":/icon/main_icon.png"));
    }
    applyWindowIcon();
    updateExpiryWatch();
    m_tray->setConnected(view.connected);
}

void MainWindow::updateExpiryWatch()
{
    // The watchdog acts on a connected tunnel only; running while idle it would wake the
    // process every few seconds for nothing.
    if (!m_firstFramePainted)
        return;
    QTimer *watch = m_controller->expiryTimer();
    if (!m_controller->view().connected)
        watch->stop();
    else if (!watch->isActive())
        watch->start();
}

void MainWindow::applyWindowIcon()
{
    // Every size of the icon file is decoded and handed to the window system: not needed for
    // the first frame.
    if (!m_firstFramePainted)
        return;
    const bool connected = m_controller->view().connected;
    if (m_windowIconConnected == int(connected))
        return;
    m_windowIconConnected = int(connected);
    setWindowIcon(QIcon(connected ? QStringLiteral(":/icon/main_icon_on.ico")
                                  : QStringLiteral(":/icon/ico_main.ico")));
}

void MainWindow::showAccount()
{
    const AccountInfo &info = m_account->info();
    m_controller->setLoggedIn(true);
    m_controller->setExpireDate(info.expireDate);
    m_home->setAccount(info.email, info.expireDate.toString(QStringLiteral("yyyy-MM-dd")));
    m_accountPage->setAccount(info.email,
                              info.expireDate.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                              info.paymentText);
    m_accountPage->setMachineId(MConfig::instance()->userID);
}

void MainWindow::onSignedOut()
{
    m_controller->setLoggedIn(false);
    showPage(Page::Login);
    m_controller->stopVPN();
    m_home->setSignedOut();
}

void MainWindow::showBalloonBelow(const QString &text, QWidget *field)
{
    if (m_services.showBalloon)
        m_services.showBalloon(text, field->mapToGlobal(QPoint(0, 20)));
}

void MainWindow::openUrl(const QString &url)
{
    if (m_services.openUrl)
        m_services.openUrl(QUrl(url));
}
