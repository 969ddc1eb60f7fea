// The engine through its public interface, with fake openvpn, nft and pkexec programs: no
// root, no network change.
#include "vpnclient.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct Reports
{
    QStringList events; // "NAME|info"
    QStringList logs;
    QList<QPair<float, float>> traffic;
    bool offCallerThread = true;
};

// Filled on the engine thread; plain standard types so no Qt data is shared between threads.
struct Recorded
{
    std::vector<std::string> events;
    std::vector<std::string> logs;
    std::vector<std::pair<float, float>> traffic;
    bool offCallerThread = true;
};

std::mutex g_mutex; // not QMutex: thread checkers must see the locking
Recorded g_recorded;
std::thread::id g_mainThread;

void noteThread()
{
    if (std::this_thread::get_id() == g_mainThread)
        g_recorded.offCallerThread = false;
}

void onEvent(const std::string &name, const std::string &info)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    noteThread();
    g_recorded.events.push_back(name + '|' + info);
}

void onLog(const std::string &line)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    noteThread();
    g_recorded.logs.push_back(line);
}

void onTraffic(float inMb, float outMb)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    noteThread();
    g_recorded.traffic.emplace_back(inMb, outMb);
}

void clearReports()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_recorded = Recorded();
}

Reports reports()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    Reports r;
    for (const std::string &e : g_recorded.events)
        r.events << QString::fromStdString(e);
    for (const std::string &l : g_recorded.logs)
        r.logs << QString::fromStdString(l);
    for (const auto &t : g_recorded.traffic)
        r.traffic << qMakePair(t.first, t.second);
    r.offCallerThread = g_recorded.offCallerThread;
    return r;
}

QStringList eventNames()
{
    QStringList names;
    for (const QString &e : reports().events)
        names << e.section(QLatin1Char('|'), 0, 0);
    return names;
}

QString eventInfo(const QString &name)
{
    for (const QString &e : reports().events) {
        if (e.section(QLatin1Char('|'), 0, 0) == name)
            return e.section(QLatin1Char('|'), 1);
    }
    return QString();
}

bool hasEvent(const QString &name)
{
    return eventNames().contains(name);
}

bool logsContain(const QString &text)
{
    for (const QString &l : reports().logs) {
        if (l.contains(text))
            return true;
    }
    return false;
}

int logsCount(const QString &text)
{
    int n = 0;
    for (const QString &l : reports().logs)
        n += l.contains(text) ? 1 : 0;
    return n;
}

bool processGone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

vpnclient *engine()
{
    return vpnclient::instance();
}

const char kConfig[] = "client\n"
                       "dev tun\n"
                       "proto udp\n"
                       "remote 127.66.0.9 1194\n"
                       "nobind\n"
                       "remote-cert-tls server\n"
                       "<ca>\n"
                       "-----BEGIN CERTIFICATE-----\n"
                       "MIIBszCCAVmgAwIBAgIUO4c2tq0A3UjkRaZ7L2vQdYv3JvgwCgYIKoZIzj0EAwIw\n"
                       "-----END CERTIFICATE-----\n"
                       "</ca>\n"
                       "verb 3\n";

} // namespace

class TestVpnClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void startReturnsOnceManagementIsUpAndStatesArriveInOrder();
    void managementSocketIsOwnersOnlyAndOtherPeersAreRefused();
    void openvpnThatNeverConnectsFailsStart();
    void holdAfterARestartIsReleased();
    void throughputIsReportedEverySecondWhileConnected();
    void stopEndsOpenvpnRemovesItsFilesAndASecondStartWorks();
    void configurationIsPrivateFilteredAndEndsWithTheEngineTrailer();
    void serverAddressFromSetconfigIsUsedWithoutRemote();
    void refusedConfigurationFailsStartBeforeAnythingRuns();
    void authenticationFailureGivesFailed();
    void serverLossAfterConnectedGivesDisconnected();
    void openvpnEndingBeforeManagementFailsStartWithItsOutput();
    void fatalErrorGivesFailed();
    void crashBeforeConnectedFailsAndAfterConnectedDisconnects_data();
    void crashBeforeConnectedFailsAndAfterConnectedDisconnects();
    void unknownStatesPassThroughAndEngineNamesAreNotTakenFromOpenvpn();
    void malformedManagementInputIsBoundedAndIgnored();
    void stalledSessionStopsCleanly();
    void openvpnIgnoringEveryRequestIsKilledOnStop();
    void startWhileRunningReplacesTheSessionWithoutTerminalEvent();
    void foldersLeftByEnginesThatEndedAreRemoved();

    void killSwitchGoesUpBeforeOpenvpnAndOpensTheTunnelBeforeConnected();
    void userStopRemovesTheTableUnlessBlockWhileDisconnected_data();
    void userStopRemovesTheTableUnlessBlockWhileDisconnected();
    void sessionEndingOnItsOwnLeavesTheBlockUp();
    void killSwitchFailureStopsStartBeforeOpenvpn();
    void tunnelRulesFailureEndsTheSessionWithFailed();
    void levelZeroRemovesTheTableAndInstallsNone();
    void allowLocalNetworksIsHonoured();
    void closeRemovesTheTableUnlessItMustStayAndStartWorksAfter();

    void withoutRootProgramsRunThroughPkexec();
    void refusedPkexecFailsStartWithFailed();
    void missingPkexecFailsStartWithFailed();

