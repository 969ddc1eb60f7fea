// Connect-time benchmark, run by hand through bench-connect.sh inside the test network: time
// from vpnclient::start() to "CONNECTED", through a quellnet-helper started here, against the time
// the bare openvpn command line needs to print "Initialization Sequence Completed" with the same
// configuration. Rounds alternate which one goes first; the medians and their ratio are printed.
// With QUELLNET_BENCH_KILL_SWITCH=1 the engine runs with its kill switch on (its nft steps count).
#include "eventrecorder.h"
#include "helperprocess.h"
#include "vpnclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

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

// Milliseconds until the bare openvpn reports the tunnel up; negative on failure.
double bareRound(const QString &configFile)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QByteArray out;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("openvpn"), {QStringLiteral("--config"), configFile});
    const bool ok = EventRecorder::waitUntil(
        [&] {
            out += p.readAll();
            return out.contains("Initialization Sequence Completed")
                || p.state() == QProcess::NotRunning;
        },
        30000);
    const double ms = t.nsecsElapsed() / 1e6;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(2000);
    }
    if (!ok || !out.contains("Initialization Sequence Completed")) {
        std::fprintf(stderr, "bare openvpn failed:\n%s\n", out.constData());
        return -1;
    }
    return ms;
}

// Milliseconds until CONNECTED; *returned gets the time start() took.
double engineRound(const std::string &server, const std::string &config, double *returned)
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
