// The client, quellnet-helper and the engine together, with fake openvpn and nft programs:
// no network change. The test user is authorised through the helper's group option.
#include "eventrecorder.h"
#include "helperprocess.h"
#include "helperprotocol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tunnelkit;
using Rec = EventRecorder;

namespace {

vpnclient *client()
{
    return vpnclient::instance();
}

bool processGone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

uint modeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

QString logs()
{
    return Rec::logs().join(QLatin1Char('\n'));
}

// A bare AF_UNIX connection with a read time-out, by system calls only (safe after fork()).
int connectUnix(const QByteArray &path, int timeoutSeconds)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr = {};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
    const timeval tv = {timeoutSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    return ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 ? fd : -1;
}

const char kConfig[] = "client\ndev tun\nproto udp\nremote 127.66.0.9 1194\nnobind\n"
                       "remote-cert-tls server\n<ca>\n-----BEGIN CERTIFICATE-----\n"
                       "MIIBszCCAVmgAwIBAgIUO4c2tq0A3UjkRaZ7L2vQdYv3JvgwCgYIKoZIzj0EAwIw\n"
                       "-----END CERTIFICATE-----\n</ca>\n";

// What the fake openvpn does (see fakeopenvpn.cpp) on its way to CONNECTED, in two halves.
const QByteArray kBegin = "log UDPv4 link remote: [AF_INET]127.66.0.9:1194;state WAIT;state AUTH;";
const QByteArray kFinish = "state GET_CONFIG;state ASSIGN_IP,,10.8.0.6;state ADD_ROUTES;"
                           "log Initialization Sequence Completed;"
                           "state CONNECTED,SUCCESS,10.8.0.6,127.66.0.9,1194";
const QByteArray kConnect = kBegin + kFinish;
const QStringList kConnected
    = {"CONNECTING", "AUTH", "GET_CONFIG", "ASSIGN_IP", "ADD_ROUTES", "CONNECTED"};
const QString kConnectedInfo = QStringLiteral("Connected: SUCCESS, 10.8.0.6");

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
    void connectTo(const QByteArray &config = kConfig)
    {
        send(wire::Type::Connect,
             {{QStringLiteral("seq"), 1},
              {QStringLiteral("server"), QStringLiteral("127.66.0.9")},
              {QStringLiteral("config"), config}});
    }
    // The next message of the given type, skipping others; false after timeoutMs.
    bool receive(wire::Type type, wire::Message *out, int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (m_decoder.next(out) == wire::FrameDecoder::Ready) {
                if (out->type == type)
                    return true;
            }
            if (m_socket.state() != QLocalSocket::ConnectedState && m_socket.bytesAvailable() == 0)
                return false;
            if (m_socket.bytesAvailable() > 0 || m_socket.waitForReadyRead(100))
                m_decoder.feed(m_socket.readAll());
        }
        return false;
    }
    bool closedByPeer()
    {
        return m_socket.state() == QLocalSocket::UnconnectedState
            || m_socket.waitForDisconnected(3000);
    }

private:
    QLocalSocket m_socket;
    wire::FrameDecoder m_decoder;
};

} // namespace

class TestVpnClient : public QObject
{
    Q_OBJECT

    HelperProcess m_helper;
    QTemporaryDir m_fakeDir; // steers the fakes, which note there what they did

