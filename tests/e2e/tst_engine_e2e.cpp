// End-to-end tests of the tunnel engine against a real openvpn server. e2e-net.sh runs this
// inside the client namespace of a throw-away test network; anywhere else every test skips,
// so the machine's own network is never touched.
#include "vpnclient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostInfo>
#include <QMutex>
#include <QNetworkInterface>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ---------------------------------------------------------------- the test network

struct TestNet
{
    QString ctl;
    QString nsRouter, nsClient, nsLan, nsServer, nsOutside;
    QString clientIp, lanIp, routerLanIp, serverIp, routerServerIp, outsideIp, routerOutsideIp;
    QString tunServerIp;
    quint16 vpnPort = 0;
    quint16 httpPort = 0;
    QByteArray config;
    QByteArray wrongCaConfig;

    bool load(QString *why)
    {
        const auto env = [&](const char *name) {
            return qEnvironmentVariable(name);
        };
        ctl = env("QUELLNET_E2E_CTL");
        nsRouter = env("QUELLNET_E2E_NS_ROUTER");
        nsClient = env("QUELLNET_E2E_NS_CLIENT");
        nsLan = env("QUELLNET_E2E_NS_LAN");
        nsServer = env("QUELLNET_E2E_NS_SERVER");
        nsOutside = env("QUELLNET_E2E_NS_OUTSIDE");
        clientIp = env("QUELLNET_E2E_CLIENT_IP");
        lanIp = env("QUELLNET_E2E_LAN_IP");
        routerLanIp = env("QUELLNET_E2E_ROUTER_LAN_IP");
        serverIp = env("QUELLNET_E2E_SERVER_IP");
        routerServerIp = env("QUELLNET_E2E_ROUTER_SERVER_IP");
        outsideIp = env("QUELLNET_E2E_OUTSIDE_IP");
        routerOutsideIp = env("QUELLNET_E2E_ROUTER_OUTSIDE_IP");
        tunServerIp = env("QUELLNET_E2E_TUN_SERVER_IP");
        vpnPort = quint16(env("QUELLNET_E2E_VPN_PORT").toUInt());
        httpPort = quint16(env("QUELLNET_E2E_HTTP_PORT").toUInt());
        for (const QString &v :
             {ctl, nsRouter, nsClient, nsLan, nsServer, nsOutside, clientIp, lanIp, routerLanIp,
              serverIp, routerServerIp, outsideIp, routerOutsideIp, tunServerIp}) {
            if (v.isEmpty()) {
                *why = QStringLiteral("not started by e2e-net.sh");
                return false;
            }
        }
        QFile good(env("QUELLNET_E2E_CLIENT_OVPN"));
        QFile wrong(env("QUELLNET_E2E_WRONGCA_OVPN"));
        if (!good.open(QIODevice::ReadOnly) || !wrong.open(QIODevice::ReadOnly)) {
            *why = QStringLiteral("client configurations missing");
            return false;
        }
        config = good.readAll();
        wrongCaConfig = wrong.readAll();
        // The one guard that keeps engine, nft and openvpn off the machine's own network.
        struct stat self = {};
        struct stat client = {};
        if (::stat("/proc/self/ns/net", &self) != 0
            || ::stat(QFile::encodeName(QStringLiteral("/run/netns/") + nsClient).constData(),
                      &client)
                != 0
            || self.st_ino != client.st_ino || self.st_dev != client.st_dev) {
            *why = QStringLiteral("not inside the test client namespace");
            return false;
        }
        return true;
    }
};

TestNet net;

// Exit code of a program, -1 if it crashed or hung. Its output is dropped, its errors too
// unless `showErrors`.
int run(const QString &program, const QStringList &args, int timeoutMs = 20000,
        bool showErrors = false)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    if (showErrors)
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return -1;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

int runIn(const QString &ns, const QStringList &command, int timeoutMs = 20000)
{
    return run(QStringLiteral("ip"),
               QStringList{QStringLiteral("netns"), QStringLiteral("exec"), ns} + command,
               timeoutMs);
}

bool ctl(const QString &command)
{
    return run(QStringLiteral("bash"), {net.ctl, command}, 30000, true) == 0;
}

// ---------------------------------------------------------------- what the engine reports

struct Recorder
{
    QMutex mutex;
    QStringList events;
    QStringList logs;
    float maxIn = 0;
    float maxOut = 0;
};

Recorder rec;

void onEvent(const std::string &name, const std::string &info)
{
    QMutexLocker lock(&rec.mutex);
    Q_UNUSED(info)
    rec.events << QString::fromStdString(name);
}

void onLog(const std::string &line)
{
    QMutexLocker lock(&rec.mutex);
    rec.logs << QString::fromStdString(line);
}

void onTraffic(float inMb, float outMb)
{
    QMutexLocker lock(&rec.mutex);
    rec.maxIn = qMax(rec.maxIn, inMb);
    rec.maxOut = qMax(rec.maxOut, outMb);
}

int eventMark()
{
    QMutexLocker lock(&rec.mutex);
    return rec.events.size();
}

