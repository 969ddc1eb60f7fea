// The main window on the offscreen platform with a recording engine: its pages and named
// widgets, placement, hiding to the tray, the first-show work, the queued engine events, the
// server page, and the seams for messages, balloons and browser pages.

#include "connectioncontroller.h"
#include "latencytest.h"
#include "mainwindow.h"
#include "mconfig.h"
#include "mgiflable.h"
#include "mpanel.h"
#include "mtitlebar.h"
#include "resinit.h"
#include "serveritem.h"
#include "serverlistloader.h"
#include "vpnengine.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMovie>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <thread>

namespace {

class RecordingEngine : public VpnEngine
{
public:
    void setCallbacks(EventCallback event, LogCallback, TrafficCallback traffic) override
    {
        calls << QStringLiteral("setCallbacks");
        this->event = event;
        this->traffic = traffic;
    }
    void setKillSwith(int level) override
    {
        calls << QStringLiteral("setKillSwith(%1)").arg(level);
    }
    void setKillDisconnect(bool) override { calls << QStringLiteral("setKillDisconnect"); }
    void setKillLocal(bool) override { calls << QStringLiteral("setKillLocal"); }
    void setconfig(const std::string &server, const std::string &config) override
    {
        calls << QStringLiteral("setconfig(%1,%2)")
                     .arg(QString::fromStdString(server), QString::fromStdString(config));
    }
    int start() override
    {
        calls << QStringLiteral("start");
        running = true;
        return 0;
    }
    int stop() override
    {
        calls << QStringLiteral("stop");
        running = false;
        return 0;
    }
    bool isStart() override { return running; }
    void close() override { calls << QStringLiteral("close"); }

    QStringList calls;
    bool running = false;
    EventCallback event = nullptr;
    TrafficCallback traffic = nullptr;
};

// Three servers on loopback addresses; "Ovpn" is not a valid cipher text, so the records
// carry an empty configuration.
QString serverListJson(int count)
{
    const char *entries[] = {
        R"({"Ip":"127.0.0.1","Name":"Frankfurt 1","Country":"DE","Ovpn":""})",
        R"({"Ip":"127.0.0.2","Name":"Tokyo 1","Country":"Janpanese","Ovpn":""})",
        R"({"Ip":"127.0.0.3","Name":"Nowhere","Country":"Atlantis","Ovpn":""})",
    };
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << QString::fromLatin1(entries[i]);
    return QStringLiteral("{\"Servers\":[") + parts.join(QLatin1Char(',')) + QStringLiteral("]}");
}

template<typename T>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void buildsEveryPageWithItsNamedWidgets();
    void opensCentredUnlessAPositionIsStored_data();
    void opensCentredUnlessAPositionIsStored();
    void titleBarCloseHidesToTrayThenBalloonsHalfASecondLater();
    void trayShowAndWakeUpRestoreTheWindow();
    void runAsTrayIconHidesAndExitStopsTheEngineForGood();
    void secondShowDoesNotReloadTheListOrRestartTheTimers();
    void hiddenTrayIconSuppressesEveryBalloon();
    void engineEventsReachTheWidgetsOnlyThroughQueuedSignals();
    void busyStateShowsTheTurningBusyImage();
    void buttonsAndLinksShowTheirPages();
    void pagesFillTheirFieldsWhenTheyBecomeCurrent();
    void autoLoginBoxStoresTheChoice();
    void helpButtonsOpenTheirPagesAndRateAppDoesNothing();
    void loadedListFillsRowsAndShowsTheChosenFlag();
    void emptyListDisablesConnectUntilAListArrives();
    void choosingARowStopsAndConnectsToTheNewServer();
    void expiredAccountBuyNowClicksTheYearOffer();
    void messagesGoThroughTheSeam();

private:
    std::unique_ptr<MainWindow> makeWindow();

    RecordingEngine m_engine;
    QStringList m_messages;
    QStringList m_balloons;
    QList<QUrl> m_urls;
    QList<int> m_quits;
    int m_saves = 0;
    int m_expiredResult = -1;
    int m_expiredDialogs = 0;
};

void MainWindowTest::initTestCase()
{
    quellnetInitResources();
    // Every request of the first show goes to a loopback address nobody listens on.
    qputenv("QUELLNET_BACKEND_HOST", "127.3.0.1:9");
    qputenv("QUELLNET_SERVERLIST_HOST", "127.3.0.1");
    qputenv("QUELLNET_WEB_HOST", "127.3.0.1:9");
    qputenv("QUELLNET_COLLECT_URL", "https://127.3.0.1:9/collect");
}

