#include "plugin_invariants.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "command_text.h"
#include "kovo_script_helper.h"
#include "numbers.h"
#include "settings_file.h"
#include "site_areas.h"
#include "site_directory.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// A crosspoint field: zero-padded to three digits, longer on routers above 999.
bool isCrosspointField(const std::string& field) {
    return field.size() >= 3 &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool hasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const unsigned char byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

bool writesOrExecutes(const std::string& verb) {
    return verb == "RM" || verb == "IW";
}

void checkLindqarLayout(int database, int index, const std::string& text,
                        std::vector<std::string>& breaches) {
    const bool groupIndex = index >= 1 && index <= 12;
    if (database == 4 || database == 5) {
        if (!groupIndex) {
            breaches.push_back(
                "invariant lindqar-layout: group names live at 1 to 12 of database " +
                std::to_string(database) + ", not at " + std::to_string(index));
        }
    } else if (database == 8) {
        if (groupIndex || (index >= 101 && index <= 112)) {
            if (!isMapText(text)) {
                breaches.push_back(
                    "invariant lindqar-map-text: a group map is 30 fields of three or more digits "
                    "joined by \",\"");
            }
        } else if (index == 201 || index == 251) {
            if (!isEnablesText(text)) {
                breaches.push_back(
                    "invariant lindqar-map-text: the enables are 12 fields, field i 000 or i in "
                    "three digits");
            }
        } else {
            breaches.push_back(
                "invariant lindqar-layout: database 8 is written only at 1-12, 101-112, 201 and "
                "251, not at " +
                std::to_string(index));
        }
    } else {
        breaches.push_back("invariant lindqar-layout: database " + std::to_string(database) +
                           " is not written by the map editor");
    }
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

bool isMapText(const std::string& text) {
    const std::vector<std::string> fields = splitAt(text, ',');
    return fields.size() == 30 && std::all_of(fields.begin(), fields.end(), isCrosspointField);
}

bool isEnablesText(const std::string& text) {
    const std::vector<std::string> fields = splitAt(text, ',');
    if (fields.size() != 12) {
        return false;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string own = std::string(i + 1 < 10 ? "00" : "0") + std::to_string(i + 1);
        if (fields[i] != "000" && fields[i] != own) {
            return false;
        }
    }
    return true;
}

const plugin_invariants::site_facts& plugin_invariants::facts() {
    const site_directory* site = sim_.site();
    const std::string dir = site == nullptr ? std::string() : site->directory();
    if (dir == factsSite_) {
        return facts_;
    }
    factsSite_ = dir;
    facts_ = site_facts{};
    if (site != nullptr) {
        for (const area_settings& area : readSiteAreas(*site)) {
            for (int slot = 2; slot < driverSlots; ++slot) {
                facts_.routerDevices.insert(area.driverId(slot));
            }
        }
    }
    const fs::path system = fs::path(dir) / "config" / "system";
    const settings_file objects = readSettingsFile((system / "object_settings.xml").string());
    const settings_file workstations = readSettingsFile((system / "workstations.xml").string());
    for (const settings_group& station : workstations.groups) {
        const std::string area = lower(workstations.value(station.id, "myarea"));
        const std::string key = area.compare(0, 3, "stc") == 0   ? "stc"
                                : area.compare(0, 3, "sta") == 0 ? "sta"
                                                                 : "";
        std::set<int>& targets = facts_.shutdownTargets[leadingNumber(station.id)];
        if (key.empty()) {
            continue;
        }
        const std::vector<std::string> pairs = splitAt(objects.value("ws_shutdown", key), ',');
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            targets.insert(leadingNumber(pairs[i]));
        }
    }
    return facts_;
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
    const std::string kind = pluginKind(observed.pluginPath);
    int first = 0, second = 0, third = 0;
    parseNumber(args[0], first);
    if (verb == "IW") {
        parseNumber(args[2], third);
        if (kind == "Tavisk") {
            const auto& targets = facts().shutdownTargets;
            auto own = targets.find(observed.workstation);
            if (own == targets.end() || own->second.count(third) == 0) {
                breaches.push_back("invariant tavisk-workstations: workstation " +
                                   std::to_string(third) +
                                   " is not configured for the area of workstation " +
                                   std::to_string(observed.workstation));
            }
        }
        return;
    }
    // "RM device database index 'name' flag"
    parseNumber(args[1], second);
    parseNumber(args[2], third);
    const std::string& name = args[3];
    if (first == 0) {
        breaches.push_back("invariant device-zero: " + verb + " to device 0 (a device no " +
                           "setting or lookup resolved)");
    }
    if (kind == "Lindqar") {
        checkLindqarLayout(second, third, name, breaches);
    } else if (kind == "Corvane") {
        if (name.find('\'') != std::string::npos || hasControlCharacter(name)) {
            breaches.push_back(
                "invariant corvane-name-rule: a name holds a quote or a control character");
        }
        // A router slot left at 0 names no device (device-zero covers it).
        const bool routerNames =
            first != 0 && second >= 0 && second <= 3 && facts().routerDevices.count(first) != 0;
        const std::size_t limit = second == 0 || second == 1 ? 16 : 8;
        if (routerNames && name.size() > limit) {
            breaches.push_back("invariant corvane-name-length: " + std::to_string(name.size()) +
                               " bytes in a " + (limit == 16 ? "long" : "short") +
                               " name (at most " + std::to_string(limit) + ")");
        }
        if (routerNames) {
            checkNamesListIndex(first, second, third, breaches);
        }
    }
}

void plugin_invariants::checkNamesListIndex(int device, int database, int index,
                                            std::vector<std::string>& breaches) {
    // The names editor lists entries 1 to the long-name database's size (as the
    // plug-ins bound it), and writes a short name at its entry's index whatever
    // the short-name database's size says.
    const int longNames = database % 2;
    const site_directory* site = sim_.site();
    const int size = std::min(site == nullptr ? 0 : site->databaseSize(device, longNames),
                              kovo_script_helper::maxDatabaseSize);
    if (index < 1 || index > size) {
        breaches.push_back("invariant names-list: index " + std::to_string(index) +
                           " is no entry of the names list of device " + std::to_string(device) +
                           " (database " + std::to_string(longNames) + ": " + std::to_string(size) +
                           " entries)");
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
