// The connection controller without widgets: the status table in both states of the
// stop-pending flag, the failure counter, throughput, the expiry watchdog, the expired
// account, the engine call order, and engine events raised on other threads.

#include "connectioncontroller.h"
#include "mconfig.h"
#include "vpnengine.h"

#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const QString kIdle = QStringLiteral("border-image:url(:/wnd/circle_0.png);");
const QString kConnected = QStringLiteral("border-image:url(:/wnd/circle_1.png);");
const QString kBusy = QStringLiteral("border-image:url(:/wnd/circle_3.png);");

// Records every call in order; start() returns startResult and makes isStart() true.
class RecordingEngine : public VpnEngine
{
public:
    void setCallbacks(EventCallback event, LogCallback log, TrafficCallback traffic) override
    {
        calls << QStringLiteral("setCallbacks");
        this->event = event;
        this->log = log;
        this->traffic = traffic;
    }
    void setKillSwith(int level) override
    {
        calls << QStringLiteral("setKillSwith(%1)").arg(level);
    }
    void setKillDisconnect(bool keep) override
    {
        calls << QStringLiteral("setKillDisconnect(%1)").arg(keep);
    }
    void setKillLocal(bool allow) override
    {
        calls << QStringLiteral("setKillLocal(%1)").arg(allow);
    }
    void setconfig(const std::string &server, const std::string &config) override
    {
        calls << QStringLiteral("setconfig(%1,%2)")
                     .arg(QString::fromStdString(server), QString::fromStdString(config));
    }
    int start() override
    {
        calls << QStringLiteral("start");
        running = startResult == 0;
        return startResult;
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
    int startResult = 0;
    bool running = false;
    EventCallback event = nullptr;
    LogCallback log = nullptr;
    TrafficCallback traffic = nullptr;
};

QStringList *s_logLines = nullptr;

void captureMessages(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (s_logLines)
        *s_logLines << message;
}

} // namespace

class ConnectionControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void statusTableSetsTheWholeView_data();
    void statusTableSetsTheWholeView();
    void unknownStatusShowsItsInfoAndGoesBusy();
    void terminalStatusWhileStopPendingStopsAndEndsIdle_data();
    void terminalStatusWhileStopPendingStopsAndEndsIdle();
    void progressStatusWhileStopPendingChangesOnlyTheLabel_data();
    void progressStatusWhileStopPendingChangesOnlyTheLabel();
    void trayBalloonsFollowTheTunnel();
    void failuresAreCountedUpToThreeAndOnlyCountedOnesSave();
    void throughputShowsTheIncomingSpeed();

    void connectSetsKillSwitchConfigThenStarts_data();
    void connectSetsKillSwitchConfigThenStarts();
    void failedStartReturnsToIdleWithoutSpinning();
    void connectButtonAsksForLoginWhenLoggedOutAndTogglesOtherwise();
    void expiredAccountOpensTheExpiredDialogInsteadOfConnecting();
    void expiryWhileConnectedStopsWithinOneWatchdogTick();
    void expiryWatchdogLeavesAValidAccountConnected();
    void serverChoiceReconnectsOnlyWhenAsked();
    void busyImageTurnsTenDegreesPerPaintWhileBusy();
    void accountTimersHaveTheirIntervalsAndReloginFires();
    void shutdownStopsThenClosesTheEngine();

    void engineEventsFromOtherThreadsArriveInOrderOnTheGuiThread();
    void engineLogLinesAreLoggedWithTheVpnPrefix();

private:
    ConnectionController::Services services();

    QDateTime m_now;
    int m_saves = 0;
    int m_dialogs = 0;
    int m_dialogResult = -1;
    QStringList m_events;
};

ConnectionController::Services ConnectionControllerTest::services()
{
    ConnectionController::Services s;
    s.now = [this] {
        return m_now;
    };
    s.saveSettings = [this] {
        ++m_saves;
    };
    s.expiredDialog = [this] {
        ++m_dialogs;
        return m_dialogResult;
    };
    s.sendEvent
        = [this](const QString &category, const QString &action, const QString &label, int value) {
              m_events << QStringLiteral("%1|%2|%3|%4").arg(category, action, label).arg(value);
          };
    return s;
}

