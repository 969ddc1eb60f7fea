#include "mainwindow.h"

#include "accountreplies.h"
#include "backendprotocol.h"
#include "clicklimiter.h"
#include "connectioncontroller.h"
#include "encryptedfiles.h"
#include "latencytest.h"
#include "maboutus.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "mgiflable.h"
#include "mnetwork.h"
#include "mpanel.h"
#include "mtitlebar.h"
#include "mtraildlg.h"
#include "mutils.h"
#include "mwidgetutils.h"
#include "qballoontip.h"
#include "serveritem.h"
#include "serverlistloader.h"
#include "vpnclientengine.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMovie>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStackedLayout>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char kNormalIcon[] = ":/icon/ico_main.ico";
const char kConnectedIcon[] = ":/icon/main_icon_on.ico";
const char kTitleIcon[] = ":/icon/main_icon.png";
const char kTitleIconOn[] = ":/icon/main_icon_on.png";
const char kBusyImage[] = ":/wnd/gif_0.png";
const char kLoadingMovie[] = ":/wnd/loading.gif";
const char kMenuId[] = "id";
const char kMenuLang[] = "id_lang";

int scaled(int value)
{
    return int(value * Ratio());
}

QPushButton *makeButton(const QString &objectName, const QString &toolTip, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setToolTip(toolTip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QLineEdit *makeField(const QString &placeholder, QWidget *parent, bool password = false)
{
    auto *field = new QLineEdit(parent);
    field->setPlaceholderText(placeholder);
    if (password)
        field->setEchoMode(QLineEdit::Password);
    return field;
}

QLineEdit *makeReadOnlyField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setReadOnly(true);
    return field;
}

QAction *addMenuAction(QMenu *menu, const QString &text, const char *id)
{
    QAction *action = menu->addAction(text);
    action->setProperty(kMenuId, QString::fromLatin1(id));
    return action;
}

} // namespace

MainWindow *MainWindow::instance(QWidget *parent)
{
    // Owned by nobody on purpose: it lives until the process ends.
    static MainWindow *window = new MainWindow(parent);
    return window;
}

MainWindow::MainWindow(QWidget *parent, QSplashScreen *splash, MainWindowServices services)
    : MBaseFrame(true, parent)
    , m_services(std::move(services))
    , m_normalIcon(QString::fromLatin1(kNormalIcon))
    , m_connectedIcon(QString::fromLatin1(kConnectedIcon))
    , m_busyPixmap(QString::fromLatin1(kBusyImage))
{
    // The engine's callbacks go in before any other engine call.
    ConnectionController::Services controllerServices = ConnectionController::Services::defaults();
    if (m_services.now)
        controllerServices.now = m_services.now;
    controllerServices.saveSettings = [this] {
        saveSettings();
    };
    controllerServices.expiredDialog = [this] {
        if (m_services.expiredDialog)
            return m_services.expiredDialog(this);
        MTrailDlg dialog(this);
        return dialog.exec();
    };
    controllerServices.sendEvent
        = [this](const QString &category, const QString &action, const QString &label, int value) {
              if (getServices().sendEvent)
                  getServices().sendEvent(category, action, label, value);
          };
    VpnEngine *engine = m_services.engine ? m_services.engine : defaultVpnEngine();
    m_controller = new ConnectionController(engine, std::move(controllerServices), this);
    m_controller->registerEngineCallbacks();

    const MConfig &config = *MConfig::instance();
    m_serverCachePath = MConfig::getAppDataFolder(QString()) + QStringLiteral("server_content.fg");
    m_loginCachePath = MConfig::getAppDataFolder(QString()) + QStringLiteral("user_content.fg");
    setSplashScreen(splash);
    setAppName(QStringLiteral("MainFull"));
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(config.appName);
    MTitleBar *titleBar = createTitleBar(QString(), true, false, true);
    titleBar->setTitle(config.appName);
    const QString appName = config.appName;
    QTimer::singleShot(1000, this, [this, appName] { traceAction(appName); });

    setFixedSize(scaled(322), scaled(500));
    m_btnSetting = new QPushButton(this);
    m_btnSetting->setObjectName(QStringLiteral("BtnSetting"));
    m_btnSetting->setFlat(true);
    m_btnSetting->setFixedSize(scaled(20), scaled(20));
    m_btnSetting->setToolTip(tr("Settings"));
    titleBar->addWidget(m_btnSetting, false);
    buildSettingsMenu();

    auto *content = new MPanel(Qt::Vertical, this);
    content->setObjectName(QStringLiteral("MainContent"));
    content->setMarginAndSpaceing(0, 0);
    m_pageHost = new QWidget(content);
    m_pageHost->installEventFilter(this);
    m_stack = new QStackedLayout(m_pageHost);
    m_stack->setContentsMargins(0, 0, 0, 0);
    buildHomePage();
    buildLoginPage();
    buildRegisterPage();
    buildPurchasePage();
    buildServerPage();
    buildHelpPage();
    buildAccountPage();
    content->addWidget(m_pageHost);
    content->getLayout()->setStretchFactor(m_pageHost, 1);
    buildStatusBar();
    content->addWidget(m_statusBar);
    setContentPanel(content);

    buildLoadingPanel();
    buildTrayIcon();

    placeWindow();

    m_dataFolder = MConfig::getAppDataFolder(QStringLiteral("vpn_data"));
    m_freeText = tr("Free");

    // The controller started idle; show it.
    applyConnectionView();

    m_ckbAutoLogin->setChecked(config.ckbAutoLogin > 0);

    m_serverLoader = new ServerListLoader(m_serverCachePath, this);
    m_latencyTest = new LatencyTest(this);
    m_timeOffset
        = (m_services.now ? m_services.now() : QDateTime::currentDateTime()).offsetFromUtc();
    m_loginClicks = new ClickLimiter(10, 300000, this);
    m_registerClicks = new ClickLimiter(5, 300000, this);
    m_findClicks = new ClickLimiter(3, 300000, this);
    connectSignals();
    QTimer::singleShot(100, this, &MainWindow::loadPrices);
}

