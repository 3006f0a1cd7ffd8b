// Checks of the XML settings: the files themselves, the workstations and the
// shutdown lists of the galleries.
#include <map>
#include <set>

#include "galleries.h"
#include "kovo_string.h"
#include "numbers.h"
#include "site_check_internal.h"

namespace kovo_host {

namespace {

std::string line(int number) {
    return "line " + std::to_string(number);
}

std::string buttonName(int ordinal) {
    return std::string("WS_") + (ordinal < 10 ? "0" : "") + std::to_string(ordinal);
}

}  // namespace

void checkSettingsFile(site_check_context& c, const settings_file& file,
                       const char* missingEffect) {
    if (!file.exists) {
        c.warning(file.path, 0, "the file is missing", missingEffect);
        return;
    }
    if (!file.parsed) {
        c.error(file.path, file.errorLine, "the XML does not parse (" + file.error + ")",
                "the plug-ins read no setting from this file: every group is empty, and each "
                "lookup writes a kovo_config line to the debug output");
        return;
    }
    std::map<std::string, int> groupLines;
    for (const settings_group& group : file.groups) {
        const auto first = groupLines.emplace(group.id, group.line);
        if (!first.second) {
            c.warning(file.path, group.line,
                      "group " + inQuotes(group.id) + " again (first at " +
                          line(first.first->second) + ")",
                      "only the first group of an id is read; this one is never seen");
            continue;
        }
        std::map<std::string, const settings_entry*> entries;
        for (const settings_entry& entry : group.entries) {
            const auto seen = entries.emplace(entry.id, &entry);
            if (!seen.second) {
                c.warning(file.path, entry.line,
                          "setting " + inQuotes(entry.id) + " again in group " +
                              inQuotes(group.id) + " (first at " + line(seen.first->second->line) +
                              ")",
                          "the first one wins (" + inQuotes(seen.first->second->value) +
                              "); this one is never seen");
            }
        }
    }
}

void checkWorkstations(site_check_context& c) {
    const settings_file& file = c.workstations;
    std::set<std::string> seen;
    for (const settings_group& group : file.groups) {
        if (!seen.insert(group.id).second) {
            continue;  // reported as a repeated group
        }
        int number = 0;
        if (!parseNumber(group.id, number) || number < 0 || std::to_string(number) != group.id) {
            c.warning(file.path, group.line,
                      "workstation " + inQuotes(group.id) + " is not a workstation number",
                      "no workstation reads this group: workstation N reads the group "
                      "\"N\" written in plain decimal");
            continue;
        }
        const std::string who = "workstation " + group.id;
        const settings_entry* width = file.entry(group.id, "screenwidth");
        const int w = width == nullptr ? 0 : kovo_string(width->value.c_str()).toInt();
        if (width == nullptr) {
            c.warning(file.path, group.line, who + " has no \"screenwidth\"",
                      "the plug-ins use the 1024 layouts and write \"No screenwidth parameter\" "
                      "to the debug output");
        } else if (w != 1024 && w != 1280) {
            c.warning(
                file.path, width->line,
                who + ": \"screenwidth\" " + inQuotes(width->value) + " is neither 1024 nor 1280",
                std::string("the plug-ins use the 1024 layouts and write ") +
                    (w == 0 ? "\"No screenwidth parameter\""
                            : "\"Unsupported screenwidth parameter\"") +
                    " to the debug output");
        }
        const settings_entry* myArea = file.entry(group.id, "myarea");
        if (myArea == nullptr) {
            continue;  // a workstation outside the galleries
        }
        const std::string area = galleryArea(myArea->value);
        if (area.empty()) {
            c.warning(file.path, myArea->line,
                      who + ": \"myarea\" " + inQuotes(myArea->value) +
                          " names no gallery (a gallery's area begins with \"stc\" or \"sta\")",
                      "the shutdown panel stays blank on this workstation");
        } else if (c.objects.entry("ws_shutdown", area) == nullptr) {
            c.warning(file.path, myArea->line,
                      who + ": \"myarea\" " + inQuotes(myArea->value) + " is area " +
                          inQuotes(area) + ", which has no \"ws_shutdown\" list",
                      "the shutdown panel is shown with no workstation to select");
        }
    }
}

void checkShutdownLists(site_check_context& c) {
    const settings_file& file = c.objects;
    const settings_group* group = file.group("ws_shutdown");
    if (group == nullptr) {
        return;
    }
    std::map<int, std::string> listedIn;  // workstation -> area that lists it first
    std::set<std::string> areasSeen;
    for (const settings_entry& entry : group->entries) {
        if (!areasSeen.insert(entry.id).second) {
            continue;  // reported as a repeated setting
        }
        const std::string area = "area " + inQuotes(entry.id);
        if (!isGalleryArea(entry.id)) {
            c.warning(file.path, entry.line,
                      "\"ws_shutdown\" lists area " + inQuotes(entry.id) +
                          ", which is not \"stc\" or \"sta\"",
                      "the shutdown panel reads only the areas \"stc\" and \"sta\"; this list is "
                      "never used");
            continue;
        }
        const shutdown_list list = readShutdownList(entry.value);
        const int entries = static_cast<int>(list.entries.size());
        if (entries % 2 != 0) {
            c.warning(file.path, entry.line,
                      area + ": \"ws_shutdown\" has an odd number of entries (" +
                          std::to_string(entries) + ")",
                      "the last entry, " + inQuotes(list.entries.back()) + ", is ignored");
        }
        if (list.pairs() > shutdownButtons) {
            c.error(
                file.path, entry.line,
                area + ": \"ws_shutdown\" lists " + std::to_string(list.pairs()) + " workstations",
                "the panel has ten buttons: the workstations after the tenth (from " +
                    inQuotes(list.entries[2 * shutdownButtons]) +
                    ") can never be shut down from it");
        }
        for (const shutdown_button& workstation : list.buttons) {
            const std::string button = buttonName(workstation.ordinal);
            if (workstation.number == 0) {
                c.error(
                    file.path, entry.line,
                    area + ": " + inQuotes(workstation.numberText) + " is not a workstation number",
                    button + " is not configured: Confirm never sends it anything");
                continue;
            }
            if (!workstation.knownType) {
                c.error(file.path, entry.line,
                        area + ": workstation " + workstation.numberText +
                            " has the unknown type " + inQuotes(workstation.type) +
                            " (XPE, XP, W7 or W10, exact case)",
                        button + " is skipped on Confirm without a message");
            }
            const auto listed = listedIn.emplace(workstation.number, entry.id);
            if (!listed.second) {
                c.warning(file.path, entry.line,
                          area + ": workstation " + std::to_string(workstation.number) +
                              (listed.first->second == entry.id
                                   ? " is listed twice"
                                   : " is also listed in area " + inQuotes(listed.first->second)),
                          "one confirmed shutdown of either list powers it off");
            }
        }
    }
}

}  // namespace kovo_host