    // A helper that runs the fakes.
    bool startHelper(HelperProcess *helper, const QString &runtimeDir = QString(),
                     bool routeCheck = false)
    {
        const QString bin = QStringLiteral(QUELLNET_BIN_DIR);
        HelperProcess::Options options;
        options.openvpn = bin + QStringLiteral("/tunnelkit_fake_openvpn");
        options.nft = bin + QStringLiteral("/tunnelkit_fake_nft");
        options.environment.insert(QStringLiteral("TUNNELKIT_FAKE_DIR"), m_fakeDir.path());
        options.runtimeDir = runtimeDir;
        options.routeCheck = routeCheck;
        options.arguments = QStringList{QStringLiteral("--reconnect-timeout"), QStringLiteral("2")};
        QString error;
        if (!helper->start(options, &error))
            qWarning("%s", qPrintable(error));
        return error.isEmpty();
    }
    // The helper's engine takes commands in order and answers each once done: an answered
    // command that changes nothing means everything sent before it has been carried out.
    bool helperIdle()
    {
        RawClient barrier;
        wire::Message done;
        if (!barrier.open(m_helper.socketPath()))
            return false;
        barrier.send(wire::Type::SetPolicy, QCborMap{{QStringLiteral("seq"), 1}});
        return barrier.receive(wire::Type::Done, &done, 20000);
    }
    void setFake(const QString &name, const QByteArray &value)
    {
        QFile f(m_fakeDir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(value) >= 0);
    }
    QString record() const
    {
        QFile f(m_fakeDir.filePath(QStringLiteral("record")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QStringList nftScripts() const
    {
        QStringList scripts;
        const QRegularExpression re(QStringLiteral("nft-begin\n(.*?)nft-end\n"),
                                    QRegularExpression::DotMatchesEverythingOption);
        for (auto it = re.globalMatch(record()); it.hasNext();)
            scripts << it.next().captured(1);
        return scripts;
    }
    // The pids of the openvpn processes the helper started, in order.
    QList<qint64> openvpnPids() const
    {
        QList<qint64> pids;
        for (const QString &line : record().split(QLatin1Char('\n')).filter("openvpn-start pid="))
            pids << line.section(QLatin1Char('='), 1).toLongLong();
        return pids;
    }
    QStringList sessionFolders() const
    {
        const QDir engine(m_helper.runtimeDir() + QStringLiteral("/engine"));
        QStringList paths;
        for (const QString &name : engine.entryList({QStringLiteral("quellnet-tunnel-*")},
                                                    QDir::Dirs | QDir::NoDotAndDotDot))
            paths << engine.filePath(name);
        return paths;
    }
    static int start(const QByteArray &config = kConfig)
    {
        client()->setconfig("127.66.0.9", config.toStdString());
        return client()->start();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_fakeDir.isValid());
        QVERIFY(startHelper(&m_helper));
        qputenv("QUELLNET_HELPER_SOCKET", QFile::encodeName(m_helper.socketPath()));
        Rec::install();
    }
    void init()
    {
        Rec::clear();
        for (const QString &f : QDir(m_fakeDir.path()).entryList(QDir::Files))
            QFile::remove(m_fakeDir.filePath(f));
        setFake(QStringLiteral("script"), kConnect);
        client()->setKillSwith(0);
        client()->setKillDisconnect(false);
        client()->setKillLocal(false);
    }
    void cleanup()
    {
        client()->setKillSwith(0);
        client()->setKillDisconnect(false);
        client()->stop();
        QVERIFY(!client()->isStart());
        // A session's end is reported after the fact; the next test must not take it for its own.
        QVERIFY(Rec::waitUntil(
            [] {
                const QString last = Rec::names().value(Rec::names().size() - 1);
                return last.isEmpty() || last == QLatin1String("FAILED")
                    || last == QLatin1String("DISCONNECTED");
            },
            10000));
        QVERIFY(helperIdle());
        QVERIFY(sessionFolders().isEmpty());
    }
    void cleanupTestCase()
    {
        client()->close();
        QVERIFY(m_helper.stop());
    }

    void startReturnsAtOnceAndTheSessionRunsInTheHelperWithItsOwnOpenvpn()
    {
        // openvpn takes a second and a half to come up; the caller does not wait for it.
        setFake(QStringLiteral("connect-delay-ms"), "1500");
        // Once released, openvpn's steps come back to back.
        setFake(QStringLiteral("at-once"), "1");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(start(), 0);
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(client()->isStart());

        // Meanwhile another process (this test) reaches the management socket first.
        QByteArray path;
        struct stat st = {};
        QVERIFY(QTest::qWaitFor(
            [&]() {
                path = QFile::encodeName(sessionFolders().value(0) + QStringLiteral("/mgmt.sock"));
                // Bound, then narrowed to 0600; the 0700 folder covers the moment between.
                return ::stat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode)
                    && (st.st_mode & 0777) == 0600;
            },
            3000));
        const int fd = connectUnix(path, 5);
        QVERIFY(fd >= 0);
        char c;
        QCOMPARE(int(::read(fd, &c, 1)), 0); // closed without a word
        ::close(fd);

        QVERIFY(Rec::waitFor(QStringLiteral("CONNECTED")));
        QVERIFY(logs().contains(QStringLiteral("refused a management connection from pid %1")
                                    .arg(QCoreApplication::applicationPid())));
        QVERIFY(!QFile::exists(QFile::decodeName(path)));
        QCOMPARE(Rec::names(), kConnected);
        QCOMPARE(Rec::info(QStringLiteral("CONNECTING")), QStringLiteral("Waiting for the server"));
        QCOMPARE(Rec::info(QStringLiteral("CONNECTED")), kConnectedInfo);
        QVERIFY(logs().contains(QLatin1String("OpenVPN Management Interface Version 5")));
        // Held output and the replayed log carry the same line: it is passed on once, and
        // before the replayed CONNECTED.
        QVERIFY2(logs().count(QLatin1String("UDPv4 link remote")) == 1, qPrintable(logs()));
        QVERIFY(Rec::offCallerThread());

        // 3 MiB in, 1 MiB out per one-second count; counts before CONNECTED give no report.
        QVERIFY(Rec::waitUntil([] { return Rec::traffic().size() >= 2; }, 5000));
        for (const auto &t : Rec::traffic())
            QCOMPARE(t, qMakePair(3.0f, 1.0f));

        // openvpn talks to the helper, not to this process, and reads a configuration the helper
        // wrote into its own private folder.
        const qint64 helperPid = record()
                                     .section(QStringLiteral("management-peer pid="), 1)
                                     .section('\n', 0, 0)
                                     .toLongLong();
        QVERIFY(helperPid > 0 && helperPid != QCoreApplication::applicationPid());
        const QString folder = sessionFolders().value(0);
        QFile conf(folder + QStringLiteral("/client.conf"));
        QCOMPARE(modeOf(conf.fileName()), 0600u);
        QCOMPARE(modeOf(folder), 0700u);
        QVERIFY(conf.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(conf.readAll());
        QVERIFY(text.contains(QStringLiteral("\ndev qnet%1\n").arg(helperPid)));
        QVERIFY(text.contains(QLatin1String("\nremote 127.66.0.9 1194\nproto udp\n")));
    }
    void sessionOutcomes_data()
    {
        QTest::addColumn<QByteArray>("script"); // the fake openvpn's steps; see fakeopenvpn.cpp
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("info"); // of the last event
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QByteArray>("nftFailOn"); // the fake nft refuses scripts with this
        const char *early = "openvpn ended before its management interface was up (exit code 1)";
        const char *connected = "CONNECTING AUTH GET_CONFIG ASSIGN_IP ADD_ROUTES CONNECTED";
        // $B and $F stand for the two halves of a connect, kBegin and kFinish.
        const struct
        {
            const char *name, *script, *events, *info, *logged, *nftFailOn = "";
        } rows[] = {
            {"openvpn refuses its options", "options-error", "FAILED", early,
             "Options error: fake openvpn refuses to start"},
            {"authentication failure",
             "$Blog AUTH: Received control message: AUTH_FAILED;send >PASSWORD:Verification "
             "Failed: "
             "'Auth';state EXITING,auth-failure;exit 1",
             "CONNECTING AUTH EXITING FAILED", "authentication failed", "AUTH_FAILED"},
            {"fatal error",
             "state WAIT;send >FATAL:Cannot open TUN/TAP dev: No such device;state EXITING,fatal;"
             "exit 1",
             "CONNECTING EXITING FAILED", "Cannot open TUN/TAP dev: No such device",
             "openvpn reports a fatal error"},
            {"crash before connected", "state WAIT;abort", "CONNECTING FAILED", "openvpn crashed",
             "tunnelkit: openvpn crashed"},
            {"crash after connected", "$B$F;pause 300;abort", "$C DISCONNECTED", "openvpn crashed",
             "tunnelkit: openvpn crashed"},
            {"server lost",
             "$B$F;pause 300;log Inactivity timeout (--ping-restart);state "
             "EXITING,ping-restart;exit 0",
             "$C EXITING DISCONNECTED", "connection lost: ping-restart", "Inactivity timeout"},
            // openvpn restarts by itself; the engine lets it go on after the pause it asks for.
            {"server lost and back",
             "$B$F;pause 300;state RECONNECTING,ping-restart;hold 1;state WAIT;state AUTH;"
             "state CONNECTED,SUCCESS,10.8.0.6,127.66.0.9,1194",
             "$C RECONNECTING CONNECTING AUTH CONNECTED", "", "hold released"},
            {"server lost for longer than the reconnect time-out",
             "$B$F;pause 300;state RECONNECTING,ping-restart;hold 1;state WAIT;pause 20000",
             "$C RECONNECTING CONNECTING DISCONNECTED",
             "connection lost: the tunnel did not come back within 2 s", "did not come back"},
            // Before the tunnel was up, a restart is a failed attempt: the client owns retries.
            {"first attempt fails",
             "$Blog TLS Error: TLS handshake failed;state RECONNECTING,tls-error;hold 1;"
             "pause 20000",
             "CONNECTING AUTH FAILED", "openvpn ended before the tunnel was up: tls-error",
             "TLS handshake failed"},
            {"unknown and engine-owned states",
             "$Bstate AUTH_PENDING,timeout 30;state WEIRD_NEW_STATE,x;state FAILED,not openvpn's;"
             "state bad name!,x;$F",
             "CONNECTING AUTH AUTH_PENDING WEIRD_NEW_STATE GET_CONFIG ASSIGN_IP ADD_ROUTES "
             "CONNECTED",
             "", "state 'FAILED' ignored"},
            {"garbage on the management link",
             "$Bjunk;send >STATE:notatime,WAIT;send >BYTECOUNT:12,-5;send >BYTECOUNT:1,2,3;"
             "send \x01\x02\xff\xfe garbage;$F",
             "$C", "", "1 overlong management line(s) dropped"},
            // A pushed auth-token is no question to answer, and its value is never logged.
            {"pushed auth-token",
             "$Blog PUSH: Received control message: 'PUSH_REPLY,dhcp-option DNS "
             "10.8.0.1,auth-token "
             "SECRETTOKEN42,ifconfig 10.8.0.6 255.255.255.0';send "
             ">PASSWORD:Auth-Token:SECRETTOKEN42;$F",
             "$C", "", "auth-token [redacted]"},
            {"firewall refuses the rules before openvpn", "$B$F", "FAILED",
             "the firewall rules could not be installed", "fake nft refuses this script",
             "policy drop"},
            {"firewall refuses the tunnel's rules", "$B$F",
             "CONNECTING AUTH GET_CONFIG ASSIGN_IP ADD_ROUTES EXITING FAILED",
             "the firewall could not let the tunnel through", "fake nft refuses this script",
             "insert rule"},
        };
        for (const auto &r : rows) {
            const QString info = *r.info ? QString::fromLatin1(r.info) : kConnectedInfo;
            QTest::newRow(r.name)
                << QByteArray(r.script).replace("$B", kBegin).replace("$F", kFinish)
                << QString::fromLatin1(r.events)
                       .replace(QLatin1String("$C"), QLatin1String(connected))
                       .split(QLatin1Char(' '))
                << info << r.logged << QByteArray(r.nftFailOn);
        }
    }
    void sessionOutcomes()
    {
        QFETCH(QByteArray, script);
        QFETCH(QStringList, events);
        QFETCH(QString, info);
        QFETCH(QString, logged);
        QFETCH(QByteArray, nftFailOn);
        setFake(QStringLiteral("script"), script);
        if (!nftFailOn.isEmpty()) {
            setFake(QStringLiteral("nft-fail-on"), nftFailOn);
            client()->setKillSwith(3);
        }
        QCOMPARE(start(), 0);
        QVERIFY2(Rec::waitUntil([&] { return Rec::names().size() >= events.size(); }, 8000),
                 qPrintable(Rec::names().join(' ')));
        const bool ended = events.last() != QLatin1String("CONNECTED");
        // Nothing more comes after the terminal event, or once the helper is done with its jobs.
        if (ended)
            QVERIFY(helperIdle());
        QCOMPARE(Rec::names(), events);
        QCOMPARE(Rec::info(events.last()), info);
        QVERIFY2(logs().contains(logged), qPrintable(logs()));
        QVERIFY(!logs().contains(QLatin1String("SECRETTOKEN42")));
        // Refused rules keep openvpn held until it ends.
        if (nftFailOn == "policy drop")
            QVERIFY(!record().contains(QLatin1String("openvpn-released")));
        QTRY_COMPARE(client()->isStart(), !ended);
        if (ended) {
            QVERIFY(sessionFolders().isEmpty());
            QTRY_VERIFY(openvpnPids().value(0) == 0 || processGone(openvpnPids().value(0)));
        }
    }
    void stopEndsTheSessionAndStartReplacesARunningOne()
    {
        QCOMPARE(start(), 0);
        QVERIFY(Rec::waitFor(QStringLiteral("CONNECTED")));
        const qint64 first = openvpnPids().value(0);
        // A second start replaces the session without a terminal event in between.
        QCOMPARE(start(), 0);
        QVERIFY(Rec::waitUntil([] { return Rec::names() == kConnected + kConnected; }, 5000));
        QVERIFY(processGone(first));
        const qint64 second = openvpnPids().value(1);
        QVERIFY(second > 0 && second != first);

        const int mark = Rec::names().size();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(client()->stop(), 0);
        QVERIFY(clock.elapsed() < 500);
        QVERIFY(!client()->isStart());
        QVERIFY(Rec::waitFor(QStringLiteral("DISCONNECTED"), 5000, mark));
        QVERIFY(processGone(second));
        // A second stop says nothing.
        client()->stop();
        QVERIFY(helperIdle());
        QCOMPARE(Rec::names(mark), QStringList{QStringLiteral("DISCONNECTED")});
        QCOMPARE(Rec::info(QStringLiteral("DISCONNECTED")), QStringLiteral("stopped"));
    }
    void hostileConfigurationNeverStartsOpenvpn()
    {
        // The refusal rules are tst_configfilter's; this one also shows the text reaches the
        // helper whole, not cut at its NUL byte into something harmless.
        client()->setKillSwith(3);
        QCOMPARE(start(kConfig + QByteArray("verb 3\n\0up /bin/sh\n", 19)), 0);
        QVERIFY(Rec::waitFor(QStringLiteral("FAILED")));
        QVERIFY2(Rec::info(QStringLiteral("FAILED")).contains(QLatin1String("NUL")),
                 qPrintable(Rec::info(QStringLiteral("FAILED"))));
        // Its own start() decides until the helper has answered it.
        QTRY_VERIFY(!client()->isStart());
        QCOMPARE(record(), QString()); // neither openvpn nor nft ran
        QVERIFY(sessionFolders().isEmpty());
    }
    void firewallFollowsTheSession_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<bool>("userStop");
        QTest::addColumn<bool>("blocked"); // afterwards; else the table is removed
        QTest::newRow("kill switch, user stop") << 3 << false << true << false;
        QTest::newRow("kill switch, user stop, keep") << 3 << true << true << true;
        QTest::newRow("kill switch, server lost") << 3 << false << false << true;
        QTest::newRow("leak protection only, server lost") << 0 << true << false << false;
    }
    void firewallFollowsTheSession()
    {
        QFETCH(int, level);
        QFETCH(bool, keep);
        QFETCH(bool, userStop);
        QFETCH(bool, blocked);
        client()->setKillSwith(level);
        client()->setKillDisconnect(keep);
        if (!userStop)
            setFake(QStringLiteral("script"),
                    kConnect + ";pause 1500;state EXITING,ping-restart;exit 0");
        QCOMPARE(start(), 0);
        QVERIFY(Rec::waitFor(QStringLiteral("CONNECTED")));
        // The rules came before openvpn went on, the tunnel's rules before CONNECTED.
        const QString rec = record();
        QVERIFY(rec.indexOf(QLatin1String("table inet quellnet {"))
                < rec.indexOf(QLatin1String("openvpn-released")));
        const QStringList scripts = nftScripts();
        QCOMPARE(scripts.size(), 2);
        QVERIFY(scripts[0].contains(level == 3 ? QLatin1String("policy drop")
                                               : QLatin1String("policy accept")));
        QVERIFY(scripts[0].contains(QLatin1String("udp dport 53 drop")));
        QVERIFY(scripts[1].contains(QLatin1String("ip daddr 10.8.0.6 drop")));

        if (userStop)
            client()->stop();
        QVERIFY(Rec::waitFor(QStringLiteral("DISCONNECTED"), 8000));
        QVERIFY(helperIdle());
        QCOMPARE(nftScripts().size(), 3);
        const QString last = nftScripts().last();
        if (blocked)
            QVERIFY(last.contains(QLatin1String("policy drop")) && !last.contains("meta mark"));
        else
            QCOMPARE(last, QStringLiteral("table inet quellnet\ndelete table inet quellnet\n"));
    }
    void aSessionOutlivesItsClientAndLateClientsAreToldItsState()
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
            shortLived.connectTo();
        }
        // Everyone authorised hears how it goes: this process's vpnclient and the watcher.
        QVERIFY(Rec::waitFor(QStringLiteral("CONNECTED")));
        QVERIFY(client()->isStart());
        QVERIFY(watcher.receive(wire::Type::Event, &m));

