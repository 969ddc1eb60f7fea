#include "service.h"

#include "backendcrypto.h"
#include "capturingserver.h"
#include "requestparse.h"
#include "serverdir.h"
#include "textutil.h"

#include "quellnet_deploy.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace backend {

namespace {

const char kEnvelopeIdentity[] = "quell_net_request";
constexpr std::time_t kTrialSeconds = 24 * 60 * 60;
constexpr size_t kMaxEmailBytes = 254;
constexpr size_t kMaxPasswordBytes = 256;
constexpr size_t kMaxMachineIdBytes = 256;
constexpr size_t kTrackedKeys = 10000; // per attempt limiter
// The library parses any number of header lines; the log keeps about as much as the raw head.
constexpr size_t kMaxRecordedHeaderBytes = 64 * 1024;

// The smallest transparent GIF, what measurement-protocol collectors answer with.
const char kPixelGif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\x00\x00\x00\x21\xf9\x04"
                         "\x01\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                         "\x44\x01\x00\x3b";

bool plausibleEmail(const std::string &email)
{
    if (email.size() < 6 || email.size() > kMaxEmailBytes)
        return false;
    const size_t at = email.find('@');
    if (at == std::string::npos || at == 0 || at + 1 >= email.size()
        || email.find('@', at + 1) != std::string::npos)
        return false;
    for (const char c : email) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

void sendJson(httplib::Response &res, const std::string &json)
{
    res.set_header("Cache-Control", "no-store");
    res.set_content(json, "application/json");
}

void sendCode(httplib::Response &res, int code)
{
    sendJson(res, "{\"error\":" + std::to_string(code) + "}");
}

void sendAccount(httplib::Response &res, const Account &account)
{
    sendJson(res,
             "{\"error\":0,\"email\":" + jsonString(account.email)
                 + ",\"expire_date\":" + jsonString(account.expireDate) + ",\"payment_date\":"
                 + jsonString(account.paymentDate.empty() ? "None" : account.paymentDate) + "}");
}

// Stored URLs may be relative to this host; the client wants absolute ones.
std::string absoluteUrl(const httplib::Request &req, const std::string &url)
{
    if (url.empty() || url[0] != '/' || !req.has_header("Host"))
        return url;
    return "https://" + req.get_header_value("Host") + url;
}

// A JSON array of the items, each written by toJson.
template<typename List, typename ToJson>
std::string jsonArray(const List &items, ToJson toJson)
{
    std::string out = "[";
    bool first = true;
    for (const auto &item : items) {
        if (!first)
            out += ',';
        first = false;
        out += toJson(item);
    }
    return out + ']';
}

std::string nameValuesJson(const NameValues &values)
{
    return jsonArray(values, [](const std::pair<std::string, std::string> &v) {
        return "{\"name\":" + jsonString(v.first) + ",\"value\":" + jsonString(v.second) + '}';
    });
}

// Header values as the client sent them. The HTTP library percent-decodes the values it
// parses, which would decode the client's already encoded fields a second time.
class WireHeaders
{
public:
    explicit WireHeaders(const httplib::Request &req)
        : m_req(req)
    {
        std::string requestLine;
        parseHead(CapturingServer::currentHead(), requestLine, m_headers);
    }

    std::string value(const std::string &name) const
    {
        if (m_headers.empty())
            return m_req.get_header_value(name);
        return headerValue(m_headers, name).value_or(std::string());
    }

private:
    const httplib::Request &m_req;
    NameValues m_headers;
};

struct Envelope
{
    bool valid = false;
    std::string machineId;
};

Envelope readEnvelope(const WireHeaders &headers)
{
    Envelope envelope;
    envelope.machineId = headers.value("machineid");
    envelope.valid = headers.value("identity") == kEnvelopeIdentity
        && !headers.value("vpntoken").empty() && !envelope.machineId.empty()
        && envelope.machineId.size() <= kMaxMachineIdBytes;
    return envelope;
}

// A percent-encoded header; nullopt when malformed or when it decodes to a NUL byte.
std::optional<std::string> decodedHeader(const WireHeaders &headers, const char *name)
{
    std::optional<std::string> value = percentDecode(headers.value(name));
    if (value && value->find('\0') != std::string::npos)
        return std::nullopt;
    return value;
}

void logLine(const std::string &text)
{
    std::fprintf(stderr, "quellnet-backend: %s\n", text.c_str());
}

const char kDownloadPrefix[] = "/download/";
constexpr size_t kStallBytes = 1000;
constexpr int kStallPolls = 300; // of 100 ms

// A name directly inside the files folder: no way up, no hidden files.
bool plainFileName(const std::string &name)
{
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

struct OpenFile
{
    explicit OpenFile(int descriptor)
        : fd(descriptor)
    { }
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;

    int fd;
    std::vector<char> buffer = std::vector<char>(64 * 1024);
};

} // namespace

Service::Service(Store &store, const Options &options, std::string serverFolder,
                 std::string updateKeyPem)
    : m_store(store)
    , m_options(options)
    , m_serverFolder(std::move(serverFolder))
    , m_dummyHash(hashPassword(randomHex(16)))
    , m_updateKeyPem(std::move(updateKeyPem))
    , m_addressAttempts(options.attemptLimit, std::chrono::seconds(options.attemptWindowSeconds),
                        kTrackedKeys)
    , m_failedLogins(options.failedLoginLimit, std::chrono::seconds(options.attemptWindowSeconds),
                     kTrackedKeys)
{ }

httplib::Server::Handler Service::handler(Method method)
{
    return [this, method](const httplib::Request &req, httplib::Response &res) {
        (this->*method)(req, res);
    };
}

void Service::setupCommon(httplib::Server &server, const std::string &listener)
{
    // The library's default turns on SO_REUSEPORT, which would let a second backend share a
    // busy port instead of failing.
    server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server.set_keep_alive_timeout(2);
    server.set_read_timeout(10);
    server.set_write_timeout(10);
    server.set_payload_max_length(64 * 1024);
    server.set_pre_routing_handler(
        [this, listener](const httplib::Request &req, httplib::Response &) {
            recordRequest(req, listener);
            return httplib::Server::HandlerResponse::Unhandled;
        });
    server.set_logger([listener](const httplib::Request &req, const httplib::Response &res) {
        logLine(utcNowText() + ' ' + listener + ' ' + req.remote_addr + ' ' + req.method + ' '
                + req.path + ' ' + std::to_string(res.status));
    });
    server.set_exception_handler(
        [](const httplib::Request &req, httplib::Response &res, std::exception_ptr ep) {
            std::string what = "unknown exception";
            try {
                if (ep)
                    std::rethrow_exception(ep);
            } catch (const std::exception &e) {
                what = e.what();
            } catch (...) { }
            logLine("error while serving " + req.path + ": " + what);
            res.status = 500;
            res.set_content("Internal error", "text/plain");
        });
}

void Service::recordRequest(const httplib::Request &req, const std::string &listener)
{
    if (req.path.rfind("/_debug/", 0) == 0)
        return;
    RequestRecord record;
    record.received = utcNowText();
    record.listener = listener;
    record.remoteAddr = req.remote_addr;
    record.method = req.method;
    record.path = req.path;
    record.target = req.target;
    size_t headerBytes = 0;
    for (const auto &[name, value] : req.headers) {
        // The library adds these itself; they were not sent by the client.
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR"
            || name == "LOCAL_PORT")
            continue;
        headerBytes += name.size() + value.size();
        if (headerBytes > kMaxRecordedHeaderBytes)
            break;
        record.headers.emplace_back(name, value);
    }
    parseHead(CapturingServer::currentHead(), record.requestLine, record.wireHeaders);
    // Passwords stay out of the database unless a test asked for the raw log.
    if (!m_options.debugEndpoints) {
        for (NameValues *list : {&record.headers, &record.wireHeaders}) {
            for (auto &[name, value] : *list) {
                if (toLower(name) == "password")
                    value = "(redacted)";
            }
        }
    }
    if (!m_store.addRequest(record))
        logLine("could not record request " + req.path);
}

bool Service::tooManyAttempts(const httplib::Request &req, httplib::Response &res,
                              const std::string &account)
{
    const auto now = AttemptLimiter::Clock::now();
    auto wait = account.empty() ? AttemptLimiter::Clock::duration::zero()
                                : m_failedLogins.wait(toLower(account), now);
    if (wait == AttemptLimiter::Clock::duration::zero())
        wait = m_addressAttempts.take(req.remote_addr, now);
    if (wait == AttemptLimiter::Clock::duration::zero())
        return false;
    // No result code reads as "try again later" for a login; the client shows a failed request
    // as "check your network and try it again".
    res.status = 429;
    res.set_header("Retry-After",
                   std::to_string(std::chrono::ceil<std::chrono::seconds>(wait).count()));
    sendCode(res, ResultCode::Failed);
    return true;
}

void Service::failedLogin(const std::string &account)
{
    m_failedLogins.count(toLower(account), AttemptLimiter::Clock::now());
}

void Service::setupMain(httplib::Server &server)
{
    setupCommon(server, "main");
    server.Get("/vpnserver/getip/", handler(&Service::getIp));
    server.Get("/vpnserver/loginvpn/", handler(&Service::login));
    server.Get("/vpnserver/registervpn/", handler(&Service::registerAccount));
    server.Get("/vpnserver/findpwd/", handler(&Service::findPassword));
    server.Get("/vpnserver/serverlist/", handler(&Service::backendServerList));
    server.Get(R"(/price\.json)", handler(&Service::priceList));
    server.Get(R"(/update\.json)", handler(&Service::updateList));
    server.Get(R"(/order\.html)", handler(&Service::orderPage));
    const auto collectMain = [this](const httplib::Request &req, httplib::Response &res) {
        collect(req, res, "main");
    };
    server.Get("/collect", collectMain);
    server.Post("/collect", collectMain);
    if (m_options.debugEndpoints) {
        server.Get("/_debug/requests", handler(&Service::debugRequests));
        server.Get("/_debug/hits", handler(&Service::debugHits));
        server.Post("/_debug/reset", handler(&Service::debugReset));
    }
    // The library answers HEAD from the GET handlers, without the body.
    if (!m_options.filesDir.empty())
        server.Get(R"(/download/(.+))", handler(&Service::download));
}

void Service::setupServerList(httplib::Server &server)
{
    setupCommon(server, "servers");
    server.Get("/servers", handler(&Service::hostServerList));
}

void Service::setupCollector(httplib::Server &server)
{
    setupCommon(server, "collect");
    const auto collectPlain = [this](const httplib::Request &req, httplib::Response &res) {
        collect(req, res, "collect");
    };
    server.Get("/collect", collectPlain);
    server.Post("/collect", collectPlain);
}

void Service::getIp(const httplib::Request &req, httplib::Response &res)
{
    const WireHeaders wire(req);
    res.set_header("Cache-Control", "no-store");
    if (!readEnvelope(wire).valid) {
        res.set_content("-20", "text/plain");
        return;
    }
    if (!m_options.getIpReplyFile.empty()) {
        std::ostringstream text;
        text << std::ifstream(m_options.getIpReplyFile).rdbuf();
        res.set_content(trim(text.str()), "text/plain");
        return;
    }
    const std::optional<std::string> address = plainIpv4(req.remote_addr);
    res.set_content(address ? *address : std::string("-10"), "text/plain");
}

void Service::login(const httplib::Request &req, httplib::Response &res)
{
    const WireHeaders wire(req);
    const Envelope envelope = readEnvelope(wire);
    const std::optional<std::string> email = decodedHeader(wire, "email");
    const std::optional<std::string> password = decodedHeader(wire, "password");
    if (!envelope.valid || !email || !password)
        return sendCode(res, ResultCode::BadRequest);
    const std::string address = trim(*email);
    if (address.empty() || password->empty())
        return sendCode(res, ResultCode::EmptyOrTaken);
    if (tooManyAttempts(req, res, address))
        return;

    std::optional<Account> account;
    if (address.size() <= kMaxEmailBytes && password->size() <= kMaxPasswordBytes)
        account = m_store.findAccount(address);
    if (!account) {
        verifyPassword(*password, m_dummyHash);
        failedLogin(address);
        return sendCode(res, ResultCode::Refused);
    }
    if (!verifyPassword(*password, account->passwordHash)) {
        failedLogin(address);
        return sendCode(res, ResultCode::Refused);
    }
    if (account->machineId.empty()) {
        account->machineId = m_store.bindMachine(account->id, envelope.machineId);
        if (account->machineId.empty()) {
            res.status = 500;
            return;
        }
    }
    if (account->machineId != envelope.machineId)
        return sendCode(res, ResultCode::OtherDevice);
    sendAccount(res, *account);
}

void Service::registerAccount(const httplib::Request &req, httplib::Response &res)
{
    const WireHeaders wire(req);
    const Envelope envelope = readEnvelope(wire);
    const std::optional<std::string> email = decodedHeader(wire, "email");
    const std::optional<std::string> password = decodedHeader(wire, "password");
    if (!envelope.valid || !email || !password)
        return sendCode(res, ResultCode::BadRequest);
    Account account;
    account.email = trim(*email);
    if (!plausibleEmail(account.email) || password->size() < 6
        || password->size() > kMaxPasswordBytes)
        return sendCode(res, ResultCode::Refused);
    if (tooManyAttempts(req, res, {}))
        return;
    account.passwordHash = hashPassword(*password);
    if (account.passwordHash.empty()) {
        res.status = 500;
        return;
    }
    account.expireDate = utcText(std::time(nullptr) + kTrialSeconds);
    account.machineId = envelope.machineId;
    switch (m_store.createAccount(account)) {
    case Store::CreateResult::Created:
        logLine("registered " + account.email + " with a trial until " + account.expireDate);
        return sendAccount(res, account);
    case Store::CreateResult::Exists:
        return sendCode(res, ResultCode::EmptyOrTaken);
    case Store::CreateResult::Failed:
        res.status = 500;
        return;
    }
}

void Service::findPassword(const httplib::Request &req, httplib::Response &res)
{
    const WireHeaders wire(req);
    const Envelope envelope = readEnvelope(wire);
    const std::optional<std::string> email = decodedHeader(wire, "email");
    if (!envelope.valid || !email)
        return sendCode(res, ResultCode::BadRequest);
    const std::string address = trim(*email);
    if (address.empty())
        return sendCode(res, ResultCode::EmptyOrTaken);
    if (tooManyAttempts(req, res, {}))
        return;
    const std::optional<Account> account
        = address.size() <= kMaxEmailBytes ? m_store.findAccount(address) : std::nullopt;
    if (!account)
        return sendCode(res, ResultCode::Refused);
    // No mail leaves this backend: the reset token is only recorded.
    const std::string token = randomHex(16);
    if (token.empty() || !m_store.addPasswordReset(account->id, token))
        return sendCode(res, ResultCode::Failed);
    logLine("password reset requested for " + account->email);
    sendCode(res, ResultCode::Ok);
}

void Service::backendServerList(const httplib::Request &req, httplib::Response &res)
{
    const WireHeaders wire(req);
    res.set_header("Cache-Control", "no-store");
    if (!readEnvelope(wire).valid) {
        res.set_content("Request refused, error: invalid request envelope", "text/plain");
        return;
    }
    std::vector<ServerEntry> entries;
    std::vector<std::string> warnings;
    if (!m_serverFolder.empty() && !loadServerFolder(m_serverFolder, entries, warnings)) {
        for (const std::string &warning : warnings)
            logLine(warning);
        res.set_content("Server list unavailable, error: cannot read the server folder",
                        "text/plain");
        return;
    }
    for (const std::string &warning : warnings)
        logLine(warning);
    res.set_content(serverListJson(entries, QUELLNET_OVPN_KEY), "application/json");
}

void Service::hostServerList(const httplib::Request &req, httplib::Response &res)
{
    const WireHeaders wire(req);
    res.set_header("Cache-Control", "no-store");
    if (wire.value("Identity") != QUELLNET_IDENTITY) {
        res.status = 403;
        res.set_content("Forbidden", "text/plain");
        return;
    }
    if (!m_options.hostListFile.empty()) {
        std::ifstream file(m_options.hostListFile, std::ios::binary);
        if (file) {
            std::ostringstream bytes;
            bytes << file.rdbuf();
            res.set_content(bytes.str(), "application/json");
            return;
        }
    }
    std::vector<ServerEntry> entries;
    std::vector<std::string> warnings;
    const bool ok = m_serverFolder.empty() || loadServerFolder(m_serverFolder, entries, warnings);
    for (const std::string &warning : warnings)
        logLine(warning);
    if (!ok) {
        res.status = 503;
        res.set_content("Server list unavailable", "text/plain");
        return;
    }
    res.set_content(serverListJson(entries, QUELLNET_OVPN_KEY), "application/json");
}

void Service::priceList(const httplib::Request &req, httplib::Response &res)
{
    std::string out = "{\"price_data\":[";
    bool first = true;
    for (const PriceEntry &entry : m_store.prices()) {
        if (!first)
            out += ',';
        first = false;
        out += "{\"name\":" + jsonString(entry.name) + ",\"title\":" + jsonString(entry.title)
            + ",\"price\":" + jsonString(entry.price)
            + ",\"buy_url\":" + jsonString(absoluteUrl(req, entry.buyUrl)) + '}';
    }
    sendJson(res, out + "]}");
}

void Service::updateList(const httplib::Request &req, httplib::Response &res)
{
    std::vector<JsonMembers> entries;
    if (!m_options.updatesFile.empty()) {
        std::ifstream in(m_options.updatesFile, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::optional<std::vector<JsonMembers>> parsed;
        if (in)
            parsed = jsonObjectArray(text.str(), "update_data");
        if (!parsed) {
            logLine("cannot read an update_data array from " + m_options.updatesFile);
            res.status = 500;
            return;
        }
        entries = std::move(*parsed);
    } else {
        for (const UpdateEntry &entry : m_store.updates()) {
            entries.push_back({{"id", jsonString(entry.id), entry.id},
                               {"version", jsonString(entry.version), entry.version},
                               {"download_url", jsonString(entry.downloadUrl), entry.downloadUrl}});
        }
    }
    sendJson(res,
             "{\"update_data\":" + jsonArray(entries, [&](const JsonMembers &entry) {
                 return updateEntryJson(req, entry);
             }) + '}');
}

std::string Service::updateEntryJson(const httplib::Request &req, const JsonMembers &entry)
{
    const auto member = [&entry](const std::string &name) -> const JsonMember * {
        for (const JsonMember &m : entry) {
            if (m.name == name)
                return &m;
        }
        return nullptr;
    };
    const auto text = [](const JsonMember *m) {
        return m->text ? *m->text : m->raw;
    };
    const JsonMember *url = member("download_url");
    const JsonMember *id = member("id");
    const JsonMember *version = member("version");
    // An entry that brings its own signature is a test's choice and goes out as given.
    std::string signature;
    std::optional<FileDigest> digest;
    if (!m_updateKeyPem.empty() && !member("signature") && url && url->text && id && version
        && url->text->rfind(kDownloadPrefix, 0) == 0 && !m_options.filesDir.empty()) {
        const std::string name = url->text->substr(sizeof kDownloadPrefix - 1);
        if (plainFileName(name))
            digest = fileDigest(m_options.filesDir + '/' + name);
        if (digest) {
            signature = signEd25519Base64(
                m_updateKeyPem,
                updateStatement(text(id), text(version), digest->size, digest->sha256));
            if (signature.empty())
                logLine("cannot sign the update entry for " + name);
        }
    }
    std::string out;
    for (const JsonMember &m : entry) {
        if (!signature.empty() && (m.name == "size" || m.name == "sha256"))
            continue;
        out += (out.empty() ? "{" : ",") + jsonString(m.name) + ':'
            + (&m == url && m.text ? jsonString(absoluteUrl(req, *m.text)) : m.raw);
    }
    if (!signature.empty()) {
        out += (out.empty() ? "{" : ",") + std::string("\"size\":") + std::to_string(digest->size)
            + ",\"sha256\":" + jsonString(digest->sha256)
            + ",\"signature\":" + jsonString(signature);
    }
    return (out.empty() ? "{" : out) + '}';
}

std::optional<Service::FileDigest> Service::fileDigest(const std::string &path)
{
    const auto current = [&path]() -> std::optional<FileDigest> {
        struct stat info
        {
        };
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            return std::nullopt;
        return FileDigest{static_cast<uint64_t>(info.st_size),
                          int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                          {}};
    };
    std::optional<FileDigest> now = current();
    if (!now)
        return std::nullopt;
    const std::lock_guard<std::mutex> lock(m_digestMutex);
    const auto cached = m_digests.find(path);
    if (cached != m_digests.end() && cached->second.size == now->size
        && cached->second.mtimeNs == now->mtimeNs)
        return cached->second;
    now->sha256 = fileSha256Hex(path);
    const std::optional<FileDigest> after = current();
    // Changed while being read: neither the size nor the hash can be trusted.
    if (now->sha256.empty() || !after || after->size != now->size
        || after->mtimeNs != now->mtimeNs) {
        logLine("cannot hash " + path);
        return std::nullopt;
    }
    m_digests[path] = *now;
    return now;
}

void Service::download(const httplib::Request &req, httplib::Response &res)
{
    const std::string name = req.matches[1];
    const std::string path = m_options.filesDir + '/' + name;
    struct stat info
    {
    };
    std::shared_ptr<OpenFile> file;
    if (plainFileName(name) && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        file = std::make_shared<OpenFile>(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file || file->fd < 0 || ::fstat(file->fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        res.status = 404;
        res.set_content("Not Found", "text/plain");
        return;
    }
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    const std::string &quirk = m_options.downloadQuirk;
    // The library would apply a Range it parsed on top of this reply; it never sees one
    // (CapturingServer renames the header), so the range is read from the wire.
    ByteRange range;
    if (quirk != "ignore-ranges")
        range = byteRange(WireHeaders(req).value("Range"), size);
    res.set_header("Accept-Ranges", "bytes");
    if (range.kind == ByteRange::Unsatisfiable) {
        res.status = 416;
        res.set_header("Content-Range", "bytes */" + std::to_string(size));
        return;
    }
    if (range.kind == ByteRange::Part) {
        if (quirk == "wrong-range") {
            range.first = std::min(range.first + 1, size - 1);
            range.last = std::min(range.last + 1, size - 1);
        }
        res.status = 206;
        res.set_header("Content-Range",
                       "bytes " + std::to_string(range.first) + '-' + std::to_string(range.last)
                           + '/' + std::to_string(size));
    } else {
        range.last = size ? size - 1 : 0;
    }
    const std::string type = name.size() > 4 && name.compare(name.size() - 4, 4, ".deb") == 0
        ? "application/vnd.debian.binary-package"
        : "application/octet-stream";
    if (size == 0) {
        res.set_content(std::string(), type);
        return;
    }
    const uint64_t first = range.first;
    const bool stall = quirk == "stall";
    const bool slow = quirk == "slow";
    res.set_content_provider(
        static_cast<size_t>(range.last - range.first + 1), type,
        [file, first, stall, slow](size_t offset, size_t length, httplib::DataSink &sink) {
            if (stall && offset >= kStallBytes) {
                // Bounded, and over as soon as the client leaves or the server stops.
                for (int i = 0; i < kStallPolls && !CapturingServer::currentRequestAbandoned(); ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return false;
            }
            size_t want = std::min(length, file->buffer.size());
            if (stall)
                want = std::min(want, kStallBytes - offset);
            if (slow) {
                want = std::min<size_t>(want, 16 * 1024);
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            const ssize_t n
                = ::pread(file->fd, file->buffer.data(), want, static_cast<off_t>(first + offset));
            return n > 0 && sink.write(file->buffer.data(), static_cast<size_t>(n));
        });
}

void Service::orderPage(const httplib::Request &req, httplib::Response &res)
{
    const std::string plan = req.get_param_value("plan");
    std::string rows;
    for (const PriceEntry &entry : m_store.prices()) {
        const bool chosen = entry.name == plan;
        rows += std::string("<tr") + (chosen ? " class=\"chosen\"" : "") + "><td>"
            + htmlEscape(entry.title) + "</td><td>$" + htmlEscape(entry.price) + "</td><td>"
            + htmlEscape(entry.name) + " days</td></tr>\n";
    }
    if (rows.empty())
        rows = "<tr><td colspan=\"3\">No offers at the moment.</td></tr>\n";
    res.set_content(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Quellnet - Order</title>"
        "<style>body{font-family:sans-serif;margin:2em}td{padding:.3em 1em}"
        ".chosen{font-weight:bold}</style></head>\n<body><h1>Order Quellnet</h1>\n"
        "<p>This is the reference backend: nothing can be bought here. After a purchase, "
        "re-login in the client to refresh the expiry date.</p>\n<table>\n"
            + rows + "</table>\n</body></html>\n",
        "text/html; charset=utf-8");
}

void Service::collect(const httplib::Request &req, httplib::Response &res,
                      const std::string &listener)
{
    HitRecord hit;
    hit.received = utcNowText();
    hit.listener = listener;
    hit.remoteAddr = req.remote_addr;
    hit.method = req.method;
    if (req.method == "POST") {
        hit.raw = req.body;
    } else {
        const size_t question = req.target.find('?');
        if (question != std::string::npos)
            hit.raw = req.target.substr(question + 1);
    }
    hit.params = parseFormText(hit.raw);
    if (!m_store.addHit(hit)) {
        res.status = 500;
        return;
    }
    res.set_header("Cache-Control", "no-cache, no-store, must-revalidate");
    res.set_content(std::string(kPixelGif, sizeof kPixelGif - 1), "image/gif");
}

void Service::debugRequests(const httplib::Request &, httplib::Response &res)
{
    sendJson(res,
             "{\"requests\":" + jsonArray(m_store.requests(), [](const RequestRecord &r) {
                 return "{\"id\":" + std::to_string(r.id) + ",\"received\":"
                     + jsonString(r.received) + ",\"listener\":" + jsonString(r.listener)
                     + ",\"remote_addr\":" + jsonString(r.remoteAddr)
                     + ",\"method\":" + jsonString(r.method) + ",\"path\":" + jsonString(r.path)
                     + ",\"target\":" + jsonString(r.target) + ",\"request_line\":"
                     + jsonString(r.requestLine) + ",\"headers\":" + nameValuesJson(r.headers)
                     + ",\"wire_headers\":" + nameValuesJson(r.wireHeaders) + '}';
             }) + '}');
}

void Service::debugHits(const httplib::Request &, httplib::Response &res)
{
    sendJson(res,
             "{\"hits\":" + jsonArray(m_store.hits(), [](const HitRecord &h) {
                 return "{\"id\":" + std::to_string(h.id) + ",\"received\":"
                     + jsonString(h.received) + ",\"listener\":" + jsonString(h.listener)
                     + ",\"remote_addr\":" + jsonString(h.remoteAddr)
                     + ",\"method\":" + jsonString(h.method) + ",\"raw\":" + jsonString(h.raw)
                     + ",\"params\":" + nameValuesJson(h.params) + '}';
             }) + '}');
}

void Service::debugReset(const httplib::Request &, httplib::Response &res)
{
    if (!m_store.clearRecords()) {
        res.status = 500;
        return;
    }
    sendCode(res, ResultCode::Ok);
}

} // namespace backend