MainWindow::~MainWindow()
{
    // The base's fade-in clears its pointer when it is destroyed; ending a running one here
    // keeps that from happening after the base is gone.
    const QList<QPropertyAnimation *> animations
        = findChildren<QPropertyAnimation *>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(animations);
}

void MainWindow::buildSettingsMenu()
{
    // The tray-and-menu work adds the language, speed test, kill switch and support entries
    // above these two.
    m_settingsMenu = new QMenu(this);
    m_settingsMenu->setObjectName(QStringLiteral("SettingsMenu"));
    QMenu *support = m_settingsMenu->addMenu(tr("Support"));
    addMenuAction(support, tr("About Quellnet"), "id_about");
    m_settingsMenu->addSeparator();
    addMenuAction(m_settingsMenu, tr("Run as Tray Icon"), "id_tray");
    addMenuAction(m_settingsMenu, tr("Exit"), "id_exit");
}

MPanel *MainWindow::makePage(Page page, const QString &title)
{
    auto *panel = new MPanel(Qt::Vertical, m_pageHost);
    panel->setObjectName(QStringLiteral("ContentPanel"));
    m_pages.insert(int(page), panel);
    m_stack->addWidget(panel);
    if (page == Page::Home)
        return panel;

    panel->setMarginAndSpaceing(scaled(10), scaled(8));
    panel->setContentsMargins(scaled(16), scaled(10), scaled(16), scaled(14));
    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, scaled(6));
    header->setSpacing(scaled(10));
    QPushButton *home = makeButton(QStringLiteral("BtnHome"), tr("Home"), panel);
    home->setFixedSize(scaled(25), scaled(25));
    connect(home, &QPushButton::clicked, this, [this] { showPage(Page::Home); });
    auto *caption = new QLabel(title, panel);
    caption->setObjectName(QStringLiteral("LbPageTitle"));
    QFont font = caption->font();
    font.setBold(true);
    font.setPixelSize(scaled(15));
    caption->setFont(font);
    header->addWidget(home);
    header->addWidget(caption, 1);
    panel->addLayout(header);
    return panel;
}

QLabel *MainWindow::makeLink(const QString &text, const QString &href)
{
    auto *label = new QLabel(
        QStringLiteral("<a href='%1' style='color:#efefef;'>%2</a>").arg(href, text), this);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

void MainWindow::buildHomePage()
{
    MPanel *home = makePage(Page::Home, QString());
    home->setMarginAndSpaceing(0, 0);
    home->setContentsMargins(scaled(12), scaled(10), scaled(12), scaled(18));

    m_btnLogin = makeButton(QStringLiteral("BTNLogin"), tr("Login your account"), home);
    m_btnLogin->setFixedSize(scaled(25), scaled(25));
    m_btnLogin->hide();
    m_btnHelp = makeButton(QStringLiteral("BTNHelp"), tr("VPN Help"), home);
    m_btnHelp->setFixedSize(scaled(25), scaled(25));
    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_btnLogin);
    top->addStretch(1);
    top->addWidget(m_btnHelp);
    home->addLayout(top);

    m_loginLink = new QLabel(home);
    m_loginLink->setObjectName(QStringLiteral("LbLoginLink"));
    m_loginLink->setTextFormat(Qt::RichText);
    m_loginLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    m_loginLink->setAlignment(Qt::AlignCenter);
    m_loginLink->setText(
        QStringLiteral("<a href='login' style='color:#efefef;'>%1</a>").arg(tr("Please login")));
    QFont linkFont = m_loginLink->font();
    linkFont.setPixelSize(scaled(14));
    m_loginLink->setFont(linkFont);
    m_accountLine = new QLabel(home);
    m_accountLine->setObjectName(QStringLiteral("LbAccountLine"));
    m_accountLine->setStyleSheet(QStringLiteral("color:rgb(200,200,200);"));
    m_accountLine->setAlignment(Qt::AlignCenter);
    home->addSpacing(scaled(2));
    home->addWidget(m_loginLink);
    home->addSpacing(scaled(4));
    home->addWidget(m_accountLine);
    home->addStretch(1);

    // The circle and the busy image share one place; one of the two is visible.
    auto *status = new QWidget(home);
    status->setFixedSize(scaled(160), scaled(160));
    auto *statusLayout = new QGridLayout(status);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    m_circle = new QLabel(status);
    m_circle->setObjectName(QStringLiteral("LbStatusCircle"));
    m_circle->setStyleSheet(QStringLiteral("border-image:url(:/wnd/circle_0.png);"));
    m_busyImage = new QWidget(status);
    m_busyImage->setObjectName(QStringLiteral("WgtBusyImage"));
    m_busyImage->installEventFilter(this);
    m_busyImage->hide();
    statusLayout->addWidget(m_circle, 0, 0);
    statusLayout->addWidget(m_busyImage, 0, 0);
    home->addWidget(status, 1);
    home->addStretch(1);

    m_btnSelect = makeButton(QStringLiteral("BTNSelect"), tr("Change your vpn server"), home);
    m_btnSelect->setFixedSize(scaled(40), scaled(26));
    // An outline where the flag goes until a server is chosen.
    m_btnSelect->setStyleSheet(
        QStringLiteral("QPushButton{border:1px dashed #6b7590;border-radius:3px;}"));
    m_serverName = new QLabel(home);
    m_serverName->setObjectName(QStringLiteral("LbServerName"));
    m_serverName->setText(tr("Choose a server"));
    m_serverName->setCursor(Qt::PointingHandCursor);
    m_serverName->installEventFilter(this);
    auto *server = new QHBoxLayout;
    server->setContentsMargins(0, 0, 0, 0);
    server->setSpacing(scaled(8));
    server->addStretch(1);
    server->addWidget(m_btnSelect);
    server->addWidget(m_serverName);
    server->addStretch(1);
    home->addLayout(server);
    home->addSpacing(scaled(14));

    m_btnConnect = makeButton(QStringLiteral("BTNConnect"), QString(), home);
    m_btnConnect->setFixedWidth(scaled(200));
    home->addWidget(m_btnConnect, 1);
    home->addSpacing(scaled(12));

    m_btnBuy = makeButton(QStringLiteral("BTNBuy"), tr("Subscribe VPN"), home);
    m_btnBuy->setText(tr("Subscribe"));
    m_btnBuy->setFixedWidth(scaled(120));
    home->addWidget(m_btnBuy, 1);
}