void MainWindowTest::init()
{
    m_engine = RecordingEngine();
    m_messages.clear();
    m_balloons.clear();
    m_urls.clear();
    m_quits.clear();
    m_saves = 0;
    m_expiredResult = -1;
    m_expiredDialogs = 0;
    MConfig &config = *MConfig::instance();
    config.appName = QStringLiteral("Quellnet");
    config.userID = QStringLiteral("0A1B2C3D4E");
    config.mainWndX = 0;
    config.mainWndY = 0;
    config.ckbAutoLogin = 0;
    config.loginEmail.clear();
    config.loginPassword.clear();
    config.lastServIp.clear();
    config.lastLoadServerListDate.clear();
    config.helpUrl = QStringLiteral("https://127.3.0.1:9/support/");
    config.helpDeskUrl = QStringLiteral("https://127.3.0.1:9/helpdesk/");
}

std::unique_ptr<MainWindow> MainWindowTest::makeWindow()
{
    MainWindowServices services;
    services.engine = &m_engine;
    services.showMessage = [this](const QString &title, const QString &text, QWidget *) {
        m_messages << title + QLatin1Char('|') + text;
    };
    services.trayMessage = [this](const QString &title, const QString &text) {
        m_balloons << title + QLatin1Char('|') + text;
    };
    services.openUrl = [this](const QUrl &url) {
        m_urls << url;
    };
    services.expiredDialog = [this](QWidget *) {
        ++m_expiredDialogs;
        return m_expiredResult;
    };
    services.saveSettings = [this] {
        ++m_saves;
    };
    services.quit = [this](int code) {
        m_quits << code;
    };
    return std::make_unique<MainWindow>(nullptr, nullptr, services);
}

