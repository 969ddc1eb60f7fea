#include "configfilter.h"

#include <map>
#include <utility>

namespace tunnelkit {
namespace {

enum class Kind {
    Plain, // kept as written (arguments re-quoted)
    InlineOnly, // only as an inline <tag> block: on a line it names a file
    InlineOrLine, // inline block, or values on the line (peer-fingerprint)
    Device, // dev: tun only, replaced by the engine's own
    DeviceType, // dev-type: tun only, replaced
    Remote, // consumed into the endpoint
    Proto, // consumed
    Port, // consumed
    RemotePort, // consumed
    Verb, // 0..6: higher levels print packet contents
    ExitNotify, // at most 3: stop() waits for it
    SetenvOpt, // "setenv opt X": X is checked on its own
    Route, // route, route-ipv6: never around the tunnel (net_gateway)
    Dropped, // Windows-only, no effect on Linux
};

const std::map<std::string, Kind> &allowedDirectives()
{
    static const std::map<std::string, Kind> table = {
        // tunnel and peer
        {"client", Kind::Plain},
        {"pull", Kind::Plain},
        {"tls-client", Kind::Plain},
        {"dev", Kind::Device},
        {"dev-type", Kind::DeviceType},
        {"remote", Kind::Remote},
        {"proto", Kind::Proto},
        {"port", Kind::Port},
        {"rport", Kind::RemotePort},
        {"lport", Kind::Plain},
        {"bind", Kind::Plain},
        {"nobind", Kind::Plain},
        {"float", Kind::Plain},
        {"remote-random", Kind::Plain},
        {"remote-random-hostname", Kind::Plain},
        {"resolv-retry", Kind::Plain},
        {"connect-retry", Kind::Plain},
        {"connect-retry-max", Kind::Plain},
        {"connect-timeout", Kind::Plain},
        {"server-poll-timeout", Kind::Plain},
        {"allow-pull-fqdn", Kind::Plain},
        {"persist-key", Kind::Plain},
        {"persist-tun", Kind::Plain},
        {"persist-remote-ip", Kind::Plain},
        {"persist-local-ip", Kind::Plain},
        // crypto and TLS
        {"cipher", Kind::Plain},
        {"data-ciphers", Kind::Plain},
        {"data-ciphers-fallback", Kind::Plain},
        {"ncp-ciphers", Kind::Plain},
        {"auth", Kind::Plain},
        {"auth-nocache", Kind::Plain},
        {"key-direction", Kind::Plain},
        {"tls-cipher", Kind::Plain},
        {"tls-ciphersuites", Kind::Plain},
        {"tls-groups", Kind::Plain},
        {"tls-cert-profile", Kind::Plain},
        {"tls-version-min", Kind::Plain},
        {"tls-version-max", Kind::Plain},
        {"ecdh-curve", Kind::Plain},
        {"tls-timeout", Kind::Plain},
        {"hand-window", Kind::Plain},
        {"tran-window", Kind::Plain},
        {"reneg-sec", Kind::Plain},
        {"reneg-bytes", Kind::Plain},
        {"reneg-pkts", Kind::Plain},
        {"tls-exit", Kind::Plain},
        {"single-session", Kind::Plain},
        {"replay-window", Kind::Plain},
        {"mute-replay-warnings", Kind::Plain},
        {"push-peer-info", Kind::Plain},
        {"remote-cert-tls", Kind::Plain},
        {"remote-cert-ku", Kind::Plain},
        {"remote-cert-eku", Kind::Plain},
        {"verify-x509-name", Kind::Plain},
        {"ns-cert-type", Kind::Plain},
        {"verify-hash", Kind::Plain},
        {"peer-fingerprint", Kind::InlineOrLine},
        // keys and certificates, inline only
        {"ca", Kind::InlineOnly},
        {"cert", Kind::InlineOnly},
        {"key", Kind::InlineOnly},
        {"extra-certs", Kind::InlineOnly},
        {"pkcs12", Kind::InlineOnly},
        {"tls-auth", Kind::InlineOnly},
        {"tls-crypt", Kind::InlineOnly},
        {"tls-crypt-v2", Kind::InlineOnly},
        {"crl-verify", Kind::InlineOnly},
        {"secret", Kind::InlineOnly},
        {"auth-user-pass", Kind::InlineOnly},
        // compression
        {"comp-lzo", Kind::Plain},
        {"compress", Kind::Plain},
        {"allow-compression", Kind::Plain},
        {"comp-noadapt", Kind::Plain},
        // liveness
        {"keepalive", Kind::Plain},
        {"ping", Kind::Plain},
        {"ping-restart", Kind::Plain},
        {"ping-exit", Kind::Plain},
        {"ping-timer-rem", Kind::Plain},
        {"inactive", Kind::Plain},
        {"session-timeout", Kind::Plain},
        {"explicit-exit-notify", Kind::ExitNotify},
        // MTU and sockets
        {"tun-mtu", Kind::Plain},
        {"tun-mtu-extra", Kind::Plain},
        {"link-mtu", Kind::Plain},
        {"mssfix", Kind::Plain},
        {"fragment", Kind::Plain},
        {"mtu-disc", Kind::Plain},
        {"sndbuf", Kind::Plain},
        {"rcvbuf", Kind::Plain},
        {"txqueuelen", Kind::Plain},
        {"fast-io", Kind::Plain},
        {"socket-flags", Kind::Plain},
        // routes
        {"redirect-gateway", Kind::Plain},
        {"redirect-private", Kind::Plain},
        {"route", Kind::Route},
        {"route-ipv6", Kind::Route},
        {"route-gateway", Kind::Plain},
        {"route-metric", Kind::Plain},
        {"route-delay", Kind::Plain},
        {"block-ipv6", Kind::Plain},
        {"dhcp-option", Kind::Plain},
        {"topology", Kind::Plain},
        {"tun-ipv6", Kind::Plain},
        // logging
        {"verb", Kind::Verb},
        {"mute", Kind::Plain},
        {"setenv", Kind::SetenvOpt},
        // Windows-only
        {"block-outside-dns", Kind::Dropped},
        {"register-dns", Kind::Dropped},
        {"ip-win32", Kind::Dropped},
        {"route-method", Kind::Dropped},
        {"win-sys", Kind::Dropped},
        {"dhcp-release", Kind::Dropped},
        {"dhcp-renew", Kind::Dropped},
        {"tap-sleep", Kind::Dropped},
    };
    return table;
}

// Directives that may stand inside a <connection> block.
bool allowedInConnection(const std::string &name)
{
    static const char *const names[] = {
        "remote",          "proto",         "port",
        "rport",           "lport",         "bind",
        "nobind",          "connect-retry", "connect-retry-max",
        "connect-timeout", "float",         "explicit-exit-notify",
        "link-mtu",        "tun-mtu",       "tun-mtu-extra",
        "mssfix",          "fragment",      "server-poll-timeout",
    };
    for (const char *n : names) {
        if (name == n)
            return true;
    }
    return false;
}

// Why a directive outside the list is dangerous, for the log line.
std::string refusalReason(const std::string &name)
{
    static const std::map<std::string, const char *> reasons = {
        {"up", "runs programs"},
        {"down", "runs programs"},
        {"down-pre", "runs programs"},
        {"route-up", "runs programs"},
        {"route-pre-down", "runs programs"},
        {"ipchange", "runs programs"},
        {"tls-verify", "runs programs"},
        {"auth-user-pass-verify", "runs programs"},
        {"client-connect", "runs programs"},
        {"client-disconnect", "runs programs"},
        {"learn-address", "runs programs"},
        {"iproute", "runs programs"},
        {"up-restart", "concerns programs run by openvpn"},
        {"up-delay", "concerns programs run by openvpn"},
        {"script-security", "is set by the engine"},
        {"route-nopull", "would leave the tunnel without routes"},
        {"pull-filter", "could drop the server's routes and DNS"},
        {"plugin", "loads code"},
        {"engine", "loads code"},
        {"providers", "loads code"},
        {"config", "reads a file by path"},
        {"cd", "changes the folder files are read from"},
        {"chroot", "changes the folder files are read from"},
        {"tmp-dir", "writes files by path"},
        {"log", "writes files by path"},
        {"log-append", "writes files by path"},
        {"status", "writes files by path"},
        {"writepid", "writes files by path"},
        {"askpass", "reads a file by path"},
        {"capath", "reads files by path"},
        {"dev-node", "opens a device by path"},
        {"tls-export-cert", "writes files by path"},
        {"syslog", "changes logging"},
        {"daemon", "changes logging and detaches from the engine"},
        {"user", "changes users"},
        {"group", "changes users"},
        {"mark", "is set by the engine"},
        {"ignore-unknown-option", "would hide refused directives"},
        {"auth-retry", "needs interactive input"},
        {"static-challenge", "needs interactive input"},
        {"cryptoapicert", "reads a key store"},
        {"pkcs11-providers", "loads code"},
        {"pkcs11-id", "reads a key store"},
        {"http-proxy", "uses a proxy"},
        {"http-proxy-option", "uses a proxy"},
        {"http-proxy-user-pass", "uses a proxy"},
        {"socks-proxy", "uses a proxy"},
    };
    const auto it = reasons.find(name);
    if (it != reasons.end())
        return it->second;
    if (name.compare(0, 10, "management") == 0)
        return "touches the management interface";
    if (name.compare(0, 6, "pkcs11") == 0)
        return "loads code";
    return "is not allowed";
}

bool isSpace(char c)
{
    return c == '\0' || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool hasControlBytes(const std::string &s, bool allowTab)
{
    for (unsigned char c : s) {
        if ((c < 0x20 && !(allowTab && c == '\t')) || c == 0x7f)
            return true;
    }
    return false;
}

// Keys and certificates are ASCII (PEM, hex, base64); anything else has no business there.
bool isPlainText(const std::string &s)
{
    for (unsigned char c : s) {
        if ((c < 0x20 && c != '\t') || c > 0x7e)
            return false;
    }
    return true;
}

bool parseNumber(const std::string &s, long min, long max, long *value)
{
    if (s.empty() || s.size() > 9)
        return false;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v < min || v > max)
        return false;
    *value = v;
    return true;
}

// openvpn's protocol names a client may use: transport and address family.
bool parseProto(const std::string &s, Transport *transport, int *family)
{
    static const struct
    {
        const char *name;
        Transport transport;
        int family;
    } protos[] = {
        {"udp", Transport::Udp, 0},         {"udp4", Transport::Udp, 4},
        {"udp6", Transport::Udp, 6},        {"tcp", Transport::Tcp, 0},
        {"tcp-client", Transport::Tcp, 0},  {"tcp4", Transport::Tcp, 4},
        {"tcp4-client", Transport::Tcp, 4}, {"tcp6", Transport::Tcp, 6},
        {"tcp6-client", Transport::Tcp, 6},
    };
    for (const auto &p : protos) {
        if (s == p.name) {
            *transport = p.transport;
            *family = p.family;
            return true;
        }
    }
    return false;
}

bool needsQuotes(const std::string &s)
{
    if (s.empty() || s[0] == '#' || s[0] == ';')
        return true;
    for (unsigned char c : s) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-' || c == ':' || c == '/'
            || c == '@' || c == '+' || c == '=' || c == ',' || c == '%';
        if (!plain)
            return true;
    }
    return false;
}

std::string quoted(const std::string &s)
{
    if (!needsQuotes(s))
        return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string joinLine(const std::vector<std::string> &tokens)
{
    std::string line;
    for (const std::string &t : tokens) {
        if (!line.empty())
            line += ' ';
        line += line.empty() ? t : quoted(t);
    }
    return line;
}

// Settings of one scope (the top level or one <connection> block) that make the endpoint.
struct Scope
{
    std::vector<std::string> lines;
    bool hasRemote = false;
    std::string remoteHost;
    std::string remotePort; // from the remote line
    std::string remoteProto; // from the remote line
    std::string port; // port / rport
    std::string proto;
};

class Filter
{
public:
    FilteredConfig run(const std::string &text, const std::string &fallbackHost);

private:
    bool refuse(int line, const std::string &name, const std::string &why)
    {
        m_result.error = "line " + std::to_string(line) + ": '" + name + "' " + why;
        return false;
    }
    bool directive(int line, std::vector<std::string> tokens, Scope *scope, bool inConnection);
    bool inlineBlock(int line, const std::string &tag, const std::vector<std::string> &content,
                     Scope *scope);
    bool finish(const std::string &fallbackHost);

    FilteredConfig m_result;
    Scope m_top;
    std::vector<Scope> m_connections;
};

bool Filter::directive(int line, std::vector<std::string> tokens, Scope *scope, bool inConnection)
{
    if (tokens[0].compare(0, 2, "--") == 0)
        tokens[0].erase(0, 2);
    const std::string &name = tokens[0];
    if (name.empty())
        return refuse(line, name, "is not a directive");
    const auto it = allowedDirectives().find(name);
    if (it == allowedDirectives().end())
        return refuse(line, name, refusalReason(name));
    if (inConnection && !allowedInConnection(name))
        return refuse(line, name, "is not allowed inside <connection>");

    const size_t args = tokens.size() - 1;
    long number = 0;
    switch (it->second) {
    case Kind::Plain:
        break;
    case Kind::InlineOnly:
        return refuse(line, name, "reads a file by path (only inline blocks are accepted)");
    case Kind::InlineOrLine:
        if (args == 0)
            return refuse(line, name, "needs values or an inline block");
        break;
    case Kind::Device:
        if (args != 1 || tokens[1].compare(0, 3, "tap") == 0 || tokens[1] == "null")
            return refuse(line, name, "must name a tun device");
        return true;
    case Kind::DeviceType:
        if (args != 1 || tokens[1] != "tun")
            return refuse(line, name, "must be tun");
        return true;
    case Kind::Remote: {
        if (args < 1 || args > 3 || !isPlausibleHost(tokens[1]))
            return refuse(line, name, "needs a host name or address, a port and a protocol");
        Transport transport;
        int family;
        if (args >= 2 && !parseNumber(tokens[2], 1, 65535, &number))
            return refuse(line, name, "has a bad port");
        if (args == 3 && !parseProto(tokens[3], &transport, &family))
            return refuse(line, name, "has a protocol a client cannot use");
        if (scope->hasRemote) {
            m_result.notes.push_back("line " + std::to_string(line) + ": extra remote " + tokens[1]
                                     + " left out (only the first is used)");
            return true;
        }
        scope->hasRemote = true;
        scope->remoteHost = tokens[1];
        scope->remotePort = args >= 2 ? tokens[2] : std::string();
        scope->remoteProto = args == 3 ? tokens[3] : std::string();
        return true;
    }
    case Kind::Proto: {
        Transport transport;
        int family;
        if (args != 1 || !parseProto(tokens[1], &transport, &family))
            return refuse(line, name, "must be a client protocol (udp or tcp-client)");
        scope->proto = tokens[1];
        return true;
    }
    case Kind::Port:
    case Kind::RemotePort:
        if (args != 1 || !parseNumber(tokens[1], 1, 65535, &number))
            return refuse(line, name, "needs a port number");
        scope->port = tokens[1];
        // port also sets the local port, as in openvpn; keep that part.
        if (it->second == Kind::Port)
            scope->lines.push_back("lport " + tokens[1]);
        return true;
    case Kind::Verb:
        if (args != 1 || !parseNumber(tokens[1], 0, 6, &number))
            return refuse(line, name, "must be 0 to 6");
        m_result.verb = int(number);
        break;
    case Kind::Route:
        for (size_t i = 1; i < tokens.size(); ++i) {
            if (tokens[i] == "net_gateway")
                return refuse(line, name, "routes traffic around the tunnel");
        }
        break;
    case Kind::ExitNotify:
        if (args > 1 || (args == 1 && !parseNumber(tokens[1], 0, 3, &number)))
            return refuse(line, name, "must be 0 to 3");
        break;
    case Kind::SetenvOpt:
        if (args < 2 || tokens[1] != "opt")
            return refuse(line, name, "sets values for scripts (only 'setenv opt' is accepted)");
        return directive(line, std::vector<std::string>(tokens.begin() + 2, tokens.end()), scope,
                         inConnection);
    case Kind::Dropped:
        m_result.notes.push_back("line " + std::to_string(line) + ": '" + name
                                 + "' left out (Windows only)");
        return true;
    }
    const std::string out = joinLine(tokens);
    if (out.size() > kMaxLineBytes)
        return refuse(line, name, "is too long");
    scope->lines.push_back(out);
    return true;
}

bool Filter::inlineBlock(int line, const std::string &tag, const std::vector<std::string> &content,
                         Scope *scope)
{
    const auto it = allowedDirectives().find(tag);
    if (it == allowedDirectives().end()
        || (it->second != Kind::InlineOnly && it->second != Kind::InlineOrLine))
        return refuse(line, "<" + tag + ">", "inline block is not allowed");
    std::string out = "<" + tag + ">\n";
    for (const std::string &c : content)
        out += c + "\n";
    out += "</" + tag + ">";
    scope->lines.push_back(out);
    return true;
}

bool Filter::finish(const std::string &fallbackHost)
{
    const Scope *endpoint = m_connections.empty() ? &m_top : &m_connections.front();
    RemoteSpec &r = m_result.remote;
    if (endpoint->hasRemote) {
        r.host = endpoint->remoteHost;
    } else if (m_connections.empty() && !fallbackHost.empty()) {
        if (!isPlausibleHost(fallbackHost)) {
            m_result.error = "server address '" + fallbackHost + "' is not a host name or address";
            return false;
        }
        r.host = fallbackHost;
    } else {
        m_result.error = m_connections.empty() ? "no remote and no server address"
                                               : "the first <connection> has no remote";
        return false;
    }
    if (m_top.hasRemote && !m_connections.empty())
        m_result.notes.push_back("remote outside <connection> left out");

    // The line's own values first, then the block's, then the top level's, as openvpn does.
    const std::string port = !endpoint->remotePort.empty() ? endpoint->remotePort
        : !endpoint->port.empty()                          ? endpoint->port
                                                           : m_top.port;
    const std::string proto = !endpoint->remoteProto.empty() ? endpoint->remoteProto
        : !endpoint->proto.empty()                           ? endpoint->proto
                                                             : m_top.proto;
    long number = 1194;
    if (!port.empty())
        parseNumber(port, 1, 65535, &number);
    r.port = static_cast<uint16_t>(number);
    r.transport = Transport::Udp;
    r.family = 0;
    if (!proto.empty())
        parseProto(proto, &r.transport, &r.family);

    std::string body = "# Rebuilt by tunnelkit from the allowed directives of the server's "
                       "configuration.\n";
    for (const std::string &l : m_top.lines)
        body += l + "\n";
    if (!m_connections.empty()) {
        for (const std::string &l : m_connections.front().lines)
            body += l + "\n";
        if (m_connections.size() > 1)
            m_result.notes.push_back(std::to_string(m_connections.size() - 1)
                                     + " further <connection> block(s) left out");
    }
    m_result.body = body;
    return true;
}

FilteredConfig Filter::run(const std::string &text, const std::string &fallbackHost)
{
    if (text.size() > kMaxConfigBytes) {
        m_result.error = "configuration larger than " + std::to_string(kMaxConfigBytes) + " bytes";
        return m_result;
    }
    if (text.find('\0') != std::string::npos) {
        m_result.error = "configuration contains NUL bytes";
        return m_result;
    }

    // Lines end at LF, CRLF or a lone CR; a byte-order mark before the first line is skipped.
    std::vector<std::string> lines;
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < text.size()) {
        const size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }

    Scope *scope = &m_top;
    bool inConnection = false;
    int connectionLine = 0;
    std::string inlineTag;
    int inlineLine = 0;
    std::vector<std::string> inlineContent;

    for (size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string &raw = lines[i];
        if (raw.size() > kMaxLineBytes) {
            m_result.error = "line " + std::to_string(number) + " is longer than "
                + std::to_string(kMaxLineBytes) + " bytes";
            return m_result;
        }
        if (!inlineTag.empty()) {
            const size_t first = raw.find_first_not_of(" \t\v\f");
            const std::string trimmed
                = first == std::string::npos ? std::string() : raw.substr(first);
            if (trimmed.compare(0, 2, "</") == 0) {
                const size_t last = trimmed.find_last_not_of(" \t\v\f");
                if (trimmed.substr(0, last + 1) != "</" + inlineTag + ">") {
                    m_result.error = "line " + std::to_string(number) + ": '" + trimmed
                        + "' does not close <" + inlineTag + ">";
                    return m_result;
                }
                if (!inlineBlock(inlineLine, inlineTag, inlineContent, scope))
                    return m_result;
                inlineTag.clear();
                inlineContent.clear();
                continue;
            }
            if (trimmed.compare(0, 1, "<") == 0 || !isPlainText(raw)) {
                m_result.error = "line " + std::to_string(number) + ": unexpected content in <"
                    + inlineTag + ">";
                return m_result;
            }
            inlineContent.push_back(raw);
            continue;
        }

        std::vector<std::string> tokens;
        std::string reason;
        if (!tokenizeLine(raw, &tokens, &reason)) {
            m_result.error = "line " + std::to_string(number) + ": " + reason;
            return m_result;
        }
        if (tokens.empty())
            continue;
        for (const std::string &t : tokens) {
            if (hasControlBytes(t, false)) {
                m_result.error
                    = "line " + std::to_string(number) + ": control characters in a value";
                return m_result;
            }
        }

        const std::string &first = tokens[0];
        if (tokens.size() == 1 && first.size() > 2 && first.front() == '<' && first.back() == '>') {
            const std::string tag = first.substr(1, first.size() - 2);
            if (tag == "connection") {
                if (inConnection) {
                    m_result.error
                        = "line " + std::to_string(number) + ": <connection> inside <connection>";
                    return m_result;
                }
                m_connections.emplace_back();
                scope = &m_connections.back();
                inConnection = true;
                connectionLine = number;
                continue;
            }
            if (tag == "/connection") {
                if (!inConnection) {
                    m_result.error
                        = "line " + std::to_string(number) + ": </connection> without <connection>";
                    return m_result;
                }
                scope = &m_top;
                inConnection = false;
                continue;
            }
            if (inConnection) {
                m_result.error = "line " + std::to_string(number) + ": '" + first
                    + "' inline block inside <connection>";
                return m_result;
            }
            if (tag.empty() || tag[0] == '/') {
                m_result.error
                    = "line " + std::to_string(number) + ": '" + first + "' closes nothing";
                return m_result;
            }
            inlineTag = tag;
            inlineLine = number;
            continue;
        }
        if (!directive(number, tokens, scope, inConnection))
            return m_result;
    }
    if (!inlineTag.empty()) {
        m_result.error
            = "line " + std::to_string(inlineLine) + ": <" + inlineTag + "> is never closed";
        return m_result;
    }
    if (inConnection) {
        m_result.error
            = "line " + std::to_string(connectionLine) + ": <connection> is never closed";
        return m_result;
    }
    m_result.ok = finish(fallbackHost);
    return m_result;
}

} // namespace

