// The client, quellnet-helper and the engine together, with fake openvpn and nft programs:
// no network change. The test user is authorised through the helper's group option.
#include "helperprocess.h"
#include "helperprotocol.h"
#include "vpnclient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tunnelkit;

namespace {

// Filled on the client thread; standard types so no Qt data is shared between threads.
struct Recorded
{
    std::vector<std::string> events; // "NAME|info"
    std::vector<std::string> logs;
    std::vector<std::pair<float, float>> traffic;
    bool offCallerThread = true;
};

std::mutex g_mutex;
Recorded g_recorded;
std::thread::id g_mainThread;

void note(const std::function<void(Recorded &)> &f)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (std::this_thread::get_id() == g_mainThread)
        g_recorded.offCallerThread = false;
    f(g_recorded);
}

void onEvent(const std::string &name, const std::string &info)
{
    note([&](Recorded &r) { r.events.push_back(name + '|' + info); });
}

void onLog(const std::string &line)
{
    note([&](Recorded &r) { r.logs.push_back(line); });
}

void onTraffic(float inMb, float outMb)
{
    note([&](Recorded &r) { r.traffic.emplace_back(inMb, outMb); });
}

Recorded recorded()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_recorded;
}

QStringList eventNames()
{
    QStringList names;
    for (const std::string &e : recorded().events)
        names << QString::fromStdString(e).section(QLatin1Char('|'), 0, 0);
    return names;
}

QString eventInfo(const QString &name)
{
    for (const std::string &e : recorded().events) {
        const QString s = QString::fromStdString(e);
        if (s.section(QLatin1Char('|'), 0, 0) == name)
            return s.section(QLatin1Char('|'), 1);
    }
    return QString();
}

QString allLogs()
{
    QStringList all;
    for (const std::string &l : recorded().logs)
        all << QString::fromStdString(l);
    return all.join(QLatin1Char('\n'));
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
                       "</ca>\n";

const QStringList kConnectSequence
    = {"CONNECTING", "AUTH", "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES", "CONNECTED"};

// A client that speaks the wire format by hand: what a hostile or second program would do.
class RawClient
{
public:
    bool open(const QString &path)
    {
        m_socket.connectToServer(path);
        return m_socket.waitForConnected(2000);
    }
    void sendBytes(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        m_socket.flush();
    }
    void send(wire::Type type, const QCborMap &body = QCborMap())
    {
        sendBytes(wire::encode({type, body}));
    }
    // The next message of the given type, skipping others; false after timeoutMs.
    bool receive(wire::Type type, wire::Message *out, int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            wire::Message m;
            while (m_decoder.next(&m) == wire::FrameDecoder::Ready) {
                if (m.type == type) {
                    *out = m;
                    return true;
                }
            }
            if (m_socket.state() != QLocalSocket::ConnectedState && m_socket.bytesAvailable() == 0)
                return false;
            if (m_socket.bytesAvailable() > 0 || m_socket.waitForReadyRead(100))
                m_decoder.feed(m_socket.readAll());
        }
        return false;
    }
    bool closedByPeer(int timeoutMs = 3000)
    {
        return m_socket.state() == QLocalSocket::UnconnectedState
            || m_socket.waitForDisconnected(timeoutMs);
    }

private:
    QLocalSocket m_socket;
    wire::FrameDecoder m_decoder;
};

} // namespace

class TestVpnClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void startReturnsAtOnceAndTheSessionRunsInTheHelper();
    void managementSocketRefusesEveryoneButItsOpenvpn();
    void sessionOutcomes_data();
    void sessionOutcomes();
    void throughputIsReportedWhileConnected();
    void stopEndsTheSessionAndStartReplacesARunningOne();
    void hostileConfigurationNeverStartsOpenvpn_data();
    void hostileConfigurationNeverStartsOpenvpn();
    void firewallFollowsTheSession_data();
    void firewallFollowsTheSession();
    void firewallFailuresEndTheAttempt_data();
    void firewallFailuresEndTheAttempt();
    void aSessionOutlivesItsClientAndLateClientsAreToldItsState();
    void malformedMessagesAreAnsweredAndTheConnectionEnds_data();
    void malformedMessagesAreAnsweredAndTheConnectionEnds();
    void aUserWhoMayNotIsRefused();
    void aTunnelThatCarriesNoDefaultRouteFails();
    void helperCrashEndsTheSessionAndItsRestartCleansUp();

