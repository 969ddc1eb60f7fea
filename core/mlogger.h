#pragma once

#include <QString>
#include <QtGlobal>

// The daily log: every Qt message becomes one line appended (and flushed) to
// <AppData>/logs/<product>/<yyyy-MM-dd>.log. Writers on different threads wait for each
// other, so no line is lost; a message raised on the thread that is already writing
// (re-entry) is dropped instead of deadlocking. A day's file stops growing at its size
// limit (one notice line says so) and only the newest days are kept, so a chatty server or
// a loop cannot fill the disk.
class MLogger
{
public:
    static void startLog();
    static void stopLog();
    static void setLogInfo(const QString &line);
    // For the crash path: never waits; false when the line could not be written.
    static bool tryLogInfo(const QString &line);
    // Fixed on first call for the rest of the process.
    static QString getLogFile();
    static void setProductFolder(const QString &name);
    // Takes effect at the next startLog().
    static void setLimits(qint64 bytesPerDay, int daysKept);
};

// Passwords, tokens and private keys blanked out of a line before it reaches the file.
QString blankSecrets(const QString &text);

void logMethod(QtMsgType type, const QMessageLogContext &context, const QString &message);
QString formatLogLine(QtMsgType type, const QMessageLogContext &context, const QString &message);

void startLog();
void closeLog();
QString getLogFile();
