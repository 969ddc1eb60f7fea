#include "mlogger.h"

#include "mconfig.h"
#include "mutils.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>

namespace {

struct LoggerState
{
    QMutex lock;
    QFile file;
    QString path;
    QString product;
    qint64 bytesPerDay = 32 * 1024 * 1024;
    int daysKept = 30;
    qint64 size = 0;
    bool full = false;
};

LoggerState &state()
{
    static LoggerState s;
    return s;
}

// Set while this thread holds the lock: a message raised meanwhile (by QFile, say) would
// otherwise wait for itself.
thread_local bool t_holdsLock = false;

// Holds the logger lock for one write, open or close. Never locks on re-entry.
class LogLock
{
public:
    enum Mode { Wait, Try };

    explicit LogLock(Mode mode)
    {
        if (t_holdsLock)
            return;
        m_locked = mode == Wait ? (state().lock.lock(), true) : state().lock.tryLock();
        if (m_locked)
            t_holdsLock = true;
    }
    ~LogLock()
    {
        if (m_locked) {
            t_holdsLock = false;
            state().lock.unlock();
        }
    }
    LogLock(const LogLock &) = delete;
    LogLock &operator=(const LogLock &) = delete;

    bool locked() const { return m_locked; }

private:
    bool m_locked = false;
};

bool writeBytes(const QByteArray &bytes)
{
    QFile &file = state().file;
    const bool ok = file.write(bytes) == bytes.size();
    file.flush();
    state().size += bytes.size();
    return ok;
}

bool writeLine(const QString &line)
{
    LoggerState &s = state();
    if (!s.file.isOpen() || s.full)
        return false;
    const QByteArray bytes = line.toUtf8() + '\n';
    if (s.size + bytes.size() > s.bytesPerDay) {
        s.full = true;
        writeBytes(
            QByteArrayLiteral("Log size limit of the day reached; later lines are dropped.\n"));
        return false;
    }
    return writeBytes(bytes);
}

bool isDayLog(const QString &name)
{
    static const QRegularExpression day(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}\\.log$"));
    return day.match(name).hasMatch();
}

// Removes the oldest day files beyond the number kept; the current file always stays.
void removeOldDays(const QString &current, int daysKept)
{
    const QFileInfo info(current);
    QDir folder = info.dir();
    QStringList days = folder.entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name);
    days.erase(
        std::remove_if(days.begin(), days.end(),
                       [&](const QString &n) { return !isDayLog(n) || n == info.fileName(); }),
        days.end());
    // The current day counts as one of the days kept.
    for (int i = 0; i < days.size() - qMax(0, daysKept - 1); ++i)
        folder.remove(days.at(i));
}

const char *levelWord(QtMsgType type)
{
    switch (type) {
    case QtInfoMsg:
        return "Info:";
    case QtWarningMsg:
        return "Warning:";
    case QtCriticalMsg:
        return "Critical:";
    case QtFatalMsg:
        return "Fatal:";
    case QtDebugMsg:
    default:
        return "Debug:";
    }
}

} // namespace

void MLogger::startLog()
{
    // Computed before locking: creating the folder may log.
    const QString path = getLogFile();
    LogLock guard(LogLock::Wait);
    if (!guard.locked())
        return;
    LoggerState &s = state();
    removeOldDays(path, s.daysKept);
    if (s.file.isOpen()) {
        s.file.flush();
        s.file.close();
    }
    s.file.setFileName(path);
    s.file.open(QIODevice::WriteOnly | QIODevice::Append);
    s.size = s.file.size();
    s.full = s.size >= s.bytesPerDay;
}

void MLogger::stopLog()
{
    LogLock guard(LogLock::Wait);
    if (!guard.locked())
        return;
    QFile &file = state().file;
    if (file.isOpen()) {
        file.flush();
        file.close();
    }
}

void MLogger::setLogInfo(const QString &line)
{
    LogLock guard(LogLock::Wait);
    if (guard.locked())
        writeLine(line);
}

bool MLogger::tryLogInfo(const QString &line)
{
    LogLock guard(LogLock::Try);
    return guard.locked() && writeLine(line);
}

