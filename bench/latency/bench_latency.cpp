// Latency-test benchmark, run by hand through bench-latency.sh inside its namespaces: the time
// a run over 1 000 rows takes when every other row never answers, against the ping time-out.
// The baseline, timed in the same run, is one silent echo: the time-out itself. Rounds are
// repeated; the medians and their ratios are printed.
#include "latencytest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 1000;
constexpr double kGoal = 1.1;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Even rows answer (198.18.112.0/23), odd ones are silent (198.18.114.0/23).
QString host(int row)
{
    const int n = row / 2;
    return QStringLiteral("198.18.%1.%2").arg((row % 2 ? 114 : 112) + n / 250).arg(1 + n % 250);
}

struct Round
{
    double ms = 0;
    double answeredMs = 0; // when the last answered row had its result
};

// One run; false when a row has no result or the wrong kind of result.
bool runRound(Round *round)
{
    QList<LatencyTest::Row> rows;
    for (int row = 0; row < kRows; ++row)
        rows.append({quint64(row), host(row)});
    LatencyTest test;
    QEventLoop loop;
    QElapsedTimer clock;
    int results = 0;
    bool wrong = false;
    QObject::connect(&test, &LatencyTest::signalSpeed, &loop,
                     [&](quint64 key, const QString &text) {
                         ++results;
                         const bool silent = key % 2;
                         wrong = wrong || silent != text.startsWith(QLatin1Char('>'));
                         if (!silent)
                             round->answeredMs = clock.nsecsElapsed() / 1e6;
                     });
    QObject::connect(&test, &LatencyTest::signalTestSpeedFinised, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    clock.start();
    test.start(rows);
    loop.exec();
    round->ms = clock.nsecsElapsed() / 1e6;
    return !wrong && results == kRows && test.runningTests() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = qBound(1, argc > 1 ? QByteArray(argv[1]).toInt() : 5, 50);
    // The first echo also resolves the far side's link address.
    if (pingHost(host(0)) < 0 || pingHost(host(1)) >= 0) {
        std::fprintf(stderr, "run me through bench/latency/bench-latency.sh\n");
        return 2;
    }
    std::vector<double> baseline, run, answered;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        pingHost(host(1 + 2 * i));
        baseline.push_back(clock.nsecsElapsed() / 1e6);
        Round round;
        if (!runRound(&round)) {
            std::fprintf(stderr, "round %d: a row had no result or a wrong one\n", i + 1);
            return 1;
        }
        run.push_back(round.ms);
        answered.push_back(round.answeredMs);
        std::printf("round %d: one silent echo %.1f ms; %d rows (%d silent) %.1f ms, the %d "
                    "answered ones known after %.1f ms\n",
                    i + 1, baseline.back(), kRows, kRows / 2, round.ms, kRows / 2,
                    round.answeredMs);
    }
    const double timeout = kPingTimeoutMs;
    const double b = median(baseline), r = median(run);
    std::printf("median of %d rounds: one silent echo %.1f ms, %d rows %.1f ms, answered rows "
                "known after %.1f ms\n",
                rounds, b, kRows, r, median(answered));
    std::printf("baseline one silent echo/time-out: %.3f\n", b / timeout);
    std::printf("ratio %d rows/time-out: %.3f (goal <= %.2f): %s\n", kRows, r / timeout, kGoal,
                r / timeout <= kGoal ? "met" : "missed");
    return r / timeout <= kGoal ? 0 : 2;
}
