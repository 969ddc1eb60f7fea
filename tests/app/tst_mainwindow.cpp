// The window as the wiring of its parts, on the offscreen platform against a real reference
// backend on loopback and a recording engine: first show loads the list and a row connects;
// sign-in and logout reach the pages; engine events are queued; close hides to the tray and
// the menus dispatch; server data stays text.

#include "accountsession.h"
#include "autostart.h"
#include "connectioncontroller.h"
#include "fakeengine.h"
#include "mainwindow.h"
#include "mconfig.h"
#include "mdeploy.h"
#include "menumodel.h"
#include "mnetwork.h"
#include "pages/page.h"
#include "resinit.h"
#include "serveritem.h"
#include "serverlistcontroller.h"
#include "serverlistloader.h"
#include "startup.h"
#include "testbackend.h"
#include "traycontroller.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTranslator>
#include <QtTest>

#include <memory>

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { m_window.reset(); }
    void cleanupTestCase() { MNetwork::globalClean(); }

    void firstShowLoadsTheListAndARowConnects();
    void signInAndLogoutReachThePages();
    void engineEventsAreAppliedOnlyFromTheEventLoop();
    void closeHidesToTheTrayAndExitStopsForGood();
    void menuEntriesDoWhatTheySay_data();
    void menuEntriesDoWhatTheySay();
    void killSwitchAndLanguageMarksFollowTheSettings();
    void startupBoxWritesDisablesAndReadsTheAutostartEntry();
    void languagesTranslateTheWindow_data();
    void languagesTranslateTheWindow();
    void serverDataIsShownAsText();

private:
    void makeWindow();
    template<typename T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }

    TestBackend m_backend;
    FakeEngine m_engine;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_messages;
    QStringList m_trayMessages;
    QList<QUrl> m_urls;
    QList<int> m_quits;
    int m_abouts = 0;
};

void MainWindowTest::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
    quellnetInitResources();
    QVERIFY(m_backend.start());
    m_backend.exportClientEnvironment();
    MNetwork::globalInit();
}

void MainWindowTest::init()
{
    QFile::remove(MConfig::getConfigFile());
    MConfig::loadCommConfig();
    m_engine = FakeEngine();
    m_messages.clear();
    m_trayMessages.clear();
    m_urls.clear();
    m_quits.clear();
    m_abouts = 0;
    makeWindow();
}

void MainWindowTest::makeWindow()
{
    AppServices services;
    services.showMessage = [this](const QString &title, const QString &text, QWidget *) {
        m_messages << title + QLatin1Char('|') + text;
    };
    services.trayMessage = [this](const QString &, const QString &text) {
        m_trayMessages << text;
    };
    services.openUrl = [this](const QUrl &url) {
        m_urls << url;
    };
    services.expiredDialog = [](QWidget *) {
        return 1; // "Buy Now"
    };
    services.quit = [this](int code) {
        m_quits << code;
    };
    services.aboutDialog = [this](QWidget *) {
        ++m_abouts;
    };
    m_window.reset();
    m_window = std::make_unique<MainWindow>(services, &m_engine);
}

void MainWindowTest::firstShowLoadsTheListAndARowConnects()
{
    m_window->show();
    ServerListWidget *list = child<ServerListWidget>("ServerList");
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 3, 20000);
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
    // With nothing remembered, the first server is the current one, its flag on the button.
    const ServerInfoPtr first = m_window->serverList()->loader()->serverList().first();
    QCOMPARE(m_window->controller()->currentHost(), first->host);
    auto *select = child<QPushButton>("BTNSelect");
    QVERIFY(select->styleSheet().contains(flagCode(first->country)));
    // The latency run ends and gives the list back.
    QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>("BTNRefresh")->isEnabled(), 10000);

    // Signed out, a row asks for the login page; signed in, it connects with its own config.
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->rowWidget(i)->name() == QLatin1String("New York"))
            row = i;
    }
    QVERIFY(row >= 0);
    emit list->itemClicked(list->item(row));
    QCOMPARE(m_window->currentPage(), MainWindow::Page::Login);
    QVERIFY(!m_engine.calls.contains(QStringLiteral("start")));
    m_window->controller()->setLoggedIn(true);
    m_window->controller()->setExpireDate(QDateTime::currentDateTime().addDays(1));
    emit list->itemClicked(list->item(row));
    QCOMPARE(m_window->currentPage(), MainWindow::Page::Home);
    QCOMPARE(m_engine.calls.last(), QStringLiteral("start"));
    const QString setconfig = m_engine.calls.at(m_engine.calls.size() - 2);
    QVERIFY2(setconfig.startsWith(QLatin1String("setconfig(127.66.0.2,"))
                 && setconfig.contains(QLatin1String("remote 127.66.0.2 443")),
             qPrintable(setconfig));
    QCOMPARE(MConfig::instance()->lastServIp, QStringLiteral("127.66.0.2"));
    QVERIFY(select->styleSheet().contains(QLatin1String(":/flag/US.png")));
}

