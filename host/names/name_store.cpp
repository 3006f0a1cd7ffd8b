#include "name_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "kovo_os.h"
#include "site_directory.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

// A prepared statement that finalises itself.
class statement {
  public:
    statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~statement() { sqlite3_finalize(stmt_); }
    statement(const statement&) = delete;
    statement& operator=(const statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    bool ok() const { return stmt_ != nullptr; }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

const char schema[] =
    "CREATE TABLE IF NOT EXISTS names ("
    " device INTEGER NOT NULL, db INTEGER NOT NULL, idx INTEGER NOT NULL, name TEXT NOT NULL,"
    " PRIMARY KEY (device, db, idx)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);";

bool bindKey(sqlite3_stmt* stmt, int device, int database, int index) {
    return sqlite3_bind_int(stmt, 1, device) == SQLITE_OK &&
           sqlite3_bind_int(stmt, 2, database) == SQLITE_OK &&
           sqlite3_bind_int(stmt, 3, index) == SQLITE_OK;
}

}  // namespace

name_store::~name_store() {
    close();
}

void name_store::close() {
    closeReadTransaction();
    sqlite3_finalize(select_);
    sqlite3_finalize(insert_);
    sqlite3_finalize(range_);
    select_ = nullptr;
    insert_ = nullptr;
    range_ = nullptr;
    readScopes_ = 0;
    if (db_ != nullptr) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
    path_.clear();
}

bool name_store::exec(const char* sql, std::string& error) const {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        error = "name store " + path_ + ": " + (message != nullptr ? message : "error");
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool name_store::open(const std::string& path, const site_directory& site, std::string& error) {
    close();
    std::error_code code;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent, code);
    }
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        error = "cannot open the name store " + path + ": " +
                (db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory");
        close();
        return false;
    }
    path_ = path;
    sqlite3_busy_timeout(db_, 5000);
    // Rollback journal and a full sync on every commit: a write that returned is on disk.
    if (!exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;", error) ||
        !exec(schema, error) || !seed(site, error)) {
        close();
        return false;
    }
    return true;
}

bool name_store::seed(const site_directory& site, std::string& error) {
    if (!exec("BEGIN IMMEDIATE", error)) {
        return false;
    }
    bool seeded = false;
    {
        statement query(db_, "SELECT value FROM meta WHERE key = 'site'");
        if (query.ok() && sqlite3_step(query.get()) == SQLITE_ROW) {
            seeded = true;
            const char* stored = reinterpret_cast<const char*>(sqlite3_column_text(query.get(), 0));
            if (stored != nullptr && site.directory() != stored) {
                error = "the name store " + path_ + " belongs to the site " + stored + ", not to " +
                        site.directory();
                std::string ignored;
                exec("ROLLBACK", ignored);
                return false;
            }
        }
    }
    if (!seeded) {
        statement insert(db_,
                         "INSERT OR REPLACE INTO names (device, db, idx, name) "
                         "VALUES (?, ?, ?, ?)");
        for (const name_file& file : site.nameFiles()) {
            std::vector<name_line> lines;
            if (!readNameFile(file.path, lines, error)) {
                std::string ignored;
                exec("ROLLBACK", ignored);
                return false;
            }
            for (const name_line& line : lines) {
                sqlite3_reset(insert.get());
                bindKey(insert.get(), file.device, file.database, line.index);
                sqlite3_bind_text(insert.get(), 4, line.name.c_str(),
                                  static_cast<int>(line.name.size()), SQLITE_TRANSIENT);
                if (sqlite3_step(insert.get()) != SQLITE_DONE) {
                    error = "name store " + path_ + ": " + sqlite3_errmsg(db_);
                    std::string ignored;
                    exec("ROLLBACK", ignored);
                    return false;
                }
            }
        }
        statement mark(db_, "INSERT INTO meta (key, value) VALUES ('site', ?)");
        sqlite3_bind_text(mark.get(), 1, site.directory().c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(mark.get()) != SQLITE_DONE) {
            error = "name store " + path_ + ": " + sqlite3_errmsg(db_);
            std::string ignored;
            exec("ROLLBACK", ignored);
            return false;
        }
    }
    return exec("COMMIT", error);
}

sqlite3_stmt* name_store::kept(sqlite3_stmt*& slot, const char* sql) const {
    if (slot == nullptr && db_ != nullptr) {
        sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr);
    }
    return slot;
}

void name_store::beginReads() {
    ++readScopes_;
}

void name_store::endReads() {
    if (readScopes_ > 0 && --readScopes_ == 0) {
        closeReadTransaction();
    }
}

