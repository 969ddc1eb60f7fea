#include "childprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char **environ;

namespace tunnelkit {

namespace {

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// posix_spawn's attributes and actions, freed on every way out.
struct SpawnSetup
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

} // namespace

ChildProcess::ChildProcess(QObject *parent)
    : QObject(parent)
{ }

ChildProcess::~ChildProcess()
{
    if (isRunning()) {
        kill();
        waitForFinished(5000);
    }
    closeWatches();
    if (m_pidfd >= 0)
        ::close(m_pidfd);
}

bool ChildProcess::start(const QString &program, const QStringList &arguments,
                         const QString &workingDirectory, QString *error)
{
    if (isRunning() || m_output >= 0) {
        *error = QStringLiteral("already started");
        return false;
    }
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        *error = QStringLiteral("no pipe for its output: ") + errnoText(errno);
        return false;
    }
    // Only the read end is ours; the child's end must block as a terminal would. Room for a
    // verbose child while output is read in batches (best effort: 1 MiB is the usual limit).
    fcntl(pipeFds[1], F_SETFL, 0);
    fcntl(pipeFds[0], F_SETPIPE_SZ, 1 << 20);

    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&setup.actions, pipeFds[1], 2);
    // Sockets and files of ours (clients, netlink, the state folder) stay ours.
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
    const QByteArray directory = QFile::encodeName(workingDirectory);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&setup.actions, directory.constData());
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    // An ignored SIGPIPE or SIGTERM would be inherited through exec otherwise.
    posix_spawnattr_setsigdefault(&setup.attributes, &all);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const QByteArray path = QFile::encodeName(program);
    std::vector<QByteArray> storage{path};
    for (const QString &a : arguments)
        storage.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    // Reports a failed exec too: the parent waits until the child has exec'd.
    const int rc = posix_spawn(&pid, path.constData(), &setup.actions, &setup.attributes,
                               argv.data(), environ);
    ::close(pipeFds[1]);
    if (rc != 0) {
        ::close(pipeFds[0]);
        *error = errnoText(rc);
        return false;
    }
    m_pid = pid;
    m_started = pid;
    m_crashed = false;
    m_exitCode = 0;
    m_output = pipeFds[0];
    m_pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    if (m_pidfd < 0) {
        *error = QStringLiteral("cannot watch process %1: %2").arg(pid).arg(errnoText(errno));
        kill();
        waitForFinished(5000);
        closeWatches();
        return false;
    }
    m_outputNotifier = new QSocketNotifier(m_output, QSocketNotifier::Read, this);
    connect(m_outputNotifier, &QSocketNotifier::activated, this, [this]() {
        readOutput();
        if (m_outputNotifier && m_readPauseMs > 0) {
            m_outputNotifier->setEnabled(false);
            m_pausing = true;
            QTimer::singleShot(m_readPauseMs, this, [this]() {
                m_pausing = false;
                if (m_outputNotifier)
                    m_outputNotifier->setEnabled(true);
            });
        }
        if (!m_buffer.isEmpty())
            emit readyRead();
    });
    m_exitNotifier = new QSocketNotifier(m_pidfd, QSocketNotifier::Read, this);
    connect(m_exitNotifier, &QSocketNotifier::activated, this, &ChildProcess::onExit);
    return true;
}

void ChildProcess::setReadPause(int msecs)
{
    m_readPauseMs = qMax(0, msecs);
    if (m_readPauseMs == 0 && m_pausing && m_outputNotifier)
        m_outputNotifier->setEnabled(true);
}

QByteArray ChildProcess::readAll()
{
    return std::exchange(m_buffer, QByteArray());
}

void ChildProcess::readOutput()
{
    if (m_output < 0)
        return;
    char chunk[16384];
    for (;;) {
        const ssize_t n = ::read(m_output, chunk, sizeof chunk);
        if (n > 0) {
            m_buffer.append(chunk, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // At its end the pipe would read as ready for ever.
        if (n == 0) {
            delete m_outputNotifier;
            m_outputNotifier = nullptr;
            ::close(m_output);
            m_output = -1;
        }
        return;
    }
}

bool ChildProcess::reap()
{
    if (!isRunning())
        return true;
    int status = 0;
    pid_t r;
    do
        r = ::waitpid(pid_t(m_pid), &status, WNOHANG);
    while (r < 0 && errno == EINTR);
    if (r == 0)
        return false;
    // r < 0: someone else reaped it; it has ended all the same.
    m_crashed = r > 0 && WIFSIGNALED(status);
    m_exitCode = r > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    m_pid = 0;
    return true;
}

void ChildProcess::onExit()
{
    if (!reap())
        return;
    readOutput();
    closeWatches();
    if (!m_buffer.isEmpty())
        emit readyRead();
    emit finished();
}

bool ChildProcess::waitForFinished(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (!reap()) {
        if (deadline.hasExpired())
            return false;
        pollfd fds[2] = {{m_pidfd, POLLIN, 0}, {m_output, POLLIN, 0}};
        int left = int(qMax<qint64>(0, deadline.remainingTime()));
        // Without a watch (it could not be had), the end is looked for now and then.
        if (m_pidfd < 0)
            left = qMin(left, 10);
        if (::poll(fds, 2, left) > 0 && fds[1].revents)
            readOutput();
    }
    readOutput();
    closeWatches();
    return true;
}

void ChildProcess::terminate()
{
    if (isRunning())
        ::kill(pid_t(m_pid), SIGTERM);
}

void ChildProcess::kill()
{
    if (isRunning())
        ::kill(pid_t(m_pid), SIGKILL);
}

void ChildProcess::closeWatches()
{
    delete m_outputNotifier;
    m_outputNotifier = nullptr;
    delete m_exitNotifier;
    m_exitNotifier = nullptr;
    if (m_output >= 0)
        ::close(m_output);
    m_output = -1;
    // A child not reaped yet keeps its watch.
    if (m_pidfd >= 0 && !isRunning()) {
        ::close(m_pidfd);
        m_pidfd = -1;
    }
}

} // namespace tunnelkit
