// End-to-end tests of the tunnel through quellnet-helper against a real openvpn server, and the
// leak matrix: in every state a session can be in, packets that would leak are counted where
// they would arrive. e2e-net.sh runs this inside the client namespace of a throw-away test
// network; anywhere else every test skips, so the machine's own network is never touched.
#include "eventrecorder.h"
#include "fakelogind.h"
#include "helperprocess.h"
#include "vpnclient.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <sys/stat.h>

// For the helpers below that return an empty text on success, else what went wrong.
#define VERIFY_OK(expression)                           \
    do {                                                \
        const QString error_ = (expression);            \
        QVERIFY2(error_.isEmpty(), qPrintable(error_)); \
    } while (false)

namespace {

// ---------------------------------------------------------------- the test network

QStringList words(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What e2e-net.sh exported as QUELLNET_E2E_<name>; a missing name is noted for load().
QStringList g_missing;
QString fromHarness(const char *name)
{
    const QString value = qEnvironmentVariable(qPrintable(QLatin1String("QUELLNET_E2E_") + name));
    if (value.isEmpty())
        g_missing << QLatin1String(name);
    return value;
}

struct TestNet
{
    const QString ctl = fromHarness("CTL"), nsRouter = fromHarness("NS_ROUTER"),
                  nsClient = fromHarness("NS_CLIENT"), nsLan = fromHarness("NS_LAN"),
                  nsServer = fromHarness("NS_SERVER"), nsOutside = fromHarness("NS_OUTSIDE"),
                  nsBehind = fromHarness("NS_BEHIND"), clientIp = fromHarness("CLIENT_IP"),
                  clientIpNext = fromHarness("CLIENT_IP_NEXT"), lanIp = fromHarness("LAN_IP"),
                  routerLanIp = fromHarness("ROUTER_LAN_IP"), serverIp = fromHarness("SERVER_IP"),
                  routerServerIp = fromHarness("ROUTER_SERVER_IP"),
                  outsideIp = fromHarness("OUTSIDE_IP"),
                  routerOutsideIp = fromHarness("ROUTER_OUTSIDE_IP"),
                  clientIp6 = fromHarness("CLIENT_IP6"), outsideIp6 = fromHarness("OUTSIDE_IP6"),
                  behindIp = fromHarness("BEHIND_IP"), tunServerIp = fromHarness("TUN_SERVER_IP"),
                  dnsAnswer = fromHarness("DNS_ANSWER"), vpnPort = fromHarness("VPN_PORT");
    const QByteArray config = readFile(qEnvironmentVariable("QUELLNET_E2E_CLIENT_OVPN"));

    QString check() const
    {
        if (!g_missing.isEmpty() || config.isEmpty())
            return QStringLiteral("not started by e2e-net.sh run --dns");
        // The one guard that keeps the helper, nft and openvpn off the machine's own network.
        struct stat self = {};
        struct stat client = {};
        const QByteArray clientNs = QFile::encodeName(QStringLiteral("/run/netns/") + nsClient);
        if (::stat("/proc/self/ns/net", &self) != 0 || ::stat(clientNs.constData(), &client) != 0
            || self.st_ino != client.st_ino || self.st_dev != client.st_dev)
            return QStringLiteral("not inside the test client namespace");
        return QString();
    }
};

TestNet net;

const auto resolvConf = [] {
    return readFile(QStringLiteral("/etc/resolv.conf"));
};

QStringList inNs(const QString &ns, const QStringList &command)
{
    return words(QStringLiteral("ip netns exec ") + ns) + command;
}

// Exit code of a command, -1 if it crashed or hung. With `out`, its output goes there (errors
// included); without, only its errors are shown.
int run(const QStringList &command, QByteArray *out = nullptr, int timeoutMs = 20000)
{
    QProcess p;
    p.setProcessChannelMode(out ? QProcess::MergedChannels : QProcess::ForwardedErrorChannel);
    if (!out)
        p.setStandardOutputFile(QProcess::nullDevice());
    p.start(command.first(), command.mid(1));
    if (!p.waitForStarted(5000) || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        return -1;
    }
    if (out)
        *out = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool ctl(const QString &command)
{
    return run({QStringLiteral("bash"), net.ctl, command}, nullptr, 30000) == 0;
}

// ---------------------------------------------------------------- what the client reports

using Rec = EventRecorder;

// Waits at most `ms` for `name` as the first of it and the end states since `mark`; empty
// when it came, else what came.
QString expectEvent(int mark, const QString &name, int ms)
{
    const QString first
        = Rec::waitForFirst({name, QStringLiteral("CONNECTED"), QStringLiteral("FAILED"),
                             QStringLiteral("DISCONNECTED")},
                            ms, mark);
    return first == name
        ? QString()
        : QStringLiteral("no %1; events: %2").arg(name, Rec::names(mark).join(QLatin1Char(' ')));
}

// ---------------------------------------------------------------- the client host

// Live openvpn processes in the client namespace (the server's runs in another one).
QList<qint64> openvpnHere()
{
    QByteArray out;
    run(words(QStringLiteral("ip netns pids ") + net.nsClient), &out);
    QList<qint64> pids;
    for (const QByteArray &pid : out.split('\n')) {
        const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid.toLongLong()));
        if (stat.contains(" (openvpn) ") && !stat.contains(" (openvpn) Z "))
            pids << pid.toLongLong();
    }
    return pids;
}

// IPv4 addresses of tunnel devices (empty for one without): the helper names its qnet<pid>,
// openvpn's own is tun<n>.
QStringList tunnels()
{
    QStringList addresses;
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        const auto entries = i.addressEntries();
        const auto v4 = std::find_if(entries.begin(), entries.end(), [](const auto &e) {
            return e.ip().protocol() == QAbstractSocket::IPv4Protocol;
        });
        if (i.name().startsWith(QLatin1String("qnet")) || i.name().startsWith(QLatin1String("tun")))
            addresses << (v4 == entries.end() ? QString() : v4->ip().toString());
    }
    return addresses;
}

