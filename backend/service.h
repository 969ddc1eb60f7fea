#pragma once

#include "attemptlimiter.h"
#include "options.h"
#include "store.h"

#include "textutil.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace backend {

// The request handlers. One object serves all listeners; it holds no per-request state, so
// the servers' worker threads may call it concurrently (the store serialises itself).
class Service
{
public:
    // `updateKeyPem` signs update entries; empty: they go out unsigned.
    Service(Store &store, const Options &options, std::string serverFolder,
            std::string updateKeyPem);

    void setupMain(httplib::Server &server);
    void setupServerList(httplib::Server &server);
    void setupCollector(httplib::Server &server);

private:
    using Method = void (Service::*)(const httplib::Request &, httplib::Response &);
    std::function<void(const httplib::Request &, httplib::Response &)> handler(Method method);
    void setupCommon(httplib::Server &server, const std::string &listener);
    void recordRequest(const httplib::Request &req, const std::string &listener);
    // Answers HTTP 429 and returns true when this address or account (if not empty) has used
    // up its attempts; otherwise counts the attempt for the address.
    bool tooManyAttempts(const httplib::Request &req, httplib::Response &res,
                         const std::string &account);
    void failedLogin(const std::string &account);

    void getIp(const httplib::Request &req, httplib::Response &res);
    void login(const httplib::Request &req, httplib::Response &res);
    void registerAccount(const httplib::Request &req, httplib::Response &res);
    void findPassword(const httplib::Request &req, httplib::Response &res);
    void backendServerList(const httplib::Request &req, httplib::Response &res);
    void hostServerList(const httplib::Request &req, httplib::Response &res);
    void priceList(const httplib::Request &req, httplib::Response &res);
    void updateList(const httplib::Request &req, httplib::Response &res);
    void download(const httplib::Request &req, httplib::Response &res);
    std::string updateEntryJson(const httplib::Request &req, const JsonMembers &entry);
    struct FileDigest
    {
        uint64_t size = 0;
        int64_t mtimeNs = 0;
        std::string sha256;
    };
    std::optional<FileDigest> fileDigest(const std::string &path);
    void orderPage(const httplib::Request &req, httplib::Response &res);
    void collect(const httplib::Request &req, httplib::Response &res, const std::string &listener);
    void debugRequests(const httplib::Request &req, httplib::Response &res);
    void debugHits(const httplib::Request &req, httplib::Response &res);
    void debugReset(const httplib::Request &req, httplib::Response &res);

    Store &m_store;
    const Options &m_options;
    const std::string m_serverFolder;
    // Verifying against this keeps an unknown e-mail as slow as a wrong password.
    const std::string m_dummyHash;
    const std::string m_updateKeyPem;
    AttemptLimiter m_addressAttempts;
    AttemptLimiter m_failedLogins; // by lower-case e-mail
    // Hashing a large package once per change, not once per request.
    std::mutex m_digestMutex;
    std::map<std::string, FileDigest> m_digests;
};

// Result codes of the account endpoints, as the client reads them.
namespace ResultCode {
constexpr int Ok = 0;
constexpr int Failed = -10; // password recovery could not be carried out
constexpr int EmptyOrTaken = -110; // login: empty e-mail or password; registration: e-mail taken
constexpr int OtherDevice = -111; // login: account bound to another machine id
constexpr int Refused = -120; // wrong password, unknown user, unusable registration data
constexpr int BadRequest = -130; // envelope missing or malformed
} // namespace ResultCode

} // namespace backend