void name_store::openReadTransaction() const {
    if (readScopes_ > 0 && !inRead_ && db_ != nullptr) {
        std::string ignored;
        inRead_ = exec("BEGIN", ignored);
    }
}

void name_store::closeReadTransaction() const {
    readDatabases_.clear();
    if (inRead_) {
        inRead_ = false;
        std::string ignored;
        exec("COMMIT", ignored);
    }
}

const name_store::database_names* name_store::wholeDatabase(int device, int database) const {
    if (!inRead_) {
        return nullptr;
    }
    database_names& cached = readDatabases_[{device, database}];
    if (cached.read) {
        return &cached;
    }
    if (cached.failed || ++cached.lookups < wholeReadAfter) {
        return nullptr;
    }
    sqlite3_stmt* query =
        kept(range_, "SELECT idx, name FROM names WHERE device = ? AND db = ? ORDER BY idx");
    if (query == nullptr || sqlite3_bind_int(query, 1, device) != SQLITE_OK ||
        sqlite3_bind_int(query, 2, database) != SQLITE_OK) {
        cached.failed = true;
        return nullptr;
    }
    cached.names.clear();
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query)) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(query, 1);
        const int size = sqlite3_column_bytes(query, 1);
        cached.names.emplace_back(sqlite3_column_int(query, 0), std::string());
        if (text != nullptr) {
            cached.names.back().second.assign(reinterpret_cast<const char*>(text),
                                              static_cast<std::size_t>(size));
        }
    }
    sqlite3_reset(query);
    if (step != SQLITE_DONE) {
        // A failed read serves nothing: the lookups go one by one instead.
        cached.names.clear();
        cached.failed = true;
        return nullptr;
    }
    cached.read = true;
    return &cached;
}

std::optional<std::string> name_store::get(int device, int database, int index) const {
    if (db_ == nullptr) {
        return std::nullopt;
    }
    openReadTransaction();
    if (const database_names* whole = wholeDatabase(device, database)) {
        const auto found = std::lower_bound(
            whole->names.begin(), whole->names.end(), index,
            [](const std::pair<int, std::string>& name, int key) { return name.first < key; });
        if (found != whole->names.end() && found->first == index) {
            return found->second;
        }
        return std::nullopt;
    }
    sqlite3_stmt* query =
        kept(select_, "SELECT name FROM names WHERE device = ? AND db = ? AND idx = ?");
    if (query == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> found;
    if (bindKey(query, device, database, index) && sqlite3_step(query) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(query, 0);
        const int size = sqlite3_column_bytes(query, 0);
        found.emplace(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
    }
    sqlite3_reset(query);
    return found;
}

bool name_store::put(int device, int database, int index, const std::string& name,
                     std::string& error) {
    if (db_ == nullptr) {
        error = "no name store is open";
        return false;
    }
    // One statement in autocommit mode: committed (and synced) when step returns.
    // A read transaction of the action ends first, so the write is not held in it.
    closeReadTransaction();
    sqlite3_stmt* insert =
        kept(insert_, "INSERT OR REPLACE INTO names (device, db, idx, name) VALUES (?, ?, ?, ?)");
    const bool stored = insert != nullptr && bindKey(insert, device, database, index) &&
                        sqlite3_bind_text(insert, 4, name.c_str(), static_cast<int>(name.size()),
                                          SQLITE_TRANSIENT) == SQLITE_OK &&
                        sqlite3_step(insert) == SQLITE_DONE;
    if (!stored) {
        error = "name store " + path_ + ": " + sqlite3_errmsg(db_);
    }
    if (insert != nullptr) {
        sqlite3_reset(insert);
    }
    return stored;
}

std::string defaultStateDirectory() {
    std::string value;
    if (kovo_os::environmentValue("XDG_STATE_HOME", value) && !value.empty()) {
        return (fs::path(value) / "kovo-host").string();
    }
    if (kovo_os::environmentValue("HOME", value) && !value.empty()) {
        return (fs::path(value) / ".local" / "state" / "kovo-host").string();
    }
    std::error_code code;
    return (fs::temp_directory_path(code) / "kovo-host").string();
}

std::string defaultStorePath(const std::string& stateDir, const site_directory& site) {
    // Two sites of the same folder name in different places must not share a store.
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : site.directory()) {
        hash = (hash ^ c) * 16777619u;
    }
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x", static_cast<unsigned>(hash));
    return (fs::path(stateDir) / (site.name() + suffix + ".sqlite")).string();
}

}  // namespace kovo_host