void MainWindow::buildLoginPage()
{
    MPanel *page = makePage(Page::Login, tr("Login"));
    const QString link
        = QStringLiteral("<a href='javascript:void(0);' style='color:#efefef'>%1</a>");

    m_loginMessage = new QLabel(page);
    m_loginMessage->setObjectName(QStringLiteral("LbLoginMessage"));
    m_loginMessage->setWordWrap(true);
    page->addWidget(m_loginMessage);
    page->addWidget(new QLabel(tr("Email:"), page));
    m_loginEmail = makeField(tr("Type your email"), page);
    m_loginEmail->setObjectName(QStringLiteral("EdLoginEmail"));
    page->addWidget(m_loginEmail);
    page->addWidget(new QLabel(tr("Password:"), page));
    m_loginPassword = makeField(tr("Type your password"), page, true);
    m_loginPassword->setObjectName(QStringLiteral("EdLoginPassword"));
    page->addWidget(m_loginPassword);
    page->addSpacing(scaled(6));
    m_btnLoginSubmit = new QPushButton(tr("Login"), page);
    m_btnLoginSubmit->setObjectName(QStringLiteral("BTNLoginSubmit"));
    m_btnLoginSubmit->setProperty("primary", true);
    page->addWidget(m_btnLoginSubmit);
    m_ckbAutoLogin = new QCheckBox(tr("Login automatically"), page);
    m_ckbAutoLogin->setObjectName(QStringLiteral("CkbAutoLogin"));
    page->addWidget(m_ckbAutoLogin);

    m_registerLink = new QLabel(link.arg(tr("Register")), page);
    m_registerLink->setObjectName(QStringLiteral("LbRegisterLink"));
    m_forgetLink = new QLabel(link.arg(tr("Forget password")), page);
    m_forgetLink->setObjectName(QStringLiteral("LbForgetLink"));
    m_forgetLink->setToolTip(tr("Change your password"));
    auto *links = new QHBoxLayout;
    links->setContentsMargins(0, 0, 0, 0);
    for (QLabel *label : {m_registerLink, m_forgetLink}) {
        label->setTextFormat(Qt::RichText);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        label->setCursor(Qt::PointingHandCursor);
    }
    links->addWidget(m_registerLink);
    links->addStretch(1);
    links->addWidget(m_forgetLink);
    page->addLayout(links);
    page->addStretch(1);
}

void MainWindow::buildRegisterPage()
{
    MPanel *page = makePage(Page::Register, tr("Register"));
    auto *message
        = new QLabel(tr("New registered user is eligible for a one-day free trial"), page);
    message->setWordWrap(true);
    page->addWidget(message);
    page->addWidget(new QLabel(tr("Email:"), page));
    m_regEmail = makeField(tr("Same as your payment email."), page);
    m_regEmail->setObjectName(QStringLiteral("EdRegEmail"));
    page->addWidget(m_regEmail);
    page->addWidget(new QLabel(tr("Password:"), page));
    m_regPassword = makeField(tr("Length is greater than 5"), page, true);
    m_regPassword->setObjectName(QStringLiteral("EdRegPassword"));
    page->addWidget(m_regPassword);
    m_regPassword2 = makeField(tr("Type password again"), page, true);
    m_regPassword2->setObjectName(QStringLiteral("EdRegPassword2"));
    page->addWidget(m_regPassword2);
    page->addSpacing(scaled(6));
    m_btnRegister = new QPushButton(tr("Register"), page);
    m_btnRegister->setObjectName(QStringLiteral("BTNRegister"));
    m_btnRegister->setProperty("primary", true);
    page->addWidget(m_btnRegister);
    m_backToLoginLink
        = new QLabel(QStringLiteral("<a href='javascript:void(0);' style='color:#efefef'>%1</a>")
                         .arg(tr("Login")),
                     page);
    m_backToLoginLink->setObjectName(QStringLiteral("LbBackToLoginLink"));
    m_backToLoginLink->setTextFormat(Qt::RichText);
    m_backToLoginLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    m_backToLoginLink->setCursor(Qt::PointingHandCursor);
    page->addWidget(m_backToLoginLink);
    page->addStretch(1);
}

void MainWindow::buildPurchasePage()
{
    MPanel *page = makePage(Page::Purchase, tr("Purchase"));
    auto *note = new QLabel(tr("After purchase, please re-login your account"), page);
    note->setWordWrap(true);
    page->addWidget(note);
    page->addSpacing(scaled(6));
    const QString captions[3] = {tr("1 Month"), tr("3 Months"), tr("2 Years")};
    for (int i = 0; i < 3; ++i) {
        m_offerButtons[i] = new QPushButton(captions[i], page);
        m_offerButtons[i]->setObjectName(QStringLiteral("BTNOffer%1").arg(i + 1));
        m_offerButtons[i]->setMinimumHeight(scaled(40));
        m_offerButtons[i]->setCursor(Qt::PointingHandCursor);
        page->addWidget(m_offerButtons[i]);
    }
    m_offerButtons[2]->setProperty("primary", true);
    page->addSpacing(scaled(10));
    auto *badge = new QLabel(page);
    badge->setObjectName(QStringLiteral("LbMoneyBack"));
    badge->setFixedSize(scaled(220), scaled(51));
    badge->setStyleSheet(QStringLiteral("border-image:url(%1);")
                             .arg(QStringLiteral(":/wnd/money-back-software.svg")));
    page->addWidget(badge, 1);
    page->addStretch(1);
}

