#include "latencytest.h"

#include "icmpsocket.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFutureInterface>
#include <QFutureWatcher>
#include <QHash>
#include <QRandomGenerator>
#include <QtConcurrent>

#include <deque>
#include <utility>

namespace {

constexpr qint64 kNoReply = -100;
constexpr qint64 kTooShort = -1;
constexpr int kMinAddressLength = 5;
// Upper bound of one wait, so that a cancelled run notices soon.
constexpr int kMaxWaitMs = 100;
// Replies are read between bursts, so that quick answers (loopback, a LAN) cannot overflow
// the receive buffer while the rest of a long list is still going out.
constexpr int kBurst = 32;
// A full send queue is tried again after this pause; its echoes' time-outs start when sent.
constexpr int kRetryMs = 2;
// Sequence numbers have 16 bits: this leaves every echo in flight one that is unambiguous.
constexpr int kMaxInFlight = 0x8000;
constexpr qint64 kNsPerMs = 1000000;

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
    const qint64 timeoutNs = qint64(kPingTimeoutMs) * kNsPerMs;
    QHash<quint16, InFlight> inFlight; // by sequence number
    // Sequence and send time in send order: the oldest echo is the next to time out. An
    // entry whose echo has been answered is dropped when it comes to the front.
    std::deque<std::pair<quint16, qint64>> order;
    quint16 sequence = quint16(QRandomGenerator::global()->generate());
    QElapsedTimer clock;
    clock.start();
    // Far more than a run can take, even paced by a full send queue: a bound only.
    const qint64 budgetNs = (4 + toSend.size() / 256) * timeoutNs;
    qint64 retryAtNs = 0;
    int next = 0;
    while (next < toSend.size() || !inFlight.isEmpty()) {
        if (cancelled && cancelled())
            return results;
        if (clock.nsecsElapsed() > budgetNs)
            break;
        for (int burst = 0; burst < kBurst && next < toSend.size() && inFlight.size() < kMaxInFlight
             && clock.nsecsElapsed() >= retryAtNs;
             ++burst) {
            const int index = toSend.at(next);
            do
                ++sequence;
            while (inFlight.contains(sequence));
            // Taken before the send: a sender descheduled inside sendto() after the packet
            // left would otherwise report less than the real round trip.
            const qint64 sentNs = clock.nsecsElapsed();
            const IcmpSocket::Send sent = socket.sendEcho(targets.at(index), sequence, data);
            if (sent == IcmpSocket::Send::Busy) {
                retryAtNs = clock.nsecsElapsed() + kRetryMs * kNsPerMs;
                break;
            }
            ++next;
            if (sent == IcmpSocket::Send::Failed) {
                finish(index, kNoReply);
                continue;
            }
            const InFlight echo{index, targets.at(index), sentNs};
            inFlight.insert(sequence, echo);
            order.emplace_back(sequence, echo.sentNs);
        }

        // Take every reply that is there before judging any echo as timed out.
        IcmpSocket::Reply reply;
        for (int read = 0; read < 65536 && socket.readReply(&reply); ++read) {
            const auto it = inFlight.find(reply.sequence);
            if (it == inFlight.end() || it->address != reply.source
                || reply.identifier != socket.identifier())
                continue;
            const qint64 elapsedNs = clock.nsecsElapsed() - it->sentNs;
            finish(it->index, elapsedNs <= timeoutNs ? elapsedNs / kNsPerMs : kNoReply);
            inFlight.erase(it);
        }

        const qint64 now = clock.nsecsElapsed();
        while (!order.empty()) {
            const auto it = inFlight.find(order.front().first);
            if (it != inFlight.end() && it->sentNs == order.front().second) {
                if (now - it->sentNs < timeoutNs)
                    break;
                finish(it->index, kNoReply);
                inFlight.erase(it);
            }
            order.pop_front();
        }

        const bool moreToSend = next < toSend.size() && inFlight.size() < kMaxInFlight;
        if ((moreToSend && now >= retryAtNs) || (!moreToSend && inFlight.isEmpty()))
            continue; // the next burst at once, or done
        qint64 waitNs = kMaxWaitMs * kNsPerMs;
        if (!order.empty())
            waitNs = qMin(waitNs, order.front().second + timeoutNs - now);
        if (moreToSend)
            waitNs = qMin(waitNs, retryAtNs - now);
        socket.waitReadable(int((waitNs + kNsPerMs - 1) / kNsPerMs));
    }

    // Out of budget: whatever is left has no answer.
    for (const InFlight &echo : qAsConst(inFlight))
        finish(echo.index, kNoReply);
    for (; next < toSend.size(); ++next)
        finish(toSend.at(next), kNoReply);
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
