// Names changed in bulk from outside the scripts: the names import.
#include "names_transfer.h"
#include "simulator.h"
#include "text.h"
#include "text_file.h"

namespace kovo_host {

const name_store* simulator::openStore(std::string& error) {
    return ensureStore(error) ? &store_ : nullptr;
}

bool simulator::importNamesFile(const std::string& path, bool dryRun,
                                const std::function<void(const std::string&)>& print,
                                std::string& error) {
    std::string csv;
    if (!readWholeFile(path, csv)) {
        error = "cannot read " + path;
        return false;
    }
    return importNamesCsv(csv, path, dryRun, print, error);
}

bool simulator::importNamesCsv(const std::string& csv, const std::string& source, bool dryRun,
                               const std::function<void(const std::string&)>& print,
                               std::string& error) {
    if (!ensureStore(error)) {
        return false;
    }
    const names_plan plan =
        planNamesImport(csv, site_, readSiteAreas(site_),
                        [this](int d, int b, int i) { return store_.get(d, b, i); });
    if (!plan.errors.empty()) {
        error = source + ": nothing stored:";
        for (const std::string& e : plan.errors) {
            error += "\n  " + e;
        }
        return false;
    }
    const names_changes changes = changesOf(plan);
    print(changes.report);
    if (!dryRun && !storeNames(changes.names, error)) {
        return false;
    }
    print(changes.count(dryRun));
    return true;
}

bool simulator::storeNames(const std::vector<stored_name>& names, std::string& error) {
    for (const stored_name& n : names) {
        if (site_.device(n.device) == nullptr || n.index < 1 ||
            n.index > site_.databaseSize(n.device, n.database)) {
            error = "device " + std::to_string(n.device) + " database " +
                    std::to_string(n.database) + " has no index " + std::to_string(n.index);
            return false;
        }
    }
    if (!store_.putAll(names, error)) {
        return false;
    }
    for (const stored_name& n : names) {
        note("", "stored " + std::to_string(n.device) + " " + std::to_string(n.database) + " " +
                     std::to_string(n.index) + " " + quotedText(n.name));
        queueDatabaseEvents(n.device, n.database, n.index, n.name);
    }
    deliverPending();
    return true;
}

}  // namespace kovo_host