void MainWindow::buildServerPage()
{
    MPanel *page = makePage(Page::Servers, tr("Servers"));
    m_serverList = new ServerListWidget(page);
    m_serverList->setObjectName(QStringLiteral("ServerList"));
    m_serverList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_serverList->setSelectionMode(QAbstractItemView::SingleSelection);
    page->addWidget(m_serverList);
    page->getLayout()->setStretchFactor(m_serverList, 1);
    m_btnRefresh = new QPushButton(tr("Refresh"), page);
    m_btnRefresh->setObjectName(QStringLiteral("BTNRefresh"));
    m_btnRefresh->setCursor(Qt::PointingHandCursor);
    page->addWidget(m_btnRefresh);
}

void MainWindow::buildHelpPage()
{
    MPanel *page = makePage(Page::Help, tr("Help"));
    auto *grid = new QGridLayout;
    grid->setContentsMargins(scaled(50), scaled(10), scaled(50), scaled(10));
    grid->setSpacing(scaled(10));
    const QString texts[4]
        = {tr("Rate App"), tr("Online Help"), tr("HelpDesk"), tr("Check Update")};
    QPushButton *buttons[4] = {};
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QPushButton(texts[i], page);
        buttons[i]->setObjectName(QStringLiteral("BTNFun"));
        buttons[i]->setCursor(Qt::PointingHandCursor);
        grid->addWidget(buttons[i], i, 0);
    }
    m_ckbAutoRun = new QCheckBox(tr("Launch on system startup"), page);
    m_ckbAutoRun->setObjectName(QStringLiteral("CkbAutoRun"));
    grid->addWidget(m_ckbAutoRun, 4, 0);
    page->addLayout(grid);
    page->addStretch(1);

    // "Rate App" does nothing; "Check Update" and the start-up box come with their own work.
    connect(buttons[1], &QPushButton::clicked, this,
            [this] { openUrl(MConfig::instance()->helpUrl); });
    connect(buttons[2], &QPushButton::clicked, this,
            [this] { openUrl(MConfig::instance()->helpDeskUrl); });
}

void MainWindow::buildAccountPage()
{
    MPanel *page = makePage(Page::Account, tr("Account Information"));
    auto *form = new QGridLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(scaled(8));
    form->setVerticalSpacing(scaled(8));
    m_accEmail = makeReadOnlyField(page);
    m_accExpire = makeReadOnlyField(page);
    m_accMachineId = makeReadOnlyField(page);
    m_accPayment = makeReadOnlyField(page);
    m_accEmail->setObjectName(QStringLiteral("EdAccEmail"));
    m_accExpire->setObjectName(QStringLiteral("EdAccExpire"));
    m_accMachineId->setObjectName(QStringLiteral("EdAccMachineId"));
    m_accPayment->setObjectName(QStringLiteral("EdAccPayment"));
    const QString captions[4]
        = {tr("Email"), tr("Expired on:"), tr("Machine ID"), tr("Last payment:")};
    QLineEdit *fields[4] = {m_accEmail, m_accExpire, m_accMachineId, m_accPayment};
    for (int i = 0; i < 4; ++i) {
        form->addWidget(new QLabel(captions[i], page), i * 2, 0);
        form->addWidget(fields[i], i * 2 + 1, 0);
    }
    page->addLayout(form);
    page->addSpacing(scaled(8));
    m_btnRelogin = new QPushButton(tr("Re-Login"), page);
    m_btnRelogin->setObjectName(QStringLiteral("BTNRelogin"));
    m_btnRelogin->setToolTip(tr("Re-Login to refresh your account information"));
    m_btnLogout = new QPushButton(tr("Logout"), page);
    m_btnLogout->setObjectName(QStringLiteral("BTNLogout"));
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_btnRelogin);
    buttons->addWidget(m_btnLogout);
    page->addLayout(buttons);
    page->addStretch(1);
}

void MainWindow::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_idLabel = new QLabel(m_statusBar);
    m_idLabel->setObjectName(QStringLiteral("LbDisplay"));
    m_statusLabel = new QLabel(m_statusBar);
    m_statusLabel->setObjectName(QStringLiteral("LbDisplay"));
    m_statusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_statusBar->addWidget(m_idLabel, 1);
    m_statusBar->addPermanentWidget(m_statusLabel);
    m_idLabel->setText(tr("ID:%1  ").arg(MConfig::getUserId()));
}

void MainWindow::buildLoadingPanel()
{
    m_loadingPanel = new MPanel(Qt::Vertical, m_pageHost);
    m_loadingPanel->setObjectName(QStringLiteral("PanelLoading"));
    m_loadingLabel = new MGifLable(m_loadingPanel);
    m_loadingLabel->setObjectName(QStringLiteral("LBLoading"));
    m_loadingLabel->setFixedSize(scaled(120), scaled(120));
    m_loadingLabel->setOpacity(0.7f);
    m_loadingLabel->setScaledContents(true);
    m_loadingMovie = new QMovie(QString::fromLatin1(kLoadingMovie), QByteArray(), this);
    if (!m_loadingMovie->isValid())
        qInfo() << "Movie is bad";
    m_loadingLabel->setMovie(m_loadingMovie);
    m_loadingPanel->addStretch(1);
    m_loadingPanel->addWidget(m_loadingLabel, 1);
    m_loadingPanel->addStretch(1);
    m_loadingPanel->setGeometry(m_pageHost->rect());
    m_loadingPanel->hide();
}

void MainWindow::buildTrayIcon()
{
    m_trayIcon = new QSystemTrayIcon(m_normalIcon, this);
    m_trayIcon->setToolTip(tr("Double click to active program,right click to popup menu"));
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("TrayMenu"));
    addMenuAction(m_trayMenu, tr("Show Main Window"), "id_show_main");
    addMenuAction(m_trayMenu, tr("Exit"), "id_exit");
    m_trayIcon->setContextMenu(m_trayMenu);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    m_trayMenu->popup(QCursor::pos());
                else if (reason == QSystemTrayIcon::DoubleClick)
                    slotShowMainWindow();
            });
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

