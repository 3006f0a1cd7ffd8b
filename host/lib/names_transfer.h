// The names tools: a store's names as CSV ("device,database,index,name"), and
// a CSV import checked row by row before anything is stored.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "name_store.h"
#include "site_areas.h"
#include "site_directory.h"

namespace kovo_host {

class simulator;

// The header line of both directions.
extern const char namesCsvHeader[];

void writeNamesCsv(const std::vector<stored_name>& names, std::ostream& out);

struct planned_name {
    int row = 0;                     // record number, the header being row 1
    int line = 0;                    // line of the file the row starts on
    stored_name change;              // the name as it will be stored
    std::optional<std::string> old;  // the name stored now
    std::string typedAs;  // the name as the row gives it, when the typed-text rule changed it
    bool unchanged() const { return old && *old == change.name; }
};

struct names_plan {
    std::vector<planned_name> rows;
    std::vector<std::string> errors;  // "row N (line L): ..."; empty when every row is good
};

using stored_lookup = std::function<std::optional<std::string>(int, int, int)>;

// Checks every row: a known device, an index inside the database's size, the
// names editor's limits, the typed-text rule (applied and kept in typedAs), no
// entry twice.
names_plan planNamesImport(const std::string& csv, const site_directory& site,
                           const std::vector<area_settings>& areas, const stored_lookup& stored);

// Reads FILE, checks it and, unless dryRun, stores every changed name in one
// transaction through the simulator (the loaded scripts get their database
// events). print receives each change as old and new name before anything is
// stored, and a count after; false when the file cannot be read, a row is bad
// (nothing is stored) or the store fails.
bool importNamesFile(simulator& sim, const std::string& path, bool dryRun,
                     const std::function<void(const std::string&)>& print, std::string& error);
// The same with the CSV text at hand; source names it in messages.
bool importNamesText(simulator& sim, const std::string& csv, const std::string& source, bool dryRun,
                     const std::function<void(const std::string&)>& print, std::string& error);

}  // namespace kovo_host