void MainWindowTest::buildsEveryPageWithItsNamedWidgets()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    QCOMPARE(m_engine.calls, QStringList{"setCallbacks"});
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window->size(), QSize(322, 500));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(window->getAppName(), QStringLiteral("MainFull"));

    MTitleBar *titleBar = window->getTitleBar();
    QVERIFY(titleBar);
    QCOMPARE(titleBar->getTitleLabel()->text(), QStringLiteral("Quellnet"));
    QVERIFY(titleBar->getMinButton()->isEnabled());
    QVERIFY(!titleBar->getMaxButton()->isEnabled());
    QVERIFY(titleBar->getCloseButton()->isEnabled());
    auto *setting = child<QPushButton>(titleBar, "BtnSetting");
    QVERIFY(setting);
    QVERIFY(setting->isFlat());
    QCOMPARE(setting->width(), 20);
    QVERIFY(window->settingsMenu());

    const QList<MainWindow::Page> pages
        = {MainWindow::Page::Home,     MainWindow::Page::Login,   MainWindow::Page::Register,
           MainWindow::Page::Purchase, MainWindow::Page::Servers, MainWindow::Page::Help,
           MainWindow::Page::Account};
    QSet<QWidget *> distinct;
    for (MainWindow::Page page : pages) {
        QWidget *widget = window->page(page);
        QVERIFY(widget);
        QCOMPARE(widget->objectName(), QStringLiteral("ContentPanel"));
        distinct.insert(widget);
    }
    QCOMPARE(distinct.size(), 7);
    QCOMPARE(window->currentPage(), MainWindow::Page::Home);

    QWidget *home = window->page(MainWindow::Page::Home);
    const struct
    {
        const char *name;
        const char *tip;
    } buttons[] = {{"BTNBuy", "Subscribe VPN"},
                   {"BTNHelp", "VPN Help"},
                   {"BTNLogin", "Login your account"},
                   {"BTNConnect", "Connect vpn server"},
                   {"BTNSelect", "Change your vpn server"}};
    for (const auto &b : buttons) {
        auto *button = child<QPushButton>(home, b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->toolTip(), QString::fromLatin1(b.tip));
    }
    auto *login = child<QPushButton>(home, "BTNLogin");
    QCOMPARE(login->size(), QSize(25, 25));
    QVERIFY(login->isHidden());
    QCOMPARE(child<QPushButton>(home, "BTNConnect")->text(), QStringLiteral("Connect"));
    QCOMPARE(window->statusCircle()->styleSheet(),
             QStringLiteral("border-image:url(:/wnd/circle_0.png);"));
    QVERIFY(!window->statusCircle()->isHidden());
    QVERIFY(window->busyImage()->isHidden());

    const QList<QLabel *> display = window->findChildren<QLabel *>(QStringLiteral("LbDisplay"));
    QCOMPARE(display.size(), 2);
    QCOMPARE(window->idLabel()->text(), QStringLiteral("ID:0A1B2C3D4E  "));
    QCOMPARE(window->statusLabel()->text(), QStringLiteral("Ready to Connect"));
    QVERIFY(qobject_cast<QStatusBar *>(window->idLabel()->parentWidget()));

    MPanel *loading = window->loadingPanel();
    QCOMPARE(loading->objectName(), QStringLiteral("PanelLoading"));
    QVERIFY(loading->isHidden());
    auto *gif = child<MGifLable>(loading, "LBLoading");
    QVERIFY(gif);
    QCOMPARE(gif->size(), QSize(120, 120));
    QCOMPARE(gif->getOpacity(), 0.7f);
    QVERIFY(gif->movie() && gif->movie()->isValid());

    QWidget *help = window->page(MainWindow::Page::Help);
    QStringList texts;
    for (QPushButton *button : help->findChildren<QPushButton *>(QStringLiteral("BTNFun")))
        texts << button->text();
    QCOMPARE(texts, (QStringList{"Rate App", "Online Help", "HelpDesk", "Check Update"}));
    QVERIFY(child<QPushButton>(help, "BtnHome"));
    QStringList boxes;
    for (QCheckBox *box : help->findChildren<QCheckBox *>())
        boxes << box->text();
    QCOMPARE(boxes, QStringList{"Launch on system startup"});

    QStringList placeholders;
    for (QLineEdit *edit : window->page(MainWindow::Page::Login)->findChildren<QLineEdit *>())
        placeholders << edit->placeholderText();
    QCOMPARE(placeholders, (QStringList{"Type your email", "Type your password"}));
    QStringList offers;
    for (QPushButton *b : window->page(MainWindow::Page::Purchase)->findChildren<QPushButton *>())
        offers << b->text();
    QCOMPARE(offers.mid(1), (QStringList{"1 Month", "3 Months", "2 Years"}));
    for (QLineEdit *edit : window->page(MainWindow::Page::Account)->findChildren<QLineEdit *>())
        QVERIFY(edit->isReadOnly());

    QVERIFY(!window->trayIcon()->isVisible());
    QCOMPARE(window->trayIcon()->toolTip(),
             QStringLiteral("Double click to active program,right click to popup menu"));
    QStringList trayIds;
    for (QAction *action : window->trayMenu()->actions())
        trayIds << action->property("id").toString();
    QCOMPARE(trayIds, (QStringList{"id_show_main", "id_exit"}));
}

void MainWindowTest::opensCentredUnlessAPositionIsStored_data()
{
    QTest::addColumn<bool>("noSettingsFile");
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<bool>("centred");
    QTest::newRow("no stored position") << true << QPoint() << true;
    QTest::newRow("stored 0,0") << false << QPoint(0, 0) << true;
    QTest::newRow("stored 40,30") << false << QPoint(40, 30) << false;
    QTest::newRow("off every screen") << false << QPoint(-5000, 9000) << true;
}

void MainWindowTest::opensCentredUnlessAPositionIsStored()
{
    QFETCH(bool, noSettingsFile);
    QFETCH(QPoint, stored);
    QFETCH(bool, centred);
    MConfig &config = *MConfig::instance();
    if (noSettingsFile) {
        QFile::remove(MConfig::getConfigFile());
        MConfig::loadCommConfig();
        config.appName = QStringLiteral("Quellnet");
    } else {
        config.mainWndX = stored.x();
        config.mainWndY = stored.y();
    }

    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint centre(screen.x() + screen.width() / 2 - 322 / 2,
                        screen.y() + screen.height() / 2 - 500 / 2);
    QCOMPARE(window->pos(), centred ? centre : stored);
}