bool tokenizeLine(const std::string &line, std::vector<std::string> *tokens, std::string *reason)
{
    enum State { Initial, Unquoted, Quoted, SingleQuoted };
    State state = Initial;
    bool backslash = false;
    std::string parm;
    tokens->clear();

    // One step past the end: the terminating NUL ends the last token, as in openvpn.
    for (size_t i = 0; i <= line.size(); ++i) {
        const char in = i < line.size() ? line[i] : '\0';
        if (!backslash && in == '\\' && state != SingleQuoted) {
            backslash = true;
            continue;
        }
        char out = 0;
        bool done = false;
        switch (state) {
        case Initial:
            if (!isSpace(in)) {
                // A comment starts wherever a token would, even after an escape.
                if (in == ';' || in == '#')
                    return true;
                if (!backslash && in == '"') {
                    state = Quoted;
                } else if (!backslash && in == '\'') {
                    state = SingleQuoted;
                } else {
                    out = in;
                    state = Unquoted;
                }
            }
            break;
        case Unquoted:
            if (!backslash && isSpace(in))
                done = true;
            else
                out = in;
            break;
        case Quoted:
            if (!backslash && in == '"')
                done = true;
            else
                out = in;
            break;
        case SingleQuoted:
            if (in == '\'')
                done = true;
            else
                out = in;
            break;
        }
        if (done) {
            if (tokens->size() >= kMaxTokens) {
                *reason = "more than " + std::to_string(kMaxTokens) + " values";
                return false;
            }
            tokens->push_back(parm);
            parm.clear();
            state = Initial;
        }
        if (backslash && out && !(out == '\\' || out == '"' || isSpace(out))) {
            *reason = "bad backslash escape";
            return false;
        }
        backslash = false;
        if (out) {
            if (parm.size() >= kMaxLineBytes) {
                *reason = "value longer than " + std::to_string(kMaxLineBytes) + " bytes";
                return false;
            }
            parm += out;
        }
    }
    if (state == Quoted || state == SingleQuoted) {
        *reason = "no closing quotation mark";
        return false;
    }
    if (state != Initial) {
        *reason = "line ends inside a value";
        return false;
    }
    return true;
}