private:
    void setFake(const QByteArray &key, const QByteArray &value);
    QString record() const;
    QStringList nftScripts() const;
    qint64 openvpnPid(int nth = 0) const;
    QStringList sessionFolders() const;
    bool waitFor(const QString &event, int timeoutMs = 5000);
    int startWith(const std::string &config = kConfig, const std::string &server = "127.66.0.9");
    HelperProcess::Options fakeOptions() const;
    bool startHelper(const QString &runtimeDir = QString());
    bool helperIdle();

    HelperProcess m_helper;
    QString m_record;
    QString m_fakeEnv;
    QMap<QByteArray, QByteArray> m_fake;
};

void TestVpnClient::initTestCase()
{
    g_mainThread = std::this_thread::get_id();
    m_record = QDir::temp().filePath(QStringLiteral("tunnelkit-record.txt"));
    m_fakeEnv = QDir::temp().filePath(QStringLiteral("tunnelkit-fake.env"));
    QVERIFY(startHelper());
    qputenv("QUELLNET_HELPER_SOCKET", QFile::encodeName(m_helper.socketPath()));
    vpn_event_set_callback(onEvent);
    vpn_log_set_callback(onLog);
    vpn_traffic_set_callback(onTraffic);
}

HelperProcess::Options TestVpnClient::fakeOptions() const
{
    const QString bin = QStringLiteral(QUELLNET_BIN_DIR);
    HelperProcess::Options options;
    options.openvpn = bin + QStringLiteral("/tunnelkit_fake_openvpn");
    options.nft = bin + QStringLiteral("/tunnelkit_fake_nft");
    options.environment.insert(QStringLiteral("TUNNELKIT_FAKE_RECORD"), m_record);
    options.environment.insert(QStringLiteral("TUNNELKIT_FAKE_ENV"), m_fakeEnv);
    return options;
}

bool TestVpnClient::startHelper(const QString &runtimeDir)
{
    HelperProcess::Options options = fakeOptions();
    options.runtimeDir = runtimeDir;
    QString error;
    if (!m_helper.start(options, &error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    return true;
}

void TestVpnClient::init()
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_recorded = Recorded();
    }
    QFile::remove(m_record);
    m_fake.clear();
    setFake("FAKE_OPENVPN_MODE", "connect");
    setFake("FAKE_OPENVPN_IN_RATE", "3145728");
    setFake("FAKE_OPENVPN_OUT_RATE", "1048576");
    engine()->setKillSwith(0);
    engine()->setKillDisconnect(false);
    engine()->setKillLocal(false);
}

void TestVpnClient::cleanup()
{
    engine()->setKillSwith(0);
    engine()->setKillDisconnect(false);
    engine()->stop();
    QVERIFY(!engine()->isStart());
    QVERIFY(helperIdle());
    QVERIFY(sessionFolders().isEmpty());
}

bool TestVpnClient::helperIdle()
{
    // The helper's engine takes commands in order and answers each once done: an answered
    // command that changes nothing means everything sent before it has been carried out.
    RawClient barrier;
    wire::Message done;
    if (!barrier.open(m_helper.socketPath()))
        return false;
    barrier.send(wire::Type::SetPolicy, QCborMap{{QStringLiteral("seq"), 1}});
    return barrier.receive(wire::Type::Done, &done, 20000);
}

void TestVpnClient::cleanupTestCase()
{
    engine()->close();
    QVERIFY(m_helper.stop());
}

void TestVpnClient::setFake(const QByteArray &key, const QByteArray &value)
{
    m_fake[key] = value;
    QFile f(m_fakeEnv);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (auto it = m_fake.cbegin(); it != m_fake.cend(); ++it)
        f.write(it.key() + '=' + it.value() + '\n');
}

QString TestVpnClient::record() const
{
    QFile f(m_record);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
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
    const QRegularExpression re(QStringLiteral("^openvpn-start pid=(\\d+)"),
                                QRegularExpression::MultilineOption);
    auto it = re.globalMatch(record());
    for (int seen = 0; it.hasNext(); ++seen) {
        const auto m = it.next();
        if (seen == nth)
            return m.captured(1).toLongLong();
    }
    return 0;
}

