// The device maps of the package editors (panels 3 and 4): the setup that the
// package grid and the contents editor's level maps share, and the page turns
// and choices their events carry.
#include "Corvane.h"

bool Corvane::indexChosen(const kovo_control_event& event) {
    return event.eventKey() == "index" && event.eventValue().toInt() > 0;
}

void Corvane::turnPage(const kovo_control_event& event, const kovo_string& panel,
                       const kovo_string& nameMap) {
    if (indexChosen(event)) {
        textPut("page", event.eventValue(), panel, nameMap);
    }
}

void Corvane::packageGridSetup(const kovo_string& panel, int d, int b) {
    deviceMapSetup(panel, "Group", "PackageName", d, b);
}

void Corvane::deviceMapSetup(const kovo_string& panel, const kovo_string& selector,
                             const kovo_string& nameMap, int d, int b) {
    const bool none = b == noMapDatabase;
    const kovo_string device(none ? 0 : d, ' ', 0);
    // Selector: the page (group) names in databases 4/5 and the group enables
    // in map database 8 from 200/250; name map: the names in 0/1 and the pages
    // of map database 8 from 0/100.
    const struct {
        const kovo_string& control;
        int namesDb;
        int mapOffset;
    } pair[] = {
        {selector, none ? 0 : b + 4, none ? 0 : (b == 0 ? 200 : 250)},
        {nameMap, none ? 0 : b, none ? 0 : (b == 0 ? 0 : 100)},
    };
    for (const auto& map : pair) {
        textPut("device", device, panel, map.control);
        textPut("device.map", device, panel, map.control);
        textPut("page=1", panel, map.control);
        textPut("namesdb", kovo_string(map.namesDb, ' ', 0), panel, map.control);
        textPut("mapdb=8", panel, map.control);
        textPut("mapoffset", kovo_string(map.mapOffset, ' ', 0), panel, map.control);
    }
}
