// Corvane: editor of router source/destination names, package names and
// package contents. Four panels (panel_controls.h): "1" home, "2" matrix names,
// "3" package names, "4" package contents.
#pragma once

#include "kovo_script_helper.h"
#include "kovo_string.h"

// One configured area, read from the object settings "rtr_area_<i>".
struct AreaRecord {
    static constexpr int driverSlots = 5;

    int packageLevels = 0;
    // [0] package names device, [1] package contents device, [2..4] routers 1 to 3.
    int driverIds[driverSlots] = {0, 0, 0, 0, 0};
    kovo_string areaName;  // empty: the area is not configured
    // Labels of driverIds; [2..4] are the texts of "Router_1".."Router_3".
    kovo_string driverTypes[driverSlots];
};

class Corvane : public kovo_script_helper {
  public:
    static constexpr int maxAreas = 10;

    // The edit type and the edit choice of panel 1. A field of either holds the
    // number the pressed button's id carries, as it is (a site's layout may
    // carry rows of its own): a choice is checked where it is used (choiceComplete).
    // The edit type: "Type_1" to "Type_3", and the editor each opens.
    enum EditType : int {
        noEditType = 0,
        matrixNames = 1,      // panel 2: long and short names of a router
        packageNames = 2,     // panel 3
        packageContents = 3,  // panel 4
    };
    // What is edited ("Edit_what_1" to "Edit_what_4"): sources or destinations of
    // types 1 and 2, or the contents of source or destination packages (type 3).
    enum EditChoice : int {
        noEditChoice = 0,
        sources = 1,
        destinations = 2,
        sourcePackageContents = 3,
        destinationPackageContents = 4,
    };

    Corvane(kovo_host_link* link, const char* instance);
    ~Corvane() override;

    void controlEvent(kovo_control_event& event) override;
    int revertiveEvent(kovo_revertive_event& event) override;
    kovo_string parentQuery(kovo_parent_query& query) override;
    void timerEvent(int timerId) override;
    void databaseEvent(kovo_database_event& event) override;

  private:
    // Start-up.
    void chooseLayouts();
    void readAreas();
    void offerAreas();

    // Home panel (panel 1) and its selection rows.
    void homePanelEvent(kovo_control_event& event);
    void offerTypes();
    void offerEditWhat();
    // Type 1 with sources or destinations: the router buttons get the area's labels.
    void labelRouters();
    void resetDoEdit();
    void resetRouters();
    void resetEditWhat();
    void resetTypes();
    // A choice was made in a row: the row's other buttons (format %1, first..last) go off.
    void disableOtherButtons(const char* format, int first, int last, int chosen);
    // The choice on panel 1 names an editor and devices of the chosen area.
    bool choiceComplete() const;
    // Panel 1's "Cancel": the four resets, the area unselected, every area offered again.
    void undoHomeChoice();
    // Back to panel 1 with nothing chosen, after an editor (panel) closes.
    void returnHome(const kovo_string& fromPanel);
    // Puts the flashing look of a waiting change on "Update" and "Cancel" for a countdown value:
    // even counts (10 when a change starts, 0 at rest) "QD_Update_Low"/"QD_Cancel_High",
    // odd counts "QD_Update_High"/"QD_Cancel_Low".
    void putFlashPhase(const kovo_string& panel, int count);
    // One tick of a running flashing countdown (count above 0): decrements count,
    // puts its phase on panel and tells whether the countdown has run out.
    bool countDown(int& count, const kovo_string& panel);
    // The area chosen on panel 1, or null when none (or out of range).
    const AreaRecord* chosenArea() const;
    // driverIds[slot] of the chosen area, 0 when there is none or slot is out of range.
    int chosenDriverId(int slot) const;

    // Matrix names editor (panel 2).
    // "DoEdit" with type 1: the names of the chosen router, listed, and panel 2 shown.
    void openNamesEditor();
    void namesPanelEvent(kovo_control_event& event);
    void showStoredNames();
    void enableBrowsing();
    void beginNameTyping(int offset, const kovo_string& nameControl);
    void endNameTyping();
    // Update: the waiting name, to the entry and database it was typed for.
    void writeWaitingName();
    void closeNamesEditor();
    // Writes one name with flag 0, never to device 0: an area or router that the
    // site leaves at 0 names no device (one debug line instead).
    void storeName(int device, int database, int index, const kovo_string& name);

    // Package name editor (panel 3).
    // "DoEdit" with type 2: the area's package grid, and panel 3 shown.
    void openPackageNameEditor();
    void packageNamePanelEvent(kovo_control_event& event);

