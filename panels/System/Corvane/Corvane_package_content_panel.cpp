// Package contents editor (panel 4): choose a package, see the ID and name of
// each level's router source or destination, pick a new one or clear a level,
// and write the content string back with Update.
#include "Corvane.h"
#include "package_content_text.h"
#include "panel_controls.h"

namespace {

constexpr const char* contentPanel = panel::packageContentEditor;

// Level slots are the driverIds indices of the level routers: 2 video, 3 audio, 4 AES.
constexpr int firstLevelSlot = 2;
constexpr int lastLevelSlot = 4;

struct LevelControls {
    const char* idLabel;
    const char* nameButton;
    const char* clearButton;
};

constexpr LevelControls levelControls[PackageContent::maxLevels] = {
    {"V_ID", "V_Name", "ClrVid"},
    {"A_ID", "A_Name", "ClrAud"},
    {"D_ID", "D_Name", "ClrAES"},
};

// Callers pass only slots that editedLevelId accepts (or the loop bounds below).
const LevelControls& controlsOf(int slot) {
    return levelControls[slot - firstLevelSlot];
}

}  // namespace

void Corvane::openPackageContentEditor() {
    const AreaRecord& area = *chosenArea();
    panelRemove(panel::home);
    textPut("text",
            "Edit " + area.areaName +
                (selectedEditWhat == sourcePackageContents ? " Source Package Content"
                                                           : " Destination Package Content"),
            contentPanel, "MatrixName");
    for (const char* label : {"PkgNo", "V_Name", "A_Name", "D_Name", "V_ID", "A_ID", "D_ID"}) {
        textPut("text=", contentPanel, label);
    }
    for (const char* control :
         {"Update", "Element", "V_Name", "A_Name", "D_Name", "ClrVid", "ClrAud", "ClrAES"}) {
        controlDisable(contentPanel, control);
    }
    storedVideoId = 0;
    storedAudioId = 0;
    storedDataId = 0;
    videoId = 0;
    audioId = 0;
    dataId = 0;
    contentPackageDevice = area.driverIds[0];
    contentDevice = area.driverIds[1];
    contentLevels = area.packageLevels;
    contentDatabase = selectedEditWhat == destinationPackageContents ? 1 : 0;
    contentPackageShown = false;
    contentUpdateEnabled = false;
    contentPackageIndex = 0;
    packageGridSetup(contentPanel, contentPackageDevice, contentDatabase);
    panelShow(contentPanel, packageContentPanelFile, "");
    textPut("button.001=released", contentPanel, "Group");
}

void Corvane::packageContentPanelEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    if (control == "Group") {
        turnPage(event, contentPanel, "PackageName");
    } else if (control == "PackageName") {
        // The index comes from the package map as it is (above 0).
        if (indexChosen(event)) {
            choosePackageContent(event.eventValue());
        }
    } else if (control == "V_Name") {
        pickLevel(2);
    } else if (control == "A_Name") {
        pickLevel(3);
    } else if (control == "D_Name") {
        pickLevel(4);
    } else if (control == "LevelGroup") {
        turnPage(event, contentPanel, "Element");
    } else if (control == "Element") {
        // -1 is an empty button of the map.
        if (event.eventValue().toInt() != -1) {
            chooseElement(event.eventValue());
        }
    } else if (control == "ClrVid") {
        clearLevel(2);
    } else if (control == "ClrAud") {
        clearLevel(3);
    } else if (control == "ClrAES") {
        clearLevel(4);
    } else if (control == "Update") {
        writeShownContents();
        resetContents();
    } else if (control == "Cancel") {
        resetContents();
    } else if (control == "AllDone") {
        clearContentLabels();
        putFlashPhase(contentPanel, 0);
        returnHome(contentPanel);
    }
}

void Corvane::writeShownContents() {
    // Only contents that differ from the stored ones, behind the enabled
    // "Update", of the package shown: an "Update" that a host delivers after
    // Cancel or while nothing differs must not overwrite the last package with
    // unchanged or emptied (-1) levels.
    if (!contentUpdateEnabled || !contentPackageShown || !contentsChanged()) {
        return;
    }
    storeName(contentDevice, contentDatabase, contentPackageIndex,
              writePackageContent(videoId, audioId, dataId, contentLevels));
}

void Corvane::choosePackageContent(const kovo_string& value) {
    contentPackageShown = true;
    textPut("text", value, contentPanel, "PkgNo");
    contentPackageIndex = value.firstInt();
    textPut("text", storedName(contentPackageDevice, contentDatabase, contentPackageIndex),
            contentPanel, "PkgName");
    const kovo_string stored = storedName(contentDevice, contentDatabase, contentPackageIndex);

    if (contentLevels == 2 || contentLevels == PackageContent::maxLevels) {
        const PackageContent content = readPackageContent(stored, contentLevels);
        storedVideoId = videoId = content.ids[PackageContent::video];
        storedAudioId = audioId = content.ids[PackageContent::audio];
        storedDataId = dataId = content.ids[PackageContent::aes];
        for (int level = 0; level < contentLevels; ++level) {
            showStoredLevel(firstLevelSlot + level, content.fields[level], content.ids[level]);
        }
        controlEnable(contentPanel, "ClrVid");
        controlEnable(contentPanel, "ClrAud");
        if (contentLevels == PackageContent::maxLevels) {
            controlEnable(contentPanel, "ClrAES");
        }
        controlEnable(contentPanel, "V_Name");
        controlEnable(contentPanel, "A_Name");
        if (contentLevels == PackageContent::maxLevels) {
            controlEnable(contentPanel, "D_Name");
        }
    }
    controlDisable(contentPanel, "AllDone");
    controlDisable(contentPanel, "Group");
    controlDisable(contentPanel, "PackageName");
}

