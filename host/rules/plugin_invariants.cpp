#include "plugin_invariants.h"

#include <filesystem>
#include <memory>

#include "command_text.h"
#include "numbers.h"
#include "site_directory.h"
#include "text.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

bool writesOrExecutes(const std::string& verb) {
    return verb == "RM" || verb == "IW";
}

}  // namespace

std::string pluginKind(const std::string& pluginPath) {
    const std::string stem = fs::path(pluginPath).stem().string();
    for (const char* kind : {"Corvane", "Lindqar", "Tavisk"}) {
        if (stem == kind || stem == std::string("lib") + kind) {
            return kind;
        }
    }
    return "";
}

void plugin_invariants::readSite() {
    const site_directory* site = sim_.site();
    const std::string dir = site == nullptr ? std::string() : site->directory();
    if (dir == site_) {
        return;
    }
    site_ = dir;
    tavisk_.readSite(site);
    corvane_.readSite(site);
}

void plugin_invariants::check(const observed_command& observed,
                              std::vector<std::string>& breaches) {
    const parsed_command command = parseCommand(observed.text.c_str());
    if (!command.error.empty()) {
        return;  // the simulator reports a malformed text itself
    }
    const std::string& verb = command.verb;
    const std::vector<std::string>& args = command.args;

    // Quoting: the text must read back exactly as the words it was built from,
    // and no quoted word may carry a control character.
    if (formatCommand(command) != observed.text) {
        breaches.push_back(
            "invariant quoting: the text does not read back as it was written (a quote inside a "
            "quoted word?)");
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (isTextArgument(verb, i) && hasControlCharacter(args[i])) {
            breaches.push_back("invariant quoting: word " + std::to_string(i + 1) +
                               " holds a control character");
        }
    }
    if (!writesOrExecutes(verb)) {
        return;
    }
    if (!observed.operatorAction) {
        breaches.push_back("invariant operator-action: " + verb +
                           " sent while not handling an operator action on an enabled, "
                           "visible control of the shown panel");
    }
    readSite();
    const std::string kind = pluginKind(observed.pluginPath);
    int device = 0;
    parseNumber(args[0], device);
    if (verb == "IW") {
        // "IW device 'text' workstation flag"
        int target = 0;
        parseNumber(args[2], target);
        if (kind == "Tavisk") {
            tavisk_.checkExecution(observed.workstation, target, breaches);
        }
        return;
    }
    // "RM device database index 'name' flag"
    int database = 0, index = 0;
    parseNumber(args[1], database);
    parseNumber(args[2], index);
    const std::string& text = args[3];
    if (device == 0) {
        breaches.push_back("invariant device-zero: " + verb + " to device 0 (a device no " +
                           "setting or lookup resolved)");
    }
    if (kind == "Lindqar") {
        checkLindqarWrite(database, index, text, breaches);
    } else if (kind == "Corvane") {
        corvane_.checkWrite(sim_.site(), device, database, index, text, breaches);
    }
}

void enableInvariants(simulator& sim) {
    auto checks = std::make_shared<plugin_invariants>(sim);
    sim.setCommandObserver(
        [checks](const observed_command& command, std::vector<std::string>& breaches) {
            checks->check(command, breaches);
        });
}

}  // namespace kovo_host
