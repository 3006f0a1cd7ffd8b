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
                                host_error& error) {
    std::string csv;
    if (!readWholeFile(path, csv)) {
        return error.set(error_kind::bad_input, "cannot read " + path);
    }
    return importNamesCsv(csv, path, dryRun, print, error);
}

bool simulator::importNamesCsv(const std::string& csv, const std::string& source, bool dryRun,
                               const std::function<void(const std::string&)>& print,
                               host_error& error) {
    std::string failed;
    if (!ensureStore(failed)) {
        return error.set(error_kind::unusable, failed);
    }
    const names_plan plan =
        planNamesImport(csv, site_, readSiteAreas(site_),
                        [this](int d, int b, int i) { return store_.get(d, b, i); });
    if (!plan.errors.empty()) {
        std::string message = source + ": nothing stored:";
        for (const std::string& e : plan.errors) {
            message += "\n  " + e;
        }
        return error.set(error_kind::bad_input, message);
    }
    const names_changes changes = changesOf(plan);
    print(changes.report);
    if (!dryRun && !storeNames(changes.names, error)) {
        return false;
    }
    print(changes.count(dryRun));
    return true;
}

bool simulator::renameChecked(int device, int database, int index, const std::string& name,
                              given_name& given, host_error& error) {
    if (!checkEntry(device, database, index, error)) {
        return false;
    }
    const std::string problem = checkGivenName(
        name, editorNameLimit(readSiteAreas(site_), device, database), database, given);
    if (!problem.empty()) {
        return error.set(error_kind::bad_name, problem);
    }
    return rename(device, database, index, given.stored, error);
}

bool simulator::storeNames(const std::vector<stored_name>& names, host_error& error) {
    // The plan checked every row already; a name the site has no entry for
    // must not reach the store all the same.
    for (const stored_name& n : names) {
        if (!checkEntry(n.device, n.database, n.index, error)) {
            return false;
        }
    }
    std::string failed;
    if (!store_.putAll(names, failed)) {
        return error.set(error_kind::unusable, failed);
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