        RawClient late;
        QVERIFY(late.open(m_helper.socketPath()));
        late.send(wire::Type::Query);
        QVERIFY(late.receive(wire::Type::State, &m));
        QCOMPARE(wire::boolField(m.body, "running"), true);
        QCOMPARE(wire::textField(m.body, "name"), QStringLiteral("CONNECTED"));
        QCOMPARE(wire::textField(m.body, "info"), kConnectedInfo);
    }
    void malformedMessagesAreAnsweredAndTheConnectionEnds()
    {
        // What the decoder refuses is in tst_helperprotocol; one such case, and a well-formed
        // message only the helper may send.
        const QByteArray cases[]
            = {"GET / HTTP/1.0\r\n\r\n", wire::encode({wire::Type::Event, QCborMap()})};
        for (const QByteArray &bytes : cases) {
            RawClient raw;
            QVERIFY(raw.open(m_helper.socketPath()));
            raw.sendBytes(bytes);
            wire::Message m;
            QVERIFY2(raw.receive(wire::Type::Error, &m), bytes.toHex().constData());
            QVERIFY(!wire::textField(m.body, "text").isEmpty());
            QVERIFY(raw.closedByPeer());
        }
        QCOMPARE(record(), QString());
    }
    void aUserWhoMayNotIsRefused()
    {
        if (geteuid() != 0)
            QSKIP("needs root to act as another user");
        QCOMPARE(start(), 0);
        QVERIFY(Rec::waitFor(QStringLiteral("CONNECTED")));
        QFile original(sessionFolders().value(0) + QStringLiteral("/client.conf"));
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        const QByteArray confPath = QFile::encodeName(original.fileName());
        const QByteArray path = QFile::encodeName(m_helper.socketPath());
        const QByteArray connect
            = wire::encode({wire::Type::Connect,
                            QCborMap{{QStringLiteral("seq"), 1},
                                     {QStringLiteral("config"), QByteArray(kConfig)}}});
        const pid_t child = fork();
        if (child == 0) {
            // nobody: not root, not in the test's group, not at a desktop; the configuration
            // openvpn reads cannot be rewritten from outside.
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0
                || ::open(confPath.constData(), O_WRONLY | O_CLOEXEC) >= 0 || errno != EACCES)
                _exit(10);
            const int fd = connectUnix(path, 10);
            // The helper may have refused and closed already; its Error is still there to read.
            const bool sent
                = ::write(fd, connect.constData(), size_t(connect.size())) == connect.size()
                || errno == EPIPE || errno == ECONNRESET;
            char header[8] = {};
            const bool refused = ::read(fd, header, 8) == 8 && header[3] == char(wire::Type::Error);
            _exit(fd >= 0 && sent && refused ? 0 : 11);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(helperIdle());
        // The session goes on untouched: no second openvpn, the same configuration.
        QCOMPARE(record().count(QLatin1String("openvpn-start")), 1);
        QVERIFY(client()->isStart());
        original.seek(0);
        QCOMPARE(original.readAll(), before);
        QTRY_VERIFY(m_helper.output().contains(QLatin1String("uid 65534 is not authorised")));
    }
    void aTunnelThatCarriesNoDefaultRouteFails()
    {
        // The fake makes no tunnel device, so a helper that checks the routes (a read-only
        // look-up) finds the default route elsewhere and must not leave the session Connected.
        HelperProcess checking;
        QVERIFY(startHelper(&checking, QString(), true));
        RawClient raw;
        QVERIFY(raw.open(checking.socketPath()));
        raw.connectTo();
        QStringList names;
        wire::Message m;
        while (!names.contains(QLatin1String("FAILED")) && raw.receive(wire::Type::Event, &m))
            names << wire::textField(m.body, "name");
        QVERIFY2(!names.contains(QLatin1String("CONNECTED")), qPrintable(names.join(' ')));
        QCOMPARE(names.last(), QStringLiteral("FAILED"));
        QVERIFY2(wire::textField(m.body, "info").contains(QLatin1String("default route")),
                 qPrintable(wire::textField(m.body, "info")));
        QVERIFY(checking.stop());
    }
    void helperCrashEndsTheSessionAndItsRestartCleansUp()
    {
        client()->setKillSwith(3);
        client()->setKillDisconnect(true);
        QCOMPARE(start(), 0);
        QVERIFY(Rec::waitFor(QStringLiteral("CONNECTED")));
        const qint64 openvpn = openvpnPids().value(0);
        const QString runtime = m_helper.runtimeDir();
        m_helper.kill();
        // openvpn goes with its management link; the client is told.
        QVERIFY(Rec::waitFor(QStringLiteral("DISCONNECTED")));
        QCOMPARE(Rec::info(QStringLiteral("DISCONNECTED")),
                 QStringLiteral("the Quellnet helper stopped"));
        QVERIFY(!client()->isStart());
        QTRY_VERIFY(processGone(openvpn));
        QVERIFY(!sessionFolders().isEmpty());

        // Without a helper a start fails at once and says how to start one.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(start() != 0);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(Rec::waitFor(QStringLiteral("FAILED")));
        QVERIFY(Rec::info(QStringLiteral("FAILED")).contains(QLatin1String("systemctl start")));

        // The next helper removes the session's files and keeps the block that was asked for.
        const int scripts = nftScripts().size();
        QVERIFY(startHelper(&m_helper, runtime));
        QVERIFY(sessionFolders().isEmpty());
        QCOMPARE(nftScripts().size(), scripts + 1);
        QVERIFY(nftScripts().last().contains(QLatin1String("policy drop")));
        QTRY_VERIFY(m_helper.output().contains(QLatin1String("left by an engine that ended")));
    }
};

QTEST_GUILESS_MAIN(TestVpnClient)
#include "tst_vpnclient.moc"
