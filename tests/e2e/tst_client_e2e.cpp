// The whole client inside the test network: the reference backend serves one server built
// from the harness's openvpn configuration, the window signs in from its login page, connects
// through the real engine to the real openvpn server, shows the throughput of a download
// through the tunnel, and is ready again after a disconnect.

#include "connectioncontroller.h"
#include "helperprocess.h"
#include "mainwindow.h"
#include "mconfig.h"
#include "mnetwork.h"
#include "resinit.h"
#include "serverlistloader.h"
#include "testbackend.h"
#include "vpnclientengine.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString env(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

// Downloads size bytes from the harness's HTTP server; the body bytes received, or -1.
qint64 download(const QString &host, quint16 port, qint64 size, int ms)
{
    QTcpSocket socket;
    qint64 received = 0;
    bool done = false;
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        socket.write("GET /bytes/" + QByteArray::number(size) + " HTTP/1.0\r\n\r\n");
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll().size(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { done = true; });
    QObject::connect(&socket, &QAbstractSocket::errorOccurred, [&] { done = true; });
    socket.connectToHost(host, port);
    if (!QTest::qWaitFor([&] { return done; }, ms))
        return -1;
    return received;
}

} // namespace

class ClientE2eTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void loginConnectTrafficDisconnect();

private:
    QTemporaryDir m_servers;
    TestBackend m_backend;
    HelperProcess m_helper;
};

void ClientE2eTest::initTestCase()
{
    const QString ovpn = env("QUELLNET_E2E_CLIENT_OVPN");
    if (ovpn.isEmpty())
        QSKIP("not inside the e2e network (run through e2e-net.sh)");
    QCoreApplication::setApplicationName(QStringLiteral("Quellnet"));
    quellnetInitResources();

    // One server, named by its file: country US, "Demo 1", address from its remote line.
    QVERIFY(m_servers.isValid());
    QVERIFY(QFile::copy(ovpn, m_servers.filePath(QStringLiteral("us-demo-1.ovpn"))));
    TestBackend::Options options;
    options.ovpnDir = m_servers.path();
    QVERIFY(m_backend.start(options));
    m_backend.exportClientEnvironment();
    // The tunnel runs in a helper of the test's own, inside the test namespace, whose /etc
    // (and so the resolv.conf the helper replaces) e2e-net.sh made private.
    QFile privateEtc(QStringLiteral("/etc/quellnet-e2e-private"));
    if (!privateEtc.open(QIODevice::ReadOnly)
        || privateEtc.readAll().trimmed() != env("QUELLNET_E2E_NS_CLIENT").toUtf8())
        QSKIP("/etc is not the test namespace's own (run through e2e-net.sh)");
    HelperProcess::Options helper;
    helper.dns = QStringLiteral("resolv.conf");
    helper.routeCheck = true;
    QString error;
    QVERIFY2(m_helper.start(helper, &error), qPrintable(error));
    qputenv("QUELLNET_HELPER_SOCKET", QFile::encodeName(m_helper.socketPath()));
    MNetwork::globalInit();
    QFile::remove(MConfig::getConfigFile());
    QFile::remove(MConfig::getAppDataFolder(QString()) + QStringLiteral("server_content.fg"));
    MConfig::loadCommConfig();
}

void ClientE2eTest::cleanupTestCase()
{
    MNetwork::globalClean();
    QVERIFY(m_helper.stop());
}

void ClientE2eTest::loginConnectTrafficDisconnect()
{
    QStringList messages;
    AppServices services;
    services.showMessage = [&messages](const QString &title, const QString &text, QWidget *) {
        messages << title + QLatin1Char('|') + text;
    };
    services.trayMessage = [](const QString &, const QString &) {
    };
    services.quit = [](int) {
    };
    auto window = std::make_unique<MainWindow>(services, defaultVpnEngine());
    window->show();
    const auto list = window->findChild<QListWidget *>(QStringLiteral("ServerList"));
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 20000);
    // The window's two display labels: the id (with the speed) first, the status last.
    QLabel *idLabel = window->findChildren<QLabel *>(QStringLiteral("LbDisplay")).first();
    QLabel *statusLabel = window->findChildren<QLabel *>(QStringLiteral("LbDisplay")).last();
    QCOMPARE(window->controller()->currentHost(), env("QUELLNET_E2E_SERVER_IP"));

    // Logged out, "Connect" leads to the login page.
    auto *connectButton = window->findChild<QPushButton *>(QStringLiteral("BTNConnect"));
    connectButton->click();
    QCOMPARE(window->currentPage(), MainWindow::Page::Login);
    window->findChild<QLineEdit *>(QStringLiteral("EdLoginEmail"))
        ->setText(QStringLiteral("demo@quellnet.example"));
    window->findChild<QLineEdit *>(QStringLiteral("EdLoginPassword"))
        ->setText(QStringLiteral("quellnet-demo"));
    window->findChild<QPushButton *>(QStringLiteral("BTNLoginSubmit"))->click();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    QCOMPARE(window->currentPage(), MainWindow::Page::Home);

    connectButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(statusLabel->text(), QStringLiteral("VPN Connected"), 60000);
    QCOMPARE(connectButton->text(), QStringLiteral("Disconnect"));

    // Real bytes through the tunnel show up as a rate in the id label.
    const QString tunnelServer = env("QUELLNET_E2E_TUN_SERVER_IP");
    const quint16 httpPort = quint16(env("QUELLNET_E2E_HTTP_PORT").toUInt());
    const QRegularExpression speed(QStringLiteral("Speed:([0-9.e+-]+) MB/s"));
    auto rateShown = [&] {
        const QRegularExpressionMatch match = speed.match(idLabel->text());
        return match.hasMatch() && match.captured(1).toDouble() > 0;
    };
    QElapsedTimer timer;
    timer.start();
    const qint64 size = 32 * 1024 * 1024;
    for (int i = 0; i < 10 && !rateShown() && timer.elapsed() < 40000; ++i)
        QVERIFY(download(tunnelServer, httpPort, size, 20000) >= size);
    QTRY_VERIFY2_WITH_TIMEOUT(rateShown(), qPrintable(idLabel->text()), 3000);

    connectButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(statusLabel->text(), QStringLiteral("Ready to Connect"), 20000);
    QCOMPARE(connectButton->text(), QStringLiteral("Connect"));
    QVERIFY(!window->controller()->engineRunning());
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));

    // The kill-switch menu reaches the helper at once: the block comes and goes.
    const auto tableUp = [] {
        return runCommand(QStringLiteral("nft"),
                          {QStringLiteral("list"), QStringLiteral("table"), QStringLiteral("inet"),
                           QStringLiteral("quellnet")})
            == 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(!tableUp(), 5000);
    window->slotTrayMenuClick(QStringLiteral("id_killswitch_both"), QString());
    window->slotTrayMenuClick(QStringLiteral("id_killswitch_disc"), QString());
    QTRY_VERIFY_WITH_TIMEOUT(tableUp(), 5000);
    window->slotTrayMenuClick(QStringLiteral("id_killswitch_disc"), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!tableUp(), 5000);
    window->requestExit();
}

QTEST_MAIN(ClientE2eTest)
#include "tst_client_e2e.moc"
