// The galleries of a site as the shutdown panel reads them: the area a
// workstation's "myarea" names, and the workstations of that area's
// "ws_shutdown" list. The site checker and the invariants both build on these,
// so what they call a gallery's workstation is what the panel holds.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "settings_file.h"

namespace kovo_host {

// The areas a shutdown list can be kept for.
bool isGalleryArea(const std::string& area);
// "stc" or "sta" when the lower-case "myarea" begins with it; "" for a
// workstation outside the galleries (its panel stays blank).
std::string galleryArea(const std::string& myArea);

// The panel has ten workstation buttons, WS_01 to WS_10.
constexpr int shutdownButtons = 10;

// One button's pair of the list: workstation number and operating-system type.
struct shutdown_button {
    int ordinal = 0;  // 1 to shutdownButtons
    std::string numberText;
    std::string type;
    // The number as the panel reads it: digits only, 1 to the largest int;
    // 0 for anything else (the button is not configured: Confirm sends it nothing).
    int number = 0;
    bool knownType = false;  // "XPE", "XP", "W7" or "W10", exact case
};

struct shutdown_list {
    std::vector<std::string> entries;      // the setting split at ','
    std::vector<shutdown_button> buttons;  // the pairs the panel holds, in order
    int pairs() const { return static_cast<int>(entries.size() / 2); }
};

// A "ws_shutdown" value read as the panel reads it (an odd last entry and the
// pairs after the tenth are left out of the buttons).
shutdown_list readShutdownList(const std::string& value);

// The workstations the panel of a workstation in this "myarea" can send to:
// the configured buttons of its area's list; none outside the galleries.
std::set<int> shutdownTargets(const settings_file& objects, const std::string& myArea);

}  // namespace kovo_host
