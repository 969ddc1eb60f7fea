#include "store.h"

#include <sqlite3.h>

namespace backend {

namespace {

const char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS accounts(
    id INTEGER PRIMARY KEY,
    email TEXT NOT NULL UNIQUE COLLATE NOCASE,
    password_hash TEXT NOT NULL,
    expire_date TEXT NOT NULL,
    payment_date TEXT,
    machine_id TEXT NOT NULL DEFAULT '',
    created TEXT NOT NULL DEFAULT (datetime('now')));
CREATE TABLE IF NOT EXISTS password_resets(
    id INTEGER PRIMARY KEY,
    account_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    token TEXT NOT NULL,
    created TEXT NOT NULL DEFAULT (datetime('now')));
CREATE TABLE IF NOT EXISTS prices(
    position INTEGER PRIMARY KEY, name TEXT NOT NULL, title TEXT NOT NULL,
    price TEXT NOT NULL, buy_url TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS updates(
    position INTEGER PRIMARY KEY, id TEXT NOT NULL, version TEXT NOT NULL,
    download_url TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS hits(
    id INTEGER PRIMARY KEY, received TEXT NOT NULL, listener TEXT NOT NULL,
    remote_addr TEXT NOT NULL, method TEXT NOT NULL, raw TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS hit_params(
    hit_id INTEGER NOT NULL REFERENCES hits(id) ON DELETE CASCADE,
    position INTEGER NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL,
    PRIMARY KEY(hit_id, position));
CREATE TABLE IF NOT EXISTS requests(
    id INTEGER PRIMARY KEY, received TEXT NOT NULL, listener TEXT NOT NULL,
    remote_addr TEXT NOT NULL, method TEXT NOT NULL, path TEXT NOT NULL, target TEXT NOT NULL,
    request_line TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS request_wire_headers(
    request_id INTEGER NOT NULL REFERENCES requests(id) ON DELETE CASCADE,
    position INTEGER NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL,
    PRIMARY KEY(request_id, position));
CREATE TABLE IF NOT EXISTS request_headers(
    request_id INTEGER NOT NULL REFERENCES requests(id) ON DELETE CASCADE,
    position INTEGER NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL,
    PRIMARY KEY(request_id, position));
)sql";

// One prepared statement, finalised on scope exit.
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool ok() const { return m_stmt != nullptr; }
    Statement &bind(int index, const std::string &text)
    {
        if (m_stmt)
            sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(int index, int64_t value)
    {
        if (m_stmt)
            sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    Statement &bindNull(int index)
    {
        if (m_stmt)
            sqlite3_bind_null(m_stmt, index);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR; }
    bool run() { return step() == SQLITE_DONE; }
    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    std::string text(int column) const
    {
        const auto *data = sqlite3_column_text(m_stmt, column);
        const int size = sqlite3_column_bytes(m_stmt, column);
        return data ? std::string(reinterpret_cast<const char *>(data), static_cast<size_t>(size))
                    : std::string();
    }
    int64_t integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back unless committed.
class Transaction
{
public:
    explicit Transaction(sqlite3 *db)
        : m_db(db)
    {
        m_open = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Transaction()
    {
        if (m_open)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool ok() const { return m_open; }
    bool commit()
    {
        if (!m_open)
            return false;
        m_open = false;
        return sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }

private:
    sqlite3 *m_db;
    bool m_open = false;
};

Account readAccount(const Statement &stmt)
{
    Account account;
    account.id = stmt.integer(0);
    account.email = stmt.text(1);
    account.passwordHash = stmt.text(2);
    account.expireDate = stmt.text(3);
    account.paymentDate = stmt.text(4);
    account.machineId = stmt.text(5);
    return account;
}

// The name/value rows that belong to one parent row, in their stored order.
NameValues readPairs(Statement &query, int64_t parentId)
{
    NameValues pairs;
    query.bind(1, parentId);
    while (query.step() == SQLITE_ROW)
        pairs.emplace_back(query.text(0), query.text(1));
    query.reset();
    return pairs;
}

} // namespace

Store::~Store()
{
    close();
}

bool Store::open(const std::string &path, std::string &error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (sqlite3_open_v2(path.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr)
        != SQLITE_OK) {
        error = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    sqlite3_busy_timeout(m_db, 5000);
    if (!exec("PRAGMA foreign_keys = ON") || !exec("PRAGMA journal_mode = WAL") || !exec(kSchema)) {
        error = lastError();
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    return true;
}

void Store::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Store::setRecordLimit(int64_t rows)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_recordLimit = rows;
}

// Ids grow by one per insert, so this keeps the newest rows; their name/value rows cascade.
bool Store::pruneBefore(const char *table, int64_t newestId)
{
    if (newestId <= m_recordLimit)
        return true;
    Statement prune(m_db, (std::string("DELETE FROM ") + table + " WHERE id <= ?1").c_str());
    prune.bind(1, newestId - m_recordLimit);
    return prune.run();
}

bool Store::exec(const char *sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string Store::lastError() const
{
    return m_db ? sqlite3_errmsg(m_db) : "database not open";
}

std::optional<Account> Store::findAccount(const std::string &email)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement stmt(m_db,
                   "SELECT id, email, password_hash, expire_date, payment_date, machine_id"
                   " FROM accounts WHERE email = ?1");
    stmt.bind(1, email);
    if (stmt.step() != SQLITE_ROW)
        return std::nullopt;
    return readAccount(stmt);
}

Store::CreateResult Store::createAccount(const Account &account)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement stmt(m_db,
                   "INSERT INTO accounts(email, password_hash, expire_date, payment_date,"
                   " machine_id) VALUES(?1, ?2, ?3, ?4, ?5)");
    stmt.bind(1, account.email).bind(2, account.passwordHash).bind(3, account.expireDate);
    if (account.paymentDate.empty())
        stmt.bindNull(4);
    else
        stmt.bind(4, account.paymentDate);
    stmt.bind(5, account.machineId);
    const int rc = stmt.step();
    if (rc == SQLITE_DONE)
        return CreateResult::Created;
    if ((sqlite3_extended_errcode(m_db) & 0xFF) == SQLITE_CONSTRAINT)
        return CreateResult::Exists;
    return CreateResult::Failed;
}

std::string Store::bindMachine(int64_t accountId, const std::string &machineId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // Only an unbound account takes the device; a concurrent binder that got there first wins.
    Statement update(m_db, "UPDATE accounts SET machine_id = ?1 WHERE id = ?2 AND machine_id = ''");
    update.bind(1, machineId).bind(2, accountId);
    if (!update.run())
        return {};
    Statement read(m_db, "SELECT machine_id FROM accounts WHERE id = ?1");
    read.bind(1, accountId);
    return read.step() == SQLITE_ROW ? read.text(0) : std::string();
}

bool Store::putAccount(const Account &account)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement stmt(m_db,
                   "INSERT INTO accounts(email, password_hash, expire_date, payment_date,"
                   " machine_id) VALUES(?1, ?2, ?3, ?4, '')"
                   " ON CONFLICT(email) DO UPDATE SET password_hash = excluded.password_hash,"
                   " expire_date = excluded.expire_date,"
                   " payment_date = excluded.payment_date, machine_id = ''");
    stmt.bind(1, account.email).bind(2, account.passwordHash).bind(3, account.expireDate);
    if (account.paymentDate.empty())
        stmt.bindNull(4);
    else
        stmt.bind(4, account.paymentDate);
    return stmt.run();
}

bool Store::addPasswordReset(int64_t accountId, const std::string &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement stmt(m_db, "INSERT INTO password_resets(account_id, token) VALUES(?1, ?2)");
    stmt.bind(1, accountId).bind(2, token);
    return stmt.run();
}

int Store::passwordResetCount(int64_t accountId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement stmt(m_db, "SELECT COUNT(*) FROM password_resets WHERE account_id = ?1");
    stmt.bind(1, accountId);
    return stmt.step() == SQLITE_ROW ? static_cast<int>(stmt.integer(0)) : -1;
}

std::vector<PriceEntry> Store::prices()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<PriceEntry> out;
    Statement stmt(m_db, "SELECT name, title, price, buy_url FROM prices ORDER BY position");
    while (stmt.step() == SQLITE_ROW)
        out.push_back({stmt.text(0), stmt.text(1), stmt.text(2), stmt.text(3)});
    return out;
}

bool Store::replacePrices(const std::vector<PriceEntry> &entries)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Transaction transaction(m_db);
    if (!transaction.ok() || !exec("DELETE FROM prices"))
        return false;
    Statement stmt(m_db,
                   "INSERT INTO prices(position, name, title, price, buy_url) VALUES(?1, ?2, ?3,"
                   " ?4, ?5)");
    int64_t position = 0;
    for (const PriceEntry &entry : entries) {
        stmt.bind(1, ++position).bind(2, entry.name).bind(3, entry.title).bind(4, entry.price);
        stmt.bind(5, entry.buyUrl);
        if (!stmt.run())
            return false;
        stmt.reset();
    }
    return transaction.commit();
}

std::vector<UpdateEntry> Store::updates()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<UpdateEntry> out;
    Statement stmt(m_db, "SELECT id, version, download_url FROM updates ORDER BY position");
    while (stmt.step() == SQLITE_ROW)
        out.push_back({stmt.text(0), stmt.text(1), stmt.text(2)});
    return out;
}

bool Store::replaceUpdates(const std::vector<UpdateEntry> &entries)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Transaction transaction(m_db);
    if (!transaction.ok() || !exec("DELETE FROM updates"))
        return false;
    Statement stmt(
        m_db, "INSERT INTO updates(position, id, version, download_url) VALUES(?1, ?2, ?3, ?4)");
    int64_t position = 0;
    for (const UpdateEntry &entry : entries) {
        stmt.bind(1, ++position).bind(2, entry.id).bind(3, entry.version);
        stmt.bind(4, entry.downloadUrl);
        if (!stmt.run())
            return false;
        stmt.reset();
    }
    return transaction.commit();
}

bool Store::addHit(const HitRecord &hit)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Transaction transaction(m_db);
    if (!transaction.ok())
        return false;
    Statement insert(m_db,
                     "INSERT INTO hits(received, listener, remote_addr, method, raw)"
                     " VALUES(?1, ?2, ?3, ?4, ?5)");
    insert.bind(1, hit.received).bind(2, hit.listener).bind(3, hit.remoteAddr);
    insert.bind(4, hit.method).bind(5, hit.raw);
    if (!insert.run())
        return false;
    const int64_t id = sqlite3_last_insert_rowid(m_db);
    Statement param(m_db,
                    "INSERT INTO hit_params(hit_id, position, name, value) VALUES(?1, ?2, ?3, ?4)");
    int64_t position = 0;
    for (const auto &[name, value] : hit.params) {
        param.bind(1, id).bind(2, position++).bind(3, name).bind(4, value);
        if (!param.run())
            return false;
        param.reset();
    }
    return pruneBefore("hits", id) && transaction.commit();
}

std::vector<HitRecord> Store::hits()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<HitRecord> out;
    Statement stmt(m_db,
                   "SELECT id, received, listener, remote_addr, method, raw FROM hits ORDER BY id");
    Statement params(m_db,
                     "SELECT name, value FROM hit_params WHERE hit_id = ?1 ORDER BY position");
    while (stmt.step() == SQLITE_ROW) {
        HitRecord hit;
        hit.id = stmt.integer(0);
        hit.received = stmt.text(1);
        hit.listener = stmt.text(2);
        hit.remoteAddr = stmt.text(3);
        hit.method = stmt.text(4);
        hit.raw = stmt.text(5);
        hit.params = readPairs(params, hit.id);
        out.push_back(std::move(hit));
    }
    return out;
}

bool Store::addRequest(const RequestRecord &request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Transaction transaction(m_db);
    if (!transaction.ok())
        return false;
    Statement insert(m_db,
                     "INSERT INTO requests(received, listener, remote_addr, method, path,"
                     " target, request_line) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    insert.bind(1, request.received).bind(2, request.listener).bind(3, request.remoteAddr);
    insert.bind(4, request.method).bind(5, request.path).bind(6, request.target);
    insert.bind(7, request.requestLine);
    if (!insert.run())
        return false;
    const int64_t id = sqlite3_last_insert_rowid(m_db);
    const auto insertAll = [&](const char *sql, const NameValues &values) {
        Statement header(m_db, sql);
        int64_t position = 0;
        for (const auto &[name, value] : values) {
            header.bind(1, id).bind(2, position++).bind(3, name).bind(4, value);
            if (!header.run())
                return false;
            header.reset();
        }
        return true;
    };
    if (!insertAll("INSERT INTO request_headers(request_id, position, name, value)"
                   " VALUES(?1, ?2, ?3, ?4)",
                   request.headers)
        || !insertAll("INSERT INTO request_wire_headers(request_id, position, name, value)"
                      " VALUES(?1, ?2, ?3, ?4)",
                      request.wireHeaders))
        return false;
    return pruneBefore("requests", id) && transaction.commit();
}

std::vector<RequestRecord> Store::requests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<RequestRecord> out;
    Statement stmt(m_db,
                   "SELECT id, received, listener, remote_addr, method, path, target,"
                   " request_line FROM requests ORDER BY id");
    Statement headers(m_db,
                      "SELECT name, value FROM request_headers WHERE request_id = ?1"
                      " ORDER BY position");
    Statement wire(m_db,
                   "SELECT name, value FROM request_wire_headers WHERE request_id = ?1"
                   " ORDER BY position");
    while (stmt.step() == SQLITE_ROW) {
        RequestRecord request;
        request.id = stmt.integer(0);
        request.received = stmt.text(1);
        request.listener = stmt.text(2);
        request.remoteAddr = stmt.text(3);
        request.method = stmt.text(4);
        request.path = stmt.text(5);
        request.target = stmt.text(6);
        request.requestLine = stmt.text(7);
        request.headers = readPairs(headers, request.id);
        request.wireHeaders = readPairs(wire, request.id);
        out.push_back(std::move(request));
    }
    return out;
}

bool Store::clearRecords()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return exec("DELETE FROM request_headers; DELETE FROM request_wire_headers;"
                " DELETE FROM requests;"
                " DELETE FROM hit_params; DELETE FROM hits;");
}

} // namespace backend
