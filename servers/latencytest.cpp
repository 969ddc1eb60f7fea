#include "latencytest.h"

#include "icmpsocket.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFutureInterface>
#include <QFutureWatcher>
#include <QHash>
#include <QRandomGenerator>
#include <QtConcurrent>

#include <limits>

namespace {

constexpr qint64 kNoReply = -100;
constexpr qint64 kTooShort = -1;
constexpr int kMinAddressLength = 5;
// Upper bound of one wait, so that a cancelled run notices soon.
constexpr int kMaxWaitMs = 100;

struct LatencyResult
{
    LatencyTest::RowKey key = 0;
    QString text;
};

struct InFlight
{
    int index = 0;
    quint32 address = 0;
    qint64 sentNs = 0;
};

} // namespace

QVector<qint64> pingHosts(const QStringList &addresses,
                          const std::function<void(int, qint64)> &onResult,
                          const std::function<bool()> &cancelled)
{
    QVector<qint64> results(addresses.size(), kNoReply);
    const auto finish = [&](int index, qint64 ms) {
        results[index] = ms;
        if (onResult)
            onResult(index, ms);
    };

    QVector<int> toSend;
    QVector<quint32> targets(addresses.size(), 0);
    for (int i = 0; i < addresses.size(); ++i) {
        if (addresses.at(i).size() < kMinAddressLength)
            finish(i, kTooShort);
        // inet_addr's "no address" would be the broadcast address: never sent.
        else if (!IcmpSocket::parseAddress(addresses.at(i), &targets[i]))
            finish(i, kNoReply);
        else
            toSend.append(i);
    }
    if (toSend.isEmpty())
        return results;

    IcmpSocket socket;
    if (socket.open() == IcmpSocket::Kind::None) {
        qInfo() << "pingHost: no ICMP socket:" << socket.errorText();
        for (int i : qAsConst(toSend))
            finish(i, kNoReply);
        return results;
    }

    const QByteArray data = Icmp::echoData();
    const qint64 timeoutNs = qint64(kPingTimeoutMs) * 1000000;
    QHash<quint16, InFlight> inFlight; // by sequence number
    quint16 sequence = quint16(QRandomGenerator::global()->generate());
    QElapsedTimer clock;
    clock.start();
    // Far more than a run can take (one time-out per batch of kMaxInFlight): a bound only.
    const qint64 budgetNs = (toSend.size() / kMaxInFlight + 2) * timeoutNs * 2;
    int next = 0;
    while (next < toSend.size() || !inFlight.isEmpty()) {
        if ((cancelled && cancelled()) || clock.nsecsElapsed() > budgetNs)
            break;
        while (next < toSend.size() && inFlight.size() < kMaxInFlight) {
            const int index = toSend.at(next++);
            ++sequence;
            InFlight echo;
            echo.index = index;
            echo.address = targets.at(index);
            echo.sentNs = clock.nsecsElapsed();
            if (socket.sendEcho(echo.address, sequence, data))
                inFlight.insert(sequence, echo);
            else
                finish(index, kNoReply);
        }
        if (inFlight.isEmpty())
            continue;

        qint64 firstSent = std::numeric_limits<qint64>::max();
        for (const InFlight &echo : qAsConst(inFlight))
            firstSent = qMin(firstSent, echo.sentNs);
        const qint64 leftNs = firstSent + timeoutNs - clock.nsecsElapsed();
        int waitMs = leftNs <= 0 ? 0 : int((leftNs + 999999) / 1000000);
        waitMs = qMin(waitMs, kMaxWaitMs);

        // Take every reply that is there before judging any echo as timed out.
        IcmpSocket::Reply reply;
        for (int read = 0; read < 4096 && socket.readReply(read == 0 ? waitMs : 0, &reply);
             ++read) {
            const qint64 now = clock.nsecsElapsed();
            const auto it = inFlight.find(reply.sequence);
            if (it == inFlight.end() || it->address != reply.source
                || reply.identifier != socket.identifier())
                continue;
            const qint64 elapsedNs = now - it->sentNs;
            finish(it->index, elapsedNs <= timeoutNs ? elapsedNs / 1000000 : kNoReply);
            inFlight.erase(it);
        }

        const qint64 now = clock.nsecsElapsed();
        for (auto it = inFlight.begin(); it != inFlight.end();) {
            if (now - it->sentNs >= timeoutNs) {
                finish(it->index, kNoReply);
                it = inFlight.erase(it);
            } else {
                ++it;
            }
        }
    }
    return results;
}

qint64 pingHost(const QString &address)
{
    return pingHosts(QStringList{address}).at(0);
}

LatencyTest::LatencyTest(QObject *parent)
    : QObject(parent)
{ }

LatencyTest::~LatencyTest()
{
    const auto watchers = findChildren<QFutureWatcherBase *>();
    for (QFutureWatcherBase *watcher : watchers) {
        watcher->disconnect(this);
        watcher->cancel();
    }
}

QString LatencyTest::speedText(qint64 ms)
{
    return ms >= 0 ? QString::number(ms) + QStringLiteral(" ms") : QStringLiteral(">1000 ms");
}

QString LatencyTest::rowText(const QString &host)
{
    return host.isEmpty() ? QString() : speedText(pingHost(host));
}

void LatencyTest::start(const QList<Row> &rows)
{
    QFutureInterface<LatencyResult> promise;
    promise.reportStarted();

    // The watcher's signals reach this thread queued; with this object gone, the run is
    // cancelled and nothing more arrives.
    auto *watcher = new QFutureWatcher<LatencyResult>(this);
    connect(watcher, &QFutureWatcherBase::resultsReadyAt, this,
            [this, watcher](int begin, int end) {
                for (int i = begin; i < end; ++i) {
                    const LatencyResult result = watcher->resultAt(i);
                    emit signalSpeed(result.key, result.text);
                }
            });
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        --m_running;
        watcher->deleteLater();
        emit signalTestSpeedFinised();
    });
    watcher->setFuture(promise.future());
    ++m_running;

    QtConcurrent::run([promise, rows]() mutable {
        const auto report = [&promise, &rows](int row, const QString &text) {
            LatencyResult result;
            result.key = rows.at(row).key;
            result.text = text;
            promise.reportResult(result, row);
        };
        QStringList hosts;
        QVector<int> rowOfHost;
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row).host.isEmpty()) {
                report(row, QString());
            } else {
                hosts.append(rows.at(row).host);
                rowOfHost.append(row);
            }
        }
        pingHosts(
            hosts, [&](int host, qint64 ms) { report(rowOfHost.at(host), speedText(ms)); },
            [&promise] { return promise.isCanceled(); });
        promise.reportFinished();
    });
}