void ConnectionControllerTest::init()
{
    m_now = QDateTime(QDate(2030, 6, 1), QTime(12, 0));
    m_saves = 0;
    m_dialogs = 0;
    m_dialogResult = -1;
    m_events.clear();
    MConfig &config = *MConfig::instance();
    config.userID = QStringLiteral("A1B2C3D4E5");
    config.errorCount = 0;
    config.installedTap = QStringLiteral("installed");
    config.killSwitch = QStringLiteral("id_killswitch_off");
    config.killSwithDisc = 0;
    config.killSwithAllLocal = 1;
}

void ConnectionControllerTest::statusTableSetsTheWholeView_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("circle");
    QTest::addColumn<bool>("busy");

    QTest::newRow("CONNECTED") << "CONNECTED"
                               << "Disconnect"
                               << "Disconnect vpn server"
                               << "VPN Connected" << kConnected << false;
    QTest::newRow("WAIT") << "WAIT"
                          << "Connect"
                          << "Connect vpn server"
                          << "Ready to Connect" << kIdle << false;
    QTest::newRow("DISCONNECTED") << "DISCONNECTED"
                                  << "Connect"
                                  << "Connect vpn server"
                                  << "Ready to Connect" << kIdle << false;
    QTest::newRow("FAILED") << "FAILED"
                            << "Connect"
                            << "Connect vpn server"
                            << "Connect failed" << kIdle << false;
    QTest::newRow("INSTALL") << "INSTALL"
                             << "Cancel"
                             << "Cancel connect"
                             << "Install TAP..." << kBusy << true;
    QTest::newRow("CONNECTING") << "CONNECTING"
                                << "Cancel"
                                << "Cancel connect"
                                << "Connecting..." << kBusy << true;
    QTest::newRow("ASSIGN_IP") << "ASSIGN_IP"
                               << "Cancel"
                               << "Cancel connect"
                               << "Assign IP..." << kBusy << true;
    QTest::newRow("GET_CONFIG") << "GET_CONFIG"
                                << "Cancel"
                                << "Cancel connect"
                                << "Get Configuration..." << kBusy << true;
    QTest::newRow("RESOLVE") << "RESOLVE"
                             << "Cancel"
                             << "Cancel connect"
                             << "Resolving..." << kBusy << true;
}

void ConnectionControllerTest::statusTableSetsTheWholeView()
{
    QFETCH(QString, status);
    QFETCH(QString, button);
    QFETCH(QString, tip);
    QFETCH(QString, label);
    QFETCH(QString, circle);
    QFETCH(bool, busy);

    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    // Start from the other side of the table so that every field has to change.
    controller.statuesChanged(busy ? QStringLiteral("CONNECTED") : QStringLiteral("RESOLVE"));
    QSignalSpy changed(&controller, &ConnectionController::viewChanged);

    controller.statuesChanged(status, QStringLiteral("ignored info"));

    QCOMPARE(changed.count(), 1);
    const ConnectionView &view = controller.view();
    QCOMPARE(controller.currentStatus(), status);
    QCOMPARE(view.buttonText, button);
    QCOMPARE(view.buttonToolTip, tip);
    QCOMPARE(view.statusText, label);
    QCOMPARE(view.circleStyle, circle);
    QCOMPARE(controller.isBusy(), busy);
    QCOMPARE(view.busyImageShown, busy);
    QCOMPARE(controller.spinTimer()->isActive(), busy);
    QCOMPARE(view.connected, status == QLatin1String("CONNECTED"));
    QVERIFY(!controller.stopPending());
}

void ConnectionControllerTest::unknownStatusShowsItsInfoAndGoesBusy()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.statuesChanged(QStringLiteral("TCP_CONNECT"), QStringLiteral("Opening TCP link"));

    QCOMPARE(controller.currentStatus(), QStringLiteral("TCP_CONNECT"));
    QCOMPARE(controller.view().statusText, QStringLiteral("Opening TCP link"));
    QCOMPARE(controller.view().buttonText, QStringLiteral("Cancel"));
    QCOMPARE(controller.view().circleStyle, kBusy);
    QVERIFY(controller.isBusy());
    QVERIFY(controller.view().busyImageShown);
}

