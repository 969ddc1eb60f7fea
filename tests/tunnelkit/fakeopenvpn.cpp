// Stands in for openvpn in the engine's tests. Reads the configuration given with --config,
// connects out to the management socket named there (management-client, the way the engine
// runs openvpn) and plays the script that FAKE_OPENVPN_MODE picks: connect (default),
// authfail, authtoken, stall, unknown, exitearly, noconnect (nobody listens where it connects),
// fatal, crash, crashearly, serverloss, hang, garbage. FAKE_OPENVPN_CONNECT_DELAY_MS delays the
// connection; FAKE_OPENVPN_HOLD=1 acts as if management-hold were given.
// Like openvpn it keeps its state history and log lines for "state on all" / "log on all",
// sends real-time states and log lines only once they are switched on, waits for
// "hold release" only with management-hold, and checks the listener's user against
// management-client-user. What it sees goes to the file TUNNELKIT_FAKE_RECORD.
#include "fakeenv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void record(const QString &line)
{
    const QString path = qEnvironmentVariable("TUNNELKIT_FAKE_RECORD");
    if (path.isEmpty())
        return;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append))
        f.write(line.toUtf8() + '\n');
}

QString unquote(QString s)
{
    if (s.size() >= 2 && s.startsWith(QLatin1Char('"')) && s.endsWith(QLatin1Char('"')))
        s = s.mid(1, s.size() - 2).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return s;
}

QByteArray now()
{
    return QByteArray::number(QDateTime::currentSecsSinceEpoch());
}

struct Settings
{
    QString management; // socket path
    bool client = false; // management-client
    bool hold = false; // management-hold
    QString user; // management-client-user
};

class FakeOpenvpn : public QObject
{
public:
    FakeOpenvpn(const QString &mode, const Settings &settings)
        : m_mode(mode)
        , m_settings(settings)
    {
        m_inRate = qEnvironmentVariableIntValue("FAKE_OPENVPN_IN_RATE");
        m_outRate = qEnvironmentVariableIntValue("FAKE_OPENVPN_OUT_RATE");
        connect(&m_byteTimer, &QTimer::timeout, this, &FakeOpenvpn::byteCount);
        m_step.setSingleShot(true);
        connect(&m_step, &QTimer::timeout, this, &FakeOpenvpn::nextStep);
        // openvpn's first state and log line, from before it reaches its management peer.
        m_states << now() + ",CONNECTING,,,,,,";
        m_logs << now() + ",I,OpenVPN 2.6 fake";
    }

