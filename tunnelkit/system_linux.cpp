#include "system.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <vector>

namespace tunnelkit::os {

bool runningAsRoot()
{
    return geteuid() == 0;
}

QString userName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    if (size <= 0)
        size = 16384;
    std::vector<char> buffer(static_cast<size_t>(size));
    struct passwd pw;
    struct passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &found) != 0 || !found)
        return QString();
    return QString::fromLocal8Bit(found->pw_name);
}

qint64 processId()
{
    return static_cast<qint64>(getpid());
}

uint effectiveUserId()
{
    return static_cast<uint>(geteuid());
}

bool processAlive(qint64 pid)
{
    if (pid <= 0 || pid > 0x3fffffff)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool peerCredentials(qintptr socket, qint64 *pid, uint *uid)
{
    struct ucred cred = {};
    socklen_t size = sizeof cred;
    if (socket < 0 || getsockopt(int(socket), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0
        || size != sizeof cred || cred.pid <= 0)
        return false;
    *pid = static_cast<qint64>(cred.pid);
    *uid = static_cast<uint>(cred.uid);
    return true;
}

bool openWakePipe(int fds[2])
{
    return pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0;
}

void wake(int writeFd)
{
    const char byte = 1;
    // A full pipe already holds a wake-up; EAGAIN loses nothing.
    while (write(writeFd, &byte, 1) < 0 && errno == EINTR) { }
}

void drainWake(int readFd)
{
    char buffer[64];
    for (int i = 0; i < 1024; ++i) {
        const ssize_t n = read(readFd, buffer, sizeof buffer);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
}

void closeWakePipe(int fds[2])
{
    for (int i = 0; i < 2; ++i) {
        if (fds[i] >= 0)
            ::close(fds[i]);
        fds[i] = -1;
    }
}

} // namespace tunnelkit::os
