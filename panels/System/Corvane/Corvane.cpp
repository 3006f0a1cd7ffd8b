// Corvane: construction (layouts, panels, site areas, first looks of panel 1),
// teardown and the plug-in's export.
#include "Corvane.h"

#include "kovo_text.h"
#include "panel_controls.h"

namespace {
constexpr const char* homePanel = panel::home;
}  // namespace

KOVO_SCRIPT_EXPORT(Corvane)

Corvane::Corvane(kovo_host_link* link, const char* instanceText)
    : kovo_script_helper(link, instanceText) {
    chooseLayouts();

    panelInit(panel::home, homePanelFile, "");
    panelInit(panel::namesEditor, namesPanelFile, "");
    panelInit(panel::packageNameEditor, packageNamePanelFile, "");
    panelInit(panel::packageContentEditor, packageContentPanelFile, "");

    controlDisable(homePanel, "DoEdit");
    for (int i = 1; i <= 3; ++i) {
        controlDisable(homePanel, numberedControl(home_row::type, i));
    }
    for (int i = 1; i <= 4; ++i) {
        controlDisable(homePanel, numberedControl(home_row::editWhat, i));
    }
    for (int i = 1; i <= 3; ++i) {
        controlDisable(homePanel, numberedControl(home_row::router, i));
    }
    textPut("statesheet", "ctl_select_active", homePanel, "EditBtnBG");
    for (int i = 0; i < maxAreas; ++i) {
        controlDisable(homePanel, numberedControl(home_row::area, i));
    }

    readAreas();
    offerAreas();

    panelShow(homePanel, homePanelFile, "");
}

Corvane::~Corvane() {
    if (routerRegistered) {
        routerUnregister(namesDevice);
    }
    routerRegistered = false;
    timerStop(1);
    timerStop(2);
}

void Corvane::chooseLayouts() {
    const kovo_string widthText = layoutWidthText("Corvane");
    const kovo_string tail = widthText + ".kovo_ui";
    homePanelFile = "HomePanel" + tail;
    namesPanelFile = "AV_Name_Edit" + tail;
    packageNamePanelFile = "Pkg_Name_Edit" + tail;
    packageContentPanelFile = "Pkg_Content_Edit" + tail;
}

void Corvane::readAreas() {
    for (int i = 0; i < maxAreas; ++i) {
        AreaRecord& area = areas[i];
        const kovo_string object = kovo_string("rtr_area_%1").arg(i);
        area.areaName = getObjectSetting(object, "areaname");
        area.packageLevels = getObjectSetting(object, "package_levels").toInt();

        // Lists longer than the record's five slots keep their first five entries.
        settingText = getObjectSetting(object, "driver_ids");
        settingList.fromString(settingText, ',');
        for (int j = 0; j < settingList.count() && j < AreaRecord::driverSlots; ++j) {
            area.driverIds[j] = settingList[j].toInt();
        }

        settingText = getObjectSetting(object, "driver_type");
        settingList.fromString(settingText, ',');
        for (int j = 0; j < settingList.count() && j < AreaRecord::driverSlots; ++j) {
            area.driverTypes[j] = settingList[j];
        }
    }
}

void Corvane::offerAreas() {
    // The list ends at the first area without a name, even if later ones have one.
    areaCount = 0;
    while (areaCount < maxAreas && !isEmpty(areas[areaCount].areaName)) {
        ++areaCount;
    }
    for (int i = 0; i < areaCount; ++i) {
        const kovo_string control = numberedControl(home_row::area, i);
        controlEnable(homePanel, control);
        textPut("text", areas[i].areaName, homePanel, control);
    }
}