QStringList eventsSince(int mark)
{
    QMutexLocker lock(&rec.mutex);
    return rec.events.mid(mark);
}

int logMark()
{
    QMutexLocker lock(&rec.mutex);
    return rec.logs.size();
}

QStringList logsSince(int mark)
{
    QMutexLocker lock(&rec.mutex);
    return rec.logs.mid(mark);
}

float maxInRate()
{
    QMutexLocker lock(&rec.mutex);
    return rec.maxIn;
}

float maxOutRate()
{
    QMutexLocker lock(&rec.mutex);
    return rec.maxOut;
}

bool ratesReported()
{
    return maxInRate() > 0 && maxOutRate() > 0;
}

void resetTraffic()
{
    QMutexLocker lock(&rec.mutex);
    rec.maxIn = rec.maxOut = 0;
}

const QStringList endStates
    = {QStringLiteral("CONNECTED"), QStringLiteral("FAILED"), QStringLiteral("DISCONNECTED")};

// The first of `names` seen since `mark`, waiting at most `ms`; empty if none came.
QString waitForEvent(int mark, const QStringList &names, int ms)
{
    QString found;
    const bool ok = QTest::qWaitFor(
        [&] {
            for (const QString &e : eventsSince(mark)) {
                if (names.contains(e)) {
                    found = e;
                    return true;
                }
            }
            return false;
        },
        ms);
    return ok ? found : QString();
}

// ---------------------------------------------------------------- the client host

QByteArray procFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// "net:[inode]" of a process; empty when it is gone.
QByteArray netnsOf(const QByteArray &procDir)
{
    char buf[64];
    const QByteArray link = procDir + QByteArray("/ns/net");
    const ssize_t n = ::readlink(link.constData(), buf, sizeof buf);
    return n > 0 ? QByteArray(buf, int(n)) : QByteArray();
}

// Live openvpn processes in this network namespace (the server's runs in another one).
QList<qint64> openvpnHere()
{
    QList<qint64> pids;
    const QByteArray self = netnsOf("/proc/self");
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QString dir = QStringLiteral("/proc/") + entry;
        const QByteArray stat = procFile(dir + QStringLiteral("/stat"));
        const int open = stat.indexOf('(');
        const int close = stat.lastIndexOf(')');
        if (open < 0 || close < open || stat.mid(open + 1, close - open - 1) != "openvpn")
            continue;
        if (stat.mid(close + 2, 1) == "Z")
            continue;
        if (!self.isEmpty() && netnsOf(QFile::encodeName(dir)) == self)
            pids << pid;
    }
    return pids;
}

// The engine names its tunnel device qnet<pid>; openvpn's default would be tun<n>.
QStringList tunInterfaces()
{
    QStringList names;
    const auto all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &i : all) {
        if (i.name().startsWith(QLatin1String("qnet")) || i.name().startsWith(QLatin1String("tun")))
            names << i.name();
    }
    return names;
}

// The engine's per-session folders (quellnet-tunnel-XXXXXX) and everything in them.
QStringList runtimeEntries()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty())
        base = QDir::tempPath();
    QStringList entries;
    const QStringList dirs = QDir(base).entryList({QStringLiteral("quellnet-tunnel-*")},
                                                  QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &d : dirs) {
        const QString dir = base + QLatin1Char('/') + d;
        entries << dir;
        const QStringList files
            = QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &f : files)
            entries << dir + QLatin1Char('/') + f;
    }
    return entries;
}

bool killSwitchTableExists()
{
    return run(QStringLiteral("nft"),
               {QStringLiteral("list"), QStringLiteral("table"), QStringLiteral("inet"),
                QStringLiteral("quellnet")})
        == 0;
}

bool pingOnce(const QString &ip, int count = 1)
{
    return run(QStringLiteral("ping"),
               {QStringLiteral("-n"), QStringLiteral("-c"), QString::number(count),
                QStringLiteral("-i"), QStringLiteral("0.2"), QStringLiteral("-W"),
                QStringLiteral("2"), ip})
        == 0;
}

QByteArray dnsQuery(const QByteArray &name)
{
    QByteArray q = QByteArray::fromHex("12340100000100000000000000");
    q.chop(1);
    for (const QByteArray &label : name.split('.')) {
        q += char(label.size());
        q += label;
    }
    q += QByteArray::fromHex("0000010001");
    return q;
}

// Sends one ping, one DNS query, one TCP SYN and (optionally) one resolver lookup to `ip`.
void probe(const QString &ip, bool viaResolver)
{
    QProcess ping;
    ping.start(QStringLiteral("ping"),
               {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                QStringLiteral("-W"), QStringLiteral("1"), ip});
    QUdpSocket udp;
    udp.writeDatagram(dnsQuery("probe.quellnet.test"), QHostAddress(ip), 53);
    QTcpSocket tcp;
    tcp.connectToHost(ip, 80);
    QObject context;
    bool resolved = !viaResolver;
    int lookupId = -1;
    if (viaResolver) {
        lookupId = QHostInfo::lookupHost(QStringLiteral("leak-probe.quellnet.test"), &context,
                                         [&resolved](const QHostInfo &) { resolved = true; });
    }
    (void)QTest::qWaitFor([&] { return ping.state() == QProcess::NotRunning && resolved; }, 6000);
    if (!resolved)
        QHostInfo::abortHostLookup(lookupId);
    tcp.abort();
    if (ping.state() != QProcess::NotRunning) {
        ping.kill();
        ping.waitForFinished(2000);
    }
}

