#include "names_transfer.h"

#include <map>
#include <sstream>
#include <tuple>

#include "csv_text.h"
#include "given_name.h"
#include "numbers.h"
#include "text.h"

namespace kovo_host {

const char namesCsvHeader[] = "device,database,index,name";

void writeNamesCsv(const std::vector<stored_name>& names, std::ostream& out) {
    out << namesCsvHeader << "\r\n";
    for (const stored_name& n : names) {
        out << csvRecord({std::to_string(n.device), std::to_string(n.database),
                          std::to_string(n.index), n.name});
    }
}

namespace {

// The checks of one row; an empty text when it is good.
std::string checkRow(const csv_record& record, const site_directory& site,
                     const std::vector<area_settings>& areas, planned_name& plan) {
    if (record.fields.size() != 4) {
        return "has " + std::to_string(record.fields.size()) +
               " fields, not 4 (device,database,index,name)";
    }
    stored_name& n = plan.change;
    const char* what[] = {"device", "database", "index"};
    int* number[] = {&n.device, &n.database, &n.index};
    for (int f = 0; f < 3; ++f) {
        if (!parseNumber(record.fields[static_cast<std::size_t>(f)], *number[f]) ||
            *number[f] < 0) {
            return std::string("the ") + what[f] + " " +
                   quotedStart(record.fields[static_cast<std::size_t>(f)]) +
                   " is not a whole number";
        }
    }
    if (site.device(n.device) == nullptr) {
        return "device " + std::to_string(n.device) + " is not a device of the site";
    }
    const int size = site.databaseSize(n.device, n.database);
    if (n.index < 1 || n.index > size) {
        return "index " + std::to_string(n.index) + " is outside database " +
               std::to_string(n.database) + " of device " + std::to_string(n.device) + " (1 to " +
               std::to_string(size) + ")";
    }
    given_name name;
    const std::string problem = checkGivenName(
        record.fields[3], editorNameLimit(areas, n.device, n.database), n.database, name);
    if (!problem.empty()) {
        return problem;
    }
    n.name = name.stored;
    if (name.retyped) {
        plan.typedAs = record.fields[3];
    }
    return std::string();
}

}  // namespace

names_plan planNamesImport(const std::string& csv, const site_directory& site,
                           const std::vector<area_settings>& areas, const name_lookup& stored) {
    names_plan plan;
    std::vector<csv_record> records;
    std::string error;
    if (!parseCsv(csv, records, error)) {
        plan.errors.push_back(error);
        return plan;
    }
    if (records.empty() ||
        records[0].fields != std::vector<std::string>{"device", "database", "index", "name"}) {
        plan.errors.push_back(std::string("row 1 (line 1): the header must be ") + namesCsvHeader);
        return plan;
    }
    std::map<std::tuple<int, int, int>, int> seen;  // entry -> row that gives it
    for (std::size_t r = 1; r < records.size(); ++r) {
        planned_name row;
        row.row = static_cast<int>(r) + 1;
        row.line = records[r].line;
        std::string problem = checkRow(records[r], site, areas, row);
        const stored_name& n = row.change;
        if (problem.empty()) {
            const auto first =
                seen.emplace(std::make_tuple(n.device, n.database, n.index), row.row);
            if (!first.second) {
                problem = "gives device " + std::to_string(n.device) + " database " +
                          std::to_string(n.database) + " index " + std::to_string(n.index) +
                          " again (row " + std::to_string(first.first->second) + ")";
            }
        }
        if (!problem.empty()) {
            plan.errors.push_back("row " + std::to_string(row.row) + " (line " +
                                  std::to_string(row.line) + "): " + problem);
            continue;
        }
        row.old = stored(n.device, n.database, n.index);
        plan.rows.push_back(std::move(row));
    }
    return plan;
}

names_changes changesOf(const names_plan& plan) {
    names_changes changes;
    std::ostringstream report;
    for (const planned_name& row : plan.rows) {
        if (row.unchanged()) {
            ++changes.unchanged;
            continue;
        }
        const stored_name& n = row.change;
        report << "row " << row.row << ": " << n.device << " " << n.database << " " << n.index
               << ": " << (row.old ? quotedText(*row.old) : std::string("(none)")) << " -> "
               << quotedText(n.name) << "\n";
        if (!row.typedAs.empty()) {
            report << "  given as " << quotedText(row.typedAs) << ": " << typedTextRule << "\n";
        }
        changes.names.push_back(n);
    }
    changes.report = report.str();
    return changes;
}

std::string names_changes::count(bool dryRun) const {
    return (dryRun ? "would store " : "stored ") + std::to_string(names.size()) +
           (names.size() == 1 ? " name, " : " names, ") + std::to_string(unchanged) +
           " unchanged\n";
}

}  // namespace kovo_host