    // Package contents editor (panel 4).
    // "DoEdit" with type 3: the area's package grid and levels, and panel 4 shown.
    void openPackageContentEditor();
    void packageContentPanelEvent(kovo_control_event& event);
    void showLevelMaps(int level);
    void resetLevelMaps();
    void lockLevelButtons();
    void resetContents();
    // Update: the contents shown and changed, to the package shown.
    void writeShownContents();

    // ---- Package editors' own helpers (panels 3 and 4) ----
    // Points "Group" and "PackageName" of the panel being opened at device d, database b.
    void packageGridSetup(const kovo_string& panel, int d, int b);
    // Points a pair of device-map controls (selector, name map) at device d and
    // names database b (0 sources, 1 destinations); shared by the package grid and
    // the level maps. With b = noMapDatabase every number sent is 0 (d included):
    // the pair then points at no device.
    static constexpr int noMapDatabase = -1;
    void deviceMapSetup(const kovo_string& panel, const kovo_string& selector,
                        const kovo_string& nameMap, int d, int b);
    // A device-map event "index=N" with N above 0 (a real entry was chosen).
    static bool indexChosen(const kovo_control_event& event);
    // A group selector's chosen group becomes the page of its name map.
    void turnPage(const kovo_control_event& event, const kovo_string& panel,
                  const kovo_string& nameMap);
    void choosePackageToRename(const kovo_string& value);
    void endPackageNameTyping();
    // Update (write true) or Cancel of a waiting package name.
    void closePackageNameChange(bool write);
    void clearPackageNameLabels();
    void choosePackageContent(const kovo_string& value);
    // Level slots are driverIds indices: 2 video, 3 audio, 4 AES.
    void showStoredLevel(int slot, const kovo_string& field, int id);
    // The edited ID of a level slot, null for any other number.
    int* editedLevelId(int slot);
    void pickLevel(int slot);
    void chooseElement(const kovo_string& value);
    void clearLevel(int slot);
    // The edited level IDs differ from the stored ones.
    bool contentsChanged() const;
    // "Update" is enabled only while the contents have changed.
    void applyUpdateRule();
    void clearContentLabels();
    // ---- end of the package editors' helpers ----

    kovo_string myParam;
    kovo_string instance;
    kovo_string homePanelFile;
    kovo_string namesPanelFile;
    kovo_string packageNamePanelFile;
    kovo_string packageContentPanelFile;
    kovo_string settingText;
    kovo_stringlist settingList;
    kovo_string editedName;
    kovo_string packageNameStored;
    kovo_string packageNameEdited;
    int areaCount = 0;
    int selectedArea = -1;
    EditType selectedType = noEditType;
    EditChoice selectedEditWhat = noEditChoice;
    int selectedRouter = 0;
    int namesDevice = 0;
    int namesDatabase = 0;
    int nameDbOffset = 0;
    int selectedNameIndex = 0;
    int namesBlinkCount = 0;
    int selectedPackageIndex = 0;
    int packageBlinkCount = 0;
    int packageDevice = 0;
    int packageDatabase = 0;
    int contentPackageDevice = 0;
    int contentDevice = 0;
    int contentPackageIndex = 0;
    int contentLevels = 0;
    int storedVideoId = 0;
    int storedAudioId = 0;
    int storedDataId = 0;
    int videoId = 0;
    int audioId = 0;
    int dataId = 0;
    int contentDatabase = 0;
    bool doEditEnabled = false;
    bool editWhatEnabled = false;
    bool routerRegistered = false;
    bool namesEditorActive = false;
    AreaRecord areas[maxAreas];
    // Entries put into "MtxNames" when the names editor opened: the valid indices
    // are 1 to this.
    int namesListSize = 0;

    // What each editor has shown or enabled, as its commands left it. The host
    // may still deliver an event from a disabled button or a hidden keyboard;
    // the handlers follow their sequences then too, but a keyboard event counts
    // only while its keyboard is shown, and a name or contents are written only
    // while they wait behind an enabled "Update", to the entry they were made for.
    bool namesTyping = false;           // panel 2: "KB_1" shown
    bool namesChangeWaiting = false;    // panel 2: "Update" enabled for editedName
    bool packageNameTyping = false;     // panel 3: "KB_1" shown
    bool packageNameWaiting = false;    // panel 3: "Update" enabled for packageNameEdited
    bool contentPackageShown = false;   // panel 4: a package's levels are shown
    bool contentUpdateEnabled = false;  // panel 4: "Update" enabled by the update rule
};
