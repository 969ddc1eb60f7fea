// The main window against a real reference backend on loopback: the first show loads the
// server list over HTTPS, the rows and the chosen flag appear, and picking a row hands the
// engine that server's address and its decrypted configuration.

#include "connectioncontroller.h"
#include "mainwindow.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "resinit.h"
#include "serveritem.h"
#include "serverlistloader.h"
#include "testbackend.h"
#include "vpnengine.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

class RecordingEngine : public VpnEngine
{
public:
    void setCallbacks(EventCallback, LogCallback, TrafficCallback) override { }
    void setKillSwith(int) override { }
    void setKillDisconnect(bool) override { }
    void setKillLocal(bool) override { }
    void setconfig(const std::string &server, const std::string &config) override
    {
        this->server = QString::fromStdString(server);
        this->config = QString::fromStdString(config);
    }
    int start() override
    {
        ++starts;
        return 0;
    }
    int stop() override { return 0; }
    bool isStart() override { return false; }
    void close() override { }

    QString server;
    QString config;
    int starts = 0;
};

} // namespace

class MainWindowServersTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstShowLoadsTheListAndARowConnectsWithItsConfiguration();

private:
    TestBackend m_backend;
};

void MainWindowServersTest::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
    quellnetInitResources();
    QVERIFY(m_backend.start());
    m_backend.exportClientEnvironment();
    MNetwork::globalInit();
    QFile::remove(MConfig::getConfigFile());
    MConfig::loadCommConfig();
}

void MainWindowServersTest::cleanupTestCase()
{
    MNetwork::globalClean();
}

void MainWindowServersTest::firstShowLoadsTheListAndARowConnectsWithItsConfiguration()
{
    RecordingEngine engine;
    QStringList messages;
    MainWindowServices services;
    services.engine = &engine;
    services.showMessage = [&messages](const QString &title, const QString &text, QWidget *) {
        messages << title + QLatin1Char('|') + text;
    };
    services.trayMessage = [](const QString &, const QString &) {
    };
    services.saveSettings = [] {
    };
    auto window = std::make_unique<MainWindow>(nullptr, nullptr, services);
    QVERIFY(m_backend.resetRequests());

    window->show();
    auto *list = qobject_cast<ServerListWidget *>(window->serverListWidget());
    QVERIFY(list);
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 3, 20000);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));

    QStringList paths;
    for (const TestBackend::Request &request : m_backend.requests())
        paths << request.path;
    QVERIFY2(paths.contains(QStringLiteral("/servers")), qPrintable(paths.join(',')));

    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
        ServerItem *row = list->rowWidget(i);
        QVERIFY(row);
        names << row->name();
        QVERIFY(!row->flagLabel()->pixmap(Qt::ReturnByValue).isNull());
    }
    QVERIFY2(names.contains(QStringLiteral("Tokyo 1")), qPrintable(names.join(',')));
    QVERIFY2(names.contains(QStringLiteral("New York")), qPrintable(names.join(',')));

    // With nothing remembered, the first server is the current one, flag on the button.
    const ServerInfoPtr first = window->serverListLoader()->serverList().first();
    QCOMPARE(window->controller()->currentHost(), first->host);
    QCOMPARE(MConfig::instance()->lastServIp, first->host);
    auto *select = window->findChild<QPushButton *>(QStringLiteral("BTNSelect"));
    QCOMPARE(select->styleSheet(),
             QStringLiteral("QPushButton{border-image:url(:/flag/%1.png);}")
                 .arg(flagCode(first->country)));

    // Logged in, a click on the New York row connects there with its own configuration.
    window->controller()->setLoggedIn(true);
    window->controller()->setExpireDate(QDateTime::currentDateTime().addDays(1));
    const int row = names.indexOf(QStringLiteral("New York"));
    emit list->itemClicked(list->item(row));
    QCOMPARE(engine.starts, 1);
    QCOMPARE(engine.server, QStringLiteral("127.66.0.2"));
    QVERIFY2(engine.config.contains(QLatin1String("remote 127.66.0.2 443")),
             qPrintable(engine.config));
    QVERIFY(engine.config.contains(QLatin1String("proto tcp-client")));
    QCOMPARE(MConfig::instance()->lastServIp, QStringLiteral("127.66.0.2"));
    QCOMPARE(select->styleSheet(), QStringLiteral("QPushButton{border-image:url(:/flag/US.png);}"));
}

QTEST_MAIN(MainWindowServersTest)
#include "tst_mainwindow_servers.moc"