void ConnectionControllerTest::terminalStatusWhileStopPendingStopsAndEndsIdle_data()
{
    QTest::addColumn<QString>("status");
    for (const char *status : {"CONNECTED", "WAIT", "DISCONNECTED", "FAILED"})
        QTest::newRow(status) << QString::fromLatin1(status);
}

void ConnectionControllerTest::terminalStatusWhileStopPendingStopsAndEndsIdle()
{
    QFETCH(QString, status);
    RecordingEngine engine;
    engine.running = true;
    ConnectionController controller(&engine, services());
    controller.statuesChanged(QStringLiteral("CONNECTING"));
    controller.setStopPending(true);
    QSignalSpy balloons(&controller, &ConnectionController::trayBalloon);

    controller.statuesChanged(status, QString());

    QVERIFY(!controller.stopPending());
    QCOMPARE(engine.calls, QStringList{QStringLiteral("stop")});
    QVERIFY(!engine.running);
    // The stop injects "WAIT", which is handled normally.
    QCOMPARE(controller.currentStatus(), QStringLiteral("WAIT"));
    QCOMPARE(controller.view().statusText, QStringLiteral("Ready to Connect"));
    QCOMPARE(controller.view().buttonText, QStringLiteral("Connect"));
    QCOMPARE(controller.view().circleStyle, kIdle);
    QVERIFY(!controller.isBusy());
    QVERIFY(!controller.view().busyImageShown);
    QVERIFY(!controller.spinTimer()->isActive());
    // Nothing else of the original row happened: no "connected"/"failed" balloon, no count.
    QCOMPARE(balloons.count(), 1);
    QCOMPARE(balloons.at(0).at(0).toString(), QStringLiteral("VPN is disconnected"));
    QCOMPARE(MConfig::instance()->errorCount, 0);
    QCOMPARE(m_saves, 0);
}

void ConnectionControllerTest::progressStatusWhileStopPendingChangesOnlyTheLabel_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("label");
    QTest::newRow("INSTALL") << "INSTALL"
                             << "Install TAP...";
    QTest::newRow("CONNECTING") << "CONNECTING"
                                << "Connecting...";
    QTest::newRow("ASSIGN_IP") << "ASSIGN_IP"
                               << "Assign IP...";
    QTest::newRow("GET_CONFIG") << "GET_CONFIG"
                                << "Get Configuration...";
    QTest::newRow("RESOLVE") << "RESOLVE"
                             << "Resolving...";
    QTest::newRow("other") << "RECONNECTING"
                           << "the info";
}

void ConnectionControllerTest::progressStatusWhileStopPendingChangesOnlyTheLabel()
{
    QFETCH(QString, status);
    QFETCH(QString, label);
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.statuesChanged(QStringLiteral("FAILED"));
    controller.setStopPending(true);
    const ConnectionView before = controller.view();

    controller.statuesChanged(status, QStringLiteral("the info"));

    const ConnectionView &view = controller.view();
    QCOMPARE(view.statusText, label);
    QCOMPARE(view.buttonText, before.buttonText);
    QCOMPARE(view.buttonToolTip, before.buttonToolTip);
    QCOMPARE(view.circleStyle, before.circleStyle);
    QCOMPARE(view.busyImageShown, before.busyImageShown);
    QVERIFY(!controller.isBusy());
    QVERIFY(controller.stopPending());
    QVERIFY(engine.calls.isEmpty());
}

void ConnectionControllerTest::trayBalloonsFollowTheTunnel()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    QSignalSpy balloons(&controller, &ConnectionController::trayBalloon);

    for (const char *status : {"RESOLVE", "CONNECTED", "DISCONNECTED", "CONNECTING", "FAILED"})
        controller.statuesChanged(QString::fromLatin1(status));

    QStringList texts;
    for (const QList<QVariant> &args : balloons)
        texts << args.at(0).toString();
    QCOMPARE(texts, (QStringList{"VPN is connected", "VPN is disconnected", "VPN connect failed"}));
}

