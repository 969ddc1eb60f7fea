// The connection controller without widgets: the status table with and without a pending
// stop, failure counting, the kill-switch settings handed to the engine, the expired account,
// the expiry watchdog, and engine events raised on other threads.

#include "connectioncontroller.h"
#include "fakeengine.h"
#include "logcapture.h"
#include "mconfig.h"

#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <thread>

using Circle = ConnectionView::Circle;
Q_DECLARE_METATYPE(Circle)

class ConnectionControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void statusSetsTheView_data();
    void statusSetsTheView();
    void stopPendingWaitsForAFinalStatus();
    void failuresAreCountedUpToThree();
    void connectHandsTheSettingsToTheEngine_data();
    void connectHandsTheSettingsToTheEngine();
    void buttonAsksForLoginConnectsOrStops();
    void expiredAccountShowsTheDialogInstead();
    void expiryWhileConnectedStops();
    void engineEventsFromOtherThreadsArriveInOrder();
    void killSwitchMenuReachesTheEngineAtOnce();
    void ratesAreWrittenWithoutExponent_data();
    void ratesAreWrittenWithoutExponent();
    void repairMarksTheAdapterOnlyWhenItWorked();

private:
    AppServices services();

    QDateTime m_now;
    int m_saves = 0;
    int m_dialogs = 0;
    int m_dialogResult = -1;
};

AppServices ConnectionControllerTest::services()
{
    AppServices s;
    s.now = [this] {
        return m_now;
    };
    s.saveSettings = [this] {
        ++m_saves;
    };
    s.expiredDialog = [this](QWidget *) {
        ++m_dialogs;
        return m_dialogResult;
    };
    return s;
}

void ConnectionControllerTest::init()
{
    m_now = QDateTime(QDate(2030, 6, 1), QTime(12, 0));
    m_saves = m_dialogs = 0;
    m_dialogResult = -1;
    MConfig &config = *MConfig::instance();
    config.userID = QStringLiteral("A1B2C3D4E5");
    config.errorCount = 0;
    config.installedTap = QStringLiteral("installed");
    config.killSwitch = QStringLiteral("id_killswitch_off");
    config.killSwithDisc = 0;
    config.killSwithAllLocal = 1;
}

void ConnectionControllerTest::statusSetsTheView_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<Circle>("circle");
    QTest::addColumn<QString>("balloon");
    QTest::newRow("connected") << "CONNECTED"
                               << "Disconnect"
                               << "VPN Connected" << Circle::Connected << "VPN is connected";
    QTest::newRow("wait") << "WAIT"
                          << "Connect"
                          << "Ready to Connect" << Circle::Idle << "VPN is disconnected";
    QTest::newRow("disconnected") << "DISCONNECTED"
                                  << "Connect"
                                  << "Ready to Connect" << Circle::Idle << "VPN is disconnected";
    QTest::newRow("failed") << "FAILED"
                            << "Connect"
                            << "Connect failed" << Circle::Idle << "VPN connect failed";
    QTest::newRow("step") << "GET_CONFIG"
                          << "Cancel"
                          << "Get Configuration..." << Circle::Busy << "";
    QTest::newRow("unknown shows its info") << "TCP_CONNECT"
                                            << "Cancel"
                                            << "the info" << Circle::Busy << "";
}

void ConnectionControllerTest::statusSetsTheView()
{
    QFETCH(QString, status);
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(Circle, circle);
    QFETCH(QString, balloon);
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    // From the other side of the table, so every field has to change.
    const bool busy = circle == Circle::Busy;
    controller.statuesChanged(busy ? QStringLiteral("CONNECTED") : QStringLiteral("RESOLVE"));
    QSignalSpy changed(&controller, &ConnectionController::viewChanged);
    QSignalSpy balloons(&controller, &ConnectionController::trayBalloon);

    controller.statuesChanged(status, QStringLiteral("the info"));

    const ConnectionView &view = controller.view();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(view.buttonText, button);
    QCOMPARE(view.statusText, label);
    QCOMPARE(view.circle, circle);
    QCOMPARE(view.busyImageShown, busy);
    QCOMPARE(controller.spinTimer()->isActive(), busy);
    QCOMPARE(view.connected, circle == Circle::Connected);
    QCOMPARE(balloons.isEmpty() ? QString() : balloons.at(0).at(0).toString(), balloon);
    if (circle == Circle::Idle)
        QCOMPARE(view.idText, QStringLiteral("ID:A1B2C3D4E5  "));
}

