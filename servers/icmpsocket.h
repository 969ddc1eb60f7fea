#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// ICMP echo over the operating system (icmpsocket_linux.cpp): an unprivileged ping socket
// where the system allows it (net.ipv4.ping_group_range), else a raw socket (root or
// CAP_NET_RAW). One object per run, used by one thread.
class IcmpSocket
{
public:
    enum class Kind { None, Ping, Raw };

    IcmpSocket() = default;
    ~IcmpSocket();
    IcmpSocket(const IcmpSocket &) = delete;
    IcmpSocket &operator=(const IcmpSocket &) = delete;

    // None when neither kind could be opened; errorText() says why.
    Kind open();
    Kind kind() const { return m_kind; }
    QString errorText() const { return m_error; }
    // The echo identifier of this socket (the kernel's for a ping socket).
    quint16 identifier() const { return m_identifier; }

    // A dotted IPv4 text as the system's inet_addr reads it ("1.2.3" is 1.2.0.3), in
    // network byte order; false when it does not parse (INADDR_NONE).
    static bool parseAddress(const QString &text, quint32 *address);

    enum class Send { Sent, Busy, Failed };
    // One echo request with this socket's identifier, without blocking. Busy: the send or
    // device queue is full for now (try again shortly); Failed: the system refused it.
    Send sendEcho(quint32 address, quint16 sequence, const QByteArray &data);

    struct Reply
    {
        quint32 source = 0; // network byte order
        quint16 identifier = 0;
        quint16 sequence = 0;
    };
    // The next echo reply already received, without blocking; false when there is none.
    // Other ICMP messages and errors reported by the system are skipped.
    bool readReply(Reply *reply);
    // Waits at most timeoutMs for something to read.
    void waitReadable(int timeoutMs);

private:
    int m_fd = -1;
    Kind m_kind = Kind::None;
    quint16 m_identifier = 0;
    QString m_error;
};

// The portable part: ICMP echo messages (header and data, no IP header).
namespace Icmp {

// "Quell Test" and 22 zero bytes.
QByteArray echoData();
// Type 8, code 0, with the Internet checksum filled in.
QByteArray echoRequest(quint16 identifier, quint16 sequence, const QByteArray &data);
// True for a whole echo reply (type 0, code 0, at least 8 bytes); the fields are read out.
bool parseEchoReply(const char *message, int length, quint16 *identifier, quint16 *sequence);
quint16 checksum(const char *data, int length);

} // namespace Icmp
