#include "options.h"

#include <cstdlib>
#include <set>

namespace backend {

namespace {

bool parsePort(const std::string &text, int &port)
{
    if (text.empty() || text.size() > 5
        || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < 1 || value > 65535)
        return false;
    port = static_cast<int>(value);
    return true;
}

bool parseCount(const std::string &text, int max, int &count)
{
    if (text.empty() || text.size() > 9
        || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < 1 || value > max)
        return false;
    count = static_cast<int>(value);
    return true;
}

ParsedCommandLine failure(const std::string &message)
{
    ParsedCommandLine result;
    result.action = ParsedCommandLine::Action::Error;
    result.error = message;
    return result;
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string> &args)
{
    ParsedCommandLine result;
    Options &o = result.options;
    const std::set<std::string> withValue = {"--listen",
                                             "--port",
                                             "--serverlist-port",
                                             "--collect-port",
                                             "--cert",
                                             "--key",
                                             "--db",
                                             "--ovpn-dir",
                                             "--files-dir",
                                             "--demo-password",
                                             "--getip-reply-file",
                                             "--host-list-file",
                                             "--updates",
                                             "--update-key",
                                             "--download-quirk",
                                             "--attempt-limit",
                                             "--failed-login-limit",
                                             "--attempt-window",
                                             "--record-limit"};
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        const size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name == "-h" || name == "--help") {
            result.action = ParsedCommandLine::Action::Help;
            return result;
        }
        if (name == "--version") {
            result.action = ParsedCommandLine::Action::Version;
            return result;
        }
        if (withValue.count(name)) {
            if (!hasValue) {
                if (i + 1 >= args.size())
                    return failure(name + " needs a value");
                value = args[++i];
            }
            if (value.empty())
                return failure(name + " needs a non-empty value");
        } else if (hasValue) {
            return failure(name + " takes no value");
        }

        if (name == "--listen") {
            o.listen = value;
        } else if (name == "--port") {
            if (!parsePort(value, o.port))
                return failure("--port: not a port number (1-65535): " + value);
        } else if (name == "--serverlist-port") {
            if (!parsePort(value, o.serverListPort))
                return failure("--serverlist-port: not a port number (1-65535): " + value);
        } else if (name == "--collect-port") {
            if (!parsePort(value, o.collectPort))
                return failure("--collect-port: not a port number (1-65535): " + value);
        } else if (name == "--cert") {
            o.cert = value;
        } else if (name == "--key") {
            o.key = value;
        } else if (name == "--db") {
            o.db = value;
        } else if (name == "--ovpn-dir") {
            o.ovpnDir = value;
        } else if (name == "--files-dir") {
            o.filesDir = value;
        } else if (name == "--demo-password") {
            o.demoPassword = value;
        } else if (name == "--getip-reply-file") {
            o.getIpReplyFile = value;
        } else if (name == "--host-list-file") {
            o.hostListFile = value;
        } else if (name == "--updates") {
            o.updatesFile = value;
        } else if (name == "--update-key") {
            o.updateKey = value;
        } else if (name == "--download-quirk") {
            if (value != "ignore-ranges" && value != "wrong-range" && value != "stall"
                && value != "slow")
                return failure("--download-quirk: one of ignore-ranges, wrong-range, stall, slow: "
                               + value);
            o.downloadQuirk = value;
        } else if (name == "--attempt-limit" || name == "--failed-login-limit"
                   || name == "--attempt-window" || name == "--record-limit") {
            int &count = name == "--attempt-limit" ? o.attemptLimit
                : name == "--failed-login-limit"   ? o.failedLoginLimit
                : name == "--attempt-window"       ? o.attemptWindowSeconds
                                                   : o.recordLimit;
            const int max = name == "--attempt-window" ? 86400 : 1000000;
            if (!parseCount(value, max, count))
                return failure(name + ": not a number from 1 to " + std::to_string(max) + ": "
                               + value);
        } else if (name == "--demo") {
            o.demo = true;
        } else if (name == "--debug-endpoints") {
            o.debugEndpoints = true;
        } else {
            return failure("unknown argument: " + args[i]);
        }
    }
    if (o.cert.empty())
        return failure("--cert is required");
    if (o.key.empty())
        return failure("--key is required");
    if (o.db.empty())
        return failure("--db is required");
    if (o.port == o.serverListPort || o.port == o.collectPort || o.serverListPort == o.collectPort)
        return failure("--port, --serverlist-port and --collect-port must differ");
    if (o.demoPassword.size() < 6)
        return failure("--demo-password must have at least 6 characters");
    return result;
}

std::string usageText(const std::string &program)
{
    return "Usage: " + program + R"( --cert PEM --key PEM --db FILE [options]

Reference backend for Quellnet: accounts, server list, prices, update entry and an
analytics collector, over HTTPS. For development, demos and tests; not the production
service.

Options:
  --listen ADDR          address to listen on (default 127.0.0.1)
  --port N               main HTTPS port (default 8443): /vpnserver/..., /price.json,
                         /update.json, /order.html, /collect
  --serverlist-port N    server-list HTTPS port serving /servers (default 4430)
  --collect-port N       also accept analytics hits at http://ADDR:N/collect (default: off)
  --cert PEM             server certificate (PEM)
  --key PEM              private key of the certificate (PEM)
  --db FILE              SQLite database, created if missing
  --ovpn-dir DIR         folder of *.ovpn files, one server each; the country and name come
                         from the file name ("jp-tokyo-1.ovpn": JP, "Tokyo 1") or from a
                         sidecar "jp-tokyo-1.info" with name=, country=, ip= lines; the
                         address from the first "remote" line
  --files-dir DIR        serve the files of DIR under /download/NAME (GET and HEAD, one
                         byte range per request)
  --updates FILE         /update.json lists the "update_data" entries of this JSON file
                         (read on every request) instead of the stored ones
  --update-key PEM       Ed25519 private key: entries that download one of the served
                         files get "size", "sha256" and "signature" (with --demo: the
                         bundled demo key)
  --demo                 seed the demo account, prices and update entry; without --ovpn-dir
                         the bundled demo servers are served
  --demo-password PW     password of the demo account (default quellnet-demo)
  --debug-endpoints      expose GET /_debug/requests, GET /_debug/hits and
                         POST /_debug/reset, and keep password headers unredacted in the
                         request log (tests only)
  --getip-reply-file F   /vpnserver/getip/ answers the trimmed text of F (read on every
                         request) instead of the caller's address (tests only)
  --host-list-file F     while F exists, /servers answers its bytes as they are (read on
                         every request): a broken list for the client's tests
  --download-quirk Q     misbehave on /download/ for the client's tests: ignore-ranges
                         (always the whole file), wrong-range (a range one byte later
                         than asked), stall (1000 bytes, then silence up to 30 s) or
                         slow (16 KiB every 50 ms, for demonstrations)
  --attempt-limit N      account attempts (login, registration, password recovery)
                         allowed per client address and window (default 30); more are
                         answered with HTTP 429 before any password is hashed
  --failed-login-limit N failed logins allowed per account and window (default 5)
  --attempt-window S     the window of both limits, in seconds (default 60)
  --record-limit N       newest rows kept in each of the request and hit logs
                         (default 10000)
  --version              print the version and exit
  -h, --help             print this help and exit

Exit status: 0 after SIGTERM/SIGINT, 1 when the service cannot start (port in use,
unreadable certificate, key, database or folder), 2 for bad arguments.
)";
}

} // namespace backend