// Sends datagrams to the VPN server's port from a fresh source port, as any program could;
// returns that port.
quint16 knockServerPort()
{
    QUdpSocket udp;
    quint16 port = 0;
    for (int i = 0; i < 20 && port == 0; ++i) {
        const quint16 candidate = quint16(QRandomGenerator::global()->bounded(40000, 60000));
        if (udp.bind(QHostAddress::AnyIPv4, candidate))
            port = candidate;
    }
    for (int i = 0; i < 3; ++i)
        udp.writeDatagram("not openvpn", QHostAddress(net.serverIp), net.vpnPort);
    return port;
}

// ---------------------------------------------------------------- packet capture elsewhere

struct Packet
{
    QString src;
    QString dst;
    int srcPort = -1;
    int dstPort = -1;
    QString kind; // ICMP, UDP, tcp
};

// tcpdump on eth0 of another test namespace; packets are read as they arrive.
class Capture
{
public:
    ~Capture() { stop(); }

    bool start(const QString &ns, const QString &filter)
    {
        m_proc.start(QStringLiteral("ip"),
                     {QStringLiteral("netns"), QStringLiteral("exec"), ns,
                      QStringLiteral("tcpdump"), QStringLiteral("-n"), QStringLiteral("-q"),
                      QStringLiteral("-t"), QStringLiteral("-l"),
                      QStringLiteral("--immediate-mode"), QStringLiteral("-i"),
                      QStringLiteral("eth0"), filter});
        return m_proc.waitForStarted(5000)
            && QTest::qWaitFor(
                   [this] {
                       m_err += m_proc.readAllStandardError();
                       return m_err.contains("listening on")
                           || m_proc.state() == QProcess::NotRunning;
                   },
                   10000)
            && m_proc.state() == QProcess::Running;
    }

    void stop()
    {
        if (m_proc.state() == QProcess::NotRunning)
            return;
        m_proc.terminate();
        if (!m_proc.waitForFinished(3000)) {
            m_proc.kill();
            m_proc.waitForFinished(2000);
        }
    }

    QList<Packet> packets()
    {
        m_out += m_proc.readAllStandardOutput();
        static const QRegularExpression line(QStringLiteral("^IP (\\S+) > (\\S+): (\\S+)"));
        QList<Packet> result;
        for (const QByteArray &raw : m_out.split('\n')) {
            const auto m = line.match(QString::fromLatin1(raw));
            if (!m.hasMatch())
                continue;
            Packet p;
            QStringList src = m.captured(1).split(QLatin1Char('.'));
            QStringList dst = m.captured(2).split(QLatin1Char('.'));
            if (dst.size() == 5)
                p.dstPort = dst.takeLast().toInt();
            if (src.size() == 5)
                p.srcPort = src.takeLast().toInt();
            p.src = src.join(QLatin1Char('.'));
            p.dst = dst.join(QLatin1Char('.'));
            p.kind = m.captured(3).remove(QLatin1Char(','));
            result << p;
        }
        return result;
    }

    int countFrom(const QString &src) { return countFrom(src, QString(), -1); }

    int countFrom(const QString &src, const QString &kind, int dstPort)
    {
        int n = 0;
        const auto all = packets();
        for (const Packet &p : all) {
            if (p.src == src && (kind.isEmpty() || p.kind == kind)
                && (dstPort < 0 || p.dstPort == dstPort))
                ++n;
        }
        return n;
    }

    int countFromTunnelRange()
    {
        int n = 0;
        const QString tunNet
            = net.tunServerIp.left(net.tunServerIp.lastIndexOf(QLatin1Char('.')) + 1);
        const auto all = packets();
        for (const Packet &p : all) {
            if (p.src.startsWith(tunNet))
                ++n;
        }
        return n;
    }

    int countFromPort(const QString &src, int srcPort)
    {
        int n = 0;
        const auto all = packets();
        for (const Packet &p : all) {
            if (p.src == src && p.srcPort == srcPort)
                ++n;
        }
        return n;
    }

    QString dump()
    {
        m_out += m_proc.readAllStandardOutput();
        return QString::fromLatin1(m_out);
    }

private:
    QProcess m_proc;
    QByteArray m_out;
    QByteArray m_err;
};

// The router pings `target`; once that marker shows up in `capture`, every earlier probe from
// the client has had its chance to arrive too (same path, sent before).
bool markerSeen(Capture &capture, const QString &routerIp, const QString &target)
{
    runIn(net.nsRouter,
          {QStringLiteral("ping"), QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
           QStringLiteral("-W"), QStringLiteral("2"), target});
    return QTest::qWaitFor(
        [&] { return capture.countFrom(routerIp, QStringLiteral("ICMP"), -1) > 0; }, 5000);
}