void ConnectionControllerTest::failuresAreCountedUpToThreeAndOnlyCountedOnesSave()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    MConfig &config = *MConfig::instance();

    for (int i = 1; i <= 3; ++i) {
        config.installedTap = QStringLiteral("installed");
        controller.statuesChanged(QStringLiteral("FAILED"));
        QCOMPARE(config.errorCount, i);
        QVERIFY(config.installedTap.isEmpty());
        QCOMPARE(m_saves, i);
        QCOMPARE(controller.view().idText, QStringLiteral("ID:A1B2C3D4E5  "));
    }

    config.installedTap = QStringLiteral("installed");
    controller.statuesChanged(QStringLiteral("FAILED"));
    controller.statuesChanged(QStringLiteral("FAILED"));
    QCOMPARE(config.errorCount, 3);
    QCOMPARE(config.installedTap, QStringLiteral("installed"));
    QCOMPARE(m_saves, 3);
    QCOMPARE(controller.view().statusText, QStringLiteral("Connect failed"));
}

void ConnectionControllerTest::throughputShowsTheIncomingSpeed()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.statuesChanged(QStringLiteral("CONNECTED"));
    QCOMPARE(controller.view().idText, QStringLiteral("ID:A1B2C3D4E5  "));
    QSignalSpy changed(&controller, &ConnectionController::viewChanged);

    controller.slotTraffic(1.5f, 0.2f);
    QCOMPARE(controller.view().idText, QStringLiteral(" Speed:1.5 MB/s"));
    QCOMPARE(changed.count(), 1);

    controller.slotTraffic(0.2f, 7.0f);
    QCOMPARE(controller.view().idText, QStringLiteral(" Speed:0.2 MB/s"));
    controller.slotTraffic(12.25f, 0.0f);
    QCOMPARE(controller.view().idText, QStringLiteral(" Speed:12.25 MB/s"));

    // Back to idle, the id returns.
    controller.statuesChanged(QStringLiteral("WAIT"));
    QCOMPARE(controller.view().idText, QStringLiteral("ID:A1B2C3D4E5  "));
}

void ConnectionControllerTest::connectSetsKillSwitchConfigThenStarts_data()
{
    QTest::addColumn<QString>("killSwitch");
    QTest::addColumn<int>("disc");
    QTest::addColumn<int>("local");
    QTest::addColumn<QStringList>("killCalls");

    QTest::newRow("defaults") << "id_killswitch_off" << 0 << 1
                              << QStringList{"setKillSwith(0)", "setKillDisconnect(0)",
                                             "setKillLocal(1)"};
    QTest::newRow("on, block, no local")
        << "id_killswitch_both" << 1 << -1
        << QStringList{"setKillSwith(3)", "setKillDisconnect(1)", "setKillLocal(0)"};
    QTest::newRow("unknown mode counts as on, local 0 allowed")
        << "whatever" << 2 << 0
        << QStringList{"setKillSwith(3)", "setKillDisconnect(0)", "setKillLocal(1)"};
}

void ConnectionControllerTest::connectSetsKillSwitchConfigThenStarts()
{
    QFETCH(QString, killSwitch);
    QFETCH(int, disc);
    QFETCH(int, local);
    QFETCH(QStringList, killCalls);
    MConfig &config = *MConfig::instance();
    config.killSwitch = killSwitch;
    config.killSwithDisc = disc;
    config.killSwithAllLocal = local;

    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.setLoggedIn(true);
    controller.setExpireDate(m_now.addDays(1));
    controller.setCurrentServer(QStringLiteral("10.8.0.1"), QStringLiteral("remote 10.8.0.1 1194"));

    controller.slotConnectVPN();

    const QStringList expected
        = killCalls + QStringList{"setconfig(10.8.0.1,remote 10.8.0.1 1194)", "start"};
    QCOMPARE(engine.calls, expected);
    QVERIFY(controller.isBusy());
    QVERIFY(controller.spinTimer()->isActive());
    QCOMPARE(controller.spinTimer()->interval(), 100);
    QCOMPARE(controller.spinAngle(), 0.0f);
    QCOMPARE(m_events, QStringList{"Connect|10.8.0.1|Win|1"});
    QCOMPARE(m_dialogs, 0);
}