bool isAllowedDirective(const std::string &name, bool asInlineBlock)
{
    const auto it = allowedDirectives().find(name);
    if (it == allowedDirectives().end())
        return false;
    switch (it->second) {
    case Kind::InlineOnly:
        return asInlineBlock;
    case Kind::InlineOrLine:
        return true;
    case Kind::Device:
    case Kind::DeviceType:
    case Kind::Remote:
    case Kind::Proto:
    case Kind::Port:
    case Kind::RemotePort:
    case Kind::SetenvOpt:
    case Kind::Dropped:
        return false;
    case Kind::Plain:
    case Kind::Verb:
    case Kind::ExitNotify:
    case Kind::Route:
        return !asInlineBlock;
    }
    return false;
}

bool isPlausibleHost(const std::string &host)
{
    if (host.empty() || host.size() > 253 || host[0] == '-' || host[0] == '.')
        return false;
    for (char c : host) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '.' || c == '-' || c == ':' || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

FilteredConfig filterConfig(const std::string &text, const std::string &fallbackHost)
{
    Filter filter;
    return filter.run(text, fallbackHost);
}

std::string configTrailer(const TrailerParams &p)
{
    std::string t = "# tunnelkit: engine settings, always last.\n";
    t += "dev " + quoted(p.device) + "\n";
    t += "dev-type tun\n";
    t += "remote " + quoted(p.address) + " " + std::to_string(p.port) + "\n";
    t += std::string("proto ") + (p.transport == Transport::Tcp ? "tcp-client" : "udp") + "\n";
    t += "disable-dco\n";
    t += "script-security 1\n";
    t += "mark " + std::to_string(p.mark) + "\n";
    // openvpn connects out to the engine's socket (no polling) and waits there until the
    // engine has its firewall rules in.
    t += "management " + quoted(p.socketPath) + " unix\n";
    t += "management-client\n";
    t += "management-hold\n";
    // Also checked on the listener openvpn connects to.
    if (!p.user.empty())
        t += "management-client-user " + quoted(p.user) + "\n";
    t += "management-signal\n";
    // A restart (the engine's, after a network change, or openvpn's own) keeps the tunnel
    // device, its routes and so the kill switch and DNS; the engine bounds how long it takes.
    t += "persist-tun\n";
    t += "persist-key\n";
    // The pushed DNS servers are read from the log line of the push reply (verb 3).
    t += "verb " + std::to_string(p.verb < 3 ? 3 : p.verb) + "\n";
    return t;
}

} // namespace tunnelkit
