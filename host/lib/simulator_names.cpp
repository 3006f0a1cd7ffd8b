// Names changed in bulk from outside the scripts.
#include "simulator.h"

namespace kovo_host {

const name_store* simulator::openStore(std::string& error) {
    return ensureStore(error) ? &store_ : nullptr;
}

bool simulator::importNames(const std::vector<stored_name>& names, std::string& error) {
    if (!ensureStore(error)) {
        return false;
    }
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