void MainWindowTest::titleBarCloseHidesToTrayThenBalloonsHalfASecondLater()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QTest::mouseClick(window->getTitleBar()->getCloseButton(), Qt::LeftButton);

    QVERIFY(!window->isVisible());
    QVERIFY(window->trayIcon()->isVisible());
    QVERIFY(!window->exitRequested());
    QVERIFY(m_engine.calls.filter(QStringLiteral("stop")).isEmpty());
    QVERIFY(m_balloons.isEmpty()); // not at once
    QElapsedTimer clock;
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(m_balloons, QStringList{"Quellnet|Program is still running"}, 3000);
    QVERIFY2(clock.elapsed() >= 400, "the balloon comes half a second later");
}

void MainWindowTest::trayShowAndWakeUpRestoreTheWindow()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->close();
    QVERIFY(window->isHidden());
    QVERIFY(window->trayIcon()->isVisible());

    QAction *showMain = window->trayMenu()->actions().value(0);
    QCOMPARE(showMain->property("id").toString(), QStringLiteral("id_show_main"));
    showMain->trigger();
    QVERIFY(window->isVisible());
    QVERIFY(!window->trayIcon()->isVisible());

    window->close();
    QVERIFY(window->isHidden());
    emit window->signalsWakeupApp();
    QVERIFY(window->isVisible());
    QVERIFY(!window->trayIcon()->isVisible());
}

void MainWindowTest::runAsTrayIconHidesAndExitStopsTheEngineForGood()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->move(55, 66);

    QAction *tray = nullptr;
    QAction *exitAction = nullptr;
    for (QAction *action : window->settingsMenu()->actions()) {
        if (action->property("id").toString() == QLatin1String("id_tray"))
            tray = action;
        if (action->property("id").toString() == QLatin1String("id_exit"))
            exitAction = action;
    }
    QVERIFY(tray && exitAction);
    tray->trigger();
    QVERIFY(window->isHidden());
    QVERIFY(window->trayIcon()->isVisible());
    QVERIFY(!window->exitRequested());

    window->slotShowMainWindow();
    m_engine.running = true;
    m_engine.calls.clear();
    const int savesBefore = m_saves;
    exitAction->trigger();

    QVERIFY(window->exitRequested());
    QVERIFY(window->isHidden());
    QVERIFY(!window->trayIcon()->isVisible());
    QCOMPARE(m_engine.calls, (QStringList{"stop", "close"}));
    QCOMPARE(m_quits, QList<int>{0});
    QCOMPARE(m_saves, savesBefore + 1);
    QCOMPARE(MConfig::instance()->mainWndX, 55);
    QCOMPARE(MConfig::instance()->mainWndY, 66);
}

void MainWindowTest::secondShowDoesNotReloadTheListOrRestartTheTimers()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    ConnectionController *controller = window->controller();
    ServerListLoader *loader = window->serverListLoader();
    QVERIFY(!controller->expiryTimer()->isActive());
    QVERIFY(!controller->reloginTimer()->isActive());
    QCOMPARE(loader->runningTasks(), 0);
    QSignalSpy shown(window.get(), &MainWindow::signalShow);

    window->show();
    QCOMPARE(loader->runningTasks(), 1);
    QVERIFY(!window->loadingPanel()->isHidden());
    QVERIFY(controller->expiryTimer()->isActive());
    QVERIFY(controller->reloginTimer()->isActive());
    // Nobody listens there: the load fails and the panel goes away.
    QTRY_COMPARE_WITH_TIMEOUT(loader->runningTasks(), 0, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(window->loadingPanel()->isHidden(), 5000);

    controller->expiryTimer()->stop();
    controller->reloginTimer()->stop();
    window->close(); // to the tray
    window->show();
    QCOMPARE(shown.count(), 2);
    QCOMPARE(loader->runningTasks(), 0);
    QVERIFY(window->loadingPanel()->isHidden());
    QVERIFY(!controller->expiryTimer()->isActive());
    QVERIFY(!controller->reloginTimer()->isActive());
}

void MainWindowTest::hiddenTrayIconSuppressesEveryBalloon()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    window->statuesChanged(QStringLiteral("CONNECTED"));
    window->statuesChanged(QStringLiteral("FAILED"));
    window->showTrayMessage(QStringLiteral("direct"));
    QVERIFY(m_balloons.isEmpty());

    window->close();
    QTRY_COMPARE_WITH_TIMEOUT(m_balloons.size(), 1, 3000); // "still running"
    window->statuesChanged(QStringLiteral("CONNECTED"));
    window->statuesChanged(QStringLiteral("DISCONNECTED"));
    QCOMPARE(m_balloons.mid(1),
             (QStringList{"Quellnet|VPN is connected", "Quellnet|VPN is disconnected"}));
}