    // openvpn ends (SIGTERM) when it cannot reach its management peer.
    bool connectOut()
    {
        m_socket = new QLocalSocket(this);
        const QString path = m_mode == QLatin1String("noconnect")
            ? m_settings.management + QStringLiteral(".elsewhere")
            : m_settings.management;
        m_socket->connectToServer(path);
        if (!m_socket->waitForConnected(2000)) {
            std::printf("MANAGEMENT: connect to unix socket %s failed\n", qPrintable(path));
            return false;
        }
        struct ucred peer = {};
        socklen_t size = sizeof peer;
        if (getsockopt(int(m_socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size)
            != 0) {
            std::printf("MANAGEMENT: cannot tell who listens\n");
            return false;
        }
        record(QStringLiteral("openvpn-management-peer pid=%1 uid=%2").arg(peer.pid).arg(peer.uid));
        if (!m_settings.user.isEmpty()) {
            const passwd *pw = getpwnam(m_settings.user.toLocal8Bit().constData());
            if (!pw || pw->pw_uid != peer.uid) {
                std::printf("MANAGEMENT: unix domain socket client connection rejected -- UID of "
                            "socket peer (%u) doesn't match required value as given by "
                            "--management-client-user\n",
                            unsigned(peer.uid));
                return false;
            }
        }
        connect(m_socket, &QLocalSocket::readyRead, this, &FakeOpenvpn::readCommands);
        connect(m_socket, &QLocalSocket::disconnected, this, [this]() {
            record(QStringLiteral("openvpn-management-closed"));
            // openvpn as a management client ends when its peer goes.
            if (m_mode != QLatin1String("hang"))
                quit(0);
        });
        logLine("I",
                "MANAGEMENT: Connected to management server at " + m_settings.management.toUtf8());
        send(">INFO:OpenVPN Management Interface Version 5 -- type 'help' for more info");
        if (m_settings.hold)
            send(">HOLD:Waiting for hold release:0");
        else
            play(); // its first step goes before any command can arrive
        return true;
    }

private:
    void send(const QByteArray &line)
    {
        if (m_socket)
            m_socket->write(line + "\r\n");
    }
    void state(const QByteArray &rest)
    {
        const QByteArray payload = now() + "," + rest;
        m_states << payload;
        if (m_stateOn)
            send(">STATE:" + payload);
    }
    void logLine(const QByteArray &flags, const QByteArray &text)
    {
        const QByteArray payload = now() + "," + flags + "," + text;
        m_logs << payload;
        if (m_logOn)
            send(">LOG:" + payload);
    }
    void history(const QList<QByteArray> &lines)
    {
        for (const QByteArray &l : lines)
            send(l);
        send("END");
    }
    void quit(int code)
    {
        record(QStringLiteral("openvpn-exit code=%1").arg(code));
        if (m_socket)
            m_socket->flush();
        QCoreApplication::exit(code);
    }

    void readCommands()
    {
        while (m_socket && m_socket->canReadLine()) {
            const QByteArray cmd = m_socket->readLine().trimmed();
            record(QStringLiteral("openvpn-cmd ") + QString::fromUtf8(cmd));
            if (cmd == "state on" || cmd == "state on all") {
                send("SUCCESS: real-time state notification set to ON");
                if (cmd.endsWith(" all"))
                    history(m_states);
                m_stateOn = true;
            } else if (cmd.startsWith("bytecount ")) {
                send("SUCCESS: bytecount interval changed");
                m_byteTimer.start(cmd.mid(10).toInt() * 1000);
            } else if (cmd == "log on" || cmd == "log on all") {
                send("SUCCESS: real-time log notification set to ON");
                if (cmd.endsWith(" all"))
                    history(m_logs);
                m_logOn = true;
            } else if (cmd == "hold release") {
                send("SUCCESS: hold release succeeded");
                if (!m_played)
                    play();
            } else if (cmd == "signal SIGTERM") {
                send("SUCCESS: signal SIGTERM thrown");
                if (m_mode != QLatin1String("hang")) {
                    state("EXITING,SIGTERM,,,,,");
                    logLine("I", "SIGTERM[hard,] received, process exiting");
                    QTimer::singleShot(20, this, [this]() { quit(0); });
                }
            } else {
                send("ERROR: unknown command, enter 'help' for more options");
            }
        }
    }

    void connectSteps()
    {
        m_steps << [this]() {
            state("ASSIGN_IP,,10.8.0.6,,,,,");
        } << [this]() {
            state("ADD_ROUTES,,,,,,,");
        } << [this]() {
            logLine("I", "Initialization Sequence Completed");
            state("CONNECTED,SUCCESS,10.8.0.6,127.66.0.9,1194,,");
            m_connected = true;
        };
    }

    void play()
    {
        m_played = true;
        const QString m = m_mode;
        m_steps << [this]() {
            logLine("I", "UDPv4 link remote: [AF_INET]127.66.0.9:1194");
            state("WAIT,,,,,,,");
        };
        if (m == QLatin1String("stall") || m == QLatin1String("crashearly")) {
            if (m == QLatin1String("crashearly"))
                m_steps << []() {
                    std::abort();
                };
        } else if (m == QLatin1String("fatal")) {
            m_steps << [this]() {
                send(">FATAL:Cannot open TUN/TAP dev /dev/net/tun: No such device");
                state("EXITING,fatal,,,,,");
            } << [this]() {
                quit(1);
            };
        } else {
            m_steps << [this]() {
                state("AUTH,,,,,,,");
            };
            if (m == QLatin1String("authfail")) {
                m_steps << [this]() {
                    logLine("I", "AUTH: Received control message: AUTH_FAILED");
                    send(">PASSWORD:Verification Failed: 'Auth'");
                    state("EXITING,auth-failure,,,,,");
                } << [this]() {
                    quit(1);
                };
            } else {
                if (m == QLatin1String("unknown")) {
                    m_steps << [this]() {
                        state("AUTH_PENDING,timeout 30,,,,,");
                    } << [this]() {
                        state("WEIRD_NEW_STATE,some text,,,,,");
                    } << [this]() {
                        state("FAILED,not from openvpn,,,,,");
                    } << [this]() {
                        state("bad name!,x,,,,,");
                    };
                }
                if (m == QLatin1String("garbage")) {
                    m_steps << [this]() {
                        send(QByteArray(100 * 1024, 'x'));
                        send(">STATE:notatime,WAIT");
                        send(">BYTECOUNT:12,-5");
                        send(">BYTECOUNT:1,2,3");
                        send(QByteArray("\x01\x02\xff\xfe garbage"));
                    };
                }
                m_steps << [this]() {
                    state("GET_CONFIG,,,,,,,");
                };
                if (m == QLatin1String("authtoken")) {
                    // As openvpn 2.6 shows a push reply: the token is in it once unredacted.
                    m_steps << [this]() {
                        logLine("I",
                                "PUSH: Received control message: 'PUSH_REPLY,dhcp-option DNS "
                                "10.8.0.1,auth-token SECRETTOKEN42,ifconfig 10.8.0.6 "
                                "255.255.255.0'");
                        send(">PASSWORD:Auth-Token:SECRETTOKEN42");
                    };
                }
                connectSteps();
            }
        }
        nextStep();
    }

    void nextStep()
    {
        if (m_steps.isEmpty())
            return;
        m_steps.takeFirst()();
        if (!m_steps.isEmpty())
            m_step.start(30);
    }

    void byteCount()
    {
        if (m_connected) {
            m_in += m_inRate;
            m_out += m_outRate;
            ++m_connectedTicks;
        } else {
            m_in += 1000;
            m_out += 700;
        }
        send(">BYTECOUNT:" + QByteArray::number(m_in) + "," + QByteArray::number(m_out));
        if (m_connectedTicks == 2 && m_mode == QLatin1String("crash")) {
            m_socket->flush();
            std::abort();
        }
        if (m_connectedTicks == 2 && m_mode == QLatin1String("serverloss")) {
            logLine("I", "[server] Inactivity timeout (--ping-restart), restarting");
            state("EXITING,ping-restart,,,,,");
            QTimer::singleShot(20, this, [this]() { quit(0); });
        }
    }

    QString m_mode;
    Settings m_settings;
    QLocalSocket *m_socket = nullptr;
    QTimer m_byteTimer;
    QTimer m_step;
    QList<std::function<void()>> m_steps;
    QList<QByteArray> m_states; // "state all"
    QList<QByteArray> m_logs; // "log all"
    bool m_stateOn = false;
    bool m_logOn = false;
    bool m_played = false;
    bool m_connected = false;
    int m_connectedTicks = 0;
    quint64 m_in = 5000;
    quint64 m_out = 4000;
    qint64 m_inRate = 0;
    qint64 m_outRate = 0;
};

} // namespace