const auto noTunnel = [] {
    return tunnels().isEmpty();
};

QString g_engineDir; // where the helper makes its session folders

// The helper's session folders (quellnet-tunnel-XXXXXX) and everything in them.
QStringList sessionEntries()
{
    QStringList entries;
    QDirIterator it(g_engineDir, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next();
    return entries;
}

// "uid mode" in octal, e.g. "0 700"; empty if it is not there.
QString ownerAndMode(const QString &path)
{
    struct stat st = {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    return QStringLiteral("%1 %2").arg(st.st_uid).arg(st.st_mode & 07777, 0, 8);
}

// The kill-switch table as nft lists it; empty when there is none.
QByteArray killSwitchTable()
{
    QByteArray out;
    const bool listed = run(words(QStringLiteral("nft list table inet quellnet")), &out) == 0;
    return listed ? out : QByteArray();
}

// ---------------------------------------------------------------- packet capture elsewhere

// A packet from `src` as `tcpdump -n -q -t` prints it, e.g.
// "IP 192.168.77.2.40000 > 192.168.77.3.53: UDP, length 37" or
// "IP6 2001:db8:77::2 > 2001:db8:2::2: ICMP6, echo request, id 5, seq 1, length 64".
// Ports are patterns: empty for none (ICMP), "\\d+" for any.
QRegularExpression packetMatching(const QString &srcPattern, const QString &srcPort,
                                  const QString &dstPort, const QString &what)
{
    const auto port = [](const QString &p) {
        return p.isEmpty() ? p : QStringLiteral("\\.") + p;
    };
    return QRegularExpression(QStringLiteral("^IP6? ") + srcPattern + port(srcPort)
                              + QStringLiteral(" > \\S+?") + port(dstPort) + QStringLiteral(": ")
                              + what);
}

QRegularExpression packetFrom(const QString &src, const QString &srcPort, const QString &dstPort,
                              const QString &what)
{
    return packetMatching(QRegularExpression::escape(src), srcPort, dstPort, what);
}

const QString anyPort = QStringLiteral("\\d+");
const QString echoRequest = QStringLiteral("ICMP6?,? echo request");

// tcpdump on eth0 of another test namespace; lines are read as they arrive and numbered, so a
// test counts from a mark.
class Capture
{
public:
    ~Capture()
    {
        m_proc.kill();
        m_proc.waitForFinished(2000);
    }

    bool start(const QString &ns)
    {
        const QStringList command = inNs(
            ns, words(QStringLiteral("tcpdump -n -q -t -l --immediate-mode -i eth0 ip or ip6")));
        m_proc.start(command.first(), command.mid(1));
        QByteArray err;
        const auto ready = [&] {
            err += m_proc.readAllStandardError();
            return err.contains("listening on") || m_proc.state() == QProcess::NotRunning;
        };
        return m_proc.waitForStarted(5000) && QTest::qWaitFor(ready, 10000)
            && m_proc.state() == QProcess::Running;
    }

    int count(int from, const QRegularExpression &packet)
    {
        return lines().mid(from).filter(packet).size();
    }

    // tcpdump's lines so far.
    const QStringList &lines()
    {
        m_buffer += m_proc.readAllStandardOutput();
        const int end = m_buffer.lastIndexOf('\n');
        if (end >= 0) {
            for (const QByteArray &line : m_buffer.left(end).split('\n'))
                m_lines << QString::fromLatin1(line);
            m_buffer.remove(0, end + 1);
        }
        return m_lines;
    }

private:
    QProcess m_proc;
    QByteArray m_buffer;
    QStringList m_lines;
};

// The router pings `target`; once that shows up in `capture`, every probe sent before on the
// way to that host has had its chance to arrive too.
bool markerSeen(Capture &capture, int from, const QString &routerIp, const QString &target)
{
    run(inNs(net.nsRouter, words(QStringLiteral("ping -n -c 1 -W 2 ") + target)));
    const QRegularExpression marker = packetFrom(routerIp, QString(), QString(), echoRequest);
    return QTest::qWaitFor([&] { return capture.count(from, marker) > 0; }, 5000);
}

enum Host { Outside, Lan, Server, Inbound };

// Sends what must not leak, ten times a second until stopped (at most 40 s): pings (IPv4 and
// IPv6) and UDP to the outside host, DNS to the LAN's resolver.
class Prober
{
public:
    ~Prober() { stop(); }
    void start()
    {
        const QString script = QStringLiteral(
            "for i in $(seq 400); do ping -n -c 1 -W 1 %1 &>/dev/null & ping -6 -n -c 1 -W 1 %2 "
            "&>/dev/null & { printf p >/dev/udp/%1/9999; printf p >/dev/udp/%3/53; } 2>/dev/null; "
            "sleep 0.1; done");
        m_proc.start(QStringLiteral("bash"),
                     {QStringLiteral("-c"), script.arg(net.outsideIp, net.outsideIp6, net.lanIp)});
    }
    void stop()
    {
        m_proc.kill();
        m_proc.waitForFinished(2000);
    }
    // What it sends, as the receiving host's capture shows it, from a client address matching
    // srcPattern.
    static QList<QPair<Host, QRegularExpression>> packets(const QString &srcPattern)
    {
        const QString udp = QStringLiteral("UDP");
        return {{Outside, packetMatching(srcPattern, QString(), QString(), echoRequest)},
                {Outside, packetFrom(net.clientIp6, QString(), QString(), echoRequest)},
                {Outside, packetMatching(srcPattern, anyPort, QStringLiteral("9999"), udp)},
                {Lan, packetMatching(srcPattern, anyPort, QStringLiteral("53"), udp)}};
    }

private:
    QProcess m_proc;
};

// ---------------------------------------------------------------- sessions

struct KillSwitch
{
    int level;
    bool keep; // block after a user stop
    bool lan; // local networks allowed
};

const KillSwitch killSwitchOff{0, false, true};
const KillSwitch killSwitchOn{3, false, true};

// Starts a session and waits for `until` (or the end state that came instead).
QString connectWith(const KillSwitch &ks, const QString &until = QStringLiteral("CONNECTED"),
                    const QByteArray &config = net.config)
{
    vpnclient *client = vpnclient::instance();
    client->setKillSwith(ks.level);
    client->setKillDisconnect(ks.keep);
    client->setKillLocal(ks.lan);
    client->setconfig(net.serverIp.toStdString(), config.toStdString());
    const int mark = Rec::names().size();
    const int rc = client->start();
    return rc == 0 ? expectEvent(mark, until, 30000) : QStringLiteral("start() gave %1").arg(rc);
}

// Kills the server; openvpn notices by the pushed ping-restart (5 s) and the session ends.
QString dropTunnel()
{
    const int mark = Rec::names().size();
    if (!ctl(QStringLiteral("server-kill")))
        return QStringLiteral("could not kill the server");
    const QString err = expectEvent(mark, QStringLiteral("DISCONNECTED"), 30000);
    if (err.isEmpty() && !QTest::qWaitFor(noTunnel, 10000))
        return QStringLiteral("tunnel interface still up after the server died");
    return err;
}

QString stopAndWait()
{
    const int mark = Rec::names().size();
    vpnclient::instance()->stop();
    if (vpnclient::instance()->isStart())
        return QStringLiteral("isStart() still true after stop()");
    const QString err = expectEvent(mark, QStringLiteral("DISCONNECTED"), 10000);
    if (err.isEmpty() && !QTest::qWaitFor([] { return openvpnHere().isEmpty(); }, 10000))
        return QStringLiteral("openvpn still running after stop()");
    return err;
}

// A second client process connects through the same helper with the kill switch on and is
// killed (SIGKILL): the session is the helper's, so the tunnel and its kill switch stay, and
// this process's client, attached to the same helper, sees it running.
QString killConnectedChild()
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--connected-child")});
    QByteArray out;
    const auto said = [&] {
        out += child.readAllStandardOutput();
        return out.contains("CONNECTED") || child.state() == QProcess::NotRunning;
    };
    if (!child.waitForStarted(5000) || !QTest::qWaitFor(said, 40000) || !out.contains("CONNECTED"))
        return QStringLiteral("the child never connected");
    const QList<qint64> before = openvpnHere();
    child.kill();
    child.waitForFinished(5000);
    // Nothing may change now; watched for a while, failing early if the tunnel goes.
    const auto ended = [&] {
        return openvpnHere() != before || noTunnel();
    };
    if (before.size() != 1 || QTest::qWaitFor(ended, 1500))
        return QStringLiteral("the tunnel ended with the client that started it");
    if (killSwitchTable().isEmpty())
        return QStringLiteral("the kill switch went down with the client");
    if (!vpnclient::instance()->isStart())
        return QStringLiteral("this process's client does not see the session running");
    return QString();
}

int connectedChild(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (!net.check().isEmpty()) {
        std::fprintf(stderr, "child: %s\n", qPrintable(net.check()));
        return 2;
    }
    Rec::install();
    const QString err = connectWith(killSwitchOn);
    if (!err.isEmpty()) {
        std::fprintf(stderr, "child: %s\n", qPrintable(err));
        vpnclient::instance()->close();
        return 3;
    }
    std::printf("CONNECTED\n");
    std::fflush(stdout);
    // Waits to be killed; gives up by itself so it can never linger.
    (void)QTest::qWaitFor([] { return false; }, 60000);
    vpnclient::instance()->close();
    return 4;
}

// ---------------------------------------------------------------- the leak matrix

enum State {
    Unprotected,
    Connecting,
    Connected,
    ConnectedKillSwitchOff,
    ServerLost,
    ClientKilled,
    BlockedAfterStop,
    LinkDown,
    AddressChanged
};

const char *const stateNames[] = {"unprotected (control)",      "connecting",  "connected",
                                  "connected, kill switch off", "server lost", "client killed",
                                  "blocked after user stop",    "link down",   "address changed"};

// How a connected tunnel is made to come back.
enum Interruption { LinkDownAndUp, NewAddress, ServerRestart, SleepAndResume };

struct Probe
{
    const char *name;
    Host host;
    QRegularExpression packet; // as the receiving host's capture shows it; none for Inbound
};

const QString probePort = QStringLiteral("9999");
const QString dnsPort = QStringLiteral("53");
const QByteArray probePayload = QByteArrayLiteral("quellnet-leak-probe");

} // namespace