void MainWindowTest::signInAndLogoutReachThePages()
{
    // The demo price list captions the offers; an offer opens the fixed order page.
    auto *offer = child<QPushButton>("BTNOffer2");
    QTRY_COMPARE_WITH_TIMEOUT(offer->text(), QStringLiteral("Quarterly $24.99"), 5000);
    offer->click();
    QCOMPARE(m_urls,
             QList<QUrl>{QUrl(QStringLiteral("https://%1/order.html").arg(Deploy::webHost()))});

    // A refused field shows no request and no page change.
    m_window->showPage(MainWindow::Page::Login);
    child<QPushButton>("BTNLoginSubmit")->click();
    QCOMPARE(m_window->currentPage(), MainWindow::Page::Login);

    child<QLineEdit>("EdLoginEmail")->setText(QStringLiteral("demo@quellnet.example"));
    child<QLineEdit>("EdLoginPassword")->setText(QStringLiteral("quellnet-demo"));
    child<QPushButton>("BTNLoginSubmit")->click();
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
    QCOMPARE(m_window->currentPage(), MainWindow::Page::Home);
    QVERIFY(m_window->controller()->loggedIn());
    const AccountInfo &info = m_window->account()->info();
    QCOMPARE(m_window->controller()->expireDate(), info.expireDate);
    QVERIFY(child<QLabel>("LbLoginLink")->text().contains(QLatin1String("demo@quellnet.example")));
    QVERIFY(child<QLabel>("LbAccountLine")
                ->text()
                .endsWith(info.expireDate.toString(QStringLiteral("yyyy-MM-dd"))));
    QCOMPARE(child<QLineEdit>("EdAccEmail")->text(), info.email);
    QCOMPARE(child<QLineEdit>("EdAccMachineId")->text(), MConfig::getUserId());

    // The account button goes to the account page now; an expired account's "Buy Now"
    // opens the order page instead of connecting.
    child<QPushButton>("BTNLogin")->click();
    QCOMPARE(m_window->currentPage(), MainWindow::Page::Account);
    m_window->controller()->setExpireDate(QDateTime::currentDateTime().addSecs(-1));
    m_urls.clear();
    child<QPushButton>("BTNConnect")->click();
    QCOMPARE(m_urls.size(), 1);
    QVERIFY(!m_engine.calls.contains(QStringLiteral("start")));

    child<QPushButton>("BTNLogout")->click();
    QCOMPARE(m_window->currentPage(), MainWindow::Page::Login);
    QVERIFY(!m_window->controller()->loggedIn());
    QCOMPARE(m_engine.calls.count(QStringLiteral("stop")), 1);
    QVERIFY(child<QLabel>("LbLoginLink")->text().contains(QLatin1String("Please login")));
    QVERIFY(child<QLabel>("LbAccountLine")->text().isEmpty());
}

void MainWindowTest::engineEventsAreAppliedOnlyFromTheEventLoop()
{
    QLabel *status = m_window->findChildren<QLabel *>(QStringLiteral("LbDisplay")).last();
    emit m_window->signalStatuesChanged(QStringLiteral("CONNECTED"), QString());
    QCOMPARE(status->text(), QStringLiteral("Ready to Connect"));
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("VPN Connected"), 2000);
    QCOMPARE(child<QPushButton>("BTNConnect")->text(), QStringLiteral("Disconnect"));
    emit m_window->signalTraffic(1.5f, 0.5f);
    QLabel *id = m_window->findChildren<QLabel *>(QStringLiteral("LbDisplay")).first();
    QTRY_COMPARE_WITH_TIMEOUT(id->text(), QStringLiteral(" Speed:1.5 MB/s"), 2000);
    // Balloons only while the tray icon is shown.
    QVERIFY(m_trayMessages.isEmpty());
}