// ---------------------------------------------------------------- traffic through the tunnel

// HTTP download from the test server; the number of body bytes, or -1.
qint64 download(const QString &host, quint16 port, qint64 size, int ms)
{
    QTcpSocket socket;
    QByteArray head;
    qint64 body = 0;
    bool headerDone = false;
    bool done = false;
    bool patternOk = true;
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        socket.write("GET /bytes/" + QByteArray::number(size) + " HTTP/1.0\r\n\r\n");
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        QByteArray data = socket.readAll();
        if (!headerDone) {
            head += data;
            const int end = head.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            headerDone = true;
            data = head.mid(end + 4);
            head.truncate(end);
        }
        // The server sends 'a'..'z' repeated, counted from the first body byte.
        for (int i = 0; i < data.size() && patternOk; i += 4099) {
            if (data[i] != char('a' + (body + i) % 26))
                patternOk = false;
        }
        body += data.size();
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { done = true; });
    QObject::connect(&socket, &QAbstractSocket::errorOccurred, [&] { done = true; });
    socket.connectToHost(host, port);
    if (!QTest::qWaitFor([&] { return done; }, ms) || !head.startsWith("HTTP/1.0 200")
        || !patternOk)
        return -1;
    return body;
}

// ---------------------------------------------------------------- the child for the SIGKILL test

int connectedChild(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString why;
    if (!net.load(&why)) {
        std::fprintf(stderr, "child: %s\n", qPrintable(why));
        return 2;
    }
    vpn_event_set_callback(onEvent);
    vpn_log_set_callback(onLog);
    vpn_traffic_set_callback(onTraffic);
    vpnclient::instance()->setKillSwith(0);
    vpnclient::instance()->setKillDisconnect(false);
    vpnclient::instance()->setKillLocal(true);
    vpnclient::instance()->setconfig(net.serverIp.toStdString(), net.config.toStdString());
    const bool started = vpnclient::instance()->start() == 0;
    if (!started || waitForEvent(0, endStates, 30000) != QLatin1String("CONNECTED")) {
        std::fprintf(stderr, "child: no connection: %s\n",
                     qPrintable(logsSince(0).join(QLatin1Char('\n'))));
        vpnclient::instance()->stop();
        vpnclient::instance()->close();
        return 3;
    }
    std::printf("CONNECTED\n");
    std::fflush(stdout);
    // Waits to be killed; gives up by itself so it can never linger.
    (void)QTest::qWaitFor([] { return false; }, 60000);
    vpnclient::instance()->stop();
    vpnclient::instance()->close();
    return 4;
}

} // namespace

// ---------------------------------------------------------------- the tests

class EngineE2e : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void connectReportsConnectedAndCarriesTraffic();
    void stopEndsOpenvpnAndRemovesTunnelAndFiles();
    void startWhileConnectedReplacesTheSession();
    void wrongCaEndsInFailed();
    void serverKilledWhileConnectedEndsInDisconnected();
    void unsafeConfigurationNeverStartsOpenvpn_data();
    void unsafeConfigurationNeverStartsOpenvpn();
    void withoutKillSwitchProbesGetOut();
    void killSwitchBlocksEverythingOutsideTheTunnel();
    void killSwitchWithLocalAllowedPassesLanOnly();
    void levelZeroAtNextConnectLiftsTheBlock();
    void blockWhileDisconnectedKeepsBlockAfterStop();
    void openvpnExitsWhenControllerIsKilled();

private:
    struct KillSwitch
    {
        int level = 0;
        bool keepAfterStop = false;
        bool allowLocal = true;
    };

    // Each returns an empty text on success, else what went wrong.
    QString connectWith(const KillSwitch &ks);
    QString dropTunnel();
    QString stopEngine();

    // Only inside the test namespace may anything reach the engine (and so nft or openvpn).
    bool m_inside = false;
};

QString EngineE2e::connectWith(const KillSwitch &ks)
{
    vpnclient *engine = vpnclient::instance();
    engine->setKillSwith(ks.level);
    engine->setKillDisconnect(ks.keepAfterStop);
    engine->setKillLocal(ks.allowLocal);
    engine->setconfig(net.serverIp.toStdString(), net.config.toStdString());
    const int mark = eventMark();
    const int rc = vpnclient::instance()->start();
    if (rc != 0)
        return QStringLiteral("start() returned %1").arg(rc);
    const QString end = waitForEvent(mark, endStates, 30000);
    if (end != QLatin1String("CONNECTED")) {
        return QStringLiteral("no CONNECTED; events: %1")
            .arg(eventsSince(mark).join(QLatin1Char(' ')));
    }
    return QString();
}

// Kills the server; the engine notices by the pushed ping-restart (5 s) and ends the session.
QString EngineE2e::dropTunnel()
{
    const int mark = eventMark();
    if (!ctl(QStringLiteral("server-kill")))
        return QStringLiteral("could not kill the server");
    const QString end = waitForEvent(mark, endStates, 30000);
    if (end != QLatin1String("DISCONNECTED")) {
        return QStringLiteral("the lost server did not end in DISCONNECTED; events: %1")
            .arg(eventsSince(mark).join(QLatin1Char(' ')));
    }
    if (!QTest::qWaitFor([] { return tunInterfaces().isEmpty(); }, 10000))
        return QStringLiteral("tunnel interface still up after the server died");
    return QString();
}

