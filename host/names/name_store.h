// The device name databases of one site, kept in an SQLite file. Every write is
// committed before it returns, so a name once stored survives a killed process.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kovo_host {

class site_directory;

struct stored_name {
    int device = 0;
    int database = 0;
    int index = 0;
    std::string name;
};

class name_store {
  public:
    name_store() = default;
    ~name_store();
    name_store(const name_store&) = delete;
    name_store& operator=(const name_store&) = delete;

    // Opens (creating the folders and the file when needed) and, on first use,
    // seeds the store from the site's name files in one transaction.
    bool open(const std::string& path, const site_directory& site, std::string& error);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }

    std::optional<std::string> get(int device, int database, int index) const;
    // Committed and synced to disk before it returns.
    bool put(int device, int database, int index, const std::string& name, std::string& error);

    // Between these two, reads share one read transaction (a put in between
    // still commits on its own). Calls nest; the outermost pair counts. Inside
    // the transaction a database asked for many times is read whole, once: an
    // editor asks for every name of it, one after the other.
    void beginReads();
    void endReads();
    // Lookups of one database in a read transaction before it is read whole.
    // The first ones stay single: most actions ask for a few names (a map
    // editor's page of 30), and a whole read of a large router costs more.
    static constexpr int wholeReadAfter = 64;

    // Bulk access (name_store_bulk.cpp). Every stored name in the order device,
    // database, index; a negative filter takes every device or database.
    std::vector<stored_name> all(int device = -1, int database = -1) const;
    // Stores every name in one transaction: all of them, or none on an error.
    bool putAll(const std::vector<stored_name>& names, std::string& error);

  private:
    bool seed(const site_directory& site, std::string& error);
    bool exec(const char* sql, std::string& error) const;
    // The store's statements, prepared once and kept until it closes.
    sqlite3_stmt* kept(sqlite3_stmt*& slot, const char* sql) const;
    void openReadTransaction() const;
    void closeReadTransaction() const;
    // The names of one database as the read transaction sees them, in index order.
    struct database_names {
        int lookups = 0;
        bool read = false;    // names holds the whole database
        bool failed = false;  // the whole read failed: lookups go one by one
        std::vector<std::pair<int, std::string>> names;
    };
    // The database's names when they are (or now get) read whole; null for the
    // first lookups of a database in the transaction, and outside one.
    const database_names* wholeDatabase(int device, int database) const;

    sqlite3* db_ = nullptr;
    std::string path_;
    mutable sqlite3_stmt* select_ = nullptr;
    mutable sqlite3_stmt* insert_ = nullptr;
    mutable sqlite3_stmt* range_ = nullptr;
    int readScopes_ = 0;
    mutable bool inRead_ = false;
    // Valid for the read transaction only: a put ends it, and with it these.
    mutable std::map<std::pair<int, int>, database_names> readDatabases_;
};

// Where a site's store lives unless told otherwise: $XDG_STATE_HOME/kovo-host/ or
// ~/.local/state/kovo-host/, one file per site (its name and a hash of its path).
std::string defaultStorePath(const std::string& stateDir, const site_directory& site);
std::string defaultStateDirectory();

}  // namespace kovo_host