QStringList TestVpnClient::sessionFolders() const
{
    return QDir(m_helper.runtimeDir() + QStringLiteral("/engine"))
        .entryList({QStringLiteral("quellnet-tunnel-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

bool TestVpnClient::waitFor(const QString &event, int timeoutMs)
{
    return QTest::qWaitFor([&]() { return eventNames().contains(event); }, timeoutMs);
}

int TestVpnClient::startWith(const std::string &config, const std::string &server)
{
    engine()->setconfig(server, config);
    return engine()->start();
}

void TestVpnClient::startReturnsAtOnceAndTheSessionRunsInTheHelper()
{
    // openvpn takes a second and a half to come up; the caller does not wait for it.
    setFake("FAKE_OPENVPN_CONNECT_DELAY_MS", "1500");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(startWith(), 0);
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(engine()->isStart());

    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QCOMPARE(eventNames(), kConnectSequence);
    QCOMPARE(eventInfo(QStringLiteral("CONNECTING")), QStringLiteral("Waiting for the server"));
    QCOMPARE(eventInfo(QStringLiteral("CONNECTED")),
             QStringLiteral("Connected: SUCCESS, 10.8.0.6"));
    QVERIFY(allLogs().contains(QLatin1String("Initialization Sequence Completed")));
    QVERIFY(allLogs().contains(QLatin1String("OpenVPN Management Interface Version 5")));
    QCOMPARE(allLogs().count(QLatin1String("UDPv4 link remote")), 1);
    QVERIFY(engine()->isStart());
    QVERIFY(recorded().offCallerThread);

    // openvpn talks to the helper, not to this process, and reads a configuration the helper
    // wrote into its own private folder.
    const QString rec = record();
    const QRegularExpression peer(QStringLiteral("openvpn-management-peer pid=(\\d+)"));
    const qint64 helperPid = peer.match(rec).captured(1).toLongLong();
    QVERIFY(helperPid > 0 && helperPid != QCoreApplication::applicationPid());
    const QString folder = m_helper.runtimeDir() + QStringLiteral("/engine/") + sessionFolders()[0];
    QVERIFY2(
        rec.contains(
            QStringLiteral("openvpn-files config=%1/client.conf mode=600 dirmode=700").arg(folder)),
        qPrintable(rec));
    QCOMPARE(QFileInfo(m_helper.runtimeDir() + QStringLiteral("/engine")).permissions()
                 & (QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
    QFile copy(m_record + QStringLiteral(".conf"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    const QString conf = QString::fromUtf8(copy.readAll());
    const QString trailer = conf.mid(conf.indexOf(QLatin1String("# tunnelkit: engine")));
    QVERIFY(conf.contains(QLatin1String("<ca>\n-----BEGIN CERTIFICATE-----\n")));
    QVERIFY(trailer.contains(QStringLiteral("\ndev qnet%1\n").arg(helperPid)));
    QVERIFY(trailer.contains(QLatin1String("\nremote 127.66.0.9 1194\nproto udp\n")));
    for (const char *line : {"script-security 1", "mark 1903060340", "management-client",
                             "management-signal", "remap-usr1 SIGTERM", "verb 3"})
        QVERIFY2(trailer.contains(QLatin1Char('\n') + QLatin1String(line) + QLatin1Char('\n')),
                 line);
}

void TestVpnClient::managementSocketRefusesEveryoneButItsOpenvpn()
{
    // The fake connects late; meanwhile another process (this test) connects first.
    setFake("FAKE_OPENVPN_CONNECT_DELAY_MS", "600");
    QCOMPARE(startWith(), 0);
    const QString base = m_helper.runtimeDir() + QStringLiteral("/engine/");
    QByteArray path;
    QVERIFY(QTest::qWaitFor(
        [&]() {
            const QStringList f = sessionFolders();
            path = f.isEmpty() ? QByteArray() : QFile::encodeName(base + f[0] + "/mgmt.sock");
            struct stat st;
            return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode);
        },
        3000));
    struct stat st;
    QVERIFY(::stat(path.constData(), &st) == 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr = {};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
    QCOMPARE(::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    const timeval tv = {5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    char c;
    // Closed without a word.
    QCOMPARE(int(::read(fd, &c, 1)), 0);
    ::close(fd);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY(allLogs().contains(QStringLiteral("refused a management connection from pid %1")
                                   .arg(QCoreApplication::applicationPid())));
    QVERIFY(!QFile::exists(QString::fromLocal8Bit(path)));
}

void TestVpnClient::sessionOutcomes_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("info"); // of the last event
    QTest::addColumn<QString>("logged");

    const QStringList failedEarly = {"FAILED"};
    QTest::newRow("openvpn cannot reach the helper")
        << QByteArray("noconnect") << failedEarly
        << "openvpn ended before its management interface was up (exit code 1)"
        << "MANAGEMENT: connect to unix socket";
    QTest::newRow("openvpn refuses its options")
        << QByteArray("exitearly") << failedEarly
        << "openvpn ended before its management interface was up (exit code 1)"
        << "Options error: fake openvpn refuses to start";
    QTest::newRow("authentication failure")
        << QByteArray("authfail") << QStringList{"CONNECTING", "AUTH", "EXITING", "FAILED"}
        << "authentication failed"
        << "AUTH: Received control message: AUTH_FAILED";
    QTest::newRow("fatal error") << QByteArray("fatal")
                                 << QStringList{"CONNECTING", "EXITING", "FAILED"}
                                 << "Cannot open TUN/TAP dev /dev/net/tun: No such device"
                                 << "openvpn reports a fatal error";
    QTest::newRow("crash before connected")
        << QByteArray("crashearly") << QStringList{"CONNECTING", "FAILED"} << "openvpn crashed"
        << "tunnelkit: openvpn crashed";
    QTest::newRow("crash after connected")
        << QByteArray("crash") << kConnectSequence + QStringList{"DISCONNECTED"}
        << "openvpn crashed"
        << "tunnelkit: openvpn crashed";
    QTest::newRow("server lost") << QByteArray("serverloss")
                                 << kConnectSequence + QStringList{"EXITING", "DISCONNECTED"}
                                 << "connection lost: ping-restart"
                                 << "Inactivity timeout";
    QTest::newRow("unknown and engine-owned states")
        << QByteArray("unknown")
        << QStringList{"CONNECTING", "AUTH",      "AUTH_PENDING", "WEIRD_NEW_STATE",
                       "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES",   "CONNECTED"}
        << "Connected: SUCCESS, 10.8.0.6"
        << "state 'FAILED' ignored";
    QTest::newRow("garbage on the management link")
        << QByteArray("garbage") << kConnectSequence << "Connected: SUCCESS, 10.8.0.6"
        << "1 overlong management line(s) dropped";
    // A pushed auth-token is no question to answer, and its value is never logged.
    QTest::newRow("pushed auth-token")
        << QByteArray("authtoken") << kConnectSequence << "Connected: SUCCESS, 10.8.0.6"
        << "auth-token [redacted]";
}

void TestVpnClient::sessionOutcomes()
{
    QFETCH(QByteArray, mode);
    QFETCH(QStringList, events);
    QFETCH(QString, info);
    QFETCH(QString, logged);
    setFake("FAKE_OPENVPN_MODE", mode);
    QCOMPARE(startWith(), 0);
    QVERIFY2(waitFor(events.last(), 8000), qPrintable(eventNames().join(' ')));
    QTest::qWait(100);
    QCOMPARE(eventNames(), events);
    QCOMPARE(eventInfo(events.last()), info);
    QVERIFY2(allLogs().contains(logged), qPrintable(allLogs()));
    QVERIFY(!allLogs().contains(QLatin1String("SECRETTOKEN42")));
    const bool ended = events.last() == QLatin1String("FAILED")
        || events.last() == QLatin1String("DISCONNECTED");
    QCOMPARE(engine()->isStart(), !ended);
    if (ended) {
        QTRY_VERIFY(sessionFolders().isEmpty());
        QVERIFY(openvpnPid() == 0 || processGone(openvpnPid()));
    }
}

void TestVpnClient::throughputIsReportedWhileConnected()
{
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY(QTest::qWaitFor([]() { return recorded().traffic.size() >= 2; }, 5000));
    // 3 MiB in, 1 MiB out per one-second count; counts before CONNECTED give no report.
    for (const auto &t : recorded().traffic) {
        QCOMPARE(t.first, 3.0f);
        QCOMPARE(t.second, 1.0f);
    }
}

void TestVpnClient::stopEndsTheSessionAndStartReplacesARunningOne()
{
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const qint64 first = openvpnPid();
    // A second start replaces the session without a terminal event in between.
    QCOMPARE(startWith(), 0);
    QTRY_VERIFY(eventNames().count(QStringLiteral("CONNECTED")) == 2);
    QVERIFY(processGone(first));
    QCOMPARE(eventNames(), kConnectSequence + kConnectSequence);
    const qint64 second = openvpnPid(1);
    QVERIFY(second > 0 && second != first);

    const int before = eventNames().size();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(engine()->stop(), 0);
    QVERIFY(clock.elapsed() < 500);
    QVERIFY(!engine()->isStart());
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED")));
    QVERIFY(processGone(second));
    QTRY_VERIFY(sessionFolders().isEmpty());
    QTest::qWait(200);
    QCOMPARE(eventNames().mid(before), QStringList{QStringLiteral("DISCONNECTED")});
    QCOMPARE(eventInfo(QStringLiteral("DISCONNECTED")), QStringLiteral("stopped"));
    // A second stop says nothing.
    engine()->stop();
    QTest::qWait(200);
    QCOMPARE(eventNames().size(), before + 1);
}

void TestVpnClient::hostileConfigurationNeverStartsOpenvpn_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QString>("named");
    QTest::newRow("runs a program")
        << QByteArray("script-security 2\nup /bin/sh\n") << "'script-security'";
    QTest::newRow("no routes") << QByteArray("route-nopull\n") << "'route-nopull'";
    QTest::newRow("filtered push")
        << QByteArray("pull-filter ignore redirect-gateway\n") << "'pull-filter'";
    QTest::newRow("route around the tunnel")
        << QByteArray("route 0.0.0.0 0.0.0.0 net_gateway\n") << "'route'";
    QTest::newRow("NUL byte") << QByteArray("verb 3\n\0up /bin/sh\n", 19) << "NUL";
}

void TestVpnClient::hostileConfigurationNeverStartsOpenvpn()
{
    QFETCH(QByteArray, extra);
    QFETCH(QString, named);
    engine()->setKillSwith(3);
    QCOMPARE(startWith(std::string(kConfig) + extra.toStdString()), 0);
    QVERIFY(waitFor(QStringLiteral("FAILED")));
    QVERIFY2(eventInfo(QStringLiteral("FAILED")).contains(named),
             qPrintable(eventInfo(QStringLiteral("FAILED"))));
    QVERIFY(!engine()->isStart());
    // Neither openvpn nor nft ran.
    QCOMPARE(record(), QString());
    QVERIFY(sessionFolders().isEmpty());
}

void TestVpnClient::firewallFollowsTheSession_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("userStop");
    QTest::addColumn<QString>("after"); // "blocked" or "removed"
    QTest::newRow("kill switch, user stop") << 3 << false << true << "removed";
    QTest::newRow("kill switch, user stop, keep") << 3 << true << true << "blocked";
    QTest::newRow("kill switch, server lost") << 3 << false << false << "blocked";
    QTest::newRow("leak protection only, user stop") << 0 << false << true << "removed";
    QTest::newRow("leak protection only, server lost") << 0 << true << false << "removed";
}

void TestVpnClient::firewallFollowsTheSession()
{
    QFETCH(int, level);
    QFETCH(bool, keep);
    QFETCH(bool, userStop);
    QFETCH(QString, after);
    engine()->setKillSwith(level);
    engine()->setKillDisconnect(keep);
    if (!userStop)
        setFake("FAKE_OPENVPN_MODE", "serverloss");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    // The rules came before openvpn, the tunnel's rules before CONNECTED.
    const QString rec = record();
    QVERIFY(rec.indexOf(QLatin1String("table inet quellnet {"))
            < rec.indexOf(QLatin1String("openvpn-start")));
    QStringList scripts = nftScripts();
    QCOMPARE(scripts.size(), 2);
    QVERIFY(scripts[0].contains(level == 3 ? QLatin1String("policy drop")
                                           : QLatin1String("policy accept")));
    QVERIFY(scripts[0].contains(QLatin1String("udp dport 53 drop")));
    QVERIFY(scripts[1].contains(QLatin1String("ip daddr 10.8.0.6 drop")));

    if (userStop)
        engine()->stop();
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED"), 8000));
    QTRY_COMPARE(nftScripts().size(), 3);
    const QString last = nftScripts().last();
    if (after == QLatin1String("blocked")) {
        QVERIFY(last.contains(QLatin1String("policy drop")));
        QVERIFY(!last.contains(QLatin1String("meta mark")));
    } else {
        QCOMPARE(last, QStringLiteral("table inet quellnet\ndelete table inet quellnet\n"));
    }
}

void TestVpnClient::firewallFailuresEndTheAttempt_data()
{
    QTest::addColumn<QByteArray>("failOn");
    QTest::addColumn<bool>("openvpnRan");
    QTest::newRow("rules before openvpn") << QByteArray("policy drop") << false;
    QTest::newRow("tunnel rules") << QByteArray("add rule") << true;
}

void TestVpnClient::firewallFailuresEndTheAttempt()
{
    QFETCH(QByteArray, failOn);
    QFETCH(bool, openvpnRan);
    setFake("FAKE_NFT_FAIL_ON", failOn);
    engine()->setKillSwith(3);
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("FAILED"), 8000));
    QVERIFY(!eventNames().contains(QLatin1String("CONNECTED")));
    QVERIFY(allLogs().contains(QLatin1String("fake nft refuses this script")));
    QCOMPARE(openvpnPid() > 0, openvpnRan);
    QTRY_VERIFY(openvpnPid() == 0 || processGone(openvpnPid()));
}

void TestVpnClient::aSessionOutlivesItsClientAndLateClientsAreToldItsState()
{
    RawClient watcher;
    QVERIFY(watcher.open(m_helper.socketPath()));
    watcher.send(wire::Type::Hello);
    wire::Message m;
    QVERIFY(watcher.receive(wire::Type::State, &m));
    QCOMPARE(wire::boolField(m.body, "running"), false);

    // A client connects and goes away at once, as a crashed one would.
    {
        RawClient shortLived;
        QVERIFY(shortLived.open(m_helper.socketPath()));
        QCborMap body{{QStringLiteral("seq"), 1},
                      {QStringLiteral("server"), QStringLiteral("127.66.0.9")},
                      {QStringLiteral("config"), QByteArray(kConfig)}};
        shortLived.send(wire::Type::Connect, body);
    }
    // Everyone authorised hears how it goes: this process's vpnclient and the watcher.
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    QVERIFY(engine()->isStart());
    QVERIFY(watcher.receive(wire::Type::Event, &m));

    RawClient late;
    QVERIFY(late.open(m_helper.socketPath()));
    late.send(wire::Type::Query);
    QVERIFY(late.receive(wire::Type::State, &m));
    QCOMPARE(wire::boolField(m.body, "running"), true);
    QCOMPARE(wire::textField(m.body, "name"), QStringLiteral("CONNECTED"));
    QCOMPARE(wire::textField(m.body, "info"), QStringLiteral("Connected: SUCCESS, 10.8.0.6"));
}

void TestVpnClient::malformedMessagesAreAnsweredAndTheConnectionEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray oversized("QN\x01\x02", 4);
    oversized += QByteArray("\x7f\xff\xff\xff", 4);
    QTest::newRow("not ours") << QByteArray("GET / HTTP/1.0\r\n\r\n");
    QTest::newRow("other version") << QByteArray("QN\x09\x01\x00\x00\x00\x00", 8);
    QTest::newRow("unknown type") << QByteArray("QN\x01\x63\x00\x00\x00\x00", 8);
    QTest::newRow("over the size limit") << oversized;
    QTest::newRow("body no map") << QByteArray("QN\x01\x01\x00\x00\x00\x01\x01", 9);
    QTest::newRow("an event from a client") << wire::encode({wire::Type::Event, QCborMap()});
}

void TestVpnClient::malformedMessagesAreAnsweredAndTheConnectionEnds()
{
    QFETCH(QByteArray, bytes);
    RawClient client;
    QVERIFY(client.open(m_helper.socketPath()));
    client.sendBytes(bytes);
    wire::Message m;
    QVERIFY(client.receive(wire::Type::Error, &m));
    QVERIFY(!wire::textField(m.body, "text").isEmpty());
    QVERIFY(client.closedByPeer());
    QCOMPARE(record(), QString());
}

void TestVpnClient::aUserWhoMayNotIsRefused()
{
    if (geteuid() != 0)
        QSKIP("needs root to act as another user");
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const QString conf = m_helper.runtimeDir() + QStringLiteral("/engine/") + sessionFolders()[0]
        + QStringLiteral("/client.conf");
    QFile original(conf);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    const QByteArray confPath = QFile::encodeName(conf);
    const QByteArray path = QFile::encodeName(m_helper.socketPath());
    const QByteArray connect = wire::encode(
        {wire::Type::Connect,
         QCborMap{{QStringLiteral("seq"), 1}, {QStringLiteral("config"), QByteArray(kConfig)}}});
    const pid_t child = fork();
    if (child == 0) {
        // nobody: not root, not in the test's group, not at a desktop.
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        // The configuration openvpn reads cannot be rewritten from outside.
        if (::open(confPath.constData(), O_WRONLY | O_CLOEXEC) >= 0 || errno != EACCES)
            _exit(14);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr = {};
        addr.sun_family = AF_UNIX;
        qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0)
            _exit(11);
        if (::write(fd, connect.constData(), size_t(connect.size())) != connect.size())
            _exit(12);
        const timeval tv = {10, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        char header[8];
        if (::read(fd, header, 8) != 8 || header[3] != char(wire::Type::Error))
            _exit(13);
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QTest::qWait(300);
    // The session goes on untouched: no second openvpn, the same configuration.
    QCOMPARE(record().count(QLatin1String("openvpn-start")), 1);
    QVERIFY(engine()->isStart());
    original.seek(0);
    QCOMPARE(original.readAll(), before);
    QVERIFY(m_helper.output().contains(QLatin1String("uid 65534 is not authorised")));
}

void TestVpnClient::aTunnelThatCarriesNoDefaultRouteFails()
{
    // The fake makes no tunnel device, so a helper that checks the routes (a read-only
    // look-up) finds the default route elsewhere and must not leave the session Connected.
    HelperProcess checking;
    HelperProcess::Options options = fakeOptions();
    options.routeCheck = true;
    QString error;
    QVERIFY2(checking.start(options, &error), qPrintable(error));
    RawClient client;
    QVERIFY(client.open(checking.socketPath()));
    client.send(wire::Type::Connect,
                QCborMap{{QStringLiteral("seq"), 1},
                         {QStringLiteral("server"), QStringLiteral("127.66.0.9")},
                         {QStringLiteral("config"), QByteArray(kConfig)}});
    QStringList names;
    wire::Message m;
    while (!names.contains(QLatin1String("FAILED")) && client.receive(wire::Type::Event, &m))
        names << wire::textField(m.body, "name");
    QVERIFY2(!names.contains(QLatin1String("CONNECTED")), qPrintable(names.join(' ')));
    QCOMPARE(names.last(), QStringLiteral("FAILED"));
    QVERIFY2(wire::textField(m.body, "info").contains(QLatin1String("default route")),
             qPrintable(wire::textField(m.body, "info")));
    QVERIFY(checking.stop());
}

void TestVpnClient::helperCrashEndsTheSessionAndItsRestartCleansUp()
{
    engine()->setKillSwith(3);
    engine()->setKillDisconnect(true);
    QCOMPARE(startWith(), 0);
    QVERIFY(waitFor(QStringLiteral("CONNECTED")));
    const qint64 openvpn = openvpnPid();
    const QString runtime = m_helper.runtimeDir();
    m_helper.kill();
    // openvpn goes with its management link; the client is told.
    QVERIFY(waitFor(QStringLiteral("DISCONNECTED")));
    QCOMPARE(eventInfo(QStringLiteral("DISCONNECTED")),
             QStringLiteral("the Quellnet helper stopped"));
    QVERIFY(!engine()->isStart());
    QTRY_VERIFY(processGone(openvpn));
    QVERIFY(!sessionFolders().isEmpty());

    // Without a helper a start fails at once and says how to start one.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(startWith() != 0);
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(waitFor(QStringLiteral("FAILED")));
    QVERIFY(eventInfo(QStringLiteral("FAILED")).contains(QLatin1String("systemctl start")));

    // The next helper removes the session's files and keeps the block that was asked for.
    const int scripts = nftScripts().size();
    QVERIFY(startHelper(runtime));
    QVERIFY(sessionFolders().isEmpty());
    QCOMPARE(nftScripts().size(), scripts + 1);
    QVERIFY(nftScripts().last().contains(QLatin1String("policy drop")));
    QTRY_VERIFY(m_helper.output().contains(QLatin1String("left by an engine that ended")));
}

QTEST_GUILESS_MAIN(TestVpnClient)
#include "tst_vpnclient.moc"