QString EngineE2e::stopEngine()
{
    vpnclient::instance()->stop();
    if (vpnclient::instance()->isStart())
        return QStringLiteral("isStart() still true after stop()");
    if (!QTest::qWaitFor([] { return openvpnHere().isEmpty(); }, 10000))
        return QStringLiteral("openvpn still running after stop()");
    return QString();
}

void EngineE2e::initTestCase()
{
    QString why;
    if (!net.load(&why))
        QSKIP(qPrintable(why));
    m_inside = true;
    vpn_event_set_callback(onEvent);
    vpn_log_set_callback(onLog);
    vpn_traffic_set_callback(onTraffic);
    QVERIFY2(openvpnHere().isEmpty(), "an openvpn client already runs in the test namespace");
    QVERIFY(!killSwitchTableExists());
    QVERIFY2(ctl(QStringLiteral("server-alive")), "the test server is not running");
}

void EngineE2e::init()
{
    QVERIFY(ctl(QStringLiteral("server-start")));
    resetTraffic();
}

void EngineE2e::cleanup()
{
    if (!m_inside)
        return;
    vpnclient *engine = vpnclient::instance();
    engine->setKillSwith(0);
    engine->setKillDisconnect(false);
    engine->setKillLocal(true);
    const QString stopped = stopEngine();
    // A stop at level 0 settles the kill switch; if it did not, the next test must not
    // inherit the block.
    const bool tableLeft = killSwitchTableExists();
    if (tableLeft) {
        run(QStringLiteral("nft"),
            {QStringLiteral("delete"), QStringLiteral("table"), QStringLiteral("inet"),
             QStringLiteral("quellnet")});
    }
    QVERIFY2(stopped.isEmpty(), qPrintable(stopped));
    QVERIFY2(!tableLeft, "stop() at level 0 left the kill-switch table");
    QVERIFY2(runtimeEntries().isEmpty(), qPrintable(runtimeEntries().join(QLatin1Char(' '))));
}

void EngineE2e::cleanupTestCase()
{
    // Qt runs this even when initTestCase skipped.
    if (!m_inside)
        return;
    vpnclient::instance()->stop();
    vpnclient::instance()->close();
    QVERIFY(openvpnHere().isEmpty());
    QVERIFY(!killSwitchTableExists());
}

void EngineE2e::connectReportsConnectedAndCarriesTraffic()
{
    const int events = eventMark();
    const int logs = logMark();
    const QString err = connectWith(KillSwitch());
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QVERIFY(vpnclient::instance()->isStart());

    const QStringList seen = eventsSince(events);
    const QString sequence = seen.join(QLatin1Char(' '));
    QCOMPARE(seen.last(), QStringLiteral("CONNECTED"));
    QCOMPARE(seen.count(QStringLiteral("CONNECTED")), 1);
    QVERIFY2(!seen.contains(QStringLiteral("FAILED")), qPrintable(sequence));
    QVERIFY2(!seen.contains(QStringLiteral("DISCONNECTED")), qPrintable(sequence));
    // The client reads WAIT as idle, so it must not appear while connecting.
    QVERIFY2(!seen.contains(QStringLiteral("WAIT")), qPrintable(sequence));
    // openvpn's management states pass through in its order (GET_CONFIG may be skipped when
    // the server pushes early).
    const int auth = seen.indexOf(QStringLiteral("AUTH"));
    const int assign = seen.indexOf(QStringLiteral("ASSIGN_IP"));
    QVERIFY2(auth >= 0 && assign > auth, qPrintable(sequence));

    QCOMPARE(openvpnHere().size(), 1);
    QCOMPARE(tunInterfaces().size(), 1);
    QVERIFY2(pingOnce(net.tunServerIp, 3), "the server's tunnel address does not answer");

    // Downloads until the engine has reported a rate; bounded in count and time.
    const qint64 size = 32 * 1024 * 1024;
    QElapsedTimer timer;
    timer.start();
    int downloads = 0;
    while (!ratesReported() && downloads < 10 && timer.elapsed() < 30000) {
        QCOMPARE(download(net.tunServerIp, net.httpPort, size, 20000), size);
        ++downloads;
        (void)QTest::qWaitFor(ratesReported, 1500);
    }
    QVERIFY2(maxInRate() > 0, "no incoming rate reported during the downloads");
    // The client's acknowledgements go out through the tunnel too.
    QVERIFY2(maxOutRate() > 0, "no outgoing rate reported during the downloads");
    // 32 MiB over a few seconds at most: the figure is in MB/s, not bytes.
    QVERIFY2(maxInRate() < 10000, qPrintable(QString::number(maxInRate())));

    const QStringList lines = logsSince(logs);
    QVERIFY2(lines.filter(QStringLiteral("Initialization Sequence Completed")).size() == 1,
             "openvpn's log does not reach the log callback");
}

