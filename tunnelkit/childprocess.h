#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

namespace tunnelkit {

// A program the engine runs (openvpn), started without a fork of the engine's process: a fork
// copies the page tables and leaves every page the parent then writes to fault once more,
// which cost milliseconds on the way to CONNECTED. Standard output and error come together
// through readyRead(); standard input is /dev/null; no descriptor of ours is inherited and
// every signal starts at its default.
//
// An end the event loop notices is announced by finished(); one waitForFinished() sees is
// reported by its result only, so nobody is called back in the middle of a wait.
class ChildProcess : public QObject
{
    Q_OBJECT
public:
    explicit ChildProcess(QObject *parent = nullptr);
    // Kills a child that still runs and reaps it.
    ~ChildProcess() override;

    bool start(const QString &program, const QStringList &arguments,
               const QString &workingDirectory, QString *error);
    bool isRunning() const { return m_pid > 0; }
    qint64 processId() const { return m_started; }
    // What it wrote since the last call.
    QByteArray readAll();
    // False if it still runs after msecs; output meanwhile is kept for readAll().
    bool waitForFinished(int msecs);
    void terminate(); // SIGTERM
    void kill(); // SIGKILL
    // With a pause, output is read at most once per pause instead of as it comes (fewer
    // wake-ups for output nobody waits for); 0, the default, reads it as it comes.
    void setReadPause(int msecs);
    // After the end: killed by a signal, or the code it exited with.
    bool crashed() const { return m_crashed; }
    int exitCode() const { return m_exitCode; }

signals:
    void readyRead();
    void finished();

private:
    void readOutput();
    bool reap();
    void onExit();
    void closeWatches();

    qint64 m_pid = 0; // while it runs and is not reaped
    qint64 m_started = 0;
    int m_output = -1;
    int m_pidfd = -1;
    QSocketNotifier *m_outputNotifier = nullptr;
    QSocketNotifier *m_exitNotifier = nullptr;
    QByteArray m_buffer;
    bool m_crashed = false;
    int m_exitCode = 0;
    int m_readPauseMs = 0;
    bool m_pausing = false;
};

} // namespace tunnelkit
