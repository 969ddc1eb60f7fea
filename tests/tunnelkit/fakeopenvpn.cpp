// Stands in for openvpn in the engine's tests. The test steers it through files in
// TUNNELKIT_FAKE_DIR (the helper's environment is fixed when it starts) and it notes what it
// did in the file "record" there. It reads the configuration given with --config, connects out
// to the management socket named there and plays the steps of the file "script",
// one every 30 ms, separated by ';':
//   state NAME[,REASON[,ADDRESS...]]  a state change     log TEXT   a log line
//   send LINE    a raw management line                   junk       a 100 KiB line
//   pause MS     a longer gap                            exit CODE  abort (a crash)
//   hold SECONDS  waits for "hold release" (logs "hold released", notes "openvpn-released")
// With management-hold in the configuration it holds first. A first step "options-error" ends
// it at once with an option error. Like openvpn it keeps its state and log history for
// "state on all" / "log on all" and sends real-time lines only once they are on. The file
// "connect-delay-ms" delays the connection; with the file "at-once" the steps up to the next
// hold are played back to back, without a gap or a command in between. Byte counts grow by
// 1000 and 700 per interval, once CONNECTED by 3 MiB and 1 MiB.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocalSocket>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

QByteArray steering(const char *name)
{
    QFile f(QDir(qEnvironmentVariable("TUNNELKIT_FAKE_DIR")).filePath(QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
}

void record(const QString &line)
{
    QFile f(QDir(qEnvironmentVariable("TUNNELKIT_FAKE_DIR")).filePath(QStringLiteral("record")));
    if (f.open(QIODevice::Append))
        f.write(line.toUtf8() + '\n');
}

QByteArray stamped(const QByteArray &rest)
{
    return QByteArray::number(QDateTime::currentSecsSinceEpoch()) + ',' + rest;
}

int fail(const char *message)
{
    std::printf("%s\n", message);
    return 1;
}

class FakeOpenvpn : public QObject
{
public:
    explicit FakeOpenvpn(const QList<QByteArray> &steps)
        : m_steps(steps)
    {
        connect(&m_byteTimer, &QTimer::timeout, this, &FakeOpenvpn::byteCount);
        m_stepTimer.setSingleShot(true);
        connect(&m_stepTimer, &QTimer::timeout, this, &FakeOpenvpn::nextStep);
        // openvpn's first state and log line, from before it reaches its management peer.
        m_states << stamped("CONNECTING,,,,,,");
        m_logs << stamped("I,OpenVPN 2.6 fake");
    }

    bool connectOut(const QString &path)
    {
        m_socket.connectToServer(path);
        if (!m_socket.waitForConnected(2000)) {
            std::printf("MANAGEMENT: connect to unix socket %s failed\n", qPrintable(path));
            return false;
        }
        ucred peer = {};
        socklen_t size = sizeof peer;
        getsockopt(int(m_socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size);
        record(QStringLiteral("openvpn-management-peer pid=%1").arg(peer.pid));
        connect(&m_socket, &QLocalSocket::readyRead, this, &FakeOpenvpn::readCommands);
        // openvpn as a management client ends when its peer goes.
        connect(&m_socket, &QLocalSocket::disconnected, qApp, &QCoreApplication::quit);
        send(">INFO:OpenVPN Management Interface Version 5 -- type 'help' for more info");
        nextStep(); // the first step goes before any command can arrive
        playAtOnce();
        return true;
    }

private:
    void playAtOnce()
    {
        for (int i = 0; i < 100 && !steering("at-once").isEmpty() && !m_steps.isEmpty() && !m_held;
             ++i)
            nextStep();
    }

    void send(const QByteArray &line) { m_socket.write(line + "\r\n"); }
    void notify(QList<QByteArray> &history, bool on, const char *prefix, const QByteArray &rest)
    {
        history << stamped(rest);
        if (on)
            send(prefix + history.last());
    }

    void readCommands()
    {
        while (m_socket.canReadLine()) {
            const QByteArray cmd = m_socket.readLine().trimmed();
            const bool state = cmd == "state on all";
            if (state || cmd == "log on all") {
                send("SUCCESS: real-time notification set to ON");
                for (const QByteArray &l : state ? m_states : m_logs)
                    send(l);
                send("END");
                (state ? m_stateOn : m_logOn) = true;
            } else if (cmd.startsWith("bytecount ")) {
                send("SUCCESS: bytecount interval changed");
                m_byteTimer.start(cmd.mid(10).toInt() * 1000);
            } else if (cmd == "hold release") {
                send("SUCCESS: hold release succeeded");
                // As openvpn: a release outside a hold does nothing, not even for the next one.
                if (!std::exchange(m_held, false))
                    continue;
                record(QStringLiteral("openvpn-released"));
                notify(m_logs, m_logOn, ">LOG:", "I,hold released");
                nextStep();
                playAtOnce();
            } else if (cmd == "signal SIGTERM") {
                send("SUCCESS: signal SIGTERM thrown");
                m_steps = {"state EXITING,SIGTERM", "exit 0"};
                nextStep();
            } else {
                send("ERROR: unknown command, enter 'help' for more options");
            }
        }
    }

    void nextStep()
    {
        if (m_steps.isEmpty())
            return;
        const QByteArray step = m_steps.takeFirst();
        const int space = step.indexOf(' ');
        const QByteArray op = space < 0 ? step : step.left(space);
        const QByteArray arg = space < 0 ? QByteArray() : step.mid(space + 1);
        int gap = 30;
        if (op == "state") {
            notify(m_states, m_stateOn, ">STATE:", arg + ",,,,,,");
            m_connected = arg.startsWith("CONNECTED");
        } else if (op == "log") {
            notify(m_logs, m_logOn, ">LOG:", "I," + arg);
        } else if (op == "send" || op == "junk") {
            send(op == "junk" ? QByteArray(100 * 1024, 'x') : arg);
        } else if (op == "pause") {
            gap = arg.toInt();
        } else if (op == "hold") {
            send(">HOLD:Waiting for hold release:" + arg);
            m_held = true;
            return;
        } else if (op == "exit" || op == "abort") {
            m_socket.flush();
            if (op == "abort")
                std::abort();
            return QCoreApplication::exit(arg.toInt());
        }
        if (!m_steps.isEmpty())
            m_stepTimer.start(gap);
    }

    void byteCount()
    {
        m_in += m_connected ? 3 * 1048576 : 1000;
        m_out += m_connected ? 1048576 : 700;
        send(">BYTECOUNT:" + QByteArray::number(m_in) + ',' + QByteArray::number(m_out));
    }

    QList<QByteArray> m_steps;
    QLocalSocket m_socket;
    QTimer m_byteTimer;
    QTimer m_stepTimer;
    QList<QByteArray> m_states; // for "state on all"
    QList<QByteArray> m_logs; // for "log on all"
    bool m_stateOn = false;
    bool m_logOn = false;
    bool m_connected = false;
    bool m_held = false;
    quint64 m_in = 5000;
    quint64 m_out = 4000;
};

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    record(QStringLiteral("openvpn-start pid=%1").arg(QCoreApplication::applicationPid()));
    QFile config(args.value(2));
    if (args.size() != 3 || args[1] != QLatin1String("--config")
        || !config.open(QIODevice::ReadOnly))
        return fail("Options error: expected --config FILE");

    QString management;
    bool startHeld = false;
    for (const QByteArray &raw : config.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed().remove(QLatin1Char('"'));
        if (line.startsWith(QLatin1String("management ")) && line.endsWith(QLatin1String(" unix")))
            management = line.mid(11, line.size() - 16);
        startHeld = startHeld || line == QLatin1String("management-hold");
    }
    QList<QByteArray> steps = steering("script").split(';');
    if (steps.first() == "options-error")
        return fail("Options error: fake openvpn refuses to start");
    std::printf("OpenVPN 2.6 fake\n");
    usleep(useconds_t(qBound(0, steering("connect-delay-ms").toInt(), 10000)) * 1000);
    if (startHeld)
        steps.prepend("hold 0");
    FakeOpenvpn fake(steps);
    return fake.connectOut(management) ? app.exec() : 1;
}
