#include "galleries.h"

#include <climits>

#include "kovo_string.h"
#include "text.h"

namespace kovo_host {

namespace {

// A workstation number as the panel reads it: digits only (any number of
// leading zeros), 1 to the largest int; 0 for anything else.
int workstationNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    long long value = 0;
    for (const char digit : text) {
        value = value * 10 + (digit - '0');
        if (value > INT_MAX) {
            return 0;
        }
    }
    return static_cast<int>(value);
}

bool isWorkstationType(const std::string& type) {
    return type == "XPE" || type == "XP" || type == "W7" || type == "W10";
}

}  // namespace

bool isGalleryArea(const std::string& area) {
    return area == "stc" || area == "sta";
}

std::string galleryArea(const std::string& myArea) {
    const std::string lowered = lowerCase(myArea);
    for (const char* area : {"stc", "sta"}) {
        if (lowered.compare(0, 3, area) == 0) {
            return area;
        }
    }
    return std::string();
}

shutdown_list readShutdownList(const std::string& value) {
    shutdown_list list;
    // Split by the string library, as the panel splits it.
    const kovo_stringlist parts(kovo_string(value.c_str()), ',');
    for (int i = 0; i < parts.count(); ++i) {
        list.entries.emplace_back(parts[i].c_str());
    }
    for (int k = 1; k <= list.pairs() && k <= shutdownButtons; ++k) {
        shutdown_button button;
        button.ordinal = k;
        button.numberText = list.entries[static_cast<std::size_t>(2 * k - 2)];
        button.type = list.entries[static_cast<std::size_t>(2 * k - 1)];
        button.number = workstationNumber(button.numberText);
        button.knownType = isWorkstationType(button.type);
        list.buttons.push_back(std::move(button));
    }
    return list;
}

std::set<int> shutdownTargets(const settings_file& objects, const std::string& myArea) {
    std::set<int> targets;
    const std::string area = galleryArea(myArea);
    if (area.empty()) {
        return targets;
    }
    for (const shutdown_button& button :
         readShutdownList(objects.value("ws_shutdown", area)).buttons) {
        if (button.number > 0) {
            targets.insert(button.number);
        }
    }
    return targets;
}

}  // namespace kovo_host
