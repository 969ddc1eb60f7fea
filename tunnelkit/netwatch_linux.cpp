#include "netwatch.h"

#include <QRegularExpression>
#include <QSocketNotifier>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <functional>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tunnelkit {
namespace {

bool isTunnelName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^qnet[0-9]{1,7}$"));
    return pattern.match(name).hasMatch();
}

QString nameOf(int index)
{
    char name[IF_NAMESIZE] = {};
    return index > 0 && if_indextoname(unsigned(index), name) ? QString::fromLatin1(name)
                                                              : QString();
}

int familyOf(const QHostAddress &a)
{
    return a.protocol() == QAbstractSocket::IPv4Protocol ? AF_INET : AF_INET6;
}

QHostAddress addressFrom(const rtattr *a, int family)
{
    if (family == AF_INET && RTA_PAYLOAD(a) >= 4) {
        quint32 v4 = 0;
        std::memcpy(&v4, RTA_DATA(a), 4);
        return QHostAddress(ntohl(v4));
    }
    if (family == AF_INET6 && RTA_PAYLOAD(a) >= 16)
        return QHostAddress(static_cast<const quint8 *>(RTA_DATA(a)));
    return QHostAddress();
}

// One request with its attributes; big enough for a route.
struct Request
{
    explicit Request(quint16 type, quint16 flags)
    {
        std::memset(buffer, 0, sizeof buffer);
        header()->nlmsg_type = type;
        header()->nlmsg_flags = NLM_F_REQUEST | flags;
    }
    nlmsghdr *header() { return reinterpret_cast<nlmsghdr *>(buffer); }
    template<typename T>
    T *body(int size = sizeof(T))
    {
        header()->nlmsg_len = NLMSG_LENGTH(size);
        return static_cast<T *>(NLMSG_DATA(header()));
    }
    void add(quint16 type, const void *data, int size)
    {
        auto *a = reinterpret_cast<rtattr *>(buffer + NLMSG_ALIGN(header()->nlmsg_len));
        a->rta_type = type;
        a->rta_len = quint16(RTA_LENGTH(size));
        std::memcpy(RTA_DATA(a), data, size_t(size));
        header()->nlmsg_len = NLMSG_ALIGN(header()->nlmsg_len) + RTA_LENGTH(size);
    }
    void addAddress(quint16 type, const QHostAddress &address)
    {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            const quint32 v4 = htonl(address.toIPv4Address());
            add(type, &v4, 4);
        } else {
            const Q_IPV6ADDR v6 = address.toIPv6Address();
            add(type, v6.c, 16);
        }
    }
    alignas(nlmsghdr) char buffer[256];
};

// A blocking rtnetlink socket for requests, each answer awaited at most 2 s.
class Netlink
{
public:
    Netlink()
        : m_fd(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE))
    {
        const timeval timeout = {2, 0};
        if (m_fd >= 0)
            setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    }
    ~Netlink()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Netlink(const Netlink &) = delete;
    Netlink &operator=(const Netlink &) = delete;

    // Sends request and hands each answer to `each` until the dump ends, the single answer or
    // the acknowledgement came. 0, or the errno the kernel (or the socket) gave.
    int exchange(Request &request, const std::function<void(const nlmsghdr *)> &each = {})
    {
        if (m_fd < 0)
            return EBADF;
        nlmsghdr *h = request.header();
        h->nlmsg_seq = ++m_seq;
        if (send(m_fd, h, h->nlmsg_len, 0) != ssize_t(h->nlmsg_len))
            return errno;
        // A dump of a busy table takes a few reads; bounded all the same.
        for (int reads = 0; reads < 4096; ++reads) {
            alignas(nlmsghdr) char buffer[16384];
            const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : EIO;
            int left = int(n);
            for (auto *m = reinterpret_cast<nlmsghdr *>(buffer); NLMSG_OK(m, left);
                 m = NLMSG_NEXT(m, left)) {
                if (m->nlmsg_seq != m_seq)
                    continue;
                if (m->nlmsg_type == NLMSG_DONE)
                    return 0;
                if (m->nlmsg_type == NLMSG_ERROR)
                    return -static_cast<const nlmsgerr *>(NLMSG_DATA(m))->error;
                if (each)
                    each(m);
                if (!(m->nlmsg_flags & NLM_F_MULTI))
                    return 0;
            }
        }
        return EIO;
    }

private:
    int m_fd;
    quint32 m_seq = 0;
};

struct Route
{
    int interfaceIndex = 0;
    QHostAddress gateway;
    quint32 priority = 0;
    quint32 table = 0;
};