private:
    QString record() const;
    QStringList recordLines() const;
    QStringList nftScripts() const;
    qint64 openvpnPid(int nth = 0) const;
    QString runtimeFolder() const;
    bool waitFor(const QString &event, int timeoutMs = 5000);
    int startWith(const std::string &config = kConfig, const std::string &server = "127.66.0.9");

    QString m_bin;
    QString m_record;
};

void TestVpnClient::initTestCase()
{
    g_mainThread = std::this_thread::get_id();
    m_bin = QStringLiteral(QUELLNET_BIN_DIR);
    QVERIFY(QFile::exists(m_bin + QStringLiteral("/tunnelkit_fake_openvpn")));
    m_record = QDir::temp().filePath(QStringLiteral("tunnelkit-record.txt"));
    qputenv("QUELLNET_OPENVPN",
            QFile::encodeName(m_bin + QStringLiteral("/tunnelkit_fake_openvpn")));
    qputenv("QUELLNET_NFT", QFile::encodeName(m_bin + QStringLiteral("/tunnelkit_fake_nft")));
    qputenv("TUNNELKIT_FAKE_RECORD", QFile::encodeName(m_record));
    qunsetenv("XDG_RUNTIME_DIR");
    vpn_event_set_callback(onEvent);
    vpn_log_set_callback(onLog);
    vpn_traffic_set_callback(onTraffic);
}

void TestVpnClient::init()
{
    clearReports();
    QFile::remove(m_record);
    qputenv("QUELLNET_TUNNELKIT_ELEVATE", "none");
    qunsetenv("QUELLNET_PKEXEC");
    qputenv("FAKE_OPENVPN_MODE", "connect");
    qputenv("FAKE_OPENVPN_IN_RATE", "3145728");
    qputenv("FAKE_OPENVPN_OUT_RATE", "1048576");
    qunsetenv("FAKE_NFT_FAIL_ON");
    qunsetenv("FAKE_PKEXEC_MODE");
    qunsetenv("FAKE_OPENVPN_CONNECT_DELAY_MS");
    qunsetenv("FAKE_OPENVPN_HOLD");
    engine()->setKillSwith(0);
    engine()->setKillDisconnect(false);
    engine()->setKillLocal(false);
}

void TestVpnClient::cleanup()
{
    qputenv("QUELLNET_TUNNELKIT_ELEVATE", "none");
    engine()->setKillSwith(0);
    engine()->setKillDisconnect(false);
    engine()->stop();
    QVERIFY(!engine()->isStart());
    QTRY_VERIFY_WITH_TIMEOUT(runtimeFolder().isEmpty(), 2000);
}

void TestVpnClient::cleanupTestCase()
{
    engine()->close();
}