void ConnectionControllerTest::failedStartReturnsToIdleWithoutSpinning()
{
    RecordingEngine engine;
    engine.startResult = 7;
    ConnectionController controller(&engine, services());
    controller.setLoggedIn(true);
    controller.setExpireDate(m_now.addSecs(60));
    controller.setCurrentServer(QStringLiteral("10.8.0.1"), QStringLiteral("cfg"));
    controller.statuesChanged(QStringLiteral("FAILED")); // leave "ready" to see it return

    controller.slotConnectVPN();

    QCOMPARE(engine.calls.last(), QStringLiteral("start"));
    QCOMPARE(controller.currentStatus(), QStringLiteral("DISCONNECTED"));
    QCOMPARE(controller.view().statusText, QStringLiteral("Ready to Connect"));
    QCOMPARE(controller.view().buttonText, QStringLiteral("Connect"));
    QVERIFY(!controller.isBusy());
    QVERIFY(!controller.view().busyImageShown);
    QVERIFY(!controller.spinTimer()->isActive());
}

void ConnectionControllerTest::connectButtonAsksForLoginWhenLoggedOutAndTogglesOtherwise()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.setExpireDate(m_now.addDays(30));
    controller.setCurrentServer(QStringLiteral("10.8.0.1"), QStringLiteral("cfg"));
    QSignalSpy login(&controller, &ConnectionController::loginPageRequested);

    controller.slotConnectVPN();
    QCOMPARE(login.count(), 1);
    QVERIFY(engine.calls.isEmpty());

    controller.setLoggedIn(true);
    controller.slotConnectVPN();
    QCOMPARE(engine.calls.last(), QStringLiteral("start"));
    QVERIFY(controller.isBusy());

    // Pressed again while setting up ("Cancel"): the engine runs, so it stops.
    engine.calls.clear();
    controller.statuesChanged(QStringLiteral("CONNECTING"));
    controller.slotConnectVPN();
    QCOMPARE(engine.calls, QStringList{"stop"});
    QCOMPARE(controller.currentStatus(), QStringLiteral("WAIT"));
    QVERIFY(!controller.isBusy());
    QVERIFY(!controller.spinTimer()->isActive());
    QCOMPARE(login.count(), 1);
}

void ConnectionControllerTest::expiredAccountOpensTheExpiredDialogInsteadOfConnecting()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.setLoggedIn(true);
    controller.setCurrentServer(QStringLiteral("10.8.0.1"), QStringLiteral("cfg"));
    QSignalSpy purchase(&controller, &ConnectionController::purchaseRequested);

    // Expiring right now counts as expired; "Later" does nothing more.
    controller.setExpireDate(m_now);
    m_dialogResult = -1;
    controller.slotConnectVPN();
    QCOMPARE(m_dialogs, 1);
    QCOMPARE(purchase.count(), 0);
    QVERIFY(engine.calls.isEmpty());
    QVERIFY(!controller.isBusy());
    QVERIFY(m_events.isEmpty());

    // "Buy Now" asks for the one-year offer.
    m_dialogResult = 1;
    controller.slotConnectVPN();
    QCOMPARE(m_dialogs, 2);
    QCOMPARE(purchase.count(), 1);
    QVERIFY(engine.calls.isEmpty());

    // No expiry date known at all: also refused.
    controller.setExpireDate(QDateTime());
    controller.connectVPN();
    QCOMPARE(m_dialogs, 3);
    QVERIFY(engine.calls.isEmpty());
}

void ConnectionControllerTest::expiryWhileConnectedStopsWithinOneWatchdogTick()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.setLoggedIn(true);
    controller.setExpireDate(m_now.addSecs(3));
    controller.setCurrentServer(QStringLiteral("10.8.0.1"), QStringLiteral("cfg"));
    controller.connectVPN();
    controller.statuesChanged(QStringLiteral("CONNECTED"));
    QVERIFY(engine.running);

    QCOMPARE(controller.expiryTimer()->interval(), 5000);
    QVERIFY(!controller.expiryTimer()->isActive());
    controller.startAccountTimers();
    QVERIFY(controller.expiryTimer()->isActive());

    // One tick before expiry changes nothing.
    QSignalSpy tick(controller.expiryTimer(), &QTimer::timeout);
    controller.expiryTimer()->setInterval(20);
    QVERIFY(tick.wait(2000));
    QCOMPARE(controller.currentStatus(), QStringLiteral("CONNECTED"));
    QVERIFY(engine.running);

    // The account runs out: the very next tick stops the tunnel.
    QList<bool> runningAfterTick;
    connect(controller.expiryTimer(), &QTimer::timeout, this,
            [&] { runningAfterTick << engine.running; });
    m_now = m_now.addSecs(3);
    QTRY_VERIFY_WITH_TIMEOUT(!runningAfterTick.isEmpty(), 2000);
    QCOMPARE(runningAfterTick.first(), false);
    QCOMPARE(engine.calls.last(), QStringLiteral("stop"));
    QCOMPARE(controller.currentStatus(), QStringLiteral("WAIT"));
    QCOMPARE(controller.view().statusText, QStringLiteral("Your account is expired"));
    QCOMPARE(controller.view().buttonText, QStringLiteral("Connect"));

    // Idle now: further ticks stop nothing more.
    const int calls = engine.calls.size();
    QVERIFY(tick.wait(2000));
    QCOMPARE(engine.calls.size(), calls);
}

