#include "management.h"

#include <QList>
#include <QRegularExpression>

namespace tunnelkit {

void LineBuffer::append(const QByteArray &data)
{
    int start = 0;
    while (start < data.size()) {
        const int nl = data.indexOf('\n', start);
        const int end = nl < 0 ? data.size() : nl;
        if (!m_skipping) {
            if (m_buffer.size() + (end - start) > m_maxLine) {
                m_buffer.clear();
                ++m_dropped;
                m_skipping = true;
            } else {
                m_buffer.append(data.constData() + start, end - start);
            }
        }
        if (nl < 0)
            break;
        if (m_skipping) {
            m_skipping = false;
        } else {
            if (m_buffer.endsWith('\r'))
                m_buffer.chop(1);
            m_lines.append(m_buffer);
            m_buffer.clear();
        }
        start = nl + 1;
    }
}

bool LineBuffer::takeLine(QByteArray *line)
{
    if (m_lines.isEmpty())
        return false;
    *line = m_lines.takeFirst();
    return true;
}

int LineBuffer::takeDropped()
{
    const int n = m_dropped;
    m_dropped = 0;
    return n;
}

QByteArray LineBuffer::takeRest()
{
    QByteArray rest = m_buffer;
    m_buffer.clear();
    m_skipping = false;
    if (rest.endsWith('\r'))
        rest.chop(1);
    return rest;
}

ManagementKind classifyLine(const QByteArray &line, QByteArray *payload)
{
    static const struct
    {
        const char *prefix;
        ManagementKind kind;
    } prefixes[] = {
        {">INFO:", ManagementKind::Info},           {">STATE:", ManagementKind::State},
        {">BYTECOUNT:", ManagementKind::ByteCount}, {">LOG:", ManagementKind::Log},
        {">FATAL:", ManagementKind::Fatal},         {">HOLD:", ManagementKind::Hold},
        {">PASSWORD:", ManagementKind::Password},   {">NEED-OK:", ManagementKind::NeedInput},
        {">NEED-STR:", ManagementKind::NeedInput},  {"SUCCESS:", ManagementKind::Success},
        {"ERROR:", ManagementKind::Error},
    };
    for (const auto &p : prefixes) {
        if (line.startsWith(p.prefix)) {
            *payload = line.mid(int(qstrlen(p.prefix)));
            return p.kind;
        }
    }
    *payload = line;
    return ManagementKind::Other;
}

bool parseState(const QByteArray &payload, StateLine *state)
{
    const QList<QByteArray> f = payload.split(',');
    if (f.size() < 2)
        return false;
    bool ok = false;
    f[0].toLongLong(&ok);
    if (!ok || f[1].isEmpty())
        return false;
    // Whole fields: the QByteArray overload stops at a NUL, which would read "CONNECTED\0x" as
    // CONNECTED and a name starting with NUL as an empty one.
    const auto field = [&f](int i) {
        return i < f.size() ? QString::fromUtf8(f[i].constData(), f[i].size()) : QString();
    };
    state->name = field(1);
    state->reason = field(2);
    state->localAddress = field(3);
    state->remoteAddress = field(4);
    state->localAddress6 = field(8);
    return true;
}

QString redactSecrets(const QString &line)
{
    static const QRegularExpression secret(
        QStringLiteral("(auth-token(?:-user)?[ =:]+)([^,'\\s]+)"),
        QRegularExpression::CaseInsensitiveOption);
    if (!line.contains(QLatin1String("auth-token"), Qt::CaseInsensitive))
        return line;
    QString out = line;
    out.replace(secret, QStringLiteral("\\1[redacted]"));
    return out;
}

bool parseByteCount(const QByteArray &payload, quint64 *bytesIn, quint64 *bytesOut)
{
    const QList<QByteArray> f = payload.split(',');
    if (f.size() != 2)
        return false;
    for (const QByteArray &n : f) {
        if (n.isEmpty() || n.size() > 20)
            return false;
        for (char c : n) {
            if (c < '0' || c > '9')
                return false;
        }
    }
    bool okIn = false;
    bool okOut = false;
    const quint64 in = f[0].toULongLong(&okIn);
    const quint64 out = f[1].toULongLong(&okOut);
    if (!okIn || !okOut)
        return false;
    *bytesIn = in;
    *bytesOut = out;
    return true;
}

bool parseLog(const QByteArray &payload, QString *text)
{
    const int first = payload.indexOf(',');
    if (first < 0)
        return false;
    const int second = payload.indexOf(',', first + 1);
    if (second < 0)
        return false;
    const QByteArray flags = payload.mid(first + 1, second - first - 1);
    const QString message = QString::fromUtf8(payload.mid(second + 1));
    if (flags.isEmpty() || flags == "I")
        *text = message;
    else
        *text = QString::fromLatin1(flags) + QStringLiteral(": ") + message;
    return true;
}

QString eventNameForState(const QString &state)
{
    if (state.isEmpty() || state.size() > 32)
        return QString();
    for (QChar c : state) {
        const ushort u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'))
            return QString();
    }
    if (state == QLatin1String("FAILED") || state == QLatin1String("DISCONNECTED")
        || state == QLatin1String("INSTALL"))
        return QString();
    if (state == QLatin1String("WAIT"))
        return QStringLiteral("CONNECTING");
    return state;
}

QString stateInfo(const StateLine &state)
{
    static const struct
    {
        const char *name;
        const char *text;
    } texts[] = {
        {"CONNECTING", "Connecting"},
        {"WAIT", "Waiting for the server"},
        {"AUTH", "Authenticating"},
        {"GET_CONFIG", "Getting the configuration"},
        {"ASSIGN_IP", "Assigning the address"},
        {"ADD_ROUTES", "Adding routes"},
        {"CONNECTED", "Connected"},
        {"RECONNECTING", "Reconnecting"},
        {"EXITING", "Exiting"},
        {"RESOLVE", "Resolving the server's name"},
        {"TCP_CONNECT", "Connecting over TCP"},
        {"AUTH_PENDING", "Authentication pending"},
    };
    QString text = state.name;
    for (const auto &t : texts) {
        if (state.name == QLatin1String(t.name)) {
            text = QLatin1String(t.text);
            break;
        }
    }
    if (!state.reason.isEmpty())
        text += QStringLiteral(": ") + state.reason;
    if (state.name == QLatin1String("CONNECTED") && !state.localAddress.isEmpty())
        text += QStringLiteral(", ") + state.localAddress;
    return text;
}

void ReplyTracker::expectLine()
{
    m_expected.append(ManagementKind::Success);
}

void ReplyTracker::expectHistory(ManagementKind history)
{
    m_expected.append(history);
}

ManagementKind ReplyTracker::sort(ManagementKind kind, const QByteArray &line, QByteArray *payload)
{
    if (m_inHistory) {
        const ManagementKind history = m_expected.first();
        if (line == "END") {
            m_inHistory = false;
            m_expected.removeFirst();
            return ManagementKind::Other;
        }
        *payload = line;
        return history;
    }
    if (kind == ManagementKind::Success) {
        if (!m_expected.isEmpty() && m_expected.first() != ManagementKind::Success)
            m_inHistory = true;
        else if (!m_expected.isEmpty())
            m_expected.removeFirst();
    } else if (kind == ManagementKind::Error) {
        if (!m_expected.isEmpty())
            m_expected.removeFirst();
    }
    return kind;
}

void ReplyTracker::reset()
{
    m_expected.clear();
    m_inHistory = false;
}

bool ThroughputMeter::sample(quint64 bytesIn, quint64 bytesOut, float *inMb, float *outMb)
{
    const bool usable = m_hasBase && bytesIn >= m_in && bytesOut >= m_out;
    if (usable) {
        const double scale = 1.0 / (1048576.0 * m_interval);
        *inMb = float(double(bytesIn - m_in) * scale);
        *outMb = float(double(bytesOut - m_out) * scale);
    }
    m_hasBase = true;
    m_in = bytesIn;
    m_out = bytesOut;
    return usable;
}

} // namespace tunnelkit
