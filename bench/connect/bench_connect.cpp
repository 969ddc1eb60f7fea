// Connect-time benchmark, run by hand through bench-connect.sh inside the test network: time
// from vpnclient::start() to "CONNECTED", through a quellnet-helper started here, against the time
// the bare openvpn command line needs to print "Initialization Sequence Completed" with the same
// configuration. Rounds alternate which one goes first; the medians and their ratio are printed.
// With QUELLNET_BENCH_KILL_SWITCH=1 the engine runs with its kill switch on (its nft steps count).
// With "reconnect" after the rounds, one session stays up and is brought back instead: the time
// from the client's link coming back (after a second without it) and from a resume announced on a
// private bus, each to "CONNECTED" again, against the same bare connect.
#include "childprocess.h"
#include "eventrecorder.h"
#include "fakelogind.h"
#include "helperprocess.h"
#include "vpnclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Milliseconds until the bare openvpn reports the tunnel up; negative on failure. Started the
// way the helper starts it: a fork of this process would add its own cost to the baseline.
double bareRound(const QString &configFile)
{
    tunnelkit::ChildProcess p;
    QByteArray out;
    QEventLoop loop;
    QObject::connect(&p, &tunnelkit::ChildProcess::readyRead, &loop, [&] {
        out += p.readAll();
        if (out.contains("Initialization Sequence Completed"))
            loop.quit();
    });
    QObject::connect(&p, &tunnelkit::ChildProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    QElapsedTimer t;
    t.start();
    QString error;
    static const QString openvpn = QStandardPaths::findExecutable(QStringLiteral("openvpn"));
    if (!p.start(openvpn, {QStringLiteral("--config"), configFile}, QString(), &error)) {
        std::fprintf(stderr, "bare openvpn: %s\n", qPrintable(error));
        return -1;
    }
    // Woken by openvpn's own output, as the engine's side is by its event.
    loop.exec();
    const double ms = t.nsecsElapsed() / 1e6;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(2000);
    }
    if (!out.contains("Initialization Sequence Completed")) {
        std::fprintf(stderr, "bare openvpn failed:\n%s\n", out.constData());
        return -1;
    }
    return ms;
}

// Milliseconds until CONNECTED; *returned gets the time start() took.
double engineRound(const std::string &server, const std::string &config, double *returned,
                   bool stop = true)
{
    vpnclient *engine = vpnclient::instance();
    engine->setKillSwith(qEnvironmentVariableIntValue("QUELLNET_BENCH_KILL_SWITCH") == 1 ? 3 : 0);
    engine->setKillDisconnect(false);
    engine->setKillLocal(true);
    engine->setconfig(server, config);
    const int mark = EventRecorder::names().size();
    QElapsedTimer t;
    t.start();
    if (engine->start() != 0) {
        std::fprintf(stderr, "start() failed\n");
        return -1;
    }
    *returned = t.nsecsElapsed() / 1e6;
    const QString first = EventRecorder::waitForFirst(
        {QStringLiteral("CONNECTED"), QStringLiteral("FAILED"), QStringLiteral("DISCONNECTED")},
        30000, mark);
    const double ms = t.nsecsElapsed() / 1e6;
    if (!stop)
        return first == QLatin1String("CONNECTED") ? ms : -1;
    engine->stop();
    // The helper ends the session after stop() has returned; the next round waits for it.
    (void)EventRecorder::waitForFirst({QStringLiteral("FAILED"), QStringLiteral("DISCONNECTED")},
                                      15000, mark);
    if (first != QLatin1String("CONNECTED")) {
        std::fprintf(stderr, "engine did not connect\n");
        return -1;
    }
    return ms;
}

// Milliseconds from `trigger` to the session's next CONNECTED; negative on failure.
template<typename Trigger>
double backRound(Trigger trigger)
{
    const QStringList ends
        = {QStringLiteral("CONNECTED"), QStringLiteral("FAILED"), QStringLiteral("DISCONNECTED")};
    const int mark = EventRecorder::names().size();
    QElapsedTimer t;
    t.start();
    if (!trigger() || EventRecorder::waitForFirst(ends, 30000, mark) != QLatin1String("CONNECTED"))
        return -1;
    return t.nsecsElapsed() / 1e6;
}

bool ip(const QByteArray &batch)
{
    QProcess p;
    p.start(QStringLiteral("ip"), {QStringLiteral("-batch"), QStringLiteral("-")});
    p.write(batch);
    p.closeWriteChannel();
    return p.waitForFinished(5000) && p.exitCode() == 0;
}