void EngineE2e::stopEndsOpenvpnAndRemovesTunnelAndFiles()
{
    QString err = connectWith(KillSwitch());
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QList<qint64> pids = openvpnHere();
    QCOMPARE(pids.size(), 1);
    const QStringList files = runtimeEntries();
    QVERIFY2(files.size() >= 2, qPrintable(files.join(QLatin1Char(' '))));
    // The configuration holds the client key: its folder and it are the owner's only.
    const QFileDevice::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(files.first()) & others, QFileDevice::Permissions());
    for (const QString &f : files) {
        if (f.endsWith(QLatin1String(".conf"))) {
            QCOMPARE(
                QFile::permissions(f)
                    & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                QFileDevice::Permissions());
        }
    }

    const int mark = eventMark();
    vpnclient::instance()->stop();
    QVERIFY(!vpnclient::instance()->isStart());
    QTRY_VERIFY_WITH_TIMEOUT(openvpnHere().isEmpty(), 5000);
    QVERIFY(!QFile::exists(QStringLiteral("/proc/%1/exe").arg(pids.first())));
    QTRY_VERIFY_WITH_TIMEOUT(tunInterfaces().isEmpty(), 5000);
    for (const QString &f : files)
        QVERIFY2(!QFile::exists(f), qPrintable(f + QStringLiteral(" left behind")));
    QTRY_COMPARE_WITH_TIMEOUT(eventsSince(mark), QStringList{QStringLiteral("DISCONNECTED")}, 5000);

    err = connectWith(KillSwitch());
    QVERIFY2(err.isEmpty(), qPrintable(QStringLiteral("second start: ") + err));
    QVERIFY2(pingOnce(net.tunServerIp), "no ping after the second start");
}

// How the client applies a kill-switch change while connected: start() again.
void EngineE2e::startWhileConnectedReplacesTheSession()
{
    QString err = connectWith(KillSwitch());
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QList<qint64> before = openvpnHere();
    QCOMPARE(before.size(), 1);
    QVERIFY(!killSwitchTableExists());

    const int mark = eventMark();
    KillSwitch on;
    on.level = 3;
    on.allowLocal = false;
    err = connectWith(on);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QStringList seen = eventsSince(mark);
    QVERIFY2(!seen.contains(QStringLiteral("DISCONNECTED"))
                 && !seen.contains(QStringLiteral("FAILED")),
             qPrintable(seen.join(QLatin1Char(' '))));
    const QList<qint64> after = openvpnHere();
    QCOMPARE(after.size(), 1);
    QVERIFY(after.first() != before.first());
    QCOMPARE(tunInterfaces().size(), 1);
    QVERIFY2(killSwitchTableExists(), "the new kill-switch level was not applied");
    QVERIFY2(pingOnce(net.tunServerIp), "no ping through the new session");
}

void EngineE2e::wrongCaEndsInFailed()
{
    const int mark = eventMark();
    vpnclient *engine = vpnclient::instance();
    engine->setKillSwith(0);
    engine->setKillDisconnect(false);
    engine->setKillLocal(true);
    engine->setconfig(net.serverIp.toStdString(), net.wrongCaConfig.toStdString());
    QCOMPARE(engine->start(), 0);
    const QString end = waitForEvent(mark, endStates, 60000);
    QVERIFY2(end == QLatin1String("FAILED"),
             qPrintable(QStringLiteral("events: ") + eventsSince(mark).join(QLatin1Char(' '))));
    QVERIFY(!engine->isStart());
    QTRY_VERIFY_WITH_TIMEOUT(openvpnHere().isEmpty(), 10000);
    QVERIFY(tunInterfaces().isEmpty());
}

void EngineE2e::serverKilledWhileConnectedEndsInDisconnected()
{
    const QString err = connectWith(KillSwitch());
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QString dropped = dropTunnel();
    QVERIFY2(dropped.isEmpty(), qPrintable(dropped));
    QVERIFY(!vpnclient::instance()->isStart());
    QTRY_VERIFY_WITH_TIMEOUT(openvpnHere().isEmpty(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(runtimeEntries().isEmpty(), 5000);
}

void EngineE2e::unsafeConfigurationNeverStartsOpenvpn_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("directive");

    const QByteArray base = net.config;
    QTest::newRow("up script") << base + "up /bin/sh\n" << QStringLiteral("up");
    QTest::newRow("route-up with dashes") << base + "--route-up \"/bin/sh -c id\"\n"
                                          << QStringLiteral("route-up");
    QTest::newRow("plugin") << base
            + "plugin /usr/lib/x86_64-linux-gnu/openvpn/plugins/openvpn-plugin-down-root.so "
              "/bin/sh\n" << QStringLiteral("plugin");
    QByteArray block = base;
    const QByteArray remote
        = "remote " + net.serverIp.toLatin1() + ' ' + QByteArray::number(net.vpnPort) + '\n';
    block.replace(remote, QByteArray());
    block += "<connection>\n" + remote + "up /bin/sh\n</connection>\n";
    QTest::newRow("connection block with script") << block << QStringLiteral("up");
    QByteArray byPath = base;
    const int caStart = byPath.indexOf("<ca>");
    const int caEnd = byPath.indexOf("</ca>\n");
    byPath.replace(caStart, caEnd + 6 - caStart, "ca /etc/shadow\n");
    QTest::newRow("ca by path") << byPath << QStringLiteral("ca");
}

void EngineE2e::unsafeConfigurationNeverStartsOpenvpn()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, directive);
    const int events = eventMark();
    const int logs = logMark();
    vpnclient *engine = vpnclient::instance();
    engine->setKillSwith(0);
    engine->setKillLocal(true);
    engine->setconfig(net.serverIp.toStdString(), config.toStdString());
    QVERIFY(engine->start() != 0);
    QVERIFY(!engine->isStart());
    QVERIFY(openvpnHere().isEmpty());
    QVERIFY(tunInterfaces().isEmpty());
    QVERIFY(runtimeEntries().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(eventsSince(events), QStringList{QStringLiteral("FAILED")}, 5000);
    const QRegularExpression named(
        QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(directive)));
    QVERIFY2(!logsSince(logs).filter(named).isEmpty(),
             qPrintable(QStringLiteral("no log line names ") + directive));
}