Route parseRoute(const nlmsghdr *m)
{
    const auto *r = static_cast<const rtmsg *>(NLMSG_DATA(m));
    Route route;
    route.table = r->rtm_table;
    int left = int(RTM_PAYLOAD(m));
    for (auto *a = RTM_RTA(r); RTA_OK(a, left); a = RTA_NEXT(a, left)) {
        if (a->rta_type == RTA_OIF && RTA_PAYLOAD(a) >= sizeof(int))
            std::memcpy(&route.interfaceIndex, RTA_DATA(a), sizeof(int));
        else if (a->rta_type == RTA_GATEWAY)
            route.gateway = addressFrom(a, r->rtm_family);
        else if (a->rta_type == RTA_PRIORITY && RTA_PAYLOAD(a) >= 4)
            std::memcpy(&route.priority, RTA_DATA(a), 4);
        else if (a->rta_type == RTA_TABLE && RTA_PAYLOAD(a) >= 4)
            std::memcpy(&route.table, RTA_DATA(a), 4);
    }
    return route;
}

Route kernelRoute(Netlink &nl, const QHostAddress &server)
{
    Request request(RTM_GETROUTE, 0);
    auto *r = request.body<rtmsg>();
    r->rtm_family = quint8(familyOf(server));
    r->rtm_dst_len = familyOf(server) == AF_INET ? 32 : 128;
    request.addAddress(RTA_DST, server);
    Route route;
    nl.exchange(request, [&](const nlmsghdr *m) {
        if (m->nlmsg_type == RTM_NEWROUTE)
            route = parseRoute(m);
    });
    return route;
}

Route bestDefaultRoute(Netlink &nl, int family, const QString &tunnel)
{
    Request request(RTM_GETROUTE, NLM_F_DUMP);
    request.body<rtmsg>()->rtm_family = quint8(family);
    Route best;
    nl.exchange(request, [&](const nlmsghdr *m) {
        const auto *r = static_cast<const rtmsg *>(NLMSG_DATA(m));
        if (m->nlmsg_type != RTM_NEWROUTE || r->rtm_dst_len != 0 || r->rtm_type != RTN_UNICAST)
            return;
        const Route route = parseRoute(m);
        if (route.table != RT_TABLE_MAIN || route.interfaceIndex <= 0
            || nameOf(route.interfaceIndex) == tunnel)
            return;
        if (best.interfaceIndex == 0 || route.priority < best.priority)
            best = route;
    });
    return best;
}

bool linkUp(int index)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request = {};
    const QByteArray name = nameOf(index).toLatin1();
    if (fd < 0 || name.isEmpty() || name.size() >= IFNAMSIZ) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    std::memcpy(request.ifr_name, name.constData(), size_t(name.size()));
    const bool ok = ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    ::close(fd);
    // RUNNING: the link itself is up (carrier), not only switched on.
    return ok && (request.ifr_flags & IFF_UP) && (request.ifr_flags & IFF_RUNNING);
}

QList<QHostAddress> addressesOf(Netlink &nl, int index, int family)
{
    Request request(RTM_GETADDR, NLM_F_DUMP);
    request.body<ifaddrmsg>()->ifa_family = quint8(family);
    QList<QHostAddress> found;
    nl.exchange(request, [&](const nlmsghdr *m) {
        const auto *a = static_cast<const ifaddrmsg *>(NLMSG_DATA(m));
        if (m->nlmsg_type != RTM_NEWADDR || int(a->ifa_index) != index
            || a->ifa_scope >= RT_SCOPE_LINK)
            return;
        // Privacy addresses come and go by themselves; openvpn does not use them anyway.
        quint32 flags = a->ifa_flags;
        int left = int(IFA_PAYLOAD(m));
        QHostAddress address;
        for (auto *at = IFA_RTA(a); RTA_OK(at, left); at = RTA_NEXT(at, left)) {
            if (at->rta_type == IFA_FLAGS && RTA_PAYLOAD(at) >= 4)
                std::memcpy(&flags, RTA_DATA(at), 4);
            else if (at->rta_type == (family == AF_INET ? IFA_LOCAL : IFA_ADDRESS))
                address = addressFrom(at, family);
        }
        if (!address.isNull() && !(flags & (IFA_F_TEMPORARY | IFA_F_TENTATIVE | IFA_F_DEPRECATED)))
            found << address;
    });
    std::sort(found.begin(), found.end(), [](const QHostAddress &x, const QHostAddress &y) {
        return x.toString() < y.toString();
    });
    return found;
}

