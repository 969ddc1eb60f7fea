#include "system.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/if_tun.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <pwd.h>
#include <sys/ioctl.h>
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

bool endStrayOpenvpn(qint64 pid)
{
    if (pid <= 1 || pid > 0x3fffffff || !processAlive(pid))
        return false;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "openvpn")
        return false;
    ::kill(pid_t(pid), SIGTERM);
    for (int i = 0; i < 20 && processAlive(pid); ++i)
        QThread::msleep(100);
    if (processAlive(pid))
        ::kill(pid_t(pid), SIGKILL);
    return true;
}

bool tunDeviceUsable(QString *why, bool *missing)
{
    const int fd = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    const int error = errno;
    // ENODEV: the node is there but no driver is loaded behind it.
    *missing = error == ENOENT || error == ENODEV || error == ENXIO;
    *why = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

bool loadTunModule(QString *why)
{
    QString program;
    for (const char *candidate : {"/usr/sbin/modprobe", "/sbin/modprobe"}) {
        if (QFileInfo(QLatin1String(candidate)).isExecutable()) {
            program = QLatin1String(candidate);
            break;
        }
    }
    if (program.isEmpty()) {
        *why = QStringLiteral("modprobe is not installed");
        return false;
    }
    QProcess modprobe;
    modprobe.setProcessChannelMode(QProcess::MergedChannels);
    modprobe.start(program, {QStringLiteral("tun")});
    if (!modprobe.waitForFinished(10000)) {
        modprobe.kill();
        modprobe.waitForFinished(1000);
        *why = QStringLiteral("modprobe did not finish");
        return false;
    }
    if (modprobe.exitStatus() != QProcess::NormalExit || modprobe.exitCode() != 0) {
        *why = QString::fromLocal8Bit(modprobe.readAll().left(160)).trimmed();
        if (why->isEmpty())
            *why = QStringLiteral("modprobe failed");
        return false;
    }
    return true;
}

QStringList tunnelInterfaces()
{
    static const QRegularExpression pattern(QStringLiteral("^qnet[0-9]{1,7}$"));
    QStringList names;
    if (struct if_nameindex *list = if_nameindex()) {
        for (struct if_nameindex *i = list; i->if_index != 0; ++i) {
            const QString name = QString::fromLatin1(i->if_name);
            if (pattern.match(name).hasMatch())
                names << name;
        }
        if_freenameindex(list);
    }
    return names;
}

bool removeTunInterface(const QString &name, bool *busy, QString *why)
{
    *busy = false;
    const QByteArray raw = name.toLatin1();
    if (raw.isEmpty() || raw.size() >= IFNAMSIZ) {
        *why = QStringLiteral("invalid name");
        return false;
    }
    const int fd = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Attaching fails with EBUSY while a process holds it; once attached, dropping the
    // persistence lets the kernel delete the interface when this descriptor closes.
    struct ifreq request = {};
    std::memcpy(request.ifr_name, raw.constData(), size_t(raw.size()));
    request.ifr_flags = IFF_TUN | IFF_NO_PI;
    const bool ok = ::ioctl(fd, TUNSETIFF, &request) == 0 && ::ioctl(fd, TUNSETPERSIST, 0) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok) {
        *busy = error == EBUSY;
        *why = QString::fromLocal8Bit(std::strerror(error));
    }
    return ok;
}

bool routeInterface(const QHostAddress &address, QString *interface)
{
    interface->clear();
    const bool v4 = address.protocol() == QAbstractSocket::IPv4Protocol;
    if (!v4 && address.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    const int fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0)
        return false;
    struct Request
    {
        nlmsghdr header;
        rtmsg route;
        char attributes[64];
    } request;
    std::memset(&request, 0, sizeof request);
    const int length = v4 ? 4 : 16;
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(rtmsg));
    request.header.nlmsg_type = RTM_GETROUTE;
    request.header.nlmsg_flags = NLM_F_REQUEST;
    request.header.nlmsg_seq = 1;
    request.route.rtm_family = v4 ? AF_INET : AF_INET6;
    request.route.rtm_dst_len = quint8(length * 8);
    auto *attribute = reinterpret_cast<rtattr *>(reinterpret_cast<char *>(&request)
                                                 + NLMSG_ALIGN(request.header.nlmsg_len));
    attribute->rta_type = RTA_DST;
    attribute->rta_len = RTA_LENGTH(length);
    if (v4) {
        const quint32 a = htonl(address.toIPv4Address());
        std::memcpy(RTA_DATA(attribute), &a, 4);
    } else {
        const Q_IPV6ADDR a = address.toIPv6Address();
        std::memcpy(RTA_DATA(attribute), a.c, 16);
    }
    request.header.nlmsg_len = NLMSG_ALIGN(request.header.nlmsg_len) + RTA_LENGTH(length);

    // One request, one answer: a route or an error; the socket is blocking with a time-out.
    const timeval timeout = {2, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    bool found = false;
    if (send(fd, &request, request.header.nlmsg_len, 0) == ssize_t(request.header.nlmsg_len)) {
        alignas(nlmsghdr) char buffer[8192];
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            int remaining = int(n);
            for (auto *h = reinterpret_cast<nlmsghdr *>(buffer); NLMSG_OK(h, remaining);
                 h = NLMSG_NEXT(h, remaining)) {
                if (h->nlmsg_type != RTM_NEWROUTE)
                    break;
                auto *route = static_cast<rtmsg *>(NLMSG_DATA(h));
                int attributes = int(RTM_PAYLOAD(h));
                for (auto *a = RTM_RTA(route); RTA_OK(a, attributes); a = RTA_NEXT(a, attributes)) {
                    if (a->rta_type != RTA_OIF || RTA_PAYLOAD(a) < sizeof(int))
                        continue;
                    int index = 0;
                    std::memcpy(&index, RTA_DATA(a), sizeof index);
                    char name[IF_NAMESIZE] = {};
                    if (if_indextoname(unsigned(index), name)) {
                        *interface = QString::fromLatin1(name);
                        found = true;
                    }
                }
                break;
            }
        }
    }
    ::close(fd);
    return found;
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
