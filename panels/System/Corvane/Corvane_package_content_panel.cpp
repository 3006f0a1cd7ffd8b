// Package contents editor (panel 4): choose a package, see the ID and name of
// each level's router source or destination, pick a new one or clear a level,
// and write the content string back with Update.
#include "Corvane.h"
#include "package_content_text.h"

namespace {

const char* const contentPanel = "4";

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

// Each control acts only in the state in which the panel has it enabled:
// choosing ("Group", "PackageName", "AllDone"), a package's levels shown (the
// level and clear buttons of its levels), picking a level ("LevelGroup",
// "Element"); "Update" while the contents differ, "Cancel" always.
void Corvane::packageContentPanelEvent(kovo_control_event& event) {
    const kovo_string control = event.controlId();
    const bool choosing = contentState == EditorState::choosing;
    const bool picking = contentState == EditorState::pickingLevel;
    const bool threeLevels = contentLevels == PackageContent::maxLevels;
    // The level and clear buttons exist only for an area of 2 or 3 levels.
    const bool shown =
        contentState == EditorState::levelShown && (contentLevels == 2 || threeLevels);
    if (control == "Group") {
        if (choosing) {
            turnPage(event, contentPanel, "PackageName");
        }
    } else if (control == "PackageName") {
        if (choosing && indexChosen(event) &&
            databaseHolds(contentDevice, contentDatabase, event.eventValue().firstInt())) {
            choosePackageContent(event.eventValue());
        }
    } else if (control == "V_Name") {
        if (shown) {
            pickLevel(2);
        }
    } else if (control == "A_Name") {
        if (shown) {
            pickLevel(3);
        }
    } else if (control == "D_Name") {
        if (shown && threeLevels) {
            pickLevel(4);
        }
    } else if (control == "LevelGroup") {
        if (picking) {
            turnPage(event, contentPanel, "Element");
        }
    } else if (control == "Element") {
        // -1 is an empty button. The value becomes a database index, so
        // anything that is not a positive number is ignored as well.
        if (picking && event.eventValue().toInt() > 0) {
            chooseElement(event.eventValue());
        }
    } else if (control == "ClrVid") {
        if (shown) {
            clearLevel(2);
        }
    } else if (control == "ClrAud") {
        if (shown) {
            clearLevel(3);
        }
    } else if (control == "ClrAES") {
        if (shown && threeLevels) {
            clearLevel(4);
        }
    } else if (control == "Update") {
        // Only while the contents differ, as the update rule enables it (also
        // while a level is picked): an event from the disabled button must not
        // overwrite a package with unchanged or emptied (-1) levels.
        if ((shown || picking) && contentsChanged()) {
            databaseModifyName(contentDevice, contentDatabase, contentPackageIndex,
                               writePackageContent(videoId, audioId, dataId, contentLevels), false);
            resetContents();
        }
    } else if (control == "Cancel") {
        resetContents();
    } else if (control == "AllDone") {
        if (choosing) {
            clearContentLabels();
            putFlashPhase(contentPanel, 0);
            returnHome(contentPanel);
        }
    }
}

void Corvane::choosePackageContent(const kovo_string& value) {
    contentState = EditorState::levelShown;
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
    // An empty level has no entry to name; index 0 is never asked for.
    kovo_string name;
    if (id > 0) {
        name = storedName(chosenDriverId(slot), contentDatabase, id);
    }
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
    contentState = EditorState::pickingLevel;
    selectedRouter = slot;
    showLevelMaps(selectedRouter);
    lockLevelButtons();
}

void Corvane::chooseElement(const kovo_string& value) {
    contentState = EditorState::levelShown;
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
    if (contentsChanged()) {
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
    contentState = EditorState::choosing;
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