// The positive control of the kill-switch tests: with it off the same probes arrive.
void EngineE2e::withoutKillSwitchProbesGetOut()
{
    const QString err = connectWith(KillSwitch());
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QVERIFY(!killSwitchTableExists());

    Capture server;
    QVERIFY(server.start(net.nsServer, QStringLiteral("ip")));
    const quint16 port = knockServerPort();
    QVERIFY(markerSeen(server, net.routerServerIp, net.serverIp));
    QVERIFY2(server.countFromPort(net.clientIp, port) > 0, qPrintable(server.dump()));

    const QString dropped = dropTunnel();
    QVERIFY2(dropped.isEmpty(), qPrintable(dropped));
    Capture outside;
    Capture lan;
    QVERIFY(outside.start(net.nsOutside, QStringLiteral("ip")));
    QVERIFY(lan.start(net.nsLan, QStringLiteral("ip")));
    probe(net.outsideIp, true);
    probe(net.lanIp, false);
    QVERIFY(markerSeen(outside, net.routerOutsideIp, net.outsideIp));
    QVERIFY(markerSeen(lan, net.routerLanIp, net.lanIp));
    const QString o = outside.dump();
    const QString l = lan.dump();
    QVERIFY2(outside.countFrom(net.clientIp, QStringLiteral("ICMP"), -1) > 0, qPrintable(o));
    // One query sent by hand, at least one more by the system resolver.
    QVERIFY2(outside.countFrom(net.clientIp, QStringLiteral("UDP"), 53) >= 2, qPrintable(o));
    QVERIFY2(outside.countFrom(net.clientIp, QStringLiteral("tcp"), 80) > 0, qPrintable(o));
    QVERIFY2(lan.countFrom(net.clientIp, QStringLiteral("ICMP"), -1) > 0, qPrintable(l));
    QVERIFY2(lan.countFrom(net.clientIp, QStringLiteral("UDP"), 53) > 0, qPrintable(l));
    QVERIFY2(lan.countFrom(net.clientIp, QStringLiteral("tcp"), 80) > 0, qPrintable(l));
}

void EngineE2e::killSwitchBlocksEverythingOutsideTheTunnel()
{
    KillSwitch ks;
    ks.level = 3;
    ks.allowLocal = false;
    const QString err = connectWith(ks);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QVERIFY(killSwitchTableExists());
    QVERIFY2(pingOnce(net.tunServerIp), "the tunnel itself is blocked");

    // The server's port is open to openvpn only, not to this process.
    Capture server;
    QVERIFY(server.start(net.nsServer, QStringLiteral("ip")));
    const quint16 port = knockServerPort();
    QVERIFY(markerSeen(server, net.routerServerIp, net.serverIp));
    QVERIFY2(server.countFromPort(net.clientIp, port) == 0, qPrintable(server.dump()));

    const QString dropped = dropTunnel();
    QVERIFY2(dropped.isEmpty(), qPrintable(dropped));
    QVERIFY2(killSwitchTableExists(), "the block went down with the tunnel");

    Capture outside;
    Capture lan;
    QVERIFY(outside.start(net.nsOutside, QStringLiteral("ip")));
    QVERIFY(lan.start(net.nsLan, QStringLiteral("ip")));
    probe(net.outsideIp, true);
    probe(net.lanIp, false);
    const quint16 port2 = knockServerPort();
    QVERIFY(markerSeen(outside, net.routerOutsideIp, net.outsideIp));
    QVERIFY(markerSeen(lan, net.routerLanIp, net.lanIp));
    QVERIFY(markerSeen(server, net.routerServerIp, net.serverIp));
    QVERIFY2(outside.countFrom(net.clientIp) == 0, qPrintable(outside.dump()));
    QVERIFY2(outside.countFromTunnelRange() == 0, qPrintable(outside.dump()));
    QVERIFY2(lan.countFrom(net.clientIp) == 0, qPrintable(lan.dump()));
    QVERIFY2(server.countFromPort(net.clientIp, port2) == 0, qPrintable(server.dump()));
}