int main(int argc, char **argv)
{
    loadFakeEnvironment();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--config"));
    const QString configPath = at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    record(QStringLiteral("openvpn-start pid=%1 args=%2")
               .arg(QCoreApplication::applicationPid())
               .arg(args.mid(1).join(QLatin1Char(' '))));

    QFile config(configPath);
    if (!config.open(QIODevice::ReadOnly)) {
        std::printf("Options error: cannot read %s\n", qPrintable(configPath));
        return 1;
    }
    const QByteArray text = config.readAll();
    const QString recordPath = qEnvironmentVariable("TUNNELKIT_FAKE_RECORD");
    if (!recordPath.isEmpty()) {
        QFile copy(recordPath + QStringLiteral(".conf"));
        if (copy.open(QIODevice::WriteOnly | QIODevice::Truncate))
            copy.write(text);
    }
    struct stat fileStat;
    struct stat dirStat;
    const QByteArray dirPath = QFileInfo(configPath).absolutePath().toLocal8Bit();
    if (stat(configPath.toLocal8Bit().constData(), &fileStat) == 0
        && stat(dirPath.constData(), &dirStat) == 0)
        record(QStringLiteral("openvpn-files config=%1 mode=%2 dirmode=%3")
                   .arg(configPath)
                   .arg(fileStat.st_mode & 0777, 3, 8, QLatin1Char('0'))
                   .arg(dirStat.st_mode & 0777, 3, 8, QLatin1Char('0')));

    Settings settings;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1String("management ")) && line.endsWith(QLatin1String(" unix")))
            settings.management = unquote(line.mid(11, line.size() - 16));
        if (line.startsWith(QLatin1String("management-client-user ")))
            settings.user = unquote(line.mid(23));
        if (line == QLatin1String("management-client"))
            settings.client = true;
        if (line == QLatin1String("management-hold"))
            settings.hold = true;
    }
    if (qEnvironmentVariableIntValue("FAKE_OPENVPN_HOLD") == 1)
        settings.hold = true;

    const QString mode = qEnvironmentVariable("FAKE_OPENVPN_MODE", QStringLiteral("connect"));
    if (mode == QLatin1String("exitearly")) {
        std::printf("Options error: fake openvpn refuses to start\n");
        std::fflush(stdout);
        record(QStringLiteral("openvpn-exit code=1"));
        return 1;
    }
    if (mode == QLatin1String("hang"))
        std::signal(SIGTERM, SIG_IGN);
    std::printf("OpenVPN 2.6 fake\n");
    std::fflush(stdout);
    if (settings.management.isEmpty() || !settings.client) {
        std::printf("MANAGEMENT: the fake only connects out (management PATH unix, "
                    "management-client)\n");
        return 1;
    }

    const int delayMs = qEnvironmentVariableIntValue("FAKE_OPENVPN_CONNECT_DELAY_MS");
    if (delayMs > 0 && delayMs <= 10000)
        usleep(useconds_t(delayMs) * 1000);
    FakeOpenvpn fake(mode, settings);
    if (!fake.connectOut()) {
        std::fflush(stdout);
        record(QStringLiteral("openvpn-exit code=1"));
        return 1;
    }
    return app.exec();
}
