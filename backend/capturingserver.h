#pragma once

#include <httplib.h>

#include <openssl/ssl.h>

#include <string>

namespace backend {

// An httplib server that does its own TLS (or plain TCP) and keeps the raw bytes of each
// request head. The library decodes percent-escapes in header values and keeps headers
// sorted by name; tests of the client need what was on the wire, in wire order.
class CapturingServer : public httplib::Server
{
public:
    // `tls` may be null for plain HTTP; it is not owned and must outlive the server.
    explicit CapturingServer(SSL_CTX *tls);

    // The raw request line and header lines of the request being handled on this thread
    // (up to and including the empty line); empty outside a handler.
    // The parser sees a Range header as "Quellnet-Wire-Range" (see the stream); handlers
    // read Range from currentHead().
    static std::string currentHead();

    // True once the client of the request on this thread has gone or the server is stopping:
    // a handler that holds a reply back polls it.
    static bool currentRequestAbandoned();

private:
    bool process_and_close_socket(socket_t sock) override;

    SSL_CTX *m_tls;
};

// Loads certificate chain and key; on failure returns null and sets `error`.
SSL_CTX *makeServerTlsContext(const std::string &certFile, const std::string &keyFile,
                              std::string &error);

} // namespace backend
