// Many names at once: the export and import of the names tools.
#include <sqlite3.h>

#include "name_store.h"

namespace kovo_host {

namespace {

struct finalizer {
    sqlite3_stmt* stmt = nullptr;
    ~finalizer() { sqlite3_finalize(stmt); }
};

}  // namespace

std::vector<stored_name> name_store::all(int device, int database) const {
    std::vector<stored_name> names;
    if (db_ == nullptr) {
        return names;
    }
    finalizer query;
    if (sqlite3_prepare_v2(db_,
                           "SELECT device, db, idx, name FROM names WHERE (?1 < 0 OR device = ?1) "
                           "AND (?2 < 0 OR db = ?2) ORDER BY device, db, idx",
                           -1, &query.stmt, nullptr) != SQLITE_OK ||
        sqlite3_bind_int(query.stmt, 1, device) != SQLITE_OK ||
        sqlite3_bind_int(query.stmt, 2, database) != SQLITE_OK) {
        return names;
    }
    while (sqlite3_step(query.stmt) == SQLITE_ROW) {
        stored_name entry;
        entry.device = sqlite3_column_int(query.stmt, 0);
        entry.database = sqlite3_column_int(query.stmt, 1);
        entry.index = sqlite3_column_int(query.stmt, 2);
        const unsigned char* text = sqlite3_column_text(query.stmt, 3);
        entry.name.assign(text == nullptr ? "" : reinterpret_cast<const char*>(text),
                          static_cast<std::size_t>(sqlite3_column_bytes(query.stmt, 3)));
        names.push_back(std::move(entry));
    }
    return names;
}

bool name_store::putAll(const std::vector<stored_name>& names, std::string& error) {
    if (db_ == nullptr) {
        error = "no name store is open";
        return false;
    }
    // A read transaction of the current call would refuse the write one.
    closeReadTransaction();
    if (!exec("BEGIN IMMEDIATE", error)) {
        return false;
    }
    bool ok = true;
    {
        finalizer insert;
        ok = sqlite3_prepare_v2(db_,
                                "INSERT OR REPLACE INTO names (device, db, idx, name) "
                                "VALUES (?, ?, ?, ?)",
                                -1, &insert.stmt, nullptr) == SQLITE_OK;
        for (std::size_t i = 0; ok && i < names.size(); ++i) {
            const stored_name& n = names[i];
            sqlite3_reset(insert.stmt);
            ok = sqlite3_bind_int(insert.stmt, 1, n.device) == SQLITE_OK &&
                 sqlite3_bind_int(insert.stmt, 2, n.database) == SQLITE_OK &&
                 sqlite3_bind_int(insert.stmt, 3, n.index) == SQLITE_OK &&
                 sqlite3_bind_text(insert.stmt, 4, n.name.c_str(), static_cast<int>(n.name.size()),
                                   SQLITE_TRANSIENT) == SQLITE_OK &&
                 sqlite3_step(insert.stmt) == SQLITE_DONE;
        }
        if (!ok) {
            error = "name store " + path_ + ": " + sqlite3_errmsg(db_);
        }
    }
    if (!ok) {
        std::string ignored;
        exec("ROLLBACK", ignored);
        return false;
    }
    return exec("COMMIT", error);
}

}  // namespace kovo_host