void EngineE2e::killSwitchWithLocalAllowedPassesLanOnly()
{
    KillSwitch ks;
    ks.level = 3;
    ks.allowLocal = true;
    const QString err = connectWith(ks);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QString dropped = dropTunnel();
    QVERIFY2(dropped.isEmpty(), qPrintable(dropped));
    QVERIFY(killSwitchTableExists());

    Capture outside;
    Capture lan;
    QVERIFY(outside.start(net.nsOutside, QStringLiteral("ip")));
    QVERIFY(lan.start(net.nsLan, QStringLiteral("ip")));
    probe(net.outsideIp, true);
    probe(net.lanIp, false);
    QVERIFY(markerSeen(outside, net.routerOutsideIp, net.outsideIp));
    QVERIFY(markerSeen(lan, net.routerLanIp, net.lanIp));
    QVERIFY2(outside.countFrom(net.clientIp) == 0, qPrintable(outside.dump()));
    QVERIFY2(lan.countFrom(net.clientIp, QStringLiteral("ICMP"), -1) > 0, qPrintable(lan.dump()));
    QVERIFY2(lan.countFrom(net.clientIp, QStringLiteral("tcp"), 80) > 0, qPrintable(lan.dump()));
}

// The client turns the kill switch off by connecting again with level 0.
void EngineE2e::levelZeroAtNextConnectLiftsTheBlock()
{
    KillSwitch ks;
    ks.level = 3;
    ks.allowLocal = false;
    QString err = connectWith(ks);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QString dropped = dropTunnel();
    QVERIFY2(dropped.isEmpty(), qPrintable(dropped));
    QVERIFY(killSwitchTableExists());

    QVERIFY(ctl(QStringLiteral("server-start")));
    err = connectWith(KillSwitch());
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QVERIFY2(!killSwitchTableExists(), "level 0 left the block in place");
    const QString stopped = stopEngine();
    QVERIFY2(stopped.isEmpty(), qPrintable(stopped));

    Capture outside;
    QVERIFY(outside.start(net.nsOutside, QStringLiteral("ip")));
    probe(net.outsideIp, true);
    QVERIFY(markerSeen(outside, net.routerOutsideIp, net.outsideIp));
    QVERIFY2(outside.countFrom(net.clientIp, QStringLiteral("ICMP"), -1) > 0,
             qPrintable(outside.dump()));
    QVERIFY2(outside.countFrom(net.clientIp, QStringLiteral("UDP"), 53) > 0,
             qPrintable(outside.dump()));
}

void EngineE2e::blockWhileDisconnectedKeepsBlockAfterStop()
{
    KillSwitch ks;
    ks.level = 3;
    ks.keepAfterStop = true;
    ks.allowLocal = false;
    const QString err = connectWith(ks);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QString stopped = stopEngine();
    QVERIFY2(stopped.isEmpty(), qPrintable(stopped));
    QVERIFY2(killSwitchTableExists(), "the block went down with a user stop");
    QVERIFY(tunInterfaces().isEmpty());

    Capture outside;
    QVERIFY(outside.start(net.nsOutside, QStringLiteral("ip")));
    probe(net.outsideIp, true);
    QVERIFY(markerSeen(outside, net.routerOutsideIp, net.outsideIp));
    QVERIFY2(outside.countFrom(net.clientIp) == 0, qPrintable(outside.dump()));

    // close() keeps it too: the block outlives the program ...
    vpnclient::instance()->close();
    QVERIFY2(killSwitchTableExists(), "close() lifted a block meant to stay");
    // ... until a connect with the kill switch off.
    stopped = connectWith(KillSwitch());
    QVERIFY2(stopped.isEmpty(), qPrintable(stopped));
    QVERIFY2(!killSwitchTableExists(), "level 0 left the block in place");
}

void EngineE2e::openvpnExitsWhenControllerIsKilled()
{
    // A killed child cannot remove its session folder; keep it out of the shared one (and
    // short: the management socket lives there).
    QTemporaryDir runtime(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/c-XXXXXX"));
    QVERIFY(runtime.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess child;
    child.setProcessEnvironment(env);
    QByteArray out;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--connected-child")});
    QVERIFY(child.waitForStarted(5000));
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     out += child.readAllStandardOutput();
                     return out.contains("CONNECTED") || child.state() == QProcess::NotRunning;
                 },
                 40000),
             "child never connected");
    QVERIFY2(out.contains("CONNECTED"),
             qPrintable(QString::fromLocal8Bit(child.readAllStandardError())));
    QCOMPARE(openvpnHere().size(), 1);
    QCOMPARE(tunInterfaces().size(), 1);

    child.kill();
    QVERIFY(child.waitForFinished(5000));
    QTRY_VERIFY_WITH_TIMEOUT(openvpnHere().isEmpty(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(tunInterfaces().isEmpty(), 5000);
}

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--connected-child") == 0)
        return connectedChild(argc, argv);
    QCoreApplication app(argc, argv);
    EngineE2e tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_engine_e2e.moc"