void ConnectionControllerTest::stopPendingWaitsForAFinalStatus()
{
    for (const char *status : {"CONNECTED", "WAIT", "DISCONNECTED", "FAILED"}) {
        FakeEngine engine;
        engine.running = true;
        ConnectionController controller(&engine, services());
        controller.statuesChanged(QStringLiteral("CONNECTING"));
        controller.setStopPending(true);
        QSignalSpy balloons(&controller, &ConnectionController::trayBalloon);

        controller.statuesChanged(QLatin1String(status), QString());

        QVERIFY2(!controller.stopPending(), status);
        QCOMPARE(engine.calls, QStringList{QStringLiteral("stop")});
        // The stop's own "WAIT" is all that shows: no balloon or count of the original row.
        QCOMPARE(controller.currentStatus(), QStringLiteral("WAIT"));
        QCOMPARE(controller.view().circle, Circle::Idle);
        QVERIFY(!controller.spinTimer()->isActive());
        QCOMPARE(balloons.count(), 1);
        QCOMPARE(balloons.at(0).at(0).toString(), QStringLiteral("VPN is disconnected"));
        QCOMPARE(MConfig::instance()->errorCount, 0);
    }

    // A step while the stop is pending changes the label only.
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    controller.statuesChanged(QStringLiteral("FAILED"));
    controller.setStopPending(true);
    controller.statuesChanged(QStringLiteral("RESOLVE"));
    QCOMPARE(controller.view().statusText, QStringLiteral("Resolving..."));
    QCOMPARE(controller.view().buttonText, QStringLiteral("Connect"));
    QCOMPARE(controller.view().circle, Circle::Idle);
    QVERIFY(!controller.isBusy() && !controller.view().busyImageShown);
    QVERIFY(engine.calls.isEmpty());
}

void ConnectionControllerTest::failuresAreCountedUpToThree()
{
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    MConfig &config = *MConfig::instance();
    for (int i = 1; i <= 5; ++i) {
        config.installedTap = QStringLiteral("installed");
        controller.statuesChanged(QStringLiteral("FAILED"));
        QCOMPARE(config.errorCount, qMin(i, 3));
        // Only a counted failure forgets the adapter and saves.
        QCOMPARE(config.installedTap.isEmpty(), i <= 3);
        QCOMPARE(m_saves, qMin(i, 3));
    }
}

void ConnectionControllerTest::connectHandsTheSettingsToTheEngine_data()
{
    QTest::addColumn<QString>("killSwitch");
    QTest::addColumn<int>("disc");
    QTest::addColumn<int>("local");
    QTest::addColumn<QStringList>("killCalls");
    QTest::newRow("off") << "id_killswitch_off" << 0 << 1
                         << QStringList{"setKillSwith(0)", "setKillDisconnect(0)",
                                        "setKillLocal(1)"};
    QTest::newRow("on, block, no local")
        << "id_killswitch_both" << 1 << -1
        << QStringList{"setKillSwith(3)", "setKillDisconnect(1)", "setKillLocal(0)"};
    QTest::newRow("unknown mode counts as on")
        << "whatever" << 2 << 0
        << QStringList{"setKillSwith(3)", "setKillDisconnect(0)", "setKillLocal(1)"};
}

void ConnectionControllerTest::connectHandsTheSettingsToTheEngine()
{
    QFETCH(QString, killSwitch);
    QFETCH(int, disc);
    QFETCH(int, local);
    QFETCH(QStringList, killCalls);
    MConfig &config = *MConfig::instance();
    config.killSwitch = killSwitch;
    config.killSwithDisc = disc;
    config.killSwithAllLocal = local;
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    controller.setLoggedIn(true);
    controller.setExpireDate(m_now.addDays(1));
    controller.setCurrentServer(QStringLiteral("10.8.0.1"), QStringLiteral("remote 10.8.0.1"));

    controller.slotConnectVPN();

    QCOMPARE(engine.calls,
             killCalls + QStringList({"setconfig(10.8.0.1,remote 10.8.0.1)", "start"}));
    QVERIFY(controller.isBusy());

    // A start that fails returns to idle instead of spinning.
    engine.running = false;
    engine.startResult = 7;
    controller.slotConnectVPN();
    QCOMPARE(controller.currentStatus(), QStringLiteral("DISCONNECTED"));
    QVERIFY(!controller.isBusy() && !controller.spinTimer()->isActive());
}