QString MLogger::getLogFile()
{
    QString folder;
    {
        LogLock guard(LogLock::Wait);
        if (!state().path.isEmpty())
            return state().path;
        folder = MConfig::getAppDataFolder(QStringLiteral("logs")) + state().product;
    }
    // Outside the lock: a failure here logs "MakeDir,failed:".
    MakeDir(folder, true);
    const QString path
        = QStringLiteral("%1/%2.log")
              .arg(folder, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    LogLock guard(LogLock::Wait);
    if (state().path.isEmpty())
        state().path = path;
    return state().path;
}

void MLogger::setProductFolder(const QString &name)
{
    LogLock guard(LogLock::Wait);
    state().product = name;
}

void MLogger::setLimits(qint64 bytesPerDay, int daysKept)
{
    LogLock guard(LogLock::Wait);
    state().bytesPerDay = bytesPerDay;
    state().daysKept = daysKept;
}

namespace {

struct Redaction
{
    QRegularExpression pattern;
    QString replacement;
};

// Each rule keeps the name of what was hidden, so a log still says a key or password was there.
const std::vector<Redaction> &redactions()
{
    const auto rule = [](const char *pattern, const char *replacement) {
        return Redaction{QRegularExpression(QString::fromLatin1(pattern),
                                            QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::DotMatchesEverythingOption),
                         QString::fromLatin1(replacement)};
    };
    static const std::vector<Redaction> rules = {
        // PEM blocks other than certificates (private keys, static keys), closed or cut off.
        rule("-----BEGIN ((?:(?!CERTIFICATE)[A-Z0-9 ])+)-----.*?(?:-----END \\1-----|$)",
             "-----BEGIN \\1----- [redacted] -----END \\1-----"),
        // Inline key material of a tunnel configuration.
        rule("<(key|secret|tls-auth|tls-crypt|tls-crypt-v2|pkcs12|auth-user-pass|"
             "http-proxy-user-pass)>.*?(?:</\\1>|$)",
             "<\\1>[redacted]</\\1>"),
        // Management commands: password "Auth" "secret", auth-token pushes.
        rule("\\b(password\\s+\"[^\"]*\"\\s+)(\"(?:[^\"\\\\]|\\\\.)*\"|\\S+)", "\\1[redacted]"),
        rule("\\b(auth-token(?:-user)?\\s+)[^,\\s'\"]+", "\\1[redacted]"),
        // name=value, name: value, "name":"value" (queries, headers, JSON).
        rule("\\b((?:password|passwd|pwd|vpntoken|token|secret)\"?\\s*[:=]\\s*\"?)"
             // openvpn's own prompts (">PASSWORD:Need ...") are not values.
             "(?!\\[redacted\\]|Need |Verification )[^\"&\\s,;)]+",
             "\\1[redacted]"),
    };
    return rules;
}

bool mayHoldSecret(const QString &text)
{
    static const QLatin1String kHints[]
        = {QLatin1String("pass"),   QLatin1String("pwd"),        QLatin1String("token"),
           QLatin1String("secret"), QLatin1String("-----BEGIN"), QLatin1String("<key>"),
           QLatin1String("<tls-"),  QLatin1String("<pkcs12>")};
    for (const QLatin1String &hint : kHints) {
        if (text.contains(hint, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QString blankSecrets(const QString &text)
{
    // Most lines hold none of the words: they skip the expressions.
    if (!mayHoldSecret(text))
        return text;
    QString out = text;
    for (const Redaction &r : redactions())
        out.replace(r.pattern, r.replacement);
    return out;
}

namespace {

// Local time is worked out once a second per thread: converting every line's time to local
// time cost more than the rest of logging together when a list logs thousands of lines.
QString logTimestamp()
{
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = ms / 1000;
    thread_local qint64 cachedSecond = -1;
    thread_local QString cachedText;
    if (second != cachedSecond) {
        cachedText = QDateTime::fromMSecsSinceEpoch(second * 1000)
                         .toString(QStringLiteral("yyyyMMdd h:mm:ss."));
        cachedSecond = second;
    }
    return cachedText + QString::number(ms % 1000).rightJustified(3, QLatin1Char('0'));
}

} // namespace

QString formatLogLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    return QStringLiteral("%1 %2 0x%3 %4 %5 ")
        .arg(logTimestamp(), QLatin1String(levelWord(type)),
             QString::number(reinterpret_cast<quintptr>(QThread::currentThreadId()), 16),
             QString::number(context.line), message);
}

void logMethod(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QWidget::setMaximumSize"), Qt::CaseInsensitive)
        || message.startsWith(QLatin1String("QWidget::setMinimumSize"), Qt::CaseInsensitive))
        return;
    MLogger::setLogInfo(formatLogLine(type, context, blankSecrets(message)));
}

void startLog()
{
    MLogger::startLog();
}

void closeLog()
{
    MLogger::stopLog();
}

QString getLogFile()
{
    return MLogger::getLogFile();
}
