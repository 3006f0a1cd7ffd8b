#include "names_command.h"

#include "command_usage.h"
#include "names_transfer.h"
#include "numbers.h"

namespace kovo_host {

namespace {

int usageError(std::ostream& err, const std::string& message) {
    err << "kovo-host: names: " << message << "\n" << commandUsage("names");
    return 2;
}

int exportNames(simulator& sim, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
    int device = -1;
    int database = -1;
    // Each option takes the number after it.
    for (std::size_t i = 0; i < args.size(); i += 2) {
        int* target = args[i] == "--device"     ? &device
                      : args[i] == "--database" ? &database
                                                : nullptr;
        if (target == nullptr) {
            return usageError(err, "export: unknown argument " + args[i]);
        }
        if (i + 1 >= args.size() || !parseNumber(args[i + 1], *target) || *target < 0) {
            return usageError(err, args[i] + " needs a whole number");
        }
    }
    std::string error;
    const name_store* store = sim.openStore(error);
    if (store == nullptr) {
        err << "kovo-host: " << error << "\n";
        return 2;
    }
    writeNamesCsv(store->all(device, database), out);
    return 0;
}

int importNames(simulator& sim, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
    bool dryRun = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--dry-run") {
            dryRun = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError(err, "import: unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 1) {
        return usageError(err, "import takes one CSV file");
    }
    std::string error;
    if (sim.openStore(error) == nullptr) {
        err << "kovo-host: " << error << "\n";
        return 2;
    }
    host_error failed;
    if (!sim.importNamesFile(
            files[0], dryRun, [&out](const std::string& text) { out << text; }, failed)) {
        err << "kovo-host: " << failed << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int runNames(const std::vector<std::string>& args, const simulator_options& options,
             std::ostream& out, std::ostream& err) {
    if (args.empty() || (args[0] != "export" && args[0] != "import")) {
        return usageError(err, "export or import?");
    }
    simulator sim(options);
    std::string error;
    if (!sim.useSite(options.siteDir, error)) {
        err << "kovo-host: " << error << "\n";
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    return args[0] == "export" ? exportNames(sim, rest, out, err)
                               : importNames(sim, rest, out, err);
}

}  // namespace kovo_host