// ---------------------------------------------------------------- the tests

class EngineE2e : public QObject
{
    Q_OBJECT

    HelperProcess m_helper;
    HelperProcess::Options m_helperOptions;
    QByteArray m_resolvConf; // as e2e-net.sh wrote it
    // Only inside the test namespace may anything reach the helper (and so nft or openvpn).
    bool m_inside = false;

    // The leak matrix: captures at the receiving hosts, a listener here for inbound probes.
    Capture m_captures[3]; // by Host
    QUdpSocket m_listener;
    int m_inbound = 0;
    quint16 m_dnsSourcePort = 0;
    quint16 m_knockPort = 0;
    int m_lookups = 0;
    QString m_loAddress;
    QStringList m_table;
    QString m_clientIp = net.clientIp; // the LAN may give the client another one
    FakeLogind m_logind;
    bool m_logindUp = false;

    QList<Probe> probes() const
    {
        const QString &client = m_clientIp;
        const QString udp = QStringLiteral("UDP");
        const QString dnsSource = QString::number(m_dnsSourcePort);
        return {
            {"v4 icmp", Outside, packetFrom(client, QString(), QString(), echoRequest)},
            {"v4 udp", Outside, packetFrom(client, anyPort, probePort, udp)},
            {"v6 icmp", Outside, packetFrom(net.clientIp6, QString(), QString(), echoRequest)},
            {"v6 udp", Outside, packetFrom(net.clientIp6, anyPort, probePort, udp)},
            {"dns udp", Lan, packetFrom(client, dnsSource, dnsPort, udp)},
            {"dns tcp", Lan, packetFrom(client, anyPort, dnsPort, QStringLiteral("tcp"))},
            // The system resolver's lookups: every query but the one sent by hand.
            {"dns sys", Lan,
             packetFrom(client, QStringLiteral("(?!%1 )\\d+").arg(dnsSource), dnsPort, udp)},
            {"dns out", Outside, packetFrom(client, anyPort, dnsPort, udp)},
            {"fwd udp", Outside, packetFrom(net.behindIp, anyPort, probePort, udp)},
            {"fwd icmp", Outside, packetFrom(net.behindIp, QString(), QString(), echoRequest)},
            {"fwd dns", Lan, packetFrom(net.behindIp, anyPort, dnsPort, udp)},
            {"inbound", Inbound, QRegularExpression()},
            {"srv port", Server, packetFrom(client, QString::number(m_knockPort), anyPort, udp)},
        };
    }
    // Sends every probe at once and waits (bounded) until the senders are done.
    void sendProbes(const QString &tunnelAddress)
    {
        std::vector<std::unique_ptr<QProcess>> senders;
        const auto spawn = [&](const QStringList &command) {
            senders.push_back(std::make_unique<QProcess>());
            senders.back()->setStandardOutputFile(QProcess::nullDevice());
            senders.back()->setStandardErrorFile(QProcess::nullDevice());
            senders.back()->start(command.first(), command.mid(1));
        };
        const QString ping = QStringLiteral("ping -n -c 1 -W 1 ");
        const QString udp
            = QStringLiteral("printf %1 >/dev/udp/%2/%3; ").arg(QString::fromLatin1(probePayload));
        const QStringList bash = {QStringLiteral("bash"), QStringLiteral("-c")};
        spawn(words(ping + net.outsideIp));
        spawn(words(ping + QStringLiteral("-6 ") + net.outsideIp6));
        // The host behind the client: what the client forwards.
        spawn(inNs(net.nsBehind,
                   bash
                       + QStringList{ping + net.outsideIp + QStringLiteral(" >/dev/null & ")
                                     + udp.arg(net.outsideIp, probePort)
                                     + udp.arg(net.lanIp, dnsPort) + QStringLiteral("wait")}));
        // A neighbour on the LAN sends to the tunnel address.
        if (!tunnelAddress.isEmpty()) {
            const QString toTunnel = udp.arg(tunnelAddress).arg(m_listener.localPort());
            spawn(inNs(net.nsLan, bash + QStringList{toTunnel.repeated(3)}));
        }

        QUdpSocket v4, v6, dns, knock;
        v4.writeDatagram(probePayload, QHostAddress(net.outsideIp), probePort.toUShort());
        v6.writeDatagram(probePayload, QHostAddress(net.outsideIp6), probePort.toUShort());
        // The firewall judges DNS by its port; what is sent there does not matter.
        dns.bind(QHostAddress(QHostAddress::AnyIPv4));
        m_dnsSourcePort = dns.localPort();
        dns.writeDatagram(probePayload, QHostAddress(net.lanIp), dnsPort.toUShort());
        dns.writeDatagram(probePayload, QHostAddress(net.outsideIp), dnsPort.toUShort());
        // Any program but openvpn, sending to the VPN server's port.
        knock.bind(QHostAddress(QHostAddress::AnyIPv4));
        m_knockPort = knock.localPort();
        knock.writeDatagram("not openvpn", QHostAddress(net.serverIp), net.vpnPort.toUShort());
        QTcpSocket tcp;
        tcp.connectToHost(net.lanIp, dnsPort.toUShort());
        // A fresh name each time: Qt caches what it looked up.
        QObject context;
        bool looked = false;
        const int lookup
            = QHostInfo::lookupHost(QStringLiteral("leak-probe-%1.quellnet.test").arg(++m_lookups),
                                    &context, [&](const QHostInfo &) { looked = true; });
        const auto done = [&] {
            return looked && std::all_of(senders.begin(), senders.end(), [](const auto &p) {
                       return p->state() == QProcess::NotRunning;
                   });
        };
        (void)QTest::qWaitFor(done, 4000);
        QHostInfo::abortHostLookup(lookup);
        for (const auto &p : senders) {
            p->kill();
            p->waitForFinished(2000);
        }
    }
    QString enterState(State state, QString *tunnelAddress)
    {
        if (state == Unprotected) {
            if (!killSwitchTable().isEmpty())
                return QStringLiteral("a kill-switch table is up");
            // No tunnel: the address its server hands the first client, on lo, stands in for it.
            m_loAddress
                = QHostAddress(QHostAddress(net.tunServerIp).toIPv4Address() + 1).toString();
            *tunnelAddress = m_loAddress;
            const int rc = run(words(QStringLiteral("ip addr add %1/32 dev lo").arg(m_loAddress)));
            return rc == 0 ? QString() : QStringLiteral("cannot add %1 to lo").arg(m_loAddress);
        }
        QString err;
        if (state == Connecting) {
            if (!ctl(QStringLiteral("server-kill")))
                return QStringLiteral("could not kill the server");
            const int mark = m_captures[Server].lines().size();
            err = connectWith(killSwitchOn, QStringLiteral("CONNECTING"));
            // openvpn keeps trying, and its packets pass: the rule for it works.
            const QRegularExpression openvpn
                = packetFrom(net.clientIp, anyPort, net.vpnPort, QStringLiteral("UDP"));
            const auto trying = [&] {
                return m_captures[Server].count(mark, openvpn) > 0;
            };
            if (err.isEmpty() && !QTest::qWaitFor(trying, 10000))
                err = QStringLiteral("openvpn's packets never reached the server host");
        } else if (state == ClientKilled) {
            err = killConnectedChild();
        } else if (state == LinkDown || state == AddressChanged) {
            err = connectWith(killSwitchOn);
            const int mark = Rec::names().size();
            if (err.isEmpty() && state == AddressChanged) {
                // Probed at once, while the tunnel comes back; the LAN host's route to the
                // tunnel still names the old address, so nothing comes in.
                m_clientIp = net.clientIpNext;
                if (!ctl(QStringLiteral("client-address-next")))
                    err = QStringLiteral("the address did not change");
                return err;
            }
            if (err.isEmpty() && !ctl(QStringLiteral("client-link-down")))
                err = QStringLiteral("the link did not go down");
            if (err.isEmpty())
                err = expectEvent(mark, QStringLiteral("RECONNECTING"), 10000);
        } else if (state == ConnectedKillSwitchOff) {
            err = connectWith(killSwitchOff);
        } else {
            // The kill switch on, and kept after the user's stop in the blocked state.
            err = connectWith({3, state == BlockedAfterStop, true});
        }
        if (err.isEmpty() && state == ServerLost)
            err = dropTunnel();
        if (err.isEmpty() && state == BlockedAfterStop)
            err = stopAndWait();
        if (!err.isEmpty())
            return err;
        if (killSwitchTable().isEmpty())
            return QStringLiteral("no kill-switch table");
        if (state == Connected || state == ConnectedKillSwitchOff || state == ClientKilled
            || state == LinkDown) {
            *tunnelAddress = tunnels().value(0);
            if (tunnelAddress->isEmpty())
                return QStringLiteral("the tunnel has no IPv4 address");
        }
        return QString();
    }

private slots:
    void initTestCase()
    {
        QString why = net.check();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        // The helper rewrites /etc/resolv.conf: e2e-net.sh gives the client namespace a private
        // /etc (an overlay) and leaves this marker only once that is so.
        if (readFile(QStringLiteral("/etc/quellnet-e2e-private")).trimmed()
            != net.nsClient.toUtf8())
            QSKIP("/etc is not the client namespace's own (run through e2e-net.sh)");
        m_inside = true;
        m_resolvConf = resolvConf();
        QVERIFY2(openvpnHere().isEmpty(), "an openvpn client already runs in the test namespace");
        QVERIFY(killSwitchTable().isEmpty());
        m_helperOptions.dns = QStringLiteral("resolv.conf");
        m_helperOptions.routeCheck = true;
        m_helperOptions.arguments
            = QStringList{QStringLiteral("--reconnect-timeout"), QStringLiteral("10")};
        // Suspend and resume come from a stand-in for logind, on a bus of this test's own.
        m_logindUp = m_logind.start();
        if (m_logindUp)
            m_helperOptions.arguments
                << QStringList{QStringLiteral("--system-bus"), m_logind.address()};
        QVERIFY2(m_helper.start(m_helperOptions, &why), qPrintable(why));
        g_engineDir = m_helper.runtimeDir() + QStringLiteral("/engine");
        qputenv("QUELLNET_HELPER_SOCKET", QFile::encodeName(m_helper.socketPath()));
        Rec::install();
        // The leak matrix's captures at the receiving hosts and its listener for inbound probes.
        for (Host h : {Outside, Lan, Server})
            QVERIFY(m_captures[h].start(QStringList{net.nsOutside, net.nsLan, net.nsServer}[h]));
        QVERIFY(m_listener.bind(QHostAddress(QHostAddress::AnyIPv4)));
        connect(&m_listener, &QUdpSocket::readyRead, this, [this] {
            while (m_listener.hasPendingDatagrams())
                m_inbound += m_listener.receiveDatagram().data() == probePayload;
        });
    }
    // Puts everything back before it checks, so one failure does not spill into the next test.
    void cleanup()
    {
        if (!m_inside)
            return;
        QVERIFY(ctl(QStringLiteral("client-network-reset")));
        m_clientIp = net.clientIp;
        if (!m_loAddress.isEmpty())
            run(words(QStringLiteral("ip addr del %1/32 dev lo").arg(m_loAddress)));
        m_loAddress.clear();
        vpnclient *client = vpnclient::instance();
        client->setKillSwith(0);
        client->setKillDisconnect(false);
        // A session's end is reported after the fact; the next test must not take it for its own.
        const bool running = client->isStart();
        const int mark = Rec::names().size();
        client->stop();
        const QString ended
            = running ? expectEvent(mark, QStringLiteral("DISCONNECTED"), 10000) : QString();
        const bool gone
            = QTest::qWaitFor([] { return openvpnHere().isEmpty() && noTunnel(); }, 10000);
        // A stop at level 0 removes the table; the next test must not inherit a block.
        const bool tableLeft = !QTest::qWaitFor([] { return killSwitchTable().isEmpty(); }, 5000);
        if (tableLeft)
            run(words(QStringLiteral("nft delete table inet quellnet")));
        QVERIFY(ctl(QStringLiteral("server-start")));
        QVERIFY2(ended.isEmpty(), qPrintable(ended));
        QVERIFY2(gone, "openvpn or its tunnel outlived stop()");
        QVERIFY2(!tableLeft, "stop() at level 0 left the kill-switch table");
        QTRY_COMPARE_WITH_TIMEOUT(resolvConf(), m_resolvConf, 5000);
        QVERIFY2(sessionEntries().isEmpty(), qPrintable(sessionEntries().join(QLatin1Char(' '))));
    }
    void cleanupTestCase()
    {
        // Qt runs this even when initTestCase skipped.
        if (!m_inside)
            return;
        if (!m_table.isEmpty())
            qInfo("leak matrix, packets counted where they would arrive:\n%s",
                  qPrintable(m_table.join(QLatin1Char('\n'))));
        vpnclient::instance()->close();
        QVERIFY2(m_helper.stop(), qPrintable(m_helper.output()));
        QVERIFY(openvpnHere().isEmpty());
        QVERIFY(killSwitchTable().isEmpty());
    }
    void connectCarriesTrafficAndDnsAndStopPutsAllBack()
    {
        Rec::clear();
        VERIFY_OK(connectWith(killSwitchOff));
        QVERIFY(vpnclient::instance()->isStart());
        // The order and naming of openvpn's states are tst_vpnclient's and tst_management's.
        QCOMPARE(Rec::names().count(QStringLiteral("CONNECTED")), 1);
        QCOMPARE(openvpnHere().size(), 1);
        QCOMPARE(tunnels().size(), 1);
        QVERIFY2(run(words(QStringLiteral("ping -n -i 0.2 -W 2 -c 3 ") + net.tunServerIp)) == 0,
                 "the server's tunnel address does not answer");

        // The server's resolver replaces the LAN's, and answers through the tunnel.
        const QByteArray dns = resolvConf();
        QVERIFY2(dns.contains("nameserver " + net.tunServerIp.toLatin1() + '\n')
                     && !dns.contains(net.lanIp.toLatin1()),
                 dns.constData());
        const QHostInfo info
            = QHostInfo::fromName(QStringLiteral("through-the-tunnel.quellnet.test"));
        QVERIFY2(info.addresses().contains(QHostAddress(net.dnsAnswer)),
                 qPrintable(info.errorString()));

        // Full-size pings both ways for a few seconds, while the helper reports the rates.
        QProcess pings;
        const QStringList command
            = words(QStringLiteral("ping -q -n -s 1400 -i 0.1 -c 40 ") + net.tunServerIp);
        pings.start(command.first(), command.mid(1));
        const auto fastest = [] {
            QPair<float, float> most(0, 0);
            for (const auto &t : Rec::traffic())
                most = qMakePair(qMax(most.first, t.first), qMax(most.second, t.second));
            return most;
        };
        QTRY_VERIFY_WITH_TIMEOUT(fastest().first > 0 && fastest().second > 0, 10000);
        QVERIFY(pings.waitForFinished(10000) && pings.exitCode() == 0);
        // About 14 KiB a second: the figure is in MB/s, not bytes.
        QVERIFY(fastest().first < 1 && fastest().second < 1);

        // The configuration holds the client key: the folder and it are root's alone.
        const QList<qint64> pids = openvpnHere();
        const QStringList files = sessionEntries();
        const QStringList folder = files.filter(QRegularExpression(QStringLiteral("tunnel-\\w+$")));
        const QStringList conf
            = files.filter(QRegularExpression(QStringLiteral("/client\\.conf$")));
        QVERIFY2(folder.size() == 1 && conf.size() == 1, qPrintable(files.join(QLatin1Char(' '))));
        QCOMPARE(ownerAndMode(folder.first()), QStringLiteral("0 700"));
        QCOMPARE(ownerAndMode(conf.first()), QStringLiteral("0 600"));
        // A stop ends openvpn and puts DNS, the firewall and the files back.
        const int mark = Rec::names().size();
        VERIFY_OK(stopAndWait());
        QCOMPARE(Rec::names(mark), QStringList{QStringLiteral("DISCONNECTED")});
        QCOMPARE(resolvConf(), m_resolvConf);
        QVERIFY(!QFile::exists(QStringLiteral("/proc/%1/exe").arg(pids.first())));
        QTRY_VERIFY_WITH_TIMEOUT(noTunnel(), 5000);
        for (const QString &f : files)
            QVERIFY2(!QFile::exists(f), qPrintable(f + QStringLiteral(" left behind")));
        QVERIFY2(killSwitchTable().isEmpty(),
                 "a user stop with the kill switch off kept the table");
    }
    void wrongCaEndsInFailed()
    {
        const QByteArray wrongCa = readFile(qEnvironmentVariable("QUELLNET_E2E_WRONGCA_OVPN"));
        VERIFY_OK(connectWith(killSwitchOff, QStringLiteral("FAILED"), wrongCa));
        QVERIFY(!vpnclient::instance()->isStart());
        QTRY_VERIFY_WITH_TIMEOUT(openvpnHere().isEmpty(), 10000);
        QVERIFY(noTunnel());
    }
    void serverKilledEndsInDisconnectedAndRestoresDns()
    {
        VERIFY_OK(connectWith(killSwitchOff));
        QVERIFY(resolvConf() != m_resolvConf);
        VERIFY_OK(dropTunnel());
        QVERIFY(!vpnclient::instance()->isStart());
        // Settled before the event: DNS back, and without the kill switch no table.
        QCOMPARE(resolvConf(), m_resolvConf);
        QVERIFY(killSwitchTable().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(openvpnHere().isEmpty(), 10000);
        QVERIFY(sessionEntries().isEmpty());
    }
    void killedHelperTakesTheTunnelAlong()
    {
        VERIFY_OK(connectWith(killSwitchOff));
        const int mark = Rec::names().size();
        m_helper.kill();
        QTRY_VERIFY_WITH_TIMEOUT(openvpnHere().isEmpty(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(noTunnel(), 5000);
        VERIFY_OK(expectEvent(mark, QStringLiteral("DISCONNECTED"), 5000));
        QVERIFY(!vpnclient::instance()->isStart());

        // A helper that starts again undoes what the killed one left: table, DNS, session folder.
        m_helperOptions.runtimeDir = m_helper.runtimeDir();
        QString why;
        QVERIFY2(m_helper.start(m_helperOptions, &why), qPrintable(why));
        QVERIFY(killSwitchTable().isEmpty());
        QCOMPARE(resolvConf(), m_resolvConf);
        QVERIFY(sessionEntries().isEmpty());
    }
    void tunnelComesBack_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("link down, then up") << int(LinkDownAndUp);
        QTest::newRow("address changed") << int(NewAddress);
        QTest::newRow("server restarted") << int(ServerRestart);
        QTest::newRow("suspend and resume") << int(SleepAndResume);
    }
    // Reconnecting, then connected again, traffic through the tunnel, and nothing the prober
    // sent meanwhile arrived anywhere; the same prober's packets do arrive without a session.
    void tunnelComesBack()
    {
        QFETCH(int, how);
        if (how == SleepAndResume && !m_logindUp)
            QSKIP("no private bus for the stand-in for logind (dbus-daemon)");
        const QString clients = QStringLiteral("(?:%1|%2)")
                                    .arg(QRegularExpression::escape(net.clientIp),
                                         QRegularExpression::escape(net.clientIpNext));
        const auto packets = Prober::packets(clients);
        const auto counted = [&](const int marks[], const QPair<Host, QRegularExpression> &p) {
            return m_captures[p.first].count(marks[p.first], p.second);
        };
        int marks[]
            = {int(m_captures[Outside].lines().size()), int(m_captures[Lan].lines().size())};
        {
            Prober control;
            control.start();
            const auto allSeen = [&] {
                return std::all_of(packets.begin(), packets.end(),
                                   [&](const auto &p) { return counted(marks, p) > 0; });
            };
            QVERIFY2(QTest::qWaitFor(allSeen, 5000), "the prober's packets do not arrive");
        }

        VERIFY_OK(connectWith(killSwitchOn));
        const int mark = Rec::names().size();
        marks[Outside] = int(m_captures[Outside].lines().size());
        marks[Lan] = int(m_captures[Lan].lines().size());
        Prober prober;
        prober.start();
        if (how == LinkDownAndUp) {
            QVERIFY(ctl(QStringLiteral("client-link-down")));
            // Down until openvpn, restarted at once, waits for its server without a way there.
            VERIFY_OK(expectEvent(mark, QStringLiteral("CONNECTING"), 10000));
            QVERIFY(ctl(QStringLiteral("client-link-up")));
        } else if (how == NewAddress) {
            QVERIFY(ctl(QStringLiteral("client-address-next")));
        } else if (how == ServerRestart) {
            QVERIFY(ctl(QStringLiteral("server-kill")) && ctl(QStringLiteral("server-start")));
        } else {
            QVERIFY(m_logind.sleepAndWake());
        }
        // openvpn notices a restarted server by itself, after its keep-alive time-out.
        VERIFY_OK(expectEvent(mark, QStringLiteral("RECONNECTING"), 20000));
        const QString back = Rec::waitForFirst(
            {QStringLiteral("CONNECTED"), QStringLiteral("FAILED"), QStringLiteral("DISCONNECTED")},
            20000, mark);
        QVERIFY2(back == QLatin1String("CONNECTED"), qPrintable(Rec::names(mark).join(' ')));
        QVERIFY2(run(words(QStringLiteral("ping -n -i 0.2 -W 2 -c 3 ") + net.tunServerIp)) == 0,
                 "no traffic through the tunnel after it came back");
        prober.stop();

        const QString routers[] = {net.routerOutsideIp, net.routerLanIp};
        const QString hosts[] = {net.outsideIp, net.lanIp};
        for (Host h : {Outside, Lan})
            QVERIFY(markerSeen(m_captures[h], marks[h], routers[h], hosts[h]));
        for (const auto &p : packets) {
            const int leaked = counted(marks, p);
            QVERIFY2(
                leaked == 0,
                qPrintable(QStringLiteral("%1 leaked: %2")
                               .arg(leaked)
                               .arg(m_captures[p.first].lines().mid(marks[p.first]).join('\n'))));
        }
    }
    void noLeakInAnyState_data()
    {
        QTest::addColumn<int>("state");
        for (int s = Unprotected; s <= AddressChanged; ++s)
            QTest::newRow(stateNames[s]) << s;
    }
    // Every probe in every state: nothing arrives, except in the control, where everything must.
    void noLeakInAnyState()
    {
        QFETCH(int, state);
        const QString routers[] = {net.routerOutsideIp, net.routerLanIp, net.routerServerIp};
        const QString hosts[] = {net.outsideIp, net.lanIp, net.serverIp};
        QString tunnelAddress;
        VERIFY_OK(enterState(State(state), &tunnelAddress));

        const int marks[]
            = {int(m_captures[Outside].lines().size()), int(m_captures[Lan].lines().size()),
               int(m_captures[Server].lines().size()), m_inbound};
        sendProbes(tunnelAddress);
        if (state == LinkDown) {
            // Once more as soon as the link is back, while the tunnel comes back.
            QVERIFY(ctl(QStringLiteral("client-link-up")));
            sendProbes(tunnelAddress);
        }
        for (Host h : {Outside, Lan, Server})
            QVERIFY(markerSeen(m_captures[h], marks[h], routers[h], hosts[h]));
        const QList<Probe> all = probes();
        const auto count = [&](const Probe &p) {
            return p.host == Inbound ? m_inbound - marks[Inbound]
                                     : m_captures[p.host].count(marks[p.host], p.packet);
        };
        const auto allSeen = [&] {
            return std::all_of(all.begin(), all.end(),
                               [&](const Probe &p) { return count(p) > 0; });
        };
        if (state == Unprotected)
            (void)QTest::qWaitFor(allSeen, 3000);

        QString header = QStringLiteral("%1").arg(QStringLiteral("state"), -27);
        QString row = QStringLiteral("%1").arg(QLatin1String(stateNames[state]), -27);
        QStringList failed;
        for (const Probe &p : all) {
            const int n = count(p);
            const bool noAddress = p.host == Inbound && tunnelAddress.isEmpty();
            // Without the kill switch, the server's port outside the tunnel is open by design.
            const bool unguarded = p.host == Server && state == ConnectedKillSwitchOff;
            QString cell = noAddress ? QStringLiteral("n/a")
                : unguarded          ? QStringLiteral("(%1)").arg(n)
                                     : QString::number(n);
            if (!noAddress && !unguarded && (state == Unprotected) != (n > 0)) {
                cell += QLatin1Char('!');
                failed << QLatin1String(p.name);
            }
            header += QStringLiteral("%1").arg(QLatin1String(p.name), 9);
            row += QStringLiteral("%1").arg(cell, 9);
        }
        if (m_table.isEmpty())
            m_table << header;
        m_table << row;
        QString seen = QLatin1String(stateNames[state]) + QLatin1String(": ") + failed.join(',');
        for (Host h : {Outside, Lan, Server})
            seen += QLatin1Char('\n') + hosts[h] + QLatin1String(":\n")
                + m_captures[h].lines().mid(marks[h]).join(QLatin1Char('\n'));
        QVERIFY2(failed.isEmpty(), qPrintable(seen));
    }
};

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--connected-child") == 0)
        return connectedChild(argc, argv);
    QCoreApplication app(argc, argv);
    EngineE2e tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_engine_e2e.moc"
