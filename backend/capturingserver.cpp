#include "capturingserver.h"

#include "requestparse.h"

#include <openssl/err.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace backend {

namespace {

constexpr size_t kMaxCapturedBytes = 64 * 1024;
constexpr int kIdleSliceMs = 100;

std::string openSslError()
{
    const unsigned long code = ERR_get_error();
    if (!code)
        return "unknown TLS error";
    char buffer[256];
    ERR_error_string_n(code, buffer, sizeof buffer);
    ERR_clear_error();
    return buffer;
}

void setTimeout(socket_t sock, int option, time_t seconds)
{
    timeval tv{};
    tv.tv_sec = seconds;
    setsockopt(sock, SOL_SOCKET, option, &tv, sizeof tv);
}

class CaptureStream : public httplib::Stream
{
public:
    CaptureStream(socket_t sock, SSL *ssl, time_t readTimeout, time_t writeTimeout)
        : m_sock(sock)
        , m_ssl(ssl)
        , m_readTimeoutMs(static_cast<int>(readTimeout * 1000))
        , m_writeTimeoutMs(static_cast<int>(writeTimeout * 1000))
    { }

    bool is_readable() const override { return buffered() || waitFor(POLLIN, m_readTimeoutMs); }
    bool is_writable() const override { return waitFor(POLLOUT, m_writeTimeoutMs); }