QString TestVpnClient::record() const
{
    QFile f(m_record);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QStringList TestVpnClient::recordLines() const
{
    return record().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList TestVpnClient::nftScripts() const
{
    QStringList scripts;
    const QRegularExpression re(QStringLiteral("nft-begin\n(.*?)nft-end\n"),
                                QRegularExpression::DotMatchesEverythingOption);
    auto it = re.globalMatch(record());
    while (it.hasNext())
        scripts << it.next().captured(1);
    return scripts;
}

qint64 TestVpnClient::openvpnPid(int nth) const
{
    const QRegularExpression re(QStringLiteral("^openvpn-start pid=(\\d+)"));
    int seen = 0;
    for (const QString &line : recordLines()) {
        const auto m = re.match(line);
        if (m.hasMatch() && seen++ == nth)
            return m.captured(1).toLongLong();
    }
    return 0;
}

QString TestVpnClient::runtimeFolder() const
{
    const QStringList left = QDir::temp().entryList({QStringLiteral("quellnet-tunnel-*")},
                                                    QDir::Dirs | QDir::NoDotAndDotDot);
    return left.isEmpty() ? QString() : left.first();
}

bool TestVpnClient::waitFor(const QString &event, int timeoutMs)
{
    return QTest::qWaitFor([&]() { return hasEvent(event); }, timeoutMs);
}

int TestVpnClient::startWith(const std::string &config, const std::string &server)
{
    engine()->setconfig(server, config);
    return engine()->start();
}

void TestVpnClient::startReturnsOnceManagementIsUpAndStatesArriveInOrder()
{
    QCOMPARE(startWith(), 0);
    QVERIFY(engine()->isStart());
    // openvpn connected to the engine, which stopped listening: only the files are left.
    const QString folder = QDir::temp().filePath(runtimeFolder());
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                    | QDir::NoDotAndDotDot),
             (QStringList{"client.conf", "engine.pid"}));
    const QRegularExpression peer(QStringLiteral("^openvpn-management-peer pid=(\\d+) uid=(\\d+)"));
    QRegularExpressionMatch m;
    for (const QString &line : recordLines()) {
        if (!m.hasMatch())
            m = peer.match(line);
    }
    QVERIFY2(m.hasMatch(), qPrintable(record()));
    QCOMPARE(m.captured(1).toLongLong(), QCoreApplication::applicationPid());
    QCOMPARE(m.captured(2).toUInt(), uint(getuid()));
    // By the time start() returned the engine had sent its commands on the management link.
    QTRY_VERIFY_WITH_TIMEOUT(record().contains(QLatin1String("openvpn-cmd bytecount 1")), 3000);
    QStringList commands;
    for (const QString &line : recordLines()) {
        if (line.startsWith(QLatin1String("openvpn-cmd ")))
            commands << line.mid(12);
    }
    QCOMPARE(commands, (QStringList{"state on all", "log on all", "bytecount 1"}));

    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QCOMPARE(
        eventNames(),
        (QStringList{"CONNECTING", "AUTH", "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES", "CONNECTED"}));
    QCOMPARE(eventInfo(QStringLiteral("CONNECTING")), QStringLiteral("Waiting for the server"));
    QCOMPARE(eventInfo(QStringLiteral("CONNECTED")),
             QStringLiteral("Connected: SUCCESS, 10.8.0.6"));
    QVERIFY(logsContain(QStringLiteral("Initialization Sequence Completed")));
    QVERIFY(logsContain(QStringLiteral("OpenVPN Management Interface Version 5")));
    // The fake went on without waiting for the engine: its first state (WAIT, CONNECTING
    // above) and log lines came from its history, each once. Its start-up line was on its
    // output too, which is not passed on when the history has it.
    QCOMPARE(logsCount(QStringLiteral("UDPv4 link remote")), 1);
    QCOMPARE(logsCount(QStringLiteral("OpenVPN 2.6 fake")), 1);
    QVERIFY(engine()->isStart());
    QVERIFY(reports().offCallerThread);
}

