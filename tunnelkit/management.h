#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tunnelkit {

// Splits a byte stream into lines (LF or CRLF). A line longer than the limit is dropped
// whole, up to its line end, and counted; memory stays bounded whatever the peer sends.
class LineBuffer
{
public:
    explicit LineBuffer(int maxLine = 16 * 1024)
        : m_maxLine(maxLine)
    { }
    void append(const QByteArray &data);
    // Next complete line without its line end; false when none is complete.
    bool takeLine(QByteArray *line);
    // Lines dropped for their length since the last call.
    int takeDropped();
    // What is left without a line end (e.g. when the stream has ended).
    QByteArray takeRest();

private:
    QByteArray m_buffer;
    QList<QByteArray> m_lines;
    int m_maxLine;
    int m_dropped = 0;
    bool m_skipping = false;
};

// One >STATE: notification: time, name, reason, local address, remote address, remote port,
// local endpoint address and port, local IPv6 address.
struct StateLine
{
    QString name;
    QString reason;
    QString localAddress;
    QString remoteAddress;
    QString localAddress6;
};

enum class ManagementKind {
    Info,
    State,
    ByteCount,
    Log,
    Fatal,
    Hold,
    Password,
    NeedInput,
    Success,
    Error,
    Other
};

// Classifies a line; payload is what follows the ">TYPE:" or "SUCCESS:" prefix.
ManagementKind classifyLine(const QByteArray &line, QByteArray *payload);
bool parseState(const QByteArray &payload, StateLine *state);
bool parseByteCount(const QByteArray &payload, quint64 *bytesIn, quint64 *bytesOut);
// ">LOG:time,flags,text": the text, with the flags in front when not plain information.
bool parseLog(const QByteArray &payload, QString *text);

// The event name for an openvpn state: WAIT becomes CONNECTING (the client reads WAIT as idle);
// names the engine itself gives (FAILED, DISCONNECTED, INSTALL) and malformed ones are empty.
QString eventNameForState(const QString &state);
// A log line with the value of a pushed auth-token blanked (openvpn hides it in most lines,
// not in all).
QString redactSecrets(const QString &line);

// Readable text for a state, with openvpn's reason appended when it gave one.
QString stateInfo(const StateLine &state);

// Sorts the lines that are not real-time notifications (">...") by the command they answer.
// openvpn answers commands in the order they were sent: most with one SUCCESS:/ERROR: line,
// "state on all" and "log on all" with SUCCESS:, the history lines, then END.
class ReplyTracker
{
public:
    // Shape of the reply to a command just sent: one line, or a block of state or log
    // history (ManagementKind::State or ManagementKind::Log) after the SUCCESS: line.
    void expectLine();
    void expectHistory(ManagementKind history);
    // For a line classifyLine() found to be Success, Error or Other: history lines come back
    // as State or Log (the payload is the line, shaped as a notification's payload); END and
    // lines nothing asked for as Other.
    ManagementKind sort(ManagementKind kind, const QByteArray &line, QByteArray *payload);
    void reset();

private:
    QList<ManagementKind> m_expected; // Success for a one-line reply, else the history kind
    bool m_inHistory = false;
};

// MB/s (2^20 bytes) from successive cumulative byte counts, one per interval.
class ThroughputMeter
{
public:
    explicit ThroughputMeter(double intervalSeconds = 1.0)
        : m_interval(intervalSeconds)
    { }
    void reset() { m_hasBase = false; }
    // False for the first sample and after the counters went backwards (a new base).
    bool sample(quint64 bytesIn, quint64 bytesOut, float *inMb, float *outMb);

private:
    double m_interval;
    bool m_hasBase = false;
    quint64 m_in = 0;
    quint64 m_out = 0;
};

} // namespace tunnelkit