void ConnectionControllerTest::buttonAsksForLoginConnectsOrStops()
{
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    controller.setExpireDate(m_now.addDays(30));
    QSignalSpy login(&controller, &ConnectionController::loginPageRequested);

    controller.slotConnectVPN();
    controller.applyServerChoice(true);
    QCOMPARE(login.count(), 2);
    QVERIFY(engine.calls.isEmpty());

    controller.setLoggedIn(true);
    controller.applyServerChoice(false);
    QVERIFY(engine.calls.isEmpty());
    controller.slotConnectVPN();
    QCOMPARE(engine.calls.last(), QStringLiteral("start"));
    // "Cancel" while setting up: the engine runs, so it stops.
    engine.calls.clear();
    controller.statuesChanged(QStringLiteral("CONNECTING"));
    controller.slotConnectVPN();
    QCOMPARE(engine.calls, QStringList{"stop"});
    QCOMPARE(controller.currentStatus(), QStringLiteral("WAIT"));
    QVERIFY(!controller.spinTimer()->isActive());
}

void ConnectionControllerTest::expiredAccountShowsTheDialogInstead()
{
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    controller.setLoggedIn(true);
    QSignalSpy purchase(&controller, &ConnectionController::purchaseRequested);
    // Expiring right now counts as expired; "Later" does nothing more.
    controller.setExpireDate(m_now);
    controller.slotConnectVPN();
    QCOMPARE(m_dialogs, 1);
    QCOMPARE(purchase.count(), 0);
    // "Buy Now" asks for the one-year offer; no date known at all is refused too.
    m_dialogResult = 1;
    controller.setExpireDate(QDateTime());
    controller.slotConnectVPN();
    QCOMPARE(m_dialogs, 2);
    QCOMPARE(purchase.count(), 1);
    QVERIFY(engine.calls.isEmpty());
}

void ConnectionControllerTest::expiryWhileConnectedStops()
{
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    controller.setLoggedIn(true);
    controller.setExpireDate(m_now.addSecs(3));
    controller.connectVPN();
    controller.statuesChanged(QStringLiteral("CONNECTED"));
    controller.startAccountTimers();
    controller.expiryTimer()->setInterval(10);
    QSignalSpy tick(controller.expiryTimer(), &QTimer::timeout);
    QVERIFY(tick.wait(2000));
    QVERIFY(engine.running);

    m_now = m_now.addSecs(3);
    QTRY_VERIFY_WITH_TIMEOUT(!engine.running, 2000);
    QCOMPARE(controller.currentStatus(), QStringLiteral("WAIT"));
    QCOMPARE(controller.view().statusText, QStringLiteral("Your account is expired"));
    // Idle now: later ticks stop nothing more.
    const int calls = engine.calls.size();
    QVERIFY(tick.wait(2000));
    QCOMPARE(engine.calls.size(), calls);
}

void ConnectionControllerTest::engineEventsFromOtherThreadsArriveInOrder()
{
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    controller.registerEngineCallbacks();
    QVERIFY(engine.event && engine.log && engine.traffic);
    LogCapture log;
    QStringList seen;
    bool offThread = false;
    connect(&controller, &ConnectionController::viewChanged, this, [&] {
        offThread = offThread || QThread::currentThread() != thread();
        seen << controller.currentStatus() + QLatin1Char('|') + controller.view().statusText;
    });

    std::thread a([&engine] {
        for (int i = 0; i < 50; ++i)
            engine.event("A_STEP", std::to_string(i));
        engine.log("engine line");
    });
    std::thread b([&engine] {
        for (int i = 0; i < 50; ++i)
            engine.event("B_STEP", std::to_string(i));
        engine.traffic(2.5f, 1.0f);
    });
    a.join();
    b.join();
    // Nothing is applied on the engine's threads, nor before the event loop runs.
    QVERIFY(seen.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 101, 5000);
    QVERIFY(!offThread);
    // The throughput repeats the status it arrived under.
    seen.removeDuplicates();
    // Each thread's events keep their order.
    for (const QString &prefix : {QStringLiteral("A_STEP|"), QStringLiteral("B_STEP|")}) {
        int expected = 0;
        for (const QString &entry : seen) {
            if (entry.startsWith(prefix))
                QCOMPARE(entry.mid(prefix.size()).toInt(), expected++);
        }
        QCOMPARE(expected, 50);
    }
    QCOMPARE(controller.view().idText, QStringLiteral(" Speed:2.5 MB/s"));
    QVERIFY(log.contains(QStringLiteral("VPN: engine line")));
}