void MainWindow::connectSignals()
{
    connect(this, &MainWindow::signalStatuesChanged, this,
            qOverload<const QString &, const QString &>(&MainWindow::statuesChanged),
            Qt::QueuedConnection);
    connect(this, &MainWindow::signalTraffic, this, &MainWindow::slotTraffic, Qt::QueuedConnection);
    connect(this, &MainWindow::signalTestSpeed, this, &MainWindow::slotTestSpeed,
            Qt::QueuedConnection);
    connect(this, &MainWindow::signalTestSpeedFinised, this, &MainWindow::slotTestSpeedFinished,
            Qt::QueuedConnection);
    connect(this, &MainWindow::signalLoadedServerList, this, &MainWindow::showServerList,
            Qt::QueuedConnection);
    connect(this, &MainWindow::signalLoadedServerListFailed, this,
            &MainWindow::loadServerListFailed, Qt::QueuedConnection);
    connect(this, &MainWindow::signalSpeed, this, &MainWindow::slotUpdateSpeed,
            Qt::QueuedConnection);

    connect(m_serverLoader, &ServerListLoader::signalLoadedServerList, this,
            &MainWindow::signalLoadedServerList);
    connect(m_serverLoader, &ServerListLoader::signalLoadedServerListFailed, this,
            &MainWindow::signalLoadedServerListFailed);
    connect(m_serverLoader, &ServerListLoader::signalLoadServerListError, this,
            [this](const QString &title, const QString &text) { showMessage(title, text); });
    connect(m_latencyTest, &LatencyTest::signalSpeed, this,
            [this](quint64 key, const QString &speed) {
                // A refill forgets the keys, and the rows they named are gone with it.
                const QPersistentModelIndex row = m_latencyRows.take(key);
                auto *list = qobject_cast<ServerListWidget *>(m_serverList);
                if (!list || !row.isValid())
                    return;
                // Kept in the row: a row without a widget shows it once scrolled into view.
                list->setRowSpeed(row.row(), speed);
                if (ServerItem *item = list->existingRowWidget(row.row()))
                    emit signalSpeed(item, speed);
            });
    connect(m_latencyTest, &LatencyTest::signalTestSpeedFinised, this,
            &MainWindow::signalTestSpeedFinised);

    connect(m_controller, &ConnectionController::viewChanged, this,
            &MainWindow::applyConnectionView);
    connect(m_controller, &ConnectionController::trayBalloon, this, &MainWindow::showTrayMessage);
    connect(m_controller, &ConnectionController::loginPageRequested, this,
            [this] { showPage(Page::Login); });
    connect(m_controller, &ConnectionController::purchaseRequested, this,
            [this] { m_offerButtons[2]->click(); });
    connect(m_controller, &ConnectionController::spinTick, m_busyImage,
            qOverload<>(&QWidget::update));

    connect(m_stack, &QStackedLayout::currentChanged, this, &MainWindow::onPageChanged);
    connect(m_ckbAutoLogin, &QCheckBox::toggled, this, [this](bool checked) {
        MConfig::instance()->ckbAutoLogin = checked ? 1 : 0;
        saveSettings();
    });
    connect(m_btnSetting, &QPushButton::clicked, this,
            [this] { m_settingsMenu->popup(QCursor::pos()); });
    const QList<QMenu *> menus = {m_settingsMenu, m_trayMenu};
    for (QMenu *menu : menus) {
        for (QAction *action : menu->actions()) {
            connect(action, &QAction::triggered, this, &MainWindow::slotTrayMenuClick);
            if (QMenu *sub = action->menu()) {
                for (QAction *subAction : sub->actions())
                    connect(subAction, &QAction::triggered, this, &MainWindow::slotTrayMenuClick);
            }
        }
    }

    connect(m_btnBuy, &QPushButton::clicked, this, [this] { showPage(Page::Purchase); });
    connect(m_btnHelp, &QPushButton::clicked, this, [this] { showPage(Page::Help); });
    connect(m_btnLogin, &QPushButton::clicked, this,
            [this] { showPage(m_controller->loggedIn() ? Page::Account : Page::Login); });
    connect(m_btnConnect, &QPushButton::clicked, this, &MainWindow::slotConnectVPN);
    connect(m_btnSelect, &QPushButton::clicked, this, [this] { showPage(Page::Servers); });
    connect(m_loginLink, &QLabel::linkActivated, this, [this](const QString &href) {
        showPage(href == QLatin1String("user_info") ? Page::Account : Page::Login);
    });
    connect(m_registerLink, &QLabel::linkActivated, this, [this] { showPage(Page::Register); });
    connect(m_backToLoginLink, &QLabel::linkActivated, this, [this] { showPage(Page::Login); });
    connect(m_forgetLink, &QLabel::linkActivated, this, &MainWindow::onFindPasswordClicked);
    connect(m_btnLoginSubmit, &QPushButton::clicked, this, &MainWindow::onLoginClicked);
    connect(m_btnRegister, &QPushButton::clicked, this, &MainWindow::onRegisterClicked);
    connect(m_btnLogout, &QPushButton::clicked, this, &MainWindow::logout);
    connect(m_btnRelogin, &QPushButton::clicked, this, &MainWindow::relogin);
    for (int i = 0; i < 3; ++i)
        connect(m_offerButtons[i], &QPushButton::clicked, this, [this, i] { onOfferClicked(i); });
    connect(m_controller, &ConnectionController::reloginRequested, this,
            [this] { loginVPN(true); });
    connect(m_serverList, &QListWidget::itemClicked, this, &MainWindow::onServerClicked);
    connect(m_btnRefresh, &QPushButton::clicked, this, &MainWindow::onRefreshClicked);

    connect(this, &MBaseFrame::signalsWakeupApp, this, &MainWindow::slotShowMainWindow);
}

void MainWindow::showMessage(const QString &title, const QString &text, QWidget *parent)
{
    if (m_services.showMessage) {
        m_services.showMessage(title, text, parent);
        return;
    }
    auto *box = new QMessageBox(parent ? parent : this);
    box->setStyleSheet(
        QStringLiteral("QPushButton:hover{color:#fefefe;background-color:#2E374E;}"));
    box->setMinimumSize(200, 100);
    box->setWindowTitle(title);
    box->setText(text);
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    box->exec();
    box->deleteLater();
}