void MainWindowTest::closeHidesToTheTrayAndExitStopsForGood()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_window->tray()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(m_trayMessages, QStringList{"Program is still running"}, 3000);
    emit m_window->signalStatuesChanged(QStringLiteral("FAILED"), QString());
    QTRY_COMPARE_WITH_TIMEOUT(m_trayMessages.size(), 2, 2000);

    // The tray's "Show Main Window" restores; the settings menu's "Exit" ends for good.
    m_window->slotTrayMenuClick(QStringLiteral("id_show_main"), QString());
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->tray()->isVisible());
    QAction *exit = nullptr;
    for (QAction *action : m_window->settingsMenu()->actions()) {
        if (action->property("id").toString() == QLatin1String("id_exit"))
            exit = action;
    }
    QVERIFY(exit);
    exit->trigger();
    QVERIFY(m_window->exitRequested());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_engine.calls.mid(m_engine.calls.size() - 2), (QStringList{"stop", "close"}));
    QCOMPARE(m_quits, QList<int>{0});
}

void MainWindowTest::menuEntriesDoWhatTheySay_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("effect");
    const QString web = Deploy::webUrl();
    QTest::newRow("ip checker") << "id_check_ip"
                                << "url " + web + "what_is_my_ip/";
    QTest::newRow("dns leak") << "id_dns_leak"
                              << "url " + web + "dns_leak_test/";
    QTest::newRow("helpdesk") << "id_help_desk"
                              << "url https://127.0.0.1/helpdesk/";
    QTest::newRow("online help") << "id_online"
                                 << "url https://127.0.0.1/help/";
    QTest::newRow("about") << "id_about"
                           << "about";
    QTest::newRow("fix tap") << "id_fix_tap"
                             << "message TAP Installation|The network has been repaired.";
    QTest::newRow("unknown") << "id_nothing"
                             << "";
}

void MainWindowTest::menuEntriesDoWhatTheySay()
{
    QFETCH(QString, id);
    QFETCH(QString, effect);
    MConfig::instance()->helpDeskUrl = QStringLiteral("https://127.0.0.1/helpdesk/");
    MConfig::instance()->helpUrl = QStringLiteral("https://127.0.0.1/help/");
    QStringList effects;
    m_window->slotTrayMenuClick(id, QString());
    QTRY_VERIFY_WITH_TIMEOUT(m_urls.size() + m_messages.size() + m_abouts > 0 || effect.isEmpty(),
                             2000);
    for (const QUrl &url : qAsConst(m_urls))
        effects << QStringLiteral("url ") + url.toString();
    for (const QString &message : qAsConst(m_messages))
        effects << QStringLiteral("message ") + message;
    if (m_abouts > 0)
        effects << QStringLiteral("about");
    QCOMPARE(effects.join(QLatin1Char(';')), effect);
}

void MainWindowTest::killSwitchAndLanguageMarksFollowTheSettings()
{
    MenuModel *menu = m_window->settingsModel();
    m_window->checkMenu();
    QVERIFY(menu->isChecked(QStringLiteral("id_killswitch_off")));
    QVERIFY(menu->isChecked(QStringLiteral("id_killswitch_local")));
    QVERIFY(!menu->isChecked(QStringLiteral("id_killswitch_disc")));
    QVERIFY(menu->isChecked(QStringLiteral("en.qm")));
    // Clicks on the menu's own actions: the mark is what the setting became.
    const auto action = [this](const QString &key) -> QAction * {
        for (QAction *a : m_window->settingsMenu()->findChildren<QAction *>()) {
            if (a->property("id").toString() == key || a->property("id_lang").toString() == key)
                return a;
        }
        return nullptr;
    };
    for (const char *id : {"id_killswitch_both", "id_killswitch_disc", "id_killswitch_local"})
        action(QLatin1String(id))->trigger();
    QVERIFY(action(QStringLiteral("id_killswitch_disc"))->isChecked());
    QVERIFY(!action(QStringLiteral("id_killswitch_local"))->isChecked());
    QVERIFY(menu->isChecked(QStringLiteral("id_killswitch_both")));
    QVERIFY(!menu->isChecked(QStringLiteral("id_killswitch_off")));
    QVERIFY(menu->isChecked(QStringLiteral("id_killswitch_disc")));
    QVERIFY(!menu->isChecked(QStringLiteral("id_killswitch_local")));
    // The policy went to the engine without a connect.
    QCOMPARE(m_engine.calls.last(), QStringLiteral("setKillLocal(0)"));

    // Another language: one message, stored; the same one again: nothing.
    m_window->slotTrayMenuClick(QString(), QStringLiteral("de.qm"));
    m_window->slotTrayMenuClick(QString(), QStringLiteral("de.qm"));
    QCOMPARE(m_messages,
             QStringList{QStringLiteral("Change Language|You changed the language, it "
                                        "will take full effect after restart.")});
    QCOMPARE(MConfig::instance()->lang, QStringLiteral("de.qm"));
    QVERIFY(menu->isChecked(QStringLiteral("de.qm")) && !menu->isChecked(QStringLiteral("en.qm")));
    QVERIFY(action(QStringLiteral("de.qm"))->isChecked());
}

