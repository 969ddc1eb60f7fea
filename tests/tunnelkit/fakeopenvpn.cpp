// Stands in for openvpn in the engine's tests. Reads the configuration given with --config,
// listens on the management socket named there and plays the script that FAKE_OPENVPN_MODE
// picks: connect (default), authfail, stall, unknown, exitearly, fatal, crash, crashearly,
// serverloss, hang, garbage. What it sees goes to the file TUNNELKIT_FAKE_RECORD.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/stat.h>

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

class FakeOpenvpn : public QObject
{
public:
    FakeOpenvpn(const QString &mode, bool managementSignal)
        : m_mode(mode)
        , m_managementSignal(managementSignal)
    {
        m_inRate = qEnvironmentVariableIntValue("FAKE_OPENVPN_IN_RATE");
        m_outRate = qEnvironmentVariableIntValue("FAKE_OPENVPN_OUT_RATE");
        connect(&m_server, &QLocalServer::newConnection, this, &FakeOpenvpn::accept);
        connect(&m_byteTimer, &QTimer::timeout, this, &FakeOpenvpn::byteCount);
        m_step.setSingleShot(true);
        connect(&m_step, &QTimer::timeout, this, &FakeOpenvpn::nextStep);
    }

    bool listen(const QString &path) { return m_server.listen(path); }

private:
    void send(const QByteArray &line)
    {
        if (m_socket)
            m_socket->write(line + "\r\n");
    }
    QByteArray now() const { return QByteArray::number(QDateTime::currentSecsSinceEpoch()); }
    void state(const QByteArray &rest) { send(">STATE:" + now() + "," + rest); }
    void logLine(const QByteArray &flags, const QByteArray &text)
    {
        send(">LOG:" + now() + "," + flags + "," + text);
    }
    void quit(int code)
    {
        record(QStringLiteral("openvpn-exit code=%1").arg(code));
        if (m_socket)
            m_socket->flush();
        QCoreApplication::exit(code);
    }

    void accept()
    {
        QLocalSocket *s = m_server.nextPendingConnection();
        if (m_socket) {
            s->abort();
            return;
        }
        m_socket = s;
        connect(m_socket, &QLocalSocket::readyRead, this, &FakeOpenvpn::readCommands);
        connect(m_socket, &QLocalSocket::disconnected, this, [this]() {
            record(QStringLiteral("openvpn-management-closed"));
            // What management-signal with remap-usr1 SIGTERM does.
            if (m_managementSignal && m_mode != QLatin1String("hang"))
                quit(0);
        });
        send(">INFO:OpenVPN Management Interface Version 5 -- type 'help' for more info");
        send(">HOLD:Waiting for hold release:0");
    }

    void readCommands()
    {
        while (m_socket && m_socket->canReadLine()) {
            const QByteArray cmd = m_socket->readLine().trimmed();
            record(QStringLiteral("openvpn-cmd ") + QString::fromUtf8(cmd));
            if (cmd == "state on") {
                send("SUCCESS: real-time state notification set to ON");
            } else if (cmd.startsWith("bytecount ")) {
                send("SUCCESS: bytecount interval changed");
                m_byteTimer.start(cmd.mid(10).toInt() * 1000);
            } else if (cmd == "log on") {
                send("SUCCESS: real-time log notification set to ON");
            } else if (cmd == "hold release") {
                send("SUCCESS: hold release succeeded");
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
    bool m_managementSignal;
    QLocalServer m_server;
    QLocalSocket *m_socket = nullptr;
    QTimer m_byteTimer;
    QTimer m_step;
    QList<std::function<void()>> m_steps;
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

    QString management;
    bool managementSignal = false;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1String("management ")) && line.endsWith(QLatin1String(" unix")))
            management = unquote(line.mid(11, line.size() - 16));
        if (line == QLatin1String("management-signal"))
            managementSignal = true;
    }

    const QString mode = qEnvironmentVariable("FAKE_OPENVPN_MODE", QStringLiteral("connect"));
    if (mode == QLatin1String("exitearly")) {
        std::printf("Options error: fake openvpn refuses to start\n");
        std::fflush(stdout);
        record(QStringLiteral("openvpn-exit code=1"));
        return 1;
    }
    if (mode == QLatin1String("hang"))
        std::signal(SIGTERM, SIG_IGN);
    std::printf("OpenVPN 2.6 fake, management on %s\n", qPrintable(management));
    std::fflush(stdout);

    FakeOpenvpn fake(mode, managementSignal);
    if (management.isEmpty() || !fake.listen(management)) {
        std::printf("MANAGEMENT: cannot listen on '%s'\n", qPrintable(management));
        return 1;
    }
    return app.exec();
}