void ConnectionControllerTest::expiryWatchdogLeavesAValidAccountConnected()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.setExpireDate(m_now.addSecs(-1));
    controller.statuesChanged(QStringLiteral("CONNECTED"));
    controller.expiryTimer()->setInterval(10);
    controller.startAccountTimers();
    QSignalSpy tick(controller.expiryTimer(), &QTimer::timeout);

    // Logged out: the watchdog does not act, even on an expired date.
    QVERIFY(tick.wait(2000));
    QVERIFY(engine.calls.isEmpty());

    // Logged in and not yet expired: nothing either.
    controller.setLoggedIn(true);
    controller.setExpireDate(m_now.addDays(1));
    QVERIFY(tick.wait(2000));
    QVERIFY(engine.calls.isEmpty());
    QCOMPARE(controller.view().statusText, QStringLiteral("VPN Connected"));
}

void ConnectionControllerTest::serverChoiceReconnectsOnlyWhenAsked()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.setExpireDate(m_now.addDays(1));
    controller.setCurrentServer(QStringLiteral("10.9.0.1"), QStringLiteral("cfg2"));
    QSignalSpy login(&controller, &ConnectionController::loginPageRequested);

    controller.applyServerChoice(false);
    QVERIFY(engine.calls.isEmpty());
    QCOMPARE(login.count(), 0);

    controller.applyServerChoice(true);
    QCOMPARE(login.count(), 1);
    QVERIFY(engine.calls.isEmpty());

    controller.setLoggedIn(true);
    controller.applyServerChoice(true);
    QCOMPARE(engine.calls.mid(engine.calls.size() - 2),
             (QStringList{"setconfig(10.9.0.1,cfg2)", "start"}));

    engine.calls.clear();
    controller.applyServerChoice(true);
    QCOMPARE(engine.calls, QStringList{"stop"});
}

void ConnectionControllerTest::busyImageTurnsTenDegreesPerPaintWhileBusy()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    QCOMPARE(controller.advanceSpin(), 0.0f); // idle: no turn

    controller.statuesChanged(QStringLiteral("CONNECTING"));
    QVERIFY(controller.spinTimer()->isActive());
    QSignalSpy ticks(&controller, &ConnectionController::spinTick);
    QVERIFY(ticks.wait(2000));

    for (int i = 1; i < 36; ++i)
        QCOMPARE(controller.advanceSpin(), float(i * 10));
    QCOMPARE(controller.advanceSpin(), 0.0f); // 360 wraps
    QCOMPARE(controller.advanceSpin(), 10.0f);

    controller.statuesChanged(QStringLiteral("CONNECTED"));
    QVERIFY(!controller.spinTimer()->isActive());
    QCOMPARE(controller.advanceSpin(), 10.0f);
}

void ConnectionControllerTest::accountTimersHaveTheirIntervalsAndReloginFires()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    QCOMPARE(controller.reloginTimer()->interval(), 36000000);
    QVERIFY(!controller.reloginTimer()->isActive());

    controller.startAccountTimers();
    QVERIFY(controller.reloginTimer()->isActive());
    QVERIFY(controller.expiryTimer()->isActive());

    QSignalSpy relogin(&controller, &ConnectionController::reloginRequested);
    controller.reloginTimer()->setInterval(10);
    QVERIFY(relogin.wait(2000));
    QVERIFY(controller.reloginTimer()->isActive()); // it repeats
}