void MainWindowTest::startupBoxWritesDisablesAndReadsTheAutostartEntry()
{
    const QString entry = launchAtLoginFile();
    QVERIFY(entry.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    QFile::remove(entry);
    auto *box = child<QCheckBox>("CkbAutoRun");
    box->setChecked(true);
    QVERIFY(launchAtLoginEnabled());
    QByteArray output;
    QCOMPARE(runCommand(QStringLiteral("desktop-file-validate"), {entry}, &output), 0);
    QVERIFY2(output.trimmed().isEmpty(), output.constData());
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains(QCoreApplication::applicationFilePath().toUtf8()));
    file.close();

    // Unchecked: the entry stays, disabled; a new window shows the box as stored.
    box->setChecked(false);
    QVERIFY(QFile::exists(entry));
    QVERIFY(!launchAtLoginEnabled());
    QCOMPARE(runCommand(QStringLiteral("desktop-file-validate"), {entry}), 0);
    for (const bool on : {true, false}) {
        QVERIFY(on ? enableLaunchAtLogin(QCoreApplication::applicationFilePath())
                   : disableLaunchAtLogin());
        makeWindow();
        m_window->show();
        QCOMPARE(child<QCheckBox>("CkbAutoRun")->isChecked(), on);
    }
    // An entry naming a program that is gone does not count.
    QVERIFY(enableLaunchAtLogin(QStringLiteral("/nonexistent/quellnet")));
    QVERIFY(!launchAtLoginEnabled());
}

void MainWindowTest::languagesTranslateTheWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("login");
    QTest::newRow("German") << "de.qm"
                            << "Anmelden";
    QTest::newRow("Japanese") << "ja.qm"
                              << "ログイン";
    QTest::newRow("Hebrew") << "he.qm"
                            << "התחברות";
}

void MainWindowTest::languagesTranslateTheWindow()
{
    QFETCH(QString, file);
    QFETCH(QString, login);
    installTranslation(*qApp, file);
    makeWindow();
    const QString shown = child<QPushButton>("BTNLoginSubmit")->text();
    const bool rightToLeft = qApp->layoutDirection() == Qt::RightToLeft;
    for (QTranslator *translator : qApp->findChildren<QTranslator *>())
        qApp->removeTranslator(translator);
    qApp->setLayoutDirection(Qt::LeftToRight);
    QCOMPARE(shown, login);
    QCOMPARE(rightToLeft, file == QLatin1String("he.qm"));
}

void MainWindowTest::serverDataIsShownAsText()
{
    // Text from the backend or a server list never becomes markup.
    const QString link = linkText(QStringLiteral("<img src=x>&a"), QStringLiteral("user_info"));
    QVERIFY2(link.contains(QLatin1String("&lt;img src=x&gt;&amp;a")), qPrintable(link));
    QCOMPARE(child<QLabel>("LbServerName")->textFormat(), Qt::PlainText);
    ServerItem row(QPixmap(), QStringLiteral("<b>name</b>"), QString());
    QCOMPARE(row.nameLabel()->textFormat(), Qt::PlainText);
    emit m_window->serverList()->loader()->signalLoadServerListError(
        QStringLiteral("Failed"), QStringLiteral("Load Server List Failed,<img>"));
    QTRY_COMPARE_WITH_TIMEOUT(m_messages.size(), 1, 2000);
    QVERIFY2(m_messages.first().contains(QLatin1String("&lt;img&gt;")),
             qPrintable(m_messages.first()));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