void MainWindow::showTrayMessage(const QString &text)
{
    if (!m_trayIcon->isVisible())
        return;
    const QString title = MConfig::instance()->appName;
    if (m_services.trayMessage)
        m_services.trayMessage(title, text);
    else
        m_trayIcon->showMessage(title, text, QSystemTrayIcon::Information, 10000);
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
    const ServerInfoPtr server = m_serverLoader->currentServer();
    if (server) {
        m_btnSelect->setStyleSheet(QStringLiteral("QPushButton{border-image:url(:/flag/%1.png);}")
                                       .arg(flagCode(server->country)));
        m_serverName->setText(server->name);
        m_controller->setCurrentServer(server->host, server->ovpn);
    }
    m_controller->applyServerChoice(reconnect);
}

void MainWindow::requestExit()
{
    m_trayIcon->hide();
    m_exitRequested = true;
    close();
    if (m_services.quit)
        m_services.quit(0);
    else
        QCoreApplication::exit(0);
}

void MainWindow::showPage(Page page)
{
    if (MPanel *panel = m_pages.value(int(page)))
        m_stack->setCurrentWidget(panel);
}

MainWindow::Page MainWindow::currentPage() const
{
    return Page(m_pages.key(qobject_cast<MPanel *>(m_stack->currentWidget()), int(Page::Home)));
}

QWidget *MainWindow::page(Page page) const
{
    return m_pages.value(int(page));
}

void MainWindow::showServerList()
{
    unsetCursor();
    showLoading(false);
    const ServerInfoList &servers = m_serverLoader->serverList();
    if (servers.isEmpty()) {
        m_btnConnect->setEnabled(false);
        m_btnRefresh->setEnabled(true);
        showPage(Page::Servers);
        return;
    }
    // A list that came back after an empty one makes connecting possible again.
    m_btnConnect->setEnabled(true);

    m_latencyRows.clear();
    fillServerRows(m_serverList, servers, m_serverLoader->currentServer(), scaled(26));

    const bool firstFill = !m_listFilled;
    m_listFilled = true;
    if (firstFill)
        applyServerChoice(false);
    else
        showLoading(true);
    emit signalTestSpeed();
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

void MainWindow::slotTrayMenuClick()
{
    const QAction *action = qobject_cast<const QAction *>(sender());
    if (!action)
        return;
    const QString id = action->property(kMenuId).toString();
    const QString lang = action->property(kMenuLang).toString();
    qInfo().noquote() << "Menu:" << id << lang;
    if (id == QLatin1String("id_show_main"))
        slotShowMainWindow();
    else if (id == QLatin1String("id_exit"))
        requestExit();
    else if (id == QLatin1String("id_tray"))
        close();
    else if (id == QLatin1String("id_about"))
        showAbout();
}

void MainWindow::loadServerListFailed()
{
    unsetCursor();
    showLoading(false);
    m_btnRefresh->setEnabled(true);
}

void MainWindow::slotUpdateSpeed(ServerItem *item, const QString &speed)
{
    // The row may have gone with a refill since the result was sent; the widget is only
    // looked up, never followed, until the list knows it.
    auto *list = qobject_cast<ServerListWidget *>(m_serverList);
    const int row = list ? list->rowOfWidget(item) : -1;
    if (row >= 0)
        list->setRowSpeed(row, speed);
}

void MainWindow::slotTestSpeed()
{
    QList<LatencyTest::Row> rows;
    rows.reserve(m_serverList->count());
    for (int i = 0; i < m_serverList->count(); ++i) {
        const QModelIndex index = m_serverList->model()->index(i, 0);
        const quint64 key = ++m_nextRowKey;
        m_latencyRows.insert(key, index);
        rows.append({key, index.data(Qt::UserRole).toString()});
    }
    m_latencyTest->start(rows);
}

void MainWindow::slotTestSpeedFinished()
{
    showLoading(false);
    m_btnRefresh->setEnabled(true);
}

void MainWindow::slotShowMainWindow()
{
    show();
    raise();
    activateWindow();
    m_trayIcon->hide();
}

void MainWindow::showEvent(QShowEvent *event)
{
    MBaseFrame::showEvent(event);
    emit signalShow();
    if (m_firstShown)
        return;
    m_firstShown = true;

    m_loadingMovie->start();
    if (m_services.countryCheck)
        QTimer::singleShot(200, this, [this] { m_services.countryCheck(); });
    const MConfig &config = *MConfig::instance();
    m_loginEmail->setText(config.loginEmail);
    m_loginPassword->setText(config.loginPassword);

    showLoading(true);
    m_serverLoader->loadServerListTask();

    m_controller->startAccountTimers();
    if (config.ckbAutoLogin > 0) {
        QTimer::singleShot(100, this, [this] { withLoading([this] { loginVPN(true); }); });
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_exitRequested) {
        m_trayIcon->show();
        hide();
        event->ignore();
        QTimer::singleShot(500, this, [this] { showTrayMessage(tr("Program is still running")); });
        return;
    }

    MConfig &config = *MConfig::instance();
    config.mainWndX = pos().x();
    config.mainWndY = pos().y();
    saveSettings();
    m_controller->shutdown();
    m_loadingMovie->stop();
    MBaseFrame::closeEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_busyImage && event->type() == QEvent::Paint) {
        const float angle = m_controller->advanceSpin();
        QPainter painter(m_busyImage);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // The centre is taken as half the width on both axes: the image is square.
        const qreal centre = m_busyImage->width() / 2.0;
        painter.translate(centre, centre);
        painter.rotate(angle);
        painter.translate(-centre, -centre);
        painter.drawPixmap(m_busyImage->rect(), m_busyPixmap);
        return true;
    }
    if (watched == m_pageHost && event->type() == QEvent::Resize && m_loadingPanel)
        m_loadingPanel->setGeometry(m_pageHost->rect());
    if (watched == m_serverName && event->type() == QEvent::MouseButtonRelease)
        showPage(Page::Servers);
    return MBaseFrame::eventFilter(watched, event);
}

