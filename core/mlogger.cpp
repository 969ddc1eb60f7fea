#include "mlogger.h"

#include "mconfig.h"
#include "mutils.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QThread>

namespace {

struct LoggerState
{
    QMutex lock;
    QFile file;
    QString path;
    QString product;
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

bool writeLine(const QString &line)
{
    QFile &file = state().file;
    if (!file.isOpen())
        return false;
    const QByteArray bytes = line.toUtf8() + '\n';
    const bool ok = file.write(bytes) == bytes.size();
    file.flush();
    return ok;
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
    QFile &file = state().file;
    if (file.isOpen()) {
        file.flush();
        file.close();
    }
    file.setFileName(path);
    file.open(QIODevice::WriteOnly | QIODevice::Append);
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
    MLogger::setLogInfo(formatLogLine(type, context, message));
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
