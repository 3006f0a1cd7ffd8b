// The names tool: a store's names as CSV ("device,database,index,name"), and
// a CSV import checked row by row before anything is stored (the simulator
// stores what the plan changes: simulator::importNamesCsv).
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "name_lookup.h"
#include "name_store.h"
#include "site_areas.h"
#include "site_directory.h"

namespace kovo_host {

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

// Checks every row: a known device, an index inside the database's size, the
// names editor's limits, the typed-text rule (applied and kept in typedAs), no
// entry twice.
names_plan planNamesImport(const std::string& csv, const site_directory& site,
                           const std::vector<area_settings>& areas, const name_lookup& stored);

// What a good plan changes: the names to store, those it leaves as they are,
// and one report line for each change (old and new name).
struct names_changes {
    std::vector<stored_name> names;
    int unchanged = 0;
    std::string report;
    // "stored 3 names, 1 unchanged" (dryRun: "would store ...").
    std::string count(bool dryRun) const;
};
names_changes changesOf(const names_plan& plan);

}  // namespace kovo_host
