// Tavisk start-up: area, layout and the area's workstation list; the export.
#include "Tavisk.h"

#include <climits>

#include "kovo_control_number.h"
#include "kovo_text.h"

namespace {

// "XPE" 1, "XP" 2, "W7" 3, "W10" 4, exact and case-sensitive; anything else 0.
int osTypeOf(const kovo_string& text) {
    if (text == "XPE") {
        return Tavisk::osXPE;
    }
    if (text == "XP") {
        return Tavisk::osXP;
    }
    if (text == "W7") {
        return Tavisk::osW7;
    }
    if (text == "W10") {
        return Tavisk::osW10;
    }
    return Tavisk::osUnknown;
}

// The workstation number of a list entry, or 0 when the entry is not wholly a
// positive decimal number that fits an int. A typing slip such as "l2" or "12x"
// must never become a command for workstation 0, a negative one or a guess.
int workstationNumberOf(const kovo_string& entry) {
    const char* text = textOf(entry);
    if (*text == '\0') {
        return 0;
    }
    long long value = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return 0;
        }
        value = value * 10 + (*c - '0');
        if (value > INT_MAX) {
            return 0;
        }
    }
    return static_cast<int>(value);
}

}  // namespace

Tavisk::Tavisk(kovo_host_link* link, const char* instance) : kovo_script_helper(link, instance) {
    const kovo_string myArea = getWorkstationSetting("myarea");
    chooseLayout();

    const kovo_string lowered = myArea.lower();
    if (lowered.startsWith("stc")) {
        area = "stc";
    } else if (lowered.startsWith("sta")) {
        area = "sta";
    }
    // A workstation outside the galleries keeps a blank panel.
    if (isEmpty(area)) {
        return;
    }

    readWorkstations();
    panelShow("1", layoutFile, "");
    controlDisable("1", "Confirm");
    findWorkstationButtons();
}

Tavisk::~Tavisk() = default;

void Tavisk::chooseLayout() {
    screenWidth = getWorkstationSetting("screenwidth");
    layoutFile = layoutWidthText("Tavisk") + ".kovo_ui";
}

void Tavisk::readWorkstations() {
    wsList.fromString(getObjectSetting("ws_shutdown", area), ',');
    const int pairs = wsList.count() / 2;
    wsCount = pairs < maxWorkstations ? pairs : maxWorkstations;
    if (pairs > maxWorkstations) {
        debug(kovo_string("\nTavisk:: ws_shutdown for area %1 lists %2 workstations; the panel "
                          "holds %3, %4 left out.\n")
                  .arg(area)
                  .arg(pairs)
                  .arg(maxWorkstations)
                  .arg(pairs - maxWorkstations));
    }

    for (int k = 1; k <= wsCount; ++k) {
        const kovo_string& numberText = wsList[2 * k - 2];
        const int number = workstationNumberOf(numberText);
        if (number == 0) {
            // Left as not configured: number 0 and no type, so Confirm skips it.
            debug(kovo_string("\nTavisk:: ws_shutdown for area %1: \"%2\" is not a workstation "
                              "number; WS_%3 is not configured.\n")
                      .arg(area)
                      .arg(numberText)
                      .arg(k, '0', 2));
            continue;
        }
        wsNumber[k - 1] = number;
        wsOsType[k - 1] = osTypeOf(wsList[2 * k - 1]);
    }
}

// "AllWS", "Cancel" and the return to idle put their looks on the buttons of
// ordinals 1 to 10. The host is asked once for the buttons the shown layout
// has, since a site's layout may name them otherwise than WS_01..WS_10 ("WS_1"):
// a look on a name the layout lacks would leave its button looking selected.
void Tavisk::findWorkstationButtons() {
    for (int k = 1; k <= maxWorkstations; ++k) {
        wsButton[k - 1] = "WS_" + kovo_string(k, '0', 2);
    }
    bool named[maxWorkstations] = {};
    const kovo_stringlist buttons = controlList("1", "WS_");
    for (int i = 0; i < buttons.count(); ++i) {
        const kovo_string& id = buttons[i];
        const int k = controlNumber(id);
        // The first button of an ordinal wins, as the layout orders them.
        if (k >= 1 && k <= maxWorkstations && canNameBack(id) && !named[k - 1]) {
            wsButton[k - 1] = id;
            named[k - 1] = true;
        }
    }
}

KOVO_SCRIPT_EXPORT(Tavisk)
