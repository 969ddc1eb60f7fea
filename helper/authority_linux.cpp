#include "authority.h"

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <vector>

#ifndef SO_PEERGROUPS
#define SO_PEERGROUPS 59 // older libc headers; the kernel has it since 4.13
#endif

namespace helper {

bool peerIdentity(qintptr socket, PeerIdentity *peer)
{
    struct ucred cred = {};
    socklen_t size = sizeof cred;
    if (socket < 0 || getsockopt(int(socket), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0
        || size != sizeof cred)
        return false;

    // The group count is not known beforehand: the kernel reports the size it needs.
    std::vector<gid_t> groups(64);
    bool known = false;
    for (int attempt = 0; attempt < 4 && !known; ++attempt) {
        const socklen_t capacity = socklen_t(groups.size() * sizeof(gid_t));
        socklen_t bytes = capacity;
        if (getsockopt(int(socket), SOL_SOCKET, SO_PEERGROUPS, groups.data(), &bytes) == 0) {
            groups.resize(bytes / sizeof(gid_t));
            known = true;
        } else if (errno == ENOPROTOOPT) {
            groups.clear();
            known = true;
        } else if (errno == ERANGE && bytes > capacity) {
            groups.resize(bytes / sizeof(gid_t));
        } else {
            return false;
        }
    }
    if (!known)
        return false;

    peer->pid = cred.pid > 0 ? qint64(cred.pid) : 0;
    peer->uid = uint(cred.uid);
    peer->gid = uint(cred.gid);
    peer->groups.clear();
    for (gid_t g : groups)
        peer->groups.append(uint(g));
    return true;
}

namespace os {

bool parseStartTime(const QByteArray &stat, quint64 *startTime)
{
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return false;
    // After the name: field 3 (state) is the first, so field 22 is the 20th.
    const QList<QByteArray> fields = stat.mid(close + 1).simplified().split(' ');
    if (fields.size() < 20)
        return false;
    bool ok = false;
    const quint64 value = fields.at(19).toULongLong(&ok);
    if (!ok)
        return false;
    *startTime = value;
    return true;
}

quint64 processStartTime(qint64 pid)
{
    if (pid <= 0 || pid > 0x3fffffff)
        return 0;
    const QByteArray path = "/proc/" + QByteArray::number(pid) + "/stat";
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    // The line is far shorter than this even with the longest name the kernel keeps.
    char buffer[4096];
    qsizetype used = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer + used, sizeof buffer - size_t(used));
        if (n > 0 && used + n < qsizetype(sizeof buffer)) {
            used += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n != 0)
            used = 0;
        break;
    }
    ::close(fd);
    quint64 start = 0;
    return parseStartTime(QByteArray(buffer, int(used)), &start) ? start : 0;
}

qint64 groupId(const QString &name)
{
    if (name.isEmpty())
        return -1;
    const QByteArray encoded = name.toLocal8Bit();
    long hint = sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(size_t(hint > 0 ? hint : 16384));
    // Groups with many members need more room than the hint.
    for (int attempt = 0; attempt < 6; ++attempt) {
        struct group entry;
        struct group *found = nullptr;
        const int rc
            = getgrnam_r(encoded.constData(), &entry, buffer.data(), buffer.size(), &found);
        if (rc == ERANGE) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (rc != 0 || !found)
            return -1;
        return qint64(found->gr_gid);
    }
    return -1;
}

} // namespace os
} // namespace helper
