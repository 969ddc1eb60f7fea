#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The latency column of the server page: one ICMP echo per row, answered within 1000 ms or
// not at all. All echoes of a run go out at once from one socket (replies matched by
// identifier and sequence), so a run takes about one time-out however many rows it has.
// Results arrive as they come, not in row order.
class LatencyTest : public QObject
{
    Q_OBJECT

public:
    // The caller's handle for a row; results carry it back. A key the caller no longer
    // knows (the list was refilled meanwhile) is to be ignored.
    using RowKey = quint64;
    struct Row
    {
        RowKey key = 0;
        QString host; // the row's user data
    };

    explicit LatencyTest(QObject *parent = nullptr);
    // Runs still under way are cancelled; nothing more is emitted for them.
    ~LatencyTest() override;

    // Starts a run over rows on the global thread pool and returns at once. Every run, also
    // one with no rows, ends with signalTestSpeedFinised(). Runs may overlap.
    void start(const QList<Row> &rows);
    int runningTests() const { return m_running; }

    // The row text of a pingHost() result: "23 ms", or ">1000 ms" for a negative one.
    static QString speedText(qint64 ms);
    // The row text of a host: "" for an empty one, else speedText(pingHost(host)).
    static QString rowText(const QString &host);

signals:
    // On this object's thread, once per row.
    void signalSpeed(quint64 key, const QString &speed);
    void signalTestSpeedFinised();

private:
    int m_running = 0;
};

constexpr int kPingTimeoutMs = 1000;

// One echo, blocking: the round-trip time in milliseconds; -100 when no reply came within
// the time-out (or nothing could be sent: no ICMP socket, an address that does not parse);
// -1 when the text has fewer than 5 characters (nothing is sent). No name resolution.
qint64 pingHost(const QString &address);
// The same for many addresses at once; the result list is in input order. onResult(index,
// ms) is called on the calling thread as each one is known. Returns early, with -100 for
// the rest, when cancelled() becomes true.
QVector<qint64> pingHosts(const QStringList &addresses,
                          const std::function<void(int, qint64)> &onResult = {},
                          const std::function<bool()> &cancelled = {});
