#include "icmpsocket.h"

#include <QRandomGenerator>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString errnoText(const char *what, int error)
{
    return QString::fromLatin1(what) + QStringLiteral(": ")
        + QString::fromLocal8Bit(strerror(error));
}

// A run has all its echoes in flight at once: room for a burst of them and of their replies
// (the system caps this at net.core.[rw]mem_max).
void enlargeBuffers(int fd)
{
    const int size = 1 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof(size));
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof(size));
}

} // namespace

IcmpSocket::~IcmpSocket()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

IcmpSocket::Kind IcmpSocket::open()
{
    if (m_fd >= 0)
        return m_kind;

    // The kernel allows ping sockets to the groups in net.ipv4.ping_group_range.
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        socklen_t size = sizeof(local);
        // Binding to id 0 lets the kernel pick the identifier it will stamp on our echoes.
        if (::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof(local)) == 0
            && ::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &size) == 0) {
            enlargeBuffers(fd);
            m_fd = fd;
            m_kind = Kind::Ping;
            m_identifier = ntohs(local.sin_port);
            return m_kind;
        }
        m_error = errnoText("ping socket", errno);
        ::close(fd);
    } else {
        m_error = errnoText("ping socket", errno);
    }

    fd = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        m_error += QStringLiteral("; ") + errnoText("raw socket", errno);
        return Kind::None;
    }
    // Only echo replies are of interest; everything else stays in the kernel.
    icmp_filter filter{};
    filter.data = ~(1U << ICMP_ECHOREPLY);
    ::setsockopt(fd, SOL_RAW, ICMP_FILTER, &filter, sizeof(filter));
    enlargeBuffers(fd);
    m_fd = fd;
    m_kind = Kind::Raw;
    m_identifier = quint16(QRandomGenerator::global()->bounded(1, 0x10000));
    m_error.clear();
    return m_kind;
}

bool IcmpSocket::parseAddress(const QString &text, quint32 *address)
{
    const QByteArray bytes = text.toLatin1();
    const in_addr_t value = ::inet_addr(bytes.constData());
    if (value == INADDR_NONE || bytes.contains('\0'))
        return false;
    *address = value;
    return true;
}

IcmpSocket::Send IcmpSocket::sendEcho(quint32 address, quint16 sequence, const QByteArray &data)
{
    if (m_fd < 0)
        return Send::Failed;
    const QByteArray message = Icmp::echoRequest(m_identifier, sequence, data);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t sent = ::sendto(m_fd, message.constData(), size_t(message.size()), 0,
                                      reinterpret_cast<const sockaddr *>(&to), sizeof(to));
        if (sent == message.size())
            return Send::Sent;
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS))
            return Send::Busy;
        return Send::Failed;
    }
    return Send::Busy;
}

bool IcmpSocket::readReply(Reply *reply)
{
    if (m_fd < 0)
        return false;
    // An IPv4 header of at most 60 bytes, the echo header and room for the returned data.
    char buffer[60 + 8 + 512];
    // The count only guards against a socket that never runs dry.
    for (int rounds = 0; rounds < 100000; ++rounds) {
        sockaddr_in from{};
        socklen_t size = sizeof(from);
        const ssize_t got = ::recvfrom(m_fd, buffer, sizeof(buffer), 0,
                                       reinterpret_cast<sockaddr *>(&from), &size);
        if (got < 0) {
            // Other errors are the system's reports on earlier echoes (unreachable, ...).
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return false;
            continue;
        }
        const char *message = buffer;
        int length = int(got);
        if (m_kind == Kind::Raw) {
            // A raw socket sees the IP header too.
            if (length < 20)
                continue;
            const int headerLength = (uchar(buffer[0]) & 0x0f) * 4;
            if (headerLength < 20 || headerLength > length)
                continue;
            message += headerLength;
            length -= headerLength;
        }
        Reply found;
        if (!Icmp::parseEchoReply(message, length, &found.identifier, &found.sequence))
            continue;
        if (m_kind == Kind::Raw && found.identifier != m_identifier)
            continue; // another program's ping
        found.source = from.sin_addr.s_addr;
        *reply = found;
        return true;
    }
    return false;
}

void IcmpSocket::waitReadable(int timeoutMs)
{
    if (m_fd < 0 || timeoutMs <= 0)
        return;
    pollfd pfd{m_fd, POLLIN, 0};
    ::poll(&pfd, 1, timeoutMs);
}