void MainWindowTest::engineEventsReachTheWidgetsOnlyThroughQueuedSignals()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    auto *connectButton = child<QPushButton>(window.get(), "BTNConnect");
    QVERIFY(m_engine.event && m_engine.traffic);

    std::thread engineThread([this] {
        m_engine.event("RESOLVE", "");
        m_engine.event("CONNECTED", "10.8.0.6");
        m_engine.traffic(1.5f, 0.2f);
    });
    engineThread.join();
    QCOMPARE(connectButton->text(), QStringLiteral("Connect"));

    QTRY_COMPARE_WITH_TIMEOUT(window->idLabel()->text(), QStringLiteral(" Speed:1.5 MB/s"), 5000);
    QCOMPARE(connectButton->text(), QStringLiteral("Disconnect"));
    QCOMPARE(connectButton->toolTip(), QStringLiteral("Disconnect vpn server"));
    QVERIFY(connectButton->property("connected").toBool());
    QCOMPARE(window->statusLabel()->text(), QStringLiteral("VPN Connected"));
    QCOMPARE(window->statusCircle()->styleSheet(),
             QStringLiteral("border-image:url(:/wnd/circle_1.png);"));
    QCOMPARE(window->windowIcon().cacheKey(), window->trayIcon()->icon().cacheKey());
    QVERIFY(!window->windowIcon().isNull());
    const QImage connectedIcon = window->windowIcon().pixmap(32).toImage();

    // The window's own signal is queued too.
    emit window->signalStatuesChanged(QStringLiteral("FAILED"), QString());
    QCOMPARE(window->statusLabel()->text(), QStringLiteral("VPN Connected"));
    QTRY_COMPARE_WITH_TIMEOUT(window->statusLabel()->text(), QStringLiteral("Connect failed"),
                              5000);
    QCOMPARE(connectButton->text(), QStringLiteral("Connect"));
    QVERIFY(!connectButton->property("connected").toBool());
    QCOMPARE(window->idLabel()->text(), QStringLiteral("ID:0A1B2C3D4E  "));
    QVERIFY(window->windowIcon().pixmap(32).toImage() != connectedIcon);

    emit window->signalTraffic(3.0f, 0.0f);
    QTRY_COMPARE_WITH_TIMEOUT(window->idLabel()->text(), QStringLiteral(" Speed:3 MB/s"), 5000);
}

void MainWindowTest::busyStateShowsTheTurningBusyImage()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->statuesChanged(QStringLiteral("CONNECTING"));
    QVERIFY(window->statusCircle()->isHidden());
    QVERIFY(window->busyImage()->isVisible());
    QCOMPARE(child<QPushButton>(window.get(), "BTNConnect")->text(), QStringLiteral("Cancel"));
    QCOMPARE(window->statusLabel()->text(), QStringLiteral("Connecting..."));

    // Each paint turns the picture by 10 degrees.
    const float before = window->controller()->spinAngle();
    const QImage first = window->busyImage()->grab().toImage();
    QCOMPARE(window->controller()->spinAngle(), before + 10);
    for (int i = 0; i < 8; ++i)
        window->busyImage()->grab();
    const QImage later = window->busyImage()->grab().toImage();
    QVERIFY(first != later);
    // The timer keeps asking for paints on its own.
    const float now = window->controller()->spinAngle();
    QTRY_VERIFY_WITH_TIMEOUT(window->controller()->spinAngle() != now, 3000);

    window->statuesChanged(QStringLiteral("CONNECTED"));
    QVERIFY(window->busyImage()->isHidden());
    QVERIFY(window->statusCircle()->isVisible());
}

