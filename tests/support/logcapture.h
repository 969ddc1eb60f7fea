#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Captures the Qt messages of the code under test (any thread) for as long as it lives;
// the previous handler comes back afterwards. One at a time.
class LogCapture
{
public:
    LogCapture() { m_previous = qInstallMessageHandler(&LogCapture::handle); }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        take();
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    // The lines so far, and forgets them.
    static QStringList take()
    {
        QMutexLocker lock(&mutex());
        QStringList out;
        out.swap(lines());
        return out;
    }
    static bool contains(const QString &part)
    {
        QMutexLocker lock(&mutex());
        for (const QString &line : lines()) {
            if (line.contains(part))
                return true;
        }
        return false;
    }
    static QString joined()
    {
        QMutexLocker lock(&mutex());
        return lines().join(QLatin1Char('\n'));
    }

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        QMutexLocker lock(&mutex());
        lines().append(message);
    }
    static QMutex &mutex()
    {
        static QMutex m;
        return m;
    }
    static QStringList &lines()
    {
        static QStringList l;
        return l;
    }

    QtMessageHandler m_previous = nullptr;
};