void ConnectionControllerTest::shutdownStopsThenClosesTheEngine()
{
    RecordingEngine engine;
    engine.running = true;
    ConnectionController controller(&engine, services());
    controller.shutdown();
    QCOMPARE(engine.calls, (QStringList{"stop", "close"}));
}

void ConnectionControllerTest::engineEventsFromOtherThreadsArriveInOrderOnTheGuiThread()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.registerEngineCallbacks();
    QCOMPARE(engine.calls, QStringList{"setCallbacks"});
    QVERIFY(engine.event && engine.log && engine.traffic);

    QStringList seen;
    QStringList ids;
    std::atomic<bool> offThread{false};
    connect(&controller, &ConnectionController::viewChanged, this, [&] {
        if (QThread::currentThread() != thread())
            offThread = true;
        seen << controller.currentStatus();
        ids << controller.view().idText;
    });

    const std::vector<std::string> names
        = {"RESOLVE", "GET_CONFIG", "ASSIGN_IP", "CONNECTING", "CONNECTED"};
    std::thread worker([&engine, &names] {
        for (const std::string &name : names)
            engine.event(name, "info");
        engine.traffic(2.5f, 1.0f);
        engine.log("engine line");
    });
    worker.join();
    // Nothing is applied on the engine's thread, nor before the event loop runs.
    QVERIFY(seen.isEmpty());

    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 6, 5000);
    QCOMPARE(seen.mid(0, 5),
             (QStringList{"RESOLVE", "GET_CONFIG", "ASSIGN_IP", "CONNECTING", "CONNECTED"}));
    QCOMPARE(ids.last(), QStringLiteral(" Speed:2.5 MB/s"));
    QVERIFY(!offThread);
    QCOMPARE(controller.view().statusText, QStringLiteral("VPN Connected"));

    // Two threads at once: each thread's events keep their order.
    seen.clear();
    std::thread a([&engine] {
        for (int i = 0; i < 50; ++i)
            engine.event("A_STEP", std::to_string(i));
    });
    std::thread b([&engine] {
        for (int i = 0; i < 50; ++i)
            engine.event("B_STEP", std::to_string(i));
    });
    a.join();
    b.join();
    QStringList labels;
    connect(&controller, &ConnectionController::viewChanged, this,
            [&] { labels << controller.currentStatus() + controller.view().statusText; });
    QTRY_COMPARE_WITH_TIMEOUT(labels.size(), 100, 5000);
    int nextA = 0;
    int nextB = 0;
    for (const QString &label : labels) {
        if (label.startsWith(QLatin1String("A_STEP")))
            QCOMPARE(label.mid(6).toInt(), nextA++);
        else
            QCOMPARE(label.mid(6).toInt(), nextB++);
    }
    QCOMPARE(nextA, 50);
    QCOMPARE(nextB, 50);
    QVERIFY(!offThread);
}

void ConnectionControllerTest::engineLogLinesAreLoggedWithTheVpnPrefix()
{
    RecordingEngine engine;
    ConnectionController controller(&engine, services());
    controller.registerEngineCallbacks();
    QStringList lines;
    s_logLines = &lines;
    const QtMessageHandler previous = qInstallMessageHandler(captureMessages);
    std::thread worker([&engine] {
        engine.log("Initialization Sequence Completed");
        engine.event("CONNECTED", "10.8.0.6");
    });
    worker.join();
    qInstallMessageHandler(previous);
    s_logLines = nullptr;

    QVERIFY2(lines.contains(QStringLiteral("VPN: Initialization Sequence Completed")),
             qPrintable(lines.join(QLatin1Char('\n'))));
    QVERIFY2(lines.contains(QStringLiteral("vpn_event_callback evname: CONNECTED 10.8.0.6")),
             qPrintable(lines.join(QLatin1Char('\n'))));
    // A log line changes nothing else.
    QTRY_COMPARE_WITH_TIMEOUT(controller.currentStatus(), QStringLiteral("CONNECTED"), 5000);
}

QTEST_GUILESS_MAIN(ConnectionControllerTest)
#include "tst_connectioncontroller.moc"