    ssize_t read(char *ptr, size_t size) override
    {
        if (m_pos >= m_buffer.size()) {
            const ssize_t filled = fill();
            if (filled <= 0)
                return filled;
        }
        const size_t n = std::min(size, m_buffer.size() - m_pos);
        std::memcpy(ptr, m_buffer.data() + m_pos, n);
        m_pos += n;
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char *ptr, size_t size) override
    {
        if (size == 0)
            return 0;
        if (!is_writable())
            return -1;
        if (m_ssl) {
            const int n
                = SSL_write(m_ssl, ptr, static_cast<int>(std::min<size_t>(size, INT32_MAX)));
            return n > 0 ? n : -1;
        }
        return ::send(m_sock, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string &ip, int &port) const override
    {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        if (getpeername(m_sock, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            numeric(address, length, ip, port);
    }
    void get_local_ip_and_port(std::string &ip, int &port) const override
    {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        if (getsockname(m_sock, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            numeric(address, length, ip, port);
    }
    socket_t socket() const override { return m_sock; }

    // Waits for the next request of a kept-alive connection; gives up when the server stops.
    bool waitForRequest(time_t timeoutSec, const std::atomic<socket_t> &serverSocket) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSec);
        while (serverSocket != INVALID_SOCKET) {
            if (buffered() || waitFor(POLLIN, kIdleSliceMs))
                return true;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
        }
        return false;
    }

    // Reads the next request head ahead of the parser: it is kept as sent, and the parser
    // sees it with Range renamed. The library would answer a Range it cannot parse ("Bytes=",
    // several ranges) with 416 before any handler runs, and would cut a handler's own partial
    // reply a second time; /download/ reads the header from the wire instead.
    void beginRequest()
    {
        size_t end = std::string::npos;
        while ((end = headEnd(m_buffer, m_pos)) == std::string::npos
               && m_buffer.size() - m_pos < kMaxCapturedBytes && fill() > 0) { }
        if (end == std::string::npos) {
            m_capture = m_buffer.substr(m_pos);
            return;
        }
        m_capture = m_buffer.substr(m_pos, end - m_pos);
        m_buffer.replace(m_pos, end - m_pos, withRangeRenamed(m_capture));
    }
    const std::string &captured() const { return m_capture; }

    bool peerClosed() const
    {
        pollfd item{m_sock, POLLRDHUP, 0};
        return ::poll(&item, 1, 0) > 0 && (item.revents & (POLLRDHUP | POLLHUP | POLLERR));
    }

private:
    bool buffered() const { return m_pos < m_buffer.size() || (m_ssl && SSL_pending(m_ssl) > 0); }

    bool waitFor(short events, int timeoutMs) const
    {
        pollfd item{m_sock, events, 0};
        for (;;) {
            const int rc = ::poll(&item, 1, timeoutMs);
            if (rc < 0 && errno == EINTR)
                continue;
            return rc > 0 && (item.revents & (events | POLLHUP | POLLERR));
        }
    }

    // Appends what the connection has next, keeping unread bytes.
    ssize_t fill()
    {
        if (!(m_ssl && SSL_pending(m_ssl) > 0) && !waitFor(POLLIN, m_readTimeoutMs))
            return -1;
        m_buffer.erase(0, m_pos);
        m_pos = 0;
        const size_t kept = m_buffer.size();
        m_buffer.resize(kept + 4096);
        ssize_t n;
        if (m_ssl) {
            const int rc = SSL_read(m_ssl, &m_buffer[kept], 4096);
            n = rc > 0 ? rc : (SSL_get_error(m_ssl, rc) == SSL_ERROR_ZERO_RETURN ? 0 : -1);
        } else {
            n = ::recv(m_sock, &m_buffer[kept], 4096, 0);
        }
        m_buffer.resize(kept + (n > 0 ? static_cast<size_t>(n) : 0));
        return n;
    }

    static void numeric(const sockaddr_storage &address, socklen_t length, std::string &ip,
                        int &port)
    {
        char host[NI_MAXHOST];
        char service[NI_MAXSERV];
        if (getnameinfo(reinterpret_cast<const sockaddr *>(&address), length, host, sizeof host,
                        service, sizeof service, NI_NUMERICHOST | NI_NUMERICSERV)
            == 0) {
            ip = host;
            port = std::atoi(service);
        }
    }

    socket_t m_sock;
    SSL *m_ssl;
    int m_readTimeoutMs;
    int m_writeTimeoutMs;
    std::string m_buffer;
    size_t m_pos = 0;
    std::string m_capture;
};

thread_local const CaptureStream *t_currentStream = nullptr;
thread_local const CapturingServer *t_currentServer = nullptr;

} // namespace

CapturingServer::CapturingServer(SSL_CTX *tls)
    : m_tls(tls)
{ }

std::string CapturingServer::currentHead()
{
    return t_currentStream ? t_currentStream->captured() : std::string();
}

bool CapturingServer::currentRequestAbandoned()
{
    return !t_currentStream || !t_currentServer || t_currentServer->svr_sock_ == INVALID_SOCKET
        || t_currentStream->peerClosed();
}

bool CapturingServer::process_and_close_socket(socket_t sock)
{
    setTimeout(sock, SO_RCVTIMEO, read_timeout_sec_);
    setTimeout(sock, SO_SNDTIMEO, write_timeout_sec_);
    SSL *ssl = nullptr;
    bool ready = true;
    if (m_tls) {
        ssl = SSL_new(m_tls);
        ready = ssl && SSL_set_fd(ssl, sock) == 1 && SSL_accept(ssl) == 1;
        ERR_clear_error();
    }
    bool ok = false;
    if (ready) {
        CaptureStream stream(sock, ssl, read_timeout_sec_, write_timeout_sec_);
        t_currentStream = &stream;
        t_currentServer = this;
        for (size_t left = keep_alive_max_count_; left > 0; --left) {
            if (!stream.waitForRequest(keep_alive_timeout_sec_, svr_sock_))
                break;
            stream.beginRequest();
            bool closed = false;
            ok = process_request(stream, left == 1, closed,
                                 [ssl](httplib::Request &req) { req.ssl = ssl; });
            if (!ok || closed)
                break;
        }
        t_currentStream = nullptr;
        t_currentServer = nullptr;
    }
    if (ssl) {
        if (ok)
            SSL_shutdown(ssl);
        SSL_free(ssl);
        ERR_clear_error();
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}

SSL_CTX *makeServerTlsContext(const std::string &certFile, const std::string &keyFile,
                              std::string &error)
{
    SSL_CTX *ctx = SSL_CTX_new(TLS_server_method());
    if (!ctx) {
        error = openSslError();
        return nullptr;
    }
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_options(ctx, SSL_OP_NO_COMPRESSION | SSL_OP_NO_RENEGOTIATION);
    if (SSL_CTX_use_certificate_chain_file(ctx, certFile.c_str()) != 1) {
        error = "certificate " + certFile + ": " + openSslError();
    } else if (SSL_CTX_use_PrivateKey_file(ctx, keyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
        error = "key " + keyFile + ": " + openSslError();
    } else if (SSL_CTX_check_private_key(ctx) != 1) {
        error = "key " + keyFile + " does not belong to certificate " + certFile;
    } else {
        return ctx;
    }
    SSL_CTX_free(ctx);
    return nullptr;
}

} // namespace backend