void ConnectionControllerTest::killSwitchMenuReachesTheEngineAtOnce()
{
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    MConfig &config = *MConfig::instance();
    // Each toggle flips its field; idle, the whole policy goes to the engine at once.
    QVERIFY(controller.changeKillSwitch(QStringLiteral("id_killswitch_local")));
    QCOMPARE(config.killSwithAllLocal, -1);
    QVERIFY(controller.changeKillSwitch(QStringLiteral("id_killswitch_local")));
    QCOMPARE(config.killSwithAllLocal, 1);
    QVERIFY(controller.changeKillSwitch(QStringLiteral("id_killswitch_disc")));
    QVERIFY(controller.changeKillSwitch(QStringLiteral("id_killswitch_disc")));
    QCOMPARE(config.killSwithDisc, 0);
    QVERIFY(!controller.changeKillSwitch(QStringLiteral("id_dns")));
    QCOMPARE(engine.calls.mid(0, 3),
             (QStringList{"setKillSwith(0)", "setKillDisconnect(0)", "setKillLocal(0)"}));
    QCOMPARE(engine.calls.size(), 12);
    QVERIFY(!engine.calls.contains(QStringLiteral("start")));

    // "On" while connected reconnects with the kill switch on.
    controller.setLoggedIn(true);
    controller.setExpireDate(m_now.addDays(1));
    engine.running = true;
    engine.calls.clear();
    QVERIFY(controller.changeKillSwitch(QStringLiteral("id_killswitch_both")));
    QCOMPARE(config.killSwitch, QStringLiteral("id_killswitch_both"));
    QCOMPARE(engine.calls.first(), QStringLiteral("setKillSwith(3)"));
    QCOMPARE(engine.calls.last(), QStringLiteral("start"));
}

void ConnectionControllerTest::ratesAreWrittenWithoutExponent_data()
{
    QTest::addColumn<float>("rate");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << 1.5f << "1.5";
    QTest::newRow("two decimals") << 12.25f << "12.25";
    QTest::newRow("tiny") << 3.8147e-05f << "0.000038";
    QTest::newRow("below one") << 0.2f << "0.2";
    QTest::newRow("nothing") << 0.0f << "0";
}

void ConnectionControllerTest::ratesAreWrittenWithoutExponent()
{
    QFETCH(float, rate);
    QFETCH(QString, text);
    FakeEngine engine;
    ConnectionController controller(&engine, services());
    controller.slotTraffic(rate, 0);
    QCOMPARE(controller.view().idText, QStringLiteral(" Speed:%1 MB/s").arg(text));
}

void ConnectionControllerTest::repairMarksTheAdapterOnlyWhenItWorked()
{
    for (const bool ok : {false, true}) {
        FakeEngine engine;
        engine.repairOk = ok;
        ConnectionController controller(&engine, services());
        MConfig::instance()->installedTap.clear();
        QSignalSpy finished(&controller, &ConnectionController::repairFinished);
        controller.repairNetwork();
        QVERIFY(finished.wait(2000));
        QCOMPARE(finished.at(0).at(0).toBool(), ok);
        QCOMPARE(finished.at(0).at(1).toString(), QStringLiteral("repaired"));
        QCOMPARE(MConfig::instance()->installedTap.isEmpty(), !ok);
        QCOMPARE(m_saves, ok ? 1 : 0);
    }
}

QTEST_GUILESS_MAIN(ConnectionControllerTest)
#include "tst_connectioncontroller.moc"