void MainWindow::applyConnectionView()
{
    const ConnectionView &view = m_controller->view();
    m_btnConnect->setText(view.buttonText);
    m_btnConnect->setToolTip(view.buttonToolTip);
    if (m_btnConnect->property("connected").toBool() != view.connected) {
        m_btnConnect->setProperty("connected", view.connected);
        m_btnConnect->style()->unpolish(m_btnConnect);
        m_btnConnect->style()->polish(m_btnConnect);
    }
    m_statusLabel->setText(view.statusText);
    m_idLabel->setText(view.idText);
    m_circle->setStyleSheet(view.circleStyle);
    m_circle->setVisible(!view.busyImageShown);
    m_busyImage->setVisible(view.busyImageShown);

    if (MTitleBar *titleBar = getTitleBar())
        titleBar->setIcon(QString::fromLatin1(view.connected ? kTitleIconOn : kTitleIcon));
    const QIcon &icon = view.connected ? m_connectedIcon : m_normalIcon;
    setWindowIcon(icon);
    m_trayIcon->setIcon(icon);
}

void MainWindow::showLoading(bool show)
{
    if (show) {
        m_loadingPanel->setGeometry(m_pageHost->rect());
        m_loadingPanel->show();
        m_loadingPanel->raise();
        m_loadingMovie->start();
    } else {
        m_loadingPanel->hide();
        m_loadingMovie->stop();
    }
}

void MainWindow::onPageChanged(int index)
{
    QWidget *current = m_stack->widget(index);
    const MConfig &config = *MConfig::instance();
    if (current == page(Page::Login)) {
        m_loginEmail->setText(config.loginEmail);
        m_loginPassword->setText(config.loginPassword);
    } else if (current == page(Page::Account)) {
        m_accMachineId->setText(config.userID);
    }
}

void MainWindow::onServerClicked(QListWidgetItem *item)
{
    const QString host = item->data(Qt::UserRole).toString();
    if (!m_serverLoader->selectServer(host))
        return;
    stopVPN();
    qInfo().noquote() << "Change to:" << host;
    showPage(Page::Home);
    applyServerChoice(true);
}

void MainWindow::onRefreshClicked()
{
    if (!m_serverLoader->refresh())
        return;
    setCursor(Qt::WaitCursor);
    showLoading(true);
    m_btnRefresh->setEnabled(false);
}

void MainWindow::openUrl(const QString &url)
{
    if (m_services.openUrl)
        m_services.openUrl(QUrl(url));
    else
        QDesktopServices::openUrl(QUrl(url));
}

void MainWindow::saveSettings()
{
    if (m_services.saveSettings)
        m_services.saveSettings();
    else
        MConfig::saveCommConfig();
}

// ---------------------------------------------------------------- account

bool MainWindow::loggedIn() const
{
    return m_controller->loggedIn();
}

void MainWindow::showBalloonBelow(const QString &text, QWidget *field)
{
    const QPoint pos = field->mapToGlobal(QPoint(0, 20));
    if (m_services.showBalloon)
        m_services.showBalloon(text, pos);
    else
        QBalloonTip::showBalloon(text, pos, 3000);
}

void MainWindow::showAccountMessage(const QString &title, const QString &text)
{
    if (!title.isEmpty())
        showMessage(title, text);
}

void MainWindow::withLoading(const std::function<void()> &work)
{
    const bool alreadyShown = !m_loadingPanel->isHidden();
    if (!alreadyShown)
        showLoading(true);
    work();
    if (!alreadyShown)
        showLoading(false);
}

bool MainWindow::loginVPN(bool isFresh)
{
    // A silent refresh may fire while another request waits in its nested event loop.
    if (m_accountRequestRunning)
        return false;
    const QString email = m_loginEmail->text().trimmed();
    const QString password = m_loginPassword->text().trimmed();
    if (email.size() < 6) {
        if (!isFresh)
            showBalloonBelow(tr("Please type email"), m_loginEmail);
        return false;
    }
    if (password.size() < 6) {
        if (!isFresh)
            showBalloonBelow(tr("Please type password"), m_loginPassword);
        return false;
    }
    if (!isFresh) {
        m_accountEmail = email;
        MConfig &config = *MConfig::instance();
        config.loginEmail = email;
        config.loginPassword = password;
        saveSettings();
    }

    HeaderMap headers;
    makeRequestHeaders(headers);
    addAccountHeaders(headers, email, &password);
    m_accountRequestRunning = true;
    QString reply = MNetwork::get(Endpoint::login(), headers).trimmed();
    m_accountRequestRunning = false;

    bool fromCache = false;
    if (reply.size() < 5) {
        // No answer: carry on with the last accepted reply, so the client works offline.
        m_accountEmail = email;
        reply = readLoginCache(m_loginCachePath);
        fromCache = true;
    }
    m_lastLoginFromCache = fromCache;
    return onLoginResult(reply, isFresh, fromCache);
}