// The bare connects first (a second openvpn would take the session's place at the server), then
// one session is brought back, after its link was down for a second and after a resume.
int reconnectRounds(int rounds, const QString &configFile, const std::string &server,
                    const std::string &config, const FakeLogind &logind)
{
    std::vector<double> bare, link, resume;
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(bareRound(configFile));
        if (bare.back() < 0)
            return 1;
    }
    double returned = 0;
    if (engineRound(server, config, &returned, false) < 0)
        return 1;
    const QByteArray up = "link set eth0 up\nroute replace default via "
        + qgetenv("QUELLNET_E2E_ROUTER_LAN_IP") + "\n";
    const auto linkBack = [&] {
        const int mark = EventRecorder::names().size();
        if (!ip("link set eth0 down\n")
            || !EventRecorder::waitFor(QStringLiteral("RECONNECTING"), 5000, mark))
            return -1.0;
        // Down for a while, as a lost network is, not only a blink.
        EventRecorder::waitUntil([] { return false; }, 1000);
        return backRound([&] { return ip(up); });
    };
    for (int i = 0; i < rounds; ++i) {
        link.push_back(linkBack());
        resume.push_back(backRound([&] { return logind.sleepAndWake(); }));
        if (link.back() < 0 || resume.back() < 0) {
            std::fprintf(stderr, "round %d failed\n", i + 1);
            return 1;
        }
        std::printf("round %d: bare openvpn %.1f ms, link back %.1f ms, resume %.1f ms\n", i + 1,
                    bare[size_t(i)], link.back(), resume.back());
        std::fflush(stdout);
    }
    const double mb = median(bare);
    std::printf("median of %d rounds: bare openvpn %.1f ms, link back to CONNECTED %.1f ms, "
                "resume to CONNECTED %.1f ms\n",
                rounds, mb, median(link), median(resume));
    std::printf("ratio link/bare: %.3f, resume/bare: %.3f (goal <= 1.5)\n", median(link) / mb,
                median(resume) / mb);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = qBound(1, argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 21, 50);
    QFile file(qEnvironmentVariable("QUELLNET_E2E_CLIENT_OVPN"));
    const QString server = qEnvironmentVariable("QUELLNET_E2E_SERVER_IP");
    if (server.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "run me through tests/e2e/bench-connect.sh\n");
        return 2;
    }
    const QByteArray config = file.readAll();

    HelperProcess helper;
    HelperProcess::Options options;
    // The helper replaces /etc/resolv.conf only where e2e-net.sh made /etc private.
    QFile privateEtc(QStringLiteral("/etc/quellnet-e2e-private"));
    options.dns = privateEtc.exists() ? QStringLiteral("resolv.conf") : QStringLiteral("none");
    options.routeCheck = true;
    const bool reconnect = argc > 2 && qstrcmp(argv[2], "reconnect") == 0;
    FakeLogind logind;
    if (reconnect) {
        if (!logind.start()) {
            std::fprintf(stderr, "no private bus (dbus-daemon)\n");
            return 2;
        }
        options.arguments = QStringList{QStringLiteral("--system-bus"), logind.address()};
    }
    QString error;
    if (!helper.start(options, &error)) {
        std::fprintf(stderr, "quellnet-helper: %s\n", qPrintable(error));
        return 1;
    }
    qputenv("QUELLNET_HELPER_SOCKET", QFile::encodeName(helper.socketPath()));
    EventRecorder::install();

    std::vector<double> bare;
    std::vector<double> engine;
    std::vector<double> startCall;
    const std::string s = server.toStdString();
    const std::string c = config.toStdString();
    if (reconnect) {
        const int rc = reconnectRounds(rounds, file.fileName(), s, c, logind);
        vpnclient::instance()->close();
        return rc;
    }
    for (int i = 0; i < rounds; ++i) {
        const bool engineFirst = i % 2;
        double returned = 0;
        double e = engineFirst ? engineRound(s, c, &returned) : 0;
        const double b = bareRound(file.fileName());
        if (!engineFirst)
            e = engineRound(s, c, &returned);
        if (b < 0 || e < 0)
            return 1;
        std::printf("round %d: bare openvpn %.1f ms, engine %.1f ms (start() returned after "
                    "%.1f ms)\n",
                    i + 1, b, e, returned);
        std::fflush(stdout);
        bare.push_back(b);
        engine.push_back(e);
        startCall.push_back(returned);
    }
    vpnclient::instance()->close();
    const double mb = median(bare);
    const double me = median(engine);
    std::printf("median of %d rounds: bare openvpn %.1f ms, engine start() to CONNECTED %.1f ms "
                "(start() itself %.1f ms, overhead %.1f ms)\n",
                rounds, mb, me, median(startCall), me - mb);
    std::printf("ratio engine/bare: %.3f (goal <= 1.10)\n", me / mb);
    return 0;
}