void MainWindowTest::buttonsAndLinksShowTheirPages()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    QWidget *home = window->page(MainWindow::Page::Home);
    auto click = [](QPushButton *button) {
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    };

    click(child<QPushButton>(home, "BTNBuy"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Purchase);
    click(child<QPushButton>(window->page(MainWindow::Page::Purchase), "BtnHome"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Home);
    click(child<QPushButton>(home, "BTNHelp"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Help);
    click(child<QPushButton>(window->page(MainWindow::Page::Help), "BtnHome"));
    click(child<QPushButton>(home, "BTNSelect"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Servers);
    click(child<QPushButton>(window->page(MainWindow::Page::Servers), "BtnHome"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Home);

    // Connect while logged out asks for a login, and the engine is not touched.
    click(child<QPushButton>(home, "BTNConnect"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Login);
    QCOMPARE(m_engine.calls, QStringList{"setCallbacks"});

    window->showPage(MainWindow::Page::Home);
    auto *loginLink = child<QLabel>(home, "LbLoginLink");
    QVERIFY(loginLink->text().contains(QLatin1String("href='login'")));
    QVERIFY(loginLink->text().contains(QLatin1String("Please login")));
    emit loginLink->linkActivated(QStringLiteral("login"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Login);

    QLabel *registerLink = nullptr;
    for (QLabel *label : window->page(MainWindow::Page::Login)->findChildren<QLabel *>()) {
        if (label->text().contains(QLatin1String(">Register<")))
            registerLink = label;
    }
    QVERIFY(registerLink);
    emit registerLink->linkActivated(QStringLiteral("javascript:void(0);"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Register);
    QLabel *backLink = nullptr;
    for (QLabel *label : window->page(MainWindow::Page::Register)->findChildren<QLabel *>()) {
        if (label->text().contains(QLatin1String(">Login<")))
            backLink = label;
    }
    QVERIFY(backLink);
    emit backLink->linkActivated(QStringLiteral("javascript:void(0);"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Login);

    // The login button of the home page picks the account page once logged in.
    auto *loginButton = child<QPushButton>(home, "BTNLogin");
    window->showPage(MainWindow::Page::Home);
    loginButton->click();
    QCOMPARE(window->currentPage(), MainWindow::Page::Login);
    window->controller()->setLoggedIn(true);
    loginButton->click();
    QCOMPARE(window->currentPage(), MainWindow::Page::Account);
}

void MainWindowTest::pagesFillTheirFieldsWhenTheyBecomeCurrent()
{
    MConfig &config = *MConfig::instance();
    const std::unique_ptr<MainWindow> window = makeWindow();
    const QList<QLineEdit *> login
        = window->page(MainWindow::Page::Login)->findChildren<QLineEdit *>();
    QCOMPARE(login.size(), 2);
    QVERIFY(login.at(1)->echoMode() == QLineEdit::Password);

    config.loginEmail = QStringLiteral("user@example.org");
    config.loginPassword = QStringLiteral("secret-1");
    window->showPage(MainWindow::Page::Login);
    QCOMPARE(login.at(0)->text(), QStringLiteral("user@example.org"));
    QCOMPARE(login.at(1)->text(), QStringLiteral("secret-1"));

    config.userID = QStringLiteral("FEEDC0FFEE");
    window->showPage(MainWindow::Page::Account);
    QStringList values;
    for (QLineEdit *edit : window->page(MainWindow::Page::Account)->findChildren<QLineEdit *>())
        values << edit->text();
    QVERIFY2(values.contains(QStringLiteral("FEEDC0FFEE")), qPrintable(values.join(',')));

    // The first show fills the login fields from the settings as well.
    window->showPage(MainWindow::Page::Home);
    config.loginEmail = QStringLiteral("first@example.org");
    window->show();
    QCOMPARE(login.at(0)->text(), QStringLiteral("first@example.org"));
}

void MainWindowTest::autoLoginBoxStoresTheChoice()
{
    MConfig::instance()->ckbAutoLogin = 1;
    const std::unique_ptr<MainWindow> window = makeWindow();
    auto *box = window->page(MainWindow::Page::Login)->findChild<QCheckBox *>();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Login automatically"));
    QVERIFY(box->isChecked());
    QCOMPARE(m_saves, 0); // checking it at construction saves nothing

    box->setChecked(false);
    QCOMPARE(MConfig::instance()->ckbAutoLogin, 0);
    QCOMPARE(m_saves, 1);
    box->setChecked(true);
    QCOMPARE(MConfig::instance()->ckbAutoLogin, 1);
    QCOMPARE(m_saves, 2);
}

void MainWindowTest::helpButtonsOpenTheirPagesAndRateAppDoesNothing()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->showPage(MainWindow::Page::Help);
    const QList<QPushButton *> buttons
        = window->page(MainWindow::Page::Help)
              ->findChildren<QPushButton *>(QStringLiteral("BTNFun"));
    QCOMPARE(buttons.size(), 4);

    buttons.at(0)->click(); // Rate App
    QVERIFY(m_urls.isEmpty());
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(window->currentPage(), MainWindow::Page::Help);

    buttons.at(1)->click();
    buttons.at(2)->click();
    QCOMPARE(m_urls,
             (QList<QUrl>{QUrl(QStringLiteral("https://127.3.0.1:9/support/")),
                          QUrl(QStringLiteral("https://127.3.0.1:9/helpdesk/"))}));
}

void MainWindowTest::loadedListFillsRowsAndShowsTheChosenFlag()
{
    MConfig::instance()->lastServIp = QStringLiteral("127.0.0.2");
    const std::unique_ptr<MainWindow> window = makeWindow();
    ServerListLoader *loader = window->serverListLoader();
    QSignalSpy filled(window.get(), &MainWindow::signalLoadedServerList);
    QSignalSpy finished(window->latencyTest(), &LatencyTest::signalTestSpeedFinised);

    loader->setServerList(serverListJson(3));
    QCOMPARE(filled.count(), 1);
    QCOMPARE(window->serverListWidget()->count(), 0); // applied on the next turn of the loop
    QTRY_COMPARE_WITH_TIMEOUT(window->serverListWidget()->count(), 3, 5000);

    auto *list = qobject_cast<ServerListWidget *>(window->serverListWidget());
    QVERIFY(list);
    QStringList names;
    QStringList hosts;
    for (int i = 0; i < list->count(); ++i) {
        ServerItem *row = list->rowWidget(i);
        QVERIFY(row);
        names << row->name();
        hosts << list->item(i)->data(Qt::UserRole).toString();
        QCOMPARE(list->item(i)->sizeHint().height(), 26);
    }
    QCOMPARE(names, (QStringList{"Frankfurt 1", "Tokyo 1", "Nowhere"}));
    QCOMPARE(hosts, (QStringList{"127.0.0.1", "127.0.0.2", "127.0.0.3"}));

    // The remembered server is the current one; its flag is on the home page's button.
    QCOMPARE(window->controller()->currentHost(), QStringLiteral("127.0.0.2"));
    QCOMPARE(child<QPushButton>(window.get(), "BTNSelect")->styleSheet(),
             QStringLiteral("QPushButton{border-image:url(:/flag/JP.png);}"));
    QCOMPARE(list->currentRow(), 1);
    QVERIFY(window->loadingPanel()->isHidden()); // the first fill keeps the window usable
    QCOMPARE(window->currentPage(), MainWindow::Page::Home);
    QVERIFY(m_engine.calls.filter(QStringLiteral("start")).isEmpty()); // no reconnect

    // The latency test fills every row, and the row widgets show it.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    const QRegularExpression latency(QStringLiteral("^(\\d+ ms|>1000 ms)$"));
    for (int i = 0; i < list->count(); ++i) {
        QTRY_VERIFY_WITH_TIMEOUT(latency.match(list->rowSpeed(i)).hasMatch(), 5000);
        ServerItem *row = list->rowWidget(i);
        QTRY_COMPARE_WITH_TIMEOUT(row->speed(), list->rowSpeed(i), 5000);
        QCOMPARE(row->speedLabel()->text(), list->rowSpeed(i));
    }
    QTRY_VERIFY_WITH_TIMEOUT(window->refreshButton()->isEnabled(), 5000);

    // A later fill shows the loading panel until its latency test ends.
    QList<bool> panelShownAtTest;
    connect(window.get(), &MainWindow::signalTestSpeed, this,
            [&] { panelShownAtTest << !window->loadingPanel()->isHidden(); });
    loader->setServerList(serverListJson(2));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QCOMPARE(list->count(), 2);
    QCOMPARE(panelShownAtTest, QList<bool>{true});
    // The window hides it on a queued slot after the test's own signal.
    QTRY_VERIFY_WITH_TIMEOUT(window->loadingPanel()->isHidden(), 5000);
    // The new rows got the new run's results; late results of any run before land nowhere.
    QStringList speeds;
    for (int i = 0; i < list->count(); ++i) {
        QTRY_VERIFY_WITH_TIMEOUT(latency.match(list->rowSpeed(i)).hasMatch(), 5000);
        speeds << list->rowSpeed(i);
    }
    for (quint64 key = 0; key < 100; ++key)
        emit window->latencyTest()->signalSpeed(key, QStringLiteral("999 ms"));
    QCoreApplication::processEvents();
    for (int i = 0; i < list->count(); ++i) {
        QCOMPARE(list->rowSpeed(i), speeds.at(i));
        QCOMPARE(list->rowWidget(i)->speed(), speeds.at(i));
    }
}

void MainWindowTest::emptyListDisablesConnectUntilAListArrives()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    auto *connectButton = child<QPushButton>(window.get(), "BTNConnect");
    window->serverListLoader()->setServerList(
        QStringLiteral("{\"Servers\": [], \"Other\": \"no servers today\"}"));
    QTRY_COMPARE_WITH_TIMEOUT(window->currentPage(), MainWindow::Page::Servers, 5000);
    QVERIFY(!connectButton->isEnabled());
    QVERIFY(window->refreshButton()->isEnabled());

    window->serverListLoader()->setServerList(serverListJson(1));
    QTRY_VERIFY_WITH_TIMEOUT(connectButton->isEnabled(), 5000);
    QCOMPARE(window->serverListWidget()->count(), 1);
}

void MainWindowTest::choosingARowStopsAndConnectsToTheNewServer()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->show();
    window->serverListLoader()->setServerList(serverListJson(3));
    QListWidget *list = window->serverListWidget();
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 3, 5000);
    QCOMPARE(window->controller()->currentHost(), QStringLiteral("127.0.0.1"));

    // Logged out: the choice is kept and the login page asked for.
    window->showPage(MainWindow::Page::Servers);
    emit list->itemClicked(list->item(2));
    QCOMPARE(MConfig::instance()->lastServIp, QStringLiteral("127.0.0.3"));
    QCOMPARE(window->controller()->currentHost(), QStringLiteral("127.0.0.3"));
    QCOMPARE(child<QPushButton>(window.get(), "BTNSelect")->styleSheet(),
             QStringLiteral("QPushButton{border-image:url(:/flag/US.png);}"));
    QCOMPARE(window->currentPage(), MainWindow::Page::Login);
    QVERIFY(m_engine.calls.filter(QStringLiteral("start")).isEmpty());

    // Logged in: the running tunnel stops and the new server is connected at once.
    window->controller()->setLoggedIn(true);
    window->controller()->setExpireDate(QDateTime::currentDateTime().addDays(3));
    m_engine.running = true;
    m_engine.calls.clear();
    window->showPage(MainWindow::Page::Servers);
    emit list->itemClicked(list->item(1));
    QCOMPARE(m_engine.calls.first(), QStringLiteral("stop"));
    QCOMPARE(m_engine.calls.mid(m_engine.calls.size() - 2),
             (QStringList{"setconfig(127.0.0.2,)", "start"}));
    QCOMPARE(window->currentPage(), MainWindow::Page::Home);
    QVERIFY(window->controller()->isBusy());
    // The engine's first event turns the window busy.
    m_engine.event("RESOLVE", "");
    QTRY_COMPARE_WITH_TIMEOUT(child<QPushButton>(window.get(), "BTNConnect")->text(),
                              QStringLiteral("Cancel"), 5000);
    QVERIFY(window->busyImage()->isVisible());
}

void MainWindowTest::expiredAccountBuyNowClicksTheYearOffer()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->controller()->setLoggedIn(true);
    window->controller()->setExpireDate(QDateTime::currentDateTime().addSecs(-1));
    QList<QPushButton *> offers
        = window->page(MainWindow::Page::Purchase)->findChildren<QPushButton *>();
    QPushButton *year = offers.last();
    QCOMPARE(year->text(), QStringLiteral("2 Years"));
    QSignalSpy clicked(year, &QPushButton::clicked);

    m_expiredResult = -1;
    window->slotConnectVPN();
    QCOMPARE(m_expiredDialogs, 1);
    QCOMPARE(clicked.count(), 0);
    m_expiredResult = 1;
    window->slotConnectVPN();
    QCOMPARE(m_expiredDialogs, 2);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(m_engine.calls.filter(QStringLiteral("start")).isEmpty());
}

void MainWindowTest::messagesGoThroughTheSeam()
{
    const std::unique_ptr<MainWindow> window = makeWindow();
    window->showMessage(QStringLiteral("Title"), QStringLiteral("Text"));
    QCOMPARE(m_messages, QStringList{"Title|Text"});
    emit window->serverListLoader()->signalLoadServerListError(QStringLiteral("Failed"),
                                                               QStringLiteral("Load failed"));
    QCOMPARE(m_messages.last(), QStringLiteral("Failed|Load failed"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