bool MainWindow::onLoginResult(const QString &reply, bool isFresh, bool fromCache)
{
    qInfo().noquote() << "Result:" << reply;
    const LoginReply result = readLoginReply(reply, m_timeOffset);
    switch (result.kind) {
    case LoginReply::Kind::Empty:
        // Offline without a stored reply: a user's click still hears why nothing happened.
        if (!fromCache || !isFresh) {
            const AccountMessage message = loginFailureMessage(AccountRequest::Login, result);
            showAccountMessage(message.title, message.text);
        }
        return false;
    case LoginReply::Kind::NotObject:
    case LoginReply::Kind::Refused:
        if (!isFresh) {
            const AccountMessage message = loginFailureMessage(AccountRequest::Login, result);
            showAccountMessage(message.title, message.text);
        }
        return false;
    case LoginReply::Kind::Accepted:
        break;
    }

    const MConfig &config = *MConfig::instance();
    if (!result.email.isEmpty())
        m_accountEmail = result.email;
    if (m_accountEmail.isEmpty())
        m_accountEmail = config.loginEmail;
    if (m_accountEmail.isEmpty())
        m_accountEmail = tr("Please re-login");
    m_expireDate = result.expireDate;
    m_paymentText = result.paymentDate.isEmpty() ? tr("None") : result.paymentDate;
    m_controller->setLoggedIn(true);
    m_controller->setExpireDate(m_expireDate);

    m_loginLink->setText(
        QStringLiteral("<a href='user_info' style='color:#efefef;'>%1</a>").arg(m_accountEmail));
    m_accountLine->setText(QStringLiteral("%1:%2").arg(
        tr("Expires"), m_expireDate.toString(QStringLiteral("yyyy-MM-dd"))));
    m_accEmail->setText(m_accountEmail);
    m_accExpire->setText(m_expireDate.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    m_accMachineId->setText(config.userID);
    m_accPayment->setText(m_paymentText);

    if (!isFresh)
        showPage(Page::Home);
    if (!fromCache)
        save_logiInfo(m_loginCachePath, reply);
    return true;
}

void MainWindow::registerVPN()
{
    if (m_accountRequestRunning)
        return;
    const QString email = m_regEmail->text().trimmed();
    const QString password = m_regPassword->text().trimmed();
    const QString again = m_regPassword2->text().trimmed();
    if (email.size() < 6) {
        showBalloonBelow(tr("Invalid email"), m_regEmail);
        return;
    }
    if (password != again) {
        showBalloonBelow(tr("Sorry, passwords do not match"), m_regPassword2);
        return;
    }
    if (password.size() < 6) {
        showBalloonBelow(tr("Password length is less than 6"), m_regPassword);
        return;
    }

    HeaderMap headers;
    makeRequestHeaders(headers);
    addAccountHeaders(headers, email, &password);
    m_accountRequestRunning = true;
    const QString reply = MNetwork::get(Endpoint::registration(), headers).trimmed();
    m_accountRequestRunning = false;

    const LoginReply result = readLoginReply(reply, m_timeOffset);
    if (result.kind != LoginReply::Kind::Accepted) {
        const AccountMessage message = loginFailureMessage(AccountRequest::Register, result);
        showAccountMessage(message.title, message.text);
        return;
    }
    if (!onLoginResult(reply, false, false))
        return;
    m_accountEmail = email;
    showPage(Page::Home);
    MConfig &config = *MConfig::instance();
    config.loginEmail = email;
    config.loginPassword = password;
    saveSettings();
}

void MainWindow::findPassword()
{
    if (m_accountRequestRunning)
        return;
    const QString email = m_loginEmail->text().trimmed();
    if (email.size() < 6) {
        showBalloonBelow(tr("Please type email"), m_loginEmail);
        return;
    }
    HeaderMap headers;
    makeRequestHeaders(headers);
    addAccountHeaders(headers, email);
    QString reply;
    withLoading([&] {
        m_accountRequestRunning = true;
        reply = MNetwork::get(Endpoint::findPassword(), headers).trimmed();
        m_accountRequestRunning = false;
    });
    qInfo().noquote() << "Result:" << reply;
    const AccountMessage message = findPasswordMessage(reply);
    showAccountMessage(message.title, message.text);
}

void MainWindow::logout()
{
    m_controller->setLoggedIn(false);
    m_accountEmail.clear();
    showPage(Page::Login);
    m_controller->stopVPN();
    m_loginLink->setText(
        QStringLiteral("<a href='login' style='color:#efefef;'>%1</a>").arg(tr("Please login")));
    m_accountLine->clear();
}

void MainWindow::relogin()
{
    bool accepted = false;
    withLoading([&] { accepted = loginVPN(true); });
    // Only a reply from the backend refreshes anything; the offline copy is no news.
    if (accepted && !m_lastLoginFromCache) {
        showMessage(tr("Refresh"), tr("Account information has been refreshed"));
    } else {
        showMessage(tr("Refresh"),
                    tr("Sorry, the account information could not be refreshed, please check "
                       "your network and try it again."));
    }
}

void MainWindow::loadPrices()
{
    const QString text = MNetwork::getWebConent(Endpoint::priceList());
    for (const PriceOffer &offer : readPriceList(text.trimmed())) {
        QPushButton *button = m_offerButtons[offer.button];
        button->setText(offer.caption);
        button->setProperty("url", offer.buyUrl);
    }
}

void MainWindow::onLoginClicked()
{
    if (!m_loginClicks->click())
        return;
    m_btnLoginSubmit->setEnabled(false);
    withLoading([this] { loginVPN(false); });
    m_btnLoginSubmit->setEnabled(true);
    if (getServices().sendEvent)
        getServices().sendEvent(QStringLiteral("Login"), QStringLiteral("Quell"),
                                QStringLiteral("VPN"), 1);
}

void MainWindow::onRegisterClicked()
{
    if (!m_registerClicks->click())
        return;
    m_btnRegister->setEnabled(false);
    withLoading([this] { registerVPN(); });
    m_btnRegister->setEnabled(true);
    if (getServices().sendEvent)
        getServices().sendEvent(QStringLiteral("Register"), QStringLiteral("Quell"),
                                QStringLiteral("VPN"), 1);
}

void MainWindow::onFindPasswordClicked()
{
    if (m_findClicks->click())
        findPassword();
}

void MainWindow::onOfferClicked(int index)
{
    // The order page is fixed; the price list's buy_url is kept but not followed.
    openUrl(QStringLiteral("https://%1/order.html").arg(Deploy::webHost()));
    if (getServices().sendEvent)
        getServices().sendEvent(QStringLiteral("Buy"), offerAnalyticsAction(index),
                                QStringLiteral("VPN"), 1);
}

void MainWindow::showAbout()
{
    if (m_services.aboutDialog) {
        m_services.aboutDialog(this);
        return;
    }
    MAboutUS dialog(this);
    dialog.exec();
}