void TestVpnClient::managementSocketIsOwnersOnlyAndOtherPeersAreRefused()
{
    // The fake connects late; meanwhile another process of this user (here: this test)
    // connects first. The engine must not take it for openvpn.
    qputenv("FAKE_OPENVPN_CONNECT_DELAY_MS", "400");
    std::atomic<bool> done{false};
    std::atomic<int> impostorRead{-2};
    QString socketMode;
    std::mutex modeMutex;
    const QString tmp = QDir::tempPath();
    std::thread impostor([&]() {
        const QByteArray base = QFile::encodeName(tmp);
        for (int i = 0; i < 3000 && !done; ++i) {
            const QStringList folders = QDir(tmp).entryList({QStringLiteral("quellnet-tunnel-*")},
                                                            QDir::Dirs | QDir::NoDotAndDotDot);
            const QByteArray path = folders.isEmpty()
                ? QByteArray()
                : base + '/' + QFile::encodeName(folders.first()) + "/mgmt.sock";
            struct stat st;
            if (!path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode)) {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                sockaddr_un addr = {};
                addr.sun_family = AF_UNIX;
                qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
                if (fd >= 0
                    && ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0) {
                    // Refused: closed without a word (bounded by the receive time-out).
                    timeval tv = {5, 0};
                    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
                    char c;
                    impostorRead = int(::read(fd, &c, 1));
                    ::close(fd);
                    // Looked at once the engine has answered: by then it has set the mode.
                    if (::stat(path.constData(), &st) == 0) {
                        std::lock_guard<std::mutex> lock(modeMutex);
                        socketMode = QString::number(st.st_mode & 0777, 8);
                    }
                    return;
                }
                if (fd >= 0)
                    ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const int started = startWith();
    done = true;
    impostor.join();
    qunsetenv("FAKE_OPENVPN_CONNECT_DELAY_MS");
    QCOMPARE(started, 0);
    QCOMPARE(impostorRead.load(), 0);
    QVERIFY(logsContain(QStringLiteral("refused a management connection from pid %1")
                            .arg(QCoreApplication::applicationPid())));
    {
        std::lock_guard<std::mutex> lock(modeMutex);
        // Beside the 0700 folder, the socket itself is the owner's only.
        QCOMPARE(socketMode, QStringLiteral("600"));
    }
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY(QFile::exists(QDir::temp().filePath(runtimeFolder()) + QStringLiteral("/client.conf")));
    QVERIFY(!QFile::exists(QDir::temp().filePath(runtimeFolder()) + QStringLiteral("/mgmt.sock")));
}

void TestVpnClient::openvpnThatNeverConnectsFailsStart()
{
    qputenv("FAKE_OPENVPN_MODE", "noconnect");
    QCOMPARE(startWith(), 6);
    QVERIFY(!engine()->isStart());
    QVERIFY(logsContain(QStringLiteral("MANAGEMENT: connect to unix socket")));
    QVERIFY(waitFor(QStringLiteral("FAILED"), 2000));
    QCOMPARE(eventNames(), QStringList{QStringLiteral("FAILED")});
    QVERIFY(runtimeFolder().isEmpty());
}

void TestVpnClient::holdAfterARestartIsReleased()
{
    qputenv("FAKE_OPENVPN_HOLD", "1");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    qunsetenv("FAKE_OPENVPN_HOLD");
    QVERIFY(record().contains(QLatin1String("openvpn-cmd hold release")));
    QCOMPARE(
        eventNames(),
        (QStringList{"CONNECTING", "AUTH", "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES", "CONNECTED"}));
}

void TestVpnClient::throughputIsReportedEverySecondWhileConnected()
{
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY(QTest::qWaitFor([]() { return reports().traffic.size() >= 2; }, 5000));
    // The fake adds 3 MiB in and 1 MiB out per one-second count while connected; counts before
    // CONNECTED (handshake bytes) and the first one after it give no report.
    for (const auto &t : reports().traffic) {
        QCOMPARE(t.first, 3.0f);
        QCOMPARE(t.second, 1.0f);
    }
    const int countsSeen = record().count(QLatin1String("openvpn-cmd bytecount 1"));
    QCOMPARE(countsSeen, 1);
}

void TestVpnClient::stopEndsOpenvpnRemovesItsFilesAndASecondStartWorks()
{
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const qint64 pid = openvpnPid();
    QVERIFY(pid > 0);
    QVERIFY(!runtimeFolder().isEmpty());
    const int before = reports().events.size();

    QCOMPARE(engine()->stop(), 0);
    QVERIFY(!engine()->isStart());
    QVERIFY(processGone(pid));
    QVERIFY(runtimeFolder().isEmpty());
    QVERIFY(record().contains(QLatin1String("openvpn-cmd signal SIGTERM")));
    // Nothing of the session after the stop but one DISCONNECTED.
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED"), 2000));
    QTest::qWait(200);
    QCOMPARE(reports().events.mid(before), QStringList{QStringLiteral("DISCONNECTED|stopped")});

    // A second stop is harmless and says nothing.
    QCOMPARE(engine()->stop(), 0);
    QCOMPARE(reports().events.size(), before + 1);

    QCOMPARE(startWith(), 0);
    QVERIFY(QTest::qWaitFor(
        [&]() { return eventNames().mid(before + 1).contains(QLatin1String("CONNECTED")); }, 5000));
    QVERIFY(openvpnPid(1) > 0 && openvpnPid(1) != pid);
}

void TestVpnClient::configurationIsPrivateFilteredAndEndsWithTheEngineTrailer()
{
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY2(record().contains(QLatin1String("mode=600 dirmode=700")), qPrintable(record()));

    QFile copy(m_record + QStringLiteral(".conf"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    const QString conf = QString::fromUtf8(copy.readAll());
    const QString trailer = conf.mid(conf.indexOf(QLatin1String("# tunnelkit: engine")));
    QVERIFY(conf.contains(QLatin1String("\nremote-cert-tls server\n")));
    QVERIFY(conf.contains(QLatin1String("<ca>\n-----BEGIN CERTIFICATE-----\n")));
    QVERIFY(!conf.contains(QLatin1String("dev tun\n")));
    QVERIFY(
        trailer.contains(QStringLiteral("\ndev qnet%1\n").arg(QCoreApplication::applicationPid())));
    QVERIFY(trailer.contains(QLatin1String("\nremote 127.66.0.9 1194\nproto udp\n")));
    for (const char *line : {"script-security 1", "mark 1903060340", "management-client",
                             "management-signal", "remap-usr1 SIGTERM", "disable-dco"})
        QVERIFY2(trailer.contains(QLatin1Char('\n') + QLatin1String(line) + QLatin1Char('\n')),
                 line);
    QVERIFY(trailer.contains(QLatin1String("/mgmt.sock unix\n")));
    // openvpn connects out at once: no hold for the engine to release.
    QVERIFY(!conf.contains(QLatin1String("management-hold")));
    QVERIFY(trailer.endsWith(QLatin1String("remap-usr1 SIGTERM\n")));
}

void TestVpnClient::serverAddressFromSetconfigIsUsedWithoutRemote()
{
    QCOMPARE(startWith("client\nproto tcp\nport 443\n", "127.66.0.44"), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QFile copy(m_record + QStringLiteral(".conf"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(copy.readAll())
                .contains(QLatin1String("\nremote 127.66.0.44 443\nproto tcp-client\n")));
}

void TestVpnClient::refusedConfigurationFailsStartBeforeAnythingRuns()
{
    engine()->setKillSwith(3);
    const std::string config = std::string(kConfig) + "script-security 2\nup /bin/sh\n";
    QVERIFY(startWith(config) != 0);
    QVERIFY(!engine()->isStart());
    QVERIFY(logsContain(QStringLiteral("configuration refused: line 13: 'script-security'")));
    QVERIFY(waitFor(QStringLiteral("FAILED"), 2000));
    QVERIFY(eventInfo(QStringLiteral("FAILED")).contains(QLatin1String("'script-security'")));
    // Neither openvpn nor nft ran.
    QCOMPARE(record(), QString());
    QVERIFY(runtimeFolder().isEmpty());
}

void TestVpnClient::authenticationFailureGivesFailed()
{
    qputenv("FAKE_OPENVPN_MODE", "authfail");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("FAILED")));
    QVERIFY(!engine()->isStart());
    QCOMPARE(eventNames(), (QStringList{"CONNECTING", "AUTH", "EXITING", "FAILED"}));
    QCOMPARE(eventInfo(QStringLiteral("EXITING")), QStringLiteral("Exiting: auth-failure"));
    QCOMPARE(eventInfo(QStringLiteral("FAILED")), QStringLiteral("authentication failed"));
    QVERIFY(processGone(openvpnPid()));
    QVERIFY(runtimeFolder().isEmpty());
}

void TestVpnClient::serverLossAfterConnectedGivesDisconnected()
{
    qputenv("FAKE_OPENVPN_MODE", "serverloss");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED"), 8000));
    QVERIFY(!engine()->isStart());
    const QStringList names = eventNames();
    QCOMPARE(names.mid(names.size() - 3), (QStringList{"CONNECTED", "EXITING", "DISCONNECTED"}));
    QCOMPARE(eventInfo(QStringLiteral("DISCONNECTED")),
             QStringLiteral("connection lost: ping-restart"));
    QVERIFY(!hasEvent(QStringLiteral("FAILED")));
    QVERIFY(processGone(openvpnPid()));
    QVERIFY(runtimeFolder().isEmpty());
}

void TestVpnClient::openvpnEndingBeforeManagementFailsStartWithItsOutput()
{
    qputenv("FAKE_OPENVPN_MODE", "exitearly");
    QCOMPARE(startWith(), 6);
    QVERIFY(!engine()->isStart());
    QVERIFY(logsContain(QStringLiteral("Options error: fake openvpn refuses to start")));
    QVERIFY(logsContain(QStringLiteral("openvpn ended before its management interface was up "
                                       "(exit code 1)")));
    QVERIFY(waitFor(QStringLiteral("FAILED"), 2000));
    QCOMPARE(eventNames(), QStringList{QStringLiteral("FAILED")});
    QVERIFY(runtimeFolder().isEmpty());
}

void TestVpnClient::fatalErrorGivesFailed()
{
    qputenv("FAKE_OPENVPN_MODE", "fatal");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("FAILED")));
    QCOMPARE(eventInfo(QStringLiteral("FAILED")),
             QStringLiteral("Cannot open TUN/TAP dev /dev/net/tun: No such device"));
    QVERIFY(!engine()->isStart());
}

void TestVpnClient::crashBeforeConnectedFailsAndAfterConnectedDisconnects_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<QString>("terminal");
    QTest::newRow("before") << QByteArray("crashearly") << "FAILED";
    QTest::newRow("after") << QByteArray("crash") << "DISCONNECTED";
}

void TestVpnClient::crashBeforeConnectedFailsAndAfterConnectedDisconnects()
{
    QFETCH(QByteArray, mode);
    QFETCH(QString, terminal);
    qputenv("FAKE_OPENVPN_MODE", mode);
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(terminal, 8000));
    QVERIFY(!engine()->isStart());
    QCOMPARE(eventInfo(terminal), QStringLiteral("openvpn crashed"));
    QCOMPARE(eventNames().count(QStringLiteral("FAILED"))
                 + eventNames().count(QStringLiteral("DISCONNECTED")),
             1);
    QVERIFY(logsContain(QStringLiteral("tunnelkit: openvpn crashed")));
    QVERIFY(runtimeFolder().isEmpty());
}

void TestVpnClient::unknownStatesPassThroughAndEngineNamesAreNotTakenFromOpenvpn()
{
    qputenv("FAKE_OPENVPN_MODE", "unknown");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QCOMPARE(eventNames(),
             (QStringList{"CONNECTING", "AUTH", "AUTH_PENDING", "WEIRD_NEW_STATE", "GET_CONFIG",
                          "ASSIGN_IP", "ADD_ROUTES", "CONNECTED"}));
    QCOMPARE(eventInfo(QStringLiteral("AUTH_PENDING")),
             QStringLiteral("Authentication pending: timeout 30"));
    QCOMPARE(eventInfo(QStringLiteral("WEIRD_NEW_STATE")),
             QStringLiteral("WEIRD_NEW_STATE: some text"));
    QVERIFY(logsContain(QStringLiteral("state 'FAILED' ignored")));
    QVERIFY(logsContain(QStringLiteral("state 'bad name!' ignored")));
    QVERIFY(engine()->isStart());
}

void TestVpnClient::malformedManagementInputIsBoundedAndIgnored()
{
    qputenv("FAKE_OPENVPN_MODE", "garbage");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY(logsContain(QStringLiteral("1 overlong management line(s) dropped")));
    QVERIFY(logsContain(QStringLiteral("malformed state line ignored")));
    QVERIFY(logsContain(QStringLiteral("malformed byte count ignored")));
    QCOMPARE(
        eventNames(),
        (QStringList{"CONNECTING", "AUTH", "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES", "CONNECTED"}));
}

void TestVpnClient::stalledSessionStopsCleanly()
{
    qputenv("FAKE_OPENVPN_MODE", "stall");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTING")));
    QTest::qWait(300);
    QCOMPARE(eventNames(), QStringList{QStringLiteral("CONNECTING")});
    QVERIFY(engine()->isStart());
    engine()->stop();
    QVERIFY(!engine()->isStart());
    QVERIFY(processGone(openvpnPid()));
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED"), 2000));
    QCOMPARE(eventNames(), (QStringList{"CONNECTING", "DISCONNECTED"}));
}

void TestVpnClient::openvpnIgnoringEveryRequestIsKilledOnStop()
{
    qputenv("FAKE_OPENVPN_MODE", "hang");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const qint64 pid = openvpnPid();
    QElapsedTimer clock;
    clock.start();
    engine()->stop();
    QVERIFY(clock.elapsed() < 15000);
    QVERIFY(processGone(pid));
    QVERIFY(logsContain(QStringLiteral("openvpn did not end on the management signal")));
    QVERIFY(logsContain(QStringLiteral("killing openvpn")));
    QVERIFY(runtimeFolder().isEmpty());
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED"), 2000));
}

void TestVpnClient::startWhileRunningReplacesTheSessionWithoutTerminalEvent()
{
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const qint64 first = openvpnPid();
    const int before = reports().events.size();

    QCOMPARE(startWith(), 0);
    QVERIFY(processGone(first));
    QVERIFY(engine()->isStart());
    QVERIFY(QTest::qWaitFor(
        [&]() { return eventNames().mid(before).contains(QLatin1String("CONNECTED")); }, 5000));
    QCOMPARE(
        eventNames().mid(before),
        (QStringList{"CONNECTING", "AUTH", "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES", "CONNECTED"}));
    QVERIFY(openvpnPid(1) > 0 && openvpnPid(1) != first);
    QVERIFY(logsContain(QStringLiteral("replacing the running session")));
}

void TestVpnClient::foldersLeftByEnginesThatEndedAreRemoved()
{
    // The id of a process that has ended stands for a client that crashed.
    QProcess ended;
    ended.start(QStringLiteral("true"), QStringList());
    QVERIFY(ended.waitForStarted());
    const qint64 deadPid = ended.processId();
    QVERIFY(ended.waitForFinished());
    QVERIFY(processGone(deadPid));

    const QDir tmp = QDir::temp();
    const auto leave = [&](const QString &name, qint64 pid) {
        QVERIFY(tmp.mkdir(name));
        QFile owner(tmp.filePath(name + QStringLiteral("/engine.pid")));
        QVERIFY(owner.open(QIODevice::WriteOnly));
        owner.write(QByteArray::number(pid));
        QFile conf(tmp.filePath(name + QStringLiteral("/client.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("<key>\nsecret\n</key>\n");
    };
    leave(QStringLiteral("quellnet-tunnel-crashed"), deadPid);
    leave(QStringLiteral("quellnet-tunnel-living"), QCoreApplication::applicationPid());

    QCOMPARE(startWith(), 0);
    QVERIFY(!tmp.exists(QStringLiteral("quellnet-tunnel-crashed")));
    QVERIFY(tmp.exists(QStringLiteral("quellnet-tunnel-living/client.conf")));
    QVERIFY(logsContain(QStringLiteral("quellnet-tunnel-crashed, left by an engine that ended")));
    QVERIFY(QDir(tmp.filePath(QStringLiteral("quellnet-tunnel-living"))).removeRecursively());
}

void TestVpnClient::killSwitchGoesUpBeforeOpenvpnAndOpensTheTunnelBeforeConnected()
{
    engine()->setKillSwith(3);
    QCOMPARE(startWith(), 0);
    // Before openvpn ran, the connecting rules were in place.
    const QString atStart = record();
    const int rulesAt = atStart.indexOf(QLatin1String("table inet quellnet {"));
    QVERIFY(rulesAt >= 0);
    QVERIFY(rulesAt < atStart.indexOf(QLatin1String("openvpn-start")));
    const QString connecting = nftScripts().first();
    QVERIFY(connecting.contains(
        QLatin1String("meta mark 0x716e6574 ip daddr 127.66.0.9 udp dport 1194 accept")));
    QVERIFY(!connecting.contains(QLatin1String("oifname \"qnet")));

    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    // CONNECTED was sent only after the tunnel's rules were loaded. They are added to the
    // connecting table, which stays: a replacement would delay CONNECTED.
    const QString connected = nftScripts().last();
    QCOMPARE(connected,
             QStringLiteral("add rule inet quellnet output oifname \"qnet%1\" accept comment "
                            "\"everything into the tunnel\"\n"
                            "add rule inet quellnet input iifname \"qnet%1\" accept comment "
                            "\"everything out of the tunnel\"\n")
                 .arg(QCoreApplication::applicationPid()));
    QCOMPARE(nftScripts().size(), 2);
}

void TestVpnClient::userStopRemovesTheTableUnlessBlockWhileDisconnected_data()
{
    QTest::addColumn<bool>("keep");
    QTest::newRow("remove") << false;
    QTest::newRow("block while disconnected") << true;
}

void TestVpnClient::userStopRemovesTheTableUnlessBlockWhileDisconnected()
{
    QFETCH(bool, keep);
    engine()->setKillSwith(3);
    engine()->setKillDisconnect(keep);
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    engine()->stop();
    const QString last = nftScripts().last();
    if (keep) {
        QVERIFY(last.contains(QLatin1String("table inet quellnet {")));
        QVERIFY(!last.contains(QLatin1String("127.66.0.9")));
        QVERIFY(!last.contains(QLatin1String("oifname \"qnet")));
    } else {
        QCOMPARE(last, QStringLiteral("table inet quellnet\ndelete table inet quellnet\n"));
    }
}

void TestVpnClient::sessionEndingOnItsOwnLeavesTheBlockUp()
{
    engine()->setKillSwith(3);
    qputenv("FAKE_OPENVPN_MODE", "serverloss");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED"), 8000));
    const QString last = nftScripts().last();
    QVERIFY(last.contains(QLatin1String("table inet quellnet {")));
    QVERIFY(!last.contains(QLatin1String("127.66.0.9")));
    QVERIFY(!last.contains(QLatin1String("oifname \"qnet")));
    QVERIFY(last.contains(QLatin1String("policy drop;")));
}

void TestVpnClient::killSwitchFailureStopsStartBeforeOpenvpn()
{
    engine()->setKillSwith(3);
    qputenv("FAKE_NFT_FAIL_ON", "table inet quellnet {");
    QCOMPARE(startWith(), 4);
    QVERIFY(!engine()->isStart());
    QVERIFY(!record().contains(QLatin1String("openvpn-start")));
    QVERIFY(logsContain(QStringLiteral("Error: fake nft refuses this script")));
    QVERIFY(waitFor(QStringLiteral("FAILED"), 2000));
    QCOMPARE(eventInfo(QStringLiteral("FAILED")),
             QStringLiteral("the kill switch could not be installed"));
}

void TestVpnClient::tunnelRulesFailureEndsTheSessionWithFailed()
{
    engine()->setKillSwith(3);
    qputenv("FAKE_NFT_FAIL_ON", "oifname \"qnet");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("FAILED")));
    QVERIFY(!hasEvent(QStringLiteral("CONNECTED")));
    QCOMPARE(eventInfo(QStringLiteral("FAILED")),
             QStringLiteral("the kill switch could not let the tunnel through"));
    QVERIFY(processGone(openvpnPid()));
    // The session ended on its own: the block stays up, without the server or the tunnel.
    const QString last = nftScripts().last();
    QVERIFY(last.contains(QLatin1String("table inet quellnet {")));
    QVERIFY(!last.contains(QLatin1String("127.66.0.9")));
}

void TestVpnClient::levelZeroRemovesTheTableAndInstallsNone()
{
    // Nothing of ours can be installed: nft does not run at all.
    const QString marker = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/quellnet-tunnelkit/killswitch.active");
    QFile::remove(marker);
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY(nftScripts().isEmpty());
    engine()->stop();
    QFile::remove(m_record);
    clearReports();

    // A table left by a run that crashed (its marker is there) goes before openvpn starts.
    QVERIFY(QDir().mkpath(QFileInfo(marker).absolutePath()));
    QFile note(marker);
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const QStringList scripts = nftScripts();
    QVERIFY(!scripts.isEmpty());
    for (const QString &s : scripts)
        QCOMPARE(s, QStringLiteral("table inet quellnet\ndelete table inet quellnet\n"));
    QVERIFY(record().indexOf(QLatin1String("nft-begin"))
            < record().indexOf(QLatin1String("openvpn-start")));
    QVERIFY(!QFileInfo::exists(marker));
}

void TestVpnClient::allowLocalNetworksIsHonoured()
{
    engine()->setKillSwith(3);
    engine()->setKillLocal(true);
    QCOMPARE(startWith(), 0);
    QVERIFY(nftScripts().first().contains(QLatin1String("192.168.0.0/16")));
    engine()->stop();
    QFile::remove(m_record);
    engine()->setKillLocal(false);
    QCOMPARE(startWith(), 0);
    QVERIFY(!nftScripts().first().contains(QLatin1String("192.168.0.0/16")));
}

void TestVpnClient::closeRemovesTheTableUnlessItMustStayAndStartWorksAfter()
{
    engine()->setKillSwith(3);
    engine()->setKillDisconnect(true);
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    engine()->stop();
    engine()->close();
    QVERIFY(nftScripts().last().contains(QLatin1String("table inet quellnet {")));

    QFile::remove(m_record);
    engine()->setKillDisconnect(false);
    engine()->close();
    QCOMPARE(nftScripts(),
             QStringList{QStringLiteral("table inet quellnet\ndelete table inet quellnet\n")});

    // The engine comes back after close().
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
}

void TestVpnClient::withoutRootProgramsRunThroughPkexec()
{
    qputenv("QUELLNET_TUNNELKIT_ELEVATE", "pkexec");
    qputenv("QUELLNET_PKEXEC", QFile::encodeName(m_bin + QStringLiteral("/tunnelkit_fake_pkexec")));
    engine()->setKillSwith(3);
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const QString nft = QFileInfo(m_bin + QStringLiteral("/tunnelkit_fake_nft")).absoluteFilePath();
    const QString openvpn
        = QFileInfo(m_bin + QStringLiteral("/tunnelkit_fake_openvpn")).absoluteFilePath();
    QVERIFY(recordLines().contains(QStringLiteral("pkexec ") + nft + QStringLiteral(" -f -")));
    bool openvpnThroughPkexec = false;
    for (const QString &line : recordLines())
        openvpnThroughPkexec
            |= line.startsWith(QStringLiteral("pkexec ") + openvpn + QStringLiteral(" --config "));
    QVERIFY(openvpnThroughPkexec);
    QVERIFY(logsContain(QStringLiteral("through pkexec")));
    engine()->stop();
    QVERIFY(processGone(openvpnPid()));
}

void TestVpnClient::refusedPkexecFailsStartWithFailed()
{
    qputenv("QUELLNET_TUNNELKIT_ELEVATE", "pkexec");
    qputenv("QUELLNET_PKEXEC", QFile::encodeName(m_bin + QStringLiteral("/tunnelkit_fake_pkexec")));
    qputenv("FAKE_PKEXEC_MODE", "deny");
    QCOMPARE(startWith(), 3);
    QVERIFY(!engine()->isStart());
    QVERIFY(logsContain(QStringLiteral("Error executing command as another user: Not authorized")));
    QVERIFY(logsContain(QStringLiteral("pkexec refused to run openvpn")));
    QVERIFY(waitFor(QStringLiteral("FAILED"), 2000));
    QVERIFY(!record().contains(QLatin1String("openvpn-start")));
    QVERIFY(runtimeFolder().isEmpty());
}

void TestVpnClient::missingPkexecFailsStartWithFailed()
{
    qputenv("QUELLNET_TUNNELKIT_ELEVATE", "pkexec");
    qputenv("QUELLNET_PKEXEC", "/nonexistent/pkexec");
    QCOMPARE(startWith(), 3);
    QVERIFY(!engine()->isStart());
    QVERIFY(logsContain(QStringLiteral("pkexec (/nonexistent/pkexec) is not there")));
    QVERIFY(waitFor(QStringLiteral("FAILED"), 2000));
    QVERIFY(eventInfo(QStringLiteral("FAILED")).contains(QLatin1String("administrator rights")));
    QCOMPARE(record(), QString());
}

QTEST_GUILESS_MAIN(TestVpnClient)
#include "tst_vpnclient.moc"