void Corvane::showStoredLevel(int slot, const kovo_string& field, int id) {
    const kovo_string name = storedName(chosenDriverId(slot), contentDatabase, id);
    textPut("text", field, contentPanel, controlsOf(slot).idLabel);
    textPut("text", name, contentPanel, controlsOf(slot).nameButton);
}

int* Corvane::editedLevelId(int slot) {
    if (slot < firstLevelSlot || slot > lastLevelSlot) {
        return nullptr;
    }
    int* const edited[PackageContent::maxLevels] = {&videoId, &audioId, &dataId};
    return edited[slot - firstLevelSlot];
}

void Corvane::pickLevel(int slot) {
    selectedRouter = slot;
    showLevelMaps(selectedRouter);
    lockLevelButtons();
}

void Corvane::chooseElement(const kovo_string& value) {
    if (int* edited = editedLevelId(selectedRouter)) {
        *edited = value.toInt();
        textPut("text", value, contentPanel, controlsOf(selectedRouter).idLabel);
        textPut("text", storedName(chosenDriverId(selectedRouter), contentDatabase, *edited),
                contentPanel, controlsOf(selectedRouter).nameButton);
    }
    controlEnable(contentPanel, "ClrVid");
    controlEnable(contentPanel, "ClrAud");
    controlEnable(contentPanel, "V_Name");
    controlEnable(contentPanel, "A_Name");
    if (contentLevels == PackageContent::maxLevels) {
        controlEnable(contentPanel, "D_Name");
        controlEnable(contentPanel, "ClrAES");
    }
    resetLevelMaps();
    applyUpdateRule();
}

void Corvane::clearLevel(int slot) {
    int* edited = editedLevelId(slot);
    if (edited == nullptr) {
        return;
    }
    *edited = 0;
    textPut("text=", contentPanel, controlsOf(slot).nameButton);
    textPut("text=0", contentPanel, controlsOf(slot).idLabel);
    applyUpdateRule();
}

bool Corvane::contentsChanged() const {
    return videoId != storedVideoId || audioId != storedAudioId || dataId != storedDataId;
}

void Corvane::applyUpdateRule() {
    contentUpdateEnabled = contentsChanged();
    if (contentUpdateEnabled) {
        controlEnable(contentPanel, "Update");
    } else {
        controlDisable(contentPanel, "Update");
    }
}

void Corvane::showLevelMaps(int level) {
    deviceMapSetup(contentPanel, "LevelGroup", "Element", chosenDriverId(level), contentDatabase);
    controlEnable(contentPanel, "LevelGroup");
    controlEnable(contentPanel, "Element");
    textPut("button.001=released", contentPanel, "LevelGroup");
}

void Corvane::resetLevelMaps() {
    deviceMapSetup(contentPanel, "LevelGroup", "Element", 0, noMapDatabase);
    controlDisable(contentPanel, "LevelGroup");
    controlDisable(contentPanel, "Element");
}

void Corvane::lockLevelButtons() {
    controlDisable(contentPanel, "V_Name");
    controlDisable(contentPanel, "A_Name");
    controlDisable(contentPanel, "ClrVid");
    controlDisable(contentPanel, "ClrAud");
    if (contentLevels == PackageContent::maxLevels) {
        controlDisable(contentPanel, "D_Name");
        controlDisable(contentPanel, "ClrAES");
    }
}

void Corvane::resetContents() {
    contentPackageShown = false;
    contentUpdateEnabled = false;
    resetLevelMaps();
    clearContentLabels();
    textPut("text=", contentPanel, "PkgName");
    textPut("index=-1", contentPanel, "PackageName");
    storedVideoId = storedAudioId = storedDataId = -1;
    videoId = audioId = dataId = -1;
    controlEnable(contentPanel, "Group");
    controlEnable(contentPanel, "PackageName");
    for (const LevelControls& level : levelControls) {
        controlDisable(contentPanel, level.nameButton);
    }
    for (const LevelControls& level : levelControls) {
        controlDisable(contentPanel, level.clearButton);
    }
    controlDisable(contentPanel, "Update");
    controlEnable(contentPanel, "AllDone");
}

void Corvane::clearContentLabels() {
    textPut("text=", contentPanel, "PkgNo");
    for (const LevelControls& level : levelControls) {
        textPut("text=", contentPanel, level.nameButton);
    }
    for (const LevelControls& level : levelControls) {
        textPut("text=", contentPanel, level.idLabel);
    }
}
