#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace backend {

struct Account
{
    int64_t id = 0;
    std::string email;
    std::string passwordHash;
    std::string expireDate; // UTC "yyyy-MM-dd HH:mm:ss"
    std::string paymentDate; // empty: never paid
    std::string machineId; // empty: not yet bound to a device
};

struct PriceEntry
{
    std::string name; // "30", "90", "360"
    std::string title;
    std::string price;
    std::string buyUrl;
};

struct UpdateEntry
{
    std::string id;
    std::string version;
    std::string downloadUrl;
};

using NameValues = std::vector<std::pair<std::string, std::string>>;

struct HitRecord
{
    int64_t id = 0;
    std::string received;
    std::string listener;
    std::string remoteAddr;
    std::string method;
    std::string raw; // query text or body as received
    NameValues params; // decoded, in the order sent
};

struct RequestRecord
{
    int64_t id = 0;
    std::string received;
    std::string listener;
    std::string remoteAddr;
    std::string method;
    std::string path;
    std::string target;
    NameValues headers; // as the HTTP library parsed them: sorted by name, values decoded
    std::string requestLine; // as received
    NameValues wireHeaders; // as received, in the order received
};

// The backend's SQLite database. One connection, serialised by a mutex: the HTTP servers
// call in from their worker threads.
class Store
{
public:
    Store() = default;
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    bool open(const std::string &path, std::string &error);
    void close();
    // The request and hit logs keep their newest `rows` entries each.
    void setRecordLimit(int64_t rows);

    std::optional<Account> findAccount(const std::string &email);
    enum class CreateResult { Created, Exists, Failed };
    CreateResult createAccount(const Account &account);
    // Binds an account that has no device yet; returns the device it is bound to afterwards
    // (empty on a database failure).
    std::string bindMachine(int64_t accountId, const std::string &machineId);
    // Creates or resets an account: password, expiry, payment date, no device.
    bool putAccount(const Account &account);
    bool addPasswordReset(int64_t accountId, const std::string &token);
    int passwordResetCount(int64_t accountId);

    std::vector<PriceEntry> prices();
    bool replacePrices(const std::vector<PriceEntry> &entries);
    std::vector<UpdateEntry> updates();
    bool replaceUpdates(const std::vector<UpdateEntry> &entries);

    bool addHit(const HitRecord &hit);
    std::vector<HitRecord> hits();
    bool addRequest(const RequestRecord &request);
    std::vector<RequestRecord> requests();
    bool clearRecords();

private:
    bool exec(const char *sql);
    std::string lastError() const;
    bool pruneBefore(const char *table, int64_t newestId);

    std::mutex m_mutex;
    sqlite3 *m_db = nullptr;
    int64_t m_recordLimit = 10000;
};

} // namespace backend
