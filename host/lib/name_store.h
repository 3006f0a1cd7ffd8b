// The device name databases of one site, kept in an SQLite file. Every write is
// committed before it returns, so a name once stored survives a killed process.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

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
    bool put(int device, int database, int index, const std::string& name, std::string& error);

    // Bulk access (name_store_bulk.cpp). Every stored name in the order device,
    // database, index; a negative filter takes every device or database.
    std::vector<stored_name> all(int device = -1, int database = -1) const;
    // Stores every name in one transaction: all of them, or none on an error.
    bool putAll(const std::vector<stored_name>& names, std::string& error);

  private:
    bool seed(const site_directory& site, std::string& error);
    bool exec(const char* sql, std::string& error);

    sqlite3* db_ = nullptr;
    std::string path_;
};

// Where a site's store lives unless told otherwise: $XDG_STATE_HOME/kovo-host/ or
// ~/.local/state/kovo-host/, one file per site (its name and a hash of its path).
std::string defaultStorePath(const std::string& stateDir, const site_directory& site);
std::string defaultStateDirectory();

}  // namespace kovo_host