bool routeRequest(quint16 type, quint16 flags, const QHostAddress &server, const NetworkPath &path,
                  int *error)
{
    Request request(type, flags | NLM_F_ACK);
    auto *r = request.body<rtmsg>();
    r->rtm_family = quint8(familyOf(server));
    r->rtm_dst_len = familyOf(server) == AF_INET ? 32 : 128;
    r->rtm_table = RT_TABLE_MAIN;
    r->rtm_protocol = RTPROT_STATIC;
    r->rtm_scope = path.gateway.isNull() ? RT_SCOPE_LINK : RT_SCOPE_UNIVERSE;
    r->rtm_type = RTN_UNICAST;
    request.addAddress(RTA_DST, server);
    if (!path.gateway.isNull())
        request.addAddress(RTA_GATEWAY, path.gateway);
    request.add(RTA_OIF, &path.interfaceIndex, sizeof path.interfaceIndex);
    Netlink nl;
    *error = nl.exchange(request);
    return *error == 0;
}

} // namespace

namespace os {

NetworkPath pathToServer(const QHostAddress &server, const QString &tunnel)
{
    NetworkPath path;
    if (server.protocol() != QAbstractSocket::IPv4Protocol
        && server.protocol() != QAbstractSocket::IPv6Protocol)
        return path;
    Netlink nl;
    Route route = kernelRoute(nl, server);
    path.direct = route.interfaceIndex > 0 && nameOf(route.interfaceIndex) != tunnel;
    if (!path.direct)
        route = bestDefaultRoute(nl, familyOf(server), tunnel);
    if (route.interfaceIndex <= 0 || !linkUp(route.interfaceIndex))
        return NetworkPath();
    path.addresses = addressesOf(nl, route.interfaceIndex, familyOf(server));
    if (path.addresses.isEmpty())
        return NetworkPath();
    path.interfaceIndex = route.interfaceIndex;
    path.gateway = route.gateway;
    return path;
}

bool addServerRoute(const QHostAddress &server, const NetworkPath &path, QString *why)
{
    int error = 0;
    if (routeRequest(RTM_NEWROUTE, NLM_F_CREATE | NLM_F_REPLACE, server, path, &error))
        return true;
    *why = QString::fromLocal8Bit(std::strerror(error));
    return false;
}

void removeServerRoute(const QHostAddress &server, const NetworkPath &path)
{
    int error = 0;
    routeRequest(RTM_DELROUTE, 0, server, path, &error);
}

} // namespace os

NetworkWatcher::NetworkWatcher(QObject *parent)
    : QObject(parent)
{ }

NetworkWatcher::~NetworkWatcher()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

bool NetworkWatcher::start(QString *error)
{
    m_fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    sockaddr_nl address = {};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR | RTMGRP_IPV4_ROUTE
        | RTMGRP_IPV6_ROUTE;
    if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &NetworkWatcher::onReadable);
    return true;
}

void NetworkWatcher::onReadable()
{
    bool relevant = false;
    // Everything queued now is one batch.
    for (int reads = 0; reads < 256; ++reads) {
        alignas(nlmsghdr) char buffer[16384];
        const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            // ENOBUFS: messages were lost; whatever they said, look again.
            relevant = relevant || errno == ENOBUFS;
            break;
        }
        int left = int(n);
        for (auto *m = reinterpret_cast<nlmsghdr *>(buffer); NLMSG_OK(m, left);
             m = NLMSG_NEXT(m, left)) {
            QString name;
            switch (m->nlmsg_type) {
            case RTM_NEWLINK:
            case RTM_DELLINK: {
                const auto *i = static_cast<const ifinfomsg *>(NLMSG_DATA(m));
                int attributes = int(IFLA_PAYLOAD(m));
                for (auto *a = IFLA_RTA(i); RTA_OK(a, attributes); a = RTA_NEXT(a, attributes)) {
                    if (a->rta_type == IFLA_IFNAME)
                        name = QString::fromLatin1(
                            static_cast<const char *>(RTA_DATA(a)),
                            int(qstrnlen(static_cast<const char *>(RTA_DATA(a)), RTA_PAYLOAD(a))));
                }
                break;
            }
            case RTM_NEWADDR:
            case RTM_DELADDR:
                name = nameOf(int(static_cast<const ifaddrmsg *>(NLMSG_DATA(m))->ifa_index));
                break;
            case RTM_NEWROUTE:
            case RTM_DELROUTE: {
                const Route route = parseRoute(m);
                // The local table follows the addresses, which are reported themselves.
                if (route.table != RT_TABLE_MAIN)
                    continue;
                name = nameOf(route.interfaceIndex);
                break;
            }
            default:
                continue;
            }
            relevant = relevant || !isTunnelName(name);
        }
    }
    if (relevant)
        emit changed();
}

} // namespace tunnelkit
